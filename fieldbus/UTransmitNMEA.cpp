#include "UTransmitNMEA.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace PGN_Frames;

TFTransmitNMEA* FTransmitNMEA = nullptr;

namespace {

// Columns: N, Priority, PGN, Source Address, Fast Packet, Num Byte, Request, Data Change,
// On Timer, Send Timer, Mnemonic.
enum {
    colPriority = 1,
    colPGN,
    colSA,
    colFP,
    colNByte,
    colRequest,
    colDataChange,
    colOnTimer,
    colSendTimer,
    colMnemonic
};

TTableEditorDesc Transmit_Desc() {
    return PGN_Table_Desc(
        {"FTransmitNMEA", 810, 2300, "Receive_NMEA_2000", &File_NMEA_Send_Frames, 2335, 2342, colPGN, 62},
        {
            Number_Column(2314),
            Text_Column(2315, 2325, 50, "Priority"),
            PGN_Column(2316, 2326, 75),
            Text_Column(2317, 2327, 95, "SA"),
            Check_Column(2318, 2328, 75, "FP"),
            Text_Column(2319, 2329, 60, "TP_NByte"),
            Check_Column(2320, 2330, 55, "On_Request"),
            Check_Column(2321, 2331, 80, "On_Data_Change"),
            Check_Column(2322, 2332, 64, "On_Timer"),
            Text_Column(2323, 2333, 75, "SendTimer"),
            Text_Column(2324, 2334, 116, "Mnemonic"),
        });
}

} // namespace

TFTransmitNMEA::TFTransmitNMEA(TComponent* AOwner) : TFPGNTableEditor(AOwner, Transmit_Desc()) {
    sga = Grid(0);
    Start();
}

bool TFTransmitNMEA::Controllo_dati() {
    qint64 total = 0;
    return Check_PGN_Rows([&](int r) -> TRow_Failure {
        if (const int p = Cell_Int(0, colPriority, r); p < 0 || p > 7) return Row_Failure(2336);
        if (const int pgn = Cell_Int(0, colPGN, r); pgn < 0 || pgn > 0x1FFFF) return Row_Failure(2337);
        if (const int sa = Cell_Int(0, colSA, r); sa < 0 || sa > 239) return Row_Failure(2338);
        // The fast-packet mark sets no smaller limit on the byte count.
        if (TRow_Failure f = Check_Sent_Bytes(Cell(0, colNByte, r), NUM_BYTE_OUT, total, 2339, 2340);
            !f.Text.isEmpty())
            return f;
        if (!Send_Timer_OK(Cell(0, colOnTimer, r), Cell(0, colSendTimer, r))) return Row_Failure(2341);
        return {};
    });
}
