#include "platform/display/SdlDisplay.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/StdCtrls.h"
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qz {
namespace {

std::string FindProgram(const char* name) {
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

pid_t Spawn(const std::string& program, std::vector<std::string> args,
            posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    args.insert(args.begin(), program);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), actions, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
}

// An X server of its own on a free display number, and the SDL backend on it.
class SdlDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string xvfb = FindProgram("Xvfb");
        xdotool = FindProgram("xdotool");
        if (xvfb.empty() || xdotool.empty()) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        serverPid = Spawn(
            xvfb, {"-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its display number once it accepts connections.
        std::string number;
        char ch;
        while (serverPid && read(fds[0], &ch, 1) == 1 && ch != '\n') number += ch;
        close(fds[0]);
        if (number.empty()) return;
        if (const char* old = std::getenv("DISPLAY")) savedDisplay = old, hadDisplay = true;
        setenv("DISPLAY", (":" + number).c_str(), 1);
        display = new TSdlDisplay();
        previousHost = SetFormHost(display);
    }
    static void TearDownTestSuite() {
        // The backend stays open for the life of the process: closed, SDL unloads the X libraries
        // and what they keep for the process shows up as leaks of unknown code.
        if (display) SetFormHost(previousHost);
        if (serverPid) {
            kill(serverPid, SIGTERM);
            waitpid(serverPid, nullptr, 0);
            serverPid = 0;
        }
        if (hadDisplay)
            setenv("DISPLAY", savedDisplay.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    void SetUp() override {
        if (!display) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        SetSystemCodePage(936);
        Application->ResetTerminated();
    }
    void TearDown() override { SetSystemCodePage(0); }

    // Runs xdotool commands one after the other while the modal loop runs; a failing one ends the
    // loop so that the test fails instead of waiting.
    class Script {
    public:
        explicit Script(std::vector<std::vector<std::string>> commands) {
            watcher_ = std::thread([this, commands] {
                for (const auto& args : commands) {
                    pid_t pid = Spawn(xdotool, args);
                    running_ = pid;
                    bool ok = pid != 0 && waitpid(pid, &status_, 0) == pid && WIFEXITED(status_) &&
                              WEXITSTATUS(status_) == 0;
                    running_ = 0;
                    if (!ok) {
                        failed_ = true;
                        TSdlDisplay::RequestQuit();
                        return;
                    }
                }
            });
        }
        // Waits for xdotool; true when it succeeded. When the loop ended some other way, the command
        // still waiting for its window is stopped.
        bool Finish() {
            if (Application->Terminated())
                if (pid_t pid = running_) kill(pid, SIGTERM);
            watcher_.join();
            return !failed_;
        }

    private:
        std::thread watcher_;
        std::atomic<pid_t> running_{0};
        int status_ = 0;
        bool failed_ = false;
    };

    static TForm* NewForm(const char* caption) {
        auto* f = CreateForm<TForm>(nullptr);
        f->SetCaption(caption);
        f->SetBorderStyle(bsDialog);
        f->SetBounds(100, 100, 300, 160);
        return f;
    }
    static TButton* AddButton(TForm* f, const char* caption, int left, TModalResult result) {
        auto* b = new TButton(f);
        b->SetParent(f);
        b->SetBounds(left, 90, 75, 25);
        b->SetCaption(caption);
        b->SetModalResult(result);
        return b;
    }

    static inline TSdlDisplay* display = nullptr;
    static inline TFormHost* previousHost = nullptr;
    static inline pid_t serverPid = 0;
    static inline std::string xdotool;
    static inline std::string savedDisplay;
    static inline bool hadDisplay = false;
};

TEST_F(SdlDisplayTest, EscapeSentThroughTheDisplayEndsTheModalLoop) {
    EXPECT_STREQ(display->VideoDriver(), "x11");
    TForm* f = NewForm("qz-escape");
    AddButton(f, "OK", 120, mrOk)->SetDefault(true);
    AddButton(f, "Cancel", 205, mrAbort)->SetCancel(true);
    Script script(
        {{"search", "--sync", "--onlyvisible", "--name", "^qz-escape$", "windowfocus", "--sync", "%1"},
         {"key", "Escape"}});
    TModalResult result = f->ShowModal();
    ASSERT_TRUE(script.Finish());
    EXPECT_EQ(result, mrAbort); // the Cancel button answered Esc
    EXPECT_EQ(display->WindowId(f), 0u);
    f->Free();
}

TEST_F(SdlDisplayTest, TypedTextClicksAndEnterReachTheControls) {
    TForm* f = NewForm("qz-typing");
    auto* edit = new TEdit(f);
    edit->SetParent(f);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetTabStop(true);
    auto* check = new TCheckBox(f);
    check->SetParent(f);
    check->SetBounds(10, 50, 150, 17);
    check->SetCaption("Include");
    AddButton(f, "OK", 120, mrOk)->SetDefault(true);
    // Text off the keymap arrives as text input; the click toggles the box; Enter answers OK.
    TPoint box = f->ClientToScreen({20, 58});
    TPoint origin = f->ClientOrigin();
    Script script(
        {{"search", "--sync", "--onlyvisible", "--name", "^qz-typing$", "windowfocus", "--sync", "%1"},
         {"type", "--delay", "150", "ab中文"},
         {"mousemove", "--sync", std::to_string(box.X), std::to_string(box.Y), "click", "1"},
         {"key", "Return"}});
    TModalResult result = f->ShowModal();
    ASSERT_TRUE(script.Finish()) << "window at " << origin.X << "," << origin.Y;
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(edit->Text(), "ab" + GB("中文"));
    EXPECT_TRUE(check->Checked());
    f->Free();
}

} // namespace
} // namespace qz
