#pragma once
// The mask edit: an edit whose input follows an edit mask (Mask.h).
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

namespace qz {

// With a mask, the edit holds EditText (one byte per mask position, literals in place, the blank
// character where nothing was entered) and Text reads it through the mask (with or without literals).
// Typing, Backspace and Delete go through the mask; MaxLength is the mask's length; leaving the edit
// validates a modified text and raises EDBEditError, keeping the focus, when a required position is
// blank; Esc gives up the changes made since the edit was entered. Without a mask it is a plain edit.
// Text set by code leaves Modified false.
class TCustomMaskEdit : public TCustomEdit {
    QZ_CLASS(TCustomMaskEdit)
public:
    explicit TCustomMaskEdit(TComponent* owner);

    const AnsiString& EditMask() const { return mask_.Mask(); }
    // A new mask takes the characters entered under the old one (without its literals), or the text of
    // an edit that had no mask.
    void SetEditMask(const AnsiString& v);
    bool IsMasked() const { return mask_.IsMasked(); }
    const TEditMask& Mask() const { return mask_; }

    AnsiString EditText() const { return Caption(); }
    void SetEditText(const AnsiString& v);
    AnsiString Text() const override;
    void SetText(const AnsiString& v) override;

    // Raises EDBEditError (SMaskEditErr) with the caret on the first blank required position when the
    // text was modified and does not satisfy the mask; the edit takes the focus back first.
    virtual void ValidateEdit();

    // Caret and selection count positions of EditText.
    void SetSelStart(int v);
    void SetSelLength(int v);
    AnsiString SelText() const;
    void SetSelText(const AnsiString& v);
    void SelectAll();

    bool WantsKey(Word key, TShiftState shift) const override;

protected:
    // Back to the text the edit had when it was entered.
    virtual void Reset();
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    // Stores an edit text and the caret; OnChange when the text changed. Code's changes leave the
    // edit unmodified.
    void StoreEditText(const AnsiString& editText, int selStart, int selLength, bool byUser);
    void SetCaret(int selStart, int selLength);

    TEditMask mask_;
    AnsiString oldValue_;
    // While positive, Text reads EditText (the edit's caret arithmetic measures the text it holds).
    mutable int rawText_ = 0;
};

class TMaskEdit : public TCustomMaskEdit {
    QZ_CLASS(TMaskEdit)
public:
    explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

} // namespace qz
