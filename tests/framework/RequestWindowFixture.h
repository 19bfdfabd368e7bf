#pragma once
// A request window in a test installation: a registry and client settings in a temporary folder, the
// module's server object and the host's application object as recording doubles, message boxes
// answered with OK.
#include "TestGeneWindow.h"
#include "doubles/RecordingObject.h"
#include "doubles/TestInstallation.h"
#include "module/RovanCF.h"
#include "platform/display/Display.h"
#include "platform/os/System.h"
#include "platform/variant/ComObj.h"
#include "platform/vcl/Forms.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qz::test {

class RequestWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QZ_REGISTRY", installation.Registry().c_str(), 1);

        server = nullptr;
        RegisterOleFactory("TinsleyS.dmTinsley", [this]() -> IDispatchObject* {
            server = new TRecordingObject;
            server->On("LoadTable", Variant());
            server->On("AS_GetRecords", PlanPacket(plans));
            return server;
        });

        hostVariant = MakeRecording(host);
        counterVariant = MakeRecording(counter);
        validatorVariant = MakeRecording(validator);
        host->On("Com_Counter", counterVariant).On("Com_Validator", validatorVariant);
        host->On("GetMessage",
                 [](DispArgs& a) { return Variant("msg " + a[0].AsString() + a[1].AsString() + " %s"); });
        host->On("CallHelp", Variant());
        counter->On("GetSysInfo", [](DispArgs&) {
            Variant v = VarArrayCreate({0, 1, 0, 0}, varVariant);
            v.PutElement({0, 0}, AnsiString("Qz002"));
            v.PutElement({1, 0}, AnsiString("Demo Co"));
            return v;
        });
        validator->On("QueryData", Variant(false)).On("CheckValue", [](DispArgs& a) {
            a[4] = VarArrayOf(
                {AnsiString("Transfer report"), AnsiString(), AnsiString(), AnsiString(), AnsiString("Y")});
            return Variant(true);
        });

        HeadlessDisplay()->ClearModalDrivers();
        HeadlessDisplay()->SetModalDriver([](TCustomForm& form) {
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
    }

    void TearDown() override {
        while (!windows_.empty()) {
            if (windows_.back()) windows_.back()->Free();
            windows_.pop_back();
        }
        Application->ProcessMessages();
        HeadlessDisplay()->ClearModalDrivers();
        UnregisterOleFactory("TinsleyS.dmTinsley");
        unsetenv("QZ_REGISTRY");
    }

    // A new window of the module, given its module file and the host object.
    TfrmRovan* NewWindow(const AnsiString& modulePath = "/opt/qz/RovanC.so") {
        return New<TfrmRovan>(modulePath);
    }
    // A new window of the framework alone, not yet initialised: a test adds its controls first.
    TfrmTestGene* NewTestWindow() { return New<TfrmTestGene>("/opt/qz/BASGENX.so"); }

    // Forgets a window that freed itself.
    void Forget(TfrmBaseGene* w) { std::erase(windows_, w); }

    // The plan provider's packet: [field names, rows] of [name, creator, program, date].
    static Variant PlanPacket(const std::vector<std::vector<AnsiString>>& rows) {
        Variant names =
            VarArrayOf({AnsiString("NCONDITION"), AnsiString("CREATOR"), AnsiString("PROGRAMME"),
                        AnsiString("CREATE_DATE"), AnsiString("SCONDITION"), AnsiString("VCONDITION")});
        Variant data = VarArrayCreate({0, static_cast<int>(rows.size()) - 1}, varVariant);
        for (size_t i = 0; i < rows.size(); ++i)
            data[static_cast<int>(i)] =
                VarArrayOf({rows[i][0], rows[i][1], rows[i][2], rows[i][3], AnsiString(), AnsiString()});
        return VarArrayOf({names, data});
    }

    static Variant HostParams(int count) {
        const char* values[] = {"U01", "C01", "DB01", "0", ""};
        Variant p = VarArrayCreate({0, count - 1}, varVariant);
        for (int i = 0; i < count; ++i) p[i] = i == 3 ? Variant(0) : Variant(AnsiString(values[i]));
        return p;
    }

    TRecordingObject* host = nullptr;
    TRecordingObject* counter = nullptr;
    TRecordingObject* validator = nullptr;
    TRecordingObject* server = nullptr;
    Variant hostVariant, counterVariant, validatorVariant;
    std::vector<std::vector<AnsiString>> plans; // what the plan provider serves
    TestInstallation installation;

private:
    template <class T> T* New(const AnsiString& modulePath) {
        auto* w = CreateForm<T>(nullptr);
        windows_.push_back(w);
        w->SetModulePath(modulePath);
        w->FHostObject = hostVariant;
        return w;
    }

    std::vector<TfrmBaseGene*> windows_;
};

} // namespace qz::test
