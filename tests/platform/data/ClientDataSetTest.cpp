#include "platform/data/ClientDataSet.h"

#include "platform/core/Exceptions.h"
#include "platform/data/SocketConnection.h"
#include "platform/variant/Dispatch.h"
#include "platform/vcl/FormReader.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

// A server object serving one provider's packet, which the test can change between reads.
class PacketServer : public TAutoObject {
public:
    explicit PacketServer(Variant packet) : packet_(std::move(packet)) {
        RegisterMethod("AS_GetRecords", [this](DispArgs& a) {
            providers.push_back(a[0].AsString());
            return packet_;
        });
    }
    void SetPacket(Variant packet) { packet_ = std::move(packet); }
    std::vector<AnsiString> providers;

private:
    Variant packet_;
};

Variant Row(AnsiString name, AnsiString user, int count) {
    return VarArrayOf({name, user, count});
}

Variant Packet(std::initializer_list<Variant> rows) {
    return VarArrayOf({VarArrayOf({"NAME", "USER", "COUNT"}), VarArrayOf(std::vector<Variant>(rows))});
}

class ClientDataSetTest : public ::testing::Test {
protected:
    ClientDataSetTest() {
        server = new PacketServer(
            Packet({Row("b", "u1", 2), Row("a", "u2", 1), Row("c", "u1", 3), Row("a", "u1", 4)}));
        serverRef = Variant(server);
        connection.SetAppServer(serverRef);
        ds.SetRemoteServer(&connection);
        ds.ProviderName = "pvdTest";
    }

    std::vector<AnsiString> Column(const char* field) {
        std::vector<AnsiString> values;
        for (ds.First(); !ds.Eof(); ds.Next()) values.push_back(ds.FieldByName(field)->AsString());
        return values;
    }

    PacketServer* server;
    Variant serverRef;
    TSocketConnection connection;
    TClientDataSet ds;
};

using Names = std::vector<AnsiString>;

TEST_F(ClientDataSetTest, ReadsTheProvidersRecordsInOrder) {
    ds.Open();
    EXPECT_EQ(server->providers, Names{"pvdTest"});
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecordCount(), 4);
    ASSERT_EQ(ds.FieldCount(), 3);
    EXPECT_EQ(ds.Fields(2)->FieldName(), "COUNT");
    EXPECT_EQ(ds.FieldByName("count")->DisplayLabel(), "COUNT");
    EXPECT_EQ(Column("NAME"), (Names{"b", "a", "c", "a"}));
    EXPECT_TRUE(ds.Eof());
    ds.First();
    EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), 2);
    EXPECT_EQ(ds.FieldByName("COUNT")->AsVariant().Type(), varInteger);
    EXPECT_THROW(ds.FieldByName("MISSING"), EDatabaseError);
    ds.Last();
    EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), 4);
    ds.Close();
    EXPECT_FALSE(ds.Active());
    EXPECT_THROW(ds.FieldByName("NAME")->AsString(), EDatabaseError);
}

TEST_F(ClientDataSetTest, AnEmptyProviderGivesEofAndNullFields) {
    server->SetPacket(Packet({}));
    ds.Open();
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.FieldByName("NAME")->IsNull());
    EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), 0);
    EXPECT_FALSE(ds.Locate("NAME", "a"));
    EXPECT_THROW(ds.Edit(), EDatabaseError);
}

TEST_F(ClientDataSetTest, IndexFieldNamesOrdersByEveryFieldOfTheList) {
    ds.SetIndexFieldNames("NAME;USER");
    ds.Open();
    EXPECT_EQ(Column("USER"), (Names{"u1", "u2", "u1", "u1"}));
    EXPECT_EQ(Column("COUNT"), (Names{"4", "1", "2", "3"}));
    ds.SetIndexFieldNames("COUNT");
    EXPECT_EQ(Column("NAME"), (Names{"a", "b", "c", "a"}));
    EXPECT_THROW(ds.SetIndexFieldNames("NOPE"), EDatabaseError);
}

TEST_F(ClientDataSetTest, LocateFindsTheRecordOrLeavesTheCursor) {
    ds.Open();
    ds.Next(); // on "a", "u2"
    struct Case {
        const char* fields;
        Variant values;
        TLocateOptions options;
        int found; // COUNT of the record found, 0 when none
    } cases[] = {
        {"NAME;USER", VarArrayOf({"a", "u1"}), {}, 4},
        {"NAME ; USER", VarArrayOf({"c", "u1"}), {}, 3},
        {"NAME", Variant("b"), {}, 2},
        {"NAME;USER", VarArrayOf({"A", "U1"}), {}, 0},
        {"NAME;USER", VarArrayOf({"A", "U1"}), {loCaseInsensitive}, 4},
        {"USER", Variant("u"), {}, 0},
        {"USER", Variant("u"), {loPartialKey}, 2},
        {"COUNT", Variant("3"), {}, 3},
        {"COUNT", Variant(9), {}, 0},
    };
    for (const Case& c : cases) {
        ds.First();
        ds.Next();
        EXPECT_EQ(ds.Locate(c.fields, c.values, c.options), c.found != 0) << c.fields;
        EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), c.found ? c.found : 1) << c.fields;
    }
    EXPECT_THROW(ds.Locate("NAME;USER", Variant("a")), EDatabaseError);
    EXPECT_THROW(ds.Locate("NAME;USER", VarArrayOf({"a", "u1", "x"})), EDatabaseError);
    EXPECT_THROW(ds.Locate("NAME;NOPE", VarArrayOf({"a", "u1"})), EDatabaseError);
}

TEST_F(ClientDataSetTest, EditAndPostChangeOnlyTheLocalCopyAndKeepItSorted) {
    ds.SetIndexFieldNames("NAME");
    ds.Open();
    ASSERT_TRUE(ds.Locate("NAME;USER", VarArrayOf({"b", "u1"})));
    EXPECT_THROW(ds.FieldByName("NAME")->SetAsString("x"), EDatabaseError);
    ds.Edit();
    ds.FieldByName("NAME")->SetAsString("z");
    EXPECT_EQ(ds.FieldByName("NAME")->AsString(), "z");
    ds.Post();
    EXPECT_EQ(ds.State(), dsBrowse);
    EXPECT_EQ(ds.FieldByName("USER")->AsString(), "u1"); // still on the edited record
    EXPECT_EQ(ds.RecNo(), 4);
    EXPECT_EQ(Column("NAME"), (Names{"a", "a", "c", "z"}));

    ds.First();
    ds.Edit();
    ds.FieldByName("COUNT")->SetAsInteger(7);
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), 1);

    ds.Edit();
    ds.FieldByName("COUNT")->SetAsInteger(8);
    ds.Next(); // moving posts
    ds.First();
    EXPECT_EQ(ds.FieldByName("COUNT")->AsInteger(), 8);

    ds.Close();
    ds.Open();
    EXPECT_EQ(Column("NAME"), (Names{"a", "a", "b", "c"})); // the provider is unchanged
}

TEST_F(ClientDataSetTest, TextEventsAndLabelsStayWithTheFieldAcrossReopen) {
    ds.Open();
    TField* name = ds.FieldByName("NAME");
    name->SetDisplayLabel("Plan");
    name->OnGetText = [](TField* f, AnsiString& text, bool display) {
        text = (display ? "[" : "(") + text + (display ? "]" : ")");
    };
    AnsiString setText;
    name->OnSetText = [&setText](TField*, const AnsiString& text) { setText = text; };
    EXPECT_EQ(name->AsString(), "b");
    EXPECT_EQ(name->Text(), "(b)");
    EXPECT_EQ(name->DisplayText(), "[b]");
    ds.Edit();
    name->SetText("q");
    EXPECT_EQ(setText, "q");
    EXPECT_EQ(name->AsString(), "b");
    ds.Cancel();

    ds.Close();
    server->SetPacket(VarArrayOf({VarArrayOf({"name"}), VarArrayOf({VarArrayOf({"k"})})}));
    ds.Open();
    ASSERT_EQ(ds.FieldCount(), 1);
    EXPECT_EQ(ds.FieldByName("NAME"), name);
    EXPECT_EQ(name->DisplayLabel(), "Plan");
    EXPECT_EQ(name->DisplayText(), "[k]");
    EXPECT_EQ(ds.FindField("COUNT"), nullptr);
}

TEST_F(ClientDataSetTest, FieldTypesComeFromTheFirstValuesAndStayAcrossReopen) {
    AnsiString longText(256, 'x');
    server->SetPacket(VarArrayOf(
        {VarArrayOf({"TEXT", "MEMO", "INT", "FLOAT", "FLAG", "WHEN", "NONE"}),
         VarArrayOf({VarArrayOf({Null(), "short", Null(), 1.5, true, VarFromDateTime(46000), Null()}),
                     VarArrayOf({"a", longText, 7, 2.5, false, VarFromDateTime(46001), Null()})})}));
    ds.Open();
    const std::pair<const char*, TFieldType> expected[] = {
        {"TEXT", ftString},  {"MEMO", ftMemo},     {"INT", ftInteger},  {"FLOAT", ftFloat},
        {"FLAG", ftBoolean}, {"WHEN", ftDateTime}, {"NONE", ftUnknown},
    };
    for (const auto& [name, type] : expected) EXPECT_EQ(ds.FieldByName(name)->DataType(), type) << name;
    // A field read again keeps its type; one still unknown takes it from the new values.
    ds.Close();
    server->SetPacket(VarArrayOf({VarArrayOf({"MEMO", "NONE"}), VarArrayOf({VarArrayOf({"short", 3})})}));
    ds.Open();
    EXPECT_EQ(ds.FieldByName("MEMO")->DataType(), ftMemo);
    EXPECT_EQ(ds.FieldByName("NONE")->DataType(), ftInteger);
}

TEST_F(ClientDataSetTest, MalformedPacketsLeaveTheDataSetClosed) {
    struct Case {
        const char* what;
        Variant packet;
    } cases[] = {
        {"not an array", Variant("rows")},
        {"one part", VarArrayOf({VarArrayOf({"A"})})},
        {"names not a list", VarArrayOf({Variant("A"), VarArrayOf({})})},
        {"rows not a list", VarArrayOf({VarArrayOf({"A"}), Variant(1)})},
        {"a row not a list", VarArrayOf({VarArrayOf({"A"}), VarArrayOf({Variant(1)})})},
        {"a short row", VarArrayOf({VarArrayOf({"A", "B"}), VarArrayOf({VarArrayOf({1})})})},
        {"a number as name", VarArrayOf({VarArrayOf({1}), VarArrayOf({})})},
        {"a name twice", VarArrayOf({VarArrayOf({"A", "a"}), VarArrayOf({})})},
    };
    for (const Case& c : cases) {
        server->SetPacket(c.packet);
        EXPECT_THROW(ds.Open(), EDatabaseError) << c.what;
        EXPECT_FALSE(ds.Active()) << c.what;
    }
}

TEST_F(ClientDataSetTest, OpeningNeedsARemoteServerAndAProvider) {
    TClientDataSet noServer;
    noServer.ProviderName = "p";
    EXPECT_THROW(noServer.Open(), EDatabaseError);
    ds.ProviderName = "";
    EXPECT_THROW(ds.Open(), EDatabaseError);
    {
        TSocketConnection other;
        other.SetAppServer(serverRef);
        ds.SetRemoteServer(&other);
    }
    EXPECT_EQ(ds.RemoteServer(), nullptr); // cleared when the connection went
}

TEST_F(ClientDataSetTest, ActiveReadWhileLoadingOpensOnLoaded) {
    ds.BeginLoading();
    ds.SetActive(true);
    EXPECT_FALSE(ds.Active());
    EXPECT_TRUE(server->providers.empty());
    ds.Loaded();
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecordCount(), 4);
}

TEST(ClientDataSetClass, IsReadFromAFormResource) {
    TComponent root(nullptr);
    ReadComponentResText(&root, R"(
object dm: TComponent
  object MainMidas: TSocketConnection
    ServerName = 'TinsleyS.dmTinsley'
  end
  object ClientDataSet1: TClientDataSet
    RemoteServer = MainMidas
    ProviderName = 'pvdConSave'
    IndexFieldNames = 'NCONDITION;CREATOR;PROGRAMME'
  end
end)");
    auto* ds = dynamic_cast<TClientDataSet*>(root.FindComponent("ClientDataSet1"));
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->RemoteServer(), root.FindComponent("MainMidas"));
    EXPECT_EQ(ds->ProviderName, "pvdConSave");
    EXPECT_EQ(ds->IndexFieldNames(), "NCONDITION;CREATOR;PROGRAMME");
    EXPECT_FALSE(ds->Active());
}

} // namespace
