#include "outside/host/HostServices.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/os/IniFiles.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <cstdio>
#include <memory>

namespace qz {

namespace {

// Texts of the demo company, written once in UTF-8.
AnsiString Text(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

class TCounterService : public TAutoObject {
public:
    TCounterService() {
        RegisterMethod("GetSysInfo", [](DispArgs&) {
            const std::pair<const char*, AnsiString> settings[] = {
                {"Qz002", Text("演示贸易有限公司")}, {"Sys001", "1"}, {"Sys002", "/"}};
            Variant answer = VarArrayCreate({0, 1, 0, 2}, varVariant);
            for (int i = 0; i < 3; ++i) {
                answer.PutElement({0, i}, AnsiString(settings[i].first));
                answer.PutElement({1, i}, settings[i].second);
            }
            return answer;
        });
        RegisterMethod("GetCounter", [](DispArgs& a) { return Variant(a[0].AsString() + "-0001"); });
    }
};

class TValidatorService : public TAutoObject {
public:
    TValidatorService() {
        RegisterProperty(
            "BaseLimited", [this] { return limits_; }, [this](const Variant& v) { limits_ = v; });
        auto query = [](DispArgs& a) {
            AnsiString table = a[0].AsString(), kind = a[1].AsString();
            if (table == "ADMMB" && kind == "01") {
                // The program table: name, group, kind, owner, log wanted, ..., English name.
                a[4] = VarArrayOf({Text("转单失败报表"), AnsiString("R"), AnsiString("1"), AnsiString("ADM"),
                                   AnsiString("N"), AnsiString(""), AnsiString(""),
                                   AnsiString("Transfer failure report")});
                return Variant(true);
            }
            return Variant(false);
        };
        RegisterMethod("QueryData", query);
        RegisterMethod("CheckValue", query);
    }

private:
    Variant limits_;
};

class TLookupService : public TAutoObject {
public:
    explicit TLookupService(bool verbose) {
        RegisterMethod("F2GetData", [verbose](DispArgs& a) {
            if (verbose) std::printf("lookup %s %s\n", VarToStr(a[0][0]).c_str(), VarToStr(a[0][1]).c_str());
            return Variant();
        });
        RegisterMethod("GetPhrase", [](DispArgs&) { return Variant(AnsiString()); });
        RegisterMethod("ShowInputDay", [](DispArgs& a) { return a[0][1]; });
    }
};

class THostApplication : public TAutoObject {
public:
    explicit THostApplication(const THostOptions& options) : catalogue_(options.catalogueFile) {
        counter_ = Variant(static_cast<IDispatchObject*>(new TCounterService));
        validator_ = Variant(static_cast<IDispatchObject*>(new TValidatorService));
        lookup_ = Variant(static_cast<IDispatchObject*>(new TLookupService(options.verbose)));
        RegisterProperty("Com_Counter", [this] { return counter_; });
        RegisterProperty("Com_Validator", [this] { return validator_; });
        RegisterProperty("Com_F2Window", [this] { return lookup_; });
        RegisterMethod("GetMessage", [this](DispArgs& a) {
            AnsiString kind = a[0].AsString(), id = a[1].AsString();
            AnsiString text = catalogue_.ReadString(kind, id, "");
            if (text.empty()) return Variant(Text("未定义的讯息") + " " + kind + ";" + id);
            return Variant(Utf8ToAnsi(text));
        });
        RegisterMethod("CallHelp", [verbose = options.verbose](DispArgs& a) {
            if (verbose) std::printf("help %s %s\n", VarToStr(a[0][0]).c_str(), VarToStr(a[0][1]).c_str());
            return Variant();
        });
        RegisterMethod("GetFileList", [](DispArgs&) { return Variant(AnsiString()); });
    }

private:
    TIniFile catalogue_;
    Variant counter_, validator_, lookup_;
};

} // namespace

Variant CreateHostApplication(const THostOptions& options) {
    return Variant(static_cast<IDispatchObject*>(new THostApplication(options)));
}

AnsiString CatalogueBeside(const AnsiString& binaryFile) {
    return ExtractFilePath(binaryFile) + "../share/qz/catalogue.ini";
}

} // namespace qz
