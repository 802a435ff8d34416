// The settings file Velmora.xml in the program folder: the last open project, the last device
// address, the selected language and the four option flags.
//
//   Conf_Settings
//     lastproj/projectname            Name_Project       (default empty)
//     lastipadd/ipaddress             Last_IP_Address    (default "192.168.2.205")
//     lastlang/language               Language           (default "English")
//     lastinternet/enable_internet    Enable_Internet    ("1" true, anything else false)
//                 /enable_update      Enable_Update
//                 /enable_jump_field_tables   Enable_Jump_Field_Tables
//                 /Double_Click_Auto_Size     Double_Click_Auto_Size
#pragma once

#include "System.h"

class TXMLDocument;

// Path_Program + "\Velmora.xml".
String Settings_File_Name();

// Reads the settings file through XML into the globals, each value on its own: a missing file,
// a file that is no XML document, a missing element or an element that holds elements instead
// of text gives that value's default. The root is the document's first element, whatever its
// name. A project name or a language that is not a plain name counts as missing.
void Read_Settings(TXMLDocument* XML);

// Replaces XML's content with the settings and writes the file whole (through a temporary file
// in the same folder) or not at all; false when it could not be written (the old file stays).
bool Save_Settings(TXMLDocument* XML);
