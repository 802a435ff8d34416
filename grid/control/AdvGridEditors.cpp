// TAdvStringGrid: its default text editor, made by the platform grid's editor factory, and the
// hooks that editor calls. (The constructor makes the editor controls, AdvGrid.cpp.)
#include "AdvGrid.h"
#include "AdvInplaceEdit.h"

TInplaceEdit* TAdvStringGrid::CreateEditor() {
    return new TAdvInplaceEdit(this);
}

TAdvInplaceEdit* TAdvStringGrid::NormalEdit() const {
    return static_cast<TAdvInplaceEdit*>(InplaceEditor());
}

void TAdvStringGrid::EditKeyDown(Word&, TShiftState) {}
void TAdvStringGrid::EditKeyMessage(TMessage&) {}
void TAdvStringGrid::EditCaretMoved(const String&, TPoint, int) {}
void TAdvStringGrid::EditFormulaMode(bool) {}
