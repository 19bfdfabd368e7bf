#include "support/QzWebService.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/os/Library.h"
#include "platform/vcl/Dialogs.h"
#include "support/LibStrs.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace qz {

namespace {

const char* const kBridgeLibrary = "WsBridge.dll";

AnsiString& LibraryName() {
    static AnsiString name = kBridgeLibrary;
    return name;
}

// The last argument of the program's command line; "" when it has none.
AnsiString LastProgramArgument() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<AnsiString> args;
    AnsiString arg;
    while (std::getline(in, arg, '\0')) args.push_back(arg);
    return args.size() > 1 ? args.back() : AnsiString();
}

AnsiString ReadAnswer(const AnsiString& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EInOutError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::stringstream s;
    s << in.rdbuf();
    TStringList lines;
    lines.SetText(s.str());
    return lines.Text();
}

} // namespace

const AnsiString& WebServiceLibraryName() {
    return LibraryName();
}

void SetWebServiceLibraryName(const AnsiString& name) {
    LibraryName() = name.empty() ? AnsiString(kBridgeLibrary) : name;
}

AnsiString NewAnswerFileName() {
    // The time stamp keeps the names in order; the unique part and the exclusive creation keep others
    // from placing a file or link there first.
    AnsiString pattern =
        GetTempDir() + "~Tessel_" + FormatDateTime("yyyymmddhhnnsszzz", Now()) + "_XXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemps(name.data(), 4);
    if (fd < 0) throw EInOutError("Cannot create file \"" + pattern + "\". " + std::strerror(errno));
    close(fd);
    return name.data();
}

void InvokeWebService(const AnsiString& url, const AnsiString& operation, const AnsiString& request,
                      AnsiString& response) {
    const AnsiString answerFile = NewAnswerFileName();
    response.clear();
    struct Remove {
        const AnsiString& file;
        ~Remove() { std::remove(file.c_str()); }
    } remove{answerFile};

    // Stays loaded for the rest of the process.
    HMODULE library = LoadLibrary(LibraryName());
    if (UpperCase(LastProgramArgument()) == "T")
        ShowMessage(GB("跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。"));
    if (!library) return;
    auto call = reinterpret_cast<TWsBridgeFx>(GetProcAddress(library, "WsBridgeFx"));
    if (!call) return;
    call(url.c_str(), operation.c_str(), request.c_str(), answerFile.c_str());
    response = ReadAnswer(answerFile);
}

} // namespace qz
