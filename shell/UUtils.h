// Small routines shared by the editors and the configuration build: the row buttons and the
// Enter and header double-click handling of the table editors' grids, the user's decimal
// separator, a text-to-float conversion that takes either "," or "." as the decimal separator,
// the checks of a dotted IPv4 address and of a KNX address, the list of serial ports, and
// starting an external program and waiting for it.
#pragma once

#include "System.h"

#include <QByteArray>

#include <functional>

class TAdvStringGrid;
class TStringList;

// ---- Rows of the table editors' grids ----
// Row 0 is the header and column 0 the row number; the routines work on the data columns
// 1 .. W, W = ColCount + NumHiddenColumns - 1 (hidden columns take part), never on column 0.
// The row buffer is Copy_Row_List.

// Copy_Row_List := the texts of the cells 1 .. W of Row.
void Copy_Row(TAdvStringGrid* Grid, int Row);
// Writes Copy_Row_List into the cells 1 .. W of Row. Refused with a message when Copied is
// false (text 1102) or when the buffer's width is not W (text 1101); asks first (text 1100)
// when a cell of Row that is not a check box holds text other than blanks, and stops on No.
void Paste_Row(TAdvStringGrid* Grid, int Row, bool Copied);
// Moves the rows from Row to the second-to-last down by one (the last row's content is lost)
// and empties Row; with Enable its column 1 becomes "Y". The row count stays.
void Insert_Row(int Row, TAdvStringGrid* Grid, bool Enable);
// Moves the rows below Row up by one and empties the last row. The row count stays.
void Delete_Grid_Row(int Row, TAdvStringGrid* Grid);
// True when a cell 1 .. W of Row that is not a check box holds text other than blanks.
bool Grid_Row_Has_Data(TAdvStringGrid* Grid, int Row);
// The Enter key of a table grid: with the option Enable_Jump_Field_Tables on, Enter moves to
// the next cell (the next visible column; after the last one column 1 of the next row; after
// the last row row 1) and is consumed (Key := 0). Otherwise nothing changes.
void Grid_Enter_Next_Cell(TAdvStringGrid* Grid, Char& Key);
// A double click on a header cell (Row 0) fits the column to its contents when the option
// Double_Click_Auto_Size is on.
void Grid_Auto_Size_Col(TAdvStringGrid* Grid, int Row, int Col);

// The user's decimal separator: "," or "."; "," when the locale uses another character.
Char Get_Decimal_Separator();

// Converts Text to a 32-bit float taking Separator's side: with Separator "." every "," of the
// text becomes "." first, with any other separator every "." becomes ",", and the text is then
// read with that decimal separator (whatever the run-time format settings say), so "0.5" and
// "0,5" both give 0.5. Blanks around the number, a sign and an exponent are allowed. True with
// the value, or false with Value 1.0 when the text is no number or does not fit a 32-bit float.
bool Str_To_Float_Sep(const String& Text, Char Separator, float& Value);

// Splits the trimmed Text at its first three "." into four trimmed parts (the fourth is the
// rest) and checks them: true exactly when there are at least three "." and every part is a
// decimal number 0 to 255 of digits only (no sign, no hexadecimal prefix: the texts are stored
// for a device that reads them as decimal). The parts are returned as split also when the
// result is false; an octet that was not reached keeps its value.
bool Check_IP_Address(const String& Text, String& Octet1, String& Octet2, String& Octet3, String& Octet4);

// A KNX address: 0 when valid, 1 when not; every part trimmed and read as an integer (-1 when
// it is none).
// Group (Group true): no "."; "n" 1 .. 65535; "main/sub" main 0 .. 31, sub 0 .. 2047, not both
// 0; "main/middle/sub" 0 .. 31, 0 .. 7, 0 .. 255, not all three 0; more "/" invalid.
// Individual (Group false): no "/"; "n" 1 .. 65535; "a.b" both 0 .. 255 (the two bytes of the
// 16-bit address); "area.line.device" 0 .. 15, 0 .. 15, 0 .. 255, where 0.0.0 needs AllowZero;
// more "." invalid.
int Check_KNX_Address(const String& Text, bool Group, bool AllowZero);
// True exactly when Text holds no ".".
bool Check_No_Dot(const String& Text);

// The serial ports that exist: a new list (the caller frees it) of the numbers n of the ports
// COMn, n from 1 to 256 in ascending order, where COMn is the system's serial device
// /dev/ttyS(n-1). A port counts when its device opens for reading and writing, and also when it
// exists but is busy or refused to this user; a device that is missing or has no port behind it
// does not.
TStringList* Get_COM_Port_List();

// How opening a serial device for reading and writing went: 0 when it opened (it is closed
// again at once), otherwise the system's error number. Tests put a probe of their own here; an
// empty function restores the system's. Answers the previous replacement.
using TSerialDeviceProbe = std::function<int(const QByteArray& Device)>;
TSerialDeviceProbe SetSerialDeviceProbe(TSerialDeviceProbe Probe);

// Starts the program NomeSW (a path, "\\" separators allowed) with the blank-separated
// arguments of Parameter, directly (never through a shell), and waits for its end, at most
// 150 s, without handling window messages meanwhile, in the caller's current folder. tipo (0 a
// normal window, any other value a hidden one) is taken for the callers but not applied: a
// started program opens its windows as it chooses here. Nothing is reported: a program that
// cannot be started returns at once, and one that runs longer is left running.
void Start_Program(const String& NomeSW, const String& Parameter, Byte tipo);
