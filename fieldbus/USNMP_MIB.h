// The SNMP agent's MIB module, written from the project's SNMP object tables (SNMP_Trap.xml).
//
// One object per enabled read row (under bufferinval), one per enabled write row (under
// bufferoutval) and one notification per enabled read row (under trapsval), numbered 1, 2, ...
// over the enabled rows in file order, below a fixed object tree under the maker's enterprise
// number. An object is named by its row's description (bufferinval/bufferoutval and its number
// when the description is empty), and its notification names it in OBJECTS; its syntax is
// INTEGER for the type "INT" (any case), else OCTET STRING. The text is 8-bit (Windows-1252),
// every line ended by CR LF, the last included.
#pragma once

#include "System.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

// The type flags of the enabled rows read by the last Read_SNMP_Trap_File, one per entry of
// MIB_Read_List and MIB_Write_List (UProject.h): true for an integer object.
extern std::vector<bool> MIB_Read_Int;
extern std::vector<bool> MIB_Write_Int;

// The step "SNMP MIB" of the main window: asks for the file in the project folder (the main
// window's dialog SaveMIB), asks before an existing file is replaced (text 1105), reads the
// tables and writes the file. A cancelled dialog or a No writes nothing. A damaged SNMP_Trap.xml
// or a file that cannot be written is raised, and any earlier file stays as it was.
void Create_MIB_File();

// Fills MIB_Read_List, MIB_Write_List and the type flags from File_SNMP_Trap. Without the file
// the lists stay empty. A file that cannot be parsed or lacks one of its two sections raises
// (the lists are then empty).
void Read_SNMP_Trap_File();

// Writes the module for the current lists and flags, replacing FileName whole (or raising
// EFCreateError and leaving it untouched). A non-empty description that is no descriptor or
// that another name of the module takes is refused first (text 1125).
void Write_MIB_File(const String& FileName);

// The lines of the module for the given descriptions and type flags, without line ends.
QStringList MIB_Lines(const QStringList& Read, const std::vector<bool>& ReadInt, const QStringList& Write,
                      const std::vector<bool>& WriteInt);
