// The look every window of the configurator shares: the pale window colour, Verdana text, the
// title panel with the software code and the window's description, the button panel at the
// bottom, and the owner-drawn buttons in their usual colours.
#pragma once

#include "LbButton.h"
#include "System.h"

class TForm;
class TLabel;
class TPanel;
class TWinControl;

// RGB 248, 247, 237.
constexpr TColor Window_Color = 0xEDF7F8;
// The dark grey of button captions.
constexpr TColor Button_Text_Color = 0x333333;
// Face colour of a pressed button (orange).
constexpr TColor Pressed_Color = 0x0080FF;

// Single border, system menu only, centred on the screen, the window colour, Verdana 11 pixels,
// and the client size given.
void Setup_Window(TForm* Form, int ClientWidth, int ClientHeight);

// The title panel (top, 69 high) with L_SW_Code (large grey Verdana at 16, 8, showing Code_SW)
// and L_SW_Desc (bold grey at 16, 42).
TPanel* Create_Title_Panel(TForm* Form, TLabel*& L_SW_Code, TLabel*& L_SW_Desc);

// The button panel (bottom, 40 high).
TPanel* Create_Button_Panel(TForm* Form);

// A label of Form on Parent at (Left, Top).
TLabel* Create_Label(TForm* Form, TWinControl* Parent, const String& Name, int Left, int Top);

// A button of Form on Parent: style bsEncarta, the window colour, light colour clGray, pressed
// colour orange, hot-track colour HotTrack, hints shown, the glyph of the bitmap resource Glyph
// (none when empty), Verdana text in dark grey.
TLbButton* Create_Button(TForm* Form, TWinControl* Parent, const String& Name, int Left, int Top, int Width,
                         int Height, const String& Glyph = String(), TColor HotTrack = clYellow,
                         TLbButtonStyle Style = bsEncarta);

// The OK and Cancel buttons of a dialog on its button panel: 110 x 28 at Left and Left + 118,
// with the OK and Cancel glyphs; Cancel closes the window with mrCancel.
void Create_OK_Cancel(TForm* Form, TPanel* Panel, TLbButton*& Btn_OK, TLbButton*& Btn_Cancel, int Left = 16);
