// The splitter: a bar between two aligned controls that the user drags to share the space
// between them. It sizes the control it is aligned after (the one whose edge touches its own:
// above a top-aligned splitter, left of a left-aligned one, below a bottom-aligned one, right of
// a right-aligned one), live while the mouse moves, keeping at least MinSize pixels for that
// control and for the space left to the parent's other controls.
#pragma once

#include "Controls.h"

#include <algorithm>

// A drag would give the control NewSize pixels: the handler may change it or refuse it.
using TCanResizeEvent = TEvent<TObject*, int& /*NewSize*/, bool& /*Accept*/>;

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = std::max(1, Value); }
    // Draws a raised edge instead of a flat bar.
    bool Beveled = false;
    // Fires after a drag moved the splitter.
    TNotifyEvent OnMoved;
    // Fires during a drag with the size the control would get; a handler may refuse it.
    TCanResizeEvent OnCanResize;

    // The control the splitter sizes (nullptr when none touches it).
    TControl* ResizeControl() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void BoundsChanged(bool Resized) override;

private:
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    // The room the drag may give the control: the control's size plus the free space of the
    // parent's client area (the part its alClient control takes) less MinSize.
    int MaxSize(TControl* Control) const;

    int FMinSize = 30;
    TControl* FControl = nullptr; // while dragging
    int FStart = 0;               // the mouse position (parent client) at the press
    int FStartSize = 0;           // the control's size at the press
};
