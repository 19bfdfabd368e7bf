// The module's server object in-process: plans per user and program, and what it answers to input of
// the wrong shape.
#include "outside/appserver/TinsleyServer.h"
#include "outside/appserver/TinsleyStore.h"
#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qz;

namespace {

class TinsleyServerTest : public ::testing::Test {
protected:
    TinsleyServerTest() : db(CreateTempFile("tinsley")), server(CreateTinsleyServer(db)) {}
    ~TinsleyServerTest() override {
        server.Clear();
        std::remove(db.c_str());
    }

    AnsiString Insert(const AnsiString& name, const AnsiString& user, const AnsiString& program,
                      const AnsiString& values = "v\r\n", bool replace = false) {
        return server
            .Call("InsertConTable",
                  {VarArrayOf({name, user, "20240105", program, "edCode.text;", values, replace})})
            .AsString();
    }

    // [name, create date, values] of the plans the provider serves for user and program.
    std::vector<std::vector<AnsiString>> Plans(const AnsiString& user, const AnsiString& program) {
        server.Call("LoadTable", {VarArrayOf({user, program})});
        Variant packet = server.Call("AS_GetRecords", {"pvdConSave"});
        std::vector<std::vector<AnsiString>> plans;
        Variant rows = packet[1];
        for (int i = 0; i < rows.ElementCount(); ++i) {
            const Variant& r = rows.ElementAt(i);
            EXPECT_EQ(r[1].AsString(), user);
            EXPECT_EQ(r[2].AsString(), program);
            plans.push_back({r[0].AsString(), r[3].AsString(), r[5].AsString()});
        }
        return plans;
    }

    AnsiString db;
    Variant server;
};

using Rows = std::vector<std::vector<AnsiString>>;

TEST_F(TinsleyServerTest, PlansAreSavedAndListedPerUserAndProgram) {
    EXPECT_EQ(Plans("U1", "ROVANC"), Rows{}); // nothing yet
    EXPECT_EQ(Insert("b", "U1", "ROVANC"), "");
    EXPECT_EQ(Insert(GB("月报"), "U1", "ROVANC", GB("值") + "\r\n"), "");
    EXPECT_EQ(Insert("a", "U1", "OTHER"), "");
    EXPECT_EQ(Insert("c", "U2", "ROVANC"), "");

    server.Call("LoadTable", {VarArrayOf({"U1", "ROVANC"})});
    Variant packet = server.Call("AS_GetRecords", {"pvdConSave"});
    Variant fields = packet[0];
    ASSERT_EQ(fields.ElementCount(), 6);
    const char* names[] = {"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION", "VCONDITION"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(fields[i].AsString(), names[i]);
    EXPECT_EQ(packet[1][0][4].AsString(), "edCode.text;");

    EXPECT_EQ(Plans("U1", "ROVANC"),
              (Rows{{"b", "20240105", "v\r\n"}, {GB("月报"), "20240105", GB("值") + "\r\n"}}));
    EXPECT_EQ(Plans("U1", "OTHER"), (Rows{{"a", "20240105", "v\r\n"}}));
    EXPECT_EQ(Plans("U3", "ROVANC"), Rows{});

    // Another object on the same database sees the same plans.
    Variant second = Variant(CreateTinsleyServer(db));
    second.Call("LoadTable", {VarArrayOf({"U2", "ROVANC"})});
    EXPECT_EQ(second.Call("AS_GetRecords", {"pvdConSave"})[1][0][0].AsString(), "c");
    EXPECT_THROW(server.Call("AS_GetRecords", {"pvdOther"}), EOleError);
}

TEST_F(TinsleyServerTest, ADuplicateNameIsRefusedUnlessReplacing) {
    ASSERT_EQ(Insert("p", "U1", "ROVANC", "old\r\n"), "");
    AnsiString refused = Insert("p", "U1", "ROVANC", "new\r\n");
    EXPECT_NE(refused.find("already exists"), std::string::npos) << refused;
    EXPECT_EQ(server.Call("ErrorDescript").AsString(), refused);
    EXPECT_EQ(Plans("U1", "ROVANC"), (Rows{{"p", "20240105", "old\r\n"}}));

    EXPECT_EQ(Insert("p", "U1", "ROVANC", "new\r\n", true), "");
    EXPECT_EQ(Plans("U1", "ROVANC"), (Rows{{"p", "20240105", "new\r\n"}}));
    EXPECT_EQ(Insert("p", "U2", "ROVANC"), ""); // the same name of another user
}

TEST_F(TinsleyServerTest, PlanNamesAreCheckedOnSaveAndRename) {
    AnsiString tenChinese = GB("一二三四五六七八九十"); // 20 bytes
    ASSERT_EQ(tenChinese.size(), 20u);
    struct Case {
        AnsiString name;
        bool accepted;
    } cases[] = {
        {tenChinese, true}, {AnsiString(20, 'x'), true},         {AnsiString(21, 'x'), false}, {"   ", false},
        {"", false},        {"a'); DROP TABLE PLANS;--", false}, // too long, and never SQL
        {"it's", true},
    };
    ASSERT_EQ(Insert("base", "U1", "P"), "");
    for (const Case& c : cases) {
        EXPECT_EQ(Insert(c.name, "U1", "P").empty(), c.accepted) << c.name;
        AnsiString renamed =
            server.Call("ChangeConName", {VarArrayOf({"base", "U1", "P"}), VarArrayOf({c.name, "U1", "P"})})
                .AsString();
        if (c.accepted)
            EXPECT_NE(renamed.find("already exists"), std::string::npos) << c.name;
        else
            EXPECT_FALSE(renamed.empty()) << c.name;
    }
    EXPECT_EQ(Plans("U1", "P").size(), 4u);
}

TEST_F(TinsleyServerTest, PlansAreRenamedAndDeleted) {
    ASSERT_EQ(Insert("one", "U1", "P"), "");
    ASSERT_EQ(Insert("two", "U1", "P"), "");
    auto rename = [&](const AnsiString& from, const AnsiString& to) {
        return server.Call("ChangeConName", {VarArrayOf({from, "U1", "P"}), VarArrayOf({to, "U1", "P"})})
            .AsString();
    };
    EXPECT_EQ(rename("one", "first"), "");
    EXPECT_NE(rename("two", "first"), "");  // the name of another plan
    EXPECT_EQ(rename("two", "two"), "");    // the same name: nothing to do
    EXPECT_NE(rename("none", "other"), ""); // no such plan
    EXPECT_EQ(Plans("U1", "P"), (Rows{{"first", "20240105", "v\r\n"}, {"two", "20240105", "v\r\n"}}));

    EXPECT_EQ(server.Call("DeleteConTable", {VarArrayOf({"first", "U1", "P"})}).AsString(), "");
    EXPECT_NE(server.Call("DeleteConTable", {VarArrayOf({"first", "U1", "P"})}).AsString(), "");
    EXPECT_NE(server.Call("DeleteConTable", {VarArrayOf({"two", "U2", "P"})}).AsString(), ""); // not U2's
    EXPECT_EQ(Plans("U1", "P"), (Rows{{"two", "20240105", "v\r\n"}}));
}

TEST_F(TinsleyServerTest, InputOfTheWrongShapeIsAnsweredWithAReason) {
    struct Case {
        const char* method;
        std::vector<Variant> args;
    } textAnswers[] = {
        {"InsertConTable", {VarArrayOf({"p", "U1", "20240105", "P", "x;", "v"})}},
        {"InsertConTable", {Variant("p")}},
        {"InsertConTable", {VarArrayOf({"p", "U1", "20240105", "P", VarArrayOf({1}), "v", false})}},
        {"InsertConTable", {VarArrayOf({"p", "U1", "20240105", "P", "x;", "v", "maybe"})}},
        {"DeleteConTable", {VarArrayOf({"p", "U1"})}},
        {"ChangeConName", {VarArrayOf({"p", "U1", "P"}), Variant("q")}},
        {"InsertConTable", {}},
    };
    for (const Case& c : textAnswers) {
        std::vector<DispArg> args(c.args.begin(), c.args.end());
        AnsiString answer = server.Call(c.method, args).AsString();
        EXPECT_FALSE(answer.empty()) << c.method;
        EXPECT_EQ(server.Call("ErrorDescript").AsString(), answer);
    }
    EXPECT_EQ(Plans("U1", "P"), Rows{}); // nothing stored

    EXPECT_THROW(server.Call("LoadTable", {Variant("U1")}), EOleError);
    EXPECT_THROW(server.Call("GetPower", {VarArrayOf({"db", "U1"})}), EOleError);
}

TEST(TinsleyStore, AnUnopenableDatabaseRaisesWithTheFileName) {
    AnsiString target = CreateTempFile("tinsley");
    AnsiString link = target + ".link";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    for (const AnsiString& file : {AnsiString("/nonexistent-folder/x/tinsley.db"), link}) {
        try {
            TinsleyStore store(file);
            ADD_FAILURE() << "opened " << file;
        } catch (const EOleError& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
        }
    }
    std::remove(link.c_str());
    std::remove(target.c_str());
}

} // namespace
