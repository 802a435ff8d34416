#include "UBACnet_Eng_Unit.h"

#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"

TFBACnet_Eng_Unit* FBACnet_Eng_Unit = nullptr;

namespace {

// The name of each unit code, by code.
const char* const Unit_Names[BACnet_Unit_Count] = {
    "square-meters",
    "square-feet",
    "milliamperes",
    "amperes",
    "ohms",
    "volts",
    "kilovolts",
    "megavolts",
    "volt-amperes",
    "kilovolt-amperes",
    "megavolt-amperes",
    "volt-amperes-reactive",
    "kilovolt-amperes-reactive",
    "megavolt-amperes-reactive",
    "degrees-phase",
    "power-factor",
    "joules",
    "kilojoules",
    "watt-hours",
    "kilowatt-hours",
    "btus",
    "therms",
    "ton-hours",
    "joules-per-kilogram-dry-air",
    "btus-per-pound-dry-air",
    "cycles-per-hour",
    "cycles-per-minute",
    "hertz",
    "grams-of-water-per-kilogram-dry-air",
    "percent-relative-humidity",
    "millimeters",
    "meters",
    "inches",
    "feet",
    "watts-per-square-foot",
    "watts-per-square-meter",
    "lumens",
    "luxes",
    "foot-candles",
    "kilograms",
    "pounds-mass",
    "tons",
    "kilograms-per-second",
    "kilograms-per-minute",
    "kilograms-per-hour",
    "pounds-mass-per-minute",
    "pounds-mass-per-hour",
    "watts",
    "kilowatts",
    "megawatts",
    "btus-per-hour",
    "housepower",
    "tons-refrigeration",
    "pascals",
    "kilopascals",
    "bars",
    "pounds-force-per-square-inch",
    "centimeters-of-water",
    "inches-of-water",
    "millimeters-of-mercury",
    "centimeters-of-mercury",
    "inches-of-mercury",
    "degrees-Celsius",
    "degrees-Kelvin",
    "degrees-Fahrenheit",
    "degree-days-Celsius",
    "degree-days-Fahrenheit",
    "years",
    "months",
    "weeks",
    "days",
    "hours",
    "minutes",
    "seconds",
    "meters-per-second",
    "kilometers-per-hour",
    "feet-per-second",
    "feet-per-meters",
    "miles-per-hour",
    "cubic-feet",
    "cubic-meters",
    "imperial-gallons",
    "liters",
    "us-gallons",
    "cubic-feet-per-minute",
    "cubic-meters-per-second",
    "imperial-gallons-per-minute",
    "liters-per-second",
    "liters-per-minute",
    "us-gallons-per-minute",
    "degrees-angular",
    "degrees-Celsius-per-hour",
    "degrees-Celsius-per-minute",
    "degrees-Fahrenheit-per-hour",
    "degrees-Fahrenheit-per-minute",
    "no-units",
    "parts-per-million",
    "parts-per-billion",
    "percent",
    "percent-per-second",
    "per-minute",
    "per-second",
    "psi-per-degree-Fahrenheit",
    "radiants",
    "revolutions-per-minute",
    "currency1",
    "currency2",
    "currency3",
    "currency4",
    "currency5",
    "currency6",
    "currency7",
    "currency8",
    "currency9",
    "currency10",
    "square-inches",
    "square-centimeters",
    "btus-per-pound",
    "centimeters",
    "pounds-mass-per-second",
    "delta-degrees-Fahrenheit",
    "delta-degrees-Kelvin",
    "kilohms",
    "megohms",
    "millivolts",
    "kilojoules-per-kilogram",
    "megajoules",
    "joules-per-degree-Kelvin",
    "btus-per-kilogram-degree-Kelvin",
    "kilohertz",
    "megahertz",
    "per-hour",
    "milliwatts",
    "hectopascals",
    "millibars",
    "cubic-meters-per-hour",
    "liters-per-hour",
    "kilowatt-hours-per-square-meter",
    "kilowatt-hours-per-square-foot",
    "megajoules-hours-per-square-meter",
    "megajoules-hours-per-square-foot",
    "watts-per-square-meter-degree-kelvin",
    "cubic-feet-per-second",
    "percent-obscuration-per-foot",
    "percent-obscuration-per-meter",
    "milliohms",
    "megawatt-hours",
    "kilo-btus",
    "mega-btus",
    "kilojoules-per-kilogram-dry-air",
    "megajoules-per-kilogram-dry-air",
    "kilojoules-per-degree-Kelvin",
    "megajoules-per-degree-Kelvin",
    "newton",
    "grams-per-second",
    "grams-per-minute",
    "tons-per-hour",
    "kilo-btus-per-hour",
    "hundredths-seconds",
    "milliseconds",
    "newton-meters",
    "millimeters-per-second",
    "millimeters-per-minute",
    "meters-per-minute",
    "meters-per-hour",
    "cubic-meters-per-minute",
    "meters-per-second-per-second",
    "amperes-per-meter",
    "amperes-per-square-meter",
    "ampere-square-meters",
    "farads",
    "henrys",
    "ohm-meters",
    "siemens",
    "siemens-per-meter",
    "teslas",
    "volts-per-degree-Kelvin",
    "volts-per-meter",
    "webers",
    "candelas",
    "candelas-per-square-meter",
    "degrees-Kelvin-per-hour",
    "degrees-Kelvin-per-minute",
    "joule-seconds",
    "radians-per-second",
    "square-meters-per-Newton",
    "kilograms-per-cubic-meter",
    "newton-seconds",
    "newtons-per-meter",
    "watts-per-meter-per-degree-Kelvin",
    "microsiemens",
    "cubic-feet-per-hour",
    "us-gallons-per-hour",
    "kilometers",
    "micrometers",
    "grams",
    "milligrams",
    "milliliters",
    "milliliters-per-second",
    "decibels",
    "decibels-millivolt",
    "decibels-volt",
    "millisiemens",
    "watt-hours-reactive",
    "kilowatt-hours-reactive",
    "megawatt-hours-reactive",
    "millimeters-of-water",
    "per-mille",
    "grams-per-gram",
    "kilograms-per-kilogram",
    "grams-per-kilogram",
    "milligrams-per-gram",
    "milligrams-per-kilogram",
    "grams-per-milliliter",
    "grams-per-liter",
    "milligrams-per-liter",
    "micrograms-per-liter",
    "grams-per-cubic-meter",
    "milligrams-per-cubic-meter",
    "micrograms-per-cubic-meter",
    "nanograms-per-cubic-meter",
    "grams-per-cubic-centimeter",
    "becquerels",
    "kilobecquerels",
    "megabecquerels",
    "gray",
    "milligray",
    "microgray",
    "sieverts",
    "millisieverts",
    "microsieverts",
    "microsieverts-per-hour",
    "decibels-a",
    "nephelometric-turbidity-unit",
    "pH",
    "grams-per-square-meter",
    "minutes-per-degree-kelvin",
};

const char* const Category_Names[BACnet_Unit_Category_Count] = {
    "Acceleration", "Area",     "Currency", "Electrical", "Energy", "Enthalpy",        "Entropy", "Force",
    "Frequency",    "Humidity", "Length",   "Light",      "Mass",   "Mass Flow",       "Power",   "Pressure",
    "Temperature",  "Time",     "Torque",   "Velocity",   "Volume", "Volumetric Flow", "Other"};

// Every code belongs to one category and is listed there once.
const std::vector<int>& Categories(int Index) {
    static const std::vector<std::vector<int>> codes = [] {
        std::vector<std::vector<int>> c = {
            {166},
            {0, 116, 1, 115},
            {105, 106, 107, 108, 109, 110, 111, 112, 113, 114},
            {2,   3,   167, 168, 169, 199, 200, 201, 170, 171, 4,  172, 145, 122, 123, 190, 202, 173,
             174, 175, 5,   124, 6,   7,   8,   9,   10,  11,  12, 13,  176, 177, 14,  15,  178},
            {16, 17, 125, 126, 18, 19, 146, 203, 204, 205, 20, 147, 148, 21, 22},
            {23, 149, 150, 24, 117},
            {127, 151, 152, 128},
            {153},
            {25, 26, 27, 129, 130, 131},
            {28, 29},
            {194, 30, 118, 193, 31, 32, 33},
            {179, 180, 34, 35, 36, 37, 38},
            {196, 195, 39, 40, 41},
            {154, 155, 42, 43, 44, 119, 45, 46, 156},
            {132, 47, 48, 49, 50, 157, 51, 52},
            {53, 133, 54, 134, 55, 56, 206, 57, 58, 59, 60, 61},
            {62, 63, 181, 182, 64, 65, 66, 120, 121},
            {67, 68, 69, 70, 71, 72, 73, 158, 159},
            {160},
            {161, 162, 74, 163, 164, 75, 76, 77, 78},
            {79, 80, 81, 197, 82, 83},
            {142, 84, 191, 85, 165, 135, 86, 198, 87, 88, 136, 89, 192},
            {90, 91, 92,  93,  94, 183, 186, 137, 138, 139, 140, 95,  187, 188, 96,
             97, 98, 143, 144, 99, 100, 101, 102, 103, 184, 104, 185, 189, 141},
        };
        for (int code = 207; code <= 236; ++code) c.back().push_back(code);
        return c;
    }();
    static const std::vector<int> none;
    return Index >= 0 && Index < BACnet_Unit_Category_Count ? codes[size_t(Index)] : none;
}

} // namespace

String Desc_Unit(int Num_Unit) {
    if (Num_Unit < 0 || Num_Unit >= BACnet_Unit_Count) return QStringLiteral("unknown");
    return String::fromLatin1(Unit_Names[Num_Unit]);
}

String BACnet_Unit_Category(int Index) {
    return Index >= 0 && Index < BACnet_Unit_Category_Count ? String::fromLatin1(Category_Names[Index])
                                                            : String();
}

const std::vector<int>& BACnet_Unit_Codes(int Category) {
    return Categories(Category);
}

String BACnet_Unit_List_Name(int Code) {
    switch (Code) {
        case 172: return QStringLiteral("ohms-meters");
        case 139: return QStringLiteral("megajoules-per-square-meter");
        case 140: return QStringLiteral("megajoules-per-square-foot");
        default: return Desc_Unit(Code);
    }
}

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FBACnet_Eng_Unit"));
    Setup_Window(this, 548, 306);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    Label1 = Create_Label(this, this, QStringLiteral("Label1"), 16, 84);
    E_Selected_EU = new TEdit(this);
    E_Selected_EU->SetName(QStringLiteral("E_Selected_EU"));
    E_Selected_EU->SetParent(this);
    E_Selected_EU->SetBounds(16, 104, 90, 21);
    Label5 = Create_Label(this, this, QStringLiteral("Label5"), 116, 107);
    Label2 = Create_Label(this, this, QStringLiteral("Label2"), 16, 142);
    Label3 = Create_Label(this, this, QStringLiteral("Label3"), 16, 168);
    Label4 = Create_Label(this, this, QStringLiteral("Label4"), 200, 168);
    const auto list = [this](const char* Name, int Left, int Width) {
        auto* combo = new TComboBox(this);
        combo->SetName(String::fromLatin1(Name));
        combo->SetParent(this);
        combo->SetStyle(csDropDownList);
        combo->SetDropDownCount(16);
        combo->SetBounds(Left, 186, Width, 21);
        return combo;
    };
    CB_Select_Type = list("CB_Select_Type", 16, 170);
    for (int i = 0; i < BACnet_Unit_Category_Count; ++i)
        CB_Select_Type->Items()->Add(BACnet_Unit_Category(i));
    CB_Select_Type->SetItemIndex(0);
    CB_Select_Unit = list("CB_Select_Unit", 200, 330);
    Btn_Select_Eng_Unit = Create_Button(this, this, QStringLiteral("Btn_Select_Eng_Unit"), 16, 222, 240, 28);
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_OK->SetModalResult(mrOk);
    CB_Select_Type->OnSelect = [this](TObject* Sender) { CB_Select_TypeSelect(Sender); };
    Btn_Select_Eng_Unit->OnClick = [this](TObject* Sender) { Btn_Select_Eng_UnitClick(Sender); };
    EndLoading();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TFBACnet_Eng_Unit::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(548, 306);
    Set_Lang();
}

void TFBACnet_Eng_Unit::FormShow(TObject* Sender) {
    CB_Select_TypeSelect(Sender);
}

void TFBACnet_Eng_Unit::CB_Select_TypeSelect(TObject*) {
    TStrings* items = CB_Select_Unit->Items();
    items->Clear();
    for (int code : BACnet_Unit_Codes(CB_Select_Type->ItemIndex())) items->Add(BACnet_Unit_List_Name(code));
    CB_Select_Unit->SetItemIndex(items->Count() > 0 ? 0 : -1);
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick(TObject*) {
    const std::vector<int>& codes = BACnet_Unit_Codes(CB_Select_Type->ItemIndex());
    const int unit = CB_Select_Unit->ItemIndex();
    if (unit < 0 || unit >= int(codes.size())) return; // nothing chosen
    const int code = codes[size_t(unit)];
    E_Selected_EU->SetText(String::number(code));
    Label5->SetCaption(QStringLiteral("-> ") + Desc_Unit(code));
}

void TFBACnet_Eng_Unit::Set_Lang() {
    SetCaption(Lang_Text.Get(1400));
    L_SW_Desc->SetCaption(Lang_Text.Get(1401));
    Btn_OK->SetCaption(Lang_Text.Get(1402));
    Btn_Cancel->SetCaption(Lang_Text.Get(1403));
    Label1->SetCaption(Lang_Text.Get(1404));
    Label2->SetCaption(Lang_Text.Get(1405));
    Label3->SetCaption(Lang_Text.Get(1406));
    Label4->SetCaption(Lang_Text.Get(1407));
    Btn_Select_Eng_Unit->SetCaption(Lang_Text.Get(1408));
}
