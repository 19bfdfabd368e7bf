#include "outside/host/CompanyDb.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/Registry.h"
#include "platform/os/System.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>

namespace qz {

namespace {

// The columns of the document tables, the same in all eight:
//   DOCTYPE      document type ("2201")
//   DOCNO        document number, the date and a sequence ("20240312001")
//   DOCDATE      document date, YYYYMMDD
//   PARTNER      customer (sales) or supplier (purchase) code
//   PARTNERNAME  its short name
//   AMOUNT       amount (REAL)
//   STATE        transfer state: "Y" transferred, "N" not transferred, "U" transfer failed, "u" undo failed
TTableInfo DocumentTable(const char* name, const char* caption, bool sales) {
    return {name,
            caption,
            {"DOCTYPE", "DOCNO"},
            {{"DOCTYPE", "单别", 50},
             {"DOCNO", "单号", 100},
             {"DOCDATE", "单据日期", 76},
             {"PARTNER", sales ? "客户" : "供应商", 60},
             {"PARTNERNAME", sales ? "客户简称" : "供应商简称", 96},
             {"AMOUNT", "金额", 84, true},
             {"STATE", "抛转状态", 64}},
            "STATE"};
}

// ADMMB, the programs: PROGCODE (key), PROGNAME, SYSGROUP, PROGTYPE, OWNERSYS, WANTLOG ("Y": requests are
// logged), REMARK1, REMARK2, ENGNAME (the English name), NOQUERY ("Y": the report is not run in the
// client; check kind "11").
// CMSMT, the footer and sign-in of each program's reports: PROGCODE (key), then for the footer and for the
// sign-in its number, "Y" when the user may choose another, its name and its three lines.
// CMSMS, the footers (KIND "1") and sign-ins (KIND "2"): KIND, NOTENO (key), NOTENAME, LINE1..LINE3; a
// check answers the number and the lines.
// QzMA, the system users: ID, NAME, MOB (mobile), MAIL.
// PHRASES, the users' phrases: USERCODE (empty for every user), PHRASENO, PHRASE.
const std::vector<TTableInfo>& Tables() {
    static const std::vector<TTableInfo> tables = {
        DocumentTable("COPTC", "订单", true),
        DocumentTable("COPTG", "销货", true),
        DocumentTable("COPTE", "订单变更", true),
        DocumentTable("COPTI", "销退", true),
        DocumentTable("ACRTA", "销售发票", true),
        DocumentTable("PURTC", "采购", false),
        DocumentTable("PURTI", "退货", false),
        DocumentTable("PURTE", "采购变更", false),
        {"ADMMB",
         "程序",
         {"PROGCODE"},
         {{"PROGNAME", "程序名称", 120},
          {"SYSGROUP", "系统", 50},
          {"PROGTYPE", "类型", 40},
          {"OWNERSYS", "归属", 50},
          {"WANTLOG", "记录", 40},
          {"REMARK1", "备注一", 60},
          {"REMARK2", "备注二", 60},
          {"ENGNAME", "英文名称", 160}},
         nullptr,
         {{"11", {"PROGCODE", "PROGNAME", "PROGTYPE", "NOQUERY"}}}},
        {"CMSMT",
         "报表页脚签核",
         {"PROGCODE"},
         {{"NOTENO", "页脚编号", 60},
          {"NOTESEL", "可选页脚", 60},
          {"NOTENAME", "页脚名称", 100},
          {"NOTE1", "页脚一", 150},
          {"NOTE2", "页脚二", 150},
          {"NOTE3", "页脚三", 150},
          {"SIGNNO", "签核编号", 60},
          {"SIGNSEL", "可选签核", 60},
          {"SIGNNAME", "签核名称", 100},
          {"SIGN1", "签核一", 150},
          {"SIGN2", "签核二", 150},
          {"SIGN3", "签核三", 150}},
         nullptr},
        {"CMSMS",
         "页脚签核信息",
         {"KIND", "NOTENO"},
         {{"NOTENO", "编号", 50},
          {"NOTENAME", "名称", 110},
          {"LINE1", "第一行", 150},
          {"LINE2", "第二行", 150},
          {"LINE3", "第三行", 150}},
         nullptr,
         {{"01", {"NOTENO", "LINE1", "LINE2", "LINE3"}}}},
        {"QzMA",
         "系统用户",
         {"ID"},
         {{"ID", "用户编号", 80}, {"NAME", "用户名称", 100}, {"MOB", "手机", 100}, {"MAIL", "电子邮件", 160}},
         nullptr},
        {"PHRASES",
         "常用短语",
         {"USERCODE", "PHRASENO"},
         {{"PHRASENO", "序号", 50}, {"PHRASE", "常用短语", 300}},
         nullptr},
    };
    return tables;
}

bool IsRealColumn(const char* name) {
    return std::strcmp(name, "AMOUNT") == 0;
}

// Texts without regard to ASCII case first, then byte by byte (upper case before lower case).
int CompareStates(void*, int n1, const void* p1, int n2, const void* p2) {
    auto a = static_cast<const unsigned char*>(p1), b = static_cast<const unsigned char*>(p2);
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    int n = std::min(n1, n2);
    for (int i = 0; i < n; ++i)
        if (lower(a[i]) != lower(b[i])) return lower(a[i]) < lower(b[i]) ? -1 : 1;
    if (n1 != n2) return n1 < n2 ? -1 : 1;
    int raw = std::memcmp(a, b, n);
    return raw < 0 ? -1 : raw > 0 ? 1 : 0;
}

// The columns of a table: its key, then the columns it answers that are not in the key, then those of its
// checks.
std::vector<const char*> AllColumns(const TTableInfo& t) {
    std::vector<const char*> all(t.Keys.begin(), t.Keys.end());
    auto add = [&all](const char* name) {
        bool known = false;
        for (const char* k : all) known = known || std::strcmp(k, name) == 0;
        if (!known) all.push_back(name);
    };
    for (const TColumnInfo& c : t.Columns) add(c.Name);
    for (const TCheckKind& check : t.Checks)
        for (const char* c : check.Columns) add(c);
    return all;
}

std::vector<const char*> ColumnNames(const TTableInfo& t) {
    std::vector<const char*> names;
    for (const TColumnInfo& c : t.Columns) names.push_back(c.Name);
    return names;
}

AnsiString Join(const std::vector<const char*>& names, const char* separator, const char* suffix = "") {
    AnsiString out;
    for (const char* n : names) out += (out.empty() ? "" : separator) + AnsiString(n) + suffix;
    return out;
}

AnsiString AnswerColumns(const TTableInfo& t) {
    return Join(ColumnNames(t), ", ");
}

} // namespace

// A prepared statement with its values bound in order.
class TCompanyDb::Statement {
public:
    Statement(sqlite3* db, const AnsiString& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) Fail();
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(const AnsiString& v) {
        Check(sqlite3_bind_text(stmt_, ++index_, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& Bind(double v) {
        Check(sqlite3_bind_double(stmt_, ++index_, v));
        return *this;
    }
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) Fail();
        return false;
    }
    void Reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        index_ = 0;
    }
    // A real column as a double, any other as its bytes.
    Variant Value(int col) const {
        if (sqlite3_column_type(stmt_, col) == SQLITE_FLOAT)
            return Variant(sqlite3_column_double(stmt_, col));
        if (sqlite3_column_type(stmt_, col) == SQLITE_INTEGER)
            return Variant(static_cast<long long>(sqlite3_column_int64(stmt_, col)));
        const void* p = sqlite3_column_blob(stmt_, col);
        int n = sqlite3_column_bytes(stmt_, col);
        return Variant(p ? AnsiString(static_cast<const char*>(p), n) : AnsiString());
    }
    long long Int(int col) const { return sqlite3_column_int64(stmt_, col); }

private:
    void Check(int rc) {
        if (rc != SQLITE_OK) Fail();
    }
    [[noreturn]] void Fail() { throw EOleError(AnsiString("Company database: ") + sqlite3_errmsg(db_)); }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int index_ = 0;
};

TCompanyDb::TCompanyDb(const AnsiString& fileName) : fileName_(fileName) {
    AnsiString folder = ExtractFilePath(fileName);
    if (!folder.empty() && !DirectoryExists(folder)) ForceDirectories(folder);
    int rc = sqlite3_open_v2(fileName.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) {
        AnsiString reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EOleError("Cannot open the company database " + fileName + ": " + reason);
    }
    sqlite3_busy_timeout(db_, 10000);
    sqlite3_create_collation_v2(db_, "STATEORDER", SQLITE_UTF8, nullptr, &CompareStates, nullptr);
    try {
        // Two hosts starting at once: the second waits here and finds the data made.
        Exec("BEGIN IMMEDIATE");
        try {
            Statement version(db_, "PRAGMA user_version");
            long long made = version.Step() ? version.Int(0) : 0;
            if (made < 2) {
                CreateTables();
                if (made == 0) CreateDemoData();
                CreateReportLines();
                Exec("PRAGMA user_version = 2");
            }
            Exec("COMMIT");
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (const Exception& e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw EOleError("Cannot open the company database " + fileName + ": " + e.what());
    }
}

TCompanyDb::~TCompanyDb() {
    sqlite3_close(db_);
}

void TCompanyDb::Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        AnsiString reason = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw EOleError("Company database: " + reason);
    }
}

const TTableInfo* TCompanyDb::FindTable(const AnsiString& name) {
    for (const TTableInfo& t : Tables())
        if (SameText(name, t.Name)) return &t;
    return nullptr;
}

const std::vector<const TTableInfo*>& TCompanyDb::DocumentTables() {
    static const std::vector<const TTableInfo*> documents = [] {
        std::vector<const TTableInfo*> list;
        for (const TTableInfo& t : Tables())
            if (t.StateColumn) list.push_back(&t);
        return list;
    }();
    return documents;
}

TRows TCompanyDb::Query(Statement& statement, size_t columns) {
    TRows rows;
    while (statement.Step()) {
        TRow row;
        for (size_t i = 0; i < columns; ++i) row.push_back(statement.Value(static_cast<int>(i)));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<const char*> TCompanyDb::CheckColumns(const TTableInfo& table, const AnsiString& kind) {
    for (const TCheckKind& check : table.Checks)
        if (kind == check.Kind) return check.Columns;
    return kind == "01" ? ColumnNames(table) : std::vector<const char*>{};
}

TRows TCompanyDb::Select(const TTableInfo& table, const std::vector<AnsiString>& keyPrefix) {
    return Select(table, keyPrefix, ColumnNames(table));
}

TRows TCompanyDb::Select(const TTableInfo& table, const std::vector<AnsiString>& keyPrefix,
                         const std::vector<const char*>& columns) {
    if (keyPrefix.size() > table.Keys.size())
        throw EOleError(AnsiString("The key of ") + table.Name + " has " + IntToStr(table.Keys.size()) +
                        " columns, not " + IntToStr(keyPrefix.size()));
    std::vector<const char*> used(table.Keys.begin(), table.Keys.begin() + keyPrefix.size());
    AnsiString sql = "SELECT " + Join(columns, ", ") + " FROM " + table.Name;
    if (!used.empty()) sql += " WHERE " + Join(used, " AND ", " = ?");
    sql += " ORDER BY " + Join(table.Keys, ", ");
    Statement s(db_, sql);
    for (const AnsiString& v : keyPrefix) s.Bind(v);
    return Query(s, columns.size());
}

TRows TCompanyDb::SelectByState(const TTableInfo& table, const AnsiString& from, const AnsiString& to) {
    if (!table.StateColumn) throw EOleError(AnsiString(table.Name) + " has no transfer state");
    Statement s(db_, "SELECT " + AnswerColumns(table) + " FROM " + table.Name + " WHERE " +
                         table.StateColumn + " COLLATE STATEORDER BETWEEN ? AND ? ORDER BY " +
                         Join(table.Keys, ", "));
    s.Bind(from).Bind(to);
    return Query(s, table.Columns.size());
}

TRows TCompanyDb::Phrases(const AnsiString& userCode) {
    const TTableInfo& table = *FindTable("PHRASES");
    Statement s(db_, "SELECT " + AnswerColumns(table) +
                         " FROM PHRASES WHERE USERCODE = '' OR USERCODE = ? ORDER BY USERCODE, PHRASENO");
    s.Bind(userCode);
    return Query(s, table.Columns.size());
}

std::unique_ptr<TCompanyDb::Statement> TCompanyDb::Insert(const char* table,
                                                          const std::vector<const char*>& columns) {
    std::vector<const char*> marks(columns.size(), "?");
    return std::make_unique<Statement>(db_, AnsiString("INSERT INTO ") + table + " (" + Join(columns, ", ") +
                                                ") VALUES (" + Join(marks, ", ") + ")");
}

void TCompanyDb::CreateTables() {
    for (const TTableInfo& t : Tables()) {
        AnsiString columns;
        for (const char* c : AllColumns(t))
            columns += AnsiString(c) +
                       (IsRealColumn(c) ? " REAL NOT NULL DEFAULT 0, " : " TEXT NOT NULL DEFAULT '', ");
        Exec(("CREATE TABLE IF NOT EXISTS " + AnsiString(t.Name) + " (" + columns + "PRIMARY KEY (" +
              Join(t.Keys, ", ") + "))")
                 .c_str());
        std::vector<AnsiString> present;
        Statement info(db_, "SELECT name FROM pragma_table_info(?)");
        info.Bind(AnsiString(t.Name));
        while (info.Step()) present.push_back(VarToStr(info.Value(0)));
        for (const char* c : AllColumns(t))
            if (std::find(present.begin(), present.end(), AnsiString(c)) == present.end())
                Exec(("ALTER TABLE " + AnsiString(t.Name) + " ADD COLUMN " + c +
                      (IsRealColumn(c) ? " REAL NOT NULL DEFAULT 0" : " TEXT NOT NULL DEFAULT ''"))
                         .c_str());
    }
}

// The demo company's data, the same every time (a fixed seed): 40 documents in each document table, some
// of them with failed transfers.
void TCompanyDb::CreateDemoData() {

    struct TPartner {
        const char* Code;
        const char* Name;
    };
    static const TPartner customers[] = {{"C001", "华东电子"}, {"C002", "南方百货"}, {"C003", "东方贸易"},
                                         {"C004", "北辰机械"}, {"C005", "西湖食品"}, {"C006", "海天科技"},
                                         {"C007", "长江物流"}, {"C008", "金桥实业"}};
    static const TPartner suppliers[] = {{"S001", "恒达五金"}, {"S002", "联华包装"}, {"S003", "中兴塑胶"},
                                         {"S004", "宏发钢材"}, {"S005", "新源化工"}, {"S006", "永盛纸业"}};
    static const std::map<std::string, std::vector<const char*>> types = {
        {"COPTC", {"2201", "2202"}}, {"COPTG", {"2301", "2302"}}, {"COPTE", {"2211"}}, {"COPTI", {"2401"}},
        {"ACRTA", {"6101", "6102"}}, {"PURTC", {"3301", "3302"}}, {"PURTI", {"3401"}}, {"PURTE", {"3311"}}};

    std::mt19937 random(20240101);
    auto pick = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    const TDateTime firstDay = EncodeDate(2024, 1, 1);
    for (const TTableInfo* t : DocumentTables()) {
        auto add =
            Insert(t->Name, {"DOCTYPE", "DOCNO", "DOCDATE", "PARTNER", "PARTNERNAME", "AMOUNT", "STATE"});
        bool sales = t->Name[0] != 'P';
        const std::vector<const char*>& kinds = types.at(t->Name);
        std::map<AnsiString, int> sequence; // by type and date
        for (int i = 0; i < 40; ++i) {
            AnsiString type = kinds[pick(static_cast<unsigned>(kinds.size()))];
            Word y, m, d;
            DecodeDate(IncDay(firstDay, static_cast<int>(pick(366))), y, m, d);
            char date[16], number[16];
            std::snprintf(date, sizeof date, "%04u%02u%02u", unsigned(y), unsigned(m), unsigned(d));
            std::snprintf(number, sizeof number, "%s%03d", date, ++sequence[type + date]);
            const TPartner& partner = sales ? customers[pick(8)] : suppliers[pick(6)];
            double amount = (1000 + pick(500000)) / 100.0;
            unsigned r = pick(20);
            const char* state = r < 3 ? "U" : r < 5 ? "u" : r < 9 ? "N" : "Y";
            add->Bind(type).Bind(AnsiString(number)).Bind(AnsiString(date)).Bind(AnsiString(partner.Code));
            add->Bind(GB(partner.Name)).Bind(amount).Bind(AnsiString(state));
            add->Step();
            add->Reset();
        }
    }

    auto programs =
        Insert("ADMMB", {"PROGCODE", "PROGNAME", "SYSGROUP", "PROGTYPE", "OWNERSYS", "WANTLOG", "ENGNAME"});
    programs->Bind(AnsiString("ROVANC")).Bind(GB("转单失败报表")).Bind(AnsiString("R")).Bind(AnsiString("1"));
    programs->Bind(AnsiString("ADM")).Bind(AnsiString("N")).Bind(AnsiString("Transfer failure report"));
    programs->Step();

    struct TUser {
        const char *Id, *Name, *Mobile, *Mail;
    };
    static const TUser users[] = {{"ADMIN", "系统管理员", "13800000001", "admin@demo.example"},
                                  {"DS001", "陈明", "13800000012", "chen.ming@demo.example"},
                                  {"DS002", "林雅婷", "13800000023", "lin.yating@demo.example"},
                                  {"PU001", "王建国", "13800000034", "wang.jianguo@demo.example"},
                                  {"PU002", "张丽", "13800000045", "zhang.li@demo.example"},
                                  {"FI001", "刘志强", "13800000056", "liu.zhiqiang@demo.example"}};
    auto addUser = Insert("QzMA", {"ID", "NAME", "MOB", "MAIL"});
    for (const TUser& u : users) {
        addUser->Bind(AnsiString(u.Id)).Bind(GB(u.Name)).Bind(AnsiString(u.Mobile)).Bind(AnsiString(u.Mail));
        addUser->Step();
        addUser->Reset();
    }

    struct TPhrase {
        const char *User, *No, *Text;
    };
    static const TPhrase phrases[] = {{"", "01", "请尽快处理"},
                                      {"", "02", "已电话通知对方公司"},
                                      {"", "03", "资料有误，请重新抛转"},
                                      {"", "04", "月底前完成"},
                                      {"ADMIN", "01", "系统管理员复核"}};
    auto addPhrase = Insert("PHRASES", {"USERCODE", "PHRASENO", "PHRASE"});
    for (const TPhrase& p : phrases) {
        addPhrase->Bind(AnsiString(p.User)).Bind(AnsiString(p.No)).Bind(GB(p.Text));
        addPhrase->Step();
        addPhrase->Reset();
    }
}

void TCompanyDb::CreateReportLines() {
    struct TLines {
        const char *Kind, *No, *Name, *Line1, *Line2, *Line3;
    };
    static const TLines lines[] = {
        {"1", "001", "内部报表页脚", "本报表仅供公司内部使用", "如有疑问请洽信息部", "演示贸易有限公司"},
        {"1", "002", "对外报表页脚", "本资料为机密文件，请妥善保管", "", "演示贸易有限公司 制"},
        {"2", "001", "三级签核", "制表：", "审核：", "核准："},
        {"2", "002", "两级签核", "经办：", "主管：", ""},
    };
    auto add = Insert("CMSMS", {"KIND", "NOTENO", "NOTENAME", "LINE1", "LINE2", "LINE3"});
    for (const TLines& l : lines) {
        add->Bind(AnsiString(l.Kind)).Bind(AnsiString(l.No)).Bind(GB(l.Name));
        add->Bind(GB(l.Line1)).Bind(GB(l.Line2)).Bind(GB(l.Line3));
        add->Step();
        add->Reset();
    }
    // The module's reports: the internal footer and the three-level sign-in, both open to another choice.
    auto program = Insert("CMSMT", {"PROGCODE", "NOTENO", "NOTESEL", "NOTENAME", "NOTE1", "NOTE2", "NOTE3",
                                    "SIGNNO", "SIGNSEL", "SIGNNAME", "SIGN1", "SIGN2", "SIGN3"});
    program->Bind(AnsiString("ROVANC"));
    for (const TLines* l : {&lines[0], &lines[2]}) {
        program->Bind(AnsiString(l->No)).Bind(AnsiString("Y")).Bind(GB(l->Name));
        program->Bind(GB(l->Line1)).Bind(GB(l->Line2)).Bind(GB(l->Line3));
    }
    program->Step();
}

AnsiString CompanyDbLocation(const AnsiString& hostDataFolder) {
    if (const char* env = std::getenv("QZ_COMPANY_DB"); env && *env) return env;
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    if (reg.OpenKeyReadOnly("Software\\Qz\\Corvane")) {
        AnsiString client = reg.ReadString("ClientPath");
        while (!client.empty() && (client.back() == '/' || client.back() == '\\')) client.pop_back();
        if (!client.empty()) return ExtractFilePath(client) + "Data/company.db";
    }
    return IncludeTrailingPathDelimiter(hostDataFolder) + "Data/company.db";
}

} // namespace qz
