// TAdvStringGrid: how a cell is aligned, what text it shows, how much room its text needs, and
// what the simple visual settings do when they are written.
#include "AdvGrid.h"

#include "GridUtil.h"
#include "MarkupRender.h"

#include <cmath>
#include <cstdlib>

namespace {
template <class T> bool Store(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}

bool IsNumberText(const String& S) {
    const int t = NumericTextType(S);
    return t == ntkInteger || t == ntkFloat || t == ntkScientific;
}

// A text that starts a calculation: "=", or a packed wide text whose first character is "=".
bool IsFormulaText(const String& S) {
    if (S.startsWith(u'=')) return true;
    return S.length() > 3 && S.startsWith(u"|\\") && S[3] == u'=';
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Alignment and the shown text

void TAdvStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    HAlign = DefaultAlignment();
    VAlign = FVAlignment;
    bool formula = false;
    if (AutoNumAlign) {
        String s = GetCellEx(ACol, ARow);
        if (IsFormulaText(s)) {
            formula = true;
            GetCalculatedCell(ACol, ARow, s);
        }
        if (IsNumberText(s.trimmed())) HAlign = taRightJustify;
    }
    // An alignment of the cell's own wins over the number rule, but not for a calculated value.
    if (!formula && HasCellProperties(ACol, ARow)) HAlign = GetCellProperties(ACol, ARow)->Alignment();
    GetAlignment(ACol, ARow, HAlign, VAlign);
}

String TAdvStringGrid::GetFormattedCell(int ACol, int ARow) {
    String s = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat || !IsNumberText(s)) return s;
    bool isFloat = true;
    String fmt = FloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!isFloat || fmt.isEmpty()) return s;
    // A format that does not fit its value leaves the text as stored.
    try {
        if (fmt.contains(u'd')) return Format(fmt, GetInts(ACol, ARow));
        return Format(fmt, GetFloats(ACol, ARow));
    } catch (const Exception&) {
        return s;
    }
}

void TAdvStringGrid::GetCalculatedCell(int ACol, int ARow, String& Value) {
    Value = GetCellEx(ACol, ARow);
}

void TAdvStringGrid::SaveCell(int ACol, int ARow, String& Value) {
    Value = SaveVirtCells ? GetFormattedCell(ACol, ARow) : GetCellEx(ACol, ARow);
}

// ---------------------------------------------------------------------------------------------
// Measuring

void TAdvStringGrid::GetFontProperties(int DisplCol, int ACol, int ARow, TGridDrawState& AState, TFont* AFont,
                                       TBrush* ABrush, bool /*Remap*/) {
    const bool fixed = IsFixed(DisplCol, ARow) || DisplCol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? FixedFont() : Font());
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
    }
    GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

TSize TAdvStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB) {
    return CalcCellTextSize(ACol, DisplColIndex(ACol), ARow, VS, SB);
}

TSize TAdvStringGrid::CalcCellTextSize(int ACol, int DisplCol, int ARow, bool VS, bool SB) {
    TCanvas* canvas = Canvas();
    // The canvas's font and brush are the cell's only while measuring.
    TFont savedFont;
    savedFont.Assign(canvas->Font());
    TBrush savedBrush;
    savedBrush.Assign(canvas->Brush());
    struct TRestore {
        TCanvas* C;
        TFont& F;
        TBrush& B;
        ~TRestore() {
            C->Font()->Assign(&F);
            C->Brush()->Assign(&B);
        }
    } restore{canvas, savedFont, savedBrush};

    TSize result{0, 0};
    try {
        String s = GetFormattedCell(ACol, ARow);
        int kind = CellTextType(s, EnableHTML);

        TGridDrawState state;
        GetFontProperties(DisplCol, ACol, ARow, state, canvas->Font(), canvas->Brush(), true);
        if ((DisplCol < FixedCols() || ARow < FixedRows()) && FActiveCellShow &&
            ActiveCellFont()->HasStyle(fsBold)) {
            TFontStyles st = canvas->Font()->Style();
            st.insert(fsBold);
            canvas->Font()->SetStyle(st);
        }
        canvas->Font()->SetSize(canvas->Font()->Size() + ZoomFactor);

        if (kind == ctkFormula) {
            GetCalculatedCell(ACol, ARow, s);
            kind = CellTextType(s, EnableHTML);
        }

        TRect r = CellRect(DisplCol, ARow);
        if (XYOffsetTopLeftOnly) {
            r.Left += XYOffset.X;
            r.Top += XYOffset.Y;
        } else {
            r.Left += XYOffset.X;
            r.Top += XYOffset.Y;
            r.Right -= XYOffset.X;
            r.Bottom -= XYOffset.Y;
        }
        if (VS) r.Right -= 17;

        if (kind == ctkMarkup) {
            if (!SB) r.Right = 65535;
            r.Bottom = 65535;
            THTMLDrawOptions opt;
            opt.MeasureOnly = true;
            opt.URLColor = URLColor();
            opt.PictureCache = ImageCache();
            THTMLDrawResult res;
            DrawHTML(canvas, s, r, opt, res);
            return TSize{res.TextWidth + 2, res.TextHeight + 2};
        }
        // Rich text: the hidden rich edit lays it out in the rectangle and asks for its size.
        if (kind == ctkRTF && !ComponentState().count(csDesigning)) {
            const TSize rich = RichTextSize(s, r.Right - r.Left, r.Bottom - r.Top);
            if (rich.cx >= 0) return rich;
            s = RichPlainText(s);
        }

        // Rotated cells: the angle of the cell's rotated graphic.
        int angle = 0;
        const bool rotated = IsRotated(ACol, ARow, angle);

        if (SB) {
            r.Left += 2;
            r.Top += 2;
            r.Right -= 2;
            r.Bottom -= 2;
            // While the cell is edited an empty last line counts too.
            if (EditorMode() && Col() == DisplCol && Row() == ARow && s.endsWith(u'\n')) s += u'w';
            Cardinal flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;
            flags |= rotated ? DT_SINGLELINE : DT_WORDBREAK;
            const int width = r.Right - r.Left;
            DrawText(canvas, s, r, flags);
            result = TSize{width, r.Bottom - r.Top};
        } else {
            int lines = 0;
            int widest = 0;
            String rest = s;
            do {
                String line = CutFirstLine(rest, Multilinecells);
                if (URLShow() && !URLFull() && kind == ctkPlain) line = StripURLScheme(line);
                widest = std::max(widest, canvas->TextWidth(line));
                ++lines;
            } while (Multilinecells && !rest.isEmpty());
            result = TSize{widest, canvas->TextHeight("gh") * lines};
        }

        if (rotated) {
            const double a = angle * 3.14159265358979323846 / 180.0;
            const int w = result.cx, h = result.cy;
            auto proj = [](double v) { return std::abs(int(std::trunc(v))); };
            result.cx = std::abs(proj(h * std::sin(a)) - proj(w * std::cos(a))) + 12;
            result.cy = std::abs(proj(h * std::cos(a)) - proj(w * std::sin(a))) + 12;
        }
    } catch (const std::exception&) {
        // Measuring never fails its caller: what was measured so far stands.
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Visual settings

void TAdvStringGrid::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    switch (Value) {
        case vtaTop: FVAlignFlag = 0; break;
        case vtaCenter: FVAlignFlag = DT_VCENTER; break;
        case vtaBottom: FVAlignFlag = DT_BOTTOM; break;
    }
    if (FUpdateCount == 0) Invalidate();
}

void TAdvStringGrid::SetSelectionMirrorColor(TColor Value) {
    if (Store(FSelectionMirrorColor, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionMirrorColorTo(TColor Value) {
    if (Store(FSelectionMirrorColorTo, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionColorMixer(bool Value) {
    if (Store(FSelectionColorMixer, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionColorMixerFactor(int Value) {
    if (Store(FSelectionColorMixerFactor, std::clamp(Value, 0, 100))) Invalidate();
}
void TAdvStringGrid::SetSelectionRectangle(bool Value) {
    if (Store(FSelectionRectangle, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionResizer(bool Value) {
    if (Store(FSelectionResizer, Value)) Invalidate();
}

void TAdvStringGrid::SetShowSelection(bool Value) {
    if (!Store(FShowSelection, Value)) return;
    FShowSel = Value;
    Invalidate();
}

void TAdvStringGrid::SetActiveCellShow(bool Value) {
    FActiveCellShow = Value;
    Invalidate();
}

void TAdvStringGrid::SetBackGround(TBackGround* Value) {
    TBackGround* b = FBackGround.get();
    if (Value != b) {
        b->SetTop(Value->Top());
        b->SetLeft(Value->Left());
        b->SetDisplay(Value->Display());
        b->SetBitmap(Value->Bitmap());
        b->SetCells(Value->Cells());
        b->SetColor(Value->Color());
        b->SetColorTo(Value->ColorTo());
    }
    Invalidate();
}

void TAdvStringGrid::SetRowIndicator(TBitmap* Value) {
    FRowIndicator->Assign(Value);
    RepaintCell(0, Row());
}

void TAdvStringGrid::SetHighlightColor(TColor Value) {
    if (!Store(FHighlightColor, Value)) return;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TAdvStringGrid::SetHighlightTextColor(TColor Value) {
    if (!Store(FHighlightTextColor, Value)) return;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TAdvStringGrid::SetShowDesignHelper(bool Value) {
    if (Store(ShowDesignHelper, Value)) Invalidate();
}

void TAdvStringGrid::SetXYOffset(TPoint Value) {
    XYOffset = Value;
    Invalidate();
}

void TAdvStringGrid::SetFlat(bool Value) {
    FFlat = Value;
    if (!Loading()) Invalidate();
}

void TAdvStringGrid::SetAutoSize(bool Value) {
    FAutoSize = Value;
    if (Value && !Loading()) AutoSizeColumns(false, 10);
}

void TAdvStringGrid::SetMaxEditLength(int Value) {
    FMaxEditLength = Value;
    if (TInplaceEdit* e = InplaceEditor()) e->SetMaxLength(Value);
}

void TAdvStringGrid::SetSpreadSheet(bool Value) {
    FSpreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    Navigation()->AllowSmartClipboard = true;
    TGridOptions o = Options();
    o.insert(goRangeSelect);
    o.insert(goEditing);
    SetOptions(o);
    MouseActions()->RangeSelectAndEdit = true;
}

void TAdvStringGrid::SetSelection(const TGridRect& Value) {
    TBaseGrid::SetSelection(Value);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow()) InvalidateRow(Value.Bottom);
}
