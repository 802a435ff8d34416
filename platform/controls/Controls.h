// Controls of the class library: the control tree, geometry and alignment, visibility and
// enabling, fonts and colours, mouse and keyboard through window messages, focus and tab order,
// windows on demand, and the backing images of self-drawn controls.
//
// Every windowed control (TWinControl) owns a QWidget once its window exists; Qt events are
// translated into the class library's messages and go through WindowProc -> WndProc ->
// Dispatch -> the handler named after the message -> DefaultHandler. A class that handles
// messages overrides Dispatch with a switch over its messages calling its handlers; "inherited"
// in a handler is a call of the base class's Dispatch.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include "Regions.h"
#include "ScrollInfo.h"
#include "System.h"
#include "Types.h"

#include <QImage>

#include <functional>
#include <map>
#include <set>
#include <vector>

class QWidget;
class QEvent;
class QPainter;
class QTimer;
class QCursor;

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;
class TControlWidget;
struct PAINTSTRUCT;
struct TWindowExtras;

// ---------------------------------------------------------------------------------------------
// Enumerations and event types

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TEnumSet<TAlign>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TEnumSet<TAnchorKind>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,
    csPannable,
    csAlignWithMargins,
    csGestures,
    csPaintBlackOpaqueOnGlass,
    csOverrideStylePaint
};
using TControlStyle = TEnumSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
    csDesignerHide,
    csPanning,
    csRecreating,
    csAligning,
    csGlassPaint,
    csPrintClient
};
using TControlState = TEnumSet<TControlStateItem>;

// Border styles of forms; controls with a border (bsNone / bsSingle) use the same enumeration.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Cursors: the class library's ids; custom cursors are registered in Screen->Cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

using TWndMethod = std::function<void(TMessage&)>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, Word&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, Char&>;
// Sender, Shift, WheelDelta, MousePos (screen), Handled.
using TMouseWheelEvent = TEvent<TObject*, TShiftState, int, TPoint, bool&>;
using TMouseWheelUpDownEvent = TEvent<TObject*, TShiftState, TPoint, bool&>;
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;

// What a window is created with: CreateParams fills it, CreateWnd makes the window from it.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = 0;
    DWORD WindowClassStyle = 0;
    String WinClassName;
};

// The window styles of a control's BorderStyle: bsSingle is a sunken 2-pixel edge
// (WS_EX_CLIENTEDGE) with Ctl3D and a 1-pixel line (WS_BORDER) without; bsNone neither.
void AddBorderStyle(TCreateParams& Params, TBorderStyle BorderStyle, bool Ctl3D);

// ---------------------------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Messages. Perform sends through WindowProc (which starts as WndProc and may be replaced
    // and restored by other code).
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    LRESULT Perform(TMessage& Message);

    // Geometry, in the parent's client coordinates (forms: screen coordinates of the frame).
    int Left() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int Top() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // The client area in client coordinates (origin 0, 0).
    virtual TRect GetClientRect() const;
    TRect ClientRect() const { return GetClientRect(); }
    int ClientWidth() const { return GetClientRect().Width(); }
    void SetClientWidth(int Value);
    int ClientHeight() const { return GetClientRect().Height(); }
    void SetClientHeight(int Value);
    void SetClientSize(int AWidth, int AHeight);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& Point) const;
    TPoint ScreenToClient(const TPoint& Point) const;
    TPoint ClientToParent(const TPoint& Point, TWinControl* AParent = nullptr) const;
    TPoint ParentToClient(const TPoint& Point, TWinControl* AParent = nullptr) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    const TAnchors& Anchors() const { return FAnchors; }
    void SetAnchors(const TAnchors& Value);

    // Visibility and enabling.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show();
    void Hide();
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible and every parent showing (a form: shown on the screen).
    virtual bool Showing() const;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const { return FParent != nullptr; }

    // Colour and font; ParentColor / ParentFont follow the parent's until set here.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    // Caption and Text are the same text; changing it sends CM_TEXTCHANGED.
    String Caption() const { return GetText(); }
    void SetCaption(const String& Value) { SetText(Value); }
    String Text() const { return GetText(); }
    void SetText(const String& Value);
    int GetTextLen() const { return int(GetText().size()); }

    // The hint the application shows over the control with ShowHint (Hints.h).
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    // Action link: assigning an action links the control to it and calls ActionChange.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TControlActionLink* ActionLink() const { return FActionLink; }

    const TControlStyle& ControlStyle() const { return FControlStyle; }
    void SetControlStyle(const TControlStyle& Value) { FControlStyle = Value; }
    bool HasStyle(TControlStyleItem Item) const { return FControlStyle.count(Item) != 0; }
    const TControlState& ControlState() const { return FControlState; }
    void SetControlState(const TControlState& Value) { FControlState = Value; }

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
    // Right-to-left layout and reading: only where the system's locale reads right to left
    // (PlatformSwitches().MiddleEastLocale, off here) and BiDiMode asks for it.
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;

    // Dragging between controls: there is no drag machinery here yet (no drag starts, OnDragOver
    // and OnDragDrop never fire), so automatic dragging and IsDragging are stand-ins.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value);
    TDragKind DragKind = dkDrag;
    TCursor DragCursor = crDrag;
    bool IsDragging() const;

    // Painting: Invalidate asks for a paint of the whole control at the next chance; Update
    // paints what is pending now; Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    void BringToFront();
    void SendToBack();

    // The control's click (dynamic in the class library): runs OnClick, or the action when
    // no OnClick is assigned.
    virtual void Click();

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    void SetName(const String& NewName) override;

    // Asks for the window of the form of this control (GetParentForm).
    TCustomForm* ParentForm() const;
    // Whether this is a form (a TCustomForm whose constructor has run and destructor not): the
    // test of dynamic_cast<TCustomForm*> without walking the class tree, which every control
    // does while it is shown, placed or moved.
    bool IsFormWindow() const { return FIsForm; }

protected:
    virtual String GetText() const { return FText; }
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void MouseWheelHandler(TMessage& Message);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void Resize();
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    virtual TControlActionLink* CreateActionLink();
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void ChangeScale(int M, int D);
    // Called when the bounds change, after the new values are stored (Resized: the size changed).
    virtual void BoundsChanged(bool Resized);
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Handlers.
    void WMLButtonDown(TWMMouse& Message);
    void WMLButtonUp(TWMMouse& Message);
    void WMLButtonDblClk(TWMMouse& Message);
    void WMRButtonDown(TWMMouse& Message);
    void WMRButtonUp(TWMMouse& Message);
    void WMRButtonDblClk(TWMMouse& Message);
    void WMMButtonDown(TWMMouse& Message);
    void WMMButtonUp(TWMMouse& Message);
    void WMMButtonDblClk(TWMMouse& Message);
    void WMMouseMove(TWMMouse& Message);
    void WMMouseWheel(TWMMouseWheel& Message);
    void WMContextMenu(TWMContextMenu& Message);
    void CMMouseWheel(TCMMouseWheel& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMParentShowHintChanged(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMHitTest(TCMHitTest& Message);
    void CMTextChanged(TMessage& Message);
    // The mouse is taken away (a modal window, the form's deactivation): the capture goes.
    void WMCancelMode(TWMCancelMode& Message);
    // The capture went to another window (or was released): a left button still held ends as
    // a release at (-1, -1), so sizing, moving and selecting end.
    void WMCaptureChanged(TWMCaptureChanged& Message);

    TControlStyle FControlStyle;
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TControlActionLink;
    friend struct TControlPrivate;
    friend struct TWindowExtras;
    void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TWMMouse& Message, TMouseButton Button);
    void FontChanged(TObject* Sender);
    void DoActionChange(TObject* Sender);
    void ApplyAnchors(int DeltaWidth, int DeltaHeight);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = {akLeft, akTop};
    bool FVisible = true;
    bool FIsForm = false; // set and cleared by TCustomForm
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TFont* FFont;
    bool FParentFont = true;
    bool FSettingParentFont = false;
    String FText;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TControlActionLink* FActionLink = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TDragMode FDragMode = dmManual;
};

// ---------------------------------------------------------------------------------------------
// TWinControl

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // The window: created on demand (reading Handle creates it and the windows of its parents).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded();
    // The Qt widget of the window (created on demand) / nullptr while it does not exist.
    QWidget* Widget();
    QWidget* WidgetIfAllocated() const;
    // Destroys the window and makes it anew from CreateParams (a new handle).
    void RecreateWnd();
    // Window styles as last created or set through SetWindowLong.
    DWORD WindowStyle() const { return FStyle; }
    DWORD WindowExStyle() const { return FExStyle; }

    // Children.
    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const;
    int WinControlCount() const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    // The visible child at Pos (client coordinates), topmost first; nullptr when none.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    // Sends Message to each child until one answers non-zero.
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);

    // Alignment of the children (alTop, alBottom, alLeft, alRight, alClient, anchors).
    void DisableAlign();
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return FAlignLevel > 0; }

    // Focus and tab order.
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    // The windowed controls below this one in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void SelectFirst();

    TBrush* Brush() const { return FBrush; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value);

    bool Showing() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The client area is the window less its non-client area (the border of WS_BORDER,
    // WS_EX_STATICEDGE or WS_EX_CLIENTEDGE and the visible window scroll bars). A top-level
    // window that is not a form (WS_POPUP) has its bounds in screen coordinates.
    TRect GetClientRect() const override;
    TPoint ClientOrigin() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    // Renders the control (its non-client frame and scroll bars, its background, its own
    // painting and its children) onto Canvas at (X, Y), whether or not it is on the screen.
    void PaintTo(TCanvas* Canvas, int X, int Y);
    // The same into a new image of the control's size.
    QImage GrabImage();

    // Events.
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    // The Qt event being translated into the current message for this control, or nullptr
    // when the message did not come from Qt (sent, posted or performed by code). Wrapped Qt
    // widgets pass it on in their default handling.
    QEvent* CurrentEvent() const { return FCurrentEvent; }

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Makes the Qt widget from Params under ParentWidget (nullptr: a top-level window). The
    // default makes our own widget that shows the control's painting.
    virtual QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget);
    void CreateHandle();
    void DestroyHandle();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    // A child was moved or sized (not by the alignment): aligned children are aligned anew.
    virtual void ChildBoundsChanged(TControl* AControl);
    void FixupTabList();
    void Loaded() override;
    void BoundsChanged(bool Resized) override;

    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(Char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    bool DoKeyDown(TWMKey& Message);
    bool DoKeyUp(TWMKey& Message);
    bool DoKeyPress(TWMKey& Message);

    // Paints the window's background (WM_ERASEBKGND default): the brush colour.
    virtual void PaintBackground(TCanvas* Canvas);
    // Draws the visible graphic children (in z-order) onto Canvas at their positions.
    void PaintControls(TCanvas* Canvas);
    // Paints the control's own face into Canvas (client coordinates): the default paints the
    // background; self-drawn controls run their Paint.
    virtual void PaintWindow(TCanvas* Canvas);
    // The canvas a paint of the window draws on, made ready for a paint of Region (its pixels
    // there are about to be painted anew); nullptr for a window without a canvas of its own,
    // whose face is its colour.
    virtual TCanvas* PaintCanvas(const QRegion& Region);
    // BeginPaint / EndPaint of this window (also before it has a handle).
    HDC StartPaint(PAINTSTRUCT& PS);
    void FinishPaint(const PAINTSTRUCT& PS);

    // Handlers.
    void WMSetFocus(TWMSetFocus& Message);
    void WMKillFocus(TWMKillFocus& Message);
    void WMKeyDown(TWMKey& Message);
    void WMKeyUp(TWMKey& Message);
    void WMChar(TWMKey& Message);
    void WMSysKeyDown(TWMKey& Message);
    void WMSysKeyUp(TWMKey& Message);
    void WMSysChar(TWMKey& Message);
    void CNKeyDown(TWMKey& Message);
    void CNKeyUp(TWMKey& Message);
    void CNChar(TWMKey& Message);
    void CNSysKeyDown(TWMKey& Message);
    void CNSysChar(TWMKey& Message);
    void CMDialogKey(TCMDialogKey& Message);
    void CMDialogChar(TCMDialogChar& Message);
    void CMChildKey(TCMChildKey& Message);
    void CMFocusChanged(TCMFocusChanged& Message);
    void CMEnter(TMessage& Message);
    void CMExit(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMShowingChanged(TMessage& Message);
    void CMShowHintChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMCursorChanged(TMessage& Message);
    void WMTimer(TWMTimer& Message);
    void WMSize(TWMSize& Message);
    // The cursor over the window: a graphic child's or the control's own when not crDefault
    // (Screen->Cursor first), else the parent decides, else the arrow.
    void WMSetCursor(TWMSetCursor& Message);
    // A scroll-bar control's notification goes back to it as CN_HSCROLL / CN_VSCROLL.
    void WMHScroll(TWMScroll& Message);
    void WMVScroll(TWMScroll& Message);
    // A control's WM_COMMAND (Ctl its handle) or WM_NOTIFY (hwndFrom of its header) goes back
    // to it as CN_COMMAND / CN_NOTIFY; other ones (a menu's choice) reach DefaultHandler.
    void WMCommand(TWMCommand& Message);
    void WMNotify(TWMNotify& Message);

private:
    friend class TControl;
    friend class TCustomForm;
    friend class TControlWidget;
    friend class TScreen;
    friend struct TControlPrivate;
    friend struct TWindowExtras;
    friend bool SetTimer(HWND, UINT_PTR, UINT);
    friend bool KillTimer(HWND, UINT_PTR);
    friend LONG GetWindowLong(HWND, int);
    friend LONG SetWindowLong(HWND, int, LONG);
    friend bool InvalidateRgn(HWND, const QRegion*, bool);
    friend bool ValidateRect(HWND, const TRect*);
    friend int GetUpdateRgn(HWND, QRegion&, bool);
    friend HDC BeginPaint(HWND, PAINTSTRUCT&);
    friend bool EndPaint(HWND, const PAINTSTRUCT&);
    // The update region: the area the window paints (its widget's, in the coordinates of its
    // canvas); adding to it asks Qt for a paint of that part; a paint takes what it paints.
    QRegion PaintArea() const;
    void AddUpdateRegion(const QRegion& Region, bool Erase);
    void RemoveUpdateRegion(const QRegion& Region);
    void MarkWholeDue(bool Erase);
    void ResolveUpdateRegion();
    void EraseUpdateRegion();
    void UpdateShowing();
    void UpdateTabOrder(int Value);
    void DoAlign(TAlign AAlign, TRect& Rect, bool& Changed);
    void AlignControl(TControl* AControl);
    void SyncWidgetGeometry();
    void StackAmongSiblings();
    void ApplyCursor();
    void ApplyWindowStyles();

    HWND FHandle = 0;
    TControlWidget* FWidget = nullptr;
    QWidget* FQWidget = nullptr;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    std::vector<TControl*> FControls;   // z-order, bottom first
    std::vector<TWinControl*> FTabList; // windowed children in tab order
    bool FTabStop = false;
    int FTabOrder = -1; // stored while loading, fixed up in Loaded
    int FAlignLevel = 0;
    bool FAlignPending = false;
    bool FShowing = false;
    TBrush* FBrush;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FDoubleBuffered = false;
    bool FParentBackground = false;
    QEvent* FCurrentEvent = nullptr;
    QRegion FUpdateRgn;        // the part of the window that needs painting
    bool FUpdateErase = false; // ... starting with WM_ERASEBKGND
    // Without a window: something was invalidated, and the region is the whole paint area (made
    // when it is first needed; hidden windows are invalidated thousands of times while built).
    bool FUpdateWhole = false;
    // During a paint event: the part Qt paints now (a paint takes only that part of the region).
    const QRegion* FPaintLimit = nullptr;
    std::map<UINT_PTR, QTimer*> FTimers;
    TRect FLastClient;                // client rectangle the anchors were last applied to
    TWindowExtras* FExtras = nullptr; // non-client frame, scroll bars, shape, layered picture
};

// ---------------------------------------------------------------------------------------------
// Self-drawn controls

// The backing image of a self-drawn control and the canvas that draws on it. The image has the
// control's size (at least 1 x 1, transparent when it is made anew), but its pixels are made only
// when they are needed: when the canvas first draws, the image is read or the control is painted.
// A control that is never shown costs no pixels, however often layouts move and size it. Paint
// runs one paint into it, marking the time of the paint so that drawing then does not ask for
// another update.
class TBackingImage {
public:
    explicit TBackingImage(TNotifyEvent OnCanvasChange);
    ~TBackingImage();
    TBackingImage(const TBackingImage&) = delete;
    TBackingImage& operator=(const TBackingImage&) = delete;

    // The size the image is to have (each at least 1); the pixels follow when next needed.
    void SetSize(int Width, int Height);
    // Makes (or resizes) the image now and points the canvas at it.
    void Ensure();
    // The canvas; drawing on it makes the image first.
    TCanvas* Canvas() const { return FCanvas; }
    QImage& Image() {
        Ensure();
        return FImage;
    }
    // Makes the pixels of Region transparent.
    void Clear(const QRegion& Region);
    bool Painting() const { return FPainting; }
    // Runs Body with the clip reset and the paint mark set (restored afterwards, also when Body
    // throws), then copies the image onto DC when DC is another canvas. The canvas keeps one
    // QPainter open for the whole paint (a paint bracket, TCanvasPainting).
    void Paint(TCanvas* DC, const std::function<void()>& Body);

private:
    QImage FImage;
    TCanvas* FCanvas = nullptr;
    int FWidth = 1, FHeight = 1;
    bool FPainting = false;
};

// A windowed control that draws itself: Paint draws on Canvas, whose target is the control's
// backing image (the control's size). A paint of the window runs WM_PAINT -> BeginPaint ->
// (WM_ERASEBKGND when the update region asks for it) -> PaintWindow -> Paint into the image,
// clipped to the part being painted, and shows it; the rest of the image keeps its pixels.
// Drawing outside a paint (a setter that paints at once) goes into the same image and shows at
// the next update of the window, which the control schedules. Pixels left with alpha 0 let the
// parent show through (WS_EX_TRANSPARENT windows start each paint from transparent pixels
// instead of the brush colour).
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* Canvas();
    // The backing image (the control's size).
    QImage& BackImage();

    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint();
    void PaintWindow(TCanvas* Canvas) override;
    TCanvas* PaintCanvas(const QRegion& Region) override;
    void BoundsChanged(bool Resized) override;
    void WMPaint(TWMPaint& Message);
    // Makes the backing image transparent inside the canvas's clip (in a paint: the part being
    // painted), for faces that let the parent show through.
    void ClearToTransparent();

private:
    friend class TControlWidget;
    friend struct TControlPrivate;
    void CanvasChanged(TObject* Sender);

    TBackingImage FBack;
};

// A control without a window: it paints into its own image, which its parent shows at its
// position, and receives the mouse from its parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    TCanvas* Canvas();
    QImage& BackImage();

    void Dispatch(TMessage& Message) override;
    // Runs a paint now (transparent image, then Paint) and answers the image.
    const QImage& PaintImage();

protected:
    virtual void Paint();
    void BoundsChanged(bool Resized) override;
    void WMPaint(TWMPaint& Message);

private:
    friend struct TControlPrivate;
    void CanvasChanged(TObject* Sender);

    TBackingImage FBack;
};

// ---------------------------------------------------------------------------------------------
// Mouse

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& Value);
    // The window holding the mouse capture (0: none).
    HWND Capture() const;
    void SetCapture(HWND Value);
    // The control holding the capture (windowed or not).
    TControl* CaptureControl() const;
    bool MousePresent() const { return true; }
    bool WheelPresent() const { return true; }
    // The system's lines per wheel notch (3 unless the platform says otherwise).
    int WheelScrollLines() const;
    int DragThreshold() const { return 5; }
};
extern TMouse* Mouse;

// ---------------------------------------------------------------------------------------------
// Functions of the platform on windows, keys and controls

// The form that (through parents) holds the control; nullptr when none.
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);
// The same, but raises EInvalidOperation "Control '%s' has no parent window" when none.
TCustomForm* ValidParentForm(const TControl* Control, bool TopForm = true);
// The control whose window the handle names (nullptr when none).
TWinControl* FindControl(HWND Handle);
bool IsWindow(HWND Wnd);
bool IsWindowVisible(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);
bool EnableWindow(HWND Wnd, bool Enable);
bool ShowWindow(HWND Wnd, int CmdShow);
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
// The update region of a window: the part that needs painting, in the coordinates of the
// window's canvas ((0, 0) is its top-left corner). InvalidateRect / InvalidateRgn add R or Rgn
// (nullptr: the whole window) and ask for a paint; with Erase the paint starts with
// WM_ERASEBKGND. ValidateRect takes R (nullptr: everything) away. GetUpdateRect answers the
// region's bounding rectangle (empty when there is none) and whether there is one,
// GetUpdateRgn the region and its kind; with Erase, a pending erase is done now. A paint takes
// the part of the region it paints: BeginPaint answers the window's canvas clipped to that part
// (nothing outside it changes, even when the clip is reset) with rcPaint its bounding rectangle
// and fErase telling the handler to erase first; EndPaint ends the clip.
struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;
    TRect rcPaint;
    bool fRestore = false;
    bool fIncUpdate = false;
};
bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase);
bool InvalidateRgn(HWND Wnd, const QRegion* Rgn, bool Erase);
bool ValidateRect(HWND Wnd, const TRect* R);
bool GetUpdateRect(HWND Wnd, TRect& R, bool Erase);
int GetUpdateRgn(HWND Wnd, QRegion& Rgn, bool Erase);
HDC BeginPaint(HWND Wnd, PAINTSTRUCT& PS);
bool EndPaint(HWND Wnd, const PAINTSTRUCT& PS);
bool UpdateWindow(HWND Wnd);
HWND GetParent(HWND Wnd);
bool GetClientRect(HWND Wnd, TRect& R);
bool GetWindowRect(HWND Wnd, TRect& R);
// The window with the keyboard focus (0 when none) and moving it there.
HWND GetFocus();
HWND SetFocus(HWND Wnd);
HWND GetCapture();
HWND SetCapture(HWND Wnd);
bool ReleaseCapture();
// Hands the sizing of the top-level window that holds Wnd to the window system, from the edge
// or corner a hit-test code names (HTBOTTOMRIGHT: the bottom-right corner), as a press on that
// part of the window's frame does. False where the window system offers no such sizing (the
// offscreen platform, a window not shown): the caller sizes the window itself.
bool StartSystemSizing(HWND Wnd, LRESULT HitTest);
HWND GetActiveWindow();
// Window styles: GWL_STYLE / GWL_EXSTYLE of the window; a write changes the window at once
// (WS_EX_TRANSPARENT: the control paints over a transparent image from then on).
LONG GetWindowLong(HWND Wnd, int Index);
LONG SetWindowLong(HWND Wnd, int Index, LONG NewLong);
// Window timers: WM_TIMER with the id to the window every Elapse milliseconds.
bool SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse);
bool KillTimer(HWND Wnd, UINT_PTR IDEvent);

// Keyboard state as the key pipeline last saw it (and the modifiers Qt reports): the high bit
// (negative value) while the key is down.
short GetKeyState(int VirtKey);
short GetAsyncKeyState(int VirtKey);
TShiftState GetShiftState();
// Shift and Ctrl from the keyboard state, Alt from the key data's context bit.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
TShiftState KeysToShiftState(Word Keys);

// Text of a control (the accelerator rules of captions): the character after the first single
// "&" (upper-cased comparison), as the class library's IsAccel.
bool IsAccel(Word VK, const String& Str);
Char GetHotkey(const String& Text);
String StripHotkey(const String& Text);

// ---------------------------------------------------------------------------------------------
// Non-client area, window shapes and the window under a point

// A canvas over the whole window in window coordinates (the non-client frame included); what is
// drawn there shows where the frame is (the client area covers the rest). Release it with
// ReleaseDC. nullptr for a handle that names no window.
// A window related to Wnd: GW_CHILD its first child window (a standard control's inner window
// too, such as the edit of a combo box), GW_HWNDNEXT / GW_HWNDPREV its siblings; 0 for none.
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_CHILD = 5;
HWND GetWindow(HWND Wnd, UINT Cmd);
HDC GetWindowDC(HWND Wnd);
int ReleaseDC(HWND Wnd, HDC DC);
// Shapes the window by Region (the system owns it from then on; nullptr removes the shape).
// Answers non-zero on success.
int SetWindowRgn(HWND Wnd, HRGN Region, bool Redraw);
// Copies the window's shape into Region: SIMPLEREGION / COMPLEXREGION, RGN_ERROR without one.
int GetWindowRgn(HWND Wnd, HRGN Region);
// The window under a screen point (hidden and disabled windows are passed over; 0: none).
HWND WindowFromPoint(TPoint Point);
// The windowed control under a screen point / the control (a graphic child included).
TWinControl* FindVCLWindow(const TPoint& Pos);
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The pointer's screen position as the last mouse message saw it.
bool GetCursorPos(TPoint& Point);
// Shows Cursor over the window the pointer is over (inside WM_SETCURSOR: that window).
void SetCursor(const QCursor& Cursor);
