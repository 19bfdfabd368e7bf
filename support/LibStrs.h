#pragma once
// The toolbox: separated field texts, replacement, numbers, dialog-button captions, Variant helpers
// and code-page conversions of Variants, dates in the user's date style, and the general alert log.
#include "platform/core/Types.h"

namespace qz {

class Variant;

// Field and string routines.
AnsiString PadRight(const AnsiString& s, int width, char padChar = ' ');
// The n-th field (from 1) of a text of fields joined by separator; "" when there is none.
AnsiString GetField(const AnsiString& s, const AnsiString& separator, int n);
// Separators + 1; 0 for an empty text.
int CountFields(const AnsiString& s, const AnsiString& separator);
// The text before the first separator; s keeps what follows it (or becomes empty).
AnsiString CutField(AnsiString& s, const AnsiString& separator);
// Replaces oldText by newText until none is left (nothing when they are equal ignoring case), then
// trims when asked.
AnsiString ReplaceAll(const AnsiString& s, const AnsiString& oldText, const AnsiString& newText, bool trim);
bool IsLocalHost(const AnsiString& s);
// The temporary folder, with its trailing separator.
AnsiString GetTempDir();
// The text read as a number with "." as the decimal point; def when it is not entirely a number.
double StrToFloatDefault(const AnsiString& s, double def);
// The caption of a message-dialog button by its name ("Yes", "OK"...); other names come back as given.
AnsiString GetButtonCaption(const AnsiString& name);

// Variant routines.
Variant IIF(bool cond, const Variant& a, const Variant& b);
bool VarIsBlank(const Variant& v);
// prefix #3 count #3 item1 #3 ... itemN #3, from an array holding the count at 0 and the items after it.
WideString JoinArray(const AnsiString& prefix, const Variant& a);
WideString CodePageToWide(const AnsiString& s, int codePage);
AnsiString WideToCodePage(const WideString& w, int codePage);
// Copies of v whose strings are converted to 8-bit text in codePage, or re-read from it; a failure is
// logged to the "libstrs" alert log and gives the copy unconverted.
Variant VarToCodePage(const Variant& v, int codePage);
Variant VarFromCodePage(const Variant& v, int codePage);

// Date routines. Dates are stored as "YYYYMMDD", from 17530101 to 99991231; a date outside that
// range (or not a number) gives an empty text.
AnsiString DateToText(int style, const AnsiString& separator, TDateTime date);
AnsiString MonthToText(int style, const AnsiString& separator, TDateTime date);
// 0 when the text gives no date in the style.
TDateTime TextToDate(const AnsiString& text, int style, const AnsiString& separator);
TDateTime YMDToDate(const AnsiString& s);
// A real date within 17530101..99991231, or an empty text.
bool IsValidYMD(const AnsiString& s);
// The date (a date or a "YYYYMMDD" text) moved by n units "Y", "M" or "D", as "yyyymmdd"; "" otherwise
// and for a result outside the stored range.
AnsiString ShiftDate(const Variant& v, const AnsiString& unit, int n);
int DaysOfMonth(int year, int month);

// The general alert log: a line in <installation>/Log/Alert_<name>_<date part>.log. Never raises.
bool WriteAlertLog(const AnsiString& name, const AnsiString& text, const AnsiString& period);
// The installation folder from the registry ("ClientPath", else "ServerPath"); "" when unknown.
AnsiString GetInstallPath();

} // namespace qz
