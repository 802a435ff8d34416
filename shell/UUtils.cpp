#include "UUtils.h"

#include "AdvGrid.h"
#include "UProject.h"

#include "Classes.h"
#include "Process.h"
#include "SysUtils.h"

#include <QDir>
#include <QProcess>

#include <cerrno>
#include <cmath>
#include <limits>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

int OpenSerialDevice(const QByteArray& Device) {
    const int fd = ::open(Device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

TSerialDeviceProbe& SerialDeviceProbe() {
    static TSerialDeviceProbe probe;
    return probe;
}

} // namespace

Char Get_Decimal_Separator() {
    const Char c = GetDecimalSeparator();
    return (c == u',' || c == u'.') ? c : Char(u',');
}

bool Str_To_Float_Sep(const String& Text, Char Separator, float& Value) {
    String s = Text;
    TFormatSettings fs = TFormatSettings::Invariant();
    if (Separator == u'.') {
        s.replace(u',', u'.');
        fs.DecimalSeparator = u'.';
    } else {
        s.replace(u'.', u',');
        fs.DecimalSeparator = u',';
    }
    fs.ThousandSeparator = fs.DecimalSeparator == u'.' ? Char(u',') : Char(u'.');
    double d = 0;
    if (TryStrToFloat(s, d, fs) && std::isfinite(d) &&
        std::fabs(d) <= double(std::numeric_limits<float>::max())) {
        Value = float(d);
        return true;
    }
    Value = 1.0f;
    return false;
}

bool Check_IP_Address(const String& Text, String& Octet1, String& Octet2, String& Octet3, String& Octet4) {
    String s = Trim(Text);
    String* octets[3] = {&Octet1, &Octet2, &Octet3};
    for (String* o : octets) {
        const int p = Pos(QStringLiteral("."), s);
        if (p == 0) return false;
        *o = Trim(Copy(s, 1, p - 1));
        s = Trim(Copy(s, p + 1, Length(s)));
    }
    Octet4 = s;
    for (const String* o : {&Octet1, &Octet2, &Octet3, &Octet4}) {
        const int v = StrToIntDef(*o, 1000);
        if (v < 0 || v > 255) return false;
    }
    return true;
}

TSerialDeviceProbe SetSerialDeviceProbe(TSerialDeviceProbe Probe) {
    return std::exchange(SerialDeviceProbe(), std::move(Probe));
}

TStringList* Get_COM_Port_List() {
    auto* list = new TStringList();
    for (int n = 1; n <= 256; ++n) {
        const QByteArray device = "/dev/ttyS" + QByteArray::number(n - 1);
        const int error = SerialDeviceProbe() ? SerialDeviceProbe()(device) : OpenSerialDevice(device);
        // A port in use by another program, or closed to this user, is there all the same.
        if (error == 0 || error == EBUSY || error == EACCES) list->Add(String::number(n));
    }
    return list;
}

void Start_Program(const String& NomeSW, const String& Parameter, Byte tipo) {
    TProgramRun run;
    run.Program = NomeSW;
    run.Arguments = QProcess::splitCommand(Parameter);
    run.WorkingDirectory = QDir::currentPath();
    run.Shown = tipo == 0;
    // Nothing is reported: a failed start returns at once, a program past the bound keeps running.
    RunProgramAndWait(run);
}

void Grid_Enter_Next_Cell(TAdvStringGrid* Grid, Char& Key) {
    if (!Enable_Jump_Field_Tables || Key != Char(13) || !Grid) return;
    const int col = Grid->Col();
    const int row = Grid->Row();
    if (col > 0 && row > 0) {
        if (col < Grid->ColCount() - 1)
            Grid->MoveCurrentCell(col + 1, row);
        else if (row < Grid->RowCount() - 1)
            Grid->MoveCurrentCell(1, row + 1);
        else
            Grid->MoveCurrentCell(1, 1);
    }
    Key = Char(0);
}

void Grid_Auto_Size_Col(TAdvStringGrid* Grid, int ARow, int ACol) {
    if (!Double_Click_Auto_Size || ARow != 0 || !Grid) return;
    Grid->AutoSizeCol(ACol, 0);
}
