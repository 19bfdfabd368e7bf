#pragma once
// The store of the module's server object: plans (per user, program and name) and jobs, in one SQLite
// database. Every write runs in its own transaction; values are bound, never spliced into SQL. Texts are
// kept as the bytes the client sent.
#include "platform/core/Types.h"

#include <memory>
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
    long long JobNo = 0;
    AnsiString Programme;
    AnsiString Creator;
    AnsiString JobKind;
    int RunMode = 0;
    std::string Request; // the request Variant, wire-encoded
    AnsiString Computer;
    AnsiString State;
    TDateTime Submitted = 0;
    TDateTime StartTime = 0;
    TDateTime Updated = 0;
    AnsiString Message;
    int CodePage = 0; // of the request's texts; the server's code page when stored
};

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

    // Stores a new job and returns its number.
    long long AddJob(const JobRecord& job);
    // False when there is no such job.
    bool UpdateJob(long long jobNo, const AnsiString& state, const AnsiString& message, TDateTime when);
    std::optional<JobRecord> Job(long long jobNo);
    // Every job, oldest first.
    std::vector<JobRecord> Jobs();

private:
    class Statement;
    class Transaction;
    void Exec(const char* sql);
    void AddCodePageColumn(const char* table);
    bool HasCodePageColumn(const char* table);
    AnsiString Columns(const char* columns) const;
    std::vector<PlanRecord> ReadPlans(Statement& s);
    std::vector<JobRecord> ReadJobs(Statement& s);

    AnsiString fileName_;
    sqlite3* db_ = nullptr;
    bool codePageColumns_ = true;
};

} // namespace qz
