#include "CategoryPanels.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int ChevronSize = 16;
constexpr int HeaderMargin = 4;

int Channel(TColor C, int Shift) {
    return int((ColorToRGB(C) >> Shift) & 0xFF);
}

TColor Blend(TColor A, TColor B, int Step, int Steps) {
    if (Steps <= 0) return ColorToRGB(A);
    auto mix = [&](int Shift) {
        const int a = Channel(A, Shift), b = Channel(B, Shift);
        return (a + (b - a) * Step / Steps) & 0xFF;
    };
    return TColor(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

} // namespace

// =============================================================================================
// TCategoryPanelSurface

TCategoryPanelSurface::TCategoryPanelSurface(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle.insert(csAcceptsControls);
}

void TCategoryPanelSurface::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(GetClientRect());
}

// =============================================================================================
// TCategoryPanel

TCategoryPanel::TCategoryPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle.insert(csAcceptsControls);
    TCustomControl::SetBounds(0, 0, 185, FFullHeight);
    FSurface = new TCategoryPanelSurface(this);
    FSurface->SetParent(this);
    LayoutSurface();
}

TCategoryPanel::~TCategoryPanel() {
    // A panel freed before its group leaves the group's column; one freed by its group's own
    // destruction finds no group any more.
    if (TCategoryPanelGroup* group = PanelGroup()) group->RemovePanel(this);
}

TCategoryPanelGroup* TCategoryPanel::PanelGroup() const {
    return dynamic_cast<TCategoryPanelGroup*>(Parent());
}

void TCategoryPanel::SetPanelGroup(TCategoryPanelGroup* Value) {
    SetParent(Value);
}

void TCategoryPanel::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    if (TCategoryPanelGroup* old = PanelGroup()) old->RemovePanel(this);
    TCustomControl::SetParent(AParent);
    if (TCategoryPanelGroup* group = PanelGroup()) group->AddPanel(this);
    LayoutSurface();
}

void TCategoryPanel::SetCollapsed(bool Value) {
    if (FCollapsed == Value) return;
    FCollapsed = Value;
    if (TCategoryPanelGroup* group = PanelGroup()) {
        group->ArrangePanels();
    } else {
        FPlacing = true;
        TCustomControl::SetBounds(Left(), Top(), Width(), FCollapsed ? HeaderHeight() : FFullHeight);
        FPlacing = false;
    }
    LayoutSurface();
    Invalidate();
    if (FCollapsed) {
        if (Assigned(OnCollapse)) OnCollapse(this);
    } else if (Assigned(OnExpand)) {
        OnExpand(this);
    }
}

void TCategoryPanel::SetCollapsedImageIndex(int Value) {
    if (FCollapsedImageIndex == Value) return;
    FCollapsedImageIndex = Value;
    Invalidate();
}

void TCategoryPanel::SetExpandedImageIndex(int Value) {
    if (FExpandedImageIndex == Value) return;
    FExpandedImageIndex = Value;
    Invalidate();
}

int TCategoryPanel::HeaderHeight() const {
    TCategoryPanelGroup* group = PanelGroup();
    return group ? group->HeaderHeight() : 24;
}

TRect TCategoryPanel::HeaderRect() const {
    return Rect(0, 0, Width(), HeaderHeight());
}

TRect TCategoryPanel::ChevronRect() const {
    const int hh = HeaderHeight();
    const int top = (hh - ChevronSize) / 2;
    return Rect(Width() - HeaderMargin - ChevronSize, top, Width() - HeaderMargin, top + ChevronSize);
}

void TCategoryPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FPlacing) {
        TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    // A height given from outside is the expanded height; a collapsed panel keeps it for later.
    FFullHeight = std::max(AHeight, 0);
    const bool moved = ATop != Top();
    const int shown = FCollapsed ? HeaderHeight() : FFullHeight;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, shown);
    LayoutSurface();
    if (TCategoryPanelGroup* group = PanelGroup()) {
        group->ArrangePanels(moved ? this : nullptr);
    }
}

void TCategoryPanel::SetVisible(bool Value) {
    if (Value == Visible()) return;
    TCustomControl::SetVisible(Value);
    if (TCategoryPanelGroup* group = PanelGroup()) group->ArrangePanels();
}

void TCategoryPanel::PlaceInGroup(int ALeft, int ATop, int AWidth) {
    FPlacing = true;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, FCollapsed ? HeaderHeight() : FFullHeight);
    FPlacing = false;
    LayoutSurface();
}

void TCategoryPanel::LayoutSurface() {
    if (!FSurface) return;
    const int hh = HeaderHeight();
    FSurface->SetBounds(0, hh, Width(), std::max(FFullHeight - hh, 0));
    // The controls of a collapsed panel can neither be seen nor take the focus.
    FSurface->SetVisible(!FCollapsed);
}

void TCategoryPanel::BoundsChanged(bool Resized) {
    TCustomControl::BoundsChanged(Resized);
    if (Resized) Invalidate();
}

void TCategoryPanel::Loaded() {
    TCustomControl::Loaded();
    if (FSurface && FSurface->HasState(csLoading)) FSurface->Loaded();
}

void TCategoryPanel::SetChevronHot(bool Value) {
    if (FChevronHot == Value) return;
    FChevronHot = Value;
    Invalidate();
}

void TCategoryPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && HeaderRect().Contains(TPoint(X, Y))) SetCollapsed(!FCollapsed);
}

void TCategoryPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    SetChevronHot(ChevronRect().Contains(TPoint(X, Y)));
}

void TCategoryPanel::CMMouseLeave(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    SetChevronHot(false);
}

void TCategoryPanel::CMTextChanged(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    Invalidate();
}

void TCategoryPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case CM_TEXTCHANGED: CMTextChanged(Message); break;
        default: TCustomControl::Dispatch(Message);
    }
}

void TCategoryPanel::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(GetClientRect());
    DrawHeader();
}

void TCategoryPanel::DrawHeader() {
    TCanvas* canvas = Canvas();
    TCategoryPanelGroup* group = PanelGroup();
    const TRect header = HeaderRect();
    const TColor base = group ? group->GradientBaseColor() : TColor(0xF0F0F0);
    const TColor last = group ? group->GradientColor() : TColor(0xE0E0E0);
    const bool vertical = !group || group->GradientDirection() == gdVertical;

    // Gradient from the base colour (top or left) to the gradient colour.
    const int steps = vertical ? header.Height() : header.Width();
    for (int i = 0; i < steps; ++i) {
        const TColor c = Blend(base, last, i, std::max(steps - 1, 1));
        const TRect band = vertical ? Rect(header.Left, header.Top + i, header.Right, header.Top + i + 1)
                                    : Rect(header.Left + i, header.Top, header.Left + i + 1, header.Bottom);
        canvas->FillRectColor(band, c);
    }
    // A darker line closes the header off from the panel's controls.
    canvas->FillRectColor(Rect(header.Left, header.Bottom - 1, header.Right, header.Bottom),
                          Blend(last, clBlack, 1, 5));

    int x = header.Left + HeaderMargin;
    TCustomImageList* images = group ? group->Images() : nullptr;
    const int imageIndex = FCollapsed ? FCollapsedImageIndex : FExpandedImageIndex;
    if (images && imageIndex >= 0 && imageIndex < images->Count()) {
        images->Draw(canvas, x, header.Top + (header.Height() - images->Height()) / 2, imageIndex);
        x += images->Width() + HeaderMargin;
    }

    const TRect chevron = ChevronRect();
    if (group) canvas->SetFont(group->HeaderFont());
    canvas->Brush()->SetStyle(bsClear);
    TRect textRect = Rect(x, header.Top, chevron.Left - HeaderMargin, header.Bottom);
    DrawText(canvas, Caption(), textRect,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    canvas->Brush()->SetStyle(bsSolid);

    // Two stacked chevrons: pointing up while expanded (a click collapses), down while collapsed.
    const TColor chevronColor =
        FChevronHot ? (group ? group->ChevronHotColor() : clGray) : (group ? group->ChevronColor() : clBlack);
    canvas->Pen()->SetColor(chevronColor);
    canvas->Pen()->SetWidth(1);
    const int cx = chevron.Left + ChevronSize / 2;
    for (int k = 0; k < 2; ++k) {
        const int y = chevron.Top + 4 + k * 5;
        for (int t = 0; t < 2; ++t) { // two pixels thick
            if (FCollapsed) {
                canvas->MoveTo(cx - 4, y + t);
                canvas->LineTo(cx, y + t + 4);
                canvas->LineTo(cx + 5, y + t - 1);
            } else {
                canvas->MoveTo(cx - 4, y + t + 4);
                canvas->LineTo(cx, y + t);
                canvas->LineTo(cx + 5, y + t + 5);
            }
        }
    }
}

// =============================================================================================
// TCategoryPanelGroup

TCategoryPanelGroup::TCategoryPanelGroup(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle.insert(csAcceptsControls);
    FHeaderFont = new TFont();
    FHeaderFont->SetStyle({fsBold});
    FHeaderFont->OnChange = [this](TObject* Sender) { HeaderFontChanged(Sender); };
    TCustomControl::SetBounds(0, 0, 200, 400);
}

TCategoryPanelGroup::~TCategoryPanelGroup() {
    FPanels.clear();
    TObject::Free(FHeaderFont);
    FHeaderFont = nullptr;
}

TCategoryPanel* TCategoryPanelGroup::Panels(int Index) const {
    if (Index < 0 || Index >= PanelCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FPanels[size_t(Index)];
}

TCategoryPanel* TCategoryPanelGroup::CreatePanel(TComponent* AOwner) {
    auto* panel = new TCategoryPanel(AOwner);
    panel->SetPanelGroup(this);
    return panel;
}

void TCategoryPanelGroup::CollapseAll() {
    for (TCategoryPanel* p : std::vector<TCategoryPanel*>(FPanels)) p->Collapse();
}

void TCategoryPanelGroup::ExpandAll() {
    for (TCategoryPanel* p : std::vector<TCategoryPanel*>(FPanels)) p->Expand();
}

void TCategoryPanelGroup::SetHeaderFont(TFont* Value) {
    if (Value) FHeaderFont->Assign(Value);
}

void TCategoryPanelGroup::HeaderFontChanged(TObject*) {
    LookChanged();
}

void TCategoryPanelGroup::SetHeaderHeight(int Value) {
    Value = std::max(Value, 0);
    if (FHeaderHeight == Value) return;
    FHeaderHeight = Value;
    ArrangePanels();
    LookChanged();
}

void TCategoryPanelGroup::SetGradientBaseColor(TColor Value) {
    FGradientBaseColor = Value;
    LookChanged();
}

void TCategoryPanelGroup::SetGradientColor(TColor Value) {
    FGradientColor = Value;
    LookChanged();
}

void TCategoryPanelGroup::SetGradientDirection(TGradientDirection Value) {
    FGradientDirection = Value;
    LookChanged();
}

void TCategoryPanelGroup::SetChevronColor(TColor Value) {
    FChevronColor = Value;
    LookChanged();
}

void TCategoryPanelGroup::SetChevronHotColor(TColor Value) {
    FChevronHotColor = Value;
    LookChanged();
}

void TCategoryPanelGroup::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    LookChanged();
}

void TCategoryPanelGroup::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        LookChanged();
    }
}

void TCategoryPanelGroup::LookChanged() {
    for (TCategoryPanel* p : FPanels) p->Invalidate();
}

void TCategoryPanelGroup::SetTracking(bool Value) {
    FTracking = Value;
    if (FScrollBar) FScrollBar->setTracking(Value);
}

int TCategoryPanelGroup::ScrollBarWidth() {
    return 17;
}

TRect TCategoryPanelGroup::GetClientRect() const {
    return Rect(0, 0, std::max(Width() - (FScrollBarVisible ? ScrollBarWidth() : 0), 0), Height());
}

void TCategoryPanelGroup::AddPanel(TCategoryPanel* Panel) {
    if (std::find(FPanels.begin(), FPanels.end(), Panel) != FPanels.end()) return;
    // A panel joins at the bottom of the column.
    int bottom = -FScrollPos;
    for (TCategoryPanel* p : FPanels)
        if (p->Visible()) bottom = std::max(bottom, p->Top() + p->Height());
    FPanels.push_back(Panel);
    Panel->FPlacing = true;
    Panel->TCustomControl::SetBounds(Panel->Left(), bottom, Panel->Width(), Panel->Height());
    Panel->FPlacing = false;
    ArrangePanels();
}

void TCategoryPanelGroup::RemovePanel(TCategoryPanel* Panel) {
    auto it = std::find(FPanels.begin(), FPanels.end(), Panel);
    if (it == FPanels.end()) return;
    FPanels.erase(it);
    ArrangePanels();
}

int TCategoryPanelGroup::ContentHeight() const {
    int total = 0;
    for (TCategoryPanel* p : FPanels)
        if (p->Visible()) total += p->FCollapsed ? FHeaderHeight : p->FFullHeight;
    return total;
}

int TCategoryPanelGroup::ScrollMax() const {
    return std::max(ContentHeight() - Height(), 0);
}

void TCategoryPanelGroup::ArrangePanels(TCategoryPanel* Moved) {
    if (FArranging || HasState(csDestroying)) return;
    FArranging = true;
    // The visible panels in the order of their tops; a panel just moved goes before another at
    // the same top, so that setting a top places the panel there.
    std::vector<TCategoryPanel*> column;
    for (TCategoryPanel* p : FPanels)
        if (p->Visible()) column.push_back(p);
    std::stable_sort(column.begin(), column.end(), [Moved](TCategoryPanel* a, TCategoryPanel* b) {
        if (a->Top() != b->Top()) return a->Top() < b->Top();
        return a == Moved && b != Moved;
    });

    const int content = ContentHeight();
    FScrollBarVisible = content > Height();
    FScrollPos = std::clamp(FScrollPos, 0, ScrollMax());
    const int width = GetClientRect().Width();
    int y = -FScrollPos;
    for (TCategoryPanel* p : column) {
        p->PlaceInGroup(0, y, width);
        y += p->Height();
    }
    FArranging = false;
    UpdateScrollBar();
    Invalidate();
}

void TCategoryPanelGroup::SetScrollPos(int Value) {
    Value = std::clamp(Value, 0, ScrollMax());
    if (Value == FScrollPos) {
        UpdateScrollBar();
        return;
    }
    FScrollPos = Value;
    ArrangePanels();
}

void TCategoryPanelGroup::WMVScroll(TWMVScroll& Message) {
    int pos = FScrollPos;
    switch (int(Message.ScrollCode)) {
        case SB_LINEUP: pos -= FLineIncrement; break;
        case SB_LINEDOWN: pos += FLineIncrement; break;
        case SB_PAGEUP: pos -= std::max(ClientHeight(), 1); break;
        case SB_PAGEDOWN: pos += std::max(ClientHeight(), 1); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: pos = int(Message.Pos); break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = ScrollMax(); break;
        default: break; // SB_ENDSCROLL: the scrolling is complete already
    }
    SetScrollPos(pos);
    Message.Result = 0;
}

void TCategoryPanelGroup::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_VSCROLL: CallHandler<TWMVScroll>(this, &TCategoryPanelGroup::WMVScroll, Message); break;
        default: TCustomControl::Dispatch(Message);
    }
}

void TCategoryPanelGroup::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TCategoryPanelGroup::CreateWnd() {
    TCustomControl::CreateWnd();
    QWidget* host = WidgetIfAllocated();
    if (!host) return;
    FScrollBar = new QScrollBar(Qt::Vertical, host);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    FScrollBar->setTracking(FTracking);
    QObject::connect(FScrollBar.data(), &QScrollBar::valueChanged, FScrollBar.data(), [this](int Value) {
        if (FSyncingBar) return;
        Perform(WM_VSCROLL, MAKEWPARAM(Word(SB_THUMBPOSITION), Word(Value)));
        Perform(WM_VSCROLL, MAKEWPARAM(Word(SB_ENDSCROLL), 0));
    });
    UpdateScrollBar();
}

void TCategoryPanelGroup::DestroyWnd() {
    FScrollBar = nullptr; // goes with the window's widget
    TCustomControl::DestroyWnd();
}

void TCategoryPanelGroup::UpdateScrollBar() {
    if (!FScrollBar) return;
    FSyncingBar = true;
    const int w = ScrollBarWidth();
    FScrollBar->setGeometry(Width() - w, 0, w, Height());
    FScrollBar->setRange(0, ScrollMax());
    FScrollBar->setPageStep(std::max(Height(), 1));
    FScrollBar->setSingleStep(FLineIncrement);
    FScrollBar->setValue(FScrollPos);
    FScrollBar->setVisible(FScrollBarVisible);
    if (FScrollBarVisible) FScrollBar->raise();
    FSyncingBar = false;
}

void TCategoryPanelGroup::BoundsChanged(bool Resized) {
    TCustomControl::BoundsChanged(Resized);
    if (Resized)
        ArrangePanels();
    else
        UpdateScrollBar();
}
