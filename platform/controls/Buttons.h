// Buttons of the class library: the placement of a button's glyph and caption, shared by every
// button that shows both (speed buttons and the buttons of the control libraries), and the
// speed button.
#pragma once

#include "Controls.h"
#include "Types.h"

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What a speed button shows: up, disabled, pressed, or held down in its group.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// The glyph's top-left corner and the caption's rectangle, in the coordinates of Client.
struct TButtonContentPlacement {
    TPoint GlyphPos;
    TRect TextBounds;
};

// Places a glyph of GlyphSize and a caption of TextSize (each 0 x 0 when missing) in Client:
// both are centred across the layout direction ((size - part + 1) div 2); the spacing is 0 when
// either part is missing. Margin -1 with Spacing -1 splits the free space in three equal parts
// (margin = spacing); Margin -1 alone centres the pair; Spacing -1 alone centres the caption in
// what is left after margin and glyph. The glyph then goes at the margin from its side and the
// caption at the spacing from the glyph. RightToLeftReading swaps glyph left and glyph right.
TButtonContentPlacement CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                         TButtonLayout Layout, int Margin, int Spacing,
                                         bool RightToLeftReading = false);

// ---------------------------------------------------------------------------------------------
// The speed button: a graphic control with a glyph and a caption that is pressed while the left
// button is held on it (it takes the mouse capture) and clicks when released over it. Buttons of
// one GroupIndex (non-zero) under one parent stay down one at a time (bsExclusive); AllowAllUp
// lets the down one go up again. Flat buttons show their edge only while the mouse is over them
// (CM_MOUSEENTER / CM_MOUSELEAVE) or while pressed; a transparent flat button leaves its
// background to the parent.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    void Dispatch(TMessage& Message) override;
    void Click() override;

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // Only a button of a group can be down; a down button goes up only with AllowAllUp.
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // NumGlyphs pictures side by side: up, disabled, pressed, down. A missing pressed or down
    // picture is the up one; a missing disabled one is the up one embossed in grey.
    TBitmap* Glyph() const { return FGlyph; }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    // 1 to 4; other values are ignored.
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // -1 centres glyph and caption; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The glyph of the current state and the caption, placed by CalcButtonLayout in R and moved
    // by Offset (one pixel while pressed).
    void DrawContent(const TRect& R, TPoint Offset);

    TButtonState FState = bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;

private:
    void UpdateExclusive();
    // Sends CM_MOUSEENTER or CM_MOUSELEAVE when the pointer's side of the border changed.
    void UpdateTracking();
    // The picture of the state (key colour transparent), or a null image without a glyph.
    QImage GlyphImage(TButtonState State) const;

    void CMButtonPressed(TMessage& Message);
    void CMDialogChar(TCMDialogChar& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMLButtonDblClk(TWMMouse& Message);

    TBitmap* FGlyph;
    int FNumGlyphs = 1;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FTransparent = true;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};
