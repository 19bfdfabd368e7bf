#pragma once
// The logic of the general request window, as free functions over the window and the fields they
// work on; the window's methods are thin wrappers over them.
#include "platform/core/Types.h"
#include "platform/variant/Variant.h"

namespace qz {

class TfrmBaseGene;
class TSocketConnection;
class TControl;
class TObject;
class TComponent;
class TWinControl;
class TSelectPanel;

// Life of the window.
void BaseGeneCreate(TfrmBaseGene& w);
void BaseGeneShow(TfrmBaseGene& w);
void BaseGeneDestroy(TfrmBaseGene& w);
void BaseGenePrepareDataSets(TfrmBaseGene& w);
bool BaseGeneInitFromHost(TfrmBaseGene& w, const Variant& params);
void BaseGeneInitServices(TfrmBaseGene& w);
void BaseGeneDefineModule(TfrmBaseGene& w);
void BaseGeneSetModulePath(TfrmBaseGene& w, const AnsiString& path);
void BaseGeneSetupSystemPage(TfrmBaseGene& w);
void BaseGeneHandleHostCommand(TfrmBaseGene& w, const Variant& command);

// Keys, pages and the plan-list view.
void BaseGeneKeyDown(TfrmBaseGene& w, Word& key, unsigned shiftBits);
void BaseGeneKeyPress(TfrmBaseGene& w, char& key);
void BaseGeneDoF2Key(TfrmBaseGene& w, Word key, TControl* control);
// The help number for a program code; "" when the code gives none.
AnsiString HelpNumber(const AnsiString& programCode);
void BaseGeneHelp(TfrmBaseGene& w);
// Ctrl+Alt+V: the module file's name, size, time and version in the window's message box.
void BaseGeneShowFileProperties(TfrmBaseGene& w);
void BaseGenePageChange(TfrmBaseGene& w);
bool BaseGenePageChanging(TfrmBaseGene& w);
void BaseGeneCycleView(TfrmBaseGene& w);
void BaseGeneSetView(TfrmBaseGene& w, int style);
void BaseGeneRepaintHost(TfrmBaseGene& w);

// Program identity, server connection and remote calls.
// The program code of a module file: its name without the extension, less one character for a library
// (two otherwise), but at least six characters; in upper case.
AnsiString ProgramCodeOf(const AnsiString& modulePath, bool isLibrary);
bool IsLibraryPath(const AnsiString& modulePath);
void BaseGeneProgramIdentity(TfrmBaseGene& w);
bool BaseGeneSetupAddress(TfrmBaseGene& w, TSocketConnection* connection);
bool BaseGeneConnect(TfrmBaseGene& w);
void BaseGeneCreateHelperObjects(TfrmBaseGene& w);
void BaseGeneCreateLookupObject(TfrmBaseGene& w);
void BaseGeneGetSysInfo(TfrmBaseGene& w, const AnsiString& name, AnsiString& value);
bool BaseGeneQueryServer(TfrmBaseGene& w, const AnsiString& table, const AnsiString& kind, bool query,
                         Variant& result, const Variant& params);
bool BaseGeneCheckServerValue(TfrmBaseGene& w, const Variant& table, const Variant& kind,
                              const AnsiString& msgKind, int index, Variant& value, const Variant& params);
void BaseGeneOpenLookup(TfrmBaseGene& w, const AnsiString& table, const AnsiString& kind,
                        const Variant& conditions, const AnsiString& extra, bool flag, Variant& result);
void BaseGenePickPhrase(TfrmBaseGene& w, TControl* control);
void BaseGenePickDate(TfrmBaseGene& w, const AnsiString& text, AnsiString& result);
void BaseGeneGetCounter(TfrmBaseGene& w, const AnsiString& name, const Variant& params, Variant& result);
void BaseGeneLoadJobSettings(TfrmBaseGene& w, const Variant& settings);

// Messages.
// Cancel is the active control: the user is leaving, nothing is checked or reported.
bool BaseGeneCancelIsActive(TfrmBaseGene& w);
void BaseGeneReportMessages(TfrmBaseGene& w, const AnsiString& items);
void BaseGeneReportErrorText(TfrmBaseGene& w, const AnsiString& text);
void BaseGeneGetMessageText(TfrmBaseGene& w, const AnsiString& kind, const AnsiString& id, AnsiString& text);
int BaseGeneShowMessageBox(TfrmBaseGene& w, const AnsiString& text, Byte dlgType, Word buttons);

// Plans (the list on the left): its two columns, and its rows from the server's plans.
void BaseGeneSetupPlanColumns(TfrmBaseGene& w);
bool BaseGeneLoadPlanList(TfrmBaseGene& w);

// Condition capture and parameter encoding (BaseGeneParams.cpp).
bool BaseGeneCollectParams(TfrmBaseGene& w);
bool BaseGeneGetOptionTexts(TfrmBaseGene& w, Variant& texts, int index);
bool BaseGeneGetOptionValues(TfrmBaseGene& w, Variant& values, int index);
bool BaseGeneGetEnvironment(TfrmBaseGene& w, Variant& env, int count);
// The entry mask of a date style 1..5 and the text of an empty entry, with the separator; "" for
// other styles.
AnsiString DateMaskOf(int style, const AnsiString& separator);
AnsiString BlankDateTextOf(int style, const AnsiString& separator);
// A date entered in a style as "YYYYMMDD": "" for an empty entry or another style, the trimmed entry
// itself when one of its three parts is not a number.
AnsiString DateTextToParam(const AnsiString& text, int style, const AnsiString& separator);
void BaseGeneDateToParam(TfrmBaseGene& w, const AnsiString& text, AnsiString& result);
void BaseGeneGetDateMask(TfrmBaseGene& w, AnsiString& text);
void BaseGeneGetBlankDateText(TfrmBaseGene& w, AnsiString& text);
// A range [#4, from, to]; a panel's list [#5, row 1, ..., row n], each row [caption, sub-items...].
Variant RangeParam(const AnsiString& from, const AnsiString& to);
Variant ListParam(TSelectPanel* panel);
void BaseGenePutRangeParam(TfrmBaseGene& w, const AnsiString& fromText, const AnsiString& toText,
                           Variant& values, int index);
void BaseGenePutPanelParam(TSelectPanel* panel, Variant& values, int index);
bool BaseGeneCheckDateControl(TfrmBaseGene& w, TControl* control, bool setMask);

// Date and required fields (BaseGeneFields.cpp).
// The text of an empty mask edit under the mask: its literals when they are kept, else "".
AnsiString BlankMaskText(const AnsiString& editMask);
void BaseGeneAddDateFields(TfrmBaseGene& w, const AnsiString& names);
void BaseGeneDateFieldEnter(TfrmBaseGene& w, TObject* sender);
void BaseGeneDateFieldExit(TfrmBaseGene& w, TObject* sender);
void BaseGeneRunSavedHandler(TfrmBaseGene& w, TControl* control, const AnsiString& eventName);
void BaseGeneSetRequiredFields(TfrmBaseGene& w, const AnsiString& names);
void BaseGeneUnhookRequiredFields(TfrmBaseGene& w, const AnsiString& names);
void BaseGeneRequiredExit(TfrmBaseGene& w, TObject* sender);
bool BaseGeneCheckRequiredFields(TfrmBaseGene& w, const AnsiString& names);
void BaseGeneRememberControlColors(TfrmBaseGene& w, TWinControl* container);
void BaseGeneRestoreControlColors(TfrmBaseGene& w, TWinControl* container);

// Layout of the system page: a control moved to a point, keeping its size (nothing for nullptr), and
// given its tab order (windowed controls only).
void PlaceControl(TControl* control, int left, int top);
void OrderControl(TControl* control, int tabOrder);

} // namespace qz
