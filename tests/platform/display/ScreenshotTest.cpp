#include "platform/display/Screenshot.h"
#include "platform/core/CodePages.h"
#include "platform/display/Display.h"
#include "platform/display/SdlDisplay.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CairoImage.h"
#include "platform/gfx/TextEngine.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace qz {
namespace {

// A request window in miniature: a plan panel with tool buttons, two pages, OK and Cancel.
TForm* NewRequestWindow() {
    auto* f = CreateForm<TForm>(nullptr);
    f->SetName("frmRequest");
    f->SetCaption(GB("报表请求"));
    f->SetBorderStyle(bsDialog);
    f->SetBounds(0, 0, 420, 300);
    f->Font()->SetName(GB("宋体"));
    f->Font()->SetHeight(-12);
    f->Font()->SetCharset(GB2312_CHARSET);
    auto* plan = new TPanel(f);
    plan->SetParent(f);
    plan->SetBounds(8, 8, 396, 30);
    plan->SetCaption(GB(" 条件方案"));
    plan->SetAlignment(taLeftJustify);
    for (int i = 0; i < 3; ++i) {
        auto* b = new TSpeedButton(f);
        b->SetParent(plan);
        b->SetBounds(300 + i * 30, 3, 25, 24);
        b->SetCaption(std::to_string(i + 1));
    }
    auto* pages = new TPageControl(f);
    pages->SetParent(f);
    pages->SetBounds(8, 44, 396, 180);
    const char* captions[] = {"基本选项", "系统选项"};
    for (const char* caption : captions) {
        auto* sheet = new TTabSheet(f);
        sheet->SetPageControl(pages);
        sheet->SetCaption(GB(caption));
    }
    pages->SetActivePageIndex(0);
    auto* label = new TLabel(f);
    label->SetParent(pages->Pages(0));
    label->SetBounds(10, 14, 80, 16);
    label->SetCaption(GB("单据日期(&D)"));
    auto* edit = new TEdit(f);
    edit->SetParent(pages->Pages(0));
    edit->SetBounds(100, 10, 120, 21);
    edit->SetText("2024-01-31");
    auto* check = new TCheckBox(f);
    check->SetParent(pages->Pages(0));
    check->SetBounds(10, 44, 150, 17);
    check->SetCaption(GB("包含已作废单据"));
    check->SetChecked(true);
    auto* radio = new TRadioButton(f);
    radio->SetParent(pages->Pages(0));
    radio->SetBounds(10, 70, 150, 17);
    radio->SetCaption(GB("立即执行"));
    radio->SetChecked(true);
    auto* group = new TGroupBox(f);
    group->SetParent(pages->Pages(0));
    group->SetBounds(200, 40, 170, 90);
    group->SetCaption(GB("输出"));
    auto* off = new TLabel(f);
    off->SetParent(group);
    off->SetBounds(10, 30, 140, 16);
    off->SetCaption(GB("已停用的选项"));
    off->SetEnabled(false);
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->SetName("btnOk");
    ok->SetBounds(240, 236, 75, 25);
    ok->SetCaption(GB("确定"));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(f);
    cancel->SetParent(f);
    cancel->SetBounds(325, 236, 75, 25);
    cancel->SetCaption(GB("取消"));
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    return f;
}

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemCodePage(936);
        dir = std::filesystem::path(::testing::TempDir()) / "qz-screenshots";
        std::filesystem::create_directories(dir);
        form = NewRequestWindow();
    }
    void TearDown() override {
        form->Free();
        SetSystemCodePage(0);
    }
    std::filesystem::path dir;
    TForm* form = nullptr;
};

TEST_F(ScreenshotTest, FormIsWrittenAsAPictureOfItsWindow) {
    AnsiString file = (dir / "request.png").string();
    SaveFormImage(*form, file);
    TBitmap picture;
    LoadBitmapFromPng(picture, file);
    ASSERT_EQ(picture.Width(), form->Width());
    ASSERT_EQ(picture.Height(), form->Height());
    // The caption bar starts in the active-caption colour; the client area shows the face colour.
    EXPECT_EQ(picture.Pixel(4, 10), ColorToRGB(clActiveCaption));
    EXPECT_EQ(picture.Pixel(form->Width() / 2, form->Height() - 8), ColorToRGB(clBtnFace));
    // The caption text is drawn: light pixels on the left of the caption bar.
    int light = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 4; x < 80; ++x)
            light += GetBValue(picture.Pixel(x, y)) > 200 && GetRValue(picture.Pixel(x, y)) > 200;
    EXPECT_GT(light, 30);
    // The text engine in force is left as it was.
    EXPECT_NE(dynamic_cast<TFixedTextEngine*>(&CurrentTextEngine()), nullptr);
}

TEST_F(ScreenshotTest, RequestedPictureIsTakenOnceWhenAModalFormIsShown) {
    THeadlessDisplay* display = HeadlessDisplay();
    AnsiString file = (dir / "modal.png").string();
    std::filesystem::remove(file);
    bool sawPicture = false;
    display->QueueModalDriver([&](TCustomForm& f) {
        sawPicture = std::filesystem::exists(file);
        ClickControl(f, "btnOk");
    });
    RequestScreenshotOnShow(file);
    EXPECT_EQ(PendingScreenshot(), file);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(sawPicture);
    EXPECT_EQ(PendingScreenshot(), "");
    EXPECT_EQ(FormHost(), display);
    // The next modal form goes on without a picture.
    std::filesystem::remove(file);
    display->QueueModalDriver([&](TCustomForm& f) { ClickControl(f, "btnOk"); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(std::filesystem::exists(file));
    // A withdrawn request takes no picture.
    RequestScreenshotOnShow(file);
    RequestScreenshotOnShow("");
    display->QueueModalDriver([&](TCustomForm& f) { ClickControl(f, "btnOk"); });
    form->ShowModal();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(FormHost(), display);
}

TEST(DisplayChoice, EnvironmentNamesTheBackend) {
    struct Case {
        const char* qzDisplay;
        const char* x11;
        const char* wayland;
        const char* backend;
    } cases[] = {
        {nullptr, nullptr, nullptr, "headless"}, {nullptr, ":0", nullptr, "sdl"},
        {nullptr, nullptr, "wayland-0", "sdl"},  {"headless", ":0", nullptr, "headless"},
        {" SDL ", nullptr, nullptr, "sdl"},      {nullptr, "", "", "headless"},
    };
    auto set = [](const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    const char* names[] = {"QZ_DISPLAY", "DISPLAY", "WAYLAND_DISPLAY"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        if (v) saved[i] = v;
    }
    for (const Case& c : cases) {
        set("QZ_DISPLAY", c.qzDisplay);
        set("DISPLAY", c.x11);
        set("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(DisplayNameFromEnvironment(), c.backend);
    }
    for (int i = 0; i < 3; ++i) set(names[i], had[i] ? saved[i].c_str() : nullptr);
}

} // namespace
} // namespace qz
