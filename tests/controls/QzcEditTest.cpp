#include "controls/QzcEdit.h"
#include "controls/F2Button.h"
#include "controls/QzControls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>
#include <map>

namespace qz {
namespace {

// A data set of one record: field name -> (display label, text).
class FakeDataSet : public TFieldDataSet {
public:
    std::map<AnsiString, std::pair<AnsiString, AnsiString>> fields;
    bool FieldDisplayLabel(const AnsiString& name, AnsiString& displayLabel) const override {
        auto it = fields.find(name);
        if (it == fields.end()) return false;
        displayLabel = it->second.first;
        return true;
    }
    bool FieldText(const AnsiString& name, AnsiString& text) const override {
        auto it = fields.find(name);
        if (it == fields.end()) return false;
        text = it->second.second;
        return true;
    }
};

// A window that records the open-window requests it receives.
class TRequestForm : public TForm {
public:
    explicit TRequestForm(TComponent* owner) : TForm(owner) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_OPENWINDOW) requests.push_back(reinterpret_cast<TWinControl*>(m.LParam));
        TForm::WndProc(m);
    }
    std::vector<TWinControl*> requests;
};

class EditForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TRequestForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        other = new TEdit(form);
        other->SetParent(form);
        form->Show();
        other->SetFocus();
    }
    void TearDown() override { form->Free(); }
    template <class T> T* Make() {
        auto* e = new T(form);
        e->SetParent(form);
        e->SetBounds(100, 50, 121, 21);
        return e;
    }
    TRequestForm* form;
    TEdit* other;
};

// The label placement and the label's life are the same for both labelled edits.
template <class T> void CheckLabelPlacement(T* edit) {
    TLabel* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Name(), "EditLabel");
    EXPECT_EQ(label->Owner(), edit);
    EXPECT_EQ(label->Caption(), "");
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(edit->LabelPosition(), lpLeft);
    EXPECT_EQ(edit->LabelSpacing(), 4);

    label->SetAutoSize(false);
    label->SetBounds(0, 0, 40, 13);
    struct Case {
        TLabelPosition position;
        int left, top;
    };
    for (const Case& c :
         std::vector<Case>{{lpLeft, 56, 54}, {lpAbove, 100, 33}, {lpBelow, 100, 75}, {lpRight, 225, 54}}) {
        SCOPED_TRACE(static_cast<int>(c.position));
        edit->SetLabelPosition(c.position);
        EXPECT_EQ(label->BoundsRect(), Bounds(c.left, c.top, 40, 13));
    }

    // A negative spacing is ignored; 0 is a spacing.
    edit->SetLabelPosition(lpLeft);
    edit->SetLabelSpacing(-1);
    EXPECT_EQ(edit->LabelSpacing(), 4);
    EXPECT_EQ(label->Left(), 56);
    edit->SetLabelSpacing(0);
    EXPECT_EQ(label->Left(), 60);

    // The label follows a move of the edit, its parent, enabled state and visibility.
    edit->SetBounds(200, 100, 80, 25);
    EXPECT_EQ(label->BoundsRect(), Bounds(160, 106, 40, 13));
    auto* panel = new TPanel(edit->Owner());
    panel->SetParent(edit->Parent());
    edit->SetParent(panel);
    EXPECT_EQ(label->Parent(), panel);
    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    edit->SetVisible(true);
    edit->SetEnabled(true);
    EXPECT_TRUE(label->Visible() && label->Enabled());

    // A caption change resizes the label and keeps its right edge at the spacing from the edit.
    label->SetAutoSize(true);
    edit->SetLabelSpacing(4);
    edit->SetCaption("Number");
    EXPECT_EQ(edit->Caption(), "Number");
    EXPECT_EQ(label->Caption(), "Number");
    EXPECT_GT(label->Width(), 0);
    EXPECT_EQ(label->Left() + label->Width() + 4, 200);

    // A destroyed label is forgotten.
    label->Free();
    EXPECT_EQ(edit->EditLabel(), nullptr);
    EXPECT_EQ(edit->Caption(), "");
    edit->SetCaption("gone");
    edit->SetBounds(10, 10, 50, 21);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->Caption(), "");
}

TEST_F(EditForm, QzEditKeepsItsLabelBesideItself) {
    CheckLabelPlacement(Make<TQzEdit>());
}

TEST_F(EditForm, QzDBEditKeepsItsLabelBesideItself) {
    CheckLabelPlacement(Make<TQzDBEdit>());
}

TEST_F(EditForm, QzBtnDBEditKeepsItsLabelBesideItself) {
    CheckLabelPlacement(Make<TQzBtnDBEdit>());
}

TEST_F(EditForm, DBEditShowsTheFieldTextAndForgetsAFreedSource) {
    FakeDataSet data;
    data.fields["CustNo"] = {"Customer", "C001"};
    auto* source = new TFieldDataSource(form);
    auto* edit = Make<TDBEdit>();
    edit->SetDataField("CustNo");
    EXPECT_EQ(edit->Text(), ""); // no source yet
    edit->SetDataSource(source);
    EXPECT_EQ(edit->Text(), ""); // no data set yet
    source->SetDataSet(&data);
    edit->DataChange();
    EXPECT_EQ(edit->Text(), "C001");
    EXPECT_FALSE(edit->Modified());

    // An unknown field leaves the text.
    edit->SetDataField("Missing");
    EXPECT_EQ(edit->Text(), "C001");

    source->Free();
    EXPECT_EQ(edit->DataSource(), nullptr);
    edit->DataChange();
}

TEST_F(EditForm, QzDBEditTakesTheDisplayLabelOnlyAtDesignTime) {
    FakeDataSet data;
    data.fields["CustNo"] = {"Customer", "C001"};
    auto* source = new TFieldDataSource(form);
    source->SetDataSet(&data);
    auto* edit = Make<TQzDBEdit>();
    edit->SetDataSource(source);
    edit->SetCaption("Kept");

    edit->SetDataField("CustNo");
    EXPECT_EQ(edit->Caption(), "Kept");

    edit->SetDesigning(true);
    edit->SetDataField("Missing");
    EXPECT_EQ(edit->Caption(), "Kept");
    edit->SetDataField("CustNo");
    EXPECT_EQ(edit->Caption(), "Customer");
    EXPECT_EQ(edit->DataField(), "CustNo");
    edit->SetDesigning(false);
}

TEST_F(EditForm, BtnDBEditButtonSitsBehindTheEdit) {
    auto* edit = Make<TQzBtnDBEdit>();
    TGSpeedButton* button = edit->Button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Name(), "F2Button");
    EXPECT_EQ(button->Owner(), edit);
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->GlyphIndex(), 8);
    EXPECT_EQ(edit->GlyphIndex(), 8);
    EXPECT_EQ(edit->ButtonSpacing(), 2);
    EXPECT_EQ(button->Parent(), form);
    EXPECT_EQ(button->BoundsRect(), Bounds(223, 50, 21, 21));

    edit->SetBounds(10, 20, 60, 25);
    EXPECT_EQ(button->BoundsRect(), Bounds(72, 20, 25, 25));
    edit->SetButtonSpacing(5);
    EXPECT_EQ(button->Left(), 75);
    edit->SetGlyphIndex(9);
    EXPECT_EQ(button->GlyphIndex(), 9);
    edit->SetButtonHint("Pick");
    EXPECT_EQ(button->Hint(), "Pick");
    edit->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(button->Visible());

    button->Free();
    EXPECT_EQ(edit->Button(), nullptr);
    edit->SetBounds(0, 0, 50, 21);
    edit->SetEnabled(true);
}

TEST_F(EditForm, BtnDBEditButtonAsksTheWindowForTheLookupUnlessOnDialogIsSet) {
    auto* edit = Make<TQzBtnDBEdit>();
    Application->Click(edit->Button());
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(form->requests, std::vector<TWinControl*>{edit});

    // A disabled edit cannot take the focus: no request.
    other->SetFocus();
    edit->SetEnabled(false);
    edit->Button()->SetEnabled(true);
    Application->Click(edit->Button());
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(form->requests.size(), 1u);
    edit->SetEnabled(true);

    // OnDialog replaces the default action.
    std::vector<TObject*> senders;
    edit->OnDialog = [&](TObject* sender) { senders.push_back(sender); };
    Application->Click(edit->Button());
    EXPECT_EQ(senders, std::vector<TObject*>{edit});
    EXPECT_EQ(form->requests.size(), 1u);
    EXPECT_TRUE(other->Focused());
}

TEST(QzcEdit, FormResourceSetsTheLabelledEdits) {
    RegisterQzControls();
    for (const char* name : {"TQzEdit", "TQzDBEdit", "TQzBtnDBEdit"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmTest: TForm
  Width = 400
  Height = 300
  object edEveryHour: TQzEdit
    Left = 100
    Top = 50
    Width = 60
    Height = 21
    MaxLength = 6
    Caption = 'Hours'
    LabelPosition = lpAbove
    LabelSpacing = 2
  end
  object edCust: TQzBtnDBEdit
    Left = 100
    Top = 100
    Width = 60
    Height = 21
    GlyphIndex = 9
    ButtonSpacing = 3
    ButtonHint = 'Customers'
  end
end
)");
    auto* ed = static_cast<TQzEdit*>(f->FindComponent("edEveryHour"));
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Caption(), "Hours");
    EXPECT_EQ(GetStrProp(ed, "Caption"), "Hours");
    EXPECT_EQ(ed->MaxLength(), 6);
    TLabel* label = ed->EditLabel();
    EXPECT_EQ(label->Parent(), f);
    EXPECT_EQ(label->Left(), 100);
    EXPECT_EQ(label->Top(), 50 - label->Height() - 2);

    auto* btn = static_cast<TQzBtnDBEdit*>(f->FindComponent("edCust"));
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(btn->Button()->GlyphIndex(), 9);
    EXPECT_EQ(btn->Button()->Hint(), "Customers");
    EXPECT_EQ(btn->Button()->BoundsRect(), Bounds(163, 100, 21, 21));
    f->Free();
}

} // namespace
} // namespace qz
