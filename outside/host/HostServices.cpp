#include "outside/host/HostServices.h"

#include "outside/host/CompanyDb.h"
#include "outside/host/HostDateWindow.h"
#include "outside/host/HostLookupWindow.h"
#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/IniFiles.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <cstdio>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace qz {

namespace {

// Texts of the demo company, written once in UTF-8.
AnsiString Text(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

class TCounterService : public TAutoObject {
public:
    TCounterService() {
        // The company's name, its date style and separator, the date types of its reports (SYS026 "2": no
        // ROC calendar) and its web reports (SYS181).
        RegisterMethod("GetSysInfo", [](DispArgs&) {
            const std::pair<const char*, AnsiString> settings[] = {{"Qz002", Text("演示贸易有限公司")},
                                                                   {"Sys001", "1"},
                                                                   {"Sys002", "/"},
                                                                   {"SYS026", "2"},
                                                                   {"SYS181", "Y"}};
            const int count = static_cast<int>(std::size(settings));
            Variant answer = VarArrayCreate({0, 1, 0, count - 1}, varVariant);
            for (int i = 0; i < count; ++i) {
                answer.PutElement({0, i}, AnsiString(settings[i].first));
                answer.PutElement({1, i}, settings[i].second);
            }
            return answer;
        });
        RegisterMethod("GetCounter", [](DispArgs& a) { return Variant(a[0].AsString() + "-0001"); });
    }
};

// The company database, opened at its first use and shared by the services.
class TCompanyDbLink {
public:
    explicit TCompanyDbLink(AnsiString fileName) : fileName_(std::move(fileName)) {}
    TCompanyDb& Db() {
        if (!db_) db_ = std::make_unique<TCompanyDb>(fileName_);
        return *db_;
    }

private:
    AnsiString fileName_;
    std::unique_ptr<TCompanyDb> db_;
};

using TDbLink = std::shared_ptr<TCompanyDbLink>;

const TTableInfo& KnownTable(const Variant& name) {
    const TTableInfo* table = TCompanyDb::FindTable(VarToStr(name));
    if (!table) throw EOleError("The company database has no table " + VarToStr(name));
    return *table;
}

// The values of a parameter Variant: the elements of an array, one value, or none for Empty or Null.
std::vector<AnsiString> Values(const Variant& params) {
    std::vector<AnsiString> values;
    if (VarIsArray(params))
        for (int i = 0; i < params.ElementCount(); ++i) values.push_back(VarToStr(params.ElementAt(i)));
    else if (!VarIsEmpty(params) && !VarIsNull(params))
        values.push_back(VarToStr(params));
    return values;
}

Variant RowsOf(const TRows& rows) {
    std::vector<Variant> list;
    for (const TRow& row : rows) list.push_back(VarArrayOf(row));
    return VarArrayOf(list);
}

// Table checks and queries over the company database (any database name reads it). Kind "01" goes by
// the table's key: CheckValue takes the whole key and answers its row (the columns of the table's check
// of that kind, which may also be another); QueryData takes leading key values (none for every row) and
// answers an array of rows. Kind "02" of a document table (QueryData) takes a transfer-state range
// [from, to]. Nothing found answers false and Empty; an unknown table or kind, or a wrong number of
// values, raises.
class TValidatorService : public TAutoObject {
public:
    explicit TValidatorService(TDbLink link) : link_(std::move(link)) {
        RegisterProperty(
            "BaseLimited", [this] { return limits_; }, [this](const Variant& v) { limits_ = v; });
        RegisterMethod("QueryData", [this](DispArgs& a) { return Answer(a[4], Query(a[0], a[1], a[3])); });
        RegisterMethod("CheckValue", [this](DispArgs& a) { return Answer(a[4], Check(a[0], a[1], a[3])); });
    }

private:
    static Variant Answer(Variant& result, const Variant& found) {
        result = found;
        return Variant(!VarIsEmpty(found));
    }

    Variant Query(const Variant& tableName, const Variant& kind, const Variant& params) {
        const TTableInfo& table = KnownTable(tableName);
        std::vector<AnsiString> values = Values(params);
        TRows rows;
        if (VarToStr(kind) == "01") {
            rows = link_->Db().Select(table, values);
        } else if (VarToStr(kind) == "02" && table.StateColumn) {
            if (values.size() != 2) throw EOleError("A transfer-state range takes two values, from and to");
            rows = link_->Db().SelectByState(table, values[0], values[1]);
        } else {
            throw EOleError("No query of kind " + VarToStr(kind) + " on " + table.Name);
        }
        return rows.empty() ? Variant() : RowsOf(rows);
    }

    Variant Check(const Variant& tableName, const Variant& kind, const Variant& params) {
        const TTableInfo& table = KnownTable(tableName);
        std::vector<const char*> columns = TCompanyDb::CheckColumns(table, VarToStr(kind));
        if (columns.empty()) throw EOleError("No check of kind " + VarToStr(kind) + " on " + table.Name);
        std::vector<AnsiString> key = Values(params);
        if (key.size() != table.Keys.size())
            throw EOleError(AnsiString("The key of ") + table.Name + " has " + IntToStr(table.Keys.size()) +
                            " values, not " + IntToStr(key.size()));
        TRows rows = link_->Db().Select(table, key, columns);
        return rows.empty() ? Variant() : VarArrayOf(rows.front());
    }

    TDbLink link_;
    Variant limits_;
};

// Lookup windows over the company database. F2GetData shows the rows of the request's table: for a
// document table those whose transfer state lies in the range of the conditions [from, to] (every row
// without conditions), for another table those whose key starts with the non-empty leading condition
// values; the request's flag lets several rows be chosen. It answers the chosen rows, or Empty.
class TLookupService : public TAutoObject {
public:
    explicit TLookupService(TDbLink link) : link_(std::move(link)) {
        RegisterMethod("F2GetData", [this](DispArgs& a) { return Lookup(a[0]); });
        RegisterMethod("GetPhrase", [this](DispArgs& a) { return PickPhrase(VarToStr(a[0])); });
        RegisterMethod("ShowInputDay", [](DispArgs& a) { return Variant(PickDay(a[0])); });
    }

private:
    Variant Lookup(const Variant& request) {
        if (!VarIsArray(request) || request.ElementCount() < 4)
            throw EOleError("F2GetData takes the lookup request array");
        const TTableInfo& table = KnownTable(request.ElementAt(0));
        std::vector<AnsiString> conditions = Values(request.ElementAt(2));
        TRows rows;
        if (table.StateColumn && !conditions.empty()) {
            if (conditions.size() != 2)
                throw EOleError(AnsiString("The lookup of ") + table.Name + " takes a transfer-state range");
            rows = link_->Db().SelectByState(table, conditions[0], conditions[1]);
        } else {
            while (!conditions.empty() && conditions.back().empty()) conditions.pop_back();
            if (conditions.size() > table.Keys.size()) conditions.resize(table.Keys.size());
            rows = link_->Db().Select(table, conditions);
        }
        // The caption tells what was asked: table, kind and conditions.
        AnsiString asked;
        for (const AnsiString& c : Values(request.ElementAt(2))) asked += (asked.empty() ? "" : ",") + c;
        AnsiString caption = AnsiString(table.Name) + " " + VarToStr(request.ElementAt(1)) + " [" + asked +
                             "] " + GB(table.Caption);
        return ShowLookupWindow(caption, table.Columns, std::move(rows), request.ElementAt(3).AsBoolean());
    }

    // The user's phrases in a lookup window: the chosen phrase, or "".
    Variant PickPhrase(const AnsiString& userCode) {
        const TTableInfo& table = *TCompanyDb::FindTable("PHRASES");
        Variant chosen =
            ShowLookupWindow(GB(table.Caption), table.Columns, link_->Db().Phrases(userCode), false);
        return VarIsArray(chosen) ? Variant(VarToStr(chosen.ElementAt(0).ElementAt(1)))
                                  : Variant(AnsiString());
    }

    // [date style above 3, start date YYYYMMDD, database name]: the chosen date YYYYMMDD, or "".
    static AnsiString PickDay(const Variant& args) {
        bool rocYears = VarIsArray(args) && args.ElementCount() > 0 && args.ElementAt(0).AsBoolean();
        AnsiString start = VarIsArray(args) && args.ElementCount() > 1 ? VarToStr(args.ElementAt(1)) : "";
        return ShowDateWindow(start, rocYears);
    }

    TDbLink link_;
};

class THostApplication : public TAutoObject {
public:
    explicit THostApplication(const THostOptions& options) : catalogue_(options.catalogueFile) {
        auto link = std::make_shared<TCompanyDbLink>(
            !options.companyDb.empty() ? options.companyDb
                                       : CompanyDbLocation(ExtractFilePath(options.catalogueFile)));
        counter_ = Variant(static_cast<IDispatchObject*>(new TCounterService));
        validator_ = Variant(static_cast<IDispatchObject*>(new TValidatorService(link)));
        lookup_ = Variant(static_cast<IDispatchObject*>(new TLookupService(link)));
        RegisterProperty("Com_Counter", [this] { return counter_; });
        RegisterProperty("Com_Validator", [this] { return validator_; });
        RegisterProperty("Com_F2Window", [this] { return lookup_; });
        RegisterMethod("GetMessage", [this](DispArgs& a) {
            AnsiString kind = a[0].AsString(), id = a[1].AsString();
            AnsiString text = catalogue_.ReadString(kind, id, "");
            if (text.empty()) return Variant(Text("未定义的讯息") + " " + kind + ";" + id);
            return Variant(Utf8ToAnsi(text));
        });
        RegisterMethod("CallHelp", [verbose = options.verbose](DispArgs& a) {
            if (verbose) std::printf("help %s %s\n", VarToStr(a[0][0]).c_str(), VarToStr(a[0][1]).c_str());
            return Variant();
        });
        RegisterMethod("GetFileList", [](DispArgs&) { return Variant(AnsiString()); });
    }

private:
    TIniFile catalogue_;
    Variant counter_, validator_, lookup_;
};

} // namespace

Variant CreateHostApplication(const THostOptions& options) {
    return Variant(static_cast<IDispatchObject*>(new THostApplication(options)));
}

AnsiString CatalogueBeside(const AnsiString& binaryFile) {
    return ExtractFilePath(binaryFile) + "../share/qz/catalogue.ini";
}

} // namespace qz
