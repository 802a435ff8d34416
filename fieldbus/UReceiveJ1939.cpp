#include "UReceiveJ1939.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace PGN_Frames;

TFReceiveJ1939* FReceiveJ1939 = nullptr;

namespace {

// Columns: N, Data Page, PGN, Source Address, Transport Protocol, Start Byte, N Byte,
// Cancel Data, On Request, Time(ms), Mnemonic.
enum { colDP = 1, colPGN, colSA, colTP, colStart, colNByte, colDelete, colOnRequest, colTime, colMnemonic };

const TReceive_Texts Texts = {2039, 2040, 0, 0, 2041, 2042, 2043, 2044};

TTableEditorDesc Receive_Desc() {
    TTableColumn time = Text_Column(2023, 2033, 65, "OnReq_Time");
    time.Missing = maDefault;
    time.Default = QStringLiteral("1000");
    return PGN_Table_Desc(
        {"FReceiveJ1939", 876, 2000, "Receive_J1939", &File_J1939_Rec_Frames, 2035, 2047, colPGN, 512},
        {
            Number_Column(2014),
            Page_Column(2015, 2025, 65),
            PGN_Column(2016, 2026, 85),
            Text_Column(2017, 2027, 95, "SA"),
            Check_Column(2018, 2028, 113, "TP"),
            Text_Column(2019, 2029, 65, "TP_Start"),
            Text_Column(2020, 2030, 55, "TP_NByte"),
            Check_Column(2021, 2031, 75, "Delete"),
            Check_Column(2022, 2032, 75, "OnRequest"),
            time,
            Text_Column(2024, 2034, 120, "Mnemonic"),
        });
}

} // namespace

TFReceiveJ1939::TFReceiveJ1939(TComponent* AOwner) : TFPGNTableEditor(AOwner, Receive_Desc()) {
    sga = Grid(0);
    Start();
}

bool TFReceiveJ1939::Controllo_dati() {
    qint64 total = 0;
    return Check_PGN_Rows([&](int r) -> TRow_Failure {
        if (Trim(Cell(0, colDP, r)).isEmpty()) return Row_Failure(2036);
        if (const int pgn = Cell_Int(0, colPGN, r); pgn < 0 || pgn > 0xFFFF) return Row_Failure(2037);
        if (const int sa = Cell_Int(0, colSA, r); sa < 0 || sa > 239) return Row_Failure(2038);
        const TRow_Kind kind = Cell(0, colTP, r) == QStringLiteral("Y") ? rkTransport : rkSingle;
        qint64 bytes = 0;
        const String failure =
            Check_Receive_Bytes(kind, Cell(0, colStart, r), Cell(0, colNByte, r), Texts, bytes);
        if (!failure.isEmpty()) return Row_Failure(failure);
        total += bytes;
        if (total > NUM_BYTE_IN) return Budget_Failure(2045, NUM_BYTE_IN);
        if (Cell(0, colOnRequest, r) == QStringLiteral("Y")) {
            const int time = Cell_Int(0, colTime, r);
            if (time < 0 || time > 10000000) return Row_Failure(2046);
        }
        return {};
    });
}
