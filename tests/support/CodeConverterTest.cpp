#include "support/CodeConverter.h"
#include "SupportFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/TranslatorU.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace qz {
namespace {

// A popup menu that can be drawn by its owner.
class TOwnerDrawMenu : public TPopupMenu {
    QZ_CLASS(TOwnerDrawMenu)
public:
    using TPopupMenu::TPopupMenu;
    bool ownerDraw = false;
};

QZ_CLASS_INFO(TOwnerDrawMenu, TPopupMenu) {
    b.Property("OwnerDraw", &TOwnerDrawMenu::ownerDraw);
}

AnsiString Big5(const char* utf8) {
    return ConvertCodePage(utf8, CP_UTF8, CP_BIG5);
}

template <class T> T* Make(TForm* form, const char* name) {
    auto* c = new T(form);
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(form);
    return c;
}

TComboBox* Combo(TForm* form, const char* name, TComboBoxStyle style, int index) {
    auto* c = Make<TComboBox>(form, name);
    c->SetStyle(style);
    c->Items()->Add(GB("订单"));
    c->Items()->Add(GB("销货退回"));
    c->SetItemIndex(index);
    return c;
}

// A window with a control of every kind the converter knows, all texts in GB.
TForm* BuildWindow() {
    TForm* form = CreateForm<TForm>(nullptr);
    form->SetName("frmRequest");
    form->SetCaption(GB("订单变更"));
    auto* label = Make<TLabel>(form, "lblTitle");
    label->SetCaption(GB("选择单据日期"));
    label->SetHint(GB("单据"));
    Make<TEdit>(form, "edNo")->SetText(GB("订单"));
    Combo(form, "cboKind", csDropDown, 1);
    Combo(form, "cboList", csDropDownList, -1);
    Combo(form, "cboSimple", csSimple, 0);
    auto* memo = Make<TMemo>(form, "mmoNote");
    memo->Lines()->Add(GB("变更"));
    memo->Lines()->Add(GB("日期"));
    auto* bar = Make<TStatusBar>(form, "sbMain");
    bar->Panels()->Add()->SetText(GB("订单"));
    bar->Panels()->Add();
    auto* view = Make<TListView>(form, "lvDocs");
    for (const char* caption : {"单据", "日期", "状态"}) view->Columns()->Add()->SetCaption(GB(caption));
    TListItem* item = view->Items()->Add();
    item->SetCaption(GB("订单"));
    item->SubItems()->Add(GB("日期"));
    item = view->Items()->Add();
    item->SetCaption(GB("变更"));
    item->SubItems()->Add(GB("选择"));
    item->SubItems()->Add(GB("状态"));
    Make<TListView>(form, "lvEmpty")->Columns()->Add()->SetCaption(GB("订单"));
    auto* tabs = Make<TTabSet>(form, "tsPages");
    tabs->Tabs()->Add(GB("订单"));
    tabs->Tabs()->Add(GB("变更"));
    tabs->SetTabIndex(1);
    auto* tree = Make<TTreeView>(form, "tvDocs");
    tree->Items()->AddChild(tree->Items()->Add(nullptr, GB("订单")), GB("变更"));
    auto* grid = Make<TStringGrid>(form, "sgDocs");
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetCells(1, 1, GB("日期"));
    Make<TOwnerDrawMenu>(form, "pmDocs");
    return form;
}

// Every text of the window's components by a label naming where it sits.
std::vector<std::pair<AnsiString, AnsiString>> Texts(TForm* form, bool contents = true) {
    std::vector<std::pair<AnsiString, AnsiString>> out;
    auto add = [&](const AnsiString& where, const AnsiString& text) { out.emplace_back(where, text); };
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        const AnsiString& n = c->Name();
        if (auto* control = dynamic_cast<TControl*>(c)) {
            add(n + ".Text", control->Text());
            add(n + ".Hint", control->Hint());
        }
        if (auto* combo = dynamic_cast<TComboBox*>(c)) add(n + ".Items", combo->Items()->Text());
        if (auto* memo = dynamic_cast<TMemo*>(c)) add(n + ".Lines", memo->Lines()->Text());
        if (auto* bar = dynamic_cast<TStatusBar*>(c))
            for (int p = 0; p < bar->Panels()->Count(); ++p)
                add(n + ".Panel", bar->Panels()->Items(p)->Text());
        if (auto* view = dynamic_cast<TListView*>(c)) {
            for (int k = 0; k < view->Columns()->Count(); ++k) add(n + ".Column", view->Column(k)->Caption());
            for (int r = 0; r < view->Items()->Count(); ++r) {
                add(n + ".Item", view->Items()->Item(r)->Caption());
                add(n + ".SubItems", view->Items()->Item(r)->SubItems()->Text());
            }
        }
        if (auto* tabs = dynamic_cast<TTabSet*>(c)) add(n + ".Tabs", tabs->Tabs()->Text());
        if (!contents) continue;
        if (auto* tree = dynamic_cast<TTreeView*>(c))
            for (int k = 0; k < tree->Items()->Count(); ++k) add(n + ".Node", tree->Items()->Item(k)->Text());
        if (auto* grid = dynamic_cast<TStringGrid*>(c)) add(n + ".Cell", grid->Cells(1, 1));
    }
    return out;
}

class Converter : public SupportFixture {
protected:
    Converter() { SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll"); }
    ~Converter() override {
        if (form) form->Free();
        SetTranslatorLibraryName("");
    }
    // The installation's code pages ("" for no installation) on a system of a code page.
    void Install(int systemCodePage, const std::string& ui = "", const std::string& db = "") {
        SetSystemCodePage(systemCodePage);
        if (ui.empty()) return;
        SetRegistry("ClientPath=" + dir() + "prod\nServerPath=" + dir() + "prod\n");
        Write("prod/CorvaneC.ini", "[CodePage]\nUICodePage=" + ui + "\nDBCodePage=" + db + "\n");
    }
    TCodeConverter* NewConverter() {
        if (!form) form = BuildWindow();
        auto* converter = new TCodeConverter(form);
        converter->SetName("QzConverter");
        return converter;
    }
    template <class T> T* Find(const char* name) { return dynamic_cast<T*>(form->FindComponent(name)); }
    void ExpectFont(TFont* font, const char* name, int charset, const char* where) {
        EXPECT_EQ(font->Name(), name) << where;
        EXPECT_EQ(font->Charset(), charset) << where;
    }

    TForm* form = nullptr;
};

TEST_F(Converter, KindZeroChangesNothingAndLoadsNoLibrary) {
    Install(936);
    SetTranslatorLibraryName(dir() + "absent/Qzlanguage.dll");
    TCodeConverter* converter = NewConverter();
    EXPECT_EQ(converter->UIConvertKind(), 0);
    EXPECT_EQ(converter->Translator(), nullptr);
    auto before = Texts(form);
    AnsiString hintFont = Screen->HintFont()->Name();
    converter->ConvertForm(form, "", true);
    EXPECT_EQ(Texts(form), before);
    EXPECT_EQ(form->Caption(), GB("订单变更"));
    ExpectFont(Find<TLabel>("lblTitle")->Font(), "MS Sans Serif", DEFAULT_CHARSET, "label");
    EXPECT_EQ(Screen->HintFont()->Name(), hintFont);
    EXPECT_EQ(Find<TComboBox>("cboKind")->Style(), csDropDown);
    EXPECT_EQ(converter->ConvertValue(2, GB("订单")).AsString(), GB("订单"));
}

TEST_F(Converter, KindFourSetsFontsAndStylesAndShowsTheCaptionInBig5) {
    Install(950, "936", "950");
    TCodeConverter* converter = NewConverter();
    ASSERT_EQ(converter->UIConvertKind(), 4);
    ASSERT_NE(converter->Translator(), nullptr);
    auto before = Texts(form);
    converter->ConvertForm(form, "", true);

    EXPECT_EQ(Texts(form), before);
    EXPECT_EQ(form->Caption(), Big5("訂單變更"));
    for (const char* name : {"lblTitle", "edNo", "cboKind", "mmoNote"})
        ExpectFont(Find<TControl>(name)->Font(), "SimSun", GB2312_CHARSET, name);
    ExpectFont(Screen->HintFont(), "SimSun", GB2312_CHARSET, "hint font");
    ExpectFont(Screen->MenuFont(), "SimSun", GB2312_CHARSET, "menu font");
    EXPECT_TRUE(Find<TOwnerDrawMenu>("pmDocs")->ownerDraw);
    struct Style {
        const char* name;
        TComboBoxStyle style;
        int index;
    };
    for (const Style& s : {Style{"cboKind", csOwnerDrawVariable, 1}, Style{"cboList", csOwnerDrawFixed, -1},
                           Style{"cboSimple", csSimple, 0}}) {
        EXPECT_EQ(Find<TComboBox>(s.name)->Style(), s.style) << s.name;
        EXPECT_EQ(Find<TComboBox>(s.name)->ItemIndex(), s.index) << s.name;
    }
}

TEST_F(Converter, KindTwoConvertsEveryTextToBig5AndKeepsSelections) {
    Install(936, "950", "936");
    for (bool contents : {true, false}) {
        if (form) form->Free();
        form = nullptr;
        TCodeConverter* converter = NewConverter();
        ASSERT_EQ(converter->UIConvertKind(), 2);
        auto before = Texts(form);
        converter->ConvertForm(form, "", contents);

        auto after = Texts(form);
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            if (before[i].first == "cboList.Text") continue; // selected below
            bool converted = contents || (before[i].first.find(".Node") == AnsiString::npos &&
                                          before[i].first.find(".Cell") == AnsiString::npos);
            EXPECT_EQ(after[i].second,
                      converted ? converter->Translator()->GBToBig5(before[i].second) : before[i].second)
                << before[i].first << (contents ? " with contents" : "");
        }
        EXPECT_EQ(form->Caption(), GB("订单变更")); // converted only on a BIG5 system

        auto* view = Find<TListView>("lvDocs");
        EXPECT_EQ(view->Column(2)->Caption(), Big5("狀態")); // once, though two items
        EXPECT_EQ(view->Items()->Item(0)->SubItems()->Count(), 1);
        EXPECT_EQ(view->Items()->Item(1)->SubItems()->Get(0), Big5("選擇"));
        EXPECT_EQ(Find<TStatusBar>("sbMain")->Panels()->Items(0)->Text(), Big5("訂單"));
        EXPECT_EQ(Find<TTabSet>("tsPages")->TabIndex(), 1);
        ExpectFont(Find<TLabel>("lblTitle")->Font(), "SimSun", CHINESEBIG5_CHARSET, "label");

        auto* kind = Find<TComboBox>("cboKind");
        EXPECT_TRUE(kind->IsOwnerDrawn());
        EXPECT_EQ(kind->ItemIndex(), 1);
        EXPECT_EQ(kind->Text(), Big5("銷貨退回"));
        EXPECT_EQ(Find<TComboBox>("cboList")->Style(), csOwnerDrawFixed);
        EXPECT_EQ(Find<TComboBox>("cboList")->ItemIndex(), 0); // an owner-drawn box shows an item
        EXPECT_EQ(Find<TComboBox>("cboList")->Text(), Big5("訂單"));
        EXPECT_EQ(Find<TComboBox>("cboSimple")->Style(), csSimple);
    }
}

TEST_F(Converter, SortedListViewConvertsEachItemOnce) {
    Install(936, "950", "936");
    TCodeConverter* converter = NewConverter();
    auto* view = Make<TListView>(form, "lvSorted");
    view->Columns()->Add()->SetCaption(GB("单据"));
    view->Columns()->Add()->SetCaption(GB("日期"));
    // In GB order; in BIG5 the first sorts after the second.
    for (const char* caption : {"变更", "订单"}) {
        TListItem* item = view->Items()->Add();
        item->SetCaption(GB(caption));
        item->SubItems()->Add(GB(caption));
    }
    view->SetSortType(stText);
    converter->ConvertForm(form, "", true);
    ASSERT_EQ(view->Items()->Count(), 2);
    EXPECT_EQ(view->Items()->Item(0)->Caption(), Big5("訂單"));
    EXPECT_EQ(view->Items()->Item(0)->SubItems()->Get(0), Big5("訂單"));
    EXPECT_EQ(view->Items()->Item(1)->Caption(), Big5("變更"));
    EXPECT_EQ(view->Items()->Item(1)->SubItems()->Get(0), Big5("變更"));
}

std::vector<int> g_panelSteps;

TEST_F(Converter, SelectionPanelsAreConvertedThroughTheirStep) {
    TConvertClassStep step;
    step.Matches = [](const TComponent* c) { return c->Name() == "spDocs"; };
    step.Convert = [](TCodeConverter&, TComponent*, Byte direction) { g_panelSteps.push_back(direction); };
    TCodeConverter::SetSelectPanelStep(step);
    for (auto [ui, steps] : {std::pair{"950", std::vector<int>{2}}, {"936", std::vector<int>{}}}) {
        g_panelSteps.clear();
        Install(950, ui, "936");
        if (form) form->Free();
        form = nullptr;
        TCodeConverter* converter = NewConverter();
        Make<TPanel>(form, "spDocs");
        converter->ConvertForm(form, "", true);
        EXPECT_EQ(g_panelSteps, steps) << ui;
    }
    TCodeConverter::SetSelectPanelStep({});
}

TEST_F(Converter, ExceptionListLeavesComponentsOrPropertiesOut) {
    Install(936, "950", "936");
    TCodeConverter* converter = NewConverter();
    auto* keep = Make<TLabel>(form, "lblKeep");
    keep->SetCaption(GB("订单"));
    auto* part = Make<TEdit>(form, "edPart");
    part->SetText(GB("订单"));
    part->SetHint(GB("日期"));
    converter->ExceptList()->Add("LBLKEEP\x03");
    converter->ExceptList()->Add("edPart\x03Text Hint");
    converter->ExceptList()->Add("lvDocs\x03"
                                 "Caption");
    converter->ConvertForm(form, "1", true);

    EXPECT_EQ(keep->Caption(), GB("订单"));
    EXPECT_FALSE(keep->ParentFont());
    EXPECT_EQ(keep->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(part->Text(), GB("订单"));
    EXPECT_EQ(part->Hint(), GB("日期"));
    ExpectFont(part->Font(), "SimSun", CHINESEBIG5_CHARSET, "edPart");
    // No class steps for a listed component: its items stay.
    EXPECT_EQ(Find<TListView>("lvDocs")->Items()->Item(0)->Caption(), GB("订单"));
    EXPECT_EQ(Find<TLabel>("lblTitle")->Caption(), Big5("選擇單據日期"));
}

TEST_F(Converter, MissingLibraryOrEntryFailsTheConstruction) {
    Install(936, "950", "936");
    form = BuildWindow();
    const AnsiString missing = dir() + "absent/Qzlanguage.dll";
    const std::pair<AnsiString, AnsiString> cases[] = {
        {missing, "Load Library " + missing + " Error!"},
        {AnsiString(QZ_ONE_ENTRY_DIR) + "/Qzlanguage.dll", "Get Library Procedure Address Error!"},
    };
    for (const auto& [library, message] : cases) {
        SetTranslatorLibraryName(library);
        int count = form->ComponentCount();
        try {
            new TCodeConverter(form);
            ADD_FAILURE() << library;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(form->ComponentCount(), count);
    }
}

TEST_F(Converter, ConvertValueConvertsTextsNumbersAndNestedArrays) {
    Install(936, "950", "936");
    TCodeConverter* c = NewConverter();
    struct Case {
        Byte direction;
        Variant value;
        Variant expected;
    };
    const std::vector<Case> cases = {
        {2, GB("订单"), Big5("訂單")}, {1, Big5("訂單"), GB("订单")}, {2, 12, "12"},
        {4, GB("订单"), GB("订单")},   {0, GB("订单"), GB("订单")},   {2, Null(), Null()},
        {2, Variant(), Variant()},
    };
    for (const Case& k : cases) {
        Variant r = c->ConvertValue(k.direction, k.value);
        EXPECT_EQ(VarType(r), VarType(k.expected)) << int(k.direction) << " " << VarToStr(k.value);
        EXPECT_EQ(VarToStr(r), VarToStr(k.expected)) << int(k.direction) << " " << VarToStr(k.value);
    }

    Variant nested = c->ConvertValue(2, VarArrayOf({GB("单据"), 7, VarArrayOf({GB("日期"), 1.5}), Null()}));
    ASSERT_EQ(VarArrayHighBound(nested, 1), 3);
    EXPECT_EQ(nested[0].AsString(), Big5("單據"));
    EXPECT_EQ(VarType(nested[1]), varString);
    EXPECT_EQ(nested[1].AsString(), "7");
    EXPECT_EQ(nested[2][0].AsString(), Big5("日期"));
    EXPECT_EQ(nested[2][1].AsString(), "1.5");
    EXPECT_TRUE(VarIsNull(nested[3]));

    Variant grid = VarArrayCreate({0, 1, 1, 2}, varVariant);
    grid.PutElement({0, 1}, GB("订单"));
    grid.PutElement({1, 2}, 3);
    Variant converted = c->ConvertValue(2, grid);
    EXPECT_EQ(converted.GetElement({0, 1}).AsString(), Big5("訂單"));
    EXPECT_EQ(converted.GetElement({1, 2}).AsString(), "3");
    EXPECT_TRUE(VarIsEmpty(converted.GetElement({0, 2})));
    EXPECT_EQ(c->ConvertValue(4, grid).GetElement({0, 1}).AsString(), GB("订单"));
}

TEST_F(Converter, InterfaceAndDatabaseDirections) {
    struct Case {
        int system;
        const char* ui;
        const char* db;
        int dbKind;
        AnsiString interfaceText, databaseText; // the same words as the two sides hold them
    };
    const AnsiString gb = GB("订单"), big5 = Big5("訂單");
    const Case cases[] = {
        {936, "950", "936", 2, big5, gb},
        {950, "936", "950", 1, gb, big5},
        {950, "950", "950", 0, big5, big5},
    };
    for (const Case& k : cases) {
        Install(k.system, k.ui, k.db);
        if (form) form->Free();
        form = nullptr;
        TCodeConverter* c = NewConverter();
        EXPECT_EQ(c->DBConvertKind(), k.dbKind);
        EXPECT_EQ(c->ConvertToDB(k.interfaceText).AsString(), k.databaseText) << k.dbKind;
        EXPECT_EQ(c->ConvertFromDB(k.databaseText).AsString(), k.interfaceText) << k.dbKind;
    }
    // A BIG5 interface: built-in GB texts are shown in BIG5, and what the user typed is read back.
    Install(936, "950", "936");
    form->Free();
    form = nullptr;
    TCodeConverter* c = NewConverter();
    EXPECT_EQ(c->ConvertForUI(gb).AsString(), big5);
    EXPECT_EQ(c->ConvertFromUI(big5).AsString(), gb);
}

TEST_F(Converter, ServerDesignReadsTheServerSettingsWhenLoadedAgain) {
    Install(936, "936", "936");
    Write("prod/CorvaneS.ini", "[CodePage]\nUICodePage=950\nDBCodePage=936\n");
    TCodeConverter* c = NewConverter();
    c->SetDesignType(dtServer); // as a window resource sets it: nothing is read again
    EXPECT_EQ(c->UICodePage(), "936");
    EXPECT_EQ(c->UIConvertKind(), 0);
    c->LoadSettings();
    EXPECT_EQ(c->UICodePage(), "950");
    EXPECT_EQ(c->UIConvertKind(), 2);
    EXPECT_EQ(c->DBConvertKind(), 2);
}

TEST_F(Converter, ConvertFontByDirection) {
    Install(936);
    TCodeConverter* c = NewConverter();
    struct Case {
        Byte direction;
        const char* name;
        int charset;
    };
    const Case cases[] = {{0, "SimSun", 134}, {1, "SimSun", 134}, {4, "SimSun", 134},
                          {2, "SimSun", 136}, {3, "SimSun", 136}, {5, "Tahoma", 0}};
    for (const Case& k : cases) {
        TFont font;
        font.SetName("Tahoma");
        font.SetCharset(ANSI_CHARSET);
        c->SetConvertFont(k.direction, &font);
        ExpectFont(&font, k.name, k.charset, "direction");
    }
}

// Answers a modal dialog with Yes, noting what it showed.
class TRecordingHost : public TFormHost {
public:
    bool ModalStep(TCustomForm* form, int step) override {
        ++shown;
        caption = form->Caption();
        message = dynamic_cast<TLabel*>(form->FindComponent("Message"))->Caption();
        charset = form->Font()->Charset();
        form->SetModalResult(mrYes);
        return true;
    }
    int shown = 0;
    AnsiString caption, message;
    int charset = -1;
};

TEST_F(Converter, ShowMessageDlgAddsSixBlanksForGbAndTakesTheWindowsCaption) {
    struct Case {
        int system;
        const char* ui;
        const char* suffix;
        int charset;
    };
    const Case cases[] = {
        {936, "", "      ", GB2312_CHARSET},         // no conversion
        {936, "950", "      ", CHINESEBIG5_CHARSET}, // GB system
        {950, "936", "      ", GB2312_CHARSET},      // GB interface
        {950, "950", "", CHINESEBIG5_CHARSET},
    };
    for (const Case& k : cases) {
        Install(k.system, k.ui, "936");
        if (form) form->Free();
        form = nullptr;
        TCodeConverter* c = NewConverter();
        form->SetWindowState(wsMinimized);
        TRecordingHost host;
        TFormHost* old = SetFormHost(&host);
        EXPECT_EQ(c->ShowMessageDlg("Save the plan?", mtConfirmation, {mbYes, mbNo}), mrYes);
        EXPECT_EQ(c->ShowMessageDlg("", mtConfirmation, {mbYes, mbNo}), 0);
        SetFormHost(old);
        EXPECT_EQ(host.shown, 1);
        EXPECT_EQ(host.message, AnsiString("Save the plan?") + k.suffix) << k.system << k.ui;
        EXPECT_EQ(host.caption, form->Caption());
        EXPECT_EQ(host.charset, k.charset) << k.system << k.ui;
        EXPECT_EQ(form->WindowState(), wsNormal);
    }
}

} // namespace
} // namespace qz
