#include "MarkupObjects.h"

#include "AdvXPVS.h"
#include "ImgList.h"
#include "MarkupText.h"
#include "PictureContainer.h"
#include "Themes.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxObjectSize = 100000;
// Controls larger than this take their space but are not drawn: the platform's parts draw through
// an image of their size.
constexpr int MaxDrawnControl = 4096;

int RoundDiv(qint64 A, qint64 B) {
    return B == 0 ? 0 : int((A * 2 + (A >= 0 ? B : -B)) / (2 * B));
}

// Scales a size given at 96 pixels per inch to the canvas's resolution on one axis.
int ScalePPI(int Size, int PPI) {
    return RoundDiv(qint64(Size) * PPI, 96);
}

int AttrInt(const String& Tag, const String& Up, const char* Name) {
    String v;
    if (!FindHTMLAttribute(Tag, Up, Name, v)) return 0;
    return std::clamp(MarkupLeadingInt(v), -MaxObjectSize, MaxObjectSize);
}

bool PlainInt(const String& S, int& V) {
    bool ok = false;
    V = S.trimmed().toInt(&ok);
    return ok;
}

// Strictly inside the rectangle (Left, Top) - (Left + W, Top + H).
bool StrictlyInside(int X, int Y, int Left, int Top, int W, int H) {
    return X > Left && X < Left + W && Y > Top && Y < Top + H;
}

// The icon the system shows for a file, a folder, files of a type, or one of its stock icons by
// number (the numbers of the platform's system image list: 3 and 4 folders, 5 to 12 drives,
// 15 the computer, 17 the network, 31 and 32 the recycle bin, 34 the desktop, others files).
QImage SystemIcon(const String& Name, bool Large) {
    static QFileIconProvider* provider = new QFileIconProvider();
    const int size = Large ? 32 : 16;
    QIcon icon;
    int index = 0;
    if (PlainInt(Name, index)) {
        QAbstractFileIconProvider::IconType type = QAbstractFileIconProvider::File;
        if (index == 3 || index == 4)
            type = QAbstractFileIconProvider::Folder;
        else if (index >= 5 && index <= 12)
            type = QAbstractFileIconProvider::Drive;
        else if (index == 15)
            type = QAbstractFileIconProvider::Computer;
        else if (index == 17)
            type = QAbstractFileIconProvider::Network;
        else if (index == 31 || index == 32)
            type = QAbstractFileIconProvider::Trashcan;
        else if (index == 34)
            type = QAbstractFileIconProvider::Desktop;
        icon = provider->icon(type);
    } else {
        const QFileInfo fi(Name);
        if (fi.exists()) {
            icon = provider->icon(fi);
        } else {
            static QMimeDatabase mimes;
            const QMimeType mt = mimes.mimeTypeForFile(Name, QMimeDatabase::MatchExtension);
            icon = QIcon::fromTheme(mt.iconName(), provider->icon(QAbstractFileIconProvider::File));
        }
    }
    if (icon.isNull()) return QImage();
    return icon.pixmap(size, size).toImage().scaled(size, size).convertToFormat(QImage::Format_ARGB32);
}

// Draws Image stretched into R (printing copies).
void StretchImage(TCanvas* Canvas, const QImage& Image, const TRect& R) {
    if (Image.isNull() || R.Width() <= 0 || R.Height() <= 0) return;
    if (R.Width() == Image.width() && R.Height() == Image.height()) {
        Canvas->DrawImage(R.Left, R.Top, Image);
        return;
    }
    QPainter* p = Canvas->BeginPainter();
    if (!p) return;
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), Image);
    Canvas->EndPainter(p);
}

// A size scaled by the printing factor, kept within the sizes objects may have.
int ScaleBy(int Size, double Factor) {
    if (!(Factor > 0) || !std::isfinite(Factor)) Factor = 1.0;
    return int(std::clamp(std::round(Size * Factor), 0.0, double(MaxObjectSize)));
}

// Draws a part of the current visual style, opening and closing the theme data around it.
void DrawThemePart(const TMarkupObjectCall& Call, const char16_t* ClassName, int Part, int State,
                   const TRect& R) {
    if (!AdvXPVS.OpenThemeData || !AdvXPVS.DrawThemeBackground || !AdvXPVS.CloseThemeData) return;
    HTHEME theme = AdvXPVS.OpenThemeData(Call.Window, ClassName);
    if (!theme) return;
    AdvXPVS.DrawThemeBackground(theme, Call.Canvas, Part, State, &R, nullptr);
    AdvXPVS.CloseThemeData(theme);
}

void DrawControlText(TCanvas* Canvas, const String& Text, TRect R, Cardinal Extra = 0) {
    DrawText(Canvas, Text, R, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | Extra);
}

} // namespace

THTMLPicture* FindHTMLPicture(TMarkupObjectCall& Call, const String& Source, const String& WrittenSource) {
    THTMLPicture* pic = nullptr;
    if (!Source.contains(u':')) {
        if (Call.Container) pic = Call.Container->FindPicture(Source);
    } else if (Source.contains(QLatin1String("://"))) {
        if (!Call.Cache) return nullptr;
        pic = Call.Cache->FindPicture(Source);
        if (!pic) {
            // Loaded once, synchronously; a picture that fails stays in the cache, empty, and is
            // not tried again; its error is not raised out of painting. The cache knows it by the
            // upper-case URL the markup reads, while files and resources are opened by the name as
            // written.
            pic = Call.Cache->AddPicture();
            pic->SetAsynch(false);
            try {
                pic->LoadFromURL(WrittenSource);
            } catch (const Exception&) {
            }
            pic->SetID(Source);
        }
    }
    return (pic && !pic->Empty()) ? pic : nullptr;
}

TMarkupObject PlaceHTMLImage(TMarkupObjectCall& Call, TMarkupObjectSlot& Slot, const String& Tag) {
    TMarkupObject obj;
    TCanvas* c = Call.Canvas;
    const String up = MarkupUpper(Tag);
    ++Slot.PictureCounter;

    String src, written, alt;
    FindHTMLAttribute(up, up, "SRC", src);
    FindHTMLAttribute(Tag, up, "SRC", written);
    if (FindHTMLAttribute(up, up, "ALT", alt) && !alt.isEmpty() &&
        Slot.PictureCounter == Call.HoveredPicture) {
        src = alt;
        FindHTMLAttribute(Tag, up, "ALT", written);
    }
    const int attrW = AttrInt(Tag, up, "WIDTH"), attrH = AttrInt(Tag, up, "HEIGHT");
    const int ppiX = c->GetDeviceCaps(LOGPIXELSX), ppiY = c->GetDeviceCaps(LOGPIXELSY);
    const int x = Slot.X, top = Slot.LineTop;

    const int sysAt = std::max(src.indexOf(QLatin1String("SSYS:")), src.indexOf(QLatin1String("LSYS:")));
    if (src.startsWith(QLatin1String("IDX:"))) {
        bool ok = false;
        const int n = MarkupLeadingInt(src.mid(4), &ok);
        if (ok && Call.Images && n >= 0 && n < Call.Images->Count()) {
            obj.Present = true;
            obj.Width = ScalePPI(Call.Images->Width(), ppiX);
            obj.Height = ScalePPI(Call.Images->Height(), ppiY);
            if (Slot.Painting && !Call.Printing) {
                Call.Images->Draw(c, x, top, n);
            } else if (Slot.Painting) {
                const int w = ScaleBy(Call.Images->Width(), Call.ScaleFactor);
                const int h = ScaleBy(Call.Images->Height(), Call.ScaleFactor);
                StretchImage(c, Call.Images->GetImage(n), TRect(x, top, x + w, top + h));
            }
        }
    } else if (sysAt >= 0) {
        const bool large = src.mid(sysAt, 5) == QLatin1String("LSYS:");
        const int size = large ? 32 : 16;
        obj.Present = true;
        obj.Width = ScalePPI(size, ppiX);
        obj.Height = ScalePPI(size, ppiY);
        if (Slot.Painting) {
            const QImage icon = SystemIcon(written.mid(sysAt + 5), large);
            if (!Call.Printing) {
                if (!icon.isNull()) c->DrawImage(x, top, icon);
            } else {
                const int s = ScaleBy(size, Call.ScaleFactor);
                StretchImage(c, icon, TRect(x, top, x + s, top + s));
            }
        }
    } else if (THTMLPicture* pic = FindHTMLPicture(Call, src, written)) {
        const int pw = pic->GetWidth(), ph = pic->GetHeight();
        int dw = pw, dh = ph;
        if (attrW > 0 && attrH > 0) {
            dw = attrW;
            dh = attrH;
        } else if (attrW > 0) {
            dw = attrW;
            dh = pw > 0 ? RoundDiv(qint64(ph) * attrW, pw) : 0;
        } else if (attrH > 0) {
            dw = ph > 0 ? RoundDiv(qint64(pw) * attrH, ph) : 0;
            dh = attrH;
        }
        const bool sized = attrW > 0 || attrH > 0;
        if (Slot.Painting) {
            if (sized) {
                pic->SetStretch(true);
                pic->Draw(c, TRect(x, top, x + dw, top + dh));
            } else {
                if (pic->FrameCount() > 1) {
                    const TColor fill = ColorToRGB(Call.EntryBrushColor);
                    c->FillRectColor(TRect(x, top, x + pic->MaxWidth(), top + pic->MaxHeight()), fill);
                }
                const int fx = x + pic->FrameXPos(), fy = top + pic->FrameYPos();
                pic->Draw(c, TRect(fx, fy, fx + pw, fy + ph));
            }
        }
        obj.Present = true;
        obj.Width = ScalePPI(sized ? dw : pic->MaxWidth(), ppiX);
        obj.Height = ScalePPI(sized ? dh : pic->MaxHeight(), ppiY);
    }
    if (!obj.Present) return obj;

    // A picture inside an anchor is part of it.
    if (Slot.AnchorOpen && StrictlyInside(Call.HitX, Call.HitY, Slot.LineLeft + Slot.LineWidth, Slot.LineTop,
                                          obj.Width, obj.Height)) {
        obj.Hit = true;
        obj.Anchor = Slot.Href;
        obj.Title = Slot.Title;
        Call.HoveredPicture = Slot.PictureCounter;
    }
    String align;
    if (FindHTMLAttribute(up, up, "ALIGN", align)) {
        if (align.contains(QLatin1String("TOP")))
            obj.Raise = mrRaiseTop;
        else if (align.contains(QLatin1String("MIDDLE")))
            obj.Raise = mrRaiseMiddle;
    }
    return obj;
}

TMarkupObject PlaceHTMLControl(TMarkupObjectCall& Call, TMarkupObjectSlot& Slot, const String& Tag) {
    TMarkupObject obj;
    const THTMLControlTag t = ParseHTMLControlTag(Tag);
    int width = 0;
    // A control without a plain WIDTH takes no space and is never reported.
    if (!t.HasWidth || !PlainInt(t.Width, width) || width < 0) return obj;
    width = std::min(width, MaxObjectSize);
    int height = 25;
    if (!PlainInt(t.Height, height)) height = 25;
    height = std::clamp(height, 0, MaxObjectSize);
    const bool checkOrRadio = t.Type == QLatin1String("CHECK") || t.Type == QLatin1String("RADIO");
    obj.Present = true;
    obj.Width = width;
    obj.Height = Slot.TextHeight + 10;
    int s = checkOrRadio ? 16 : 23;
    if (height > 25) s = height - 2;
    obj.SetLineHeight = s;

    if (Slot.Painting && width <= MaxDrawnControl && s <= MaxDrawnControl && height <= MaxDrawnControl) {
        TCanvas* c = Call.Canvas;
        const int x = Slot.X, L = Slot.Bottom, W = width;
        const int hoverH = t.Type == QLatin1String("BUTTON") ? 24 : obj.Height;
        const bool hovered =
            Call.HitX > x - 2 && Call.HitX < x + W - 2 && Call.HitY > L - hoverH - 2 && Call.HitY < L - 2;
        const TColor frame = Call.Themed ? TColor(0xB99D7F) : clGray;
        const bool checked = MarkupUpper(t.Value) == QLatin1String("TRUE");
        TPen* pen = c->Pen();
        TBrush* brush = c->Brush();
        const TColor penColor = pen->Color();
        const TColor brushColor = brush->Color();
        const TBrushStyle brushStyle = brush->Style();
        auto box = [&] {
            pen->SetColor(frame);
            brush->SetColor(clWhite);
            brush->SetStyle(bsSolid);
            c->Rectangle(x, L - s + 4, x + W, L + 2);
            brush->SetStyle(bsClear);
        };
        if (t.Type == QLatin1String("EDIT") || t.Type == QLatin1String("MASK")) {
            box();
            DrawControlText(c, t.Value, TRect(x + 2, L - s + 4, x + W, L));
        } else if (t.Type == QLatin1String("PASSWORD")) {
            box();
            DrawControlText(c, String(t.Value.size(), u'*'), TRect(x + 2, L - s + 4, x + W, L));
        } else if (t.Type == QLatin1String("COMBO")) {
            box();
            DrawControlText(c, t.Value, TRect(x + 4, L - s + 4, x + W - 18, L));
            TRect b(x + W - 18, L - s + 5, x + W - 1, L + 1);
            if (Call.Themed)
                DrawThemePart(Call, u"combobox", CP_DROPDOWNBUTTON, hovered ? CBXS_HOT : CBXS_NORMAL, b);
            else
                DrawFrameControl(c, b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (t.Type == QLatin1String("CHECK")) {
            TRect b(x + 2, L - 15, x + 15, L);
            if (Call.Themed)
                DrawThemePart(Call, u"button", BP_CHECKBOX, checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL,
                              b);
            else
                DrawFrameControl(c, b, DFC_BUTTON,
                                 DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (t.Type == QLatin1String("RADIO")) {
            TRect b(x + 2, L - 14, x + 14, L);
            if (Call.Themed)
                DrawThemePart(Call, u"button", BP_RADIOBUTTON,
                              checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL, b);
            else
                DrawFrameControl(c, b, DFC_BUTTON,
                                 DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (t.Type == QLatin1String("BUTTON")) {
            TRect b(x + 2, L - height, x + W - 2, L);
            if (Call.Themed) {
                const int state = Call.ControlPressed ? PBS_PRESSED : hovered ? PBS_HOT : PBS_NORMAL;
                DrawThemePart(Call, u"button", BP_PUSHBUTTON, state, b);
            } else {
                TRect fb = b;
                DrawFrameControl(c, fb, DFC_BUTTON,
                                 DFCS_BUTTONPUSH | ((hovered && Call.ControlPressed) ? DFCS_PUSHED : 0));
            }
            DrawControlText(c, t.Value, TRect(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2), DT_CENTER);
        }
        pen->SetColor(penColor);
        brush->SetColor(brushColor);
        brush->SetStyle(brushStyle);
    }

    if (t.Type == QLatin1String("BUTTON") || t.Type == QLatin1String("COMBO"))
        obj.Height = 25;
    else if (checkOrRadio)
        obj.Width = obj.Height = 16;

    const int left = Slot.LineLeft + Slot.LineWidth;
    // An empty ID asks for no control (else every control without an ID would be reported).
    const bool byID = Call.HitTestOnly && !Call.ControlID.isEmpty() && t.ID == Call.ControlID;
    if (byID || StrictlyInside(Call.HitX, Call.HitY, left, Slot.LineTop, obj.Width, obj.Height)) {
        obj.Hit = true;
        obj.IsControl = true;
        obj.Anchor = QStringLiteral("ctrl");
        obj.ControlRect = TRect(left, Slot.LineTop, left + obj.Width, Slot.LineTop + obj.Height);
        obj.ControlID = t.ID;
        obj.ControlValue = t.Value;
        obj.ControlType = t.Type;
        Call.HoveredPicture = Slot.PictureCounter;
    }
    return obj;
}

void DrawHTMLBackground(TMarkupObjectCall& Call, const String& Tag, const TRect& R) {
    const String up = MarkupUpper(Tag);
    String src, written;
    if (!FindHTMLAttribute(up, up, "BACKGROUND", src)) return;
    FindHTMLAttribute(Tag, up, "BACKGROUND", written);
    THTMLPicture* pic = FindHTMLPicture(Call, src, written);
    if (!pic) return;
    const int w = pic->GetWidth(), h = pic->GetHeight();
    if (w <= 0 || h <= 0 || R.IsEmpty()) return;
    TCanvas* c = Call.Canvas;
    const int saved = c->SaveDC();
    c->IntersectClipRect(R);
    // Only the tiles that can show are drawn.
    const TRect clip = c->ClipRect();
    const int i0 = clip.Left > R.Left ? (clip.Left - R.Left) / w : 0;
    const int j0 = clip.Top > R.Top ? (clip.Top - R.Top) / h : 0;
    for (int j = j0; j * h < R.Height() && R.Top + j * h < clip.Bottom; ++j)
        for (int i = i0; i * w < R.Width() && R.Left + i * w < clip.Right; ++i) {
            const int x = R.Left + i * w, y = R.Top + j * h;
            pic->Draw(c, TRect(x, y, x + w, y + h));
        }
    c->RestoreDC(saved);
}
