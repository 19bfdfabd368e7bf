#pragma once
// The general request window: option pages, the plan list, OK and Cancel, the server connection, the
// host's services, the message catalogue, and the virtual operations through which descendants declare
// their conditions and hand back their parameters. The logic lives in BaseGeneU.
#include "controls/QzForm.h"
#include "platform/core/StringList.h"
#include "platform/variant/Variant.h"

#include <memory>
#include <vector>

namespace qz {

class TPanel;
class TLabel;
class TToolBar;
class TToolButton;
class TListView;
class TListItem;
class TSplitter;
class TExtPageControl;
class TTabSheet;
class TMaskEdit;
class TF2Button;
class TButton;
class TPopupMenu;
class TMenuItem;
class TImageList;
class TSocketConnection;
class TSimpleObjectBroker;
class TClientDataSet;
class TField;
class TSelectPanel;

class TfrmBaseGene : public TQzForm {
    QZ_CLASS(TfrmBaseGene)
public:
    explicit TfrmBaseGene(TComponent* owner);
    ~TfrmBaseGene() override;
    // After the form resources: every F2 button of the window is flat.
    void AfterConstruction() override;

    // Components of the form resource.
    TPanel* pnlCondition = nullptr;
    TLabel* lblCondition = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* btnInsert = nullptr;
    TToolButton* btnOpen = nullptr;
    TToolButton* btnDelete = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TListView* lstCondition = nullptr;
    TSplitter* Splitter1 = nullptr;
    TExtPageControl* pgOption = nullptr;
    TTabSheet* tsOption1 = nullptr;
    TTabSheet* tsOption2 = nullptr;
    TControl* lblToday = nullptr;
    TMaskEdit* edPrintDate = nullptr;
    TF2Button* btnPrintDate = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TSocketConnection* MainMidas = nullptr;
    TSimpleObjectBroker* ObjBroker = nullptr;
    TClientDataSet* ClientDataSet1 = nullptr;
    TPopupMenu* muOperation = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    TPopupMenu* mnList = nullptr;
    TMenuItem* N7 = nullptr;
    TMenuItem* N8 = nullptr;
    TMenuItem* N9 = nullptr;
    TMenuItem* N10 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;

    // Published handlers.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void FormKeyPress(TObject* Sender, char& Key);
    void FormResize(TObject* Sender);
    void btnOkClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);
    void btnInsertClick(TObject* Sender);
    void btnOpenClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);
    void lstConditionEdited(TObject* Sender, TListItem* Item, AnsiString& S);
    void lstConditionKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void ToolButton1Click(TObject* Sender);
    void ViewIconExecute(TObject* Sender);
    void ViewSmallIconExecute(TObject* Sender);
    void ViewListExecute(TObject* Sender);
    void ViewReportExecute(TObject* Sender);
    void pgOptionChange(TObject* Sender);
    void pgOptionChanging(TObject* Sender, bool& AllowChange);
    void tsOption2Show(TObject* Sender);
    void DateFieldEnter(TObject* Sender);
    void DateFieldExit(TObject* Sender);
    void RequiredExit(TObject* Sender);
    // Text fields of the window's data sets: shown and stored in the interface code page.
    void FieldGetText(TField* Sender, AnsiString& Text, bool DisplayText);
    void FieldSetText(TField* Sender, const AnsiString& Text);

    // Published properties.
    TNotifyEvent OnDateFieldEnter() const { return FOnDateFieldEnter; }
    TNotifyEvent OnDateFieldExit() const { return FOnDateFieldExit; }
    TNotifyEvent OnRequiredExit() const { return FOnRequiredExit; }
    bool WantLog() const { return FWantLog; }
    void SetWantLog(bool v) { FWantLog = v; }

    // Virtual operations, in their order.
    virtual void SetupSystemPage();
    virtual bool CollectParams();
    virtual void DefineModule();
    virtual void PickPhrase(TControl* Control);
    virtual void SetRequiredFields(const AnsiString& Names);
    virtual bool RunInProcess(const std::vector<Variant>& JobValues);
    virtual void PrepareDataSets();
    virtual void InitServices();
    virtual bool InitFromHost(const Variant& Params);
    virtual bool GetOptionValues(Variant& Values, int Index);
    virtual bool ApplyHostValues(const Variant& Values);
    virtual bool GetEnvironment(Variant& Env, int Count);
    virtual bool GetOptionTexts(Variant& Texts, int Index);
    virtual void AfterLoadJob();
    virtual void OpenLookup(const AnsiString& Table, const AnsiString& Kind, const Variant& Conditions,
                            const AnsiString& Extra, bool Flag, Variant& Result);
    virtual void SetupConnection(TSocketConnection* Connection);
    virtual bool SavePlan(const AnsiString& Props, const AnsiString& PlanName, bool Flag);
    virtual bool ApplyPlan(const AnsiString& Props, const AnsiString& Values);
    virtual bool LoadPlanList();
    virtual bool AfterPlanOpened();
    virtual bool RunHostAction(int Action);
    virtual void BeforeApplyValue(TComponent* Component, AnsiString& Value);
    virtual void AfterApplyValue(TComponent* Component, const AnsiString& Value);

    // Dynamic operations.
    virtual void DoF2Key(Word Key, TControl* Control);
    virtual void CreateHelperObjects();
    virtual void CreateLookupObject();

    // Operations for descendants and the controller.
    void SetModulePath(const AnsiString& Path);
    bool IsLibraryModule() const;
    void SetOptionCount(int Count);
    void AddDateFields(const AnsiString& Names);
    // Condition values: a date range as [#4, from, to] in "YYYYMMDD", ordered; a panel's range as
    // entered or its list [#5, rows...] (the whole of Values when Index is below 0).
    void PutRangeParam(const AnsiString& FromText, const AnsiString& ToText, Variant& Values, int Index);
    void PutPanelParam(TSelectPanel* Panel, Variant& Values, int Index);
    // A date shown in the user's date style as "YYYYMMDD".
    void DateToParam(const AnsiString& Text, AnsiString& Result);
    void GetDateMask(AnsiString& Text);
    void GetBlankDateText(AnsiString& Text);
    // A selection panel, mask edit or edit: SetMask gives it the date mask; otherwise its dates are
    // checked, and a wrong one is reported ("E;000005") and focused (false).
    bool CheckDateControl(TControl* Control, bool SetMask);
    // True when a required field is empty (reported, its page shown and the field focused).
    bool CheckRequiredFields(const AnsiString& Names);
    void RememberControlColors(TWinControl* Container);
    void RestoreControlColors(TWinControl* Container);
    // The work buttons get back their own click handlers.
    void UnhookRequiredFields(const AnsiString& Names);
    // Calls the control's current handler of a notify event (a control in a selection panel stands
    // for the panel).
    void RunSavedHandler(TControl* Control, const AnsiString& EventName);
    void HandleHostCommand(const Variant& Command);
    AnsiString ConvertUiText(const AnsiString& Text);
    Variant ConvertServerData(const Variant& Value);

    // Server connection and remote calls.
    bool SetupAddress(TSocketConnection* Connection);
    bool Connect();
    void GetSysInfo(const AnsiString& Name, AnsiString& Value);
    int GetDateStyle();
    void GetDateSeparator(AnsiString& Sep);
    bool QueryServer(const AnsiString& Table, const AnsiString& Kind, bool Query, Variant& Result,
                     const Variant& Params);
    bool CheckServerValue(const Variant& Table, const Variant& Kind, const AnsiString& MsgKind, int Index,
                          Variant& Value, const Variant& Params);
    void PickDate(const AnsiString& Text, AnsiString& Result);
    void GetCounter(const AnsiString& Name, const Variant& Params, Variant& Result);
    void LoadJobSettings(const Variant& Settings);

    // Messages.
    void ReportMessages(const AnsiString& Items);
    void ReportErrorText(const AnsiString& Text);
    void GetMessageText(const AnsiString& Kind, const AnsiString& Id, AnsiString& Text);
    int ShowMessageById(const AnsiString& Kind, const AnsiString& Id, Word Buttons, int ArgCount,
                        const std::vector<AnsiString>& Args);
    int ShowMessageBox(const AnsiString& Text, Byte DlgType, Word Buttons);
    // The catalogue item ("E;000013") of the message box being shown, for the session log.
    AnsiString FDialogItem;

    // Host parameters and identity.
    AnsiString FUserCode;
    AnsiString FCompanyCode;
    AnsiString FDbName;
    HWND FHostWindow = 0;
    Variant FHostReserved;
    Variant FHostObject;
    AnsiString FModulePath;
    AnsiString FProgramCode;
    AnsiString FServerClass;
    AnsiString FProgramName;
    AnsiString FTitle;
    AnsiString FCompanyName;
    AnsiString FVersion;
    AnsiString FJobKind;
    int FEnvCount = 0;
    int FOptionCount = 0;
    int FBaseOptionCount = 1;
    Byte FModuleFlags = 0;
    std::vector<TControl*> FPageEndControls;
    Variant FResultParams;
    int FOutcomeCode = 0;
    Variant FOutcomeValue;
    bool FAutoSubmit = false;
    bool FShowConfirmation = true;
    bool FInvalid = false;
    // A date field's check is showing its message.
    bool FCheckingDate = false;
    bool FLeavingPage = false;
    TControl* FLastFocused = nullptr;
    bool FSystemPageReady = false;
    bool FWantLog = false;
    // Close requests that arrive while InitFromHost runs (in the loop of a message box it shows) wait
    // until it has returned, so the window is never freed under it.
    bool FInitializing = false;
    bool FCloseDeferred = false;

    // Server and services.
    Variant FServerObject;
    bool FLocalServer = false;
    Variant FCounterObject;
    Variant FValidatorObject;
    Variant FLookupObject;
    std::unique_ptr<TStringList> FSysInfo;
    int FDateStyle = 1;
    AnsiString FDateSeparator = "/";
    WideString FDataLimits;
    bool FLookupRight7 = true;
    bool FLookupRight8 = true;

    // Message queues.
    AnsiString FMessageItems;
    AnsiString FMessageTexts;

    // Field lists: comma-separated control names; required entries are name;flag;part.
    AnsiString FDateFields;
    AnsiString FYearMonthFields;
    AnsiString FRequiredFields;
    std::unique_ptr<TStringList> FDynamicDates;
    // name=colour lines of the window's controls.
    std::unique_ptr<TStringList> FColors;
    // Remembered OnEnter and OnExit handlers of date fields, OnClick handlers of the work buttons.
    std::unique_ptr<TStringList> FSavedHandlers;
    std::unique_ptr<TStringList> FSavedClicks;

protected:
    void Loaded() override;
    void WMSetFocusChange(TMessage& Message);
    void WMMove(TMessage& Message);
    void WMOpenWindow(TMessage& Message);
    void WMClose(TMessage& Message);

private:
    TNotifyEvent FOnDateFieldEnter, FOnDateFieldExit, FOnRequiredExit;
};

// Window message of the open-window request: a control in the long parameter, handled as F2 there.
constexpr Cardinal WM_QZ_OPENWINDOW = 0x0400 + 10;

} // namespace qz
