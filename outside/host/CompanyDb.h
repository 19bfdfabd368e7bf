#pragma once
// The demo company database of the reference host (SQLite): the sales and purchase documents with their
// transfer states, the programs, the system users and their phrases. Created with its demo data on
// first open; a database that exists is opened as it is. Every write runs in a transaction; values are
// bound, never spliced into SQL. Texts are GB (code page 936) bytes, the company's code page.
#include "platform/variant/Variant.h"

#include <vector>

struct sqlite3;

namespace qz {

struct TColumnInfo {
    const char* Name;    // in SQL
    const char* Caption; // UTF-8, the lookup window's column header
    int Width;           // pixels in the lookup window
    bool Right = false;  // right-aligned there (amounts)
};

// A table the host's services know: its key (the leading columns of the checks and queries) and the
// columns of a row as the services answer it, in order.
struct TTableInfo {
    const char* Name;
    const char* Caption; // UTF-8
    std::vector<const char*> Keys;
    std::vector<TColumnInfo> Columns;
    const char* StateColumn; // the transfer state of a document table; nullptr for other tables
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

    // Rows whose leading key columns equal keyPrefix (all rows for an empty prefix), by key.
    TRows Select(const TTableInfo& table, const std::vector<AnsiString>& keyPrefix);
    // Rows of a document table whose transfer state lies in from..to, by key. States compare without
    // regard to case first, upper case before lower case: "U".."u" holds exactly "U" and "u".
    TRows SelectByState(const TTableInfo& table, const AnsiString& from, const AnsiString& to);
    // A user's phrases and those of every user ([number, phrase]), shared ones first.
    TRows Phrases(const AnsiString& userCode);

    const AnsiString& FileName() const { return fileName_; }

private:
    class Statement;
    TRows Query(Statement& statement, size_t columns);
    void Exec(const char* sql);
    void CreateDemoData();

    AnsiString fileName_;
    sqlite3* db_ = nullptr;
};

// Where the host keeps the company database: QZ_COMPANY_DB; else "Data/company.db" beside the client
// folder the registry names; else "Data/company.db" in hostDataFolder.
AnsiString CompanyDbLocation(const AnsiString& hostDataFolder);

} // namespace qz
