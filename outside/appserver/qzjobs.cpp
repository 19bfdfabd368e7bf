// qzjobs: reads the jobs and plans the application server keeps, for people and tests checking what
// reached the server. Never writes, never creates a store.
#include "outside/appserver/TinsleyStore.h"
#include "outside/appserver/VariantJson.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/data/Wire.h"

#include <cstdio>
#include <vector>

using namespace qz;

namespace {

void Usage(FILE* out) {
    std::fprintf(
        out, "usage: qzjobs [--db FILE] list | show JOB | plans | plan USER PROGRAM NAME\n"
             "  the store is FILE, else QZ_TINSLEY_DB, else tinsley.db in the temporary folder\n"
             "  list    one line a job, oldest first: number, program, kind, run mode, planned start, state\n"
             "  show    the stored request of a job as JSON on one line\n"
             "  plans   one line a plan: user, program, name, creation date\n"
             "  plan    the stored record of a plan as JSON on one line\n");
}

AnsiString Utf8(const AnsiString& text, int codePage) {
    return AnsiToUtf8(text, codePage);
}

int List(TinsleyStore& store) {
    for (const JobRecord& j : store.Jobs())
        std::printf("%lld\t%s\t%s\t%d\t%s\t%s\n", j.JobNo, Utf8(j.Programme, j.CodePage).c_str(),
                    Utf8(j.JobKind, j.CodePage).c_str(), j.RunMode,
                    FormatDateTime("yyyy-mm-dd hh:nn:ss", j.StartTime).c_str(),
                    Utf8(j.State, j.CodePage).c_str());
    return 0;
}

int Show(TinsleyStore& store, const AnsiString& number) {
    long long no = 0;
    if (!TryStrToInt64(number, no) || no <= 0) throw Exception("'" + number + "' is no job number");
    std::optional<JobRecord> job = store.Job(no);
    if (!job) throw Exception("there is no job " + number);
    WireReader reader(job->Request);
    Variant request = reader.Var();
    std::printf("%s\n", VariantToJson(request, job->CodePage).c_str());
    return 0;
}

int Plans(TinsleyStore& store) {
    for (const PlanRecord& p : store.AllPlans())
        std::printf("%s\t%s\t%s\t%s\n", Utf8(p.Key.Creator, p.CodePage).c_str(),
                    Utf8(p.Key.Programme, p.CodePage).c_str(), Utf8(p.Key.Name, p.CodePage).c_str(),
                    Utf8(p.CreateDate, p.CodePage).c_str());
    return 0;
}

// The plan named in UTF-8, compared in UTF-8 whatever code page it was stored in.
int Plan(TinsleyStore& store, const AnsiString& user, const AnsiString& program, const AnsiString& name) {
    for (const PlanRecord& p : store.AllPlans()) {
        if (Utf8(p.Key.Creator, p.CodePage) != user || Utf8(p.Key.Programme, p.CodePage) != program ||
            Utf8(p.Key.Name, p.CodePage) != name)
            continue;
        Variant record = VarArrayOf(
            {p.Key.Name, p.Key.Creator, p.Key.Programme, p.CreateDate, p.SCondition, p.VCondition});
        std::printf("%s\n", VariantToJson(record, p.CodePage).c_str());
        return 0;
    }
    throw Exception("there is no plan '" + name + "' of " + user + " for " + program);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<AnsiString> args(argv + 1, argv + argc);
    AnsiString db;
    if (args.size() >= 2 && args[0] == "--db") {
        db = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        Usage(args.empty() ? stderr : stdout);
        return args.empty() ? 1 : 0;
    }
    const AnsiString& verb = args[0];
    size_t wanted = verb == "show" ? 2 : verb == "plan" ? 4 : verb == "list" || verb == "plans" ? 1 : 0;
    if (!wanted || args.size() != wanted) {
        std::fprintf(stderr, "qzjobs: %s\n",
                     wanted ? ("wrong arguments for " + verb).c_str() : ("unknown command " + verb).c_str());
        Usage(stderr);
        return 1;
    }
    try {
        TinsleyStore store(db.empty() ? TinsleyStore::DefaultFileName() : db, TinsleyStore::TOpen::ReadOnly);
        if (verb == "list") return List(store);
        if (verb == "show") return Show(store, args[1]);
        if (verb == "plans") return Plans(store);
        return Plan(store, args[1], args[2], args[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzjobs: %s\n", e.what());
        return 1;
    }
}
