#include "support/TesselGeneratorU.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/os/System.h"
#include "support/AlertLog.h"
#include "support/LibStrs.h"

#include <cctype>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace qz {

namespace {

const char* const kEmptyMarker = "Qz_Say_NoPassWord_ThePassWordIsEmpty";
const char* const kErrorMarker = "Qz_Say_Password_Error";

// Position-dependent, reversible: each byte is mixed with a key byte of its position and shifted by a
// step that grows with the position.
const unsigned char kKey[16] = {0x5A, 0x13, 0xC7, 0x8E, 0x21, 0xB4, 0x6F, 0x3D,
                                0x92, 0xE8, 0x47, 0x0B, 0xD1, 0x7C, 0xA5, 0x36};

unsigned char ScrambleByte(unsigned char c, size_t pos) {
    return static_cast<unsigned char>((c ^ kKey[pos % 16]) + 7 * pos);
}

unsigned char UnscrambleByte(unsigned char v, size_t pos) {
    return static_cast<unsigned char>(static_cast<unsigned char>(v - 7 * pos) ^ kKey[pos % 16]);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The class name without its namespace ("EConvertError").
AnsiString ClassNameOf(const std::exception& e) {
    const char* mangled = typeid(e).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    AnsiString name = (status == 0 && demangled) ? demangled : mangled;
    std::free(demangled);
    size_t colon = name.rfind("::");
    return colon == AnsiString::npos ? name : name.substr(colon + 2);
}

// The short date and long time formats with "/" and ":" as separators.
AnsiString FixedSeparators(const AnsiString& pattern) {
    AnsiString out;
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
            out += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            out += c;
        } else if (c == '/' || c == ':') {
            out += '"';
            out += c;
            out += '"';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

AnsiString ScramblePassword(const AnsiString& password) {
    const AnsiString plain = password.empty() ? AnsiString(kEmptyMarker) : password;
    AnsiString stored;
    for (size_t i = 0; i < plain.size(); ++i)
        stored += LowerCase(IntToHex(ScrambleByte(static_cast<unsigned char>(plain[i]), i), 2));
    return stored;
}

AnsiString UnscramblePassword(const AnsiString& stored) {
    AnsiString password;
    for (size_t i = 0; i + 1 < stored.size(); i += 2) {
        int hi = HexValue(stored[i]), lo = HexValue(stored[i + 1]);
        if (hi < 0 || lo < 0) {
            EConvertError error("'" + stored.substr(i, 2) + "' is not a valid hexadecimal value");
            LogException(&error, ScramblePassword("DecodeSQLSa"), GB("解析 Sa 时发生错误!"));
            return kErrorMarker;
        }
        password += static_cast<char>(UnscrambleByte(static_cast<unsigned char>(hi * 16 + lo), i / 2));
    }
    return password == kEmptyMarker ? AnsiString() : password;
}

AnsiString GetLogBaseDir() {
    try {
        AnsiString base = GetInstallPath();
        if (base.empty()) base = GetTempPath();
        if (!base.empty()) return base;
    } catch (...) {}
    return "/tmp/";
}

bool WriteGeneratorLog(const AnsiString& text) {
    try {
        TDateTime now = Now();
        Word y, m, d;
        DecodeDate(now, y, m, d);
        AnsiString fileName = IncludeTrailingPathDelimiter(AlertLogDir(GetLogBaseDir())) +
                              "Alert_TesselGenerator_" + Format("%.4d%.2d%.2d", {int(y), int(m), int(d)}) +
                              ".log";
        AnsiString stamp = FormatDateTime(FixedSeparators(ShortDateFormat + " " + LongTimeFormat), now);
        return AppendLogLine(fileName, "[" + stamp + "] " + text);
    } catch (...) {
        return false;
    }
}

void LogException(const std::exception* e, const AnsiString& where, const AnsiString& programmerMessage) {
    try {
        const AnsiString dashes(34, '-');
        WriteGeneratorLog(dashes + (Trim(where).empty() ? AnsiString() : " on " + where + " ") + dashes);
        if (e) {
            WriteGeneratorLog(GB("讯息信息:"));
            const auto* qe = dynamic_cast<const Exception*>(e);
            AnsiString message = qe ? qe->Message() : AnsiString(e->what());
            // The platform's errors carry no numeric code.
            if (dynamic_cast<const EOSError*>(e)) {
                WriteGeneratorLog(Format("EWin32Error Error %.2d: Code: %d, Message: %s", {1, 0, message}));
            } else if (dynamic_cast<const EInOutError*>(e)) {
                WriteGeneratorLog(Format("EInOutError Error %.2d: Code: %d, Message: %s", {1, 0, message}));
            } else {
                WriteGeneratorLog(Format("Exception is %s\r\nMessage %.2d: ", {ClassNameOf(*e), 1}) +
                                  message);
            }
            WriteGeneratorLog(Format("ErrorMessage Count: %d", {1}));
        }
        if (!Trim(programmerMessage).empty()) WriteGeneratorLog("Programer Message: " + programmerMessage);
    } catch (...) {}
}

} // namespace qz
