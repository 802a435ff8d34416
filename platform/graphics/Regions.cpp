#include "Regions.h"

#include <QPolygon>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_set>

namespace {

struct TRegionObject {
    QRegion Region;
};

// Live regions: a handle is only used while it names one of them.
std::mutex GLock;
std::unordered_set<TRegionObject*>& Live() {
    static std::unordered_set<TRegionObject*> live;
    return live;
}

TRegionObject* Lookup(HRGN Region) {
    std::lock_guard<std::mutex> lock(GLock);
    auto* r = static_cast<TRegionObject*>(Region);
    return Live().count(r) ? r : nullptr;
}

HRGN Make(QRegion Region) {
    auto* r = new TRegionObject{std::move(Region)};
    std::lock_guard<std::mutex> lock(GLock);
    Live().insert(r);
    return r;
}

QRegion RectRegion(int Left, int Top, int Right, int Bottom) {
    if (Right < Left) std::swap(Left, Right);
    if (Bottom < Top) std::swap(Top, Bottom);
    return QRegion(Left, Top, Right - Left, Bottom - Top);
}

} // namespace

int RegionType(const QRegion& Region) {
    if (Region.isEmpty()) return NULLREGION;
    return Region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom) {
    return Make(RectRegion(Left, Top, Right, Bottom));
}

HRGN CreateRectRgnIndirect(const TRect& R) {
    return CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
}

HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom) {
    const QRect box = RectRegion(Left, Top, Right, Bottom).boundingRect();
    if (box.isEmpty()) return Make(QRegion());
    return Make(QRegion(box, QRegion::Ellipse));
}

HRGN CreateEllipticRgnIndirect(const TRect& R) {
    return CreateEllipticRgn(R.Left, R.Top, R.Right, R.Bottom);
}

HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int Width, int Height) {
    const QRect box = RectRegion(Left, Top, Right, Bottom).boundingRect();
    if (box.isEmpty()) return Make(QRegion());
    // The corner ellipses cannot be larger than the rectangle.
    const int w = std::clamp(std::abs(Width), 0, box.width());
    const int h = std::clamp(std::abs(Height), 0, box.height());
    if (w < 2 || h < 2) return Make(QRegion(box));
    // The straight middle bands and the four corner ellipses.
    QRegion region(box.adjusted(w / 2, 0, -(w / 2), 0));
    region += QRegion(box.adjusted(0, h / 2, 0, -(h / 2)));
    const QRect corner(0, 0, w, h);
    region += QRegion(corner.translated(box.left(), box.top()), QRegion::Ellipse);
    region += QRegion(corner.translated(box.right() + 1 - w, box.top()), QRegion::Ellipse);
    region += QRegion(corner.translated(box.left(), box.bottom() + 1 - h), QRegion::Ellipse);
    region += QRegion(corner.translated(box.right() + 1 - w, box.bottom() + 1 - h), QRegion::Ellipse);
    return Make(region);
}

HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode) {
    QPolygon polygon;
    for (int i = 0; Points && i < Count; ++i) polygon << QPoint(Points[i].X, Points[i].Y);
    if (polygon.size() < 3) return Make(QRegion());
    return Make(QRegion(polygon, FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

HRGN CreatePolygonRgn(const std::vector<TPoint>& Points, int FillMode) {
    return CreatePolygonRgn(Points.data(), int(Points.size()), FillMode);
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode) {
    TRegionObject* d = Lookup(Dest);
    TRegionObject* a = Lookup(Src1);
    if (!d || !a) return RGN_ERROR;
    if (Mode == RGN_COPY) {
        d->Region = a->Region;
        return RegionType(d->Region);
    }
    TRegionObject* b = Lookup(Src2);
    if (!b) return RGN_ERROR;
    switch (Mode) {
        case RGN_AND: d->Region = a->Region.intersected(b->Region); break;
        case RGN_OR: d->Region = a->Region.united(b->Region); break;
        case RGN_XOR: d->Region = a->Region.xored(b->Region); break;
        case RGN_DIFF: d->Region = a->Region.subtracted(b->Region); break;
        default: return RGN_ERROR;
    }
    return RegionType(d->Region);
}

int OffsetRgn(HRGN Region, int X, int Y) {
    TRegionObject* r = Lookup(Region);
    if (!r) return RGN_ERROR;
    r->Region.translate(X, Y);
    return RegionType(r->Region);
}

bool PtInRegion(HRGN Region, int X, int Y) {
    TRegionObject* r = Lookup(Region);
    return r && r->Region.contains(QPoint(X, Y));
}

int GetRgnBox(HRGN Region, TRect& R) {
    TRegionObject* r = Lookup(Region);
    if (!r) return RGN_ERROR;
    QRect b = r->Region.boundingRect();
    R = b.isEmpty() ? TRect() : Bounds(b.x(), b.y(), b.width(), b.height());
    return RegionType(r->Region);
}

bool DeleteObject(HGDIOBJ Object) {
    auto* r = static_cast<TRegionObject*>(Object);
    {
        std::lock_guard<std::mutex> lock(GLock);
        if (!Live().erase(r)) return false;
    }
    delete r;
    return true;
}

int SelectClipRgn(HDC DC, HRGN Region) {
    if (!DC) return RGN_ERROR;
    if (!Region) {
        DC->SelectClipRgn(nullptr);
        return SIMPLEREGION;
    }
    TRegionObject* r = Lookup(Region);
    if (!r) return RGN_ERROR;
    DC->SelectClipRgn(&r->Region);
    return RegionType(r->Region);
}

const QRegion* RegionOf(HRGN Region) {
    TRegionObject* r = Lookup(Region);
    return r ? &r->Region : nullptr;
}

bool SetRegionOf(HRGN Region, const QRegion& Value) {
    TRegionObject* r = Lookup(Region);
    if (!r) return false;
    r->Region = Value;
    return true;
}
