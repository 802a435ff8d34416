// Reads arbitrary bytes as a client mapping file: the mapping must survive a write and a second
// read unchanged, and the configuration build must either compile it into an image that fits
// or refuse it with its own error.
#include "UCompile_Bin.h"
#include "UIEC_Client_File.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    TIEC_Client_Mapping m;
    bool readable = true;
    try {
        TXMLDocument doc(nullptr);
        doc.LoadFromXML(input);
        m = Read_IEC_Client_Mapping(doc);
    } catch (const Exception&) {
        readable = false;
    }
    if (readable) {
        TXMLDocument out(nullptr);
        Write_IEC_Client_Mapping(out, m);
        TXMLDocument back(nullptr);
        back.LoadFromXML(out.SaveToXML());
        TIEC_Client_Mapping again = Read_IEC_Client_Mapping(back);
        m.Has_DataSet_List = true; // the writer always writes the list
        if (!(again == m)) std::abort();
    }

    static const QString file = QDir::tempPath() + "/fuzz-mapping-" + QString::number(getpid()) + ".xml";
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(input);
    f.close();
    File_IEC_61850_Client = file;
    try {
        Clear_IEC61850_Client();
        Read_IEC61850_Client_File(Bank2_Base);
        const int end = Build_Bank2(0, Bank2_Buffer.data(), Bank2_Capacity - 1);
        if (end < 24 || end > Bank2_Capacity || end != Bank2_Image_Size()) std::abort();
    } catch (const ECompile_Error&) {
        // refused with a message
    }
    return 0;
}
