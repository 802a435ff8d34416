#include "AdvDropDownStrips.h"

#include "AdvDropDownDraw.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GridDropDowns.h"
#include "ImgList.h"
#include "WindowSizing.h"

#include <algorithm>
#include <type_traits>

namespace {

// Points Field at Value and moves Self's free notification along; false when nothing changed.
template <class T> bool Relink(TComponent* Self, T*& Field, T* Value) {
    if (Value == Field) return false;
    if (Field) Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Field) Field->FreeNotification(Self);
    return true;
}

} // namespace

// =============================================================================================
// TAdvButtonAppearance

TAdvButtonAppearance::TAdvButtonAppearance()
    : FColorCheckedTo(ScaleColorChannels(0xF9D2B2, -10, -10, 0)),
      FColorChecked(ScaleColorChannels(0xF5F0E1, -10, -10, 0)), FFont(new TFont()) {
    FFont->SetName(QStringLiteral("Tahoma"));
}

TAdvButtonAppearance::~TAdvButtonAppearance() {
    TObject::Free(FFont);
}

void TAdvButtonAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TAdvButtonAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(src->Color());
    SetColorTo(src->ColorTo());
    SetColorHot(src->ColorHot());
    SetColorHotTo(src->ColorHotTo());
    SetColorDown(src->ColorDown());
    SetColorDownTo(src->ColorDownTo());
    SetColorChecked(src->ColorChecked());
    SetColorCheckedTo(src->ColorCheckedTo());
    SetColorDisabled(src->ColorDisabled());
    SetColorDisabledTo(src->ColorDisabledTo());
    SetBorderColor(src->BorderColor());
    SetBorderColorHot(src->BorderColorHot());
    SetBorderColorDown(src->BorderColorDown());
    SetBorderColorChecked(src->BorderColorChecked());
    SetBorderColorDisabled(src->BorderColorDisabled());
    SetGradient(src->Gradient());
}

void TAdvButtonAppearance::SetGradient(TGradientDirection Value) {
    if (Value == FGradient) return;
    FGradient = Value;
    Changed();
}

void TAdvButtonAppearance::SetColorField(TColor& Field, TColor Value) {
    if (Value == Field) return;
    Field = Value;
    Changed();
}

void TAdvButtonAppearance::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

// =============================================================================================
// TAdvButton

TAdvButton::TAdvButton(TComponent* AOwner) : TCustomControl(AOwner), FUnHotTimer(new TTimer(this)) {
    SetBounds(0, 0, 23, 22);
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks});
    Font()->SetName(QStringLiteral("Tahoma"));
    SetParentFont(true);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->OnTimer = [this](TObject* Sender) { UnHotTimerTick(Sender); };
    SetShowHint(false);
    SetDoubleBuffered(true);
}

TAdvButton::~TAdvButton() {
    TObject::Free(FUnHotTimer);
}

void TAdvButton::SetAppearance(TAdvButtonAppearance* Value) {
    if (Value == FAppearance) return;
    FAppearance = Value;
    Invalidate();
}

void TAdvButton::SetImages(TCustomImageList* List) {
    if (Relink(this, FImages, List)) Invalidate();
}

void TAdvButton::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Invalidate();
}

void TAdvButton::SetAdvDropDown(TAdvCustomDropDown* DropDown) {
    Relink(this, FAdvDropDown, DropDown);
}

void TAdvButton::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || HasState(csDestroying)) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FAdvDropDown) FAdvDropDown = nullptr;
}

void TAdvButton::Loaded() {
    TCustomControl::Loaded();
    if (FInitialDown != FDown) SetDown(FInitialDown);
}

void TAdvButton::SizeToContent() {
    if (!FAppearance) return;
    Canvas()->Font()->Assign(FAppearance->Font());
    TSize size = GetTextSize(Canvas(), Caption());
    if (FImages && FImageIndex >= 0) {
        size.cx = std::max(size.cx, FImages->Width());
        size.cy = std::max(size.cy, FImages->Height());
    }
    SetHeight(size.cy + 4);
    SetWidth(size.cx + 8);
}

// ---- State ----

void TAdvButton::SetDown(bool Value) {
    if (HasState(csLoading)) FInitialDown = Value;
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        Repaint();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp)) return;
    FDown = Value;
    if (Value) {
        if (FState == absUp) Repaint();
        FState = absExclusive;
        NotifyGroup();
    } else {
        FState = absUp;
        Repaint();
    }
}

void TAdvButton::NotifyGroup() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage msg(CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this));
    Parent()->Broadcast(msg);
}

void TAdvButton::CMButtonPressed(TMessage& Message) {
    if (Message.WParam != WPARAM(FGroupIndex)) return;
    auto* sender = dynamic_cast<TAdvButton*>(reinterpret_cast<TObject*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = absUp;
        Repaint();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TAdvButton::Click() {
    if (TCustomForm* form = GetParentForm(this, true)) form->SetModalResult(FModalResult);
    if (FAdvDropDown) {
        switch (FModalResult) {
            case mrOk:
            case mrYes:
            case mrAll:
            case mrYesToAll: FAdvDropDown->DoHideDropDown(false); break;
            case mrCancel:
            case mrAbort:
            case mrIgnore:
            case mrNo:
            case mrNoToAll: FAdvDropDown->DoHideDropDown(true); break;
            default: break;
        }
    }
    if (!FInternalClick) TCustomControl::Click();
}

// ---- Painting ----

void TAdvButton::Paint() {
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled)
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    if (FStyle == tasCheck && FDown) FState = absDown;
    // The strip behind shows through wherever the face paints nothing.
    ClearToTransparent();
    DrawButton(Canvas());
}

void TAdvButton::DrawButton(TCanvas* ACanvas) {
    if (!FAppearance || !ACanvas) return;
    const TAdvButtonAppearance& a = *FAppearance;
    TColor face = a.Color(), second = a.ColorTo(), border = a.BorderColor();
    if (!Enabled()) {
        face = a.ColorDisabled();
        second = a.ColorDisabledTo();
        border = a.BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        face = second = a.ColorDown();
        border = a.BorderColorDown();
    } else if (FDown) {
        face = second = a.ColorChecked();
        border = a.BorderColorChecked();
    } else if (FMouseInControl || Focused()) {
        face = second = a.ColorHot();
        border = a.BorderColorHot();
    }
    const TRect r = ClientRect();
    DrawGradientBox(ACanvas, r, face, second, border, 1, a.Gradient());
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->Assign(a.Font());
    DrawImageAndText(ACanvas, r, Caption(), FImageIndex, FImages);
}

// ---- Mouse and keys ----

bool TAdvButton::Inside(int X, int Y) const {
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TAdvButton::CMMouseEnter(TMessage& Message) {
    if (!HasState(csDesigning)) {
        FMouseInControl = true;
        if (Enabled()) Repaint();
        FUnHotTimer->SetEnabled(true);
    }
    TCustomControl::Dispatch(Message);
}

void TAdvButton::CMMouseLeave(TMessage& Message) {
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    if (Enabled()) Repaint();
    TCustomControl::Dispatch(Message);
}

void TAdvButton::UnHotTimerTick(TObject*) {
    TPoint p;
    GetCursorPos(p);
    p = ScreenToClient(p);
    if (ClientRect().Contains(p)) return;
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    if (Enabled()) Repaint();
}

void TAdvButton::CheckHover() {
    if (!Enabled()) return;
    TPoint p;
    GetCursorPos(p);
    Perform(FindDragTarget(p, true) == this ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TAdvButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || HasState(csDesigning)) return;
    FMouseDownInControl = true;
    if (!FDown) {
        FState = absDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TAdvButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (HasState(csDesigning)) return;
    if (FDragging) {
        TAdvButtonState state = FDown ? absExclusive : absUp;
        if (Inside(X, Y)) state = FDown ? absExclusive : absDown;
        if (FStyle == tasCheck && FDown) state = absDown;
        if (state != FState) {
            FState = state;
            Repaint();
        }
    } else if (!FMouseInControl)
        CheckHover();
}

void TAdvButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (HasState(csDesigning)) return;
    FMouseDownInControl = false;
    Repaint();
    if (FDragging) {
        FDragging = false;
        const bool inside = Inside(X, Y);
        if (FGroupIndex != 0) {
            if (inside) {
                SetDown(!FDown);
                if (FDown) Repaint();
            } else {
                if (FDown) FState = absExclusive;
                Repaint();
            }
        } else {
            FState = absUp;
            FMouseInControl = false;
            if (FStyle == tasCheck) {
                SetDown(!FDown);
                FState = absUp;
            }
            if (inside && FState != absDown && FState != absExclusive) Repaint();
        }
    }
    CheckHover();
}

void TAdvButton::WMKeyDown(TWMKey& Message) {
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_SPACE) {
        if (!FDown) {
            FState = absDown;
            Invalidate();
        }
        if (FStyle == tasCheck) {
            FState = absDown;
            Repaint();
        }
        FInternalClick = true;
        try {
            Click();
        } catch (...) {
            FInternalClick = false;
            throw;
        }
        FInternalClick = false;
    }
}

bool TAdvButton::CMDialogChar(TCMDialogChar& Message) {
    if (!Enabled() || !IsAccel(Message.CharCode, Caption())) return false;
    Click();
    Message.Result = 1;
    return true;
}

void TAdvButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
        case CM_DIALOGCHAR: {
            TCMDialogChar view(Message);
            if (!CMDialogChar(view)) TCustomControl::Dispatch(Message);
            break;
        }
        case WM_KEYDOWN:
            CallHandler<TWMKey>(this, &TAdvButton::WMKeyDown, Message);
            TCustomControl::Dispatch(Message);
            break;
        case CM_ENABLEDCHANGED:
        case CM_FOCUSCHANGED:
            TCustomControl::Dispatch(Message);
            Repaint();
            break;
        // The face paints every pixel it wants; the rest stays transparent.
        case WM_ERASEBKGND: Message.Result = 1; break;
        default: TCustomControl::Dispatch(Message);
    }
}

// =============================================================================================
// TDbgList

void* TDbgList::GetItemsEx(int Index) const {
    if (Index >= Count()) throw Exception("Index out of bounds in list read access");
    return Items(Index);
}

void TDbgList::SetItemsEx(int Index, void* Value) {
    if (Index >= Count()) throw Exception("Index out of bounds in list write access");
    SetItems(Index, Value);
}

void TDbgList::AssignList(TList* ListA) {
    Clear();
    if (!ListA) return;
    for (int i = 0; i < ListA->Count(); ++i) Add(ListA->Items(i));
}

// =============================================================================================
// The strips

namespace {

template <class TAppearance> TAppearance* DropDownAppearance(TAdvCustomDropDown* DropDown) {
    if (!DropDown) return nullptr;
    if constexpr (std::is_same_v<TAppearance, THeaderAppearance>)
        return DropDown->DropDownHeader();
    else
        return DropDown->DropDownFooter();
}

} // namespace

template <class TAppearance>
TAdvPopupStrip<TAppearance>::TAdvPopupStrip(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(new TAppearance(AOwner)), FButtonList(new TDbgList()) {
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    SetDoubleBuffered(true);
}

template <class TAppearance> TAdvPopupStrip<TAppearance>::~TAdvPopupStrip() {
    TObject::Free(FAppearance);
    TObject::Free(FButtonList);
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::SetImages(TCustomImageList* Value) {
    if (Relink(this, FImages, Value)) Invalidate();
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::SetAdvDropDown(TAdvCustomDropDown* DropDown) {
    Relink(this, FAdvDropDown, DropDown);
    if (!DropDown) {
        SetImages(nullptr);
        return;
    }
    SetImages(DropDown->Images());
    FAppearance->Assign(DropDownAppearance<TAppearance>(DropDown));
}

template <class TAppearance>
auto TAdvPopupStrip<TAppearance>::Buttons() const -> decltype(std::declval<TAppearance>().Buttons()) {
    TAppearance* a = DropDownAppearance<TAppearance>(FAdvDropDown);
    return a ? a->Buttons() : nullptr;
}

template <class TAppearance>
void TAdvPopupStrip<TAppearance>::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FAdvDropDown) {
        // The buttons' colours belong to the drop-down and go with it.
        FAdvDropDown = nullptr;
        for (int i = 0; i < FButtonList->Count(); ++i)
            static_cast<TAdvButton*>(FButtonList->GetItemsEx(i))->SetAppearance(nullptr);
    }
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::AppearanceChanged(TObject*) {
    SetVisible(FAppearance->Visible());
    SetHeight(FAppearance->Height());
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::ButtonClick(TObject* Sender) {
    auto* button = dynamic_cast<TAdvButton*>(Sender);
    if (!button || !FAdvDropDown) return;
    const TDropDownButtonItemClick& event =
        IsFooter() ? FAdvDropDown->OnDropDownFooterButtonClick : FAdvDropDown->OnDropDownHeaderButtonClick;
    if (Assigned(event)) event(FAdvDropDown, button->Tag);
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::UpdateButtons() {
    if (FAdvDropDown) BuildButtons();
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::ClearButtons() {
    for (int i = FButtonList->Count() - 1; i >= 0; --i) {
        auto* button = static_cast<TAdvButton*>(FButtonList->GetItemsEx(i));
        TObject::Free(button);
    }
    FButtonList->Clear();
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::BuildButtons() {
    auto* items = Buttons();
    if (!items) return;
    ClearButtons();
    const int avail = std::max(0, GetButtonArea().Height());
    for (int i = 0; i < items->Count(); ++i) {
        auto* item = items->Items(i);
        auto* button = new TAdvButton(this);
        button->SetParent(this);
        button->SetAppearance(FAdvDropDown->ButtonAppearance());
        button->SetCaption(item->Caption());
        button->SetImages(FImages);
        button->SetImageIndex(item->ImageIndex());
        button->SetEnabled(item->Enabled());
        if constexpr (std::is_same_v<TAppearance, TFooterAppearance>) {
            button->SetAdvDropDown(FAdvDropDown);
            button->SetModalResult(item->ModalResult());
        }
        button->SizeToContent();
        if (item->Width() > 0) button->SetWidth(item->Width());
        if (item->Height() > 0) button->SetHeight(item->Height());
        if (button->Height() > avail) button->SetHeight(avail);
        button->Tag = i;
        button->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
        FButtonList->Add(button);
    }
    ArrangeButtons();
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::ArrangeButtons() {
    if (FButtonList->Count() == 0) return;
    const TRect a = GetButtonArea();
    int x = FAppearance->ButtonAlignment() == baRight ? a.Right : a.Left;
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto* button = static_cast<TAdvButton*>(FButtonList->GetItemsEx(i));
        const int top = std::max(a.Top, (a.Bottom - button->Height()) / 2);
        if (FAppearance->ButtonAlignment() == baRight) {
            x -= button->Width();
            button->SetBounds(x, top, button->Width(), button->Height());
        } else {
            button->SetBounds(x, top, button->Width(), button->Height());
            x += button->Width();
        }
    }
}

// The buttons' looks, captions, images and enabled states from the drop-down again, then their
// places. (The buttons keep their sizes: a strip button does not size itself.)
template <class TAppearance> void TAdvPopupStrip<TAppearance>::RefreshButtons() {
    auto* items = Buttons();
    if (!FAdvDropDown) return;
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto* button = static_cast<TAdvButton*>(FButtonList->GetItemsEx(i));
        button->SetAppearance(FAdvDropDown->ButtonAppearance());
        button->SetImages(FImages);
        if (items && i < items->Count()) {
            button->SetCaption(items->Items(i)->Caption());
            button->SetImageIndex(items->Items(i)->ImageIndex());
            button->SetEnabled(items->Items(i)->Enabled());
        }
    }
    ArrangeButtons();
}

template <class TAppearance> TRect TAdvPopupStrip<TAppearance>::GetCaptionRect() const {
    if (FButtonList->Count() == 0) return TRect(-1, -1, -1, -1);
    TRect r = GetButtonArea();
    r.Right = static_cast<TAdvButton*>(FButtonList->Last())->Left() - 2;
    return r;
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::Paint() {
    TCanvas* canvas = Canvas();
    const TRect r = ClientRect();
    if (Assigned(OnDrawBackGround)) {
        OnDrawBackGround(this, canvas, r);
        return;
    }
    const TAppearance& a = *FAppearance;
    DrawGradientBox(canvas, r, a.Color(), a.ColorTo(), clNone, 0, a.GradientDirection());

    const int bw = a.BorderWidth();
    if (a.BorderColor() != clNone && bw > 0) {
        canvas->Pen()->SetWidth(bw);
        canvas->Pen()->SetColor(a.BorderColor());
        const bool footer = IsFooter();
        const int edge = footer ? r.Top : r.Bottom - 1;
        canvas->MoveTo(r.Left, edge);
        canvas->LineTo(r.Right, edge);
        // Without the popup's own frame the strip frames itself on every side.
        const bool ownFrame = !FAdvDropDown || FAdvDropDown->DropDownBorderWidth() <= 0 ||
                              FAdvDropDown->DropDownBorderColor() == clNone;
        if (ownFrame) {
            const int open = footer ? r.Bottom : r.Bottom - 1; // where the sides end
            const int far = footer ? r.Bottom - 1 : r.Top;     // the side opposite the line
            canvas->MoveTo(r.Left, footer ? r.Top : open);
            canvas->LineTo(r.Left, footer ? open : r.Top);
            canvas->MoveTo(r.Left, far);
            canvas->LineTo(r.Right, far);
            canvas->MoveTo(r.Right - 1, r.Top);
            canvas->LineTo(r.Right - 1, open);
        }
        // The light inner frame inside the border lines.
        TRect inner = r;
        if (footer)
            inner.Top += bw;
        else
            inner.Bottom -= bw;
        if (ownFrame) {
            inner.Left += bw;
            inner.Right -= bw;
            if (footer)
                inner.Bottom -= bw;
            else
                inner.Top += bw;
        }
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(BlendColor(a.BorderColor(), clWhite, 20));
        canvas->Rectangle(inner);
    }

    TRect c = r;
    c = TRect(c.Left + bw, c.Top + bw, c.Right - bw, c.Bottom - bw);
    if (a.ImageIndex() >= 0 && FImages) {
        FImages->Draw(canvas, c.Left + 4, c.Top + (c.Height() - FImages->Height()) / 2, a.ImageIndex());
        c.Left += FImages->Width() + 8;
    }

    String text = a.Caption();
    if (Assigned(OnGetText)) OnGetText(this, text);
    if (!text.isEmpty()) {
        if (FButtonList->Count() > 0) c.Right = GetCaptionRect().Right;
        canvas->Font()->Assign(a.Font());
        canvas->Brush()->SetStyle(bsClear);
        TPoint size;
        DrawMarkupText(canvas, text, c, size, 0, false, FImages);
        if (c.Height() > size.Y) c.Top += (c.Height() - size.Y) / 2;
        DrawMarkupText(canvas, text, c, size, 0, true, FImages);
    }

    if (SizeGripShown()) DrawSizeGrip(TRect(r.Right - bw - 16, 1, r.Right - bw - 1, r.Bottom));
}

template <class TAppearance> void TAdvPopupStrip<TAppearance>::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE) ArrangeButtons();
}

template class TAdvPopupStrip<THeaderAppearance>;
template class TAdvPopupStrip<TFooterAppearance>;

// ---- Header ----

TAdvHeader::TAdvHeader(TComponent* AOwner) : TAdvPopupStrip(AOwner) {
    FAppearance->OnButtonsChanged = [](TObject*) {};
    SetControlStyle({csAcceptsControls, csClickEvents, csDoubleClicks});
}

TRect TAdvHeader::GetButtonArea() const {
    TRect r = ClientRect();
    return TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
}

// ---- Footer ----

TAdvFooter::TAdvFooter(TComponent* AOwner) : TAdvPopupStrip(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
}

TRect TAdvFooter::GetButtonArea() const {
    TRect r = ClientRect();
    return TRect(r.Left + 2, r.Top + 2, r.Right - 2 - (SizeGripVisible() ? 12 : 0), r.Bottom - 2);
}

bool TAdvFooter::SizeGripVisible() const {
    return FAppearance->SizeGrip() && FAdvDropDown && FAdvDropDown->DropDownSizeable();
}

bool TAdvFooter::InSizeGrip(int X, int Y) const {
    return SizeGripVisible() && X > Width() - 12 && Y > Height() - 15;
}

void TAdvFooter::DrawSizeGrip(const TRect& R) {
    TCanvas* canvas = Canvas();
    const int l = R.Left, b = R.Bottom;
    // (x, y) of each dot's top-left corner: three in the bottom row, two above, one at the top.
    const TPoint dots[] = {{l + 5, b - 4}, {l + 9, b - 4},  {l + 13, b - 4},
                           {l + 9, b - 8}, {l + 13, b - 8}, {l + 13, b - 12}};
    canvas->Pen()->SetWidth(1);
    auto paint = [&](TColor Color, int Shift) {
        canvas->Pen()->SetColor(Color);
        canvas->Brush()->SetColor(Color);
        for (const TPoint& d : dots)
            canvas->Rectangle(d.X - Shift, d.Y - Shift, d.X - Shift + 2, d.Y - Shift + 2);
    };
    paint(clWhite, 0);
    paint(FAppearance->BorderColor(), 1);
}

void TAdvFooter::RestoreCursor() {
    if (Screen->Cursor() != FOldCursor) Screen->SetCursor(FOldCursor);
}

void TAdvFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvPopupStrip::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Parent() || !InSizeGrip(X, Y)) return;
    ReleaseCapture();
    // As a press on the popup's bottom-right corner: the platform sizes the popup from there.
    TPoint p;
    GetCursorPos(p);
    Parent()->Perform(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, PointToLParam(p));
}

void TAdvFooter::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvPopupStrip::MouseMove(Shift, X, Y);
    if (!SizeGripVisible() || !Parent()) return;
    if (InSizeGrip(X, Y))
        Screen->SetCursor(crSizeNWSE);
    else
        RestoreCursor();
}

void TAdvFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvPopupStrip::MouseUp(Button, Shift, X, Y);
    if (SizeGripVisible() && Parent()) RestoreCursor();
}

void TAdvFooter::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
            if (SizeGripVisible() && Parent() && Screen->Cursor() != crSizeNWSE)
                FOldCursor = Screen->Cursor();
            break;
        case CM_MOUSELEAVE:
            if (SizeGripVisible() && Parent()) RestoreCursor();
            break;
        default: break;
    }
    TAdvPopupStrip::Dispatch(Message);
}
