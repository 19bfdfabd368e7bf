#pragma once
// The host's date window "frmHostDate": a month of days in a grid "grDays" (Sunday first) with buttons
// for the previous and next month, and the chosen date as YYYYMMDD in the edit "edDate", where it may be
// typed too. Enter or "btnOK" chooses the date of edDate (a text that is no date keeps the window
// open); Esc or "btnCancel" chooses nothing.
#include "platform/vcl/Forms.h"

namespace qz {

class TButton;
class TEdit;
class TLabel;
class TStringGrid;

class THostDateWindow : public TForm {
    QZ_CLASS(THostDateWindow)
public:
    explicit THostDateWindow(TComponent* owner);

    // Shows the month of start (YYYYMMDD; today when it is no date) with that day chosen. With
    // rocYears the month is captioned with the year of the Republic of China.
    void Start(const AnsiString& start, bool rocYears);
    // The date of edDate as YYYYMMDD; "" when it holds no date of 17530101..99991231.
    AnsiString ChosenDate() const;
    // The month shown, as YYYYMM.
    AnsiString MonthShown() const;

    TLabel* lblMonth;
    TButton* btnPrevMonth;
    TButton* btnNextMonth;
    TStringGrid* grDays;
    TEdit* edDate;
    TButton* btnOK;
    TButton* btnCancel;

private:
    // Shows the month of day and chooses day; edDate gets its text unless it is being typed.
    void ShowDay(TDateTime day, bool setText);
    int DayAt(int col, int row) const; // 0 for a cell without a day
    TDateTime DayShown() const;        // the day of the grid's current cell
    void btnPrevMonthClick(TObject* Sender);
    void btnNextMonthClick(TObject* Sender);
    void grDaysSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void grDaysDblClick(TObject* Sender);
    void edDateChange(TObject* Sender);
    void btnOKClick(TObject* Sender);

    int year_ = 0, month_ = 0, firstColumn_ = 0;
    bool rocYears_ = false;
    bool showing_ = false; // ShowDay at work: the cells and edDate change by code
};

// Shows the date window modally: the chosen date as YYYYMMDD, or "" when it was cancelled.
AnsiString ShowDateWindow(const AnsiString& start, bool rocYears);

// The date of a text "YYYYMMDD" of a real day within 17530101..99991231; false for any other text.
bool ReadYMD(const AnsiString& text, TDateTime& date);

} // namespace qz
