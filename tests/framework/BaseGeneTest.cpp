#include "RequestWindowFixture.h"
#include "controls/ExtPage.h"
#include "framework/BaseGeneU.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/data/SocketConnection.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz::test {
namespace {

TEST_F(RequestWindowTest, InitialisesFromTheHostOnce) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    EXPECT_EQ(w->FUserCode, "U01");
    EXPECT_EQ(w->FCompanyCode, "C01");
    EXPECT_EQ(w->FDbName, "DB01");
    EXPECT_EQ(w->FProgramCode, "ROVANC");
    EXPECT_EQ(w->FServerClass, "ROVANCS.Class1");
    EXPECT_EQ(w->FTitle, "Transfer report");
    EXPECT_TRUE(w->WantLog());
    EXPECT_EQ(w->FCompanyName, "Demo Co");
    EXPECT_EQ(w->FEnvCount, 14);
    EXPECT_TRUE(w->FLocalServer);
    ASSERT_NE(server, nullptr); // created in-process: the address is 127.0.0.1
    EXPECT_EQ(w->MainMidas->ServerName, "TinsleyS.dmTinsley");
    EXPECT_EQ(w->FMessageItems, "");
    // The program table was asked with the program code.
    auto checks = validator->CallsTo("CheckValue");
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].args[0].AsString(), "ADMMB");
    EXPECT_EQ(checks[0].args[2].AsString(), "DB01");
    EXPECT_EQ(checks[0].args[3][0].AsString(), "ROVANC");

    size_t calls = host->calls.size();
    EXPECT_FALSE(w->InitFromHost(HostParams(5)));
    EXPECT_EQ(host->calls.size(), calls);
}

TEST_F(RequestWindowTest, FewerThanFiveParametersReportAndClose) {
    TfrmRovan* w = NewWindow();
    bool destroyed = false;
    w->OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
    w->InitFromHost(HostParams(3));
    EXPECT_EQ(w->FHostWindow, 0u);
    EXPECT_EQ(w->FMessageItems.rfind("E;000038; ", 0), 0u);
    EXPECT_FALSE(destroyed); // the close request waits for the queue
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    Forget(w);
}

TEST_F(RequestWindowTest, ModuleFileThatDoesNotNameTheWindowIsRefused) {
    TfrmRovan* w = NewWindow("/opt/qz/OtherX.so");
    EXPECT_TRUE(w->InitFromHost(HostParams(5)));
    EXPECT_EQ(w->FProgramCode, "OTHERX");
    EXPECT_NE(w->FMessageItems.find("E;000036; "), AnsiString::npos);
    EXPECT_EQ(server, nullptr); // no connection attempted
    bool destroyed = false;
    w->OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    Forget(w);
}

TEST(ProgramIdentity, CodesFromModuleFileNames) {
    struct Case {
        const char* path;
        const char* code;
    };
    const Case cases[] = {
        {"/opt/qz/RovanC.so", "ROVANC"},
        {"/opt/qz/ABCDEFG.dll", "ABCDEF"},
        {"/opt/qz/ABCDEFGH.so", "ABCDEFG"},
        // Shorter names still give six characters, extension included, or the whole name.
        {"/opt/qz/Ab.so", "AB.SO"},
        {"/opt/qz/abcd.exe", "ABCD.E"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramCodeOf(c.path, IsLibraryPath(c.path)), c.code) << c.path;
}

TEST(HelpNumbers, FromTheProgramCode) {
    struct Case {
        const char* code;
        const char* number;
    };
    const Case cases[] = {
        {"SALB12", "13120000"}, {"SALR07", "12070000"}, {"SALAB3", "63B30000"}, {"SALMR9", "82R90000"},
        {"ROVANC", ""},         {"SALAX1", ""},         {"SALX01", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(HelpNumber(c.code), c.number) << c.code;
}

TEST_F(RequestWindowTest, F1AsksTheHostForHelpOnlyWithAHelpNumber) {
    TfrmRovan* w = NewWindow("/opt/qz/SALB12X.so");
    w->FProgramCode = "SALB12";
    Word key = VK_F1;
    w->FormKeyDown(w, key, {});
    auto help = host->CallsTo("CallHelp");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].args[0][0].AsString(), "SAL");
    EXPECT_EQ(help[0].args[0][1].AsString(), "13120000");
    w->FProgramCode = "ROVANC";
    w->FormKeyDown(w, key, {});
    EXPECT_EQ(host->CallsTo("CallHelp").size(), 1u);
}

TEST_F(RequestWindowTest, EnterInAGridMovesToTheNextCellAndAddsARowAtTheEnd) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    auto* grid = new TStringGrid(w);
    grid->SetParent(w->tsOption1);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    w->Show();
    w->pgOption->SetActivePage(w->tsOption1);
    grid->SetFocus();
    grid->FocusCell(1, 1);
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
    grid->FocusCell(2, 2);
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(w->ActiveControl(), grid);
}

TEST_F(RequestWindowTest, EnterInAMemoAddsLinesOnTheFirstTwoThenMovesOn) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    auto* memo = new TMemo(w);
    memo->SetParent(w->tsOption1);
    memo->SetTabOrder(0);
    auto* next = new TEdit(w);
    next->SetParent(w->tsOption1);
    next->SetTabOrder(1);
    w->Show();
    w->pgOption->SetActivePage(w->tsOption1);
    memo->SetFocus();
    Application->PressKey(VK_RETURN);
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(memo->Text(), "\r\n\r\n");
    EXPECT_EQ(memo->CaretPos().Y, 2);
    EXPECT_EQ(w->ActiveControl(), memo);
    Application->PressKey(VK_RETURN); // on the third line
    EXPECT_EQ(memo->Text(), "\r\n\r\n");
    EXPECT_EQ(w->ActiveControl(), next);
}

TEST_F(RequestWindowTest, ShowingTheWindowListsThePlansOfTheUserAndProgram) {
    plans = {{"alpha", "U01", "ROVANC", "20240105"}, {"beta", "U01", "ROVANC", "bad"}};
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    w->Show();
    auto loads = server->CallsTo("LoadTable");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].args[0][0].AsString(), "U01");
    EXPECT_EQ(loads[0].args[0][1].AsString(), "ROVANC");
    EXPECT_EQ(server->CallsTo("AS_GetRecords")[0].args[0].AsString(), "pvdConSave");
    TListItems* rows = w->lstCondition->Items();
    ASSERT_EQ(rows->Count(), 2);
    EXPECT_EQ(rows->Item(0)->Caption(), "alpha");
    EXPECT_EQ(rows->Item(0)->ImageIndex(), 0);
    EXPECT_EQ(rows->Item(0)->SubItems()->Get(0), DateToStr(EncodeDate(2024, 1, 5)));
    EXPECT_EQ(rows->Item(1)->SubItems()->Get(0), "");
    EXPECT_EQ(w->lstCondition->ViewStyle(), vsIcon); // restored after listing
    ASSERT_EQ(w->lstCondition->Columns()->Count(), 2);
    EXPECT_EQ(w->lstCondition->Column(0)->Caption(), GB("方案名称"));
    EXPECT_EQ(w->lstCondition->Column(1)->Caption(), GB("创建时间"));
}

TEST_F(RequestWindowTest, ViewButtonCyclesTheFourPlanListStyles) {
    TfrmRovan* w = NewWindow();
    EXPECT_EQ(w->lstCondition->ViewStyle(), vsIcon);
    const TViewStyle expected[] = {vsSmallIcon, vsList, vsReport, vsIcon, vsSmallIcon};
    for (TViewStyle style : expected) {
        w->ToolButton1Click(w->ToolButton1);
        EXPECT_EQ(w->lstCondition->ViewStyle(), style);
    }
    EXPECT_TRUE(w->N8->Checked());
    EXPECT_FALSE(w->N7->Checked());
}

TEST_F(RequestWindowTest, OpenWindowMessageRunsF2OnItsControl) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    w->Show();
    w->pgOption->SetActivePage(w->tsOption2);
    SendMessage(w->Handle(), WM_QZ_OPENWINDOW, 0, reinterpret_cast<LPARAM>(w->edPrintDate));
    EXPECT_EQ(w->ActiveControl(), w->edPrintDate);
}

TEST_F(RequestWindowTest, HostCommandChecksPlanValuesAgainstTheWindow) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    auto command = [](const char* component) {
        Variant texts = VarArrayOf({VarArrayOf({AnsiString("caption"), AnsiString(component)})});
        Variant values = VarArrayOf({texts, VarArrayOf({AnsiString("v")})});
        return VarArrayOf({Variant(true), VarArrayOf({0, VarArrayOf({Variant(true), values})})});
    };
    w->HandleHostCommand(command("edPrintDate"));
    EXPECT_EQ(w->FMessageItems.find("W;000014"), AnsiString::npos);
    EXPECT_FALSE(w->FAutoSubmit); // action 0 checks only
    EXPECT_TRUE(w->FShowConfirmation);
    EXPECT_TRUE(w->FConverted);
    w->HandleHostCommand(command("noSuchControl"));
    EXPECT_NE(w->FMessageItems.find("W;000014; "), AnsiString::npos);
}

} // namespace
} // namespace qz::test
