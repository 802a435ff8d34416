// Two small controls of the grid: the thin overlay scroll bar of the metro scroll type
// (TScrollControl, one vertical and one horizontal laid over the grid) and the floating button
// that stands for a header cell while a column or row is moved (THeaderDragButton).
#pragma once

#include "Controls.h"

class TAdvStringGrid;

enum TScrollDirection { sdVertical, sdHorizontal };

// A scroll bar that is only a thumb over the grid's own painting. Its grid is its parent when
// that is a TAdvStringGrid; without one it paints nothing and ignores the mouse. The thumb's
// colour is the control's Color ($C0C0C0 at start). A press beside the thumb pages the grid, a
// drag of the thumb scrolls it.
class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent* AOwner);

    // Thickness of the thumb in pixels.
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value);

    // The thumb along the control (top and length for a vertical bar, left and width for a
    // horizontal one), whether or not it is shown; False without a grid.
    bool ThumbGeometry(int& Start, int& Size) const;
    // Whether the thumb shows: more data rows (columns) than visible ones.
    bool ThumbShown() const;
    bool DownOnScroller() const { return FDownOnScroller; }

protected:
    // The grid shows through: every pixel but the thumb's stays transparent.
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    TAdvStringGrid* Grid() const;

    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0; // pointer Y (X) when the thumb was pressed
    int FDownRow = 0; // TopRow (LeftCol) when the thumb was pressed
    TScrollDirection FDirection = sdVertical;
};

// The drag button: a pop-up window with a thin border that shows its caption over the look of the
// grid's fixed cell (0, 0); a caption holding "</" is drawn as markup, any other as one centred
// line cut with an ellipsis.
class THeaderDragButton : public TCustomControl {
public:
    explicit THeaderDragButton(TComponent* AOwner);

    TAdvStringGrid* Grid() const { return FGrid; }
    void SetGrid(TAdvStringGrid* Value) { FGrid = Value; }
    // Stored only.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    TAdvStringGrid* FGrid = nullptr;
    bool FFlat = false;
};
