#include "ComCtrls.h"
#include "StandIn.h"

#include <algorithm>

// =============================================================================================
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle.insert(csAcceptsControls);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (FPageControl == Value) return;
    if (FPageControl) FPageControl->RemovePage(this);
    SetParent(Value);
    if (Value) Value->InsertPage(this);
}

void TTabSheet::SetImageIndex(int Value) {
    if (Value >= 0) PlatformStandIn("TTabSheet::SetImageIndex");
    FImageIndex = Value;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (FTabVisible == Value) return;
    FTabVisible = Value;
    if (!FPageControl) return;
    if (!Value && FPageControl->FActivePage == this) FPageControl->SelectNextPage(true);
    if (!Value && FPageControl->FActivePage == this) FPageControl->SetActivePage(nullptr);
    FPageControl->Invalidate();
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
    if (!FPageControl) return;
    auto& pages = FPageControl->FPages;
    pages.erase(std::find(pages.begin(), pages.end(), this));
    Value = std::clamp(Value, 0, int(pages.size()));
    pages.insert(pages.begin() + Value, this);
    FPageControl->Invalidate();
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    const auto tabs = FPageControl->VisibleTabs();
    return int(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

// =============================================================================================
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = {csDoubleClicks, csOpaque};
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : FPages) p->FPageControl = nullptr;
    FPages.clear();
}

TTabSheet* TPageControl::Pages(int Index) const {
    if (Index < 0 || Index >= int(FPages.size()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FPages[size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    Page->SetBoundsRect(DisplayRect());
    Page->SetVisible(false);
    if (!FActivePage && Page->TabVisible()) SetActivePage(Page);
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    if (FActivePage == Page) {
        SelectNextPage(true);
        if (FActivePage == Page) FActivePage = nullptr;
    }
    FPages.erase(std::find(FPages.begin(), FPages.end(), Page));
    Page->FPageControl = nullptr;
    if (!HasState(csDestroying)) Invalidate();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* p : FPages)
        if (p->TabVisible()) tabs.push_back(p);
    return tabs;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && (Value->FPageControl != this || !Value->TabVisible())) return;
    if (FActivePage == Value) return;
    TTabSheet* old = FActivePage;
    FActivePage = Value;
    if (Value) {
        Value->SetBoundsRect(DisplayRect());
        Value->BringToFront();
        Value->SetVisible(true);
    }
    if (old && old != Value) old->SetVisible(false);
    Invalidate();
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < int(FPages.size()) ? FPages[size_t(Value)] : nullptr);
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    if (FPages.empty()) return;
    const int n = int(FPages.size());
    const int start = FActivePage ? FActivePage->PageIndex() : (GoForward ? -1 : n);
    for (int step = 1; step <= n; ++step) {
        const int i = ((start + (GoForward ? step : -step)) % n + n) % n;
        TTabSheet* p = FPages[size_t(i)];
        if (p == FActivePage) break;
        if (CheckTabVisible && !p->TabVisible()) continue;
        if (!CanChange()) return;
        SetActivePage(p);
        Change();
        return;
    }
}

int TPageControl::TabHeight() const {
    TCanvas* c = const_cast<TPageControl*>(this)->Canvas();
    c->SetFont(Font());
    return c->TextHeight(QStringLiteral("Wg")) + 6;
}

TRect TPageControl::TabRect(int Index) const {
    const auto tabs = VisibleTabs();
    if (Index < 0 || Index >= int(tabs.size())) return TRect();
    TCanvas* c = const_cast<TPageControl*>(this)->Canvas();
    c->SetFont(Font());
    int x = 2;
    for (int i = 0; i < Index; ++i) x += c->TextWidth(tabs[size_t(i)]->Caption()) + 14;
    const int w = c->TextWidth(tabs[size_t(Index)]->Caption()) + 14;
    return TRect(x, 2, x + w, 2 + TabHeight());
}

int TPageControl::IndexOfTabAt(int X, int Y) const {
    const auto tabs = VisibleTabs();
    for (int i = 0; i < int(tabs.size()); ++i)
        if (TabRect(i).Contains(TPoint(X, Y))) return i;
    return -1;
}

TRect TPageControl::DisplayRect() const {
    const TRect r = GetClientRect();
    return TRect(r.Left + 4, r.Top + TabHeight() + 6, std::max(r.Left + 4, r.Right - 4),
                 std::max(r.Top + TabHeight() + 6, r.Bottom - 4));
}

void TPageControl::AdjustClientRect(TRect& Rect) {
    Rect = DisplayRect();
}

void TPageControl::PlaceSheets() {
    const TRect r = DisplayRect();
    for (TTabSheet* p : FPages) p->SetBoundsRect(r);
}

void TPageControl::BoundsChanged(bool Resized) {
    TCustomControl::BoundsChanged(Resized);
    if (Resized) PlaceSheets();
}

bool TPageControl::CanChange() {
    bool allow = true;
    if (Assigned(OnChanging)) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int i = IndexOfTabAt(X, Y);
    if (i < 0) return;
    TTabSheet* page = VisibleTabs()[size_t(i)];
    if (page == FActivePage || !CanChange()) return;
    SetActivePage(page);
    Change();
}

void TPageControl::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    const int th = TabHeight();
    const TRect frame(client.Left, client.Top + th + 2, client.Right, client.Bottom);
    auto line = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
        c->Pen()->SetColor(Color);
        c->MoveTo(X1, Y1);
        c->LineTo(X2, Y2);
    };
    // The frame of the display area.
    line(clBtnHighlight, frame.Left, frame.Bottom - 1, frame.Left, frame.Top);
    line(clBtnHighlight, frame.Left, frame.Top, frame.Right - 1, frame.Top);
    line(cl3DDkShadow, frame.Right - 1, frame.Top, frame.Right - 1, frame.Bottom - 1);
    line(cl3DDkShadow, frame.Right - 1, frame.Bottom - 1, frame.Left - 1, frame.Bottom - 1);
    line(clBtnShadow, frame.Right - 2, frame.Top + 1, frame.Right - 2, frame.Bottom - 2);
    line(clBtnShadow, frame.Right - 2, frame.Bottom - 2, frame.Left, frame.Bottom - 2);

    const auto tabs = VisibleTabs();
    c->SetFont(Font());
    for (int i = 0; i < int(tabs.size()); ++i) {
        TRect r = TabRect(i);
        const bool active = tabs[size_t(i)] == FActivePage;
        if (active) r = TRect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1);
        c->Brush()->SetColor(Color());
        c->FillRect(TRect(r.Left, r.Top, r.Right, r.Bottom + (active ? 1 : 0)));
        line(clBtnHighlight, r.Left, r.Bottom, r.Left, r.Top + 2);
        line(clBtnHighlight, r.Left, r.Top + 2, r.Left + 2, r.Top);
        line(clBtnHighlight, r.Left + 2, r.Top, r.Right - 2, r.Top);
        line(cl3DDkShadow, r.Right - 2, r.Top + 1, r.Right - 1, r.Top + 2);
        line(cl3DDkShadow, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom);
        line(clBtnShadow, r.Right - 2, r.Top + 2, r.Right - 2, r.Bottom);
        c->Brush()->SetStyle(bsClear);
        TRect tr(r.Left, r.Top, r.Right, r.Bottom);
        DrawText(c, tabs[size_t(i)]->Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
}
