#pragma once
// The controller of request windows: creates the window of frmBaseGeneClass, forwards the host's
// operations to it, and keeps its outcome for the host once it is gone.
#include "module/DLLBaseCtrller.h"
#include "platform/rtti/Events.h"

namespace qz {

struct TMetaClass;
class TfrmBaseGene;

class TDLLRPCtrller : public TDLLBaseController {
public:
    TDLLRPCtrller() = default;
    ~TDLLRPCtrller() override;

    void GetVersion(WideString& Version) override;
    LongBool GetVisible() override;
    void SetVisible(WordBool Value) override;
    HWND GetHandle() override;
    int CreateForm(const Variant& Params) override;
    int ExecuteCommand(const Variant& Command) override;
    int HandleEvent(int EventType, const Variant& Value) override;
    void ShowModal(Variant& ModalResult) override;
    void FreeForm() override;
    int GetModuleInfo(Variant& Info) override;
    bool IsFormFreed() override;
    void FormShowHandler(TObject* Sender) override;
    void FormHideHandler(TObject* Sender) override;
    void FormDestroyHandler(TObject* Sender) override;

    TfrmBaseGene* Form = nullptr;
    TNotifyEvent SavedOnShow;
    TNotifyEvent SavedOnHide;
    TNotifyEvent SavedOnDestroy;

private:
    // The handlers installed on the window, so a second chaining does not save them as the window's own.
    TNotifyEvent installedOnShow_, installedOnHide_, installedOnDestroy_;
};

// The window class CreateForm instantiates; nullptr while unassigned.
extern const TMetaClass* frmBaseGeneClass;

} // namespace qz
