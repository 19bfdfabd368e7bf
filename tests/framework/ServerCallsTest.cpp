#include "RequestWindowFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/data/AppServer.h"
#include "platform/vcl/StdCtrls.h"

#include <fstream>

namespace qz::test {
namespace {

class ServerCallsTest : public RequestWindowTest {
protected:
    TfrmRovan* Ready() {
        TfrmRovan* w = NewWindow();
        EXPECT_TRUE(w->InitFromHost(HostParams(5)));
        return w;
    }
};

TEST_F(ServerCallsTest, CheckServerValueQueriesOrChecksAndPicksAnElement) {
    TfrmRovan* w = Ready();
    Variant rows = VarArrayOf({AnsiString("A"), AnsiString("B")});
    validator->On("QueryData", [rows](DispArgs& a) {
        a[4] = rows;
        return Variant(true);
    });
    validator->On("CheckValue", [rows](DispArgs& a) {
        a[4] = rows;
        return Variant(true);
    });
    struct Case {
        int index;
        const char* method;
        bool whole;
        const char* element;
    };
    const Case cases[] = {{-2, "QueryData", true, ""},
                          {-1, "CheckValue", true, ""},
                          {1, "CheckValue", false, "B"},
                          {5, "CheckValue", true, ""}};
    for (const auto& c : cases) {
        validator->calls.clear();
        Variant value;
        EXPECT_TRUE(
            w->CheckServerValue(AnsiString("T"), AnsiString("K"), "E", c.index, value, VarArrayOf({1})));
        ASSERT_EQ(validator->CallsTo(c.method).size(), 1u) << c.index;
        // BaseLimited is set before every query.
        EXPECT_TRUE(SameText(validator->calls[0].name, "BaseLimited")) << c.index;
        if (c.whole)
            EXPECT_EQ(VarArrayHighBound(value, 1), 1) << c.index;
        else
            EXPECT_EQ(value.AsString(), c.element);
    }
    // Empty parameters: nothing asked, an empty value.
    validator->calls.clear();
    Variant value = 5;
    EXPECT_TRUE(w->CheckServerValue(AnsiString("T"), AnsiString("K"), "E", -1, value, Variant()));
    EXPECT_TRUE(VarIsEmpty(value));
    EXPECT_TRUE(validator->calls.empty());
}

TEST_F(ServerCallsTest, CheckServerValueFailureReportsByMessageKind) {
    TfrmRovan* w = Ready();
    host->On("GetMessage", [](DispArgs& a) { return Variant(a[0].AsString() + a[1].AsString() + "[%s]"); });
    validator->On("CheckValue", Variant(false));
    Variant value;
    w->ReportMessages("");
    EXPECT_FALSE(w->CheckServerValue(AnsiString("T"), AnsiString("K"), "W", -1, value, VarArrayOf({1})));
    EXPECT_EQ(w->FMessageItems, "W;000004;I000008[%s]; ");
    EXPECT_FALSE(w->CheckServerValue(AnsiString("T"), AnsiString("K"), "X", -1, value, VarArrayOf({1})));
    EXPECT_EQ(w->FMessageItems, "W;000004;I000008[%s]; ");
}

TEST_F(ServerCallsTest, CheckServerValueWithCancelActiveAsksNothing) {
    TfrmRovan* w = Ready();
    w->Show();
    w->btnCancel->SetFocus();
    validator->calls.clear();
    Variant value;
    EXPECT_TRUE(w->CheckServerValue(AnsiString("T"), AnsiString("K"), "E", -2, value, VarArrayOf({1})));
    EXPECT_TRUE(validator->calls.empty());
}

TEST_F(ServerCallsTest, SystemSettingsAndTheirDefaults) {
    TfrmRovan* w = Ready();
    AnsiString v;
    w->GetSysInfo("qz002", v);
    EXPECT_EQ(v, "Demo Co");
    w->GetSysInfo("sys007", v);
    EXPECT_EQ(v, GB("商品分类方式一"));
    w->GetSysInfo("SYS010", v);
    EXPECT_EQ(v, GB("商品分类方式四"));
    w->GetSysInfo("Sys011", v);
    EXPECT_EQ(v, "");
    EXPECT_EQ(w->GetDateStyle(), 1); // missing: 1
    AnsiString sep;
    w->GetDateSeparator(sep);
    EXPECT_EQ(sep, "/");
}

TEST_F(ServerCallsTest, LookupRequestHasItsNineteenElementsInOrder) {
    TRecordingObject* lookup = nullptr;
    Variant lookupVariant = MakeRecording(lookup);
    lookup->On("F2GetData", VarArrayOf({VarArrayOf({AnsiString("D001")})}));
    host->On("Com_F2Window", lookupVariant);
    TfrmRovan* w = Ready(); // the job layer asks for the lookup service
    Variant result;
    w->OpenLookup("SAL", "01", VarArrayOf({AnsiString("c")}), "x", true, result);
    ASSERT_EQ(lookup->CallsTo("F2GetData").size(), 1u);
    Variant r = lookup->calls[0].args[0];
    ASSERT_EQ(VarArrayLowBound(r, 1), 0);
    ASSERT_EQ(VarArrayHighBound(r, 1), 18);
    EXPECT_EQ(r[0].AsString(), "SAL");
    EXPECT_EQ(r[1].AsString(), "01");
    EXPECT_EQ(r[2][0].AsString(), "c");
    EXPECT_TRUE(r[3].AsBoolean());
    EXPECT_EQ(r[4].AsString(), "x");
    EXPECT_EQ(r[5].AsString(), "C01");
    EXPECT_EQ(r[6].AsString(), "DB01");
    EXPECT_EQ(r[7].AsInt64(), static_cast<long long>(w->Handle()));
    EXPECT_EQ(r[8].AsInteger(), 1);
    EXPECT_FALSE(r[9].AsBoolean());
    for (int i : {11, 12, 13}) EXPECT_EQ(r[i].AsString(), "");
    EXPECT_TRUE(r[15].AsBoolean());
    EXPECT_TRUE(r[16].AsBoolean());
    EXPECT_EQ(r[17].Object(), hostVariant.Object());
    EXPECT_EQ(r[18].AsString(), "U01");
    EXPECT_EQ(result[0][0].AsString(), "D001");
    lookup->calls.clear(); // the recorded request holds the host object, which holds the lookup double
}

TEST_F(ServerCallsTest, PickDateStartsAtTodayForAShortText) {
    TRecordingObject* lookup = nullptr;
    Variant lookupVariant = MakeRecording(lookup);
    lookup->On("ShowInputDay", Variant(AnsiString(" 20240305 ")));
    host->On("Com_F2Window", lookupVariant);
    TfrmRovan* w = Ready();
    SetClock([] { return EncodeDate(2026, 12, 11); });
    AnsiString result;
    w->PickDate("202403", result);
    SetClock(nullptr);
    Variant asked = lookup->CallsTo("ShowInputDay")[0].args[0];
    EXPECT_FALSE(asked[0].AsBoolean());
    EXPECT_EQ(asked[1].AsString(), "20261211");
    EXPECT_EQ(asked[2].AsString(), "DB01");
    EXPECT_EQ(result, "2024/03/05");
    lookup->On("ShowInputDay", Variant(AnsiString("")));
    w->PickDate("20240101", result);
    EXPECT_EQ(lookup->CallsTo("ShowInputDay")[1].args[0][1].AsString(), "20240101");
    EXPECT_EQ(result, "20240101"); // nothing chosen: the text stays
}

TEST_F(ServerCallsTest, JobSettingsGiveRightsAndDataLimits) {
    TfrmRovan* w = Ready();
    w->LoadJobSettings(VarArrayOf({AnsiString(), AnsiString("a,b,c,YYYYYYNY"), AnsiString(), AnsiString(),
                                   AnsiString("LIM"), VarArrayOf({2, AnsiString("e1"), AnsiString("e2")})}));
    EXPECT_FALSE(w->FLookupRight7);
    EXPECT_TRUE(w->FLookupRight8);
    EXPECT_EQ(w->FDataLimits, u"LIM\x03"
                              u"2\x03"
                              u"e1\x03"
                              u"e2\x03");
    w->LoadJobSettings(VarArrayOf({AnsiString(), AnsiString("a,b,c,YYYYYY"), AnsiString(), AnsiString(),
                                   AnsiString(""), VarArrayOf({0})}));
    EXPECT_FALSE(w->FLookupRight7); // a missing character counts as "N"
    EXPECT_FALSE(w->FLookupRight8);
}

TEST_F(RequestWindowTest, RefusedConnectionFailsInitialisationWithE000006) {
    int port = 0;
    {
        TAppServerListener closed;
        closed.Start("127.0.0.1", 0);
        port = closed.Port();
    }
    // The client settings name a server that refuses the connection.
    installation.WriteClientSettings(
        "[Server Information]\nComputerName=localhost\nServerPort=" + std::to_string(port) + "\n");
    TfrmRovan* w = NewWindow();
    EXPECT_FALSE(w->InitFromHost(HostParams(5)));
    EXPECT_NE(w->FMessageItems.find("E;-1; E;000006; "), AnsiString::npos) << w->FMessageItems;
    EXPECT_FALSE(w->FLocalServer);
    Application->ProcessMessages();
    Forget(w);
}

} // namespace
} // namespace qz::test
