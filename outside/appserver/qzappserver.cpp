// qzappserver: serves application-server objects to clients over TCP. Each client gets its own server
// objects, created by ProgID from the class registry. Stops cleanly on SIGTERM or SIGINT.
#include "platform/core/Strings.h"
#include "platform/data/AppServer.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>

using namespace qz;

namespace {

void Usage(FILE* out) {
    std::fprintf(out, "usage: qzappserver [--port N] [--bind ADDRESS]\n"
                      "  --port N        port to listen on (default 211; 0 picks a free port)\n"
                      "  --bind ADDRESS  IPv4 address to listen on (default: every interface)\n"
                      "Server objects come from the class registry of QZ_REGISTRY.\n");
}

} // namespace

int main(int argc, char** argv) {
    int port = 211;
    AnsiString bind;
    for (int i = 1; i < argc; ++i) {
        AnsiString arg = argv[i];
        if ((arg == "--port" || arg == "--bind") && i + 1 < argc) {
            AnsiString value = argv[++i];
            if (arg == "--bind") {
                bind = value;
            } else if (!TryStrToInt(value, port) || port < 0 || port > 65535) {
                std::fprintf(stderr, "qzappserver: invalid port '%s'\n", value.c_str());
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "qzappserver: unknown argument '%s'\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }

    // Signals are taken by this thread only, with sigwait, once the server runs.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    TAppServerListener listener;
    try {
        listener.Start(bind, port);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzappserver: %s\n", e.what());
        return 1;
    }
    std::printf("qzappserver listening on port %d\n", listener.Port());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    listener.Stop();
    std::printf("qzappserver stopped (%s)\n", strsignal(signal));
    return 0;
}
