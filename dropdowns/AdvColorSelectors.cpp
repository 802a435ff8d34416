#include "AdvColorSelectors.h"

#include "ExtPanels.h"
#include "Forms.h"
#include "Messages.h"
#include "Resources.h"
#include "SysUtils.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

void TAdvCustomColorSelectorPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide) OnShouldHide(this);
}

// ---- Colour cube ----

namespace {

// The honeycomb's colours row by row, left to right (rows of 7, 8, ... 13, ... 8, 7 cells).
constexpr std::array<uint32_t, TAdvColorCubePanel::CellCount> kCubeColors = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,                     //
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,           //
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666, //
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066,
    0xCC0066, //
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699,
    0xFF3399, 0xFF0099, //
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC,
    0xFF66CC, 0xFF00CC, 0xCC0099, //
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF,
    0xFF66FF, 0xFF00FF, 0xCC00CC, 0x660066, //
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF,
    0xCC33FF, 0x9900CC, 0x800080, //
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF,
    0x9933CC, 0x990099, //
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6,
    0x663399,                                                                                 //
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066, //
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,           //
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

} // namespace

TAdvColorCubePanel::TAdvColorCubePanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner) {
    SetShowHint(true);
    InitCells();
    ResetHotIndex();
}

void TAdvColorCubePanel::InitCells() {
    int Index = 0;
    for (int Row = 1; Row <= 13; ++Row) {
        const int Y = 20 + 10 * (Row - 1);
        const int Count = Row <= 7 ? Row + 6 : 20 - Row;
        const int StartX = Row <= 7 ? 55 - 6 * (Row - 1) : 19 + 6 * (Row - 7);
        for (int I = 0; I < Count; ++I, ++Index) {
            FCubeCells[Index].X = StartX + I * 2 * FCubeSize.X;
            FCubeCells[Index].Y = Y;
            FCubeCells[Index].Color = TColor(kCubeColors[Index]);
        }
    }
}

void TAdvColorCubePanel::ResetHotIndex() {
    FHotIndex = -1;
    SetWidth(182);
    SetHeight(160);
}

int TAdvColorCubePanel::IndexOfCellAt(int X, int Y) const {
    const int Limit = FCubeSize.X * FCubeSize.X;
    for (int I = 0; I < CellCount; ++I) {
        const int DX = X - FCubeCells[I].X;
        const int DY = Y - FCubeCells[I].Y;
        if (DX * DX + DY * DY <= Limit) return I + 1;
    }
    return -1;
}

void TAdvColorCubePanel::SetSelectedColor(TColor Value) {
    FSelectedColor = Value;
    FSelectedIndex = -1;
    for (int I = 0; I < CellCount; ++I)
        if (FCubeCells[I].Color == Value) {
            FSelectedIndex = I + 1;
            break;
        }
}

void TAdvColorCubePanel::SetShowRGBHint(bool Value) {
    FShowRGBHint = Value;
    SetShowHint(Value);
}

void TAdvColorCubePanel::DrawHexagon(TCanvas* Canvas, int X, int Y, int W, int H) {
    Canvas->Polygon({TPoint(X - W, Y - H), TPoint(X, Y - 2 * H), TPoint(X + W, Y - H), TPoint(X + W, Y + H),
                     TPoint(X, Y + 2 * H), TPoint(X - W, Y + H)});
}

void TAdvColorCubePanel::DrawCellOn(TCanvas* Canvas, int Index) {
    if (Index < 1 || Index > CellCount) return;
    const TCubeCell& C = FCubeCells[Index - 1];
    const int W = FCubeSize.X, H = FCubeSize.Y;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetColor(C.Color);
    Canvas->Brush()->SetColor(C.Color);
    DrawHexagon(Canvas, C.X, C.Y, W, H);
    // The selection mark is drawn last so that it lies over the hot mark.
    for (const auto& [Marked, Outer] : {std::pair{Index == FHotIndex, TColor(0x0000FF)},
                                        std::pair{Index == FSelectedIndex, TColor(0x000000)}}) {
        if (!Marked) continue;
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(Outer);
        DrawHexagon(Canvas, C.X, C.Y, W - 1, H);
        Canvas->Pen()->SetColor(TColor(0xFFFFFF));
        DrawHexagon(Canvas, C.X, C.Y, W - 2, H - 1);
    }
}

void TAdvColorCubePanel::DrawCell(int Index) {
    DrawCellOn(Canvas(), Index);
}

void TAdvColorCubePanel::Paint() {
    TAdvCustomColorSelectorPanel::Paint();
    for (int I = 1; I <= CellCount; ++I) DrawCellOn(Canvas(), I);
}

void TAdvColorCubePanel::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int Index = IndexOfCellAt(X, Y);
    if (Index > 0) {
        if (Index == FHotIndex) return;
        if (FHotIndex > 0) {
            const int Old = FHotIndex;
            FHotIndex = -1;
            DrawCell(Old);
        }
        FHotIndex = Index;
        DrawCell(Index);
        if (FShowRGBHint) {
            const uint32_t C = uint32_t(FCubeCells[Index - 1].Color);
            SetHint(Format("Red: %d,  Green: %d,  Blue: %d", int(C & 0xFF), int((C >> 8) & 0xFF),
                           int((C >> 16) & 0xFF)));
            if (Application) Application->CancelHint();
        }
    } else if (FShowRGBHint) {
        SetHint(String());
        if (Application) Application->CancelHint();
    }
}

void TAdvColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int Index = IndexOfCellAt(X, Y);
    if (Index < 0) return;
    if (FSelectedIndex > 0) {
        const int Old = FSelectedIndex;
        FSelectedIndex = -1;
        DrawCell(Old);
    }
    FSelectedColor = FCubeCells[Index - 1].Color;
    FSelectedIndex = Index;
    DrawCell(Index);
    if (OnSelect) OnSelect(this);
}

// ---- Spectrum ----

TAdvColorSpectrumPanel::TAdvColorSpectrumPanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner) {
    // Loaded before anything is created, so a missing picture leaves nothing half built.
    auto* Spectrum = new TBitmap();
    try {
        Spectrum->LoadFromResourceName(QStringLiteral("KIT_SPECTRUM"));
    } catch (...) {
        TObject::Free(Spectrum);
        throw;
    }
    FSpectrumImage = new TImage(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(0, 0, 128, 128);
    FSpectrumImage->Picture()->Assign(Spectrum);
    TObject::Free(Spectrum);
    FSpectrumImage->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) {
        ImageMouseMove(S, Sh, X, Y);
    };
    FSpectrumImage->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        ImageMouseDown(S, B, Sh, X, Y);
    };
    FSpectrumImage->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        ImageMouseUp(S, B, Sh, X, Y);
    };
    if (Screen) {
        const QImage Pointer = LoadResourceImage(QStringLiteral("KIT_POINTER"));
        Screen->SetCursors(crColorPointer, QCursor(QPixmap::fromImage(Pointer), 1, 30));
    }
    FSpectrumImage->SetCursor(crColorPointer);
}

void TAdvColorSpectrumPanel::UpdateLayout() {
    SetWidth(150);
    SetHeight(174);
    TImage* Img = FSpectrumImage;
    Img->SetBounds((Width() - Img->Width()) / 2, 10, Img->Width(), Img->Height());
    const int Bottom = Img->Top() + Img->Height();
    FSelectedRect = TRect(Img->Left() - 1, Bottom + 8, Img->Left() + Img->Width() / 2 - 2, Bottom + 28);
    FHotRect = TRect(FSelectedRect.Right + 4, FSelectedRect.Top, Img->Left() + Img->Width() + 1,
                     FSelectedRect.Bottom);
    FHotColor = clNone;
    Invalidate();
}

void TAdvColorSpectrumPanel::DrawSwatch(const TRect& R, TColor Color) {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(TColor(0x808080));
    C->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Pen()->SetColor(TColor(0xFFFFFF));
    C->Rectangle(R);
}

void TAdvColorSpectrumPanel::Paint() {
    TAdvCustomColorSelectorPanel::Paint();
    TCanvas* C = Canvas();
    const TRect R(FSpectrumImage->Left(), FSpectrumImage->Top(),
                  FSpectrumImage->Left() + FSpectrumImage->Width(),
                  FSpectrumImage->Top() + FSpectrumImage->Height());
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(TColor(0xFFFFFF));
    C->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    C->Pen()->SetColor(TColor(0x808080));
    C->Rectangle(R.Left - 2, R.Top - 2, R.Right + 2, R.Bottom + 2);
    DrawSwatch(FSelectedRect, FSelectedColor);
    DrawSwatch(FHotRect, FHotColor);
}

void TAdvColorSpectrumPanel::ImageMouseMove(TObject*, TShiftState, int X, int Y) {
    // The pixel the panel shows at the pointer is the picture's pixel there: read from the
    // picture itself, which needs no screen read-back.
    const QImage& Img = FSpectrumImage->Picture()->Bitmap()->Image();
    if (X < 0 || Y < 0 || X >= Img.width() || Y >= Img.height()) return;
    const QRgb P = Img.pixel(X, Y);
    FHotColor = TColor(uint32_t(qRed(P)) | uint32_t(qGreen(P)) << 8 | uint32_t(qBlue(P)) << 16);
    DrawSwatch(FHotRect, FHotColor);
}

void TAdvColorSpectrumPanel::ImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    FSelectedColor = FHotColor;
    DrawSwatch(FSelectedRect, FSelectedColor);
    if (OnSelect) OnSelect(this);
}

void TAdvColorSpectrumPanel::ImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (OnShouldHide) OnShouldHide(this);
}

// ---- Discrete palette ----

void TColorBoxItem::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TColorBoxItem*>(Source)) {
        SetColor(Other->FColor);
        FEnabled = Other->FEnabled;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TColorBoxItem::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed(false);
}

void TColorBoxAppearance::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TColorBoxAppearance*>(Source)) {
        BorderColor = Other->BorderColor;
        OuterBorderColorHot = Other->OuterBorderColorHot;
        InnerBorderColorHot = Other->InnerBorderColorHot;
        OuterBorderColorSelected = Other->OuterBorderColorSelected;
        InnerBorderColorSelected = Other->InnerBorderColorSelected;
        return;
    }
    TPersistent::Assign(Source);
}

void TColorBoxAppearance::SetDefaults() {
    BorderColor = TColor(0xC5C5C5);
    OuterBorderColorHot = TColor(0x3694F2);
    InnerBorderColorHot = TColor(0x94E2FF);
    OuterBorderColorSelected = TColor(0x0000FF);
    InnerBorderColorSelected = TColor(0x94E2FF);
}

namespace {

struct TPaletteRow {
    TItemPos Pos;
    std::array<uint32_t, 10> Colors;
};

// Row 1: the theme colours; rows 2 to 6: their lighter and darker shades, column by column.
constexpr std::array<TPaletteRow, 6> kPalette = {{
    {ipStandAlone,
     {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7}},
    {ipTop,
     {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD}},
    {ipMiddle,
     {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB}},
    {ipMiddle,
     {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA}},
    {ipMiddle,
     {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3}},
    {ipBottom,
     {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897}},
}};

} // namespace

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner) {
    FColorBoxAppearance = new TColorBoxAppearance();
    FItems = new TColorBoxItems(this);
    SetItemColorStyle(scOffice2007);
    SetParentColor(true);
}

TCustomColorSelector::~TCustomColorSelector() {
    TObject::Free(FItems);
    TObject::Free(FColorBoxAppearance);
}

void TCustomColorSelector::AddDefaultColorBoxes() {
    FItems->Clear();
    for (const TPaletteRow& Row : kPalette)
        for (uint32_t C : Row.Colors) {
            TColorBoxItem* Item = FItems->Add();
            Item->SetColor(TColor(C));
            Item->SetColorBoxPos(Row.Pos);
        }
}

void TCustomColorSelector::GetBoxArea(TRect& R) {
    R = ClientRect();
    R.Left += FOffSetX;
    R.Right -= FOffSetX;
    R.Top += FOffSetY;
    R.Bottom -= FOffSetY;
}

void TCustomColorSelector::GetColorBoxSize(TPoint& Size) {
    Size = TPoint(FColorBoxWidth, FColorBoxHeight);
}

void TCustomColorSelector::UpdateLayout() {
    if (FItems->Count() == 0) {
        SetWidth(100);
        SetHeight(50);
        return;
    }
    FItemHot = -1;
    TPoint Size;
    GetColorBoxSize(Size);
    TRect Area;
    GetBoxArea(Area);
    int X = Area.Left, Y = Area.Top, Column = 0, WidestX = X;
    bool RowGap = false;
    const int Last = FItems->Count() - 1;
    for (int I = 0; I <= Last; ++I) {
        TColorBoxItem* Item = FItems->Items(I);
        Item->SetRect(TRect(X, Y, X + Size.X, Y + Size.Y));
        ++Column;
        WidestX = std::max(WidestX, X);
        if (I == Last) break;
        if (Item->ColorBoxPos() == ipStandAlone) RowGap = true;
        if (Column >= FColumns) {
            X = Area.Left;
            Y += Size.Y + (RowGap ? FColumnGap : 0);
            RowGap = false;
            Column = 0;
        } else {
            X += Size.X + FColumnGap;
        }
    }
    SetHeight(Y + Size.Y + (Area.Top - ClientRect().Top));
    SetWidth(WidestX + Size.X + (Area.Left - ClientRect().Left) + 1);
}

void TCustomColorSelector::SetLayoutValue(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    UpdateLayout();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value) {
    if (FItemColorStyle == Value) return;
    FItemColorStyle = Value;
    if (Value != scCustom) FColorBoxAppearance->SetDefaults();
}

void TCustomColorSelector::DrawColorBox(int Index, TCanvas* Canvas) {
    if (Index < 0 || Index >= FItems->Count() || !Canvas) return;
    TColorBoxItem* Item = FItems->Items(Index);
    const TRect R = Item->Rect();
    if (R.Left < 0 && R.Right < 0) return;
    const TColorBoxAppearance& A = *FColorBoxAppearance;
    TColor Outer = A.BorderColor, Inner = clNone;
    const bool Marked = Index == FItemIndex || Index == FItemHot;
    if (Index == FItemIndex) {
        Outer = A.OuterBorderColorSelected;
        Inner = A.InnerBorderColorSelected;
    } else if (Index == FItemHot) {
        Outer = A.OuterBorderColorHot;
        Inner = A.InnerBorderColorHot;
    }
    if (Item->Color() != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Pen()->SetColor(Item->Color());
        Canvas->Brush()->SetColor(Item->Color());
        Canvas->Rectangle(R);
    }
    if (Marked) {
        Canvas->Brush()->SetStyle(bsClear);
        if (Outer != clNone) {
            Canvas->Pen()->SetColor(Outer);
            Canvas->Rectangle(R);
        }
        if (Inner != clNone) {
            Canvas->Pen()->SetColor(Inner);
            Canvas->Rectangle(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        }
        return;
    }
    // Plain boxes: the sides by position, so that shade rows form one column strip.
    Canvas->Pen()->SetColor(A.BorderColor);
    const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
    switch (Item->ColorBoxPos()) {
        case ipStandAlone:
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->Rectangle(R);
            break;
        case ipTop:
            Canvas->MoveTo(L, B);
            Canvas->LineTo(L, T);
            Canvas->LineTo(Rt, T);
            Canvas->LineTo(Rt, B + 1);
            break;
        case ipMiddle:
            Canvas->MoveTo(L, T);
            Canvas->LineTo(L, B + 1);
            Canvas->MoveTo(Rt, T);
            Canvas->LineTo(Rt, B + 1);
            break;
        case ipBottom:
            Canvas->MoveTo(L, T);
            Canvas->LineTo(L, B);
            Canvas->LineTo(Rt, B);
            Canvas->LineTo(Rt, T - 1);
            Canvas->MoveTo(Rt, B);
            Canvas->LineTo(Rt, B + 1);
            break;
    }
}

void TCustomColorSelector::DrawBox(int Index) {
    DrawColorBox(Index, Canvas());
}

void TCustomColorSelector::InvalidateColorBox(int Index) {
    if (Index < 0 || Index >= FItems->Count()) return;
    const TRect R = FItems->Items(Index)->Rect();
    if (HandleAllocated()) InvalidateRect(Handle(), &R, true);
}

void TCustomColorSelector::Paint() {
    TAdvCustomColorSelectorPanel::Paint();
    for (int I = 0; I < FItems->Count(); ++I) DrawColorBox(I, Canvas());
}

void TCustomColorSelector::SetItemIndex(int Value) {
    // Items() raises the collection's index error for an index beyond the count, before any change.
    if (Value >= 0 && !FItems->Items(Value)->Enabled()) return;
    if (FItemIndex >= 0) {
        const int Old = FItemIndex;
        FItemIndex = -1;
        InvalidateColorBox(Old);
    }
    FItemIndex = Value;
    if (Value >= 0) {
        FSelectedColor = FItems->Items(Value)->Color();
        DrawBox(Value);
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomColorSelector::SetItemHot(int Index) {
    if (Index == FItemHot) return;
    if (Index >= 0 && !FItems->Items(Index)->Enabled()) return;
    if (FItemHot >= 0) {
        const int Old = FItemHot;
        FItemHot = -1;
        InvalidateColorBox(Old);
    }
    FItemHot = Index;
    if (Index >= 0) DrawBox(Index);
}

void TCustomColorSelector::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    if (Value == clNone) SetItemIndex(-1);
    int Found = -1;
    for (int I = 0; I < FItems->Count(); ++I)
        if (FItems->Items(I)->Color() == Value) {
            Found = I;
            break;
        }
    SetItemIndex(Found);
}

int TCustomColorSelector::IndexAt(int X, int Y) const {
    for (int I = 0; I < FItems->Count(); ++I) {
        const TRect R = FItems->Items(I)->Rect();
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
    }
    return -1;
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int Index = IndexAt(X, Y);
    if (Index >= 0 && FItems->Items(Index)->Enabled())
        SetItemHot(Index);
    else
        SetItemHot(-1);
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int Index = IndexAt(X, Y);
    if (Index >= 0 && FItems->Items(Index)->Enabled()) SetItemIndex(Index);
}

void TCustomColorSelector::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_MOUSELEAVE) SetItemHot(-1);
    TAdvCustomColorSelectorPanel::Dispatch(Message);
}

void TCustomColorSelector::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TCustomColorSelector::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext() {
    if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious() {
    if (FItemIndex - 1 >= 0) SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext() {
    if (FItemHot + 1 < FItems->Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious() {
    if (FItemHot - 1 >= 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleNavigationKey(Word Key, bool EditorEnabled, bool DroppedDown) {
    if (!Enabled() || Key < VK_PRIOR || Key > VK_DOWN) return;
    const auto MoveRow = [this](int Step) {
        const int Target = FItemIndex < 0 ? 0 : FItemIndex + Step;
        if (Target >= 0 && Target < FItems->Count()) SetItemIndex(Target);
    };
    switch (Key) {
        case VK_PRIOR:
        case VK_HOME: SelectFirst(); break;
        case VK_NEXT:
        case VK_END: SelectLast(); break;
        case VK_LEFT:
            if (!(EditorEnabled && !DroppedDown)) SelectPrevious();
            break;
        case VK_RIGHT:
            if (!(EditorEnabled && !DroppedDown)) SelectNext();
            break;
        case VK_UP:
            if (DroppedDown)
                MoveRow(-FColumns);
            else
                SelectPrevious();
            break;
        case VK_DOWN:
            if (DroppedDown)
                MoveRow(FColumns);
            else
                SelectNext();
            break;
    }
}
