#include "platform/vcl/StdCtrlsEx.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/Forms.h"
#include <algorithm>
#include <numeric>

namespace qz {

namespace {

constexpr int kButtonWidth = 17;

// Bytes of the character at pos: CR LF and double-byte characters are one character of two bytes.
int CharLength(const AnsiString& t, int pos) {
    const int n = static_cast<int>(t.size());
    if (pos >= n) return 0;
    if (pos + 1 < n && t[pos] == '\r' && t[pos + 1] == '\n') return 2;
    if (pos + 1 < n && IsDBCSLeadByte(static_cast<unsigned char>(t[pos]))) return 2;
    return 1;
}

// Start of the character before pos.
int PrevCharPos(const AnsiString& t, int pos) {
    int p = 0, prev = 0;
    while (p < pos) {
        prev = p;
        p += std::max(CharLength(t, p), 1);
    }
    return prev;
}

// The character boundary at or before pos.
int CharBoundary(const AnsiString& t, int from, int pos) {
    int p = from;
    while (p < pos) {
        int next = p + std::max(CharLength(t, p), 1);
        if (next > pos) break;
        p = next;
    }
    return p;
}

unsigned char FoldCase(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Line breaks as CR LF.
AnsiString NormalizeBreaks(const AnsiString& s) {
    if (s.find_first_of("\r\n") == AnsiString::npos) return s;
    AnsiString out;
    out.reserve(s.size() + 8);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// Offsets where the lines of a CR LF text start; the last line may be empty.
std::vector<int> LineStarts(const AnsiString& t) {
    std::vector<int> starts{0};
    for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == '\r' && t[i + 1] == '\n') {
            starts.push_back(static_cast<int>(i + 2));
            ++i;
        }
    return starts;
}

// The end of a line (before its CR LF).
int LineEnd(const AnsiString& t, const std::vector<int>& starts, int line) {
    return line + 1 < static_cast<int>(starts.size()) ? starts[line + 1] - 2 : static_cast<int>(t.size());
}

} // namespace

// ---- the items of a combo box ----

class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* combo) : combo_(combo) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Get(int index) const override {
        CheckIndex(index, Count());
        return items_[index].text;
    }
    TObject* GetObject(int index) const override {
        CheckIndex(index, Count());
        return items_[index].object;
    }
    void PutObject(int index, TObject* object) override {
        CheckIndex(index, Count());
        items_[index].object = object;
    }
    void Insert(int index, const AnsiString& s) override {
        CheckIndex(index, Count() + 1);
        items_.insert(items_.begin() + index, Item{s, nullptr});
        combo_->ItemInserted(index);
    }
    int Add(const AnsiString& s) override {
        int index = Count();
        if (sorted_)
            index = static_cast<int>(std::upper_bound(items_.begin(), items_.end(), s,
                                                      [](const AnsiString& a, const Item& b) {
                                                          return CompareText(a, b.text) < 0;
                                                      }) -
                                     items_.begin());
        Insert(index, s);
        return index;
    }
    void Delete(int index) override {
        CheckIndex(index, Count());
        items_.erase(items_.begin() + index);
        combo_->ItemDeleted(index);
    }
    void Clear() override {
        items_.clear();
        combo_->ItemsCleared();
    }

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v) {
        if (v == sorted_) return;
        sorted_ = v;
        if (!v || items_.empty()) return;
        std::vector<int> order(items_.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [this](int a, int b) { return CompareText(items_[a].text, items_[b].text) < 0; });
        std::vector<Item> sorted;
        std::vector<int> newIndexOfOld(items_.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            sorted.push_back(items_[order[i]]);
            newIndexOfOld[order[i]] = static_cast<int>(i);
        }
        items_ = std::move(sorted);
        combo_->ItemsMoved(newIndexOfOld);
    }

private:
    struct Item {
        AnsiString text;
        TObject* object = nullptr;
    };
    TCustomComboBox* combo_;
    std::vector<Item> items_;
    bool sorted_ = false;
};

// ---- TCustomComboBox ----

QZ_CLASS_INFO(TCustomComboBox, TCustomControl) {
    PublishColorAndFont(b);
    // ItemIndex is public, not published, as in the class library.
    b.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown);
    b.Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Default(8);
    b.Property("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight);
    b.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0);
    b.Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
    b.Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText);
    b.Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
    b.Event("OnChange", &TCustomComboBox::OnChange);
    b.Event("OnDropDown", &TCustomComboBox::OnDropDown);
    b.Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
    b.Event("OnDrawItem", &TCustomComboBox::OnDrawItem);
    b.Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
    b.Public().Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex);
}

QZ_CLASS_INFO(TComboBox, TCustomComboBox) {}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TComboBoxStrings>(this)) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

TStrings* TCustomComboBox::Items() const {
    return items_.get();
}

void TCustomComboBox::SetItems(TStrings* v) {
    if (v && v != items_.get()) items_->Assign(*v);
}

void TCustomComboBox::SetItemIndex(int v) {
    if (v < -1 || v >= items_->Count()) v = -1;
    itemIndex_ = v;
    TCustomControl::SetText(v >= 0 ? items_->Get(v) : AnsiString());
    selStart_ = 0;
    selLength_ = static_cast<int>(Caption().size());
    Invalidate();
}

int TCustomComboBox::MatchingItem(const AnsiString& text) const {
    for (int i = 0; i < items_->Count(); ++i)
        if (SameText(items_->Get(i), text)) return i;
    return -1;
}

void TCustomComboBox::SetText(const AnsiString& v) {
    // While loading the items may not be there yet: Loaded settles the text.
    if (HasEditPart() || IsLoading()) {
        TCustomControl::SetText(v);
        if (!IsLoading()) itemIndex_ = MatchingItem(v);
        selStart_ = std::min<int>(selStart_, static_cast<int>(v.size()));
        selLength_ = 0;
        return;
    }
    if (v.empty()) {
        SetItemIndex(-1);
        return;
    }
    int found = MatchingItem(v);
    for (int i = 0; found < 0 && i < items_->Count(); ++i) {
        AnsiString item = items_->Get(i);
        if (item.size() >= v.size() && SameText(item.substr(0, v.size()), v)) found = i;
    }
    if (found >= 0) SetItemIndex(found);
}

void TCustomComboBox::Loaded() {
    TCustomControl::Loaded();
    AnsiString text = Caption();
    if (HasEditPart()) {
        itemIndex_ = MatchingItem(text);
        return;
    }
    itemIndex_ = -1;
    TCustomControl::SetText("");
    if (!text.empty()) SetText(text);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    if (v == style_) return;
    style_ = v;
    droppedDown_ = false;
    if (!HasEditPart() && !IsLoading())
        TCustomControl::SetText(itemIndex_ >= 0 ? items_->Get(itemIndex_) : AnsiString());
    Invalidate();
}

void TCustomComboBox::SetItemHeight(int v) {
    if (v <= 0) return;
    itemHeight_ = v;
    Invalidate();
}

bool TCustomComboBox::Sorted() const {
    return items_->Sorted();
}

void TCustomComboBox::SetSorted(bool v) {
    items_->SetSorted(v);
}

void TCustomComboBox::SetDroppedDown(bool v) {
    if (style_ == csSimple || v == droppedDown_) return;
    if (v) {
        DropDown();
        droppedDown_ = true;
    } else {
        droppedDown_ = false;
        CloseUp();
    }
    Invalidate();
}

void TCustomComboBox::SetSelStart(int v) {
    selStart_ = std::clamp(v, 0, static_cast<int>(Caption().size()));
    selLength_ = 0;
}

void TCustomComboBox::SetSelLength(int v) {
    selLength_ = std::clamp(v, 0, static_cast<int>(Caption().size()) - selStart_);
}

AnsiString TCustomComboBox::SelText() const {
    return Caption().substr(selStart_, selLength_);
}

void TCustomComboBox::SelectAll() {
    selStart_ = 0;
    selLength_ = static_cast<int>(Caption().size());
}

void TCustomComboBox::ItemInserted(int index) {
    if (itemIndex_ >= 0 && index <= itemIndex_) ++itemIndex_;
    Invalidate();
}

void TCustomComboBox::ItemDeleted(int index) {
    if (index == itemIndex_) {
        itemIndex_ = -1;
        if (!HasEditPart() && !IsLoading()) TCustomControl::SetText("");
    } else if (index < itemIndex_) {
        --itemIndex_;
    }
    Invalidate();
}

void TCustomComboBox::ItemsCleared() {
    itemIndex_ = -1;
    if (!IsLoading()) {
        TCustomControl::SetText("");
        selStart_ = selLength_ = 0;
    }
    Invalidate();
}

void TCustomComboBox::ItemsMoved(const std::vector<int>& newIndexOfOld) {
    if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(newIndexOfOld.size()))
        itemIndex_ = newIndexOfOld[itemIndex_];
    Invalidate();
}

void TCustomComboBox::UserSelect(int index) {
    const int count = items_->Count();
    if (count == 0) return;
    index = std::clamp(index, 0, count - 1);
    if (index == itemIndex_) return;
    SetItemIndex(index);
    Click();
    Change();
}

void TCustomComboBox::UserEdit(const AnsiString& text, int caret) {
    TCustomControl::SetText(text);
    itemIndex_ = MatchingItem(text);
    selStart_ = std::clamp(caret, 0, static_cast<int>(text.size()));
    selLength_ = 0;
    Change();
}

void TCustomComboBox::SelectItem(int index) {
    if (index >= 0 && index < items_->Count()) UserSelect(index);
    SetDroppedDown(false);
}

void TCustomComboBox::Change() {
    OnChange(this);
}

void TCustomComboBox::DropDown() {
    OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    OnCloseUp(this);
}

void TCustomComboBox::MeasureItem(int index, int& height) {
    OnMeasureItem(this, index, height);
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    DefaultDrawItem(index, rect);
}

void TCustomComboBox::DefaultDrawItem(int index, const TRect& rect) {
    TCanvas* c = Canvas();
    c->FillRect(rect);
    if (index >= 0 && index < items_->Count()) c->TextOut(rect.Left + 2, rect.Top, items_->Get(index));
}

int TCustomComboBox::HeightOfItem(int index) {
    int h = itemHeight_;
    if (style_ == csOwnerDrawVariable) MeasureItem(index, h);
    return h;
}

int TCustomComboBox::TopIndex() const {
    const int count = items_->Count();
    int top = itemIndex_ >= dropDownCount_ ? itemIndex_ - dropDownCount_ + 1 : 0;
    return std::max(0, std::min(top, count - dropDownCount_));
}

TRect TCustomComboBox::ItemRect(int index) {
    const int top = TopIndex();
    if (index < top || index >= top + dropDownCount_ || index >= items_->Count()) return TRect{};
    int y = 0;
    for (int i = top; i < index; ++i) y += HeightOfItem(i);
    return Rect(0, y, Width(), y + HeightOfItem(index));
}

TRect TCustomComboBox::EditRect() const {
    return Rect(3, 3, std::max(3, Width() - 3 - kButtonWidth), std::max(3, Height() - 3));
}

// The canvas is prepared as the platform prepares it for an owner-drawn item: the control's font,
// the highlight colours for a selected item; the focus rectangle comes after the item.
void TCustomComboBox::PaintItem(int index, const TRect& rect, TOwnerDrawState state) {
    TCanvas* c = Canvas();
    c->SetFont(*Font());
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    if (state.Contains(odSelected)) {
        c->Brush().SetColor(clHighlight);
        c->Font().SetColor(clHighlightText);
    } else if (state.Contains(odDisabled)) {
        c->Font().SetColor(clGrayText);
    }
    if (IsOwnerDrawn())
        DrawItem(index, rect, state);
    else
        DefaultDrawItem(index, rect);
    if (state.Contains(odFocused)) c->DrawFocusRect(rect);
}

void TCustomComboBox::Paint() {
    TCanvas* c = Canvas();
    if (paintingList_) {
        const int top = TopIndex();
        const int end = std::min(items_->Count(), top + dropDownCount_);
        int y = 0;
        for (int i = top; i < end; ++i) {
            int h = HeightOfItem(i);
            TOwnerDrawState state;
            if (i == itemIndex_) state << odSelected << odFocused;
            PaintItem(i, Rect(0, y, Width(), y + h), state);
            y += h;
        }
        return;
    }
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Enabled() ? Color() : clBtnFace);
    c->FillRect(ClientRect());
    TRect edit = EditRect();
    if (IsOwnerDrawn() || !HasEditPart()) {
        TOwnerDrawState state{odComboBoxEdit};
        if (Focused() && !droppedDown_) state << odSelected << odFocused;
        if (!Enabled()) state << odDisabled;
        PaintItem(itemIndex_, edit, state);
    } else {
        c->Brush().SetStyle(bsClear);
        if (!Enabled()) c->Font().SetColor(clGrayText);
        c->TextOut(edit.Left + 2, edit.Top, Caption());
    }
    if (style_ != csSimple) {
        TRect button = Rect(Width() - 2 - kButtonWidth, 2, Width() - 2, Height() - 2);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clBtnFace);
        c->FillRect(button);
        c->Pen().SetColor(Enabled() ? clBtnText : clGrayText);
        int cx = (button.Left + button.Right) / 2, cy = (button.Top + button.Bottom) / 2;
        c->Polygon({Point(cx - 3, cy - 1), Point(cx + 3, cy - 1), Point(cx, cy + 2)});
    }
}

void TCustomComboBox::PaintDropDown(TCanvas& canvas) {
    paintingList_ = true;
    try {
        PaintTo(canvas);
    } catch (...) {
        paintingList_ = false;
        throw;
    }
    paintingList_ = false;
}

bool TCustomComboBox::WantsKey(Word key, TShiftState) const {
    if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT) return true;
    return droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE);
}

void TCustomComboBox::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    if (key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && shift.Contains(ssAlt))) {
        SetDroppedDown(!droppedDown_);
        key = 0;
        return;
    }
    if (droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE)) {
        SetDroppedDown(false);
        key = 0;
        return;
    }
    const bool edit = HasEditPart();
    const AnsiString& text = Caption();
    const int len = static_cast<int>(text.size());
    const int count = items_->Count();
    switch (key) {
    case VK_UP: UserSelect(itemIndex_ < 0 ? 0 : itemIndex_ - 1); break;
    case VK_DOWN: UserSelect(itemIndex_ + 1); break;
    case VK_PRIOR:
        if (!edit || droppedDown_) UserSelect(itemIndex_ < 0 ? 0 : itemIndex_ - (dropDownCount_ - 1));
        break;
    case VK_NEXT:
        if (!edit || droppedDown_) UserSelect(itemIndex_ + dropDownCount_ - 1);
        break;
    case VK_LEFT:
        if (edit)
            SetSelStart(selStart_ > 0 ? PrevCharPos(text, selStart_) : 0);
        else
            UserSelect(itemIndex_ < 0 ? 0 : itemIndex_ - 1);
        break;
    case VK_RIGHT:
        if (edit)
            SetSelStart(selStart_ + CharLength(text, selStart_));
        else
            UserSelect(itemIndex_ + 1);
        break;
    case VK_HOME:
        if (edit)
            SetSelStart(0);
        else
            UserSelect(0);
        break;
    case VK_END:
        if (edit)
            SetSelStart(len);
        else
            UserSelect(count - 1);
        break;
    case VK_DELETE:
        if (edit) {
            int from = selStart_, n = selLength_ > 0 ? selLength_ : CharLength(text, selStart_);
            if (n > 0) UserEdit(AnsiString(text).erase(from, n), from);
        }
        break;
    default: break;
    }
}

void TCustomComboBox::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    const unsigned char ch = static_cast<unsigned char>(key);
    if (!HasEditPart()) {
        // The next item, after the selected one and round, whose first character is the key.
        const int count = items_->Count();
        if (ch < 32 || count == 0) return;
        for (int k = 1; k <= count; ++k) {
            int i = (itemIndex_ + k + count) % count;
            AnsiString item = items_->Get(i);
            if (!item.empty() && FoldCase(static_cast<unsigned char>(item[0])) == FoldCase(ch)) {
                UserSelect(i);
                break;
            }
        }
        return;
    }
    AnsiString text = Caption();
    if (ch == 8) {
        int from = selStart_, n = selLength_;
        if (n == 0 && from > 0) {
            from = PrevCharPos(text, selStart_);
            n = selStart_ - from;
        }
        if (n > 0) UserEdit(text.erase(from, n), from);
        return;
    }
    if (ch < 32) return;
    if (maxLength_ > 0 && static_cast<int>(text.size()) - selLength_ >= maxLength_) return;
    text.replace(selStart_, selLength_, 1, key);
    UserEdit(text, selStart_ + 1);
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || style_ == csSimple || !Enabled()) return;
    if (CanFocus() && !Focused() && GetParentForm(this)) SetFocus();
    if (!HasEditPart() || x >= Width() - 2 - kButtonWidth) SetDroppedDown(!droppedDown_);
}

void TCustomComboBox::DoExit() {
    SetDroppedDown(false);
    TCustomControl::DoExit();
}

// ---- the lines of a memo ----

class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

    int Count() const override {
        const AnsiString& t = memo_->Caption();
        std::vector<int> starts = LineStarts(t);
        int n = static_cast<int>(starts.size());
        return starts.back() == static_cast<int>(t.size()) ? n - 1 : n;
    }
    AnsiString Get(int index) const override {
        CheckIndex(index, Count());
        const AnsiString& t = memo_->Caption();
        std::vector<int> starts = LineStarts(t);
        return t.substr(starts[index], LineEnd(t, starts, index) - starts[index]);
    }
    void Put(int index, const AnsiString& s) override {
        CheckIndex(index, Count());
        AnsiString t = memo_->Caption();
        std::vector<int> starts = LineStarts(t);
        t.replace(starts[index], LineEnd(t, starts, index) - starts[index], s);
        memo_->SetText(t);
    }
    // A line goes before the line at index with its CR LF; after a last line without one, the CR LF
    // goes before it.
    void Insert(int index, const AnsiString& s) override {
        CheckIndex(index, Count() + 1);
        AnsiString t = memo_->Caption();
        std::vector<int> starts = LineStarts(t);
        if (index < static_cast<int>(starts.size()))
            t.insert(starts[index], s + "\r\n");
        else
            t += "\r\n" + s;
        memo_->SetText(t);
    }
    void Delete(int index) override {
        CheckIndex(index, Count());
        AnsiString t = memo_->Caption();
        std::vector<int> starts = LineStarts(t);
        int to = index + 1 < static_cast<int>(starts.size()) ? starts[index + 1] : static_cast<int>(t.size());
        t.erase(starts[index], to - starts[index]);
        memo_->SetText(t);
    }
    void Clear() override { memo_->SetText(""); }

private:
    TCustomMemo* memo_;
};

// ---- TCustomMemo ----

QZ_CLASS_INFO(TCustomMemo, TCustomEdit) {
    b.Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
    b.Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
    b.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
    b.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true);
    b.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
    b.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
}

QZ_CLASS_INFO(TMemo, TCustomMemo) {}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this)) {
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::Lines() const {
    return lines_.get();
}

void TCustomMemo::SetLines(TStrings* v) {
    if (v && v != lines_.get()) lines_->Assign(*v);
}

void TCustomMemo::SetText(const AnsiString& v) {
    TCustomEdit::SetText(NormalizeBreaks(v));
}

void TCustomMemo::SetWordWrap(bool v) {
    wordWrap_ = v;
    Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    scrollBars_ = v;
    Invalidate();
}

void TCustomMemo::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

int TCustomMemo::LineFromChar(int offset) const {
    std::vector<int> starts = LineStarts(Caption());
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), std::max(offset, 0)) -
                            starts.begin()) -
           1;
}

int TCustomMemo::LineIndex(int line) const {
    std::vector<int> starts = LineStarts(Caption());
    return line >= 0 && line < static_cast<int>(starts.size()) ? starts[line] : -1;
}

TPoint TCustomMemo::CaretPos() const {
    int line = LineFromChar(SelStart());
    return Point(SelStart() - LineIndex(line), line);
}

void TCustomMemo::SetCaretPos(TPoint p) {
    const AnsiString& t = Caption();
    std::vector<int> starts = LineStarts(t);
    int line = std::clamp(p.Y, 0, static_cast<int>(starts.size()) - 1);
    int pos = std::min(starts[line] + std::max(p.X, 0), LineEnd(t, starts, line));
    SetSelStart(pos);
}

bool TCustomMemo::WantsKey(Word key, TShiftState shift) const {
    if (key == VK_RETURN) return wantReturns_;
    if (key == VK_TAB) return wantTabs_;
    return TCustomEdit::WantsKey(key, shift);
}

void TCustomMemo::DoEnter() {
    TWinControl::DoEnter();
}

void TCustomMemo::InsertText(const AnsiString& s) {
    if (MaxLength() > 0 &&
        static_cast<int>(Caption().size()) - SelLength() + static_cast<int>(s.size()) > MaxLength())
        return;
    SetSelText(s);
}

void TCustomMemo::DeleteChars(int from, int count) {
    if (count <= 0) return;
    SetSelStart(from);
    SetSelLength(count);
    SetSelText("");
}

void TCustomMemo::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == 0) return;
    const AnsiString& t = Caption();
    std::vector<int> starts = LineStarts(t);
    const int caret = SelStart();
    const int line = LineFromChar(caret);
    switch (key) {
    case VK_LEFT:
        if (caret > 0) SetSelStart(PrevCharPos(t, caret));
        break;
    case VK_RIGHT: SetSelStart(caret + CharLength(t, caret)); break;
    case VK_UP:
    case VK_DOWN: {
        int target = line + (key == VK_UP ? -1 : 1);
        if (target < 0 || target >= static_cast<int>(starts.size())) break;
        int pos = std::min(starts[target] + (caret - starts[line]), LineEnd(t, starts, target));
        SetSelStart(CharBoundary(t, starts[target], pos));
        break;
    }
    case VK_HOME: SetSelStart(starts[line]); break;
    case VK_END: SetSelStart(LineEnd(t, starts, line)); break;
    case VK_DELETE:
        if (!ReadOnly()) {
            if (SelLength() > 0)
                SetSelText("");
            else
                DeleteChars(caret, CharLength(t, caret));
        }
        break;
    default: break;
    }
}

void TCustomMemo::KeyPress(char& key) {
    TWinControl::KeyPress(key);
    if (key == 0 || ReadOnly()) return;
    const unsigned char ch = static_cast<unsigned char>(key);
    switch (ch) {
    case '\r':
        if (wantReturns_) InsertText("\r\n");
        return;
    case '\t':
        if (wantTabs_) InsertText("\t");
        return;
    case 8:
        if (SelLength() > 0) {
            SetSelText("");
        } else if (SelStart() > 0) {
            int from = PrevCharPos(Caption(), SelStart());
            DeleteChars(from, SelStart() - from);
        }
        return;
    default:
        if (ch >= 32) InsertText(AnsiString(1, key));
        return;
    }
}

} // namespace qz
