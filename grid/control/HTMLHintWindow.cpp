// THTMLHintWindow: measuring, placing and painting markup and packed wide hints.
#include "HTMLHintWindow.h"

#include "AdvGrid.h"
#include "Forms.h"
#include "GridUtil.h"
#include "MarkupRender.h"
#include "OSInfo.h"

String HintFontName;

namespace {

// Links in hints are blue.
constexpr TColor HintLinkColor = TColor(0xFF0000);
// The width a hint is measured within when it is shown.
constexpr int ActivateMaxWidth = 1008;

bool IsPackedWide(const String& S) {
    return CellTextType(S, false) == ctkPackedWide;
}

} // namespace

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void THTMLHintWindow::CreateParams(TCreateParams& Params) {
    THintWindow::CreateParams(Params);
    Params.Style &= ~WS_BORDER;
    if (Win32Platform == VER_PLATFORM_WIN32_NT && CheckWin32Version(5, 1))
        Params.WindowClassStyle |= CS_DROPSHADOW;
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    TRect r(0, 0, MaxWidth, 0);
    if (IsPackedWide(AHint)) {
        c->Font()->SetName(HintFontName);
        DrawText(c, UnpackWideText(AHint), r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return TRect(0, 0, r.Width(), r.Height());
    }
    THTMLDrawOptions opt;
    opt.Images = FImages;
    opt.PictureContainer = FPictureContainer;
    opt.URLColor = HintLinkColor;
    opt.MeasureOnly = true;
    THTMLDrawResult res;
    DrawHTML(c, AHint, r, opt, res);
    return TRect(0, 0, res.TextWidth, res.TextHeight);
}

void THTMLHintWindow::ActivateHint(TRect Rect, const String& AHint) {
    SetCaption(AHint);
    const bool packed = IsPackedWide(AHint);
    const TRect m = CalcHintRect(ActivateMaxWidth, AHint, nullptr);
    FWideCaption = packed ? UnpackWideText(AHint) : String();
    const int padding = packed ? 8 : 16;
    FTextWidth = m.Width();
    FTextHeight = m.Height();
    TRect r = Bounds(Rect.Left, Rect.Top, FTextWidth + padding, FTextHeight + 4);
    if (Screen) {
        const TRect work = Screen->MonitorWorkAreaRect(TPoint(r.Left, r.Top));
        if (r.Right > work.Right) r = Bounds(work.Right - 2 - r.Width(), r.Top, r.Width(), r.Height());
        if (r.Bottom > work.Bottom) r = Bounds(r.Left, work.Bottom - 2 - r.Height(), r.Width(), r.Height());
    }
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THTMLHintWindow::ActivateHintData(TRect Rect, const String& AHint, void* AData) {
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(static_cast<TObject*>(AData))) {
        FImages = grid->GridImages();
        FPictureContainer = nullptr; // the grid has no picture container of its own
    }
    THintWindow::ActivateHintData(Rect, AHint, AData);
}

void THTMLHintWindow::Dispatch(TMessage& Message) {
    THintWindow::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}

void THTMLHintWindow::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    const int right = client.Right - 1, bottom = client.Bottom - 1;
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(cl3DLight);
    c->MoveTo(0, bottom);
    c->LineTo(0, 0);
    c->LineTo(right, 0);
    c->Pen()->SetColor(cl3DDkShadow);
    c->MoveTo(right, 0);
    c->LineTo(right, bottom);
    c->LineTo(-1, bottom);

    // The text starts where the measured text lies centred; the rectangle reaches 8 pixels
    // further down, so the renderer never cuts the last line.
    const int top = (client.Height() - FTextHeight) / 2;
    TRect r(client.Left + 4, top, client.Right - 4, top + FTextHeight + 8);
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    if (!FWideCaption.isEmpty() && IsPackedWide(Caption())) {
        c->Font()->SetName(HintFontName);
        DrawText(c, FWideCaption, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    THTMLDrawOptions opt;
    opt.Images = FImages;
    opt.PictureContainer = FPictureContainer;
    opt.URLColor = HintLinkColor;
    THTMLDrawResult res;
    DrawHTML(c, Caption(), r, opt, res);
}
