#pragma once
// The report-options window: the outputs a report job produces, the date type of the report, its
// footer and sign-in lines, and the font of a job of type "F". They travel as environment elements 13
// and 14 and as the framework's conditions before the print date.
#include "framework/BaseOpt.h"

namespace qz {

class TBitCheckBox;
class TComboBox;
class TEdit;
class TF2Button;
class TGroupBox;
class TLabel;

// The controls of one block of report lines (the footer or the sign-in) and where the server keeps
// its texts: the kind of the block in "CMSMS" and the catalogue text of a number it does not know.
struct TReportLines {
    TGroupBox* Group;
    TEdit* Id;
    TF2Button* Button;
    TEdit* Lines[3];
    TBitCheckBox* EveryPage;
    const char* Kind;
    const char* MissingText;
};

class TfrmBaseRpt : public TfrmBaseOpt {
    QZ_CLASS(TfrmBaseRpt)
public:
    explicit TfrmBaseRpt(TComponent* owner) : TfrmBaseOpt(owner) {}

    // Components of the form resource, on the system page.
    TLabel* lblDateType = nullptr;
    TComboBox* cboDateType = nullptr;
    TGroupBox* grpGenType = nullptr;
    TBitCheckBox* chkView = nullptr;
    TBitCheckBox* chkHTML = nullptr;
    TBitCheckBox* chkDirectPrint = nullptr;
    TGroupBox* grpNote = nullptr;
    TLabel* lblNoteID = nullptr;
    TEdit* edNoteID = nullptr;
    TF2Button* btnNote = nullptr;
    TBitCheckBox* chkNoteEPPrint = nullptr;
    TLabel* lblNote1 = nullptr;
    TLabel* lblNote2 = nullptr;
    TLabel* lblNote3 = nullptr;
    TEdit* edNote1 = nullptr;
    TEdit* edNote2 = nullptr;
    TEdit* edNote3 = nullptr;
    TGroupBox* grpSignIn = nullptr;
    TLabel* lblSignInID = nullptr;
    TEdit* edSignInID = nullptr;
    TF2Button* btnSignIn = nullptr;
    TBitCheckBox* chkSignInEPPrint = nullptr;
    TLabel* lblSignIn1 = nullptr;
    TLabel* lblSignIn2 = nullptr;
    TLabel* lblSignIn3 = nullptr;
    TEdit* edSignIn1 = nullptr;
    TEdit* edSignIn2 = nullptr;
    TEdit* edSignIn3 = nullptr;

    // Published handlers.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // The output boxes: at least one stays ticked ("I;000005" otherwise, and the boxes show the
    // outputs kept).
    void chkViewClick(TObject* Sender);
    // The number of the footer or the sign-in as it was when the edit was entered.
    void edNoteIDEnter(TObject* Sender);
    // A changed number is checked; the focus stays on a number the server does not know.
    void edNoteIDExit(TObject* Sender);
    void edSignInIDExit(TObject* Sender);

    // Overrides.
    void SetupSystemPage() override;
    void DefineModule() override;
    bool InitFromHost(const Variant& Params) override;
    // Elements 13 (the output flags) and 14 (the report's extension name).
    bool GetEnvironment(Variant& Env, int Count) override;
    // The framework's conditions before the print date: the font of a job of type "F", the sign-in,
    // the footer and the date type.
    bool GetOptionTexts(Variant& Texts, int Index) override;
    bool GetOptionValues(Variant& Values, int Index) override;
    // The edits and check boxes of the footer and the sign-in after the module's controls.
    void BuildPlanProps() override;
    // F2 in the footer or sign-in number opens its lookup.
    void DoF2Key(Word Key, TControl* Control) override;

    // New operations.
    // The program's default footer and sign-in ("CMSMT"); a block the program fixes is read-only.
    void LoadNoteDefaults();
    // Fills the footer (sign-in) from its number; an empty number clears it. A number the server does
    // not know is refused with "W;000004" when Warn is set (accepted, and cleared, otherwise).
    bool CheckNoteId(const AnsiString& Id, bool Warn);
    bool CheckSignInId(const AnsiString& Id, bool Warn);
    // The report font of a job of type "F", by the interface conversion kind.
    void SetReportFont();

    TReportLines NoteLines() const;
    TReportLines SignInLines() const;

    // Bit 1 report file, bit 2 HTML, bit 4 direct print.
    Byte FOutputFlags = 1;
    AnsiString FExtName;
    AnsiString FFontName;
    int FFontSize = 0;
    int FPrintWidth = 0;
    AnsiString FLastLookupId;

private:
    // Job type "F": three font conditions join the framework's.
    bool HasFontConditions() const;
    void ShowOutputFlags();
    // "SYS026" = "2": no date types of the ROC calendar.
    void AdaptDateTypes();
    void SetLinesReadOnly(const TReportLines& Block, bool ReadOnly);
    bool CheckLinesId(const TReportLines& Block, const AnsiString& Id, bool Warn);
    void LeaveLinesId(const TReportLines& Block);
    void LookupLines(const TReportLines& Block);
};

} // namespace qz
