#include "support/AlertLog.h"

#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/os/System.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qz {

namespace {

// Closes a descriptor on every path out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

bool WriteAll(int fd, const AnsiString& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Only a regular file is appended to; in a folder anybody may write to, only one of a single link, so
// that a hard link planted there as the log file does not lead elsewhere.
bool SafeToAppend(const struct stat& dir, const struct stat& file) {
    if (!S_ISREG(file.st_mode)) return false;
    return !(dir.st_mode & S_IWOTH) || file.st_nlink == 1;
}

// Opens the log file of the folder for appending, never through a link in its place. A missing file
// is created writable for the group (the other programs of the installation) and never for everybody.
// An existing file, perhaps another user's, is opened without O_CREAT, which a shared folder with the
// sticky bit may refuse for files of others.
int OpenForAppend(int dirFd, const AnsiString& name) {
    const int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = openat(dirFd, name.c_str(), flags);
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = openat(dirFd, name.c_str(), flags | O_CREAT | O_EXCL, 0664);
        if (fd >= 0) {
            struct stat st {};
            if (fstat(fd, &st) == 0) fchmod(fd, (st.st_mode & 0775) | S_IWGRP);
            return fd;
        }
        // EEXIST: another program made it meanwhile; open that one.
        if (errno != EEXIST) return -1;
    }
    return -1;
}

} // namespace

AnsiString AlertLogDir(const AnsiString& baseDir) {
    return IncludeTrailingPathDelimiter(baseDir) + "Log";
}

AnsiString AlertLogFileName(const AnsiString& logDir, const AnsiString& name, const AnsiString& period,
                            TDateTime now) {
    Word y, m, d;
    DecodeDate(now, y, m, d);
    AnsiString datePart;
    if (period == "M")
        datePart = Format("%.4d%.2d", {int(y), int(m)});
    else if (period == "Y")
        datePart = Format("%.4d", {int(y)});
    else
        datePart = Format("%.4d%.2d%.2d", {int(y), int(m), int(d)});
    AnsiString fileName = IncludeTrailingPathDelimiter(logDir) + "Alert_" + name + "_" + datePart;
    if (name.find('.') == AnsiString::npos) fileName += ".log";
    return fileName;
}

AnsiString AlertTimeStamp(TDateTime now) {
    Word y, mo, d, h, mi, s, ms;
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    return Format("%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3d",
                  {int(y), int(mo), int(d), int(h), int(mi), int(s), int(ms)});
}

bool AppendLogLine(const AnsiString& fileName, const AnsiString& text) {
    try {
        AnsiString dir = ExtractFilePath(fileName);
        AnsiString name = ExtractFileName(fileName);
        if (dir.empty() || name.empty()) return false;
        if (!DirectoryExists(dir) && !ForceDirectories(dir)) return false;
        // The folder may be a link (to a Log folder shared elsewhere); the file itself never is.
        Fd dirFd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dirFd.fd < 0) return false;
        Fd file(OpenForAppend(dirFd.fd, name));
        if (file.fd < 0) return false;
        struct stat dirStat {
        }, fileStat{};
        if (fstat(dirFd.fd, &dirStat) != 0 || fstat(file.fd, &fileStat) != 0) return false;
        if (!SafeToAppend(dirStat, fileStat)) return false;
        bool ok = WriteAll(file.fd, text + "\r\n");
        int fd = file.fd;
        file.fd = -1;
        return close(fd) == 0 && ok;
    } catch (...) {
        return false;
    }
}

bool WriteAlertLogIn(const AnsiString& baseDir, const AnsiString& name, const AnsiString& text,
                     const AnsiString& period) {
    try {
        // A name is one file name, never a path.
        if (name.find('/') != AnsiString::npos) return false;
        TDateTime now = Now();
        return AppendLogLine(AlertLogFileName(AlertLogDir(baseDir), name, period, now),
                             "[" + AlertTimeStamp(now) + "] " + text);
    } catch (...) {
        return false;
    }
}

} // namespace qz
