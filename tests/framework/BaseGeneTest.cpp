#include "RequestWindowFixture.h"
#include "controls/ExtPage.h"
#include "controls/QzRadioGroup.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGeneU.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SocketConnection.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/TranslatorU.h"

#include <cstdlib>
#include <filesystem>

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
    // The program table was asked first, with the program code (the report layer asks for its footer next).
    auto checks = validator->CallsTo("CheckValue");
    ASSERT_GE(checks.size(), 1u);
    EXPECT_EQ(checks[0].args[0].AsString(), "ADMMB");
    EXPECT_EQ(checks[0].args[2].AsString(), "DB01");
    EXPECT_EQ(checks[0].args[3][0].AsString(), "ROVANC");

    size_t calls = host->calls.size();
    EXPECT_FALSE(w->InitFromHost(HostParams(5)));
    EXPECT_EQ(host->calls.size(), calls);
}

TEST_F(RequestWindowTest, FewerThanFiveParametersReportOnceAndStillInitialise) {
    int boxes = 0;
    HeadlessDisplay()->SetModalDriver([&](TCustomForm& form) {
        ++boxes;
        if (form.FindComponent("OK")) ClickControl(form, "OK");
    });
    TfrmRovan* w = NewWindow();
    bool destroyed = false;
    w->OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
    EXPECT_TRUE(w->InitFromHost(HostParams(3)));
    EXPECT_EQ(w->FHostWindow, 0u);
    EXPECT_EQ(w->FMessageItems, "E;000038; ");
    EXPECT_EQ(boxes, 1);
    EXPECT_NE(server, nullptr); // connected all the same
    EXPECT_FALSE(destroyed);    // the close request waits for the queue
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    Forget(w);
}

TEST_F(RequestWindowTest, AStandAloneRunMakesItsOwnHostObjectAndStaysOpen) {
    auto* w = CreateForm<TfrmRovan>(nullptr);
    bool destroyed = false;
    w->OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
    w->SetModulePath("/opt/qz/RovanCX"); // a program, not a library: initialises itself at once
    ASSERT_TRUE(VarIsObject(w->FHostObject));
    EXPECT_EQ(w->FUserCode, "796");
    EXPECT_EQ(w->FProgramCode, "ROVANC");
    EXPECT_EQ(w->FCompanyName, GB("演示贸易有限公司"));
    EXPECT_EQ(w->FTitle, GB("转单失败报表"));
    EXPECT_EQ(w->FMessageItems, "");
    EXPECT_NE(server, nullptr);
    AnsiString text; // from the installation's catalogue
    w->GetMessageText("E", "000038", text);
    EXPECT_EQ(text, GB("主程序传入的参数不足,无法执行!"));
    Application->ProcessMessages();
    EXPECT_FALSE(destroyed);
    w->Free();
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
    TRecordingObject* lookup = nullptr;
    Variant lookupVariant = MakeRecording(lookup);
    lookup->On("ShowInputDay", Variant(AnsiString("20240305")));
    host->On("Com_F2Window", lookupVariant);
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    w->Show();
    w->pgOption->SetActivePage(w->tsOption2);
    SendMessage(w->Handle(), WM_QZ_OPENWINDOW, 0, reinterpret_cast<LPARAM>(w->edPrintDate));
    EXPECT_EQ(w->ActiveControl(), w->edPrintDate);
    ASSERT_EQ(lookup->CallsTo("ShowInputDay").size(), 1u); // the date picker was asked
    EXPECT_EQ(w->edPrintDate->Text(), "2024/03/05");
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

namespace qz::test {
namespace {

AnsiString Big5(const char* utf8) {
    return ConvertCodePage(utf8, CP_UTF8, CP_BIG5);
}

// A selection panel in range or list mode on the first page, at the given tab order.
TSelectPanel* AddPanel(TfrmRovan* w, bool range, int tabOrder) {
    auto* panel = new TSelectPanel(w);
    panel->SetParent(w->tsOption1);
    panel->SetStyle(range ? sp_Range : sp_Discrete);
    panel->SetTabOrder(tabOrder);
    return panel;
}

TEST_F(RequestWindowTest, ShowingTheWindowEntersASelectionPanelAtItsInput) {
    for (bool range : {true, false}) {
        TfrmRovan* w = NewWindow();
        ASSERT_TRUE(w->InitFromHost(HostParams(5)));
        TSelectPanel* panel = AddPanel(w, range, 0);
        w->Show();
        TWinControl* input = range ? static_cast<TWinControl*>(panel->BeginEdit) : panel->ListView;
        EXPECT_EQ(w->ActiveControl(), input) << range;
        if (range) {
            Application->TypeText("A1");
            EXPECT_EQ(panel->BeginEdit->Text(), "A1");
        }
        // Coming back to the page enters the panel the same way.
        w->pgOption->SetActivePage(w->tsOption2);
        w->pgOption->SetActivePage(w->tsOption1);
        w->pgOptionChange(w->pgOption);
        EXPECT_EQ(w->ActiveControl(), input) << range;
        w->Hide();
    }
}

TEST_F(RequestWindowTest, EnterOnAPageEndPanelOrRadioGroupTurnsThePage) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    TSelectPanel* range = AddPanel(w, true, 0);
    TSelectPanel* list = AddPanel(w, false, 1);
    auto* group = new TQzRadioGroup(w);
    group->SetParent(w->tsOption1);
    group->SetTabOrder(2);
    TStringList items;
    items.Add("one");
    items.Add("two");
    group->SetItems(&items);
    w->FPageEndControls = {range, list, group};
    w->Show();
    struct Case {
        const char* where;
        TWinControl* focused;
        bool turns;
    };
    const Case cases[] = {
        {"range end", range->EndEdit, true},
        {"list", list->ListView, true},
        {"radio button", group->Buttons(1), true},
        {"range begin", range->BeginEdit, false}, // only the end of a range counts
    };
    for (const Case& c : cases) {
        w->pgOption->SetActivePage(w->tsOption1);
        c.focused->SetFocus();
        Application->PressKey(VK_RETURN);
        EXPECT_EQ(w->pgOption->ActivePage(), c.turns ? w->tsOption2 : w->tsOption1) << c.where;
    }
}

TEST_F(RequestWindowTest, TheBaseEnvironmentFillsTheCallersArray) {
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    SetClock([] { return EncodeDate(2026, 3, 4) + EncodeTime(10, 20, 30, 0); });
    Variant env = VarArrayCreate({1, w->FEnvCount}, varVariant);
    env[10] = AnsiString("job layer");
    bool filled = w->TfrmBaseGene::GetEnvironment(env, w->FEnvCount);
    SetClock(nullptr);
    ASSERT_TRUE(filled);
    ASSERT_EQ(VarArrayLowBound(env, 1), 1);
    ASSERT_EQ(VarArrayHighBound(env, 1), 14);
    EXPECT_EQ(env[1].AsString(), "ROVANC");
    EXPECT_EQ(env[2].AsInteger(), 14);
    EXPECT_EQ(env[3].AsInteger(), w->FOptionCount);
    EXPECT_EQ(env[4].AsString(), "C01");
    EXPECT_EQ(env[5].AsString(), "U01");
    EXPECT_EQ(env[6].AsString(), "DB01");
    EXPECT_EQ(VarType(env[7]), varDate);
    EXPECT_DOUBLE_EQ(env[7].AsDouble(), EncodeDate(2026, 3, 4) + EncodeTime(10, 20, 30, 0));
    EXPECT_EQ(env[8].AsString(), "ROVANCS.Class1");
    EXPECT_EQ(env[9].AsString(), "R");
    EXPECT_EQ(env[10].AsString(), "job layer");
}

TEST_F(RequestWindowTest, OptionCountAddsTheFrameworksOnlyWhenNotBelowTheCurrentCount) {
    struct Case {
        int base, current, count, expected;
    };
    const Case cases[] = {
        {1, 0, 0, 1}, // the base window
        {4, 1, 0, 4}, // the report layer after the base
        {4, 4, 3, 7}, // the module after the report layer
        {4, 7, 3, 3}, // a count that already holds the framework's
    };
    TfrmRovan* w = NewWindow();
    for (const Case& c : cases) {
        w->FBaseOptionCount = c.base;
        w->FOptionCount = c.current;
        w->SetOptionCount(c.count);
        EXPECT_EQ(w->FOptionCount, c.expected) << c.base << " " << c.current << " " << c.count;
    }
}

TEST_F(RequestWindowTest, CtrlAltVShowsTheModuleFilesProperties) {
    std::vector<std::pair<AnsiString, AnsiString>> boxes; // caption, text
    HeadlessDisplay()->SetModalDriver([&](TCustomForm& form) {
        auto* text = dynamic_cast<TLabel*>(form.FindComponent("Message"));
        boxes.emplace_back(form.Caption(), text ? text->Caption() : "");
        if (form.FindComponent("OK")) ClickControl(form, "OK");
    });
    AnsiString module = QZ_LIB_DIR "/RovanC.so";
    TfrmRovan* w = NewWindow(module);
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    w->Show();
    Application->PressKey('V', TShiftState{ssCtrl, ssAlt});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, w->Caption());
    TFileProperties p;
    ASSERT_TRUE(ShellProperties(module, p));
    const AnsiString& text = boxes[0].second;
    for (const AnsiString& part : {AnsiString("RovanC.so"), IntToStr(p.Size), AnsiString("870401-0.00.00"),
                                   FormatDateTime("yyyy/mm/dd hh:nn:ss", p.Time)})
        EXPECT_NE(text.find(part), AnsiString::npos) << part << " in " << text;
}

TEST_F(RequestWindowTest, UnderBig5TheDateSeparatorComesFromTheLocale) {
    std::string locales = installation.Dir() + "/locales";
    std::filesystem::create_directories(locales);
    std::string compile = "localedef -i de_DE -f UTF-8 " + locales + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(compile.c_str()) != 0) GTEST_SKIP() << "localedef cannot compile de_DE";
    const char* all = std::getenv("LC_ALL");
    std::string savedAll = all ? all : "";
    setenv("LOCPATH", locales.c_str(), 1);
    SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll");
    struct Case {
        int codePage;
        const char* locale;
        char separator;
    };
    const Case cases[] = {{950, "de_DE.UTF-8", '.'}, {950, "C", '/'}, {936, "de_DE.UTF-8", '-'}};
    for (const Case& c : cases) {
        SetSystemCodePage(c.codePage);
        setenv("LC_ALL", c.locale, 1);
        DateSeparator = '-';
        NewWindow();
        EXPECT_EQ(DateSeparator, c.separator) << c.codePage << " " << c.locale;
    }
    SetSystemCodePage(0);
    SetTranslatorLibraryName("");
    DateSeparator = '/';
    unsetenv("LOCPATH");
    if (all)
        setenv("LC_ALL", savedAll.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST_F(RequestWindowTest, DataSetsShowAndStoreTextFieldsInTheInterfaceCodePage) {
    SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll");
    installation.WriteClientSettings(
        "[Server Information]\nComputerName=127.0.0.1\n[CodePage]\nUICodePage=950\nDBCodePage=936\n");
    TfrmRovan* w = NewWindow();
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    ASSERT_EQ(w->GetUIConvertKind(), 2);
    server->On(
        "AS_GetRecords",
        VarArrayOf(
            {VarArrayOf({AnsiString("NAME"), AnsiString("QTY"), AnsiString("NOTE")}),
             VarArrayOf({VarArrayOf({GB("订单"), 12, AnsiString(GB("备注")) + std::string(300, 'x')})})}));
    auto* ds = new TClientDataSet(w);
    ds->SetRemoteServer(w->MainMidas);
    ds->ProviderName = "pvdDocs";
    ds->Open();
    ASSERT_EQ(ds->FieldByName("NOTE")->DataType(), ftMemo);
    ds->FieldByName("NAME")->SetDisplayLabel(GB("单号"));
    int ownDisplays = 0;
    ds->FieldByName("NOTE")->OnGetText = [&](TField*, AnsiString&, bool) { ++ownDisplays; };
    w->PrepareDataSets();

    TField* name = ds->FieldByName("NAME");
    EXPECT_EQ(name->DisplayLabel(), Big5("單號"));
    EXPECT_EQ(ds->FieldByName("QTY")->DisplayLabel(), "QTY");
    EXPECT_EQ(name->DisplayText(), Big5("訂單"));
    EXPECT_EQ(name->AsString(), GB("订单")); // stored as it came
    EXPECT_FALSE(ds->FieldByName("QTY")->OnGetText);
    EXPECT_FALSE(ds->FieldByName("QTY")->OnSetText);
    ds->FieldByName("NOTE")->DisplayText();
    EXPECT_EQ(ownDisplays, 1); // a handler of its own stays
    EXPECT_TRUE(ds->FieldByName("NOTE")->OnSetText);
    ds->Edit();
    name->SetText(Big5("報表"));
    ds->Post();
    EXPECT_EQ(name->AsString(), GB("报表"));
    SetTranslatorLibraryName("");
}

} // namespace
} // namespace qz::test
