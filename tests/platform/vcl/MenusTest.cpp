#include "platform/vcl/Menus.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qz;

namespace {

class PopupMenuTest : public ::testing::Test {
protected:
    PopupMenuTest() : owner(new TComponent(nullptr)), menu(new TPopupMenu(owner)) {
        for (const char* caption : {"&Daily", "&Weekly", "&Monthly", "-", "&Hourly"}) {
            auto* item = new TMenuItem(owner);
            item->SetCaption(caption);
            item->SetRadioItem(true);
            item->SetAutoCheck(true);
            item->OnClick = [this](TObject* sender) {
                clicks.push_back(static_cast<TMenuItem*>(sender)->Caption());
            };
            menu->Items()->Add(item);
        }
        Item(4)->SetGroupIndex(1); // a group of its own
    }
    ~PopupMenuTest() override {
        TPopupMenu::SetPopupHost(nullptr);
        owner->Free();
    }
    TMenuItem* Item(int i) { return menu->Items()->Items(i); }
    std::vector<bool> Checks() {
        std::vector<bool> r;
        for (int i = 0; i < menu->Items()->Count(); ++i) r.push_back(Item(i)->Checked());
        return r;
    }

    TComponent* owner;
    TPopupMenu* menu;
    std::vector<AnsiString> clicks;
};

TEST_F(PopupMenuTest, RadioItemsOfAGroupUncheckEachOther) {
    Item(0)->SetChecked(true);
    Item(4)->SetChecked(true);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false, true}));
    Item(2)->Click();
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false, true}));
    Item(2)->Click(); // clicking the checked radio item keeps it checked
    EXPECT_TRUE(Item(2)->Checked());
    EXPECT_EQ(clicks, (std::vector<AnsiString>{"&Monthly", "&Monthly"}));

    Item(1)->SetEnabled(false);
    Item(1)->Click();
    EXPECT_FALSE(Item(1)->Checked());
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(PopupMenuTest, PopupRunsOnPopupThenTheHostChoosesAnItem) {
    std::vector<AnsiString> log;
    menu->OnPopup = [&](TObject*) { log.push_back("popup"); };
    TPopupMenu::SetPopupHost([&](TPopupMenu& m, int x, int y) {
        log.push_back("host " + std::to_string(x) + "," + std::to_string(y));
        m.Items()->Find("Weekly")->Click();
    });
    menu->Popup(10, 20);
    EXPECT_EQ(log, (std::vector<AnsiString>{"popup", "host 10,20"}));
    EXPECT_EQ(clicks, (std::vector<AnsiString>{"&Weekly"}));
    EXPECT_TRUE(Item(1)->Checked());
    EXPECT_EQ(menu->PopupPoint(), Point(10, 20));

    TPopupMenu::SetPopupHost(nullptr); // no host: nothing is chosen
    menu->Popup(0, 0);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST(Menus, TreeShortCutsAndFreeing) {
    auto* form = new TComponent(nullptr);
    auto* mainMenu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    auto* open = new TMenuItem(form);
    open->SetCaption("&Open...");
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    int opened = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    // As form resources nest them.
    file->SetParentComponent(mainMenu);
    open->SetParentComponent(file);
    EXPECT_EQ(mainMenu->FindItem("File|Open..."), open);
    EXPECT_EQ(open->GetParentMenu(), mainMenu);
    EXPECT_EQ(file->GetParentComponent(), mainMenu);
    EXPECT_EQ(open->GetParentComponent(), file);
    EXPECT_TRUE(mainMenu->IsShortCut('O', {ssCtrl}));
    EXPECT_FALSE(mainMenu->IsShortCut('O', {}));
    EXPECT_EQ(opened, 1);

    // Freeing an item takes it out of its parent and frees its sub-items.
    file->Free();
    EXPECT_EQ(mainMenu->Items()->Count(), 0);
    EXPECT_EQ(form->ComponentCount(), 1);
    form->Free();
}

} // namespace
