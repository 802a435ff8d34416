// Reads arbitrary bytes as each table file the description-file generators read (the PDO and
// SDO server tables for the EDS, the BACnet tables and ParGen.xml for the EDE, the SNMP tables
// for the MIB): every generator must either write its file or refuse with its own error, and a
// refused run must leave the earlier file as it was.
#include "Dialogs.h"
#include "UBACnet_EDE.h"
#include "UCANopen_EDS.h"
#include "ULang.h"
#include "UProject.h"
#include "USNMP_MIB.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace {

void Put(const String& File, const QByteArray& Bytes) {
    QFile f(File);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(Bytes);
}

QByteArray Get(const String& File) {
    QFile f(File);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs one generator into Out: written whole, or refused with Out unchanged.
void Generate(const String& Out, const std::function<void()>& Run) {
    Put(Out, "earlier");
    try {
        Run();
    } catch (const Exception&) {
        if (Get(Out) != "earlier") std::abort();
        return;
    }
    if (!Get(Out).endsWith("\r\n")) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    static const QString dir = [] {
        const QString d = QDir::tempPath() + "/fuzz-tables-" + QString::number(getpid());
        QDir().mkpath(d);
        Lang_Text.Load_Default_Lang();
        // The EDE's warning after writing is answered here, not shown.
        SetMessageDlgHook([](const TMessageDlgRequest&) { return int(mrOk); });
        return d;
    }();
    Path_Project = dir;
    Set_Files();
    EDS_Now = [] { return 44372.5; };
    EDE_Now = EDS_Now;
    const String out = dir + "/out.txt";

    // Each table file in turn holds the input; the others are absent.
    const String tables[] = {File_PDO_CANopen, File_SDO_Server_CANopen, File_BACnet_Slave_SetAccess,
                             File_ParGen, File_SNMP_Trap};
    for (const String& t : tables) {
        for (const String& other : tables) QFile::remove(other);
        Put(t, input);
        Generate(out, [&] { Create_EDS_File(out); });
        Generate(out, [&] { Create_EDE_File(out); });
        Generate(out, [&] {
            Read_SNMP_Trap_File();
            Write_MIB_File(out);
        });
    }
    return 0;
}
