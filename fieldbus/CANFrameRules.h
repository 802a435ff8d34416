// What the CAN receive and transmit tables share: their column kinds and the checks of a frame's
// identifier, length and byte positions.
#pragma once

#include "UTableEditor.h"

namespace CAN_Frames {

inline const String Type_11 = QStringLiteral("2.0A (11 bits)");
inline const String Type_29 = QStringLiteral("2.0B (29 bits)");

constexpr TColor Enable_Color = 0xB0D8FF;
constexpr TColor Frame_Color = 0xFEFAE0;
constexpr TColor Timing_Color = 0xA8FFA8;
constexpr TColor Byte_Color = 0xF4D6FC;

TTableColumn Number_Column(int HeaderId);
TTableColumn Enable_Column(int HeaderId, int HintId);
TTableColumn Text_Column(int HeaderId, int HintId, int Width, TColor Color, const char* Attribute,
                         TMissingAttribute Missing = maKeep, const char* Default = "");
TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute,
                          TMissingAttribute Missing, const char* Default);
TTableColumn Type_Column(int HeaderId, int HintId, TMissingAttribute Missing);
// The eight byte columns Byte1 .. Byte8, headers and hints from the ids given.
void Add_Byte_Columns(std::vector<TTableColumn>& Columns, int FirstHeaderId, int FirstHintId);

// The texts of a table's checks.
struct TCheck_Texts {
    int CobID_11;
    int CobID_29;
    int Dimension;
    int Bytes[8];
    int Or_None;
};

// The identifier against the range of its Type ("2.0A (11 bits)" 0 .. 2047, anything else
// 0 .. 0x1FFFFFFF) and the dimension 1 .. 8: the failing check's text, or empty.
String Check_Frame(const String& CobID, const String& Type, const String& Dim, const TCheck_Texts& Texts);
// Byte k for k = 1 .. Dim (Dim already checked), unless empty or "None": 0 .. Max_Byte - 1.
// Byte(k) gives the cell of byte k.
String Check_Bytes(int Dim, int Max_Byte, const std::function<String(int k)>& Byte,
                   const TCheck_Texts& Texts);
// Value 0 .. 100000000 through the integer rule.
bool Time_OK(const String& Value);

} // namespace CAN_Frames
