#include "AdvRichEdit.h"

#include "AdvGrid.h"
#include "GridStructure.h"

TAdvRichEdit::TAdvRichEdit(TComponent* AOwner) : TRichEdit(AOwner), FGrid(As<TAdvStringGrid>(AOwner)) {}

void TAdvRichEdit::CreateParams(TCreateParams& Params) {
    TRichEdit::CreateParams(Params);
    if (Transparent) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TAdvRichEdit::SetSelOffset(int Twips) {
    CHARFORMATW f;
    f.dwMask = CFM_OFFSET;
    f.yOffset = Twips;
    Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
}

int TAdvRichEdit::SelOffset() const {
    CHARFORMATW f;
    f.dwMask = CFM_OFFSET;
    const_cast<TAdvRichEdit*>(this)->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
    return f.yOffset;
}

void TAdvRichEdit::KeyDown(Word& Key, TShiftState Shift) {
    TRichEdit::KeyDown(Key, Shift);
    if (!FGrid) return;
    if (Key == VK_TAB && FGrid->HasOption(goTabs)) {
        // The grid's focus ends the edit (WM_KILLFOCUS), the grid moves on and edits there.
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->KeyDown(Key, Shift);
        FGrid->ShowInplaceEdit();
        Key = 0;
        return;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells) {
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    }
}

void TAdvRichEdit::WMKillFocus(TMessage& Message) {
    if (FGrid) {
        if (FGrid->InvokedFocusChange) return;
        const TWMKillFocus m(Message);
        if (FGrid->HandleAllocated() && HWND(m.FocusedWnd) == FGrid->Handle()) FGrid->HideInplaceEdit();
    }
    TRichEdit::Dispatch(Message);
}

void TAdvRichEdit::CNNotify(TMessage& Message) {
    auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
    if (!FGrid || !hdr || hdr->code != EN_REQUESTRESIZE || FGrid->ComponentState().count(csDesigning)) {
        TRichEdit::Dispatch(Message);
        return;
    }
    const auto* req = reinterpret_cast<const REQRESIZE*>(hdr);
    TAdvRichEdit* hidden = FGrid->FRichEdit.get();
    if (hidden && hidden->HandleAllocated() && hdr->hwndFrom == hidden->Handle()) {
        hidden->FReqWidth = req->rc.Right - req->rc.Left;
        hidden->FReqHeight = req->rc.Bottom - req->rc.Top;
    }
    TAdvRichEdit* inplace = FGrid->FInplaceRichEdit.get();
    if (inplace && inplace->HandleAllocated() && FGrid->SizeWhileTyping()->Height &&
        hdr->hwndFrom == inplace->Handle() && !inplace->FLocked) {
        // The row grows with the content while the grown editor still ends inside the grid.
        const int h = req->rc.Bottom - req->rc.Top;
        const int row = FGrid->Row();
        if (FGrid->RowHeights(row) < h + 5 &&
            FGrid->CellRect(FGrid->Col(), row).Top + h + 5 < FGrid->Height()) {
            inplace->SetHeight(h + 9);
            FGrid->SetRowHeights(row, h + 10);
            if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
        }
    }
    if (inplace && inplace->HandleAllocated()) TRichEdit::Dispatch(Message);
}

void TAdvRichEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE:
            TRichEdit::Dispatch(Message);
            Message.Result |= DLGC_WANTTAB;
            return;
        case WM_KILLFOCUS: WMKillFocus(Message); return;
        case CN_NOTIFY: CNNotify(Message); return;
        default: TRichEdit::Dispatch(Message); return;
    }
}
