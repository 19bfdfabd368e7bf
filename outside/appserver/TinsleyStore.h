#pragma once
// The store of the module's server object: plans (per user, program and name), jobs and the users'
// rights, in one SQLite database. Every write runs in its own transaction; values are bound, never
// spliced into SQL. Texts are kept as the bytes the client sent. One store may be used by several
// threads; several stores (and processes) may share one database file.
#include "platform/core/Types.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace qz {

struct PlanKey {
    AnsiString Name;
    AnsiString Creator;
    AnsiString Programme;
};

struct PlanRecord {
    PlanKey Key;
    AnsiString CreateDate; // YYYYMMDD
    AnsiString SCondition;
    AnsiString VCondition;
    int CodePage = 0; // of the texts; the server's code page when stored
};

struct JobRecord {
    long long JobNo = 0; // YYYYMMDD followed by the day's four-digit sequence
    AnsiString Programme;
    AnsiString Creator;
    AnsiString JobKind;
    int RunMode = 0;
    std::string Request;  // the request Variant, wire-encoded
    std::string Schedule; // a periodic job's schedule Variant, wire-encoded; empty otherwise
    AnsiString Computer;
    AnsiString State;
    TDateTime Submitted = 0;
    TDateTime StartTime = 0;
    TDateTime Updated = 0;
    AnsiString Message;
    int CodePage = 0; // of the request's texts; the server's code page when stored
};

// What a user may do in a program: the rights string (one "Y" or "N" a right) and the data limits,
// a limit kind and its entries. "*" as user or program stands for every one.
struct RightsRecord {
    AnsiString User;
    AnsiString Programme;
    AnsiString Rights;
    AnsiString LimitKind;
    std::vector<AnsiString> Limits;
};

// Jobs a day can number.
inline constexpr int kJobsPerDay = 9999;

class TinsleyStore {
public:
    enum class TOpen { Create, ReadOnly };
    // Opens the database, creating it when needed unless read-only (an existing store only); raises
    // EOleError with the reason.
    explicit TinsleyStore(const AnsiString& fileName, TOpen open = TOpen::Create);
    ~TinsleyStore();
    TinsleyStore(const TinsleyStore&) = delete;
    TinsleyStore& operator=(const TinsleyStore&) = delete;

    // QZ_TINSLEY_DB, else tinsley.db in the temporary folder.
    static AnsiString DefaultFileName();
    const AnsiString& FileName() const { return fileName_; }

    // Plans of one user and program, by name.
    std::vector<PlanRecord> Plans(const AnsiString& creator, const AnsiString& programme);
    // Every plan, by user, program and name.
    std::vector<PlanRecord> AllPlans();
    bool PlanExists(const PlanKey& key);
    // These answer "" on success, else the reason.
    AnsiString InsertPlan(const PlanRecord& plan, bool replace);
    AnsiString DeletePlan(const PlanKey& key);
    AnsiString RenamePlan(const PlanKey& from, const PlanKey& to);

    // Stores a new job and returns its number: the date of its submission as YYYYMMDD followed by
    // the next sequence number of that day (from 0001). Raises EOleError when the day has none left.
    long long AddJob(const JobRecord& job);
    // False when there is no such job.
    bool UpdateJob(long long jobNo, const AnsiString& state, const AnsiString& message, TDateTime when);
    std::optional<JobRecord> Job(long long jobNo);
    // Every job, oldest first.
    std::vector<JobRecord> Jobs();

    // The rights of a user in a program: the user's own for the program, else the user's for every
    // program, else every user's for the program, else every user's for every program.
    std::optional<RightsRecord> Rights(const AnsiString& user, const AnsiString& programme);
    // Stores the rights of a user and program, replacing what was stored for them.
    void SetRights(const RightsRecord& rights);

private:
    class Statement;
    class Transaction;
    void Exec(const char* sql);
    void AddColumn(const char* table, const char* column, const char* declaration);
    bool HasColumn(const char* table, const char* column);
    AnsiString Columns(const char* columns) const;
    std::optional<RightsRecord> StoredRights(const AnsiString& user, const AnsiString& programme);
    std::vector<PlanRecord> ReadPlans(Statement& s);
    std::vector<JobRecord> ReadJobs(Statement& s);

    AnsiString fileName_;
    sqlite3* db_ = nullptr;
    bool codePageColumns_ = true;
    bool scheduleColumn_ = true;
    // Calls from several threads take turns: a transaction is one connection's at a time.
    std::recursive_mutex mutex_;
};

} // namespace qz
