// The non-client area of windowed controls: the border of the window styles, the window scroll
// bars and the size box outside the client area, painted by WM_NCPAINT into a retained window
// image that a frame widget around the client widget shows; window device contexts over that
// image; rendering whole windows (PaintTo).
#include "WindowFrame.h"

#include "Forms.h"
#include "OSInfo.h"
#include "QtBridge.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <set>

namespace {

// Where the parts of a window lie, in window coordinates.
struct TFrameLayout {
    TRect Insets;  // widths on each side (Left, Top, Right, Bottom)
    TRect Client;  // the client area
    TRect VBar;    // empty when the vertical bar is not shown
    TRect HBar;    // empty when the horizontal bar is not shown
    TRect SizeBox; // empty unless both bars show
};

int BorderWidth(DWORD Style, DWORD ExStyle) {
    int b = 0;
    if (Style & WS_BORDER) ++b;
    if (ExStyle & WS_EX_STATICEDGE) ++b;
    if (ExStyle & WS_EX_CLIENTEDGE) b += 2;
    return b;
}

// The platform's rule: a bar takes its room only when the window leaves room for it.
TFrameLayout LayoutOf(int Width, int Height, DWORD Style, DWORD ExStyle) {
    TFrameLayout l;
    const int b = BorderWidth(Style, ExStyle);
    TRect inner(b, b, std::max(b, Width - b), std::max(b, Height - b));
    const int sx = GetSystemMetrics(SM_CXVSCROLL), sy = GetSystemMetrics(SM_CYHSCROLL);
    const bool left = ExStyle & WS_EX_LEFTSCROLLBAR;
    TRect client = inner;
    const bool v = (Style & WS_VSCROLL) && client.Width() >= sx;
    if (v) {
        if (left)
            client.Left += sx;
        else
            client.Right -= sx;
    }
    const bool h = (Style & WS_HSCROLL) && client.Height() >= sy;
    if (h) client.Bottom -= sy;
    if (v)
        l.VBar = left ? TRect(inner.Left, inner.Top, inner.Left + sx, client.Bottom)
                      : TRect(client.Right, inner.Top, inner.Right, client.Bottom);
    if (h) l.HBar = TRect(client.Left, client.Bottom, client.Right, inner.Bottom);
    if (v && h) l.SizeBox = TRect(l.VBar.Left, client.Bottom, l.VBar.Right, inner.Bottom);
    l.Client = client;
    l.Insets = TRect(client.Left, client.Top, Width - client.Right, Height - client.Bottom);
    return l;
}

TFrameLayout LayoutOf(const TWinControl* C) {
    if (!C->HandleAllocated() || C->IsFormWindow()) {
        TFrameLayout l;
        l.Client = Rect(0, 0, C->Width(), C->Height());
        return l;
    }
    return LayoutOf(C->Width(), C->Height(), C->WindowStyle(), C->WindowExStyle());
}

bool HasInsets(const TRect& I) {
    return I.Left || I.Top || I.Right || I.Bottom;
}

// Window device contexts handed out and not yet released.
std::set<TCanvas*>& LiveDCs() {
    static std::set<TCanvas*> dcs;
    return dcs;
}

} // namespace

// =============================================================================================
// The extras of a window

TWindowExtras& TWindowExtras::Of(TWinControl* Control) {
    if (!Control->FExtras) Control->FExtras = new TWindowExtras();
    return *Control->FExtras;
}

TWindowExtras* TWindowExtras::Find(const TWinControl* Control) {
    return Control ? Control->FExtras : nullptr;
}

void TWindowExtras::Free(TWinControl* Control) {
    delete Control->FExtras;
    Control->FExtras = nullptr;
}

TRect TWindowExtras::Insets(const TWinControl* Control) {
    return LayoutOf(Control).Insets;
}

bool TWindowExtras::IsPopup(const TWinControl* Control) {
    return Control && (Control->FStyle & WS_POPUP) && !Control->IsFormWindow();
}

QWidget* TWindowExtras::Outer(const TWinControl* Control) {
    if (TWindowExtras* x = Find(Control); x && x->Frame) return x->Frame;
    return Control->FQWidget;
}

namespace {

// Puts a frame widget where the client widget is and the client widget inside it.
TWindowFrame* MakeFrame(TWinControl* C, QWidget* Client) {
    const bool top = Client->isWindow();
    QWidget* parent = Client->parentWidget();
    const bool shown = top ? Client->isVisible()
                           : !(Client->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                               Client->testAttribute(Qt::WA_WState_Hidden));
    auto* frame = new TWindowFrame(C, parent, top ? Client->windowFlags() : Qt::WindowFlags());
    for (Qt::WidgetAttribute a : {Qt::WA_ShowWithoutActivating, Qt::WA_TranslucentBackground})
        frame->setAttribute(a, Client->testAttribute(a));
    if (top) frame->setWindowOpacity(Client->windowOpacity());
    if (!top) frame->stackUnder(Client);
    frame->setEnabled(Client->isEnabled());
    const bool focused = Client->hasFocus();
    Client->setParent(frame, Qt::Widget);
    Client->setVisible(shown); // the frame follows (TControlWidget::setVisible)
    if (focused) Client->setFocus(Qt::OtherFocusReason);
    return frame;
}

} // namespace

bool TWindowExtras::SyncGeometry(TWinControl* Control) {
    QWidget* client = Control->FQWidget;
    if (!client) return false;
    TWindowExtras* x = Find(Control);
    const TFrameLayout l = LayoutOf(Control);
    if (!HasInsets(l.Insets) && !(x && x->Frame)) return false;
    // Only the windows whose widget is ours get a frame (forms have the window manager's).
    if (!(x && x->Frame) && !dynamic_cast<TControlWidget*>(client)) return false;
    x = &Of(Control);
    if (!x->Frame) x->Frame = MakeFrame(Control, client);
    x->Frame->setGeometry(Control->FLeft, Control->FTop, Control->FWidth, Control->FHeight);
    client->setGeometry(l.Client.Left, l.Client.Top, l.Client.Width(), l.Client.Height());
    if (x->Window.size() != QSize(std::max(1, Control->FWidth), std::max(1, Control->FHeight)))
        x->WindowValid = false;
    LayoutBars(Control);
    x->Frame->update();
    return true;
}

void TWindowExtras::StylesChanged(TWinControl* Control) {
    if (!Control->FQWidget) return;
    const TRect before = Control->FLastClient;
    Control->SyncWidgetGeometry();
    if (TWindowExtras* x = Find(Control)) x->WindowValid = false;
    InvalidateFrame(Control);
    ApplyPopupStyles(Control);
    const TRect cr = Control->GetClientRect();
    if (cr.Width() != before.Width() || cr.Height() != before.Height())
        Control->Perform(WM_SIZE, 0, MAKELPARAM(cr.Width(), cr.Height()));
}

QWidget* TWindowExtras::ReleaseWindow(TWinControl* Control) {
    QWidget* outer = Outer(Control);
    TWindowExtras* x = Find(Control);
    if (!x) return outer;
    for (TScrollBarState& b : x->Bars) b = TScrollBarState();
    x->Shape.reset();
    x->Layered = false;
    x->LayeredImage = QImage();
    x->WindowValid = false;
    TWindowFrame* frame = x->Frame;
    x->Frame = nullptr;
    if (!frame) return outer;
    frame->Detach();
    if (frame->Busy == 0) return frame;
    // A scroll-bar signal of this frame is running: the widgets go once it is over.
    for (QWidget* w : frame->findChildren<QWidget*>())
        if (auto* cw = dynamic_cast<TControlWidget*>(w)) cw->Detach();
    frame->hide();
    frame->deleteLater();
    return nullptr;
}

bool TWindowExtras::BarPlace(const TWinControl* Control, int Bar, TRect& Place) {
    const TFrameLayout l = LayoutOf(Control);
    Place = Bar == SB_HORZ ? l.HBar : l.VBar;
    return !Place.IsEmpty();
}

void TWindowExtras::InvalidateFrame(TWinControl* Control) {
    TWindowExtras* x = Find(Control);
    if (!x) return;
    x->WindowValid = false;
    if (x->Frame) x->Frame->update();
}

void TWindowExtras::PaintDefaultFrame(TWinControl* Control, TCanvas* Canvas) {
    if (!Canvas || !Canvas->RequireTarget()) return;
    const TFrameLayout l = LayoutOf(Control);
    TRect r = Rect(0, 0, Control->Width(), Control->Height());
    const DWORD style = Control->FStyle, ex = Control->FExStyle;
    if (style & WS_BORDER) DrawEdge(Canvas, r, BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_ADJUST);
    if (ex & WS_EX_STATICEDGE) DrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (ex & WS_EX_CLIENTEDGE) DrawEdge(Canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    // The bars paint themselves over their places; the size box is the face colour.
    for (const TRect& part : {l.VBar, l.HBar, l.SizeBox})
        if (!part.IsEmpty()) Canvas->FillRectColor(part, clBtnFace);
}

const QImage& TWindowExtras::WindowImage(TWinControl* Control) {
    TWindowExtras& x = Of(Control);
    const QSize size(std::max(1, Control->Width()), std::max(1, Control->Height()));
    if (x.Window.size() != size) {
        x.Window = QImage(size, QImage::Format_ARGB32_Premultiplied);
        x.Window.fill(Qt::transparent);
        x.WindowValid = false;
    }
    if (!x.WindowValid && Control->HandleAllocated()) {
        // Marked first: drawing through a window device context inside the handler must not
        // start another paint.
        x.WindowValid = true;
        if (x.Layer) {
            // The client part belongs to the layer: the frame is painted anew around it.
            QPainter p(&x.Window);
            p.setCompositionMode(QPainter::CompositionMode_Clear);
            const TRect c = LayoutOf(Control).Client;
            p.setClipRegion(QRegion(x.Window.rect()) - QRegion(c.Left, c.Top, c.Width(), c.Height()));
            p.fillRect(x.Window.rect(), Qt::transparent);
        } else {
            x.Window.fill(Qt::transparent);
        }
        TCanvas* canvas = new TCanvas();
        canvas->SetTarget(&x.Window);
        TControlPrivate::Guard(Control, [&] { Control->Perform(WM_NCPAINT, WPARAM(canvas), 0); });
        TObject::Free(canvas);
    }
    return x.Window;
}

namespace {

// What a scroll bar's picture depends on while no pointer is over it and no button is down.
struct TBarLook {
    QSize Size;
    int Orientation = 0, Minimum = 0, Maximum = 0, Value = 0, Position = 0, PageStep = 0;
    bool Enabled = false, Down = false, Active = false, Inverted = false, InvertedControls = false;
    int Direction = 0;
    const QStyle* Style = nullptr;
    qint64 Palette = 0;
    bool operator==(const TBarLook&) const = default;
};

TBarLook LookOf(const QScrollBar* Bar) {
    TBarLook l;
    l.Size = Bar->size();
    l.Orientation = int(Bar->orientation());
    l.Minimum = Bar->minimum();
    l.Maximum = Bar->maximum();
    l.Value = Bar->value();
    l.Position = Bar->sliderPosition();
    l.PageStep = Bar->pageStep();
    l.Enabled = Bar->isEnabled();
    l.Down = Bar->isSliderDown();
    l.Active = Bar->isActiveWindow();
    l.Inverted = Bar->invertedAppearance();
    l.InvertedControls = Bar->invertedControls();
    l.Direction = int(Bar->layoutDirection());
    l.Style = Bar->style();
    l.Palette = Bar->palette().cacheKey();
    return l;
}

// A bar rendered before: its look, the pixels under it then, and the pixels it left.
struct TBarPicture {
    TBarLook Look;
    QImage Under, Drawn;
};

// Kept for the process (bars may go after the statics of this file).
QHash<const QScrollBar*, TBarPicture>& BarPictures() {
    static auto* pictures = new QHash<const QScrollBar*, TBarPicture>;
    return *pictures;
}

// Renders Bar at At into Image through its painter. Rendering a bar through Qt costs about half a
// millisecond, and a window is mostly rendered again with its bars as they were: a bar at rest (no
// pointer over it, no button down, no focus) whose look and the pixels under it are those of
// the last time puts back the pixels it left then, which are what rendering it again would leave.
void RenderBar(QScrollBar* Bar, QImage& Image, QPainter& P, QPoint At) {
    const QRect place = QRect(At, Bar->size()).intersected(Image.rect());
    const bool atRest = !Bar->underMouse() && !Bar->hasFocus() &&
                        QGuiApplication::mouseButtons() == Qt::NoButton && P.transform().isIdentity() &&
                        place.size() == Bar->size();
    if (!atRest) {
        Bar->render(&P, At, QRegion(), QWidget::DrawChildren);
        return;
    }
    auto& pictures = BarPictures();
    const TBarLook look = LookOf(Bar);
    const QImage under = Image.copy(place);
    auto known = pictures.find(Bar);
    if (known != pictures.end() && known->Look == look && known->Under == under) {
        P.save();
        P.setCompositionMode(QPainter::CompositionMode_Source);
        P.drawImage(place.topLeft(), known->Drawn);
        P.restore();
        return;
    }
    Bar->render(&P, At, QRegion(), QWidget::DrawChildren);
    if (known == pictures.end()) {
        known = pictures.insert(Bar, {});
        QObject::connect(Bar, &QObject::destroyed, [Bar] { BarPictures().remove(Bar); });
    }
    known->Look = look;
    known->Under = under;
    known->Drawn = Image.copy(place);
}

} // namespace

QImage TWindowExtras::RenderWindow(TWinControl* Control) {
    const int w = Control->Width(), h = Control->Height();
    if (w <= 0 || h <= 0) return QImage();
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    const TFrameLayout l = LayoutOf(Control);
    QPainter p(&img);
    if (TWindowExtras* x = Find(Control); x && x->Layered) {
        p.drawImage(0, 0, x->LayeredImage);
        return img;
    }
    if (HasInsets(l.Insets) && Control->HandleAllocated()) {
        p.drawImage(0, 0, WindowImage(Control));
        if (TWindowExtras* x = Find(Control)) {
            const TRect places[2] = {l.HBar, l.VBar};
            for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
                QScrollBar* sb = x->Bars[bar].Widget;
                if (!sb || places[bar].IsEmpty()) continue;
                RenderBar(sb, img, p, QPoint(places[bar].Left, places[bar].Top));
            }
        }
    }
    const QImage client = Control->GrabImage();
    if (!client.isNull()) p.drawImage(l.Client.Left, l.Client.Top, client);
    // Widgets of the client that are not controls (a standard control's native face) render as
    // Qt draws them.
    if (QWidget* cw = Control->FQWidget) {
        for (QObject* o : cw->children()) {
            auto* child = qobject_cast<QWidget*>(o);
            if (!child || child->isWindow() || child->isHidden() || dynamic_cast<TControlWidget*>(child) ||
                dynamic_cast<TWindowFrame*>(child))
                continue;
            // The layer has no background: what shows through it is the box under it.
            const bool layer = Find(Control) && child == Find(Control)->Layer;
            child->render(&p, QPoint(l.Client.Left, l.Client.Top) + child->pos(), QRegion(),
                          layer ? QWidget::RenderFlags(QWidget::DrawChildren)
                                : QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
    }
    return img;
}

void TWindowExtras::PaintChild(TWinControl* Child, QPainter& Painter) {
    // A top-level window of its own is not part of its parent's picture.
    if (IsPopup(Child)) return;
    const QImage img = RenderWindow(Child);
    if (!img.isNull()) Painter.drawImage(Child->Left(), Child->Top(), img);
}

// =============================================================================================
// The frame widget

TWindowFrame::TWindowFrame(TWinControl* Control, QWidget* Parent, Qt::WindowFlags Flags)
    : QWidget(Parent, Flags), FControl(Control) {
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

TWindowFrame::~TWindowFrame() = default;

bool TWindowFrame::event(QEvent* Event) {
    TWinControl* c = FControl;
    if (!c) return QWidget::event(Event);
    switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // A press on the border: the window's form becomes active; nothing reaches the client.
            TControlPrivate::ActivateFormOf(c);
            if (Application) Application->CancelHint();
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: return true;
        case QEvent::Wheel:
            if (QWidget* client = c->WidgetIfAllocated()) {
                auto* we = static_cast<QWheelEvent*>(Event);
                QWheelEvent mapped(client->mapFrom(this, we->position()), we->globalPosition(),
                                   we->pixelDelta(), we->angleDelta(), we->buttons(), we->modifiers(),
                                   we->phase(), we->inverted());
                QCoreApplication::sendEvent(client, &mapped);
            }
            return true;
        case QEvent::Close:
            Event->ignore();
            TControlPrivate::Guard(c, [&] { c->Perform(WM_CLOSE); });
            return true;
        default: break;
    }
    return QWidget::event(Event);
}

void TWindowFrame::paintEvent(QPaintEvent*) {
    TWinControl* c = FControl;
    if (!c) return;
    ++Busy;
    QPainter painter(this);
    if (TWindowExtras* x = TWindowExtras::Find(c); x && x->Layered) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, x->LayeredImage);
    } else {
        painter.drawImage(0, 0, TWindowExtras::WindowImage(c));
    }
    --Busy;
}

// The client widget of a framed window shows and hides with its frame.
void TControlWidget::setVisible(bool Visible) {
    if (auto* frame = dynamic_cast<TWindowFrame*>(parentWidget())) frame->setVisible(Visible);
    QWidget::setVisible(Visible);
}

// =============================================================================================
// TWinControl: client area

TRect TWinControl::GetClientRect() const {
    const TRect i = TWindowExtras::Insets(this);
    return Rect(0, 0, std::max(0, FWidth - i.Left - i.Right), std::max(0, FHeight - i.Top - i.Bottom));
}

TPoint TWinControl::ClientOrigin() const {
    const TRect i = TWindowExtras::Insets(this);
    // A top-level window's bounds are screen coordinates.
    const TPoint o = TWindowExtras::IsPopup(this) ? TPoint(FLeft, FTop) : TControl::ClientOrigin();
    return TPoint(o.X + i.Left, o.Y + i.Top);
}

void AddBorderStyle(TCreateParams& Params, TBorderStyle BorderStyle, bool Ctl3D) {
    Params.Style &= ~WS_BORDER;
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (BorderStyle != bsSingle) return;
    if (Ctl3D)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

// =============================================================================================
// The layer over a covered client area

namespace {

class TWindowLayer : public QWidget {
public:
    TWindowLayer(TWinControl* Control, QWidget* Client) : QWidget(Client), FWnd(Control->Handle()) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(Client->rect());
        Client->installEventFilter(this);
        raise();
        show();
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Watched == parent() && Event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
        return false;
    }

    void paintEvent(QPaintEvent* Event) override {
        TWinControl* c = FindControl(FWnd);
        if (!c) return;
        TWindowExtras& painting = TWindowExtras::Of(c);
        painting.LayerPainting = true;
        painting.LayerDrawn = false;
        TWindowExtras::PaintThroughLayer(c, Event->region());
        c = FindControl(FWnd);
        TWindowExtras* x = TWindowExtras::Find(c);
        if (!x) return;
        x->LayerPainting = false;
        // A window canvas draws wherever it likes: the part this paint leaves out shows next.
        if (x->LayerDrawn)
            if (const QRegion rest = QRegion(rect()) - Event->region(); !rest.isEmpty()) update(rest);
        if (x->Window.isNull()) return;
        const TRect i = TWindowExtras::Insets(c);
        QPainter painter(this);
        painter.setClipRegion(Event->region());
        painter.drawImage(QPoint(0, 0), x->Window, QRect(i.Left, i.Top, width(), height()));
    }

private:
    HWND FWnd;
};

} // namespace

void TWindowExtras::AttachLayer(TWinControl* Control) {
    QWidget* client = Control->FQWidget;
    if (!client) return;
    TWindowExtras& x = Of(Control);
    if (!x.Layer) x.Layer = new TWindowLayer(Control, client);
}

bool TWindowExtras::HasLayer(const TWinControl* Control) {
    const TWindowExtras* x = Find(Control);
    return x && x->Layer;
}

void TWindowExtras::PaintThroughLayer(TWinControl* Control, const QRegion& Region) {
    const QRegion due = Control->FUpdateRgn.intersected(Region);
    if (due.isEmpty()) return;
    Control->RemoveUpdateRegion(due);
    TWindowExtras& x = Of(Control);
    if (!x.Window.isNull()) {
        const TRect i = Insets(Control);
        QPainter p(&x.Window);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setClipRegion(due.translated(i.Left, i.Top));
        p.fillRect(x.Window.rect(), Qt::transparent);
    }
    TControlPrivate::Guard(Control, [&] { Control->Perform(WM_PAINT, 0, 0); });
}

// =============================================================================================
// Window device contexts

HDC GetWindowDC(HWND Wnd) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return nullptr;
    auto* dc = new TCanvas();
    auto* custom = dynamic_cast<TCustomControl*>(c);
    if (custom && !HasInsets(TWindowExtras::Insets(c))) {
        // Window and client area are one: the canvas draws where the control paints.
        dc->SetTarget(&custom->BackImage());
        dc->OnChange = [Wnd](TObject*) {
            if (TWinControl* w = FindControl(Wnd); w && w->WidgetIfAllocated())
                w->WidgetIfAllocated()->update();
        };
    } else {
        TWindowExtras::WindowImage(c);
        dc->SetTarget(&TWindowExtras::Of(c).Window);
        dc->OnChange = [Wnd](TObject*) {
            TWinControl* w = FindControl(Wnd);
            TWindowExtras* x = TWindowExtras::Find(w);
            // The layer shows the client part; during its own paint it shows it afterwards.
            if (x && x->Layer) {
                if (x->LayerPainting)
                    x->LayerDrawn = true;
                else
                    x->Layer->update();
            }
            if (x && x->Frame) {
                x->Frame->update();
            } else if (x && x->Layer) {
                // Window and client area are one and the layer shows it.
            } else if (QWidget* client = w ? w->WidgetIfAllocated() : nullptr) {
                // Window and client area are one and a native face covers it: its next paint
                // runs WM_NCPAINT again, which draws what this canvas drew.
                client->update();
                for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    child->update();
            }
        };
    }
    LiveDCs().insert(dc);
    return dc;
}

int ReleaseDC(HWND, HDC DC) {
    if (!DC || !LiveDCs().erase(DC)) return 0;
    DC->OnChange = nullptr;
    TObject::Free(DC);
    return 1;
}
