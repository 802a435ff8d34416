// The MQTT topic tables driven as a user drives them: the hidden columns of the working mode,
// the checks of the shown columns, the cells that are not saved, the template dialog on a
// Template cell, and what OK leaves in MQTT_Set_Topic.xml.
#include "UMQTT_Set_Topic.h"
#include "UTopicTemplate.h"

#include "TwoTableFixture.h"

namespace {

// Real columns 1 .. 17: Topic, Retained, QoS, Data Type, Dimension, Position, IP Address, Input
// Template, Template, OnChange, OnCMD, OnTimer, Time(ms), Channel, Swap, Swap Word, Mnemonic.
const QStringList Pub_Ok = {"plant/t1", "N", "0", "Int", "2", "0", "", "", "$VALUE$",
                            "Y",        "",  "N", "",    "",  "",  "", "m"};
// Real columns 1 .. 14: Topic, Retained, QoS, Data Type, Dimension, Position, IP Address, Port,
// Type, Input Template, Template, Swap, Swap Word, Mnemonic.
const QStringList Sub_Ok = {"plant/s1", "", "1", "Float", "4", "1499", "", "", "", "", "", "", "", "s"};

class MQTTTablesTest : public TwoTableTest<TFMQTT_Set_Topic> {
protected:
    void SetUp() override {
        TwoTableTest::SetUp();
        FTopicTemplate = new TFTopicTemplate(nullptr);
    }
    void TearDown() override {
        TObject::Free(FTopicTemplate);
        FTopicTemplate = nullptr;
        TwoTableTest::TearDown();
    }
};

TEST_F(MQTTTablesTest, LayoutAndHintsByRealColumn) {
    EXPECT_EQ(E->ClientWidth(), 1100);
    EXPECT_EQ(E->Caption(), "MQTT Set Topic");
    EXPECT_EQ(E->L_SW_Desc->Caption(), "Set MQTT Topics");
    EXPECT_EQ(E->PageControl1->Pages(1)->Caption(), "MQTT Subscribe");
    E->ACG_Pub->SetRowCount(3);
    E->ACG_Pub->UnHideColumnsAll();
    E->ACG_Pub->SetCellEx(11, 4, "left");
    Open([this] {
        EXPECT_EQ(E->ACG_Pub->RowCount(), 1025);
        EXPECT_EQ(E->ACG_Sub->RowCount(), 1025);
        EXPECT_EQ(E->ACG_Pub->GetCellEx(11, 4), "");
        EXPECT_EQ(E->ACG_Pub->GetCellEx(0, 1024), "1024");
        EXPECT_EQ(E->PageControl1->ActivePageIndex(), 0);
    });
    EXPECT_EQ(E->Working_Mode, 1);
    EXPECT_EQ(E->Byte_IN, 1500);
    EXPECT_EQ(E->Byte_OUT, 1500);
    struct Case {
        TAdvColumnGrid* grid;
        QList<int> hidden;
        int cols;
    };
    const Case cases[] = {{E->ACG_Pub, {7, 8, 11, 14, 15, 16}, 17},
                          {E->ACG_Sub, {2, 7, 8, 9, 10, 12, 13}, 14}};
    for (const Case& c : cases)
        for (int col = 1; col <= c.cols; ++col)
            EXPECT_EQ(c.grid->IsHiddenColumn(col), c.hidden.contains(col)) << col;
    // Display column 7 of the publish grid is the Template column, 8 the OnChange column.
    String hint;
    E->ACG_MQTT_GridHint(E->ACG_Pub, 0, 7, hint);
    EXPECT_EQ(hint, "Insert the Template");
    E->ACG_MQTT_GridHint(E->ACG_Pub, 0, 8, hint);
    EXPECT_EQ(hint, "Enable/Disabel the Possibility to Publish the Data at the Exchange of Value");
    E->ACG_MQTT_GridHint(E->ACG_Sub, 0, E->ACG_Sub->ColCount() - 1, hint);
    EXPECT_EQ(hint, "Description of MQTT Topic");
    E->ACG_MQTT_GridHint(E->ACG_Sub, 2, 3, hint);
    EXPECT_EQ(hint, "");
}

TEST_F(MQTTTablesTest, Validation) {
    auto p = [](std::initializer_list<std::pair<int, const char*>> C) { return With(Pub_Ok, C); };
    auto s = [](std::initializer_list<std::pair<int, const char*>> C) { return With(Sub_Ok, C); };
    Run_Checks(
        "MQTT_Set_Topic.xml",
        {
            {"valid rows", {Pub_Ok}, {Sub_Ok}, ""},
            {"no data type", {p({{4, " "}})}, {}, "Error row 1!! [MQTT Publish] Data Type must be selected"},
            {"Int of 3",
             {p({{5, "3"}})},
             {},
             "Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
            {"int of 8 in lower case", {p({{4, " int "}, {5, "8"}})}, {}, ""},
            {"Float of 2",
             {p({{4, "Float"}, {5, "2"}})},
             {},
             "Error row 1!! [MQTT Publish] Dimension must be equal to 4 or 8"},
            {"String of 0",
             {p({{4, "String"}, {5, "0"}})},
             {},
             "Error row 1!! [MQTT Publish] Dimension must be major of 0"},
            {"Base64 of 1", {p({{4, "Base64"}, {5, "1"}})}, {}, ""},
            {"position 1500",
             {p({{6, "1500"}})},
             {},
             "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1499"},
            {"position empty",
             {},
             {s({{6, ""}})},
             "Error row 1!! [MQTT Subscribe] Position must be beetween 0 and 1499"},
            {"three dollars",
             {p({{9, "$A$B$"}})},
             {},
             "Error row 1!! [MQTT Publish] Template not Correct, Check the Keywords"},
            {"no dollar", {p({{9, "plain"}})}, {}, ""},
            {"hidden columns are not checked",
             {p({{7, "1.2"}, {8, "$"}})},
             {s({{7, "x"}, {8, "70000"}, {10, "$"}})},
             ""},
            {"time 1000000000 on timer", {p({{12, "Y"}, {13, "1000000000"}})}, {}, ""},
            {"time 0 on timer",
             {p({{12, " y"}, {13, "0"}})},
             {},
             "Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000"},
            {"time 0 without timer", {p({{13, "0"}})}, {}, ""},
            {"a blank topic ends the table", {Pub_Ok, p({{1, "  "}}), p({{4, ""}})}, {}, ""},
            {"subscribe type",
             {},
             {s({{4, ""}})},
             "Error row 1!! [MQTT Subscribe] Data Type must be selected"},
            {"subscribe Int of 5",
             {},
             {Sub_Ok, s({{4, "Int"}, {5, "5"}})},
             "Error row 2!! [MQTT Subscribe] Dimension must be equal to 1 or 2 or 4 or 8"},
            {"subscribe Float of 1",
             {},
             {s({{5, "1"}})},
             "Error row 1!! [MQTT Subscribe] Dimension must be equal to 4 or 8"},
            {"subscribe String of x",
             {},
             {s({{4, "String"}, {5, "x"}})},
             "Error row 1!! [MQTT Subscribe] Dimension must be major of 0"},
            {"subscribe template",
             {},
             {s({{11, "$"}})},
             "Error row 1!! [MQTT Subscribe] Template not Correct, Check the Keywords"},
            {"publish first",
             {p({{4, ""}})},
             {s({{4, ""}})},
             "Error row 1!! [MQTT Publish] Data Type must be selected"},
        });
}

// Hidden columns are saved, Channel, OnCMD, Swap and Swap Word are not; after a reload the swaps
// read "N" and the channel is empty; a template of several lines comes back unchanged.
TEST_F(MQTTTablesTest, SavedCellsAndReload) {
    const QStringList pub = With(
        Pub_Ok,
        {{7, "10.0.0.1"}, {8, "in"}, {9, "$VALUE$\r\nline 2"}, {11, "Y"}, {14, "All"}, {15, "Y"}, {16, "Y"}});
    const QStringList sub =
        With(Sub_Ok, {{2, "Y"}, {7, "bad ip"}, {8, "99"}, {9, "UDP"}, {12, "Y"}, {13, "Y"}});
    Open([&] {
        Fill(E->ACG_Pub, 1, pub);
        Fill(E->ACG_Sub, 1, sub);
        E->Btn_OK->Click();
    });
    EXPECT_TRUE(Messages.isEmpty()) << Texts().join('|').toStdString();
    const QByteArray written = Read("MQTT_Set_Topic.xml");
    EXPECT_TRUE(written.startsWith("<MQTT_Set_Topic>")) << written.constData();
    EXPECT_TRUE(
        written.contains("<row Topic=\"plant/t1\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" "
                         "Position=\"0\" IPAddress=\"10.0.0.1\" InputTemplate=\"in\" Template=\"$VALUE$"))
        << written.constData();
    EXPECT_TRUE(written.contains("OnChange=\"Y\" OnTimer=\"N\" Time=\"\" Mnemonic=\"m\" />"))
        << written.constData();
    EXPECT_TRUE(written.contains("<row Topic=\"plant/s1\" Retained=\"Y\" QoS=\"1\" DataType=\"Float\" "
                                 "Dimension=\"4\" Position=\"1499\" IPAddress=\"bad ip\" Port=\"99\" "
                                 "EthType=\"UDP\" InputTemplate=\"\" Template=\"\" Mnemonic=\"s\" />"))
        << written.constData();
    EXPECT_LT(written.indexOf("<MQTT_Publish>"), written.indexOf("<MQTT_Subscribe>"));
    Open([&] {
        EXPECT_EQ(RowOf(E->ACG_Pub, 1), With(pub, {{11, ""}, {14, ""}, {15, "N"}, {16, "N"}}));
        EXPECT_EQ(RowOf(E->ACG_Sub, 1), With(sub, {{12, "N"}, {13, "N"}}));
        EXPECT_EQ(E->ACG_Pub->GetCellEx(15, 2), "");
    });

    // Missing optional attributes fall back; a row without Mnemonic stops the loading there.
    WriteFile(
        "MQTT_Set_Topic.xml",
        "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\" Retained=\"Y\" QoS=\"2\" Mnemonic=\"\"/>"
        "<row Topic=\"b\" Retained=\"Y\" QoS=\"2\"/><row Topic=\"c\" Retained=\"Y\" QoS=\"2\" Mnemonic=\"\"/>"
        "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>");
    Messages.clear();
    Open([&] {
        EXPECT_EQ(RowOf(E->ACG_Pub, 1),
                  QStringList({"a", "Y", "2", "", "", "", "", "", "", "N", "", "N", "", "", "N", "N", ""}));
        EXPECT_EQ(E->ACG_Pub->GetCellEx(1, 3), "");
    });
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0].DlgType, mtError);
}

TEST_F(MQTTTablesTest, TemplateCellInTheDialog) {
    struct Case {
        bool ok;
        const char* typed;
        const char* after;
    };
    const Case cases[] = {{true, "$A$\r\n$B$", "$A$\r\n$B$"}, {false, "changed", "$VALUE$"}};
    for (const Case& c : cases) {
        Open([&] {
            TAdvColumnGrid* g = E->ACG_Sub;
            E->PageControl1->SetActivePage(E->PageControl1->Pages(1));
            Fill(g, 2, Sub_Ok);
            g->SetCellEx(11, 2, "$VALUE$");
            g->SetRow(2);
            g->SetCol(g->DisplColIndex(11));
            PostCall([&] {
                EXPECT_EQ(FTopicTemplate->RE_TopicTemplate->Text(), "$VALUE$");
                EXPECT_EQ(FTopicTemplate->Caption(), "Set Template");
                EXPECT_EQ(FTopicTemplate->Pub_Sub, 1);
                FTopicTemplate->RE_TopicTemplate->SetText(c.typed);
                (c.ok ? FTopicTemplate->Btn_OK : FTopicTemplate->Btn_Cancel)->Click();
            });
            E->ACG_MQTT_DblClickCell(g, 2, g->Col());
            EXPECT_EQ(g->GetCellEx(11, 2), c.after);
            // Another column opens nothing.
            g->SetCol(g->DisplColIndex(1));
            E->ACG_MQTT_DblClickCell(g, 2, g->Col());
            EXPECT_FALSE(FTopicTemplate->Visible());
        });
    }
}

TEST_F(MQTTTablesTest, RowButtonsOnTheSubscribePage) {
    Open([this] {
        Fill(E->ACG_Pub, 1, Pub_Ok);
        Fill(E->ACG_Sub, 1, Sub_Ok);
        E->PageControl1->SetActivePage(E->PageControl1->Pages(1));
        E->ACG_Sub->SetRow(1);
        E->Btn_InsRowClick(nullptr);
        EXPECT_EQ(RowOf(E->ACG_Sub, 1), QStringList(14, QString()));
        EXPECT_EQ(E->ACG_Sub->GetCellEx(1, 2), "plant/s1");
        EXPECT_EQ(E->ACG_Pub->GetCellEx(1, 1), "plant/t1");
        E->PageControl1->SetActivePage(E->PageControl1->Pages(0));
        E->ACG_Pub->SetRow(1);
        E->Btn_CopyRowClick(nullptr);
        E->PageControl1->SetActivePage(E->PageControl1->Pages(1));
        E->Btn_PasteRowClick(nullptr);
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1102)}));
    });
}

} // namespace
