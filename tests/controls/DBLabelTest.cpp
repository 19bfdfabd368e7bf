#include "controls/DBLabel.h"
#include "controls/QzControls.h"
#include "controls/QzcEdit.h"
#include "platform/core/CodePages.h"
#include "platform/display/Display.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

// Answers the next message boxes with OK and keeps their texts.
class MessageBoxes {
public:
    MessageBoxes() {
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            texts.push_back(static_cast<TControl*>(form.FindComponent("Message"))->Caption());
            ClickControl(form, "OK");
        });
    }
    ~MessageBoxes() { HeadlessDisplay()->ClearModalDrivers(); }
    std::vector<AnsiString> texts;
};

// One field, "CustNo", labelled "Customer"; or a data set whose every answer raises.
class FakeDataSet : public TFieldDataSet {
public:
    bool raises = false;
    bool FieldDisplayLabel(const AnsiString& name, AnsiString& displayLabel) const override {
        if (raises) throw Exception("broken");
        if (name != "CustNo") return false;
        displayLabel = "Customer";
        return true;
    }
    bool FieldText(const AnsiString&, AnsiString&) const override { return false; }
};

class LabelForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(100, 50, 121, 21);
        label = NewLabel();
    }
    void TearDown() override {
        form->Free();
        Application->ProcessMessages();
    }
    // A label of fixed size, 40 x 13.
    TDBLabel* NewLabel() {
        auto* l = new TDBLabel(form);
        l->SetParent(form);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 40, 13);
        return l;
    }
    TForm* form;
    TEdit* edit;
    TDBLabel* label;
};

TEST_F(LabelForm, NewLabel) {
    EXPECT_EQ(label->Caption(), GB("挂靠标签"));
    EXPECT_TRUE(label->AutoAlign());
    EXPECT_TRUE(label->AutoCaption());
    EXPECT_EQ(label->Pos(), psLeft);
    EXPECT_EQ(label->Gap(), 4);
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(LabelForm, PlacesItselfBesideTheControl) {
    struct Case {
        TPos pos;
        TRect control;
        int labelHeight;
        int left, top;
    };
    const std::vector<Case> cases = {
        {psLeft, Bounds(100, 50, 121, 21), 13, 56, 54}, {psRight, Bounds(100, 50, 121, 21), 13, 225, 54},
        {psTop, Bounds(100, 50, 121, 21), 13, 100, 33}, {psBottom, Bounds(100, 50, 121, 21), 13, 100, 75},
        {psLeft, Bounds(100, 50, 121, 21), 21, 56, 50}, // same height: same top
        {psLeft, Bounds(100, 50, 121, 20), 13, 56, 54}, // 50 + 10 - 6
        {psTop, Bounds(100, 5, 121, 21), 13, 100, 0},   // not -12
        {psLeft, Bounds(20, 0, 121, 21), 25, 0, 0},     // not -24, -2
    };
    label->SetFocusControl(edit);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases.data()));
        edit->SetBoundsRect(c.control);
        label->SetHeight(c.labelHeight);
        label->SetPos(c.pos == psLeft ? psRight : psLeft);
        label->SetPos(c.pos);
        EXPECT_EQ(label->BoundsRect(), Bounds(c.left, c.top, 40, c.labelHeight));
    }
}

TEST_F(LabelForm, RefreshesOnlyOnItsTriggers) {
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Left(), 56);

    // A moved control leaves the label until something refreshes it.
    edit->SetLeft(200);
    EXPECT_EQ(label->Left(), 56);
    label->SetPos(psLeft); // same value: nothing
    label->SetGap(4);
    EXPECT_EQ(label->Left(), 56);
    label->SetGap(6);
    EXPECT_EQ(label->Left(), 154);

    // Without AutoAlign the label stays where it is put.
    label->SetAutoAlign(false);
    label->SetLeft(5);
    label->SetPos(psRight);
    EXPECT_EQ(label->Left(), 5);
    label->SetAutoAlign(true);
    EXPECT_EQ(label->Left(), 327);

    // The refresh the label posted when it was created aligns it once the messages are processed,
    // once only.
    label->SetLeft(5);
    Application->ProcessMessages();
    EXPECT_EQ(label->Left(), 327);
    label->SetLeft(5);
    Application->ProcessMessages();
    EXPECT_EQ(label->Left(), 5);

    // A label freed before its message is processed is not reached.
    NewLabel()->Free();
    Application->ProcessMessages();
}

TEST_F(LabelForm, CaptionFromTheDataFieldOfTheControl) {
    FakeDataSet data;
    auto* source = new TFieldDataSource(form);
    auto* dbEdit = new TQzDBEdit(form);
    dbEdit->SetParent(form);
    dbEdit->SetDataField("CustNo");
    dbEdit->SetDataSource(source);

    // No data set yet: the caption stays.
    label->SetFocusControl(dbEdit);
    EXPECT_EQ(label->Caption(), GB("挂靠标签"));

    source->SetDataSet(&data);
    label->SetAutoCaption(false);
    EXPECT_EQ(label->Caption(), GB("挂靠标签"));
    label->SetAutoCaption(true);
    EXPECT_EQ(label->Caption(), "Customer");

    // An unknown field and a failing data set leave the caption.
    label->SetCaption("Kept");
    dbEdit->SetDataField("Missing");
    label->SetAutoCaption(true);
    EXPECT_EQ(label->Caption(), "Kept");
    dbEdit->SetDataField("CustNo");
    data.raises = true;
    label->SetAutoCaption(true);
    EXPECT_EQ(label->Caption(), "Kept");

    // A control without a data source keeps the caption as it is.
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Caption(), "Kept");
}

TEST_F(LabelForm, SecondLabelForTheSameControlIsRefused) {
    MessageBoxes boxes;
    label->SetFocusControl(edit);
    auto* second = NewLabel();
    second->SetFocusControl(edit);
    EXPECT_EQ(second->FocusControl(), nullptr);
    // The label that serves the control already is refused too, and keeps it.
    label->SetFocusControl(edit);
    EXPECT_EQ(label->FocusControl(), edit);
    const AnsiString text = GB("不能同时有两个 DBLabel 指到同一个 Control.");
    EXPECT_EQ(boxes.texts, (std::vector<AnsiString>{text, text}));

    // Clearing is no conflict; a freed control is forgotten.
    second->SetFocusControl(nullptr);
    label->SetFocusControl(nullptr);
    second->SetFocusControl(edit);
    EXPECT_EQ(second->FocusControl(), edit);
    edit->Free();
    EXPECT_EQ(second->FocusControl(), nullptr);
    EXPECT_EQ(boxes.texts.size(), 2u);
}

TEST(DBLabel, FormResourceBindsTheLabelToALaterControl) {
    RegisterQzControls();
    EXPECT_NE(GetClass("TDBLabel"), nullptr);
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmTest: TForm
  Width = 400
  Height = 300
  object lblCust: TDBLabel
    Left = 8
    Top = 12
    Caption = 'Cust'
    FocusControl = edCust
    Pos = psTop
    Gap = 2
  end
  object edCust: TEdit
    Left = 60
    Top = 30
    Width = 85
    Height = 21
  end
end
)");
    auto* l = static_cast<TDBLabel*>(f->FindComponent("lblCust"));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->FocusControl(), f->FindComponent("edCust"));
    EXPECT_EQ(l->Caption(), "Cust");
    EXPECT_EQ(l->Pos(), psTop);
    Application->ProcessMessages();
    EXPECT_EQ(l->Left(), 60);
    EXPECT_EQ(l->Top(), 30 - l->Height() - 2);
    f->Free();
}

} // namespace
} // namespace qz
