#include "outside/appserver/TinsleyStore.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
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
CREATE TABLE IF NOT EXISTS RIGHTS (
  USERCODE BLOB NOT NULL,
  PROGRAMME BLOB NOT NULL,
  RIGHTS BLOB NOT NULL,
  LIMITKIND BLOB NOT NULL,
  LIMITS BLOB NOT NULL,
  PRIMARY KEY (USERCODE, PROGRAMME));
)";

const char* const kPlanColumns =
    "NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION, CODEPAGE";
const char* const kJobColumns = "JOBNO, PROGRAMME, CREATOR, JOBKIND, RUNMODE, REQUEST, COMPUTER, STATE, "
                                "SUBMITTED, START_TIME, UPDATED, MESSAGE, CODEPAGE, SCHEDULE";
// The limits of a rights record, one after the other, each followed by this character.
const char kLimitEnd = '\x03';

// A record's code page, or this server's when the record names none.
long long StoredCodePage(int codePage) {
    return codePage ? codePage : SystemCodePage();
}

// The columns list with a missing column replaced by the value it stands for.
AnsiString Without(const AnsiString& columns, const char* column, const char* value) {
    AnsiString list = columns;
    size_t at = list.find(column);
    if (at != AnsiString::npos) list.replace(at, std::char_traits<char>::length(column), value);
    return list;
}

// The first number of a day's jobs, less one: YYYYMMDD0000.
long long DayBase(TDateTime submitted) {
    Word year, month, day;
    if (!TryDecodeDate(submitted, year, month, day))
        throw EOleError("The job's submission time is outside the calendar");
    return (year * 10000LL + month * 100 + day) * 10000LL;
}

std::string JoinLimits(const std::vector<AnsiString>& limits) {
    std::string text;
    for (const AnsiString& limit : limits) text += limit + kLimitEnd;
    return text;
}

std::vector<AnsiString> SplitLimits(const std::string& text) {
    std::vector<AnsiString> limits;
    size_t from = 0;
    for (size_t end; (end = text.find(kLimitEnd, from)) != std::string::npos; from = end + 1)
        limits.push_back(text.substr(from, end - from));
    return limits;
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
            codePageColumns_ = HasColumn("JOBS", "CODEPAGE") && HasColumn("PLANS", "CODEPAGE");
            scheduleColumn_ = HasColumn("JOBS", "SCHEDULE");
            Statement jobs(db_, ("SELECT " + Columns(kJobColumns) + " FROM JOBS LIMIT 0").c_str());
            Statement plans(db_, ("SELECT " + Columns(kPlanColumns) + " FROM PLANS LIMIT 0").c_str());
            return;
        }
        Transaction t(*this);
        Exec(kSchema);
        // Stores made before texts carried their code page hold simplified-Chinese texts.
        AddColumn("PLANS", "CODEPAGE", "INTEGER NOT NULL DEFAULT 936");
        AddColumn("JOBS", "CODEPAGE", "INTEGER NOT NULL DEFAULT 936");
        AddColumn("JOBS", "SCHEDULE", "BLOB NOT NULL DEFAULT x''");
        t.Commit();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

bool TinsleyStore::HasColumn(const char* table, const char* column) {
    Statement s(db_,
                (AnsiString("SELECT 1 FROM pragma_table_info('") + table + "') WHERE name = '" + column + "'")
                    .c_str());
    return s.Step();
}

// The columns of a query; a store read as it is, made before a column existed, gives what the column
// stands for: 936 for the code page, no schedule.
AnsiString TinsleyStore::Columns(const char* columns) const {
    AnsiString list = columns;
    if (!codePageColumns_) list = Without(list, "CODEPAGE", "936");
    if (!scheduleColumn_) list = Without(list, "SCHEDULE", "x''");
    return list;
}

void TinsleyStore::AddColumn(const char* table, const char* column, const char* declaration) {
    if (HasColumn(table, column)) return;
    Exec((AnsiString("ALTER TABLE ") + table + " ADD COLUMN " + column + " " + declaration).c_str());
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
    std::lock_guard lock(mutex_);
    Statement s(db_, ("SELECT " + Columns(kPlanColumns) +
                      " FROM PLANS WHERE CREATOR = ? AND PROGRAMME = ? ORDER BY NCONDITION")
                         .c_str());
    s.Bind(creator).Bind(programme);
    return ReadPlans(s);
}

std::vector<PlanRecord> TinsleyStore::AllPlans() {
    std::lock_guard lock(mutex_);
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
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT 1 FROM PLANS WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
    s.Bind(key.Name).Bind(key.Creator).Bind(key.Programme);
    return s.Step();
}

AnsiString TinsleyStore::InsertPlan(const PlanRecord& plan, bool replace) {
    std::lock_guard lock(mutex_);
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
    std::lock_guard lock(mutex_);
    Transaction t(*this);
    Statement s(db_, "DELETE FROM PLANS WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?");
    s.Bind(key.Name).Bind(key.Creator).Bind(key.Programme);
    s.Step();
    if (sqlite3_changes(db_) == 0) return "There is no plan named '" + key.Name + "'";
    t.Commit();
    return "";
}

AnsiString TinsleyStore::RenamePlan(const PlanKey& from, const PlanKey& to) {
    std::lock_guard lock(mutex_);
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
    std::lock_guard lock(mutex_);
    const long long base = DayBase(job.Submitted);
    // The write lock of BEGIN IMMEDIATE is held from reading the day's last number to storing the
    // next: no other connection numbers a job in between.
    Transaction t(*this);
    long long no = base + 1;
    {
        Statement last(db_, "SELECT MAX(JOBNO) FROM JOBS WHERE JOBNO > ? AND JOBNO <= ?");
        last.Bind(base).Bind(base + kJobsPerDay);
        if (last.Step() && last.Int(0) > 0) no = last.Int(0) + 1;
    }
    if (no > base + kJobsPerDay)
        throw EOleError("No job number is left for " + IntToStr(base / 10000) + ": a day numbers " +
                        IntToStr(kJobsPerDay) + " jobs");
    Statement s(db_,
                "INSERT INTO JOBS (JOBNO, PROGRAMME, CREATOR, JOBKIND, RUNMODE, REQUEST, COMPUTER, STATE, "
                "SUBMITTED, START_TIME, UPDATED, MESSAGE, CODEPAGE, SCHEDULE) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s.Bind(no)
        .Bind(job.Programme)
        .Bind(job.Creator)
        .Bind(job.JobKind)
        .Bind(static_cast<long long>(job.RunMode));
    s.Bind(job.Request).Bind(job.Computer).Bind(job.State).Bind(job.Submitted).Bind(job.StartTime);
    s.Bind(job.Updated).Bind(job.Message).Bind(StoredCodePage(job.CodePage)).Bind(job.Schedule);
    s.Step();
    t.Commit();
    return no;
}

bool TinsleyStore::UpdateJob(long long jobNo, const AnsiString& state, const AnsiString& message,
                             TDateTime when) {
    std::lock_guard lock(mutex_);
    Transaction t(*this);
    Statement s(db_, "UPDATE JOBS SET STATE = ?, MESSAGE = ?, UPDATED = ? WHERE JOBNO = ?");
    s.Bind(state).Bind(message).Bind(when).Bind(jobNo);
    s.Step();
    if (sqlite3_changes(db_) == 0) return false;
    t.Commit();
    return true;
}

std::optional<JobRecord> TinsleyStore::Job(long long jobNo) {
    std::lock_guard lock(mutex_);
    Statement s(db_, ("SELECT " + Columns(kJobColumns) + " FROM JOBS WHERE JOBNO = ?").c_str());
    s.Bind(jobNo);
    std::vector<JobRecord> jobs = ReadJobs(s);
    if (jobs.empty()) return std::nullopt;
    return jobs.front();
}

std::vector<JobRecord> TinsleyStore::Jobs() {
    std::lock_guard lock(mutex_);
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
        j.Schedule = s.Text(13);
        jobs.push_back(std::move(j));
    }
    return jobs;
}

std::optional<RightsRecord> TinsleyStore::StoredRights(const AnsiString& user, const AnsiString& programme) {
    Statement s(db_, "SELECT RIGHTS, LIMITKIND, LIMITS FROM RIGHTS WHERE USERCODE = ? AND PROGRAMME = ?");
    s.Bind(user).Bind(programme);
    if (!s.Step()) return std::nullopt;
    return RightsRecord{user, programme, s.Text(0), s.Text(1), SplitLimits(s.Text(2))};
}

std::optional<RightsRecord> TinsleyStore::Rights(const AnsiString& user, const AnsiString& programme) {
    std::lock_guard lock(mutex_);
    const std::pair<AnsiString, AnsiString> keys[] = {
        {user, programme}, {user, "*"}, {"*", programme}, {"*", "*"}};
    for (const auto& [u, p] : keys)
        if (auto found = StoredRights(u, p)) return found;
    return std::nullopt;
}

void TinsleyStore::SetRights(const RightsRecord& rights) {
    std::lock_guard lock(mutex_);
    for (const AnsiString& limit : rights.Limits)
        if (limit.find(kLimitEnd) != AnsiString::npos)
            throw EOleError("A data limit may not hold the character of code 3");
    Transaction t(*this);
    Statement s(db_, "INSERT OR REPLACE INTO RIGHTS (USERCODE, PROGRAMME, RIGHTS, LIMITKIND, LIMITS) "
                     "VALUES (?, ?, ?, ?, ?)");
    s.Bind(rights.User).Bind(rights.Programme).Bind(rights.Rights).Bind(rights.LimitKind);
    s.Bind(JoinLimits(rights.Limits));
    s.Step();
    t.Commit();
}

} // namespace qz
