// qzhost: the reference host. Loads the module, asks it for a controller, gives it the host's
// application object and a notification handler, creates the module's window with the host
// parameters, shows it modally, and prints the notifications and the outcome.
#include "outside/host/CompanyDb.h"
#include "outside/host/ControllerSlots.h"
#include "outside/host/HostServices.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/display/Display.h"
#include "platform/display/ScriptParser.h"
#include "platform/os/Library.h"
#include "platform/os/System.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

using namespace qz;

namespace {

void Usage(FILE* out) {
    std::fprintf(
        out,
        "usage: qzhost [--module PATH] [--params user,company,db,hostwindow,reserved] [--headless]\n"
        "              [--press BUTTON] [--screenshot FILE] [--script FILE]\n"
        "  --module PATH      the module to load (default: ../lib/RovanC.so beside this program)\n"
        "  --params LIST      host parameters, comma separated; fewer than five are passed as given\n"
        "  --headless         no windows: modal windows are answered by pressing a button\n"
        "  --press BUTTON     the button pressed on the module's window when headless (default btnCancel)\n"
        "  --screenshot FILE  write a PNG of the module's window once it is shown\n"
        "  --script FILE      run the session script FILE (- for standard input) on the module's window;\n"
        "                     exit status 3 when a line fails or an expectation does not hold\n");
}

void OnNotify(void*, int code, TDLLBaseController*) {
    std::printf("notify 0x%x\n", code);
    std::fflush(stdout);
}

// The host parameter array: strings, the host window as an integer, the reserved value as given.
Variant HostParams(const AnsiString& list) {
    TStringList items;
    AnsiString rest = list;
    while (true) {
        size_t comma = rest.find(',');
        items.Add(rest.substr(0, comma));
        if (comma == AnsiString::npos) break;
        rest.erase(0, comma + 1);
    }
    Variant params = VarArrayCreate({0, items.Count() - 1}, varVariant);
    for (int i = 0; i < items.Count(); ++i)
        params[i] = i == 3 ? Variant(StrToIntDef(items[i], 0)) : Variant(Utf8ToAnsi(items[i]));
    return params;
}

// The text of a script file, or of standard input for "-"; false with the reason when unreadable.
bool ReadScript(const AnsiString& file, AnsiString& text, AnsiString& why) {
    std::ostringstream buf;
    if (file == "-") {
        buf << std::cin.rdbuf();
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            why = std::strerror(errno);
            return false;
        }
        buf << in.rdbuf();
        if (in.bad()) {
            why = "read error";
            return false;
        }
    }
    text = buf.str();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    AnsiString hostDir = ExtractFilePath(GetHostFileName());
    AnsiString module = hostDir + "../lib/RovanC.so";
    AnsiString params = "ADMIN,DEMO,DEMODB,0,";
    AnsiString press = "btnCancel";
    AnsiString screenshot;
    AnsiString scriptFile;
    bool headless = false;
    for (int i = 1; i < argc; ++i) {
        AnsiString arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--module" && hasValue)
            module = argv[++i];
        else if (arg == "--params" && hasValue)
            params = argv[++i];
        else if (arg == "--press" && hasValue)
            press = argv[++i];
        else if (arg == "--screenshot" && hasValue)
            screenshot = argv[++i];
        else if (arg == "--script" && hasValue)
            scriptFile = argv[++i];
        else if (arg == "--headless")
            headless = true;
        else if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "qzhost: unknown argument '%s'\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    // The display of the module's windows: headless when asked or when there is no display.
    if (headless || (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")))
        setenv("QZ_DISPLAY", "headless", 1);
    // The host's own windows (lookups, dates), before the settings of the module's window: nobody
    // answers them headless, and the module's script and screenshot are not theirs.
    InstallDisplay();
    setenv("QZ_HEADLESS_PRESS", press.c_str(), 1);
    setenv("QZ_LOG_DIALOGS", "1", 1);
    if (!scriptFile.empty()) {
        AnsiString text, why;
        if (!ReadScript(scriptFile, text, why)) {
            std::fprintf(stderr, "qzhost: cannot read the script %s: %s\n", scriptFile.c_str(), why.c_str());
            return 2;
        }
        try {
            ParseScript(text);
        } catch (const EScriptError& e) {
            std::printf("script line %d: %s\n", e.Line, AnsiToUtf8(e.what()).c_str());
            return 3;
        }
        setenv("QZ_SCRIPT_TEXT", text.c_str(), 1);
        unsetenv("QZ_SCRIPT_STATUS");
    }
    if (!screenshot.empty()) setenv("QZ_SCREENSHOT", screenshot.c_str(), 1);

    HMODULE lib = LoadLibrary(module);
    if (!lib) {
        std::fprintf(stderr, "qzhost: cannot load %s: %s\n", module.c_str(), LastLibraryError().c_str());
        return 1;
    }
    using GetControllerFn = TDLLBaseController* (*)();
    auto getController = reinterpret_cast<GetControllerFn>(GetProcAddress(lib, "GetController"));
    if (!getController) {
        std::fprintf(stderr, "qzhost: %s exports no GetController\n", module.c_str());
        return 1;
    }

    int rc = 0;
    try {
        TDLLBaseController* controller = getController();
        THostOptions options;
        options.catalogueFile = hostDir + "../share/qz/catalogue.ini";
        options.companyDb = CompanyDbLocation(hostDir + "../share/qz/");
        controller->HostObject = CreateHostApplication(options);
        controller->OnNotify = TNotifyHostEvent{&OnNotify, nullptr};

        int created = CallSlot<int, const Variant&>(controller, slotCreateForm, HostParams(params));
        if (created != 0) std::printf("CreateForm=%d\n", created);
        Variant modalResult;
        if (!CallSlot<bool>(controller, slotIsFormFreed))
            CallSlot<void, Variant&>(controller, slotShowModal, modalResult);
        if (!CallSlot<bool>(controller, slotIsFormFreed)) CallSlot<void>(controller, slotFreeForm);
        std::printf("ResultCode=%d\n", controller->ResultCode);
        std::printf("ResultValue=%s\n", AnsiToUtf8(VarToStr(controller->ResultValue)).c_str());
        controller->HostObject.Clear();
        delete controller;
        if (!scriptFile.empty()) {
            const char* status = std::getenv("QZ_SCRIPT_STATUS");
            if (!status) std::printf("script: the module's window was not shown; nothing was run\n");
            if (!status || std::strcmp(status, "ok") != 0) rc = 3;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzhost: %s\n", AnsiToUtf8(e.what()).c_str());
        rc = 1;
    }
    return rc;
}
