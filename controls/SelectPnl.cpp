#include "controls/SelectPnl.h"
#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/ExtCtrls.h"
#include "support/CodeConverter.h"
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qz {

namespace {

// Entry i of a word list; a list of one entry serves both layouts.
AnsiString WordAt(const TStrings& words, int i) {
    if (i < words.Count()) return words.Get(i);
    return words.Count() > 0 ? words.Get(0) : AnsiString();
}

bool IsDigits(const AnsiString& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal integer with an optional sign.
bool IsWholeNumber(const AnsiString& s) {
    return IsDigits(!s.empty() && (s[0] == '-' || s[0] == '+') ? s.substr(1) : s);
}

long long ReadInteger(const AnsiString& text) {
    long long v = 0;
    return TryStrToInt64(text, v) ? v : 0;
}

// The integer part, a "." and the fraction part of a number text, each part 0 when it is not a
// whole number; the fraction keeps its digits as typed.
AnsiString FloatText(const AnsiString& text) {
    size_t dot = text.find('.');
    AnsiString whole = Trim(text.substr(0, dot));
    AnsiString fraction = dot == AnsiString::npos ? AnsiString() : Trim(text.substr(dot + 1));
    if (!IsWholeNumber(whole)) whole = "0";
    if (!IsDigits(fraction)) fraction = "0";
    return whole + "." + fraction;
}

double ReadFloat(const AnsiString& text) {
    return std::strtod(text.c_str(), nullptr);
}

int CountOf(const AnsiString& sub, const AnsiString& s) {
    int n = 0;
    for (size_t at = s.find(sub); at != AnsiString::npos; at = s.find(sub, at + sub.size())) ++n;
    return n;
}

} // namespace

// ---- TLumMaskEdit ----

QZ_CLASS_INFO(TLumMaskEdit, TMaskEdit) {}

void TLumMaskEdit::Change() {
    if (!SuppressChange) TMaskEdit::Change();
}

// ---- TLumListView ----

QZ_CLASS_INFO(TLumListView, TListView) {}

bool TLumListView::AddRow(const std::vector<AnsiString>& values) {
    if (values.empty()) return false;
    try {
        while (Columns()->Count() < static_cast<int>(values.size())) {
            TListColumn* column = Columns()->Add();
            column->SetCaption("Data" + IntToStr(Columns()->Count()));
        }
        TListItem* row = Items()->Add();
        row->SetCaption(values[0]);
        for (size_t i = 1; i < values.size(); ++i) row->SubItems()->Add(values[i]);
        int most = 0;
        for (int i = 0; i < Items()->Count(); ++i)
            most = std::max(most, Items()->Item(i)->SubItems()->Count());
        for (int i = 0; i < Items()->Count(); ++i) {
            TStrings* sub = Items()->Item(i)->SubItems();
            while (sub->Count() < most) sub->Add("");
        }
        if (auto* panel = dynamic_cast<TSelectPanel*>(Owner())) panel->RemoveDuplicates();
        if (ColumnsAutoSize) AutoSizeColumns();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TLumListView::ClearRows() {
    Items()->Clear();
}

void TLumListView::AutoSizeColumns() {
    const int w = Canvas()->TextWidth("W");
    for (int k = 0; k < Columns()->Count(); ++k) {
        TListColumn* column = Columns()->Items(k);
        size_t longest = column->Caption().size();
        for (int i = 0; i < Items()->Count(); ++i) {
            TListItem* row = Items()->Item(i);
            if (k == 0)
                longest = std::max(longest, row->Caption().size());
            else if (k - 1 < row->SubItems()->Count())
                longest = std::max(longest, row->SubItems()->Get(k - 1).size());
        }
        column->SetWidth(static_cast<int>(longest) * w);
    }
}

void TLumListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        if (!Focused()) return;
    }
    TListView::MouseDown(button, shift, x, y);
}

// ---- TSelectPanel ----

QZ_CLASS_INFO(TSelectPanel, TGroupBox) {
    b.Property("Style", &TSelectPanel::Style, &TSelectPanel::SetStyle);
    b.Property("UserChoice", &TSelectPanel::UserChoice, &TSelectPanel::SetUserChoice);
    b.Property("HintWord", &TSelectPanel::HintWord, &TSelectPanel::SetHintWord);
    b.Property("UseVertical", &TSelectPanel::UseVertical, &TSelectPanel::SetUseVertical);
    b.Property("BeginWords", &TSelectPanel::BeginWords, &TSelectPanel::SetBeginWords);
    b.Property("FinalWords", &TSelectPanel::FinalWords, &TSelectPanel::SetFinalWords);
    b.Property("CanOpenWin", &TSelectPanel::CanOpenWin, &TSelectPanel::SetCanOpenWin);
    b.Property("GlyphIndex", &TSelectPanel::GlyphIndex, &TSelectPanel::SetGlyphIndex).Default(0);
    b.Property("EditMask", &TSelectPanel::EditMask, &TSelectPanel::SetEditMask);
    b.Property("ValueType", &TSelectPanel::ValueType, &TSelectPanel::SetValueType);
    b.Property("DateType", &TSelectPanel::DateType, &TSelectPanel::SetDateType);
    b.Property("DateSign", &TSelectPanel::DateSign, &TSelectPanel::SetDateSign);
    b.Property("AutoChangeDateSite", &TSelectPanel::AutoChangeDateSite, &TSelectPanel::SetAutoChangeDateSite);
    b.Property("Discard", &TSelectPanel::Discard, &TSelectPanel::SetDiscard);
    b.Property("UseDiscard", &TSelectPanel::UseDiscard, &TSelectPanel::SetUseDiscard);
    b.Property("CheckDuplicate", &TSelectPanel::CheckDuplicate, &TSelectPanel::SetCheckDuplicate);
    b.Property("SortListBox", &TSelectPanel::SortListBox, &TSelectPanel::SetSortListBox);
    b.Property("ChildHints", &TSelectPanel::ChildHints, &TSelectPanel::SetChildHints);
    b.Property("ColumnCaptions", &TSelectPanel::ColumnCaptions, &TSelectPanel::SetColumnCaptions);
    b.Property("Columns", &TSelectPanel::Columns);
    b.Property("Items", &TSelectPanel::Items);
    b.Property("ShowColumnHeader", &TSelectPanel::ShowColumnHeader, &TSelectPanel::SetShowColumnHeader);
    b.Property("ColumnsAutoSize", &TSelectPanel::ColumnsAutoSize, &TSelectPanel::SetColumnsAutoSize);
    b.Property("HideSelection", &TSelectPanel::HideSelection, &TSelectPanel::SetHideSelection);
    b.Property("OtherWidth", &TSelectPanel::OtherWidth, &TSelectPanel::SetOtherWidth);
    b.Property("OtherHeight", &TSelectPanel::OtherHeight, &TSelectPanel::SetOtherHeight);
    b.Event("OnOpenWinClick", &TSelectPanel::OnOpenWinClick);
    b.Event("OnClearClick", &TSelectPanel::OnClearClick);
    b.Event("OnDeleteClick", &TSelectPanel::OnDeleteClick);
    b.Event("OnTypeClick", &TSelectPanel::OnTypeClick);
    b.Event("OnStyleChanging", &TSelectPanel::OnStyleChanging);
    b.Event("OnStyleChange", &TSelectPanel::OnStyleChange);
    b.Event("OnItemSelect", &TSelectPanel::OnItemSelect);
    b.Event("OnItemChange", &TSelectPanel::OnItemChange);
    b.Event("OnItemChanging", &TSelectPanel::OnItemChanging);
    // The inner controls stay unnamed; these entries let tools reach them by name.
    b.Field("CheckBox", &TSelectPanel::CheckBox);
    b.Field("RangePanel", &TSelectPanel::RangePanel);
    b.Field("BeginLabel", &TSelectPanel::BeginLabel);
    b.Field("BeginEdit", &TSelectPanel::BeginEdit);
    b.Field("BeginButton", &TSelectPanel::BeginButton);
    b.Field("EndLabel", &TSelectPanel::EndLabel);
    b.Field("EndEdit", &TSelectPanel::EndEdit);
    b.Field("EndButton", &TSelectPanel::EndButton);
    b.Field("ListPanel", &TSelectPanel::ListPanel);
    b.Field("ListButton", &TSelectPanel::ListButton);
    b.Field("DeleteButton", &TSelectPanel::DeleteButton);
    b.Field("ClearButton", &TSelectPanel::ClearButton);
    b.Field("ListView", &TSelectPanel::ListView);
}

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner), hintWord_(GB("区间选择")),
      beginWords_(std::make_unique<TStringList>(std::initializer_list<AnsiString>{GB("起"), GB("起")})),
      finalWords_(std::make_unique<TStringList>(std::initializer_list<AnsiString>{GB("止"), GB("止")})),
      childHints_(std::make_unique<TStringList>(std::initializer_list<AnsiString>{
          GB("用户自定输入方式"), GB("区间选择-起始信息"), GB("区间选择-起始信息开窗"),
          GB("区间选择-截止信息"), GB("区间选择-截止信息开窗"), GB("多选-己选择的信息"), GB("多选-信息开窗"),
          GB("多选-删除一笔信息"), GB("多选-删除己选信息")})),
      captions_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 353, 45);

    CheckBox = new TLumCheckBox(this);
    CheckBox->SetParent(this);
    CheckBox->SetBounds(16, 17, CheckBox->Width(), CheckBox->Height());
    CheckBox->SetCaption(hintWord_);
    // Checked for a panel of a form's design (being designed, or read from a form resource), not for
    // one made at run time; UserChoice starts as the check box does, so both name the same input.
    const bool designed = IsDesigning() || (owner && owner->ComponentState().Contains(csReading));
    CheckBox->SetChecked(designed);
    userChoice_ = designed;

    auto panel = [this]() {
        auto* p = new TPanel(this);
        p->SetParent(this);
        p->SetBevelOuter(bvNone);
        p->SetBevelInner(bvNone);
        p->SetCaption(" ");
        return p;
    };
    auto label = [this](const AnsiString& text) {
        auto* l = new TLabel(this);
        l->SetParent(RangePanel);
        l->SetAutoSize(true);
        l->SetCaption(text);
        return l;
    };
    auto edit = [this]() {
        auto* e = new TLumMaskEdit(this);
        e->SetParent(RangePanel);
        e->SetHeight(24);
        e->SetEditMask("");
        e->SetText("");
        return e;
    };
    auto f2Button = [this](TWinControl* parent, bool autoAlign) {
        auto* b = new TF2Button(this);
        b->SetParent(parent);
        b->SetAutoAlign(autoAlign);
        b->SetFlat(true);
        b->SetGlyphIndex(glyphIndex_);
        b->SetBounds(b->Left(), b->Top(), 23, 23);
        b->SetNumGlyphs(1);
        return b;
    };
    auto speedButton = [this](int glyph, int images) {
        auto* b = new TGSpeedButton(this);
        b->SetParent(ListPanel);
        b->SetFlat(true);
        b->SetGlyphIndex(glyph);
        b->SetNumGlyphs(images);
        b->SetBounds(b->Left(), b->Top(), 23, 23);
        return b;
    };

    RangePanel = panel();
    BeginLabel = label(WordAt(*beginWords_, 1));
    BeginEdit = edit();
    BeginButton = f2Button(RangePanel, true);
    EndLabel = label(WordAt(*finalWords_, 1));
    EndEdit = edit();
    EndEdit->SetHeight(BeginEdit->Height());
    EndButton = f2Button(RangePanel, true);
    ListPanel = panel();
    ListButton = f2Button(ListPanel, false);
    DeleteButton = speedButton(47, 1);
    ClearButton = speedButton(4, 2);
    ListView = new TLumListView(this);
    ListView->SetParent(ListPanel);
    ListView->SetViewStyle(vsReport);
    ListView->SetMultiSelect(true);
    ListView->SetRowSelect(true);
    ListView->SetReadOnly(true);
    ListView->SetShowColumnHeaders(false);
    ListView->SetSortType(stNone);
    ListView->SetCursor(crHandPoint);
    ListView->SetHideSelection(false);

    // The inner controls' events become the panel's.
    const TNotifyEvent click(this, &TSelectPanel::InnerClick), dblClick(this, &TSelectPanel::InnerDblClick);
    const TMouseEvent down(this, &TSelectPanel::InnerMouseDown), up(this, &TSelectPanel::InnerMouseUp);
    const TMouseMoveEvent move(this, &TSelectPanel::InnerMouseMove);
    for (TControl* c : std::initializer_list<TControl*>{RangePanel, ListPanel, BeginLabel, EndLabel,
                                                        BeginEdit, EndEdit, ListView, CheckBox}) {
        c->OnClick = click;
        c->OnDblClick = dblClick;
        c->OnMouseDown = down;
        c->OnMouseUp = up;
        c->OnMouseMove = move;
    }
    for (TWinControl* c : std::initializer_list<TWinControl*>{BeginEdit, EndEdit, ListView, CheckBox}) {
        c->OnKeyDown = TKeyEvent(this, &TSelectPanel::InnerKeyDown);
        c->OnKeyUp = TKeyEvent(this, &TSelectPanel::InnerKeyUp);
        c->OnKeyPress = TKeyPressEvent(this, &TSelectPanel::InnerKeyPress);
    }
    CheckBox->OnClick = TNotifyEvent(this, &TSelectPanel::CheckBoxClick);
    for (TControl* c :
         std::initializer_list<TControl*>{BeginButton, EndButton, ListButton, DeleteButton, ClearButton}) {
        c->OnMouseDown = down;
        c->OnMouseUp = up;
        c->OnMouseMove = move;
    }
    for (TControl* c : std::initializer_list<TControl*>{BeginButton, EndButton, ListButton})
        c->OnClick = TNotifyEvent(this, &TSelectPanel::OpenWinClick);
    DeleteButton->OnClick = TNotifyEvent(this, &TSelectPanel::DeleteClick);
    ClearButton->OnClick = TNotifyEvent(this, &TSelectPanel::ClearClick);
    ListView->OnSelectItem = TLVSelectItemEvent(this, &TSelectPanel::ListSelectItem);
    ListView->OnChange = TLVChangeEvent(this, &TSelectPanel::ListChange);
    ListView->OnChanging = TLVChangingEvent(this, &TSelectPanel::ListChanging);
    ListView->OnColumnClick = TLVColumnClickEvent(this, &TSelectPanel::ListColumnClick);

    childHints_->OnChange = [this](TObject*) { ApplyChildHints(); };
    beginWords_->OnChange = [this](TObject*) {
        if (beginWords_->Count() >= 2) ReLayout();
    };
    finalWords_->OnChange = [this](TObject*) {
        if (finalWords_->Count() >= 2) ReLayout();
    };
    ApplyChildHints();
    built_ = true;
    if (!Designing()) UpdateVisibility(style_);
    ReLayout();
}

TSelectPanel::~TSelectPanel() {
    childHints_->OnChange = nullptr;
    beginWords_->OnChange = nullptr;
    finalWords_->OnChange = nullptr;
    built_ = false;
}

bool TSelectPanel::IsRangeInput() const {
    return style_ == sp_Range || (style_ == sp_UserChoice && CheckBox->Checked());
}

// ---- style, choice and layout

void TSelectPanel::SetStyle(TSelectStyle v) {
    bool accept = true;
    if (OnStyleChanging && !Designing()) OnStyleChanging(this, style_, v, accept);
    if (!accept) return;
    if (!Designing()) UpdateVisibility(v);
    bool parentReading = Parent() && Parent()->ComponentState().Contains(csReading);
    if (v != style_ && (v == sp_Range || style_ == sp_Range) && !useVertical_ && !IsLoading() &&
        !parentReading)
        SwapSize();
    LayoutFor(v);
    if (!Designing()) OnStyleChange(this, style_, v);
    style_ = v;
}

void TSelectPanel::UpdateVisibility(TSelectStyle style) {
    CheckBox->SetVisible(style == sp_UserChoice);
    bool range = style == sp_Range || (CheckBox->Visible() && CheckBox->Checked());
    RangePanel->SetVisible(range);
    ListPanel->SetVisible(!range);
}

void TSelectPanel::SwapSize() {
    int w = Width(), h = Height();
    SetBounds(Left(), Top(), otherWidth_, otherHeight_);
    otherWidth_ = w;
    otherHeight_ = h;
}

void TSelectPanel::SetUserChoice(bool v) {
    if (style_ != sp_UserChoice) return;
    CheckBox->SetChecked(v);
    CheckBoxClick(CheckBox);
}

void TSelectPanel::CheckBoxClick(TObject*) {
    if (style_ != sp_UserChoice) return;
    userChoice_ = CheckBox->Checked();
    LayoutFor(sp_UserChoice);
    if (Designing()) return;
    UpdateVisibility(style_);
    OnTypeClick(this);
}

void TSelectPanel::SetUseVertical(bool v) {
    if (v == useVertical_ || style_ != sp_Range) return;
    useVertical_ = v;
    if (!IsLoading()) SwapSize();
    ReLayout();
}

void TSelectPanel::ReLayout() {
    LayoutFor(style_);
}

void TSelectPanel::FitCheckBox() {
    TCanvas* c = CheckBox->Canvas();
    TSize s = c->TextExtent(CheckBox->Caption());
    CheckBox->SetBounds(CheckBox->Left(), CheckBox->Top(), s.cx + 24, s.cy + 2);
}

void TSelectPanel::LayoutFor(TSelectStyle style) {
    if (!built_) return;
    FitCheckBox();
    const int captionHeight = Canvas()->TextHeight(Caption());
    if (style == sp_UserChoice) {
        CheckBox->SetVisible(true);
        CheckBox->SetBounds(16, captionHeight + 1, CheckBox->Width(), CheckBox->Height());
        (userChoice_ ? RangePanel : ListPanel)->BringToFront();
        int top = CheckBox->Top() + CheckBox->Canvas()->TextHeight(CheckBox->Caption()) + 2;
        TRect r = Bounds(2, top, Width() - 2 - 2, Height() - top - 2);
        RangePanel->SetBoundsRect(r);
        ListPanel->SetBoundsRect(r);
        RangeTwoRows();
        ListLayout();
        return;
    }
    CheckBox->SetVisible(false);
    TPanel* front = style == sp_Range ? RangePanel : ListPanel;
    front->BringToFront();
    int top = captionHeight + 3;
    TRect r = Bounds(2, top, Width() - 2 - front->BevelWidth() - 2, Height() - top - front->BevelWidth() - 2);
    RangePanel->SetBoundsRect(r);
    ListPanel->SetBoundsRect(r);
    if (style == sp_Discrete)
        ListLayout();
    else if (useVertical_)
        RangeTwoRows();
    else
        RangeOneRow();
}

void TSelectPanel::RangeOneRow() {
    const int width = RangePanel->Width();
    BeginLabel->SetCaption(WordAt(*beginWords_, 0));
    const int top = (RangePanel->Height() - BeginEdit->Height()) / 2;
    BeginLabel->SetBounds(2, top, BeginLabel->Width(), BeginLabel->Height());
    BeginEdit->SetBounds(BeginLabel->Left() + BeginLabel->Width() + 1, top, BeginEdit->Width(),
                         BeginEdit->Height());
    if (canOpenWin_) {
        int w = width - BeginLabel->Left() - BeginLabel->Width() - BeginButton->Width() - EndLabel->Width() -
                EndButton->Width() - 8;
        BeginEdit->SetWidth(w / 2 - 1);
        BeginButton->SetBounds(BeginEdit->Left() + BeginEdit->Width() + 2, top, BeginButton->Width(),
                               BeginButton->Height());
    } else {
        int w = width - BeginLabel->Left() - BeginLabel->Width() - EndLabel->Width() - 4;
        BeginEdit->SetWidth(w / 2 - 1);
    }
    EndLabel->SetCaption(WordAt(*finalWords_, 0));
    int endLeft = canOpenWin_ ? BeginButton->Left() + BeginButton->Width() + 2
                              : BeginEdit->Left() + BeginEdit->Width() + 4;
    EndLabel->SetBounds(endLeft, top, EndLabel->Width(), EndLabel->Height());
    EndEdit->SetBounds(EndLabel->Left() + EndLabel->Width() + 2, top, BeginEdit->Width(), EndEdit->Height());
    if (canOpenWin_)
        EndButton->SetBounds(EndEdit->Left() + EndEdit->Width() + 2, top, EndButton->Width(),
                             EndButton->Height());
}

void TSelectPanel::RangeTwoRows() {
    const int width = RangePanel->Width();
    BeginLabel->SetCaption(WordAt(*beginWords_, 1));
    const int gap = (RangePanel->Height() - BeginEdit->Height() - EndEdit->Height()) / 3;
    BeginLabel->SetBounds(2, gap, BeginLabel->Width(), BeginLabel->Height());
    const int left = BeginLabel->Left() + BeginLabel->Width() + 2;
    if (canOpenWin_) {
        BeginEdit->SetBounds(left, BeginLabel->Top(),
                             width - BeginLabel->Left() - BeginLabel->Width() - BeginButton->Width() - 4,
                             BeginEdit->Height());
        BeginButton->SetBounds(BeginEdit->Left() + BeginEdit->Width() + 1, BeginLabel->Top(),
                               BeginButton->Width(), BeginButton->Height());
    } else {
        BeginEdit->SetBounds(left, BeginLabel->Top(), width - BeginLabel->Left() - BeginLabel->Width() - 2,
                             BeginEdit->Height());
    }
    EndLabel->SetCaption(WordAt(*finalWords_, 1));
    EndLabel->SetBounds(BeginLabel->Left(), gap + BeginLabel->Top() + BeginEdit->Height(), EndLabel->Width(),
                        EndLabel->Height());
    EndEdit->SetBounds(BeginEdit->Left(), EndLabel->Top(), BeginEdit->Width(), EndEdit->Height());
    if (canOpenWin_)
        EndButton->SetBounds(BeginButton->Left(), EndLabel->Top(), EndButton->Width(), EndButton->Height());
}

void TSelectPanel::ListLayout() {
    ListView->SetBounds(ListView->Left(), 0, ListPanel->Width() - ListView->Left() - ListButton->Width() - 3,
                        ListPanel->Height());
    ListButton->SetBounds(ListView->Width() + 2, ListView->Top(), ListButton->Width(), ListButton->Height());
    DeleteButton->SetBounds(ListButton->Left(), ListButton->Top() + ListButton->Height(),
                            DeleteButton->Width(), DeleteButton->Height());
    ClearButton->SetBounds(ListButton->Left(), DeleteButton->Top() + DeleteButton->Height(),
                           ClearButton->Width(), ClearButton->Height());
}

void TSelectPanel::Resize() {
    TGroupBox::Resize();
    ReLayout();
}

void TSelectPanel::FontChanged() {
    TGroupBox::FontChanged();
    ReLayout();
}

void TSelectPanel::Loaded() {
    TGroupBox::Loaded();
    if (!Designing()) UpdateVisibility(style_);
    ReLayout();
}

// ---- texts, pictures and masks

void TSelectPanel::SetHintWord(const AnsiString& v) {
    CheckBox->SetCaption(v);
    FitCheckBox();
    hintWord_ = v;
}

void TSelectPanel::SetWords(TStringList& words, TStrings* v, TLabel* label) {
    if (!v || v->Count() == 0) return;
    std::vector<AnsiString> first{v->Get(0)};
    if (v->Count() > 1) first.push_back(v->Get(1));
    words.BeginUpdate();
    words.Clear();
    for (const AnsiString& w : first) words.Add(w);
    words.EndUpdate();
    label->SetCaption(WordAt(words, style_ == sp_UserChoice ? 1 : 0));
    ReLayout();
}

void TSelectPanel::SetBeginWords(TStrings* v) {
    SetWords(*beginWords_, v, BeginLabel);
}

void TSelectPanel::SetFinalWords(TStrings* v) {
    SetWords(*finalWords_, v, EndLabel);
}

void TSelectPanel::SetCanOpenWin(bool v) {
    canOpenWin_ = v;
    for (TControl* b : std::initializer_list<TControl*>{BeginButton, EndButton, ListButton}) b->SetVisible(v);
    ReLayout();
}

void TSelectPanel::SetGlyphIndex(int v) {
    if (v == glyphIndex_) return;
    glyphIndex_ = v;
    BeginButton->SetGlyphIndex(v);
    if (v != 0 && BeginButton->Glyph()->Empty()) {
        // The picture could not be loaded: no picture on any of the three.
        glyphIndex_ = 0;
        for (TF2Button* b : {BeginButton, EndButton, ListButton}) b->SetGlyphIndex(0);
        return;
    }
    EndButton->SetGlyphIndex(BeginButton->GlyphIndex());
    ListButton->SetGlyphIndex(BeginButton->GlyphIndex());
}

void TSelectPanel::SetEditMask(const AnsiString& v) {
    editMask_ = v;
    AnsiString kept = BeginEdit->Text();
    BeginEdit->SuppressChange = true;
    try {
        BeginEdit->SetText("");
        BeginEdit->SetEditMask(v);
        EndEdit->SetEditMask(v);
        EmptyMaskText = BeginEdit->Text();
        BeginEdit->SetText(kept);
    } catch (...) {
        BeginEdit->SuppressChange = false;
        throw;
    }
    BeginEdit->SuppressChange = false;
}

void TSelectPanel::SetChildHints(TStrings* v) {
    if (v && v != childHints_.get()) childHints_->Assign(*v);
}

void TSelectPanel::ApplyChildHints() {
    TControl* const controls[] = {CheckBox, BeginEdit,  BeginButton,  EndEdit,    EndButton,
                                  ListView, ListButton, DeleteButton, ClearButton};
    for (int i = 0; i < 9 && i < childHints_->Count(); ++i)
        if (controls[i]) controls[i]->SetHint(childHints_->Get(i));
}

// ---- the list

TStrings* TSelectPanel::ColumnCaptions() const {
    captions_->Clear();
    for (int i = 0; i < ListView->Columns()->Count(); ++i) captions_->Add(ListView->Column(i)->Caption());
    return captions_.get();
}

void TSelectPanel::SetColumnCaptions(TStrings* v) {
    std::vector<AnsiString> lines;
    for (int i = 0; v && i < v->Count(); ++i) lines.push_back(v->Get(i));
    TListColumns* columns = ListView->Columns();
    columns->Clear();
    for (const AnsiString& caption : lines) {
        TListColumn* column = columns->Add();
        column->SetCaption(caption);
        // Sized to the caption text.
        column->SetWidth(ListView->Canvas()->TextWidth(caption) + 12);
    }
}

TListColumns* TSelectPanel::Columns() const {
    return ListView->Columns();
}

TListItems* TSelectPanel::Items() const {
    return ListView->Items();
}

bool TSelectPanel::ShowColumnHeader() const {
    return ListView->ShowColumnHeaders();
}

void TSelectPanel::SetShowColumnHeader(bool v) {
    ListView->SetShowColumnHeaders(v);
}

bool TSelectPanel::ColumnsAutoSize() const {
    return ListView->ColumnsAutoSize;
}

void TSelectPanel::SetColumnsAutoSize(bool v) {
    ListView->ColumnsAutoSize = v;
}

bool TSelectPanel::HideSelection() const {
    return ListView->HideSelection();
}

void TSelectPanel::SetHideSelection(bool v) {
    ListView->SetHideSelection(v);
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate v) {
    checkDuplicate_ = v;
    if (v != cd_None) SetSortListBox(true);
    if (!IsRangeInput()) RemoveDuplicates();
}

void TSelectPanel::SetSortListBox(bool v) {
    sortListBox_ = v;
    ListView->OnCompare = v ? TLVCompareEvent(this, &TSelectPanel::ListCompare) : TLVCompareEvent();
    ListView->SetSortType(v ? stText : stNone);
}

int TSelectPanel::CompareRows(TListItem* a, TListItem* b) const {
    auto text = [](TListItem* row, int k) -> AnsiString {
        if (k == 0) return row->Caption();
        return k - 1 < row->SubItems()->Count() ? row->SubItems()->Get(k - 1) : AnsiString();
    };
    std::vector<int> order;
    if (SortColumn == 0)
        order = {0, 1};
    else if (SortColumn == 1)
        order = {1, 0};
    else
        order = {SortColumn, 0, 1};
    int result = 0;
    for (int k : order) {
        result = CompareText(text(a, k), text(b, k));
        if (result != 0) break;
    }
    return SortAscending ? result : -result;
}

void TSelectPanel::SortList() {
    ListView->CustomSort([this](TListItem* a, TListItem* b, int) { return CompareRows(a, b); }, 0);
}

void TSelectPanel::RemoveDuplicates() {
    if (checkDuplicate_ == cd_None) return;
    TListItems* rows = ListView->Items();
    for (int i = rows->Count() - 1; i >= 1; --i) {
        AnsiString here = rows->Item(i)->Caption(), above = rows->Item(i - 1)->Caption();
        if (checkDuplicate_ == cd_CaseInsensitive) {
            here = UpperCase(here);
            above = UpperCase(above);
        }
        if (here == above) rows->Delete(i);
    }
}

void TSelectPanel::ListColumnClick(TObject*, TListColumn* column) {
    int index = column->Index();
    if (index == SortColumn) {
        SortAscending = !SortAscending;
    } else {
        SortColumn = index;
        SortAscending = true;
    }
    SortList();
}

void TSelectPanel::ListCompare(TObject*, TListItem* item1, TListItem* item2, int, int& compare) {
    compare = CompareRows(item1, item2);
}

// ---- the range on exit

TDateTime TSelectPanel::ReadRangeDate(const AnsiString& text) const {
    AnsiString t = Trim(text);
    if (t.empty() || t == Trim(EmptyMaskText) || dateSign_.empty()) return 0;
    int signs = CountOf(dateSign_, t);
    if (signs == 1) {
        switch (dateType_) {
        case dt_MMDDYYYY: t.insert(std::min<size_t>(2, t.size()), dateSign_ + "01"); break;
        case dt_DDMMYYYY: t = "01" + dateSign_ + t; break;
        default: t += dateSign_ + "01"; break;
        }
    } else if (signs != 2) {
        return 0;
    }
    int parts[3];
    size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        size_t at = i < 2 ? t.find(dateSign_, from) : AnsiString::npos;
        AnsiString part = Trim(t.substr(from, at == AnsiString::npos ? AnsiString::npos : at - from));
        if (!IsWholeNumber(part)) return 0;
        parts[i] = StrToIntDef(part, 0);
        from = at == AnsiString::npos ? t.size() : at + dateSign_.size();
    }
    int year, month, day;
    switch (dateType_) {
    case dt_MMDDYYYY: year = parts[2], month = parts[0], day = parts[1]; break;
    case dt_DDMMYYYY: year = parts[2], month = parts[1], day = parts[0]; break;
    case dt_YYMMDD:
    case dt_YYYMMDD: year = parts[0] + 1911, month = parts[1], day = parts[2]; break;
    default: year = parts[0], month = parts[1], day = parts[2]; break;
    }
    TDateTime date = 0;
    return TryEncodeDate(year, month, day, date) ? date : 0;
}

void TSelectPanel::OrderRange() {
    if (editMask_.empty() || editMask_[0] != '!') {
        BeginEdit->SetText(Trim(BeginEdit->Text()));
        EndEdit->SetText(Trim(EndEdit->Text()));
    }
    AnsiString from = BeginEdit->Text(), to = EndEdit->Text();
    if (from.empty() || to.empty()) return;
    auto ordinary = [&] {
        if (from == EmptyMaskText || to == EmptyMaskText) return false;
        return !(useDiscard_ && (Trim(from) == discard_ || Trim(to) == discard_));
    };
    bool exchange = false;
    switch (valueType_) {
    case vt_Number: exchange = ReadInteger(from) > ReadInteger(to); break;
    case vt_String:
    case vt_Time: exchange = ordinary() && from > to; break;
    case vt_Date:
        if (autoChangeDateSite_ && ordinary())
            exchange = dateType_ == dt_NoneCare ? from > to : ReadRangeDate(from) > ReadRangeDate(to);
        break;
    case vt_Float:
        from = FloatText(from);
        to = FloatText(to);
        BeginEdit->SetText(from);
        EndEdit->SetText(to);
        exchange = ReadFloat(from) > ReadFloat(to);
        break;
    default: break;
    }
    if (!exchange) return;
    BeginEdit->SetText(to);
    EndEdit->SetText(from);
}

void TSelectPanel::DoExit() {
    OrderRange();
    TGroupBox::DoExit();
}

// ---- focus and enabled state

void TSelectPanel::SetFocus() {
    TGroupBox::SetFocus();
    if (!IsRangeInput() && ListView->CanFocus()) ListView->SetFocus();
}

void TSelectPanel::SetEnabled(bool v) {
    TGroupBox::SetEnabled(v);
    enabled_ = v;
    EnableChildren(this, v);
}

void TSelectPanel::EnableChildren(TWinControl* parent, bool v) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->SetEnabled(v);
        if (c == RangePanel || c == ListPanel) EnableChildren(static_cast<TWinControl*>(c), v);
    }
}

// ---- events of the inner controls

bool TSelectPanel::KeepsSender(TObject* sender) const {
    return sender == ListView || sender == BeginEdit || sender == EndEdit;
}

TPoint TSelectPanel::ToPanel(TObject* sender, int x, int y) const {
    auto* c = static_cast<TControl*>(sender);
    return ScreenToClient(c->ClientToScreen({x, y}));
}

void TSelectPanel::InnerClick(TObject* Sender) {
    if (OnClick) OnClick(KeepsSender(Sender) ? Sender : this);
}

void TSelectPanel::InnerDblClick(TObject* Sender) {
    if (OnDblClick) OnDblClick(KeepsSender(Sender) ? Sender : this);
}

void TSelectPanel::InnerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!OnMouseDown) return;
    if (KeepsSender(Sender)) return OnMouseDown(Sender, Button, Shift, X, Y);
    TPoint p = ToPanel(Sender, X, Y);
    OnMouseDown(this, Button, Shift, p.X, p.Y);
}

void TSelectPanel::InnerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!OnMouseUp) return;
    if (KeepsSender(Sender)) return OnMouseUp(Sender, Button, Shift, X, Y);
    TPoint p = ToPanel(Sender, X, Y);
    OnMouseUp(this, Button, Shift, p.X, p.Y);
}

void TSelectPanel::InnerMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    if (!OnMouseMove) return;
    if (KeepsSender(Sender)) return OnMouseMove(Sender, Shift, X, Y);
    TPoint p = ToPanel(Sender, X, Y);
    OnMouseMove(this, Shift, p.X, p.Y);
}

void TSelectPanel::InnerKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(Sender, Key, Shift);
}

void TSelectPanel::InnerKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(Sender, Key, Shift);
}

void TSelectPanel::InnerKeyPress(TObject* Sender, char& Key) {
    if (OnKeyPress) OnKeyPress(Sender, Key);
}

void TSelectPanel::OpenWinClick(TObject* Sender) {
    if (Designing()) return;
    TWinControl* target = Sender == BeginButton ? static_cast<TWinControl*>(BeginEdit)
                          : Sender == EndButton ? static_cast<TWinControl*>(EndEdit)
                                                : static_cast<TWinControl*>(ListView);
    if (target->CanFocus()) target->SetFocus();
    if (auto* window = dynamic_cast<TWinControl*>(Owner()))
        SendMessage(window->Handle(), WM_OPENWINDOW, 0, reinterpret_cast<LPARAM>(target));
    OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteClick(TObject*) {
    if (Designing()) return;
    bool accept = true;
    OnDeleteClick(this, accept);
    if (!accept) return;
    TListItems* rows = ListView->Items();
    for (int i = rows->Count() - 1; i >= 0; --i)
        if (rows->Item(i)->Selected()) rows->Delete(i);
}

void TSelectPanel::ClearClick(TObject*) {
    if (Designing()) return;
    ListView->ClearRows();
    if (ListView->CanFocus()) ListView->SetFocus();
    OnClearClick(this);
}

void TSelectPanel::ListSelectItem(TObject*, TListItem* Item, bool Selected) {
    if (OnItemSelect) OnItemSelect(ListView, Item, Item ? Item->Index() : -1, Selected);
}

void TSelectPanel::ListChange(TObject* Sender, TListItem* Item, TItemChange Change) {
    OnItemChange(Sender, Item, Change);
}

void TSelectPanel::ListChanging(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange) {
    OnItemChanging(Sender, Item, Change, AllowChange);
}

} // namespace qz

// The code converter's class step for the panel: its hints, begin and end words and the rows and
// columns of its list.
namespace qz {

namespace {

void ConvertLines(TCodeConverter& converter, TStrings* lines, Byte direction,
                  void (TSelectPanel::*set)(TStrings*), TSelectPanel* panel) {
    TStringList converted;
    for (int i = 0; i < lines->Count(); ++i)
        converted.Add(converter.ConvertValue(direction, Variant(lines->Get(i))).AsString());
    (panel->*set)(&converted);
}

void ConvertSelectPanel(TCodeConverter& converter, TComponent* component, Byte direction) {
    auto* panel = static_cast<TSelectPanel*>(component);
    TStrings* hints = panel->ChildHints();
    for (int i = 0; i < hints->Count(); ++i)
        hints->Put(i, converter.ConvertValue(direction, Variant(hints->Get(i))).AsString());
    panel->SetChildHints(hints);
    ConvertLines(converter, panel->BeginWords(), direction, &TSelectPanel::SetBeginWords, panel);
    ConvertLines(converter, panel->FinalWords(), direction, &TSelectPanel::SetFinalWords, panel);
    panel->SetHintWord(converter.ConvertValue(direction, Variant(panel->HintWord())).AsString());
    if (panel->ListView) converter.ConvertListView(panel->ListView, direction);
}

} // namespace

void RegisterSelectPanelConversion() {
    TCodeConverter::SetSelectPanelStep(
        {[](const TComponent* c) { return dynamic_cast<const TSelectPanel*>(c) != nullptr; },
         &ConvertSelectPanel});
}

} // namespace qz
