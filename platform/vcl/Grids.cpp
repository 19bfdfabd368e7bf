#include "platform/vcl/Grids.h"
#include "platform/gfx/Canvas.h"
#include <algorithm>

namespace qz {

namespace {
[[noreturn]] void IndexError() {
    throw EInvalidGridOperation("Grid index out of range");
}
} // namespace

QZ_CLASS_INFO(TDrawGrid, TCustomControl) {
    b.Property("ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount).Default(5);
    b.Property("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth).Default(64);
    b.Property("DefaultDrawing", &TDrawGrid::DefaultDrawing, &TDrawGrid::SetDefaultDrawing).Default(true);
    b.Property("DefaultRowHeight", &TDrawGrid::DefaultRowHeight, &TDrawGrid::SetDefaultRowHeight).Default(24);
    b.Property("FixedColor", &TDrawGrid::FixedColor, &TDrawGrid::SetFixedColor).TypeName("TColor");
    b.Property("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols).Default(1);
    b.Property("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows).Default(1);
    b.Property("GridLineWidth", &TDrawGrid::GridLineWidth, &TDrawGrid::SetGridLineWidth).Default(1);
    b.Property("Options", &TDrawGrid::Options, &TDrawGrid::SetOptions);
    b.Property("RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount).Default(5);
    b.Event("OnDrawCell", &TDrawGrid::OnDrawCell);
    b.Event("OnSelectCell", &TDrawGrid::OnSelectCell);
    b.Event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
}

TDrawGrid::TDrawGrid(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 320, 120);
    SetTabStop(true);
    SetColor(clWindow);
}

TDrawGrid::~TDrawGrid() = default;

void TDrawGrid::SetColCount(int v) {
    if (v < 1) v = 1;
    if (v == colCount_) return;
    int old = colCount_;
    colCount_ = v;
    if (fixedCols_ >= v) fixedCols_ = v - 1;
    col_ = std::min(col_, v - 1);
    leftCol_ = std::clamp(leftCol_, fixedCols_, v - 1);
    selection_ = {col_, row_, col_, row_};
    SizeChanged(old, rowCount_);
    Invalidate();
}

void TDrawGrid::SetRowCount(int v) {
    if (v < 1) v = 1;
    if (v == rowCount_) return;
    int old = rowCount_;
    rowCount_ = v;
    if (fixedRows_ >= v) fixedRows_ = v - 1;
    row_ = std::min(row_, v - 1);
    topRow_ = std::clamp(topRow_, fixedRows_, v - 1);
    selection_ = {col_, row_, col_, row_};
    SizeChanged(colCount_, old);
    Invalidate();
}

void TDrawGrid::SetFixedCols(int v) {
    if (v < 0) IndexError();
    if (v >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
    fixedCols_ = v;
    if (col_ < v) col_ = v;
    if (leftCol_ < v) leftCol_ = v;
    selection_ = {col_, row_, col_, row_};
    Invalidate();
}

void TDrawGrid::SetFixedRows(int v) {
    if (v < 0) IndexError();
    if (v >= rowCount_) throw EInvalidGridOperation("Fixed row count must be less than row count");
    fixedRows_ = v;
    if (row_ < v) row_ = v;
    if (topRow_ < v) topRow_ = v;
    selection_ = {col_, row_, col_, row_};
    Invalidate();
}

void TDrawGrid::SetDefaultColWidth(int v) {
    defaultColWidth_ = v;
    colWidths_.clear();
    Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int v) {
    defaultRowHeight_ = v;
    rowHeights_.clear();
    Invalidate();
}

int TDrawGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_) IndexError();
    auto it = colWidths_.find(col);
    return it == colWidths_.end() ? defaultColWidth_ : it->second;
}

void TDrawGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= colCount_) IndexError();
    colWidths_[col] = width;
    Invalidate();
}

int TDrawGrid::RowHeights(int row) const {
    if (row < 0 || row >= rowCount_) IndexError();
    auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? defaultRowHeight_ : it->second;
}

void TDrawGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= rowCount_) IndexError();
    rowHeights_[row] = height;
    Invalidate();
}

bool TDrawGrid::SelectCell(int col, int row) {
    bool can = true;
    OnSelectCell(this, col, row, can);
    return can;
}

bool TDrawGrid::FocusCell(int col, int row) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) IndexError();
    if (col == col_ && row == row_) return true;
    if (!SelectCell(col, row)) return false;
    col_ = col;
    row_ = row;
    selection_ = {col, row, col, row};
    // Keep the current cell in view.
    if (row >= fixedRows_ && row < topRow_) SetTopRow(row);
    if (col >= fixedCols_ && col < leftCol_) SetLeftCol(col);
    Invalidate();
    return true;
}

void TDrawGrid::SetTopRow(int v) {
    v = std::clamp(v, fixedRows_, rowCount_ - 1);
    if (v == topRow_) return;
    topRow_ = v;
    OnTopLeftChanged(this);
    Invalidate();
}

void TDrawGrid::SetLeftCol(int v) {
    v = std::clamp(v, fixedCols_, colCount_ - 1);
    if (v == leftCol_) return;
    leftCol_ = v;
    OnTopLeftChanged(this);
    Invalidate();
}

TRect TDrawGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return {};
    int x = 0, y = 0;
    for (int c = 0; c < col; ++c)
        if (c < fixedCols_ || c >= leftCol_) x += ColWidths(c) + gridLineWidth_;
    for (int r = 0; r < row; ++r)
        if (r < fixedRows_ || r >= topRow_) y += RowHeights(r) + gridLineWidth_;
    return Bounds(x, y, ColWidths(col), RowHeights(row));
}

bool TDrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = row = -1;
    for (int c = 0; c < colCount_ && col < 0; ++c) {
        TRect r = CellRect(c, 0);
        if (!r.IsEmpty() && x >= r.Left && x < r.Right + gridLineWidth_) col = c;
    }
    for (int rr = 0; rr < rowCount_ && row < 0; ++rr) {
        TRect r = CellRect(0, rr);
        if (!r.IsEmpty() && y >= r.Top && y < r.Bottom + gridLineWidth_) row = rr;
    }
    return col >= 0 && row >= 0;
}

void TDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (defaultDrawing_) {
        TCanvas* c = Canvas();
        bool fixed = state.Contains(gdFixed);
        bool selected = state.Contains(gdSelected) && !fixed;
        c->Brush().SetColor(fixed ? fixedColor_ : selected ? clHighlight : Color());
        c->FillRect(rect);
        if (state.Contains(gdFocused) && Focused()) c->DrawFocusRect(rect);
    }
    OnDrawCell(this, col, row, rect, state);
}

void TDrawGrid::Paint() {
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) {
            TRect r = CellRect(col, row);
            if (r.IsEmpty() || r.Left >= Width() || r.Top >= Height()) continue;
            TGridDrawState state;
            bool fixed = col < fixedCols_ || row < fixedRows_;
            if (fixed) state = state + TGridDrawState{gdFixed};
            bool inSelection = col >= selection_.Left && col <= selection_.Right && row >= selection_.Top &&
                               row <= selection_.Bottom;
            if (options_.Contains(goRowSelect)) inSelection = row == row_;
            if (!fixed && inSelection) state = state + TGridDrawState{gdSelected};
            if (col == col_ && row == row_) state = state + TGridDrawState{gdFocused};
            DrawCell(col, row, r, state);
        }
    }
}

void TDrawGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (CanFocus() && !Focused()) SetFocus();
    TCustomControl::MouseDown(button, shift, x, y);
    int col, row;
    if (button == mbLeft && MouseToCell(x, y, col, row) && col >= fixedCols_ && row >= fixedRows_)
        FocusCell(col, row);
}

bool TDrawGrid::WantsKey(Word key, TShiftState shift) const {
    if (key == VK_TAB) return options_.Contains(goTabs);
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_HOME ||
           key == VK_END || key == VK_PRIOR || key == VK_NEXT;
}

void TDrawGrid::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    int col = col_, row = row_;
    switch (key) {
    case VK_UP: row = std::max(row - 1, fixedRows_); break;
    case VK_DOWN: row = std::min(row + 1, rowCount_ - 1); break;
    case VK_LEFT: col = std::max(col - 1, fixedCols_); break;
    case VK_RIGHT: col = std::min(col + 1, colCount_ - 1); break;
    case VK_HOME: col = fixedCols_; break;
    case VK_END: col = colCount_ - 1; break;
    case VK_TAB:
        if (!options_.Contains(goTabs)) return;
        if (shift.Contains(ssShift)) {
            if (--col < fixedCols_) {
                col = colCount_ - 1;
                row = std::max(row - 1, fixedRows_);
            }
        } else if (++col >= colCount_) {
            col = fixedCols_;
            row = std::min(row + 1, rowCount_ - 1);
        }
        break;
    default: return;
    }
    FocusCell(col, row);
    key = 0;
}

// ---- TStringGrid

QZ_CLASS_INFO(TStringGrid, TDrawGrid) {}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::Check(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) IndexError();
}

AnsiString TStringGrid::Cells(int col, int row) const {
    Check(col, row);
    auto it = cells_.find({col, row});
    return it == cells_.end() ? AnsiString() : it->second.text;
}

void TStringGrid::SetCells(int col, int row, const AnsiString& text) {
    Check(col, row);
    cells_[{col, row}].text = text;
    Invalidate();
}

TObject* TStringGrid::Objects(int col, int row) const {
    Check(col, row);
    auto it = cells_.find({col, row});
    return it == cells_.end() ? nullptr : it->second.object;
}

void TStringGrid::SetObjects(int col, int row, TObject* object) {
    Check(col, row);
    cells_[{col, row}].object = object;
}

void TStringGrid::GetRow(int row, TStrings& lines) const {
    lines.Clear();
    for (int c = 0; c < ColCount(); ++c) lines.AddObject(Cells(c, row), Objects(c, row));
}

void TStringGrid::SetRowTexts(int row, const TStrings& lines) {
    for (int c = 0; c < ColCount() && c < lines.Count(); ++c) SetCells(c, row, lines.Get(c));
}

void TStringGrid::GetColumn(int col, TStrings& lines) const {
    lines.Clear();
    for (int r = 0; r < RowCount(); ++r) lines.AddObject(Cells(col, r), Objects(col, r));
}

void TStringGrid::SetColumnTexts(int col, const TStrings& lines) {
    for (int r = 0; r < RowCount() && r < lines.Count(); ++r) SetCells(col, r, lines.Get(r));
}

void TStringGrid::SizeChanged(int, int) {
    // Cells outside the grid are dropped.
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (it->first.first >= ColCount() || it->first.second >= RowCount())
            it = cells_.erase(it);
        else
            ++it;
    }
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        TCanvas* c = Canvas();
        bool fixed = state.Contains(gdFixed);
        bool selected = state.Contains(gdSelected) && !fixed;
        c->Brush().SetColor(fixed ? FixedColor() : selected ? clHighlight : Color());
        c->Font().SetColor(selected ? clHighlightText : Font()->Color());
        c->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
        c->Font().SetColor(Font()->Color());
        if (state.Contains(gdFocused) && Focused()) c->DrawFocusRect(rect);
    }
    OnDrawCell(this, col, row, rect, state);
}

} // namespace qz
