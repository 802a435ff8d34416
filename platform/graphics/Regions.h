// Regions of the platform's drawing interface as handles: rectangles and polygons combined by
// the RGN_ modes, used to clip a canvas (SelectClipRgn) and to shape a window (SetWindowRgn).
// A region is a set of whole pixels; a rectangle region leaves out its right and bottom edges
// and a polygon region is filled by the even-odd (ALTERNATE) or non-zero (WINDING) rule.
//
// DeleteObject frees what a Create function made; a handle that names no live object is refused,
// so a second delete does nothing.
#pragma once

#include "Graphics.h"

#include <vector>

using HRGN = void*;
using HGDIOBJ = void*;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Region types answered by CombineRgn, SelectClipRgn, GetRgnBox and GetWindowRgn.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect& R);
// The ellipse inscribed in the rectangle (right and bottom excluded, as for a rectangle region).
HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateEllipticRgnIndirect(const TRect& R);
// The rectangle with its corners rounded by ellipses of Width x Height.
HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int Width, int Height);
HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode);
HRGN CreatePolygonRgn(const std::vector<TPoint>& Points, int FillMode);
// Dest := Src1 combined with Src2 by Mode (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF; RGN_COPY copies
// Src1). Answers the type of the result, RGN_ERROR for a handle that names no region.
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
int OffsetRgn(HRGN Region, int X, int Y);
bool PtInRegion(HRGN Region, int X, int Y);
int GetRgnBox(HRGN Region, TRect& R);
// Frees a region made by a Create function; false for a handle that names none.
bool DeleteObject(HGDIOBJ Object);
// The canvas's clip becomes a copy of Region (nullptr: no clip). Answers the clip's type.
int SelectClipRgn(HDC DC, HRGN Region);

// The region a handle names (nullptr when none) and replacing it, for the platform's own use.
const QRegion* RegionOf(HRGN Region);
bool SetRegionOf(HRGN Region, const QRegion& Value);
// The type of a region (NULLREGION, SIMPLEREGION, COMPLEXREGION).
int RegionType(const QRegion& Region);
