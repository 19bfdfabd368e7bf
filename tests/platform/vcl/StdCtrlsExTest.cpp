#include "platform/vcl/StdCtrlsEx.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Spin.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace qz {
namespace {

// A shown form with a combo box, a memo and an edit after them, events logged.
class StdCtrlsForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetName("frmStd");
        combo = new TComboBox(form);
        combo->SetName("cbo");
        combo->SetParent(form);
        for (const char* s : {"Apple", "Banana", "blueberry", "Cherry"}) combo->Items()->Add(s);
        combo->OnClick = [this](TObject*) { log += "click " + IntToStr(combo->ItemIndex()) + ";"; };
        combo->OnChange = [this](TObject*) { log += "change " + combo->Text() + ";"; };
        combo->OnDropDown = [this](TObject*) { log += "drop;"; };
        combo->OnCloseUp = [this](TObject*) { log += "close;"; };
        memo = new TMemo(form);
        memo->SetName("memo");
        memo->SetParent(form);
        next = new TEdit(form);
        next->SetName("next");
        next->SetParent(form);
        form->Show();
        log.clear();
    }
    void TearDown() override { form->Free(); }

    TForm* form;
    TComboBox* combo;
    TMemo* memo;
    TEdit* next;
    AnsiString log;
};

std::vector<AnsiString> LinesOf(const TStrings& s) {
    std::vector<AnsiString> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s[i]);
    return v;
}

// ---- combo box

TEST_F(StdCtrlsForm, ComboItemIndexAndTextFollowEachOtherAndTheItems) {
    struct Case {
        const char* name;
        TComboBoxStyle style;
        std::function<void(TComboBox&)> act;
        int index;
        const char* text;
    };
    const Case cases[] = {
        {"index selects the item's text", csDropDownList, [](TComboBox& c) { c.SetItemIndex(2); }, 2,
         "blueberry"},
        {"index past the end selects none", csDropDownList,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.SetItemIndex(4);
         },
         -1, ""},
        {"index below -1 selects none and clears the edit", csDropDown,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.SetItemIndex(-5);
         },
         -1, ""},
        {"list text selects the equal item, ignoring case", csDropDownList,
         [](TComboBox& c) { c.SetText("CHERRY"); }, 3, "Cherry"},
        {"list text selects the first item it begins", csDropDownList, [](TComboBox& c) { c.SetText("bl"); },
         2, "blueberry"},
        {"list text that matches nothing changes nothing", csOwnerDrawFixed,
         [](TComboBox& c) {
             c.SetItemIndex(0);
             c.SetText("zz");
         },
         0, "Apple"},
        {"empty list text selects none", csOwnerDrawVariable,
         [](TComboBox& c) {
             c.SetItemIndex(0);
             c.SetText("");
         },
         -1, ""},
        {"edit text stays as given", csDropDown,
         [](TComboBox& c) {
             c.SetItemIndex(0);
             c.SetText("zz");
         },
         -1, "zz"},
        {"edit text equal to an item selects it", csDropDown, [](TComboBox& c) { c.SetText("banana"); }, 1,
         "banana"},
        {"deleting before the selection", csDropDownList,
         [](TComboBox& c) {
             c.SetItemIndex(2);
             c.Items()->Delete(0);
         },
         1, "blueberry"},
        {"inserting before the selection", csDropDown,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.Items()->Insert(0, "Apricot");
         },
         2, "Banana"},
        {"deleting the selected item of a list", csDropDownList,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.Items()->Delete(1);
         },
         -1, ""},
        {"deleting the selected item keeps the edit's text", csDropDown,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.Items()->Delete(1);
         },
         -1, "Banana"},
        {"clearing the items", csDropDown,
         [](TComboBox& c) {
             c.SetItemIndex(1);
             c.Items()->Clear();
         },
         -1, ""},
        {"sorting keeps the selected item", csDropDownList,
         [](TComboBox& c) {
             c.Items()->SetCommaText("Cherry,apple,Banana");
             c.SetItemIndex(1);
             c.SetSorted(true);
             c.Items()->Add("avocado");  // after apple
             c.Items()->Add("Aardvark"); // before it
             EXPECT_EQ(c.Items()->CommaText(), "Aardvark,apple,avocado,Banana,Cherry");
         },
         1, "apple"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        combo->SetStyle(c.style);
        c.act(*combo);
        EXPECT_EQ(combo->ItemIndex(), c.index);
        EXPECT_EQ(combo->Text(), c.text);
        EXPECT_EQ(log, ""); // changes made by code raise no events
    }
}

TEST_F(StdCtrlsForm, ChangingTheStyleKeepsTheSelection) {
    struct Case {
        TComboBoxStyle from;
        std::function<void(TComboBox&)> setup;
        const char* to;
        int index;
        const char* text;
    };
    const Case cases[] = {
        {csDropDown, [](TComboBox& c) { c.SetItemIndex(1); }, "csOwnerDrawVariable", 1, "Banana"},
        {csDropDownList, [](TComboBox& c) { c.SetItemIndex(2); }, "csOwnerDrawFixed", 2, "blueberry"},
        {csOwnerDrawFixed, [](TComboBox& c) { c.SetItemIndex(3); }, "csDropDown", 3, "Cherry"},
        {csDropDown, [](TComboBox& c) { c.SetText("banana"); }, "csSimple", 1, "banana"},
        // A typed text that is no item has no place in a list.
        {csDropDown, [](TComboBox& c) { c.SetText("typed"); }, "csDropDownList", -1, ""},
        {csDropDown, [](TComboBox& c) { c.SetItemIndex(0); }, "csDropDownList", 0, "Apple"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        combo->SetStyle(c.from);
        c.setup(*combo);
        // As the interface conversion does it: through the published property.
        SetPropText(combo, GetPropInfo(combo, "Style"), c.to);
        EXPECT_EQ(GetEnumProp(combo, "Style"), c.to);
        EXPECT_EQ(combo->ItemIndex(), c.index);
        EXPECT_EQ(combo->Text(), c.text);
    }
}

TEST_F(StdCtrlsForm, KeysInADropDownListSelectItemsAsTheUserDoes) {
    combo->SetStyle(csDropDownList);
    combo->SetFocus();
    struct Step {
        Word key; // typed as a character when it is a letter
        int index;
        const char* log;
    };
    const Step steps[] = {
        {'b', 1, "click 1;change Banana;"},
        {'b', 2, "click 2;change blueberry;"},
        {'B', 1, "click 1;change Banana;"}, // round past the end, ignoring case
        {'z', 1, ""},
        {VK_DOWN, 2, "click 2;change blueberry;"},
        {VK_UP, 1, "click 1;change Banana;"},
        {VK_END, 3, "click 3;change Cherry;"},
        {VK_DOWN, 3, ""},
        {VK_HOME, 0, "click 0;change Apple;"},
    };
    for (const auto& s : steps) {
        log.clear();
        if (s.key >= 'A')
            Application->TypeText(AnsiString(1, static_cast<char>(s.key)));
        else
            Application->PressKey(s.key);
        EXPECT_EQ(combo->ItemIndex(), s.index) << s.key;
        EXPECT_EQ(log, s.log) << s.key;
    }
    EXPECT_EQ(form->ActiveControl(), combo); // the arrows stayed in the combo box
}

TEST_F(StdCtrlsForm, TypingIntoTheEditPart) {
    combo->SetMaxLength(6);
    combo->SetFocus();
    Application->TypeText("banana");
    EXPECT_EQ(combo->Text(), "banana");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(log, "change b;change ba;change ban;change bana;change banan;change banana;");
    log.clear();
    Application->TypeText("s"); // beyond MaxLength
    EXPECT_EQ(combo->Text(), "banana");
    Application->PressKey(VK_BACK);
    EXPECT_EQ(combo->Text(), "banan");
    EXPECT_EQ(combo->ItemIndex(), -1);
    Application->PressKey(VK_HOME);
    Application->PressKey(VK_DELETE);
    EXPECT_EQ(combo->Text(), "anan");
    EXPECT_EQ(log, "change banan;change anan;");

    // A double-byte character goes as a whole.
    combo->SetText(GB("甲乙"));
    combo->SetSelStart(4);
    Application->PressKey(VK_BACK);
    EXPECT_EQ(combo->Text(), GB("甲"));
}

TEST_F(StdCtrlsForm, DroppingDownAndPickingAnItem) {
    combo->SetFocus();
    Application->PressKey(VK_F4);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SelectItem(3);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Cherry");
    EXPECT_EQ(log, "drop;click 3;change Cherry;close;");

    // Esc closes the open list and leaves the form alone; a second Esc is the form's again.
    log.clear();
    Application->PressKey(VK_DOWN, TShiftState{ssAlt});
    Application->PressKey(VK_ESCAPE);
    EXPECT_EQ(log, "drop;close;");
    EXPECT_FALSE(combo->WantsKey(VK_ESCAPE, {}));

    // A click opens and closes a list; it is no OnClick.
    log.clear();
    combo->SetStyle(csDropDownList);
    Application->Click(combo);
    Application->Click(combo);
    EXPECT_EQ(log, "drop;close;");

    // Leaving the control closes its list.
    log.clear();
    combo->SetDroppedDown(true);
    next->SetFocus();
    EXPECT_EQ(log, "drop;close;");
}

// Owner-drawn items: what OnDrawItem is asked to draw, and how the canvas stands when it is.
class OwnerDrawnCombo : public StdCtrlsForm {
public:
    struct Drawn {
        int index;
        TRect rect;
        TOwnerDrawState state;
        TColor brush;
    };
    void SetUp() override {
        StdCtrlsForm::SetUp();
        combo->Items()->SetCommaText("a,b,c,d,e");
        combo->SetStyle(csOwnerDrawFixed);
        combo->SetItemHeight(20);
        combo->SetDropDownCount(3);
        combo->SetItemIndex(3);
        combo->OnDrawItem = [this](TWinControl* control, int index, const TRect& rect,
                                   TOwnerDrawState state) {
            TCanvas* c = static_cast<TComboBox*>(control)->Canvas();
            drawn.push_back({index, rect, state, c->Brush().Color()});
            c->TextOut(rect.Left, rect.Top, "#" + IntToStr(index));
        };
        next->SetFocus();
    }
    std::vector<Drawn> drawn;
    TRecordingCanvas canvas;
};

TEST_F(OwnerDrawnCombo, TheSelectionFieldIsDrawnAsItsItem) {
    const TRect edit = combo->EditRect();
    combo->PaintTo(canvas);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].index, 3);
    EXPECT_EQ(drawn[0].rect, edit);
    EXPECT_EQ(drawn[0].state, TOwnerDrawState{odComboBoxEdit});
    EXPECT_EQ(drawn[0].brush, clWindow);
    EXPECT_TRUE(canvas.Find("DrawFocusRect").empty());

    // Focused: selected, in the highlight colour, with the focus rectangle drawn after the item.
    drawn.clear();
    canvas.Clear();
    combo->SetFocus();
    combo->PaintTo(canvas);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].state, (TOwnerDrawState{odComboBoxEdit, odSelected, odFocused}));
    EXPECT_EQ(drawn[0].brush, clHighlight);
    auto text = std::find_if(canvas.Calls.begin(), canvas.Calls.end(),
                             [](const TCanvasCall& c) { return c.Describe() == "TextOut(3,3,'#3')"; });
    ASSERT_NE(text, canvas.Calls.end());
    ASSERT_NE(text + 1, canvas.Calls.end());
    EXPECT_EQ(text[1].Op, "DrawFocusRect");
    EXPECT_EQ(text[1].Rect, edit);
}

TEST_F(OwnerDrawnCombo, TheOpenListDrawsTheItemsItShows) {
    const int w = combo->Width();
    combo->PaintDropDown(canvas);
    // Three items shown, scrolled so that the selected item is the last of them.
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(combo->TopIndex(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i].index, i + 1);
        EXPECT_EQ(drawn[i].rect, Rect(0, 20 * i, w, 20 * i + 20));
        EXPECT_EQ(drawn[i].state, (i == 2 ? TOwnerDrawState{odSelected, odFocused} : TOwnerDrawState{}));
        EXPECT_EQ(combo->ItemRect(i + 1), drawn[i].rect);
    }
    EXPECT_TRUE(combo->ItemRect(0).IsEmpty());

    // Variable heights come from OnMeasureItem.
    drawn.clear();
    combo->SetStyle(csOwnerDrawVariable);
    combo->OnMeasureItem = [](TWinControl*, int index, int& height) { height += 5 * index; };
    combo->PaintDropDown(canvas);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].rect, Rect(0, 0, w, 25));
    EXPECT_EQ(drawn[1].rect, Rect(0, 25, w, 55));
    EXPECT_EQ(drawn[2].rect, Rect(0, 55, w, 90));
}

TEST_F(OwnerDrawnCombo, WithoutAnOwnerTheItemsAreDrawnAsText) {
    combo->OnDrawItem = nullptr;
    combo->SetItemIndex(0);
    combo->PaintDropDown(canvas);
    auto fills = canvas.Find("FillRect");
    auto texts = canvas.Find("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1]->Text, "b");
    EXPECT_EQ(texts[1]->Pt, Point(2, 20));
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0]->BrushColor, clHighlight);
    EXPECT_EQ(fills[0]->FontColor, clHighlightText);
    EXPECT_EQ(fills[1]->BrushColor, clWindow);
}

// ---- memo

TEST_F(StdCtrlsForm, MemoLinesAreAViewOfItsText) {
    using Lines = std::vector<AnsiString>;
    struct Case {
        const char* name;
        const char* start;
        std::function<void(TStrings&)> act;
        const char* text;
        Lines lines;
    };
    auto none = [](TStrings&) {};
    const Case cases[] = {
        {"two lines", "a\r\nb", none, "a\r\nb", {"a", "b"}},
        {"a final line break adds no line", "a\r\nb\r\n", none, "a\r\nb\r\n", {"a", "b"}},
        {"lone CR and LF become CR LF", "a\nb\rc", none, "a\r\nb\r\nc", {"a", "b", "c"}},
        {"a line break alone is one empty line", "\r\n", none, "\r\n", {""}},
        {"empty", "", none, "", {}},
        {"adding to an empty memo",
         "",
         [](TStrings& l) {
             l.Add("x");
             l.Add("y");
         },
         "x\r\ny\r\n",
         {"x", "y"}},
        {"adding after a last line without a break",
         "a\r\nb",
         [](TStrings& l) { l.Add("c"); },
         "a\r\nb\r\nc",
         {"a", "b", "c"}},
        {"inserting at the top",
         "a\r\nb",
         [](TStrings& l) { l.Insert(0, "z"); },
         "z\r\na\r\nb",
         {"z", "a", "b"}},
        {"deleting a middle line", "a\r\nb\r\nc", [](TStrings& l) { l.Delete(1); }, "a\r\nc", {"a", "c"}},
        {"deleting the last line keeps the break before it",
         "a\r\nb",
         [](TStrings& l) { l.Delete(1); },
         "a\r\n",
         {"a"}},
        {"replacing a line", "a\r\nb\r\n", [](TStrings& l) { l.Put(1, "B"); }, "a\r\nB\r\n", {"a", "B"}},
        {"assigning lines",
         "old",
         [](TStrings& l) {
             l.Assign(TStringList{"p", "q"});
         },
         "p\r\nq\r\n",
         {"p", "q"}},
        {"clearing", "a\r\nb", [](TStrings& l) { l.Clear(); }, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        memo->SetText(c.start);
        c.act(*memo->Lines());
        EXPECT_EQ(memo->Text(), c.text);
        EXPECT_EQ(LinesOf(*memo->Lines()), c.lines);
    }
    EXPECT_THROW(memo->Lines()->Get(2), Exception);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines()->Add("r");
    EXPECT_EQ(changes, 1);
}

TEST_F(StdCtrlsForm, EnterInsertsLinesAndTheCaretLineFollows) {
    int clicks = 0;
    auto* btn = new TButton(form);
    btn->SetParent(form);
    btn->SetDefault(true);
    btn->OnClick = [&](TObject*) { ++clicks; };
    memo->SetFocus();
    struct Step {
        const char* typed; // "\r" presses Enter, "<" Backspace, "^" Up, "~" Home, "$" End
        TPoint caret;
        const char* text;
    };
    const Step steps[] = {
        {"one", {3, 0}, "one"},
        {"\r", {0, 1}, "one\r\n"},
        {"two\r", {0, 2}, "one\r\ntwo\r\n"},
        {"^", {0, 1}, "one\r\ntwo\r\n"},
        {"$", {3, 1}, "one\r\ntwo\r\n"},
        {"~<", {3, 0}, "onetwo\r\n"}, // Backspace at a line start joins the lines
        {"x", {4, 0}, "onextwo\r\n"},
    };
    for (const auto& s : steps) {
        for (const char* k = s.typed; *k; ++k) {
            switch (*k) {
            case '\r': Application->PressKey(VK_RETURN); break;
            case '<': Application->PressKey(VK_BACK); break;
            case '^': Application->PressKey(VK_UP); break;
            case '~': Application->PressKey(VK_HOME); break;
            case '$': Application->PressKey(VK_END); break;
            default: Application->TypeText(AnsiString(1, *k));
            }
        }
        EXPECT_EQ(memo->CaretPos(), s.caret) << s.typed;
        EXPECT_EQ(memo->Text(), s.text) << s.typed;
    }
    EXPECT_EQ(clicks, 0); // the memo took Enter
    EXPECT_EQ(memo->Lines()->Count(), 1);

    // Delete at a line end joins the next line; a double-byte character goes as a whole.
    memo->SetText("ab\r\ncd");
    memo->SetCaretPos(Point(9, 0));
    Application->PressKey(VK_DELETE);
    EXPECT_EQ(memo->Text(), "abcd");
    memo->SetText(GB("一二"));
    memo->SetSelStart(4);
    Application->PressKey(VK_BACK);
    EXPECT_EQ(memo->Text(), GB("一"));

    // Without WantReturns, Enter belongs to the dialog.
    memo->SetText("x");
    memo->SetSelStart(1);
    memo->SetWantReturns(false);
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(memo->Text(), "x");
    EXPECT_EQ(clicks, 1);

    // Tab moves on unless the memo wants tabs.
    Application->PressKey(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), next);
    memo->SetFocus();
    memo->SetWantTabs(true);
    Application->PressKey(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), memo);
    EXPECT_EQ(memo->Text(), "x\t");

    // A line break counts two bytes against MaxLength; a read-only memo takes nothing.
    memo->SetMaxLength(3);
    memo->SetWantReturns(true);
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(memo->Text(), "x\t");
    memo->SetMaxLength(0);
    memo->SetReadOnly(true);
    Application->TypeText("y");
    Application->PressKey(VK_RETURN);
    Application->PressKey(VK_BACK);
    EXPECT_EQ(memo->Text(), "x\t");
}

// ---- type information and form resources

TEST(StandardControlResources, ReadIntoAFormThroughTheTypeInformation) {
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmRes: TForm
  object cbo04: TComboBox
    Style = csDropDownList
    Text = 'u.undo failed'
    Items.Strings = (
      'U.transfer failed'
      'u.undo failed'
      'A.all')
  end
  object meNote: TMemo
    Lines.Strings = (
      'first'
      'second')
    WantReturns = False
  end
  object edHour: TSpinEdit
    MaxLength = 2
    MaxValue = 23
    MinValue = 0
    Value = 30
  end
  object edDate: TMaskEdit
    EditMask = '9999/99/99;1; '
    Text = '20240105'
  end
end)");
    auto* cbo = dynamic_cast<TComboBox*>(f->FindComponent("cbo04"));
    auto* me = dynamic_cast<TMemo*>(f->FindComponent("meNote"));
    auto* se = dynamic_cast<TSpinEdit*>(f->FindComponent("edHour"));
    auto* ed = dynamic_cast<TMaskEdit*>(f->FindComponent("edDate"));
    ASSERT_TRUE(cbo && me && se && ed);
    EXPECT_EQ(cbo->Style(), csDropDownList);
    EXPECT_EQ(cbo->ItemIndex(), 1); // the text names an item that came later
    EXPECT_EQ(cbo->Text(), "u.undo failed");
    EXPECT_EQ(me->Text(), "first\r\nsecond\r\n");
    EXPECT_FALSE(me->WantReturns());
    EXPECT_EQ(se->Value(), 23);
    EXPECT_EQ(se->MaxLength(), 2);
    EXPECT_EQ(ed->EditText(), "2024/01/05");

    // What the windows ask of the type information.
    struct Prop {
        TObject* object;
        const char* name;
        const char* type; // nullptr: not published
    };
    const Prop props[] = {
        {cbo, "Items", "TStrings"},
        {cbo, "Style", "TComboBoxStyle"},
        {cbo, "Text", "String"},
        {cbo, "OnDrawItem", "TDrawItemEvent"},
        {cbo, "ItemIndex", nullptr},
        {me, "Lines", "TStrings"},
        {me, "ScrollBars", "TScrollStyle"},
        {se, "Value", "Integer"},
        {ed, "EditMask", "String"},
    };
    for (const auto& p : props) {
        const TPropInfo* pi = GetPropInfo(p.object, p.name);
        if (!p.type) {
            EXPECT_FALSE(pi) << p.name;
            continue;
        }
        ASSERT_TRUE(pi) << p.name;
        EXPECT_EQ(pi->PropType()->Name, p.type) << p.name;
    }
    for (const char* cls : {"TComboBox", "TMemo", "TSpinEdit", "TMaskEdit"})
        EXPECT_TRUE(GetClass(cls)) << cls;
    f->Free();
}

} // namespace
} // namespace qz
