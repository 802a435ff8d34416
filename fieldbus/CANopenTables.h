// What the CANopen PDO, SDO client and SDO server tables share: two tables on two pages, no
// Enable column, plain-text cells whose attributes are all required, the array sizes their
// byte positions address (1500 bytes each way, set on every show), their own row deletion and
// the check of a row's byte positions.
#pragma once

#include "UTableEditor.h"

class TFCANopenTables : public TFTableEditor {
public:
    TFCANopenTables(TComponent* AOwner, TTableEditorDesc Desc);

    // Array bytes the first (receive, read) table's and the second (transmit, write) table's
    // positions may address.
    Integer PROFINET_NByte_IN = 0;
    Integer PROFINET_NByte_OUT = 0;

    // Moves every row below Num_Row up one row over the columns 1 .. ColCount - 1 and clears
    // the last row; column 0 keeps the row numbers.
    void Delete_Row(int Num_Row, TAdvColumnGrid* SGA);

    // The handlers under the names these windows publish.
    void Btn_OK_Click(TObject* Sender) { Btn_OKClick(Sender); }
    void Btn_DelRow_Click(TObject* Sender) { Btn_DelRowClick(Sender); }
    void KeyPress(TObject* Sender, Char& Key) { KeyPress_Frame(Sender, Key); }
    void DblClickCell(TObject* Sender, int ARow, int ACol) { DblClickCell_Frame(Sender, ARow, ACol); }
    void GridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
        GridHint_Frame(Sender, ARow, ACol, hintstr);
    }
    void ClickCell(TObject* Sender, int ARow, int ACol) { ClickCell_Frame(Sender, ARow, ACol); }

protected:
    void Set_Limits() override;
    void Delete_Table_Row(int Row, TAdvColumnGrid* SGA) override { Delete_Row(Row, SGA); }

    // The limit of table Table's positions: its array size less one.
    int Position_Limit(int Table) const { return (Table == 0 ? PROFINET_NByte_IN : PROFINET_NByte_OUT) - 1; }
    // The positions in columns First .. First + Count - 1 of row Row, each 0 .. the table's limit
    // (an empty cell fails): the failing one's text (FirstText + k) followed by the limit, or empty.
    String Check_Positions(int Table, int Row, int First, int Count, int FirstText) const;
};

namespace CANopen_Tables {

// A plain-text column whose attribute every row must carry.
TTableColumn Column(int HeaderId, int HintId, int Width, const char* Attribute);
// A check-box column ("Y"/"N") whose attribute every row must carry.
TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute);
// Count plain-text position columns named Prefix1 .. PrefixCount.
void Add_Position_Columns(std::vector<TTableColumn>& Columns, int Count, int FirstHeaderId, int FirstHintId,
                          int Width, const char* Prefix);
// A table of Capacity rows on its page, every row up to the first empty key cell in use, the
// grid events on; its section must be in the file.
TTableDesc Table(const char* GridName, const char* PageName, int PageCaptionId, const char* Section,
                 int Capacity);
// Value in Low .. High.
inline bool In_Range(int Value, int Low, int High) {
    return Value >= Low && Value <= High;
}

} // namespace CANopen_Tables
