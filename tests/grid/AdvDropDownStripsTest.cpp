// The popup's header and footer strips and their buttons: button places, the caption's end, the
// size grip, what a button click does to the popup and the form, groups, painting on pixels, and
// the index-checking list.
#include "AdvDropDownStrips.h"

#include "AdvDropDownDraw.h"
#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GridDropDowns.h"
#include "ImgList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A drop-down that writes down the closings of its popup and the clicks on its strip buttons.
class TLoggingDropDown : public TAdvCustomDropDown {
public:
    explicit TLoggingDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
        OnDropDownFooterButtonClick = [this](TObject* Sender, int Index) {
            Log.push_back((Sender == this ? "footer click " : "footer click from ?") + std::to_string(Index));
        };
        OnDropDownHeaderButtonClick = [this](TObject*, int Index) {
            Log.push_back("header click " + std::to_string(Index));
        };
    }
    void DoHideDropDown(bool CancelChanges) override {
        Log.push_back(CancelChanges ? "hide cancel" : "hide");
    }

    std::vector<std::string> Log;
};

// A shown popup form holding the strips, and a drop-down to connect them to.
class PopupStrips : public ::testing::Test {
protected:
    void SetUp() override {
        Popup = new TForm(nullptr);
        Popup->SetBorderStyle(bsNone);
        Popup->SetBounds(100, 100, 200, 120);
        Popup->SetColor(clWhite);
        Popup->Show();
        DropDown = new TLoggingDropDown(nullptr);
        // A drop-down takes its default component style when it is made; these tests start from
        // the looks' own defaults and a black popup frame.
        TAdvButtonAppearance buttons;
        DropDown->ButtonAppearance()->Assign(&buttons);
        THeaderAppearance header(nullptr);
        DropDown->DropDownHeader()->Assign(&header);
        TFooterAppearance footer(nullptr);
        DropDown->DropDownFooter()->Assign(&footer);
        DropDown->SetDropDownBorderColor(clBlack);
    }
    void TearDown() override {
        TObject::Free(Popup);
        TObject::Free(DropDown);
    }

    template <class TStrip> TStrip* NewStrip(int Top) {
        auto* s = new TStrip(Popup);
        s->SetParent(Popup);
        s->SetBounds(0, Top, 200, 22);
        return s;
    }
    TAdvHeader* Header() { return NewStrip<TAdvHeader>(0); }
    TAdvFooter* Footer() { return NewStrip<TAdvFooter>(98); }
    // Connects the strip and makes its buttons, as the popup does on each showing.
    template <class TStrip> void Connect(TStrip* Strip) {
        Strip->SetAdvDropDown(DropDown);
        Strip->UpdateButtons();
    }
    void AddFooterButton(const String& Caption, TModalResult Result, int Width = 30) {
        TFooterButton* b = DropDown->DropDownFooter()->Buttons()->Add();
        b->SetCaption(Caption);
        b->SetModalResult(Result);
        b->SetWidth(Width);
    }
    void AddHeaderButton(const String& Caption, int Width = 30) {
        THeaderButton* b = DropDown->DropDownHeader()->Buttons()->Add();
        b->SetCaption(Caption);
        b->SetWidth(Width);
    }
    template <class TStrip> TAdvButton* ButtonOf(TStrip* Strip, int Index) {
        return static_cast<TAdvButton*>(Strip->ButtonList()->GetItemsEx(Index));
    }

    TForm* Popup = nullptr;
    TLoggingDropDown* DropDown = nullptr;
};

TColor Pixel(const QImage& Image, int X, int Y) {
    return FromQColor(Image.pixelColor(X, Y));
}

} // namespace

TEST(AdvButtonAppearance, DefaultsChangeNotesAndAssign) {
    TAdvButtonAppearance a;
    EXPECT_EQ(a.BorderColor(), clNone);
    EXPECT_EQ(a.BorderColorHot(), TColor(0x808080));
    EXPECT_EQ(a.BorderColorDown(), TColor(0x800000));
    EXPECT_EQ(a.BorderColorChecked(), TColor(0xFF0000));
    EXPECT_EQ(a.Color(), clNone);
    EXPECT_EQ(a.ColorDisabled(), TColor(0xF2F2F2));
    EXPECT_EQ(a.ColorDown(), TColor(0xF5D8CA));
    EXPECT_EQ(a.ColorHot(), TColor(0xF5F0E1));
    EXPECT_EQ(a.ColorChecked(), TColor(0xF5D8CA));
    EXPECT_EQ(a.ColorCheckedTo(), TColor(0xF9BDA0));
    EXPECT_EQ(a.Gradient(), gdVertical);
    EXPECT_EQ(a.Font()->Name(), QStringLiteral("Tahoma"));

    int changes = 0;
    a.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &a);
        ++changes;
    };
    a.SetColorHot(0xF5F0E1); // the same value: no note
    EXPECT_EQ(changes, 0);
    a.SetColorHot(clYellow);
    a.SetGradient(gdHorizontal);
    EXPECT_EQ(changes, 2);
    TFont bold;
    bold.SetStyle({fsBold});
    a.SetFont(&bold); // copied without a note
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(a.Font()->Style(), TFontStyles({fsBold}));

    TAdvButtonAppearance b;
    b.SetBorderColorDisabled(clRed);
    a.Assign(&b);
    EXPECT_EQ(a.ColorHot(), b.ColorHot());
    EXPECT_EQ(a.Gradient(), gdVertical);
    EXPECT_EQ(a.BorderColorDisabled(), clRed);
    EXPECT_EQ(a.Font()->Style(), TFontStyles({fsBold})); // the font is not copied
    EXPECT_EQ(changes, 5);                               // ColorHot, Gradient, BorderColorDisabled

    TFont foreign;
    EXPECT_THROW(a.Assign(&foreign), Exception);
}

TEST(DbgList, AccessorsCheckTheIndex) {
    TDbgList list;
    int a = 1, b = 2;
    list.Add(&a);
    EXPECT_EQ(list.GetItemsEx(0), &a);
    list.SetItemsEx(0, &b);
    EXPECT_EQ(list.GetItemsEx(0), &b);
    struct Case {
        bool Write;
        int Index;
        const char* Message;
    } cases[] = {{false, 1, "Index out of bounds in list read access"},
                 {false, 5, "Index out of bounds in list read access"},
                 {true, 1, "Index out of bounds in list write access"}};
    for (const Case& c : cases) {
        try {
            if (c.Write)
                list.SetItemsEx(c.Index, &a);
            else
                list.GetItemsEx(c.Index);
            ADD_FAILURE() << c.Index;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.Message));
        }
    }
    EXPECT_ANY_THROW(list.GetItemsEx(-1)); // the list's own check

    TList other;
    other.Add(&a);
    other.Add(&b);
    list.AssignList(&other);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetItemsEx(1), &b);
}

TEST_F(PopupStrips, ButtonAreasAndButtonsCutToThem) {
    TAdvHeader* header = Header();
    TAdvFooter* footer = Footer();
    DropDown->SetDropDownSizeable(false);
    Connect(header);
    Connect(footer);
    EXPECT_EQ(header->GetButtonArea(), TRect(2, 2, 198, 19));
    EXPECT_EQ(header->GetButtonArea().Height(), 17);
    EXPECT_EQ(footer->GetButtonArea(), TRect(2, 2, 198, 20));
    EXPECT_EQ(footer->GetButtonArea().Height(), 18);

    AddHeaderButton(QStringLiteral("Tall"));
    DropDown->DropDownHeader()->Buttons()->Items(0)->SetHeight(40);
    AddFooterButton(QStringLiteral("Tall"), mrNone);
    DropDown->DropDownFooter()->Buttons()->Items(0)->SetHeight(40);
    Connect(header);
    Connect(footer);
    EXPECT_EQ(ButtonOf(header, 0)->Height(), 17);
    EXPECT_EQ(ButtonOf(footer, 0)->Height(), 18);
    EXPECT_EQ(ButtonOf(footer, 0)->Width(), 30);
    EXPECT_EQ(ButtonOf(footer, 0)->Top(), 2);
    EXPECT_EQ(ButtonOf(footer, 0)->Caption(), QStringLiteral("Tall"));

    // Refreshing takes captions, images and enabled states from the items again.
    TFooterButton* item = DropDown->DropDownFooter()->Buttons()->Items(0);
    item->SetCaption(QStringLiteral("Low"));
    item->SetEnabled(false);
    item->SetImageIndex(2);
    footer->RefreshButtons();
    EXPECT_EQ(ButtonOf(footer, 0)->Caption(), QStringLiteral("Low"));
    EXPECT_FALSE(ButtonOf(footer, 0)->Enabled());
    EXPECT_EQ(ButtonOf(footer, 0)->ImageIndex(), 2);
    item->SetEnabled(true);

    // A button without sizes of its own fits its caption; a strip too low for buttons gives
    // them no height at all.
    DropDown->DropDownFooter()->Buttons()->Items(0)->SetHeight(0);
    DropDown->DropDownFooter()->Buttons()->Items(0)->SetWidth(0);
    Connect(footer);
    TAdvButton* fitted = ButtonOf(footer, 0);
    fitted->Canvas()->Font()->Assign(DropDown->ButtonAppearance()->Font());
    EXPECT_EQ(fitted->Width(), fitted->Canvas()->TextWidth(QStringLiteral("Low")) + 8);
    footer->SetHeight(3);
    Connect(footer);
    EXPECT_EQ(ButtonOf(footer, 0)->Height(), 0);
}

TEST_F(PopupStrips, AlignmentOrderAndWhereTheCaptionEnds) {
    TAdvHeader* header = Header();
    for (const char* c : {"A", "B", "C"}) AddHeaderButton(QString::fromLatin1(c), 20 + int(c[0] - 'A') * 5);
    Connect(header);
    ASSERT_EQ(header->ButtonList()->Count(), 3);
    // baRight: the first item is the rightmost, the buttons touch.
    EXPECT_EQ(ButtonOf(header, 0)->Left(), 198 - 20);
    EXPECT_EQ(ButtonOf(header, 1)->Left(), 178 - 25);
    EXPECT_EQ(ButtonOf(header, 2)->Left(), 153 - 30);
    EXPECT_EQ(header->GetCaptionRect(), TRect(2, 2, 123 - 2, 19));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ButtonOf(header, i)->Tag, i);

    DropDown->DropDownHeader()->SetButtonAlignment(baLeft);
    Connect(header);
    EXPECT_EQ(ButtonOf(header, 0)->Left(), 2);
    EXPECT_EQ(ButtonOf(header, 1)->Left(), 22);
    EXPECT_EQ(ButtonOf(header, 2)->Left(), 47);
    EXPECT_EQ(header->GetCaptionRect().Right, 45); // runs under the buttons before the last

    // A size change places the buttons again.
    DropDown->DropDownHeader()->SetButtonAlignment(baRight);
    Connect(header);
    header->SetWidth(150);
    EXPECT_EQ(ButtonOf(header, 0)->Left(), 148 - 20);

    DropDown->DropDownHeader()->Buttons()->Clear();
    Connect(header);
    EXPECT_EQ(header->ButtonList()->Count(), 0);
    EXPECT_EQ(header->GetCaptionRect(), TRect(-1, -1, -1, -1));
}

TEST_F(PopupStrips, SizeGripVisibilityAndHotZone) {
    TAdvFooter* footer = Footer();
    EXPECT_FALSE(footer->SizeGripVisible()); // no drop-down
    Connect(footer);
    EXPECT_TRUE(footer->SizeGripVisible());
    EXPECT_EQ(footer->GetButtonArea().Right, 200 - 2 - 12);
    struct Case {
        int X, Y;
        bool Hot;
    } cases[] = {{189, 8, true}, {188, 8, false}, {199, 21, true}, {195, 7, false}, {10, 21, false}};
    for (const Case& c : cases) EXPECT_EQ(footer->InSizeGrip(c.X, c.Y), c.Hot) << c.X << "," << c.Y;

    DropDown->SetDropDownSizeable(false);
    EXPECT_FALSE(footer->SizeGripVisible());
    EXPECT_EQ(footer->GetButtonArea().Right, 198);
    EXPECT_FALSE(footer->InSizeGrip(195, 18));
    SimulateMouseMove(footer, {}, 195, 18);
    EXPECT_NE(Screen->Cursor(), crSizeNWSE);

    DropDown->SetDropDownSizeable(true);
    DropDown->DropDownFooter()->SetSizeGrip(false);
    Connect(footer);
    EXPECT_FALSE(footer->SizeGripVisible());
}

TEST_F(PopupStrips, TheGripSizesThePopupAndSetsTheCursor) {
    TAdvFooter* footer = Footer();
    Connect(footer);
    SimulateMouseEnter(footer);
    SimulateMouseMove(footer, {}, 195, 18);
    EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
    SimulateMouseMove(footer, {}, 50, 18);
    EXPECT_EQ(Screen->Cursor(), crDefault);

    // Offscreen the window system sizes nothing, so the footer follows the pointer itself.
    SimulateMouseDown(footer, mbLeft, {}, 195, 18);
    SimulateMouseMove(footer, {ssLeft}, 215, 48);
    EXPECT_EQ(Popup->Width(), 220);
    EXPECT_EQ(Popup->Height(), 150);
    SimulateMouseUp(footer, mbLeft, {}, 195, 18);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    const int width = Popup->Width();
    SimulateMouseMove(footer, {}, 10, 10);
    EXPECT_EQ(Popup->Width(), width);
}

TEST_F(PopupStrips, FooterButtonsCloseByTheirModalResultBeforeTheClickEvent) {
    TAdvFooter* footer = Footer();
    struct Case {
        TModalResult Result;
        std::vector<std::string> Log;
    } cases[] = {
        {mrCancel, {"hide cancel", "footer click 0"}},
        {mrOk, {"hide", "footer click 0"}},
        {mrNo, {"hide cancel", "footer click 0"}},
        {mrYesToAll, {"hide", "footer click 0"}},
        {mrRetry, {"footer click 0"}},
        {mrClose, {"footer click 0"}},
        {mrNone, {"footer click 0"}},
    };
    for (const Case& c : cases) {
        DropDown->DropDownFooter()->Buttons()->Clear();
        AddFooterButton(QStringLiteral("Go"), c.Result);
        Connect(footer);
        DropDown->Log.clear();
        Popup->SetModalResult(mrNone);
        TAdvButton* b = ButtonOf(footer, 0);
        SimulateClick(b, 5, 5);
        EXPECT_EQ(DropDown->Log, c.Log) << c.Result;
        EXPECT_EQ(Popup->ModalResult(), c.Result);
    }

    // Enter and Space close by the modal result but fire no click event.
    DropDown->DropDownFooter()->Buttons()->Clear();
    AddFooterButton(QStringLiteral("Go"), mrCancel);
    Connect(footer);
    ButtonOf(footer, 0)->SetFocus();
    ASSERT_TRUE(ButtonOf(footer, 0)->Focused());
    for (Word key : {VK_RETURN, VK_SPACE}) {
        DropDown->Log.clear();
        Popup->SetModalResult(mrNone);
        SimulateKey(ButtonOf(footer, 0), key);
        EXPECT_EQ(Popup->ModalResult(), mrCancel);
        EXPECT_EQ(DropDown->Log, std::vector<std::string>({"hide cancel"})) << key;
    }
}

TEST_F(PopupStrips, HeaderButtonsNeverCloseThePopup) {
    TAdvHeader* header = Header();
    AddHeaderButton(QStringLiteral("A"));
    AddHeaderButton(QStringLiteral("&B"));
    Connect(header);
    SimulateClick(ButtonOf(header, 1), 5, 5);
    EXPECT_EQ(DropDown->Log, std::vector<std::string>({"header click 1"}));
    DropDown->Log.clear();
    ButtonOf(header, 0)->SetFocus();
    SimulateKey(ButtonOf(header, 0), VK_RETURN);
    EXPECT_TRUE(DropDown->Log.empty());
    // The caption's accelerator clicks.
    TMessage accel(CM_DIALOGCHAR, 'B', 0);
    ButtonOf(header, 1)->Dispatch(accel);
    EXPECT_EQ(accel.Result, 1);
    EXPECT_EQ(DropDown->Log, std::vector<std::string>({"header click 1"}));
}

TEST_F(PopupStrips, GroupButtons) {
    TAdvHeader* header = Header();
    AddHeaderButton(QStringLiteral("A"));
    AddHeaderButton(QStringLiteral("B"));
    Connect(header);
    TAdvButton* a = ButtonOf(header, 0);
    TAdvButton* b = ButtonOf(header, 1);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    EXPECT_EQ(a->State(), absExclusive);
    SimulateClick(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), absUp);
    SimulateClick(b, 5, 5); // AllowAllUp off: stays down
    EXPECT_TRUE(b->Down());
    a->SetAllowAllUp(true);
    a->SetDown(true); // passes AllowAllUp to the group
    EXPECT_TRUE(b->AllowAllUp());
    EXPECT_FALSE(b->Down());
    SimulateClick(a, 5, 5);
    EXPECT_FALSE(a->Down());

    // A plain button never latches; a check button toggles.
    TAdvButton* plain = new TAdvButton(header);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
    plain->SetParent(header);
    plain->SetStyle(tasCheck);
    SimulateClick(plain, 3, 3);
    EXPECT_TRUE(plain->Down());
    SimulateClick(plain, 3, 3);
    EXPECT_FALSE(plain->Down());
}

TEST_F(PopupStrips, HoverAndTheUnHotTimer) {
    TAdvHeader* header = Header();
    AddHeaderButton(QStringLiteral("A"));
    Connect(header);
    TAdvButton* b = ButtonOf(header, 0);
    int enters = 0, leaves = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseLeave = [&](TObject*) { ++leaves; };
    SimulateMouseEnter(b);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_TRUE(b->UnHotTimer()->Enabled());
    EXPECT_EQ(b->UnHotTimer()->Interval(), 1u);
    EXPECT_EQ(enters, 1);

    // The pointer still inside: the tick changes nothing; gone without a leave message: the
    // tick takes the hot look away.
    Mouse->SetCursorPos(b->ClientToScreen(TPoint(3, 3)));
    b->UnHotTimer()->OnTimer(b->UnHotTimer());
    EXPECT_TRUE(b->MouseInControl());
    Mouse->SetCursorPos(TPoint(0, 0));
    b->UnHotTimer()->OnTimer(b->UnHotTimer());
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_FALSE(b->UnHotTimer()->Enabled());

    SimulateMouseEnter(b);
    SimulateMouseLeave(b);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_FALSE(b->UnHotTimer()->Enabled());
    EXPECT_EQ(leaves, 1);
}

TEST_F(PopupStrips, StripPaintingOnPixels) {
    THeaderAppearance* h = DropDown->DropDownHeader();
    h->SetColor(clRed);
    h->SetColorTo(clNone);
    h->SetBorderColor(clBlue);
    TFooterAppearance* f = DropDown->DropDownFooter();
    f->SetColor(RGB(0, 0, 0));
    f->SetColorTo(RGB(0, 200, 0));
    f->SetGradientDirection(gdHorizontal);
    f->SetBorderColor(clBlue);
    TAdvHeader* header = Header();
    TAdvFooter* footer = Footer();
    Connect(header);
    Connect(footer);
    const TColor inner = BlendColor(clBlue, clWhite, 20);
    EXPECT_EQ(inner, RGB(204, 204, 255));

    // Under a framed popup: the line towards the content, the light frame round the rest.
    QImage img = ControlImage(header);
    EXPECT_EQ(Pixel(img, 50, 21), clBlue);
    EXPECT_EQ(Pixel(img, 50, 0), inner);
    EXPECT_EQ(Pixel(img, 0, 10), inner);
    EXPECT_EQ(Pixel(img, 199, 10), inner);
    EXPECT_EQ(Pixel(img, 50, 10), clRed);

    img = ControlImage(footer);
    EXPECT_EQ(Pixel(img, 50, 0), clBlue);
    EXPECT_EQ(Pixel(img, 50, 21), inner);
    EXPECT_EQ(Pixel(img, 1, 10), RGB(0, 0, 0)); // the gradient runs left to right
    EXPECT_GT(GetGValue(Pixel(img, 150, 10)), 120);
    EXPECT_EQ(Pixel(img, 150, 5), Pixel(img, 150, 15));
    // The grip: light dots with dark ones a pixel up and left, in the corner.
    const int l = 200 - 1 - 16, b = 22;
    for (const TPoint& d :
         {TPoint(l + 5, b - 4), TPoint(l + 13, b - 4), TPoint(l + 9, b - 8), TPoint(l + 13, b - 12)}) {
        EXPECT_EQ(Pixel(img, d.X + 1, d.Y + 1), clWhite) << d.X << "," << d.Y;
        EXPECT_EQ(Pixel(img, d.X - 1, d.Y - 1), clBlue) << d.X << "," << d.Y;
        EXPECT_EQ(Pixel(img, d.X, d.Y), clBlue) << d.X << "," << d.Y;
    }
    DropDown->SetDropDownSizeable(false);
    footer->Invalidate();
    img = ControlImage(footer);
    EXPECT_NE(Pixel(img, l + 14, b - 3), clWhite);

    // Without the popup's frame the strip draws all four sides, the light frame inside them.
    DropDown->SetDropDownBorderWidth(0);
    header->Invalidate();
    img = ControlImage(header);
    for (const TPoint& p : {TPoint(0, 10), TPoint(199, 10), TPoint(50, 0), TPoint(50, 21)})
        EXPECT_EQ(Pixel(img, p.X, p.Y), clBlue) << p.X << "," << p.Y;
    EXPECT_EQ(Pixel(img, 1, 10), inner);
    EXPECT_EQ(Pixel(img, 50, 1), inner);
}

TEST_F(PopupStrips, CaptionImageAndTheBackgroundEvent) {
    THeaderAppearance* h = DropDown->DropDownHeader();
    h->SetColor(clWhite);
    h->SetColorTo(clNone);
    h->SetBorderColor(clNone);
    h->SetCaption(QStringLiteral("<b>Caption</b>"));
    auto* images = NewOneColourImages(clRed);
    auto freeImages = FreeAtEnd(images);
    DropDown->SetImages(images);
    h->SetImageIndex(0);
    TAdvHeader* header = Header();
    Connect(header);
    EXPECT_EQ(header->Images(), images);

    auto ink = [](const QImage& Img, int X1, int X2) {
        for (int x = X1; x < X2; ++x)
            for (int y = 0; y < Img.height(); ++y) {
                const TColor c = Pixel(Img, x, y);
                if (c != clWhite && c != clRed) return true;
            }
        return false;
    };
    // The image 4 pixels in from the border gap (1) and centred; the caption after it.
    QImage img = ControlImage(header);
    EXPECT_EQ(Pixel(img, 5, 7), clRed);
    EXPECT_EQ(Pixel(img, 12, 14), clRed);
    EXPECT_TRUE(ink(img, 21, 80));

    String asked;
    header->OnGetText = [&](TObject*, String& Text) {
        asked = Text;
        Text.clear();
    };
    header->Invalidate();
    img = ControlImage(header);
    EXPECT_EQ(asked, QStringLiteral("<b>Caption</b>"));
    EXPECT_FALSE(ink(img, 21, 200));

    // The event paints instead of everything else.
    header->OnDrawBackGround = [](TObject*, TCanvas* Canvas, TRect R) {
        Canvas->Brush()->SetColor(clGreen);
        Canvas->FillRect(R);
    };
    header->Invalidate();
    img = ControlImage(header);
    for (int x = 0; x < 200; x += 7)
        for (int y = 0; y < 22; y += 3) EXPECT_EQ(Pixel(img, x, y), clGreen) << x << "," << y;

    // A freed image list leaves the strip without images.
    FreeAndNil(images);
    EXPECT_EQ(header->Images(), nullptr);
    EXPECT_EQ(DropDown->Images(), nullptr);
    header->OnDrawBackGround = nullptr;
    header->Invalidate();
    img = ControlImage(header);
    EXPECT_EQ(Pixel(img, 5, 7), clWhite);
}

TEST_F(PopupStrips, ButtonFacesOnPixels) {
    DropDown->DropDownHeader()->SetColor(clWhite);
    DropDown->DropDownHeader()->SetColorTo(clNone);
    TAdvButtonAppearance* look = DropDown->ButtonAppearance();
    look->SetColorHot(clYellow);
    look->SetBorderColorHot(clRed);
    AddHeaderButton(String(), 20);
    AddHeaderButton(String(), 20);
    for (int i = 0; i < 2; ++i) DropDown->DropDownHeader()->Buttons()->Items(i)->SetHeight(15);
    TAdvHeader* header = Header();
    Connect(header);
    TAdvButton* hot = ButtonOf(header, 0);
    TAdvButton* resting = ButtonOf(header, 1);
    SimulateMouseEnter(hot);

    QImage img = ControlImage(header);
    const int x = hot->Left(), y = hot->Top();
    EXPECT_EQ(Pixel(img, x, y + 5), clRed);
    EXPECT_EQ(Pixel(img, x + hot->Width() - 1, y + 5), clRed);
    EXPECT_EQ(Pixel(img, x + 5, y + 5), clYellow);
    // The resting button paints no face: the strip shows through.
    EXPECT_EQ(Pixel(img, resting->Left() + 5, resting->Top() + 5), clWhite);

    // Disabled: its own colours.
    resting->SetEnabled(false);
    look->SetBorderColorDisabled(clBlue);
    img = ControlImage(header);
    EXPECT_EQ(Pixel(img, resting->Left() + 5, resting->Top() + 5), TColor(0xF2F2F2));
    EXPECT_EQ(Pixel(img, resting->Left(), resting->Top() + 5), clBlue);
}

TEST_F(PopupStrips, StripsWithoutADropDownOrWithOneThatGoes) {
    TAdvFooter* footer = Footer();
    footer->UpdateButtons();
    footer->BuildButtons();
    footer->RefreshButtons();
    footer->ArrangeButtons();
    EXPECT_EQ(footer->Buttons(), nullptr);
    EXPECT_EQ(footer->ButtonList()->Count(), 0);
    EXPECT_FALSE(footer->SizeGripVisible());
    SimulateMouseDown(footer, mbLeft, {}, 195, 18);
    SimulateMouseUp(footer, mbLeft, {}, 195, 18);
    EXPECT_EQ(Popup->Width(), 200);

    AddFooterButton(QStringLiteral("Go"), mrOk);
    Connect(footer);
    EXPECT_EQ(footer->Buttons(), DropDown->DropDownFooter()->Buttons());
    ASSERT_EQ(footer->ButtonList()->Count(), 1);
    TAdvButton* b = ButtonOf(footer, 0);
    EXPECT_EQ(b->AdvDropDown(), DropDown);

    // The appearance's visibility and height reach the strip.
    DropDown->DropDownFooter()->SetHeight(30);
    DropDown->DropDownFooter()->SetVisible(false);
    footer->SetAdvDropDown(DropDown);
    EXPECT_FALSE(footer->Visible());
    EXPECT_EQ(footer->Height(), 30);

    // The drop-down freed under the strip: strip and buttons let go of it and of its button
    // colours, and paint without them.
    FreeAndNil(DropDown);
    EXPECT_EQ(footer->AdvDropDown(), nullptr);
    EXPECT_EQ(b->AdvDropDown(), nullptr);
    EXPECT_EQ(b->Appearance(), nullptr);
    SimulateClick(b, 3, 3);
    footer->Invalidate();
    ControlImage(footer);
    footer->SetAdvDropDown(nullptr);
    EXPECT_EQ(footer->Images(), nullptr);
}
