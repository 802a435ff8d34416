// The filter drop-down lists, the no-activate window, and the grid's opening and closing of the
// lists at a click on a column's filter button.
#include "GridFilterDropDown.h"

#include "AdvGrid.h"
#include "GridPanelSettings.h"
#include "GridSettings.h"
#include "OSInfo.h"

#include <algorithm>

namespace {

// The grid that owns a drop list (its parent), or nullptr.
TAdvStringGrid* ListGrid(TWinControl* List) {
    return dynamic_cast<TAdvStringGrid*>(List->Parent());
}

// Whether the pointer lies outside the control's client area.
bool CursorOutside(TWinControl* Control) {
    TPoint p;
    GetCursorPos(p);
    const TPoint c = Control->ScreenToClient(p);
    const TRect r = Control->ClientRect();
    return c.X < r.Left || c.X >= r.Right || c.Y < r.Top || c.Y >= r.Bottom;
}

// The value a check-list entry stands for in the filter: quoted when it holds a blank.
String FilterValue(const String& Shown) {
    return Shown.contains(u' ') ? QStringLiteral("\"") + Shown + QStringLiteral("\"") : Shown;
}

} // namespace

// =============================================================================================
// The lists' common closing rules

void TAdvStringGrid::CloseFilterList(TWinControl* List, TCloseFilterReason Reason, HWND FocusTo) {
    if (!List->Visible()) return;
    // Focus leaving for the grid keeps the open column: the grid's release on the same button
    // then closes the list instead of opening it again.
    const bool toGrid = Reason == cfFocusLost && HandleAllocated() && FocusTo == Handle();
    if (!toGrid) FFilterCol = -1;
    List->Hide();
    if (Reason == cfEscape && CanFocus()) SetFocus();
}

void TAdvStringGrid::DropListMessage(TWinControl* List, TMessage& Message, bool& Handled) {
    Handled = false;
    switch (Message.Msg) {
        case CM_CANCELMODE:
            if (CursorOutside(List)) {
                FFilterCol = -1;
                List->Hide();
            }
            break;
        case WM_KILLFOCUS: CloseFilterList(List, cfFocusLost, HWND(Message.WParam)); break;
        case WM_GETDLGCODE:
            // Return and Esc belong to the list, not to the form's default and cancel buttons.
            Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
            Handled = true;
            break;
        default: break;
    }
}

// =============================================================================================
// TDropList

void TDropList::Dispatch(TMessage& Message) {
    bool handled = false;
    TAdvStringGrid* grid = ListGrid(this);
    // A kill-focus hides the list after the inherited handling has let the focus go.
    if (grid && Message.Msg != WM_KILLFOCUS) grid->DropListMessage(this, Message, handled);
    if (!handled) TListBox::Dispatch(Message);
    if (grid && Message.Msg == WM_KILLFOCUS) grid->DropListMessage(this, Message, handled);
}

void TDropList::KeyDown(Word& Key, TShiftState Shift) {
    TListBox::KeyDown(Key, Shift);
    if (Key == VK_RETURN) {
        Hide();
        if (OnSelect) OnSelect(this, ItemIndex());
    } else if (Key == VK_ESCAPE) {
        if (TAdvStringGrid* grid = ListGrid(this)) grid->CloseFilterList(this, TAdvStringGrid::cfEscape, 0);
    }
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TListBox::MouseUp(Button, Shift, X, Y);
    // The press selected the item under the pointer; the release picks it.
    const int item = ItemAtPos(TPoint(X, Y), true);
    if (item >= 0) SetItemIndex(item);
    Hide();
    if (OnSelect) OnSelect(this, ItemIndex());
}

// =============================================================================================
// TDropCheckList

void TDropCheckList::Dispatch(TMessage& Message) {
    bool handled = false;
    TAdvStringGrid* grid = ListGrid(this);
    if (grid && Message.Msg != WM_KILLFOCUS) grid->DropListMessage(this, Message, handled);
    if (!handled) TCheckListBox::Dispatch(Message);
    if (grid && Message.Msg == WM_KILLFOCUS) grid->DropListMessage(this, Message, handled);
}

void TDropCheckList::KeyDown(Word& Key, TShiftState Shift) {
    TCheckListBox::KeyDown(Key, Shift);
    if (Key == VK_ESCAPE)
        if (TAdvStringGrid* grid = ListGrid(this)) grid->CloseFilterList(this, TAdvStringGrid::cfEscape, 0);
}

void TDropCheckList::ClickCheck() {
    TCheckListBox::ClickCheck();
    if (OnSelect) OnSelect(this, -1);
}

// =============================================================================================
// TNoActiveForm

void TNoActiveForm::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    // A pop-up, disabled window with a thin border; its pixels are saved beneath it. The
    // platform keeps a window that answers its activation itself out of the activation by its
    // not-activating extended style.
    Params.Style = DWORD(0x88800000);
    Params.ExStyle |= WS_EX_NOACTIVATE;
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void TNoActiveForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ACTIVATE:
        case WM_NCACTIVATE: Message.Result = 1; break;
        case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
        default: TForm::Dispatch(Message); break;
    }
}

// =============================================================================================
// The grid: opening a filter list

bool TAdvStringGrid::OnFilterButton(int ACol, int ARow, int X, int Y) {
    if (ACol < 0 || ARow < 0 || ARow != FilterDropDownRow()) return false;
    const TRect r = CellRect(ACol, ARow);
    return r.Right - 16 < X && X < r.Right - 3 && Y < r.Top + 19;
}

void TAdvStringGrid::ShowFilterList(int ACol, int ARow) {
    TFilterDropDown* fd = FFilterDropDown.get();
    const bool check = FilterDropDownCheck;
    TCustomListBox* list = check ? static_cast<TCustomListBox*>(FDropCheckList.get())
                                 : static_cast<TCustomListBox*>(FDropList.get());
    if (!list) return;
    FFilterCol = RealColIndex(ACol);
    list->SetColor(fd->Color());
    list->Font()->Assign(fd->Font());
    TBitmap probe;
    probe.SetSize(1, 1);
    probe.Canvas()->Font()->Assign(fd->Font());
    list->Items()->BeginUpdate();
    list->Items()->Clear();
    int widest = 0;
    for (int i = 0; i < FFilterList->Count(); ++i) {
        const String entry = FFilterList->Strings(i);
        const int eq = entry.indexOf(u'=');
        const String shown = eq >= 0 ? entry.left(eq) : entry;
        list->Items()->Add(shown);
        String measured = shown;
        if (check) {
            measured = FilterValue(shown);
        }
        widest = std::max(widest, probe.Canvas()->TextWidth(measured) + 8);
    }
    list->Items()->EndUpdate();
    if (check) {
        for (int i = 0; i < list->Items()->Count(); ++i) {
            const String shown = list->Items()->Strings(i);
            const String value = FilterValue(shown);
            bool ticked = false;
            for (int f = 0; f < FFilter->Count() && !ticked; ++f) {
                TFilterData* item = FFilter->GetItem(f);
                ticked = item->Condition() == value && item->Column() == FFilterCol;
            }
            FDropCheckList->SetChecked(i, ticked);
        }
    } else if (list->Count() > 0) {
        list->SetItemIndex(0);
    }

    int w = fd->Width(), h = fd->Height();
    if (fd->AutoSize()) {
        h = list->Count() * list->ItemHeight() + 2 * GetSystemMetrics(SM_CYEDGE);
        w = widest + 2 * GetSystemMetrics(SM_CXEDGE);
    }
    const TRect r = CellRect(ACol, ARow);
    int top = r.Top + 16, left = r.Right - 16;
    if (fd->ColumnWidth()) {
        w = r.Width();
        left = r.Left;
    }
    if (left + w > Width()) left = std::max(0, CellRect(ACol, 0).Right - w);
    list->SetParent(this);
    list->SetBounds(left, top, w, h);
    list->Show();
    if (list->CanFocus()) list->SetFocus();
}
