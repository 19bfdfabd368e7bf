#include "platform/vcl/Dialogs.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/TextEngine.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include <algorithm>

namespace qz {

namespace {

struct ButtonKind {
    const char* name;
    const char* caption;
    TModalResult result;
};

constexpr ButtonKind kButtons[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};

const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm"};

constexpr int kMargin = 8, kSpacing = 10, kButtonWidth = 75, kButtonHeight = 25, kButtonSpacing = 8,
              kIconSize = 32;

} // namespace

TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
    TForm* form = CreateForm<TForm>(Application);
    try {
        form->SetBorderStyle(bsDialog);
        form->SetPosition(poScreenCenter);
        form->SetCaption(dlgType == mtCustom ? (Application ? Application->Title() : AnsiString())
                                             : AnsiString(kCaptions[dlgType]));

        // The message, wrapped at a quarter of a 640-pixel screen width or more.
        TRect textRect = Rect(0, 0, 640 / 2, 0);
        TBitmap measure(1, 1);
        measure.Canvas().SetFont(*form->Font());
        measure.Canvas().DrawText(msg, textRect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);

        int left = kMargin;
        if (dlgType != mtCustom) {
            auto* image = new TImage(form);
            image->SetName("Image");
            image->SetParent(form);
            image->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
            left += kIconSize + kSpacing;
        }
        auto* label = new TLabel(form);
        label->SetName("Message");
        label->SetParent(form);
        label->SetWordWrap(true);
        label->SetCaption(msg);
        label->SetBounds(left, kMargin, textRect.Width(), textRect.Height());

        std::vector<TMsgDlgBtn> kinds;
        for (int b = mbYes; b <= mbHelp; ++b)
            if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) kinds.push_back(static_cast<TMsgDlgBtn>(b));
        TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
        TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel
                                  : buttons.Contains(mbNo)   ? mbNo
                                                             : mbOK;

        int buttonsWidth = static_cast<int>(kinds.size()) * kButtonWidth +
                           std::max(static_cast<int>(kinds.size()) - 1, 0) * kButtonSpacing;
        int contentWidth = std::max(left + textRect.Width(), buttonsWidth) + kMargin;
        int contentHeight = std::max(textRect.Height(), dlgType != mtCustom ? kIconSize : 0);
        int buttonTop = kMargin + contentHeight + kSpacing;
        form->SetClientWidth(std::max(contentWidth + kMargin, buttonsWidth + 2 * kMargin));
        form->SetClientHeight(buttonTop + kButtonHeight + kMargin);

        int x = (form->ClientWidth() - buttonsWidth) / 2;
        for (TMsgDlgBtn kind : kinds) {
            const ButtonKind& k = kButtons[kind];
            auto* button = new TButton(form);
            button->SetName(k.name);
            button->SetParent(form);
            button->SetCaption(k.caption);
            button->SetModalResult(k.result);
            button->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
            button->SetTabStop(true);
            if (kind == defaultButton) button->SetDefault(true);
            if (kind == cancelButton) button->SetCancel(true);
            x += kButtonWidth + kButtonSpacing;
        }
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

int MessageDlgPos(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx, int x,
                  int y) {
    TForm* form = CreateMessageDialog(msg, dlgType, buttons);
    int result;
    try {
        if (x >= 0) form->SetLeft(x);
        if (y >= 0) form->SetTop(y);
        if (x >= 0 || y >= 0) form->SetPosition(poDesigned);
        result = form->ShowModal();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result;
}

int MessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx) {
    return MessageDlgPos(msg, dlgType, buttons, helpCtx, -1, -1);
}

void ShowMessage(const AnsiString& msg) {
    MessageDlg(msg, mtCustom, {mbOK}, 0);
}

} // namespace qz
