// Windows that are not forms: top-level windows of the WS_POPUP style (frameless; a tool window,
// topmost, disabled or shown without activation as their styles say), window shapes, layered
// pictures with per-pixel alpha, and finding the window and control under a screen point.
#include "WindowFrame.h"

#include "Forms.h"
#include "QtBridge.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr Qt::WindowFlags PopupFlagMask =
    Qt::WindowType_Mask | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;

} // namespace

Qt::WindowFlags PopupWindowFlags(DWORD Style, DWORD ExStyle) {
    Qt::WindowFlags f = (ExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    f |= Qt::FramelessWindowHint;
    if (ExStyle & WS_EX_TOPMOST) f |= Qt::WindowStaysOnTopHint;
    if ((ExStyle & WS_EX_NOACTIVATE) || (Style & WS_DISABLED)) f |= Qt::WindowDoesNotAcceptFocus;
    return f;
}

void TWindowExtras::ApplyPopupStyles(TWinControl* Control) {
    if (!IsPopup(Control)) return;
    QWidget* w = Outer(Control);
    if (!w) return;
    const Qt::WindowFlags want = PopupWindowFlags(Control->FStyle, Control->FExStyle);
    if ((w->windowFlags() & PopupFlagMask) != want) {
        const bool shown = w->isVisible();
        w->setWindowFlags((w->windowFlags() & ~PopupFlagMask) | want);
        if (shown) w->show();
    }
    // Showing a window of its own never takes the activation by itself (ShowWindow decides).
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    const bool layered = (Control->FExStyle & WS_EX_LAYERED) || (Find(Control) && Find(Control)->Layered);
    w->setAttribute(Qt::WA_TranslucentBackground, layered);
    const bool enabled = !(Control->FStyle & WS_DISABLED) && Control->Enabled();
    w->setEnabled(enabled);
    Control->FQWidget->setEnabled(enabled);
}

bool TWindowExtras::PaintLayered(TWinControl* Control, QPainter& Painter) {
    TWindowExtras* x = Find(Control);
    if (!x || !x->Layered) return false;
    const TRect i = Insets(Control);
    Painter.setCompositionMode(QPainter::CompositionMode_Source);
    Painter.drawImage(-i.Left, -i.Top, x->LayeredImage);
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

void TWindowExtras::SetLayeredImage(TWinControl* Control, const QImage& Source, const TPoint& From,
                                    bool PerPixelAlpha, Byte ConstantAlpha) {
    const int w = std::max(1, Control->Width()), h = std::max(1, Control->Height());
    // The source's bytes are premultiplied blue, green, red, alpha: read them as they are (a
    // colour above its alpha is taken as the alpha).
    QImage src = Source.convertToFormat(QImage::Format_ARGB32);
    if (PerPixelAlpha) {
        src.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < src.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x) {
                const int a = qAlpha(line[x]);
                line[x] = qRgba(std::min(qRed(line[x]), a), std::min(qGreen(line[x]), a),
                                std::min(qBlue(line[x]), a), a);
            }
        }
    } else {
        for (int y = 0; y < src.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x) line[x] |= 0xFF000000u;
        }
        src.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, src, From.X, From.Y, w, h);
    }
    if (ConstantAlpha < 255) {
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const QRgb c = line[x];
                auto scale = [&](int v) { return (v * ConstantAlpha + 127) / 255; };
                line[x] = qRgba(scale(qRed(c)), scale(qGreen(c)), scale(qBlue(c)), scale(qAlpha(c)));
            }
        }
    }
    TWindowExtras& x = Of(Control);
    x.LayeredImage = img;
    x.Layered = true;
    if (QWidget* outer = Outer(Control)) {
        outer->setAttribute(Qt::WA_TranslucentBackground, true);
        outer->setWindowOpacity(1.0);
        outer->update();
    }
    if (QWidget* client = Control->WidgetIfAllocated()) client->update();
}

// =============================================================================================
// Window shapes

int SetWindowRgn(HWND Wnd, HRGN Region, bool Redraw) {
    TWinControl* c = FindControl(Wnd);
    const QRegion* r = Region ? RegionOf(Region) : nullptr;
    if (!c || (Region && !r)) return 0;
    c->HandleNeeded();
    TWindowExtras& x = TWindowExtras::Of(c);
    if (r)
        x.Shape = *r;
    else
        x.Shape.reset();
    // The region belongs to the window from now on.
    if (Region) DeleteObject(Region);
    if (QWidget* w = TWindowExtras::Outer(c)) {
        if (x.Shape)
            w->setMask(*x.Shape);
        else
            w->clearMask();
        if (Redraw) w->update();
    }
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Region) {
    TWindowExtras* x = TWindowExtras::Find(FindControl(Wnd));
    if (!x || !x->Shape || !RegionOf(Region)) return RGN_ERROR;
    SetRegionOf(Region, *x->Shape);
    return RegionType(*x->Shape);
}

// =============================================================================================
// The window under a point

namespace {

// The control a widget belongs to: the nearest client or frame widget up its parents.
TWinControl* ControlOfWidget(QWidget* W) {
    for (; W; W = W->parentWidget()) {
        if (auto* cw = dynamic_cast<TControlWidget*>(W); cw && cw->Control()) return cw->Control();
        if (auto* f = dynamic_cast<TWindowFrame*>(W); f && f->Control()) return f->Control();
        if (W->isWindow()) return nullptr;
    }
    return nullptr;
}

// Top-level windows from the top of the stack down: topmost ones, then windows that are not
// forms, then the forms from the most recently active, then the rest (later ones first).
std::vector<QWidget*> StackedTopLevels() {
    std::vector<QWidget*> all;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) all.push_back(w);
    std::reverse(all.begin(), all.end());
    auto rank = [](QWidget* w) {
        if (w->windowFlags() & Qt::WindowStaysOnTopHint) return 0;
        TWinControl* c = ControlOfWidget(w);
        if (c && !dynamic_cast<TCustomForm*>(c)) return 1;
        if (auto* f = dynamic_cast<TCustomForm*>(c); f && Screen) {
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i) == f) return 2 + i;
        }
        return 1 << 20;
    };
    std::stable_sort(all.begin(), all.end(), [&](QWidget* a, QWidget* b) { return rank(a) < rank(b); });
    return all;
}

} // namespace

HWND WindowFromPoint(TPoint Point) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
    const QPoint global(Point.X, Point.Y);
    for (QWidget* top : StackedTopLevels()) {
        const QPoint local = top->mapFromGlobal(global);
        if (!top->rect().contains(local)) continue;
        if (!top->mask().isEmpty() && !top->mask().contains(local)) continue;
        QWidget* hit = top->childAt(local);
        TWinControl* c = ControlOfWidget(hit ? hit : top);
        if (!c) continue;
        // Disabled windows are passed over: their parent is the window there, and a disabled
        // top-level window lets the point through to the windows below.
        while (c && !IsWindowEnabled(c->Handle())) c = c->Parent();
        if (c) return c->Handle();
    }
    return 0;
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
    return FindControl(WindowFromPoint(Pos));
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
    TWinControl* w = FindVCLWindow(Pos);
    if (!w) return nullptr;
    if (TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled)) return c;
    return w;
}
