#pragma once
// Layout shared by the alert log writers: the log folder under a base folder, the file name by log
// name and period, the time stamp, and the safe append of one line.
#include "platform/core/Types.h"

namespace qz {

// base + "Log" (a separator is put between them when base lacks one).
AnsiString AlertLogDir(const AnsiString& baseDir);
// dir/Alert_<name>_<date part>[.log]; the date part is YYYYMMDD, YYYYMM ("M") or YYYY ("Y"); a name
// holding a "." gets no ".log".
AnsiString AlertLogFileName(const AnsiString& logDir, const AnsiString& name, const AnsiString& period,
                            TDateTime now);
// "YYYY/MM/DD hh:nn:ss:zzz", with "/" and ":" whatever the date and time separators.
AnsiString AlertTimeStamp(TDateTime now);
// Appends text + CR LF to the file, creating its folder and the file (writable for the group, never
// for everybody) when missing; a link in place of the file is never followed. Never raises; false
// when the line was not written.
bool AppendLogLine(const AnsiString& fileName, const AnsiString& text);
// One line "[time stamp] text" in the alert log of that name and period under baseDir.
bool WriteAlertLogIn(const AnsiString& baseDir, const AnsiString& name, const AnsiString& text,
                     const AnsiString& period);

} // namespace qz
