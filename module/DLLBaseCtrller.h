#pragma once
// The controller protocol between the host and the module. The host calls the operations by their
// position in the table of virtual operations (GetVersion is slot 0, the unnamed operation slot 17; the
// destructor comes after them) and reads and writes the public fields in their order.
#include "platform/variant/Variant.h"

#include <cstdint>

namespace qz {

class TObject;
class TDLLBaseController;

using WordBool = std::int16_t; // non-zero is true
using LongBool = std::int32_t; // true is all bits set (-1)
using HWND = std::uintptr_t;

// The host's notification handler: code and the object it is called on.
struct TNotifyHostEvent {
    void (*Code)(void* Data, int NotifyCode, TDLLBaseController* Sender) = nullptr;
    void* Data = nullptr;
    explicit operator bool() const { return Code != nullptr; }
};

enum : int {
    NOTIFY_FORM_CREATED = 0x100,
    NOTIFY_FORM_SHOWN = 0x110,
    NOTIFY_FORM_HIDDEN = 0x120,
    NOTIFY_FORM_DESTROYED = 0x130,
    NOTIFY_140 = 0x140,
};

class TDLLBaseController {
public:
    TDLLBaseController() = default;
    TDLLBaseController(const TDLLBaseController&) = delete;
    TDLLBaseController& operator=(const TDLLBaseController&) = delete;

    virtual void GetVersion(WideString& Version) = 0;                 // 0
    virtual LongBool GetVisible() = 0;                                // 1
    virtual void SetVisible(WordBool Value) = 0;                      // 2
    virtual HWND GetHandle() = 0;                                     // 3
    virtual int CreateForm(const Variant& Params) = 0;                // 4
    virtual int ExecuteCommand(const Variant& Command) = 0;           // 5
    virtual int HandleEvent(int EventType, const Variant& Value) = 0; // 6
    virtual void ShowModal(Variant& ModalResult) = 0;                 // 7
    virtual void FreeForm() = 0;                                      // 8
    virtual int GetModuleInfo(Variant& Info) = 0;                     // 9
    virtual bool IsFormFreed() = 0;                                   // 10
    virtual void DoFormCreated();                                     // 11
    virtual void FormShowHandler(TObject* Sender);                    // 12
    virtual void FormHideHandler(TObject* Sender);                    // 13
    virtual void FormDestroyHandler(TObject* Sender);                 // 14
    virtual void DoNotify140();                                       // 15
    virtual void NotifyHost(int Code);                                // 16
    virtual void Reserved17();                                        // 17
    virtual ~TDLLBaseController();

    Variant HostObject;
    std::int32_t ResultCode = 0;
    Variant ResultValue;
    TNotifyHostEvent OnNotify;
};

// The controller class GetController instantiates; nullptr while unassigned.
using TDLLControllerClass = TDLLBaseController* (*)();
extern TDLLControllerClass DLLControllerClass;

// The text of the internal errors raised when a class variable is unassigned.
AnsiString NotAssignedMessage(const char* variable);

} // namespace qz
