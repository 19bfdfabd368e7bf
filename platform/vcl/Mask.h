#pragma once
// The edit-mask language of mask edits, as a model without controls.
//
// A mask has up to three fields separated by ";": the mask characters, "0" when literals are not
// kept in Text (anything else, or no field, keeps them), and the blank character shown in empty
// positions (default "_"). Mask characters:
//   0 digit, required        9 digit, optional        # digit, "+" or "-", optional
//   L letter, required       l letter, optional
//   A letter or digit, req.  a letter or digit, optional
//   C any character, req.    c any character, optional
//   > upper-case what follows, < lower-case it, <> neither
//   ! optional characters are leading blanks (the text is aligned right)
//   \ the next character is a literal     : and / the time and date separators
//   _ a literal blank         anything else: a literal
// EditText holds one byte for every position: literals in place, the blank character where nothing
// was entered. Text is EditText without blanks at the end (at the start with "!") and, unless
// literals are kept, without literals; remaining blank characters read as spaces.
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include <vector>

namespace qz {

QZ_EXCEPTION_CLASS(EDBEditError, Exception); // an entry that does not satisfy its mask

// "Invalid input value.  Use escape key to abandon changes"
extern const char* const SMaskEditErr;

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const AnsiString& editMask);

    const AnsiString& Mask() const { return mask_; }
    bool IsMasked() const { return !positions_.empty(); }
    bool SaveLiterals() const { return saveLiterals_; }
    char Blank() const { return blank_; }
    bool Reverse() const { return reverse_; }

    // Number of positions (the length of EditText).
    int Length() const { return static_cast<int>(positions_.size()); }
    bool IsLiteral(int pos) const;
    bool IsRequired(int pos) const;
    // EditText with nothing entered.
    AnsiString BlankEditText() const;
    // The byte as it is stored at an input position (case converted), or 0 when it does not fit.
    char Accept(int pos, char ch) const;
    // The first input position at or after pos, or Length() when none; the last one at or before pos,
    // or -1.
    int NextInputPos(int pos) const;
    int PrevInputPos(int pos) const;

    // Text from EditText.
    AnsiString TextFromEditText(const AnsiString& editText) const;
    // EditText for a Text: with literals kept, literals of the value are matched where the mask has
    // them (a value without them is accepted too); otherwise the value fills the input positions in
    // order (from the right with "!"). Blanks of the value become the blank character; no check is
    // made of the characters.
    AnsiString EditTextFromText(const AnsiString& text) const;
    // A text of any length made exactly Length() long, padding with the blank text's tail.
    AnsiString NormalizeEditText(const AnsiString& editText) const;

    // The text has the mask's length and every literal in its place (the edit text form).
    bool HoldsLiterals(const AnsiString& text) const;
    // False when a required position is blank; pos is then that position.
    bool Validate(const AnsiString& editText, int& pos) const;

    // Editing on an EditText with a selection (start, length). Input overwrites: it clears the
    // selection, skips literals, and stores the byte when it fits the position (returns false and
    // changes nothing when it does not). Typing a literal where the caret stands on it steps over it.
    bool InputChar(AnsiString& editText, int& selStart, int& selLength, char ch) const;
    // Backspace: clears the selection, or the input position before the caret, and moves the caret.
    void Backspace(AnsiString& editText, int& selStart, int& selLength) const;
    // Delete: clears the selection, or the input position at the caret.
    void DeleteForward(AnsiString& editText, int& selStart, int& selLength) const;

private:
    struct Position {
        char mask = 0; // the mask character, 0 for a literal
        char literal = 0;
        int caseMode = 0; // 1 upper, -1 lower
    };
    void ClearRange(AnsiString& editText, int from, int to) const;

    AnsiString mask_;
    std::vector<Position> positions_;
    bool saveLiterals_ = true;
    bool reverse_ = false;
    char blank_ = '_';
};

// The value formatted by a mask, as the Text of a mask edit holding it would read.
AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value);

} // namespace qz
