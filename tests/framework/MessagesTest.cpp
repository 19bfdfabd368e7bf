#include "RequestWindowFixture.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <fstream>

namespace qz::test {
namespace {

class MessagesTest : public RequestWindowTest {
protected:
    void SetUp() override {
        RequestWindowTest::SetUp();
        host->On("GetMessage", [](DispArgs& a) {
            AnsiString id = a[1].AsString();
            if (id == "000004") return Variant(AnsiString("job %s submitted"));
            if (id == "000099") return Variant(AnsiString("value %d")); // does not fit text arguments
            return Variant("text of " + a[0].AsString() + id);
        });
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            shown.push_back(form.Caption());
            for (int i = 0; i < form.ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(form.Components(i))) buttons.push_back(b->Caption());
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
        w = NewWindow();
        EXPECT_TRUE(w->InitFromHost(HostParams(5)));
        w->SetCaption("Report");
        shown.clear();
        buttons.clear();
    }

    TfrmRovan* w = nullptr;
    std::vector<AnsiString> shown;
    std::vector<AnsiString> buttons;
};

TEST_F(MessagesTest, RecordOnlyItemsAreQueuedButNotShown) {
    w->ReportMessages("I;-000004;J123");
    EXPECT_EQ(w->FMessageItems, "I;-000004;J123; ");
    EXPECT_EQ(w->FMessageTexts, "job J123 submitted; ");
    EXPECT_TRUE(shown.empty());
}

TEST_F(MessagesTest, AnItemReportedTwiceKeepsOneText) {
    w->ReportMessages("E;000001;x");
    w->ReportMessages("E;000001;x");
    EXPECT_EQ(w->FMessageItems, "E;000001;x; E;000001;x; ");
    EXPECT_EQ(w->FMessageTexts, "text of E000001; ");
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Report");
    w->ReportMessages("");
    EXPECT_EQ(w->FMessageItems, "");
    EXPECT_EQ(w->FMessageTexts, "");
}

TEST_F(MessagesTest, ACatalogueTextThatDoesNotFitShowsTheArgumentsRaw) {
    w->ReportMessages("W;-000099;a;b");
    EXPECT_EQ(w->FMessageTexts, "value %d\ra;b;;;;;;;;;; ");
    EXPECT_THROW(w->ShowMessageById("W", "000099", 0, 0, {"a"}), EConvertError);
}

TEST_F(MessagesTest, NothingIsRecordedWhileCancelIsActive) {
    w->Show();
    w->btnCancel->SetFocus();
    w->ReportMessages("E;000001");
    w->ReportErrorText("boom");
    EXPECT_EQ(w->FMessageItems, "");
    EXPECT_TRUE(shown.empty());
}

TEST_F(MessagesTest, RawErrorTextsAreRecordedOnce) {
    w->ReportErrorText("  disk full \r\n");
    w->ReportErrorText("disk full");
    EXPECT_EQ(w->FMessageItems, "E;-1; E;-1; ");
    EXPECT_EQ(w->FMessageTexts, "disk full; ");
    EXPECT_TRUE(shown.empty());
}

TEST_F(MessagesTest, DuringAPageChangeOnlyErrorsAreShown) {
    w->FLeavingPage = true;
    EXPECT_EQ(w->ShowMessageBox("warn", mtWarning, 4), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(w->ShowMessageBox("err", mtError, 4), mrOk);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(MessagesTest, ButtonsSpeakChineseUnlessTheInterfaceIsEnglish) {
    w->ShowMessageById("D", "000001", 0, 0, {""});
    EXPECT_EQ(buttons, std::vector<AnsiString>({GB("是(&Y)"), GB("否(&N)"), GB("取消")}));
}

TEST_F(RequestWindowTest, ButtonsKeepTheirEnglishCaptionsWithAnEnglishInterface) {
    installation.WriteClientSettings(
        "[Server Information]\nComputerName=127.0.0.1\n[CodePage]\nUICodePage=437\n");
    std::vector<AnsiString> buttons;
    HeadlessDisplay()->SetModalDriver([&](TCustomForm& form) {
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(form.Components(i))) buttons.push_back(b->Caption());
    });
    TfrmRovan* w = NewWindow();
    EXPECT_EQ(w->GetUICodePage(), "437");
    w->ShowMessageBox("question", mtConfirmation, static_cast<Word>(TMsgDlgButtons({mbOK, mbCancel}).Bits()));
    EXPECT_EQ(buttons, std::vector<AnsiString>({"OK", "Cancel"}));
}

TEST_F(MessagesTest, WithoutAHostObjectTheTextSaysSo) {
    w->FHostObject.Clear();
    AnsiString text;
    w->GetMessageText("E", "000007", text);
    EXPECT_EQ(text, "Can not Get Message\rType= E, ID= 000007 ");
}

} // namespace
} // namespace qz::test
