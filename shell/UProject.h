// The project state that every window shares: program folders, the open project and the full
// paths of its files, the user options, the software code and the shared lists. Plain globals,
// written and read on the main thread only.
//
// Paths are kept the way the system composes them, with "\" between the parts; the file
// functions of the run-time library accept them as they are.
#pragma once

#include "System.h"

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
