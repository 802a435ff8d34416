#include "UProject.h"

#include "SysUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

// ---- Program folders -----------------------------------------------------------------------------

String Program_Folder_Override;

void Set_Program_Folders() {
    String dir = Program_Folder_Override;
    if (dir.isEmpty())
        dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                           : ExtractFileDir(ParamStr(0));
    Path_Program = ExcludeTrailingPathDelimiter(dir);
    Path_Master = Path_Program + QStringLiteral("\\MASTER");
    Path_Projects = Path_Program + QStringLiteral("\\PROJECTS");
    Path_Language = Path_Program + QStringLiteral("\\LANGUAGE");
    for (const String& d : {Path_Master, Path_Projects, Path_Language})
        if (!DirectoryExists(d)) CreateDir(d);
}

// ---- Names ---------------------------------------------------------------------------------------

bool Is_Plain_Name(const String& Name) {
    if (Name.isEmpty() || Name.toUtf8().size() > 255) return false;
    for (const QChar c : Name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
        if (QStringLiteral("\\/:*?\"<>|").contains(c)) return false;
    }
    const QChar first = Name.front(), last = Name.back();
    if (first == u' ' || first == u'.' || last == u' ' || last == u'.') return false;
    // Device names stay reserved with any extension.
    const String base = Name.section(u'.', 0, 0).toUpper();
    static const QStringList reserved{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    if (reserved.contains(base)) return false;
    if (base.size() == 4 &&
        (base.startsWith(QStringLiteral("COM")) || base.startsWith(QStringLiteral("LPT"))) &&
        base[3] >= u'1' && base[3] <= u'9')
        return false;
    return true;
}

// ---- Projects ------------------------------------------------------------------------------------

int New_Project_Message(TNew_Project_Result Result) {
    switch (Result) {
        case nprEmptyName: return 107;
        case nprExists: return 106;
        case nprRefused: return 105;
        case nprCreated: break;
    }
    return 0;
}

namespace {

// Every folder name under PROJECTS, hidden ones included.
QStringList Project_Folder_Names() {
    return QDir(NativePath(Path_Projects))
        .entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

TNew_Project_Result Create_New_Project(const String& Name) {
    if (Name.isEmpty()) return nprEmptyName;
    if (!Is_Plain_Name(Name)) return nprRefused;
    const String dir = Path_Projects + QStringLiteral("\\") + Name;
    if (DirectoryExists(dir)) return nprExists;
    // Two projects whose names differ only in case would be one folder on other systems.
    for (const String& existing : Project_Folder_Names())
        if (SameText(existing, Name)) return nprExists;
    if (!DirectoryExists(Path_Projects) || !CreateDir(dir)) return nprRefused;
    ForceDirectories(dir + QStringLiteral("\\bin"));
    Name_Project = Name;
    Path_Project = dir;
    Set_Files();
    return nprCreated;
}

QStringList Existing_Projects() {
    QStringList result;
    TSearchRec sr;
    if (FindFirst(Path_Projects + QStringLiteral("\\*"), faDirectory, sr) == 0) {
        do {
            if ((sr.Attr & faDirectory) && sr.Name != QStringLiteral(".") &&
                sr.Name != QStringLiteral("..") && Is_Plain_Name(sr.Name))
                result << sr.Name;
        } while (FindNext(sr) == 0);
        FindClose(sr);
    }
    result.sort(Qt::CaseInsensitive);
    return result;
}

int Search_Open_Conf(const QStringList& List, const String& Name) {
    for (int i = 0; i < List.size(); ++i)
        if (SameText(List[i], Name)) return i;
    return -1;
}

void Open_Project_Named(const String& Name) {
    Name_Project = Name;
    if (!Name.isEmpty() && Is_Plain_Name(Name))
        Path_Project = Path_Projects + QStringLiteral("\\") + Name;
    else
        Path_Project.clear();
    Set_Files();
}

void Reopen_Last_Project() {
    const String dir = Path_Projects + QStringLiteral("\\") + Name_Project;
    if (!Name_Project.isEmpty() && Is_Plain_Name(Name_Project) && DirectoryExists(dir))
        Path_Project = dir;
    else
        Path_Project.clear();
}
