#include "platform/vcl/Mask.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include <algorithm>

namespace qz {

const char* const SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

namespace {

bool IsInputChar(char c) {
    switch (c) {
    case '0':
    case '9':
    case '#':
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c': return true;
    default: return false;
    }
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Letters: a to z, and in a single-byte code page the accented letters of its upper half.
bool IsLetter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && SystemCodePage() == CP_LATIN1;
}

} // namespace

TEditMask::TEditMask(const AnsiString& editMask) : mask_(editMask) {
    std::size_t i = 0;
    const std::size_t n = editMask.size();
    int caseMode = 0;
    while (i < n) {
        char c = editMask[i];
        if (c == ';') break;
        Position p;
        if (c == '!') {
            reverse_ = true;
            ++i;
            continue;
        }
        if (c == '<' && i + 1 < n && editMask[i + 1] == '>') {
            caseMode = 0;
            i += 2;
            continue;
        }
        if (c == '>' || c == '<') {
            caseMode = c == '>' ? 1 : -1;
            ++i;
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= n) break;
            p.literal = editMask[i + 1];
            i += 2;
        } else {
            if (IsInputChar(c))
                p.mask = c;
            else if (c == ':')
                p.literal = TimeSeparator;
            else if (c == '/')
                p.literal = DateSeparator;
            else if (c == '_')
                p.literal = ' ';
            else
                p.literal = c;
            ++i;
        }
        p.caseMode = caseMode;
        positions_.push_back(p);
    }
    // The fields after the mask: keep literals ("0" = no), then the blank character.
    if (i < n && editMask[i] == ';') {
        ++i;
        std::size_t end = editMask.find(';', i);
        AnsiString save = editMask.substr(i, end == AnsiString::npos ? AnsiString::npos : end - i);
        saveLiterals_ = !(save.size() >= 1 && save[0] == '0');
        if (end != AnsiString::npos && end + 1 < n) blank_ = editMask[end + 1];
    }
}

bool TEditMask::IsLiteral(int pos) const {
    return pos >= 0 && pos < Length() && positions_[pos].mask == 0;
}

bool TEditMask::IsRequired(int pos) const {
    if (pos < 0 || pos >= Length()) return false;
    char m = positions_[pos].mask;
    return m == '0' || m == 'L' || m == 'A' || m == 'C';
}

AnsiString TEditMask::BlankEditText() const {
    AnsiString s;
    for (const Position& p : positions_) s += p.mask ? blank_ : p.literal;
    return s;
}

char TEditMask::Accept(int pos, char ch) const {
    if (pos < 0 || pos >= Length() || positions_[pos].mask == 0) return 0;
    const Position& p = positions_[pos];
    unsigned char c = static_cast<unsigned char>(ch);
    if (p.caseMode > 0 && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (p.caseMode < 0 && c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    bool ok;
    switch (p.mask) {
    case '0':
    case '9': ok = IsDigit(c); break;
    case '#': ok = IsDigit(c) || c == '+' || c == '-'; break;
    case 'L':
    case 'l': ok = IsLetter(c); break;
    case 'A':
    case 'a': ok = IsLetter(c) || IsDigit(c); break;
    default: ok = c >= 0x20; break; // C, c
    }
    if (ok) return static_cast<char>(c);
    // A blank leaves an optional position empty.
    if (c == ' ' && !IsRequired(pos)) return blank_;
    return 0;
}

int TEditMask::NextInputPos(int pos) const {
    if (pos < 0) pos = 0;
    while (pos < Length() && positions_[pos].mask == 0) ++pos;
    return std::min(pos, Length());
}

int TEditMask::PrevInputPos(int pos) const {
    if (pos >= Length()) pos = Length() - 1;
    while (pos >= 0 && positions_[pos].mask == 0) --pos;
    return pos;
}

AnsiString TEditMask::NormalizeEditText(const AnsiString& editText) const {
    AnsiString blank = BlankEditText();
    if (editText.size() >= blank.size()) return editText.substr(0, blank.size());
    return editText + blank.substr(editText.size());
}

AnsiString TEditMask::TextFromEditText(const AnsiString& editText) const {
    if (!IsMasked()) return editText;
    const AnsiString e = NormalizeEditText(editText);
    AnsiString chars;
    for (int i = 0; i < Length(); ++i)
        if (positions_[i].mask) chars += e[i];
    if (reverse_) {
        std::size_t first = chars.find_first_not_of(blank_);
        chars.erase(0, first == AnsiString::npos ? chars.size() : first);
    } else {
        std::size_t last = chars.find_last_not_of(blank_);
        chars.erase(last == AnsiString::npos ? 0 : last + 1);
    }
    for (char& c : chars)
        if (c == blank_) c = ' ';
    if (!saveLiterals_) return chars;

    // Literals back in place; the input positions the characters do not reach read as blanks.
    int inputs = 0;
    for (const Position& p : positions_) inputs += p.mask != 0;
    int skip = reverse_ ? inputs - static_cast<int>(chars.size()) : 0;
    AnsiString result;
    std::size_t j = 0;
    for (const Position& p : positions_) {
        if (!p.mask) {
            result += p.literal;
        } else if (skip > 0) {
            result += ' ';
            --skip;
        } else {
            result += j < chars.size() ? chars[j++] : ' ';
        }
    }
    return result;
}

AnsiString TEditMask::EditTextFromText(const AnsiString& text) const {
    if (!IsMasked()) return text;
    const int n = Length();
    AnsiString out(static_cast<std::size_t>(n), blank_);
    auto store = [&](int pos, char c) { out[pos] = c == ' ' ? blank_ : c; };
    if (saveLiterals_) {
        // Lay the value over the mask, matching literals where the value has them.
        const int len = static_cast<int>(text.size());
        if (!reverse_) {
            int j = 0;
            for (int pos = 0; pos < n; ++pos) {
                const Position& p = positions_[pos];
                if (!p.mask) {
                    out[pos] = p.literal;
                    if (j < len && text[j] == p.literal) ++j;
                } else if (j < len) {
                    store(pos, text[j++]);
                }
            }
        } else {
            int j = len - 1;
            for (int pos = n - 1; pos >= 0; --pos) {
                const Position& p = positions_[pos];
                if (!p.mask) {
                    out[pos] = p.literal;
                    if (j >= 0 && text[j] == p.literal) --j;
                } else if (j >= 0) {
                    store(pos, text[j--]);
                }
            }
        }
        return out;
    }
    std::vector<int> inputs;
    for (int pos = 0; pos < n; ++pos) {
        if (positions_[pos].mask)
            inputs.push_back(pos);
        else
            out[pos] = positions_[pos].literal;
    }
    const int k = static_cast<int>(inputs.size()), len = static_cast<int>(text.size());
    if (!reverse_) {
        for (int i = 0; i < k && i < len; ++i) store(inputs[i], text[i]);
    } else {
        for (int i = 0; i < k && i < len; ++i) store(inputs[k - 1 - i], text[len - 1 - i]);
    }
    return out;
}

bool TEditMask::HoldsLiterals(const AnsiString& text) const {
    if (!IsMasked() || static_cast<int>(text.size()) != Length()) return false;
    for (int pos = 0; pos < Length(); ++pos)
        if (!positions_[pos].mask && text[pos] != positions_[pos].literal) return false;
    return true;
}

bool TEditMask::Validate(const AnsiString& editText, int& pos) const {
    const AnsiString e = NormalizeEditText(editText);
    for (int i = 0; i < Length(); ++i) {
        if (!IsRequired(i)) continue;
        if (e[i] == blank_ || (e[i] == ' ' && positions_[i].mask != 'C')) {
            pos = i;
            return false;
        }
    }
    return true;
}

void TEditMask::ClearRange(AnsiString& editText, int from, int to) const {
    for (int i = std::max(from, 0); i < std::min(to, Length()); ++i)
        if (positions_[i].mask) editText[i] = blank_;
}

bool TEditMask::InputChar(AnsiString& editText, int& selStart, int& selLength, char ch) const {
    editText = NormalizeEditText(editText);
    int p = std::clamp(selStart, 0, Length());
    if (IsLiteral(p) && positions_[p].literal == ch) {
        ClearRange(editText, p, p + std::max(selLength, 0));
        selStart = NextInputPos(p + 1);
        selLength = 0;
        return true;
    }
    int q = NextInputPos(p);
    if (q >= Length()) return false;
    char stored = Accept(q, ch);
    if (!stored) return false;
    ClearRange(editText, p, p + std::max(selLength, 0));
    editText[q] = stored;
    selStart = NextInputPos(q + 1);
    selLength = 0;
    return true;
}

void TEditMask::Backspace(AnsiString& editText, int& selStart, int& selLength) const {
    editText = NormalizeEditText(editText);
    if (selLength > 0) {
        ClearRange(editText, selStart, selStart + selLength);
        selLength = 0;
        return;
    }
    int q = PrevInputPos(selStart - 1);
    if (q < 0) return;
    editText[q] = blank_;
    selStart = q;
}

void TEditMask::DeleteForward(AnsiString& editText, int& selStart, int& selLength) const {
    editText = NormalizeEditText(editText);
    if (selLength > 0) {
        ClearRange(editText, selStart, selStart + selLength);
        selLength = 0;
        return;
    }
    int q = NextInputPos(selStart);
    if (q < Length()) editText[q] = blank_;
}

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value) {
    TEditMask mask(editMask);
    return mask.TextFromEditText(mask.EditTextFromText(value));
}

} // namespace qz
