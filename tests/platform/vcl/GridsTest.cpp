#include "platform/vcl/Grids.h"
#include "platform/gfx/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

class GridTest : public ::testing::Test {
protected:
    GridTest() : owner(new TComponent(nullptr)), grid(new TStringGrid(owner)) {}
    ~GridTest() override { owner->Free(); }
    TComponent* owner;
    TStringGrid* grid;
};

TEST_F(GridTest, RowsGrowKeepingCellsAndShrinkDroppingThem) {
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetCells(0, 0, "No");
    grid->SetCells(2, 1, "last");
    for (int r = 2; r < 6; ++r) { // rows added one at a time as lines arrive
        grid->SetRowCount(r + 1);
        grid->SetCells(1, r, "row " + std::to_string(r));
    }
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->Cells(0, 0), "No");
    EXPECT_EQ(grid->Cells(2, 1), "last");
    EXPECT_EQ(grid->Cells(1, 5), "row 5");
    EXPECT_EQ(grid->Cells(0, 5), "");

    grid->SetRow(5);
    grid->SetRowCount(3); // the current row follows
    EXPECT_EQ(grid->Row(), 2);
    grid->SetRowCount(6);
    EXPECT_EQ(grid->Cells(1, 5), ""); // lost with the shrink
    EXPECT_THROW(grid->Cells(3, 0), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedRows(6), EInvalidGridOperation);
    EXPECT_THROW(grid->SetCol(7), EInvalidGridOperation);

    TStringList row;
    grid->GetRow(1, row);
    EXPECT_EQ(row.Count(), 3);
    EXPECT_EQ(row.Get(2), "last");
}

TEST_F(GridTest, CurrentCellMovesThroughOnSelectCell) {
    std::vector<std::pair<int, int>> asked;
    grid->OnSelectCell = [&](TObject*, int col, int row, bool& can) {
        asked.push_back({col, row});
        can = col != 3;
    };
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(grid->FocusCell(2, 3));
    EXPECT_FALSE(grid->FocusCell(3, 3));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 3}, {3, 3}}));
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(GridTest, SizesAndDrawingOfCells) {
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetDefaultRowHeight(18);
    grid->SetColWidths(0, 30);
    EXPECT_EQ(grid->CellRect(1, 1), Bounds(31, 19, 64, 18));
    int col, row;
    EXPECT_TRUE(grid->MouseToCell(40, 25, col, row));
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 1);

    grid->SetCells(1, 1, "x");
    std::vector<AnsiString> drawn;
    grid->OnDrawCell = [&](TObject*, int c, int r, const TRect&, TGridDrawState state) {
        drawn.push_back(std::to_string(c) + std::to_string(r) + (state.Contains(gdFixed) ? "F" : "") +
                        (state.Contains(gdFocused) ? "*" : ""));
    };
    TRecordingCanvas canvas;
    grid->PaintTo(canvas);
    EXPECT_EQ(drawn, (std::vector<AnsiString>{"00F", "10F", "20F", "01F", "11*", "21"}));
    auto texts = canvas.Find("TextRect");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[4]->Describe(), "TextRect(31,19,95,37,33,21,'x')");
    EXPECT_EQ(texts[0]->BrushColor, clBtnFace);
}

} // namespace
