// The CAN frame tables as a new user meets them: the receive step of the main window (hidden in
// this build, so reached through the buttons' dispatch), two frames typed into the grid, OK, and
// the same step again showing them.
#include "KeyTyping.h"
#include "WindowFixture.h"
#include "WindowImage.h"

#include <QImage>

class CANStepTest : public WindowsTest {};

namespace {

// Types Text into the current cell of Grid and ends it with Enter.
void Type_Cell(TAdvColumnGrid* Grid, const String& Text) {
    if (!Text.isEmpty()) TypeKeys(Grid, Text);
    SimulateKey(Grid, VK_RETURN, {}, Char(13));
}

} // namespace

TEST_F(CANStepTest, TwoFramesTypedAndShownAgain) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    Enable_Jump_Field_Tables = true; // Enter goes on to the next cell
    ASSERT_FALSE(Main()->Btn_CAN_Rec_Frame->Visible());
    TAdvColumnGrid* g = FReceiveCAN->ACG_CAN_Receive;
    bool shown = false;
    PostCall([&] {
        shown = FReceiveCAN->Visible();
        EXPECT_EQ(FReceiveCAN->Caption(), "CAN Receive Frames");
        g->SetFocus();
        // Row 1: CobID 0x100, the Type left empty, Dimension 2, TimeOut 50.
        g->MoveCurrentCell(2, 1);
        Type_Cell(g, "0x100");
        EXPECT_EQ(g->Col(), 3);
        Type_Cell(g, "");
        Type_Cell(g, "2");
        Type_Cell(g, "50");
        // Row 2: CobID 7, Dimension 1, TimeOut 0.
        g->MoveCurrentCell(2, 2);
        Type_Cell(g, "7");
        Type_Cell(g, "");
        Type_Cell(g, "1");
        Type_Cell(g, "0");
        SimulateClick(FReceiveCAN->Btn_OK, 20, 14);
    });
    Main()->Btn_Click(Main()->Btn_CAN_Rec_Frame);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(FReceiveCAN->Visible());
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QByteArray file = Read("PROJECTS/Plant1/CAN_Rec_Frames.xml");
    EXPECT_EQ(file.count("<row "), 2) << file.constData();
    EXPECT_TRUE(file.contains("COBID=\"0x100\" CAN_Type=\"\" Dim=\"2\" TimeOut=\"50\"")) << file.constData();
    EXPECT_TRUE(file.contains("COBID=\"7\" CAN_Type=\"\" Dim=\"1\" TimeOut=\"0\"")) << file.constData();

    // Cleared in between: the step shows the file's rows again.
    g->SetCellEx(2, 1, "scratch");
    PostCall([&] {
        EXPECT_EQ(g->GetCellEx(2, 1), "0x100");
        EXPECT_EQ(g->GetCellEx(5, 1), "50");
        EXPECT_EQ(g->GetCellEx(2, 2), "7");
        EXPECT_EQ(g->GetCellEx(2, 3), "");
        FReceiveCAN->Btn_Cancel->Click();
    });
    Main()->Btn_Click(Main()->Btn_CAN_Rec_Frame);
}

// The CAN transmit table's picture: title panel, grid, button panel. With VELMORA_SCREENSHOT_DIR
// set, it is saved there as can_transmit.png.
TEST_F(CANStepTest, TransmitPicture) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    QImage img;
    PostCall([&] {
        img = ShownWindowImage(FTransmitCAN);
        FTransmitCAN->Btn_Cancel->Click();
    });
    Main()->Btn_Click(Main()->Btn_CAN_Send_Frame);
    if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + "/can_transmit.png");
    const QImage client = FTransmitCAN->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(client.size(), QSize(1100, 337));
    const QRgb window = qRgb(248, 247, 237);
    EXPECT_EQ(client.pixel(600, 60), window);   // title panel
    EXPECT_EQ(client.pixel(1000, 320), window); // button panel right of the buttons
    EXPECT_NE(client.pixel(60, 150), window);   // the grid
}

// A change of language reaches both tables.
TEST_F(CANStepTest, ChangeLanguageReachesBothTables) {
    Start();
    Lang_Text.Set(1500, "Empfangene CAN-Rahmen");
    Lang_Text.Set(1610, "Kennung");
    Lang_Text.Set(1646, "Beschreibung des Rahmens");
    Main()->Change_Language();
    EXPECT_EQ(FReceiveCAN->Caption(), "Empfangene CAN-Rahmen");
    EXPECT_EQ(FTransmitCAN->ACG_CAN_Transmit->Columns()->Items(2)->Header(), "Kennung");
    EXPECT_EQ(FTransmitCAN->Hint_TransmitCAN->Strings(16), "Beschreibung des Rahmens");
}
