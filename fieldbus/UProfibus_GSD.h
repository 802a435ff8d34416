// The PROFIBUS device description (GSD, revision 5) of the converter's DP slave side.
//
// Create_GSD_File reads the converter's two PROFIBUS byte counts from the project's ParGen.xml,
// asks where to save (".gsd" added when the chosen name lacks it, a question before an existing
// file is replaced) and writes the file. Everything in the file but the byte counts, the module
// list and the slot list is fixed. The text is 8-bit (Windows-1252, all of it ASCII), every line
// ended by CR LF, the last one included.
#pragma once

#include "System.h"

#include <QByteArray>
#include <QStringList>

// The byte counts of the last run that found ParGen.xml, as the master sees them: its inputs
// are the converter's outputs (key PROFINET_NB_OUT), its outputs the converter's inputs (key
// PROFINET_NB_IN).
extern int GSD_Input_Bytes;
extern int GSD_Output_Bytes;

// The largest byte count of either direction, and the bytes one module carries.
constexpr int GSD_Max_Bytes = 244;
constexpr int GSD_Module_Bytes = 64;

// The maker's fixed numbers of the description files. The device ident number of the GSD file:
constexpr int GSD_Ident_Number = 0x0B3D;
// The vendor and device ID of the PROFINET GSDML file (DeviceIdentity).
constexpr int GSDML_Vendor_ID = 0x0E4A;
constexpr int GSDML_Device_ID = 0x4211;

// The step "PROFIBUS GSD" of the main window. Needs the open project's ParGen.xml (else the
// error text 1104 and nothing more); a ParGen.xml that cannot be read is raised as the XML
// layer's error, and byte counts outside 0 .. 244 are refused with an error message. A cancelled
// dialog or a No to the overwrite question writes nothing. Errors while writing the file are
// raised (EFCreateError) and leave any earlier file as it was.
void Create_GSD_File();

// Writes the file for the current counts, replacing FileName whole (or raising EFCreateError
// and leaving it untouched).
void Write_GSD_File(const String& FileName);

// The name the file gets: Chosen itself when it ends with ".gsd" in any case, else Chosen with
// ".gsd" appended.
String GSD_File_Name(const String& Chosen);

// Modules of one direction: 0 for a count of 0 or less, else the count divided by 64 and
// rounded up.
int GSD_Module_Count(int Bytes);

// The lines of the file for the given counts, without line ends.
QStringList GSD_Lines(int InputBytes, int OutputBytes);
// The file's bytes: every line with CR LF, in Windows-1252.
QByteArray GSD_Text(int InputBytes, int OutputBytes);
