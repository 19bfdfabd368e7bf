#pragma once
// A job-options window with one module condition (the edit edCode on the first page), in the test
// installation of RequestWindowTest, with a server object whose job calls a test scripts.
#include "RequestWindowFixture.h"
#include "framework/BaseOpt.h"
#include "platform/vcl/StdCtrls.h"

#include <map>

namespace qz::test {

class TfrmJobProbe : public TfrmBaseOpt {
    QZ_CLASS(TfrmJobProbe)
public:
    explicit TfrmJobProbe(TComponent* owner) : TfrmBaseOpt(owner) {}
    TEdit* edCode = nullptr;

    void DefineModule() override {
        TfrmBaseOpt::DefineModule();
        SetOptionCount(1);
    }
    bool GetOptionTexts(Variant& Texts, int Index) override {
        if (!TfrmBaseOpt::GetOptionTexts(Texts, Index)) return false;
        Texts[1] = VarArrayOf({AnsiString("Code"), AnsiString("edCode")});
        return true;
    }
    bool GetOptionValues(Variant& Values, int Index) override {
        if (!TfrmBaseOpt::GetOptionValues(Values, Index)) return false;
        Values[1] = edCode->Text();
        return true;
    }
};

// Hears of the windows that free themselves.
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    std::function<void(TComponent*)> OnFreed;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && OnFreed) OnFreed(component);
    }
};

class JobWindowTest : public RequestWindowTest {
protected:
    void SetUp() override {
        RequestWindowTest::SetUp();
        RegisterOleFactory("TinsleyS.dmTinsley", [this]() -> IDispatchObject* {
            server = new TRecordingObject;
            server->On("LoadTable", Variant());
            server->On("AS_GetRecords", PlanPacket(plans));
            server->On("SQLType", Variant(3));
            server->On("GetPower", [this](DispArgs&) { return power; });
            server->On("Request", [this](DispArgs& a) {
                requests.push_back(a[0]);
                AnsiString no = jobNumbers.empty() ? AnsiString("ERROR") : jobNumbers.front();
                if (!jobNumbers.empty()) jobNumbers.erase(jobNumbers.begin());
                return Variant(no);
            });
            server->On("ErrorDescript", Variant(AnsiString("the queue is full")));
            return server;
        });
        host->On("GetMessage",
                 [](DispArgs& a) { return Variant(a[0].AsString() + a[1].AsString() + "[%s]"); });
        watch_.OnFreed = [this](TComponent* c) { std::erase(jobWindows_, c); };
    }

    void TearDown() override {
        while (!jobWindows_.empty()) jobWindows_.back()->Free();
        RequestWindowTest::TearDown();
    }

    // A new window, initialised from the host and shown.
    TfrmJobProbe* NewJobWindow() {
        auto* w = CreateForm<TfrmJobProbe>(nullptr);
        jobWindows_.push_back(w);
        w->FreeNotification(&watch_);
        // What the window holds when it goes, as the controller reads it.
        TNotifyEvent own = w->OnDestroy;
        w->OnDestroy = TNotifyEvent([this, w, own](TObject* sender) {
            closed_[w] = TOutcome{w->FOutcomeCode, w->FOutcomeValue, w->FMessageItems};
            if (own) own(sender);
        });
        w->SetModulePath("/opt/qz/RovanC.so");
        w->FHostObject = hostVariant;
        EXPECT_TRUE(w->InitFromHost(HostParams(5)));
        w->Show();
        return w;
    }

    // The window has freed itself, once the messages waiting are handled.
    bool Freed(TfrmJobProbe* w) {
        Application->ProcessMessages();
        return std::find(jobWindows_.begin(), jobWindows_.end(), w) == jobWindows_.end();
    }

    struct TOutcome {
        int Code = 0;
        Variant Value;
        AnsiString MessageItems;
    };
    // The outcome and messages of a window, open or freed.
    TOutcome OutcomeOf(TfrmJobProbe* w) const {
        auto it = closed_.find(w);
        if (it != closed_.end()) return it->second;
        return {w->FOutcomeCode, w->FOutcomeValue, w->FMessageItems};
    }

    // The requests the server received.
    std::vector<Variant> requests;

    // The answers of Request, in turn; "ERROR" when none is left.
    std::vector<AnsiString> jobNumbers;
    // The answer of GetPower.
    Variant power = VarArrayOf({AnsiString("DB01"), AnsiString("1,0,0,YYYYYYYY"), AnsiString(), AnsiString(),
                                AnsiString(), VarArrayOf({0})});

private:
    std::vector<TComponent*> jobWindows_;
    TFreeWatch watch_;
    std::map<const TfrmJobProbe*, TOutcome> closed_;
};

} // namespace qz::test
