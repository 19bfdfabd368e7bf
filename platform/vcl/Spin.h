#pragma once
// The spin edit: an edit of an integer with up and down steps.
#include "platform/vcl/StdCtrls.h"

namespace qz {

// Value is read from the text (a text that is not a number reads as MinValue) and written as its
// decimal text, kept within MinValue..MaxValue unless both are equal. The up and down keys step by
// Increment; leaving the edit brings a typed value back into range. Only digits, signs and the
// decimal separator can be typed, and nothing at all when EditorEnabled is off.
class TSpinEdit : public TCustomEdit {
    QZ_CLASS(TSpinEdit)
public:
    explicit TSpinEdit(TComponent* owner);

    int Value() const;
    void SetValue(int v);
    int MinValue() const { return minValue_; }
    void SetMinValue(int v) { minValue_ = v; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int v) { maxValue_ = v; }
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool v) { editorEnabled_ = v; }

    // The spin buttons: one step up or down (a read-only edit does not move).
    virtual void UpClick();
    virtual void DownClick();

protected:
    int CheckValue(int v) const;
    virtual bool IsValidChar(char key) const;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    // OnExit runs first, then the value is brought into range.
    void DoExit() override;

private:
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
};

} // namespace qz
