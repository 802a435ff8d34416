// Small routines shared by the editors and the configuration build: the user's decimal
// separator, a text-to-float conversion that takes either "," or "." as the decimal separator,
// the check of a dotted IPv4 address, the list of serial ports, and starting an external
// program and waiting for it.
#pragma once

#include "System.h"

#include <QByteArray>

#include <functional>

class TStringList;

// The user's decimal separator: "," or "."; "," when the locale uses another character.
Char Get_Decimal_Separator();

// Converts Text to a 32-bit float taking Separator's side: with Separator "." every "," of the
// text becomes "." first, with any other separator every "." becomes ",", and the text is then
// read with that decimal separator (whatever the run-time format settings say), so "0.5" and
// "0,5" both give 0.5. Blanks around the number, a sign and an exponent are allowed. True with
// the value, or false with Value 1.0 when the text is no number or does not fit a 32-bit float.
bool Str_To_Float_Sep(const String& Text, Char Separator, float& Value);

// Splits the trimmed Text at its first three "." into four trimmed parts (the fourth is the
// rest) and checks them: true exactly when there are at least three "." and every part is an
// integer 0 to 255 (decimal, or hexadecimal after "$" or "0x"). The parts are returned as split
// also when the result is false; an octet that was not reached keeps its value.
bool Check_IP_Address(const String& Text, String& Octet1, String& Octet2, String& Octet3, String& Octet4);

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

class TAdvStringGrid;

// The Enter jump of the table grids: only while Enable_Jump_Field_Tables is on and Key is Enter
// (13). When the current column and row are both above 0, the current cell moves one column to
// the right, or from the last (visible) column to column 1 of the next row, or from the last row
// to row 1. Key then becomes 0, whether or not the cell moved, so the grid does no Enter
// handling of its own. Otherwise nothing happens.
void Grid_Enter_Next_Cell(TAdvStringGrid* Grid, Char& Key);

// The header double click of the table grids: while Double_Click_Auto_Size is on and ARow is 0,
// fits column ACol to its widest text (AutoSizeCol without padding). Otherwise nothing.
void Grid_Auto_Size_Col(TAdvStringGrid* Grid, int ARow, int ACol);
