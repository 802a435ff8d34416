// TAdvStringGrid: typed views of cell texts (integers, floats, values of form controls in
// markup), the display text with automatic links, and the lookup, creation, removal and sizes of
// the graphic a cell carries.
#include "AdvGrid.h"

#include "GridUtil.h"
#include "ImgList.h"
#include "MarkupText.h"
#include "SysUtils.h"

#include <cmath>

// =============================================================================================
// Integers and floats

namespace {

int ParseInt(String Text) {
    Text = Text.trimmed();
    if (Text.isEmpty() || Text == u"-") return 0;
    int v = 0;
    if (!TryStrToInt(Text, v)) throw EAdvGridError("Cell does not contain integer value");
    return v;
}

double ParseFloat(const String& Text) {
    const String t = Text.trimmed();
    if (t.isEmpty() || t == u"-") return 0;
    const String s = NormalizeFloatText(t);
    TFormatSettings fs = FormatSettings;
    fs.DecimalSeparator = u'.';
    double v = 0;
    if (!TryStrToFloat(s, v, fs)) throw EAdvGridError("Cell does not contain a float value");
    return v;
}

// The application's and the columns' formats are checked against their argument by Format; one
// that does not fit a number leaves its plain text.
String FormatFloatValue(const String& Fmt, double Value) {
    try {
        return Format(Fmt, Value);
    } catch (const EConvertError&) {
        return FloatToStr(Value);
    }
}

} // namespace

void TAdvStringGrid::SetInts(int ACol, int ARow, int Value) {
    SetCellEx(ACol, ARow, String::number(Value));
    if (FNumHidden > 0) RepaintRealCell(ACol, ARow);
}

int TAdvStringGrid::GetInts(int ACol, int ARow) {
    return ParseInt(HTMLToText(GetCellEx(ACol, ARow)));
}

void TAdvStringGrid::SetAllInts(int ACol, int ARow, int Value) {
    SetAllCells(ACol, ARow, String::number(Value));
}

int TAdvStringGrid::GetAllInts(int ACol, int ARow) {
    return ParseInt(AllCells(ACol, ARow));
}

void TAdvStringGrid::SetFloats(int ACol, int ARow, double Value) {
    String fmt = FloatFormat;
    GetColumnFloatFormat(ACol, fmt);
    SetCellEx(ACol, ARow, FormatFloatValue(fmt, Value));
}

double TAdvStringGrid::GetFloats(int ACol, int ARow) {
    return ParseFloat(HTMLToText(GetCellEx(ACol, ARow)));
}

void TAdvStringGrid::SetAllFloats(int ACol, int ARow, double Value) {
    SetAllCells(ACol, ARow, FormatFloatValue(FloatFormat, Value));
}

double TAdvStringGrid::GetAllFloats(int ACol, int ARow) {
    return ParseFloat(AllCells(ACol, ARow));
}

void TAdvStringGrid::GetColumnFloatFormat(int, String& Format) {
    Format = FloatFormat;
}

String TAdvStringGrid::GetCtrlVal(int ACol, int ARow, const String& ID) {
    String v;
    return GetHTMLControlValue(GetCellEx(ACol, ARow), ID, v) ? v : String();
}

void TAdvStringGrid::SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value) {
    String html = GetCellEx(ACol, ARow);
    if (SetHTMLControlValue(html, ID, Value)) SetCellEx(ACol, ARow, html);
}

// =============================================================================================
// Display text

void TAdvStringGrid::GetDisplText(int ACol, int ARow, String& Value) {
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (URLShowInText()) {
        static const char* const Prefixes[] = {"HTTP://", "WWW.",    "MAILTO:", "HTTPS://",
                                               "NNTP://", "FILE://", "FTP://"};
        for (const char* prefix : Prefixes) {
            String anchored;
            if (MakeURLAnchor(Value, String::fromLatin1(prefix), anchored)) {
                Value = anchored;
                break;
            }
        }
    }
    if (FGrouping->ShowGroupCount && ACol == 1 && IsNode(ARow)) {
        // The group's rows without its header and its sub-group headers.
        const int n = GetNodeSpan(ARow) - GetSubNodeCount(ARow) - 1;
        String count = " (" + IntToStr(n) + ")";
        // A format that does not take one integer shows the plain count: painting never raises.
        if (!FGrouping->GroupCountFormat.isEmpty()) try {
                count = Format(FGrouping->GroupCountFormat, n);
            } catch (const Exception&) {
            }
        Value += count;
    }
}

// =============================================================================================
// Graphic lookup, creation and removal

TCellGraphic* TAdvStringGrid::GetCellGraphic(int ACol, int ARow) {
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
        TCellGraphic* g = FRowCheckGraphic.get();
        g->CellType = ctRowCheckBox;
        g->CellTransparent = FControlLook->ControlStyle() == csFlat;
        const int data = RowCount() - FixedRows();
        const int selected = FSelectedRows->Count();
        if (ARow == 0) {
            g->CellAngle = selected > 0 && selected < data ? 1 : 0;
            g->CellBoolean = selected >= data;
        } else {
            g->CellAngle = 0;
            g->CellBoolean = FSelectedRows->HasValue(RealRowIndex(ARow));
        }
        return g;
    }
    if (!HasCellProperties(ACol, ARow)) return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(b.X, b.Y));
}

TCellType TAdvStringGrid::GetCellType(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? g->CellType : ctEmpty;
}

TIntList* TAdvStringGrid::GetCellImages(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctImages ? dynamic_cast<TIntList*>(g->CellBitmap) : nullptr;
}

namespace {

bool IsSharedGraphic(const TCellGraphic* G) {
    return G->CellType == ctVirtCheckBox || G->CellType == ctRowCheckBox;
}

} // namespace

TCellGraphic* TAdvStringGrid::CreateCellGraphic(int ACol, int ARow) {
    TCellProperties* props = GetCellProperties(ACol, ARow);
    if (auto* old = dynamic_cast<TCellGraphic*>(props->GraphicObject())) {
        props->SetGraphicObject(nullptr);
        if (!IsSharedGraphic(old)) TObject::Free(old);
    }
    auto* g = new TCellGraphic();
    props->SetGraphicObject(g);
    if (FNumHidden > 0 && DisplColIndex(ACol) != ACol) RepaintRealCell(ACol, ARow);
    return g;
}

bool TAdvStringGrid::RemoveCellGraphic(int ACol, int ARow) {
    if (!HasCellProperties(ACol, ARow)) return false;
    TCellProperties* props = GetCellProperties(ACol, ARow);
    auto* g = dynamic_cast<TCellGraphic*>(props->GraphicObject());
    if (!g) return false;
    props->SetGraphicObject(nullptr);
    if (!IsSharedGraphic(g)) TObject::Free(g);
    if (!ComponentState().count(csDestroying)) RepaintRealCell(ACol, ARow);
    return true;
}

bool TAdvStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType) {
    return GetCellType(ACol, ARow) == CellType && RemoveCellGraphic(ACol, ARow);
}

// The object's address is its identity: equal for cells sharing one object, different for
// different objects, and wide enough that no two objects meet in one key.
std::int64_t TAdvStringGrid::GetCellImageRef(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return -1;
    switch (g->CellType) {
        case ctBitmap: return std::int64_t(reinterpret_cast<std::intptr_t>(g->CellBitmap));
        case ctIcon: return std::int64_t(reinterpret_cast<std::intptr_t>(g->CellIcon));
        case ctImageList: return g->CellIndex;
        default: return -1;
    }
}

// =============================================================================================
// Graphic sizes

TPoint TAdvStringGrid::GetCellGraphicSize(int ACol, int ARow) {
    TPoint size;
    CalcCellGraphicSize(ACol, ARow, size, 0);
    return size;
}

void TAdvStringGrid::CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int ExtraHeight) {
    Size = TPoint();
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    const bool sideways = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
    const bool stacked = g->CellVAlign == vaUnderText || g->CellVAlign == vaAboveText;
    const TRect cell = CellRect(DisplColIndex(ACol), ARow);
    const int offX = XYOffset.X * 2;
    const int offY = XYOffset.Y * 2;
    switch (g->CellType) {
        case ctBitmap:
            if (auto* bmp = dynamic_cast<TBitmap*>(g->CellBitmap)) {
                Size.X = sideways || !hasText ? bmp->Width() : 0;
                Size.Y = !hasText || stacked ? bmp->Height() : 0;
            }
            break;
        case ctIcon:
            if (auto* icon = dynamic_cast<TIcon*>(g->CellIcon)) {
                Size.X = sideways || !hasText ? icon->Width() : 0;
                Size.Y = icon->Height();
            }
            break;
        case ctImageList:
        case ctDataImage:
            if (TCustomImageList* images = GetCellImageList(ACol, ARow)) {
                Size.X = sideways || !hasText ? images->Width() : 0;
                Size.Y = stacked || !hasText ? images->Height() : 0;
            }
            break;
        case ctImages:
            if (auto* list = dynamic_cast<TIntList*>(g->CellBitmap); list && FGridImages) {
                Size = g->CellBoolean ? TPoint(list->Count() * FGridImages->Width(), FGridImages->Height())
                                      : TPoint(FGridImages->Width(), list->Count() * FGridImages->Height());
            }
            break;
        case ctPicture:
        case ctFilePicture:
            Size = g->GetPictureSize(cell.Right - cell.Left - offX - 1,
                                     cell.Bottom - cell.Top - offY - 1 - ExtraHeight, hasText);
            break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: Size = TPoint(FControlLook->CheckSize(), FControlLook->CheckSize()); break;
        case ctRadioButton: Size = TPoint(FControlLook->RadioSize(), FControlLook->RadioSize()); break;
        case ctRadio:
            if (auto* items = dynamic_cast<TStrings*>(g->CellBitmap)) {
                TCanvas* c = Canvas();
                c->Font()->Assign(Font());
                const int th = c->TextHeight("gh");
                if (g->CellBoolean) {
                    for (int i = 0; i < items->Count(); ++i) Size.X += c->TextWidth(items->Strings(i)) + 12;
                    Size.Y = th;
                } else {
                    Size.X = 12;
                    for (int i = 0; i < items->Count(); ++i)
                        Size.X = std::max(Size.X, c->TextWidth(items->Strings(i)) + 12);
                    Size.Y = std::max(16, th) * items->Count();
                }
            }
            break;
        case ctButton:
        case ctBitButton: {
            Size = TPoint(g->CellIndex & 0xFFFF, int(unsigned(g->CellIndex) >> 16));
            TCanvas* c = Canvas();
            c->Font()->Assign(Font());
            if (hasText) {
                if (g->CellHAlign == haCenter) Size.X = 0;
                if (g->CellHAlign == haFull) Size.X = c->TextWidth(g->CellText) + 4;
                if (stacked)
                    Size.X = 0;
                else
                    Size.Y = 0;
            } else if (g->CellHAlign == haFull) {
                Size.X = c->TextWidth(g->CellText) + 4;
            }
            break;
        }
        case ctProgressPie: Size = TPoint(20, 20); break;
        case ctRating: Size = TPoint(g->CellAngle * 18, 16); break;
        default: break;
    }
    if (g->CellVAlign == vaFull) Size.Y = cell.Bottom - cell.Top;
    const bool keepWidth =
        g->CellType == ctRating ||
        ((g->CellType == ctButton || g->CellType == ctBitButton) && !hasText && !g->CellText.isEmpty());
    if (g->CellHAlign == haFull && !keepWidth) Size.X = cell.Right - cell.Left;
}
