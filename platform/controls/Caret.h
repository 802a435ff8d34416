// The caret of an edit window that holds the focus. HideCaret hides it until the window gets the
// focus again (the edit makes a new caret then) or ShowCaret shows it; both answer false for a
// window that is no edit or does not hold the focus. CaretHidden tells whether it is hidden.
#pragma once

#include "Messages.h"

bool HideCaret(HWND Wnd);
bool ShowCaret(HWND Wnd);
bool CaretHidden(HWND Wnd);
