// TAdvStringGrid: filtering rows.
//
// Rows that fail the filter are not deleted: one filter pass moves them into the hidden-row
// store as one batch tagged with the filter level, and switching the filter off or removing a
// level puts the batch back. The incremental filter stacks one level per character typed.
#include "AdvGrid.h"
#include "CheckLst.h"
#include "GridUtil.h"
#include "MarkupText.h"

#include <cmath>

namespace {

// FriendlyName and condition of a filter-list entry ("name=condition", or a plain value).
void SplitFilterEntry(const String& Entry, String& FriendlyName, String& Condition) {
    const int eq = Entry.indexOf(u'=');
    FriendlyName = eq >= 0 ? Entry.left(eq) : Entry;
    Condition = eq >= 0 ? Entry.mid(eq + 1) : Entry;
}

} // namespace

// =============================================================================================
// Matching

bool TAdvStringGrid::MatchFilter(int ARow) {
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        TFilterData* item = FFilter->GetItem(i);
        const int col = item->Column();
        const bool inGrid = col >= 0 && col < TotalColCount();
        String text;
        switch (item->Data()) {
            case fcVirtual:
                if (inGrid) text = GetCellEx(col, ARow);
                break;
            case fcNormal:
                if (inGrid) text = GetGridCell(col, ARow);
                break;
            case fcStripHTML:
                if (inGrid) text = HTMLToText(GetCellEx(col, ARow));
                break;
            case fcCalculated:
                if (inGrid) GetCalculatedCell(col, ARow, text);
                break;
            case fcRow:
                for (int c = 0; c < ColCount(); ++c) text += GetCellEx(c, ARow) + QStringLiteral("\r\n");
                break;
        }
        text = Trim(text);
        if (text.contains(QStringLiteral("|\\"))) text = UnpackWideText(text);

        bool match = false;
        if (item->Data() == fcRow) {
            match = UpperCase(text).contains(UpperCase(item->Condition()));
        } else {
            if (!item->Prefix().isEmpty() && text.startsWith(item->Prefix()))
                text.remove(0, item->Prefix().size());
            if (!item->Suffix().isEmpty()) {
                const int at = text.indexOf(item->Suffix());
                if (at >= 0 && at + item->Suffix().size() == text.size()) text.truncate(at);
            }
            if (item->Condition().isEmpty()) {
                match = true;
            } else if (item->Method() == fmLiteral) {
                match = item->Condition() == text;
            } else {
                try {
                    match = MatchFilterCondition(item->Condition(), text, item->CaseSensitive());
                } catch (const std::exception&) {
                    match = false;
                }
            }
        }

        bool stop = false;
        switch (item->Operation()) {
            case foSHORT:
                result = match;
                stop = !match;
                break;
            case foNONE: result = match; break;
            case foAND: result = result && match; break;
            case foXOR: result = result != match; break;
            case foOR: result = result || match; break;
        }
        if (stop) break;
    }
    if (OnCustomFilter) OnCustomFilter(this, ARow, result);
    return result;
}

// =============================================================================================
// Applying and removing

void TAdvStringGrid::ApplyFilter() {
    FFilterFixedRows = FixedRows();
    const int first = FixedRows();
    const int end = RowCount() - FixedFooters();
    const int total = end - first;
    int n = 0;
    TOwned<TIntList> failing(new TIntList(0, 0));
    auto progress = [&] {
        if (OnFilterProgress && total > 0) OnFilterProgress(this, int(std::lround(n * 100.0 / total)));
    };
    for (int r = first; r < end; ++r) {
        if (FilterNormalCellsOnly && (IsNode(r) || IsSummary(r))) continue;
        if (!MatchFilter(r)) failing->Add(r);
        ++n;
        progress();
    }
    // One batch per pass, also an empty one, so that every pass is one level.
    if (failing->Count() > 0)
        HideRowList(failing.get());
    else
        ++FFilterLevel;
    progress();
}

void TAdvStringGrid::SetFilterActive(bool Value) {
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount()) FocusCell(FixedCols(), FixedRows());
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else {
            UnHideRowList();
            SetFixedRows(FFilterFixedRows);
            if (FSelHidden) UnHideSelection();
        }
        SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TAdvStringGrid::RemoveLastFilter() {
    if (FFilterLevel <= 0) return false;
    UnHideRowList();
    SetFixedRows(FFilterFixedRows);
    if (FSelHidden) UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    // True while more than one level is left.
    return FFilterLevel > 1;
}

void TAdvStringGrid::RemoveAllFilters() {
    if (FFilterLevel != 0) {
        while (FFilterLevel > 0) RemoveLastFilter();
    } else {
        FFilter->Clear();
    }
}

void TAdvStringGrid::FilterRow(int ARow) {
    if (!MatchFilter(ARow)) HideRow(RealRowIndex(ARow));
}

// =============================================================================================
// The incremental filter

void TAdvStringGrid::NarrowDown(const String& ACondition, int AColumn) {
    const int L = ACondition.size();
    const int P = FLastFilter.size();
    FFixedRowAlways = true;
    auto filterBy = [&] {
        FFilter->Clear();
        TFilterData* item = FFilter->Add();
        if (AColumn == -1) {
            item->SetData(fcRow);
            item->SetCondition(ACondition);
        } else {
            item->SetData(fcNormal);
            String cond = QStringLiteral("*") + ACondition + QStringLiteral("*");
            if (cond.contains(u' ')) cond = QStringLiteral("\"") + cond + QStringLiteral("\"");
            item->SetCondition(cond);
        }
        item->SetCaseSensitive(false);
        item->SetColumn(AColumn);
        ApplyFilter();
    };
    if (P > 0 && L == P + 1 && ACondition.startsWith(FLastFilter)) {
        filterBy();
    } else if (P == L + 1 && L > 0 && FLastFilter.startsWith(ACondition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (L > 0) filterBy();
    }
    FLastFilter = ACondition;
    if (ACondition.isEmpty()) {
        // Every batch goes: rows hidden by other means than this filter stay hidden, their
        // records are only dropped from the level bookkeeping.
        while (FFilterLevel > 0) RemoveLastFilter();
    }
}

// =============================================================================================
// The filter lists

void TAdvStringGrid::FilterSelect(TObject* Sender, int ItemIndex) {
    if (CanFocus()) SetFocus();
    auto* list = dynamic_cast<TCustomListBox*>(Sender);
    const int items = list ? list->Count() : FFilterList->Count();
    const int col = FFilterCol;
    if (col >= 0 && col < TotalColCount() && ItemIndex >= 0 && ItemIndex < items) {
        GetColumnFilter(col);
        if (ItemIndex < FFilterList->Count()) {
            String friendly, condition;
            SplitFilterEntry(FFilterList->Strings(ItemIndex), friendly, condition);
            if (AutoFilterUpdate) SetFilterActive(false);
            if (condition == FilterDropDownClear) condition.clear();
            if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, friendly, condition);
            if (!condition.isEmpty())
                FFilter->GetColFilter(col)->SetCondition(condition);
            else
                FFilter->RemoveColumnFilter(col);
            if (AutoFilterUpdate) {
                FFixedRowAlways = true;
                SetFilterActive(true);
                if (RowCount() > FixedRows()) SetRow(FixedRows());
                FilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TAdvStringGrid::FilterCheck(TObject* Sender, int) {
    const int col = FFilterCol;
    if (col < 0 || col >= TotalColCount()) return;
    auto* check = dynamic_cast<TCheckListBox*>(Sender);
    GetColumnFilter(col);
    if (AutoFilterUpdate) SetFilterActive(false);
    FFilter->Clear();
    bool first = true;
    const int n = check ? std::min(check->Count(), FFilterList->Count()) : 0;
    for (int i = 0; i < n; ++i) {
        if (!check->Checked(i)) continue;
        String friendly, condition;
        SplitFilterEntry(FFilterList->Strings(i), friendly, condition);
        if (condition == FilterDropDownClear) condition.clear();
        if (OnFilterCheck) OnFilterCheck(this, col, i, friendly, condition, check);
        TFilterData* item = FFilter->Add();
        item->SetCondition(condition);
        item->SetColumn(col);
        item->SetOperation(first ? foNONE : foOR);
        first = false;
    }
    SetFilterActive(true);
    if (check) check->Invalidate();
}

void TAdvStringGrid::FilterDone() {
    if (OnFilterDone) OnFilterDone(this);
}

void TAdvStringGrid::SetFilterDropDownRow(int Value) {
    if (Value >= FixedRows()) return;
    FFilterDropDownRow = Value;
    Invalidate();
}

void TAdvStringGrid::SetFilterDropDownAuto(bool Value) {
    FFilterDropDownAuto = Value;
    Invalidate();
}

// The filter drop-down's look changed.
void TAdvStringGrid::FilterDropDownChanged(TObject*) {
    Invalidate();
}
