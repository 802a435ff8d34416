#include "UUtils.h"

#include "AdvColumnGrid.h"
#include "Classes.h"
#include "Dialogs.h"
#include "Process.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

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

// The last data column of a table grid: hidden columns count.
int Last_Data_Col(TAdvStringGrid* Grid) {
    return Grid->ColCount() + Grid->NumHiddenColumns() - 1;
}

bool Is_Check_Box_Col(TAdvStringGrid* Grid, int Col, int Row) {
    // A column grid answers from its column (asking the grid would load the column's list
    // into the grid's combo box, thousands of items for a position list).
    if (auto* columns = dynamic_cast<TAdvColumnGrid*>(Grid)) {
        if (Col < columns->FixedCols() || Row < columns->FixedRows() || Col >= columns->Columns()->Count())
            return false;
        return columns->Columns()->Items(Col)->Editor() == edDataCheckBox;
    }
    TEditorType editor = edNormal;
    Grid->GetCellEditor(Col, Row, editor);
    return editor == edDataCheckBox;
}

void Copy_Cells(TAdvStringGrid* Grid, int FromRow, int ToRow, int Last) {
    for (int c = 1; c <= Last; ++c) Grid->SetCellEx(c, ToRow, Grid->GetCellEx(c, FromRow));
}

void Clear_Cells(TAdvStringGrid* Grid, int Row, int Last) {
    for (int c = 1; c <= Last; ++c) Grid->SetCellEx(c, Row, String());
}

// A decimal octet of an IPv4 address: digits only, 0 to 255.
bool Is_Decimal_Octet(const String& Text) {
    if (Text.isEmpty()) return false;
    int value = 0;
    for (const QChar ch : Text) {
        if (ch < u'0' || ch > u'9') return false;
        value = value * 10 + (ch.unicode() - u'0');
        if (value > 255) return false;
    }
    return true;
}

int KNX_Part(const String& Text) {
    return StrToIntDef(Trim(Text), -1);
}

bool In_Range(int Value, int Low, int High) {
    return Value >= Low && Value <= High;
}

} // namespace

void Copy_Row(TAdvStringGrid* Grid, int Row) {
    if (!Copy_Row_List) Copy_Row_List = new TStringList();
    Copy_Row_List->Clear();
    const int last = Last_Data_Col(Grid);
    for (int c = 1; c <= last; ++c) Copy_Row_List->Add(Grid->GetCellEx(c, Row));
}

bool Grid_Row_Has_Data(TAdvStringGrid* Grid, int Row) {
    const int last = Last_Data_Col(Grid);
    for (int c = 1; c <= last; ++c)
        if (!Trim(Grid->GetCellEx(c, Row)).isEmpty() && !Is_Check_Box_Col(Grid, c, Row)) return true;
    return false;
}

void Paste_Row(TAdvStringGrid* Grid, int Row, bool Copied) {
    if (!Copied) {
        MessageDlg(Lang_Text.Get(1102), mtError, {mbOK});
        return;
    }
    const int last = Last_Data_Col(Grid);
    if (!Copy_Row_List || Copy_Row_List->Count() != last) {
        MessageDlg(Lang_Text.Get(1101), mtError, {mbOK});
        return;
    }
    if (Grid_Row_Has_Data(Grid, Row) &&
        MessageDlg(Lang_Text.Get(1100), mtConfirmation, {mbYes, mbNo}) != mrYes)
        return;
    for (int c = 1; c <= last; ++c) Grid->SetCellEx(c, Row, Copy_Row_List->Strings(c - 1));
}

void Insert_Row(int Row, TAdvStringGrid* Grid, bool Enable) {
    const int last = Last_Data_Col(Grid);
    for (int r = Grid->RowCount() - 2; r >= Row; --r) Copy_Cells(Grid, r, r + 1, last);
    Clear_Cells(Grid, Row, last);
    if (Enable) Grid->SetCellEx(1, Row, QStringLiteral("Y"));
}

void Delete_Grid_Row(int Row, TAdvStringGrid* Grid) {
    const int last = Last_Data_Col(Grid);
    for (int r = Row; r <= Grid->RowCount() - 2; ++r) Copy_Cells(Grid, r + 1, r, last);
    Clear_Cells(Grid, Grid->RowCount() - 1, last);
}

void Grid_Enter_Next_Cell(TAdvStringGrid* Grid, Char& Key) {
    if (!Enable_Jump_Field_Tables || Key != Char(13)) return;
    const int col = Grid->Col();
    const int row = Grid->Row();
    if (col > 0 && row > 0) {
        if (col < Grid->ColCount() - 1)
            Grid->MoveCurrentCell(col + 1, row);
        else
            Grid->MoveCurrentCell(1, row < Grid->RowCount() - 1 ? row + 1 : 1);
    }
    Key = Char(0);
}

void Grid_Auto_Size_Col(TAdvStringGrid* Grid, int Row, int Col) {
    if (Double_Click_Auto_Size && Row == 0) Grid->AutoSizeCol(Col, 0);
}

int Check_KNX_Address(const String& Text, bool Group, bool AllowZero) {
    const String s = Trim(Text);
    if (Group) {
        if (s.contains(u'.')) return 1;
        const QStringList parts = s.split(u'/');
        switch (parts.size()) {
            case 1: return In_Range(KNX_Part(parts[0]), 1, 65535) ? 0 : 1;
            case 2: {
                const int main = KNX_Part(parts[0]), sub = KNX_Part(parts[1]);
                return In_Range(main, 0, 31) && In_Range(sub, 0, 2047) && (main != 0 || sub != 0) ? 0 : 1;
            }
            case 3: {
                const int main = KNX_Part(parts[0]), middle = KNX_Part(parts[1]), sub = KNX_Part(parts[2]);
                return In_Range(main, 0, 31) && In_Range(middle, 0, 7) && In_Range(sub, 0, 255) &&
                               (main != 0 || middle != 0 || sub != 0)
                           ? 0
                           : 1;
            }
            default: return 1;
        }
    }
    if (s.contains(u'/')) return 1;
    const QStringList parts = s.split(u'.');
    switch (parts.size()) {
        case 1: return In_Range(KNX_Part(parts[0]), 1, 65535) ? 0 : 1;
        case 2: return In_Range(KNX_Part(parts[0]), 0, 255) && In_Range(KNX_Part(parts[1]), 0, 255) ? 0 : 1;
        case 3: {
            const int area = KNX_Part(parts[0]), line = KNX_Part(parts[1]), device = KNX_Part(parts[2]);
            if (!In_Range(area, 0, 15) || !In_Range(line, 0, 15) || !In_Range(device, 0, 255)) return 1;
            return (!AllowZero && area == 0 && line == 0 && device == 0) ? 1 : 0;
        }
        default: return 1;
    }
}

bool Check_No_Dot(const String& Text) {
    return !Text.contains(u'.');
}

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
    for (const String* o : {&Octet1, &Octet2, &Octet3, &Octet4})
        if (!Is_Decimal_Octet(*o)) return false;
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
