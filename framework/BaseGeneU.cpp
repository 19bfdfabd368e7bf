#include "framework/BaseGeneU.h"

#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/PropUtils.h"
#include "controls/QzRadioGroup.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SocketConnection.h"
#include "platform/display/DialogLog.h"
#include "platform/gfx/Font.h"
#include "platform/os/System.h"
#include "platform/variant/ComObj.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "platform/vcl/WinApi.h"
#include "support/CodeConverter.h"
#include "support/CorvaneINI.h"
#include "support/LibStrs.h"

namespace qz {

namespace {

constexpr const char* kVersion = "870401-0.00.00";

void PostClose(TfrmBaseGene& w) {
    PostMessage(w.Handle(), WM_CLOSE, 0, 0);
}

// The dialog type and default buttons of a message kind.
void KindDialog(const AnsiString& kind, TMsgDlgType& type, TMsgDlgButtons& buttons) {
    if (kind == "C" || kind == "W") {
        type = mtWarning;
        buttons = {mbOK, mbCancel};
    } else if (kind == "D") {
        type = mtWarning;
        buttons = {mbYes, mbNo, mbCancel};
    } else if (kind == "E") {
        type = mtError;
        buttons = {mbOK};
    } else if (kind == "I") {
        type = mtInformation;
        buttons = {mbOK};
    } else if (kind == "Q") {
        type = mtConfirmation;
        buttons = {mbOK, mbCancel};
    } else {
        type = mtCustom;
        buttons = {mbOK};
    }
}

AnsiString FormatCatalogue(const AnsiString& format, const std::vector<AnsiString>& args) {
    std::vector<FormatArg> a(args.begin(), args.end());
    return Format(format, a);
}

// The component is of the named class or a descendant (false for a class the program does not have).
bool IsKindOf(const TComponent* c, const char* className) {
    const TMetaClass* cls = GetClass(className);
    return c && cls && c->ClassInfo()->InheritsFrom(cls);
}

// Enter in the control moves to the next page: it is listed, or it is the end edit or the list of a
// listed selection panel, or a button of a listed radio group.
bool EndsItsPage(const TfrmBaseGene& w, const TWinControl* active) {
    for (const TControl* c : w.FPageEndControls) {
        if (auto* panel = dynamic_cast<const TSelectPanel*>(c)) {
            if (active == panel->EndEdit || active == panel->ListView) return true;
        } else if (auto* group = dynamic_cast<const TQzRadioGroup*>(c)) {
            if (active == group || active->Parent() == group) return true;
        } else if (c == active) {
            return true;
        }
    }
    return false;
}

bool IsPositiveInteger(const AnsiString& s) {
    int v;
    return TryStrToInt(s, v) && v > 0;
}

} // namespace

// Life of the window.

void BaseGeneCreate(TfrmBaseGene& w) {
    if (w.GetSystemCodePage() == "950") {
        // The separator of the user's locale, "/" when it gives none.
        AnsiString separator = GetLocaleDateSeparator();
        DateSeparator = separator.empty() ? '/' : separator[0];
    }
    Application->SetHintHidePause(500000);
    w.FVersion = kVersion;
    w.FCompanyCode.clear();
    w.FProgramCode.clear();
    w.FProgramName.clear();
    w.FRequiredFields.clear();
    w.FDateFields.clear();
    w.FInvalid = false;
    w.FSystemPageReady = false;
    w.FLastFocused = &w;
    w.FLeavingPage = false;
    w.FShowConfirmation = true;
    w.PrepareDataSets();
    w.FDynamicDates = std::make_unique<TStringList>();
    for (int i = 0; i < w.ComponentCount(); ++i)
        if (HasPublishedProperty(w.Components(i), "ImeName"))
            SetStrPropByName(w.Components(i), "ImeName", "");
}

void BaseGeneShow(TfrmBaseGene& w) {
    w.SetCaption(w.FTitle + "[" + w.FCompanyName + "]");
    if (w.pgOption && w.pgOption->PageCount() > 0) {
        w.pgOption->SetActivePageIndex(0);
        w.pgOptionChange(w.pgOption);
    }
    w.ConvertForm();
    BaseGeneSetupPlanColumns(w);
    w.LoadPlanList();
}

void BaseGeneDestroy(TfrmBaseGene& w) {
    w.FSysInfo.reset();
    w.FColors.reset();
    w.FSavedHandlers.reset();
    w.FSavedClicks.reset();
    w.FPageEndControls.clear();
    w.FLookupObject.Clear();
    w.FValidatorObject.Clear();
    w.FCounterObject.Clear();
    if (w.MainMidas && !w.FLocalServer) w.MainMidas->Close();
    w.FServerObject.Clear();
    w.FHostObject.Clear();
    w.FDynamicDates.reset();
}

void BaseGenePrepareDataSets(TfrmBaseGene& w) {
    for (int i = 0; i < w.ComponentCount(); ++i) {
        auto* dataSet = dynamic_cast<TClientDataSet*>(w.Components(i));
        if (!dataSet) continue;
        dataSet->DisableControls();
        for (int f = 0; f < dataSet->FieldCount(); ++f) {
            TField* field = dataSet->Fields(f);
            field->SetDisplayLabel(w.ConvertUiText(field->DisplayLabel()));
            if (field->DataType() != ftString && field->DataType() != ftMemo) continue;
            if (!field->OnGetText) field->OnGetText = TFieldGetTextEvent(&w, &TfrmBaseGene::FieldGetText);
            if (!field->OnSetText) field->OnSetText = TFieldSetTextEvent(&w, &TfrmBaseGene::FieldSetText);
        }
        dataSet->EnableControls();
    }
}

void BaseGeneSetModulePath(TfrmBaseGene& w, const AnsiString& path) {
    w.FModulePath = path;
    if (!w.IsLibraryModule()) {
        // Stand-alone run: initialise at once with the test company, no host window and the reserved
        // parameter, so that the window does not close itself for want of parameters.
        w.InitFromHost(
            VarArrayOf({AnsiString("796"), AnsiString("DEMO"), AnsiString("DEMO"), 0, AnsiString()}));
    }
}

bool BaseGeneInitFromHost(TfrmBaseGene& w, const Variant& params) {
    if (!w.FCompanyCode.empty()) return false;
    try {
        w.FSysInfo = std::make_unique<TStringList>();
        w.FPageEndControls.clear();
        // The stores of colours and handlers keep what was remembered before.
        if (!w.FColors) w.FColors = std::make_unique<TStringList>();
        if (!w.FSavedHandlers) w.FSavedHandlers = std::make_unique<TStringList>();
        if (!w.FSavedClicks) w.FSavedClicks = std::make_unique<TStringList>();
        w.FLookupObject.Clear();
        w.FValidatorObject.Clear();
        w.FCounterObject.Clear();
        w.FBaseOptionCount = 1;
        w.ReportErrorText("");
        if (w.edPrintDate) w.edPrintDate->SetText("");
        w.FAutoSubmit = false;

        int high = VarArrayHighBound(params, 1);
        w.FHostWindow = high >= 3 ? static_cast<HWND>(params[3].AsInt64()) : 0;
        if (high >= 4) {
            w.FHostReserved = params[4];
        } else {
            w.ReportMessages("E;000038");
            PostClose(w);
        }

        w.Hide();
        w.FUserCode = params[0].AsString();
        w.FCompanyCode = params[1].AsString();
        w.FDbName = params[2].AsString();
        w.InitServices();

        if (!SameText(Copy(w.Name(), 4, 3), Copy(w.FProgramCode, 1, 3))) {
            w.ReportMessages("E;000036");
            PostClose(w);
            return true;
        }

        bool connected = false;
        w.MainMidas->Close();
        if (w.SetupAddress(w.MainMidas)) {
            w.SetupConnection(w.MainMidas);
            if (!w.MainMidas->ServerName.empty()) connected = w.Connect();
        }
        if (!connected) {
            w.ReportMessages("E;000006");
            PostClose(w);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        w.ReportErrorText(e.what());
        return false;
    }
}

void BaseGeneInitServices(TfrmBaseGene& w) {
    w.RememberControlColors(&w);
    w.CreateHelperObjects();
    w.DefineModule();
    w.CreateLookupObject();
}

void BaseGeneDefineModule(TfrmBaseGene& w) {
    w.AddDateFields("edPrintDate");
    w.FJobKind = "R";
    w.FEnvCount = 9;
    w.FModuleFlags = 0;
    BaseGeneProgramIdentity(w);
    w.SetOptionCount(0);
}

void BaseGeneSetupSystemPage(TfrmBaseGene& w) {
    w.tsOption2->SetParentFont(true);
    w.tsOption2->SetParentFont(false);
    w.tsOption2->Font()->SetSize(9);
    if (w.Height() < 110) w.SetHeight(110);
    if (w.Width() < 315) w.SetWidth(315);
    w.lblToday->SetAutoSize(true);
    w.lblToday->SetBounds(8, 12, w.lblToday->Width(), w.lblToday->Height());
    w.edPrintDate->SetBounds(60, 8, 85, w.edPrintDate->Height());
    w.btnPrintDate->AlignToControl();
}

void BaseGeneHandleHostCommand(TfrmBaseGene& w, const Variant& command) {
    if (!VarIsArray(command)) return;
    Variant payload = command[1];
    if (VarIsEmpty(payload) || VarIsNull(payload) || !VarIsArray(payload)) return;
    int action = payload[0].AsInteger();
    w.FShowConfirmation = action == 0 || action == 1;
    w.FAutoSubmit = false;
    bool checked = false;
    if (VarIsArray(payload[1])) {
        bool plan = payload[1][0].AsBoolean();
        Variant values = payload[1][1];
        if (VarIsArray(values)) {
            if (plan) {
                checked = true;
                Variant texts = values[0];
                for (int i = VarArrayLowBound(texts, 1); checked && i <= VarArrayHighBound(texts, 1); ++i) {
                    TComponent* c = w.FindComponent(texts[i][1].AsString());
                    bool fits =
                        c && (IsKindOf(c, "TSelectPanel") || IsKindOf(c, "TCustomComboBox") ||
                              HasPublishedProperty(c, "ItemIndex") || HasPublishedProperty(c, "Checked") ||
                              HasPublishedProperty(c, "Text") || HasPublishedProperty(c, "Lines"));
                    if (!fits) {
                        w.ReportMessages("W;000014");
                        checked = false;
                    }
                }
            } else {
                checked = w.ApplyHostValues(values);
            }
        }
        w.FAutoSubmit = checked && action != 0;
    }
    if (!w.FConverted) {
        w.ConvertForm();
        if (w.GetSystemCodePage() == "950") {
            w.FTitle = w.QzConverter->GBToBig5(w.FTitle);
            w.SetCaption(w.FTitle + "[" + w.FCompanyName + "]");
        }
    }
    if (action > 2 && checked)
        w.RunHostAction(action);
    else if (w.FAutoSubmit)
        w.btnOk->Click();
}

// Keys, pages and the plan-list view.

AnsiString HelpNumber(const AnsiString& code) {
    AnsiString number;
    char examined;
    char c4 = code.size() >= 4 ? code[3] : '\0';
    if (c4 == 'A' || c4 == 'M') {
        number = c4 == 'A' ? "6" : "8";
        examined = code.size() >= 5 ? code[4] : '\0';
    } else {
        number = "1";
        examined = c4;
    }
    if (examined == 'B')
        number += "3";
    else if (examined == 'R')
        number += "2";
    else
        return "";
    return number + Copy(code, static_cast<int>(code.size()) - 1, 2) + "0000";
}

void BaseGeneHelp(TfrmBaseGene& w) {
    AnsiString number = HelpNumber(w.FProgramCode);
    if (number.empty() || !VarIsObject(w.FHostObject)) return;
    w.FHostObject.Call("CallHelp", {VarArrayOf({Copy(w.FProgramCode, 1, 3), number})});
}

void BaseGeneShowFileProperties(TfrmBaseGene& w) {
    TFileProperties file;
    if (!ShellProperties(w.FModulePath, file)) return;
    struct Line {
        const char* key;
        const char* caption;
        AnsiString value;
    };
    const Line lines[] = {
        {"sFileName", "文件名称", file.Name},
        {"sFileSize", "大小", IntToStr(file.Size)},
        {"sFileTime", "修改时间", FormatDateTime("yyyy/mm/dd hh:nn:ss", file.Time)},
        {"sFileVersion", "版本", file.Version},
    };
    AnsiString text;
    for (const Line& line : lines) {
        AnsiString caption;
        w.GetLangText("TfrmBaseGene", line.key, caption, true, GB(line.caption));
        if (!text.empty()) text += "\r";
        text += caption + ": " + line.value;
    }
    w.ShowMessageBox(text, static_cast<Byte>(mtInformation),
                     static_cast<Word>(TMsgDlgButtons({mbOK}).Bits()));
}

void BaseGeneKeyDown(TfrmBaseGene& w, Word& key, unsigned shiftBits) {
    TShiftState shift = TShiftState::FromBits(shiftBits);
    const bool ctrl = shift.Contains(ssCtrl), alt = shift.Contains(ssAlt), sh = shift.Contains(ssShift);
    auto turnPage = [&](bool forward) {
        if (w.pgOption) w.pgOption->SelectNextPage(forward);
        key = 0;
    };
    if (key == VK_ESCAPE) {
        w.Close();
    } else if (key == VK_F1) {
        BaseGeneHelp(w);
    } else if (key == VK_F2) {
        w.DoF2Key(113, w.ActiveControl());
    } else if (ctrl && alt && key == 'V') {
        BaseGeneShowFileProperties(w);
    } else if ((ctrl && sh && key == VK_TAB) || (ctrl && key == VK_PRIOR)) {
        turnPage(false);
    } else if ((ctrl && key == VK_TAB) || (ctrl && key == VK_NEXT)) {
        turnPage(true);
    }
}

void BaseGeneKeyPress(TfrmBaseGene& w, char& key) {
    if (key != '\r') return;
    TWinControl* active = w.ActiveControl();
    if (!active) return;
    // A memo takes Enter as a new line on its first two lines.
    if (auto* memo = dynamic_cast<TCustomMemo*>(active); memo && memo->CaretPos().Y < 2) return;
    bool listed = EndsItsPage(w, active);
    if (auto* grid = dynamic_cast<TDrawGrid*>(active)) {
        if (listed) {
            key = 0;
            w.SelectNext(active, true, true);
            return;
        }
        if (grid->Col() < grid->ColCount() - 1) {
            grid->SetCol(grid->Col() + 1);
        } else {
            if (grid->Row() == grid->RowCount() - 1) grid->SetRowCount(grid->RowCount() + 1);
            grid->FocusCell(grid->FixedCols(), grid->Row() + 1);
        }
        key = 0;
        return;
    }
    if (listed && w.pgOption && w.pgOption->ActivePageIndex() < w.pgOption->PageCount() - 1) {
        w.pgOption->SelectNextPage(true);
        key = 0;
        return;
    }
    key = 0;
    w.SelectNext(active, true, true);
}

void BaseGeneDoF2Key(TfrmBaseGene& w, Word, TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win && win->CanFocus()) win->SetFocus();
    if (control && control == w.edPrintDate) {
        AnsiString result;
        w.PickDate(w.edPrintDate->Text(), result);
        w.edPrintDate->SetText(result);
    }
}

void BaseGenePageChange(TfrmBaseGene& w) {
    TTabSheet* page = w.pgOption->ActivePage();
    if (!page) return;
    for (int order = 0;; ++order) {
        TWinControl* found = nullptr;
        for (int i = 0; i < page->ControlCount(); ++i) {
            auto* c = dynamic_cast<TWinControl*>(page->Controls(i));
            if (c && c->TabOrder() == order) found = c;
        }
        if (!found) return;
        if (!found->Enabled()) continue;
        TWinControl* target = found;
        if (auto* panel = dynamic_cast<TSelectPanel*>(found))
            target = panel->IsRangeInput() ? static_cast<TWinControl*>(panel->BeginEdit) : panel->ListView;
        if (target && target->CanFocus()) target->SetFocus();
        return;
    }
}

bool BaseGenePageChanging(TfrmBaseGene& w) {
    w.FLeavingPage = true;
    if (TWinControl* active = w.ActiveControl()) w.RunSavedHandler(active, "OnExit");
    w.FLeavingPage = false;
    return !w.FInvalid;
}

void BaseGeneSetView(TfrmBaseGene& w, int style) {
    w.lstCondition->Items()->BeginUpdate();
    w.lstCondition->SetViewStyle(static_cast<TViewStyle>(style));
    w.lstCondition->Items()->EndUpdate();
    TMenuItem* items[] = {w.N7, w.N8, w.N9, w.N10};
    if (items[style]) items[style]->SetChecked(true);
}

void BaseGeneCycleView(TfrmBaseGene& w) {
    static const char* const names[] = {"ViewIcon", "ViewSmallIcon", "ViewList", "ViewReport"};
    int tag = (w.ToolButton1->Tag() + 1) % 4;
    w.ToolButton1->SetTag(tag);
    CallMethod<void(TObject*)>(&w, AnsiString(names[tag]) + "Execute", &w);
}

void BaseGeneRepaintHost(TfrmBaseGene& w) {
    if (w.FHostWindow) UpdateWindow(w.FHostWindow);
}

// Program identity and server connection.

bool IsLibraryPath(const AnsiString& modulePath) {
    AnsiString ext = ExtractFileExt(modulePath);
    return SameText(ext, ".Dll") || SameText(ext, ".so");
}

AnsiString ProgramCodeOf(const AnsiString& modulePath, bool isLibrary) {
    AnsiString name = ExtractFileName(modulePath);
    int n = static_cast<int>(name.size() - ExtractFileExt(name).size()) - (isLibrary ? 1 : 2);
    if (n < 6) n = 6;
    return UpperCase(Copy(name, 1, n));
}

void BaseGeneProgramIdentity(TfrmBaseGene& w) {
    w.FProgramCode = ProgramCodeOf(w.FModulePath, w.IsLibraryModule());
    w.FServerClass = w.FProgramCode + "S.Class1";
    AnsiString name;
    try {
        Variant result;
        if (w.QueryServer("ADMMB", "01", false, result, VarArrayOf({w.FProgramCode}))) {
            name = result[0].AsString();
            w.FWantLog = VarToStr(result[4]) == "Y";
            if (VarArrayHighBound(result, 1) >= 7) {
                TCorvaneIniC ini;
                if (ini.UICodePage == "437") name = VarToStr(result[7]);
            }
        }
    } catch (const std::exception&) {
        name = w.FProgramCode;
        w.FWantLog = false;
    }
    w.FProgramName = name;
    w.FTitle = name;
}

bool BaseGeneSetupAddress(TfrmBaseGene& w, TSocketConnection* connection) {
    AnsiString error;
    try {
        connection->Close();
        // Only what reading the settings queued counts: earlier messages were reported already.
        size_t queued = w.FMessageItems.size();
        TCorvaneIniC ini;
        if (w.FMessageItems.size() > queued) {
            error = w.FMessageItems.substr(queued);
        } else if (VarIsArray(ini.Servers)) {
            connection->Address = ini.Servers.GetElement({0, 0}).AsString();
            connection->ObjectBroker = nullptr;
            connection->Port = ini.Servers.GetElement({1, 0}).AsInteger();
        }
        if (!error.empty()) w.ReportMessages(error);
        return error.empty();
    } catch (const std::exception& e) {
        w.ReportErrorText(e.what());
        return false;
    }
}

bool BaseGeneConnect(TfrmBaseGene& w) {
    try {
        w.FServerObject.Clear();
        w.MainMidas->Close();
        w.FLocalServer = IsLocalHost(w.MainMidas->Address);
        if (w.FLocalServer) {
            Variant server = CreateOleObject(w.MainMidas->ServerName);
            w.MainMidas->SetAppServer(server);
            w.FServerObject = server;
        } else {
            w.MainMidas->Open();
            if (w.MainMidas->Connected()) w.FServerObject = w.MainMidas->AppServer();
        }
        return true;
    } catch (const std::exception& e) {
        w.ReportErrorText(e.what());
        return false;
    }
}

void BaseGeneCreateHelperObjects(TfrmBaseGene& w) {
    if (!w.IsLibraryModule()) {
        try {
            w.FHostObject = CreateOleObject("PraxaWorkCenter.Manager");
        } catch (const std::exception&) {
            w.FHostObject.Clear();
        }
    }
    try {
        w.FCounterObject = w.FHostObject.Get("Com_Counter");
        AnsiString ignored;
        w.GetSysInfo("", ignored);
        w.GetSysInfo("Qz002", w.FCompanyName);
    } catch (const std::exception&) {
        w.FCounterObject.Clear();
    }
    try {
        w.FValidatorObject = w.FHostObject.Get("Com_Validator");
    } catch (const std::exception&) {
        w.FValidatorObject.Clear();
    }
}

void BaseGeneCreateLookupObject(TfrmBaseGene& w) {
    if (!(w.FModuleFlags & 4)) return;
    try {
        w.FLookupObject = w.FHostObject.Get("Com_F2Window");
    } catch (const std::exception&) {
        w.FLookupObject.Clear();
    }
}

void BaseGeneGetSysInfo(TfrmBaseGene& w, const AnsiString& name, AnsiString& value) {
    value.clear();
    if (name.empty()) {
        if (VarIsObject(w.FCounterObject)) {
            Variant answer = w.FCounterObject.Call("GetSysInfo", {w.FCompanyCode});
            if (!VarIsEmpty(answer))
                for (int i = VarArrayLowBound(answer, 2); i <= VarArrayHighBound(answer, 2); ++i)
                    w.FSysInfo->SetValue(VarToStr(answer.GetElement({0, i})),
                                         VarToStr(answer.GetElement({1, i})));
        }
    } else {
        try {
            value = w.FSysInfo ? w.FSysInfo->Values(name) : "";
        } catch (const std::exception&) {
            value.clear();
        }
    }
    if (value.empty()) {
        static const char* const names[] = {"SYS007", "SYS008", "SYS009", "SYS010"};
        static const char* const chinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三",
                                              "商品分类方式四"};
        static const char* const english[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
        for (int i = 0; i < 4; ++i)
            if (SameText(name, names[i])) value = w.GetUICodePage() != "437" ? GB(chinese[i]) : english[i];
    }
    if (w.FConverted) value = w.ConvertServerData(value).AsString();
}

bool BaseGeneQueryServer(TfrmBaseGene& w, const AnsiString& table, const AnsiString& kind, bool query,
                         Variant& result, const Variant& params) {
    Variant p = w.QzConverter->ConvertToDB(params);
    if (!VarIsObject(w.FValidatorObject)) return false;
    try {
        w.FValidatorObject.Set("BaseLimited", Variant(WideToAnsi(w.FDataLimits)));
    } catch (const std::exception&) {}
    bool ok = false;
    try {
        ok = w.FValidatorObject
                 .Call(query ? "QueryData" : "CheckValue", {table, kind, w.FDbName, p, VarRef(result)})
                 .AsBoolean();
    } catch (const std::exception&) {
        return false;
    }
    if (w.FConverted) result = w.ConvertServerData(result);
    return ok;
}

bool BaseGeneCheckServerValue(TfrmBaseGene& w, const Variant& table, const Variant& kind,
                              const AnsiString& msgKind, int index, Variant& value, const Variant& params) {
    if (BaseGeneCancelIsActive(w)) return true;
    if (VarIsEmpty(params) || VarIsNull(params)) {
        value.Clear();
        return true;
    }
    Variant res;
    if (!w.QueryServer(VarToStr(table), VarToStr(kind), index == -2, res, params)) {
        AnsiString notFound;
        w.GetMessageText("I", "000008", notFound);
        if (msgKind == "E")
            w.ReportMessages("E;000001;" + notFound);
        else if (msgKind == "W")
            w.ReportMessages("W;000004;" + notFound);
        return false;
    }
    value.Clear();
    if (VarIsEmpty(res) || VarIsNull(res)) return true;
    if (!VarIsArray(res) || index < VarArrayLowBound(res, 1) || index > VarArrayHighBound(res, 1))
        value = res;
    else
        value = res[index];
    return true;
}

void BaseGeneOpenLookup(TfrmBaseGene& w, const AnsiString& table, const AnsiString& kind,
                        const Variant& conditions, const AnsiString& extra, bool flag, Variant& result) {
    if (VarIsEmpty(w.FLookupObject) || VarIsNull(w.FLookupObject)) {
        result.Clear();
        return;
    }
    Variant request = VarArrayCreate({0, 18}, varVariant);
    request[0] = table;
    request[1] = kind;
    request[2] = w.QzConverter->ConvertToDB(conditions);
    request[3] = flag;
    request[4] = w.QzConverter->ConvertToDB(Variant(extra));
    request[5] = w.FCompanyCode;
    request[6] = w.FDbName;
    request[7] = static_cast<long long>(w.Handle());
    request[8] = 1;
    request[9] = false;
    request[10] = 0;
    request[11] = AnsiString();
    request[12] = AnsiString();
    request[13] = AnsiString();
    request[14] = WideToAnsi(w.FDataLimits);
    request[15] = w.FLookupRight8;
    request[16] = w.FLookupRight7;
    request[17] = w.FHostObject;
    request[18] = w.FUserCode;
    result = w.FLookupObject.Call("F2GetData", {request});
    if (w.FConverted) result = w.ConvertServerData(result);
}

void BaseGenePickPhrase(TfrmBaseGene& w, TControl* control) {
    if (!VarIsObject(w.FLookupObject) || !control) return;
    Variant answer =
        w.FLookupObject.Call("GetPhrase", {w.FUserCode, w.FDbName, static_cast<long long>(w.Handle())});
    if (w.FConverted) answer = w.ConvertServerData(answer);
    AnsiString text = VarToStr(answer);
    if (!text.empty()) control->SetText(text);
}

void BaseGenePickDate(TfrmBaseGene& w, const AnsiString& text, AnsiString& result) {
    result.clear();
    if (!VarIsObject(w.FLookupObject)) return;
    AnsiString start = text.size() == 8 ? text : FormatDateTime("yyyymmdd", Date());
    AnsiString chosen = Trim(
        VarToStr(w.FLookupObject.Call("ShowInputDay", {VarArrayOf({w.FDateStyle > 3, start, w.FDbName})})));
    if (chosen.empty())
        result = text;
    else
        result = DateToText(w.FDateStyle, w.FDateSeparator, YMDToDate(chosen));
}

void BaseGeneGetCounter(TfrmBaseGene& w, const AnsiString& name, const Variant& params, Variant& result) {
    result.Clear();
    if (!VarIsObject(w.FCounterObject)) return;
    result = w.FCounterObject.Call("GetCounter",
                                   {UpperCase(name), params, VarArrayOf({w.FCompanyCode, w.FDbName})});
    if (w.FConverted) result = w.ConvertServerData(result);
}

void BaseGeneLoadJobSettings(TfrmBaseGene& w, const Variant& settings) {
    AnsiString rights = GetField(VarToStr(settings[1]), ",", 4);
    w.FLookupRight7 = rights.size() >= 7 && rights[6] != 'N';
    w.FLookupRight8 = rights.size() >= 8 && rights[7] != 'N';
    Variant limits = settings[5];
    AnsiString text = VarToStr(settings[4]) + "\x03" + VarToStr(limits[0]) + "\x03";
    int n = limits[0].AsInteger();
    for (int i = 1; i <= n; ++i) text += VarToStr(limits[i]) + "\x03";
    w.FDataLimits = AnsiToWide(text);
    w.AfterLoadJob();
}

// Messages.

bool BaseGeneCancelIsActive(TfrmBaseGene& w) {
    return w.btnCancel && w.ActiveControl() == w.btnCancel;
}

void BaseGeneGetMessageText(TfrmBaseGene& w, const AnsiString& kind, const AnsiString& id, AnsiString& text) {
    if (VarIsEmpty(w.FHostObject))
        text = "Can not Get Message\r" + Format("Type= %s, ID= %s ", {kind, id});
    else
        text = VarToStr(w.FHostObject.Call("GetMessage", {kind, id}));
    text = w.ConvertServerData(text).AsString();
}

void BaseGeneReportMessages(TfrmBaseGene& w, const AnsiString& items) {
    if (BaseGeneCancelIsActive(w)) return;
    if (items.empty()) {
        w.FMessageItems.clear();
        w.FMessageTexts.clear();
        return;
    }
    w.FMessageItems += items + "; ";
    AnsiString rest = items;
    AnsiString kind = CutField(rest, ";");
    AnsiString id = CutField(rest, ";");
    std::vector<AnsiString> args;
    while (!rest.empty() && args.size() < 10) args.push_back(CutField(rest, ";"));
    if (args.empty()) args.push_back("");
    bool show = IsPositiveInteger(id);
    if (!show) id.erase(0, 1);
    AnsiString catalogue;
    w.GetMessageText(kind, id, catalogue);
    std::vector<AnsiString> ten = args;
    ten.resize(10);
    AnsiString text;
    try {
        text = FormatCatalogue(catalogue, ten);
    } catch (const std::exception&) {
        text = catalogue + "\r";
        for (const AnsiString& a : ten) text += a + ";";
    }
    if (w.FMessageTexts.find(text) == AnsiString::npos) w.FMessageTexts += text + "; ";
    if (show) {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        KindDialog(kind, type, buttons);
        w.FDialogItem = kind + ";" + id;
        w.ShowMessageBox(text, static_cast<Byte>(type), static_cast<Word>(TMsgDlgButtons({mbOK}).Bits()));
        w.FDialogItem.clear();
    }
}

void BaseGeneReportErrorText(TfrmBaseGene& w, const AnsiString& rawText) {
    if (BaseGeneCancelIsActive(w)) return;
    AnsiString text = Trim(rawText);
    if (text.empty()) {
        w.FMessageItems.clear();
        w.FMessageTexts.clear();
        return;
    }
    w.FMessageItems += "E;-1; ";
    if (w.FMessageTexts.find(text) == AnsiString::npos) w.FMessageTexts += text + "; ";
}

int BaseGeneShowMessageBox(TfrmBaseGene& w, const AnsiString& text, Byte dlgType, Word buttons) {
    auto type = static_cast<TMsgDlgType>(dlgType);
    if (w.FLeavingPage && type != mtError) return 0;
    TForm* dialog = CreateMessageDialog(text, type, TMsgDlgButtons::FromBits(buttons));
    dialog->SetCaption(w.Caption());
    if (w.GetUICodePage() != "437")
        for (int i = 0; i < dialog->ComponentCount(); ++i)
            if (auto* button = dynamic_cast<TButton*>(dialog->Components(i)))
                button->SetCaption(w.ConvertUiText(GetButtonCaption(button->Name())));
    w.QzConverter->SetConvertFont(w.GetUIConvertKind(), dialog->Font());
    if (!w.FDialogItem.empty()) NoteDialogItem(dialog, w.FDialogItem);
    int result = dialog->ShowModal();
    dialog->Free();
    if (TWinControl* active = w.ActiveControl()) PostMessage(active->Handle(), WM_LBUTTONUP, 0, 0);
    if (type == mtError) {
        auto* last = dynamic_cast<TWinControl*>(w.FLastFocused);
        if (last && last != &w && last->CanFocus()) last->SetFocus();
    }
    return result;
}

// Plans.

void BaseGeneSetupPlanColumns(TfrmBaseGene& w) {
    TListColumns* columns = w.lstCondition->Columns();
    if (columns->Count() > 0) return;
    AnsiString name, created;
    w.GetLangText("TfrmBaseGene", "sProjectName", name, true, GB("方案名称"));
    w.GetLangText("TfrmBaseGene", "sCreateTime", created, true, GB("创建时间"));
    TListColumn* c = columns->Add();
    c->SetCaption(name);
    c->SetAutoSize(true);
    c->SetAlignment(taRightJustify);
    c = columns->Add();
    c->SetCaption(created);
    c->SetAutoSize(true);
    c->SetAlignment(taLeftJustify);
}

bool BaseGeneLoadPlanList(TfrmBaseGene& w) {
    if (!VarIsObject(w.FServerObject)) return false;
    TListItems* items = w.lstCondition->Items();
    TViewStyle style = w.lstCondition->ViewStyle();
    items->BeginUpdate();
    TCursor cursor = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    w.lstCondition->SetViewStyle(vsList);
    items->Clear();
    AnsiString failure;
    try {
        w.FServerObject.Call("LoadTable", {VarArrayOf({w.FUserCode, w.FProgramCode})});
        w.ClientDataSet1->Close();
        w.ClientDataSet1->Open();
        for (w.ClientDataSet1->First(); !w.ClientDataSet1->Eof(); w.ClientDataSet1->Next()) {
            TListItem* row = items->Add();
            row->SetCaption(
                w.ConvertServerData(w.ClientDataSet1->FieldByName("NCONDITION")->AsString()).AsString());
            row->SetImageIndex(0);
            TDateTime created = YMDToDate(w.ClientDataSet1->FieldByName("CREATE_DATE")->AsString());
            row->SubItems()->Add(created != 0 ? DateToStr(created) : "");
        }
    } catch (const std::exception& e) {
        failure = e.what();
    }
    w.lstCondition->SetViewStyle(style);
    items->EndUpdate();
    Screen->SetCursor(cursor);
    if (!failure.empty()) throw Exception(failure);
    return true;
}

void PlaceControl(TControl* control, int left, int top) {
    if (control) control->SetBounds(left, top, control->Width(), control->Height());
}

void OrderControl(TControl* control, int tabOrder) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->SetTabOrder(tabOrder);
}

} // namespace qz
