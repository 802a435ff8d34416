// The BACnet EDE file (engineering data exchange, layout 2): the converter's BACnet objects as a
// semicolon-separated list for the building-automation tools.
//
// Create_EDE_File reads the device instance and the name length from ParGen.xml and one object
// per row of the two sections of BACnet_Slave_SetAccess.xml (read rows first), numbers the
// objects per object type, and writes the seven header lines and one line per object, in the
// 8-bit code page with CR LF after every line. Nothing outlives a run.
#pragma once

#include "System.h"
#include "SysUtils.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

// One object of the file, its seven fields in the file's order.
class TBACnet_EDE_Obj {
public:
    String Keyname;        // device instance + "_" + mnemonic + "_" + object instance
    String DevObjInstance; // the device instance
    String ObjectName;     // the mnemonic's first 16 (or 32) characters
    String ObjectType;     // the BACnet object type code, decimal
    String ObjectInstance; // the instance within its type, decimal
    String Description;    // as ObjectName
    String UnitCode;       // the row's Eng_Unit as written
};

// The clock of the time stamp line; tests set it.
extern std::function<TDateTime()> EDE_Now;

// Writes the EDE file of the open project to FileName, replacing it whole. A BACnet file without
// one of its sections, or a row without Data_Type, Eng_Unit or Mnemonic, raises before anything is
// written; so does a mnemonic, unit code, device instance or project name holding ";", a line
// break or a character the code page lacks (text 1120), and a file that cannot be written: the
// earlier file then stays as it was. After writing, one warning (text 1121) lists what EDE
// readers reject: an empty device instance, empty or repeated object names, repeated keynames.
void Create_EDE_File(const String& FileName);

// The BACnet object type code of a data type as the tables write it (trimmed, any case); 0 for a
// type not in the list.
int Get_Object_Type(const String& DataType);

// The lines of the file for the given objects, project name and time, without line ends.
QStringList EDE_Lines(const QList<TBACnet_EDE_Obj>& Objects, const String& ProjectName, TDateTime Time);
