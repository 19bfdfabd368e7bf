#include "RequestWindowFixture.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGeneU.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/StdCtrls.h"

namespace qz::test {
namespace {

const AnsiString kRange(1, '\x04');
const AnsiString kList(1, '\x05');

// A value as text: an array as "[...]" (after its low bound when that is not 0), the one-character
// strings of codes 4 and 5 as #4 and #5.
AnsiString Dump(const Variant& v) {
    if (!VarIsArray(v)) {
        AnsiString s = VarToStr(v);
        return s == kRange ? "#4" : s == kList ? "#5" : s;
    }
    int low = VarArrayLowBound(v, 1);
    AnsiString s = low != 0 ? IntToStr(low) + ":[" : "[";
    for (int i = low; i <= VarArrayHighBound(v, 1); ++i) s += (i > low ? "," : "") + Dump(v[i]);
    return s + "]";
}

TEST(DateStyles, MasksAndBlankTextsOfTheFiveStyles) {
    struct Case {
        int style;
        const char* separator;
        const char* mask;
        const char* blank;
        const char* typed; // digits entered
        const char* shown; // what the edit shows for them
    };
    const Case cases[] = {
        {1, "/", "9999\\/99\\/99;1; ", "    /  /  ", "20240305", "2024/03/05"},
        {2, "/", "99\\/99\\/9999;1; ", "  /  /    ", "03052024", "03/05/2024"},
        {3, "-", "99-99-9999;1; ", "  -  -    ", "05032024", "05-03-2024"},
        {4, ".", "99.99.99;1; ", "  .  .  ", "940101", "94.01.01"},
        {5, "/", "999\\/99\\/99;1; ", "   /  /  ", "1130305", "113/03/05"},
        {0, "/", "", "", "", ""},
    };
    // The run-time library's separator differs from the company's: the edit shows the company's.
    DateSeparator = '.';
    for (const Case& c : cases) {
        EXPECT_EQ(DateMaskOf(c.style, c.separator), c.mask) << c.style;
        EXPECT_EQ(BlankDateTextOf(c.style, c.separator), c.blank) << c.style;
        if (!*c.mask) continue;
        EXPECT_EQ(Trim(BlankMaskText(c.mask)), Trim(c.blank)) << c.style;
        EXPECT_EQ(FormatMaskText(c.mask, c.typed), c.shown) << c.style;
    }
    DateSeparator = '/';
}

TEST(DateStyles, EntriesBecomeYearMonthDay) {
    struct Case {
        const char* text;
        int style;
        const char* separator;
        const char* param;
    };
    const Case cases[] = {
        {"2024/3/5", 1, "/", "20240305"},
        {" 2024 / 03 / 05 ", 1, "/", "20240305"},
        {"03/05/2024", 2, "/", "20240305"},
        {"05-03-2024", 3, "-", "20240305"},
        {"94/01/01", 4, "/", "20050101"},  // years counted from 1912
        {"113/03/05", 5, "/", "20240305"}, // a three-digit year
        {"", 1, "/", ""},
        {"    /  /  ", 1, "/", ""}, // the blank entry
        {"  .  .  ", 4, ".", ""},
        {"2024/ab/05", 1, "/", "2024/ab/05"}, // not a number: passed on as it is
        {"2024/03", 1, "/", "2024/03"},
        {"2024/03/05/01", 1, "/", "2024/03/05/01"},
        {"20240305", 1, "/", "20240305"},
        {"2024/03/05", 0, "/", ""},         // no style
        {"2024/13/45", 1, "/", "20241345"}, // read, not checked
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateTextToParam(c.text, c.style, c.separator), c.param) << c.text << " style " << c.style;
}

class ConditionsTest : public RequestWindowTest {
protected:
    void SetUp() override {
        RequestWindowTest::SetUp();
        host->On("GetMessage", [](DispArgs& a) {
            AnsiString item = a[0].AsString() + a[1].AsString();
            return Variant(a[0].AsString() == "W" ? item + ":%s|%s|%s" : item);
        });
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            if (auto* text = dynamic_cast<TLabel*>(form.FindComponent("Message")))
                shown.push_back(text->Caption());
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
    }

    // The window with the module's conditions, initialised.
    TfrmTestGene* Ready(int conditions) {
        TfrmTestGene* w = NewTestWindow();
        w->ModuleConditions = conditions;
        EXPECT_TRUE(w->InitFromHost(HostParams(5)));
        return w;
    }

    static void SetDateStyle(TfrmBaseGene* w, int style, const AnsiString& separator) {
        w->FSysInfo->SetValue("Sys001", IntToStr(style));
        w->FSysInfo->SetValue("Sys002", separator);
    }

    std::vector<AnsiString> shown;
};

TEST_F(ConditionsTest, TheRequestHoldsTheEnvironmentTheModulesConditionsAndThePrintDate) {
    TfrmTestGene* w = Ready(2);
    ASSERT_EQ(w->FOptionCount, 3);
    w->FillTexts = [](Variant& texts, int index) {
        EXPECT_EQ(index, 2);
        texts[1] = VarArrayOf({"Kind", "cbo01"});
        texts[2] = VarArrayOf({"Dates", "sp02"});
        return true;
    };
    w->FillValues = [](Variant& values, int) {
        values[1] = AnsiString("Y");
        values[2] = RangeParam("20240101", "20240131");
        return true;
    };
    w->edPrintDate->SetText("2024/03/05");
    SetClock([] { return EncodeDate(2026, 3, 4) + EncodeTime(10, 20, 30, 0); });
    bool collected = w->CollectParams();
    SetClock(nullptr);
    ASSERT_TRUE(collected);
    EXPECT_TRUE(shown.empty());

    const Variant& request = w->FResultParams;
    ASSERT_EQ(VarArrayLowBound(request, 1), 0);
    ASSERT_EQ(VarArrayHighBound(request, 1), 2);
    const Variant& env = request[0];
    ASSERT_EQ(VarArrayLowBound(env, 1), 1);
    ASSERT_EQ(VarArrayHighBound(env, 1), 9);
    EXPECT_EQ(env[1].AsString(), "BASGEN");
    EXPECT_EQ(env[2].AsInteger(), 9);
    EXPECT_EQ(env[3].AsInteger(), 3);
    EXPECT_EQ(env[4].AsString(), "C01");
    EXPECT_EQ(env[5].AsString(), "U01");
    EXPECT_EQ(env[6].AsString(), "DB01");
    EXPECT_DOUBLE_EQ(env[7].AsDouble(), EncodeDate(2026, 3, 4) + EncodeTime(10, 20, 30, 0));
    EXPECT_EQ(env[8].AsString(), "BASGENS.Class1");
    EXPECT_EQ(env[9].AsString(), "R");

    const Variant& texts = request[1];
    const Variant& values = request[2];
    ASSERT_EQ(VarArrayHighBound(texts, 1), 3);
    ASSERT_EQ(VarArrayHighBound(values, 1), 3);
    EXPECT_EQ(texts[2][1].AsString(), "sp02");
    EXPECT_EQ(values[2][0].AsString(), kRange);
    // The framework's own condition comes last.
    EXPECT_EQ(texts[3][0].AsString(), w->lblToday->Caption());
    EXPECT_EQ(texts[3][1].AsString(), "edPrintDate");
    EXPECT_EQ(values[3].AsString(), "20240305");
}

TEST_F(ConditionsTest, AMissingOrWrongPartStopsTheRequestWithItsMessage) {
    const AnsiString textsPart = GB("选择条件文字"), valuesPart = GB("选择条件信息");
    auto fillTexts = [](Variant& texts, int) {
        texts[1] = VarArrayOf({"a", "x1"});
        texts[2] = VarArrayOf({"b", "x2"});
        return true;
    };
    struct Case {
        const char* what;
        std::function<void(TfrmTestGene*)> arrange;
        AnsiString message; // "" for none
    };
    const Case cases[] = {
        {"no environment", [](TfrmTestGene* w) { w->FEnvCount = 0; }, "I000003"},
        {"no conditions", [](TfrmTestGene* w) { w->FOptionCount = 0; }, "I000003"},
        {"texts of the wrong size",
         [](TfrmTestGene* w) {
             w->FillTexts = [](Variant& texts, int) {
                 VarArrayRedim(texts, 2);
                 return true;
             };
         },
         "W000002:" + textsPart + "|3|2"},
        {"a text left unset",
         [](TfrmTestGene* w) {
             w->FillTexts = [](Variant& texts, int) {
                 texts[1] = VarArrayOf({"a", "x1"});
                 return true;
             };
         },
         "W000003:" + textsPart + "|3|2"},
        {"a value left unset", [&](TfrmTestGene* w) { w->FillTexts = fillTexts; },
         "W000003:" + valuesPart + "|3|1"},
        {"a value set to Null",
         [&](TfrmTestGene* w) {
             w->FillTexts = fillTexts;
             w->FillValues = [](Variant& values, int) {
                 values[1] = AnsiString("Y");
                 values[2] = Null();
                 return true;
             };
         },
         "W000003:" + valuesPart + "|3|2"},
        {"a layer that refuses",
         [&](TfrmTestGene* w) {
             w->FillTexts = fillTexts;
             w->FillValues = [](Variant&, int) { return false; };
         },
         ""},
    };
    for (const Case& c : cases) {
        TfrmTestGene* w = Ready(2);
        c.arrange(w);
        shown.clear();
        EXPECT_FALSE(w->CollectParams()) << c.what;
        EXPECT_EQ(shown, c.message.empty() ? std::vector<AnsiString>{} : std::vector<AnsiString>{c.message})
            << c.what;
        EXPECT_TRUE(VarIsEmpty(w->FResultParams)) << c.what;
    }
}

TEST_F(ConditionsTest, ThePrintDateIsEmptyWhenBlankOrUnfinished) {
    struct Case {
        int style;
        const char* separator;
        const char* text;
        const char* value;
    };
    const Case cases[] = {
        {1, "/", "2024/03/05", "20240305"}, {1, "/", "", ""},        {1, "/", "    /  /", ""},
        {1, "/", "2024/  /", ""},           {1, "/", " /03/05", ""}, {1, "/", "/ /", ""},
        {2, "-", "03-05-2024", "20240305"}, {2, "-", "03-05-", ""},  {1, "/", "2024/13/01", "20241301"},
    };
    TfrmTestGene* w = Ready(0);
    for (const Case& c : cases) {
        SetDateStyle(w, c.style, c.separator);
        w->edPrintDate->SetText(c.text);
        Variant values = VarArrayCreate({1, w->FOptionCount}, varVariant);
        ASSERT_TRUE(w->GetOptionValues(values, 0));
        EXPECT_EQ(values[1].AsString(), c.value) << c.text;
    }
}

TEST_F(ConditionsTest, DateRangesAreStoredAsOrderedDays) {
    struct Case {
        int style;
        const char* from;
        const char* to;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {1, "2024/03/05", "2024/01/31", "20240131", "20240305"}, // later to earlier: exchanged
        {1, "2024/01/31", "2024/03/05", "20240131", "20240305"},
        {2, "03/05/2024", "01/31/2024", "20240131", "20240305"},
        {1, "", "2024/01/31", "", "20240131"}, // an open end stays where it is
        {1, "2024/03/05", "    /  /  ", "20240305", ""},
    };
    TfrmTestGene* w = Ready(0);
    for (const Case& c : cases) {
        SetDateStyle(w, c.style, "/");
        Variant values = VarArrayCreate({1, 2}, varVariant);
        w->PutRangeParam(c.from, c.to, values, 2);
        EXPECT_EQ(Dump(values), "1:[,[#4," + AnsiString(c.first) + "," + c.second + "]]")
            << c.from << " " << c.to;
    }
}

TEST_F(ConditionsTest, PanelsGiveTheirRangeAsEnteredOrTheirListRows) {
    TfrmTestGene* w = Ready(0);
    auto* panel = new TSelectPanel(w);
    panel->SetParent(w->tsOption1);
    panel->BeginEdit->SetText("A01");
    panel->EndEdit->SetText("0001");
    Variant values = VarArrayCreate({1, 3}, varVariant);
    w->PutPanelParam(panel, values, 1);
    EXPECT_EQ(Dump(values[1]), "[#4,A01,0001]"); // as entered, not ordered

    panel->SetStyle(sp_Discrete);
    w->PutPanelParam(panel, values, 2);
    EXPECT_EQ(Dump(values[2]), "[#5]");
    panel->ListView->AddRow({"c1"});
    panel->ListView->AddRow({"c2"});
    w->PutPanelParam(panel, values, 2);
    EXPECT_EQ(Dump(values[2]), "[#5,[c1],[c2]]");
    panel->ListView->AddRow({"c3", "sub"}); // every row gets the sub-item column
    w->PutPanelParam(panel, values, 3);
    EXPECT_EQ(Dump(values[3]), "[#5,[c1,],[c2,],[c3,sub]]");
    EXPECT_EQ(Dump(values), "1:[[#4,A01,0001],[#5,[c1],[c2]],[#5,[c1,],[c2,],[c3,sub]]]");

    // Below 0 the encoding is the whole of Values, for a list and a range alike.
    Variant whole;
    w->PutPanelParam(panel, whole, -1);
    EXPECT_EQ(Dump(whole), "[#5,[c1,],[c2,],[c3,sub]]");
    panel->SetStyle(sp_Range);
    w->PutPanelParam(panel, whole, -1);
    EXPECT_EQ(Dump(whole), "[#4,A01,0001]");
}

} // namespace
} // namespace qz::test
