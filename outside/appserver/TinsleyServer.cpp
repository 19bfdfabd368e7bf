#include "outside/appserver/TinsleyServer.h"

#include "outside/appserver/TinsleyStore.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/data/Wire.h"
#include "platform/variant/Dispatch.h"

#include <memory>
#include <vector>

namespace qz {

namespace {

const char* const kPlanProvider = "pvdConSave";

// The elements of a one-dimensional array of exactly count elements, from its low bound; raises
// EOleError "<what>" otherwise.
std::vector<Variant> Elements(const Variant& v, int count, const AnsiString& what) {
    if (!VarIsArray(v) || VarArrayDimCount(v) != 1 ||
        VarArrayHighBound(v, 1) - VarArrayLowBound(v, 1) + 1 != count)
        throw EOleError(what);
    std::vector<Variant> items;
    for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i) items.push_back(v[i]);
    return items;
}

// A text element; Empty and Null read as "", arrays and objects raise.
AnsiString Text(const Variant& v) {
    if (VarIsArray(v) || VarIsObject(v))
        throw EOleError("A text was expected, not " + VarTypeAsText(v.Type()));
    return VarToStr(v);
}

PlanKey Key(const Variant& v, const AnsiString& what) {
    std::vector<Variant> e = Elements(v, 3, what);
    return {Text(e[0]), Text(e[1]), Text(e[2])};
}

// The element at index of a one-dimensional array, or Empty outside its bounds.
Variant ElementOr(const Variant& v, int index) {
    if (!VarIsArray(v) || VarArrayDimCount(v) != 1) return Variant();
    if (index < VarArrayLowBound(v, 1) || index > VarArrayHighBound(v, 1)) return Variant();
    return v[index];
}

class TdmTinsley : public TAutoObject {
public:
    explicit TdmTinsley(AnsiString fileName) : fileName_(std::move(fileName)) {
        RegisterMethod("LoadTable", [this](DispArgs& a) { return LoadTable(a[0]); });
        RegisterMethod("AS_GetRecords", [this](DispArgs& a) { return GetRecords(Text(a[0])); });
        RegisterMethod("InsertConTable", [this](DispArgs& a) {
            return Answer([&] {
                std::vector<Variant> e =
                    Elements(a[0], 7,
                             "InsertConTable expects [plan name, user code, date, program "
                             "code, property list, values, replace flag]");
                PlanRecord plan{{Text(e[0]), Text(e[1]), Text(e[3])}, Text(e[2]), Text(e[4]), Text(e[5])};
                return Store().InsertPlan(plan, e[6].AsBoolean());
            });
        });
        RegisterMethod("DeleteConTable", [this](DispArgs& a) {
            return Answer([&] {
                return Store().DeletePlan(
                    Key(a[0], "DeleteConTable expects [plan name, user code, program code]"));
            });
        });
        RegisterMethod("ChangeConName", [this](DispArgs& a) {
            return Answer([&] {
                const char* what = "ChangeConName expects two keys [plan name, user code, program code]";
                PlanKey from = Key(a[0], what);
                PlanKey to = Key(a[1], what);
                return Store().RenamePlan(from, to);
            });
        });
        RegisterMethod("GetPower", [this](DispArgs& a) { return GetPower(a[0]); });
        RegisterMethod("SQLType", [](DispArgs&) { return Variant(0); });
        RegisterMethod("Request", [this](DispArgs& a) { return Request(a[0], "", "Queued"); });
        RegisterMethod("Request1", [this](DispArgs& a) { return Request(a[0], Text(a[1]), "Running"); });
        RegisterMethod("ErrorDescript", [this](DispArgs&) { return Variant(lastError_); });
        RegisterMethod("UpdateStatus1", [this](DispArgs& a) { return UpdateStatus(a[0], a[1], a[2]); });
    }

private:
    TinsleyStore& Store() {
        if (!store_) store_ = std::make_unique<TinsleyStore>(fileName_);
        return *store_;
    }

    // Runs a call that answers an error text: "" on success; a failure's message otherwise.
    template <class F> Variant Answer(F call) {
        AnsiString error;
        try {
            error = call();
        } catch (const Exception& e) {
            error = e.what();
        }
        if (!error.empty()) lastError_ = error;
        return Variant(error);
    }

    // Raises EOleError with message, remembered for ErrorDescript.
    [[noreturn]] void Fail(const AnsiString& message) {
        lastError_ = message;
        throw EOleError(message);
    }

    Variant LoadTable(const Variant& arg) {
        std::vector<Variant> e;
        try {
            e = Elements(arg, 2, "LoadTable expects [user code, program code]");
            user_ = Text(e[0]);
            programme_ = Text(e[1]);
        } catch (const Exception& ex) {
            Fail(ex.what());
        }
        loaded_ = true;
        return Variant();
    }

    // The data packet of a provider: [field names, rows].
    Variant GetRecords(const AnsiString& provider) {
        if (!SameText(provider, kPlanProvider)) Fail("Unknown provider: " + provider);
        std::vector<Variant> rows;
        if (loaded_) {
            for (const PlanRecord& p : Store().Plans(user_, programme_))
                rows.push_back(VarArrayOf(
                    {p.Key.Name, p.Key.Creator, p.Key.Programme, p.CreateDate, p.SCondition, p.VCondition}));
        }
        Variant fields =
            VarArrayOf({"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION", "VCONDITION"});
        return VarArrayOf({fields, VarArrayOf(rows)});
    }

    // Full rights and no data limits: item 4 of element 1 holds the permission characters, element 5
    // the (empty) list of limits.
    Variant GetPower(const Variant& arg) {
        try {
            Elements(arg, 4, "GetPower expects [database name, user code, program code, \"\"]");
        } catch (const Exception& ex) {
            Fail(ex.what());
        }
        return VarArrayOf({AnsiString(), AnsiString("1,1,1,YYYYYYYYYY"), AnsiString(), AnsiString(),
                           AnsiString(), VarArrayOf({0})});
    }

    // Stores the job and answers its number as text, or "ERROR" with the reason kept for ErrorDescript.
    Variant Request(const Variant& request, const AnsiString& computer, const AnsiString& state) {
        try {
            if (!VarIsArray(request) || VarArrayDimCount(request) != 1 || VarArrayLowBound(request, 1) != 0 ||
                (VarArrayHighBound(request, 1) != 2 && VarArrayHighBound(request, 1) != 4))
                throw EOleError("The request must be an array with bounds 0..2 or 0..4");
            const Variant& env = request[0];
            if (!VarIsArray(env) || VarArrayDimCount(env) != 1 || VarArrayLowBound(env, 1) != 1 ||
                VarArrayHighBound(env, 1) < 9)
                throw EOleError(
                    "Element 0 of the request must be the environment array from 1 to at least 9");
            JobRecord job;
            job.Programme = Text(env[1]);
            job.Creator = Text(env[5]);
            job.JobKind = Text(env[9]);
            Variant mode = ElementOr(env, 10);
            job.RunMode = VarIsEmpty(mode) ? 0 : mode.AsInteger();
            WireWriter w;
            w.Var(request);
            job.Request = w.Data();
            job.Computer = computer;
            job.State = state;
            job.Submitted = Now();
            Variant start = ElementOr(env, 11);
            job.StartTime = VarIsEmpty(start) ? job.Submitted : start.AsDateTime();
            job.Updated = job.Submitted;
            return Variant(IntToStr(Store().AddJob(job)));
        } catch (const Exception& e) {
            lastError_ = e.what();
            return Variant(AnsiString("ERROR"));
        }
    }

    Variant UpdateStatus(const Variant& jobNo, const Variant& messages, const Variant& when) {
        long long no = 0;
        if (VarIsArray(jobNo) || !TryStrToInt64(Trim(VarToStr(jobNo)), no))
            Fail("Invalid job number: " + VarToStr(jobNo));
        AnsiString text;
        try {
            if (VarIsArray(messages)) {
                for (int i = 0; i < messages.ElementCount(); ++i)
                    text += Text(messages.ElementAt(i)) + "\r\n";
            } else {
                text = Text(messages);
            }
            TDateTime at = VarIsEmpty(when) ? Now() : when.AsDateTime();
            if (!Store().UpdateJob(no, "Done", text, at)) throw EOleError("There is no job " + IntToStr(no));
        } catch (const Exception& e) {
            Fail(e.what());
        }
        return Variant();
    }

    AnsiString fileName_;
    std::unique_ptr<TinsleyStore> store_;
    AnsiString lastError_;
    bool loaded_ = false;
    AnsiString user_;
    AnsiString programme_;
};

} // namespace

IDispatchObject* CreateTinsleyServer(const AnsiString& fileName) {
    return new TdmTinsley(fileName.empty() ? TinsleyStore::DefaultFileName() : fileName);
}

} // namespace qz
