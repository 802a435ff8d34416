// The grid's mouse: sizing from the border of a fixed cell, moving columns and rows by their
// fixed cell, selecting cells with auto-scroll on timer 1, the wheel, the cursor over a sizing
// border and the end of a gesture when the capture goes.
//
// A left press starts one gesture and sets the grid state (FGridState); moves and the timer
// work on it and the left release completes it and returns the state to gsNormal. A descendant
// that sets the state to gsNormal before the release lets the gesture end without its effect.
#include "Grids.h"

#include "Forms.h"
#include "GridsPrivate.h"

#include <QWidget>

#include <algorithm>

namespace {

// How far from a grid line a press still sizes.
constexpr int SizingZone = 3;
constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT ScrollTimerInterval = 60;

} // namespace

void TCustomGrid::GetSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs) {
    State = gsNormal;
    Index = -1;
    const bool cols = HasOption(goColSizing), rows = HasOption(goRowSizing);
    if (!cols && !rows) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int x = LtrX(X);
    // The line after a cell: the pointer within the zone around it sizes that cell.
    auto near = [](const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Pos, int& Found,
                   int& LinePos) {
        const int lw = Axis.EffectiveLineWidth;
        auto test = [&](int i, long long start) {
            const int s = Extents.Size(i);
            if (s < 0) return false;
            const long long line = start + s;
            if (Pos >= line - SizingZone && Pos < line + lw + SizingZone) {
                Found = i;
                LinePos = int(line);
                return true;
            }
            return false;
        };
        long long p = 0;
        for (int i = 0; i < Axis.FixedCellCount && p < Axis.FixedBoundary; ++i) {
            if (test(i, p)) return true;
            p += GridsPrivate::CellExtent(Extents, i, lw);
        }
        p = Axis.FixedBoundary;
        for (int i = Axis.FirstGridCell; i < Axis.GridCellCount && p < Axis.GridBoundary; ++i) {
            if (test(i, p)) return true;
            p += GridsPrivate::CellExtent(Extents, i, lw);
        }
        return false;
    };
    auto sizing = [&](TGridState Kind, const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Pos) {
        int found = -1, line = 0;
        if (!near(Extents, Axis, Pos, found, line)) return false;
        State = Kind;
        Index = found;
        SizingPos = line;
        SizingOfs = line - Pos;
        return true;
    };
    if (cols && Y >= 0 && Y < info.Vert.FixedBoundary && x >= 0 &&
        sizing(gsColSizing, FColWidths, info.Horz, x))
        return;
    if (rows && x >= 0 && x < info.Horz.FixedBoundary && Y >= 0)
        sizing(gsRowSizing, FRowHeights, info.Vert, Y);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !IsActiveControl()) {
        SetFocus();
        if (!IsActiveControl()) {
            SetMouseCapture(false);
            return;
        }
    }
    FLastMouse = TPoint(X, Y);
    if (Button == mbLeft && Shift.count(ssDouble)) {
        // The second press of a double click only reports the double click.
        DblClick();
    } else if (Button == mbLeft) {
        GetSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs);
        if (FGridState != gsNormal) {
            HideEditor();
            InvalidateGrid();
        } else {
            const TGridCoord hit = MouseCoord(X, Y);
            if (hit.X >= 0 && hit.Y >= 0) {
                const bool colMove = HasOption(goColMoving) && hit.X >= FFixedCols && hit.Y < FFixedRows;
                const bool rowMove = HasOption(goRowMoving) && hit.X < FFixedCols && hit.Y >= FFixedRows;
                if (colMove || rowMove) {
                    HideEditor();
                    FGridState = colMove ? gsColMoving : gsRowMoving;
                    FMoveIndex = FMovePos = colMove ? hit.X : hit.Y;
                    StartTimer();
                    InvalidateGrid();
                } else if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
                    if (HasOption(goEditing)) {
                        // A press on the current cell opens the editor; elsewhere it moves there.
                        if (hit == FCurrent) {
                            ShowEditor();
                        } else {
                            MoveColRow(hit.X, hit.Y, true, true);
                            UpdateEdit();
                        }
                        Click();
                    } else {
                        FGridState = gsSelecting;
                        StartTimer();
                        if (Shift.count(ssShift)) {
                            MoveAnchor(hit);
                        } else {
                            MoveColRow(hit.X, hit.Y, true, true);
                            // SelectCell refused the cell: no range grows from a refused press.
                            if (!(FCurrent == hit)) CancelMode();
                        }
                    }
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    FLastMouse = TPoint(X, Y);
    switch (FGridState) {
        case gsSelecting: {
            TGridDrawInfo info;
            CalcDrawInfo(info);
            const TGridCoord hit = MouseCoord(X, Y);
            if (hit.X >= FFixedCols && hit.Y >= FFixedRows && hit.X <= info.Horz.LastFullVisibleCell + 1 &&
                hit.Y <= info.Vert.LastFullVisibleCell + 1) {
                const TGridCoord end = RangeSelectAllowed() ? FAnchor : FCurrent;
                if (!(hit == end)) MoveAnchor(hit);
            }
            break;
        }
        case gsColSizing:
            FSizingPos = LtrX(X) + FSizingOfs;
            InvalidateGrid();
            break;
        case gsRowSizing:
            FSizingPos = Y + FSizingOfs;
            InvalidateGrid();
            break;
        case gsColMoving:
        case gsRowMoving: {
            const TGridCoord hit = MouseCoord(X, Y);
            const bool cols = FGridState == gsColMoving;
            const int index = cols ? hit.X : hit.Y;
            const int fixed = cols ? FFixedCols : FFixedRows;
            if (index >= fixed && index != FMovePos) {
                FMovePos = index;
                InvalidateGrid();
            }
            break;
        }
        default: UpdateCursor(X, Y); break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        const TGridState state = FGridState;
        switch (state) {
            case gsSelecting:
                MouseMove(Shift, X, Y);
                StopTimer();
                FGridState = gsNormal;
                UpdateEdit();
                Click();
                break;
            case gsColSizing:
            case gsRowSizing: {
                FGridState = gsNormal;
                TGridDrawInfo info;
                CalcDrawInfo(info);
                const bool cols = state == gsColSizing;
                const int start = cols ? CellStart(FColWidths, info.Horz, FSizingIndex)
                                       : CellStart(FRowHeights, info.Vert, FSizingIndex);
                const int size = FSizingPos - start;
                InvalidateGrid();
                if (start >= 0 && size > 1) {
                    if (cols)
                        SetColWidths(FSizingIndex, size);
                    else
                        SetRowHeights(FSizingIndex, size);
                }
                break;
            }
            case gsColMoving:
            case gsRowMoving:
                StopTimer();
                FGridState = gsNormal;
                InvalidateGrid();
                if (FMoveIndex >= 0 && FMovePos >= 0 && FMoveIndex != FMovePos) {
                    if (state == gsColMoving)
                        MoveColumn(FMoveIndex, FMovePos);
                    else
                        MoveRow(FMoveIndex, FMovePos);
                }
                break;
            default: break;
        }
        FGridState = gsNormal;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
    if (FCurrent.Y < RowCount() - 1) SetRow(FCurrent.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
    if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Auto-scroll while selecting or moving: each tick of timer 1 with the pointer beyond the
// scrolling cells scrolls one cell that way and brings the selection's end (or the move's
// target) to the edge.

void TCustomGrid::StartTimer() {
    if (!HandleAllocated()) return;
    SetTimer(Handle(), ScrollTimerId, ScrollTimerInterval);
    FTimerActive = true;
}

void TCustomGrid::StopTimer() {
    if (!FTimerActive) return;
    FTimerActive = false;
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
}

void TCustomGrid::WMTimer(TWMTimer& Message) {
    if (UINT_PTR(Message.TimerID) != ScrollTimerId) {
        TCustomControl::Dispatch(Message);
        return;
    }
    if (FGridState == gsSelecting || FGridState == gsColMoving || FGridState == gsRowMoving)
        AutoScrollTick();
    else
        StopTimer();
}

void TCustomGrid::AutoScrollTick() {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int x = LtrX(FLastMouse.X), y = FLastMouse.Y;
    auto delta = [](int Pos, const TGridAxisDrawInfo& Axis) {
        if (Pos < Axis.FixedBoundary) return -1;
        if (Pos >= Axis.GridExtent) return 1;
        return 0;
    };
    // The cell just beyond the view in that direction (the view scrolls to show it).
    auto edge = [](int Delta, int Current, const TGridAxisDrawInfo& Axis) {
        if (Delta < 0) return std::max(Axis.FirstGridCell - 1, Axis.FixedCellCount);
        if (Delta > 0) return std::min(Axis.LastFullVisibleCell + 1, Axis.GridCellCount - 1);
        return Current;
    };
    const int dx = delta(x, info.Horz), dy = delta(y, info.Vert);
    if (dx == 0 && dy == 0) return;
    if (FGridState == gsSelecting) {
        const TGridCoord end = RangeSelectAllowed() ? FAnchor : FCurrent;
        const TGridCoord target(std::clamp(edge(dx, end.X, info.Horz), FFixedCols, ColCount() - 1),
                                std::clamp(edge(dy, end.Y, info.Vert), FFixedRows, RowCount() - 1));
        if (!(target == end)) MoveAnchor(target);
        return;
    }
    const bool cols = FGridState == gsColMoving;
    const int d = cols ? dx : dy;
    if (d == 0) return;
    const TGridAxisDrawInfo& axis = cols ? info.Horz : info.Vert;
    const int target = std::clamp(edge(d, FMovePos, axis), axis.FixedCellCount, axis.GridCellCount - 1);
    TGridCoord show = cols ? TGridCoord(target, FTopLeft.Y) : TGridCoord(FTopLeft.X, target);
    ClampInView(show);
    if (target != FMovePos) {
        FMovePos = target;
        InvalidateGrid();
    }
}

// ---------------------------------------------------------------------------------------------
// Ending a gesture early, and the cursor

void TCustomGrid::CancelMode() {
    StopTimer();
    if (FGridState == gsNormal) return;
    FGridState = gsNormal;
    InvalidateGrid();
}

// The gesture ends before the inherited handling, which releases the capture and so ends the
// held button as a release at (-1, -1): that release must find the grid in gsNormal.
void TCustomGrid::WMCancelMode(TMessage& Message) {
    CancelMode();
    TCustomControl::Dispatch(Message);
}

// The capture goes when the grid's own left release gives it up (the button is up: the release
// completes the gesture) or when it is taken away while the button is held, by another window
// or by a release the grid did not ask for: then the gesture ends without its effect, before
// the inherited handling turns the held button into a release.
void TCustomGrid::WMCaptureChanged(TMessage& Message) {
    const HWND to = HWND(Message.LParam);
    const bool toOther = to != 0 && (!HandleAllocated() || to != Handle());
    if (toOther || ControlState().count(csLButtonDown)) CancelMode();
    TCustomControl::Dispatch(Message);
}

void TCustomGrid::ShowCursorShape(TCursor Cursor) {
    FShownCursor = Cursor;
    if (QWidget* w = WidgetIfAllocated(); w && Screen)
        w->setCursor(Screen->Cursors(Cursor == crDefault ? crArrow : Cursor));
}

// Over the border of a fixed cell that can be sized the split cursor shows, elsewhere the
// grid's own.
void TCustomGrid::UpdateCursor(int X, int Y) {
    if (FGridState == gsColSizing || FGridState == gsRowSizing) return;
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    GetSizingState(X, Y, state, index, pos, ofs);
    const TCursor want = state == gsColSizing ? crHSplit : state == gsRowSizing ? crVSplit : Cursor();
    // The window shows the grid's own cursor unless told otherwise at each move.
    if (want != Cursor())
        ShowCursorShape(want);
    else
        FShownCursor = want;
}

void TCustomGrid::WMSetCursor(TMessage& Message) {
    if (!HandleAllocated()) {
        TCustomControl::Dispatch(Message);
        return;
    }
    const TPoint p = ScreenToClient(Mouse->CursorPos());
    TGridState state = FGridState;
    if (state == gsNormal) {
        int index = -1, pos = 0, ofs = 0;
        GetSizingState(p.X, p.Y, state, index, pos, ofs);
    }
    if (state == gsColSizing || state == gsRowSizing) {
        ShowCursorShape(state == gsColSizing ? crHSplit : crVSplit);
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}
