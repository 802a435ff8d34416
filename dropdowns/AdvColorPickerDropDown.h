// The colour picker drop-down: a drop-down edit holding one colour. The edit shows a swatch of
// the selected colour and, optionally, a text for it; the popup shows one of four choosers,
// chosen by ColorSelectionStyle: a list of named colours (the Colors collection in an item
// selector), the discrete 60-box palette, the honeycomb colour cube or the hue/lightness
// spectrum. Keys, the mouse wheel and a 500 ms type-ahead move through the list or the palette
// without closing the popup; a pick in a chooser closes it, Escape restores the colour of the
// opening.
#pragma once

#include "AdvColorSelectors.h"
#include "AdvDropDown.h"
#include "AdvItemSelector.h"

class TTimer;
class TAdvColorPickerDropDown;

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// The text of a colour by ColorValueText: empty (cvtNone), the TColor value in upper-case
// hexadecimal of at least six digits (cvtHex), the web colour name or "#RRGGBB" (cvtWebName),
// "Red:R,Green:G,Blue:B" (cvtRGB) or "#RRGGBB" (cvtHTML). System colours are resolved for the
// last three; clNone, which has no red, green and blue, gives an empty text there.
String ColorValueToText(TColor Color, TColorValueText Kind);

class TColorItem : public TCollectionItem {
public:
    explicit TColorItem(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool Enabled() const { return FEnabled; }

    // From another colour item: Caption, Color, the enabled flag and Hint; any other source
    // raises the platform's assignment error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    TColor FColor = clNone;
    bool FEnabled = true;
    TRect FRect;
    String FHint;
};

class TColorItems : public TCollection {
public:
    explicit TColorItems(TAdvColorPickerDropDown* AOwner);

    TColorItem* Add() { return static_cast<TColorItem*>(TCollection::Add()); }
    TColorItem* Insert(int Index) { return static_cast<TColorItem*>(TCollection::Insert(Index)); }
    // An index outside the items raises the collection's index error.
    TColorItem* Items(int Index) const { return static_cast<TColorItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TColorItem* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() override;

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvColorPickerDropDown* FMyOwner;
};

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvColorPickerDropDown(TComponent* AOwner);
    ~TAdvColorPickerDropDown() override;

    // Appends the 16 named colours (Black, Maroon, ... White) to Colors; existing items stay.
    void AddDefaultColors();

    TColor SelectedColor() const { return FSelectedColor; }
    // A new colour selects the first item of Colors that has it (raising OnSelect); a colour no
    // item has leaves ItemIndex as it is.
    void SetSelectedColor(TColor Value);
    int ItemIndex() const { return FItemIndex; }
    // Values from Colors.Count on are ignored; 0 or more takes the item's colour, -1 keeps the
    // colour. OnSelect fires also when the index did not change.
    void SetItemIndex(int Value);
    // The caption of the selected item in csList, else the text ColorValueText gives.
    String SelectedColorText() const { return GetSelectedColorText(); }

    TColorItems* Colors() const { return FColors; }
    void SetColors(TColorItems* Value) { FColors->Assign(Value); }
    TItemAppearance* ItemAppearance() const { return FItemAppearance; }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    // Stored only: they take effect when the popup is next prepared.
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText Value) { FColorValueText = Value; }
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    // Prepares the popup for the new chooser at once (outside the designer).
    void SetColorSelectionStyle(TColorSelectionStyle Value);

    // The choosers (nullptr until their style was first prepared, and after the popup form went).
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TAdvColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
    TAdvColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }
    // The type-ahead's timer and text, for whoever drives the clock by hand.
    TTimer* KeyTimer() const { return FKeyTimer; }
    const String& SearchText() const { return FCurSearch; }
    void KeyTimerTick(TObject* Sender);

    TNotifyEvent OnSelect;
    // Draws the edit content instead of the swatch and the text.
    TOnDrawSelectedItem OnDrawSelectedColor;
    // Draws a list item in csList.
    TDrawItemEvent OnDrawColor;

    void SetComponentStyle(TKitStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void Dispatch(TMessage& Message) override;

protected:
    virtual String GetSelectedColorText() const;

    void CreateWnd() override;
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoShowDropDown() override;
    void AttachDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool CancelChanges) override;
    void DropDownFormDestroy(TObject* Sender) override;
    void MoveToNextItem() override;
    void MoveToPreviousItem() override;
    // A turn that moved through the items is used up: it does not go on to the parent, which
    // would hand it back to the focused picker for a second step.
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DrawEditContent() override;

private:
    void CreateItemSelector();
    void CreateColorSelector();
    void CreateCubePanel();
    void CreateSpectrumPanel();
    // Places a chooser at (0, 0) in the popup's colour and installs it as the popup's control.
    void InstallPanel(TControl* Panel);
    // Makes the chooser of the current style ready and visible, the others hidden.
    void PreparePanel();
    // Gives a panel chooser (palette, cube, spectrum) its own size again and fits the popup to it.
    void FitPanelPopup();
    void UpdateItemSelector();
    void ListSelect(TObject* Sender);
    void PaletteSelect(TObject* Sender);
    void CubeSelect(TObject* Sender);
    void SpectrumSelect(TObject* Sender);
    // The list keys of the csList style, over its list and the own steps.
    TPickerListKeys ListKeys();
    friend struct TPickerListKeys;
    // Gives the closed palette the control's colour (set by code since the last opening)
    // without a selection event.
    void SyncPalette();
    // The wheel steps the list or the palette (the cube and the spectrum take no turns).
    bool WheelMoves() const;
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void WMKeyDown(TMessage& Message);
    void PaintContent();

    TAdvCustomItemSelector* FItemSelector = nullptr;
    TAdvColorCubePanel* FColorCubePanel = nullptr;
    TAdvColorSpectrumPanel* FSpectrumPanel = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    TColorItems* FColors;
    int FItemIndex = -1;
    int FColorBoxWidth = 14, FColorBoxHeight = 14;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    TItemAppearance* FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer;
    String FCurSearch;
    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
    TColorValueText FColorValueText = cvtNone;
};
