#include "platform/vcl/WinApi.h"

#include "platform/vcl/Forms.h"

namespace qz {

bool SetForegroundWindow(HWND handle) {
    TWinControl* control = FindControl(handle);
    if (!control) return false;
    control->BringToFront();
    if (auto* form = dynamic_cast<TCustomForm*>(control); form && form->Visible() && form->CanFocus())
        form->SetFocus();
    return true;
}

bool UpdateWindow(HWND handle) {
    TWinControl* control = FindControl(handle);
    if (!control) return false;
    FormHost()->Invalidate(control);
    return true;
}

} // namespace qz
