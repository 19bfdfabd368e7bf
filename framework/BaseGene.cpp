#include "framework/BaseGene.h"

#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "framework/BaseGeneU.h"
#include "outside/pictures/PxResD5.h"
#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SocketConnection.h"
#include "platform/gfx/Bitmap.h"
#include "platform/os/System.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinApi.h"
#include "support/CodeConverter.h"
#include "support/LibStrs.h"

namespace qz {

namespace {

const char kResource[] =
#include "BaseGene.qzfm.inc"
    ;

} // namespace

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TQzForm(owner) {}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::Loaded() {
    TQzForm::Loaded();
    // The pictures of the plan list and its tool bar: plan, save, open, delete, view.
    auto fill = [](TImageList* list, int first) {
        if (!list || list->Count() > 0) return;
        for (int id = first; id < first + 5; ++id) {
            TBitmap picture;
            if (LoadBmp(&picture, id)) list->AddMasked(picture, picture.Pixel(0, picture.Height() - 1));
        }
    };
    fill(ImageList1, bmpPlan18);
    fill(ImageList2, bmpPlan24);
}

void TfrmBaseGene::AfterConstruction() {
    TQzForm::AfterConstruction();
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TF2Button*>(Components(i))) button->SetFlat(true);
}

// Published handlers.

void TfrmBaseGene::FormCreate(TObject* Sender) {
    TQzForm::FormCreate(Sender);
    FOnDateFieldEnter = TNotifyEvent(this, &TfrmBaseGene::DateFieldEnter);
    FOnDateFieldExit = TNotifyEvent(this, &TfrmBaseGene::DateFieldExit);
    FOnRequiredExit = TNotifyEvent(this, &TfrmBaseGene::RequiredExit);
    BaseGeneCreate(*this);
}

void TfrmBaseGene::FormShow(TObject* Sender) {
    TQzForm::FormShow(Sender);
    BaseGeneShow(*this);
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
}
void TfrmBaseGene::FormDestroy(TObject*) {
    BaseGeneDestroy(*this);
}

void TfrmBaseGene::FormKeyDown(TObject*, Word& Key, TShiftState Shift) {
    BaseGeneKeyDown(*this, Key, static_cast<unsigned>(Shift.Bits()));
}

void TfrmBaseGene::FormKeyPress(TObject*, char& Key) {
    BaseGeneKeyPress(*this, Key);
}
void TfrmBaseGene::FormResize(TObject*) {
    BaseGeneRepaintHost(*this);
}
void TfrmBaseGene::btnOkClick(TObject*) {}
void TfrmBaseGene::btnCancelClick(TObject*) {
    Close();
}

void TfrmBaseGene::btnInsertClick(TObject*) {
    if (pnlCondition && lstCondition->CanFocus()) lstCondition->SetFocus();
    if (FInvalid) Abort();
}

void TfrmBaseGene::btnOpenClick(TObject*) {}
void TfrmBaseGene::btnDeleteClick(TObject*) {}
void TfrmBaseGene::lstConditionEdited(TObject*, TListItem*, AnsiString&) {}
void TfrmBaseGene::lstConditionKeyDown(TObject*, Word&, TShiftState) {}
void TfrmBaseGene::ToolButton1Click(TObject*) {
    BaseGeneCycleView(*this);
}
void TfrmBaseGene::ViewIconExecute(TObject*) {
    BaseGeneSetView(*this, vsIcon);
}
void TfrmBaseGene::ViewSmallIconExecute(TObject*) {
    BaseGeneSetView(*this, vsSmallIcon);
}
void TfrmBaseGene::ViewListExecute(TObject*) {
    BaseGeneSetView(*this, vsList);
}
void TfrmBaseGene::ViewReportExecute(TObject*) {
    BaseGeneSetView(*this, vsReport);
}
void TfrmBaseGene::pgOptionChange(TObject*) {
    BaseGenePageChange(*this);
}
void TfrmBaseGene::pgOptionChanging(TObject*, bool& AllowChange) {
    AllowChange = BaseGenePageChanging(*this);
}

void TfrmBaseGene::tsOption2Show(TObject*) {
    if (FSystemPageReady) return;
    FSystemPageReady = true;
    SetupSystemPage();
}

void TfrmBaseGene::DateFieldEnter(TObject* Sender) {
    BaseGeneDateFieldEnter(*this, Sender);
}
void TfrmBaseGene::DateFieldExit(TObject* Sender) {
    BaseGeneDateFieldExit(*this, Sender);
}
void TfrmBaseGene::RequiredExit(TObject* Sender) {
    BaseGeneRequiredExit(*this, Sender);
}

// Virtual operations.

void TfrmBaseGene::SetupSystemPage() {
    BaseGeneSetupSystemPage(*this);
}

bool TfrmBaseGene::CollectParams() {
    return BaseGeneCollectParams(*this);
}

void TfrmBaseGene::DefineModule() {
    BaseGeneDefineModule(*this);
}
void TfrmBaseGene::PickPhrase(TControl* Control) {
    BaseGenePickPhrase(*this, Control);
}

void TfrmBaseGene::SetRequiredFields(const AnsiString& Names) {
    BaseGeneSetRequiredFields(*this, Names);
}

bool TfrmBaseGene::RunInProcess(const std::vector<Variant>&) {
    return false;
}
void TfrmBaseGene::PrepareDataSets() {
    BaseGenePrepareDataSets(*this);
}

void TfrmBaseGene::FieldGetText(TField* Sender, AnsiString& Text, bool) {
    Text = ConvertUiText(Sender->AsString());
}

void TfrmBaseGene::FieldSetText(TField* Sender, const AnsiString& Text) {
    Sender->SetAsString(QzConverter->ConvertFromUI(Variant(Text)).AsString());
}
void TfrmBaseGene::InitServices() {
    BaseGeneInitServices(*this);
}
bool TfrmBaseGene::InitFromHost(const Variant& Params) {
    FInitializing = true;
    bool result = false;
    try {
        result = BaseGeneInitFromHost(*this, Params);
    } catch (...) {
        FInitializing = false;
        throw;
    }
    FInitializing = false;
    if (FCloseDeferred) {
        FCloseDeferred = false;
        PostMessage(Handle(), WM_CLOSE, 0, 0);
    }
    return result;
}
bool TfrmBaseGene::GetOptionValues(Variant& Values, int Index) {
    return BaseGeneGetOptionValues(*this, Values, Index);
}
bool TfrmBaseGene::ApplyHostValues(const Variant&) {
    return false;
}

bool TfrmBaseGene::GetEnvironment(Variant& Env, int Count) {
    return BaseGeneGetEnvironment(*this, Env, Count);
}

bool TfrmBaseGene::GetOptionTexts(Variant& Texts, int Index) {
    return BaseGeneGetOptionTexts(*this, Texts, Index);
}
void TfrmBaseGene::AfterLoadJob() {}

void TfrmBaseGene::OpenLookup(const AnsiString& Table, const AnsiString& Kind, const Variant& Conditions,
                              const AnsiString& Extra, bool Flag, Variant& Result) {
    BaseGeneOpenLookup(*this, Table, Kind, Conditions, Extra, Flag, Result);
}

void TfrmBaseGene::SetupConnection(TSocketConnection*) {}
bool TfrmBaseGene::SavePlan(const AnsiString&, const AnsiString&, bool) {
    return false;
}
bool TfrmBaseGene::ApplyPlan(const AnsiString&, const AnsiString&) {
    return false;
}
bool TfrmBaseGene::LoadPlanList() {
    return BaseGeneLoadPlanList(*this);
}
bool TfrmBaseGene::AfterPlanOpened() {
    return true;
}
bool TfrmBaseGene::RunHostAction(int) {
    return true;
}
void TfrmBaseGene::BeforeApplyValue(TComponent*, AnsiString&) {}
void TfrmBaseGene::AfterApplyValue(TComponent*, const AnsiString&) {}

void TfrmBaseGene::DoF2Key(Word Key, TControl* Control) {
    BaseGeneDoF2Key(*this, Key, Control);
}
void TfrmBaseGene::CreateHelperObjects() {
    BaseGeneCreateHelperObjects(*this);
}
void TfrmBaseGene::CreateLookupObject() {
    BaseGeneCreateLookupObject(*this);
}

// Operations for descendants and the controller.

void TfrmBaseGene::SetModulePath(const AnsiString& Path) {
    BaseGeneSetModulePath(*this, Path);
}
bool TfrmBaseGene::IsLibraryModule() const {
    return IsLibraryPath(FModulePath);
}
void TfrmBaseGene::SetOptionCount(int Count) {
    FOptionCount = Count + (FBaseOptionCount >= FOptionCount ? FBaseOptionCount : 0);
}

void TfrmBaseGene::AddDateFields(const AnsiString& Names) {
    BaseGeneAddDateFields(*this, Names);
}

void TfrmBaseGene::PutRangeParam(const AnsiString& FromText, const AnsiString& ToText, Variant& Values,
                                 int Index) {
    BaseGenePutRangeParam(*this, FromText, ToText, Values, Index);
}

void TfrmBaseGene::PutPanelParam(TSelectPanel* Panel, Variant& Values, int Index) {
    BaseGenePutPanelParam(Panel, Values, Index);
}

void TfrmBaseGene::DateToParam(const AnsiString& Text, AnsiString& Result) {
    BaseGeneDateToParam(*this, Text, Result);
}

void TfrmBaseGene::GetDateMask(AnsiString& Text) {
    BaseGeneGetDateMask(*this, Text);
}

void TfrmBaseGene::GetBlankDateText(AnsiString& Text) {
    BaseGeneGetBlankDateText(*this, Text);
}

bool TfrmBaseGene::CheckDateControl(TControl* Control, bool SetMask) {
    return BaseGeneCheckDateControl(*this, Control, SetMask);
}

bool TfrmBaseGene::CheckRequiredFields(const AnsiString& Names) {
    return BaseGeneCheckRequiredFields(*this, Names);
}

void TfrmBaseGene::RememberControlColors(TWinControl* Container) {
    BaseGeneRememberControlColors(*this, Container);
}

void TfrmBaseGene::RestoreControlColors(TWinControl* Container) {
    BaseGeneRestoreControlColors(*this, Container);
}

void TfrmBaseGene::UnhookRequiredFields(const AnsiString& Names) {
    BaseGeneUnhookRequiredFields(*this, Names);
}

void TfrmBaseGene::RunSavedHandler(TControl* Control, const AnsiString& EventName) {
    BaseGeneRunSavedHandler(*this, Control, EventName);
}

void TfrmBaseGene::HandleHostCommand(const Variant& Command) {
    BaseGeneHandleHostCommand(*this, Command);
}

AnsiString TfrmBaseGene::ConvertUiText(const AnsiString& Text) {
    return QzConverter->ConvertForUI(Variant(Text)).AsString();
}

Variant TfrmBaseGene::ConvertServerData(const Variant& Value) {
    return QzConverter->ConvertForUI(QzConverter->ConvertFromDB(Value));
}

bool TfrmBaseGene::SetupAddress(TSocketConnection* Connection) {
    return BaseGeneSetupAddress(*this, Connection);
}
bool TfrmBaseGene::Connect() {
    return BaseGeneConnect(*this);
}
void TfrmBaseGene::GetSysInfo(const AnsiString& Name, AnsiString& Value) {
    BaseGeneGetSysInfo(*this, Name, Value);
}

int TfrmBaseGene::GetDateStyle() {
    AnsiString value;
    GetSysInfo("Sys001", value);
    FDateStyle = StrToIntDef(value, 1);
    return FDateStyle;
}

void TfrmBaseGene::GetDateSeparator(AnsiString& Sep) {
    GetSysInfo("Sys002", Sep);
    if (Sep.empty()) Sep = "/";
    FDateSeparator = Sep;
}

bool TfrmBaseGene::QueryServer(const AnsiString& Table, const AnsiString& Kind, bool Query, Variant& Result,
                               const Variant& Params) {
    return BaseGeneQueryServer(*this, Table, Kind, Query, Result, Params);
}

bool TfrmBaseGene::CheckServerValue(const Variant& Table, const Variant& Kind, const AnsiString& MsgKind,
                                    int Index, Variant& Value, const Variant& Params) {
    return BaseGeneCheckServerValue(*this, Table, Kind, MsgKind, Index, Value, Params);
}

void TfrmBaseGene::PickDate(const AnsiString& Text, AnsiString& Result) {
    BaseGenePickDate(*this, Text, Result);
}

void TfrmBaseGene::GetCounter(const AnsiString& Name, const Variant& Params, Variant& Result) {
    BaseGeneGetCounter(*this, Name, Params, Result);
}

void TfrmBaseGene::LoadJobSettings(const Variant& Settings) {
    BaseGeneLoadJobSettings(*this, Settings);
}

void TfrmBaseGene::ReportMessages(const AnsiString& Items) {
    BaseGeneReportMessages(*this, Items);
}
void TfrmBaseGene::ReportErrorText(const AnsiString& Text) {
    BaseGeneReportErrorText(*this, Text);
}

void TfrmBaseGene::GetMessageText(const AnsiString& Kind, const AnsiString& Id, AnsiString& Text) {
    BaseGeneGetMessageText(*this, Kind, Id, Text);
}

int TfrmBaseGene::ShowMessageById(const AnsiString& Kind, const AnsiString& Id, Word Buttons, int ArgCount,
                                  const std::vector<AnsiString>& Args) {
    AnsiString format;
    GetMessageText(Kind, Id, format);
    std::vector<FormatArg> args;
    for (int i = 0; i <= ArgCount && i < static_cast<int>(Args.size()); ++i)
        args.emplace_back(Args[static_cast<size_t>(i)]);
    AnsiString text = Format(format, args);
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons{mbOK};
    if (Kind == "C" || Kind == "W")
        type = mtWarning, buttons = {mbOK, mbCancel};
    else if (Kind == "D")
        type = mtWarning, buttons = {mbYes, mbNo, mbCancel};
    else if (Kind == "E")
        type = mtError;
    else if (Kind == "I")
        type = mtInformation;
    else if (Kind == "Q")
        type = mtConfirmation, buttons = {mbOK, mbCancel};
    if (Buttons != 0) buttons = TMsgDlgButtons::FromBits(Buttons);
    FDialogItem = Kind + ";" + Id;
    int result = ShowMessageBox(text, static_cast<Byte>(type), static_cast<Word>(buttons.Bits()));
    FDialogItem.clear();
    return result;
}

int TfrmBaseGene::ShowMessageBox(const AnsiString& Text, Byte DlgType, Word Buttons) {
    return BaseGeneShowMessageBox(*this, Text, DlgType, Buttons);
}

// Message handlers.

void TfrmBaseGene::WMSetFocusChange(TMessage& Message) {
    FLastFocused = reinterpret_cast<TControl*>(Message.LParam);
    InheritedMessage(TfrmBaseGene::StaticClass(), Message);
}

void TfrmBaseGene::WMMove(TMessage& Message) {
    InheritedMessage(TfrmBaseGene::StaticClass(), Message);
    BaseGeneRepaintHost(*this);
}

void TfrmBaseGene::WMClose(TMessage& Message) {
    if (FInitializing)
        FCloseDeferred = true;
    else
        InheritedMessage(TfrmBaseGene::StaticClass(), Message);
}

void TfrmBaseGene::WMOpenWindow(TMessage& Message) {
    DoF2Key(113, reinterpret_cast<TControl*>(Message.LParam));
}

QZ_CLASS_INFO(TfrmBaseGene, TQzForm) {
    b.Resource(kResource);
    b.Field("pnlCondition", &TfrmBaseGene::pnlCondition);
    b.Field("lblCondition", &TfrmBaseGene::lblCondition);
    b.Field("ToolBar1", &TfrmBaseGene::ToolBar1);
    b.Field("btnInsert", &TfrmBaseGene::btnInsert);
    b.Field("btnOpen", &TfrmBaseGene::btnOpen);
    b.Field("btnDelete", &TfrmBaseGene::btnDelete);
    b.Field("ToolButton1", &TfrmBaseGene::ToolButton1);
    b.Field("lstCondition", &TfrmBaseGene::lstCondition);
    b.Field("Splitter1", &TfrmBaseGene::Splitter1);
    b.Field("pgOption", &TfrmBaseGene::pgOption);
    b.Field("tsOption1", &TfrmBaseGene::tsOption1);
    b.Field("tsOption2", &TfrmBaseGene::tsOption2);
    b.Field("lblToday", &TfrmBaseGene::lblToday);
    b.Field("edPrintDate", &TfrmBaseGene::edPrintDate);
    b.Field("btnPrintDate", &TfrmBaseGene::btnPrintDate);
    b.Field("Panel1", &TfrmBaseGene::Panel1);
    b.Field("btnOk", &TfrmBaseGene::btnOk);
    b.Field("btnCancel", &TfrmBaseGene::btnCancel);
    b.Field("MainMidas", &TfrmBaseGene::MainMidas);
    b.Field("ObjBroker", &TfrmBaseGene::ObjBroker);
    b.Field("ClientDataSet1", &TfrmBaseGene::ClientDataSet1);
    b.Field("muOperation", &TfrmBaseGene::muOperation);
    b.Field("N2", &TfrmBaseGene::N2);
    b.Field("N3", &TfrmBaseGene::N3);
    b.Field("mnList", &TfrmBaseGene::mnList);
    b.Field("N7", &TfrmBaseGene::N7);
    b.Field("N8", &TfrmBaseGene::N8);
    b.Field("N9", &TfrmBaseGene::N9);
    b.Field("N10", &TfrmBaseGene::N10);
    b.Field("ImageList1", &TfrmBaseGene::ImageList1);
    b.Field("ImageList2", &TfrmBaseGene::ImageList2);
    b.Method("FormCreate", &TfrmBaseGene::FormCreate);
    b.Method("FormShow", &TfrmBaseGene::FormShow);
    b.Method("FormClose", &TfrmBaseGene::FormClose);
    b.Method("FormDestroy", &TfrmBaseGene::FormDestroy);
    b.Method("FormKeyDown", &TfrmBaseGene::FormKeyDown);
    b.Method("FormKeyPress", &TfrmBaseGene::FormKeyPress);
    b.Method("FormResize", &TfrmBaseGene::FormResize);
    b.Method("btnOkClick", &TfrmBaseGene::btnOkClick);
    b.Method("btnCancelClick", &TfrmBaseGene::btnCancelClick);
    b.Method("btnInsertClick", &TfrmBaseGene::btnInsertClick);
    b.Method("btnOpenClick", &TfrmBaseGene::btnOpenClick);
    b.Method("btnDeleteClick", &TfrmBaseGene::btnDeleteClick);
    b.Method("lstConditionEdited", &TfrmBaseGene::lstConditionEdited);
    b.Method("lstConditionKeyDown", &TfrmBaseGene::lstConditionKeyDown);
    b.Method("ToolButton1Click", &TfrmBaseGene::ToolButton1Click);
    b.Method("ViewIconExecute", &TfrmBaseGene::ViewIconExecute);
    b.Method("ViewSmallIconExecute", &TfrmBaseGene::ViewSmallIconExecute);
    b.Method("ViewListExecute", &TfrmBaseGene::ViewListExecute);
    b.Method("ViewReportExecute", &TfrmBaseGene::ViewReportExecute);
    b.Method("pgOptionChange", &TfrmBaseGene::pgOptionChange);
    b.Method("pgOptionChanging", &TfrmBaseGene::pgOptionChanging);
    b.Method("tsOption2Show", &TfrmBaseGene::tsOption2Show);
    b.Method("DateFieldEnter", &TfrmBaseGene::DateFieldEnter);
    b.Method("DateFieldExit", &TfrmBaseGene::DateFieldExit);
    b.Method("RequiredExit", &TfrmBaseGene::RequiredExit);
    b.Property("OnDateFieldEnter", &TfrmBaseGene::OnDateFieldEnter);
    b.Property("OnDateFieldExit", &TfrmBaseGene::OnDateFieldExit);
    b.Property("OnRequiredExit", &TfrmBaseGene::OnRequiredExit);
    b.Property("WantLog", &TfrmBaseGene::WantLog, &TfrmBaseGene::SetWantLog).Default(false);
    b.Message(CM_FOCUSCHANGED, &TfrmBaseGene::WMSetFocusChange);
    b.Message(WM_MOVE, &TfrmBaseGene::WMMove);
    b.Message(WM_QZ_OPENWINDOW, &TfrmBaseGene::WMOpenWindow);
    b.Message(WM_CLOSE, &TfrmBaseGene::WMClose);
}

} // namespace qz
