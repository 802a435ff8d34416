// The J1939 and NMEA 2000 tables as a new user meets them: no step of the main window opens them,
// so the J1939 receive table is shown as its window; a parameter group typed into the grid, OK,
// and the window again showing it; a picture of it; and a change of language reaching all four.
#include "KeyTyping.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "WindowFixture.h"
#include "WindowImage.h"

#include <QImage>

class PGNTablesStepTest : public WindowsTest {
protected:
    // The main block's windows, then the four tables in their place after the CAN tables.
    void Start_All() {
        Start();
        FReceiveJ1939 = new TFReceiveJ1939(nullptr);
        FTransmitJ1939 = new TFTransmitJ1939(nullptr);
        FReceiveNMEA = new TFReceiveNMEA(nullptr);
        FTransmitNMEA = new TFTransmitNMEA(nullptr);
    }
    void TearDown() override {
        FreeAndNil(FTransmitNMEA);
        FreeAndNil(FReceiveNMEA);
        FreeAndNil(FTransmitJ1939);
        FreeAndNil(FReceiveJ1939);
        Enable_Jump_Field_Tables = false;
        WindowsTest::TearDown();
    }
};

namespace {

// Types Text into the current cell of Grid and ends it with Enter.
void Type_Cell(TAdvColumnGrid* Grid, const String& Text) {
    if (!Text.isEmpty()) TypeKeys(Grid, Text);
    SimulateKey(Grid, VK_RETURN, {}, Char(13));
}

} // namespace

TEST_F(PGNTablesStepTest, GroupTypedSavedAndShownAgain) {
    Start_All();
    ASSERT_EQ(::Create_New_Project("Truck1"), nprCreated);
    Enable_Jump_Field_Tables = true; // Enter goes on to the next cell
    TAdvColumnGrid* g = FReceiveJ1939->sga;
    QImage img;
    PostCall([&] {
        EXPECT_EQ(FReceiveJ1939->Caption(), "Receive J1939 Frames");
        g->SetFocus();
        g->SetCellEx(1, 1, "0"); // the data page, picked from its list
        // PGN 0xFEF1 from source 0, start byte 2, 4 bytes kept.
        g->MoveCurrentCell(2, 1);
        Type_Cell(g, "0xFEF1");
        EXPECT_EQ(g->Col(), 3);
        Type_Cell(g, "0");
        g->MoveCurrentCell(5, 1);
        Type_Cell(g, "2");
        Type_Cell(g, "4");
        g->MoveCurrentCell(10, 1);
        Type_Cell(g, "Wheel speed & cruise");
        img = ShownWindowImage(FReceiveJ1939);
        SimulateClick(FReceiveJ1939->Btn_OK, 20, 14);
    });
    EXPECT_EQ(FReceiveJ1939->ShowModal(), mrOk);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QByteArray file = Read("PROJECTS/Truck1/J1939_Rec_Frames.xml");
    EXPECT_TRUE(file.startsWith("<Receive_J1939>")) << file.constData();
    EXPECT_EQ(file.count("<row "), 1) << file.constData();
    EXPECT_TRUE(
        file.contains("<row DP=\"0\" PGN=\"0xFEF1\" SA=\"0\" TP=\"\" TP_Start=\"2\" TP_NByte=\"4\" "
                      "Delete=\"\" OnRequest=\"\" OnReq_Time=\"\" Mnemonic=\"Wheel speed &amp; cruise\""))
        << file.constData();

    if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + "/j1939_receive.png");
    const QImage client = FReceiveJ1939->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(client.size(), QSize(876, 337));
    const QRgb window = qRgb(248, 247, 237);
    EXPECT_EQ(client.pixel(600, 60), window);  // title panel
    EXPECT_EQ(client.pixel(850, 320), window); // button panel right of the buttons
    EXPECT_NE(client.pixel(60, 150), window);  // the grid

    g->SetCellEx(2, 1, "scratch");
    PostCall([&] {
        EXPECT_EQ(g->GetCellEx(2, 1), "0xFEF1");
        EXPECT_EQ(g->GetCellEx(6, 1), "4");
        EXPECT_EQ(g->GetCellEx(10, 1), "Wheel speed & cruise");
        EXPECT_EQ(g->GetCellEx(2, 2), "");
        FReceiveJ1939->Btn_Cancel->Click();
    });
    EXPECT_EQ(FReceiveJ1939->ShowModal(), mrCancel);
}

// A change of language reaches all four tables: captions, headers and header hints.
TEST_F(PGNTablesStepTest, ChangeLanguageReachesTheFourTables) {
    Start_All();
    Lang_Text.Set(2000, "J1939 empfangen");
    Lang_Text.Set(2117, "Parametergruppe");
    Lang_Text.Set(2230, "Beschreibung");
    Lang_Text.Set(2302, "Gut");
    Main()->Change_Language();
    EXPECT_EQ(FReceiveJ1939->Caption(), "J1939 empfangen");
    EXPECT_EQ(FTransmitJ1939->sga->Columns()->Items(3)->Header(), "Parametergruppe");
    EXPECT_EQ(FReceiveNMEA->Hint_ReceiveNMEA->Strings(7), "Beschreibung");
    EXPECT_EQ(FTransmitNMEA->Btn_OK->Caption(), "Gut");
}
