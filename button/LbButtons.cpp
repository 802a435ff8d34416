#include "LbButtons.h"

#include "SysUtils.h"

#include <algorithm>

namespace {

// Key colour of the transparent styles and of the shape style's background.
constexpr TColor KeyColor = 0xFF00FF;

const TLbColorStyleColors ColorStyleTable[] = {
    // Color       Light     Shadow    WhenDown  HotTrack  Flat   Style      Font
    {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, bsModern, clBlack},     // lcsGold
    {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, bsModern, clBlack},       // lcsChrome
    {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, bsModern, clBlack},       // lcsBlue
    {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, bsModern, clBlack},       // lcsRed
    {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal, clBlack},   // lcsUltraFlat1
    {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal, clBlack},   // lcsUltraFlat2
    {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, bsNormal, clBlack},    // lcsUltraFlatXP
    {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, bsModern, clBlack},       // lcsAqua
    {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, false, bsNormal, clBlack},      // lcsDefault
    {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken, 0xFFFFFF}, // lcsQuicken
};

} // namespace

TLbButtonThread::TLbButtonThread(TNotifyEvent DoNotify) : TThread(true), FNotify(std::move(DoNotify)) {
    SetFreeOnTerminate(false);
}

void TLbButtonThread::Execute() {
    while (!Terminated()) {
        ::Sleep(30);
        // Asked to end during the pause: no further tick, the button may be going away.
        if (Terminated()) break;
        Synchronize([this] { DoEvent(); });
        // A tick may have suspended the thread: stop here until resumed.
        CheckSuspended();
    }
}

void TLbButtonThread::DoEvent() {
    if (Assigned(FNotify)) FNotify(this);
}

bool GetColorStyleColors(TLbColorStyle Value, TLbColorStyleColors& Colors) {
    if (Value <= lcsCustom || Value > lcsQuicken) return false;
    Colors = ColorStyleTable[Value - lcsGold];
    return true;
}

TColor BlendHotTrackColor(TColor Color, TColor HotTrackColor, int Step) {
    const Cardinal c = Cardinal(ColorToRGB(Color));
    const Cardinal h = Cardinal(ColorToRGB(HotTrackColor));
    const double s = Step / 8.0;
    auto mix = [s](int a, int b) { return int(a * (1.0 - s) + b * s); };
    return RGB(mix(GetRValue(c), GetRValue(h)), mix(GetGValue(c), GetGValue(h)),
               mix(GetBValue(c), GetBValue(h)));
}

void DrawGradient(TCanvas* Canvas, TColor StartColor, TColor EndColor, int Left, int Top, int Right,
                  int Bottom) {
    const Cardinal s = Cardinal(ColorToRGB(StartColor));
    const Cardinal e = Cardinal(ColorToRGB(EndColor));
    const double dr = (int(GetRValue(e)) - int(GetRValue(s))) / 31.0;
    const double dg = (int(GetGValue(e)) - int(GetGValue(s))) / 31.0;
    const double db = (int(GetBValue(e)) - int(GetBValue(s))) / 31.0;
    const int span = Bottom - Top;
    const int bandHeight = span / 31 + 1;

    TPenStyle oldPen = Canvas->Pen()->Style();
    Canvas->Pen()->SetStyle(psClear);
    Canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < 32; ++i) {
        const int top = Top + i * span / 31;
        const int bottom = std::min(top + bandHeight, Bottom);
        if (bottom <= top) continue;
        Canvas->Brush()->SetColor(
            RGB(int(GetRValue(s) + i * dr), int(GetGValue(s) + i * dg), int(GetBValue(s) + i * db)));
        Canvas->FillRect(TRect(Left, top, Right, bottom));
    }
    Canvas->Pen()->SetStyle(oldPen);
}

void DrawGlyphFrame(TCanvas* Canvas, TBitmap* Glyph, int X, int Y, int FrameOffset, int FrameHeight,
                    int FrameWidth) {
    if (!Glyph || Glyph->Empty() || FrameWidth <= 0 || FrameHeight <= 0) return;
    TBitmap* frame = new TBitmap(FrameWidth, FrameHeight);
    const int gw = Glyph->Width();
    // The first frame underneath, then the strip shifted left so the chosen frame lands on it.
    frame->Canvas()->CopyRect(TRect(0, 0, FrameWidth, FrameHeight), Glyph->Canvas(),
                              TRect(0, 0, FrameWidth, FrameHeight));
    if (FrameOffset > 0 && FrameOffset < gw) {
        const int w = std::min(FrameWidth, gw - FrameOffset);
        frame->Canvas()->CopyRect(TRect(0, 0, w, FrameHeight), Glyph->Canvas(),
                                  TRect(FrameOffset, 0, FrameOffset + w, FrameHeight));
    }
    frame->SetTransparent(true);
    Canvas->Draw(X, Y, frame);
    TObject::Free(frame);
}

void DrawButtonFace(TCanvas* Canvas, int W, int H, int HotTrackStep, int NumGlyphs, TBitmap* Glyph,
                    bool Pressed, bool Hot, bool NoBackground, bool Enabled, bool Flat, bool WordWrap,
                    bool HasPopupMenu, TLbButtonStyle Style, TColor Color, TColor ColorWhenDown,
                    TColor HotTrackColor, TColor LightColor, TColor ShadowColor, TFont* Font,
                    TLbButtonLayout Layout, const String& Caption, TAlignment Alignment) {
    // 1. State and the pressed offset of caption and glyph.
    const bool down = Pressed && Enabled;
    const int d = (down && Style != bsEncarta) ? 1 : 0;

    // 2. Face colour.
    TColor face = Color;
    if (Enabled && HotTrackColor != clNone) face = BlendHotTrackColor(Color, HotTrackColor, HotTrackStep);
    if (down && ColorWhenDown != clNone) face = ColorWhenDown;

    // 3. Background.
    Canvas->Brush()->SetStyle(bsSolid);
    if (Style == bsShape) {
        Canvas->Brush()->SetColor(KeyColor);
        Canvas->FillRect(TRect(0, 0, W, H));
    } else if (!NoBackground) {
        switch (Style) {
            case bsNormal:
            case bsEncarta:
            case bsOld:
                Canvas->Brush()->SetColor(face);
                Canvas->FillRect(TRect(0, 0, W, H));
                break;
            case bsModern:
                DrawGradient(Canvas, LightColor, face, 2, 2, W - 2, H / 4 + d);
                DrawGradient(Canvas, face, LightColor, 2, H / 4 + d, W - 2, H - 1);
                break;
            default: break;
        }
    }

    // 4. Frame.
    TPen* pen = Canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    switch (Style) {
        case bsNormal:
        case bsEncarta:
        case bsOld: {
            const bool show = Enabled ? (!Flat || Hot || down) : !Flat;
            if (!show) break;
            if (Style == bsOld) {
                pen->SetColor(ShadowColor);
                if (down) {
                    Canvas->MoveTo(1, H - 3);
                    Canvas->LineTo(1, 1);
                    Canvas->LineTo(W - 2, 1);
                } else {
                    Canvas->MoveTo(W - 2, 0);
                    Canvas->LineTo(W - 2, H - 2);
                    Canvas->LineTo(0, H - 2);
                }
                const TColor topLeft = down ? cl3DDkShadow : LightColor;
                const TColor bottomRight = down ? LightColor : cl3DDkShadow;
                pen->SetColor(topLeft);
                Canvas->MoveTo(0, H - 1);
                Canvas->LineTo(0, 0);
                Canvas->LineTo(W - 1, 0);
                pen->SetColor(bottomRight);
                Canvas->LineTo(W - 1, H - 1);
                Canvas->LineTo(-1, H - 1);
            } else {
                pen->SetColor(down ? ShadowColor : LightColor);
                Canvas->MoveTo(0, H - 1);
                Canvas->LineTo(0, 0);
                Canvas->LineTo(W - 1, 0);
                pen->SetColor(down ? LightColor : ShadowColor);
                Canvas->LineTo(W - 1, H - 1);
                Canvas->LineTo(0, H - 1);
            }
            break;
        }
        case bsModern:
            Canvas->Brush()->SetStyle(bsClear);
            pen->SetColor(down ? ShadowColor : face);
            Canvas->Rectangle(1, 1, W - 1, H - 1);
            pen->SetColor(ShadowColor);
            Canvas->RoundRect(0, 0, W, H, 6, 6);
            break;
        case bsQuicken:
            pen->SetStyle(psClear);
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(face);
            Canvas->RoundRect(0, 1, W, H, 4, 4);
            pen->SetStyle(psSolid);
            pen->SetColor(ShadowColor);
            Canvas->MoveTo(4, 0);
            Canvas->LineTo(W - 5, 0);
            Canvas->MoveTo(4, H - 1);
            Canvas->LineTo(W - 5, H - 1);
            break;
        case bsShape: break;
    }

    // 5. Caption font.
    if (Font) Canvas->Font()->Assign(Font);
    if (Style == bsEncarta && down) {
        TFontStyles fs = Canvas->Font()->Style();
        fs.insert(fsBold);
        Canvas->Font()->SetStyle(fs);
    }
    if (!Enabled) Canvas->Font()->SetColor(0x808080);

    // 6. Glyph frame.
    const int fw = (NumGlyphs > 0 && Glyph) ? Glyph->Width() / NumGlyphs : 0;
    const int fh = Glyph ? Glyph->Height() : 0;
    const bool hasGlyph = fw > 0 && fh > 0;
    int frameIndex = 1;
    if (Enabled) {
        frameIndex = 0;
        if (Hot && NumGlyphs >= 4) frameIndex = 3;
        if (down && NumGlyphs >= 3) frameIndex = 2;
    }

    // 7. Text format.
    Cardinal format = DT_WORDBREAK;
    switch (Alignment) {
        case taLeftJustify: format |= DT_LEFT; break;
        case taRightJustify: format |= DT_RIGHT; break;
        case taCenter: format |= DT_CENTER; break;
    }

    // 8. Available text width, cut caption and its extent.
    const bool sideLayout = Layout == blGlyphLeft || Layout == blGlyphRight;
    int avail = W - 8;
    if (Style != bsShape && sideLayout && hasGlyph) avail = W - fw - 12;
    avail = std::max(avail, 0);
    String caption = Caption;
    if (!WordWrap)
        while (!caption.isEmpty() && Canvas->TextWidth(caption) > avail) caption.chop(1);
    TRect measure(0, 0, avail, 0);
    DrawText(Canvas, caption, measure, format | DT_CALCRECT);
    const int th = measure.Height();
    const int tw = measure.Width();

    // 9. Positions.
    int capLeft = 0, capTop = 0, glyphLeft = 0, glyphTop = 0;
    Canvas->SetBkMode(TRANSPARENT);
    if (Style == bsShape) {
        TRect r(d, (H - th) / 2 + d, W, H);
        DrawText(Canvas, caption, r, DT_WORDBREAK | DT_CENTER);
        if (hasGlyph) DrawGlyphFrame(Canvas, Glyph, (W - fw) / 2, (H - fh) / 2, frameIndex * fw, fh, fw);
    } else {
        if (!sideLayout) {
            const int b = hasGlyph ? fh + th + 4 : th;
            const int c = (H - b) / 2;
            if (Layout == blGlyphTop) {
                glyphTop = c + d;
                capTop = c + (hasGlyph ? fh : 0) + d;
            } else {
                capTop = c + d;
                glyphTop = c + th + d;
            }
            capLeft = d + 4;
            switch (Alignment) {
                case taLeftJustify: glyphLeft = d + 4; break;
                case taRightJustify: glyphLeft = W + d - fw - 4; break;
                case taCenter: glyphLeft = (W - fw) / 2 + d; break;
            }
        } else {
            capTop = (H - th) / 2 + d;
            glyphTop = (H - fh) / 2 + d;
            const int t = caption.isEmpty() ? 0 : tw + 4;
            if (Layout == blGlyphLeft) {
                capLeft = hasGlyph ? d + 4 + fw + 4 : d + 4;
                glyphLeft = d + 4;
                if (!WordWrap) {
                    if (Alignment == taRightJustify)
                        glyphLeft = W + d - fw - t - 4;
                    else if (Alignment == taCenter)
                        glyphLeft = (W - fw) / 2 + d - t / 2;
                }
            } else {
                capLeft = d + 4;
                glyphLeft = d + 4 + t;
                if (!WordWrap) {
                    if (Alignment == taRightJustify)
                        glyphLeft = W + d - fw - 4;
                    else if (Alignment == taCenter)
                        glyphLeft = (W - fw) / 2 + d + t / 2;
                }
            }
        }

        // 10. Caption, then the glyph frame.
        TRect r(capLeft, capTop, capLeft + avail, capTop + th);
        DrawText(Canvas, caption, r, format);
        if (hasGlyph) DrawGlyphFrame(Canvas, Glyph, glyphLeft, glyphTop, frameIndex * fw, fh, fw);
    }

    // 11. Popup-menu mark.
    if (HasPopupMenu) {
        TBitmap* arrow = new TBitmap;
        try {
            arrow->LoadFromResourceName("LBARROW");
            arrow->SetTransparent(true);
            Canvas->Draw(W - 11, H / 2 - 1, arrow);
        } catch (const Exception&) {
            // Without the resource the mark is left out; the face itself is complete.
        }
        TObject::Free(arrow);
    }
}
