#include "UProject.h"

const String SW_Code = QStringLiteral("CF40210");
const String SW_Description = QStringLiteral("ZED61850 Urerod / PROFIBUS Slave - Converter");
const String SW_Code_Update = QStringLiteral("CF40210");

String Path_Program;
String Path_Master;
String Path_Projects;
String Path_Language;

String Name_Project;
String Path_Project;

String Title_Program;
String Code_SW;
String Desc_SW;

String Last_IP_Address = QStringLiteral("192.168.2.205");
Integer Update_Option = 0;
bool Update_Read_Back = true;

String Language = QStringLiteral("English");
bool Enable_Internet = false;
bool Enable_Update = false;
bool Enable_Jump_Field_Tables = false;
bool Double_Click_Auto_Size = false;

String File_ParGen;
String File_IEC_61850_Client;
String File_BACnet_Slave_SetAccess;
String File_CAN_Rec_Frames;
String File_CAN_Send_Frames;
String File_SDO_Server_CANopen;
String File_SDO_Client_CANopen;
String File_PDO_CANopen;
String File_J1939_Rec_Frames;
String File_J1939_Send_Frames;
String File_NMEA_Rec_Frames;
String File_NMEA_Send_Frames;
String File_KNX_SetAccess;
String File_SNMP_Trap;
String File_MQTT_Set_Topic;

TStringList* Copy_Row_List = nullptr;
TStringList* MIB_Read_List = nullptr;
TStringList* MIB_Write_List = nullptr;

void Set_Files() {
    const String p = Path_Project + QLatin1Char('\\');
    File_ParGen = p + "ParGen.xml";
    File_IEC_61850_Client = p + "IEC_61850_Client.xml";
    File_BACnet_Slave_SetAccess = p + "BACnet_Slave_SetAccess.xml";
    File_CAN_Rec_Frames = p + "CAN_Rec_Frames.xml";
    File_CAN_Send_Frames = p + "CAN_Send_Frames.xml";
    File_SDO_Server_CANopen = p + "SDO_Server_CANopen.xml";
    File_SDO_Client_CANopen = p + "SDO_Client_CANopen.xml";
    File_PDO_CANopen = p + "PDO_CANopen.xml";
    File_J1939_Rec_Frames = p + "J1939_Rec_Frames.xml";
    File_J1939_Send_Frames = p + "J1939_Send_Frames.xml";
    File_NMEA_Rec_Frames = p + "NMEA_Rec_Frames.xml";
    File_NMEA_Send_Frames = p + "NMEA_Send_Frames.xml";
    File_KNX_SetAccess = p + "KNX_SetAccess.xml";
    File_SNMP_Trap = p + "SNMP_Trap.xml";
    File_MQTT_Set_Topic = p + "MQTT_Set_Topic.xml";
}
