#include "AsgEditBtn.h"

#include "CellDraw.h"
#include "EditWithButtons.h"
#include "Menus.h"
#include "SysUtils.h"
#include "Themes.h"

#include <algorithm>

// =============================================================================================
// TAdvSpeedButton

void TAdvSpeedButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    Invalidate();
}

void TAdvSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHot = Message.Msg == CM_MOUSEENTER;
        Repaint();
    }
}

void TAdvSpeedButton::Paint() {
    auto* holder = dynamic_cast<TAsgEditButton*>(Owner());
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    TRect R(0, 0, Width(), Height());
    const bool pressed = FState == bsDown || FState == bsExclusive;
    if (holder && holder->ButtonColor != clNone) {
        SetFlat(true);
        TColor face = pressed ? holder->ButtonColorDown : FHot ? holder->ButtonColorHot : holder->ButtonColor;
        if (face == clNone) face = holder->ButtonColor;
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(face);
        C->FillRect(R);
        TColor text = pressed ? holder->ButtonTextColorDown
                      : FHot  ? holder->ButtonTextColorHot
                              : holder->ButtonTextColor;
        if (text == clNone) text = holder->ButtonTextColor;
        if (text != clNone) {
            C->Brush()->SetColor(text);
            C->Pen()->SetColor(text);
        }
    } else if (FIsWinXP && holder &&
               DrawThemed(C, holder->Handle(), u"button", BP_PUSHBUTTON,
                          pressed ? PBS_PRESSED
                          : FHot  ? PBS_HOT
                                  : PBS_NORMAL,
                          R)) {
    } else if (Flat()) {
        TRect edge = R;
        DrawEdge(C, edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_SOFT);
        R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    } else {
        DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    }
    const int shift = pressed ? 1 : 0;
    if (!Glyph()->Empty()) {
        TBitmap glyph;
        glyph.Assign(Glyph());
        glyph.SetTransparent(true);
        const int x = glyph.Width() < Width() ? (Width() - glyph.Width()) / 2 : 0;
        const int y = glyph.Height() < Height() ? (Height() - glyph.Height()) / 2 : 0;
        C->Draw(x + shift, y + shift, &glyph);
    }
    if (!Caption().isEmpty()) {
        C->Font()->SetColor(clBlack);
        C->Brush()->SetStyle(bsClear);
        TRect t(R.Left + shift, R.Top + shift, R.Right + shift, R.Bottom + shift);
        DrawText(C, Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// =============================================================================================
// TAsgEditButton

TAsgEditButton::TAsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    TControlStyle style = ControlStyle();
    style.erase(csAcceptsControls);
    style.erase(csSetCaption);
    style.insert(csOpaque);
    SetControlStyle(style);
    FButton = new TAdvSpeedButton(this);
    FButton->SetVisible(true);
    FButton->SetEnabled(true);
    FButton->SetParent(this);
    FButton->SetText(String());
    FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) { BtnMouseUp(Button); };
    SetBounds(0, 0, 20, 25);
}

void TAsgEditButton::LayoutButton() {
    if (FButton && !HasState(csLoading)) FButton->SetBounds(0, 0, Width(), Height());
}

void TAsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    LayoutButton();
}

void TAsgEditButton::Loaded() {
    TWinControl::Loaded();
    LayoutButton();
}

void TAsgEditButton::Dispatch(TMessage& Message) {
    TWinControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE) LayoutButton();
}

void TAsgEditButton::SetFlat(bool Value) {
    FFlat = Value;
    FButton->SetFlat(Value);
}

void TAsgEditButton::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAsgEditButton::BtnMouseUp(TMouseButton Button) {
    if (Button != mbLeft) return;
    if (Assigned(OnClick)) OnClick(this);
    FocusAfterButtonPress(this, FFocusControl);
}

// =============================================================================================
// TAsgEditBtn

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FButton = new TAsgEditButton(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject* Sender) { ClickButton(Sender); };
    SetText(QStringLiteral("0"));
}

TAsgEditBtn::~TAsgEditBtn() {
    // The holder is a child component: it goes with the edit.
    FButton = nullptr;
}

void TAsgEditBtn::SetRightAlign(bool Value) {
    if (Value == FRightAlign) return;
    FRightAlign = Value;
    RecreateWnd();
}

void TAsgEditBtn::SetButtonWidth(int Value) {
    FButtonWidth = Value;
    FButton->SetWidth(Value);
}

void TAsgEditBtn::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FButton->Button()->SetIsWinXP(Value);
}

void TAsgEditBtn::ClickButton(TObject* Sender) {
    if (Assigned(OnClickBtn)) OnClickBtn(Sender);
}

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && !Shift.count(ssCtrl) && !Shift.count(ssAlt)) ClickButton(this);
}

void TAsgEditBtn::DoEnter() {
    const bool select = AutoSelect && !EnteredByLeftClick(this);
    const bool autoSelect = AutoSelect;
    AutoSelect = false;
    TCustomMaskEdit::DoEnter();
    AutoSelect = autoSelect;
    if (select) SelectAll();
}

void TAsgEditBtn::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    // Multi-line so that the text keeps off the button through the formatting rectangle.
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FRightAlign) Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

int TAsgEditBtn::MinHeight() {
    return EditTextHeight(Font());
}

void TAsgEditBtn::SetEditRect() {
    if (!FButton || !HandleAllocated()) return;
    const int inset = BorderStyle() == bsSingle ? 1 : 3;
    int right = ClientWidth() - (FButton->Width() + FUnitSize + 5);
    if (FUnitSize > 0) right -= 3;
    const TRect r(inset, inset, right, ClientHeight() + 1);
    SetEditTextRect(this, r);
}

void TAsgEditBtn::WMSize(TWMSize& Message) {
    TCustomMaskEdit::Dispatch(Message);
    if (FButton && FitEditWithButton(this, FButton, MinHeight())) SetEditRect();
}

void TAsgEditBtn::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CHAR:
            if (FEditorEnabled) TCustomMaskEdit::Dispatch(Message);
            break;
        case WM_PASTE:
        case WM_CUT:
            if (FEditorEnabled && !ReadOnly()) TCustomMaskEdit::Dispatch(Message);
            break;
        case WM_SIZE: CallHandler<TWMSize>(this, &TAsgEditBtn::WMSize, Message); break;
        default: TCustomMaskEdit::Dispatch(Message);
    }
}

// =============================================================================================
// TAsgUnitEditBtn

// The unit shown between the text and the button, in the edit's font and colours. The text box
// draws itself, so the unit is a small window of its own over the part of the edit that the
// formatting rectangle leaves free.
class TUnitLabel : public TCustomControl {
public:
    explicit TUnitLabel(TAsgUnitEditBtn* Edit) : TCustomControl(Edit), FEdit(Edit) {
        TControlStyle style = ControlStyle();
        style.erase(csSetCaption);
        style.insert(csOpaque);
        SetControlStyle(style);
    }

protected:
    void Paint() override {
        TCanvas* C = Canvas();
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FEdit->Color());
        C->FillRect(TRect(0, 0, Width(), Height()));
        C->Font()->Assign(FEdit->Font());
        C->Brush()->SetStyle(bsClear);
        TRect r(0, 0, Width(), Height());
        DrawText(C, FEdit->UnitID(), r, DT_LEFT | DT_EDITCONTROL | DT_SINGLELINE | DT_NOPREFIX);
    }

private:
    TAsgUnitEditBtn* FEdit;
};

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FUnits(new TStringList) {
    FUnitSize = 20;
    FRightAlign = true;
    FUnitLabel = new TUnitLabel(this);
    FUnitLabel->SetParent(this);
    FUnitLabel->SetVisible(true);
    PlaceUnitLabel();
}

TAsgUnitEditBtn::~TAsgUnitEditBtn() {
    TObject::Free(FUnits);
    FUnits = nullptr;
}

void TAsgUnitEditBtn::SetUnitID(const String& Value) {
    FUnitID = Value;
    FUnitLabel->Invalidate();
}

void TAsgUnitEditBtn::SetUnits(TStrings* Value) {
    if (Value) FUnits->Assign(Value);
}

void TAsgUnitEditBtn::SetUnitSpace(int Value) {
    FUnitSize = Value;
    SetEditRect();
    PlaceUnitLabel();
}

void TAsgUnitEditBtn::PlaceUnitLabel() {
    if (!FUnitLabel || !Button()) return;
    const int right = ClientWidth() - Button()->Width() - 3;
    FUnitLabel->SetBounds(right - FUnitSize, 2, std::max(FUnitSize, 0), std::max(ClientHeight() - 2, 0));
    FUnitLabel->Invalidate();
}

void TAsgUnitEditBtn::SetTextAndUnit(const String& Value) {
    for (int i = 0; i < FUnits->Count(); ++i) {
        const String unit = FUnits->Strings(i);
        const int p = Pos(unit, Value);
        // Only the unit's first occurrence counts, and it must end the value.
        if (p > 0 && p == Value.length() - unit.length() + 1) {
            SetText(Value.left(p - 1));
            SetUnitID(Value.mid(p - 1));
            return;
        }
    }
}

void TAsgUnitEditBtn::ClickButton(TObject*) {
    TAsgEditBtn::ClickButton(this);
    if (FUnits->Count() == 0) return; // an empty menu shows nothing
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < FUnits->Count(); ++i)
        AppendMenu(menu, MF_STRING, UINT_PTR(i + 1), FUnits->Strings(i));
    const TPoint origin =
        Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientToScreen(TPoint(0, 0));
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, origin.X + ClientWidth() - 15,
                   origin.Y + ClientHeight(), 0, Handle(), nullptr);
    DestroyMenu(menu);
}

void TAsgUnitEditBtn::WMCommand(TWMCommand& Message) {
    const int id = Message.ItemID;
    if (id < 1 || id > FUnits->Count()) return;
    const String previous = FUnitID;
    SetUnitID(FUnits->Strings(id - 1));
    if (FUnitID != previous && Assigned(OnUnitChanged)) OnUnitChanged(this, FUnitID);
}

void TAsgUnitEditBtn::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_COMMAND:
            if (HIWORD(Message.WParam) != EN_CHANGE) {
                CallHandler<TWMCommand>(this, &TAsgUnitEditBtn::WMCommand, Message);
                break;
            }
            TAsgEditBtn::Dispatch(Message);
            break;
        case WM_SIZE:
            TAsgEditBtn::Dispatch(Message);
            PlaceUnitLabel();
            break;
        default: TAsgEditBtn::Dispatch(Message);
    }
}
