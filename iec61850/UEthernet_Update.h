// The parameter file of the external update program, Ethernet_Update.xml in the program folder:
// which converter to reach, on which ports, and which images to load to which device addresses.
// It is rewritten whole before every update and never read back by the configurator.
//
// Root Ethernet_Update with Version, Title, IP_Address_Dev, Application_Port, Boot_Port,
// Boot_Port_Sec, Address_Protection, Protections/Protection and Operations: one Operation per
// image, each with twenty elements in a fixed order. The image files are written as full native
// paths.
#pragma once

#include "System.h"

#include <QStringList>

class TXMLDocument;

// Raised for parameters that cannot make a parameter file.
class EUpdate_Error : public Exception {
    using Exception::Exception;
};

// Items of the update options list.
enum TUpdate_Option { uoFirmware_Configuration = 0, uoFirmware = 1, uoConfiguration = 2 };

extern const String Ethernet_Update_File_Name; // "Ethernet_Update.xml"
extern const String Firmware_Image_Name;       // "Sim40210.sim", in the MASTER folder

// What one parameter file says.
struct TEthernet_Update_Parameters {
    String IP_Address; // dotted, as it goes into the file
    int Option = uoFirmware_Configuration;
    bool Read_Back = true;
    String Firmware_File; // full paths
    String Bank1_File;
    String Bank2_File;
};

// Parameters for the open project and the program folder: the firmware image in Path_Master,
// the two images in Path_Project\bin, all as native full paths.
TEthernet_Update_Parameters Ethernet_Update_Parameters(const String& IP_Address, int Option, bool Read_Back);

// The image files the operations of Parameters load, in the order of the operations. Raises
// EUpdate_Error for an option that is not an item of the list.
QStringList Update_Image_Files(const TEthernet_Update_Parameters& Parameters);

// Fills Doc (cleared first) with the parameter file. Raises EUpdate_Error for an option
// that is not an item of the list.
void Build_Ethernet_Update(TXMLDocument* Doc, const TEthernet_Update_Parameters& Parameters);

// Writes the parameter file to FileName, whole or not at all; raises EXMLDocError when it cannot.
void Write_Ethernet_Update_File(const String& FileName, const TEthernet_Update_Parameters& Parameters);

// Path_Program + "\Ethernet_Update.xml".
String Ethernet_Update_File();
// The update program in the program folder.
String Ethernet_Update_Program();

// The canonical dotted form of a device address typed as four octets: each octet, without
// surrounding blanks, must be one to three decimal digits with a value of 0 to 255; the result
// has no leading zeros ("010" gives "10"). False (Address untouched) when an octet is not such a
// number.
bool Canonical_IP_Address(const String& Octet1, const String& Octet2, const String& Octet3,
                          const String& Octet4, String& Address);
