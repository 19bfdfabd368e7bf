#pragma once
// Runs the reference host as a user does, from a folder, with what it prints on standard output and its
// exit status.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace qz::test {

struct HostRun {
    std::string output;
    int status = -1; // the exit status; -1 when the host did not exit normally
};

// Runs a command line of the shell, with what it prints on standard output and its exit status.
inline HostRun RunProgram(const std::string& command) {
    HostRun run;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), pipe)) run.output += buf.data();
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

// environment: "NAME=value ..." put before the command; arguments are given to qzhost as they stand.
inline HostRun RunHost(const std::string& dir, const std::string& environment, const std::string& args) {
    return RunProgram("cd '" + dir + "' && " + environment + " timeout 120 " QZ_BIN_DIR "/qzhost " + args);
}

} // namespace qz::test
