// The grid's hint window: shows a hint as cell markup (or as packed wide text) without a border,
// with a drop shadow, topmost and without taking the activation, kept on the monitor nearest to
// where it opens. The grid uses it for markup cell hints and for its size and scroll hints;
// UseHTMLHints makes it the application's hint window.
#pragma once

#include "Hints.h"

class TCustomImageList;
class TPictureContainer;

// The font name of the grid that built the last cell hint: packed wide hints are drawn in it.
extern String HintFontName;

class THTMLHintWindow : public THintWindow {
public:
    explicit THTMLHintWindow(TComponent* AOwner);

    // (0, 0, width, height) of the hint measured within MaxWidth: packed wide text as one line
    // in HintFontName, any other text by the markup renderer.
    TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
    // Sized to the text from Rect's top-left (8 pixels of padding for packed wide text, 16 for
    // other text, 4 in height), moved 2 pixels inside the right and bottom edge of the nearest
    // monitor's work area when it passes them, then shown topmost without activation.
    void ActivateHint(TRect Rect, const String& AHint) override;
    // AData, when it is a grid (a TObject*), gives the images; then ActivateHint.
    void ActivateHintData(TRect Rect, const String& AHint, void* AData) override;
    void Dispatch(TMessage& Message) override;

    TCustomImageList* Images() const { return FImages; }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    const String& WideCaption() const { return FWideCaption; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    TCustomImageList* FImages = nullptr;            // not owned
    TPictureContainer* FPictureContainer = nullptr; // not owned
    int FTextHeight = 0;
    int FTextWidth = 0;
    String FWideCaption; // the unpacked text of a packed wide hint
};
