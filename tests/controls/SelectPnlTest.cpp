#include "controls/SelectPnl.h"
#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/gfx/Bitmap.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

// A window that records the open-window requests it receives.
class TRequestForm : public TForm {
public:
    explicit TRequestForm(TComponent* owner) : TForm(owner) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == 1034) requests.push_back(reinterpret_cast<TWinControl*>(m.LParam));
        TForm::WndProc(m);
    }
    std::vector<TWinControl*> requests;
};

class SelectPanelForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TRequestForm(nullptr);
        form->SetBounds(0, 0, 600, 400);
        other = new TEdit(form);
        other->SetParent(form);
        sp = new TSelectPanel(form);
        sp->SetName("sp01");
        sp->SetParent(form);
        sp->SetBounds(10, 40, 353, 45);
        form->Show();
    }
    void TearDown() override { form->Free(); }

    std::vector<AnsiString> Captions() const {
        std::vector<AnsiString> out;
        for (int i = 0; i < sp->ListView->Items()->Count(); ++i)
            out.push_back(sp->ListView->Items()->Item(i)->Caption());
        return out;
    }
    std::vector<AnsiString> SubItems(int row) const {
        std::vector<AnsiString> out;
        TStrings* s = sp->ListView->Items()->Item(row)->SubItems();
        for (int i = 0; i < s->Count(); ++i) out.push_back(s->Get(i));
        return out;
    }

    TRequestForm* form;
    TEdit* other;
    TSelectPanel* sp;
};

TEST_F(SelectPanelForm, NewPanelStartsAsARangeWithItsInnerControls) {
    EXPECT_EQ(sp->Style(), sp_Range);
    EXPECT_EQ(sp->HintWord(), GB("区间选择"));
    EXPECT_EQ(sp->BeginWords()->Text(), GB("起") + "\r\n" + GB("起") + "\r\n");
    EXPECT_EQ(sp->FinalWords()->Get(1), GB("止"));
    EXPECT_EQ(sp->GlyphIndex(), 8);
    EXPECT_EQ(sp->DateSign(), "/");
    EXPECT_EQ(sp->OtherWidth(), 200);
    EXPECT_EQ(sp->OtherHeight(), 105);
    EXPECT_TRUE(sp->IsRangeInput());
    EXPECT_FALSE(sp->CheckBox->Visible());
    EXPECT_TRUE(sp->RangePanel->Visible());
    EXPECT_FALSE(sp->ListPanel->Visible());
    for (TF2Button* b : {sp->BeginButton, sp->EndButton, sp->ListButton}) {
        EXPECT_EQ(b->GlyphIndex(), 8);
        EXPECT_TRUE(b->Flat());
        EXPECT_EQ(b->F2Control(), nullptr);
    }
    EXPECT_TRUE(sp->BeginButton->AutoAlign());
    EXPECT_FALSE(sp->ListButton->AutoAlign());
    EXPECT_EQ(sp->DeleteButton->GlyphIndex(), 47);
    EXPECT_EQ(sp->ClearButton->GlyphIndex(), 4);
    EXPECT_EQ(sp->ClearButton->NumGlyphs(), 2);
    EXPECT_EQ(sp->ListView->ViewStyle(), vsReport);
    EXPECT_TRUE(sp->ListView->MultiSelect());
    EXPECT_FALSE(sp->ListView->ShowColumnHeaders());
    EXPECT_FALSE(sp->ListView->HideSelection());
    EXPECT_EQ(sp->ListView->Cursor(), crHandPoint);
    EXPECT_EQ(sp->CheckBox->Caption(), GB("区间选择"));
    EXPECT_EQ(sp->BeginEdit->Hint(), GB("区间选择-起始信息"));
    EXPECT_EQ(sp->ClearButton->Hint(), GB("多选-删除己选信息"));
    EXPECT_EQ(sp->ListView->Hint(), GB("多选-己选择的信息"));

    TSelectPanel fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 353);
    EXPECT_EQ(fresh.Height(), 45);
}

// Fixed text measure: 11 pixels high, 6 wide a byte; the words are two bytes.
TEST_F(SelectPanelForm, OneRowLayout) {
    EXPECT_EQ(sp->RangePanel->BoundsRect(), Bounds(2, 14, 348, 28));
    EXPECT_EQ(sp->ListPanel->BoundsRect(), Bounds(2, 14, 348, 28));
    EXPECT_EQ(sp->BeginLabel->BoundsRect().TopLeft(), Point(2, 2));
    EXPECT_EQ(sp->BeginLabel->Width(), 12);
    EXPECT_EQ(sp->BeginEdit->BoundsRect(), Bounds(15, 2, 133, 24));
    EXPECT_EQ(sp->BeginButton->BoundsRect(), Bounds(150, 2, 23, 23));
    EXPECT_EQ(sp->EndLabel->BoundsRect().TopLeft(), Point(175, 2));
    EXPECT_EQ(sp->EndEdit->BoundsRect(), Bounds(189, 2, 133, 24));
    EXPECT_EQ(sp->EndButton->BoundsRect(), Bounds(324, 2, 23, 23));

    // Without lookup buttons the edits share the room left by the labels.
    sp->SetCanOpenWin(false);
    EXPECT_FALSE(sp->BeginButton->Visible());
    EXPECT_EQ(sp->BeginEdit->BoundsRect(), Bounds(15, 2, 158, 24));
    EXPECT_EQ(sp->EndLabel->Left(), 177);
    EXPECT_EQ(sp->EndEdit->BoundsRect(), Bounds(191, 2, 158, 24));
}

TEST_F(SelectPanelForm, UserChoiceLayoutHasTwoRowsAndTheListBeside) {
    sp->SetStyle(sp_UserChoice); // 200 x 105 now
    EXPECT_TRUE(sp->CheckBox->Visible());
    EXPECT_EQ(sp->CheckBox->BoundsRect(), Bounds(16, 12, 8 * 6 + 24, 13));
    EXPECT_EQ(sp->RangePanel->BoundsRect(), Bounds(2, 25, 196, 78));
    EXPECT_EQ(sp->ListPanel->BoundsRect(), Bounds(2, 25, 196, 78));
    // Rows: (78 - 24 - 24) / 3 = 10 apart.
    EXPECT_EQ(sp->BeginLabel->BoundsRect().TopLeft(), Point(2, 10));
    EXPECT_EQ(sp->BeginEdit->BoundsRect(), Bounds(16, 10, 196 - 2 - 12 - 23 - 4, 24));
    EXPECT_EQ(sp->BeginButton->BoundsRect().TopLeft(), Point(16 + 155 + 1, 10));
    EXPECT_EQ(sp->EndLabel->BoundsRect().TopLeft(), Point(2, 44));
    EXPECT_EQ(sp->EndEdit->BoundsRect(), Bounds(16, 44, 155, 24));
    EXPECT_EQ(sp->EndButton->BoundsRect().TopLeft(), Point(172, 44));
    // The list leaves room for its buttons, stacked at its right.
    EXPECT_EQ(sp->ListView->BoundsRect(), Bounds(0, 0, 196 - 23 - 3, 78));
    EXPECT_EQ(sp->ListButton->BoundsRect(), Bounds(172, 0, 23, 23));
    EXPECT_EQ(sp->DeleteButton->BoundsRect(), Bounds(172, 23, 23, 23));
    EXPECT_EQ(sp->ClearButton->BoundsRect(), Bounds(172, 46, 23, 23));
}

TEST_F(SelectPanelForm, StyleChangesSwapTheSizeWithTheOtherOne) {
    struct Step {
        TSelectStyle style;
        TRect bounds;
        int otherWidth, otherHeight;
    };
    const std::vector<Step> steps = {
        {sp_UserChoice, Bounds(10, 40, 200, 105), 353, 45}, // from the range: swapped
        {sp_Discrete, Bounds(10, 40, 200, 105), 353, 45},   // neither is the range: kept
        {sp_UserChoice, Bounds(10, 40, 200, 105), 353, 45}, {sp_Range, Bounds(10, 40, 353, 45), 200, 105},
        {sp_Range, Bounds(10, 40, 353, 45), 200, 105}, // unchanged style
    };
    for (const Step& s : steps) {
        sp->SetStyle(s.style);
        EXPECT_EQ(sp->Style(), s.style);
        EXPECT_EQ(sp->BoundsRect(), s.bounds) << s.style;
        EXPECT_EQ(sp->OtherWidth(), s.otherWidth);
        EXPECT_EQ(sp->OtherHeight(), s.otherHeight);
    }
    // Two rows of a range panel: UseVertical swaps, and then style changes do not.
    sp->SetUseVertical(true);
    EXPECT_EQ(sp->BoundsRect(), Bounds(10, 40, 200, 105));
    sp->SetStyle(sp_Discrete);
    EXPECT_EQ(sp->BoundsRect(), Bounds(10, 40, 200, 105));
    // UseVertical does nothing outside the range style.
    sp->SetUseVertical(false);
    EXPECT_TRUE(sp->UseVertical());
}

TEST_F(SelectPanelForm, StyleChangingMayRefuseOrReplaceAndStyleChangeSeesTheOldStyle) {
    std::vector<AnsiString> log;
    sp->OnStyleChanging = [&](TObject*, TSelectStyle now, TSelectStyle& next, bool& accept) {
        log.push_back("changing " + std::to_string(now) + "->" + std::to_string(next));
        if (next == sp_Discrete) accept = false;
        if (next == sp_UserChoice) next = sp_Range;
    };
    sp->OnStyleChange = [&](TObject*, TSelectStyle from, TSelectStyle to) {
        log.push_back("change " + std::to_string(from) + "->" + std::to_string(to) + " held " +
                      std::to_string(sp->Style()));
    };
    sp->SetStyle(sp_Discrete);
    EXPECT_EQ(sp->Style(), sp_Range);
    EXPECT_TRUE(sp->RangePanel->Visible());
    sp->SetStyle(sp_UserChoice);
    EXPECT_EQ(sp->Style(), sp_Range);
    EXPECT_EQ(sp->Width(), 353);
    EXPECT_EQ(log, (std::vector<AnsiString>{"changing 0->1", "changing 0->2", "change 0->0 held 0"}));
}

TEST_F(SelectPanelForm, UserChoiceActsOnlyInTheUserChoiceStyle) {
    int typeClicks = 0;
    sp->OnTypeClick = [&](TObject* s) {
        EXPECT_EQ(s, sp);
        typeClicks++;
    };
    // Made at run time: the check box starts unchecked, and UserChoice with it.
    EXPECT_FALSE(sp->CheckBox->Checked());
    EXPECT_FALSE(sp->UserChoice());
    sp->SetStyle(sp_Discrete);
    sp->SetUserChoice(true);
    EXPECT_FALSE(sp->UserChoice());
    EXPECT_FALSE(sp->CheckBox->Checked());
    EXPECT_FALSE(sp->IsRangeInput());
    EXPECT_EQ(typeClicks, 0);

    sp->SetStyle(sp_UserChoice);
    EXPECT_FALSE(sp->IsRangeInput());
    EXPECT_TRUE(sp->ListPanel->Visible());
    sp->SetUserChoice(true);
    EXPECT_TRUE(sp->UserChoice());
    EXPECT_TRUE(sp->IsRangeInput());
    EXPECT_TRUE(sp->RangePanel->Visible());
    EXPECT_EQ(typeClicks, 1);
    sp->SetUserChoice(false);
    EXPECT_FALSE(sp->UserChoice());
    EXPECT_FALSE(sp->CheckBox->Checked());
    EXPECT_FALSE(sp->IsRangeInput());
    EXPECT_FALSE(sp->RangePanel->Visible());
    EXPECT_TRUE(sp->ListPanel->Visible());
    EXPECT_EQ(typeClicks, 2);

    // The user's click on the check box switches back.
    Application->Click(sp->CheckBox);
    EXPECT_TRUE(sp->UserChoice());
    EXPECT_TRUE(sp->IsRangeInput());
    EXPECT_TRUE(sp->RangePanel->Visible());
    EXPECT_EQ(typeClicks, 3);
}

TEST_F(SelectPanelForm, F2ButtonsFocusTheirTargetAndAskTheWindow) {
    std::vector<std::pair<TSelectPanel*, TWinControl*>> opened;
    sp->OnOpenWinClick = [&](TSelectPanel* panel, TWinControl* target) {
        EXPECT_TRUE(target->Focused());
        opened.emplace_back(panel, target);
    };
    Application->Click(sp->BeginButton);
    Application->Click(sp->EndButton);
    sp->SetStyle(sp_Discrete);
    Application->Click(sp->ListButton);
    std::vector<TWinControl*> targets{sp->BeginEdit, sp->EndEdit, sp->ListView};
    EXPECT_EQ(form->requests, targets);
    ASSERT_EQ(opened.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(opened[i].first, sp);
        EXPECT_EQ(opened[i].second, targets[i]);
    }
    EXPECT_TRUE(sp->ListView->Focused());

    // Nothing at design time.
    sp->SetDesigning(true);
    Application->Click(sp->ListButton);
    EXPECT_EQ(form->requests.size(), 3u);
}

TEST_F(SelectPanelForm, AddRowMakesColumnsAndPadsRows) {
    EXPECT_FALSE(sp->ListView->AddRow({}));
    ASSERT_TRUE(sp->ListView->AddRow({"A", "x"}));
    std::vector<AnsiString> columns(sp->ColumnCaptions()->Count());
    for (int i = 0; i < sp->ColumnCaptions()->Count(); ++i) columns[i] = sp->ColumnCaptions()->Get(i);
    EXPECT_EQ(columns, (std::vector<AnsiString>{"Data1", "Data2"}));
    ASSERT_TRUE(sp->ListView->AddRow({"B"}));
    EXPECT_EQ(SubItems(1), std::vector<AnsiString>{""});
    ASSERT_TRUE(sp->ListView->AddRow({"Cedar", "y", "zz"}));
    EXPECT_EQ(sp->Columns()->Count(), 3);
    EXPECT_EQ(sp->Columns()->Items(2)->Caption(), "Data3");
    for (int row : {0, 1}) EXPECT_EQ(SubItems(row).size(), 2u);
    EXPECT_EQ(SubItems(2), (std::vector<AnsiString>{"y", "zz"}));
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"A", "B", "Cedar"}));
    // Widths: the longest text in bytes (captions included) times the width of "W".
    EXPECT_EQ(sp->Columns()->Items(0)->Width(), 5 * 6);
    EXPECT_EQ(sp->Columns()->Items(1)->Width(), 5 * 6);

    sp->ListView->ClearRows();
    EXPECT_EQ(sp->Items()->Count(), 0);

    // Assigned captions make one column each.
    TStringList captions{"Code", "Name"};
    sp->SetColumnCaptions(&captions);
    ASSERT_EQ(sp->Columns()->Count(), 2);
    EXPECT_EQ(sp->Columns()->Items(1)->Caption(), "Name");
    EXPECT_GT(sp->Columns()->Items(1)->Width(), 0);
}

TEST_F(SelectPanelForm, DuplicatesGoByCaption) {
    sp->SetStyle(sp_Discrete);
    struct Case {
        TCheckDuplicate mode;
        std::vector<AnsiString> added;
        std::vector<AnsiString> rows;
    };
    const std::vector<Case> cases = {
        {cd_CaseInsensitive, {"ABC", "abc"}, {"ABC"}},
        {cd_CaseInsensitive, {"b", "A", "a", "B"}, {"A", "b"}},
        {cd_CheckCase, {"ABC", "abc", "abc"}, {"ABC", "abc"}},
        {cd_None, {"x", "x"}, {"x", "x"}},
    };
    for (const Case& c : cases) {
        sp->ListView->ClearRows();
        sp->SetCheckDuplicate(c.mode);
        for (const AnsiString& v : c.added) sp->ListView->AddRow({v});
        EXPECT_EQ(Captions(), c.rows) << c.mode;
    }
    EXPECT_TRUE(sp->SortListBox()); // switched on by the first mode

    // Setting the mode on a list in use removes what is there.
    sp->SetSortListBox(false);
    sp->SetCheckDuplicate(cd_None);
    sp->ListView->ClearRows();
    for (const char* v : {"x", "X", "y"}) sp->ListView->AddRow({v});
    sp->SetCheckDuplicate(cd_CaseInsensitive);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"x", "y"}));
}

TEST_F(SelectPanelForm, ColumnHeaderClicksSortAscendingThenDescending) {
    sp->ListView->AddRow({"b", "2", "z"});
    sp->ListView->AddRow({"a", "2", "z"});
    sp->ListView->AddRow({"c", "1", "Y"});
    sp->ListView->ClickColumn(2);
    EXPECT_EQ(sp->SortColumn, 2);
    EXPECT_TRUE(sp->SortAscending);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"c", "a", "b"})); // ties fall back to the caption
    sp->ListView->ClickColumn(2);
    EXPECT_FALSE(sp->SortAscending);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"b", "a", "c"}));
    sp->ListView->ClickColumn(1);
    EXPECT_TRUE(sp->SortAscending);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"c", "a", "b"}));
    sp->ListView->ClickColumn(0);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a", "b", "c"}));
}

TEST_F(SelectPanelForm, DeleteAndClearButtons) {
    sp->SetStyle(sp_Discrete);
    for (const char* v : {"a", "b", "c"}) sp->ListView->AddRow({v});
    sp->Items()->Item(0)->SetSelected(true);
    sp->Items()->Item(2)->SetSelected(true);
    bool accept = false;
    sp->OnDeleteClick = [&](TObject* s, bool& a) {
        EXPECT_EQ(s, sp);
        a = accept;
    };
    Application->Click(sp->DeleteButton);
    EXPECT_EQ(Captions().size(), 3u);
    accept = true;
    Application->Click(sp->DeleteButton);
    EXPECT_EQ(Captions(), std::vector<AnsiString>{"b"});

    int cleared = 0;
    sp->OnClearClick = [&](TObject*) {
        EXPECT_EQ(sp->Items()->Count(), 0);
        cleared++;
    };
    other->SetFocus();
    Application->Click(sp->ClearButton);
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(sp->ListView->Focused());
}

struct ExitCase {
    const char* name;
    TValueType valueType;
    TDateType dateType;
    const char* begin;
    const char* end;
    const char* newBegin;
    const char* newEnd;
    bool useDiscard = false;
    bool autoChange = true;
};

TEST_F(SelectPanelForm, LeavingOrdersTheRange) {
    const std::vector<ExitCase> cases = {
        {"date y/m/d", vt_Date, dt_YYYYMMDD, "2005/03/01", "2004/12/31", "2004/12/31", "2005/03/01"},
        {"date y/m, first days", vt_Date, dt_YYYYMMDD, "2005/03", "2004/12", "2004/12", "2005/03"},
        {"date in order", vt_Date, dt_YYYYMMDD, "2004/12/31", "2005/03/01", "2004/12/31", "2005/03/01"},
        {"date yy", vt_Date, dt_YYMMDD, "94/01/01", "93/12/31", "93/12/31", "94/01/01"},
        {"date yyy by value", vt_Date, dt_YYYMMDD, "99/12/31", "100/01/01", "99/12/31", "100/01/01"},
        {"date m/d/y", vt_Date, dt_MMDDYYYY, "03/01/2005", "12/31/2004", "12/31/2004", "03/01/2005"},
        {"date m/y", vt_Date, dt_MMDDYYYY, "03/2005", "12/2004", "12/2004", "03/2005"},
        {"date d/m/y", vt_Date, dt_DDMMYYYY, "01/03/2005", "31/12/2004", "31/12/2004", "01/03/2005"},
        {"date d/m/y, month only", vt_Date, dt_DDMMYYYY, "03/2005", "12/2004", "12/2004", "03/2005"},
        {"date as text", vt_Date, dt_NoneCare, "b", "a", "a", "b"},
        {"impossible date reads as 1899", vt_Date, dt_YYYYMMDD, "2004/01/01", "2004/02/30", "2004/02/30",
         "2004/01/01"},
        {"three signs unreadable", vt_Date, dt_YYYYMMDD, "2004/1/1/1", "2003/01/01", "2004/1/1/1",
         "2003/01/01"},
        {"no automatic change", vt_Date, dt_YYYYMMDD, "2005/03/01", "2004/12/31", "2005/03/01", "2004/12/31",
         false, false},
        {"discarded date", vt_Date, dt_NoneCare, "ZZ", "AA", "ZZ", "AA", true},
        {"number", vt_Number, dt_NoneCare, "10", "9", "9", "10"},
        {"not a number is 0", vt_Number, dt_NoneCare, "abc", "5", "abc", "5"},
        {"number trimmed", vt_Number, dt_NoneCare, " 7 ", "12", "7", "12"},
        {"float by value", vt_Float, dt_NoneCare, "2.5", "10.25", "2.5", "10.25"},
        {"float exchanged", vt_Float, dt_NoneCare, "10.5", "2.75", "2.75", "10.5"},
        {"float keeps fraction zeros", vt_Float, dt_NoneCare, "1.5", "1.05", "1.05", "1.5"},
        {"float rewritten", vt_Float, dt_NoneCare, "3", "x.y", "0.0", "3.0"},
        {"string", vt_String, dt_NoneCare, "zeta", "alpha", "alpha", "zeta"},
        {"string bytes", vt_String, dt_NoneCare, "a", "B", "B", "a"},
        {"discarded string", vt_String, dt_NoneCare, "ALL", "AAA", "ALL", "AAA", true},
        {"discard unused", vt_String, dt_NoneCare, "ALL", "AAA", "AAA", "ALL"},
        {"time", vt_Time, dt_NoneCare, "12:30", "09:15", "09:15", "12:30"},
        {"other mask", vt_OtherMask, dt_NoneCare, "b", "a", "b", "a"},
        {"empty begin", vt_String, dt_NoneCare, "", "a", "", "a"},
        {"blank end", vt_Number, dt_NoneCare, "5", "   ", "5", ""},
    };
    sp->SetDiscard("ALL");
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (AnsiString(c.name) == "discarded date") sp->SetDiscard("ZZ");
        if (AnsiString(c.name) == "discarded string") sp->SetDiscard("ALL");
        sp->SetValueType(c.valueType);
        sp->SetDateType(c.dateType);
        sp->SetUseDiscard(c.useDiscard);
        sp->SetAutoChangeDateSite(c.autoChange);
        sp->BeginEdit->SetText(c.begin);
        sp->EndEdit->SetText(c.end);
        sp->OrderRange();
        EXPECT_EQ(sp->BeginEdit->Text(), c.newBegin);
        EXPECT_EQ(sp->EndEdit->Text(), c.newEnd);
    }
}

TEST_F(SelectPanelForm, FocusLeavingThePanelOrdersBeforeOnExit) {
    sp->SetValueType(vt_Number);
    AnsiString seen;
    sp->OnExit = [&](TObject* s) {
        EXPECT_EQ(s, sp);
        seen = sp->BeginEdit->Text() + "-" + sp->EndEdit->Text();
    };
    sp->BeginEdit->SetFocus();
    sp->BeginEdit->SetText("20");
    sp->EndEdit->SetText("3");
    sp->EndEdit->SetFocus();
    EXPECT_EQ(seen, ""); // still inside the panel
    other->SetFocus();
    EXPECT_EQ(seen, "3-20");
}

TEST(SelectPanelDates, ReadingByDateTypeAndSign) {
    TSelectPanel sp(nullptr);
    sp.SetDateSign("-");
    struct Case {
        TDateType type;
        const char* text;
        int y, m, d; // 0: unreadable
    };
    const std::vector<Case> cases = {
        {dt_YYYYMMDD, " 2004-02-29 ", 2004, 2, 29},
        {dt_YYYYMMDD, "2004-02", 2004, 2, 1},
        {dt_YYYYMMDD, "2004/02/01", 0, 0, 0},
        {dt_YYYYMMDD, "2003-02-29", 0, 0, 0},
        {dt_YYYYMMDD, "2004-x-01", 0, 0, 0},
        {dt_YYMMDD, "93-12-31", 2004, 12, 31},
        {dt_YYYMMDD, "100-1-2", 2011, 1, 2},
        {dt_MMDDYYYY, "12-2004", 2004, 12, 1},
        {dt_DDMMYYYY, "12-2004", 2004, 12, 1},
        {dt_DDMMYYYY, "31-12-2004", 2004, 12, 31},
        {dt_YYYYMMDD, "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        sp.SetDateType(c.type);
        TDateTime expected = c.y ? EncodeDate(c.y, c.m, c.d) : 0;
        EXPECT_EQ(sp.ReadRangeDate(c.text), expected) << c.text;
    }
}

TEST_F(SelectPanelForm, GlyphIndexGoesToTheThreeF2Buttons) {
    sp->SetGlyphIndex(9);
    for (TF2Button* b : {sp->BeginButton, sp->EndButton, sp->ListButton}) {
        EXPECT_EQ(b->GlyphIndex(), 9);
        EXPECT_FALSE(b->Glyph()->Empty());
    }
    // A number without a picture leaves none on any of them.
    sp->SetGlyphIndex(5);
    EXPECT_EQ(sp->GlyphIndex(), 0);
    for (TF2Button* b : {sp->BeginButton, sp->EndButton, sp->ListButton}) {
        EXPECT_EQ(b->GlyphIndex(), 0);
        EXPECT_TRUE(b->Glyph()->Empty());
    }
    EXPECT_EQ(sp->DeleteButton->GlyphIndex(), 47);
    EXPECT_EQ(sp->ClearButton->GlyphIndex(), 4);
}

TEST_F(SelectPanelForm, EditMaskKeepsTheTextAndRecordsTheEmptyText) {
    int changes = 0;
    sp->BeginEdit->OnChange = [&](TObject*) { changes++; };
    sp->BeginEdit->SetText("20040105");
    changes = 0;
    sp->SetEditMask("9999/99/99;0;_");
    EXPECT_EQ(sp->EditMask(), "9999/99/99;0;_");
    EXPECT_EQ(sp->EndEdit->EditMask(), "9999/99/99;0;_");
    EXPECT_EQ(sp->EmptyMaskText, "");
    EXPECT_EQ(sp->BeginEdit->Text(), "20040105");
    EXPECT_EQ(sp->BeginEdit->EditText(), "2004/01/05");
    EXPECT_EQ(changes, 0);

    sp->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(sp->EmptyMaskText, TEditMask("9999/99/99;1;_").TextFromEditText("____/__/__"));
    EXPECT_EQ(sp->BeginEdit->Text(), "2004/01/05");
}

TEST_F(SelectPanelForm, WordsHintsAndTexts) {
    TStringList one{"From"};
    sp->SetBeginWords(&one);
    EXPECT_EQ(sp->BeginWords()->Count(), 1);
    EXPECT_EQ(sp->BeginLabel->Caption(), "From");
    TStringList three{"A", "B", "C"};
    sp->SetFinalWords(&three);
    EXPECT_EQ(sp->FinalWords()->Count(), 2);
    EXPECT_EQ(sp->EndLabel->Caption(), "A");
    TStringList empty;
    sp->SetFinalWords(&empty);
    EXPECT_EQ(sp->FinalWords()->Count(), 2);
    // The two-row layout takes entry 1, or the only entry.
    sp->SetStyle(sp_UserChoice);
    EXPECT_EQ(sp->BeginLabel->Caption(), "From");
    EXPECT_EQ(sp->EndLabel->Caption(), "B");

    TStringList hints{"h1", "h2"};
    sp->SetChildHints(&hints);
    EXPECT_EQ(sp->CheckBox->Hint(), "h1");
    EXPECT_EQ(sp->BeginEdit->Hint(), "h2");
    EXPECT_EQ(sp->BeginButton->Hint(), GB("区间选择-起始信息开窗"));
    sp->ChildHints()->Add("h3");
    EXPECT_EQ(sp->BeginButton->Hint(), "h3");

    sp->SetHintWord("Pick");
    EXPECT_EQ(sp->CheckBox->Caption(), "Pick");
    EXPECT_EQ(sp->CheckBox->Width(), 4 * 6 + 24);
}

TEST_F(SelectPanelForm, InnerEventsBecomeThePanelsOwn) {
    std::vector<std::pair<TObject*, TPoint>> downs;
    std::vector<TObject*> clicks;
    AnsiString keys;
    sp->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) {
        downs.emplace_back(s, Point(x, y));
    };
    sp->OnClick = [&](TObject* s) { clicks.push_back(s); };
    sp->OnKeyPress = [&](TObject* s, char& k) {
        EXPECT_EQ(s, sp->BeginEdit);
        keys += k;
    };
    Application->ClickAt(sp->BeginLabel, 1, 1);
    Application->ClickAt(sp->BeginEdit, 3, 4);
    Application->ClickAt(sp->RangePanel, 0, 0);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].first, sp); // coordinates in the panel's client area
    EXPECT_EQ(downs[0].second, Point(2 + 2 + 1, 14 + 2 + 1));
    EXPECT_EQ(downs[1].first, sp->BeginEdit); // edits keep theirs
    EXPECT_EQ(downs[1].second, Point(3, 4));
    EXPECT_EQ(downs[2].second, Point(2, 14));
    EXPECT_EQ(clicks, (std::vector<TObject*>{sp, sp->BeginEdit, sp}));
    sp->BeginEdit->SetFocus();
    Application->TypeText("12");
    EXPECT_EQ(keys, "12");
}

TEST_F(SelectPanelForm, FocusAndEnabledReachTheInnerControls) {
    sp->SetStyle(sp_Discrete);
    sp->SetFocus();
    EXPECT_TRUE(sp->ListView->Focused());
    sp->SetEnabled(false);
    for (TControl* c : std::initializer_list<TControl*>{sp->RangePanel, sp->BeginEdit, sp->EndButton,
                                                        sp->ListView, sp->ClearButton, sp->CheckBox})
        EXPECT_FALSE(c->Enabled()) << c->ClassInfo()->ClassName();
    sp->SetEnabled(true);
    EXPECT_TRUE(sp->BeginEdit->Enabled());
}

TEST_F(SelectPanelForm, ListPressIsHandledOnlyOnceTheListHasTheFocus) {
    sp->SetStyle(sp_Discrete);
    for (const char* v : {"a", "b"}) sp->ListView->AddRow({v});
    // An OnEnter that sends the focus elsewhere: the press selects nothing.
    sp->ListView->OnEnter = [&](TObject*) { other->SetFocus(); };
    Application->ClickAt(sp->ListView, 5, 2);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(sp->ListView->SelCount(), 0);
    sp->ListView->OnEnter = nullptr;
    Application->ClickAt(sp->ListView, 5, 2);
    EXPECT_TRUE(sp->ListView->Focused());
    ASSERT_NE(sp->ListView->Selected(), nullptr);
    EXPECT_EQ(sp->ListView->Selected()->Caption(), "a");
}

TEST_F(SelectPanelForm, InnerControlsAreFoundByNameThroughTheClassButStayUnnamed) {
    const std::pair<const char*, TComponent*> members[] = {
        {"CheckBox", sp->CheckBox},     {"RangePanel", sp->RangePanel},     {"BeginLabel", sp->BeginLabel},
        {"BeginEdit", sp->BeginEdit},   {"BeginButton", sp->BeginButton},   {"EndLabel", sp->EndLabel},
        {"EndEdit", sp->EndEdit},       {"EndButton", sp->EndButton},       {"ListPanel", sp->ListPanel},
        {"ListButton", sp->ListButton}, {"DeleteButton", sp->DeleteButton}, {"ClearButton", sp->ClearButton},
        {"ListView", sp->ListView},
    };
    const TMetaClass* mc = sp->ClassInfo();
    for (const auto& [name, member] : members) {
        SCOPED_TRACE(name);
        const TFieldInfo* f = mc->FindField(name);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Get(sp), member);
        EXPECT_EQ(member->Name(), "");
    }
    EXPECT_EQ(mc->FindField("beginedit")->Get(sp), sp->BeginEdit);
    EXPECT_EQ(sp->FindComponent("BeginEdit"), nullptr);
}

TEST(SelectPanelResource, StoredPanelReadsBackWithoutSizeSwap) {
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmRovan: TForm
  object sp02: TSelectPanel
    Left = 39
    Top = 117
    Width = 180
    Height = 104
    Caption = 'Doc'
    Style = sp_UserChoice
    UserChoice = False
    ValueType = vt_String
    CanOpenWin = True
    OtherWidth = 353
    OtherHeight = 64
    ChildHints.Strings = (
      'a'
      '[F2] b')
  end
  object sp03: TSelectPanel
    Left = 39
    Top = 227
    Width = 287
    Height = 52
    Style = sp_Range
    ValueType = vt_Date
    GlyphIndex = 9
  end
  object sp04: TSelectPanel
    Style = sp_UserChoice
  end
end
)");
    auto* sp02 = static_cast<TSelectPanel*>(f->FindComponent("sp02"));
    auto* sp04 = static_cast<TSelectPanel*>(f->FindComponent("sp04"));
    auto* sp03 = static_cast<TSelectPanel*>(f->FindComponent("sp03"));
    ASSERT_NE(sp02, nullptr);
    ASSERT_NE(sp03, nullptr);
    EXPECT_EQ(sp02->BoundsRect(), Bounds(39, 117, 180, 104));
    EXPECT_EQ(sp02->OtherWidth(), 353);
    EXPECT_FALSE(sp02->UserChoice());
    EXPECT_FALSE(sp02->IsRangeInput());
    EXPECT_TRUE(sp02->ListPanel->Visible());
    EXPECT_TRUE(sp02->CheckBox->Visible());
    EXPECT_EQ(sp02->BeginEdit->Hint(), "[F2] b");
    EXPECT_EQ(sp02->GlyphIndex(), 8); // not stored: the start value
    EXPECT_EQ(sp03->GlyphIndex(), 9);
    EXPECT_EQ(sp03->ListButton->GlyphIndex(), 9);
    EXPECT_EQ(sp03->ValueType(), vt_Date);
    EXPECT_EQ(sp03->RangePanel->Width(), 287 - 5);
    // A designed panel starts with its check box checked: the range input.
    ASSERT_NE(sp04, nullptr);
    EXPECT_TRUE(sp04->CheckBox->Checked());
    EXPECT_TRUE(sp04->UserChoice());
    EXPECT_TRUE(sp04->IsRangeInput());
    EXPECT_TRUE(sp04->RangePanel->Visible());
    f->Free();
}

} // namespace
} // namespace qz
