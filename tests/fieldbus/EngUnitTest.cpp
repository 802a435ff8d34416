// The BACnet engineering units: the names of the codes, the picker's categories (each code in
// exactly one), and picking a unit in the window.
#include "UBACnet_Eng_Unit.h"

#include "Forms.h"
#include "ULang.h"

#include <gtest/gtest.h>

#include <map>

TEST(EngUnit, NamesOfCodes) {
    const std::map<int, const char*> cases = {{0, "square-meters"},
                                              {51, "housepower"},
                                              {62, "degrees-Celsius"},
                                              {77, "feet-per-meters"},
                                              {172, "ohm-meters"},
                                              {207, "per-mille"},
                                              {236, "minutes-per-degree-kelvin"},
                                              {237, "unknown"},
                                              {-1, "unknown"},
                                              {100000, "unknown"}};
    for (const auto& [code, name] : cases) EXPECT_EQ(Desc_Unit(code), name) << code;
}

TEST(EngUnit, EveryCodeIsInExactlyOneCategory) {
    const int sizes[BACnet_Unit_Category_Count] = {1, 4, 10, 35, 15, 5, 4, 1, 6, 2,  7, 7,
                                                   5, 9, 8,  12, 9,  9, 1, 9, 6, 13, 59};
    std::map<int, int> seen;
    for (int c = 0; c < BACnet_Unit_Category_Count; ++c) {
        EXPECT_EQ(int(BACnet_Unit_Codes(c).size()), sizes[c]) << BACnet_Unit_Category(c).toStdString();
        for (int code : BACnet_Unit_Codes(c)) ++seen[code];
    }
    EXPECT_EQ(int(seen.size()), BACnet_Unit_Count);
    for (const auto& [code, count] : seen) {
        EXPECT_TRUE(code >= 0 && code < BACnet_Unit_Count) << code;
        EXPECT_EQ(count, 1) << code;
    }
    EXPECT_TRUE(BACnet_Unit_Codes(-1).empty());
    EXPECT_TRUE(BACnet_Unit_Codes(BACnet_Unit_Category_Count).empty());
}

TEST(EngUnit, PickingWritesTheCodeAndItsName) {
    Lang_Text.Load_Default_Lang();
    auto* w = new TFBACnet_Eng_Unit(nullptr);
    EXPECT_EQ(w->Btn_Select_Eng_Unit->Caption(), "Select Engineering Unit");
    const struct {
        int Category, Unit;
        const char* ListName;
        const char* Code;
        const char* Label;
    } cases[] = {
        {22, 30, "grams-per-gram", "208", "-> grams-per-gram"},
        {1, 1, "square-centimeters", "116", "-> square-centimeters"},
        // The list's own name for 172; the label shows the table's.
        {3, 11, "ohms-meters", "172", "-> ohm-meters"},
        {0, 0, "meters-per-second-per-second", "166", "-> meters-per-second-per-second"},
    };
    for (const auto& c : cases) {
        w->CB_Select_Type->SetItemIndex(c.Category);
        w->CB_Select_TypeSelect(w->CB_Select_Type);
        EXPECT_EQ(w->CB_Select_Unit->ItemIndex(), 0) << "the first unit is selected";
        w->CB_Select_Unit->SetItemIndex(c.Unit);
        EXPECT_EQ(w->CB_Select_Unit->Items()->Strings(c.Unit), c.ListName);
        w->Btn_Select_Eng_UnitClick(w->Btn_Select_Eng_Unit);
        EXPECT_EQ(w->E_Selected_EU->Text(), c.Code);
        EXPECT_EQ(w->Label5->Caption(), c.Label);
    }
    // Showing keeps the category chosen last and refills its units.
    w->CB_Select_Unit->Items()->Clear();
    w->FormShow(w);
    EXPECT_EQ(w->CB_Select_Type->ItemIndex(), 0);
    EXPECT_EQ(w->CB_Select_Unit->Items()->Count(), 1);
    EXPECT_EQ(w->Btn_OK->ModalResult(), mrOk);
    EXPECT_EQ(w->Btn_Cancel->ModalResult(), mrCancel);
    TObject::Free(w);
}
