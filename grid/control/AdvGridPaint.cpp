// TAdvStringGrid: what the grid paints around its cells: the frame of the edited cell, the
// coloured outer border in the non-client area, the XOR lines while a column or row is sized, and
// the translucent focus frame around the edited cell.
#include "AdvGrid.h"
#include "GridCellEditors.h"

#include "CellDraw.h"
#include "GridBitmaps.h"
#include "OSInfo.h"
#include "Regions.h"

#include <memory>

TAdvStringGrid* TAdvStringGrid::FFocusFrameGrid = nullptr;

// ---------------------------------------------------------------------------------------------
// The grid paint

void TAdvStringGrid::Paint() {
    TCanvas* c = Canvas();
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
    TBaseGrid::Paint();

    if (EditorMode()) {
        // Covered by the in-place editor; the frame shows where the editor leaves a gap.
        const bool lines = HasOption(goHorzLine) || HasOption(goVertLine);
        c->Pen()->SetColor(GridLineWidth() < 1 || !lines ? Color() : GridLineColor());
        c->Rectangle(CellRect(Col(), Row()));
    }

    // The area beyond the last column and row takes the background picture or gradient.
    c->Pen()->SetColor(clBlack);
    if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != clNone) PaintEmptyArea();
    DrawDesignHelper();
    if (OnPainted) OnPainted(this);
}

// ---------------------------------------------------------------------------------------------
// The outer border

void TAdvStringGrid::WMNCPaint(TWMNCPaint& Message) {
    TBaseGrid::Dispatch(Message.Message());
    if (FUpdateCount == 0) DrawNCBorder();
    Message.Result = 0;
}

void TAdvStringGrid::DrawNCBorder() {
    if (!HandleAllocated()) return;
    const TGridLook look = Look();
    const bool colouredLook = look == glSoft || (look >= glKit && look <= glOffice2007);
    if (!colouredLook || BorderStyle() != bsSingle || FBorderColor == clNone || FFlat) return;

    const HWND wnd = Handle();
    HDC dc = GetWindowDC(wnd);
    if (!dc) return;
    // The pen and the window canvas are given back on every path.
    TPen saved;
    saved.Assign(dc->Pen());
    struct TRelease {
        HWND Wnd;
        HDC DC;
        TPen* Saved;
        ~TRelease() {
            DC->Pen()->Assign(Saved);
            ReleaseDC(Wnd, DC);
        }
    } release{wnd, dc, &saved};

    const int w = Width(), h = Height();
    // From (a, b) up to (a, a), across, down and back along the bottom.
    auto outline = [dc, w, h](int a, int b, int c) {
        dc->MoveTo(a, b);
        dc->LineTo(a, a);
        dc->LineTo(w - c, a);
        dc->LineTo(w - c, h - c);
        dc->LineTo(a, h - c);
    };
    dc->Pen()->SetStyle(psSolid);
    dc->Pen()->SetWidth(1);
    dc->Pen()->SetMode(pmCopy);
    dc->Pen()->SetColor(FBorderColor);
    if (FitCellsInGrid) {
        outline(1, h, 2);
        if (TWinControl* parent = Parent()) {
            dc->Pen()->SetColor(parent->Brush()->Color());
            outline(0, h, 1);
        }
    } else if (IsThemed()) {
        outline(0, h - 1, 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Sizing lines

void TAdvStringGrid::DrawSizingLine(int Pos, bool Column) {
    TCanvas* c = Canvas();
    TPen saved;
    saved.Assign(c->Pen());
    const int bkMode = c->SetBkMode(OPAQUE);
    const TColor bkColor = c->SetBkColor(clWhite);
    // A black pen leaves XOR pixels as they are: the dots' gaps, drawn in white, invert theirs,
    // so the line shows and drawing it again takes it away.
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clBlack);
    if (Column) {
        const int bottom = std::max(Height(), CellRect(0, RowCount() - 1).Bottom);
        c->MoveTo(Pos, 0);
        c->LineTo(Pos, bottom);
    } else {
        const int right = std::max(Width(), CellRect(ColCount() - 1, 0).Right);
        c->MoveTo(0, Pos);
        c->LineTo(right, Pos);
    }
    c->SetBkColor(bkColor);
    c->SetBkMode(bkMode);
    c->Pen()->Assign(&saved);
}

// ---------------------------------------------------------------------------------------------
// The focus frame

void TAdvStringGrid::ShowFocusFrame() {
    TGridFocusWindow* fw = FFocusWindow.get();
    if (!fw || !FocusHelper()->Enabled) return;
    InstallCallWndProcHook();
    FFocusFrameGrid = this;
    PlaceFocusFrame();
    ShowWindow(fw->Handle(), SW_SHOWNOACTIVATE);
}

void TAdvStringGrid::HideFocusFrame() {
    if (FFocusWindow && FFocusWindow->HandleAllocated()) ShowWindow(FFocusWindow->Handle(), SW_HIDE);
    if (FFocusFrameGrid == this) FFocusFrameGrid = nullptr;
}

void TAdvStringGrid::MoveFocusFrame() {
    if (FFocusFrameGrid == this && FFocusWindow) PlaceFocusFrame();
}

void TAdvStringGrid::PlaceFocusFrame() {
    TGridFocusWindow* fw = FFocusWindow.get();
    const TRect cell = CellRect(Col(), Row());
    const int cw = cell.Right - cell.Left, ch = cell.Bottom - cell.Top;
    const int w = cw + 9, h = ch + 9;
    const TPoint at = ClientToScreen(TPoint(cell.Left - 4, cell.Top - 4));
    fw->SetBounds(at.X, at.Y, w, h);
    const HWND wnd = fw->Handle();
    SetWindowLong(wnd, GWL_EXSTYLE, GetWindowLong(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);

    // A light blue ring, soft at its edges, through a blurred rounded-rectangle mask.
    std::unique_ptr<TBitmap> colour(new TBitmap);
    colour->SetPixelFormat(pf24bit);
    colour->SetSize(w, h);
    colour->Canvas()->Brush()->SetColor(0xFDD397);
    colour->Canvas()->FillRect(TRect(0, 0, w, h));
    std::unique_ptr<TBitmap> mask(new TBitmap);
    CreateRoundRectMask(mask.get(), w, h, 4, 5, 3);
    std::unique_ptr<TGridAlphaMask> picture(new TGridAlphaMask);
    picture->MergeMask(mask.get(), colour.get(), 0xFDD397);
    picture->Opacity = 230;

    TPoint dst = at;
    TSize size{w, h};
    TPoint src{0, 0};
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = 230;
    blend.AlphaFormat = AC_SRC_ALPHA;
    CallUpdateLayeredWindow(wnd, nullptr, &dst, &size, picture->Canvas(), &src, 0, &blend, ULW_ALPHA);

    // Only the ring around the cell shows.
    HRGN outer = CreateRectRgn(0, 0, w, h);
    HRGN inner = CreateRectRgn(4, 4, 4 + cw, 4 + ch);
    CombineRgn(outer, outer, inner, RGN_XOR);
    DeleteObject(inner);
    SetWindowRgn(wnd, outer, true);
}
