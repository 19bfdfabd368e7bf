#include "outside/appserver/TinsleyStore.h"

#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/System.h"

#include <cstdlib>
#include <sqlite3.h>

namespace qz {

namespace {

constexpr int kMaxPlanName = 20; // bytes

const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS PLANS (
  NCONDITION BLOB NOT NULL,
  CREATOR BLOB NOT NULL,
  PROGRAMME BLOB NOT NULL,
  CREATE_DATE BLOB NOT NULL,
  SCONDITION BLOB NOT NULL,
  VCONDITION BLOB NOT NULL,
  PRIMARY KEY (NCONDITION, CREATOR, PROGRAMME));
CREATE TABLE IF NOT EXISTS JOBS (
  JOBNO INTEGER PRIMARY KEY AUTOINCREMENT,
  PROGRAMME BLOB NOT NULL,
  CREATOR BLOB NOT NULL,
  JOBKIND BLOB NOT NULL,
  RUNMODE INTEGER NOT NULL,
  REQUEST BLOB NOT NULL,
  COMPUTER BLOB NOT NULL,
  STATE BLOB NOT NULL,
  SUBMITTED REAL NOT NULL,
  START_TIME REAL NOT NULL,
  UPDATED REAL NOT NULL,
  MESSAGE BLOB NOT NULL);
)";

const char* const kPlanColumns =
    "NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION, CODEPAGE";
const char* const kJobColumns = "JOBNO, PROGRAMME, CREATOR, JOBKIND, RUNMODE, REQUEST, COMPUTER, STATE, "
                                "SUBMITTED, START_TIME, UPDATED, MESSAGE, CODEPAGE";

// A record's code page, or this server's when the record names none.
long long StoredCodePage(int codePage) {
    return codePage ? codePage : SystemCodePage();
}

AnsiString CheckName(const AnsiString& name) {
    if (Trim(name).empty()) return "The plan name is empty";
    if (static_cast<int>(name.size()) > kMaxPlanName)
        return "The plan name '" + name + "' is longer than " + IntToStr(kMaxPlanName) + " characters";
    return "";
}

} // namespace

// A prepared statement; texts are bound as blobs so that their bytes come back unchanged.
class TinsleyStore::Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail();
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(const std::string& v) {
        Check(sqlite3_bind_blob(stmt_, ++index_, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& Bind(long long v) {
        Check(sqlite3_bind_int64(stmt_, ++index_, v));
        return *this;
    }
    Statement& Bind(double v) {
        Check(sqlite3_bind_double(stmt_, ++index_, v));
        return *this;
    }
    // True while there is a row.
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) Fail();
        return false;
    }
    std::string Text(int col) const {
        const void* p = sqlite3_column_blob(stmt_, col);
        int n = sqlite3_column_bytes(stmt_, col);
        return p ? std::string(static_cast<const char*>(p), n) : std::string();
    }
    long long Int(int col) const { return sqlite3_column_int64(stmt_, col); }
    double Real(int col) const { return sqlite3_column_double(stmt_, col); }

private:
    void Check(int rc) {
        if (rc != SQLITE_OK) Fail();
    }
    [[noreturn]] void Fail() { throw EOleError(AnsiString("Plan and job store: ") + sqlite3_errmsg(db_)); }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int index_ = 0;
};

// BEGIN IMMEDIATE on construction; rolled back unless committed.
class TinsleyStore::Transaction {
public:
    explicit Transaction(TinsleyStore& store) : store_(store) { store_.Exec("BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (!done_) sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
        store_.Exec("COMMIT");
        done_ = true;
    }

private:
    TinsleyStore& store_;
    bool done_ = false;
};

// A symbolic link is refused: the default file sits in the shared temporary folder.
TinsleyStore::TinsleyStore(const AnsiString& fileName, TOpen open) : fileName_(fileName) {
    int flags = open == TOpen::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(fileName.c_str(), &db_, flags | SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_NOFOLLOW,
                             nullptr);
    if (rc != SQLITE_OK) {
        AnsiString reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EOleError("Cannot open the plan and job store " + fileName + ": " + reason);
    }
    sqlite3_busy_timeout(db_, 10000);
    try {
        if (open == TOpen::ReadOnly) {
            // A file that is no store of ours fails here rather than at the first query.
            codePageColumns_ = HasCodePageColumn("JOBS") && HasCodePageColumn("PLANS");
            Statement jobs(db_, ("SELECT " + Columns(kJobColumns) + " FROM JOBS LIMIT 0").c_str());
            Statement plans(db_, ("SELECT " + Columns(kPlanColumns) + " FROM PLANS LIMIT 0").c_str());
            return;
        }
        Transaction t(*this);
        Exec(kSchema);
        AddCodePageColumn("PLANS");
        AddCodePageColumn("JOBS");
        t.Commit();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

bool TinsleyStore::HasCodePageColumn(const char* table) {
    Statement s(
        db_,
        (AnsiString("SELECT 1 FROM pragma_table_info('") + table + "') WHERE name = 'CODEPAGE'").c_str());
    return s.Step();
}

// The columns of a query; a store read as it is, made before texts carried their code page, gives 936.
AnsiString TinsleyStore::Columns(const char* columns) const {
    AnsiString list = columns;
    if (!codePageColumns_) list = list.substr(0, list.rfind("CODEPAGE")) + "936";
    return list;
}

// Stores made before texts carried their code page hold simplified-Chinese texts.
void TinsleyStore::AddCodePageColumn(const char* table) {
    if (HasCodePageColumn(table)) return;
    Exec((AnsiString("ALTER TABLE ") + table + " ADD COLUMN CODEPAGE INTEGER NOT NULL DEFAULT 936").c_str());
}

TinsleyStore::~TinsleyStore() {
    sqlite3_close(db_);
}

AnsiString TinsleyStore::DefaultFileName() {
    const char* env = std::getenv("QZ_TINSLEY_DB");
    if (env && *env) return env;
    return GetTempPath() + "tinsley.db";
}

void TinsleyStore::Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        AnsiString reason = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw EOleError("Plan and job store: " + reason);
    }
}

std::vector<PlanRecord> TinsleyStore::Plans(const AnsiString& creator, const AnsiString& programme) {
    Statement s(db_, ("SELECT " + Columns(kPlanColumns) +
                      " FROM PLANS WHERE CREATOR = ? AND PROGRAMME = ? ORDER BY NCONDITION")
                         .c_str());
    s.Bind(creator).Bind(programme);
    return ReadPlans(s);
}

std::vector<PlanRecord> TinsleyStore::AllPlans() {
    Statement s(
        db_,
        ("SELECT " + Columns(kPlanColumns) + " FROM PLANS ORDER BY CREATOR, PROGRAMME, NCONDITION").c_str());
    return ReadPlans(s);
}

std::vector<PlanRecord> TinsleyStore::ReadPlans(Statement& s) {
    std::vector<PlanRecord> plans;
    while (s.Step())
        plans.push_back(
            {{s.Text(0), s.Text(1), s.Text(2)}, s.Text(3), s.Text(4), s.Text(5), static_cast<int>(s.Int(6))});
    return plans;
}

bool TinsleyStore::PlanExists(const PlanKey& key) {
    Statement s(db_, "SELECT 1 FROM PLANS WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
    s.Bind(key.Name).Bind(key.Creator).Bind(key.Programme);
    return s.Step();
}

AnsiString TinsleyStore::InsertPlan(const PlanRecord& plan, bool replace) {
    AnsiString error = CheckName(plan.Key.Name);
    if (!error.empty()) return error;
    Transaction t(*this);
    if (PlanExists(plan.Key)) {
        if (!replace) return "A plan named '" + plan.Key.Name + "' already exists";
        Statement s(db_, "UPDATE PLANS SET CREATE_DATE = ?, SCONDITION = ?, VCONDITION = ?, CODEPAGE = ? "
                         "WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
        s.Bind(plan.CreateDate)
            .Bind(plan.SCondition)
            .Bind(plan.VCondition)
            .Bind(StoredCodePage(plan.CodePage));
        s.Bind(plan.Key.Name).Bind(plan.Key.Creator).Bind(plan.Key.Programme);
        s.Step();
    } else {
        Statement s(
            db_,
            (AnsiString("INSERT INTO PLANS (") + kPlanColumns + ") VALUES (?, ?, ?, ?, ?, ?, ?)").c_str());
        s.Bind(plan.Key.Name).Bind(plan.Key.Creator).Bind(plan.Key.Programme);
        s.Bind(plan.CreateDate)
            .Bind(plan.SCondition)
            .Bind(plan.VCondition)
            .Bind(StoredCodePage(plan.CodePage));
        s.Step();
    }
    t.Commit();
    return "";
}

AnsiString TinsleyStore::DeletePlan(const PlanKey& key) {
    Transaction t(*this);
    Statement s(db_, "DELETE FROM PLANS WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
    s.Bind(key.Name).Bind(key.Creator).Bind(key.Programme);
    s.Step();
    if (sqlite3_changes(db_) == 0) return "There is no plan named '" + key.Name + "'";
    t.Commit();
    return "";
}

AnsiString TinsleyStore::RenamePlan(const PlanKey& from, const PlanKey& to) {
    AnsiString error = CheckName(to.Name);
    if (!error.empty()) return error;
    if (from.Name == to.Name && from.Creator == to.Creator && from.Programme == to.Programme) {
        return PlanExists(from) ? "" : "There is no plan named '" + from.Name + "'";
    }
    Transaction t(*this);
    if (!PlanExists(from)) return "There is no plan named '" + from.Name + "'";
    if (PlanExists(to)) return "A plan named '" + to.Name + "' already exists";
    Statement s(db_, "UPDATE PLANS SET NCONDITION = ?, CREATOR = ?, PROGRAMME = ? "
                     "WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
    s.Bind(to.Name).Bind(to.Creator).Bind(to.Programme);
    s.Bind(from.Name).Bind(from.Creator).Bind(from.Programme);
    s.Step();
    t.Commit();
    return "";
}

long long TinsleyStore::AddJob(const JobRecord& job) {
    Transaction t(*this);
    Statement s(
        db_, "INSERT INTO JOBS (PROGRAMME, CREATOR, JOBKIND, RUNMODE, REQUEST, COMPUTER, STATE, SUBMITTED, "
             "START_TIME, UPDATED, MESSAGE, CODEPAGE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s.Bind(job.Programme).Bind(job.Creator).Bind(job.JobKind).Bind(static_cast<long long>(job.RunMode));
    s.Bind(job.Request).Bind(job.Computer).Bind(job.State).Bind(job.Submitted).Bind(job.StartTime);
    s.Bind(job.Updated).Bind(job.Message).Bind(StoredCodePage(job.CodePage));
    s.Step();
    long long no = sqlite3_last_insert_rowid(db_);
    t.Commit();
    return no;
}

bool TinsleyStore::UpdateJob(long long jobNo, const AnsiString& state, const AnsiString& message,
                             TDateTime when) {
    Transaction t(*this);
    Statement s(db_, "UPDATE JOBS SET STATE = ?, MESSAGE = ?, UPDATED = ? WHERE JOBNO = ?");
    s.Bind(state).Bind(message).Bind(when).Bind(jobNo);
    s.Step();
    if (sqlite3_changes(db_) == 0) return false;
    t.Commit();
    return true;
}

std::optional<JobRecord> TinsleyStore::Job(long long jobNo) {
    Statement s(db_, ("SELECT " + Columns(kJobColumns) + " FROM JOBS WHERE JOBNO = ?").c_str());
    s.Bind(jobNo);
    std::vector<JobRecord> jobs = ReadJobs(s);
    if (jobs.empty()) return std::nullopt;
    return jobs.front();
}

std::vector<JobRecord> TinsleyStore::Jobs() {
    Statement s(db_, ("SELECT " + Columns(kJobColumns) + " FROM JOBS ORDER BY JOBNO").c_str());
    return ReadJobs(s);
}

std::vector<JobRecord> TinsleyStore::ReadJobs(Statement& s) {
    std::vector<JobRecord> jobs;
    while (s.Step()) {
        JobRecord j;
        j.JobNo = s.Int(0);
        j.Programme = s.Text(1);
        j.Creator = s.Text(2);
        j.JobKind = s.Text(3);
        j.RunMode = static_cast<int>(s.Int(4));
        j.Request = s.Text(5);
        j.Computer = s.Text(6);
        j.State = s.Text(7);
        j.Submitted = s.Real(8);
        j.StartTime = s.Real(9);
        j.Updated = s.Real(10);
        j.Message = s.Text(11);
        j.CodePage = static_cast<int>(s.Int(12));
        jobs.push_back(std::move(j));
    }
    return jobs;
}

} // namespace qz
