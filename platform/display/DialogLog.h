#pragma once
// The session log of modal dialogs: one line each on standard output, in the order they were shown,
// once each has closed: dialog "CAPTION": [ITEM] TEXT -> BUTTON. On when QZ_LOG_DIALOGS is set (the
// reference host sets it); the session's window is left out.
#include "platform/core/Types.h"

namespace qz {

class TCustomForm;

// The message item a dialog shows ("E;000013"), printed before its text.
void NoteDialogItem(TCustomForm* dialog, const AnsiString& item);
void DialogShown(TCustomForm* dialog);
void DialogEnded(TCustomForm* dialog);
// A dialog destroyed: its entry is dropped (and, when it never ended, its line is printed).
void DialogForgotten(TCustomForm* dialog);

// The window of the session (the module's window, shown by its controller): scripts act on it, and
// the dialog log leaves it out.
void SetSessionWindow(TCustomForm* form);
TCustomForm* SessionWindow();

} // namespace qz
