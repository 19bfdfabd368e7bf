#include "platform/os/System.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/FileVersion.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace qz {

namespace {

bool IsDelimiter(char c) {
    return c == '/' || c == '\\';
}

size_t LastDelimiter(const AnsiString& s) {
    for (size_t i = s.size(); i > 0; --i)
        if (IsDelimiter(s[i - 1])) return i - 1;
    return AnsiString::npos;
}

AnsiString RealPath(const AnsiString& path) {
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? AnsiString(buf) : path;
}

int Spawn(const AnsiString& program, const std::vector<AnsiString>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

} // namespace

AnsiString GetModuleFileName(const void* addressInModule) {
    Dl_info info{};
    if (addressInModule && dladdr(addressInModule, &info) && info.dli_fname && *info.dli_fname) {
        AnsiString name = info.dli_fname;
        // The main program reports the name it was started by; ask the kernel for the full one.
        if (name.find('/') == AnsiString::npos) return GetHostFileName();
        return RealPath(name);
    }
    return GetHostFileName();
}

AnsiString GetHostFileName() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? AnsiString(buf, static_cast<size_t>(n)) : AnsiString();
}

AnsiString ExtractFilePath(const AnsiString& fileName) {
    size_t p = LastDelimiter(fileName);
    return p == AnsiString::npos ? "" : fileName.substr(0, p + 1);
}

AnsiString ExtractFileName(const AnsiString& fileName) {
    size_t p = LastDelimiter(fileName);
    return p == AnsiString::npos ? fileName : fileName.substr(p + 1);
}

AnsiString ExtractFileExt(const AnsiString& fileName) {
    AnsiString name = ExtractFileName(fileName);
    size_t dot = name.rfind('.');
    return dot == AnsiString::npos ? "" : name.substr(dot);
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& ext) {
    AnsiString oldExt = ExtractFileExt(fileName);
    return fileName.substr(0, fileName.size() - oldExt.size()) + ext;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& path) {
    if (!path.empty() && IsDelimiter(path.back())) return path;
    return path + "/";
}

bool FileExists(const AnsiString& fileName) {
    struct stat st {};
    return !fileName.empty() && stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const AnsiString& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const AnsiString& path) {
    AnsiString p = StringReplace(path, "\\", "/", rfReplaceAll);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p.empty()) return false;
    if (DirectoryExists(p)) return true;
    AnsiString parent = ExtractFilePath(p);
    if (!parent.empty() && parent != p && !ForceDirectories(parent)) return false;
    return mkdir(p.c_str(), 0777) == 0 || errno == EEXIST;
}

AnsiString GetComputerName() {
    char buf[256] = {0};
    if (gethostname(buf, sizeof buf - 1) != 0) return "";
    return buf;
}

AnsiString GetUserName() {
    struct passwd pw {};
    struct passwd* result = nullptr;
    char buf[4096];
    if (getpwuid_r(geteuid(), &pw, buf, sizeof buf, &result) == 0 && result && result->pw_name)
        return result->pw_name;
    const char* env = std::getenv("USER");
    return env ? env : "";
}

AnsiString GetLocaleDateSeparator() {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (!locale) return "";
    AnsiString format = nl_langinfo_l(D_FMT, locale);
    freelocale(locale);
    // Past the first field ("%" with an optional E or O modifier), up to the next one.
    size_t field = format.find('%');
    if (field == AnsiString::npos) return "";
    size_t from = field + 1;
    if (from < format.size() && (format[from] == 'E' || format[from] == 'O')) ++from;
    ++from;
    size_t to = format.find('%', from);
    if (to == AnsiString::npos || to != from + 1) return "";
    unsigned char c = static_cast<unsigned char>(format[from]);
    return c < 0x80 && std::ispunct(c) ? AnsiString(1, format[from]) : AnsiString();
}

AnsiString GetTempPath() {
    const char* env = std::getenv("TMPDIR");
    AnsiString dir = (env && *env) ? AnsiString(env) : AnsiString("/tmp");
    return IncludeTrailingPathDelimiter(dir);
}

AnsiString CreateTempFile(const AnsiString& prefix, const AnsiString& folder) {
    AnsiString dir = folder.empty() ? GetTempPath() : IncludeTrailingPathDelimiter(folder);
    AnsiString pattern = dir + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) throw EOSError("Cannot create a temporary file in " + dir + ": " + std::strerror(errno));
    close(fd);
    return name.data();
}

bool ShellOpen(const AnsiString& target) {
    int pid = Spawn("xdg-open", {target});
    if (pid <= 0) return false;
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach(); // reap the handler when it ends
    return true;
}

bool ShellProperties(const AnsiString& fileName, TFileProperties& properties) {
    struct stat st {};
    if (fileName.empty() || stat(fileName.c_str(), &st) != 0) return false;
    struct tm local {};
    time_t changed = st.st_mtime;
    localtime_r(&changed, &local);
    properties.Name = ExtractFileName(fileName);
    properties.Size = st.st_size;
    properties.Time = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                      EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0);
    properties.Version = S_ISREG(st.st_mode) ? ReadFileVersion(fileName) : AnsiString();
    return true;
}

int StartProcess(const AnsiString& program, const std::vector<AnsiString>& args) {
    return Spawn(program, args);
}

} // namespace qz
