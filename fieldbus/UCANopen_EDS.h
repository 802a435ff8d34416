// The CANopen electronic data sheet (EDS, text sections of key=value lines) of the converter's
// CANopen variant: the fixed communication objects, one communication parameter, one mapping
// parameter and one data object per receive and per transmit PDO of PDO_CANopen.xml, and one
// application object per index of the SDO server tables of SDO_Server_CANopen.xml.
#pragma once

#include "System.h"
#include "SysUtils.h"

#include <QStringList>

#include <functional>
#include <vector>

// The PDOs of the last read: count per direction and, per row, COB-ID and data length in bytes.
// The tables hold 30 rows per direction, as the PDO editor does.
constexpr int EDS_Max_PDO = 30;
struct TEDS_PDO {
    uint32_t COB_ID = 0;
    uint32_t Length = 0;
};
extern int EDS_NR_Receive_PDO;
extern int EDS_NR_Transmit_PDO;
extern TEDS_PDO EDS_Receive_PDO[EDS_Max_PDO];
extern TEDS_PDO EDS_Transmit_PDO[EDS_Max_PDO];

// One sub-index entry of an SDO server object.
struct SDO_Sub_Type {
    Byte Sub = 0;
    Byte Quantity = 0; // size in bytes (1, 2, 4)
    bool Readonly = false;
    String Mnemonic; // not read from the file
};
// One object index with its entries, in the order the entries were read.
struct SDO_Index {
    Word Index = 0;
    std::vector<SDO_Sub_Type> Sub_Indexs;
};
// The SDO server objects of the last read, in the order of their first appearance.
extern std::vector<SDO_Index> EDS_SDO_List;

// The clock of the creation date and time; tests set it.
extern std::function<TDateTime()> EDS_Now;

// Reads both table files and writes the EDS to FileName, replacing it whole. A table file
// without its sections, a row without an attribute that is read, a value out of range (text 1116)
// or an index and sub-index given twice (text 1115) raises before anything is written; so does a
// file that cannot be written, and the earlier file then stays as it was.
void Create_EDS_File(const String& FileName);

// Fills the PDO counts and tables from File_PDO_CANopen (none without the file). A COB-ID that
// is no number reads as 0, a length that is no number as 8; a length outside 1 .. 8 or a 31st row
// raises (text 1116).
void Read_PDO_CANopen();
// Adds the entries of File_SDO_Server_CANopen to EDS_SDO_List: the read table's entries
// read-only, then the write table's. An Index outside 0x2000 .. 0x5FFF, a SubIndex outside
// 0 .. 255 or an NByte other than 1, 2, 4 raises (text 1116), naming section and row.
void Read_SDO_Server_CANopen();
// The position of Index in EDS_SDO_List, or -1.
int Find_SDO_Index(Word Index);
// Sorts each object's entries by sub-index; equal sub-indexes keep their order.
void Sort_SDO_Sub_Indexs();

// The file's lines for the current tables and the given time, the final empty line included.
QStringList EDS_Lines(TDateTime Time);
// The date (MM-DD-YYYY) and time (hh:mm with AM or PM) texts of the header.
String EDS_Date_Text(TDateTime Time);
String EDS_Time_Text(TDateTime Time);
