#include "platform/vcl/ComCtrls.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/vcl/Menus.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

class PageControlTest : public ::testing::Test {
protected:
    PageControlTest() : owner(new TComponent(nullptr)), pc(new TPageControl(owner)) {
        for (const char* caption : {"Conditions", "Options", "Output"}) {
            auto* sheet = new TTabSheet(owner);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pc);
            sheet->OnShow = [this](TObject* s) {
                log.push_back("show " + static_cast<TTabSheet*>(s)->Caption());
            };
            sheet->OnHide = [this](TObject* s) {
                log.push_back("hide " + static_cast<TTabSheet*>(s)->Caption());
            };
        }
        pc->SetActivePageIndex(0);
        pc->OnChanging = [this](TObject*, bool& allow) {
            log.push_back("changing from " + pc->ActivePage()->Caption());
            allow = allowChange;
        };
        pc->OnChange = [this](TObject*) { log.push_back("change to " + pc->ActivePage()->Caption()); };
        log.clear();
    }
    ~PageControlTest() override { owner->Free(); }

    TComponent* owner;
    TPageControl* pc;
    std::vector<AnsiString> log;
    bool allowChange = true;
};

TEST_F(PageControlTest, UserChoiceAsksChangingThenTellsChange) {
    EXPECT_TRUE(pc->SelectTab(2));
    EXPECT_EQ(log, (std::vector<AnsiString>{"changing from Conditions", "show Output", "hide Conditions",
                                            "change to Output"}));
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_TRUE(pc->Pages(2)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());

    log.clear();
    allowChange = false;
    EXPECT_FALSE(pc->SelectTab(1));
    EXPECT_EQ(log, (std::vector<AnsiString>{"changing from Output"}));
    EXPECT_EQ(pc->ActivePageIndex(), 2);

    log.clear();
    EXPECT_FALSE(pc->SelectTab(2)); // already active: no events
    EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, ProgramChangesRaiseOnlyShowAndHide) {
    pc->SetActivePage(pc->Pages(1));
    EXPECT_EQ(log, (std::vector<AnsiString>{"show Options", "hide Conditions"}));
    EXPECT_EQ(pc->TabIndex(), 1);
}

TEST_F(PageControlTest, HiddenTabsAreSkippedByTabIndexes) {
    pc->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(pc->TabCount(), 2);
    EXPECT_EQ(pc->PageOfTab(1), pc->Pages(2));
    EXPECT_EQ(pc->Pages(1)->TabIndex(), -1);
    EXPECT_EQ(pc->Pages(2)->TabIndex(), 1);
    pc->SelectNextPage(true);
    EXPECT_EQ(pc->ActivePage(), pc->Pages(2));
    pc->SelectNextPage(true); // wraps
    EXPECT_EQ(pc->ActivePage(), pc->Pages(0));

    // Tabs are drawn by OnDrawTab with the caption of the page they show.
    std::vector<std::pair<int, bool>> drawn;
    pc->OnDrawTab = [&](TObject*, int tab, const TRect&, bool active) { drawn.push_back({tab, active}); };
    TRecordingCanvas canvas;
    pc->PaintTo(canvas);
    EXPECT_EQ(drawn, (std::vector<std::pair<int, bool>>{{0, true}, {1, false}}));
}

TEST_F(PageControlTest, ReorderingAndRemovingPages) {
    pc->Pages(2)->SetPageIndex(0);
    EXPECT_EQ(pc->Pages(0)->Caption(), "Output");
    EXPECT_EQ(pc->ActivePage()->Caption(), "Conditions");
    TTabSheet* active = pc->ActivePage();
    active->Free(); // the next page becomes active
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage()->Caption(), "Options");
}

TEST(ToolBar, CheckButtonsGroupsAndDropDownMenus) {
    auto* owner = new TComponent(nullptr);
    auto* bar = new TToolBar(owner);
    std::vector<TToolButton*> b;
    for (int i = 0; i < 4; ++i) {
        auto* button = new TToolButton(owner);
        button->SetLeft(i * 23);
        button->SetParent(bar);
        b.push_back(button);
    }
    for (int i = 0; i < 3; ++i) {
        b[i]->SetStyle(tbsCheck);
        b[i]->SetGrouped(true);
    }
    b[0]->Click();
    b[1]->Click();
    EXPECT_FALSE(b[0]->Down());
    EXPECT_TRUE(b[1]->Down());
    b[1]->Click(); // the last one down in a group stays down
    EXPECT_TRUE(b[1]->Down());
    EXPECT_EQ(b[2]->Index(), 2);

    auto* menu = new TPopupMenu(owner);
    int shown = 0;
    TPopupMenu::SetPopupHost([&](TPopupMenu& m, int, int) {
        EXPECT_EQ(&m, menu);
        ++shown;
    });
    b[3]->SetStyle(tbsDropDown);
    EXPECT_FALSE(b[3]->CheckMenuDropdown());
    b[3]->SetDropdownMenu(menu);
    EXPECT_TRUE(b[3]->CheckMenuDropdown());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(menu->PopupComponent(), b[3]);
    menu->Free();
    EXPECT_EQ(b[3]->DropdownMenu(), nullptr);
    TPopupMenu::SetPopupHost(nullptr);
    owner->Free();
}

TEST(StatusBarTabSetTree, SmallModels) {
    auto* owner = new TComponent(nullptr);
    auto* bar = new TStatusBar(owner);
    bar->SetWidth(300);
    bar->Panels()->Add()->SetWidth(100);
    bar->Panels()->Add()->SetText("ready");
    EXPECT_EQ(bar->PanelRect(1), Rect(100, 2, 300, 19));
    EXPECT_EQ(bar->Panels()->Items(1)->Text(), "ready");

    auto* tabs = new TTabSet(owner);
    tabs->Tabs()->Add("a");
    tabs->Tabs()->Add("b");
    int refused = 0;
    tabs->OnChange = [&](TObject*, int newTab, bool& allow) {
        allow = newTab != 1;
        refused += !allow;
    };
    tabs->SetTabIndex(0);
    tabs->SetTabIndex(1);
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(refused, 1);
    tabs->SetTabIndex(5); // out of range: ignored
    EXPECT_EQ(tabs->TabIndex(), 0);

    auto* tree = new TTreeView(owner);
    TTreeNode* root = tree->Items()->Add(nullptr, "root");
    TTreeNode* child = tree->Items()->AddChild(root, "child");
    tree->Items()->AddChild(root, "second");
    tree->Items()->Add(nullptr, "other");
    EXPECT_EQ(tree->Items()->Count(), 4);
    EXPECT_EQ(tree->Items()->Item(2)->Text(), "second");
    EXPECT_EQ(child->Level(), 1);
    EXPECT_FALSE(child->IsVisible());
    root->Expand(false);
    EXPECT_TRUE(child->IsVisible());
    std::vector<AnsiString> changes;
    tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node ? node->Text() : "none"); };
    tree->SetSelected(child);
    root->Delete(); // the selection goes with the node
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 1);
    EXPECT_EQ(changes, (std::vector<AnsiString>{"child"}));

    auto* anim = new TAnimate(owner);
    EXPECT_THROW(anim->SetActive(true), EInvalidOperation);
    anim->SetCommonAVI(aviCopyFiles);
    anim->SetRepetitions(1);
    anim->SetActive(true);
    for (int i = 0; i < 16; ++i) anim->Step();
    EXPECT_FALSE(anim->Active());
    owner->Free();
}

} // namespace
