// Windows that are not forms: WS_POPUP windows as frameless top-level windows (tool window,
// topmost, disabled, shown with or without activation), shaped by regions, layered pictures with
// per-pixel alpha, and the window and control under a screen point; the regions themselves.
#include "Forms.h"
#include "OSInfo.h"
#include "WindowImage.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The arrow window of the grid's moving visuals: a popup shaped by a seven-point polygon (winding
// fill), filled with its colour.
class TArrowProbe : public TCustomControl {
public:
    TArrowProbe(TComponent* AOwner, std::vector<TPoint> APoints)
        : TCustomControl(AOwner), Points(std::move(APoints)) {
        SetColor(clLime);
        SetVisible(false);
    }
    std::vector<TPoint> Points;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP;
    }
    void CreateWnd() override {
        TCustomControl::CreateWnd();
        SetWindowRgn(Handle(), CreatePolygonRgn(Points, WINDING), true);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A popup window with the styles given (the focus window: popup and disabled, tool window and
// topmost).
class TPopupProbe : public TCustomControl {
public:
    TPopupProbe(TComponent* AOwner, DWORD AStyle, DWORD AExStyle)
        : TCustomControl(AOwner), Style(AStyle), ExStyle(AExStyle) {
        SetVisible(false);
        SetColor(clRed);
    }
    DWORD Style, ExStyle;
    int Presses = 0;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = Style;
        Params.ExStyle = ExStyle;
    }
    void MouseDown(TMouseButton, TShiftState, int, int) override { ++Presses; }
};

class TFocusable : public TCustomControl {
public:
    explicit TFocusable(TComponent* AOwner) : TCustomControl(AOwner) {
        SetTabStop(true);
        SetBounds(10, 10, 60, 30);
    }
};

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 320, 240);
        Form->SetColor(clWhite);
        Edit = new TFocusable(Form);
        Edit->SetParent(Form);
        Form->Show();
        Edit->SetFocus();
    }
    void TearDown() override { TObject::Free(Form); }

    static QImage Shown(TWinControl* C) { return ShownWindowImage(C); }

    TForm* Form = nullptr;
    TFocusable* Edit = nullptr;
};

TEST_F(PopupTest, AnArrowShapedPopupOnPixels) {
    auto* arrow = new TArrowProbe(Form, {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
    arrow->SetParent(Edit); // a popup belongs to its parent but is a window of its own
    arrow->SetBounds(400, 300, 11, 10);
    EXPECT_FALSE(arrow->Widget()->window()->isVisible());
    arrow->Show();
    QWidget* top = arrow->Widget()->window();
    EXPECT_TRUE(top->isVisible());
    EXPECT_NE(top, Form->Widget());
    EXPECT_TRUE(top->windowFlags() & Qt::FramelessWindowHint);
    // Its bounds are screen coordinates.
    EXPECT_EQ(top->geometry(), QRect(400, 300, 11, 10));
    TRect r;
    ASSERT_TRUE(GetWindowRect(arrow->Handle(), r));
    EXPECT_EQ(r, Rect(400, 300, 411, 310));
    EXPECT_EQ(arrow->ClientOrigin(), TPoint(400, 300));
    // Shown without taking the activation or the focus.
    EXPECT_EQ(Screen->ActiveForm(), Form);
    EXPECT_EQ(GetFocus(), Edit->Handle());

    const QImage img = Shown(arrow);
    auto green = [&](int X, int Y) { return img.pixel(X, Y) == qRgb(0, 255, 0); };
    auto clear = [&](int X, int Y) { return qAlpha(img.pixel(X, Y)) == 0; };
    EXPECT_TRUE(clear(5, 0)); // the polygon's pixels: its top point and bottom edge stay out
    EXPECT_TRUE(green(5, 1)); // the head
    EXPECT_TRUE(green(5, 4));
    EXPECT_TRUE(green(4, 8)); // the shaft
    EXPECT_TRUE(clear(1, 1)); // beside the head
    EXPECT_TRUE(clear(9, 2));
    EXPECT_TRUE(clear(1, 8)); // beside the shaft
    EXPECT_TRUE(clear(9, 8));
    EXPECT_TRUE(clear(5, 9));

    // The window keeps the region; a copy can be read back.
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(arrow->Handle(), copy), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(copy, 5, 2));
    EXPECT_FALSE(PtInRegion(copy, 1, 8));
    EXPECT_TRUE(DeleteObject(copy));
    arrow->Hide();
    EXPECT_FALSE(top->isVisible());
}

TEST_F(PopupTest, TheLeftArrowHasItsTipOnTheRight) {
    auto* arrow = new TArrowProbe(Form, {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}});
    arrow->SetBounds(400, 300, 9, 11);
    arrow->Show();
    const QImage img = Shown(arrow);
    EXPECT_EQ(img.pixel(6, 5), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(img.pixel(6, 1)), 0);
    EXPECT_EQ(img.pixel(1, 5), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0);
    TObject::Free(arrow);
}

TEST_F(PopupTest, ARingShapedByExclusiveOr) {
    auto* ring = new TPopupProbe(Form, WS_POPUP, 0);
    ring->SetBounds(50, 50, 20, 20);
    HRGN outer = CreateRectRgn(0, 0, 20, 20), inner = CreateRectRgn(4, 4, 16, 16);
    EXPECT_EQ(CombineRgn(outer, outer, inner, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(DeleteObject(inner));
    EXPECT_EQ(SetWindowRgn(ring->Handle(), outer, true), 1);
    EXPECT_FALSE(DeleteObject(outer)); // the window owns it now
    ring->Show();
    const QImage img = Shown(ring);
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(17, 10), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(img.pixel(4, 4)), 0);
    // No region: the whole window again.
    EXPECT_EQ(SetWindowRgn(ring->Handle(), nullptr, true), 1);
    EXPECT_EQ(Shown(ring).pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(SetWindowRgn(987654, nullptr, true), 0);
}

TEST_F(PopupTest, AToolWindowTopmostAndDisabledShownWithoutActivation) {
    auto* w = new TPopupProbe(Form, WS_POPUP | WS_DISABLED, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    w->SetBounds(130, 130, 40, 20);
    EXPECT_FALSE(ShowWindow(w->Handle(), SW_SHOWNOACTIVATE));
    QWidget* top = w->Widget()->window();
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(top->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(top->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(top->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(Screen->ActiveForm(), Form);
    EXPECT_EQ(GetFocus(), Edit->Handle());
    // Disabled: it takes no input, though the control itself is enabled.
    EXPECT_TRUE(w->Enabled());
    EXPECT_FALSE(IsWindowEnabled(w->Handle()));
    EXPECT_FALSE(w->Widget()->isEnabled());
    SimulateClick(w, 5, 5);
    EXPECT_EQ(w->Presses, 0);
}

TEST_F(PopupTest, ShowingWithActivationTakesItFromTheForm) {
    int deactivated = 0;
    Form->OnDeactivate = [&](TObject*) { ++deactivated; };
    auto* w = new TPopupProbe(Form, WS_POPUP, 0);
    w->SetBounds(130, 130, 40, 20);
    ShowWindow(w->Handle(), SW_SHOW);
    EXPECT_EQ(deactivated, 1);
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
    EXPECT_EQ(GetFocus(), w->Handle());
    // Clicking the form activates it again.
    SimulateClick(Form, 200, 150);
    EXPECT_EQ(Screen->ActiveForm(), Form);
    Form->OnDeactivate = nullptr;
}

TEST_F(PopupTest, ALayeredPictureWithPerPixelAlpha) {
    auto* w = new TPopupProbe(Form, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    w->SetBounds(0, 0, 10, 10);
    ShowWindow(w->Handle(), SW_SHOWNOACTIVATE);
    SetWindowLong(w->Handle(), GWL_EXSTYLE, GetWindowLong(w->Handle(), GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
    // Premultiplied blue, green, red, alpha bytes.
    TBitmap src;
    src.SetPixelFormat(pf32bit);
    src.SetSize(4, 1);
    const Byte pixels[4][4] = {{100, 50, 25, 128}, {0, 0, 0, 0}, {255, 255, 255, 255}, {10, 10, 200, 100}};
    std::copy(&pixels[0][0], &pixels[0][0] + 16, src.ScanLine(0));
    TPoint at(140, 120), from(0, 0);
    TSize size{4, 1};
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    // Bound by name from the system library, as the drawing routines do.
    const auto UpdateLayeredWindow = reinterpret_cast<TUpdateLayeredWindow>(
        GetProcAddress(GetModuleHandle(QStringLiteral("USER32.DLL")), "UpdateLayeredWindow"));
    ASSERT_TRUE(UpdateLayeredWindow);
    ASSERT_TRUE(
        UpdateLayeredWindow(w->Handle(), nullptr, &at, &size, src.Canvas(), &from, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(w->BoundsRect(), Bounds(140, 120, 4, 1));
    auto premultiplied = [&](int X) {
        const QImage img = Shown(w);
        return reinterpret_cast<const QRgb*>(img.constScanLine(0))[X];
    };
    EXPECT_EQ(premultiplied(0), qRgba(25, 50, 100, 128));
    EXPECT_EQ(premultiplied(1), qRgba(0, 0, 0, 0));
    EXPECT_EQ(premultiplied(2), qRgba(255, 255, 255, 255));
    EXPECT_EQ(premultiplied(3), qRgba(100, 10, 10, 100)); // a colour above its alpha is cut
    // The window's own painting does not cover the picture.
    w->Repaint();
    EXPECT_EQ(premultiplied(0), qRgba(25, 50, 100, 128));
    // The constant alpha scales it all.
    blend.SourceConstantAlpha = 128;
    UpdateLayeredWindow(w->Handle(), nullptr, nullptr, nullptr, src.Canvas(), &from, 0, &blend, ULW_ALPHA);
    EXPECT_EQ(premultiplied(2), qRgba(128, 128, 128, 128));
    EXPECT_EQ(qAlpha(premultiplied(0)), 64);
    // Without per-pixel alpha the source is opaque.
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = 0;
    UpdateLayeredWindow(w->Handle(), nullptr, nullptr, nullptr, src.Canvas(), &from, 0, &blend, ULW_ALPHA);
    EXPECT_EQ(qAlpha(premultiplied(1)), 255);
}

TEST_F(PopupTest, TheWindowAndControlUnderAPoint) {
    auto* g = new TGraphicControl(Form);
    g->SetParent(Edit);
    g->SetBounds(5, 5, 10, 10);
    const TPoint onEdit = Edit->ClientToScreen(TPoint(30, 20));
    const TPoint onGraphic = Edit->ClientToScreen(TPoint(7, 7));
    const TPoint onForm = Form->ClientToScreen(TPoint(200, 150));
    EXPECT_EQ(WindowFromPoint(onEdit), Edit->Handle());
    EXPECT_EQ(FindVCLWindow(onEdit), Edit);
    EXPECT_EQ(FindDragTarget(onEdit, false), Edit);
    EXPECT_EQ(FindDragTarget(onGraphic, false), g);
    EXPECT_EQ(WindowFromPoint(onForm), Form->Handle());
    EXPECT_EQ(WindowFromPoint(TPoint(-5000, -5000)), HWND(0));
    // A disabled window is passed over: its parent is there.
    Edit->SetEnabled(false);
    EXPECT_EQ(WindowFromPoint(onEdit), Form->Handle());
    EXPECT_EQ(FindDragTarget(onGraphic, true), Form);
    Edit->SetEnabled(true);
    // A popup over the control is there; a disabled one lets the point through.
    auto* over = new TPopupProbe(Form, WS_POPUP, WS_EX_TOPMOST);
    over->SetBounds(onEdit.X - 5, onEdit.Y - 5, 10, 10);
    ShowWindow(over->Handle(), SW_SHOWNA);
    EXPECT_EQ(WindowFromPoint(onEdit), over->Handle());
    SetWindowLong(over->Handle(), GWL_STYLE, LONG(WS_POPUP | WS_DISABLED));
    EXPECT_EQ(WindowFromPoint(onEdit), Edit->Handle());
}

// ---------------------------------------------------------------------------------------------
// Regions

TEST(Regions, CombiningAndTheirTypes) {
    struct TCase {
        int Mode;
        int Type;
        TPoint In, Out;
    };
    const TCase cases[] = {
        {RGN_AND, SIMPLEREGION, {6, 6}, {2, 2}},    {RGN_OR, COMPLEXREGION, {2, 2}, {12, 2}},
        {RGN_XOR, COMPLEXREGION, {2, 2}, {6, 6}},   {RGN_DIFF, COMPLEXREGION, {2, 2}, {6, 6}},
        {RGN_COPY, SIMPLEREGION, {2, 2}, {12, 12}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Mode);
        HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(d, a, b, c.Mode), c.Type);
        EXPECT_TRUE(PtInRegion(d, c.In.X, c.In.Y));
        EXPECT_FALSE(PtInRegion(d, c.Out.X, c.Out.Y));
        for (HRGN r : {a, b, d}) EXPECT_TRUE(DeleteObject(r));
    }
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    EXPECT_FALSE(PtInRegion(a, 10, 5)); // right and bottom edges are left out
    TRect box;
    EXPECT_EQ(GetRgnBox(a, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(a, 12, 12));
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_FALSE(DeleteObject(a)); // a second delete does nothing
    EXPECT_EQ(CombineRgn(a, a, a, RGN_OR), RGN_ERROR);
    EXPECT_FALSE(PtInRegion(a, 1, 1));
}

TEST(Regions, WindingAndAlternateFillOfAStar) {
    const std::vector<TPoint> star = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    HRGN winding = CreatePolygonRgn(star, WINDING), alternate = CreatePolygonRgn(star, ALTERNATE);
    EXPECT_TRUE(PtInRegion(winding, 50, 50)); // the centre is wound twice
    EXPECT_FALSE(PtInRegion(alternate, 50, 50));
    EXPECT_TRUE(PtInRegion(alternate, 50, 10)); // a point of the star
    DeleteObject(winding);
    DeleteObject(alternate);
}

TEST(Regions, EllipsesAndRoundedRectangles) {
    struct TCase {
        const char* Name;
        HRGN Region;
        std::vector<TPoint> In, Out;
    };
    const TCase cases[] = {
        // A 100 x 100 circle: the centre and the middles of its sides in, the corners out.
        {"ellipse",
         CreateEllipticRgn(0, 0, 100, 100),
         {{50, 50}, {50, 1}, {1, 50}, {98, 50}, {50, 98}},
         {{2, 2}, {97, 2}, {2, 97}, {97, 97}, {100, 50}, {50, 100}}},
        {"flat ellipse",
         CreateEllipticRgnIndirect(Rect(10, 20, 70, 40)),
         {{40, 30}, {12, 30}},
         {{40, 19}, {12, 21}, {70, 30}}},
        // 20 x 20 corners: the corner pixel is out, the edges' middles and just inside the bend in.
        {"rounded",
         CreateRoundRectRgn(0, 0, 60, 40, 20, 20),
         {{0, 20}, {30, 0}, {59, 20}, {30, 39}, {5, 5}},
         {{0, 0}, {59, 0}, {0, 39}, {59, 39}, {60, 20}, {1, 1}}},
        // Corners larger than the rectangle are the ellipse.
        {"round beyond", CreateRoundRectRgn(0, 0, 50, 50, 200, 200), {{25, 25}}, {{2, 2}, {47, 47}}},
        // Mirrored corners are put in order; an empty rectangle holds nothing.
        {"mirrored", CreateEllipticRgn(100, 100, 0, 0), {{50, 50}}, {{2, 2}}},
        {"empty", CreateEllipticRgn(5, 5, 5, 30), {}, {{5, 10}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (const TPoint& p : c.In) EXPECT_TRUE(PtInRegion(c.Region, p.X, p.Y)) << p.X << "," << p.Y;
        for (const TPoint& p : c.Out) EXPECT_FALSE(PtInRegion(c.Region, p.X, p.Y)) << p.X << "," << p.Y;
        EXPECT_TRUE(DeleteObject(c.Region));
    }
}

TEST(Regions, AClipRegionOnACanvas) {
    TBitmap bmp;
    bmp.SetSize(20, 20);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
    HRGN r = CreateRectRgn(5, 5, 10, 10);
    EXPECT_EQ(SelectClipRgn(bmp.Canvas(), r), SIMPLEREGION);
    DeleteObject(r); // the canvas keeps its own copy
    bmp.Canvas()->Brush()->SetColor(clBlack);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(bmp.Canvas()->Pixels(7, 7), clBlack);
    EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), clWhite);
    EXPECT_EQ(SelectClipRgn(bmp.Canvas(), nullptr), SIMPLEREGION);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), clBlack);
}

} // namespace
