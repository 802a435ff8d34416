// The non-client area of windowed controls: the border of BorderStyle and the window scroll bars
// outside the client area, WM_NCPAINT after the default frame with a window device context, and
// PaintTo with frame and bars.
#include "Forms.h"

#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A control whose border and bars come from its settings; its WM_NCPAINT handler may draw a red
// line over the top of the window through a window device context after the default frame.
class TFramedProbe : public TCustomControl {
public:
    TFramedProbe(TComponent* AOwner, TBorderStyle ABorder, DWORD AStyle, DWORD AExStyle = 0)
        : TCustomControl(AOwner), Border(ABorder), Style(AStyle), ExStyle(AExStyle) {
        SetBounds(10, 20, 80, 60);
    }
    TBorderStyle Border;
    DWORD Style;
    DWORD ExStyle;
    bool DrawOwnLine = false;
    std::vector<TColor> LeftEdgeAroundInherited; // the message DC's pixel (0, 10) before and after

    void Dispatch(TMessage& Message) override {
        if (Message.Msg != WM_NCPAINT) {
            TCustomControl::Dispatch(Message);
            return;
        }
        TWMNCPaint m(Message);
        LeftEdgeAroundInherited.push_back(m.DC() ? m.DC()->Pixels(0, 10) : clNone);
        TCustomControl::Dispatch(Message); // inherited: the default frame
        LeftEdgeAroundInherited.push_back(m.DC() ? m.DC()->Pixels(0, 10) : clNone);
        if (DrawOwnLine) {
            HDC dc = GetWindowDC(Handle());
            dc->Pen()->SetColor(clRed);
            dc->MoveTo(0, 0);
            dc->LineTo(Width(), 0);
            ReleaseDC(Handle(), dc);
        }
        Message.Result = 0;
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style |= Style;
        Params.ExStyle |= ExStyle;
        AddBorderStyle(Params, Border, Ctl3D());
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
    }
};

class NonClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(200, 150);
        Form->SetColor(clLime);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    TFramedProbe* Make(TBorderStyle Border, DWORD Style, bool Ctl3D = true, DWORD ExStyle = 0) {
        auto* p = new TFramedProbe(Form, Border, Style, ExStyle);
        p->SetCtl3D(Ctl3D);
        p->SetParent(Form);
        return p;
    }
    static TColor At(TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }
    static TBitmap* Render(TWinControl* C) {
        auto* b = new TBitmap();
        b->SetSize(C->Width(), C->Height());
        C->PaintTo(b->Canvas(), 0, 0);
        return b;
    }

    TForm* Form = nullptr;
};

TEST_F(NonClientTest, TheClientAreaLiesInsideBorderAndBars) {
    struct TCase {
        const char* Name;
        TBorderStyle Border;
        bool Ctl3D;
        DWORD Style, ExStyle;
        TRect Client; // in window coordinates
    };
    const TCase cases[] = {
        {"no border", bsNone, true, 0, 0, Rect(0, 0, 80, 60)},
        {"single, 3D", bsSingle, true, 0, 0, Rect(2, 2, 78, 58)},
        {"single, flat", bsSingle, false, 0, 0, Rect(1, 1, 79, 59)},
        {"static edge", bsNone, true, 0, WS_EX_STATICEDGE, Rect(1, 1, 79, 59)},
        {"single, 3D, vertical bar", bsSingle, true, WS_VSCROLL, 0, Rect(2, 2, 78 - 17, 58)},
        {"no border, both bars", bsNone, true, WS_VSCROLL | WS_HSCROLL, 0, Rect(0, 0, 80 - 17, 60 - 17)},
        {"bar on the left", bsNone, true, WS_VSCROLL, WS_EX_LEFTSCROLLBAR, Rect(17, 0, 80, 60)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFramedProbe* p = Make(c.Border, c.Style, c.Ctl3D, c.ExStyle);
        p->HandleNeeded();
        EXPECT_EQ(p->ClientRect(), Rect(0, 0, c.Client.Width(), c.Client.Height()));
        const TPoint origin = p->ClientOrigin(), form = Form->ClientOrigin();
        EXPECT_EQ(origin, TPoint(form.X + 10 + c.Client.Left, form.Y + 20 + c.Client.Top));
        EXPECT_EQ(p->ClientToScreen(TPoint(0, 0)), origin);
        // The client widget is where the client area is; the frame (when there is one) holds it.
        QWidget* client = p->Widget();
        QWidget* outer = client->parentWidget() == Form->Widget() ? client : client->parentWidget();
        EXPECT_EQ(outer->geometry(), QRect(10, 20, 80, 60));
        EXPECT_EQ(client->mapTo(outer, QPoint(0, 0)), QPoint(c.Client.Left, c.Client.Top));
        EXPECT_EQ(client->size(), QSize(c.Client.Width(), c.Client.Height()));
        // Invalidating the whole window asks for its client area, in client coordinates.
        Application->ProcessMessages();
        ValidateRect(p->Handle(), nullptr);
        InvalidateRect(p->Handle(), nullptr, false);
        TRect update;
        EXPECT_TRUE(GetUpdateRect(p->Handle(), update, false));
        EXPECT_EQ(update, p->ClientRect());
        TObject::Free(p);
    }
}

TEST_F(NonClientTest, NCPaintComesAfterTheDefaultFrameAndPaintToShowsAll) {
    TFramedProbe* p = Make(bsSingle, WS_VSCROLL | WS_HSCROLL);
    p->DrawOwnLine = true;
    std::unique_ptr<TBitmap> bmp(Render(p));
    // The handler saw nothing at the left edge before inherited and the sunken edge after.
    ASSERT_GE(p->LeftEdgeAroundInherited.size(), 2u);
    EXPECT_EQ(p->LeftEdgeAroundInherited[0], clBlack); // transparent (alpha 0) reads as black
    EXPECT_EQ(p->LeftEdgeAroundInherited[1], ColorToRGB(clBtnShadow));
    // The sunken 2-pixel edge: outer shadow / highlight, inner dark shadow / light.
    EXPECT_EQ(At(*bmp, 0, 30), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(*bmp, 1, 30), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(*bmp, 79, 30), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(*bmp, 78, 30), ColorToRGB(cl3DLight));
    EXPECT_EQ(At(*bmp, 30, 59), ColorToRGB(clBtnHighlight));
    // The handler's own line over the top, drawn through the window device context.
    EXPECT_EQ(At(*bmp, 40, 0), clRed);
    // The client area with the control's painting.
    EXPECT_EQ(At(*bmp, 2, 2), clWhite);
    EXPECT_EQ(At(*bmp, 60, 40), clWhite);
    // The bars (drawn by the bar widgets, not white) and the size box in the face colour.
    EXPECT_NE(At(*bmp, 70, 20), clWhite);
    EXPECT_NE(At(*bmp, 30, 50), clWhite);
    EXPECT_EQ(At(*bmp, 70, 50), ColorToRGB(clBtnFace));

    // The same frame shows on the screen around the client widget.
    const QImage shown = p->Widget()->parentWidget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 30), ToQColor(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(shown.pixelColor(40, 0), QColor(Qt::red));

    // The parent's picture holds the child with its frame at its place.
    std::unique_ptr<TBitmap> all(Render(Form));
    EXPECT_EQ(At(*all, 10 + 1, 20 + 30), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(*all, 10 + 40, 20), clRed);
    EXPECT_EQ(At(*all, 10 + 5, 20 + 5), clWhite);
    EXPECT_EQ(At(*all, 5, 5), clLime);
}

TEST_F(NonClientTest, AFlatBorderIsOneLineOfTheFrameColour) {
    TFramedProbe* p = Make(bsSingle, 0, false);
    std::unique_ptr<TBitmap> bmp(Render(p));
    EXPECT_EQ(At(*bmp, 0, 30), ColorToRGB(clWindowFrame));
    EXPECT_EQ(At(*bmp, 79, 59), ColorToRGB(clWindowFrame));
    EXPECT_EQ(At(*bmp, 1, 30), clWhite);
    // Ctl3D chosen after the window exists takes effect when the window is made anew.
    p->SetCtl3D(true);
    p->RecreateWnd();
    EXPECT_EQ(p->ClientWidth(), 76);
}

TEST_F(NonClientTest, DrawingThroughAWindowDeviceContextShowsAtOnce) {
    TFramedProbe* p = Make(bsSingle, 0);
    QWidget* frame = p->Widget()->parentWidget();
    frame->grab(); // painted once (WM_NCPAINT)
    const size_t paints = p->LeftEdgeAroundInherited.size();
    HDC dc = GetWindowDC(p->Handle());
    ASSERT_TRUE(dc);
    dc->Brush()->SetColor(clBlue);
    dc->FillRect(Rect(0, 0, 80, 2));
    EXPECT_EQ(ReleaseDC(p->Handle(), dc), 1);
    EXPECT_EQ(ReleaseDC(p->Handle(), dc), 0); // released once only
    const QImage shown = frame->grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 1), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(0, 30), ToQColor(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(p->LeftEdgeAroundInherited.size(), paints); // no new WM_NCPAINT
    // A changed frame is painted anew: the default frame covers the drawing again.
    SetWindowPos(p->Handle(), 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(frame->grab().toImage().pixelColor(30, 1), ToQColor(ColorToRGB(cl3DDkShadow)));
    EXPECT_GT(p->LeftEdgeAroundInherited.size(), paints);
    EXPECT_EQ(GetWindowDC(987654), nullptr);

    // A window without a non-client area: the window device context draws where it paints.
    TFramedProbe* bare = Make(bsNone, 0);
    bare->Repaint();
    HDC bdc = GetWindowDC(bare->Handle());
    bdc->Brush()->SetColor(clBlue);
    bdc->FillRect(Rect(0, 0, 5, 5));
    ReleaseDC(bare->Handle(), bdc);
    EXPECT_EQ(bare->Widget()->grab().toImage().pixelColor(2, 2), QColor(Qt::blue));
}

} // namespace
