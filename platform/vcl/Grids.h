#pragma once
// Grids as models: a draw grid of cells with fixed rows and columns, sizes per row and column and a
// current cell chosen through OnSelectCell; a string grid keeps a text and an object per cell.
#include "platform/core/StringList.h"
#include "platform/vcl/Controls.h"
#include <map>
#include <vector>

namespace qz {

QZ_EXCEPTION_CLASS(EInvalidGridOperation, Exception);

QZ_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
        goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
        goRowSelect, goAlwaysShowEditor, goThumbTracking)
QZ_SET(TGridOptions, TGridOption)
QZ_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
QZ_SET(TGridDrawState, TGridDrawStateItem)

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

QZ_EVENT_TYPE(TSelectCellEvent, void(TObject* Sender, int ACol, int ARow, bool& CanSelect))
QZ_EVENT_TYPE(TDrawCellEvent,
              void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State))

class TDrawGrid : public TCustomControl {
    QZ_CLASS(TDrawGrid)
public:
    explicit TDrawGrid(TComponent* owner);
    ~TDrawGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int v);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int v);
    // Must stay below the column and row counts (EInvalidGridOperation otherwise).
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int v);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int v);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions v) { options_ = v; }
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v) { defaultDrawing_ = v; }
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor v) { fixedColor_ = v; }
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int v) { gridLineWidth_ = v; }

    // The current cell; moving there asks OnSelectCell, which may refuse. Indexes outside the grid
    // raise EInvalidGridOperation "Grid index out of range".
    int Col() const { return col_; }
    void SetCol(int v) { FocusCell(v, row_); }
    int Row() const { return row_; }
    void SetRow(int v) { FocusCell(col_, v); }
    bool FocusCell(int col, int row);
    TGridRect Selection() const { return selection_; }
    void SetSelection(const TGridRect& v) { selection_ = v; }
    int TopRow() const { return topRow_; }
    void SetTopRow(int v);
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int v);

    // Cell rectangles in client pixels (fixed cells first, then from LeftCol and TopRow).
    TRect CellRect(int col, int row) const;
    bool MouseToCell(int x, int y, int& col, int& row) const;

    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TNotifyEvent OnTopLeftChanged;

protected:
    virtual bool SelectCell(int col, int row);
    // Paints one cell: the default drawing (when on), then OnDrawCell.
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual void SizeChanged(int oldColCount, int oldRowCount) {}
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    bool WantsKey(Word key, TShiftState shift) const override;

private:
    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
    std::map<int, int> colWidths_, rowHeights_;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    bool defaultDrawing_ = true;
    TColor fixedColor_ = clBtnFace;
    int col_ = 1, row_ = 1, topRow_ = 1, leftCol_ = 1;
    TGridRect selection_{1, 1, 1, 1};
};

class TStringGrid : public TDrawGrid {
    QZ_CLASS(TStringGrid)
public:
    explicit TStringGrid(TComponent* owner);
    ~TStringGrid() override;

    // Texts and objects of cells; the cells a shrinking grid loses are dropped.
    AnsiString Cells(int col, int row) const;
    void SetCells(int col, int row, const AnsiString& text);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* object);
    // The texts of a row or a column, as a copy; SetRow/SetColumn write them back.
    void GetRow(int row, TStrings& lines) const;
    void SetRowTexts(int row, const TStrings& lines);
    void GetColumn(int col, TStrings& lines) const;
    void SetColumnTexts(int col, const TStrings& lines);

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;

private:
    void Check(int col, int row) const;
    struct Cell {
        AnsiString text;
        TObject* object = nullptr;
    };
    std::map<std::pair<int, int>, Cell> cells_;
};

} // namespace qz
