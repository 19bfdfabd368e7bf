#include "platform/vcl/Spin.h"
#include "platform/core/Strings.h"

namespace qz {

QZ_CLASS_INFO(TSpinEdit, TCustomEdit) {
    b.Property("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled).Default(true);
    b.Property("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1);
    b.Property("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue);
    b.Property("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue);
    b.Property("Value", &TSpinEdit::Value, &TSpinEdit::SetValue);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    TCustomEdit::SetText("0");
    SetModified(false);
}

int TSpinEdit::Value() const {
    int v;
    return TryStrToInt(Text(), v) ? v : minValue_;
}

void TSpinEdit::SetValue(int v) {
    SetText(IntToStr(CheckValue(v)));
}

int TSpinEdit::CheckValue(int v) const {
    if (maxValue_ == minValue_) return v;
    if (v < minValue_) return minValue_;
    if (v > maxValue_) return maxValue_;
    return v;
}

void TSpinEdit::UpClick() {
    if (!ReadOnly()) SetValue(Value() + increment_);
}

void TSpinEdit::DownClick() {
    if (!ReadOnly()) SetValue(Value() - increment_);
}

bool TSpinEdit::IsValidChar(char key) const {
    const unsigned char c = static_cast<unsigned char>(key);
    bool ok = key == DecimalSeparator || key == '+' || key == '-' || (c >= '0' && c <= '9') ||
              (c < 32 && c != '\r');
    if (!editorEnabled_ && ok && (c >= 32 || c == 8 || c == 127)) ok = false;
    return ok;
}

void TSpinEdit::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_UP)
        UpClick();
    else if (key == VK_DOWN)
        DownClick();
    if (key == VK_DELETE && !editorEnabled_) {
        TWinControl::KeyDown(key, shift);
        return;
    }
    TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::KeyPress(char& key) {
    if (!IsValidChar(key)) key = 0;
    if (key != 0) TCustomEdit::KeyPress(key);
}

void TSpinEdit::DoExit() {
    TCustomEdit::DoExit();
    int v = Value();
    if (CheckValue(v) != v) SetValue(v);
}

} // namespace qz
