// Notifications of child controls (WM_COMMAND, WM_NOTIFY) reflected back to them, and the
// relations between windows that GetWindow answers.
#include "Controls.h"

namespace {

// The windowed children of a window in z-order, bottom first.
std::vector<TWinControl*> WindowedChildren(const TWinControl* Parent) {
    std::vector<TWinControl*> list;
    for (int i = 0; i < Parent->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(Parent->Controls(i))) list.push_back(w);
    return list;
}

// A message from the control with handle From goes back to it as CN_ + the message; answers
// whether it did (no such control, or the window itself: handled here).
bool ReflectToControl(TWinControl* Self, HWND From, TMessage& Message) {
    TWinControl* control = From ? FindControl(From) : nullptr;
    if (!control || control == Self) return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

} // namespace

void TWinControl::WMCommand(TWMCommand& Message) {
    if (!ReflectToControl(this, HWND(Message.Ctl), Message.Message())) DefaultHandler(Message.Message());
}

void TWinControl::WMNotify(TWMNotify& Message) {
    NMHDR* header = Message.NMHdr();
    if (!header || !ReflectToControl(this, header->hwndFrom, Message.Message()))
        DefaultHandler(Message.Message());
}

HWND GetWindow(HWND Wnd, UINT Cmd) {
    TWinControl* control = FindControl(Wnd);
    if (!control) return 0;
    if (Cmd == GW_CHILD) {
        // The top of the z-order: the last windowed child.
        const std::vector<TWinControl*> children = WindowedChildren(control);
        return children.empty() ? 0 : children.back()->Handle();
    }
    if (Cmd != GW_HWNDNEXT && Cmd != GW_HWNDPREV) return 0;
    TWinControl* parent = control->Parent();
    if (!parent) return 0;
    // GW_HWNDNEXT goes down the z-order (towards the bottom), GW_HWNDPREV up.
    const std::vector<TWinControl*> siblings = WindowedChildren(parent);
    const auto it = std::find(siblings.begin(), siblings.end(), control);
    if (it == siblings.end()) return 0;
    if (Cmd == GW_HWNDNEXT) return it == siblings.begin() ? 0 : (*(it - 1))->Handle();
    return it + 1 == siblings.end() ? 0 : (*(it + 1))->Handle();
}
