#include "outside/appserver/TinsleyServer.h"

#include "outside/appserver/TinsleyRequest.h"
#include "outside/appserver/TinsleyStore.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/os/IniFiles.h"
#include "platform/os/Registry.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace qz {

namespace {

const char* const kPlanProvider = "pvdConSave";
// The kind of database behind the server object: 0, the one kind it has.
constexpr int kSqlType = 0;
// The rights of a user the store knows nothing about: none.
const char* const kNoRights = "NNNNNNNNNN";

// The trimmed pieces of a text between separators.
std::vector<AnsiString> Pieces(const AnsiString& text, char separator) {
    std::vector<AnsiString> pieces;
    size_t from = 0;
    for (size_t end; (end = text.find(separator, from)) != AnsiString::npos; from = end + 1)
        pieces.push_back(Trim(text.substr(from, end - from)));
    pieces.push_back(Trim(text.substr(from)));
    return pieces;
}

// A line "USER/PROGRAM=rights;limit kind;limit 1,limit 2,..." of the rights section.
std::optional<RightsRecord> RightsLine(const AnsiString& key, const AnsiString& value) {
    std::vector<AnsiString> names = Pieces(key, '/'), parts = Pieces(value, ';');
    if (names.size() != 2 || names[0].empty() || names[1].empty()) return std::nullopt;
    RightsRecord rights{names[0], names[1], parts[0], parts.size() > 1 ? parts[1] : "", {}};
    if (parts.size() > 2)
        for (const AnsiString& limit : Pieces(parts[2], ','))
            if (!limit.empty()) rights.Limits.push_back(limit);
    return rights;
}

// The rights the server installation names ("<ServerPath>/TinsleyS.ini", section [Rights]; "*" for
// every user or program) put into the store, replacing what it held for those users and programs.
void ImportRights(TinsleyStore& store) {
    TRegistry registry;
    registry.RootKey = HKEY_LOCAL_MACHINE;
    if (!registry.OpenKeyReadOnly("Software\\Qz\\Corvane")) return;
    AnsiString folder = registry.ReadString("ServerPath");
    if (folder.empty()) return;
    TIniFile ini(IncludeTrailingPathDelimiter(folder) + "TinsleyS.ini");
    TStringList lines;
    ini.ReadSectionValues("Rights", lines);
    for (int i = 0; i < lines.Count(); ++i)
        if (auto rights = RightsLine(lines.Names(i), lines.ValueFromIndex(i))) store.SetRights(*rights);
}

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
        RegisterMethod("SQLType", [](DispArgs&) { return Variant(kSqlType); });
        RegisterMethod("Request", [this](DispArgs& a) { return Request(a[0], nullptr); });
        RegisterMethod("Request1", [this](DispArgs& a) {
            AnsiString computer = VarIsArray(a[1]) || VarIsObject(a[1]) ? AnsiString() : VarToStr(a[1]);
            return Request(a[0], &computer);
        });
        RegisterMethod("ErrorDescript", [this](DispArgs&) { return Variant(LastError()); });
        RegisterMethod("UpdateStatus1", [this](DispArgs& a) { return UpdateStatus(a[0], a[1], a[2]); });
    }

private:
    TinsleyStore& Store() {
        std::lock_guard lock(mutex_);
        if (!store_) {
            auto store = std::make_unique<TinsleyStore>(fileName_);
            ImportRights(*store);
            store_ = std::move(store);
        }
        return *store_;
    }

    AnsiString LastError() {
        std::lock_guard lock(mutex_);
        return lastError_;
    }

    void SetLastError(const AnsiString& error) {
        std::lock_guard lock(mutex_);
        lastError_ = error;
    }

    // Runs a call that answers an error text: "" on success; a failure's message otherwise.
    template <class F> Variant Answer(F call) {
        AnsiString error;
        try {
            error = call();
        } catch (const Exception& e) {
            error = e.what();
        }
        if (!error.empty()) SetLastError(error);
        return Variant(error);
    }

    // Raises EOleError with message, remembered for ErrorDescript.
    [[noreturn]] void Fail(const AnsiString& message) {
        SetLastError(message);
        throw EOleError(message);
    }

    Variant LoadTable(const Variant& arg) {
        std::vector<Variant> e;
        try {
            e = Elements(arg, 2, "LoadTable expects [user code, program code]");
            std::lock_guard lock(mutex_);
            user_ = Text(e[0]);
            programme_ = Text(e[1]);
            loaded_ = true;
        } catch (const Exception& ex) {
            Fail(ex.what());
        }
        return Variant();
    }

    // The data packet of a provider: [field names, rows].
    Variant GetRecords(const AnsiString& provider) {
        if (!SameText(provider, kPlanProvider)) Fail("Unknown provider: " + provider);
        std::vector<Variant> rows;
        std::unique_lock lock(mutex_);
        bool loaded = loaded_;
        AnsiString user = user_, programme = programme_;
        lock.unlock();
        if (loaded) {
            for (const PlanRecord& p : Store().Plans(user, programme))
                rows.push_back(VarArrayOf(
                    {p.Key.Name, p.Key.Creator, p.Key.Programme, p.CreateDate, p.SCondition, p.VCondition}));
        }
        Variant fields =
            VarArrayOf({"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION", "VCONDITION"});
        return VarArrayOf({fields, VarArrayOf(rows)});
    }

    // The rights of the user in the program: [database name, "1,0,0,<rights>" (item 4 the rights
    // string; item 1 "0" for a user the store does not know, who has none), "", "", the limit kind,
    // [number of limits, limit 1, ...]].
    Variant GetPower(const Variant& arg) {
        std::vector<Variant> e;
        AnsiString user, programme;
        try {
            e = Elements(arg, 4, "GetPower expects [database name, user code, program code, \"\"]");
            user = Text(e[1]);
            programme = Text(e[2]);
        } catch (const Exception& ex) {
            Fail(ex.what());
        }
        std::optional<RightsRecord> rights = Store().Rights(user, programme);
        const AnsiString known = rights ? "1" : "0";
        if (!rights) rights = RightsRecord{user, programme, kNoRights, "", {}};
        std::vector<Variant> limits;
        limits.emplace_back(static_cast<int>(rights->Limits.size()));
        for (const AnsiString& limit : rights->Limits) limits.emplace_back(limit);
        return VarArrayOf({e[0], known + ",0,0," + rights->Rights, AnsiString(), AnsiString(),
                           rights->LimitKind, VarArrayOf(limits)});
    }

    // Stores the job and answers its number as text, or "ERROR" with the reason kept for ErrorDescript.
    // A job of Request1 (computer given) runs in the client that registers it.
    Variant Request(const Variant& request, const AnsiString* computer) {
        try {
            JobRecord job = ReadJobRequest(request);
            if (computer) {
                job.Computer = *computer;
                job.State = kStateRunningInClient;
            }
            return Variant(IntToStr(Store().AddJob(job)));
        } catch (const std::exception& e) {
            SetLastError(e.what());
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
            if (!Store().UpdateJob(no, kStateDone, text, at))
                throw EOleError("There is no job " + IntToStr(no));
        } catch (const Exception& e) {
            Fail(e.what());
        }
        return Variant();
    }

    AnsiString fileName_;
    std::unique_ptr<TinsleyStore> store_;
    std::mutex mutex_; // the store's creation and the last error, for calls from several threads
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
