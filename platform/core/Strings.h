#pragma once
// String routines with the semantics of the module's 8-bit strings: positions count bytes from 1,
// blanks and control characters (codes 0 to 32) are trimmed, double-byte characters are left alone.
#include "platform/core/Types.h"

namespace qz {

AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

// Upper- and lower-case of the letters a to z; both bytes of a double-byte character stay as they are.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// Comparison without regard to the case of a to z: <0, 0, >0.
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// 1-based position of sub in s, 0 when absent (or when sub is empty).
int Pos(const AnsiString& sub, const AnsiString& s);
// As Pos, searching from the 1-based offset.
int PosEx(const AnsiString& sub, const AnsiString& s, int offset);
// Up to count bytes from the 1-based index; an index below 1 counts as 1; past the end gives "".
AnsiString Copy(const AnsiString& s, int index, int count);
// Removes up to count bytes from the 1-based index; indexes outside the string change nothing.
void Delete(AnsiString& s, int index, int count);
// Inserts sub before the 1-based index (clamped to the string).
void Insert(const AnsiString& sub, AnsiString& s, int index);

AnsiString StringOfChar(char c, int count);
AnsiString QuotedStr(const AnsiString& s);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         unsigned flags);

// Integers: optional blanks before, an optional sign, decimal digits or "$"/"0x" hexadecimal.
AnsiString IntToStr(long long value);
AnsiString IntToHex(long long value, int digits);
bool TryStrToInt(const AnsiString& s, int& value);
bool TryStrToInt64(const AnsiString& s, long long& value);
int StrToInt(const AnsiString& s); // raises EConvertError "'s' is not a valid integer value"
int StrToIntDef(const AnsiString& s, int defaultValue);
long long StrToInt64(const AnsiString& s);

// Floating point with DecimalSeparator; blanks around the number are allowed.
bool TryStrToFloat(const AnsiString& s, double& value);
double StrToFloat(const AnsiString& s); // raises EConvertError "'s' is not a valid floating point value"
double StrToFloatDef(const AnsiString& s, double defaultValue);
// Shortest text that reads back as the same value (15 significant digits), with DecimalSeparator.
AnsiString FloatToStr(double value);

// Process-wide number formats.
extern char DecimalSeparator;
extern char ThousandSeparator;

} // namespace qz
