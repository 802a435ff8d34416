#include "UCompile_Bin.h"

#include "SysUtils.h"
#include "UIEC_Client_File.h"
#include "UProject.h"
#include "UUtils.h"
#include "XmlDoc.h"

#include <QFile>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

Byte Bank1_Par[Bank1_Size];
Byte Bank1_Buffer[Bank1_Size];
int Bank1_Length = 0;
std::array<Byte, Bank2_Capacity> Bank2_Buffer{};
int Bank2_Length = 0;
TIEC61850_Client IEC61850_Client;

namespace {

// True while the buffers hold the images of a build that succeeded.
bool Bins_Ready = false;

void Put8(Byte* b, int at, Byte v) {
    b[at] = v;
}
void Put16(Byte* b, int at, Word v) {
    b[at] = Byte(v);
    b[at + 1] = Byte(v >> 8);
}
void Put32(Byte* b, int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = Byte(v >> (8 * i));
}
void PutFloat(Byte* b, int at, float v) {
    Put32(b, at, std::bit_cast<uint32_t>(v));
}

// Runs Read; an error other than a build error becomes a build error that says where it happened.
template <class TRead> void ReadAt(const String& Where, TRead&& Read) {
    try {
        Read();
    } catch (const ECompile_Error&) {
        throw;
    } catch (const Exception& e) {
        throw ECompile_Error(Where + ": " + e.Message());
    }
}

// ---- Parameter block ---------------------------------------------------------------------------

// Reads one key of the general parameters: the first child of Root with that name, its text
// converted by the integer rule. NaN when the text is no integer, Missing when the key is
// missing or holds elements instead of text.
int ParGenKey(const TXMLNode& Root, const char* Key, int NaN, int Missing) {
    TXMLNode n = Root.FindNode(QString::fromLatin1(Key));
    if (!n || n.HasChildElements()) return Missing;
    int v = 0;
    return TryStrToInt(n.Text(), v) ? v : NaN;
}

// ---- Client image ------------------------------------------------------------------------------

// The stored size of a text: one byte per character and the closing 0.
Int64 StoredLength(const String& s) {
    return Int64(s.size()) + 1;
}

// Texts go into the image one byte per character: only printable ASCII survives that.
void CheckStored(const String& Text, const String& What, const String& Where) {
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t c = Text[i].unicode();
        if (c < 0x20 || c > 0x7E)
            throw ECompile_Error(
                Where + ": the " + What + " \"" + Text + "\" holds the character U+" +
                QString::number(c, 16).toUpper().rightJustified(4, u'0') +
                ", which the converter cannot store (only printable ASCII characters are allowed)");
    }
}

// The multiplication factor: a decimal number with "," or "." as separator, 1.0 when it is
// none ("NONE" among them).
float MoltFactor(const String& Text) {
    float v = 1.0f;
    Str_To_Float_Sep(Text, Get_Decimal_Separator(), v);
    return v;
}

void WriteText(Byte* b, Int64& at, const String& s) {
    for (qsizetype i = 0; i < s.size(); ++i) b[at++] = Byte(s[i].unicode());
    b[at++] = 0;
}

bool WriteFile(const String& FileName, const Byte* Data, int Length, String& Error) {
    QFile f(NativePath(FileName));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(Data), Length) != Length || !f.flush()) {
        Error = f.errorString();
        f.close();
        f.remove();
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        Error = f.errorString();
        f.remove();
        return false;
    }
    return true;
}

} // namespace

bool IEC_Fixed_Size(const String& bType, Byte& StartByte, Byte& NumByte) {
    const String t = UpperCase(bType);
    StartByte = 0;
    if (t == "FLOAT32" || t == "INT32U" || t == "INT32" || t == "QUALITY")
        NumByte = 4;
    else if (t == "FLOAT64" || t == "INT64")
        NumByte = 8;
    else if (t == "INT8U" || t == "INT8" || t == "BOOLEAN" || t == "TIMESTAMP" || t == "ENUM")
        NumByte = 1;
    else if (t == "INT16U" || t == "INT16")
        NumByte = 2;
    else
        return false;
    return true;
}

void Set_Default_Bank1() {
    std::memset(Bank1_Par, 0, sizeof(Bank1_Par));
    Byte* b = Bank1_Par;
    Put32(b, 0, 250000);
    Put32(b, 4, 250000);
    Put32(b, 8, 0);
    Put32(b, 12, 9600);
    const Byte ip[4] = {192, 168, 2, 205}, sm[4] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        b[Par_IP + i] = ip[i];
        b[Par_SubNet + i] = sm[i];
        b[Par_Gateway + i] = 255;
    }
    Put16(b, 52, 10000);
    Put16(b, 54, 10001);
    Put16(b, 56, 10001);
    Put32(b, Par_NB_Out, 0);
    Put32(b, Par_NB_In, 0);
    Put8(b, Par_ID_Device, 0);
    for (int i = 436; i <= 443; ++i) b[i] = 8;
    Put32(b, Par_Client_Add, 0);
}

void Read_ParGen_Bank1() {
    if (!FileExists(File_ParGen)) return;
    TXMLDocument doc(nullptr);
    try {
        doc.LoadFromFile(File_ParGen);
    } catch (const Exception& e) {
        throw ECompile_Error("The general parameters cannot be read: " + e.Message());
    }
    const TXMLNode root = doc.DocumentElement();
    Byte* b = Bank1_Par;

    int ip[4], sm[4], gat[4];
    const char* ipKeys[4] = {"IEC61850_Client_IP1", "IEC61850_Client_IP2", "IEC61850_Client_IP3",
                             "IEC61850_Client_IP4"};
    const char* smKeys[4] = {"IEC61850_Client_SM1", "IEC61850_Client_SM2", "IEC61850_Client_SM3",
                             "IEC61850_Client_SM4"};
    const char* gatKeys[4] = {"IEC61850_Client_GAT1", "IEC61850_Client_GAT2", "IEC61850_Client_GAT3",
                              "IEC61850_Client_GAT4"};
    const int ipDef[4] = {192, 168, 0, 10}, smNaN[4] = {255, 255, 255, 255},
              smMissing[4] = {255, 255, 255, 0}, gatDef[4] = {192, 168, 0, 1};
    for (int i = 0; i < 4; ++i) ip[i] = ParGenKey(root, ipKeys[i], ipDef[i], ipDef[i]);
    for (int i = 0; i < 4; ++i) b[Par_IP + i] = Byte(ip[i]);
    for (int i = 0; i < 4; ++i) sm[i] = ParGenKey(root, smKeys[i], smNaN[i], smMissing[i]);
    for (int i = 0; i < 4; ++i) b[Par_SubNet + i] = Byte(sm[i]);
    for (int i = 0; i < 4; ++i) gat[i] = ParGenKey(root, gatKeys[i], gatDef[i], gatDef[i]);
    const TXMLNode enGat = root.FindNode(QStringLiteral("IEC61850_Client_En_GAT"));
    const bool gatewayOn = enGat && !enGat.HasChildElements() && enGat.Text() == QLatin1String("1");
    for (int i = 0; i < 4; ++i) b[Par_Gateway + i] = gatewayOn ? Byte(gat[i]) : Byte(255);

    IEC61850_Client.vLan = ParGenKey(root, "IEC61850_Client_VLAN", 0, 0);
    IEC61850_Client.appID = ParGenKey(root, "IEC61850_Client_Application_ID", 0, 0);
    b[Par_ID_Device] = Byte(ParGenKey(root, "PROFIBUS_ID_Device", 10, 10));
    Put32(b, Par_NB_In, uint32_t(ParGenKey(root, "PROFINET_NB_IN", 244, 244)));
    Put32(b, Par_NB_Out, uint32_t(ParGenKey(root, "PROFINET_NB_OUT", 244, 244)));
}

int Build_Bank1(int Position, Byte* Buffer) {
    uint32_t sum = 0;
    for (int i = 0; i < Par_Checksum; ++i) sum += Bank1_Par[i];
    Put32(Bank1_Par, Par_Checksum, sum);
    std::memcpy(Buffer + Position, Bank1_Par, Bank1_Size);
    return Position + Bank1_Size;
}

void Clear_IEC61850_Client() {
    IEC61850_Client.nVariable = 0;
    IEC61850_Client.nDataSet = 0;
    IEC61850_Client.vLan = 0;
    IEC61850_Client.appID = 0;
    IEC61850_Client.Variable_Add = 0;
    IEC61850_Client.DataSet_Add = 0;
    IEC61850_Client.VariableList.clear();
    IEC61850_Client.DataSetList.clear();
}

void Read_IEC61850_Client_File(Integer Base) {
    TIEC61850_Client& c = IEC61850_Client;
    c.VariableList.clear();
    c.DataSetList.clear();
    if (FileExists(File_IEC_61850_Client)) {
        TIEC_Client_Mapping m;
        TXMLDocument doc(nullptr);
        try {
            m = Load_IEC_Client_Mapping(doc, File_IEC_61850_Client);
        } catch (const Exception& e) {
            throw ECompile_Error("The IEC 61850 client mapping cannot be read: " + e.Message());
        }

        for (size_t i = 0; i < m.Variables.size(); ++i) {
            const TIEC_Item& it = m.Variables[i];
            const String where = "Variable " + QString::number(i + 1) + " of the IEC 61850 client mapping";
            ReadAt(where, [&] {
                TIEC61850_Variable v;
                v.bType = it.Required(IEC_DA_Item, "bType");
                const String fc = it.Required(IEC_DA_Item, "fc");
                v.reference = it.Required(IEC_DA_Item, "Reference");
                CheckStored(v.bType, "type", where);
                CheckStored(fc, "functional constraint", where);
                CheckStored(v.reference, "reference", where);
                for (int k = 0; k < 2; ++k) v.fc[k] = k < fc.size() ? Byte(fc[k].unicode()) : Byte(0);
                if (!IEC_Fixed_Size(v.bType, v.startbyte, v.numbyte)) {
                    v.startbyte = Byte(StrToIntDef(it.Find("StartByte").value_or("0"), 0));
                    v.numbyte = Byte(StrToIntDef(it.Find("NumByte").value_or("1"), 1));
                }
                v.hostname = it.Required(IEC_DA_Item, "IPAddress");
                CheckStored(v.hostname, "IP address", where);
                v.tcpPort = Word(StrToIntDef(it.Required(IEC_DA_Item, "Port"), 0));
                v.options = 0;
                if (it.Value("OnChange") == "Y") v.options += 1;
                if (it.Value("OnCMD") == "Y") v.options += 2;
                if (it.Value("OnTimer") == "Y") v.options += 4;
                v.time = Cardinal(StrToIntDef(it.Required(IEC_DA_Item, "Time"), 1000));
                v.position = Word(StrToIntDef(it.Required(IEC_DA_Item, "Position"), 0));
                v.bit_address = Byte(StrToIntDef(it.Required(IEC_DA_Item, "StartBit"), 0));
                v.rw = it.Value("ReadWrite") == "Read" ? 0 : 1;
                v.conversion = it.Value("Convertion") == "ItoF/FtoI" ? 1 : 0;
                v.moltFactor = MoltFactor(it.Required(IEC_DA_Item, "MoltFact"));
                c.VariableList.push_back(std::move(v));
            });
        }

        for (size_t i = 0; i < m.DataSets.size(); ++i) {
            const TIEC_DataSet_Entry& e = m.DataSets[i];
            const String where = "Data set " + QString::number(i + 1) + " of the IEC 61850 client mapping";
            ReadAt(where, [&] {
                TIEC61850_DataSet d;
                d.options = 4;
                d.tcpPort = Word(StrToIntDef(e.Attrs.Required(IEC_DataSet_Item, "Port"), 0));
                d.enGoose = e.Attrs.Value("EnGoose") == "Y" ? 1 : 0;
                d.time = Cardinal(StrToIntDef(e.Attrs.Required(IEC_DataSet_Item, "Time"), 1000));
                d.goose_name = e.Attrs.Required(IEC_DataSet_Item, "GooseName");
                d.reference = e.Attrs.Required(IEC_DataSet_Item, "Reference");
                d.hostname = e.Attrs.Required(IEC_DataSet_Item, "IPAddress");
                CheckStored(d.goose_name, "GOOSE name", where);
                CheckStored(d.reference, "reference", where);
                CheckStored(d.hostname, "IP address", where);
                if (e.Members.size() > 255)
                    throw ECompile_Error(where + " has " + QString::number(e.Members.size()) +
                                         " members; the converter takes at most 255 per data set");
                d.nVariable = Byte(e.Members.size());
                for (size_t j = 0; j < e.Members.size(); ++j) {
                    const TIEC_Item& mm = e.Members[j];
                    const String mwhere = where + ", member " + QString::number(j + 1);
                    ReadAt(mwhere, [&] {
                        TIEC61850_Variable_DS v;
                        v.bType = mm.Required(IEC_DataSet_DA_Item, "bType");
                        v.reference = mm.Required(IEC_DataSet_DA_Item, "Reference");
                        CheckStored(v.bType, "type", mwhere);
                        CheckStored(v.reference, "reference", mwhere);
                        v.position = Word(StrToIntDef(mm.Required(IEC_DataSet_DA_Item, "Position"), 0));
                        v.bitAddress = Byte(StrToIntDef(mm.Required(IEC_DataSet_DA_Item, "StartBit"), 0));
                        v.conversion = mm.Value("Convertion") == "ItoF/FtoI" ? 1 : 0;
                        v.moltFactor = MoltFactor(mm.Required(IEC_DataSet_DA_Item, "MoltFact"));
                        d.VariableList.push_back(std::move(v));
                    });
                }
                c.DataSetList.push_back(std::move(d));
            });
        }
    }
    c.nVariable = Integer(c.VariableList.size());
    c.nDataSet = Integer(c.DataSetList.size());

    // Addresses: records first, then the string pool in the order it is written. Computed in
    // 64 bits; Build_Bank2 refuses an image that does not fit before anything is written.
    Int64 a = Int64(Base) + 24;
    c.Variable_Add = Integer(a);
    a += 32 * Int64(c.nVariable);
    c.DataSet_Add = Integer(a);
    a += 28 * Int64(c.nDataSet);
    for (TIEC61850_DataSet& d : c.DataSetList) {
        d.VariableList_Add = Integer(a);
        a += 16 * Int64(d.VariableList.size());
    }
    for (TIEC61850_Variable& v : c.VariableList) {
        v.bType_Add = Integer(a);
        a += StoredLength(v.bType);
        v.hostname_Add = Integer(a);
        a += StoredLength(v.hostname);
        v.reference_Add = Integer(a);
        a += StoredLength(v.reference);
    }
    for (TIEC61850_DataSet& d : c.DataSetList) {
        d.goose_name_Add = Integer(a);
        a += StoredLength(d.goose_name);
        d.reference_Add = Integer(a);
        a += StoredLength(d.reference);
        d.hostname_Add = Integer(a);
        a += StoredLength(d.hostname);
    }
    for (TIEC61850_DataSet& d : c.DataSetList)
        for (TIEC61850_Variable_DS& v : d.VariableList) {
            v.bType_Add = Integer(a);
            a += StoredLength(v.bType);
            v.reference_Add = Integer(a);
            a += StoredLength(v.reference);
        }
}

Int64 Bank2_Image_Size() {
    const TIEC61850_Client& c = IEC61850_Client;
    Int64 n = 24 + 32 * Int64(c.VariableList.size()) + 28 * Int64(c.DataSetList.size());
    for (const TIEC61850_Variable& v : c.VariableList)
        n += StoredLength(v.bType) + StoredLength(v.hostname) + StoredLength(v.reference);
    for (const TIEC61850_DataSet& d : c.DataSetList) {
        n += StoredLength(d.goose_name) + StoredLength(d.reference) + StoredLength(d.hostname);
        for (const TIEC61850_Variable_DS& v : d.VariableList)
            n += 16 + StoredLength(v.bType) + StoredLength(v.reference);
    }
    return n;
}

int Build_Bank2(int Position, Byte* Buffer, int Limit) {
    const TIEC61850_Client& c = IEC61850_Client;
    const Int64 size = Bank2_Image_Size();
    if (Int64(Position) + size - 1 > Int64(Limit))
        throw ECompile_Error("The IEC 61850 client image would take " + QString::number(size) +
                             " bytes; the converter holds at most " +
                             QString::number(Int64(Limit) - Position + 1) +
                             ". Map fewer variables or data sets.");
    for (const TIEC61850_DataSet& d : c.DataSetList)
        if (d.VariableList.size() > 255 || d.nVariable != d.VariableList.size())
            throw ECompile_Error("The data set " + d.reference + " has " +
                                 QString::number(d.VariableList.size()) +
                                 " members; the converter takes at most 255 per data set");

    Byte* b = Buffer;
    int p = Position;
    Put32(b, p + 0, uint32_t(c.VariableList.size()));
    Put32(b, p + 4, uint32_t(c.DataSetList.size()));
    Put32(b, p + 8, uint32_t(c.vLan));
    Put32(b, p + 12, uint32_t(c.appID));
    Put32(b, p + 16, uint32_t(c.Variable_Add));
    Put32(b, p + 20, uint32_t(c.DataSet_Add));
    p += 24;
    for (const TIEC61850_Variable& v : c.VariableList) {
        Put8(b, p + 0, v.fc[0]);
        Put8(b, p + 1, v.fc[1]);
        Put8(b, p + 2, v.rw);
        Put8(b, p + 3, v.bit_address);
        Put8(b, p + 4, v.options);
        Put8(b, p + 5, v.conversion);
        Put8(b, p + 6, v.startbyte);
        Put8(b, p + 7, v.numbyte);
        Put16(b, p + 8, v.position);
        Put16(b, p + 10, v.tcpPort);
        Put32(b, p + 12, v.time);
        PutFloat(b, p + 16, v.moltFactor);
        Put32(b, p + 20, uint32_t(v.bType_Add));
        Put32(b, p + 24, uint32_t(v.hostname_Add));
        Put32(b, p + 28, uint32_t(v.reference_Add));
        p += 32;
    }
    for (const TIEC61850_DataSet& d : c.DataSetList) {
        Put8(b, p + 0, Byte(d.VariableList.size()));
        Put8(b, p + 1, d.options);
        Put16(b, p + 2, d.tcpPort);
        Put8(b, p + 4, d.enGoose);
        Put8(b, p + 5, d.spare[0]);
        Put8(b, p + 6, d.spare[1]);
        Put8(b, p + 7, d.spare[2]);
        Put32(b, p + 8, d.time);
        Put32(b, p + 12, uint32_t(d.goose_name_Add));
        Put32(b, p + 16, uint32_t(d.reference_Add));
        Put32(b, p + 20, uint32_t(d.hostname_Add));
        Put32(b, p + 24, uint32_t(d.VariableList_Add));
        p += 28;
    }
    for (const TIEC61850_DataSet& d : c.DataSetList)
        for (const TIEC61850_Variable_DS& v : d.VariableList) {
            Put16(b, p + 0, v.position);
            Put8(b, p + 2, v.bitAddress);
            Put8(b, p + 3, v.conversion);
            PutFloat(b, p + 4, v.moltFactor);
            Put32(b, p + 8, uint32_t(v.bType_Add));
            Put32(b, p + 12, uint32_t(v.reference_Add));
            p += 16;
        }
    Int64 at = p;
    for (const TIEC61850_Variable& v : c.VariableList) {
        WriteText(b, at, v.bType);
        WriteText(b, at, v.hostname);
        WriteText(b, at, v.reference);
    }
    for (const TIEC61850_DataSet& d : c.DataSetList) {
        WriteText(b, at, d.goose_name);
        WriteText(b, at, d.reference);
        WriteText(b, at, d.hostname);
    }
    for (const TIEC61850_DataSet& d : c.DataSetList)
        for (const TIEC61850_Variable_DS& v : d.VariableList) {
            WriteText(b, at, v.bType);
            WriteText(b, at, v.reference);
        }
    return int(at);
}

void Compile_Bin() {
    Bins_Ready = false;
    Set_Default_Bank1();
    Clear_IEC61850_Client();
    Read_ParGen_Bank1();
    Put32(Bank1_Par, Par_Client_Add, uint32_t(Bank2_Base));
    Read_IEC61850_Client_File(Bank2_Base);
    Bank1_Length = 0;
    Bank2_Length = 0;
    Bank2_Length = Build_Bank2(0, Bank2_Buffer.data(), Bank2_Capacity - 1);
    Bank1_Length = Build_Bank1(0, Bank1_Buffer);
    Bins_Ready = true;
}

void Save_Bin() {
    if (!Bins_Ready)
        throw ECompile_Error("There are no configuration images to write: the last build failed");
    if (Path_Project.isEmpty()) throw ECompile_Error("No project is open");
    const String dir = Path_Project + "\\bin";
    if (!DirectoryExists(dir) && !ForceDirectories(dir))
        throw ECompile_Error("The folder \"" + NativePath(dir) + "\" cannot be created");
    // The two images belong together: a device must never get a new bank1.bin with an old
    // bank2.bin or the other way round. Both new images go to temporary files first; a copy of
    // each old image is kept until both new ones have taken their names, and any failure on the
    // way puts the old pair back.
    const String names[2] = {dir + "\\bank1.bin", dir + "\\bank2.bin"};
    const Byte* data[2] = {Bank1_Buffer, Bank2_Buffer.data()};
    const int lengths[2] = {Bank1_Length, Bank2_Length};
    String temps[2], copies[2]; // a copy is empty when there was no old image to keep
    const auto removeAll = [&] {
        for (const String& f : {temps[0], temps[1], copies[0], copies[1]})
            if (!f.isEmpty()) QFile::remove(NativePath(f));
    };
    const auto failed = [&](int Index, const String& Why) {
        removeAll();
        return ECompile_Error("The file \"" + NativePath(names[Index]) + "\" cannot be " + Why);
    };

    for (int i = 0; i < 2; ++i) {
        temps[i] = names[i] + ".tmp";
        String error;
        if (!WriteFile(temps[i], data[i], lengths[i], error)) throw failed(i, "written: " + error);
    }
    for (int i = 0; i < 2; ++i) {
        if (!FileExists(names[i])) continue; // nothing, or a folder that no rename will replace
        copies[i] = names[i] + ".old";
        QFile::remove(NativePath(copies[i])); // left over from an interrupted save
        if (!QFile::copy(NativePath(names[i]), NativePath(copies[i])))
            throw failed(i, "replaced: no copy of the old image can be kept beside it");
    }
    for (int i = 0; i < 2; ++i) {
        // rename replaces an existing file in one step
        if (std::rename(QFile::encodeName(NativePath(temps[i])).constData(),
                        QFile::encodeName(NativePath(names[i])).constData()) == 0)
            continue;
        const String why = "replaced: " + String::fromLocal8Bit(std::strerror(errno));
        // The images already renamed get their old ones back (or go, when there was none).
        String lost;
        for (int k = 0; k < i; ++k) {
            const QByteArray name = QFile::encodeName(NativePath(names[k]));
            if (copies[k].isEmpty()) {
                if (std::remove(name.constData()) != 0)
                    lost += "; the new \"" + NativePath(names[k]) + "\" could not be removed";
            } else if (std::rename(QFile::encodeName(NativePath(copies[k])).constData(), name.constData()) !=
                       0) {
                lost += "; the old \"" + NativePath(names[k]) + "\" could not be put back, it is kept as \"" +
                        NativePath(copies[k]) + "\"";
                copies[k].clear();
            }
        }
        throw failed(i, why + lost);
    }
    for (const String& f : copies)
        if (!f.isEmpty()) QFile::remove(NativePath(f));
}
