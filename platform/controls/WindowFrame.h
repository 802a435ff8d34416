// Private glue for what a window has beyond its client widget: the non-client frame (border,
// window scroll bars, size box) with its retained window image, the scroll information of its
// bars, its shape (window region) and its layered picture. Only the platform's own sources
// include this header.
//
// A window with a non-client area has two widgets: the frame widget, placed where the window is
// (its bounds), which paints the border and holds the real scroll bars, and inside it the client
// widget (the window's own widget, client coordinates = widget coordinates). A window without a
// non-client area has only the client widget, as before.
#pragma once

#include "Controls.h"
#include "ScrollInfo.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <optional>

class QScrollBar;
class QPainter;
class TWindowFrame;

// One scroll bar: of a window (SB_HORZ, SB_VERT) or of a scroll-bar control (SB_CTL).
struct TScrollBarState {
    bool Allocated = false; // has information: made with the window's style or set since
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    bool Tracking = false; // the user drags the thumb
    int TrackPos = 0;
    UINT Arrows = ESB_ENABLE_BOTH; // disabled arrows
    bool Acted = false;            // an action ran since the button went down
    QPointer<QScrollBar> Widget;
};

struct TWindowExtras {
    TScrollBarState Bars[3]; // SB_HORZ, SB_VERT, SB_CTL
    QPointer<TWindowFrame> Frame;
    QImage Window;            // the window image in window coordinates (the frame shows it)
    bool WindowValid = false; // the frame was painted (WM_NCPAINT) since it last changed
    std::optional<QRegion> Shape;
    bool Layered = false; // shows the picture of UpdateLayeredWindow instead of its painting
    QImage LayeredImage;  // premultiplied, the window's size
    // A window whose client area a Qt widget covers (an edit's text box): the widget over it that
    // shows the client part of the window image; whether the layer's paint event runs now, and
    // whether a window canvas drew meanwhile.
    QPointer<QWidget> Layer;
    bool LayerPainting = false;
    bool LayerDrawn = false;

    // The extras of a control (made on first use) / nullptr when it has none.
    static TWindowExtras& Of(TWinControl* Control);
    static TWindowExtras* Find(const TWinControl* Control);
    static void Free(TWinControl* Control);

    // ---- Non-client area (NonClient.cpp) ----
    // Widths of the non-client area on each side (Left, Top, Right, Bottom) from the window's
    // styles: WS_BORDER 1, WS_EX_STATICEDGE 1, WS_EX_CLIENTEDGE 2, then the visible bars.
    static TRect Insets(const TWinControl* Control);
    // The window is a top-level window that is not a form (WS_POPUP).
    static bool IsPopup(const TWinControl* Control);
    // The widget that stands for the whole window: the frame, else the client widget.
    static QWidget* Outer(const TWinControl* Control);
    // Places the frame (making it when the styles ask for one) and the client widget; answers
    // false when the window has no frame (the caller places the client widget itself).
    static bool SyncGeometry(TWinControl* Control);
    // The styles changed (SetWindowLong, ShowScrollBar): frame, geometry, WM_SIZE, repaint.
    static void StylesChanged(TWinControl* Control);
    // The window's widgets are going: answers the widget to dispose (nullptr when this took care
    // of it) and forgets the frame and the bars.
    static QWidget* ReleaseWindow(TWinControl* Control);
    // Marks the non-client area for a new WM_NCPAINT and repaints the frame.
    static void InvalidateFrame(TWinControl* Control);
    // Where a window scroll bar lies (window coordinates); false when it does not show.
    static bool BarPlace(const TWinControl* Control, int Bar, TRect& Place);
    // Paints the default frame (border, size box) onto Canvas in window coordinates.
    static void PaintDefaultFrame(TWinControl* Control, TCanvas* Canvas);
    // Runs WM_NCPAINT into the window image when it is out of date; answers the image.
    static const QImage& WindowImage(TWinControl* Control);
    // The whole window (frame, bars, client and its windowed children) as an image of its size.
    static QImage RenderWindow(TWinControl* Control);
    // Draws a windowed child (frame and client) at its place onto a painter in the parent's
    // client coordinates (used when a parent renders its children).
    static void PaintChild(TWinControl* Child, QPainter& Painter);

    // ---- The layer over a covered client area (NonClient.cpp) ----
    // A window whose client widget a Qt widget fills (an edit's text box) gets a layer over the
    // children made so far: what a window canvas (GetWindowDC) draws over the client area shows
    // there, above the Qt widget, as the platform's window DC draws over the edit's own painting.
    // The layer's paint sends the window WM_PAINT (no DC: the Qt widget paints itself) for the
    // part of the update region it paints, after clearing that part of the layer, as the
    // window's own painting covers what was drawn there before.
    static void AttachLayer(TWinControl* Control);
    static bool HasLayer(const TWinControl* Control);
    // WM_PAINT for the part of Region (client coordinates) still in the update region.
    static void PaintThroughLayer(TWinControl* Control, const QRegion& Region);

    // ---- Scroll bars (ScrollInfo.cpp) ----
    // Makes, places and updates the bar widgets of a framed window.
    static void LayoutBars(TWinControl* Control);
    // Connects a Qt scroll bar to bar Bar of Control: user actions become WM_HSCROLL / WM_VSCROLL.
    static void AttachBar(TWinControl* Control, int Bar, QScrollBar* Widget);
    // Brings the widget of a bar up to date with its information.
    static void ApplyBar(TWinControl* Control, int Bar, bool Redraw);

    // ---- Shapes and layered windows (WindowShapes.cpp) ----
    // Applies window flags and attributes of the styles to a top-level window's widget.
    static void ApplyPopupStyles(TWinControl* Control);
    // Paints the layered picture instead of the window's own painting (onto the client widget's
    // painter); false when the window is not layered.
    static bool PaintLayered(TWinControl* Control, QPainter& Painter);
    // From now on the window shows Source from From on (its size): with PerPixelAlpha Source's
    // bytes are premultiplied colour and alpha, else it is opaque; ConstantAlpha scales it all.
    static void SetLayeredImage(TWinControl* Control, const QImage& Source, const TPoint& From,
                                bool PerPixelAlpha, Byte ConstantAlpha);

    // ---- Pointer, cursor and capture (CursorAndCapture.cpp) ----
    // The pointer moved to Screen over Window (a mouse event): GetCursorPos answers it, and
    // unless a control holds the capture the window hears WM_SETCURSOR for Msg over the part
    // Hit (a hit-test code).
    static void PointerMoved(TWinControl* Window, const TPoint& Screen, UINT Msg, bool SendSetCursor,
                             LRESULT Hit = HTCLIENT);

    // ---- Hit test, non-client mouse and sizing (NonClientMouse.cpp) ----
    // What lies under the screen point in Window (WM_NCHITTEST).
    static LRESULT HitTest(TWinControl* Window, const TPoint& Screen);
    // The client mouse message Msg happened over the part Hit of Window, which is not the client
    // area: the window hears WM_SETCURSOR and the non-client message instead.
    static void NonClientMouse(TWinControl* Window, LRESULT Hit, UINT Msg, const TPoint& Screen);
    // The default handling of WM_NCLBUTTONDOWN: a press on a sizing part (HTBOTTOMRIGHT) sizes
    // the top-level window that holds Window, through the window system where it can, else
    // by following the pointer until the button goes up.
    static void StartSizing(TWinControl* Window, LRESULT Hit, const TPoint& Screen);
    // While the platform sizes a window itself it takes every mouse message: true when it took
    // Msg (the pointer at Screen).
    static bool FollowSizing(UINT Msg, const TPoint& Screen);
    // The window system gave the top-level Window the new screen rectangle Rect (the user sized
    // it): WM_SIZING lets the window change it; the answer is the rectangle to take.
    static TRect UserSized(TWinControl* Window, const TRect& Rect);
    // The control Lost lost the capture to New: WM_CAPTURECHANGED.
    static void CaptureChanged(TControl* Lost, TControl* New);
};

// The frame widget of a window with a non-client area.
class TWindowFrame : public QWidget {
public:
    TWindowFrame(TWinControl* Control, QWidget* Parent, Qt::WindowFlags Flags);
    ~TWindowFrame() override;

    TWinControl* Control() const { return FControl; }
    void Detach() { FControl = nullptr; }
    // Scroll-bar signals being handled right now (deleting the frame then must wait).
    int Busy = 0;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    TWinControl* FControl;
};

// The capture is taken away from whatever holds it (a modal window, the form's deactivation): its
// control hears WM_CANCELMODE and the capture is released (WM_CAPTURECHANGED).
void CancelCapture();

// Qt window flags for a top-level window that is not a form (WS_POPUP, WS_EX_TOOLWINDOW,
// WS_EX_TOPMOST).
Qt::WindowFlags PopupWindowFlags(DWORD Style, DWORD ExStyle);
