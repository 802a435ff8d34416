// TAdvStringGrid: the one place that decides a cell's brush, gradient colours, font, alignment,
// word wrap and draw state. The order of the steps is the precedence of the colour sources:
// the cell's properties, bands, fixed colours, the look's gradient, the colour events, then the
// selection kinds, disabled text and the row-selection tint.
#include "AdvGrid.h"

#include "CellDraw.h"

#include <cmath>

TColor TAdvStringGrid::BlendColors(TColor Color, TColor Base, int Factor) {
    if (Factor >= 100) return Color;
    if (Factor < 1 || Color == clNone) return Base;
    if (Base == clNone) return Color;
    const TColor c = ColorToRGB(Color), b = ColorToRGB(Base);
    const double f = Factor / 100.0;
    auto mix = [f](int cc, int bc) { return std::min(255, int(std::lround(f * cc + (1 - f) * bc))); };
    const int r = mix(c & 0xFF, b & 0xFF);
    const int g = mix((c >> 8) & 0xFF, (b >> 8) & 0xFF);
    const int bl = mix((c >> 16) & 0xFF, (b >> 16) & 0xFF);
    return TColor(r | (g << 8) | (bl << 16));
}

TColor TAdvStringGrid::BlendSelectionColor(TColor SelColor, TColor CellColor, bool Mixer, int Factor) {
    return Mixer ? BlendColors(SelColor, CellColor, Factor) : SelColor;
}

bool TAdvStringGrid::IsSelected(int ACol, int ARow) {
    if (ARow < FixedRows() || ACol < FixedCols()) return false;
    TMouseActions* ma = MouseActions();
    if (ma->DisjunctCellSelect()) return SelectedCells(ACol, ARow);
    if (ma->DisjunctRowSelect()) return RowSelectFlag(ma->RowSelectPersistent ? RealRowIndex(ARow) : ARow);
    if (ma->DisjunctColSelect()) return ColSelectFlag(ACol);
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

bool TAdvStringGrid::RowSelectFlag(int ARow) const {
    return ARow >= 0 && ARow < FSelectedRowList->Count() && FSelectedRowList->Items(ARow) != nullptr;
}

bool TAdvStringGrid::ColSelectFlag(int ACol) const {
    return ACol >= 0 && ACol < FSelectedColList->Count() && FSelectedColList->Items(ACol) != nullptr;
}

bool TAdvStringGrid::RowDisabled(int ARow) const {
    return ARow >= 0 && ARow < FEnabledRows->Count() && FEnabledRows->Items(ARow) != 0;
}

void TAdvStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA,
                                         TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows();
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    TMouseActions* ma = MouseActions();

    // 1. The font of the cell's kind (printing takes the display fonts until print settings exist).
    AFont->Assign(dataCell ? Font() : FixedFont());

    // 2. Real column and the row the row selection uses.
    const int rc = Remap ? RealColIndex(ACol) : ACol;
    const int selRow =
        (ma->DisjunctRowSelect() && ma->RowSelectPersistent) || UseEnabledRows ? RealRowIndex(ARow) : ARow;

    // 3.
    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    // 4. The cell's own properties.
    bool ownColor = false;
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        // A plain or rotated cell's colour is its own; check boxes, radio buttons and buttons
        // take it without that mark; other graphics paint their own face.
        switch (GetCellType(ACol, ARow)) {
            case ctNone:
            case ctRotated:
            case ctEmpty:
                ABrush->SetColor(p->BrushColor());
                ownColor = p->BrushColor() != clNone;
                break;
            case ctCheckBox:
            case ctDataCheckBox:
            case ctRadio:
            case ctButton:
            case ctRadioButton: ABrush->SetColor(p->BrushColor()); break;
            default: break;
        }
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }

    // 5.
    if (AState.count(gdSelected)) GD = GradientVertical;

    // 6. The default background: the grid's colour, bands, the fixed colour.
    const bool fixedRight = FixedRightCols() > 0 && ACol >= ColCount() - FixedRightCols();
    const bool footer = FixedFooters() > 0 && ARow >= RowCount() - FixedFooters();
    if (ABrush->Color() == clNone) {
        ABrush->SetColor(Color());
        TBands* bands = Bands();
        // With both lengths 0 there is no band to take a colour from.
        if (bands->Active() && (bands->Print == Print || !Print) && dataCell && !fixedRight && !footer &&
            bands->TotalLength() > 0) {
            const int pos = (ARow - FixedRows()) % bands->TotalLength();
            ABrush->SetColor(pos < bands->PrimaryLength() ? bands->PrimaryColor() : bands->SecondaryColor());
        }
        if (ACol < FixedCols() || ARow < FixedRows() || fixedRight || footer) ABrush->SetColor(FixedColor());
    }

    // 7. Fixed cells without a colour of their own.
    if (fixed && !ownColor && !Print) {
        ABrush->SetColor(FixedColor());
        AFont->Assign(FixedFont());
        AState.insert(gdFixed);
    }

    // 8. The look's fixed-cell gradient.
    if (fixed && !ownColor && Look() >= glKit) {
        ABrush->SetColor(KitGradientFrom());
        AColorTo = KitGradientTo();
        AMirrorColor = KitGradientMirrorFrom();
        AMirrorColorTo = KitGradientMirrorTo();
    }

    // 9. The colour dispatcher.
    if (Print)
        GetCellPrintColor(rc, ARow, AState, ABrush, AFont);
    else
        GetCellColor(rc, ARow, AState, ABrush, AFont);

    // 10.
    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, rc, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }

    // 11.
    const TColor unselBrush = ABrush->Color();
    const TColor unselFont = AFont->Color();

    auto selectionColors = [&]() {
        AState = TGridDrawState{gdSelected};
        ABrush->SetColor(SelectionColor());
        AColorTo = SelectionColorTo();
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (SelectionTextColor() != clNone) AFont->SetColor(SelectionTextColor());
    };
    const bool selectable = dataCell && !fixed && Select && !Print && FShowSelection;

    // 12. Disjunct rows; while the mouse drags over rows they show the opposite state.
    if (ma->DisjunctRowSelect() && selectable) {
        const bool inList = RowSelectFlag(selRow);
        if ((inList && !(FMouseDown && ARow == Row())) || (FMouseDown && !inList && AState.count(gdSelected)))
            selectionColors();
        else
            AState.erase(gdSelected);
    }

    // 13. Disjunct columns, the same way.
    if (ma->DisjunctColSelect() && selectable) {
        const bool inList = ColSelectFlag(ACol);
        if ((inList && !(FMouseDown && ACol == Col())) || (FMouseDown && !inList && AState.count(gdSelected)))
            selectionColors();
    }

    // 14. The range selection, blended with the cell's colour when the mixer is on.
    const bool inRange =
        selectable && IsSelected(ACol, ARow) && !ma->DisjunctRowSelect() && !ma->DisjunctColSelect();
    if (inRange || (AState.count(gdSelected) && FMouseDown && FShowSelection)) {
        const TColor cell = ABrush->Color();
        ABrush->SetColor(cell == Color() ? SelectionColor()
                                         : BlendSelectionColor(SelectionColor(), cell, FSelectionColorMixer,
                                                               FSelectionColorMixerFactor));
        AColorTo = SelectionColorTo();
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (SelectionTextColor() != clNone) AFont->SetColor(SelectionTextColor());
        AState.insert(gdSelected);
    }

    // 15. Single selected cells.
    if (ma->DisjunctCellSelect() && FShowSelection) {
        if (SelectedCells(ACol, ARow)) {
            selectionColors();
        } else if (ACol == Col() && ARow == Row()) {
            AState.erase(gdSelected);
            ABrush->SetColor(unselBrush);
            AFont->SetColor(unselFont);
        }
    }

    // 16. Disabled text.
    if (UseDisabledFont && ((UseEnabledRows && RowDisabled(selRow)) || !Enabled()))
        AFont->SetColor(DisabledFontColor);

    // 17. Selected rows other than the current one are tinted.
    if (AState.count(gdSelected) && ARow != Row() && ma->DisjunctRowSelect() && SelectionColorTo() == clNone)
        ABrush->SetColor(ScaleColorPercent(ABrush->Color(), 7));

    // 18, 19.
    GetCellWordWrap(rc, ARow, WW);
    GetCellAlignment(rc, ARow, HA, VA);
}
