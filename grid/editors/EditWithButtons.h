// What the edits that carry buttons inside them share (the spin edit, the edit with a button):
// the height their text needs, the place of the buttons at the right end, and where the focus
// goes when one of their buttons is pressed.
#pragma once

#include "StdCtrls.h"

// The text height of Font plus a quarter of the smaller of it and the system font's.
int EditTextHeight(TFont* Font);

// After a new size of Edit: below MinHeight it grows to it (and is sized again) and false is
// answered; otherwise Button goes to the right end, inside the border with the 3-D look, else on
// the edge, and the caller sets the text's rectangle anew.
bool FitEditWithButton(TCustomEdit* Edit, TControl* Button, int MinHeight);

// Sets the formatting rectangle of a multi-line Edit (no redraw).
void SetEditTextRect(TCustomEdit* Edit, const TRect& R);

// Whether Control is being entered by a press of the left mouse button.
bool EnteredByLeftClick(const TControl* Control);

// After a press on a button of Holder: the focus goes to FocusControl when it is a tab stop that
// can take it and does not have it, else to Holder on the same terms.
void FocusAfterButtonPress(TWinControl* Holder, TWinControl* FocusControl);

// Delivers a Tab key to Edit as the message loop delivers a posted one: CN_KEYDOWN first, where
// the form takes it as the dialog key that moves the focus on, then WM_KEYDOWN when nothing did.
void DeliverTabKey(TWinControl* Edit);
