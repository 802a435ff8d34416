#include "Update_Plan.h"

#include <QFileInfo>

#include <pugixml.hpp>

namespace {

// The converter's memory areas that take an image, by start address.
struct TMemory_Area {
    quint32 Start;
    quint32 Size;
    int Bank_Type;
    const char* Name;
};
constexpr TMemory_Area Memory_Map[] = {
    {0x07000, 0x800, 2, "parameter block"},
    {0x08000, 0x78000, 1, "firmware"},
    {0x80000, 0x80000, 2, "IEC 61850 client image"},
};

QString Text(const pugi::xml_node& Node, const char* Name) {
    return QString::fromUtf8(Node.child(Name).child_value()).trimmed();
}

bool Is_IPv4(const QString& Address) {
    const QStringList parts = Address.split(u'.');
    if (parts.size() != 4) return false;
    for (const QString& p : parts) {
        if (p.isEmpty() || p.size() > 3) return false;
        for (QChar c : p)
            if (c < u'0' || c > u'9') return false;
        if (p.toInt() > 255) return false;
    }
    return true;
}

bool Port(const QString& Value, int& Port) {
    bool ok = false;
    const int v = Value.toInt(&ok);
    if (!ok || v < 1 || v > 65535) return false;
    Port = v;
    return true;
}

bool Flag(const QString& Value, bool& Flag) {
    if (Value != u"0" && Value != u"1") return false;
    Flag = Value == u"1";
    return true;
}

bool Hex(const QString& Value, quint32& Number) {
    if (!Value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) return false;
    bool ok = false;
    Number = Value.mid(2).toUInt(&ok, 16);
    return ok && Value.size() > 2;
}

QString Hex_Text(quint32 Value) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(Value, 5, 16, QLatin1Char('0')).toUpper();
}

bool Read_Step(const pugi::xml_node& Op, int Number, const TUpdate_Plan& Plan, TUpdate_Step& Step,
               QString& Error) {
    const QString prefix = QStringLiteral("Operation %1: ").arg(Number);
    const auto fail = [&](const QString& What) {
        Error = prefix + What;
        return false;
    };
    Step.File = QString::fromUtf8(Op.child("Ope_FileName").child_value());
    if (Step.File.trimmed().isEmpty()) return fail(QStringLiteral("Ope_FileName is empty"));
    const QFileInfo info(Step.File);
    if (!info.exists() || !info.isFile())
        return fail(QStringLiteral("the image file \"%1\" does not exist").arg(Step.File));
    Step.Size = info.size();
    if (Step.Size == 0) return fail(QStringLiteral("the image file \"%1\" is empty").arg(Step.File));

    const QString start = Text(Op, "Ope_Start_Address");
    if (!Hex(start, Step.Start_Address))
        return fail(QStringLiteral("Ope_Start_Address \"%1\" is not a hexadecimal address").arg(start));
    const TMemory_Area* area = nullptr;
    for (const TMemory_Area& a : Memory_Map)
        if (a.Start == Step.Start_Address) area = &a;
    if (!area) return fail(QStringLiteral("no memory area of the converter starts at %1").arg(start));
    Step.Area = QString::fromLatin1(area->Name);
    Step.Area_Size = area->Size;
    if (Step.Size > qint64(area->Size))
        return fail(QStringLiteral("the image \"%1\" has %2 bytes, more than the %3 bytes of the %4 at %5")
                        .arg(Step.File)
                        .arg(Step.Size)
                        .arg(area->Size)
                        .arg(Step.Area, start));

    const QString bank = Text(Op, "Ope_Bank_Type");
    bool ok = false;
    Step.Bank_Type = bank.toInt(&ok);
    if (!ok || Step.Bank_Type != area->Bank_Type)
        return fail(QStringLiteral("Ope_Bank_Type \"%1\" does not match the %2 (bank %3)")
                        .arg(bank, Step.Area)
                        .arg(area->Bank_Type));

    const QString address = Text(Op, "Ope_IP_Address");
    if (!address.isEmpty() && !Is_IPv4(address))
        return fail(QStringLiteral("Ope_IP_Address \"%1\" is not an IPv4 address").arg(address));
    Step.Address = address.isEmpty() ? Plan.Address : address;

    const QString port = Text(Op, "Ope_Port"), portSec = Text(Op, "Ope_Port_Sec");
    Step.Port = Plan.Boot_Port;
    Step.Port_Sec = Plan.Boot_Port_Sec;
    if (!port.isEmpty() && !Port(port, Step.Port))
        return fail(QStringLiteral("Ope_Port \"%1\" is not a port number").arg(port));
    if (!portSec.isEmpty() && !Port(portSec, Step.Port_Sec))
        return fail(QStringLiteral("Ope_Port_Sec \"%1\" is not a port number").arg(portSec));

    for (const auto& [name, target] : {std::pair{"Ope_Read_Back", &Step.Read_Back},
                                       std::pair{"Ope_GoToApp_After", &Step.Go_To_App_After}}) {
        const QString v = Text(Op, name);
        if (!Flag(v, *target))
            return fail(QStringLiteral("%1 \"%2\" is neither 0 nor 1").arg(QString::fromLatin1(name), v));
    }
    return true;
}

} // namespace

bool Read_Update_Plan(const QString& FileName, TUpdate_Plan& Plan, QString& Error) {
    Plan = TUpdate_Plan();
    const QFileInfo info(FileName);
    if (!info.exists()) {
        Error = QStringLiteral("the parameter file \"%1\" does not exist").arg(FileName);
        return false;
    }
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(info.absoluteFilePath().toLocal8Bit().constData());
    if (!parsed) {
        Error = QStringLiteral("the parameter file \"%1\" cannot be read: %2 (offset %3)")
                    .arg(FileName, QString::fromUtf8(parsed.description()))
                    .arg(qint64(parsed.offset));
        return false;
    }
    const pugi::xml_node root = doc.document_element();
    if (QLatin1String(root.name()) != QLatin1String("Ethernet_Update")) {
        Error = QStringLiteral("the root element is \"%1\", not Ethernet_Update")
                    .arg(QString::fromUtf8(root.name()));
        return false;
    }
    const QString version = Text(root, "Version");
    if (version != u"1000") {
        Error = QStringLiteral("version \"%1\" is not supported (1000 expected)").arg(version);
        return false;
    }
    Plan.Title = Text(root, "Title");
    Plan.Address = Text(root, "IP_Address_Dev");
    if (!Is_IPv4(Plan.Address)) {
        Error = QStringLiteral("IP_Address_Dev \"%1\" is not an IPv4 address").arg(Plan.Address);
        return false;
    }
    for (const auto& [name, target] :
         {std::pair{"Application_Port", &Plan.Application_Port}, std::pair{"Boot_Port", &Plan.Boot_Port},
          std::pair{"Boot_Port_Sec", &Plan.Boot_Port_Sec}}) {
        const QString v = Text(root, name);
        if (!Port(v, *target)) {
            Error = QStringLiteral("%1 \"%2\" is not a port number").arg(QString::fromLatin1(name), v);
            return false;
        }
    }
    const pugi::xml_node operations = root.child("Operations");
    int number = 0;
    for (pugi::xml_node op = operations.child("Operation"); op; op = op.next_sibling("Operation")) {
        TUpdate_Step step;
        if (!Read_Step(op, ++number, Plan, step, Error)) return false;
        Plan.Steps << step;
    }
    if (Plan.Steps.isEmpty()) {
        Error = QStringLiteral("there is no operation to do");
        return false;
    }
    return true;
}

QStringList Describe_Update_Plan(const TUpdate_Plan& Plan) {
    QStringList lines;
    int number = 0;
    for (const TUpdate_Step& s : Plan.Steps) {
        lines << QStringLiteral("Operation %1: would send %2 (%3 bytes) to %4:%5 (secondary port %6), %7 at "
                                "%8, bank %9, read back %10")
                     .arg(++number)
                     .arg(s.File)
                     .arg(s.Size)
                     .arg(s.Address)
                     .arg(s.Port)
                     .arg(s.Port_Sec)
                     .arg(s.Area, Hex_Text(s.Start_Address))
                     .arg(s.Bank_Type)
                     .arg(s.Read_Back ? QStringLiteral("on") : QStringLiteral("off"));
        if (s.Go_To_App_After)
            lines << QStringLiteral("Then would start the application of %1 (application port %2)")
                         .arg(s.Address)
                         .arg(Plan.Application_Port);
    }
    return lines;
}

int Run_Update(const QString& FileName, QStringList& Out, QStringList& Err) {
    TUpdate_Plan plan;
    QString error;
    if (!Read_Update_Plan(FileName, plan, error)) {
        Err << QStringLiteral("Ethernet_Update: ") + error;
        return 1;
    }
    if (!plan.Title.isEmpty()) Out << plan.Title;
    Out << Describe_Update_Plan(plan);
    return 0;
}
