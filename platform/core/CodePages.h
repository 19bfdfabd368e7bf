#pragma once
// Code pages through iconv, and the process code page (QZ_SYSTEM_CODEPAGE: 936, 950 or 1252).
#include "platform/core/Types.h"

namespace qz {

enum : int { CP_US = 437, CP_GB = 936, CP_BIG5 = 950, CP_LATIN1 = 1252, CP_UTF8 = 65001, CP_UTF16 = 1200 };

// The process code page: 936 (default), 950 or 1252.
int SystemCodePage();
// The code page as the module names it: "936", "950", or "437" for every other code page.
AnsiString SystemCodePageText();
// Overrides the process code page (tests); 0 reads QZ_SYSTEM_CODEPAGE again.
void SetSystemCodePage(int codePage);

// Converts bytes from one code page to another; a character the target lacks, or an invalid byte
// sequence, becomes "?". Code page 0 stands for the process code page.
AnsiString ConvertCodePage(const AnsiString& text, int fromCodePage, int toCodePage);
// As above, but returns false instead of substituting.
bool TryConvertCodePage(const AnsiString& text, int fromCodePage, int toCodePage, AnsiString& out);

AnsiString AnsiToUtf8(const AnsiString& text, int codePage = 0);
AnsiString Utf8ToAnsi(const AnsiString& utf8, int codePage = 0);
WideString AnsiToWide(const AnsiString& text, int codePage = 0);
AnsiString WideToAnsi(const WideString& text, int codePage = 0);
WideString Utf8ToWide(const AnsiString& utf8);
AnsiString WideToUtf8(const WideString& text);

// True when the byte starts a double-byte character in the code page (0: process code page).
bool IsDBCSLeadByte(unsigned char byte, int codePage = 0);

// The GB (code page 936) bytes of a UTF-8 literal of the sources; converted once, then cached.
const AnsiString& GB(const char* utf8);

} // namespace qz
