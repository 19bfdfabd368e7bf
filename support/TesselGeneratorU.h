#pragma once
// Stored passwords of the server settings, and the generator log that records exception reports.
#include "platform/core/Types.h"

#include <exception>

namespace qz {

// Two lower-case hexadecimal digits per character; an empty password is stored as a marker text.
AnsiString ScramblePassword(const AnsiString& password);
// The password a stored value stands for; "Qz_Say_Password_Error" (and an exception report in the
// generator log) when a pair of digits is not hexadecimal.
AnsiString UnscramblePassword(const AnsiString& stored);

// The folder under which the generator log lives: the installation, else the temporary folder.
AnsiString GetLogBaseDir();
// One line "[date time] text" in <base>/Log/Alert_TesselGenerator_YYYYMMDD.log. Never raises.
bool WriteGeneratorLog(const AnsiString& text);
// Writes an exception report (separator, the exception's lines, the programmer's message).
void LogException(const std::exception* e, const AnsiString& where, const AnsiString& programmerMessage);

} // namespace qz
