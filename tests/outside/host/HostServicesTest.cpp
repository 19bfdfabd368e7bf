// The reference host's services over the demo company database: the database made once and the same
// every time, the lookup and date windows answered as a person answers them, phrases, and the
// validator's checks and queries on good and bad input.
#include "outside/host/HostServices.h"
#include "doubles/TestInstallation.h"
#include "outside/host/CompanyDb.h"
#include "outside/host/HostDateWindow.h"
#include "outside/host/HostLookupWindow.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/display/Display.h"
#include "platform/variant/Dispatch.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/StdCtrls.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <set>

namespace qz::test {
namespace {

using TTexts = std::vector<std::vector<AnsiString>>;

std::string FileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TTexts Texts(const TRows& rows) {
    TTexts texts;
    for (const TRow& row : rows) {
        texts.emplace_back();
        for (const Variant& field : row) texts.back().push_back(FieldText(field));
    }
    return texts;
}

// The fields of an answered row as the list shows them.
std::vector<AnsiString> RowTexts(const Variant& row) {
    std::vector<AnsiString> texts;
    for (int i = 0; i < row.ElementCount(); ++i) texts.push_back(FieldText(row.ElementAt(i)));
    return texts;
}

// What a lookup window shows.
struct TShown {
    AnsiString Caption;
    std::vector<AnsiString> Columns;
    TTexts Rows;
};

TListView& RowsOf(TCustomForm& form) {
    return *static_cast<TListView*>(ControlByName(form, "lvRows"));
}

TShown Read(TCustomForm& form) {
    TShown shown;
    shown.Caption = form.Caption();
    TListView& list = RowsOf(form);
    for (int i = 0; i < list.Columns()->Count(); ++i) shown.Columns.push_back(list.Column(i)->Caption());
    for (int i = 0; i < list.Items()->Count(); ++i) {
        TListItem* item = list.Items()->Item(i);
        shown.Rows.push_back({item->Caption()});
        for (int j = 0; j < item->SubItems()->Count(); ++j)
            shown.Rows.back().push_back(item->SubItems()->Get(j));
    }
    return shown;
}

void Select(TCustomForm& form, std::initializer_list<int> rows) {
    TListView& list = RowsOf(form);
    Application->Deliver([&] {
        list.ClearSelection();
        for (int row : rows) list.Items()->Item(row)->SetSelected(true);
    });
}

class HostServices : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = HeadlessDisplay();
        display_->ClearModalDrivers();
        display_->ClearUnanswered();
        THostOptions options;
        options.catalogueFile = installation_.Dir() + "/catalogue.ini";
        options.companyDb = DbFile();
        options.verbose = false;
        host_ = CreateHostApplication(options);
        lookup_ = host_.Get("Com_F2Window");
        validator_ = host_.Get("Com_Validator");
    }
    void TearDown() override {
        display_->ClearModalDrivers();
        display_->ClearUnanswered();
        SetClock(nullptr);
    }
    std::string DbFile() const { return installation_.Dir() + "/Data/company.db"; }

    // The lookup request as the request window builds it.
    Variant Lookup(const char* table, const Variant& conditions, bool flag = false) {
        Variant request = VarArrayCreate({0, 18}, varVariant);
        request[0] = table;
        request[1] = "17";
        request[2] = conditions;
        request[3] = flag;
        request[4] = "";
        request[5] = "DEMO";
        request[6] = "DEMODB";
        request[7] = 0;
        request[8] = 1;
        request[9] = false;
        request[10] = 0;
        for (int i = 11; i <= 14; ++i) request[i] = "";
        request[15] = true;
        request[16] = true;
        request[17] = host_;
        request[18] = "ADMIN";
        return lookup_.Call("F2GetData", {request});
    }
    // The lookup of a table, with what its window showed; act answers the window.
    Variant LookupShown(const char* table, const Variant& conditions, TShown& shown,
                        const std::function<void(TCustomForm&)>& act, bool flag = false) {
        display_->QueueModalDriver([&](TCustomForm& form) {
            shown = Read(form);
            act(form);
        });
        return Lookup(table, conditions, flag);
    }
    bool Validate(const char* method, const char* table, const char* kind, const Variant& params,
                  Variant& result) {
        return validator_.Call(method, {table, kind, "DEMODB", params, VarRef(result)}).AsBoolean();
    }
    // Every row of a table, by key.
    TTexts AllRows(const char* table) {
        Variant rows;
        Validate("QueryData", table, "01", Variant(), rows);
        TTexts texts;
        for (int i = 0; i < rows.ElementCount(); ++i) texts.push_back(RowTexts(rows.ElementAt(i)));
        return texts;
    }

    TestInstallation installation_;
    THeadlessDisplay* display_ = nullptr;
    Variant host_, lookup_, validator_;
};

TEST_F(HostServices, TheDatabaseIsMadeOnceTheSameEveryTimeAndReopenedAsItIs) {
    const std::string first = installation_.Dir() + "/one/Data/company.db";
    TTexts documents;
    {
        TCompanyDb db(first);
        for (const TTableInfo* table : TCompanyDb::DocumentTables()) {
            TTexts rows = Texts(db.Select(*table, {}));
            EXPECT_EQ(rows.size(), 40u) << table->Name;
            // Every kind of document has failed transfers and failed undoings among others.
            std::multiset<AnsiString> states;
            for (const auto& row : rows) states.insert(row.at(6));
            EXPECT_GT(states.count("U"), 0u) << table->Name;
            EXPECT_GT(states.count("u"), 0u) << table->Name;
            EXPECT_GT(states.count("Y") + states.count("N"), states.count("U") + states.count("u"))
                << table->Name;
            documents.insert(documents.end(), rows.begin(), rows.end());
        }
        EXPECT_EQ(db.Select(*TCompanyDb::FindTable("QzMA"), {}).size(), 6u);
    }
    const std::string made = FileBytes(first);
    {
        TCompanyDb again(first);
        TTexts rows;
        for (const TTableInfo* table : TCompanyDb::DocumentTables()) {
            TTexts part = Texts(again.Select(*table, {}));
            rows.insert(rows.end(), part.begin(), part.end());
        }
        EXPECT_EQ(rows, documents);
    }
    EXPECT_EQ(FileBytes(first), made);

    TCompanyDb other(installation_.Dir() + "/two/company.db");
    TTexts rows;
    for (const TTableInfo* table : TCompanyDb::DocumentTables()) {
        TTexts part = Texts(other.Select(*table, {}));
        rows.insert(rows.end(), part.begin(), part.end());
    }
    EXPECT_EQ(rows, documents);
}

TEST_F(HostServices, ALookupListsTheDocumentsOfTheStateRangeTypeAndNumberFirst) {
    const TTexts all = AllRows("PURTC");
    struct Case {
        const char *from, *to;
        std::set<AnsiString> states;
    } cases[] = {{"U", "U", {"U"}}, {"u", "u", {"u"}}, {"U", "u", {"U", "u"}}};
    for (const Case& c : cases) {
        TTexts expected;
        for (const auto& row : all)
            if (c.states.count(row.at(6))) expected.push_back(row);
        TShown shown;
        Variant answer = LookupShown("PURTC", VarArrayOf({c.from, c.to}), shown,
                                     [](TCustomForm& form) { ClickControl(form, "btnCancel"); });
        EXPECT_TRUE(VarIsEmpty(answer));
        EXPECT_NE(shown.Caption.find("PURTC"), AnsiString::npos);
        ASSERT_GE(shown.Columns.size(), 2u);
        EXPECT_EQ(shown.Columns[0], GB("单别"));
        EXPECT_EQ(shown.Columns[1], GB("单号"));
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(shown.Rows, expected) << c.from << ".." << c.to;
    }

    // A table without states: the users, whatever an empty condition asks.
    TShown users;
    Variant chosen =
        LookupShown("QzMA", VarArrayOf({""}), users, [](TCustomForm& form) { ClickControl(form, "btnOK"); });
    EXPECT_EQ(users.Rows, AllRows("QzMA"));
    ASSERT_TRUE(VarIsArray(chosen));
    EXPECT_EQ(RowTexts(chosen.ElementAt(0)),
              (std::vector<AnsiString>{"ADMIN", GB("系统管理员"), "13800000001", "admin@demo.example"}));
}

TEST_F(HostServices, TheChosenRowsAreAnsweredAndACancelledLookupAnswersNothing) {
    auto key = [](TCustomForm&, Word k) { Application->PressKey(k); };
    struct Case {
        const char* what;
        std::function<void(TCustomForm&)> act; // nullptr: nobody answers
        std::vector<int> rows;                 // the rows chosen; none for no choice
        bool flag = false;
    } cases[] = {
        {"row 2 and OK",
         [](TCustomForm& f) {
             Select(f, {2});
             ClickControl(f, "btnOK");
         },
         {2}},
        {"Down twice and Enter",
         [&](TCustomForm& f) {
             key(f, VK_DOWN);
             key(f, VK_DOWN);
             key(f, VK_RETURN);
         },
         {2}},
        {"a double click on row 3",
         [](TCustomForm& f) {
             TListView& list = RowsOf(f);
             TRect r = list.ItemRect(3);
             Application->Deliver([&] {
                 list.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(r.Left + 20, (r.Top + r.Bottom) / 2));
             });
         },
         {3}},
        {"rows 1 and 3 of a lookup that lets several be chosen",
         [](TCustomForm& f) {
             Select(f, {1, 3});
             ClickControl(f, "btnOK");
         },
         {1, 3},
         true},
        {"Esc", [&](TCustomForm& f) { key(f, VK_ESCAPE); }, {}},
        {"Cancel", [](TCustomForm& f) { ClickControl(f, "btnCancel"); }, {}},
        {"nobody", nullptr, {}},
    };
    for (const Case& c : cases) {
        TShown shown;
        Variant answer;
        if (c.act)
            answer = LookupShown("PURTC", VarArrayOf({"U", "u"}), shown, c.act, c.flag);
        else
            answer = Lookup("PURTC", VarArrayOf({"U", "u"}));
        if (c.rows.empty()) {
            EXPECT_TRUE(VarIsEmpty(answer)) << c.what;
            continue;
        }
        ASSERT_TRUE(VarIsArray(answer)) << c.what;
        ASSERT_EQ(answer.ElementCount(), static_cast<int>(c.rows.size())) << c.what;
        for (size_t i = 0; i < c.rows.size(); ++i) {
            std::vector<AnsiString> row = RowTexts(answer.ElementAt(static_cast<int>(i)));
            EXPECT_EQ(row, shown.Rows.at(c.rows[i])) << c.what;
            // The whole row of that document, type and number first.
            Variant stored;
            ASSERT_TRUE(Validate("CheckValue", "PURTC", "01", VarArrayOf({row.at(0), row.at(1)}), stored));
            EXPECT_EQ(RowTexts(stored), row) << c.what;
        }
    }
    EXPECT_EQ(display_->Unanswered(), std::vector<AnsiString>{"frmHostLookup (THostLookupWindow)"});
}

TEST_F(HostServices, TheDateWindowStartsAtTheGivenDateAndAnswersTheChosenOne) {
    SetClock([] { return EncodeDate(2026, 12, 11) + 0.5; });
    auto edit = [](TCustomForm& f) -> TEdit& { return *static_cast<TEdit*>(ControlByName(f, "edDate")); };
    auto ok = [](TCustomForm& f) { ClickControl(f, "btnOK"); };
    struct Case {
        const char* start;
        std::function<void(TCustomForm&)> act;
        const char* opened; // the date edDate shows when the window opens
        const char* answer;
    } cases[] = {
        {"20240315", ok, "20240315", "20240315"},
        {"2024031", ok, "20261211", "20261211"},  // no date: today
        {"20240230", ok, "20261211", "20261211"}, // no such day: today
        {"20240315",
         [&](TCustomForm& f) {
             edit(f).SetFocus();
             edit(f).SelectAll();
             Application->TypeText("20250704");
             EXPECT_EQ(static_cast<THostDateWindow&>(f).MonthShown(), "202507");
             Application->PressKey(VK_RETURN);
         },
         "20240315", "20250704"},
        {"20240131",
         [&](TCustomForm& f) {
             ClickControl(f, "btnNextMonth");
             ok(f);
         },
         "20240131", "20240229"},
        {"17530115",
         [&](TCustomForm& f) {
             ClickControl(f, "btnPrevMonth");
             ok(f);
         },
         "17530115", "17530115"},
        {"20240315",
         [&](TCustomForm& f) {
             auto& grid = *static_cast<TStringGrid*>(ControlByName(f, "grDays"));
             for (int row = 1; row < grid.RowCount(); ++row)
                 for (int col = 0; col < grid.ColCount(); ++col)
                     if (grid.Cells(col, row) == "20") {
                         TRect r = grid.CellRect(col, row);
                         Application->ClickAt(&grid, r.Left + 5, r.Top + 5);
                     }
             Application->PressKey(VK_RETURN);
         },
         "20240315", "20240320"},
        {"20240315",
         [&](TCustomForm& f) {
             SetControlText(f, "edDate", "20240230"); // no such day: the window stays open
             ok(f);
         },
         "20240315", ""},
        {"20240315", [](TCustomForm&) { Application->PressKey(VK_ESCAPE); }, "20240315", ""},
    };
    for (const Case& c : cases) {
        AnsiString opened;
        display_->QueueModalDriver([&](TCustomForm& f) {
            opened = edit(f).Text();
            c.act(f);
        });
        Variant answer = lookup_.Call("ShowInputDay", {VarArrayOf({false, c.start, "DEMODB"})});
        EXPECT_EQ(opened, c.opened) << c.start;
        EXPECT_EQ(VarToStr(answer), c.answer) << c.start;
    }
    EXPECT_EQ(display_->Unanswered(), std::vector<AnsiString>{"frmHostDate (THostDateWindow)"});

    // Date styles above 3 caption the month with the year of the Republic of China.
    AnsiString month;
    display_->QueueModalDriver([&](TCustomForm& f) {
        month = static_cast<TLabel*>(ControlByName(f, "lblMonth"))->Caption();
        Application->PressKey(VK_ESCAPE);
    });
    lookup_.Call("ShowInputDay", {VarArrayOf({true, "20240315", "DEMODB"})});
    EXPECT_NE(month.find("113"), AnsiString::npos);
}

TEST_F(HostServices, APhraseIsChosenFromTheUsersAndTheSharedOnes) {
    struct Case {
        const char* user;
        size_t rows;
        int pick; // -1: cancelled
        const char* phrase;
    } cases[] = {{"ADMIN", 5, 4, "系统管理员复核"}, {"DS001", 4, 0, "请尽快处理"}, {"DS001", 4, -1, ""}};
    for (const Case& c : cases) {
        TShown shown;
        display_->QueueModalDriver([&](TCustomForm& f) {
            shown = Read(f);
            if (c.pick < 0) return ClickControl(f, "btnCancel");
            Select(f, {c.pick});
            ClickControl(f, "btnOK");
        });
        Variant answer = lookup_.Call("GetPhrase", {c.user, "DEMODB", 0});
        EXPECT_EQ(shown.Rows.size(), c.rows) << c.user;
        EXPECT_EQ(VarToStr(answer), GB(c.phrase)) << c.user;
    }
}

TEST_F(HostServices, ChecksAndQueriesAnswerTheRowsOfTheKeyOrTheStateRange) {
    Variant program;
    ASSERT_TRUE(Validate("CheckValue", "ADMMB", "01", VarArrayOf({"ROVANC"}), program));
    EXPECT_EQ(VarToStr(program.ElementAt(0)), GB("转单失败报表"));
    EXPECT_EQ(VarToStr(program.ElementAt(4)), "N");
    EXPECT_EQ(VarToStr(program.ElementAt(7)), "Transfer failure report");

    Variant failed;
    ASSERT_TRUE(Validate("QueryData", "PURTC", "02", VarArrayOf({"U", "U"}), failed));
    ASSERT_GT(failed.ElementCount(), 0);
    for (int i = 0; i < failed.ElementCount(); ++i)
        EXPECT_EQ(VarToStr(failed.ElementAt(i).ElementAt(6)), "U");
    Variant document;
    Variant first = failed.ElementAt(0);
    ASSERT_TRUE(Validate("CheckValue", "purtc", "01", VarArrayOf({first.ElementAt(0), first.ElementAt(1)}),
                         document));
    EXPECT_EQ(RowTexts(document), RowTexts(first));

    Variant ofType;
    ASSERT_TRUE(Validate("QueryData", "COPTC", "01", VarArrayOf({"2201"}), ofType));
    EXPECT_GT(ofType.ElementCount(), 0);
    EXPECT_LT(ofType.ElementCount(), 40);
    for (int i = 0; i < ofType.ElementCount(); ++i)
        EXPECT_EQ(VarToStr(ofType.ElementAt(i).ElementAt(0)), "2201");

    // Keys that are not there, quotes and all.
    struct Missing {
        const char* method;
        const char* table;
        Variant params;
    } missing[] = {{"CheckValue", "ADMMB", VarArrayOf({"NOSUCH"})},
                   {"CheckValue", "PURTC", VarArrayOf({"3301", "' OR '1'='1"})},
                   {"QueryData", "COPTC", VarArrayOf({"9999"})}};
    for (const Missing& m : missing) {
        Variant result = "untouched";
        EXPECT_FALSE(Validate(m.method, m.table, "01", m.params, result)) << m.method << " " << m.table;
        EXPECT_TRUE(VarIsEmpty(result)) << m.method << " " << m.table;
    }
}

TEST_F(HostServices, RequestsTheDatabaseCannotAnswerRaise) {
    struct Case {
        const char *method, *table, *kind;
        Variant params;
    } cases[] = {
        {"CheckValue", "NOSUCH", "01", VarArrayOf({"x"})},         // no such table
        {"CheckValue", "ADMMB", "99", VarArrayOf({"ROVANC"})},     // no such kind
        {"CheckValue", "PURTC", "01", VarArrayOf({"3301"})},       // half a key
        {"QueryData", "PURTC", "01", VarArrayOf({"a", "b", "c"})}, // more than the key
        {"QueryData", "PURTC", "02", VarArrayOf({"U"})},           // half a range
        {"QueryData", "ADMMB", "02", VarArrayOf({"U", "u"})},      // no states
    };
    for (const Case& c : cases) {
        Variant result;
        EXPECT_THROW(Validate(c.method, c.table, c.kind, c.params, result), std::exception)
            << c.method << " " << c.table << " " << c.kind;
    }
    EXPECT_THROW(Lookup("NOSUCH", VarArrayOf({"U", "u"})), std::exception);
    EXPECT_THROW(Lookup("PURTC", VarArrayOf({"U"})), std::exception);
    EXPECT_TRUE(display_->Unanswered().empty()); // no window for a request that cannot be answered
}

TEST(CompanyDbLocation, TheEnvironmentTheInstallationOrTheHostsDataFolder) {
    TestInstallation installation;
    const char* saved = std::getenv("QZ_REGISTRY");
    std::string previous = saved ? saved : "";
    struct Case {
        const char* companyDb; // QZ_COMPANY_DB
        std::string registry;
        std::string expected;
    } cases[] = {
        {"/srv/qz/company.db", installation.Registry(), "/srv/qz/company.db"},
        {"", installation.Registry(), installation.Dir() + "/Data/company.db"},
        {"", installation.Dir() + "/no-registry.ini", "/opt/qz/share/qz/Data/company.db"},
    };
    for (const Case& c : cases) {
        setenv("QZ_COMPANY_DB", c.companyDb, 1);
        setenv("QZ_REGISTRY", c.registry.c_str(), 1);
        EXPECT_EQ(CompanyDbLocation("/opt/qz/share/qz/"), c.expected) << c.registry;
    }
    unsetenv("QZ_COMPANY_DB");
    if (saved)
        setenv("QZ_REGISTRY", previous.c_str(), 1);
    else
        unsetenv("QZ_REGISTRY");
}

} // namespace
} // namespace qz::test
