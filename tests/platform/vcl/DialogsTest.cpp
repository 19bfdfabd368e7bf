#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

TEST(Dialogs, ButtonsAreNamedByKindWithResultsDefaultAndCancel) {
    struct Case {
        TMsgDlgButtons buttons;
        std::vector<AnsiString> names;
        const char* defaultButton;
        const char* cancelButton;
    };
    const std::vector<Case> cases = {
        {{mbOK}, {"OK"}, "OK", "OK"},
        {mbYesNoCancel, {"Yes", "No", "Cancel"}, "Yes", "Cancel"},
        {{mbYes, mbNo}, {"Yes", "No"}, "Yes", "No"},
        {mbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Retry", ""},
        {{mbHelp, mbYesToAll, mbNoToAll, mbAll, mbOK},
         {"OK", "All", "NoToAll", "YesToAll", "Help"},
         "OK",
         "OK"},
    };
    for (const Case& c : cases) {
        TForm* dlg = CreateMessageDialog("Save the plan?", mtConfirmation, c.buttons);
        std::vector<AnsiString> names;
        for (int i = 0; i < dlg->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(dlg->Controls(i))) {
                names.push_back(b->Name());
                EXPECT_EQ(b->Default(), b->Name() == c.defaultButton) << b->Name();
                EXPECT_EQ(b->Cancel(), b->Name() == c.cancelButton) << b->Name();
            }
        EXPECT_EQ(names, c.names);
        dlg->Free();
    }

    TForm* dlg = CreateMessageDialog("Line one", mtWarning, mbYesNoCancel);
    EXPECT_EQ(dlg->Caption(), "Warning");
    EXPECT_EQ(static_cast<TButton*>(dlg->FindComponent("No"))->ModalResult(), mrNo);
    EXPECT_EQ(static_cast<TButton*>(dlg->FindComponent("Yes"))->Caption(), "&Yes");
    auto* message = dynamic_cast<TLabel*>(dlg->FindComponent("Message"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->Caption(), "Line one");
    EXPECT_NE(dlg->FindComponent("Image"), nullptr);
    // The buttons lie inside the form, below the message.
    auto* cancel = static_cast<TButton*>(dlg->FindComponent("Cancel"));
    EXPECT_LE(cancel->Left() + cancel->Width(), dlg->ClientWidth());
    EXPECT_GE(cancel->Top(), message->Top() + message->Height());
    dlg->Free();

    dlg = CreateMessageDialog("x", mtCustom, {mbOK});
    EXPECT_EQ(dlg->FindComponent("Image"), nullptr);
    dlg->Free();
}

// Answers the dialog by clicking the button of a name.
class TAnsweringHost : public TFormHost {
public:
    explicit TAnsweringHost(const char* name) : name_(name) {}
    bool ModalStep(TCustomForm* form, int step) override {
        if (step > 0) return false;
        if (auto* b = dynamic_cast<TButton*>(form->FindComponent(name_))) Application->Click(b);
        return true;
    }

private:
    const char* name_;
};

TEST(Dialogs, MessageDlgReturnsTheResultOfTheButtonClicked) {
    for (auto [name, result] : {std::pair{"No", mrNo}, {"Yes", mrYes}, {"Cancel", mrCancel}}) {
        TAnsweringHost host(name);
        TFormHost* old = SetFormHost(&host);
        EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, mbYesNoCancel), result) << name;
        SetFormHost(old);
    }
    TAnsweringHost nobody("none");
    TFormHost* old = SetFormHost(&nobody);
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, {mbYes, mbNo}), mrCancel); // nobody answers
    SetFormHost(old);
}

} // namespace
