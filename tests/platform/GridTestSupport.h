// A string grid that records its hooks and opens its protected members to the tests, and a
// fixture that shows it focused on a form with a known geometry.
#pragma once

#include "Forms.h"
#include "Grids.h"
#include "OSInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

class TTestGrid : public TStringGrid {
public:
    explicit TTestGrid(TComponent* AOwner) : TStringGrid(AOwner) {}

    using TCustomGrid::Anchor;
    using TCustomGrid::CalcDrawInfo;
    using TCustomGrid::DeleteColumn;
    using TCustomGrid::DeleteRow;
    using TCustomGrid::MoveColRow;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;
    TGridState State() const { return FGridState; }
    void SetState(TGridState Value) { FGridState = Value; }

    // SelectCell: every question, and the answer (all cells unless RefuseSelect says no).
    std::vector<TGridCoord> SelectAsked;
    std::function<bool(int, int)> RefuseSelect;
    // CanEditShow: asked how often, and whether the editor may show.
    int CanEditShowAsked = 0;
    bool AllowEditor = true;
    // SetEditText: each write-back.
    std::vector<std::tuple<int, int, String>> Commits;
    // DrawCell: how often per cell in the last paints, and the last state of each.
    std::map<std::pair<int, int>, int> DrawCounts;
    std::map<std::pair<int, int>, TGridDrawState> DrawStates;
    std::map<std::pair<int, int>, TRect> DrawRects;
    // The other hooks.
    std::vector<std::pair<int, int>> ColumnMoves, RowMoves, SizeChanges;
    int ColWidthsChanges = 0, RowHeightsChanges = 0, TopLeftChanges = 0;
    // GetSizingState: a refusal turns every sizing into none.
    bool RefuseSizing = false;

    int EditLimit = 0;
    String EditMask;

    TGridDrawState StateOf(int ACol, int ARow) { return DrawStates[{ACol, ARow}]; }
    TRect RectOf(int ACol, int ARow) { return DrawRects[{ACol, ARow}]; }
    int DrawsOf(int ACol, int ARow) { return DrawCounts[{ACol, ARow}]; }

    void ClearDraws() {
        DrawCounts.clear();
        DrawStates.clear();
        DrawRects.clear();
    }

protected:
    bool SelectCell(int ACol, int ARow) override {
        SelectAsked.push_back(TGridCoord(ACol, ARow));
        if (RefuseSelect && RefuseSelect(ACol, ARow)) return false;
        return TStringGrid::SelectCell(ACol, ARow);
    }
    bool CanEditShow() override {
        ++CanEditShowAsked;
        return AllowEditor && TStringGrid::CanEditShow();
    }
    void SetEditText(int ACol, int ARow, const String& Value) override {
        Commits.emplace_back(ACol, ARow, Value);
        TStringGrid::SetEditText(ACol, ARow, Value);
    }
    String GetEditMask(int, int) override { return EditMask; }
    int GetEditLimit() override { return EditLimit; }
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override {
        ++DrawCounts[{ACol, ARow}];
        DrawStates[{ACol, ARow}] = AState;
        DrawRects[{ACol, ARow}] = ARect;
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    void ColumnMoved(int FromIndex, int ToIndex) override {
        ColumnMoves.emplace_back(FromIndex, ToIndex);
        TStringGrid::ColumnMoved(FromIndex, ToIndex);
    }
    void RowMoved(int FromIndex, int ToIndex) override {
        RowMoves.emplace_back(FromIndex, ToIndex);
        TStringGrid::RowMoved(FromIndex, ToIndex);
    }
    void SizeChanged(int OldColCount, int OldRowCount) override {
        SizeChanges.emplace_back(OldColCount, OldRowCount);
        TStringGrid::SizeChanged(OldColCount, OldRowCount);
    }
    void ColWidthsChanged() override {
        ++ColWidthsChanges;
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override {
        ++RowHeightsChanges;
        TStringGrid::RowHeightsChanged();
    }
    void TopLeftChanged() override {
        ++TopLeftChanges;
        TStringGrid::TopLeftChanged();
    }
    void GetSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                        int& SizingOfs) override {
        TStringGrid::GetSizingState(X, Y, State, Index, SizingPos, SizingOfs);
        if (RefuseSizing) State = gsNormal;
    }
};

// A grid of 5 x 5 cells (1 fixed column and row, 64 x 24 pixels, lines of 1 pixel) in a client
// area of 200 x 100 pixels, on a shown form, focused. Without border and window scroll bars the
// client area is the control: column 0 spans x 0..63, its line 64; column 1 65..128 (line 129),
// column 2 130..193 (line 194), column 3 from 195 (cut at 200); rows 0..23, 25..48, 50..73,
// 75..98, the fifth from 100 (not shown).
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Grid = new TTestGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(10, 10, 200, 100);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 150, 100, 21);
        Form->Show();
        Grid->SetFocus();
    }
    void TearDown() override {
        TObject::Free(Form);
        ResetPlatformSwitches();
    }

    // Puts the grid in right-to-left layout.
    void RightToLeft() {
        PlatformSwitches().MiddleEastLocale = true;
        Grid->SetBiDiMode(bdRightToLeft);
    }
    void AddOptions(const TGridOptions& Add) {
        TGridOptions o = Grid->Options();
        o.insert(Add.begin(), Add.end());
        Grid->SetOptions(o);
    }
    void RemoveOptions(const TGridOptions& Remove) {
        TGridOptions o = Grid->Options();
        for (TGridOption x : Remove) o.erase(x);
        Grid->SetOptions(o);
    }
    // Paints the grid now into its image.
    void PaintNow() {
        Grid->ClearDraws();
        Grid->Repaint();
    }
    // The colour of a pixel of the grid's image.
    TColor PixelAt(int X, int Y) {
        const QRgb p = Grid->BackImage().pixel(X, Y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }
    // A tick of the grid's scroll timer.
    void Tick() { Grid->Perform(WM_TIMER, 1, 0); }

    TForm* Form = nullptr;
    TTestGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};
