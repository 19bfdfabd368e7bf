#pragma once
// The job-options window: when the job runs (real time, the job queue or a given moment), the
// required fields of the job options beside the module's own, the module's server object with the
// user's rights, and the submission of the job with its number as the window's outcome.
#include "framework/BaseGene.h"

namespace qz {

class TGroupBox;
class TQzRadioButton;
class TSpinEdit;
class TSpeedButton;
class TBitBtn;

class TfrmBaseOpt : public TfrmBaseGene {
    QZ_CLASS(TfrmBaseOpt)
public:
    explicit TfrmBaseOpt(TComponent* owner) : TfrmBaseGene(owner) {}

    // Components of the form resource: the run mode on the system page, the OK menu on the button
    // panel.
    TGroupBox* grpGenTime = nullptr;
    TQzRadioButton* rdoRealTime = nullptr;
    TQzRadioButton* rdoQueue = nullptr;
    TQzRadioButton* rdoExceptTime = nullptr;
    TPanel* pnlTime = nullptr;
    TMaskEdit* edDate = nullptr;
    TF2Button* btnDate = nullptr;
    TSpinEdit* edHour = nullptr;
    TSpinEdit* edMin = nullptr;
    TSpinEdit* edSec = nullptr;
    TLabel* lblHour = nullptr;
    TLabel* lblMin = nullptr;
    TLabel* lblSec = nullptr;
    TSpeedButton* btnSpd = nullptr;
    TBitBtn* btnOK01 = nullptr;
    TBitBtn* btnOK02 = nullptr;
    TPopupMenu* pmOKExit = nullptr;
    TMenuItem* miOKExit = nullptr;
    TMenuItem* miOKNoExit = nullptr;

    // Published handlers.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // Submits the job: the collected request to the server object's Request, its number reported and
    // kept as the outcome.
    void btnOkClick(TObject* Sender);
    // Closes the window; the outcome is "cancelled", the last job number is kept.
    void btnCancelClick(TObject* Sender);
    void btnSpdClick(TObject* Sender);
    void miOKExitClick(TObject* Sender);
    void miOKNoExitClick(TObject* Sender);
    // The job queue or real time: no start moment.
    void rdoQueueClick(TObject* Sender);
    // A given moment: the date and time are entered, the date is required.
    void rdoExceptTimeClick(TObject* Sender);
    void edDateEnter(TObject* Sender);
    void edDateExit(TObject* Sender);

    // Overrides.
    void SetupSystemPage() override;
    void DefineModule() override;
    // The job options' part and the module's part of the required list each replace only their own
    // entries: the job options' controls are those on the system and period pages.
    void SetRequiredFields(const AnsiString& Names) override;
    bool InitFromHost(const Variant& Params) override;
    // Elements 9 to 12: the job kind (lower case for a periodic job), the run mode (0 queue, 1 real
    // time, 2 at a given time), the start moment and the recipients.
    bool GetEnvironment(Variant& Env, int Count) override;
    void AfterLoadJob() override;
    void SetupConnection(TSocketConnection* Connection) override;
    void DoF2Key(Word Key, TControl* Control) override;

    // New operations.
    // The user's rights for the program from the server object, read by LoadJobSettings.
    void LoadPermissions();
    // Appends "name.property;" for every named control of the module's pages, in tab order.
    virtual void BuildPlanProps();
    // FCycle from the period page: [kind, its values] (0 daily, 1 weekly, 2 monthly, 3 hourly).
    virtual void BuildCycle();
    // The period button is down: the job is periodic.
    bool IsPeriodic() const;

    // Required entries of the job options: of the run mode ("edDate" at a given time), of the cycle
    // mode and of the cycle range; set while the job options replace their part of the list.
    AnsiString FRunModeRequired;
    AnsiString FCycleRequired;
    AnsiString FRangeRequired;
    bool FUpdatingRequired = false;

    bool FShowOkMenu = true;
    // Close the window after a successful submission.
    bool FCloseAfterOk = true;
    int FSqlType = 0;
    AnsiString FNotifyXml;
    // "name.property;" entries of the controls a plan keeps.
    AnsiString FPlanProps;
    Variant FCycle;
    AnsiString FFirstRunDate;
    bool FFirstPeriodOpen = true;

protected:
    void Loaded() override;

private:
    // Replaces the job options' part of the required list by Names.
    void SetJobOptionRequired(const AnsiString& Names);
    // FCycleRequired, FRangeRequired and FRunModeRequired, comma-separated.
    AnsiString JobOptionRequired() const;
    // The moment a job "at a given time" starts; false when its date or time cannot be read.
    bool StartMoment(TDateTime& Start);
    void TakeOkGlyph();
};

// The first run date ("YYYYMMDD") of a cycle from the start date: the start itself for a daily cycle,
// the first chosen weekday or day of the month on or after it for the others; "" for an hourly cycle
// and for a start that is no date.
AnsiString FirstRunDate(const AnsiString& Start, const Variant& Cycle);

} // namespace qz
