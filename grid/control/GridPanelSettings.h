// Settings of the grid's pop-up and docked parts: the floating footer (TFloatingFooter), balloon
// tips (TBalloonSettings) and the filter drop-down list (TFilterDropDown). These objects hold
// the values and tell the grid when they change; the footer panel, the balloon window and the
// filter lists that act on them belong to the grid.
#pragma once

#include "GridSettingsHost.h"

#include "Graphics.h"

// ---------------------------------------------------------------------------------------------
// Floating footer

// What the footer shows: the grid's last row (which then hides from the row area and counts as
// a fixed footer row), one column of the current row, a template filled from the current row,
// or what the application paints.
enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

using TCalcFooterEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/>;

class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TGridSettingsHost* AGrid) : FGrid(AGrid) {}

    // The footer height (the grid keeps it equal to its default row height); when the panel
    // exists and the value is above 0, the panel takes value - 1.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Shows or hides the panel (height Height - 1, or 0); the grid's FixedFooters becomes 1 and
    // its last row hides when shown with fsFixedLastRow, else 0 and shown; the grid repaints.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Background of the footer cells; repaints the panel.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The grid's last row hides when the footer is visible with fsFixedLastRow; the grid and the
    // panel repaint.
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    // The column fsColumnPreview shows and fsCustomPaint passes on; repaints the panel.
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    // The template of fsCustomPreview ("<#N>" stands for column N of the current row); repaints
    // the panel.
    const String& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const String& Value);
    // Hidden rows take part in the footer calculations.
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    // Footer calculations run.
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    // Hints over the footer cells (the panel's ShowHint).
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // A line along the footer's top edge; clNone draws none. A change repaints the panel.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);

    TCalcFooterEvent OnCalcFooter;

    // Repaints the footer panel.
    void Invalidate();

    // CalculateHiddenRows, Color, Column, CustomTemplate, FooterStyle, then Visible through its
    // setter, then ShowHint through its setter.
    void Assign(TPersistent* Source) override;

private:
    bool HidesLastRow() const { return FVisible && FFooterStyle == fsFixedLastRow; }

    TGridSettingsHost* FGrid;
    int FHeight = 0;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    String FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FEnableCalculation = true;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// ---------------------------------------------------------------------------------------------
// Balloon tips

class TBalloonSettings : public TPersistent {
public:
    TBalloonSettings() = default;

    // clNone and -1 keep the platform's values.
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor Value) { FTextColor = Value; }
    int ReshowDelay() const { return FReshowDelay; } // ms
    void SetReshowDelay(int Value) { FReshowDelay = Value; }
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int Value) { FInitialDelay = Value; }
    int AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(int Value) { FAutoHideDelay = Value; }
    // 0 opaque; otherwise the tip's opacity is 255 - Transparency.
    Byte Transparency() const { return FTransparency; }
    void SetTransparency(Byte Value) { FTransparency = Value; }
    // Balloons on; the setter stores the value and fires OnEnableChange.
    bool Enable() const { return FEnable; }
    void SetEnable(bool Value);

    // The grid's handler makes or destroys the tooltip window.
    TNotifyEvent OnEnableChange;

    // Whether the grid's tooltip window exists (kept here for the grid).
    bool Initialized() const { return FInit; }
    void SetInitialized(bool Value) { FInit = Value; }

    // TextColor, BackgroundColor, the three delays and Enable (without OnEnableChange); not
    // Transparency.
    void Assign(TPersistent* Source) override;

private:
    bool FInit = false;
    TColor FBackgroundColor = clNone;
    TColor FTextColor = clNone;
    int FReshowDelay = -1;
    int FInitialDelay = -1;
    int FAutoHideDelay = -1;
    Byte FTransparency = 0;
    bool FEnable = false;
};

// ---------------------------------------------------------------------------------------------
// Filter drop-down list

class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    ~TFilterDropDown() override;

    // Size the list to its entries.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // The setter copies the font.
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    // The filter button's pictures (of an unfiltered and of a filtered column); the setters copy,
    // and every change of either picture fires OnChange.
    TBitmap* Glyph() const { return FGlyph; }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    TBitmap* GlyphActive() const { return FGlyphActive; }
    void SetGlyphActive(TBitmap* Value) { FGlyphActive->Assign(Value); }
    // The list takes the width and left edge of the column's cell.
    bool ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(bool Value) { FColumnWidth = Value; }

    TNotifyEvent OnChange;

    // Color, ColumnWidth, Font, Height, Width, Glyph and GlyphActive; not AutoSize.
    void Assign(TPersistent* Source) override;

private:
    bool FAutoSize = false;
    int FHeight = 150;
    int FWidth = 150;
    TColor FColor = clWindow;
    TFont* FFont;
    TBitmap* FGlyph;
    TBitmap* FGlyphActive;
    bool FColumnWidth = false;
};
