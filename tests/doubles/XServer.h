#pragma once
// An X server of a test's own (Xvfb on a free display number), and the programs the tests drive it with.
#include <cstdlib>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qz::test {

inline std::string FindProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return "";
}

inline pid_t Spawn(const std::string& program, std::vector<std::string> args,
                   posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    args.insert(args.begin(), program);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), actions, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
}

// Runs a program to its end; true when it exited with 0.
inline bool RunProgram(const std::string& program, std::vector<std::string> args) {
    pid_t pid = Spawn(program, std::move(args));
    int status = 0;
    return pid && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class TestXServer {
public:
    // Starts Xvfb (1024 x 768, 24 bits); false when it is not installed or does not start.
    bool Start() {
        std::string xvfb = FindProgram("Xvfb");
        if (xvfb.empty()) return false;
        int fds[2];
        if (pipe(fds) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        pid_ = Spawn(
            xvfb, {"-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its display number once it accepts connections.
        std::string number;
        char ch;
        while (pid_ && read(fds[0], &ch, 1) == 1 && ch != '\n') number += ch;
        close(fds[0]);
        if (number.empty()) return false;
        display_ = ":" + number;
        return true;
    }
    void Stop() {
        if (pid_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
    }
    ~TestXServer() { Stop(); }
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

} // namespace qz::test
