// The grid's rich-text control: the in-place editor of edRichEdit cells and the hidden control
// in which the grid converts, measures and paints RTF cell texts. Tab and, without word wrap or
// multi-line cells, Up and Down go back to the grid; the focus moving to the grid commits the
// edit; while the grid's SizeWhileTyping.Height is on the editor grows its row to what the
// content asks for.
#pragma once

#include "RichEdit.h"

class TAdvStringGrid;

class TAdvRichEdit : public TRichEdit {
public:
    // AOwner must be a grid: any other owner raises EInvalidCast.
    explicit TAdvRichEdit(TComponent* AOwner);

    // Makes the control's window anew (text and formats stay).
    void ReCreate() { RecreateWnd(); }
    // The selection set to normal, lowered or raised text (40 twips), and which of the three
    // it is; text raised or lowered by another amount is none of them.
    void SelNormal() { SetSelOffset(0); }
    void SelSubscript() { SetSelOffset(-40); }
    void SelSuperscript() { SetSelOffset(40); }
    bool IsSelNormal() const { return SelOffset() == 0; }
    bool IsSelSubscript() const { return SelOffset() == -40; }
    bool IsSelSuperscript() const { return SelOffset() == 40; }
    // Set while the grid loads a cell into the editor: the editor does not grow the row then.
    void Lock() { FLocked = true; }
    void Unlock() { FLocked = false; }
    bool Locked() const { return FLocked; }
    // The size (pixels) of the content rectangle the control last asked for.
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }
    // The window lets what lies under it show (the transparent extended style); taken when the
    // window is made.
    bool Transparent = false;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    void SetSelOffset(int Twips);
    int SelOffset() const;
    void WMKillFocus(TMessage& Message);
    void CNNotify(TMessage& Message);

    TAdvStringGrid* FGrid;
    int FReqHeight = 0;
    int FReqWidth = 0;
    bool FLocked = false;
};
