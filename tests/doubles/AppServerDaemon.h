#pragma once
// qzappserver started for a test on a free loopback port, with the registry (and database) it is
// given; stopped with SIGTERM.
#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace qz::test {

class AppServerDaemon {
public:
    // program: the daemon's path; database: QZ_TINSLEY_DB for it ("" leaves it unset).
    AppServerDaemon(const std::string& program, const std::string& registry,
                    const std::string& database = "") {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            setenv("QZ_REGISTRY", registry.c_str(), 1);
            if (!database.empty()) setenv("QZ_TINSLEY_DB", database.c_str(), 1);
            execl(program.c_str(), "qzappserver", "--port", "0", "--bind", "127.0.0.1", nullptr);
            _exit(127);
        }
        close(out[1]);
        stdout_ = fdopen(out[0], "r");
        char line[200] = {0};
        if (stdout_ && std::fgets(line, sizeof line, stdout_))
            std::sscanf(line, "qzappserver listening on port %d", &port_);
    }
    ~AppServerDaemon() {
        if (pid_ > 0 && !stopped_) Stop();
        if (stdout_) std::fclose(stdout_);
    }
    AppServerDaemon(const AppServerDaemon&) = delete;
    AppServerDaemon& operator=(const AppServerDaemon&) = delete;

    int Port() const { return port_; }
    // SIGTERM; returns the exit status and the last line printed.
    int Stop(std::string* lastLine = nullptr) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        stopped_ = true;
        char line[200] = {0};
        if (stdout_ && std::fgets(line, sizeof line, stdout_) && lastLine) *lastLine = line;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    FILE* stdout_ = nullptr;
    int port_ = 0;
    bool stopped_ = false;
};

} // namespace qz::test
