#include "CANFrameRules.h"

#include "SysUtils.h"
#include "ULang.h"

namespace CAN_Frames {

TTableColumn Number_Column(int HeaderId) {
    TTableColumn c;
    c.HeaderId = HeaderId;
    c.Width = 40;
    return c;
}

TTableColumn Enable_Column(int HeaderId, int HintId) {
    TTableColumn c;
    c.HeaderId = HeaderId;
    c.HintId = HintId;
    c.Width = 50;
    c.Editor = edDataCheckBox;
    c.Color = Enable_Color;
    c.Reset = QStringLiteral("Y");
    c.Attribute = QStringLiteral("Enable");
    c.Missing = maDefault;
    c.Default = QStringLiteral("Y");
    return c;
}

TTableColumn Text_Column(int HeaderId, int HintId, int Width, TColor Color, const char* Attribute,
                         TMissingAttribute Missing, const char* Default) {
    TTableColumn c;
    c.HeaderId = HeaderId;
    c.HintId = HintId;
    c.Width = Width;
    c.Color = Color;
    c.Attribute = QString::fromLatin1(Attribute);
    c.Missing = Missing;
    c.Default = QString::fromLatin1(Default);
    return c;
}

TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute,
                          TMissingAttribute Missing, const char* Default) {
    TTableColumn c = Text_Column(HeaderId, HintId, Width, Timing_Color, Attribute, Missing, Default);
    c.Editor = edDataCheckBox;
    return c;
}

TTableColumn Type_Column(int HeaderId, int HintId, TMissingAttribute Missing) {
    TTableColumn c = Text_Column(HeaderId, HintId, 90, Frame_Color, "CAN_Type", Missing);
    c.Editor = edComboList;
    c.Items = {Type_11, Type_29};
    return c;
}

void Add_Byte_Columns(std::vector<TTableColumn>& Columns, int FirstHeaderId, int FirstHintId) {
    for (int k = 0; k < 8; ++k) {
        TTableColumn c = Text_Column(FirstHeaderId + k, FirstHintId + k, 48, Byte_Color, "");
        c.Attribute = QStringLiteral("Byte") + String::number(k + 1);
        c.Editor = edComboList;
        Columns.push_back(c);
    }
}

namespace {

bool In(int Value, int Low, int High) {
    return Value >= Low && Value <= High;
}

} // namespace

String Check_Frame(const String& CobID, const String& Type, const String& Dim, const TCheck_Texts& Texts) {
    const int id = Table_Int(CobID);
    if (Trim(Type) == Type_11) {
        if (!In(id, 0, 2047)) return Lang_Text.Get(Texts.CobID_11);
    } else if (!In(id, 0, 0x1FFFFFFF)) {
        return Lang_Text.Get(Texts.CobID_29);
    }
    if (!In(Table_Int(Dim), 1, 8)) return Lang_Text.Get(Texts.Dimension);
    return String();
}

String Check_Bytes(int Dim, int Max_Byte, const std::function<String(int k)>& Byte,
                   const TCheck_Texts& Texts) {
    for (int k = 1; k <= Dim; ++k) {
        const String cell = Byte(k);
        const String trimmed = Trim(cell);
        if (trimmed.isEmpty() || trimmed == QStringLiteral("None")) continue;
        if (!In(Table_Int(cell), 0, Max_Byte - 1))
            return Lang_Text.Get(Texts.Bytes[k - 1]) + String::number(Max_Byte - 1) +
                   Lang_Text.Get(Texts.Or_None);
    }
    return String();
}

bool Time_OK(const String& Value) {
    return In(Table_Int(Value), 0, 100000000);
}

} // namespace CAN_Frames
