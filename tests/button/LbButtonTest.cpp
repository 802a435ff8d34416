// The owner-drawn button as a control: properties and presets, clicks by mouse, keyboard, default
// and cancel keys, modal results, popup menus, action images, painting and the hot-track fade.
#include "LbButton.h"

#include "ActnList.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QTimer>

namespace {

// Makes the class library's application once for this test program.
class AppEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (!Application) {
            static int argc = 1;
            static char name[] = "button_tests";
            static char* argv[] = {name, nullptr};
            TApplication::Create(argc, argv);
        }
    }
};
const testing::Environment* const appEnv = testing::AddGlobalTestEnvironment(new AppEnvironment);

// An edit-like control: it wants characters, and counts the keys that reach its key handling.
class TTestEdit : public TWinControl {
public:
    explicit TTestEdit(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }
    std::vector<Word> KeysDown;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
            return;
        }
        TWinControl::Dispatch(Message);
    }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override {
        KeysDown.push_back(Key);
        TWinControl::KeyDown(Key, Shift);
    }
};

// A focusable control whose class name says it is a radio button.
class TTestRadioButton : public TWinControl {
public:
    explicit TTestRadioButton(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }
};

// A shown form with an edit, a radio button and three buttons: OK (default), Cancel (cancel) and
// Other, each counting its clicks.
class ButtonForm : public testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(Application);
        Form->SetBounds(100, 100, 400, 200);
        Edit = new TTestEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 21);
        Radio = new TTestRadioButton(Form);
        Radio->SetParent(Form);
        Radio->SetBounds(10, 40, 120, 21);
        Ok = MakeButton("OK", 10, 120, OkClicks);
        Ok->SetDefault(true);
        Cancel = MakeButton("Cancel", 120, 120, CancelClicks);
        Cancel->SetCancel(true);
        Other = MakeButton("Other", 230, 120, OtherClicks);
        Form->Show();
        ProcessMessagesUntil([this] { return Form->Showing(); });
    }
    void TearDown() override { TObject::Free(Form); }

    TLbButton* MakeButton(const String& Caption, int X, int Y, int& Counter) {
        TLbButton* b = new TLbButton(Form);
        b->SetParent(Form);
        b->SetBounds(X, Y, 100, 23);
        b->SetCaption(Caption);
        b->OnClick = [&Counter](TObject*) { ++Counter; };
        return b;
    }
    void Focus(TWinControl* C) {
        C->SetFocus();
        ASSERT_TRUE(ProcessMessagesUntil([C] { return C->Focused(); }));
    }
    void ResetCounts() { OkClicks = CancelClicks = OtherClicks = 0; }

    TForm* Form = nullptr;
    TTestEdit* Edit = nullptr;
    TTestRadioButton* Radio = nullptr;
    TLbButton *Ok = nullptr, *Cancel = nullptr, *Other = nullptr;
    int OkClicks = 0, CancelClicks = 0, OtherClicks = 0;
};

TColor Pixel(TLbButton* B, int X, int Y) {
    return B->Canvas()->Pixels(X, Y);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Properties and presets

TEST(LbButton, NewButtonState) {
    TForm* form = new TForm(Application);
    auto freeForm = FreeAtEnd(form);
    form->Font()->SetName("Verdana");
    form->Font()->SetHeight(-11);
    TLbButton* b = new TLbButton(form);
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 23);
    EXPECT_TRUE(b->TabStop());
    EXPECT_TRUE(b->HasStyle(csCaptureMouse));
    EXPECT_FALSE(b->HasStyle(csClickEvents));
    EXPECT_FALSE(b->HasStyle(csDoubleClicks));
    EXPECT_EQ(b->Alignment(), taCenter);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    EXPECT_EQ(b->ColorWhenDown(), clNone);
    EXPECT_EQ(b->HotTrackColor(), clNone);
    EXPECT_EQ(b->LightColor(), 0xFFFFFF);
    EXPECT_EQ(b->ShadowColor(), 0x808080);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_EQ(b->Style(), bsNormal);
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_EQ(b->ModalResult(), mrNone);
    EXPECT_TRUE(b->Glyph()->Empty());
    EXPECT_TRUE(b->Caption().isEmpty());
    EXPECT_FALSE(b->Default() || b->Cancel() || b->Flat() || b->WordWrap() || b->SlowDecease() ||
                 b->UseHotTrackFont());
    // The hot-track font copies the owning form's font; other owners give the default font.
    EXPECT_EQ(b->HotTrackFont()->Name(), "Verdana");
    EXPECT_EQ(b->HotTrackFont()->Height(), -11);
    TLbButton* loose = new TLbButton(nullptr);
    auto freeLoose = FreeAtEnd(loose);
    TFont defaultFont;
    EXPECT_EQ(loose->HotTrackFont()->Name(), defaultFont.Name());
    // Every button has its fade thread, suspended.
    ASSERT_NE(b->FadeThread(), nullptr);
    EXPECT_TRUE(b->FadeThread()->Suspended());
}

TEST(LbButton, StandardButtonPresets) {
    struct Case {
        TLbButtonKind Kind;
        TModalResult Result;
        const char* Caption;
        int GlyphHeight;
    } cases[] = {
        {bkOK, mrOk, "OK", 18},
        {bkCancel, mrCancel, "Abbrechen", 18},
        {bkHelp, mrNone, "Hilfe", 18},
        {bkYes, mrYes, "Ja", 18},
        {bkNo, mrNo, "Nein", 18},
        {bkClose, mrNone, "Schließen", 18},
        {bkAbort, mrAbort, "Abbrechen", 18},
        {bkRetry, mrRetry, "Wiederholen", 18},
        {bkIgnore, mrIgnore, "Ignorieren", 18},
        {bkAll, mrAll, "Alle", 19},
    };
    TLbButton* b = new TLbButton(nullptr);
    auto freeB = FreeAtEnd(b);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Caption);
        b->SetKind(c.Kind);
        EXPECT_EQ(b->Kind(), c.Kind);
        EXPECT_EQ(b->ModalResult(), c.Result);
        EXPECT_EQ(b->Caption(), String::fromUtf8(c.Caption));
        EXPECT_EQ(b->NumGlyphs(), 2);
        EXPECT_EQ(b->Glyph()->Width(), 36);
        EXPECT_EQ(b->Glyph()->Height(), c.GlyphHeight);
    }
    // A later modal result makes the button custom again and keeps caption and glyph.
    b->SetKind(bkYes);
    b->SetModalResult(mrOk);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->Caption(), "Ja");
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Glyph()->Width(), 36);
    // bkCustom only stores the kind.
    b->SetKind(bkNo);
    b->SetKind(bkCustom);
    EXPECT_EQ(b->Caption(), "Nein");
    EXPECT_EQ(b->ModalResult(), mrNo);
}

TEST(LbButton, ColorPresets) {
    TLbButton* b = new TLbButton(nullptr);
    auto freeB = FreeAtEnd(b);
    b->SetColorStyle(lcsQuicken);
    EXPECT_EQ(b->Font()->Color(), clWhite);
    EXPECT_EQ(b->Style(), bsQuicken);
    EXPECT_EQ(b->Color(), 0x603000);
    EXPECT_EQ(b->ColorWhenDown(), 0xAD6529);
    EXPECT_EQ(b->HotTrackColor(), 0xCEAE9C);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    // A flat preset, then lcsCustom, which changes nothing; the font colour goes back to black.
    b->SetColorStyle(lcsUltraFlatXP);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Style(), bsNormal);
    EXPECT_EQ(b->Font()->Color(), clBlack);
    EXPECT_EQ(b->ShadowColor(), 0xB59285);
    b->SetColorStyle(lcsCustom);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Color(), 0xD1D8DB);
    b->SetColorStyle(lcsGold);
    EXPECT_FALSE(b->Flat());
    EXPECT_EQ(b->Style(), bsModern);
    EXPECT_EQ(b->LightColor(), 0x00FFFF);
}

// Every preset writes all its values; the style goes straight into the field, so the window keeps
// the extended style it had.
TEST_F(ButtonForm, EveryColorPresetWritesItsValues) {
    struct Case {
        TLbColorStyle Preset;
        TColor Color, Light, Shadow, WhenDown, HotTrack;
        bool Flat;
        TLbButtonStyle Style;
        TColor FontColor;
    } cases[] = {
        {lcsGold, 0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, bsModern, clBlack},
        {lcsChrome, 0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, bsModern, clBlack},
        {lcsBlue, 0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, bsModern, clBlack},
        {lcsRed, 0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, bsModern, clBlack},
        {lcsUltraFlat1, clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal, clBlack},
        {lcsUltraFlat2, clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal, clBlack},
        {lcsUltraFlatXP, 0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, bsNormal, clBlack},
        {lcsAqua, 0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, bsModern, clBlack},
        {lcsDefault, clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, false, bsNormal, clBlack},
        {lcsQuicken, 0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken, clWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Preset));
        // Start from values no preset uses.
        Other->SetStyle(bsEncarta);
        Other->SetColor(0x010203);
        Other->SetFlat(!c.Flat);
        Other->SetColorWhenDown(0x040506);
        Other->SetHotTrackColor(0x070809);
        Other->Font()->SetColor(0x0A0B0C);
        Other->SetColorStyle(c.Preset);
        EXPECT_EQ(Other->Color(), c.Color);
        EXPECT_EQ(Other->LightColor(), c.Light);
        EXPECT_EQ(Other->ShadowColor(), c.Shadow);
        EXPECT_EQ(Other->ColorWhenDown(), c.WhenDown);
        EXPECT_EQ(Other->HotTrackColor(), c.HotTrack);
        EXPECT_EQ(Other->Flat(), c.Flat);
        EXPECT_EQ(Other->Style(), c.Style);
        EXPECT_EQ(Other->Font()->Color(), c.FontColor);
        EXPECT_EQ(Other->ColorStyle(), lcsCustom);
        EXPECT_EQ(Other->WindowExStyle(), 0u);
    }
}

TEST(LbButton, GlyphSetsFrameCount) {
    struct Case {
        int W, H, Frames;
    } cases[] = {{72, 18, 4}, {36, 18, 2}, {18, 18, 1}, {40, 18, 2}, {36, 0, 0}};
    TLbButton* b = new TLbButton(nullptr);
    auto freeB = FreeAtEnd(b);
    for (const Case& c : cases) {
        b->SetKind(bkOK);
        TBitmap* g = new TBitmap(c.W, c.H);
        auto freeG = FreeAtEnd(g);
        b->SetGlyph(g);
        EXPECT_EQ(b->NumGlyphs(), c.Frames) << c.W << " x " << c.H;
        EXPECT_EQ(b->Kind(), bkCustom);
    }
    b->SetKind(bkOK);
    b->SetGlyph(nullptr);
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_EQ(b->Glyph()->Height(), 0);
    EXPECT_EQ(b->Kind(), bkCustom);
}

TEST(LbButton, ActionImageFillsAnEmptyGlyph) {
    TForm* form = new TForm(Application);
    auto freeForm = FreeAtEnd(form);
    TImageList* images = new TImageList(form, 16, 16);
    TBitmap* pic = new TBitmap(16, 16);
    auto freePic = FreeAtEnd(pic);
    pic->Canvas()->Brush()->SetColor(clRed);
    pic->Canvas()->FillRect(TRect(0, 0, 16, 16));
    images->Add(pic, nullptr);
    TActionList* list = new TActionList(form);
    list->SetImages(images);
    struct Case {
        int ImageIndex;
        bool HasGlyph, Expect;
    } cases[] = {{0, false, true}, {1, false, false}, {-1, false, false}, {0, true, false}};
    for (const Case& c : cases) {
        TAction* action = new TAction(form);
        action->SetActionList(list);
        action->SetImageIndex(c.ImageIndex);
        TLbButton* b = new TLbButton(form);
        if (c.HasGlyph) b->SetKind(bkOK);
        b->SetAction(action);
        SCOPED_TRACE(c.ImageIndex);
        if (c.Expect) {
            EXPECT_EQ(b->Glyph()->Width(), 16);
            EXPECT_EQ(b->NumGlyphs(), 1);
            EXPECT_EQ(b->Glyph()->Canvas()->Pixels(8, 8), clRed);
        } else {
            EXPECT_EQ(b->Glyph()->Width(), c.HasGlyph ? 36 : 0);
            EXPECT_EQ(b->NumGlyphs(), c.HasGlyph ? 2 : 0);
        }
        TObject::Free(b);
        TObject::Free(action);
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

TEST_F(ButtonForm, ReleaseClicksWhereverThePointerIs) {
    SimulateMouseDown(Other, mbLeft, {}, 10, 10);
    EXPECT_TRUE(Other->Down());
    EXPECT_TRUE(Other->Focused());
    SimulateMouseMove(Other, {ssLeft}, 300, -80);
    SimulateMouseUp(Other, mbLeft, {}, 300, -80);
    EXPECT_EQ(OtherClicks, 1);
    EXPECT_FALSE(Other->Down());
}

TEST_F(ButtonForm, RightButtonRules) {
    SimulateClick(Other, 10, 10, mbRight);
    EXPECT_EQ(OtherClicks, 0);
    EXPECT_FALSE(Other->Down());
    // Released after the left button pressed it, the right button clicks; the left release then
    // finds the button up and does nothing more.
    SimulateMouseDown(Other, mbLeft, {}, 10, 10);
    SimulateMouseUp(Other, mbRight, {ssLeft}, 10, 10);
    EXPECT_EQ(OtherClicks, 1);
    SimulateMouseUp(Other, mbLeft, {}, 10, 10);
    EXPECT_EQ(OtherClicks, 1);
}

TEST_F(ButtonForm, DisabledButtonIgnoresTheMouse) {
    Other->SetEnabled(false);
    SimulateClick(Other, 10, 10);
    EXPECT_EQ(OtherClicks, 0);
    EXPECT_FALSE(Other->Down());
}

// ---------------------------------------------------------------------------------------------
// Keyboard

TEST_F(ButtonForm, EnterAndEscRouting) {
    struct Case {
        const char* Name;
        int Focus; // 0 edit, 1 radio, 2 Other, 3 Cancel
        Word Key;
        TShiftState Shift;
        int Ok, Cancel, Other;
    } cases[] = {
        {"Enter in the edit clicks the default", 0, VK_RETURN, {}, 1, 0, 0},
        {"Enter on a radio button clicks the default", 1, VK_RETURN, {}, 1, 0, 0},
        {"Enter on another button clicks that one", 2, VK_RETURN, {}, 0, 0, 1},
        {"Shift+Enter still clicks the default", 0, VK_RETURN, {ssShift}, 1, 0, 0},
        {"Esc in the edit clicks the cancel button", 0, VK_ESCAPE, {}, 0, 1, 0},
        {"Shift+Esc does not", 0, VK_ESCAPE, {ssShift}, 0, 0, 0},
        {"Ctrl+Esc does not", 0, VK_ESCAPE, {ssCtrl}, 0, 0, 0},
        {"Esc on a button is left to the form", 2, VK_ESCAPE, {}, 0, 0, 0},
        {"Esc on the cancel button itself too", 3, VK_ESCAPE, {}, 0, 0, 0},
        {"Space on a button clicks it", 2, VK_SPACE, {}, 0, 0, 1},
    };
    TWinControl* targets[] = {Edit, Radio, Other, Cancel};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ResetCounts();
        Focus(targets[c.Focus]);
        SimulateKey(nullptr, c.Key, c.Shift);
        EXPECT_EQ(OkClicks, c.Ok);
        EXPECT_EQ(CancelClicks, c.Cancel);
        EXPECT_EQ(OtherClicks, c.Other);
        EXPECT_FALSE(Ok->Down() || Cancel->Down() || Other->Down());
    }
}

TEST_F(ButtonForm, DisabledDefaultSwallowsEnterAndDisabledCancelLeavesEsc) {
    Ok->SetEnabled(false);
    Cancel->SetEnabled(false);
    Focus(Edit);
    SimulateKey(nullptr, VK_RETURN);
    SimulateKey(nullptr, VK_ESCAPE);
    EXPECT_EQ(OkClicks, 0);
    EXPECT_EQ(CancelClicks, 0);
    // Enter was taken by the default button; Esc went on to the edit.
    EXPECT_EQ(Edit->KeysDown, std::vector<Word>{VK_ESCAPE});
    EXPECT_FALSE(Ok->Down());
    // Without a default button Enter reaches the edit.
    Ok->SetDefault(false);
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(Edit->KeysDown, (std::vector<Word>{VK_ESCAPE, VK_RETURN}));
}

TEST_F(ButtonForm, HiddenDefaultTakesEnterWithoutClickingOrStayingDown) {
    Ok->SetVisible(false);
    Focus(Edit);
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(OkClicks, 0);
    EXPECT_TRUE(Edit->KeysDown.empty());
    Ok->SetVisible(true);
    EXPECT_FALSE(Ok->Down());
}

TEST_F(ButtonForm, AcceleratorClicks) {
    Other->SetCaption("&Weiter");
    Focus(Edit);
    TMessage m(CM_DIALOGCHAR, 'W');
    Other->Perform(m);
    EXPECT_EQ(m.Result, 1);
    EXPECT_EQ(OtherClicks, 1);
    TMessage n(CM_DIALOGCHAR, 'X');
    Other->Perform(n);
    EXPECT_EQ(n.Result, 0);
    EXPECT_EQ(OtherClicks, 1);
    // A hidden button does not answer to its accelerator.
    Other->SetVisible(false);
    TMessage h(CM_DIALOGCHAR, 'W');
    Other->Perform(h);
    EXPECT_EQ(OtherClicks, 1);
}

TEST(LbButton, DialogKeyWithoutOwningFormIsTaken) {
    TForm* host = new TForm(nullptr);
    auto freeHost = FreeAtEnd(host);
    TLbButton* b = new TLbButton(nullptr);
    auto freeB = FreeAtEnd(b);
    b->SetParent(host);
    b->SetDefault(true);
    int clicks = 0;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    EXPECT_EQ(b->FindOwnerForm(), nullptr);
    EXPECT_EQ(b->Perform(CM_DIALOGKEY, VK_RETURN), 1);
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------------------------
// Click results

TEST(LbButton, ModalResultClosesTheModalFormAfterOnClick) {
    TForm* form = new TForm(Application);
    auto freeForm = FreeAtEnd(form);
    form->SetBounds(100, 100, 300, 150);
    TLbButton* b = new TLbButton(form);
    b->SetParent(form);
    b->SetModalResult(mrCancel);
    TModalResult seenInOnClick = -1;
    b->OnClick = [&](TObject*) { seenInOnClick = form->ModalResult(); };
    PostCall([b] { SimulateClick(b, 10, 10); });
    // A guard that ends the loop should the click go astray.
    QTimer::singleShot(20000, [form] { form->SetModalResult(mrAbort); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(seenInOnClick, mrNone);
}

TEST_F(ButtonForm, PopupMenuOpensBelowTheButtonAfterOnClick) {
    TPopupMenu* menu = new TPopupMenu(Form);
    Other->SetPopupMenu(menu);
    TPoint at(-1, -1);
    int clicksAtPopup = -1;
    TPopupMenu::PopupHook = [&](TPopupMenu*, int X, int Y) {
        at = TPoint(X, Y);
        clicksAtPopup = OtherClicks;
    };
    SimulateClick(Other, 5, 5);
    TPopupMenu::PopupHook = nullptr;
    EXPECT_EQ(at, Other->ClientToScreen(TPoint(0, 23)));
    EXPECT_EQ(clicksAtPopup, 1);
    // The face shows the popup mark.
    Other->Paint();
    EXPECT_EQ(Pixel(Other, 89, 10), clBlack);
}

// ---------------------------------------------------------------------------------------------
// Painting

TEST_F(ButtonForm, EncartaFaceFollowsThePointerAndThePress) {
    Other->SetStyle(bsEncarta);
    Other->SetColor(0xEDF7F8);
    Other->SetLightColor(clGray);
    Other->SetColorWhenDown(0x0080FF);
    Other->SetHotTrackColor(clYellow);
    int enters = 0, exits = 0;
    Other->OnMouseEnter = [&enters](TObject*) { ++enters; };
    Other->OnMouseExit = [&exits](TObject*) { ++exits; };
    Focus(Edit);
    Other->Paint();
    EXPECT_EQ(Pixel(Other, 2, 2), 0xEDF7F8);
    SimulateMouseEnter(Other);
    EXPECT_TRUE(Other->CursorOnButton());
    EXPECT_EQ(Pixel(Other, 2, 2), clYellow);
    SimulateMouseDown(Other, mbLeft, {}, 10, 10);
    EXPECT_EQ(Pixel(Other, 2, 2), 0x0080FF);
    SimulateMouseUp(Other, mbLeft, {}, 10, 10);
    SimulateMouseLeave(Other);
    EXPECT_EQ(Pixel(Other, 2, 2), 0xEDF7F8);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);
    // A disabled button neither lights up nor reports the pointer.
    Other->SetEnabled(false);
    SimulateMouseEnter(Other);
    EXPECT_FALSE(Other->CursorOnButton());
    SimulateMouseLeave(Other);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(Pixel(Other, 2, 2), 0xEDF7F8);
}

TEST_F(ButtonForm, HotTrackFontWhileHot) {
    Other->SetCaption("Wiederholen");
    Other->SetHotTrackColor(clNone);
    TFont* big = new TFont;
    big->SetName(Other->Font()->Name());
    big->SetHeight(-16);
    big->SetStyle({fsBold});
    Other->SetHotTrackFont(big);
    TObject::Free(big);
    Focus(Edit);
    auto ink = [this] {
        int n = 0;
        for (int y = 2; y < 21; ++y)
            for (int x = 2; x < 98; ++x) n += Pixel(Other, x, y) != ColorToRGB(clBtnFace);
        return n;
    };
    Other->Paint();
    const int rest = ink();
    SimulateMouseEnter(Other);
    EXPECT_EQ(ink(), rest); // UseHotTrackFont is off
    SimulateMouseLeave(Other);
    Other->SetUseHotTrackFont(true);
    SimulateMouseEnter(Other);
    EXPECT_GT(ink(), rest + 20);
    SimulateMouseLeave(Other);
    EXPECT_EQ(ink(), rest);
}

TEST_F(ButtonForm, SettersPaintAtOnce) {
    Focus(Edit);
    Other->Paint();
    EXPECT_EQ(Pixel(Other, 0, 5), clWhite);
    Other->SetFlat(true); // no bevel at rest, without waiting for a paint of the window
    EXPECT_EQ(Pixel(Other, 0, 5), ColorToRGB(clBtnFace));
    Other->SetFlat(false);
    Other->SetLightColor(clRed);
    EXPECT_EQ(Pixel(Other, 0, 5), clRed);
}

TEST_F(ButtonForm, FocusRectangleFourPixelsInsideButNotOnShapes) {
    Other->SetHotTrackColor(clNone);
    struct Case {
        TLbButtonStyle Style;
        bool Rect;
    } cases[] = {{bsNormal, true}, {bsEncarta, true}, {bsShape, false}};
    for (const Case& c : cases) {
        Other->SetStyle(c.Style);
        Focus(Other);
        Other->Paint();
        int inverted = 0;
        const TColor face = c.Style == bsShape ? Pixel(Other, 50, 3) : ColorToRGB(clBtnFace);
        for (int x = 4; x < 96; ++x) {
            inverted += Pixel(Other, x, 4) != face;
            EXPECT_EQ(Pixel(Other, x, 3), face);
        }
        for (int y = 5; y < 18; ++y) inverted += Pixel(Other, 4, y) != face;
        EXPECT_EQ(inverted > 40, c.Rect) << int(c.Style);
        Focus(Edit);
        Other->Paint();
        for (int x = 4; x < 96; ++x) EXPECT_EQ(Pixel(Other, x, 4), face);
    }
}

// A focus change repaints the buttons at the next paint of the shown form, with no Paint call of
// the caller's: the focus rectangle comes and goes by the event loop alone.
TEST_F(ButtonForm, FocusChangeShowsAtTheNextPaint) {
    Other->SetHotTrackColor(clNone);
    const TColor face = ColorToRGB(clBtnFace);
    auto rectangleShown = [&] {
        int inverted = 0;
        for (int x = 4; x < 96; ++x) inverted += Pixel(Other, x, 4) != face;
        return inverted > 40;
    };
    Focus(Other);
    EXPECT_TRUE(ProcessMessagesUntil(rectangleShown));
    Focus(Edit);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return !rectangleShown(); }));
}

TEST_F(ButtonForm, OldStyleFocusedDrawsBlackFrameAroundShiftedFace) {
    Other->SetStyle(bsOld);
    Focus(Other);
    Other->Paint();
    EXPECT_EQ(Pixel(Other, 0, 10), clBlack);
    EXPECT_EQ(Pixel(Other, 99, 10), clBlack);
    EXPECT_EQ(Pixel(Other, 50, 0), clBlack);
    EXPECT_EQ(Pixel(Other, 50, 22), clBlack);
    // The face's light top line, shifted one pixel down and right.
    EXPECT_EQ(Pixel(Other, 50, 1), clWhite);
    Focus(Edit);
    Other->Paint();
    EXPECT_EQ(Pixel(Other, 50, 0), clWhite);
}

TEST_F(ButtonForm, StyleSetsTheTransparentWindowStyle) {
    for (TLbButtonStyle s : {bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken}) {
        Other->SetStyle(s);
        const bool transparent = s == bsModern || s == bsShape || s == bsQuicken;
        EXPECT_EQ(Other->WindowExStyle(), transparent ? WS_EX_TRANSPARENT : 0u) << int(s);
        // Where the face leaves the key colour the parent shows through.
        Other->Paint();
        EXPECT_EQ(Other->BackImage().pixelColor(0, 0).alpha(), transparent ? 0 : 255) << int(s);
    }
}

// ---------------------------------------------------------------------------------------------
// Hot-track fade and the thread's life

TEST_F(ButtonForm, SlowDeceaseFadesBackAndSuspendsTheThread) {
    Other->SetColor(0x000000);
    Other->SetHotTrackColor(0xFFFFFF);
    Other->SetSlowDecease(true);
    Focus(Edit);
    SimulateMouseEnter(Other);
    EXPECT_EQ(Other->HotTrackStep(), 8);
    EXPECT_EQ(Pixel(Other, 2, 2), 0xFFFFFF);
    SimulateMouseLeave(Other);
    ASSERT_NE(Other->FadeThread(), nullptr);
    EXPECT_FALSE(Other->FadeThread()->Suspended());
    // Some step on the way is neither the start nor the end colour.
    bool between = false;
    const bool done = ProcessMessagesUntil([&] {
        const TColor c = Pixel(Other, 2, 2);
        between = between || (c != 0xFFFFFF && c != 0x000000);
        return Other->HotTrackStep() == 0 && Other->FadeThread()->Suspended();
    });
    ASSERT_TRUE(done);
    EXPECT_TRUE(between);
    EXPECT_EQ(Pixel(Other, 2, 2), 0x000000);
    // A second leave fades again from a new enter.
    SimulateMouseEnter(Other);
    SimulateMouseLeave(Other);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return Other->FadeThread()->Suspended(); }));
    EXPECT_EQ(Pixel(Other, 2, 2), 0x000000);
}

TEST_F(ButtonForm, LeavingWithoutSlowDeceaseDropsTheHotColourAtOnce) {
    Other->SetHotTrackColor(clYellow);
    SimulateMouseEnter(Other);
    SimulateMouseLeave(Other);
    EXPECT_EQ(Other->HotTrackStep(), 0);
    EXPECT_EQ(Pixel(Other, 2, 2), ColorToRGB(clBtnFace));
}

TEST_F(ButtonForm, StoppingAndFreeingThreadsInEveryState) {
    // Running: the fade is under way when SlowDecease goes off.
    Other->SetSlowDecease(true);
    SimulateMouseEnter(Other);
    SimulateMouseLeave(Other);
    Other->SetSlowDecease(false);
    EXPECT_EQ(Other->FadeThread(), nullptr);
    EXPECT_EQ(Other->HotTrackStep(), 0);
    Other->SetSlowDecease(true);
    EXPECT_NE(Other->FadeThread(), nullptr);

    // Buttons freed with a never-started, a suspended (after a fade) and a running thread.
    TLbButton* idle = new TLbButton(Form);
    idle->SetParent(Form);
    TLbButton* faded = new TLbButton(Form);
    faded->SetParent(Form);
    faded->SetSlowDecease(true);
    SimulateMouseEnter(faded);
    SimulateMouseLeave(faded);
    ASSERT_TRUE(ProcessMessagesUntil([faded] { return faded->FadeThread()->Suspended(); }));
    TLbButton* running = new TLbButton(Form);
    running->SetParent(Form);
    running->SetBounds(10, 150, 100, 23);
    running->SetSlowDecease(true);
    SimulateMouseEnter(running);
    SimulateMouseLeave(running);
    EXPECT_FALSE(running->FadeThread()->Suspended());
    TObject::Free(running);
    TObject::Free(idle);
    TObject::Free(faded);
    // The rest go with the form (TearDown), Other with a running thread.
    SimulateMouseEnter(Other);
    SimulateMouseLeave(Other);
}
