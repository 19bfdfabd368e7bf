// qzinfo: prints what the platform layer sees on this machine: code pages, a GB and BIG5 round trip,
// the clock, the registry stand-in and the installation settings it points to.
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/os/IniFiles.h"
#include "platform/os/Library.h"
#include "platform/os/Registry.h"
#include "platform/os/System.h"

#include <cstdio>

using namespace qz;

int main() {
    std::printf("process code page : %s (%d)\n", SystemCodePageText().c_str(), SystemCodePage());
    const AnsiString& gb = GB("订单变更 选择单据日期");
    std::printf("GB text           : %s (%zu bytes)\n", AnsiToUtf8(gb, CP_GB).c_str(), gb.size());
    if (HMODULE lib = LoadLibrary("Qzlanguage.dll")) {
        using ConvertFn = const char* (*)(const char*);
        if (auto toBig5 = reinterpret_cast<ConvertFn>(GetProcAddress(lib, "GBtoBIG5"))) {
            AnsiString big5 = toBig5(gb.c_str());
            std::printf("Qzlanguage BIG5   : %s (%zu bytes)\n", AnsiToUtf8(big5, CP_BIG5).c_str(),
                        big5.size());
        }
        FreeLibrary(lib);
    } else {
        std::printf("Qzlanguage        : %s\n", LastLibraryError().c_str());
    }
    std::printf("now               : %s\n", FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", Now()).c_str());
    std::printf("format            : %s\n", Format("%s;%.6d;%s", {"E", 15, "arg"}).c_str());
    std::printf("host program      : %s\n", GetHostFileName().c_str());
    std::printf("computer / user   : %s / %s\n", GetComputerName().c_str(), GetUserName().c_str());
    std::printf("temporary folder  : %s\n", GetTempPath().c_str());

    AnsiString regFile = RegistryFileName();
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly("Software\\Qz\\Corvane")) {
        std::printf("registry          : %s has no key Software\\Qz\\Corvane\n", regFile.c_str());
        return 0;
    }
    AnsiString clientPath = reg.ReadString("ClientPath");
    std::printf("registry          : %s, ClientPath=%s\n", regFile.c_str(), clientPath.c_str());
    TIniFile ini(IncludeTrailingPathDelimiter(clientPath) + "CorvaneC.ini");
    std::printf("client settings   : %s%s\n", ini.FileName().c_str(),
                ini.Exists() ? "" : " (missing: defaults)");
    std::printf("application server: %s:%d\n",
                ini.ReadString("Server Information", "ComputerName", "127.0.0.1").c_str(),
                ini.ReadInteger("Server Information", "ServerPort", 211));
    return 0;
}
