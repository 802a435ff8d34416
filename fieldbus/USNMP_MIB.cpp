#include "USNMP_MIB.h"

#include "Dialogs.h"
#include "Forms.h"
#include "Maker.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "XmlDoc.h"

#include "Classes.h"

#include <QHash>
#include <QRegularExpression>

#include <memory>
#include <utility>

std::vector<bool> MIB_Read_Int;
std::vector<bool> MIB_Write_Int;

namespace {

String S(const char* Text) {
    return String::fromLatin1(Text);
}

// The name of the j-th object of a table: its description, or Prefix and j without one.
String Object_Name(const String& Desc, const char* Prefix, int J) {
    return Desc.isEmpty() ? S(Prefix) + String::number(J) : Desc;
}

// The node Buffer (number DataNumber under data), its eight data-block objects and the node of
// its value objects.
void Blocks(QStringList& L, const char* Buffer, int DataNumber, const char* Access) {
    L << QStringLiteral("%1 OBJECT IDENTIFIER::= { data %2 }").arg(S(Buffer)).arg(DataNumber);
    for (int k = 1; k <= 8; ++k)
        L << QStringLiteral("%1blk%2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS %3 STATUS current "
                            "DESCRIPTION \"data block n.%2\" ::= { %1 %2 }")
                 .arg(S(Buffer))
                 .arg(k)
                 .arg(S(Access));
    L << QStringLiteral(" %1val OBJECT IDENTIFIER::= { %1 9 }").arg(S(Buffer));
}

// One object per entry under Parent, named by the description, or by Prefix and the number when
// the description is empty.
void Objects(QStringList& L, const QStringList& Desc, const std::vector<bool>& Int, const char* Prefix,
             const char* Access, const char* Parent) {
    for (int j = 1; j <= Desc.size(); ++j) {
        const String& d = Desc[j - 1];
        const bool isInt = size_t(j - 1) < Int.size() && Int[size_t(j - 1)];
        L << Object_Name(d, Prefix, j) +
                 QStringLiteral(" OBJECT-TYPE SYNTAX %1 MAX-ACCESS %2 STATUS current DESCRIPTION \"")
                     .arg(isInt ? QStringLiteral("INTEGER") : QStringLiteral("OCTET STRING"), S(Access)) +
                 d + QStringLiteral("\" ::= { %1 %2 }").arg(S(Parent)).arg(j);
    }
}

// The descriptors the module defines or imports whatever the tables hold.
const char* const Fixed_Descriptors[] = {
    "identity", "ostrel",    "gateway",     "application",  "data",  "hellostring", "countin",    "countout",
    "bufferin", "bufferout", "bufferinval", "bufferoutval", "traps", "trapsval",    "enterprises"};

// Every description must be usable as the name of its object: a descriptor (a lower-case letter,
// then letters and digits, at most 64 characters) that no other name of the module takes. A
// description is refused (text 1125) with its table and its number in the table's index column.
void Check_Descriptors(const QStringList& Read, const QStringList& Write) {
    QHash<String, int> uses;
    const auto use = [&](const String& Name) { ++uses[Name]; };
    for (const char* name : Fixed_Descriptors) use(S(name));
    for (int k = 1; k <= 8; ++k) {
        use(QStringLiteral("bufferinblk%1").arg(k));
        use(QStringLiteral("bufferoutblk%1").arg(k));
    }
    for (int j = 1; j <= Read.size(); ++j) {
        use(Object_Name(Read[j - 1], "bufferinval", j));
        use(QStringLiteral("trapval%1").arg(j));
    }
    for (int j = 1; j <= Write.size(); ++j) use(Object_Name(Write[j - 1], "bufferoutval", j));

    static const QRegularExpression descriptor(QStringLiteral("^[a-z][A-Za-z0-9]{0,63}$"));
    for (const auto& [list, table] :
         {std::pair{&Read, "SNMP_Trap_Read"}, std::pair{&Write, "SNMP_Trap_Write"}})
        for (int j = 1; j <= list->size(); ++j) {
            const String& d = (*list)[j - 1];
            if (d.isEmpty()) continue;
            if (!descriptor.match(d).hasMatch() || uses.value(d) > 1)
                throw EConvertError(Lang_Text.Get(1125) +
                                    QStringLiteral(" [%1] index %2: \"%3\"").arg(S(table)).arg(j).arg(d));
        }
}

// The enabled rows of one section: descriptions and integer flags.
void Read_Section(const TXMLNode& Root, const char* Section, QStringList& Desc, std::vector<bool>& Int) {
    const TXMLNode section = Root.FindNode(S(Section));
    if (!section)
        throw EConvertError(
            QStringLiteral("File \"%1\": the section %2 is missing").arg(File_SNMP_Trap, S(Section)));
    for (TXMLNode row = section.FirstChild(); row; row = row.NextSibling()) {
        if (UpperCase(row.Attribute(QStringLiteral("Enable"))) != QStringLiteral("Y")) continue;
        Desc << row.Attribute(QStringLiteral("Description"));
        Int.push_back(UpperCase(row.Attribute(QStringLiteral("Type"))) == QStringLiteral("INT"));
    }
}

TStringList& List(TStringList*& L) {
    if (!L) L = new TStringList();
    return *L;
}

} // namespace

QStringList MIB_Lines(const QStringList& Read, const std::vector<bool>& ReadInt, const QStringList& Write,
                      const std::vector<bool>& WriteInt) {
    QStringList L;
    L << QStringLiteral("GATEWAY DEFINITIONS ::= BEGIN") << QStringLiteral("IMPORTS")
      << QStringLiteral("       MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE")
      << QStringLiteral("         FROM SNMPv2-SMI") << QStringLiteral("         DisplayString, TimeStamp")
      << QStringLiteral("         FROM SNMPv2-TC") << QStringLiteral("         enterprises")
      << QStringLiteral("         FROM RFC1155-SMI;") << String();

    // The module identity, with the maker's address.
    L << QStringLiteral("identity MODULE-IDENTITY") << QStringLiteral("    LAST-UPDATED \"201701310000Z\"")
      << QStringLiteral("    ORGANIZATION \"%1\"").arg(S(Maker::Web)) << QStringLiteral("    CONTACT-INFO")
      << QStringLiteral("\t \"%1").arg(S(Maker::Street))
      << QStringLiteral("    %1 (%2)").arg(S(Maker::Postcode_Town), S(Maker::Province))
      << QStringLiteral("    %1").arg(S(Maker::Country))
      << QStringLiteral("    email:    %1\"").arg(S(Maker::Mail_Domain));
    L << QStringLiteral("    DESCRIPTION") << QStringLiteral("\t\"MIB objects for agent module \"")
      << QStringLiteral("    REVISION     \"201701310000Z\"") << QStringLiteral("    DESCRIPTION")
      << QStringLiteral("\t\"Corrected notification \"")
      << QStringLiteral("    REVISION     \"200202060000Z\"") << QStringLiteral("    DESCRIPTION")
      << QStringLiteral("\t\"First draft\"") << QStringLiteral("    ::= { ostrel 2 }");

    // The object tree.
    L << QStringLiteral("ostrel          OBJECT IDENTIFIER ::= { enterprises %1 }")
             .arg(Maker::Enterprise_Number)
      << QStringLiteral("gateway OBJECT IDENTIFIER::= { ostrel 1 }")
      << QStringLiteral("application OBJECT IDENTIFIER::= { gateway 1 }")
      << QStringLiteral("data OBJECT IDENTIFIER::= { application 1 }");
    L << QStringLiteral("hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  "
                        "DESCRIPTION \"\" ::= { data 1}")
      << QStringLiteral("countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS current  "
                        "DESCRIPTION \"\" ::= { data 2}")
      << QStringLiteral("countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS current  "
                        "DESCRIPTION \"\" ::= { data 3}");

    Blocks(L, "bufferin", 4, "read-only");
    Objects(L, Read, ReadInt, "bufferinval", "read-only", "bufferinval");
    Blocks(L, "bufferout", 5, "read-write");
    Objects(L, Write, WriteInt, "bufferoutval", "read-write", "bufferoutval");

    // Every read object is also sent as a notification, always named by its number; it carries
    // its object, as an SMIv2 notification names the objects it sends.
    L << QStringLiteral("traps OBJECT IDENTIFIER::= { application 2 }")
      << QStringLiteral(" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    for (int j = 1; j <= Read.size(); ++j)
        L << QStringLiteral("trapval%1 NOTIFICATION-TYPE OBJECTS { %2 } STATUS current DESCRIPTION \"%3\" "
                            "::= { trapsval %1 }")
                 .arg(j)
                 .arg(Object_Name(Read[j - 1], "bufferinval", j), Read[j - 1]);
    L << QStringLiteral("END");
    return L;
}

void Read_SNMP_Trap_File() {
    TStringList& read = List(MIB_Read_List);
    TStringList& write = List(MIB_Write_List);
    read.Clear();
    write.Clear();
    MIB_Read_Int.clear();
    MIB_Write_Int.clear();
    if (!FileExists(File_SNMP_Trap)) return;

    QStringList readDesc, writeDesc;
    std::vector<bool> readInt, writeInt;
    {
        TXMLDocument doc(nullptr);
        doc.SetActive(true);
        doc.LoadFromFile(File_SNMP_Trap);
        const TXMLNode root = doc.DocumentElement();
        if (!root) throw EConvertError(QStringLiteral("File \"%1\" has no root element").arg(File_SNMP_Trap));
        Read_Section(root, "SNMP_Trap_Read", readDesc, readInt);
        Read_Section(root, "SNMP_Trap_Write", writeDesc, writeInt);
    }
    for (const String& d : readDesc) read.Add(d);
    for (const String& d : writeDesc) write.Add(d);
    MIB_Read_Int = std::move(readInt);
    MIB_Write_Int = std::move(writeInt);
}

void Write_MIB_File(const String& FileName) {
    QStringList read, write;
    if (MIB_Read_List)
        for (int i = 0; i < MIB_Read_List->Count(); ++i) read << MIB_Read_List->Strings(i);
    if (MIB_Write_List)
        for (int i = 0; i < MIB_Write_List->Count(); ++i) write << MIB_Write_List->Strings(i);
    Check_Descriptors(read, write);
    // The file is replaced whole, or stays as it was when it cannot be written.
    TStringList lines;
    lines.AddStrings(MIB_Lines(read, MIB_Read_Int, write, MIB_Write_Int));
    lines.SaveToFile(FileName);
}

void Create_MIB_File() {
    // The main window's dialog when there is one; else one made for this run, set up alike.
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    auto* shared =
        main ? dynamic_cast<TSaveDialog*>(main->FindComponent(QStringLiteral("SaveMIB"))) : nullptr;
    std::unique_ptr<TSaveDialog> own;
    if (!shared) {
        own = std::make_unique<TSaveDialog>(main);
        own->Filter = QStringLiteral("Management Information Base (*.mib)|*.mib");
        own->DefaultExt = QStringLiteral("*.mib");
    }
    TSaveDialog* dialog = shared ? shared : own.get();
    dialog->InitialDir = Path_Project;
    if (!dialog->Execute()) return;
    const String fileName = dialog->FileName;
    if (FileExists(fileName) && MessageDlg(Lang_Text.Get(1105), mtConfirmation, mbYesNo) == mrNo) return;
    Read_SNMP_Trap_File();
    Write_MIB_File(fileName);
}
