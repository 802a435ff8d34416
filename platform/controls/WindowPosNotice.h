// A notice after a window of the application (form or control) moved or changed its size, the
// moment a window hears WM_WINDOWPOSCHANGED: this platform's stand-in for a thread's
// call-window-procedure hook that watches those messages. Notices run in the order they were
// added; RemoveWindowPosNotice takes the number AddWindowPosNotice answered.
#pragma once

#include <functional>

class TWinControl;

using TWindowPosNotice = std::function<void(TWinControl* Window)>;
int AddWindowPosNotice(TWindowPosNotice Notice);
void RemoveWindowPosNotice(int Id);
