// The reference host on a real X display: the module's window appears, a capture of the X screen shows
// it, Esc typed on the display closes it, and the host prints the notifications and the outcome.
#include "doubles/TestInstallation.h"
#include "doubles/XServer.h"
#include "platform/os/System.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace qz::test {
namespace {

// A window dump of the X server (xwd's format, 24 or 32 bits a pixel): the pixel at x, y as 0xRRGGBB.
class XwdImage {
public:
    bool Load(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        data_.assign(std::istreambuf_iterator<char>(in), {});
        if (data_.size() < 100) return false;
        headerSize_ = Field(0);
        width_ = Field(4);
        height_ = Field(5);
        bitsPerPixel_ = Field(11);
        bytesPerLine_ = Field(12);
        colors_ = Field(19);
        byteOrder_ = Field(7);
        pixels_ = headerSize_ + colors_ * 12;
        return bitsPerPixel_ >= 24 && data_.size() >= pixels_ + static_cast<size_t>(bytesPerLine_) * height_;
    }
    std::uint32_t Pixel(int x, int y) const {
        size_t at =
            pixels_ + static_cast<size_t>(y) * bytesPerLine_ + static_cast<size_t>(x) * (bitsPerPixel_ / 8);
        auto b = [&](size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(data_[at + i]));
        };
        // Least significant byte first: blue, green, red.
        return byteOrder_ == 0 ? (b(2) << 16 | b(1) << 8 | b(0)) : (b(1) << 16 | b(2) << 8 | b(3));
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    std::uint32_t Field(int index) const {
        auto b = [&](int i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(data_[index * 4 + i]));
        };
        return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
    }
    std::string data_;
    std::uint32_t headerSize_ = 0, width_ = 0, height_ = 0, bitsPerPixel_ = 0, bytesPerLine_ = 0, colors_ = 0,
                  byteOrder_ = 0;
    size_t pixels_ = 0;
};

TEST(QzHostOnX, TheWindowIsShownCapturedAndClosedWithEsc) {
    std::string xdotool = FindProgram("xdotool"), xwd = FindProgram("xwd");
    TestXServer server;
    if (xdotool.empty() || xwd.empty() || !server.Start())
        GTEST_SKIP() << "Xvfb, xdotool or xwd is not installed";

    TestInstallation installation;
    const std::string& dir = installation.Dir();

    const char* savedDisplay = std::getenv("DISPLAY");
    std::string previous = savedDisplay ? savedDisplay : "";
    setenv("DISPLAY", server.Display().c_str(), 1);

    // The driver: waits for the window, captures the screen, then types Esc on the display.
    bool captured = false;
    std::thread driver([&] {
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (RunProgram(xdotool, {"search", "--onlyvisible", "--name", "."}))
                break; // the only named window
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        captured = RunProgram(xwd, {"-root", "-display", server.Display(), "-out", dir + "/screen.xwd"});
        RunProgram(xdotool, {"key", "Escape"});
    });

    std::string command = "DISPLAY=" + server.Display() +
                          " QZ_DISPLAY=sdl QZ_REGISTRY=" + installation.Registry() +
                          " timeout 60 " QZ_BIN_DIR "/qzhost 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buf{};
        while (fgets(buf.data(), buf.size(), pipe)) output += buf.data();
        pclose(pipe);
    }
    driver.join();
    if (savedDisplay)
        setenv("DISPLAY", previous.c_str(), 1);
    else
        unsetenv("DISPLAY");

    EXPECT_EQ(output, "notify 0x100\nnotify 0x110\nnotify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n");
    ASSERT_TRUE(captured);
    XwdImage screen;
    ASSERT_TRUE(screen.Load(dir + "/screen.xwd"));
    ASSERT_EQ(screen.Width(), 1024);
    // The window sits in the middle of the screen, the desktop black around it: its drawn box is centred,
    // with the button face inside its bottom-left corner.
    EXPECT_EQ(screen.Pixel(10, 10), 0x000000u);
    int left = screen.Width(), top = screen.Height(), right = -1, bottom = -1, drawn = 0;
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            if (screen.Pixel(x, y) != 0) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
                ++drawn;
            }
    ASSERT_GT(right, left);
    EXPECT_NEAR((left + right) / 2, screen.Width() / 2, 4);
    EXPECT_NEAR((top + bottom) / 2, screen.Height() / 2, 16);
    EXPECT_EQ(screen.Pixel(left + 6, bottom - 6), 0xD4D0C8u);
    drawn /= 16;
    EXPECT_GT(drawn, 10000);
}

} // namespace
} // namespace qz::test
