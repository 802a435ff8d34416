// Private glue between the control classes and Qt: the widget that stands for a window, the
// translation of Qt's input events into messages, the key code tables, and the shared state of
// the window system (handle registry, focus, capture, the control under the mouse, key state).
// Only the platform's own sources include this header.
#pragma once

#include "Controls.h"

#include <QWidget>

#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

// The widget of a windowed control. It shows the control's painting (background, backing image,
// graphic children) and hands every input event to the control as messages. Qt's own focus
// handling (tab chain, focus on click) is switched off: the controls decide.
class TControlWidget : public QWidget {
public:
    TControlWidget(TWinControl* AControl, QWidget* AParent, Qt::WindowFlags Flags = {});
    ~TControlWidget() override;

    TWinControl* Control() const { return FControl; }
    // Cuts the link before the widget is deleted later (while one of its events is running).
    void Detach() { FControl = nullptr; }
    // Events of this widget being handled right now (deleting it then must wait).
    int EventDepth() const { return FEventDepth; }
    // Shows or hides the window: a framed window's frame goes with it.
    void setVisible(bool Visible) override;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    TWinControl* FControl;
    int FEventDepth = 0;
};

// Shared state and entry points; a friend of the control classes.
struct TControlPrivate {
    // Handle registry.
    static HWND Register(TWinControl* Control);
    static void Unregister(HWND Handle);

    // Focus ("the window with the keyboard focus", as the platform's SetFocus sets it).
    static TWinControl* Focused();
    static void FocusWindow(TWinControl* Control);
    static void ClearFocusSilently(TWinControl* Control);

    // Capture and the control under the mouse.
    static TControl* Capture();
    static void SetCapture(TControl* Control);
    static void SetMouseControl(TControl* Control);
    static TControl* MouseControl();
    static void ControlDestroyed(TControl* Control);

    // Keyboard state.
    static void SetKeyDown(int VirtKey, bool Down);
    static bool KeyDown(int VirtKey);
    static void SetModifiers(Qt::KeyboardModifiers Modifiers, int ExceptKey = 0);

    // Input from Qt (called by the widgets and event filters).
    static void KeyEvent(TWinControl* Receiver, QKeyEvent* Event);
    static void MouseEvent(TWinControl* Receiver, QMouseEvent* Event);
    static void WheelEvent(TWinControl* Receiver, QWheelEvent* Event);
    static void EnterEvent(TWinControl* Receiver, QEvent* Event);
    static void LeaveEvent(TWinControl* Receiver, QEvent* Event);
    // Drag enter, move, leave and drop over a window registered as a drop target.
    static void DropEvent(TWinControl* Receiver, QEvent* Event);

    // Painting of a windowed control into a painter (used by the widget and by PaintTo): the
    // part Region of it, which Qt paints now (its update region there is painted first), or with
    // Region nullptr all of it painted anew, its windowed children too.
    static void PaintControl(TWinControl* Control, QPainter& Painter, const QRegion* Region);

    // Runs Call and reports an exception that leaves it through the application.
    static void Guard(TObject* Sender, const std::function<void()>& Call);
    static void ReportException(TObject* Sender);

    // Deletes a widget now, or later when it or a widget inside it is handling an event.
    static void DisposeWidget(QWidget* Widget);

    // Form hooks used by the window system (Forms.cpp).
    static void ActivateFormOf(TWinControl* Control);
    // A window of its own (not a form) takes the activation: the active form deactivates and
    // the window gets the keyboard focus.
    static void ActivateWindow(TWinControl* Window);
};

// Key codes: Qt key + modifiers <-> virtual key, scan codes, the character a key types.
Word QtKeyToVirtualKey(int QtKey, Qt::KeyboardModifiers Modifiers);
int VirtualKeyToQtKey(Word VirtKey, bool& Keypad);
Byte VirtualKeyScanCode(Word VirtKey, bool& Extended);
// The character a key types on a US layout with the shift state (0 when it types none).
Char VirtualKeyChar(Word VirtKey, const TShiftState& Shift);
Qt::KeyboardModifiers ShiftToQtModifiers(const TShiftState& Shift);
TShiftState QtModifiersToShift(Qt::KeyboardModifiers Modifiers);
