#include "module/DLLRPCtrller.h"

#include "framework/BaseGene.h"
#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/display/DialogLog.h"
#include "platform/os/System.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinApi.h"

namespace qz {

const TMetaClass* frmBaseGeneClass = nullptr;

namespace {

TDLLBaseController* NewRPController() {
    return new TDLLRPCtrller;
}

// The unit's initialisation: the first time it runs it names this controller class.
struct Initialization {
    Initialization() {
        if (!DLLControllerClass) DLLControllerClass = &NewRPController;
    }
} initialization __attribute__((init_priority(2000)));

} // namespace

TDLLRPCtrller::~TDLLRPCtrller() {
    if (Form) FreeForm();
}

void TDLLRPCtrller::GetVersion(WideString& Version) {
    if (Form) Version = AnsiToWide(Form->FVersion);
}

LongBool TDLLRPCtrller::GetVisible() {
    return Form && Form->Visible() ? -1 : 0;
}

void TDLLRPCtrller::SetVisible(WordBool Value) {
    if (!Form) return;
    Form->SetVisible(Value != 0);
    if (Value) {
        if (Form->WindowState() == wsMinimized) Form->SetWindowState(wsNormal);
        SetForegroundWindow(Form->Handle());
    }
}

HWND TDLLRPCtrller::GetHandle() {
    return Form ? Form->Handle() : 0;
}

int TDLLRPCtrller::CreateForm(const Variant& Params) {
    int result = -1;
    Variant params = Params;
    if (!Form) {
        if (!frmBaseGeneClass) throw Exception(NotAssignedMessage("frmBaseGeneClass"));
        Form = static_cast<TfrmBaseGene*>(frmBaseGeneClass->Create(nullptr));
        Form->AfterConstruction();
        SetSessionWindow(Form);
        AnsiString path = GetModuleFileName(reinterpret_cast<const void*>(&frmBaseGeneClass));
        if (path.size() > 261) path.resize(261);
        Form->SetModulePath(path);
        Form->FHostObject = HostObject;
        DoFormCreated();
    }
    if (!(installedOnShow_ && Form->OnShow == installedOnShow_)) {
        SavedOnShow = Form->OnShow;
        installedOnShow_ = TNotifyEvent([this](TObject* sender) { FormShowHandler(sender); });
        Form->OnShow = installedOnShow_;
    }
    if (!(installedOnHide_ && Form->OnHide == installedOnHide_)) {
        SavedOnHide = Form->OnHide;
        installedOnHide_ = TNotifyEvent([this](TObject* sender) { FormHideHandler(sender); });
        Form->OnHide = installedOnHide_;
    }
    if (!(installedOnDestroy_ && Form->OnDestroy == installedOnDestroy_)) {
        SavedOnDestroy = Form->OnDestroy;
        installedOnDestroy_ = TNotifyEvent([this](TObject* sender) { FormDestroyHandler(sender); });
        Form->OnDestroy = installedOnDestroy_;
    }
    if (Form->InitFromHost(params)) result = 0;
    return result;
}

int TDLLRPCtrller::ExecuteCommand(const Variant& Command) {
    if (!Form || VarIsNull(Command) || !VarIsArray(Command)) return -1;
    try {
        Variant payload = VarArrayOf({Variant(true), Command[1]});
        Form->HandleHostCommand(payload);
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

int TDLLRPCtrller::HandleEvent(int EventType, const Variant& Value) {
    if ((EventType != 5 && EventType != 9) || !Form) return -1;
    try {
        Form->HandleHostCommand(VarArrayOf({Variant(false), Value}));
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

void TDLLRPCtrller::ShowModal(Variant& ModalResult) {
    if (!Form) {
        ModalResult = Variant(2);
        return;
    }
    ModalResult = Variant(static_cast<int>(Form->ShowModal()));
    // The module's windows have their own message queue, which the host's loop does not reach: what the
    // window posted while closing (its release) is delivered before control goes back to the host.
    Application->ProcessMessages();
}

void TDLLRPCtrller::FreeForm() {
    if (Form && !Form->IsDestroying()) Form->Free();
}

int TDLLRPCtrller::GetModuleInfo(Variant& Info) {
    if (!Form) return -1;
    Info = VarArrayCreate({0, 3}, varVariant);
    Info[0] = Form->FUserCode;
    Info[1] = Form->FCompanyCode;
    Info[2] = Form->FProgramCode;
    Info[3] = Form->FProgramName;
    return 0;
}

bool TDLLRPCtrller::IsFormFreed() {
    return Form == nullptr;
}

void TDLLRPCtrller::FormShowHandler(TObject* Sender) {
    if (SavedOnShow) SavedOnShow(Sender);
    NotifyHost(NOTIFY_FORM_SHOWN);
}

void TDLLRPCtrller::FormHideHandler(TObject* Sender) {
    if (SavedOnHide) SavedOnHide(Sender);
    NotifyHost(NOTIFY_FORM_HIDDEN);
}

void TDLLRPCtrller::FormDestroyHandler(TObject* Sender) {
    if (Form) {
        ResultCode = Form->FOutcomeCode;
        ResultValue = Form->FOutcomeValue;
        if (SavedOnDestroy) SavedOnDestroy(Sender);
        NotifyHost(NOTIFY_FORM_DESTROYED);
    }
    Form = nullptr;
}

} // namespace qz
