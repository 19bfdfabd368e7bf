#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

constexpr Cardinal WM_OPENWIN = WM_USER + 10; // 1034

class TMsgForm : public TForm {
    QZ_CLASS(TMsgForm)
public:
    using TForm::TForm;
    AnsiString log;
    TControl* openWinControl = nullptr;
    TCloseAction action = caHide;
    bool canClose = true;

    void WMOpenWin(TMessage& m) {
        openWinControl = reinterpret_cast<TControl*>(m.LParam);
        log += "openwin;";
        m.Result = 113;
    }
    void WMMove(TMessage& m) {
        InheritedMessage(TMsgForm::StaticClass(), m);
        log += "move;";
    }
    void FormClose(TObject*, TCloseAction& a) {
        log += "close;";
        a = action;
    }
    void FormCloseQuery(TObject*, bool& can) { can = canClose; }
    void FormHide(TObject*) { log += "hide;"; }
    void FormDestroy(TObject*) { log += "destroy;"; }
};

QZ_CLASS_INFO(TMsgForm, TForm) {
    b.Message(WM_OPENWIN, &TMsgForm::WMOpenWin);
    b.Message(WM_MOVE, &TMsgForm::WMMove);
    b.Method("FormClose", &TMsgForm::FormClose);
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = CreateForm<TMsgForm>(nullptr);
        form->OnClose = TCloseEvent(form, &TMsgForm::FormClose);
        form->OnCloseQuery = TCloseQueryEvent(form, &TMsgForm::FormCloseQuery);
        form->OnHide = TNotifyEvent(form, &TMsgForm::FormHide);
        button = new TButton(form);
        button->SetParent(form);
        form->Show();
    }
    void TearDown() override {
        if (alive) form->Free();
        Application->ProcessMessages();
    }
    TMsgForm* form;
    TButton* button;
    bool alive = true;
};

TEST_F(FormsTest, MessageByNumberReachesTheFormHandlerWithItsControl) {
    EXPECT_EQ(SendMessage(form->Handle(), WM_OPENWIN, 0, reinterpret_cast<LPARAM>(button)), 113);
    EXPECT_EQ(form->openWinControl, button);
    // Posted: handled when the queue is processed.
    form->openWinControl = nullptr;
    EXPECT_TRUE(PostMessage(form->Handle(), WM_OPENWIN, 0, reinterpret_cast<LPARAM>(form)));
    EXPECT_EQ(form->openWinControl, nullptr);
    Application->ProcessMessages();
    EXPECT_EQ(form->openWinControl, form);
    // A handler that passes the message on to the inherited handling; unknown numbers do nothing.
    form->Perform(WM_MOVE);
    EXPECT_EQ(form->Perform(0x7777), 0);
    EXPECT_EQ(form->log, "openwin;openwin;move;");
    EXPECT_FALSE(PostMessage(0xDEAD, WM_CLOSE));
}

TEST_F(FormsTest, PostedCloseIsHandledAfterTheCurrentHandlerReturns) {
    bool visibleAfterPost = false;
    button->OnClick = [&](TObject*) {
        PostMessage(form->Handle(), WM_CLOSE);
        visibleAfterPost = form->Visible();
        form->log += "click;";
    };
    Application->Click(button);
    EXPECT_TRUE(visibleAfterPost);
    EXPECT_EQ(form->log, "click;close;hide;");
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormsTest, CloseActions) {
    struct Case {
        TCloseAction action;
        bool canClose;
        bool visible;
        TWindowState state;
    };
    const Case cases[] = {
        {caHide, true, false, wsNormal},
        {caNone, true, true, wsNormal},
        {caHide, false, true, wsNormal},
        {caMinimize, true, true, wsMinimized},
    };
    for (const auto& c : cases) {
        form->Show();
        form->SetWindowState(wsNormal);
        form->action = c.action;
        form->canClose = c.canClose;
        form->Close();
        EXPECT_EQ(form->Visible(), c.visible);
        EXPECT_EQ(form->WindowState(), c.state);
    }
}

TEST_F(FormsTest, CloseWithFreeReleasesTheFormLater) {
    AnsiString log;
    form->OnDestroy = [&](TObject*) { log += "destroy;"; };
    form->action = caFree;
    form->Close();
    EXPECT_EQ(log, ""); // freed by the queue, not inside Close
    Application->ProcessMessages();
    EXPECT_EQ(log, "destroy;");
    alive = false;
}

TEST_F(FormsTest, UnansweredModalFormEndsWithCancel) {
    auto* dialog = CreateForm<TForm>(nullptr);
    AnsiString log;
    dialog->OnShow = [&](TObject*) { log += "show;"; };
    dialog->OnHide = [&](TObject*) { log += "hide;"; };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(log, "show;hide;");
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Screen->ActiveForm(), form); // the previous form is active again
    dialog->Free();
}

// A host that answers modal forms by clicking their first button.
class TClickingHost : public TFormHost {
public:
    bool ModalStep(TCustomForm* form, int step) override {
        if (step > 0) return false;
        for (int i = 0; i < form->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(form->Controls(i))) {
                Application->Click(b);
                break;
            }
        return true;
    }
};

TEST_F(FormsTest, ModalResultOfTheClickedButtonAndCloseQuery) {
    TClickingHost host;
    TFormHost* old = SetFormHost(&host);
    auto* dialog = CreateForm<TMsgForm>(nullptr);
    dialog->OnCloseQuery = TCloseQueryEvent(dialog, &TMsgForm::FormCloseQuery);
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->SetModalResult(mrOk);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    // A close query that refuses keeps the dialog open; the host then gives up.
    dialog->canClose = false;
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_THROW(form->ShowModal(), EInvalidOperation); // already visible
    SetFormHost(old);
    dialog->Free();
}

} // namespace
} // namespace qz
