#include "outside/host/HostDateWindow.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdio>

namespace qz {

QZ_CLASS_INFO(THostDateWindow, TForm) {}

namespace {

constexpr int kMargin = 8, kCell = 31, kRowHeight = 20, kButtonHeight = 25;

AnsiString YMD(TDateTime date) {
    return FormatDateTime("yyyymmdd", date);
}

} // namespace

bool ReadYMD(const AnsiString& text, TDateTime& date) {
    if (text.size() != 8 || text < "17530101" || text > "99991231") return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return TryEncodeDate(StrToInt(text.substr(0, 4)), StrToInt(text.substr(4, 2)),
                         StrToInt(text.substr(6, 2)), date);
}

THostDateWindow::THostDateWindow(TComponent* owner) : TForm(owner) {
    SetName("frmHostDate");
    SetCaption(GB("选择日期"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetColor(clBtnFace);
    Font()->SetName(GB("宋体"));
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);
    const int gridWidth = 7 * kCell + 4, gridHeight = 7 * (kRowHeight + 1) + 4; // cells, lines, frame
    SetClientWidth(gridWidth + 2 * kMargin);

    // The grid first: it takes the focus when the window opens.
    grDays = new TStringGrid(this);
    grDays->SetName("grDays");
    grDays->SetParent(this);
    grDays->SetBounds(kMargin, 2 * kMargin + kButtonHeight, gridWidth, gridHeight);
    grDays->SetColCount(7);
    grDays->SetRowCount(7);
    grDays->SetFixedCols(0);
    grDays->SetLeftCol(0); // Sunday in view: the grid keeps its first scrolled column otherwise
    grDays->SetFixedRows(1);
    grDays->SetDefaultColWidth(kCell - 1);
    grDays->SetDefaultRowHeight(kRowHeight);
    static const char* const dayNames[] = {"日", "一", "二", "三", "四", "五", "六"};
    for (int col = 0; col < 7; ++col) grDays->SetCells(col, 0, GB(dayNames[col]));
    grDays->OnSelectCell = TSelectCellEvent(this, &THostDateWindow::grDaysSelectCell);
    grDays->OnDblClick = TNotifyEvent(this, &THostDateWindow::grDaysDblClick);

    int bottom = grDays->Top() + gridHeight + kMargin;
    edDate = new TEdit(this);
    edDate->SetName("edDate");
    edDate->SetParent(this);
    edDate->SetBounds(kMargin, bottom + 2, 80, 21);
    edDate->SetMaxLength(8);
    edDate->OnChange = TNotifyEvent(this, &THostDateWindow::edDateChange);

    int buttonWidth = (ClientWidth() - 3 * kMargin - 80 - kMargin / 2) / 2;
    btnOK = new TButton(this);
    btnOK->SetName("btnOK");
    btnOK->SetParent(this);
    btnOK->SetCaption(GB("确定"));
    btnOK->SetBounds(2 * kMargin + 80, bottom, buttonWidth, kButtonHeight);
    btnOK->SetModalResult(mrOk);
    btnOK->SetDefault(true);
    btnOK->OnClick = TNotifyEvent(this, &THostDateWindow::btnOKClick);

    btnCancel = new TButton(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetCaption(GB("取消"));
    btnCancel->SetBounds(ClientWidth() - kMargin - buttonWidth, bottom, buttonWidth, kButtonHeight);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetCancel(true);

    // The month line: previous, the month, next; the buttons take no focus, so Enter stays with OK.
    btnPrevMonth = new TButton(this);
    btnPrevMonth->SetName("btnPrevMonth");
    btnPrevMonth->SetParent(this);
    btnPrevMonth->SetCaption("<");
    btnPrevMonth->SetTabStop(false);
    btnPrevMonth->SetBounds(kMargin, kMargin, 28, kButtonHeight);
    btnPrevMonth->OnClick = TNotifyEvent(this, &THostDateWindow::btnPrevMonthClick);

    btnNextMonth = new TButton(this);
    btnNextMonth->SetName("btnNextMonth");
    btnNextMonth->SetParent(this);
    btnNextMonth->SetCaption(">");
    btnNextMonth->SetTabStop(false);
    btnNextMonth->SetBounds(ClientWidth() - kMargin - 28, kMargin, 28, kButtonHeight);
    btnNextMonth->OnClick = TNotifyEvent(this, &THostDateWindow::btnNextMonthClick);

    lblMonth = new TLabel(this);
    lblMonth->SetName("lblMonth");
    lblMonth->SetParent(this);
    lblMonth->SetAlignment(taCenter);
    lblMonth->SetBounds(kMargin + 32, kMargin + 6, ClientWidth() - 2 * (kMargin + 32), 14);

    SetClientHeight(bottom + kButtonHeight + kMargin);
}

void THostDateWindow::Start(const AnsiString& start, bool rocYears) {
    rocYears_ = rocYears;
    TDateTime day;
    if (!ReadYMD(start, day)) day = Date();
    ShowDay(day, true);
}

AnsiString THostDateWindow::ChosenDate() const {
    AnsiString text = Trim(edDate->Text());
    TDateTime day;
    return ReadYMD(text, day) ? text : AnsiString();
}

AnsiString THostDateWindow::MonthShown() const {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d", year_, month_);
    return text;
}

void THostDateWindow::ShowDay(TDateTime day, bool setText) {
    Word y, m, d;
    DecodeDate(day, y, m, d);
    showing_ = true;
    year_ = y;
    month_ = m;
    firstColumn_ = DayOfWeek(EncodeDate(y, m, 1)) - 1;
    for (int row = 1; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            int n = DayAt(col, row);
            grDays->SetCells(col, row, n ? IntToStr(n) : AnsiString());
        }
    int cell = firstColumn_ + d - 1;
    grDays->FocusCell(cell % 7, cell / 7 + 1);
    char caption[64];
    if (rocYears_)
        std::snprintf(caption, sizeof caption, "%s %d %s %02d %s", GB("民国").c_str(), year_ - 1911,
                      GB("年").c_str(), month_, GB("月").c_str());
    else
        std::snprintf(caption, sizeof caption, "%d %s %02d %s", year_, GB("年").c_str(), month_,
                      GB("月").c_str());
    lblMonth->SetCaption(caption);
    if (setText) edDate->SetText(YMD(day));
    showing_ = false;
}

int THostDateWindow::DayAt(int col, int row) const {
    int n = (row - 1) * 7 + col - firstColumn_ + 1;
    return row >= 1 && n >= 1 && n <= DaysInAMonth(year_, month_) ? n : 0;
}

TDateTime THostDateWindow::DayShown() const {
    return EncodeDate(year_, month_, DayAt(grDays->Col(), grDays->Row()));
}

void THostDateWindow::btnPrevMonthClick(TObject*) {
    if (year_ > 1753 || month_ > 1) ShowDay(IncMonth(DayShown(), -1), true);
}

void THostDateWindow::btnNextMonthClick(TObject*) {
    if (year_ < 9999 || month_ < 12) ShowDay(IncMonth(DayShown(), 1), true);
}

void THostDateWindow::grDaysSelectCell(TObject*, int ACol, int ARow, bool& CanSelect) {
    int n = DayAt(ACol, ARow);
    CanSelect = n != 0;
    if (CanSelect && !showing_) edDate->SetText(YMD(EncodeDate(year_, month_, n)));
}

void THostDateWindow::grDaysDblClick(TObject*) {
    if (DayAt(grDays->Col(), grDays->Row())) btnOKClick(grDays);
}

void THostDateWindow::edDateChange(TObject*) {
    TDateTime day;
    if (!showing_ && ReadYMD(Trim(edDate->Text()), day)) ShowDay(day, false);
}

void THostDateWindow::btnOKClick(TObject*) {
    if (!ChosenDate().empty()) {
        SetModalResult(mrOk);
        return;
    }
    SetModalResult(mrNone);
    edDate->SetFocus();
    edDate->SelectAll();
}

AnsiString ShowDateWindow(const AnsiString& start, bool rocYears) {
    auto* window = CreateForm<THostDateWindow>(nullptr);
    AnsiString chosen;
    try {
        window->Start(start, rocYears);
        if (window->ShowModal() == mrOk) chosen = window->ChosenDate();
    } catch (...) {
        window->Free();
        throw;
    }
    window->Free();
    return chosen;
}

} // namespace qz
