// TAdvStringGrid: the per-cell decisions an application may change. Each dispatcher applies the
// grid's own rule and then fires its event with the answer, so a handler has the last word; the
// column grid answers several of them from its columns. The relays of the date editors and the
// cell button are here too.
#include "AdvGrid.h"

#include "ComCtrls.h"
#include "Forms.h"
#include "GridUtil.h"

#include <QCursor>

void TAdvStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit) {
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TAdvStringGrid::SearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction) {
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TAdvStringGrid::ButtonClick(int ACol, int ARow) {
    if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TAdvStringGrid::ExpandClick(int ACol, int ARow, bool Expanded) {
    if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TAdvStringGrid::ComboCloseUp(int ARow, int ACol) {
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TAdvStringGrid::ComboDropDown(int ARow, int ACol) {
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TAdvStringGrid::GetCellCursor(int ACol, int ARow, int X, int Y) {
    if (!OnGetCellCursor) return;
    TCursor cursor = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    ::SetCursor(Screen->Cursors(cursor));
}

void TAdvStringGrid::GridHint(int ACol, int ARow, String& hintstr, String& widehint) {
    if (OnGridHint) OnGridHint(this, ARow, ACol, hintstr);
    if (OnGridWideHint) OnGridWideHint(this, ARow, ACol, widehint);
    if (!widehint.isEmpty()) hintstr = PackWideText(widehint);
}

void TAdvStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (FActiveCellShow) {
        // The last fixed column of the current row and the last fixed row of the current column.
        const int d = DisplColIndex(ACol);
        const bool rowHeader = ARow == Row() && d == FixedCols() - 1 && FixedCols() > 0;
        const bool colHeader = d == Col() && ARow == FixedRows() - 1 && FixedRows() > 0;
        if (rowHeader || colHeader) {
            AFont->Assign(ActiveCellFont());
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        // Cells whose graphic paints its own face keep the grid's brush.
        switch (GetCellType(ACol, ARow)) {
            case ctIcon:
            case ctNone:
            case ctImageList:
            case ctEmpty:
            case ctImages:
            case ctComment:
                if (p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
                break;
            default: break;
        }
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    TGrouping* g = Grouping();
    if (g->HeaderUnderline && ACol > 0 && IsNode(ARow)) {
        Borders = {cbBottom};
        APen->SetColor(g->HeaderLineColor);
        APen->SetWidth(g->HeaderLineWidth);
    }
    if (g->SummaryLine && ACol > 0 && IsSummary(ARow)) {
        Borders = {cbTop};
        APen->SetColor(g->SummaryLineColor);
        APen->SetWidth(g->SummaryLineWidth);
    }
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) HAlign = taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TAdvStringGrid::GetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix) {
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TAdvStringGrid::DoGetEditorType(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TAdvStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TAdvStringGrid::HasNoEditor(int ACol, int ARow) {
    if (!OnGetEditorType) return false;
    TEditorType editor = edNormal;
    OnGetEditorType(this, ACol, ARow, editor);
    return editor == edNone;
}

void TAdvStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed) {
    if (IsFixed) return;
    if (FFixedRowAlways && ARow <= FFixedRowsMin && RowCount() == FFixedRowsMin)
        IsFixed = true;
    else if (FFixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin)
        IsFixed = true;
    else if (ACol < FixedCols() || ARow < FixedRows())
        IsFixed = true;
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool TAdvStringGrid::IsFixed(int ACol, int ARow) {
    bool fixed = false;
    IsFixedCell(ACol, ARow, fixed);
    return fixed;
}

void TAdvStringGrid::QueryCanEdit(int ACol, int ARow, bool& CanEdit) {
    const TPoint b = BaseCell(ACol, ARow);
    if (HasCellProperties(b.X, b.Y)) {
        if (CanEdit) CanEdit = !GetCellProperties(b.X, b.Y)->ReadOnly();
        if (!HasOption(goEditing) && !FEditDisable && !MouseActions()->RangeSelectAndEdit) CanEdit = false;
    }
    if (b.X < ColCount() + NumHiddenColumns())
        CanEditCell(b.X, b.Y, CanEdit);
    else
        CanEdit = true;
}

void TAdvStringGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TAdvStringGrid::GetCellWordWrap(int ACol, int ARow, bool& WordWrap) {
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TAdvStringGrid::HasComboBox(int ACol, int ARow) {
    if (OnHasComboBox) {
        bool result = false;
        OnHasComboBox(this, ACol, ARow, result);
        return result;
    }
    if (ControlLook()->DropDownAlwaysVisible()) {
        TEditorType editor = DefaultEditor;
        GetCellEditor(ACol, ARow, editor);
        return editor == edComboEdit || editor == edComboList;
    }
    return false;
}

bool TAdvStringGrid::HasSpinEdit(int ACol, int ARow) {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (OnHasSpinEdit) {
        bool result = false;
        OnHasSpinEdit(this, ACol, ARow, result);
        return result;
    }
    if (ControlLook()->SpinButtonsAlwaysVisible()) {
        TEditorType editor = DefaultEditor;
        DoGetEditorType(ACol, ARow, editor);
        return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit ||
               editor == edDateSpinEdit;
    }
    return false;
}

void TAdvStringGrid::GetCheckTrue(int ACol, int ARow, String& Value) {
    Value = CheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TAdvStringGrid::GetCheckFalse(int ACol, int ARow, String& Value) {
    Value = CheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

bool TAdvStringGrid::GetColumnFilter(int ACol) {
    TStringList* list = FilterList();
    list->Clear();
    if (FFilterDropDownAuto && (ACol >= FixedCols() || FilterDropDownColumns == fdAll)) {
        // A value with a blank is listed with its quoted form, which the filter reads whole.
        auto add = [list](const String& S) {
            if (S.contains(u' '))
                list->Add(S + QStringLiteral("=\"") + S + QStringLiteral("\""));
            else
                list->Add(S);
        };
        list->SetDuplicates(dupIgnore);
        list->SetSorted(true);
        for (int r = FixedRows(); r < RowCount() - FixedFooters(); ++r) add(GetCellEx(ACol, r).trimmed());
        if (!FilterIncremental) {
            TGridItems* items = GridItems();
            for (int i = 0; i < items->Count(); ++i) {
                TStrings* texts = items->Items(i)->Items();
                add(ACol < texts->Count() ? texts->Strings(ACol) : String());
            }
        }
        list->SetSorted(false);
        if (!FilterDropDownClear.isEmpty()) list->Insert(0, FilterDropDownClear);
    }
    if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, list);
    return list->Count() > 0;
}

// ---------------------------------------------------------------------------------------------
// Default properties of new cell properties

void TAdvStringGrid::GetDefaultVisualProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                           TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA,
                                           TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    // The cell store puts the new properties into the slot before it asks; they hold nothing of
    // their own yet, so the rules run as for a cell without them (else the new properties would
    // take their own neutral alignment instead of the grid's default and the number rule).
    TObject* making = GetGridObject(ACol, ARow);
    SetObjects(ACol, ARow, nullptr);
    TGridDrawState state;
    try {
        GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor,
                            AMirrorColorTo, AFont, HA, VA, WW, GD);
    } catch (...) {
        SetObjects(ACol, ARow, making);
        throw;
    }
    SetObjects(ACol, ARow, making);
    // Such cells take their background from the painting rules, not from what is stored.
    const TBackGroundDisplay bd = BackGround()->Display();
    if (IsFixed(ACol, ARow) || Bands()->Active() || bd == bdGradientHorz || bd == bdGradientVert ||
        state.count(gdSelected)) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

// ---------------------------------------------------------------------------------------------
// Relays

void TAdvStringGrid::DateAndTimePickerTimeChange(TObject* Sender) {
    auto* picker = dynamic_cast<TDateTimePicker*>(Sender);
    if (picker && OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), picker->DateTime());
}

void TAdvStringGrid::DatePickerChange(TObject* Sender) {
    auto* picker = dynamic_cast<TDateTimePicker*>(Sender);
    if (!picker || !OnEditChange) return;
    const String text = picker->Kind() == dtkTime ? TimeToStr(picker->Time()) : DateToStr(picker->Date());
    OnEditChange(this, Col(), Row(), text);
}

void TAdvStringGrid::DatePickerCloseUp(TObject*) {
    if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
    if (MouseActions()->DirectDateClose) HideEditor();
}

void TAdvStringGrid::DatePickerDropDown(TObject*) {
    if (OnDatePickerDropDown) OnDatePickerDropDown(this, Row(), Col());
}

void TAdvStringGrid::GridButtonClick(TObject*) {
    if (OnButtonClick) OnButtonClick(this, Col(), Row());
}
