#include "platform/vcl/ListView.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest() : owner(new TComponent(nullptr)), lv(new TListView(owner)) {
        lv->SetViewStyle(vsReport);
        lv->Columns()->Add()->SetCaption("No");
        lv->Columns()->Add()->SetCaption("Name");
        for (auto [no, name] : {std::pair{"3", "c"}, {"10", "a"}, {"2", "b"}}) {
            TListItem* item = lv->Items()->Add();
            item->SetCaption(no);
            item->SubItems()->Add(name);
        }
    }
    ~ListViewTest() override { owner->Free(); }
    std::vector<AnsiString> Captions() const {
        std::vector<AnsiString> r;
        for (int i = 0; i < lv->Items()->Count(); ++i) r.push_back(lv->Items()->Item(i)->Caption());
        return r;
    }

    TComponent* owner;
    TListView* lv;
};

TEST_F(ListViewTest, SortsByCaptionByCompareEventOrByAFunction) {
    lv->AlphaSort();
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"10", "2", "3"}));

    // The compare event, by the number in the caption; descending when the data says so.
    int calls = 0;
    lv->OnCompare = [&](TObject* sender, TListItem* a, TListItem* b, int data, int& compare) {
        EXPECT_EQ(sender, lv);
        ++calls;
        compare = StrToInt(a->Caption()) - StrToInt(b->Caption());
        if (data == 1) compare = -compare;
    };
    lv->AlphaSort();
    EXPECT_GT(calls, 0);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"2", "3", "10"}));
    lv->CustomSort(nullptr, 1);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"10", "3", "2"}));
    lv->CustomSort([](TListItem* a, TListItem* b,
                      int) { return CompareText(a->SubItems()->Get(0), b->SubItems()->Get(0)); },
                   0);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"10", "2", "3"}));
}

TEST_F(ListViewTest, SortTypeKeepsItemsSortedAfterUpdates) {
    lv->SetSortType(stText); // sorts at once
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"10", "2", "3"}));
    lv->Items()->Item(0)->SetCaption("4");
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"2", "3", "4"}));

    lv->Items()->BeginUpdate();
    lv->Items()->Add()->SetCaption("1");
    lv->Items()->Add()->SetCaption("0");
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"2", "3", "4", "1", "0"})); // not while updating
    lv->Items()->EndUpdate();
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"0", "1", "2", "3", "4"}));
}

TEST_F(ListViewTest, InPlaceEditAsksOnEditingAndCommitsThroughOnEdited) {
    TListItem* item = lv->Items()->Item(1);
    std::vector<AnsiString> log;
    bool allowEdit = false;
    lv->OnEditing = [&](TObject*, TListItem* i, bool& allow) {
        log.push_back("editing " + i->Caption());
        allow = allowEdit;
    };
    lv->OnEdited = [&](TObject*, TListItem* i, AnsiString& s) {
        log.push_back("edited " + i->Caption() + " -> " + s);
        s = Trim(s);
    };
    EXPECT_FALSE(item->EditCaption());
    EXPECT_FALSE(lv->IsEditing());

    allowEdit = true;
    ASSERT_TRUE(item->EditCaption());
    EXPECT_EQ(lv->EditText(), "10");
    lv->SetEditText(" 11 ");
    lv->EndEdit(false);
    EXPECT_EQ(item->Caption(), "11");

    ASSERT_TRUE(item->EditCaption());
    lv->SetEditText("ignored");
    lv->EndEdit(true); // cancelled: no OnEdited, caption unchanged
    EXPECT_EQ(item->Caption(), "11");
    EXPECT_EQ(log, (std::vector<AnsiString>{"editing 10", "editing 10", "edited 10 ->  11 ", "editing 11"}));

    lv->SetReadOnly(true);
    EXPECT_FALSE(item->EditCaption());
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(ListViewTest, SelectionEventsAndMultiSelect) {
    std::vector<AnsiString> log;
    lv->OnSelectItem = [&](TObject*, TListItem* i, bool selected) {
        log.push_back(i->Caption() + (selected ? "+" : "-"));
    };
    lv->SetSelected(lv->Items()->Item(0));
    lv->Items()->Item(2)->SetSelected(true); // single selection: the other goes first
    EXPECT_EQ(log, (std::vector<AnsiString>{"3+", "3-", "2+"}));
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(2));
    EXPECT_EQ(lv->SelCount(), 1);

    lv->OnChanging = [&](TObject*, TListItem* i, TItemChange change, bool& allow) {
        allow = !(change == ctState && i->Caption() == "10");
    };
    lv->Items()->Item(1)->SetSelected(true); // refused
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(2));

    lv->OnChanging = nullptr;
    lv->SetMultiSelect(true);
    lv->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(lv->SelCount(), 2);
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(0));
    EXPECT_EQ(lv->GetNextItem(lv->Selected(), sdAll, {isSelected}), lv->Items()->Item(2));
    lv->SetMultiSelect(false); // the first selected stays
    EXPECT_EQ(lv->SelCount(), 1);
    lv->SetSelected(nullptr);
    EXPECT_EQ(lv->Selected(), nullptr);
}

TEST_F(ListViewTest, ColumnClicksAndDeletion) {
    std::vector<int> clicked;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked.push_back(c->Index()); };
    lv->ClickColumn(1);
    lv->SetColumnClick(false);
    lv->ClickColumn(0);
    EXPECT_EQ(clicked, std::vector<int>{1});

    std::vector<AnsiString> deleted;
    lv->OnDeletion = [&](TObject*, TListItem* i) { deleted.push_back(i->Caption()); };
    lv->SetItemFocused(lv->Items()->Item(0));
    lv->Items()->Item(0)->Delete();
    EXPECT_EQ(lv->ItemFocused(), nullptr);
    lv->Items()->Clear();
    EXPECT_EQ(deleted, (std::vector<AnsiString>{"3", "2", "10"}));
}

} // namespace
