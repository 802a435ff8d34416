#include "UReceiveNMEA.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace PGN_Frames;

TFReceiveNMEA* FReceiveNMEA = nullptr;

namespace {

// Columns: N, PGN, Source Address, Transport Protocol, Fast Packet, Start Byte, N Byte,
// Cancel Data, Mnemonic.
enum { colPGN = 1, colSA, colTP, colFP, colStart, colNByte, colDelete, colMnemonic };

const TReceive_Texts Texts = {2234, 2235, 2236, 2237, 2238, 2239, 2240, 2241};

TTableEditorDesc Receive_Desc() {
    return PGN_Table_Desc(
        {"FReceiveNMEA", 810, 2200, "Receive_NMEA_2000", &File_NMEA_Rec_Frames, 2231, 2243, colPGN, 62},
        {
            Number_Column(2214),
            PGN_Column(2215, 2223, 80),
            Text_Column(2216, 2224, 95, "SA"),
            Check_Column(2217, 2225, 113, "TP"),
            Check_Column(2218, 2226, 73, "FP"),
            Text_Column(2219, 2227, 65, "TP_Start"),
            Text_Column(2220, 2228, 50, "TP_NByte"),
            Check_Column(2221, 2229, 74, "Delete"),
            Text_Column(2222, 2230, 195, "Mnemonic"),
        });
}

} // namespace

TFReceiveNMEA::TFReceiveNMEA(TComponent* AOwner) : TFPGNTableEditor(AOwner, Receive_Desc()) {
    sga = Grid(0);
    Start();
}

bool TFReceiveNMEA::Controllo_dati() {
    qint64 total = 0;
    return Check_PGN_Rows([&](int r) -> TRow_Failure {
        if (const int pgn = Cell_Int(0, colPGN, r); pgn < 0 || pgn > 0x1FFFF) return Row_Failure(2232);
        if (const int sa = Cell_Int(0, colSA, r); sa < 0 || sa > 239) return Row_Failure(2233);
        // A row with both marks goes through the transport protocol.
        const TRow_Kind kind = Cell(0, colTP, r) == QStringLiteral("Y")   ? rkTransport
                               : Cell(0, colFP, r) == QStringLiteral("Y") ? rkFastPacket
                                                                          : rkSingle;
        qint64 bytes = 0;
        const String failure =
            Check_Receive_Bytes(kind, Cell(0, colStart, r), Cell(0, colNByte, r), Texts, bytes);
        if (!failure.isEmpty()) return Row_Failure(failure);
        total += bytes;
        if (total > NUM_BYTE_IN) return Budget_Failure(2242, NUM_BYTE_IN);
        return {};
    });
}
