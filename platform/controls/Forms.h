// Forms, the application and the screen of the class library.
//
// A form is a top-level window built in code: its constructor creates its components inside a
// loading bracket (BeginLoading ... EndLoading) and then runs DoCreate (OnCreate). Modal forms
// run a nested event loop until ModalResult becomes non-zero. Keys reach the form's controls
// through the class library's pipeline (CN_KEYDOWN -> CM_DIALOGKEY to the form, broadcast to its
// controls -> WM_KEYDOWN; CN_CHAR -> CM_DIALOGCHAR -> WM_CHAR): Qt's own tab chain and default
// buttons never act.
#pragma once

#include "Controls.h"
#include "Hints.h"

#include <memory>
#include <vector>

class QApplication;
class QCursor;
class QEventLoop;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TEnumSet<TFormStateItem>;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
using TExceptionEvent = TEvent<TObject*, Exception&>;
// HintStr, CanShow, HintInfo: the last word on a hint about to show.
using TShowHintEvent = TEvent<String&, bool&, THintInfo&>;

class TScrollingWinControl;

// One of the two window scroll bars of a scrolling control. Range is the extent of the content
// (with AutoScroll: the farthest child edge, unscrolled); Position is how far the content is
// scrolled (0 .. Range less the client extent); Visible says whether the bar may show at all,
// IsScrollBarVisible whether it shows now. Margin is kept for the callers that bring a child
// into view with some room around it.
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* Control, bool Vertical)
        : FControl(Control), FVertical(Vertical) {}

    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Range() const { return FRange; }
    void SetRange(int Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool IsScrollBarVisible() const { return FShown; }
    // The thumb moves the content while it is dragged (else only when it is let go).
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    void Assign(TPersistent* Source) override;

private:
    friend class TScrollingWinControl;
    // The client extent along the bar.
    int ControlSize() const;
    void ScrollMessage(int Code, int Pos);

    TScrollingWinControl* FControl;
    bool FVertical;
    int FPosition = 0;
    int FRange = 0;
    int FMargin = 0;
    int FIncrement = 8;
    bool FVisible = true;
    bool FShown = false;
    bool FTracking = false;
};

// A control that scrolls its client area with its window scroll bars; forms derive from it.
// With AutoScroll the ranges follow the children (every child move, size or alignment and every
// size of the control recomputes them), and a bar shows when its range exceeds the client
// extent. Scrolling moves the children; WM_HSCROLL / WM_VSCROLL move the bars (the thumb only on
// release unless the bar tracks).
class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar; }
    // Recomputes the ranges (with AutoScroll), which bars show, and keeps the positions in range.
    void UpdateScrollBars();

    void Dispatch(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void ChildBoundsChanged(TControl* AControl) override;

private:
    friend class TControlScrollBar;
    void ScrollContent(int DeltaX, int DeltaY);

    bool FAutoScroll = false;
    bool FUpdatingBars = false;
    TControlScrollBar* FHorzScrollBar;
    TControlScrollBar* FVertScrollBar;
};

// ---------------------------------------------------------------------------------------------
// Forms

class TCustomForm : public TScrollingWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void BeforeDestruction() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    // biHelp (the caption's help button) is a stand-in: there is no help system.
    const TBorderIcons& BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(const TBorderIcons& Value);
    // Where the form goes when it is first shown. The platform's default placements (poDefault,
    // poDefaultPosOnly, poDefaultSizeOnly) are stand-ins: the form keeps its own bounds.
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value);
    // fsStayOnTop keeps the window above the others; the MDI styles are stand-ins.
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    const TFormState& FormState() const { return FFormState; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte Value);

    // The frame around the client area (borders and caption) for the border style.
    TRect GetClientRect() const override;
    TPoint ClientOrigin() const override;

    // Showing and closing.
    void SetVisible(bool Value) override;
    void Show();
    void Hide();
    // Shows the form modally and runs its own event loop until ModalResult is set (closing
    // the window through its close box gives mrCancel). Raises EInvalidOperation "Cannot make a
    // visible window modal" when the form is visible already.
    virtual int ShowModal();
    // Asks OnCloseQuery, then OnClose with the close action (caHide by default; a modal form
    // gets mrCancel instead); the main form's close ends the application.
    void Close();
    // Frees the form once the current message has been handled.
    void Release();
    virtual bool CloseQuery();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);

    // Focus.
    bool Active() const { return FActive; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control that
    // cannot take the focus.
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    bool SetFocusedControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);
    TWinControl* FocusedControl() const { return FFocusedControl; }
    void SetFocus() override;
    bool CanFocus() const override;

    void Dispatch(TMessage& Message) override;

    // Events.
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    // Runs OnCreate: a form's constructor calls it after its loading bracket.
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    void CreateParams(TCreateParams& Params) override;
    QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
    void CreateWnd() override;
    void PaintWindow(TCanvas* Canvas) override;

    void MouseWheelHandler(TMessage& Message) override;
    void CMDialogKey(TCMDialogKey& Message);
    void CMActivate(TMessage& Message);
    void CMDeactivate(TMessage& Message);
    void CMShowingChanged(TMessage& Message);
    void CMRelease(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void WMClose(TMessage& Message);

private:
    friend class TScreen;
    friend class TApplication;
    friend class TControlWidget;
    friend struct TControlPrivate;
    void SetActive(bool Value);
    void SetWindowFocus();
    void CloseModal();
    void PlaceWindow();
    int FrameWidth() const;
    int CaptionHeight() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDefaultPosOnly;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TFormState FFormState;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 255;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FPlaced = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Screen

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* FocusedForm() const { return FFocusedForm; }

    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int Index) const;
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int Index) const { return Forms(Index); }

    // The cursor shown over every window (crDefault: each control's own).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The shape of a cursor id; ids without a shape answer the arrow.
    QCursor Cursors(int Index) const;
    void SetCursors(int Index, const QCursor& Shape);

    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    // The work area (the screen less the panels of the desktop) of the monitor nearest to a
    // screen point: the one that holds it, else the one whose area lies closest.
    TRect MonitorWorkAreaRect(const TPoint& Point) const;
    TFont* HintFont() const { return FHintFont; }

private:
    friend class TCustomForm;
    friend class TApplication;
    friend class TWinControl;
    friend struct TControlPrivate;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void BringFormToFront(TCustomForm* Form);
    // Makes Form the active form (OnDeactivate of the old one, OnActivate of the new one) and,
    // with Focus, gives the focus to its active control.
    void ActivateForm(TCustomForm* Form, bool Focus);
    // The active form was hidden: the most recently active visible form takes over.
    void ActivateNext(TCustomForm* Hidden);

    std::vector<TCustomForm*> FForms; // most recently active first
    TCustomForm* FActiveForm = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
    struct TCursorShapes;
    std::unique_ptr<TCursorShapes> FCursors; // the shapes set through SetCursors
    TFont* FHintFont;
};
extern TScreen* Screen;

// ---------------------------------------------------------------------------------------------
// Application

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Creates the global Application and Screen, and a QApplication unless one exists (argc
    // and argv must outlive it). Answers the application.
    static TApplication* Create(int& argc, char** argv);
    // Frees the forms, the application, the screen and the QApplication that Create made.
    static void Shutdown();

    void Initialize();
    // Creates a form owned by the application; the first form created is the main form.
    template <class T> void CreateForm(T*& Reference) {
        Reference = new T(this);
        if (!FMainForm)
            if (auto* f = dynamic_cast<TCustomForm*>(static_cast<TObject*>(Reference))) {
                f->HandleNeeded();
                FMainForm = f;
            }
    }
    // Shows the main form and handles events until the application terminates (the main form
    // closes or Terminate is called). A run starts by clearing Terminated; without a main form
    // it returns at once.
    void Run();
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* Value) { FMainForm = Value; }
    // Every form is a window of its own on the taskbar, as with MainFormOnTaskbar true.
    bool MainFormOnTaskbar = true;
    bool ShowMainForm = true;

    // Handles the events that are waiting, then returns.
    void ProcessMessages();
    // Waits for at least one event and handles it.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    int ModalLevel() const { return FModalLevel; }
    void ModalStarted() { ++FModalLevel; }
    void ModalFinished() { --FModalLevel; }

    // Reports the exception being handled (call inside a catch block): EAbort is silent;
    // OnException gets it when assigned, else ShowException shows it.
    void HandleException(TObject* Sender);
    // A modal error box with the message (a period added as the class library adds it).
    void ShowException(Exception& E);
    TExceptionEvent OnException;

    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value);
    // The program file with its full path.
    String ExeName() const;
    // The application's own hidden window: none here (a stand-in answering 0).
    HWND Handle() const;
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    // Hint settings (Hints.h shows the hints with them).
    TColor HintColor = clInfoBk;
    int HintPause = 500;
    int HintHidePause = 2500;
    // The pause before the next hint while one was just showing.
    int HintShortPause = 50;
    String Hint;
    TShowHintEvent OnShowHint;

    // Hints (Hints.cpp). The controls hand every mouse message here (a move starts the pause, a
    // press or key hides the hint); ActivateHint queries the control under CursorPos and shows
    // its hint; CancelHint hides it and forgets the control; HideHint only hides the window.
    void HintMouseMessage(TControl* Control, TMessage& Message);
    void ActivateHint(const TPoint& CursorPos);
    void CancelHint();
    void HideHint();
    TNotifyEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    void BringToFront();
    // Stand-ins: the application's windows are not minimised or restored as a whole.
    void Minimize();
    void Restore();

private:
    friend class TCustomForm;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FModalLevel = 0;
    String FTitle;
    bool FShowHint = true;
};
extern TApplication* Application;

// Runs Call on the main thread's event loop after the current message (a posted call).
void PostCall(std::function<void()> Call);

// ---------------------------------------------------------------------------------------------
// Driving controls from tests and tools: real Qt events through the same translation as the
// user's input.

// Sends a key press and release (Qt key events) to Target's window, or to the focused control
// when Target is nullptr. Ch is the character the key types (0: none; the layer derives it for
// letters, digits, space, Enter, Esc, Tab and Backspace when the key types one).
void SimulateKey(TWinControl* Target, Word Key, TShiftState Shift = {}, Char Ch = Char(0));
void SimulateKeyDown(TWinControl* Target, Word Key, TShiftState Shift = {}, Char Ch = Char(0));
void SimulateKeyUp(TWinControl* Target, Word Key, TShiftState Shift = {});
// Types each character of Text (a key press with the character).
void SimulateText(TWinControl* Target, const String& Text);
// Mouse events at (X, Y) in Target's client coordinates (a graphic control's events go to its
// parent's window at the translated position).
void SimulateMouseDown(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y);
void SimulateMouseUp(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y);
void SimulateMouseMove(TControl* Target, TShiftState Shift, int X, int Y);
void SimulateDblClick(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y);
// Press and release at (X, Y).
void SimulateClick(TControl* Target, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
void SimulateMouseEnter(TControl* Target);
void SimulateMouseLeave(TControl* Target);
// A wheel turn of Delta (120 per notch) at the client point (X, Y).
void SimulateWheel(TControl* Target, int Delta, TShiftState Shift, int X, int Y);
// Runs the event loop until Condition holds or TimeoutMs pass; answers Condition().
bool ProcessMessagesUntil(const std::function<bool()>& Condition, int TimeoutMs = 5000);
