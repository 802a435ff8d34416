// TScrollControl (the metro scroll bar's thumb, paging and dragging) and THeaderDragButton.
#include "GridScrollControls.h"

#include "AdvGrid.h"
#include "MarkupRender.h"

#include <algorithm>

namespace {

constexpr int MinThumbSize = 20;
constexpr TColor DragButtonLinkColor = TColor(0xFF0000);

// The measures of one direction of the grid, so both directions share the same rules.
struct TAxis {
    int Count = 0;     // RowCount (ColCount)
    int Fixed = 0;     // FixedRows (FixedCols)
    int First = 0;     // TopRow (LeftCol)
    int Visible = 0;   // VisibleRowCount (VisibleColCount)
    int Length = 0;    // the control's height (width)
    int Leading = 0;   // height of the fixed rows (width of the fixed columns)
    int Trailing = 0;  // height of the footer rows (width of the fixed right columns)
    int FirstSize = 0; // height of row 0 (width of column 0)
};

TAxis AxisOf(TAdvStringGrid* G, TScrollDirection D, int Length) {
    TAxis a;
    const bool v = D == sdVertical;
    a.Count = v ? G->RowCount() : G->ColCount();
    a.Fixed = v ? G->FixedRows() : G->FixedCols();
    a.First = v ? G->TopRow() : G->LeftCol();
    a.Visible = v ? G->VisibleRowCount() : G->VisibleColCount();
    a.Length = Length;
    auto size = [&](int i) { return v ? G->RowHeights(i) : G->ColWidths(i); };
    for (int i = 0; i < a.Fixed && i < a.Count; ++i) a.Leading += size(i);
    const int trailing = v ? G->FixedFooters() : G->FixedRightCols();
    for (int i = std::max(0, a.Count - trailing); i < a.Count; ++i) a.Trailing += size(i);
    a.FirstSize = a.Count > 0 ? size(0) : 0;
    return a;
}

void SetFirst(TAdvStringGrid* G, TScrollDirection D, int Value) {
    if (D == sdVertical)
        G->SetTopRow(Value);
    else
        G->SetLeftCol(Value);
}

} // namespace

// =============================================================================================
// TScrollControl

TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(TColor(0xC0C0C0));
    SetParentColor(false);
}

TAdvStringGrid* TScrollControl::Grid() const {
    return dynamic_cast<TAdvStringGrid*>(Parent());
}

void TScrollControl::SetScrollWidth(int Value) {
    if (Value == FScrollWidth) return;
    FScrollWidth = Value;
    Invalidate();
}

void TScrollControl::SetDirection(TScrollDirection Value) {
    if (Value == FDirection) return;
    FDirection = Value;
    Invalidate();
}

void TScrollControl::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == CM_COLORCHANGED) Invalidate();
}

bool TScrollControl::ThumbGeometry(int& Start, int& Size) const {
    TAdvStringGrid* g = Grid();
    if (!g) return false;
    const TAxis a = AxisOf(g, FDirection, FDirection == sdVertical ? Height() : Width());
    const int track = a.Length - a.Leading - a.Trailing;
    // A grid without data rows (columns) has its thumb at the start, as long as the track.
    const double p = a.Count > a.Fixed ? double(a.First - a.Fixed) / double(a.Count - a.Fixed) : 0.0;
    const double s = a.Count > 0 ? double(a.Visible) / double(a.Count) : 1.0;
    Start = a.Leading + int(Round(track * p));
    Size = std::max(MinThumbSize, int(Round(track * s)));
    if (Start + Size > a.Length) Start = a.Length - Size;
    return true;
}

bool TScrollControl::ThumbShown() const {
    TAdvStringGrid* g = Grid();
    if (!g) return false;
    const TAxis a = AxisOf(g, FDirection, 0);
    return a.Count - a.Fixed > a.Visible;
}

void TScrollControl::Paint() {
    ClearToTransparent();
    int start = 0, size = 0;
    if (!ThumbShown() || !ThumbGeometry(start, size)) return;
    TCanvas* c = Canvas();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (FDirection == sdVertical)
        c->Rectangle(0, start, FScrollWidth, start + size);
    else
        c->Rectangle(start, 0, start + size, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TAdvStringGrid* g = Grid();
    int start = 0, size = 0;
    if (!g || !ThumbGeometry(start, size)) return;
    const TAxis a = AxisOf(g, FDirection, 0);
    const int pos = FDirection == sdVertical ? Y : X;
    if (pos < start) {
        SetFirst(g, FDirection, std::max(a.Fixed, a.First - a.Visible));
    } else if (pos >= start + size) {
        SetFirst(g, FDirection, std::min(a.First + a.Visible, a.Count - a.Visible));
    } else {
        FDownOnScroller = true;
        FDownPos = pos;
        FDownRow = a.First;
    }
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TAdvStringGrid* g = Grid();
    if (!FDownOnScroller || !g) return;
    const TAxis a = AxisOf(g, FDirection, FDirection == sdVertical ? Height() : Width());
    // The distance moved as a share of the bar beside row 0 (column 0), in rows (columns).
    const int span = a.Length - a.FirstSize;
    if (span <= 0) return;
    const int pos = FDirection == sdVertical ? Y : X;
    const int moved = int(Round(double(pos - FDownPos) / double(span) * a.Count));
    SetFirst(g, FDirection, std::max(a.Fixed, std::min(moved + FDownRow, a.Count - a.Visible)));
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDownOnScroller = false;
}

// =============================================================================================
// THeaderDragButton

THeaderDragButton::THeaderDragButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clBtnFace);
}

void THeaderDragButton::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void THeaderDragButton::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}

void THeaderDragButton::Paint() {
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    if (FGrid) {
        FGrid->PaintCellExt(c, 0, 0, r, TGridDrawState{gdFixed});
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
        c->Font()->Assign(Font());
    }
    c->Brush()->SetStyle(bsClear);
    const String caption = Caption();
    if (!caption.contains(QStringLiteral("</"))) {
        TRect tr = r;
        DrawText(c, caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        return;
    }
    THTMLDrawOptions opt;
    opt.Images = FGrid ? FGrid->GridImages() : nullptr;
    opt.URLColor = DragButtonLinkColor;
    THTMLDrawResult res;
    DrawHTML(c, caption, r, opt, res);
}
