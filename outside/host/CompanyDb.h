#pragma once
// The demo company database of the reference host (SQLite): the sales and purchase documents with their
// transfer states, the programs, the system users and their phrases, the reports' footer and sign-in
// lines. Created with its demo data on
// first open; a database that exists is opened as it is. Every write runs in a transaction; values are
// bound, never spliced into SQL. Texts are GB (code page 936) bytes, the company's code page.
#include "platform/variant/Variant.h"

#include <memory>
#include <vector>

struct sqlite3;

namespace qz {

struct TColumnInfo {
    const char* Name;    // in SQL
    const char* Caption; // UTF-8, the lookup window's column header
    int Width;           // pixels in the lookup window
    bool Right = false;  // right-aligned there (amounts)
};

// A check of a table whose row has other columns than the table's (in SQL, in order).
struct TCheckKind {
    const char* Kind;
    std::vector<const char*> Columns;
};

// A table the host's services know: its key (the leading columns of the checks and queries) and the
// columns of a row as the services answer it, in order; checks of kind "01" answer those columns too
// unless Checks names the kind.
struct TTableInfo {
    const char* Name;
    const char* Caption; // UTF-8
    std::vector<const char*> Keys;
    std::vector<TColumnInfo> Columns;
    const char* StateColumn; // the transfer state of a document table; nullptr for other tables
    std::vector<TCheckKind> Checks = {};
};

using TRow = std::vector<Variant>;
using TRows = std::vector<TRow>;

class TCompanyDb {
public:
    // Opens the database, creating it (folder, tables and demo data) when it does not exist; raises
    // EOleError with the reason.
    explicit TCompanyDb(const AnsiString& fileName);
    ~TCompanyDb();
    TCompanyDb(const TCompanyDb&) = delete;
    TCompanyDb& operator=(const TCompanyDb&) = delete;

    // The table of that name (without regard to case); nullptr for one the host does not know.
    static const TTableInfo* FindTable(const AnsiString& name);
    // The eight document tables, in the order of the module's document kinds.
    static const std::vector<const TTableInfo*>& DocumentTables();

    // The columns a check of that kind answers; none for a kind the table has no check of.
    static std::vector<const char*> CheckColumns(const TTableInfo& table, const AnsiString& kind);

    // Rows whose leading key columns equal keyPrefix (all rows for an empty prefix), by key; the table's
    // columns, or the given ones.
    TRows Select(const TTableInfo& table, const std::vector<AnsiString>& keyPrefix);
    TRows Select(const TTableInfo& table, const std::vector<AnsiString>& keyPrefix,
                 const std::vector<const char*>& columns);
    // Rows of a document table whose transfer state lies in from..to, by key. States compare without
    // regard to case first, upper case before lower case: "U".."u" holds exactly "U" and "u".
    TRows SelectByState(const TTableInfo& table, const AnsiString& from, const AnsiString& to);
    // A user's phrases and those of every user ([number, phrase]), shared ones first.
    TRows Phrases(const AnsiString& userCode);

    const AnsiString& FileName() const { return fileName_; }

private:
    class Statement;
    TRows Query(Statement& statement, size_t columns);
    std::unique_ptr<Statement> Insert(const char* table, const std::vector<const char*>& columns);
    void Exec(const char* sql);
    // The tables, and the columns a table of an older database lacks.
    void CreateTables();
    void CreateDemoData();
    // The footer and sign-in lines of the reports (added by version 2 of the database).
    void CreateReportLines();

    AnsiString fileName_;
    sqlite3* db_ = nullptr;
};

// Where the host keeps the company database: QZ_COMPANY_DB; else "Data/company.db" beside the client
// folder the registry names; else "Data/company.db" in hostDataFolder.
AnsiString CompanyDbLocation(const AnsiString& hostDataFolder);

} // namespace qz
