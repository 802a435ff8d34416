#include "CANopenTables.h"

#include "CANFrameRules.h"
#include "ULang.h"
#include "UUtils.h"

TFCANopenTables::TFCANopenTables(TComponent* AOwner, TTableEditorDesc Desc)
    : TFTableEditor(AOwner, std::move(Desc)) {}

void TFCANopenTables::Set_Limits() {
    PROFINET_NByte_IN = 1500;
    PROFINET_NByte_OUT = 1500;
}

void TFCANopenTables::Delete_Row(int Num_Row, TAdvColumnGrid* SGA) {
    // The grids have no hidden columns, so the data columns are 1 .. ColCount - 1.
    Delete_Grid_Row(Num_Row, SGA);
}

String TFCANopenTables::Check_Positions(int Table, int Row, int First, int Count, int FirstText) const {
    const int limit = Position_Limit(Table);
    for (int k = 0; k < Count; ++k)
        if (!CANopen_Tables::In_Range(Cell_Int(Table, First + k, Row), 0, limit))
            return Lang_Text.Get(FirstText + k) + String::number(limit);
    return String();
}

namespace CANopen_Tables {

TTableColumn Column(int HeaderId, int HintId, int Width, const char* Attribute) {
    return CAN_Frames::Text_Column(HeaderId, HintId, Width, clWindow, Attribute, maRequired);
}

TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute) {
    TTableColumn c = Column(HeaderId, HintId, Width, Attribute);
    c.Editor = edDataCheckBox;
    return c;
}

void Add_Position_Columns(std::vector<TTableColumn>& Columns, int Count, int FirstHeaderId, int FirstHintId,
                          int Width, const char* Prefix) {
    for (int k = 0; k < Count; ++k) {
        TTableColumn c = Column(FirstHeaderId + k, FirstHintId + k, Width, Prefix);
        c.Attribute += String::number(k + 1);
        Columns.push_back(c);
    }
}

TTableDesc Table(const char* GridName, const char* PageName, int PageCaptionId, const char* Section,
                 int Capacity) {
    TTableDesc t;
    t.GridName = QString::fromLatin1(GridName);
    t.PageName = QString::fromLatin1(PageName);
    t.PageCaptionId = PageCaptionId;
    t.Section = QString::fromLatin1(Section);
    t.SectionRequired = true;
    t.Capacity = Capacity;
    t.KeyCol = 1;
    t.RowClick = true;
    return t;
}

} // namespace CANopen_Tables
