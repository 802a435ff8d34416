// The project state that every window shares: program folders, the open project and the full
// paths of its files, the user options, the software code and the shared lists. Plain globals,
// written and read on the main thread only.
//
// Paths are kept the way the system composes them, with "\" between the parts; the file
// functions of the run-time library accept them as they are.
#pragma once

#include "System.h"

#include <QStringList>

class TStringList;

// The converter this build configures.
extern const String SW_Code;        // "CF40210"
extern const String SW_Description; // the converter's description
extern const String SW_Code_Update; // the code the version check sends

// Program folders (no trailing separator), set by the main window at start.
extern String Path_Program;
extern String Path_Master;   // Path_Program + "\MASTER": firmware images
extern String Path_Projects; // Path_Program + "\PROJECTS": one folder per project
extern String Path_Language; // Path_Program + "\LANGUAGE": language files and flags

// The open project. A project is open exactly when Path_Project is not empty; then
// Path_Project = Path_Projects + "\" + Name_Project.
extern String Name_Project;
extern String Path_Project;

extern String Title_Program; // the main window's caption
extern String Code_SW;       // copied from SW_Code; shown by every window's L_SW_Code
extern String Desc_SW;       // copied from SW_Description

// The device update: last device address (default "192.168.2.205"), the options list index
// (0 firmware and configuration, 1 firmware, 2 configuration) and the read-back choice.
extern String Last_IP_Address;
extern Integer Update_Option;
extern bool Update_Read_Back;

// User options, kept in the settings file.
extern String Language; // language file name without ".lng"; default "English"
extern bool Enable_Internet;
extern bool Enable_Update;
extern bool Enable_Jump_Field_Tables;
extern bool Double_Click_Auto_Size;

// Full paths of the project files, recomputed by Set_Files whenever a project is created or
// opened; meaningless while no project is open.
extern String File_ParGen;
extern String File_IEC_61850_Client;
extern String File_BACnet_Slave_SetAccess;
extern String File_CAN_Rec_Frames;
extern String File_CAN_Send_Frames;
extern String File_SDO_Server_CANopen;
extern String File_SDO_Client_CANopen;
extern String File_PDO_CANopen;
extern String File_J1939_Rec_Frames;
extern String File_J1939_Send_Frames;
extern String File_NMEA_Rec_Frames;
extern String File_NMEA_Send_Frames;
extern String File_KNX_SetAccess;
extern String File_SNMP_Trap;
extern String File_MQTT_Set_Topic;

// Shared lists, created by the main window at start and kept until the program ends: the cells
// of the last copied table row, and the SNMP descriptions the MIB generator collects.
extern TStringList* Copy_Row_List;
extern TStringList* MIB_Read_List;
extern TStringList* MIB_Write_List;

// Recomputes the fifteen project file paths from Path_Project.
void Set_Files();

// ---- Program folders -----------------------------------------------------------------------------

// When not empty, the folder Set_Program_Folders takes as the program folder instead of the
// executable's (tests and tools run the shell in a folder of their own).
extern String Program_Folder_Override;

// Sets Path_Program (the executable's folder, no trailing separator) and Path_Master,
// Path_Projects and Path_Language under it, and creates each of the three folders that does not
// exist; a folder that cannot be created is left missing (later reads simply find nothing).
void Set_Program_Folders();

// ---- Names ---------------------------------------------------------------------------------------

// True when Name can stand as one folder or file name inside another folder, here and on the
// systems a project folder may be copied to: not empty, no path separator ("\", "/"), none of
// the characters : * ? " < > | or a control character, not "." or "..", no blank or dot at
// either end, not a reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9) and at most 255
// bytes long. Project names typed by the user and names read from the settings file are used
// only when they pass, so that no name leads outside its folder.
bool Is_Plain_Name(const String& Name);

// ---- Projects ------------------------------------------------------------------------------------

// Outcome of a project creation; each failure has its message text.
enum TNew_Project_Result {
    nprCreated,
    nprEmptyName, // text 107
    nprExists,    // text 106
    nprRefused    // text 105: a name that is no plain name, or a folder that cannot be created
};

// The text id of a failed creation's message (0 for nprCreated).
int New_Project_Message(TNew_Project_Result Result);

// Creates the project folder PROJECTS\<Name> with its sub-folder bin, and on success makes it
// the open project (Name_Project, Path_Project, Set_Files). Name is taken as typed (not trimmed).
// A name that is not plain is refused before anything is created; a folder that exists already,
// also under another case of its letters, is refused too. The open project stays open on every
// failure.
TNew_Project_Result Create_New_Project(const String& Name);

// The names of the project folders under PROJECTS: folders that are not hidden and whose names
// are plain, sorted without regard to case.
QStringList Existing_Projects();

// Index of the first entry of List equal to Name with the letters a to z compared without regard
// to case; -1 when there is none.
int Search_Open_Conf(const QStringList& List, const String& Name);

// Opens the project Name chosen in the open dialog: Name_Project := Name; an empty name leaves
// no project open; then Set_Files. A name that is not plain opens nothing.
void Open_Project_Named(const String& Name);

// At start: the project named by Name_Project is open when its name is plain and its folder
// exists; otherwise no project is open (Name_Project keeps the name, so that the settings file
// keeps it).
void Reopen_Last_Project();
