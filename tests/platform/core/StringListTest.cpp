#include "platform/core/StringList.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

TEST(StringList, AddInsertDeleteAndFindWithoutCase) {
    TStringList list{"alpha", "Beta"};
    list.Insert(1, "gamma");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "gamma");
    EXPECT_EQ(list.IndexOf("BETA"), 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("BETA"), -1);
    list.Delete(0);
    EXPECT_EQ(list.Text(), "gamma\r\nBeta\r\n");
    EXPECT_THROW(list.Delete(5), EListError);
    EXPECT_THROW(list.Insert(4, "x"), EListError);
}

TEST(StringList, NameValueLines) {
    TStringList list;
    list.SetText("A=\\Bin\nb=/mnt/mods\nplain\nc=x=y");
    EXPECT_EQ(list.Values("a"), "\\Bin");
    EXPECT_EQ(list.Values("C"), "x=y");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.Names(1), "b");
    EXPECT_EQ(list.ValueFromIndex(0), "\\Bin");
    list.SetValue("B", "/opt");
    EXPECT_EQ(list[1], "B=/opt");
    list.SetValue("new", "1");
    EXPECT_EQ(list[4], "new=1");
    list.SetValue("a", "");
    EXPECT_EQ(list.IndexOfName("a"), -1);
}

TEST(StringList, TextSplitsAtCrLfOrEither) {
    TStringList list;
    list.SetText("a\r\nb\rc\nd\n\ne");
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list[4], "");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("one\r\n");
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, ObjectsTravelWithTheirLines) {
    TStringList list;
    TObject a, b;
    list.AddObject("x", &a);
    list.AddObject("y", &b);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Move(1, 0);
    EXPECT_EQ(list[0], "x");
    EXPECT_EQ(list.Objects(0), &a);
}

TEST(StringList, SortedListsKeepOrderAndDuplicateRule) {
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
    EXPECT_EQ(list.CommaText(), "Apple,fig,pear");
    EXPECT_EQ(list.IndexOf("FIG"), 1);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("PEAR"), EListError);
    EXPECT_THROW(list.Insert(0, "x"), EListError);

    TStringList custom{"b", "c", "a"};
    custom.CustomSort([](TStringList& l, int i, int j) { return l[j].compare(l[i]); });
    EXPECT_EQ(custom.CommaText(), "c,b,a");
}

TEST(StringList, CommaTextQuotesWhereNeeded) {
    TStringList list;
    list.SetCommaText("a, \"b c\",\"d\"\"e\",");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1], "b c");
    EXPECT_EQ(list[2], "d\"e");
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d\"\"e\",\"\"");
}

TEST(StringList, ChangeEventsRespectUpdates) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add("a");
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
}

} // namespace
