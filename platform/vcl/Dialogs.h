#pragma once
// Message dialogs: a form with an icon, the message and a row of buttons named after their kind
// ("Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help").
#include "platform/vcl/Forms.h"

namespace qz {

QZ_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
QZ_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
        mbHelp)
QZ_SET(TMsgDlgButtons, TMsgDlgBtn)

constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The dialog, not yet shown: caption by type ("Warning", "Error", "Information", "Confirm", or the
// application title for mtCustom), an image "Image" (not for mtCustom), the label "Message", and the
// buttons in the order of TMsgDlgBtn. The default button is OK, else Yes, else Retry; the cancel
// button is Cancel, else No, else OK. The caller frees the form.
TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons);
// Shows the dialog modally and returns its modal result.
int MessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx = 0);
// As MessageDlg, placed at a screen point (-1, -1: centred).
int MessageDlgPos(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx, int x,
                  int y);
void ShowMessage(const AnsiString& msg);

} // namespace qz
