// The report-options window: the outputs in environment element 13, the footer and sign-in from the
// program's defaults and typed numbers, the date types of the company, and the conditions of a job of
// type "F".
#include "framework/BaseRpt.h"
#include "RequestWindowFixture.h"
#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "platform/core/CodePages.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

#include <map>

namespace qz::test {

// A report window with module conditions of its own (texts and values filled by the test's numbers),
// of the job type a test gives it.
class TfrmReportProbe : public TfrmBaseRpt {
    QZ_CLASS(TfrmReportProbe)
public:
    explicit TfrmReportProbe(TComponent* owner) : TfrmBaseRpt(owner) {}

    void DefineModule() override {
        TfrmBaseRpt::DefineModule();
        SetOptionCount(ModuleConditions);
        FJobKind = JobKind;
    }
    bool GetOptionTexts(Variant& Texts, int Index) override {
        if (!TfrmBaseRpt::GetOptionTexts(Texts, Index)) return false;
        for (int i = 1; i <= Index; ++i) Texts[i] = VarArrayOf({IntToStr(i), "ed" + IntToStr(i)});
        return true;
    }
    bool GetOptionValues(Variant& Values, int Index) override {
        if (!TfrmBaseRpt::GetOptionValues(Values, Index)) return false;
        for (int i = 1; i <= Index; ++i) Values[i] = IntToStr(i);
        return true;
    }

    static inline int ModuleConditions = 2;
    static inline AnsiString JobKind = "R";
};

QZ_CLASS_INFO(TfrmReportProbe, TfrmBaseRpt) {}

namespace {

using TTexts = std::vector<AnsiString>;

TTexts Texts(const Variant& row) {
    TTexts texts;
    for (int i = 0; i < row.ElementCount(); ++i) texts.push_back(VarToStr(row.ElementAt(i)));
    return texts;
}

class BaseRptTest : public RequestWindowTest {
protected:
    void SetUp() override {
        RequestWindowTest::SetUp();
        host->On("GetMessage", [](DispArgs& a) {
            AnsiString item = a[0].AsString() + a[1].AsString();
            return Variant(a[0].AsString() == "R" ? item : item + ":%s");
        });
        lookupVariant = MakeRecording(lookup);
        host->On("Com_F2Window", lookupVariant);
        lookup->On("F2GetData", [](DispArgs& a) {
            AnsiString kind = VarToStr(a[0][2][0]);
            return VarArrayOf({VarArrayOf({AnsiString("00") + kind, AnsiString("Picked"), AnsiString("P1"),
                                           AnsiString("P2"), AnsiString("P3")})});
        });
        counter->On("GetSysInfo", [this](DispArgs&) {
            Variant v = VarArrayCreate({0, 1, 0, static_cast<int>(settings.size()) - 1}, varVariant);
            int i = 0;
            for (const auto& [name, value] : settings) {
                v.PutElement({0, i}, name);
                v.PutElement({1, i++}, value);
            }
            return v;
        });
        validator->On("CheckValue", [this](DispArgs& a) {
            AnsiString table = a[0].AsString();
            Variant found;
            if (table == "ADMMB") {
                found = VarArrayOf({AnsiString("Transfer report"), AnsiString(), AnsiString(), AnsiString(),
                                    AnsiString("N")});
            } else if (table == "CMSMT" && !program.empty()) {
                std::vector<Variant> fields(program.begin(), program.end());
                found = VarArrayOf(fields);
            } else if (table == "CMSMS") {
                auto it = lines.find(VarToStr(a[3][0]) + ":" + VarToStr(a[3][1]));
                if (it != lines.end()) {
                    std::vector<Variant> fields(it->second.begin(), it->second.end());
                    found = VarArrayOf(fields);
                }
            }
            a[4] = found;
            return Variant(!VarIsEmpty(found));
        });
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            if (auto* text = dynamic_cast<TLabel*>(form.FindComponent("Message")))
                shown.push_back(text->Caption());
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
    }

    // A new window, before its initialisation (the name of its resource carries the program code).
    TfrmReportProbe* NewReport(int moduleConditions = 2, const AnsiString& jobKind = "R") {
        TfrmReportProbe::ModuleConditions = moduleConditions;
        TfrmReportProbe::JobKind = jobKind;
        auto* w = CreateForm<TfrmReportProbe>(nullptr);
        windows.emplace_back(w);
        w->SetModulePath("/opt/qz/BASRPTX.so");
        w->FHostObject = hostVariant;
        return w;
    }
    TfrmReportProbe* Ready(int moduleConditions = 2, const AnsiString& jobKind = "R") {
        TfrmReportProbe* w = NewReport(moduleConditions, jobKind);
        EXPECT_TRUE(w->InitFromHost(HostParams(5)));
        return w;
    }

    void TearDown() override {
        for (TfrmBaseGene* w : windows) w->Free();
        windows.clear();
        // A recorded lookup holds the host object it was given, and the host holds the lookup.
        lookup->calls.clear();
        RequestWindowTest::TearDown();
    }

    // The collected request: [environment, condition texts, condition values].
    static Variant Request(TfrmBaseRpt* w) {
        EXPECT_TRUE(w->CollectParams());
        return w->FResultParams;
    }

    // CMSMT's record: footer number, may be chosen, name, three lines; the same for the sign-in.
    TTexts program = {"F01", "Y", "Footer", "f1", "f2", "f3", "S01", "Y", "Sign-in", "s1", "s2", "s3"};
    // CMSMS's checks, by "kind:number": number and three lines.
    std::map<AnsiString, TTexts> lines = {{"1:F02", {"F02", "g1", "g2", "g3"}}};
    std::map<AnsiString, AnsiString> settings = {{"Qz002", "Demo Co"}, {"Sys001", "1"}};
    TRecordingObject* lookup = nullptr;
    Variant lookupVariant;
    std::vector<AnsiString> shown;
    std::vector<TfrmBaseGene*> windows;
};

TEST_F(BaseRptTest, TheTickedOutputsAreSentAndTheLastOneStaysTicked) {
    TfrmReportProbe* w = Ready();
    EXPECT_EQ(Request(w)[0][13].AsInteger(), 1); // the report file by default
    EXPECT_EQ(Request(w)[0][14].AsString(), "");

    w->chkHTML->Click();
    w->chkView->Click();
    EXPECT_EQ(Request(w)[0][13].AsInteger(), 2);
    EXPECT_TRUE(shown.empty());

    // Unticking the only output: the message, and the flags and boxes as they were.
    w->chkHTML->Click();
    EXPECT_EQ(shown, TTexts({"I000005:"}));
    EXPECT_TRUE(w->chkHTML->Checked());
    EXPECT_FALSE(w->chkView->Checked());
    EXPECT_EQ(Request(w)[0][13].AsInteger(), 2);

    w->chkDirectPrint->SetChecked(true); // only code ticks it
    w->chkViewClick(w->chkDirectPrint);
    EXPECT_EQ(Request(w)[0][13].AsInteger(), 6);
}

TEST_F(BaseRptTest, TheProgramsFooterAndSignInAreFilledAndSentAlsoWhenFixed) {
    program[1] = "N"; // the footer may not be chosen
    TfrmReportProbe* w = Ready();
    EXPECT_FALSE(w->btnNote->Enabled());
    EXPECT_TRUE(w->btnSignIn->Enabled());
    for (TEdit* e : {w->edNoteID, w->edNote1, w->edNote2, w->edNote3})
        EXPECT_TRUE(e->ReadOnly()) << e->Name();
    for (TEdit* e : {w->edSignInID, w->edSignIn1, w->edSignIn2, w->edSignIn3})
        EXPECT_FALSE(e->ReadOnly()) << e->Name();

    // Neither can F2 choose another footer.
    w->DoF2Key(113, w->edNoteID);
    EXPECT_TRUE(lookup->CallsTo("F2GetData").empty());
    EXPECT_EQ(w->edNoteID->Text(), "F01");

    w->chkSignInEPPrint->SetChecked(true);
    Variant request = Request(w);
    const Variant &texts = request[1], &values = request[2];
    const int n = w->FOptionCount;
    ASSERT_EQ(n, 6);
    EXPECT_EQ(Texts(texts[n - 3]), TTexts({GB("签核"), "grpSignIn"}));
    EXPECT_EQ(Texts(texts[n - 2]), TTexts({GB("页脚"), "grpNote"}));
    EXPECT_EQ(Texts(texts[n - 1]), TTexts({GB("日期类型"), "cboDateType"}));
    EXPECT_EQ(texts[n][1].AsString(), "edPrintDate");
    EXPECT_EQ(Texts(values[n - 3]), TTexts({GB("每页打印签核"), "True", "S01", "s1", "s2", "s3"}));
    EXPECT_EQ(Texts(values[n - 2]), TTexts({GB("每页打印页脚"), "False", "F01", "f1", "f2", "f3"}));
    EXPECT_EQ(VarType(values[n - 2][1]), varBoolean);
    EXPECT_EQ(Texts(values[n - 1]), TTexts({"1", GB("公历 YYYYMMDD")}));

    // The open sign-in is chosen through its lookup: [number, name, three lines].
    w->DoF2Key(113, w->edSignInID);
    ASSERT_EQ(lookup->CallsTo("F2GetData").size(), 1u);
    const Variant asked = lookup->CallsTo("F2GetData")[0].args[0];
    EXPECT_EQ(Texts(VarArrayOf({asked[0], asked[1]})), TTexts({"CMSMS", "01"}));
    EXPECT_EQ(Texts(asked[2]), TTexts({"2"}));
    EXPECT_EQ(w->edSignInID->Text(), "002");
    EXPECT_EQ(w->FLastLookupId, "002");
    EXPECT_EQ(Texts(VarArrayOf({w->edSignIn1->Text(), w->edSignIn2->Text(), w->edSignIn3->Text()})),
              TTexts({"P1", "P2", "P3"}));
}

TEST_F(BaseRptTest, ATypedFooterNumberIsCheckedWhenTheEditIsLeft) {
    TfrmReportProbe* w = Ready();
    w->Show();
    w->pgOption->SetActivePage(w->tsOption2);
    w->edNoteID->SetFocus();
    ASSERT_EQ(w->FLastLookupId, "F01");

    w->edNoteID->SetText("F02");
    w->edNote1->SetFocus();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(
        Texts(VarArrayOf({w->edNoteID->Text(), w->edNote1->Text(), w->edNote2->Text(), w->edNote3->Text()})),
        TTexts({"F02", "g1", "g2", "g3"}));

    // A number the server does not know: the warning with the catalogue's text, the footer emptied and
    // the focus back on the number.
    w->edNoteID->SetFocus();
    w->edNoteID->SetText("F99");
    w->edNote1->SetFocus();
    EXPECT_EQ(shown, TTexts({"W000004:R100235"}));
    EXPECT_EQ(w->ActiveControl(), w->edNoteID);
    EXPECT_EQ(w->edNoteID->Text(), "");
    EXPECT_EQ(w->edNote1->Text(), "");
    const auto checks = validator->CallsTo("CheckValue");
    EXPECT_EQ(Texts(checks.back().args[3]), TTexts({"1", "F99"}));

    // Left empty it is accepted; a sign-in number is checked as its own kind.
    w->edNote1->SetFocus();
    EXPECT_EQ(w->ActiveControl(), w->edNote1);
    EXPECT_EQ(shown.size(), 1u);
    w->edSignInID->SetFocus();
    w->edSignInID->SetText("F02");
    w->edSignIn1->SetFocus();
    EXPECT_EQ(shown.back(), "W000004:R100236");
    EXPECT_EQ(w->ActiveControl(), w->edSignInID);
    w->Hide();
}

TEST_F(BaseRptTest, TheCompanysDateTypesAndTheValueSent) {
    struct Case {
        const char* sys026;
        const char* style;
        int items;
        TTexts value;
    } cases[] = {
        {"", "5", 5, {"5", GB("民国年 YYYMMDD")}},
        {"1", "4", 5, {"4", GB("民国年 YYMMDD")}},
        {"2", "3", 3, {"3", GB("公历 DDMMYYYY")}},
    };
    for (const Case& c : cases) {
        settings["SYS026"] = c.sys026;
        settings["Sys001"] = c.style;
        TfrmReportProbe* w = Ready();
        EXPECT_EQ(w->cboDateType->Items()->Count(), c.items) << c.sys026;
        Variant values = Request(w)[2];
        EXPECT_EQ(Texts(values[w->FOptionCount - 1]), c.value) << c.sys026;
    }
}

TEST_F(BaseRptTest, AJobOfTypeFEndsInSevenFrameworkConditionsWithoutADirectQuery) {
    for (int module : {0, 2}) {
        TfrmReportProbe* w = NewReport(module, "F");
        auto* query = new TButton(w);
        query->SetName("btnQuery");
        query->SetParent(w->Panel1);
        ASSERT_TRUE(w->InitFromHost(HostParams(5)));
        EXPECT_FALSE(query->Visible());
        EXPECT_EQ(w->FBaseOptionCount, 7);
        const int n = module + 7;
        ASSERT_EQ(w->FOptionCount, n);
        EXPECT_EQ(w->FFontName, GB("宋体"));
        w->FFontSize = 9;
        w->FPrintWidth = 132;
        Variant request = Request(w);
        const Variant &texts = request[1], &values = request[2];
        EXPECT_EQ(Texts(texts[n - 6]), TTexts({GB("字型"), ""}));
        EXPECT_EQ(Texts(texts[n - 5]), TTexts({GB("字型大小"), ""}));
        EXPECT_EQ(Texts(texts[n - 4]), TTexts({GB("报表可印宽度"), ""}));
        EXPECT_EQ(Texts(VarArrayOf({values[n - 6], values[n - 5], values[n - 4]})),
                  TTexts({GB("宋体"), "9", "132"}));
        EXPECT_EQ(texts[n - 3][1].AsString(), "grpSignIn");
        EXPECT_EQ(texts[n][1].AsString(), "edPrintDate");
        EXPECT_EQ(request[0][9].AsString(), "F");
    }
}

TEST_F(BaseRptTest, APlanKeepsTheFooterAndSignInAfterTheModulesControls) {
    TfrmReportProbe* w = Ready();
    auto* code = new TEdit(w);
    code->SetName("edCode");
    code->SetParent(w->tsOption1);
    w->FPlanProps.clear();
    w->BuildPlanProps();
    EXPECT_EQ(w->FPlanProps, "edCode.text;"
                             "edNoteID.text;chkNoteEPPrint.checked;edNote1.text;edNote2.text;edNote3.text;"
                             "edSignInID.text;chkSignInEPPrint.checked;edSignIn1.text;edSignIn2.text;"
                             "edSignIn3.text;");
}

} // namespace
} // namespace qz::test
