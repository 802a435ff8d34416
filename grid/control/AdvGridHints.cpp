// TAdvStringGrid: cell hints (the hint builder behind CM_HINTSHOW) and balloon tips (the
// platform's tool-tip window in balloon style).
#include "AdvGrid.h"

#include "Forms.h"
#include "GridUtil.h"
#include "HTMLHintWindow.h"
#include "MarkupRender.h"
#include "OSInfo.h"
#include "ToolTips.h"

// ---------------------------------------------------------------------------------------------
// Cell hints

void TAdvStringGrid::SetUseHTMLHints(bool Value) {
    FUseHTMLHints = Value;
    HintWindowClass = Value ? HintWindowClassOf<THTMLHintWindow>() : HintWindowClassOf<THintWindow>();
}

void TAdvStringGrid::CMHintShow(TMessage& Message) {
    TCMHintShow m(Message);
    if (THintInfo* info = m.HintInfo()) BuildCellHint(info->HintStr, *info);
    Message.Result = 0;
}

void TAdvStringGrid::BuildCellHint(String& HintStr, THintInfo& HintInfo) {
    if (FControlLook->HintMaxWidth() > 0) HintInfo.HintMaxWidth = FControlLook->HintMaxWidth();
    HintFontName = Font()->Name();

    int col = -1, row = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, col, row);
    if (col >= 0 && row >= 0) {
        const TPoint base = BaseCell(col, row);
        col = base.X;
        row = base.Y;
        FLastHintPos = TPoint(col, row);
        const TRect r = CellRect(col, row);
        const int c = RealColIndex(col);
        const TPoint cursor = HintInfo.CursorPos;

        // A comment shows beside the cell, any other hint below the pointer's column.
        TPoint pos(cursor.X, r.Bottom + 6);
        String comment;
        if (IsComment(c, row, comment)) {
            HintStr = comment;
            pos = TPoint(r.Right, r.Top);
        }

        const String text = GetCellEx(c, row);
        const int kind = CellTextType(text, EnableHTML);

        // A link under the pointer shows its title.
        if (kind == ctkMarkup && AnchorHint) {
            TRect tr = r;
            tr.Left += XYOffset.X;
            tr.Top += XYOffset.Y;
            THTMLDrawOptions opt;
            opt.Images = FGridImages;
            opt.PictureCache = ImageCache();
            opt.URLColor = URLColor();
            opt.HitTestOnly = true;
            opt.HitX = cursor.X;
            opt.HitY = cursor.Y;
            THTMLDrawResult res;
            DrawHTML(Canvas(), text, tr, opt, res);
            if (res.Hit && !res.Anchor.isEmpty() && res.Anchor != QStringLiteral("ctrl")) {
                String anchor = res.AnchorTitle.isEmpty() ? res.Anchor : res.AnchorTitle;
                if (OnAnchorHint) OnAnchorHint(this, row, c, anchor);
                FLastAnchorHint = anchor;
                HintStr = anchor;
                pos = TPoint(cursor.X + 8, cursor.Y - 16);
            }
        }

        const bool dataCell = col >= FixedCols() && row >= FixedRows() &&
                              col < ColCount() - FFixedRightCols && row < RowCount() - FFixedFooters;
        if (HintShowCells && dataCell) {
            pos.Y = r.Top;
            if (kind == ctkPackedWide)
                HintStr = UnpackWideText(text);
            else if (HTMLHint)
                HintStr = text;
            else
                HintStr = StrippedCells(c, row);
        }

        if (HintShowLargeText) {
            const TSize need = GetCellTextSize(c, row, false, false);
            if (need.cx > r.Width() || need.cy > r.Height()) {
                if (HintShowLargeTextPos == hpCell) pos = TPoint(r.Left, r.Top);
                if (kind == ctkPackedWide || HTMLHint || kind != ctkMarkup)
                    HintStr = text;
                else
                    HintStr = StrippedCells(c, row);
            }
        }

        // The footer row of a shown floating footer has no hint of its own.
        if (!(FooterRowShown() && row == RowCount() - 1)) {
            String wide;
            GridHint(c, row, HintStr, wide);
        }

        const int hintKind = CellTextType(HintStr, true);
        if ((hintKind == ctkMarkup || hintKind == ctkPackedWide) && UseInternalHintClass) {
            HintInfo.HintWindowClass = HintWindowClassOf<THTMLHintWindow>();
            HintInfo.HintData = static_cast<TObject*>(this);
        }
        HintInfo.HintPos = ClientToScreen(pos);
    }
    HintInfo.HintColor = HintColor;
}

// ---------------------------------------------------------------------------------------------
// Balloons

void TAdvStringGrid::BalloonSettingsEnableChange(TObject*) {
    if (Loading()) return;
    if (FBalloon->Enable())
        BalloonInit();
    else
        BalloonDone();
}

void TAdvStringGrid::BalloonInit() {
    // The tool-tip belongs to the grid's window: until it exists (CreateWnd calls here again)
    // balloons stay off.
    if (FBalloon->Initialized() || !HandleAllocated()) return;
    FBalloon->SetInitialized(true);
    FHToolTip = CreateWindowEx(0, TOOLTIPS_CLASS, String(),
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, 0, nullptr);
    // A window that could not be made leaves FHToolTip 0: the messages below reach no window.
    if (FHToolTip)
        SetWindowPos(FHToolTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = UINT_PTR(Handle());
    ti.rect = ClientRect();
    ti.lpszText = LPSTR_TEXTCALLBACK;
    SendMessage(FHToolTip, TTM_ADDTOOL, 0, LPARAM(&ti));

    static const String title = QStringLiteral("ToolTipText");
    SendMessage(FHToolTip, TTM_SETTITLE, WPARAM(TTI_ERROR), LPARAM(title.utf16()));
    if (FBalloon->InitialDelay() != -1)
        SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_INITIAL, LPARAM(FBalloon->InitialDelay()));
    if (FBalloon->ReshowDelay() != -1)
        SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_RESHOW, LPARAM(FBalloon->ReshowDelay()));
    if (FBalloon->AutoHideDelay() != -1)
        SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, LPARAM(FBalloon->AutoHideDelay()));

    if (FBalloon->Transparency() > 0 && FHToolTip) {
        SetWindowLong(FHToolTip, GWL_EXSTYLE, GetWindowLong(FHToolTip, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
        // Looked up at each call, as the layered-window functions may be missing.
        if (auto fn = reinterpret_cast<TSetLayeredWindowAttributes>(
                GetProcAddress(GetModuleHandle("USER32.DLL"), "SetLayeredWindowAttributes")))
            fn(FHToolTip, 0, Byte(255 - FBalloon->Transparency()), LWA_ALPHA);
    }
}

void TAdvStringGrid::BalloonDone() {
    if (FHToolTip) DestroyWindow(FHToolTip);
    FHToolTip = 0;
    FBalloon->SetInitialized(false);
}
