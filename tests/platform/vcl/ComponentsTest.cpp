#include "platform/gfx/Font.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace qz {
namespace {

// Records what it is told.
class TWatcher : public TComponent {
    QZ_CLASS(TWatcher)
public:
    using TComponent::TComponent;
    std::vector<TComponent*> removed;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) removed.push_back(c);
    }
};
QZ_CLASS_INFO(TWatcher, TComponent) {}

class THolder : public TComponent {
    QZ_CLASS(THolder)
public:
    using TComponent::TComponent;
    TButton* btnOk = nullptr;
};
QZ_CLASS_INFO(THolder, TComponent) {
    b.Field("btnOk", &THolder::btnOk);
}

TEST(Components, OwnerNamesOrderAndFreeing) {
    auto* owner = new THolder(nullptr);
    auto* a = new TButton(owner);
    auto* b = new TEdit(owner);
    auto* c = new TLabel(owner);
    a->SetName("btnOk");
    b->SetName("edName");
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->Components(2), c);
    EXPECT_EQ(c->ComponentIndex(), 2);
    EXPECT_EQ(owner->FindComponent("EDNAME"), b);
    EXPECT_EQ(owner->FindComponent("none"), nullptr);
    EXPECT_EQ(owner->btnOk, a); // the published field follows the name
    EXPECT_THROW(c->SetName("edName"), EComponentError);
    EXPECT_THROW(c->SetName("1abc"), EComponentError);

    // Freeing an owned component leaves its owner and clears the field.
    a->Free();
    EXPECT_EQ(owner->btnOk, nullptr);
    EXPECT_EQ(owner->ComponentCount(), 2);

    auto* watcher = new TWatcher(nullptr);
    b->FreeNotification(watcher);
    owner->Free(); // frees b and c
    ASSERT_EQ(watcher->removed.size(), 1u);
    EXPECT_EQ(watcher->removed[0], b);
    watcher->Free();
}

TEST(Components, DestroyingStateAndNotificationBothWays) {
    auto* a = new TWatcher(nullptr);
    auto* b = new TWatcher(nullptr);
    a->FreeNotification(b);
    // The watcher going first is forgotten: freeing a later tells nobody gone.
    b->Free();
    a->Free();
    SUCCEED();
}

TEST(Controls, ParentFontColorAndAlignment) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 400, 300);
    form->SetBorderStyle(bsNone);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(alLeft);
    panel->SetWidth(100);
    auto* bottom = new TPanel(form);
    bottom->SetParent(form);
    bottom->SetBevelOuter(bvNone);
    bottom->SetHeight(40);
    bottom->SetAlign(alBottom);
    auto* client = new TPanel(form);
    client->SetParent(form);
    client->SetBevelOuter(bvNone);
    client->SetAlign(alClient);
    EXPECT_EQ(panel->BoundsRect(), Rect(0, 0, 100, 260));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 260, 400, 300));
    EXPECT_EQ(client->BoundsRect(), Rect(100, 0, 400, 260));
    form->SetWidth(500);
    EXPECT_EQ(client->Width(), 400);

    auto* label = new TLabel(form);
    label->SetParent(panel);
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(label->Font()->Name(), "Tahoma"); // parent font flows down
    label->Font()->SetHeight(-20);
    EXPECT_FALSE(label->ParentFont());
    form->Font()->SetName("SimSun");
    EXPECT_EQ(label->Font()->Name(), "Tahoma");
    label->SetParentFont(true);
    EXPECT_EQ(label->Font()->Name(), "SimSun");

    // A label takes its parent's colour; an edit keeps its own.
    panel->SetColor(clRed);
    EXPECT_EQ(label->Color(), clRed);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    EXPECT_EQ(edit->Color(), clWindow);
    form->Free();
}

TEST(Controls, ClickThroughMessagesAndCheckBoxToggle) {
    auto* form = new TForm(nullptr);
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    check->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
    check->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 2));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 1);
    // Released outside the control: no click.
    check->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
    check->Perform(WM_LBUTTONUP, 0, MakeLParam(500, 2));
    EXPECT_TRUE(check->Checked());
    check->SetChecked(false); // by code it clicks too
    EXPECT_EQ(clicks, 2);

    auto* r1 = new TRadioButton(form);
    auto* r2 = new TRadioButton(form);
    r1->SetParent(form);
    r2->SetParent(form);
    r1->SetChecked(true);
    Application->Click(r2);
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(r2->Checked());
    form->Free();
}

TEST(Controls, PublishedPropertiesPerClass) {
    auto* form = new TForm(nullptr);
    auto* image = new TImage(form);
    auto* edit = new TEdit(form);
    EXPECT_FALSE(IsPublishedProp(image, "Font"));
    EXPECT_TRUE(IsPublishedProp(edit, "Font"));
    EXPECT_TRUE(IsPublishedProp(edit, "Text"));
    EXPECT_FALSE(IsPublishedProp(edit, "Caption"));
    // A path through the font, as the language files set it.
    TObject* target = edit;
    const TPropInfo* p = FindPropPath(target, "Font.Charset");
    ASSERT_TRUE(p);
    SetPropText(target, p, "GB2312_CHARSET");
    EXPECT_EQ(edit->Font()->Charset(), 134);
    target = edit;
    SetPropText(target, FindPropPath(target, "Font.Style"), "[fsBold]");
    EXPECT_TRUE(edit->Font()->Style().Contains(fsBold));
    SetPropText(edit, GetPropInfo(edit, "Color"), "clBtnFace");
    EXPECT_EQ(edit->Color(), clBtnFace);
    EXPECT_EQ(GetPropInfo(edit, "Font")->PropType()->Name, "TFont");
    form->Free();
}

} // namespace
} // namespace qz
