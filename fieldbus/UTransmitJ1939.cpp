#include "UTransmitJ1939.h"

#include "Classes.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

using namespace PGN_Frames;

TFTransmitJ1939* FTransmitJ1939 = nullptr;

namespace {

// Columns: N, Priority, Data Page, PGN, Source Address, N Bytes, Request, Data Change,
// On Timer, Send Timer, Mnemonic.
enum {
    colPriority = 1,
    colDP,
    colPGN,
    colSA,
    colNBytes,
    colRequest,
    colDataChange,
    colOnTimer,
    colSendTimer,
    colMnemonic
};

TTableEditorDesc Transmit_Desc() {
    return PGN_Table_Desc(
        {"FTransmitJ1939", 800, 2100, "Transmit_J1939", &File_J1939_Send_Frames, 2135, 2143, colPGN, 512},
        {
            Number_Column(2114),
            Text_Column(2115, 2125, 50, "Priority"),
            Page_Column(2116, 2126, 65),
            PGN_Column(2117, 2127, 85),
            Text_Column(2118, 2128, 95, "SA"),
            Text_Column(2119, 2129, 60, "TP_NByte"), // "8" when empty (Row_Loaded)
            Check_Column(2120, 2130, 55, "On_Request"),
            Check_Column(2121, 2131, 80, "On_Data_Change"),
            Check_Column(2122, 2132, 60, "On_Timer"),
            Text_Column(2123, 2133, 70, "SendTimer"),
            Text_Column(2124, 2134, 115, "Mnemonic"),
        });
}

} // namespace

TFTransmitJ1939::TFTransmitJ1939(TComponent* AOwner) : TFPGNTableEditor(AOwner, Transmit_Desc()) {
    sga = Grid(0);
    Start();
}

void TFTransmitJ1939::Row_Loaded(int, int Row, const TXMLNode& Node) {
    // A row without a byte count sends a whole frame.
    if (Cell(0, colNBytes, Row).isEmpty()) sga->SetCellEx(colNBytes, Row, QStringLiteral("8"));
    // The older layout names one sending mode instead of the three flags, which it then decides.
    String type;
    if (!Node.TryAttribute(QStringLiteral("T_Type"), type)) return;
    type = UpperCase(type);
    const String yes = QStringLiteral("Y"), no = QStringLiteral("N");
    sga->SetCellEx(colRequest, Row, no);
    sga->SetCellEx(colDataChange, Row, type == QStringLiteral("ON DATA CHANGE") ? yes : no);
    sga->SetCellEx(colOnTimer, Row, type == QStringLiteral("ON TIMER") ? yes : no);
}

bool TFTransmitJ1939::Controllo_dati() {
    qint64 total = 0;
    return Check_PGN_Rows([&](int r) -> TRow_Failure {
        if (const int p = Cell_Int(0, colPriority, r); p < 0 || p > 7) return Row_Failure(2136);
        if (Trim(Cell(0, colDP, r)).isEmpty()) return Row_Failure(2137);
        if (const int pgn = Cell_Int(0, colPGN, r); pgn < 0 || pgn > 0x1FFFF) return Row_Failure(2138);
        if (const int sa = Cell_Int(0, colSA, r); sa < 0 || sa > 255) return Row_Failure(2139);
        if (TRow_Failure f = Check_Sent_Bytes(Cell(0, colNBytes, r), NUM_BYTE_OUT, total, 2140, 2141);
            !f.Text.isEmpty())
            return f;
        if (!Send_Timer_OK(Cell(0, colOnTimer, r), Cell(0, colSendTimer, r))) return Row_Failure(2142);
        return {};
    });
}
