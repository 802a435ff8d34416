// The project's IEC 61850 client mapping, IEC_61850_Client.xml: which SCL files of the
// project's ICD_Catalog folder belong to it, the data attributes the converter reads or writes
// (variables) and the data sets it polls with the settings of each member.
//
// The element and attribute names are the file format and are kept exactly as the converter's
// tools have always written them, misspellings included (root "IEC_68850_Client", attributes
// "Convertion" and "MoltFact"). Every value is text and is kept as written; an attribute that is
// missing in a file stays missing in the model, so a file read and written again keeps its
// attributes one for one (in the format's attribute order).
//
//   <IEC_68850_Client>
//     <List_ICD_Files> <ICD_File Name FileName/>* </List_ICD_Files>
//     <List_DA_Selected> <DA_Item Index bType fc ... Mnemonic/>* </List_DA_Selected>
//     <List_DataSet_Selected>
//       <DataSet_Item Index Reference ... Mnemonic>
//         <DataSet_List_DAs> <DataSet_DA_Item bType Reference ... Mnemonic/>* </DataSet_List_DAs>
//       </DataSet_Item>*
//     </List_DataSet_Selected>
//   </IEC_68850_Client>
//   <!--SW_VERSION = 1.000-->
#pragma once

#include "System.h"

#include <QHash>
#include <QStringList>

#include <optional>
#include <vector>

class TXMLDocument;
class TXMLNode;

// Element names.
extern const String IEC_Client_Root;           // "IEC_68850_Client"
extern const String IEC_List_ICD_Files;        // "List_ICD_Files"
extern const String IEC_ICD_File;              // "ICD_File"
extern const String IEC_List_DA_Selected;      // "List_DA_Selected"
extern const String IEC_DA_Item;               // "DA_Item"
extern const String IEC_List_DataSet_Selected; // "List_DataSet_Selected"
extern const String IEC_DataSet_Item;          // "DataSet_Item"
extern const String IEC_DataSet_List_DAs;      // "DataSet_List_DAs"
extern const String IEC_DataSet_DA_Item;       // "DataSet_DA_Item"
extern const String IEC_Client_Comment;        // "SW_VERSION = 1.000"

// Attribute names of each item, in the order the file holds them.
extern const QStringList IEC_ICD_File_Attrs;        // Name FileName
extern const QStringList IEC_DA_Item_Attrs;         // Index bType fc Reference StartByte NumByte
                                                    // IPAddress Port OnChange OnCMD OnTimer Time
                                                    // Position StartBit ReadWrite Convertion
                                                    // MoltFact Mnemonic
extern const QStringList IEC_DataSet_Item_Attrs;    // Index Reference GooseName EnGoose IPAddress
                                                    // Port Time Mnemonic
extern const QStringList IEC_DataSet_DA_Item_Attrs; // bType Reference Position StartBit
                                                    // Convertion MoltFact Mnemonic

// The attributes of one item by name; a missing attribute is absent, an empty one present.
// Only the attributes of the item's kind are read from a file and written to one.
class TIEC_Item {
public:
    TIEC_Item() = default;
    // An item of the given kind with every attribute present, empty.
    explicit TIEC_Item(const QStringList& Names);

    bool Has(const String& Name) const { return FValues.contains(Name); }
    // The value, or an empty text when the attribute is missing.
    String Value(const String& Name) const { return FValues.value(Name); }
    std::optional<String> Find(const String& Name) const;
    // The value; raises EConvertError naming Element and Name when the attribute is missing.
    String Required(const String& Element, const String& Name) const;
    void Set(const String& Name, const String& Value) { FValues.insert(Name, Value); }
    void Remove(const String& Name) { FValues.remove(Name); }
    int Count() const { return int(FValues.size()); }

    bool operator==(const TIEC_Item& Other) const { return FValues == Other.FValues; }

private:
    QHash<String, String> FValues;
};

struct TIEC_DataSet_Entry {
    TIEC_Item Attrs;                // DataSet_Item
    bool Has_List_DAs = true;       // the item holds its DataSet_List_DAs
    std::vector<TIEC_Item> Members; // DataSet_DA_Item, in member order

    bool operator==(const TIEC_DataSet_Entry&) const = default;
};

// The whole mapping file.
struct TIEC_Client_Mapping {
    std::vector<TIEC_Item> ICD_Files;         // ICD_File
    std::vector<TIEC_Item> Variables;         // DA_Item
    bool Has_DataSet_List = true;             // List_DataSet_Selected is there
    std::vector<TIEC_DataSet_Entry> DataSets; // DataSet_Item

    bool operator==(const TIEC_Client_Mapping&) const = default;
};

// Reads a mapping from Doc (already loaded): the root found by name among the top-level
// elements, the three lists by name among its children, the children of a list in document
// order whatever their names. Every attribute is taken as it is; nothing is converted. A file
// without the root, without List_ICD_Files or List_DA_Selected, or with a DataSet_Item without
// its DataSet_List_DAs raises EConvertError saying what is missing. A missing
// List_DataSet_Selected is allowed (no data sets).
TIEC_Client_Mapping Read_IEC_Client_Mapping(const TXMLDocument& Doc);
// Loads FileName into Doc and reads it; parse errors raise EXMLDocError.
TIEC_Client_Mapping Load_IEC_Client_Mapping(TXMLDocument& Doc, const String& FileName);

// Builds the document of a mapping in Doc (replacing what it held): the root, the comment after
// it, the three lists always (List_DataSet_Selected too when the mapping has none), each item
// with its present attributes in the format's order.
void Write_IEC_Client_Mapping(TXMLDocument& Doc, const TIEC_Client_Mapping& Mapping);
// Builds the document and saves it to FileName, replacing the file whole or not at all.
void Save_IEC_Client_Mapping(TXMLDocument& Doc, const TIEC_Client_Mapping& Mapping, const String& FileName);
