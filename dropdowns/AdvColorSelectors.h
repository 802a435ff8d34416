// The colour choosers shown in the colour picker's popup: the discrete palette
// (TCustomColorSelector, 60 boxes in ten columns), the honeycomb colour cube
// (TAdvColorCubePanel, 127 hexagonal cells) and the spectrum (TAdvColorSpectrumPanel, a 128 x 128
// hue/lightness picture). Each lays itself out, paints itself, follows the
// pointer with a hot mark and reports a pick through its selection event.
#pragma once

#include "AdvDropDownDraw.h"
#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"

#include <array>

class TImage;

enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

// Common base of the popup panels. OnShouldHide fires on mouse-up over a panel.
class TAdvCustomColorSelectorPanel : public TCustomControl {
public:
    explicit TAdvCustomColorSelectorPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
    TNotifyEvent OnShouldHide;

protected:
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// ---- Colour cube ----

class TAdvColorCubePanel : public TAdvCustomColorSelectorPanel {
public:
    struct TCubeCell {
        int X = 0, Y = 0;
        TColor Color = clNone;
    };
    static constexpr int CellCount = 127;

    explicit TAdvColorCubePanel(TComponent* AOwner);

    // Fills the cells' centres and colours.
    void InitCells();
    // Clears the hot cell and applies the panel's size (182 x 160).
    void ResetHotIndex();
    // The cell (1..127) whose centre lies within the half cell width of the point, or -1.
    int IndexOfCellAt(int X, int Y) const;
    const TCubeCell& Cell(int Index) const { return FCubeCells[Index - 1]; }

    TColor SelectedColor() const { return FSelectedColor; }
    // Selects the first cell with exactly this colour (or none); does not repaint.
    void SetSelectedColor(TColor Value);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool Value);

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawHexagon(TCanvas* Canvas, int X, int Y, int W, int H);
    void DrawCell(int Index);
    void DrawCellOn(TCanvas* Canvas, int Index);

    std::array<TCubeCell, CellCount> FCubeCells{};
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = true;
};

// ---- Spectrum ----

// The screen cursor number of the eyedropper over the spectrum picture.
constexpr TCursor crColorPointer = 54;

class TAdvColorSpectrumPanel : public TAdvCustomColorSelectorPanel {
public:
    // Raises EResNotFound when the spectrum picture is missing from the program.
    explicit TAdvColorSpectrumPanel(TComponent* AOwner);

    // Size 150 x 174, the picture centred at the top, the two swatches below it; clears the hot
    // colour and repaints.
    void UpdateLayout();

    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    TColor HotColor() const { return FHotColor; }
    TImage* SpectrumImage() const { return FSpectrumImage; }
    TRect HotRect() const { return FHotRect; }
    TRect SelectedRect() const { return FSelectedRect; }

    TNotifyEvent OnSelect;

protected:
    void Paint() override;

private:
    void ImageMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DrawSwatch(const TRect& R, TColor Color);

    TImage* FSpectrumImage = nullptr;
    TColor FHotColor = clNone;
    TColor FSelectedColor = TColor(0xFFFFFF);
    TRect FHotRect, FSelectedRect;
};

// ---- Discrete palette ----

class TColorBoxItem : public TCollectionItem {
public:
    explicit TColorBoxItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    // A different colour raises the collection's change notice.
    void SetColor(TColor Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TRect Rect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    TItemPos ColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }

private:
    TColor FColor = clNone;
    bool FEnabled = true;
    TRect FRect;
    TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public TCollection {
public:
    explicit TColorBoxItems(TPersistent* Owner)
        : TCollection(CollectionItemClass<TColorBoxItem>()), FOwner(Owner) {}
    TColorBoxItem* Add() { return static_cast<TColorBoxItem*>(TCollection::Add()); }
    // An index outside the items raises the collection's index error.
    TColorBoxItem* Items(int Index) const { return static_cast<TColorBoxItem*>(TCollection::Items(Index)); }

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};

class TColorBoxAppearance : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    void SetDefaults();

    TColor BorderColor = TColor(0xC5C5C5);
    TColor OuterBorderColorHot = TColor(0x3694F2);
    TColor InnerBorderColorHot = TColor(0x94E2FF);
    TColor OuterBorderColorSelected = TColor(0x0000FF);
    TColor InnerBorderColorSelected = TColor(0x94E2FF);
    TNotifyEvent OnChange;
};

class TCustomColorSelector : public TAdvCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(TComponent* AOwner);
    ~TCustomColorSelector() override;

    // The 60 boxes: ten theme colours in a row of their own, then five rows of shades.
    void AddDefaultColorBoxes();
    virtual void UpdateLayout();

    int ItemIndex() const { return FItemIndex; }
    // -1 or a valid index; a larger value raises the collection's index error.
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColorBoxItems* Items() const { return FItems; }
    void SetItems(TColorBoxItems* Value) { FItems->Assign(Value); }
    TColorBoxAppearance* ColorBoxAppearance() const { return FColorBoxAppearance; }
    void SetColorBoxAppearance(TColorBoxAppearance* Value) { FColorBoxAppearance->Assign(Value); }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { SetLayoutValue(FColumns, Value); }
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value) { SetLayoutValue(FColumnGap, Value); }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { SetLayoutValue(FColorBoxWidth, Value); }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { SetLayoutValue(FColorBoxHeight, Value); }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // Keys 33 to 40 (page, home/end, arrows), only while the selector is enabled.
    void HandleNavigationKey(Word Key, bool EditorEnabled, bool DroppedDown);
    // The first box whose rectangle holds the point (left and top inclusive), or -1.
    int IndexAt(int X, int Y) const;

    TNotifyEvent OnItemSelect;

protected:
    virtual void DrawColorBox(int Index, TCanvas* Canvas);
    virtual void GetBoxArea(TRect& R);
    virtual void GetColorBoxSize(TPoint& Size);
    virtual void InvalidateColorBox(int Index);
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void SetItemHot(int Index);
    void SetLayoutValue(int& Field, int Value);
    void DrawBox(int Index);

    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 4, FOffSetY = 4;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12, FColorBoxWidth = 12;
    TColorBoxAppearance* FColorBoxAppearance = nullptr;
    TColorBoxItems* FItems = nullptr;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TColor FSelectedColor = clNone;
};
