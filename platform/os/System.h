#pragma once
// Names and places of the running system: module and program files, computer and user, temporary
// folder and files, and the shell.
#include "platform/core/Types.h"
#include <vector>

namespace qz {

// Full file name of the shared object (or program) that holds the given address.
AnsiString GetModuleFileName(const void* addressInModule);
// Full file name of the running program.
AnsiString GetHostFileName();
AnsiString ExtractFilePath(const AnsiString& fileName); // up to and including the last "/" or "\"
AnsiString ExtractFileName(const AnsiString& fileName);
AnsiString ExtractFileExt(const AnsiString& fileName); // from the last "." of the name part
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& ext);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& path);
bool FileExists(const AnsiString& fileName);
bool DirectoryExists(const AnsiString& path);
bool ForceDirectories(const AnsiString& path);

AnsiString GetComputerName();
AnsiString GetUserName(); // the login name
// The date separator of the user's locale (LC_TIME): the character between the first two fields of
// its date format; "" when the locale gives none or not a single ASCII character.
AnsiString GetLocaleDateSeparator();

// TMPDIR or /tmp, with a trailing "/".
AnsiString GetTempPath();
// Creates a new, empty file in folder (the temporary folder when empty) with a name that starts with
// prefix and cannot be guessed; returns its full name. Raises EOSError when it cannot.
AnsiString CreateTempFile(const AnsiString& prefix, const AnsiString& folder = "");

// Opens a document or address with the desktop's handler (xdg-open), without a shell; returns false
// when the handler cannot be started.
bool ShellOpen(const AnsiString& target);
// The shell's "properties" of a file: its name, size in bytes, time of the last change (local time)
// and the version it records (FileVersion.h; "" when none). False when the file cannot be examined.
struct TFileProperties {
    AnsiString Name;
    long long Size = 0;
    TDateTime Time = 0;
    AnsiString Version;
};
bool ShellProperties(const AnsiString& fileName, TFileProperties& properties);
// Starts a program with arguments without a shell; returns its process id, or -1.
int StartProcess(const AnsiString& program, const std::vector<AnsiString>& args);

} // namespace qz
