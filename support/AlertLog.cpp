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

// In a folder others may write to (such as the temporary folder) only our own, singly linked file in
// a folder of ours or of the system is used, so nobody can plant a file or link for us to write into.
bool SafeToAppend(const struct stat& dir, const struct stat& file) {
    if (!S_ISREG(file.st_mode)) return false;
    if (!(dir.st_mode & S_IWOTH)) return true;
    uid_t me = geteuid();
    if (dir.st_uid != me && dir.st_uid != 0) return false;
    if (dir.st_uid != me && !(dir.st_mode & S_ISVTX)) return false;
    return file.st_uid == me && file.st_nlink == 1;
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
        // Without its trailing separator, so that a link in place of the folder is not followed.
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        Fd dirFd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (dirFd.fd < 0) return false;
        Fd file(openat(dirFd.fd, name.c_str(),
                       O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
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
