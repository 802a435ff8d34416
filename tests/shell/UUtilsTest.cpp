// The shared helpers the editors and the build rely on.
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"

#include "Classes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

TEST(UUtils, StrToFloatSepTakesEitherSeparator) {
    struct Case {
        const char* text;
        bool ok;
        float value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5f},   {"1,5", true, 1.5f},   {" -0,25 ", true, -0.25f}, {"2E3", true, 2000.0f},
        {"abc", false, 1.0f},  {"", false, 1.0f},     {"1.5.5", false, 1.0f},    {"1,5 x", false, 1.0f},
        {"1e39", false, 1.0f}, {"NONE", false, 1.0f},
    };
    for (Char sep : {Char(u','), Char(u'.')})
        for (const Case& c : cases) {
            float v = 123.0f;
            EXPECT_EQ(Str_To_Float_Sep(c.text, sep, v), c.ok) << c.text;
            EXPECT_FLOAT_EQ(v, c.value) << c.text;
        }
}

TEST(UUtils, DecimalSeparatorIsCommaOrPoint) {
    const Char c = Get_Decimal_Separator();
    EXPECT_TRUE(c == u',' || c == u'.');
}

// Octets are decimal numbers of digits only: the texts are stored for a device to parse.
TEST(UUtils, CheckIPAddressSplitsAndChecksFourOctets) {
    struct Case {
        const char* text;
        bool ok;
        const char *o1, *o2, *o3, *o4;
    };
    const Case cases[] = {
        {"192.168.0.1", true, "192", "168", "0", "1"},
        {" 10 . 0 .0. 255 ", true, "10", "0", "0", "255"},
        {"010.0.0.1", true, "010", "0", "0", "1"},
        {"$C0.0x10.0.1", false, "$C0", "0x10", "0", "1"},
        {"192.0xC0.0.1", false, "192", "0xC0", "0", "1"},
        {"+1.2.3.4", false, "+1", "2", "3", "4"},
        {"1.2.3.", false, "1", "2", "3", ""},
        {"1.2 3.3.4", false, "1", "2 3", "3", "4"},
        {"1.2.3.99999999999", false, "1", "2", "3", "99999999999"},
        {"192.168.0.256", false, "192", "168", "0", "256"},
        {"1.2.3.4.5", false, "1", "2", "3", "4.5"},
        {"192.168.0", false, "192", "168", "o3", "o4"}, // the fourth and third keep their values
        {"a.b.c.d", false, "a", "b", "c", "d"},
        {"1.2.3.-1", false, "1", "2", "3", "-1"},
    };
    for (const Case& c : cases) {
        String o1 = "o1", o2 = "o2", o3 = "o3", o4 = "o4";
        EXPECT_EQ(Check_IP_Address(c.text, o1, o2, o3, o4), c.ok) << c.text;
        EXPECT_EQ(o1, c.o1) << c.text;
        EXPECT_EQ(o2, c.o2) << c.text;
        EXPECT_EQ(o3, c.o3) << c.text;
        EXPECT_EQ(o4, c.o4) << c.text;
    }
}

// The serial ports: every device from /dev/ttyS0 to /dev/ttyS255 is tried; a port that opens,
// is busy or is refused counts, one that is missing or has no port behind it does not.
TEST(UUtils, COMPortListHoldsThePortsThatExist) {
    const std::map<QByteArray, int> answers = {
        {"/dev/ttyS0", 0},     {"/dev/ttyS1", EIO}, {"/dev/ttyS2", EBUSY},   {"/dev/ttyS4", EACCES},
        {"/dev/ttyS9", ENXIO}, {"/dev/ttyS10", 0},  {"/dev/ttyS254", EPERM}, {"/dev/ttyS255", EBUSY},
    };
    QList<QByteArray> asked;
    TSerialDeviceProbe old = SetSerialDeviceProbe([&](const QByteArray& Device) {
        asked << Device;
        const auto it = answers.find(Device);
        return it == answers.end() ? ENOENT : it->second;
    });
    TStringList* ports = Get_COM_Port_List();
    SetSerialDeviceProbe(old);
    EXPECT_EQ(ports->CommaText(), "1,3,5,11,256");
    TObject::Free(ports);
    ASSERT_EQ(asked.size(), 256);
    EXPECT_EQ(asked.front(), "/dev/ttyS0");
    EXPECT_EQ(asked.back(), "/dev/ttyS255");

    // The system's own answers: port numbers in ascending order.
    ports = Get_COM_Port_List();
    int last = 0;
    for (int i = 0; i < ports->Count(); ++i) {
        const int n = ports->Strings(i).toInt();
        EXPECT_GT(n, last);
        EXPECT_LE(n, 256);
        last = n;
    }
    TObject::Free(ports);
}

TEST(UProject, SetFilesFollowsTheProjectFolder) {
    Path_Project = "C:\\P\\PROJECTS\\One";
    Set_Files();
    EXPECT_EQ(File_ParGen, "C:\\P\\PROJECTS\\One\\ParGen.xml");
    EXPECT_EQ(File_IEC_61850_Client, "C:\\P\\PROJECTS\\One\\IEC_61850_Client.xml");
    EXPECT_EQ(File_MQTT_Set_Topic, "C:\\P\\PROJECTS\\One\\MQTT_Set_Topic.xml");
    Path_Project.clear();
}

TEST(ULang, TableHoldsTheBuiltInTexts) {
    Lang_Text.Load_Default_Lang();
    EXPECT_EQ(Lang_Text.Count(), 2900);
    EXPECT_EQ(Num_Lang_Text, 2900);
    EXPECT_EQ(Lang_Text.Get(18), "Error! Project not Valid");
    EXPECT_EQ(Lang_Text.Get(1101), "Error in the Copy values!!! Copy a valid row before Paste it");
    EXPECT_EQ(Lang_Text.Get(-1), " ");
    EXPECT_EQ(Lang_Text.Get(2900), " ");
    Lang_Text.Set(18, "x");
    Lang_Text.Set(5000, "ignored");
    EXPECT_EQ(Lang_Text.Get(18), "x");
    Lang_Text.Load_Default_Lang();
    EXPECT_EQ(Lang_Text.Get(18), "Error! Project not Valid");
}
