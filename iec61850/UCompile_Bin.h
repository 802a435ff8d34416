// The configuration build: turns the open project into the two images the update program loads
// into the converter.
//
//   bin\bank1.bin  the 2048-byte parameter block (network and PROFIBUS settings from ParGen.xml,
//                  fixed defaults, checksum), loaded at converter address 0x07000;
//   bin\bank2.bin  the IEC 61850 client image (variables, data sets and their members from
//                  IEC_61850_Client.xml), loaded at converter address 0x80000.
//
// Both images are little-endian with no gaps. Every address inside bank2.bin is an absolute
// converter address: the load address 0x80000 plus the byte's offset in the image.
//
// Compile_Bin builds both images in memory and raises ECompile_Error when the project cannot be
// compiled (a mapping file that cannot be read or lacks a required attribute, an image larger
// than the converter's 512 KB, a data set with more than 255 members, a text the image cannot
// store); Save_Bin then writes them, both whole or neither. Nothing is written after a failed
// build.
#pragma once

#include "System.h"

#include <array>
#include <vector>

class TXMLDocument;

// Raised when the project cannot be compiled or its images cannot be written.
class ECompile_Error : public Exception {
    using Exception::Exception;
};

// The byte-size rule of the variables: for the types with a fixed size (FLOAT32, INT32U, INT32,
// QUALITY: 4 bytes; FLOAT64, INT64: 8; INT8U, INT8, BOOLEAN, TIMESTAMP, ENUM: 1; INT16U, INT16: 2;
// the type's case ignored) true with StartByte 0 and NumByte the size; false for the others,
// whose range the row gives itself.
bool IEC_Fixed_Size(const String& bType, Byte& StartByte, Byte& NumByte);

// ---- Parameter block (bank 1) ------------------------------------------------------------------

constexpr int Bank1_Size = 2048;
constexpr Integer Bank2_Base = 0x80000; // converter address of the client image
constexpr int Bank2_Capacity = 0x80000; // the image covers at most 0x80000 .. 0xFFFFF

// Offsets of the parameter block's fields.
constexpr int Par_IP = 40;           // 4 x uint8: converter address, first octet first
constexpr int Par_SubNet = 44;       // 4 x uint8
constexpr int Par_Gateway = 48;      // 4 x uint8
constexpr int Par_NB_Out = 116;      // uint32: PROFIBUS output bytes
constexpr int Par_NB_In = 120;       // uint32: PROFIBUS input bytes
constexpr int Par_ID_Device = 129;   // uint8: PROFIBUS station address
constexpr int Par_Client_Add = 1516; // uint32: converter address of the client image
constexpr int Par_Checksum = 2044;   // uint32: sum of bytes 0 .. 2043

// ---- Client image (bank 2) records ---------------------------------------------------------------

// One mapped data attribute: a 32-byte record of the image.
struct TIEC61850_Variable {
    Byte fc[2] = {0, 0};  // the first two characters of the functional constraint
    Byte rw = 0;          // 0 read, 1 write
    Byte bit_address = 0; // start bit inside the data-array byte
    Byte options = 0;     // bit 0 on change, bit 1 on command, bit 2 on timer
    Byte conversion = 0;  // 0 none, 1 integer/float conversion
    Byte startbyte = 0;
    Byte numbyte = 0;
    Word position = 0; // byte index in the converter's internal data array
    Word tcpPort = 0;
    Cardinal time = 0; // cycle in ms
    float moltFactor = 1.0f;
    String bType, hostname, reference;
    Integer bType_Add = 0, hostname_Add = 0, reference_Add = 0;
};

// One member of a data set: a 16-byte record of the image.
struct TIEC61850_Variable_DS {
    Word position = 0;
    Byte bitAddress = 0;
    Byte conversion = 0;
    float moltFactor = 1.0f;
    String bType, reference;
    Integer bType_Add = 0, reference_Add = 0;
};

// One polled data set: a 28-byte record of the image. Named apart from the mapping editor's
// TDataSet, which is another type, so both can be used in one unit.
struct TIEC61850_DataSet {
    Byte nVariable = 0; // number of member records
    Byte options = 4;   // always on timer
    Word tcpPort = 0;
    Byte enGoose = 0;
    Byte spare[3] = {0, 0, 0};
    Cardinal time = 0; // poll cycle in ms
    String goose_name, reference, hostname;
    Integer goose_name_Add = 0, reference_Add = 0, hostname_Add = 0;
    std::vector<TIEC61850_Variable_DS> VariableList;
    Integer VariableList_Add = 0; // address of the first member record
};

struct TIEC61850_Client {
    Integer nVariable = 0;
    Integer nDataSet = 0;
    Integer vLan = 0;  // general parameter IEC61850_Client_VLAN
    Integer appID = 0; // general parameter IEC61850_Client_Application_ID
    std::vector<TIEC61850_Variable> VariableList;
    Integer Variable_Add = 0; // address of the first variable record
    std::vector<TIEC61850_DataSet> DataSetList;
    Integer DataSet_Add = 0; // address of the first data-set record
};

// ---- Program-wide build state ------------------------------------------------------------------

extern Byte Bank1_Par[Bank1_Size];    // the parameter block, built in place
extern Byte Bank1_Buffer[Bank1_Size]; // bank1.bin as written
extern int Bank1_Length;
extern std::array<Byte, Bank2_Capacity> Bank2_Buffer; // zero pages until a build writes them
extern int Bank2_Length;
extern TIEC61850_Client IEC61850_Client;

// ---- The build ---------------------------------------------------------------------------------

// Builds both images in memory from File_ParGen and File_IEC_61850_Client. Raises
// ECompile_Error (with the reason) when the project cannot be compiled; the images of an earlier
// build are then no longer available to Save_Bin.
void Compile_Bin();
// Writes the images of the last successful Compile_Bin to Path_Project + "\bin\bank1.bin" and
// "\bin\bank2.bin", creating the bin folder when missing. Each image goes to a temporary file
// first; the files are replaced only when both were written whole, and a copy of each old image
// (bankN.bin.old) is kept until both new ones are in place. Raises ECompile_Error, naming the
// file, when there is nothing to write or a file cannot be written or replaced: the folder then
// holds the old pair as it was (a replaced image gets its old one back).
void Save_Bin();

// Fills the whole parameter block with its defaults.
void Set_Default_Bank1();
// Reads File_ParGen into the block and into IEC61850_Client.vLan and .appID; a missing file or
// key leaves the defaults. The parameter root is the file's first element: a declaration or
// comment before it is skipped, as the general-parameters window skips it, so a file the window
// shows with its values never compiles as all defaults.
void Read_ParGen_Bank1();
// Stores the checksum, copies the block to Buffer from Position on and returns Position + 2048.
int Build_Bank1(int Position, Byte* Buffer);

// Empties the client record and its lists.
void Clear_IEC61850_Client();
// Fills IEC61850_Client from File_IEC_61850_Client (an image without variables and data sets
// when the file does not exist) and computes every address from Base. Raises ECompile_Error for
// a file that cannot be read, a missing required attribute, a data set with more than 255
// members or a stored text with a character outside printable ASCII.
void Read_IEC61850_Client_File(Integer Base);
// The length in bytes of the image of the current client record.
Int64 Bank2_Image_Size();
// Writes the image into Buffer from Position on and returns the position after its last byte.
// Raises ECompile_Error, writing nothing, when the image would go past Limit (the index of the
// last byte that may be written).
int Build_Bank2(int Position, Byte* Buffer, int Limit);
