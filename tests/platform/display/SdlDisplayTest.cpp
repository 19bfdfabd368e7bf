#include "platform/display/SdlDisplay.h"
#include "doubles/XServer.h"
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

using test::FindProgram;
using test::Spawn;

// An X server of its own on a free display number, and the SDL backend on it.
class SdlDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xdotool = FindProgram("xdotool");
        if (xdotool.empty() || !server.Start()) return;
        if (const char* old = std::getenv("DISPLAY")) savedDisplay = old, hadDisplay = true;
        setenv("DISPLAY", server.Display().c_str(), 1);
        display = new TSdlDisplay();
        previousHost = SetFormHost(display);
    }
    static void TearDownTestSuite() {
        // The backend stays open for the life of the process: closed, SDL unloads the X libraries
        // and what they keep for the process shows up as leaks of unknown code.
        if (display) SetFormHost(previousHost);
        server.Stop();
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
    static inline test::TestXServer server;
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
