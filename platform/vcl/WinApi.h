#pragma once
// Window calls on handles that the module makes of windows it does not own (the host's) or of its own.
#include "platform/vcl/Messages.h"

namespace qz {

// Brings the window of the handle to the front and gives it the focus; false for an unknown handle.
bool SetForegroundWindow(HWND handle);
// Repaints the window of the handle at once; false for an unknown handle (a window of another program).
bool UpdateWindow(HWND handle);

} // namespace qz
