#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Forms.h"
#include <algorithm>

namespace qz {

namespace {

struct RawTextScope {
    explicit RawTextScope(int& depth) : depth_(depth) { ++depth_; }
    ~RawTextScope() { --depth_; }
    RawTextScope(const RawTextScope&) = delete;
    RawTextScope& operator=(const RawTextScope&) = delete;
    int& depth_;
};

} // namespace

QZ_CLASS_INFO(TCustomMaskEdit, TCustomEdit) {}

QZ_CLASS_INFO(TMaskEdit, TCustomMaskEdit) {
    b.Property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

// The characters entered in an edit text, literals left out and blanks as spaces, without the blanks
// at the end (at the start for a mask aligned right).
static AnsiString InputChars(const TEditMask& mask, const AnsiString& editText) {
    const AnsiString e = mask.NormalizeEditText(editText);
    AnsiString chars;
    for (int i = 0; i < mask.Length(); ++i)
        if (!mask.IsLiteral(i)) chars += e[i] == mask.Blank() ? ' ' : e[i];
    if (mask.Reverse()) {
        std::size_t first = chars.find_first_not_of(' ');
        return first == AnsiString::npos ? AnsiString() : chars.substr(first);
    }
    std::size_t last = chars.find_last_not_of(' ');
    return last == AnsiString::npos ? AnsiString() : chars.substr(0, last + 1);
}

void TCustomMaskEdit::SetEditMask(const AnsiString& v) {
    if (v == mask_.Mask()) return;
    AnsiString text = IsMasked() ? InputChars(mask_, Caption()) : Caption();
    mask_ = TEditMask(v);
    if (!IsMasked()) {
        SetMaxLength(0);
        TCustomEdit::SetText(text);
        if (!IsLoading()) SetModified(false);
        return;
    }
    SetMaxLength(mask_.Length());
    StoreEditText(mask_.EditTextFromText(text), 0, 0, false);
}

AnsiString TCustomMaskEdit::Text() const {
    if (!IsMasked() || rawText_ > 0) return TCustomEdit::Text();
    return mask_.TextFromEditText(Caption());
}

void TCustomMaskEdit::SetText(const AnsiString& v) {
    if (!IsMasked()) {
        TCustomEdit::SetText(v);
        return;
    }
    // A value laid out as the edit shows it, literals in place, is taken as it stands.
    AnsiString edit = mask_.HoldsLiterals(v) ? mask_.NormalizeEditText(v) : mask_.EditTextFromText(v);
    StoreEditText(edit, SelStart(), 0, false);
}

void TCustomMaskEdit::SetEditText(const AnsiString& v) {
    if (!IsMasked()) {
        TCustomEdit::SetText(v);
        return;
    }
    StoreEditText(mask_.NormalizeEditText(v), SelStart(), 0, false);
}

void TCustomMaskEdit::StoreEditText(const AnsiString& editText, int selStart, int selLength, bool byUser) {
    const bool changed = editText != Caption();
    if (changed) TControl::SetText(editText);
    SetCaret(selStart, selLength);
    if (!changed || IsLoading()) return;
    Change();
    if (!byUser) SetModified(false);
}

void TCustomMaskEdit::SetCaret(int selStart, int selLength) {
    RawTextScope raw(rawText_);
    TCustomEdit::SetSelStart(selStart);
    TCustomEdit::SetSelLength(selLength);
}

void TCustomMaskEdit::SetSelStart(int v) {
    RawTextScope raw(rawText_);
    TCustomEdit::SetSelStart(v);
}

void TCustomMaskEdit::SetSelLength(int v) {
    RawTextScope raw(rawText_);
    TCustomEdit::SetSelLength(v);
}

AnsiString TCustomMaskEdit::SelText() const {
    RawTextScope raw(rawText_);
    return TCustomEdit::SelText();
}

void TCustomMaskEdit::SelectAll() {
    RawTextScope raw(rawText_);
    TCustomEdit::SelectAll();
}

void TCustomMaskEdit::SetSelText(const AnsiString& v) {
    if (!IsMasked()) {
        TCustomEdit::SetSelText(v);
        return;
    }
    AnsiString edit = Caption();
    int start = SelStart(), length = SelLength();
    if (length > 0) mask_.DeleteForward(edit, start, length);
    for (char c : v) mask_.InputChar(edit, start, length, c);
    StoreEditText(edit, start, length, false);
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !Modified()) return;
    int pos = 0;
    if (mask_.Validate(Caption(), pos)) return;
    if (!IsDesigning() && GetParentForm(this) && CanFocus()) SetFocus();
    SetCaret(pos, 0);
    throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::Reset() {
    if (!IsMasked() || !Modified()) return;
    StoreEditText(oldValue_, 0, static_cast<int>(oldValue_.size()), false);
    SetModified(false);
}

bool TCustomMaskEdit::WantsKey(Word key, TShiftState shift) const {
    if (key == VK_ESCAPE && IsMasked() && Modified()) return true;
    return TCustomEdit::WantsKey(key, shift);
}

void TCustomMaskEdit::DoEnter() {
    if (!IsMasked()) {
        TCustomEdit::DoEnter();
        return;
    }
    oldValue_ = Caption();
    if (AutoSelect())
        SelectAll();
    else if (SelLength() == 0)
        SetCaret(std::min(mask_.NextInputPos(SelStart()), mask_.Length()), 0);
    TWinControl::DoEnter();
}

void TCustomMaskEdit::DoExit() {
    if (IsMasked() && !IsDesigning()) ValidateEdit();
    TCustomEdit::DoExit();
}

void TCustomMaskEdit::KeyDown(Word& key, TShiftState shift) {
    if (!IsMasked()) {
        TCustomEdit::KeyDown(key, shift);
        return;
    }
    TWinControl::KeyDown(key, shift);
    const int len = static_cast<int>(Caption().size());
    const int start = SelStart();
    switch (key) {
    case VK_LEFT: SetCaret(std::max(start - 1, 0), 0); break;
    case VK_RIGHT: SetCaret(std::min(start + 1, len), 0); break;
    case VK_HOME: SetCaret(0, 0); break;
    case VK_END: SetCaret(len, 0); break;
    case VK_DELETE:
        if (!ReadOnly()) {
            AnsiString edit = Caption();
            int s = start, l = SelLength();
            mask_.DeleteForward(edit, s, l);
            StoreEditText(edit, s, l, true);
        }
        break;
    case VK_ESCAPE:
        if (Modified()) {
            Reset();
            key = 0;
        }
        break;
    default: break;
    }
}

void TCustomMaskEdit::KeyPress(char& key) {
    if (!IsMasked()) {
        TCustomEdit::KeyPress(key);
        return;
    }
    TWinControl::KeyPress(key);
    if (key == 0 || ReadOnly()) return;
    const unsigned char ch = static_cast<unsigned char>(key);
    AnsiString edit = Caption();
    int start = SelStart(), length = SelLength();
    if (ch == 8) {
        mask_.Backspace(edit, start, length);
        StoreEditText(edit, start, length, true);
        return;
    }
    if (ch < 32) return;
    if (mask_.InputChar(edit, start, length, key)) StoreEditText(edit, start, length, true);
}

} // namespace qz
