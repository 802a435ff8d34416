// The floating footer's panel and the grid's side of it: the panel's painting by footer style,
// its hints and clicks, the template expansion, the settings host's panel calls and the footer
// cells' calculation types.
#include "AdvGrid.h"
#include "Forms.h"
#include "Hints.h"
#include "MarkupRender.h"

#include <vector>

// =============================================================================================
// Template expansion

String ExpandFooterTemplate(const String& Template, const std::function<String(int)>& CellText) {
    String result;
    int pos = 0;
    while (true) {
        const int tag = Template.indexOf(QLatin1String("<#"), pos);
        if (tag < 0) break;
        const int close = Template.indexOf(QLatin1Char('>'), tag + 2);
        // A tag that is never closed: the rest is plain text.
        if (close < 0) break;
        result += Template.mid(pos, tag - pos);
        bool ok = false;
        const int column = Template.mid(tag + 2, close - tag - 2).trimmed().toInt(&ok);
        if (ok) result += CellText(column);
        pos = close + 1;
    }
    result += Template.mid(pos);
    return result;
}

// =============================================================================================
// TFooterPanel

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
    FGrid = dynamic_cast<TAdvStringGrid*>(AOwner);
    SetBevelOuter(bvNone);
    SetShowCaption(false);
}

namespace {

// The fixed columns, then the scrolled columns from LeftCol on.
std::vector<int> FooterColumns(TAdvStringGrid* G) {
    std::vector<int> cols;
    const int fixed = std::min(G->FixedCols(), G->ColCount());
    for (int c = 0; c < fixed; ++c) cols.push_back(c);
    for (int c = std::max(G->LeftCol(), fixed); c < G->ColCount(); ++c) cols.push_back(c);
    return cols;
}

} // namespace

int TFooterPanel::FooterWidth() const {
    if (!FGrid) return 0;
    int w = 0;
    for (int c : FooterColumns(FGrid)) w += FGrid->ColWidths(c);
    return w;
}

int TFooterPanel::ColumnAt(int X) const {
    if (!FGrid) return -1;
    if (FGrid->UseRightToLeftAlignment()) X = ClientWidth() - X;
    int x = 0;
    for (int c : FooterColumns(FGrid)) {
        x += FGrid->ColWidths(c);
        if (X < x) return c;
    }
    return -1;
}

TRect TFooterPanel::Mirrored(const TRect& R) const {
    if (!FGrid || !FGrid->UseRightToLeftAlignment()) return R;
    const int w = ClientWidth();
    return TRect(w - R.Right, R.Top, w - R.Left, R.Bottom);
}

void TFooterPanel::Paint() {
    TCanvas* c = Canvas();
    if (!FGrid) {
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
        return;
    }
    SetBiDiMode(FGrid->BiDiMode());
    TFloatingFooter* footer = FGrid->FloatingFooter();
    int painted = 0;
    switch (footer->FooterStyle()) {
        case fsFixedLastRow: painted = PaintFixedLastRow(); break;
        case fsColumnPreview: painted = PaintPreview(false); break;
        case fsCustomPreview: painted = PaintPreview(true); break;
        case fsCustomPaint:
            if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, footer->Column(), c, ClientRect());
            painted = ClientWidth();
            break;
    }
    if (footer->BorderColor() != clNone) {
        c->Pen()->SetColor(footer->BorderColor());
        const TRect line = Mirrored(TRect(0, 0, painted, 1));
        c->MoveTo(line.Left, 0);
        c->LineTo(line.Right, 0);
    }
}

int TFooterPanel::PaintFixedLastRow() {
    TAdvStringGrid* g = FGrid;
    TCanvas* c = Canvas();
    const int width = FooterWidth(), height = ClientHeight();
    c->Brush()->SetColor(g->FloatingFooter()->Color());
    c->FillRect(Mirrored(TRect(0, 0, width, height)));
    c->Brush()->SetColor(g->Color());
    c->FillRect(Mirrored(TRect(width, 0, std::max(width, ClientWidth()), height)));

    const bool vert = g->HasOption(goFixedVertLine), horz = g->HasOption(goFixedHorzLine);
    const TGridLook look = g->Look();
    const bool raisedLook =
        (look == glSoft || look == glKit || look == glXP || look == glVista) && !g->Flat();
    const std::vector<int> cols = FooterColumns(g);
    auto line = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
        c->Pen()->SetColor(Color);
        if (g->UseRightToLeftAlignment()) {
            const int w = ClientWidth();
            X1 = w - X1 - 1;
            X2 = w - X2 - 1;
        }
        c->MoveTo(X1, Y1);
        c->LineTo(X2, Y2);
    };

    // Cell borders.
    int x = 0;
    for (int col : cols) {
        const int w = g->ColWidths(col);
        if (vert && raisedLook) line(clWhite, x, 0, x, height);
        if (horz) line(g->GridLineColor(), x, 0, x + w, 0);
        if (vert) {
            const bool fixed = col < g->FixedCols();
            line(fixed || look == glVista ? g->GridLineColor() : TColor(0x808080), x + w - 1, 0, x + w - 1,
                 height);
        }
        x += w;
    }

    // Cell texts: base cells of the footer row only.
    const int row = g->RowCount() - 1;
    if (row < 0) return x;
    const int top = horz ? 1 : 0;
    int right = 0;
    x = 0;
    for (int col : cols) {
        const int w = g->ColWidths(col);
        const int left = x;
        x += w;
        if (!g->IsBaseCell(col, row)) continue;
        int cellWidth = w;
        const TPoint span = g->CellSpan(col, row);
        for (int s = 1; s <= span.X && col + s < g->ColCount(); ++s) cellWidth += g->ColWidths(col + s);
        TRect r(left, top, left + cellWidth, height);
        if (horz && raisedLook) {
            ++r.Left;
            ++r.Right;
        }
        r = Mirrored(r);
        right = std::max(right, left + cellWidth);

        const bool scrolled = col >= g->FixedCols();
        const int realCol = g->RealColIndex(col);
        if (scrolled) {
            TBrush* brush = c->Brush();
            brush->SetColor(clNone);
            if (g->OnGetCellColor)
                g->OnGetCellColor(g, row, realCol, TGridDrawState{gdFixed}, brush, c->Font());
            if (brush->Color() != clNone) c->FillRect(r);
            if (g->Colors(realCol, row) != clNone) {
                brush->SetColor(g->Colors(realCol, row));
                c->FillRect(r);
            }
        }
        if (scrolled && g->OnFooterPaint)
            g->OnFooterPaint(this, col, c, r);
        else
            g->DrawCellText(c, col, row, r, TGridDrawState{gdFixed});
    }
    return right;
}

void TFooterPanel::PaintPreviewFrame(const TRect& Area) {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(FGrid->FloatingFooter()->Color());
    c->FillRect(Mirrored(Area));
    TRect frame = Mirrored(Area);
    Frame3D(c, frame, clWhite, 0x808080, 1);
    c->Brush()->SetColor(FGrid->Color());
    c->FillRect(Mirrored(TRect(Area.Right, 0, std::max(Area.Right, ClientWidth()), ClientHeight())));
}

int TFooterPanel::PaintPreview(bool Template) {
    TAdvStringGrid* g = FGrid;
    TCanvas* c = Canvas();
    TFloatingFooter* footer = g->FloatingFooter();
    const int width = FooterWidth();
    const TRect area = Mirrored(TRect(0, 0, width, ClientHeight()));
    PaintPreviewFrame(TRect(0, 0, width, ClientHeight()));
    c->Brush()->SetStyle(bsClear);
    if (!Template) {
        // The preview's text is black whatever the selection's text colour.
        const TColor selectionText = g->FSelectionTextColor;
        g->FSelectionTextColor = clBlack;
        try {
            if (g->OnFooterPaint)
                g->OnFooterPaint(this, footer->Column(), c, area);
            else if (footer->Column() >= 0 && footer->Column() < g->ColCount() && g->Row() >= 0)
                g->DrawCellText(c, footer->Column(), g->Row(), area, TGridDrawState{});
        } catch (...) {
            g->FSelectionTextColor = selectionText;
            throw;
        }
        g->FSelectionTextColor = selectionText;
        return width;
    }
    c->Font()->Assign(g->Font());
    if (HasState(csDesigning)) {
        TRect r = area;
        DrawText(c, footer->CustomTemplate(), r, DT_LEFT | DT_NOPREFIX);
        return width;
    }
    const int row = g->Row();
    const String text = ExpandFooterTemplate(footer->CustomTemplate(), [g, row](int Column) {
        return Column >= 0 && row >= 0 ? g->AllCells(Column, row) : String();
    });
    THTMLDrawOptions opt;
    opt.Images = g->GridImages();
    opt.PictureCache = g->ImageCache();
    opt.URLColor = g->URLColor();
    THTMLDrawResult res;
    TRect r = area;
    r.Top += 2;
    DrawHTML(c, text, r, opt, res);
    return width;
}

void TFooterPanel::CreateWnd() {
    TCustomPanel::CreateWnd();
    if (!FGrid) return;
    TFloatingFooter* footer = FGrid->FloatingFooter();
    SetHeight(footer->Visible() ? footer->Height() : 0);
    if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(FGrid);
}

void TFooterPanel::CMHintShow(TMessage& Message) {
    TCMHintShow m(Message);
    THintInfo* info = m.HintInfo();
    const int col = info ? ColumnAt(info->CursorPos.X) : -1;
    if (FGrid && info && col >= 0 && FGrid->OnGridHint)
        FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, info->HintStr);
    FLastHintX = ShowHint() && col >= 0 ? col : -1;
    Message.Result = ShowHint() ? 0 : 1;
}

void TFooterPanel::CMMouseLeave(TMessage& Message) {
    FLastHintX = -1;
    TCustomPanel::Dispatch(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseMove(Shift, X, Y);
    const int col = ColumnAt(X);
    if (ShowHint() && col != FLastHintX && FLastHintX >= 0) {
        // The hint shown is for another column: the next one is asked for this column.
        if (Application) Application->CancelHint();
        FLastHintX = col;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!FGrid) return;
    TAdvStringGrid* g = FGrid;
    if (g->OnClick) g->OnClick(g);
    // Beyond the last column no cell was clicked.
    const int col = ColumnAt(X);
    if (col >= 0 && g->OnClickCell) g->OnClickCell(g, g->RowCount() - 1, col);
}

void TFooterPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_HINTSHOW: CMHintShow(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        default: TCustomPanel::Dispatch(Message);
    }
}

// =============================================================================================
// The grid's side

void TAdvStringGrid::SettingsFooterPanelHeight(int Height) {
    if (FFooterPanel) FFooterPanel->SetHeight(std::max(0, Height));
}

void TAdvStringGrid::SettingsFooterPanelVisible(bool Visible) {
    if (FFooterPanel) FFooterPanel->SetVisible(Visible);
}

void TAdvStringGrid::SettingsFooterPanelShowHint(bool ShowHint) {
    if (FFooterPanel) FFooterPanel->SetShowHint(ShowHint);
}

void TAdvStringGrid::SettingsRepaintFooterPanel() {
    if (FFooterPanel) FFooterPanel->Invalidate();
}

TColumnCalcType TAdvStringGrid::GetColumnCalc(int ACol) {
    const int row = RowCount() - 1;
    if (ACol < 0 || row < 0 || !HasCellProperties(ACol, row)) return acNONE;
    return GetCellProperties(ACol, row)->CalcType();
}

void TAdvStringGrid::SetColumnCalc(int ACol, TColumnCalcType Value) {
    const int row = RowCount() - 1;
    if (ACol < 0 || row < 0) return;
    GetCellProperties(ACol, row)->SetCalcType(Value);
    ColumnValueChanged(ACol, row);
}

void TAdvStringGrid::PlaceFooterPanels() {
    // The footer panel's window sizes the panel for the footer's visibility: it is made at once.
    if (FFooterPanel) {
        FFooterPanel->SetParent(this);
        FFooterPanel->SetVisible(FFloatingFooter->Visible());
    }
    // Visibility first: a hidden search panel gets its window (and its children theirs) when it
    // shows.
    if (FSearchPanel) {
        FSearchPanel->SetVisible(FSearchFooter->Visible());
        FSearchPanel->SetParent(this);
        FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    }
}
