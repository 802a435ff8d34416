// TAdvStringGrid: sorting rows.
//
// Rows are ordered in place by a quicksort that moves whole rows (hidden columns included)
// through SortSwapRows. The pivot row is copied into a scratch row appended after the data so
// that its value stays fixed while rows move; the whole-grid sorts append three scratch rows and
// take them away again, also when an event handler raises during the sort. Each worker recurses
// into the smaller part and loops on the larger one, so the recursion depth stays logarithmic
// whatever the order of the rows.
#include "AdvGrid.h"
#include "GridUtil.h"
#include "MarkupText.h"

#include <cmath>
#include <typeinfo>
#include <vector>

namespace {

int Sign(int Value) {
    return Value > 0 ? 1 : (Value < 0 ? -1 : 0);
}

template <typename T> int CompareValues(T A, T B) {
    return A > B ? 1 : (A < B ? -1 : 0);
}

bool IsDigitAt(const String& S, int Index) {
    return Index >= 0 && Index < S.size() && S[Index] >= u'0' && S[Index] <= u'9';
}

// The last text each side of a comparison was read as a number: a sort compares its pivot with
// every row of the range, so one side repeats its text comparison after comparison. Keyed on the
// text and everything else the result depends on.
struct TNumberMemo {
    bool Valid = false;
    String Text, Prefix, Suffix;
    bool Financial = false;
    Char Decimal, Thousand;
    double Value = 0;
    bool Ok = false, Blank = false;
};
struct TKindMemo {
    bool Valid = false;
    String Text;
    Char Decimal, Thousand;
    bool Number = false;
};
TNumberMemo NumberMemo[2];
TKindMemo KindMemo[2];

bool IsNumberTextNow(const String& S) {
    const int k = NumericTextType(S);
    return k == ntkInteger || k == ntkFloat || k == ntkScientific;
}

// Side 0 for the first text of a comparison, 1 for the second.
bool IsNumberText(const String& S, int Side = 0) {
    TKindMemo& m = KindMemo[Side];
    if (m.Valid && m.Decimal == FormatSettings.DecimalSeparator &&
        m.Thousand == FormatSettings.ThousandSeparator && m.Text == S)
        return m.Number;
    m.Number = IsNumberTextNow(S);
    m.Text = S;
    m.Decimal = FormatSettings.DecimalSeparator;
    m.Thousand = FormatSettings.ThousandSeparator;
    m.Valid = true;
    return m.Number;
}

// The style the first text suggests, for a column sorted automatically. Check boxes are
// recognised by the caller.
TSortStyle DetectTextStyle(const String& S1, const String& S2, bool IgnoreCase) {
    if (IsNumberText(S1)) return ssNumeric;
    const TSortStyle alpha = IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
    const int p = S1.indexOf(FormatSettings.DateSeparator) + 1;
    if (p >= 2 && p <= 3 && p < S1.size()) {
        if (IsDigitAt(S1, p - 2) && IsDigitAt(S1, p) && S2.contains(FormatSettings.DateSeparator))
            return S1.contains(FormatSettings.TimeSeparator) ? ssDateTime : ssDate;
        return alpha;
    }
    const int q = S1.indexOf(FormatSettings.TimeSeparator) + 1;
    if (q >= 2 && q <= 3 && q < S1.size() && IsDigitAt(S1, q - 2) && IsDigitAt(S1, q) &&
        S2.contains(FormatSettings.TimeSeparator))
        return ssTime;
    return alpha;
}

// The first occurrence of Part removed (anywhere in the text).
void RemoveFirst(String& S, const String& Part) {
    if (Part.isEmpty()) return;
    const int at = S.indexOf(Part);
    if (at >= 0) S.remove(at, Part.size());
}

// A number text as a value: the first prefix and suffix removed, thousand separators removed for
// financial columns, the decimal separator made ".". Ok is False for a text that does not
// convert; an empty text converts to 0.
double NumberValue(String S, const String& Prefix, const String& Suffix, bool Financial, bool& Ok,
                   bool& Blank) {
    RemoveFirst(S, Prefix);
    RemoveFirst(S, Suffix);
    if (Financial) S.remove(FormatSettings.ThousandSeparator);
    if (FormatSettings.DecimalSeparator != u'.') {
        const int at = S.indexOf(FormatSettings.DecimalSeparator);
        if (at >= 0) S[at] = u'.';
    }
    Blank = S.isEmpty();
    if (Blank) {
        Ok = true;
        return 0;
    }
    // Plain integers (the common case) are read directly; everything else goes through the
    // standard conversion.
    {
        int k = 0;
        const int n = S.size();
        while (k < n && S[k] == u' ') ++k;
        bool negative = false;
        if (k < n && (S[k] == u'-' || S[k] == u'+')) negative = S[k++] == u'-';
        const int digits = n - k;
        if (digits > 0 && digits <= 15) {
            long long value = 0;
            bool plain = true;
            for (int i = k; i < n && plain; ++i) {
                const char16_t ch = S[i].unicode();
                plain = ch >= u'0' && ch <= u'9';
                value = value * 10 + (ch - u'0');
            }
            if (plain) {
                Ok = true;
                return negative ? -double(value) : double(value);
            }
        }
    }
    static const TFormatSettings point = TFormatSettings::Invariant();
    double v = 0;
    Ok = TryStrToFloat(S, v, point);
    return Ok ? v : 0;
}

double MemoNumberValue(int Side, const String& S, const String& Prefix, const String& Suffix, bool Financial,
                       bool& Ok, bool& Blank) {
    TNumberMemo& m = NumberMemo[Side];
    if (m.Valid && m.Financial == Financial && m.Decimal == FormatSettings.DecimalSeparator &&
        m.Thousand == FormatSettings.ThousandSeparator && m.Text == S && m.Prefix == Prefix &&
        m.Suffix == Suffix) {
        Ok = m.Ok;
        Blank = m.Blank;
        return m.Value;
    }
    m.Value = NumberValue(S, Prefix, Suffix, Financial, m.Ok, m.Blank);
    m.Text = S;
    m.Prefix = Prefix;
    m.Suffix = Suffix;
    m.Financial = Financial;
    m.Decimal = FormatSettings.DecimalSeparator;
    m.Thousand = FormatSettings.ThousandSeparator;
    m.Valid = true;
    Ok = m.Ok;
    Blank = m.Blank;
    return m.Value;
}

double DateTimeValue(const String& S) {
    TDateTime v = 0;
    return !S.isEmpty() && TryStrToDateTime(S, v) ? double(v) : 0;
}

double TimeValue(const String& S) {
    TDateTime v = 0;
    return TryStrToTime(S, v) ? double(v) : 0;
}

double ShortDateValue(const String& S, bool EU) {
    try {
        return double(EU ? ParseDateEU(S) : ParseDateUS(S));
    } catch (const EConvertError&) {
        return 0;
    }
}

} // namespace

// =============================================================================================
// The sort-column keys of one sort. When nothing can observe the comparisons (no compare, format
// or display-text handler, no links or group counts made of the text, no merged cells read
// through virtual cells, no check boxes in the column, the grid's own cell reading and style),
// every row's text of the sort column is read once, with its number value and upper-case form,
// and the comparisons of the first column use these keys instead of reading both cells again.
// The keys move with their rows: a swap exchanges them, the pivot copy copies them. Anything the
// keys do not decide (dates, times) goes through the full comparison, so the results are those
// of CompareRowCells.

namespace {

struct TSortKey {
    String Text, Upper;
    double Value = 0;
    bool Number = false, Ok = false, Blank = false;
};

struct TSortKeys {
    const TAdvStringGrid* Grid = nullptr;
    int Col = -1;
    bool Auto = false, IgnoreCase = false;
    // Rows First to First + Rows.size() - 2, then the pivot's scratch row.
    int First = 0, Scratch = -1;
    std::vector<TSortKey> Rows;
    TSortKey& At(int Row) { return Rows[Row == Scratch ? Rows.size() - 1 : size_t(Row - First)]; }
    const TSortKey& At(int Row) const { return Rows[Row == Scratch ? Rows.size() - 1 : size_t(Row - First)]; }
};

TSortKeys* ActiveKeys = nullptr;

TSortKeys* KeysFor(const TAdvStringGrid* G, int ACol) {
    return ActiveKeys && ActiveKeys->Grid == G && ActiveKeys->Col == ACol ? ActiveKeys : nullptr;
}

bool IsCheckType(TCellType ct) {
    return ct == ctCheckBox || ct == ctDataCheckBox || ct == ctVirtCheckBox || ct == ctRowCheckBox;
}

// With IgnoreBlanks an empty text goes first or last whatever the comparison said.
int BlankOrder(TSortSettings* SS, bool Blank1, bool Blank2, TSortDirection Direction, int Res) {
    if (!SS->IgnoreBlanks() || Blank1 == Blank2 || (Direction != sdAscending && Direction != sdDescending))
        return Res;
    const bool first = SS->BlankPos() == blFirst;
    // Ascending: an empty first text sorts before (-1) with blFirst, after (1) with blLast.
    const int r = Blank1 ? (first ? -1 : 1) : (first ? 1 : -1);
    return Direction == sdDescending ? -r : r;
}

// One comparison of the sort column from the keys, as CompareRowCells gives it.
int CompareSortKeys(TAdvStringGrid* G, const TSortKeys& Keys, int ACol, int ARow1, TSortDirection Direction,
                    int ARow2) {
    const TSortKey& k1 = Keys.At(ARow1);
    const TSortKey& k2 = Keys.At(ARow2);
    TSortStyle style = Keys.Auto ? ssAutomatic : (Keys.IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
    if (style == ssAutomatic)
        style = k1.Number ? ssNumeric : DetectTextStyle(k1.Text, k2.Text, Keys.IgnoreCase);
    int res = 1;
    bool blank1 = k1.Text.isEmpty(), blank2 = k2.Text.isEmpty();
    switch (style) {
        case ssAlphabetic: res = Sign(CompareStr(k1.Text, k2.Text)); break;
        case ssAlphaNoCase: res = Sign(CompareStr(k1.Upper, k2.Upper)); break;
        case ssNumeric:
            blank1 = k1.Blank;
            blank2 = k2.Blank;
            res = !k1.Ok && !k2.Ok ? 0 : CompareValues(k1.Value, k2.Value);
            break;
        default: return G->CompareRowCells(ACol, ARow1, Direction, ARow2);
    }
    ++G->Compares;
    return BlankOrder(G->SortSettings(), blank1, blank2, Direction, res);
}

// Reads the keys of column ACol for the rows Left to Right, the only ones a range sort compares
// besides the pivot's scratch row, which gets its key with the pivot copy. False when a check box in
// the column makes the style depend on the cell's graphic rather than its text, or when virtual
// cells read a merged cell's text from another row.
bool BuildSortKeys(TAdvStringGrid* G, int ACol, bool Virtual, int Left, int Right, TSortKeys& Keys) {
    TSortSettings* ss = G->SortSettings();
    Keys.Grid = G;
    Keys.Col = ACol;
    Keys.Auto = ss->AutoFormat();
    Keys.IgnoreCase = ss->IgnoreCase();
    Keys.First = Left;
    Keys.Scratch = G->RowCount() - 2;
    Keys.Rows.resize(size_t(Right - Left + 2));
    for (int r = Left; r <= Right; ++r) {
        TSortKey& k = Keys.At(r);
        if (Virtual && G->BaseCell(ACol, r) != TPoint(ACol, r)) return false;
        k.Text = G->Cells(ACol, r);
        if (Keys.IgnoreCase) k.Upper = UpperCase(k.Text);
        if (Keys.Auto) {
            if (IsCheckType(G->GetCellType(ACol, r))) return false;
            k.Number = IsNumberTextNow(k.Text);
            k.Value = NumberValue(k.Text, String(), String(), false, k.Ok, k.Blank);
        }
    }
    return true;
}

// Puts back the keys of the sort that was running before (none, mostly), also on an exception.
class TKeysScope {
public:
    TKeysScope() : FOuter(ActiveKeys) {}
    TKeysScope(const TKeysScope&) = delete;
    TKeysScope& operator=(const TKeysScope&) = delete;
    ~TKeysScope() { ActiveKeys = FOuter; }

private:
    TSortKeys* FOuter;
};

} // namespace

// =============================================================================================
// The frame of a whole-grid sort: three scratch rows after the data, column 0 kept in place with
// NormalCellsOnly, the update bracket, and the floating footer out of the way. Leave() takes it
// all back; the destructor does so when a sort ends by an exception, then the exception goes on.

class TSortFrame {
public:
    TSortFrame(TAdvStringGrid* AGrid, bool HideFooter) : G(AGrid), FHideFooter(HideFooter) {}
    TSortFrame(const TSortFrame&) = delete;
    TSortFrame& operator=(const TSortFrame&) = delete;
    ~TSortFrame() {
        if (FEntered && !FLeft) {
            try {
                Leave(true);
            } catch (...) {
            }
        }
    }

    // Column 0, the top row, the update lock, the footer, the scratch rows.
    void Enter(bool SaveColumn0) {
        FEntered = true;
        FWhole = true;
        FN = G->RowCount();
        if (SaveColumn0 && G->FSortSettings->NormalCellsOnly() && G->FixedCols() > 0) {
            FCol0 = true;
            FCol0Texts.resize(size_t(FN));
            FCol0Objects.resize(size_t(FN));
            for (int r = 0; r < FN; ++r) {
                FCol0Texts[size_t(r)] = G->Cells(0, r);
                FCol0Objects[size_t(r)] = G->Objects(0, r);
            }
        }
        FTopRow = G->TopRow();
        G->BeginUpdate();
        FLocked = true;
        FFooterVisible = G->FFloatingFooter->Visible();
        FFixedFooters = G->FixedFooters();
        if (FHideFooter && FFooterVisible) G->FFloatingFooter->SetVisible(false);
        G->SetRowCountInPlace(FN + 3);
        FScratch = true;
        // Rows beyond the data may hold stale texts: the scratch rows start empty.
        for (int r = FN; r < FN + 3; ++r) G->BlankStoredRow(r);
        G->FNormalRowCount = FN;
    }

    // Only the scratch rows (the workers run by themselves).
    void EnterRows() {
        FEntered = true;
        FN = G->RowCount();
        G->SetRowCountInPlace(FN + 3);
        FScratch = true;
        for (int r = FN; r < FN + 3; ++r) G->BlankStoredRow(r);
        G->FNormalRowCount = FN;
    }

    int N() const { return FN; }
    int FooterRows() const { return FFixedFooters; }
    int TopRow() const { return FTopRow; }

    // Empties the scratch rows (their cell objects belong to data rows) and gives back the
    // row count.
    void DropScratchRows() {
        if (!FScratch) return;
        FScratch = false;
        for (int r = FN; r < G->RowCount() && r < FN + 3; ++r) G->BlankStoredRow(r);
        G->SetRowCountInPlace(FN);
        G->FNormalRowCount = FN;
    }

    void Leave(bool Failed) {
        FLeft = true;
        DropScratchRows();
        if (FCol0) {
            for (int r = 0; r < FN && r < G->RowCount(); ++r) {
                G->SetCells(0, r, FCol0Texts[size_t(r)]);
                G->SetObjects(0, r, FCol0Objects[size_t(r)]);
            }
            FCol0 = false;
        }
        if (FWhole && (Failed || G->FNavigation->KeepScrollOnSort)) G->SetTopRow(FTopRow);
        if (FWhole && FHideFooter) {
            if (G->FFloatingFooter->Visible() != FFooterVisible)
                G->FFloatingFooter->SetVisible(FFooterVisible);
            if (G->FixedFooters() != FFixedFooters) G->SetFixedFooters(FFixedFooters);
        }
        if (FLocked) {
            FLocked = false;
            G->EndUpdate();
        }
    }

private:
    TAdvStringGrid* G;
    bool FHideFooter;
    bool FEntered = false;
    bool FWhole = false;
    bool FLeft = false;
    bool FLocked = false;
    bool FScratch = false;
    bool FCol0 = false;
    int FN = 0;
    int FTopRow = 0;
    bool FFooterVisible = false;
    int FFixedFooters = 0;
    std::vector<String> FCol0Texts;
    std::vector<TObject*> FCol0Objects;
};

// =============================================================================================
// Comparison

int TAdvStringGrid::CompareRowCells(int ACol, int ARow1, TSortDirection Direction, int ARow2) {
    ++Compares;
    // A column outside the grid (a key or setting that names none) has nothing to compare.
    if (ACol < 0 || ACol >= TotalColCount()) return 0;
    TSortSettings* ss = FSortSettings.get();
    TSortStyle style = ss->AutoFormat() ? ssAutomatic : (ss->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    String prefix, suffix;
    GetFormat(ACol, style, prefix, suffix);

    String s1, s2;
    if (ss->SortOnVirtualCells()) {
        s1 = GetCellEx(ACol, ARow1);
        s2 = GetCellEx(ACol, ARow2);
    } else {
        s1 = GetGridCell(ACol, ARow1);
        s2 = GetGridCell(ACol, ARow2);
    }

    if (style == ssAutomatic) {
        const TCellType ct = GetCellType(ACol, ARow1);
        if (ct == ctCheckBox || ct == ctDataCheckBox || ct == ctVirtCheckBox || ct == ctRowCheckBox)
            style = ssCheckBox;
        else
            style = DetectTextStyle(s1, s2, ss->IgnoreCase());
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        if (IsNumberText(s1, 0) && IsNumberText(s2, 1))
            style = ssNumeric;
        else
            style = style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
    }

    int res = 1;
    bool blank1 = s1.isEmpty(), blank2 = s2.isEmpty();
    switch (style) {
        case ssAlphabetic:
        case ssAlphaCase: res = Sign(CompareStr(s1, s2)); break;
        case ssAlphaNoCase: {
            const String u1 = UpperCase(s1), u2 = UpperCase(s2);
            res = Sign(CompareStr(u1, u2));
            break;
        }
        case ssHTML: {
            const String h1 = HTMLToText(s1), h2 = HTMLToText(s2);
            blank1 = h1.isEmpty();
            blank2 = h2.isEmpty();
            res = Sign(CompareStr(h1, h2));
            break;
        }
        case ssAnsiAlphaCase: res = Sign(AnsiCompareStr(s1, s2)); break;
        case ssAnsiAlphaNoCase: res = Sign(AnsiCompareText(s1, s2)); break;
        case ssNumeric:
        case ssFinancial: {
            bool ok1 = false, ok2 = false;
            const double v1 = MemoNumberValue(0, s1, prefix, suffix, style == ssFinancial, ok1, blank1);
            const double v2 = MemoNumberValue(1, s2, prefix, suffix, style == ssFinancial, ok2, blank2);
            res = !ok1 && !ok2 ? 0 : CompareValues(v1, v2);
            break;
        }
        case ssDate:
        case ssDateTime: res = CompareValues(DateTimeValue(s1), DateTimeValue(s2)); break;
        case ssTime: res = CompareValues(TimeValue(s1), TimeValue(s2)); break;
        case ssShortDateEU: res = CompareValues(ShortDateValue(s1, true), ShortDateValue(s2, true)); break;
        case ssShortDateUS: res = CompareValues(ShortDateValue(s1, false), ShortDateValue(s2, false)); break;
        case ssCustom:
            res = 0;
            if (OnCustomCompare) OnCustomCompare(this, s1, s2, res);
            break;
        case ssRaw:
            res = 0;
            if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, res);
            break;
        case ssImages: res = CompareValues(GetCellImageRef(ACol, ARow1), GetCellImageRef(ACol, ARow2)); break;
        case ssCheckBox: {
            bool c1 = false, c2 = false;
            GetCheckBoxState(ACol, ARow1, c1);
            GetCheckBoxState(ACol, ARow2, c2);
            res = c1 && !c2 ? 1 : (c1 == c2 ? 0 : -1);
            break;
        }
        default: break;
    }

    return BlankOrder(ss, blank1, blank2, Direction, res);
}

int TAdvStringGrid::CompareRowsFull(int ACol, int ARow1, int ARow2) {
    // Ties go to the columns on the right, up to the last one (hidden columns included).
    const int last = TotalColCount() - 1;
    const TSortDirection dir = FSortSettings->Direction();
    const bool full = FSortSettings->Full();
    TSortKeys* keys = KeysFor(this, ACol);
    for (int c = ACol;; ++c) {
        int res = 0;
        if (IsIgnoredColumn(c))
            res = 0;
        else if (keys && c == ACol)
            res = CompareSortKeys(this, *keys, ACol, ARow1, dir, ARow2);
        else
            res = CompareRowCells(c, ARow1, dir, ARow2);
        if (res != 0 || !full || c >= last) return res;
    }
}

int TAdvStringGrid::CompareRowsIndexed(int KeyIndex, int ARow1, int ARow2) {
    const int count = FSortIndexes->Count();
    for (int k = KeyIndex; k < count; ++k) {
        const int key = FSortIndexes->Items(k);
        const int col = key & 0x7FFFFFFF;
        const bool descending = (unsigned(key) & 0x80000000u) != 0;
        int res = IsIgnoredColumn(col)
                      ? 0
                      : CompareRowCells(col, ARow1, descending ? sdDescending : sdAscending, ARow2);
        if (res == 0 && FSortSettings->Full() && k < count - 1) continue;
        if (descending) res = -res;
        return res;
    }
    return 0;
}

// =============================================================================================
// The workers

namespace {

// Copies a row's texts and cell objects into the scratch row (the objects are shared).
void CopyPivotRow(TAdvStringGrid* G, int From, int To, bool CellByCell, bool Virtual) {
    const int cols = G->TotalColCount();
    for (int c = 0; c < cols; ++c) {
        if (CellByCell && Virtual)
            G->SetCellEx(c, To, G->GetCellEx(c, From));
        else
            G->SetCells(c, To, G->Cells(c, From));
        G->SetObjects(c, To, G->Objects(c, From));
    }
}

} // namespace

void TAdvStringGrid::SortRowRange(int ACol, int Left, int Right) {
    const bool cellByCell = bool(OnGetDisplText) || bool(OnGetDisplWideText);
    const bool isVirtual = FSortSettings->SortOnVirtualCells();
    // The outermost call reads the sort column's keys once when no handler or override can see
    // the comparisons; the recursive calls share them.
    TKeysScope scope;
    TSortKeys own;
    TSortKeys* keys = KeysFor(this, ACol);
    // Virtual cells read as stored when no display text is made of them.
    const bool plainDisplay = !cellByCell && !URLShowInText() && !(FGrouping->ShowGroupCount && ACol == 1);
    if (!keys && Left < Right && typeid(*this) == typeid(TAdvStringGrid) && plainDisplay &&
        !OnCustomCompare && !OnRawCompare && !OnGetFormat && ACol >= 0 && ACol < TotalColCount() &&
        Left >= 0 && Right < RowCount() - 2 &&
        (!FSortSettings->SingleColumn() || FSortSettings->Column() == ACol) &&
        BuildSortKeys(this, ACol, isVirtual, Left, Right, own)) {
        ActiveKeys = &own;
        keys = &own;
    }
    while (Left < Right) {
        SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
        const int S = RowCount() - 2;
        const int mid = (Left + Right) / 2;
        CopyPivotRow(this, mid, S, cellByCell, isVirtual);
        if (keys) keys->At(S) = keys->At(mid);
        int i = Left, j = Right;
        do {
            while (CompareRowsFull(ACol, S, i) == SortDir && i < Right) ++i;
            while (CompareRowsFull(ACol, j, S) == SortDir && j > Left) --j;
            if (i <= j) {
                if (i != j && CompareRowsFull(ACol, i, j) != 0) {
                    SortSwapRows(i, j);
                    if (keys) std::swap(keys->At(i), keys->At(j));
                }
                ++i;
                --j;
            }
        } while (i <= j);
        // The smaller part by recursion, the larger one by the loop.
        if (j - Left < Right - i) {
            if (Left < j) SortRowRange(ACol, Left, j);
            Left = i;
        } else {
            if (i < Right) SortRowRange(ACol, i, Right);
            Right = j;
        }
    }
}

void TAdvStringGrid::SortRowRangeIndexed(int KeyIndex, int Left, int Right) {
    const bool cellByCell = bool(OnGetDisplText) || bool(OnGetDisplWideText);
    const bool isVirtual = FSortSettings->SortOnVirtualCells();
    while (Left < Right) {
        SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
        const int S = RowCount() - 2;
        CopyPivotRow(this, (Left + Right) / 2, S, cellByCell, isVirtual);
        int i = Left, j = Right;
        do {
            while (CompareRowsIndexed(KeyIndex, S, i) == 1 && i < Right) ++i;
            while (CompareRowsIndexed(KeyIndex, j, S) == 1 && j > Left) --j;
            if (i <= j) {
                if (i != j) SortSwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Left < Right - i) {
            if (Left < j) SortRowRangeIndexed(KeyIndex, Left, j);
            Left = i;
        } else {
            if (i < Right) SortRowRangeIndexed(KeyIndex, i, Right);
            Right = j;
        }
    }
}

void TAdvStringGrid::UnSortRowRange(int Left, int Right) {
    TIntList* x = FUnSortRowMap.get();
    while (Left < Right) {
        const int v = x->Items((Left + Right) / 2);
        int i = Left, j = Right;
        do {
            while (x->Items(i) < v && i < Right) ++i;
            while (v < x->Items(j) && j > Left) --j;
            if (i <= j) {
                if (i != j && x->Items(i) != x->Items(j)) {
                    SortSwapRows(i, j);
                    x->Exchange(i, j);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Left < Right - i) {
            if (Left < j) UnSortRowRange(Left, j);
            Left = i;
        } else {
            if (i < Right) UnSortRowRange(i, Right);
            Right = j;
        }
    }
}

// =============================================================================================
// The sorts

void TAdvStringGrid::InitSortXRef() {
    FSortRowXRef->Clear();
    for (int r = 0; r < RowCount(); ++r) FSortRowXRef->Add(r);
}

void TAdvStringGrid::QSort() {
    if (FSortSettings->Column() < 0) return;
    if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
    FSortIndexes->Clear();
    TSortFrame frame(this, true);
    frame.Enter(true);
    const int N = frame.N();
    const bool move = FNavigation->MoveRowOnSort;
    SortRow = Row();
    const int R0 = Row();
    if (move && N - 1 >= FixedRows()) SetRow(N - 1);
    SortRowRange(FSortSettings->Column(), FixedRows(), N - 1 - frame.FooterRows());
    frame.DropScratchRows();
    const bool entered = FEntered;
    FEntered = false;
    if (!FMouseActions->DisjunctRowSelect()) {
        if (move) {
            SetRow(SortRow);
            FLastReportedRow = -1;
        } else {
            SetRow(R0);
        }
    }
    FEntered = entered;
    if (OnRowUpdate && !move) OnRowUpdate(this, R0, Row());
    frame.Leave(false);
    if (FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
    if (FSearchFooter->Visible() && FSearchPanel) FSearchPanel->Invalidate();
}

void TAdvStringGrid::QSortIndexed() {
    if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
    if (FSortIndexes->Count() == 0) throw EAdvGridError("No indexes specified for indexed sort");
    TSortFrame frame(this, true);
    frame.Enter(true);
    const int N = frame.N();
    const bool move = FNavigation->MoveRowOnSort;
    SortRow = Row();
    const int R0 = Row();
    if (move && N > FixedRows()) SetRow(N);
    SortRowRangeIndexed(0, FixedRows(), N - 1 - frame.FooterRows());
    frame.DropScratchRows();
    const bool entered = FEntered;
    FEntered = false;
    if (move) {
        SetRow(SortRow);
        FLastReportedRow = -1;
    } else {
        SetRow(R0);
    }
    FEntered = entered;
    frame.Leave(false);
    if (FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
}

void TAdvStringGrid::QSortGroup() {
    SortGroups(false);
}

void TAdvStringGrid::QSortGroupIndexed() {
    // Without keys there is nothing to sort by.
    if (FSortIndexes->Count() == 0) return;
    SortGroups(true);
}

void TAdvStringGrid::SortGroups(bool Indexed) {
    if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
    TSortFrame frame(this, false);
    frame.Enter(true);
    const int N = frame.N();
    const int F = frame.FooterRows();
    const bool move = FNavigation->MoveRowOnSort;
    SortRow = Row();
    const int R0 = Row();
    if (move && N > FixedRows()) SetRow(N);
    int level = 0;
    for (int r = FixedRows(); r <= N - F && r < N; ++r)
        if (IsNode(r)) level = std::max(level, GetNodeLevel(r));
    for (int r = FixedRows(); r <= N - F && r < N; ++r) {
        if (!IsNode(r) || GetNodeState(r) || GetNodeLevel(r) != level) continue;
        const int span = GetNodeSpan(r);
        if (span - 1 < 2) continue;
        const int last = std::min(r + span - 1, N - 1);
        if (Indexed)
            SortRowRangeIndexed(0, r + 1, last);
        else
            SortRowRange(FSortSettings->Column(), r + 1, last);
    }
    frame.DropScratchRows();
    if (move) {
        SetRow(SortRow);
        FLastReportedRow = -1;
    } else {
        SetRow(R0);
    }
    frame.Leave(false);
}

void TAdvStringGrid::QUnSort() {
    // Rows inserted or removed since the last reset: the cross reference no longer describes
    // the rows, so it starts anew and the order stays.
    if (FSortRowXRef->Count() != RowCount()) {
        InitSortXRef();
        return;
    }
    FUnSortRowMap->Clear();
    for (int i = 0; i < FSortRowXRef->Count(); ++i) FUnSortRowMap->Add(FSortRowXRef->Items(i));
    std::vector<String> col0Texts;
    std::vector<TObject*> col0Objects;
    const int n = RowCount();
    const bool col0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    if (col0) {
        for (int r = 0; r < n; ++r) {
            col0Texts.push_back(Cells(0, r));
            col0Objects.push_back(Objects(0, r));
        }
    }
    BeginUpdate();
    try {
        UnSortRowRange(0, n - 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (col0) {
        for (int r = 0; r < n; ++r) {
            SetCells(0, r, col0Texts[size_t(r)]);
            SetObjects(0, r, col0Objects[size_t(r)]);
        }
    }
    EndUpdate();
}

void TAdvStringGrid::SettingsSort() {
    if (RowCount() > FixedRows() + FixedFooters() + 1) QSort();
}

void TAdvStringGrid::SettingsSortIndexed() {
    if (FSortIndexes->Count() > 0 && RowCount() > FixedRows() + FixedFooters() + 1) QSortIndexed();
}

void TAdvStringGrid::Sort(int Column, TSortDirection Direction) {
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
}

void TAdvStringGrid::SortByColumn(int Col) {
    if (RowCount() <= 1) return;
    FSortSettings->SetColumn(Col);
    QSort();
}

void TAdvStringGrid::QuickSort(int Col, int Left, int Right) {
    TSortFrame frame(this, false);
    frame.EnterRows();
    SortRowRange(Col, Left, Right);
    frame.Leave(false);
}

void TAdvStringGrid::QuickSortIndexed(int Left, int Right) {
    if (FSortIndexes->Count() == 0) return;
    TSortFrame frame(this, false);
    frame.EnterRows();
    SortRowRangeIndexed(0, Left, Right);
    frame.Leave(false);
}

bool TAdvStringGrid::SortLine(int Col, int ARow1, int ARow2) {
    for (int c = Col;; ++c) {
        const int r = CompareRowCells(c, ARow1, FSortSettings->Direction(), ARow2);
        if (r == SortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || c >= TotalColCount() - 1) return false;
    }
}
