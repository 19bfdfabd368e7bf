#include "support/CodeConverter.h"
#include "controls/PropUtils.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/CorvaneINI.h"
#include "support/LibStrs.h"
#include "support/TranslatorU.h"

namespace qz {

namespace {

const char kExceptSeparator[] = "\x03";
const char kSixBlanks[] = "      ";

// TListBoxStyle ordinals: list boxes are known by their property's type only.
enum : long long { lbStandard = 0, lbOwnerDrawFixed = 1 };

TConvertClassStep& SelectPanelStep() {
    static TConvertClassStep step;
    return step;
}

bool IsStringProperty(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = object ? GetPropInfo(object, name) : nullptr;
    return p && p->Kind() == tkString && p->GetStr;
}

bool SelectPanelMatches(const TComponent* c) {
    const TConvertClassStep& step = SelectPanelStep();
    return step.Matches && step.Convert && step.Matches(c);
}

// The property steps in the order of an excepted component, with the names the exception line
// is searched for.
enum TPropStep {
    stepCaption,
    stepHint,
    stepFont,
    stepTitleFont,
    stepItems,
    stepLines,
    stepText,
    stepStyle,
    stepPanels
};
const char* const kStepNames[] = {"Caption", "Hint", "Font",  "TitleFont", "Items",
                                  "Lines",   "Text", "Style", "Panels"};

} // namespace

bool HasPropertyOfType(const TObject* component, const AnsiString& propName, const AnsiString& typeName) {
    const TPropInfo* p = component && !propName.empty() ? GetPropInfo(component, propName) : nullptr;
    return p && SameText(p->PropType()->Name, typeName);
}

QZ_CLASS_INFO(TCodeConverter, TComponent) {
    b.Property("DesignType", &TCodeConverter::DesignType, &TCodeConverter::SetDesignType).Default(dtClient);
}

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner), FExceptList(new TStringList) {
    LoadSettings();
    if (FUIConvertKind != 0) FTranslator = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::SetSelectPanelStep(const TConvertClassStep& step) {
    SelectPanelStep() = step;
}

void TCodeConverter::LoadSettings() {
    auto copy = [this](const auto& ini) {
        FSystemCodePage = ini.SystemCodePage;
        FUICodePage = ini.UICodePage;
        FDBCodePage = ini.DBCodePage;
        FUIConvertKind = ini.UIConvertKind;
        FDBConvertKind = ini.DBConvertKind;
    };
    if (FDesignType == dtServer)
        copy(TCorvaneIniS());
    else
        copy(TCorvaneIniC());
}

// ---- values

AnsiString TCodeConverter::Big5ToGB(const AnsiString& s) {
    if (s.empty() || !FTranslator) return s;
    return FTranslator->Big5ToGB(s);
}

AnsiString TCodeConverter::GBToBig5(const AnsiString& s) {
    if (s.empty() || !FTranslator) return s;
    return FTranslator->GBToBig5(s);
}

Variant TCodeConverter::ConvertValue(Byte direction, const Variant& v) {
    Variant result = v;
    if (direction == 0 || !FTranslator || VarIsEmpty(v) || VarIsNull(v)) return result;
    if (VarIsArray(v)) {
        int dims = VarArrayDimCount(v);
        if (dims == 1) {
            for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i) {
                Variant item = v.GetElement({i});
                if (VarIsArray(item)) result.PutElement({i}, ConvertValue(direction, item));
                // Empty and Null elements have no text and stay as they are.
                else if ((direction == 1 || direction == 2) && !VarIsEmpty(item) && !VarIsNull(item))
                    result.PutElement({i}, ConvertValue(direction, Variant(VarToStr(item))));
            }
        } else if (dims == 2) {
            for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i)
                for (int j = VarArrayLowBound(v, 2); j <= VarArrayHighBound(v, 2); ++j)
                    result.PutElement({i, j}, ConvertValue(direction, v.GetElement({i, j})));
        }
        return result;
    }
    if (direction == 1) return Variant(Big5ToGB(VarToStr(v)));
    if (direction == 2) return Variant(GBToBig5(VarToStr(v)));
    return result;
}

Variant TCodeConverter::ConvertForUI(const Variant& v) {
    return ConvertValue(FUIConvertKind, v);
}

Variant TCodeConverter::ConvertFromUI(const Variant& v) {
    try {
        if (FUIConvertKind == 1) return ConvertValue(2, v);
        if (FUIConvertKind == 2) return ConvertValue(1, v);
    } catch (...) {}
    return v;
}

Variant TCodeConverter::ConvertFromDB(const Variant& v) {
    return ConvertValue(FDBConvertKind, v);
}

Variant TCodeConverter::ConvertToDB(const Variant& v) {
    try {
        if (FDBConvertKind == 1) return ConvertValue(2, v);
        if (FDBConvertKind == 2) return ConvertValue(1, v);
    } catch (...) {}
    return v;
}

AnsiString TCodeConverter::ConvertText(Byte direction, const AnsiString& s) {
    return VarToStr(ConvertValue(direction, Variant(s)));
}

void TCodeConverter::SetConvertFont(Byte direction, TFont* font) {
    if (!font) return;
    switch (direction) {
    case 0:
    case 1:
    case 4:
        font->SetName("SimSun");
        font->SetCharset(GB2312_CHARSET);
        break;
    case 2:
    case 3:
        font->SetName("SimSun");
        font->SetCharset(CHINESEBIG5_CHARSET);
        break;
    default: break;
    }
}

// ---- dialogs

int TCodeConverter::ShowMessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
    if (msg.empty()) return 0;
    AnsiString text = msg;
    if (FUICodePage == "936" || FSystemCodePage == "936") text += kSixBlanks;
    TForm* dialog = CreateMessageDialog(text, dlgType, buttons);
    int result = mrNone;
    try {
        if (auto* window = dynamic_cast<TCustomForm*>(Owner())) {
            if (window->WindowState() == wsMinimized) window->SetWindowState(wsNormal);
            dialog->SetCaption(window->Caption());
        }
        SetConvertFont(FUIConvertKind, dialog->Font());
        result = dialog->ShowModal();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    return result;
}

// ---- forms

void TCodeConverter::ConvertStrProp(TObject* object, const AnsiString& name, Byte direction) {
    if (!IsStringProperty(object, name)) return;
    AnsiString text = GetStrPropByName(object, name);
    if (!text.empty()) SetStrPropByName(object, name, ConvertText(direction, text));
}

// The list's text converted at once; lines written back one by one keep their objects.
void TCodeConverter::ConvertStrings(TStrings* list, Byte direction) {
    if (!list || list->Count() == 0) return;
    AnsiString text = list->Text();
    AnsiString converted = ConvertText(direction, text);
    if (converted == text) return;
    TStringList lines;
    lines.SetText(converted);
    if (lines.Count() != list->Count()) {
        list->SetText(converted);
        return;
    }
    list->BeginUpdate();
    for (int i = 0; i < lines.Count(); ++i) list->Put(i, lines[i]);
    list->EndUpdate();
}

void TCodeConverter::ConvertListView(TListView* view, Byte direction) {
    if (!view) return;
    auto convert = [&](const AnsiString& s) { return direction == 1 ? Big5ToGB(s) : GBToBig5(s); };
    TListItems* items = view->Items();
    // A sorted view must not re-sort while its captions change, or items would be met twice.
    items->BeginUpdate();
    for (int c = 0; c < view->Columns()->Count(); ++c) {
        TListColumn* column = view->Column(c);
        if (items->Count() == 0) {
            column->SetCaption(convert(column->Caption()));
            continue;
        }
        for (int r = 0; r < items->Count(); ++r) {
            TListItem* item = items->Item(r);
            if (r == 0) column->SetCaption(convert(column->Caption()));
            if (c == 0)
                item->SetCaption(convert(item->Caption()));
            else if (item->SubItems()->Count() > c - 1)
                item->SubItems()->Put(c - 1, convert(item->SubItems()->Get(c - 1)));
        }
    }
    items->EndUpdate();
}

// Runs the property steps on one component; with an exception line, in its order and without the
// steps whose names occur in the line.
void TCodeConverter::ConvertComponent(TComponent* c, Byte d, const AnsiString& exceptLine) {
    static const TPropStep kNormal[] = {stepFont,  stepTitleFont, stepCaption, stepHint,  stepItems,
                                        stepLines, stepText,      stepStyle,   stepPanels};
    static const TPropStep kExcept[] = {stepCaption, stepHint, stepFont,  stepTitleFont, stepItems,
                                        stepLines,   stepText, stepStyle, stepPanels};
    const bool excepting = !exceptLine.empty();
    const AnsiString upperLine = UpperCase(exceptLine);
    // Text is converted from what it was before the list steps, which may already have set it.
    const AnsiString originalText = IsStringProperty(c, "Text") ? GetStrPropByName(c, "Text") : "";
    // A combo box keeps its selection through the list and style steps.
    auto* combo = dynamic_cast<TCustomComboBox*>(c);
    const int selected = combo ? combo->ItemIndex() : -1;
    auto keepSelection = [&] {
        if (combo && combo->ItemIndex() != selected) combo->SetItemIndex(selected);
    };

    for (TPropStep step : excepting ? kExcept : kNormal) {
        if (excepting && Pos(UpperCase(kStepNames[step]), upperLine) > 0) continue;
        switch (step) {
        case stepCaption: ConvertStrProp(c, "Caption", d); break;
        case stepHint:
            ConvertStrProp(c, "Hint", d);
            ConvertStrProp(c, "ButtonHint", d);
            break;
        case stepFont:
            if (HasPropertyOfType(c, "Font", "TFont"))
                SetConvertFont(d, dynamic_cast<TFont*>(GetObjectProperty(c, "Font")));
            break;
        case stepTitleFont:
            if (HasPropertyOfType(c, "TitleFont", "TFont"))
                SetConvertFont(d, dynamic_cast<TFont*>(GetObjectProperty(c, "TitleFont")));
            break;
        case stepItems:
            if (HasPropertyOfType(c, "Items", "TStrings")) {
                ConvertStrings(dynamic_cast<TStrings*>(GetObjectProperty(c, "Items")), d);
                keepSelection();
            }
            break;
        case stepLines:
            if (HasPropertyOfType(c, "Lines", "TStrings"))
                ConvertStrings(dynamic_cast<TStrings*>(GetObjectProperty(c, "Lines")), d);
            break;
        case stepText:
            if (!originalText.empty()) {
                AnsiString converted = ConvertText(d, originalText);
                if (GetStrPropByName(c, "Text") != converted) SetStrPropByName(c, "Text", converted);
            }
            break;
        case stepStyle:
            if (d == 0) break;
            if (HasPropertyOfType(c, "Style", "TComboBoxStyle")) {
                long long style = GetOrdPropByName(c, "Style");
                if (style == csDropDown)
                    SetOrdPropByName(c, "Style", csOwnerDrawVariable);
                else if (style == csDropDownList)
                    SetOrdPropByName(c, "Style", csOwnerDrawFixed);
                keepSelection();
            } else if (HasPropertyOfType(c, "Style", "TListBoxStyle")) {
                if (GetOrdPropByName(c, "Style") == lbStandard)
                    SetOrdPropByName(c, "Style", lbOwnerDrawFixed);
            }
            break;
        case stepPanels:
            if (HasPropertyOfType(c, "Panels", "TStatusPanels"))
                if (auto* panels = dynamic_cast<TCollection*>(GetObjectProperty(c, "Panels")))
                    for (int i = 0; i < panels->Count(); ++i) ConvertStrProp(panels->Items(i), "Text", d);
            break;
        }
    }
}

void TCodeConverter::ConvertClassFirst(TComponent* c, Byte d, bool convertContents) {
    auto* tabSet = dynamic_cast<TTabSet*>(c);
    auto convertTabs = [&](Byte direction) {
        int index = tabSet->TabIndex();
        AnsiString text = tabSet->Tabs()->Text();
        tabSet->Tabs()->SetText(direction == 2 ? GBToBig5(text) : Big5ToGB(text));
        if (tabSet->TabIndex() != index) tabSet->SetTabIndex(index);
    };
    if (auto* view = dynamic_cast<TListView*>(c); view && d == 1)
        ConvertListView(view, 1);
    else if (tabSet && d == 2)
        convertTabs(2);
    else if (tabSet && d == 1)
        convertTabs(1);
    else if (SelectPanelMatches(c) && d == 1)
        SelectPanelStep().Convert(*this, c, 1);
    else if (auto* combo = dynamic_cast<TCustomComboBox*>(c); combo && d == 1)
        MakeComboOwnerDrawn(combo);
    else if (dynamic_cast<TPopupMenu*>(c) || dynamic_cast<TMainMenu*>(c))
        SetOrdPropByName(c, "OwnerDraw", 1);
    else if (convertContents)
        ConvertClassContents(c, d, 1);
}

void TCodeConverter::ConvertClassSecond(TComponent* c, Byte d, bool convertContents) {
    if (auto* view = dynamic_cast<TListView*>(c); view && d == 2)
        ConvertListView(view, 2);
    else if (SelectPanelMatches(c) && d == 2)
        SelectPanelStep().Convert(*this, c, 2);
    else if (auto* combo = dynamic_cast<TCustomComboBox*>(c); combo && d == 2)
        MakeComboOwnerDrawn(combo);
    else if (convertContents)
        ConvertClassContents(c, d, 2);
}

// Every combo box but a simple one is drawn with fixed-height items, and shows an item.
void TCodeConverter::MakeComboOwnerDrawn(TCustomComboBox* combo) {
    int selected = combo->ItemIndex();
    if (combo->Style() != csSimple) combo->SetStyle(csOwnerDrawFixed);
    if (combo->ItemIndex() != selected) combo->SetItemIndex(selected);
    if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
}

// Tree views and string grids, in the direction their group stands for.
void TCodeConverter::ConvertClassContents(TComponent* c, Byte d, Byte group) {
    if (d != group) return;
    auto convert = [&](const AnsiString& s) { return group == 1 ? Big5ToGB(s) : GBToBig5(s); };
    if (auto* tree = dynamic_cast<TTreeView*>(c)) {
        for (int i = 0; i < tree->Items()->Count(); ++i) {
            TTreeNode* node = tree->Items()->Item(i);
            node->SetText(convert(node->Text()));
        }
    } else if (auto* grid = dynamic_cast<TStringGrid*>(c)) {
        for (int col = 0; col < grid->ColCount(); ++col)
            for (int row = 0; row < grid->RowCount(); ++row)
                grid->SetCells(col, row, convert(grid->Cells(col, row)));
    }
}

void TCodeConverter::ConvertForm(TCustomForm* form, const AnsiString& useExceptList, bool convertContents) {
    if (!FTranslator || !form) return;
    const Byte d = FUIConvertKind;
    if (FSystemCodePage == "950") ConvertStrProp(form, "Caption", 2);
    ConvertStrProp(form, "Hint", d);
    ConvertStrProp(form, "ButtonHint", d);
    if (Screen) {
        SetConvertFont(d, Screen->IconFont());
        SetConvertFont(d, Screen->HintFont());
        SetConvertFont(d, Screen->MenuFont());
    }
    if (Application) {
        // The hint window takes the new hint font when hints are switched off and on again.
        bool showHint = Application->ShowHint();
        Application->SetShowHint(!showHint);
        Application->SetShowHint(showHint);
    }
    if (d == 0) return;

    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        if (!useExceptList.empty()) {
            int line = -1;
            for (int k = 0; k < FExceptList->Count() && line < 0; ++k)
                if (SameText(GetField((*FExceptList)[k], kExceptSeparator, 1), c->Name())) line = k;
            if (line >= 0) {
                SetOrdPropByName(c, "ParentFont", 0);
                AnsiString text = (*FExceptList)[line];
                if (!GetField(text, kExceptSeparator, 2).empty()) ConvertComponent(c, d, text);
                continue;
            }
        }
        ConvertComponent(c, d, "");
        ConvertClassFirst(c, d, convertContents);
        ConvertClassSecond(c, d, convertContents);
    }
}

} // namespace qz
