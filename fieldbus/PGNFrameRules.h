// What the J1939 and NMEA 2000 receive and transmit tables share: a walk of the rows that keeps
// a byte budget over all of them, the checks of a received row's byte selection and of a sent
// row's byte count and timer, and their column kinds.
//
// These tables have no Enable column: every row up to the first empty PGN counts, the PGN is not
// trimmed (a PGN of blanks fails its check), and the budget message stands without the row
// prefix the other messages carry.
#pragma once

#include "UTableEditor.h"

#include <QtGlobal>

namespace PGN_Frames {

// The largest message of the transport protocol and the largest NMEA 2000 fast packet.
constexpr int Transport_Max = 1785;
constexpr int Fast_Packet_Max = 223;

TTableColumn Number_Column(int HeaderId);
TTableColumn Text_Column(int HeaderId, int HintId, int Width, const char* Attribute);
// A "Y"/"N" check box that loads "N" when its attribute is missing.
TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute);
// The data page: a fixed list "0", "1".
TTableColumn Page_Column(int HeaderId, int HintId, int Width);
// The PGN column: the table's key, never trimmed.
TTableColumn PGN_Column(int HeaderId, int HintId, int Width);

// The description of one of the four tables: window FormName of client width Width, texts from
// TextBlock (button hints from TextBlock + 8), root element Root, the file's path in File, the
// texts of the row prefix and the delete question, and the one grid "sga" of Capacity rows
// keyed by its PGN column KeyCol.
struct TPGN_Table {
    const char* FormName;
    int Width;
    int TextBlock;
    const char* Root;
    String* File;
    int ErrorRowId;
    int DeleteQuestionId;
    int KeyCol;
    int Capacity;
};
TTableEditorDesc PGN_Table_Desc(const TPGN_Table& Table, std::vector<TTableColumn> Columns);

// How a received row arrives.
enum TRow_Kind { rkSingle, rkTransport, rkFastPacket };

// The texts of a received row's byte checks (FP_* unused where the table has no fast packets).
struct TReceive_Texts {
    int TP_Start, TP_Sum, FP_Start, FP_Sum, Both, Start, NByte, Sum;
};

// A received row's Start Byte and N Byte: the failing check's text, or empty with Bytes the
// row takes from the budget (its N Byte for a transport or fast-packet row; for a single
// frame 8 when both are empty, N Byte + 8 when both are given).
String Check_Receive_Bytes(TRow_Kind Kind, const String& Start, const String& NByte,
                           const TReceive_Texts& Texts, qint64& Bytes);
// A sent row's timer: unchecked unless On Timer is exactly "Y", then 1 .. 65535.
bool Send_Timer_OK(const String& On_Timer, const String& Send_Timer);

// A check's result: empty text when the row passes; a budget failure stands without the row
// prefix.
struct TRow_Failure {
    String Text;
    bool Row_Prefix = true;
};

// A sent row's byte count: 0 .. Budget (else Range_Text followed by Budget, with the row
// prefix), then added to Total, which must stay within Budget (else Budget_Text followed by
// Budget, without it).
TRow_Failure Check_Sent_Bytes(const String& NBytes, int Budget, qint64& Total, int Range_Text,
                              int Budget_Text);

// The frame of the four tables: the window's handlers under their usual names, the header hints
// and the copy flag, and the walk of the rows with its messages.
class TFPGNTableEditor : public TFTableEditor {
public:
    TFPGNTableEditor(TComponent* AOwner, TTableEditorDesc Desc);
    ~TFPGNTableEditor() override;

    bool Do_Copy = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ClickCell(TObject* Sender, int ARow, int ACol) { ClickCell_Frame(Sender, ARow, ACol); }
    void DblClickCell(TObject* Sender, int ARow, int ACol) { DblClickCell_Frame(Sender, ARow, ACol); }
    void GridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
        GridHint_Frame(Sender, ARow, ACol, hintstr);
    }
    void KeyPress(TObject* Sender, Char& Key) { KeyPress_Frame(Sender, Key); }
    bool Controllo_Dati() { return Controllo_dati(); }

    TStringList* Hint_List(int) override { return FHints; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    // The end of the editor's construction: the creation and show handlers wired, the window
    // created (the editor's own parts must be in place, since creation translates it).
    void Start();
    // Walks rows 1 .. the row before the first empty PGN and calls Check for each; the first
    // failure shows one error dialog ("Error in row " + row + text, or the text alone) and the
    // result is false.
    bool Check_PGN_Rows(const std::function<TRow_Failure(int Row)>& Check);
    // The failure of a budget exceeded: Text_Id followed by Budget, without the row prefix.
    static TRow_Failure Budget_Failure(int Text_Id, int Budget);
    static TRow_Failure Row_Failure(int Text_Id);
    static TRow_Failure Row_Failure(const String& Text);

    // The header hints, one per column from column 1 (each editor shows it under its own name).
    TStringList* const FHints;
};

} // namespace PGN_Frames
