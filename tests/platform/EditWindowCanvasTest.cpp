// Drawing on an edit's window canvas (GetWindowDC): it shows over the edit's text box, its
// WM_PAINT handler hears every repaint, the edit's repaint covers what was drawn before, and an
// edit that draws nothing looks as its text box alone.
#include "ControlImage.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

// An edit whose WM_PAINT handler fills a square through the window canvas while Mark is set.
template <class Base> class TCanvasEdit : public Base {
public:
    using Base::Base;
    TColor Mark = clNone;
    int Paints = 0;

    void Dispatch(TMessage& Message) override {
        Base::Dispatch(Message);
        if (Message.Msg != WM_PAINT) return;
        ++Paints;
        if (Mark == clNone) return;
        HDC dc = GetWindowDC(this->Handle());
        dc->Brush()->SetColor(Mark);
        dc->FillRect(Rect(4, 4, 14, 14));
        ReleaseDC(this->Handle(), dc);
    }
};

class EditWindowCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(300, 200);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    // The edit as it shows: the widget of the whole window (its frame widget when it has a
    // non-client area) grabbed with everything inside.
    static QImage Shown(TWinControl* Edit) {
        QWidget* w = Edit->Widget();
        if (Edit->ClientWidth() != Edit->Width()) w = w->parentWidget();
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Image (Shown or ControlImage) of the edit without what the window canvas drew: the layer over
    // the text box hidden meanwhile.
    static QImage WithoutLayer(TWinControl* Edit, QImage (*Image)(TWinControl*)) {
        QWidget* layer = nullptr;
        for (QWidget* w : Edit->Widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->testAttribute(Qt::WA_TransparentForMouseEvents)) layer = w;
        EXPECT_NE(layer, nullptr);
        if (layer) layer->hide();
        const QImage img = Image(Edit);
        if (layer) layer->show();
        return img;
    }
    TForm* Form = nullptr;
};

struct TEditCase {
    const char* Name;
    std::function<TCustomEdit*(TForm*)> Make;
    std::function<void(TCustomEdit*, TColor)> SetMark;
    std::function<int(TCustomEdit*)> Paints;
};

template <class Base> TEditCase CaseOf(const char* Name) {
    return {Name,
            [](TForm* F) -> TCustomEdit* {
                auto* e = new TCanvasEdit<Base>(F);
                e->SetParent(F);
                e->SetBounds(10, 10, 160, 40);
                e->SetText(QStringLiteral("Wxyz text"));
                return e;
            },
            [](TCustomEdit* E, TColor C) { static_cast<TCanvasEdit<Base>*>(E)->Mark = C; },
            [](TCustomEdit* E) { return static_cast<TCanvasEdit<Base>*>(E)->Paints; }};
}

TEST_F(EditWindowCanvasTest, WhatThePaintHandlerDrawsShowsOverTheTextBoxUntilTheNextRepaint) {
    for (const TEditCase& c : {CaseOf<TEdit>("single line"), CaseOf<TMemo>("multi-line")}) {
        SCOPED_TRACE(c.Name);
        TCustomEdit* e = c.Make(Form);
        ProcessMessagesUntil([&] { return c.Paints(e) > 0; });
        const QImage plain = WithoutLayer(e, Shown);
        // Nothing drawn: the edit shows exactly its text box, also when rendered (PaintTo).
        EXPECT_EQ(Shown(e), plain);
        EXPECT_EQ(ControlImage(e), WithoutLayer(e, ControlImage));

        c.SetMark(e, clRed);
        const int before = c.Paints(e);
        e->Invalidate();
        ProcessMessagesUntil([&] { return c.Paints(e) > before; });
        EXPECT_GT(c.Paints(e), before);
        // (8, 8) of the window lies inside the client area, over the text box.
        EXPECT_EQ(Shown(e).pixelColor(8, 8), QColor(Qt::red));
        EXPECT_EQ(ControlImage(e).pixelColor(8, 8), QColor(Qt::red));
        EXPECT_EQ(Shown(e).pixelColor(60, 20), plain.pixelColor(60, 20)); // the rest is the box's

        // The edit's own repaint covers the square; the handler no longer draws it.
        c.SetMark(e, clNone);
        e->Repaint();
        EXPECT_EQ(Shown(e), plain);
        TObject::Free(e);
    }
}

// An edit with a sunken edge in the non-client area, as a subclass may ask for.
class TEdgedEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& Params) override {
        TEdit::CreateParams(Params);
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

TEST_F(EditWindowCanvasTest, DrawingOutsideAPaintShowsAtOnceAndStaysUntilARepaint) {
    auto* e = new TEdgedEdit(Form);
    e->SetParent(Form);
    e->SetBounds(10, 60, 120, 24);
    e->SetText(QStringLiteral("abc"));
    e->Repaint();
    ASSERT_EQ(e->ClientWidth(), e->Width() - 4);
    const QImage plain = Shown(e);
    HDC dc = GetWindowDC(e->Handle());
    ASSERT_TRUE(dc);
    dc->Brush()->SetColor(clBlue);
    dc->FillRect(Rect(0, 0, 12, 12)); // over frame and client alike
    ReleaseDC(e->Handle(), dc);
    QImage shown = Shown(e);
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::blue)); // frame
    EXPECT_EQ(shown.pixelColor(6, 6), QColor(Qt::blue)); // client, over the text box
    EXPECT_EQ(shown.pixelColor(20, 12), plain.pixelColor(20, 12));
    Application->ProcessMessages();
    EXPECT_EQ(Shown(e).pixelColor(6, 6), QColor(Qt::blue)); // no repaint was due
    // A new frame (WM_NCPAINT) paints the border again and leaves the client part alone.
    SetWindowPos(e->Handle(), 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    shown = Shown(e);
    EXPECT_EQ(shown.pixelColor(1, 1), plain.pixelColor(1, 1));
    EXPECT_EQ(shown.pixelColor(6, 6), QColor(Qt::blue));
    // The edit's repaint covers the client part.
    e->Repaint();
    EXPECT_EQ(Shown(e), plain);
}

} // namespace
