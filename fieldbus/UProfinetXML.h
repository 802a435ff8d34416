// The PROFINET device description (GSDML, schema V2.25) of the converter's IO device side.
//
// A fixed template of one device access point with one module of octet-string input and output
// data; only the station name and the two data lengths come from the project's ParGen.xml. The
// file is UTF-8 with a byte-order mark, one line per entry, every line ended by CR LF, indented
// with tabs. Its name is composed by the file-name dialog (UProfinetFileName); the user chooses
// the folder only.
#pragma once

#include "System.h"

#include <QStringList>

// The inputs of the last read (Read_PROFINET_Par): the controller's input data are the
// converter's outputs (key PROFINET_NB_OUT), its output data the converter's inputs (key
// PROFINET_NB_IN); the station name as stored (key PROFINET_NAME_STA).
extern int GSDML_Input_Length;
extern int GSDML_Output_Length;
extern String GSDML_Station_Name;

// The length of either direction when the key is missing or holds no whole number, and the
// largest length the device carries (the configured maxima of 1440 less the two status bytes).
constexpr int GSDML_Default_Length = 1438;
constexpr int GSDML_Max_Length = 1438;

// The step "PROFINET XML" after the file-name dialog: FileName is the composed name. Lengths
// outside 0 .. 1438 (only a hand-edited ParGen.xml holds them) are refused with text 2510 and a
// name that is no plain file name with text 2509, before anything is asked. Then a save dialog
// owned by the main window opens in the project folder; the file is written into the chosen
// folder under FileName, whatever name was typed there. An existing file is replaced only after
// a Yes to text 2508. A ParGen.xml that cannot be parsed is raised as the XML layer's error, a
// file that cannot be written as EFCreateError; neither leaves a half-written file.
void Create_GSDML_File(const String& FileName);

// Fills the three inputs from the open project's ParGen.xml: both lengths 1438 and the station
// name empty to begin with; each key read on its own (a length that is no whole number stays
// 1438); last, a station name that is blank becomes "SERIAL".
void Read_PROFINET_Par();

// True when both lengths of the last read lie within 0 .. GSDML_Max_Length.
bool GSDML_Lengths_Valid();

// Reads the inputs and writes the whole document to FileName (a full path), replacing the
// file whole; raises Exception with text 2510 for lengths out of range, writing nothing.
void Write_GSDML_File(const String& FileName);

// The document's lines, without line ends, for the given inputs; the station name is escaped
// for its attribute values.
QStringList GSDML_Lines(const String& StationName, int InputLength, int OutputLength);

// Text as an XML attribute value: "&", "<", ">" and both quotes as entities, tab, line feed
// and carriage return as character references (so a reader gets them back unchanged), and the
// characters XML 1.0 cannot carry at all (the other control characters, U+FFFE, U+FFFF,
// unpaired surrogates) left out.
String XML_Attribute_Value(const String& Text);
