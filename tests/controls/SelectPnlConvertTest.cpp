// The selection panel converted with a window whose interface is BIG5 (code page 950).
#include "controls/QzControls.h"
#include "controls/SelectPnl.h"
#include "platform/core/CodePages.h"
#include "platform/os/System.h"
#include "platform/vcl/Forms.h"
#include "support/CodeConverter.h"
#include "support/TranslatorU.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(SelectPanelConversion, WordsHintsAndRowsComeOutInBig5) {
    std::string dir = CreateTempFile("qzsp");
    std::filesystem::remove(dir);
    std::filesystem::create_directories(dir + "/prod");
    std::ofstream(dir + "/prod/CorvaneC.ini") << "[CodePage]\nUICodePage=950\nDBCodePage=936\n";
    std::ofstream(dir + "/registry.ini")
        << "[HKEY_LOCAL_MACHINE\\Software\\Qz\\Corvane]\nClientPath=" << dir << "/prod\n";
    setenv("QZ_REGISTRY", (dir + "/registry.ini").c_str(), 1);
    SetSystemCodePage(CP_GB);
    SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll");
    RegisterQzControls();

    auto* form = CreateForm<TForm>(nullptr);
    auto* panel = new TSelectPanel(form);
    panel->SetName("sp01");
    panel->SetParent(form);
    TStringList begin{GB("起始")}, final{GB("截止")};
    panel->SetBeginWords(&begin);
    panel->SetFinalWords(&final);
    panel->SetHintWord(GB("单据"));
    panel->ListView->AddRow({GB("订单")});
    auto* converter = new TCodeConverter(form);
    ASSERT_EQ(converter->UIConvertKind(), 2);
    converter->ConvertForm(form, "", true);

    auto big5 = [](const char* utf8) { return ConvertCodePage(utf8, CP_UTF8, CP_BIG5); };
    EXPECT_EQ(panel->BeginWords()->Get(0), big5("起始"));
    EXPECT_EQ(panel->FinalWords()->Get(0), big5("截止"));
    EXPECT_EQ(panel->HintWord(), big5("單據"));
    EXPECT_EQ(panel->ListView->Items()->Item(0)->Caption(), big5("訂單"));

    form->Free();
    SetTranslatorLibraryName("");
    unsetenv("QZ_REGISTRY");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace qz
