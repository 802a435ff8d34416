#include "AdvDropDown.h"

#include "EditWithButtons.h"
#include "ImgList.h"
#include "OSInfo.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {
std::function<TRect(const TPoint&)>& WorkAreaSource() {
    static std::function<TRect(const TPoint&)> source;
    return source;
}

constexpr int VersionNumber = 0x01020104;
constexpr int ReopenDelay = 250; // ms after a deactivation in which the drop button does not reopen

} // namespace

TRect DropDownWorkArea(const TPoint& P) {
    if (WorkAreaSource()) return WorkAreaSource()(P);
    if (!QGuiApplication::instance()) return TRect(0, 0, 1024, 768);
    QScreen* nearest = nullptr;
    long best = -1;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const long dx = P.X < g.left() ? g.left() - P.X : P.X > g.right() ? P.X - g.right() : 0;
        const long dy = P.Y < g.top() ? g.top() - P.Y : P.Y > g.bottom() ? P.Y - g.bottom() : 0;
        const long d = dx * dx + dy * dy;
        if (best < 0 || d < best) {
            best = d;
            nearest = s;
        }
    }
    if (!nearest) return Screen ? Screen->WorkAreaRect() : TRect(0, 0, 1024, 768);
    const QRect r = nearest->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

void SetDropDownWorkAreaSource(std::function<TRect(const TPoint&)> Source) {
    WorkAreaSource() = std::move(Source);
}

void TWinCtrl::PaintCtrls(TCanvas* DC, TControl*) {
    PaintControls(DC);
}

// =============================================================================================
// Construction

TAdvCustomDropDown::TAdvCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    SetBounds(Left(), Top(), 200, 21);
    FButtonWidth = 17;
    if (!Designing()) CreateDropDownForm();
    FButton = nullptr;
    CreateDropDownButton();
    TControlStyle style = ControlStyle();
    style.erase(csSetCaption);
    SetControlStyle(style);
    SetReadOnly(false);
    FDropPosition = dpAuto;
    SetText(String());
    FOldText = String();
    FUserDropDownWidth = FUserDropDownHeight = -1;
    FDropDownEnabled = false;
    FDropDownHeader = new THeaderAppearance(this);
    FDropDownHeader->OnChange = [this](TObject* Sender) { HeaderAppearanceChanged(Sender); };
    FDropDownHeader->OnButtonsChanged = [this](TObject* Sender) { HeaderAppearanceChanged(Sender); };
    FDropDownFooter = new TFooterAppearance(this);
    FDropDownFooter->OnChange = [this](TObject* Sender) { FooterAppearanceChanged(Sender); };
    FDropDownFooter->OnButtonsChanged = [this](TObject* Sender) { FooterAppearanceChanged(Sender); };
    FButtonAppearance = new TAdvButtonAppearance();
    FDefaultHandling = true;
    FIsWinXP = CheckWin32Version(5, 1);
    FIsThemed = (GetFileVersion(QStringLiteral("COMCTL32.DLL")) >> 16) > 5;
    FCanUndo = true;
    FAutoThousandSeparator = true;
    SetSelectionColorStyle(scOffice2007);
    FFocusDraw = true;
    SetComponentStyle(tsOffice2007Luna);
    FLabelFont = new TFont();
    FLabelFont->OnChange = [this](TObject* Sender) { LabelFontChanged(Sender); };
}

TAdvCustomDropDown::~TAdvCustomDropDown() {
    TObject::Free(FLabelFont);
    FLabelFont = nullptr;
    TDropDownEditButton* button = FButton;
    FButton = nullptr;
    TObject::Free(button);
    if (FDropDownForm) {
        TDropDownForm* form = FDropDownForm;
        FDropDownForm = nullptr;
        form->SetAdvDropDown(nullptr);
        TObject::Free(form);
    }
    TObject::Free(FDropDownHeader);
    FDropDownHeader = nullptr;
    TObject::Free(FDropDownFooter);
    FDropDownFooter = nullptr;
    TObject::Free(FButtonAppearance);
    FButtonAppearance = nullptr;
}

void TAdvCustomDropDown::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TAdvCustomDropDown*>(Source);
    if (!src) return;
    FFocusDraw = src->FFocusDraw;
    FForceShadow = src->FForceShadow;
    FDropDownEnabled = src->FDropDownEnabled;
    FDropDownColor = src->FDropDownColor;
    FDropDownColorTo = src->FDropDownColorTo;
    FDropDownGradient = src->FDropDownGradient;
    FDropDownBorderColor = src->FDropDownBorderColor;
    FDropDownBorderWidth = src->FDropDownBorderWidth;
    FDropDownShadow = src->FDropDownShadow;
    FDropDownWidth = src->FDropDownWidth;
    FDropDownHeight = src->FDropDownHeight;
    FDropDownSizeable = src->FDropDownSizeable;
    FEditType = src->FEditType;
    FReturnIsTab = src->FReturnIsTab;
    FLengthLimit = src->FLengthLimit;
    FPrecision = src->FPrecision;
    FPrefix = src->FPrefix;
    FSuffix = src->FSuffix;
    FDefaultHandling = src->FDefaultHandling;
    FCanUndo = src->FCanUndo;
    FExcelStyleDecimalSeparator = src->FExcelStyleDecimalSeparator;
    FValidChars = src->FValidChars;
    FSigned = src->FSigned;
    FAutoThousandSeparator = src->FAutoThousandSeparator;
    FButtonAppearance->Assign(src->FButtonAppearance);
    FDropDownHeader->Assign(src->FDropDownHeader);
    FDropDownFooter->Assign(src->FDropDownFooter);
    FDropPosition = src->FDropPosition;
    FFlat = src->FFlat;
    SetDropDownButtonWidth(src->DropDownButtonWidth());
    SetDropDownButtonHint(src->DropDownButtonHint());
    FEditorEnabled = src->FEditorEnabled;
    if (FButton && src->FButton) {
        FButton->Glyph()->Assign(src->FButton->Glyph());
        FButton->SetButtonCaption(src->FButton->ButtonCaption());
    }
    FEtched = src->FEtched;
    FImages = src->FImages;
    if (FImages) FImages->FreeNotification(this);
    FSelectionColorStyle = src->FSelectionColorStyle;
    FSelectionColor = src->FSelectionColor;
    FSelectionColorTo = src->FSelectionColorTo;
}

void TAdvCustomDropDown::ReadStoredStyles(int SelectionColorStyle, int KitStyle) {
    FSelectionColorStyle = TSelectionColorStyle(SelectionColorStyle);
    FKitStyle = TKitStyle(KitStyle);
}

// =============================================================================================
// Properties

String TAdvCustomDropDown::Text() const {
    String s = EditText();
    if (!FPrefix.isEmpty() && s.startsWith(FPrefix)) s.remove(0, FPrefix.length());
    // The suffix's length comes off the end unchecked, as the value's definition says.
    s.chop(std::min<qsizetype>(FSuffix.length(), s.length()));
    return s;
}

void TAdvCustomDropDown::SetDropDownWidth(int Value) {
    if (Value == FDropDownWidth) return;
    FDropDownWidth = Value;
    FUserDropDownWidth = FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::SetDropDownHeight(int Value) {
    if (Value == FDropDownHeight) return;
    FDropDownHeight = Value;
    FUserDropDownWidth = FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::SetDropDownButtonWidth(int Value) {
    if (!FButton || Value == FButtonWidth) return;
    FButtonWidth = Value;
    FButton->SetFixedWidth(Value);
    if (FButton->HandleAllocated()) ResizeControl();
}

void TAdvCustomDropDown::SetDropDownButtonHint(const String& Value) {
    if (Value == FButtonHint) return;
    FButtonHint = Value;
    if (!FButton) return;
    FButton->SetHint(Value);
    FButton->SetShowHint(!Value.isEmpty());
}

TBitmap* TAdvCustomDropDown::DropDownButtonGlyph() const {
    return FButton ? FButton->Glyph() : nullptr;
}

void TAdvCustomDropDown::SetDropDownButtonGlyph(TBitmap* Value) {
    if (FButton) FButton->Glyph()->Assign(Value);
}

String TAdvCustomDropDown::DropDownButtonCaption() const {
    return FButton ? FButton->ButtonCaption() : String();
}

void TAdvCustomDropDown::SetDropDownButtonCaption(const String& Value) {
    if (FButton) FButton->SetButtonCaption(Value);
}

void TAdvCustomDropDown::SetButtonAppearance(TAdvButtonAppearance* Value) {
    FButtonAppearance->Assign(Value);
}

void TAdvCustomDropDown::SetImages(TCustomImageList* Value) {
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TAdvCustomDropDown::SetEditorEnabled(bool Value) {
    FEditorEnabled = Value;
    TControlStyle style = ControlStyle();
    if (Value)
        style.insert(csDoubleClicks);
    else
        style.erase(csDoubleClicks);
    SetControlStyle(style);
}

void TAdvCustomDropDown::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Invalidate();
    if (FButton) FButton->Invalidate();
}

void TAdvCustomDropDown::SetDisabledBorder(bool Value) {
    if (Value == FDisabledBorder) return;
    FDisabledBorder = Value;
    Invalidate();
}

String TAdvCustomDropDown::Version() const {
    return VersionString(GetVersionNr());
}

void TAdvCustomDropDown::SetControl(TControl* Value) {
    if (Value == FControl) return;
    FControl = Value;
    if (Value) Value->FreeNotification(this);
    if (!Designing()) AttachDropDownControl();
}

void TAdvCustomDropDown::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TAdvCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FLabel) FLabel = nullptr;
    if (HasState(csDestroying)) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl) FControl = nullptr;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
}

// =============================================================================================
// The label

void TAdvCustomDropDown::CreateLabel() {
    FLabel = CreateAttachedLabel(this, FLabelFont);
    FLabel->OnClick = [this](TObject* Sender) { DoLabelClick(Sender); };
    FLabel->OnDblClick = [this](TObject* Sender) { DoLabelDblClick(Sender); };
}

String TAdvCustomDropDown::LabelCaption() const {
    return FLabel ? FLabel->Caption() : String();
}

void TAdvCustomDropDown::SetLabelCaption(const String& Value) {
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TAdvCustomDropDown::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    if (FLabel) UpdateLabel();
}

void TAdvCustomDropDown::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    if (FLabel) UpdateLabel();
}

void TAdvCustomDropDown::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    if (FLabel) UpdateLabel();
}

void TAdvCustomDropDown::SetLabelFont(TFont* Value) {
    if (!ParentFont()) FLabelFont->Assign(Value);
    if (FLabel) UpdateLabel();
}

void TAdvCustomDropDown::LabelFontChanged(TObject*) {
    if (Designing() && !HasState(csLoading)) SetParentFont(false);
    if (FLabel) UpdateLabel();
}

void TAdvCustomDropDown::UpdateLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont);
    TCanvas* c = FLabel->Canvas();
    c->SetFont(FLabel->Font());
    TRect r(0, 0, 1000, 255);
    DrawText(c, FLabel->Caption(), r, DT_HIDEPREFIX | DT_CALCRECT);
    PlaceAttachedLabel(FLabel, this, FLabelPosition, FLabelMargin, r.Width());
}

void TAdvCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) UpdateLabel();
}

void TAdvCustomDropDown::DoLabelClick(TObject*) {
    if (Assigned(OnLabelClick)) OnLabelClick(this);
}

void TAdvCustomDropDown::DoLabelDblClick(TObject*) {
    if (Assigned(OnLabelDblClick)) OnLabelDblClick(this);
}

// =============================================================================================
// Styles

int TAdvCustomDropDown::GetVersionNr() const {
    return VersionNumber;
}

void TAdvCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    FSelectionColorStyle = Value;
    if (const TSelectionStyleColors* c = SelectionStyleColors(Value)) {
        FSelectionColor = c->Color;
        FSelectionColorTo = c->ColorTo;
    }
}

void TAdvCustomDropDown::DrawSelectionBackground(TCanvas* ACanvas, const TRect& ARect, TColor BackColor,
                                                 int Sides) {
    DrawSelectionStyleBackground(ACanvas, ARect, FSelectionColorStyle, FSelectionColor, FSelectionColorTo,
                                 BackColor, Sides);
}

void TAdvCustomDropDown::PaintGradient(TCanvas* ACanvas, TColor FromColor, TColor ToColor, int Steps,
                                       const TRect& ARect, TGradientDirection Direction) {
    DrawSteppedGradient(ACanvas, FromColor, ToColor, Steps, ARect, Direction == gdHorizontal);
}

void TAdvCustomDropDown::SetComponentStyle(TKitStyle AStyle) {
    FKitStyle = AStyle;
    if (AStyle == tsCustom) return;
    // Straight into the fields: no change notification reaches the popup.
    const TPopupStyleColors* popup = PopupStyleColors(AStyle);
    if (!popup) return;
    FDropDownColor = popup->DropDownColor;
    FDropDownColorTo = popup->DropDownColorTo;
    if (popup->DropDownBorderColor) FDropDownBorderColor = *popup->DropDownBorderColor;
    auto strip = [](auto* Appearance, const TStripStyleColors& C) {
        Appearance->SetColor(C.Color);
        Appearance->SetColorTo(C.ColorTo);
        Appearance->Font()->SetColor(C.FontColor);
        Appearance->SetBorderColor(C.BorderColor);
    };
    strip(FDropDownHeader, popup->Header);
    strip(FDropDownFooter, popup->Footer);
    if (const TButtonStyleColors* b = ButtonStyleColors(AStyle)) {
        TAdvButtonAppearance* a = FButtonAppearance;
        a->SetColor(b->Color);
        a->SetColorTo(b->ColorTo);
        a->SetBorderColor(b->BorderColor);
        a->SetColorHot(b->ColorHot);
        a->SetColorHotTo(b->ColorHotTo);
        a->SetBorderColorHot(b->BorderColorHot);
        a->SetColorDown(b->ColorDown);
        a->SetColorDownTo(b->ColorDownTo);
        a->SetBorderColorDown(b->BorderColorDown);
        a->SetColorDisabled(b->ColorDisabled);
        a->SetColorDisabledTo(b->ColorDisabledTo);
        a->SetColorChecked(b->ColorChecked);
        a->SetColorCheckedTo(b->ColorCheckedTo);
        a->SetBorderColorChecked(b->BorderColorChecked);
    }
}

void TAdvCustomDropDown::SetColorTones(const TColorTones& ATones) {
    if (FButton) {
        FButton->ButtonColor = ATones.Background.BrushColor;
        FButton->ButtonColorHot = ATones.Hover.BrushColor;
        FButton->ButtonColorDown = ATones.Selected.BrushColor;
        FButton->ButtonBorderColor = ATones.Background.BorderColor;
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TAdvCustomDropDown::HeaderAppearanceChanged(TObject*) {
    AppearanceChanged();
}

void TAdvCustomDropDown::FooterAppearanceChanged(TObject*) {
    AppearanceChanged();
}

void TAdvCustomDropDown::AppearanceChanged() {
    if (FDropDownForm && FDroppedDown) FDropDownForm->InitializeAndUpdate();
}

// =============================================================================================
// The popup

void TAdvCustomDropDown::CreateDropDownForm() {
    if (FDropDownForm) return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->SetAdvDropDown(this);
    FDropDownForm->SetBorderStyle(bsNone);
    FDropDownForm->SetVisible(false);
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), FDropDownWidth, FDropDownHeight);
    FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
    FDropDownForm->OnHide = [this](TObject* Sender) { DropDownFormHide(Sender); };
    FDropDownForm->OnKeyPress = [this](TObject* Sender, Char& Key) { DropDownFormKeyPress(Sender, Key); };
    FDropDownForm->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        DropDownFormKeyDown(Sender, Key, Shift);
    };
    FDropDownForm->OnKeyUp = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        DropDownFormKeyUp(Sender, Key, Shift);
    };
    FDropDownForm->OnMouseWheelDown = [this](TObject* Sender, TShiftState Shift, TPoint P, bool& Handled) {
        DropDownFormMouseWheelDown(Sender, Shift, P, Handled);
    };
    FDropDownForm->OnMouseWheelUp = [this](TObject* Sender, TShiftState Shift, TPoint P, bool& Handled) {
        DropDownFormMouseWheelUp(Sender, Shift, P, Handled);
    };
    FDropDownForm->OnDestroy = [this](TObject* Sender) { DropDownFormDestroy(Sender); };
    FDropDownForm->OnSizing = [this](TObject* Sender) { DropDownFormSizing(Sender); };
}

void TAdvCustomDropDown::CreateDropDownButton() {
    if (FButton) return;
    FButton = new TDropDownEditButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject* Sender) { DropDownButtonClick(Sender); };
    if (Designing()) FButton->SetColor(clBtnFace);
    UpdateDropDownButton();
}

void TAdvCustomDropDown::UpdateDropDownButton() {
    if (!FButton) return;
    FButton->SetWidth(DropDownButtonWidth());
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
}

void TAdvCustomDropDown::DoBeforeDropDown() {
    if (Assigned(OnBeforeDropDown)) OnBeforeDropDown(this);
}

void TAdvCustomDropDown::AdjustDropDownHeight(int&) {}

void TAdvCustomDropDown::FocusDropDownControl() {
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
}

void TAdvCustomDropDown::AttachDropDownControl() {
    if (!FDropDownForm || !FControl || !FDropDownHeader) return;
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : FDropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TAdvCustomDropDown::SizeDropDownForm() {
    if (!FDropDownForm) return;
    const bool control = FControl && FControl->Visible();
    int w = Width();
    if (FDropDownWidth > 0)
        w = FDropDownWidth;
    else if (control)
        w = FControl->Width();
    int h = FDropDownHeight;
    if (h <= 0) {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
        if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
        if (control) h += FControl->Height();
    }
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TAdvCustomDropDown::DoShowDropDown() {
    if (Designing() || !FDropDownForm || FDropDownForm->Visible() || !Enabled() || ReadOnly()) return;
    DoBeforeDropDown();
    FDropDownForm->SetShadow(FDropDownShadow);
    FDropDownForm->InitializeAndUpdate();
    // The drop shadow is the compositor's (or none): there is no window-class style to set.
    FDropDownForm->SetBounds(Left(), Top(), FDropDownForm->Width(), FDropDownForm->Height());
    SizeDropDownForm();
    AttachDropDownControl();
    FDropDownForm->SetMinSize(80, 50);
    if (auto* control = dynamic_cast<TWinControl*>(FControl)) {
        control->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
            DropDownControlKeyDown(Sender, Key, Shift);
        };
        control->OnKeyUp = [this](TObject* Sender, Word& Key, TShiftState Shift) {
            DropDownControlKeyUp(Sender, Key, Shift);
        };
        control->OnKeyPress = [this](TObject* Sender, Char& Key) { DropDownControlKeyPress(Sender, Key); };
    }
    TPoint p = Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientToScreen(TPoint(0, 0));
    int top = FDropDownForm->Top();
    switch (FDropPosition) {
        case dpDown: top = p.Y + Height() - 1; break;
        case dpUp: top = p.Y - FDropDownForm->Height(); break;
        case dpAuto:
            // The edit's top against the primary screen's height, as the platform does.
            if (GetSystemMetrics(SM_CYSCREEN) > p.Y + FDropDownForm->Height())
                top = p.Y + Height() - 1;
            else
                top = p.Y - FDropDownForm->Height();
            break;
    }
    FDropDownForm->SetBounds(p.X, top, FDropDownForm->Width(), FDropDownForm->Height());
    bool accept = true;
    if (Assigned(OnDropDown)) OnDropDown(this, accept);
    if (!accept) return;
    const TRect work = DropDownWorkArea(p);
    const int right = FDropDownForm->Left() + FDropDownForm->Width();
    if (work.Left >= 0 && right > work.Right && FDropDownForm->Left() < work.Right)
        FDropDownForm->SetLeft(work.Right - FDropDownForm->Width());
    p = TPoint(FDropDownForm->Left(), FDropDownForm->Top());
    int wd = FUserDropDownWidth != -1 ? FUserDropDownWidth : FDropDownForm->Width();
    int ht = FUserDropDownHeight != -1 ? FUserDropDownHeight : FDropDownForm->Height();
    // Shown where it belongs already, so the window never flashes elsewhere; the compositor
    // draws any shadow, so there is nothing to force (ForceShadow is kept for its users).
    FDropDownForm->SetBounds(p.X, p.Y, wd, ht);
    FDropDownForm->SetVisible(true);
    AdjustDropDownHeight(ht);
    FDroppedDown = true;
    FDropDownForm->SetBounds(p.X, p.Y, wd, ht);
    FocusDropDownControl();
}

void TAdvCustomDropDown::DoHideDropDown(bool CancelChanges) {
    if (Designing() || !FDropDownForm || !FDropDownForm->Visible()) return;
    if (Assigned(OnBeforeDropUp)) OnBeforeDropUp(this);
    FUserDropDownWidth = FDropDownForm->Width();
    FUserDropDownHeight = FDropDownForm->Height();
    FDropDownForm->Hide();
    if (Application) Application->CancelHint();
    if (CancelChanges) SetText(FOldText);
    if (Assigned(OnDropUp)) OnDropUp(this, CancelChanges);
}

void TAdvCustomDropDown::DropDownFormHide(TObject*) {
    FDroppedDown = false;
    if (TabStop() && CanFocus() && !Focused() && !HasState(csDestroying)) SetFocus();
}

void TAdvCustomDropDown::DropDownFormDestroy(TObject*) {}

void TAdvCustomDropDown::DropDownFormMouseWheelDown(TObject*, TShiftState, TPoint, bool&) {
    MoveToNextItem();
}

void TAdvCustomDropDown::DropDownFormMouseWheelUp(TObject*, TShiftState, TPoint, bool&) {
    MoveToPreviousItem();
}

void TAdvCustomDropDown::DropDownFormKeyPress(TObject*, Char& Key) {
    Perform(WM_CHAR, Key.unicode(), 0);
}

void TAdvCustomDropDown::DropDownFormKeyDown(TObject*, Word& Key, TShiftState) {
    Perform(WM_KEYDOWN, Key, 0);
}

void TAdvCustomDropDown::DropDownFormKeyUp(TObject*, Word& Key, TShiftState) {
    Perform(WM_KEYUP, Key, 0);
}

void TAdvCustomDropDown::DropDownControlKeyDown(TObject*, Word& Key, TShiftState) {
    Perform(WM_KEYDOWN, Key, 0);
}

void TAdvCustomDropDown::DropDownControlKeyUp(TObject*, Word& Key, TShiftState) {
    Perform(WM_KEYUP, Key, 0);
}

void TAdvCustomDropDown::DropDownControlKeyPress(TObject*, Char& Key) {
    Perform(WM_CHAR, Key.unicode(), 0);
}

void TAdvCustomDropDown::DropDownFormSizing(TObject*) {}
void TAdvCustomDropDown::MoveToNextItem() {}
void TAdvCustomDropDown::MoveToPreviousItem() {}

void TAdvCustomDropDown::DropDownButtonClick(TObject*) {
    if (Designing() || !FDropDownForm || FDropDownForm->Visible()) return;
    // The press that closed the popup by taking its activation must not open it again.
    if (DropDownTickCount() - FDropDownForm->DeActivateTime() > Cardinal(ReopenDelay)) DoShowDropDown();
}

void TAdvCustomDropDown::ToggleDropDown(bool Visible) {
    if (Visible)
        DoHideDropDown(false);
    else
        DoShowDropDown();
}

// =============================================================================================
// Focus, hover and painting

bool TAdvCustomDropDown::HasFocus() const {
    return HandleAllocated() && Focused();
}

bool TAdvCustomDropDown::IsActive() const {
    if (Designing()) return false;
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TAdvCustomDropDown::IsButtonFocused() const {
    if (Designing()) return Enabled();
    return IsActive();
}

void TAdvCustomDropDown::UpdateButtonFocus() {
    if (FButton) FButton->Button()->SetFocused(IsButtonFocused());
}

void TAdvCustomDropDown::RedrawBorder() {
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    DrawBorders(dc);
    UpdateButtonFocus();
    ReleaseDC(Handle(), dc);
}

void TAdvCustomDropDown::DrawBorders(TCanvas* DC) {
    if (Designing()) return;
    const int w = Width(), h = Height();
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        DrawWindowFrame(DC, w, h, clSilver);
        return;
    }
    if (FBorderColor != clNone && (!HasFocus() || FFocusBorderColor == clNone)) {
        DrawWindowFrame(DC, w, h, FBorderColor);
        return;
    }
    if (FFocusBorderColor != clNone) {
        if (HasFocus()) DrawWindowFrame(DC, w, h, FFocusBorderColor);
        return;
    }
    if (IsActive()) {
        TRect r(0, 0, w, h);
        DrawEdge(DC, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        DC->Brush()->SetStyle(bsSolid);
        DC->Brush()->SetColor(clBtnFace);
        DC->FrameRect(r);
    } else {
        const TColor parent = Parent() ? Parent()->Brush()->Color() : Color();
        DC->Brush()->SetStyle(bsSolid);
        DC->Brush()->SetColor(parent);
        DC->FrameRect(TRect(0, 0, w, h));
        DC->FrameRect(TRect(1, 1, w - 1, h - 1));
    }
}

void TAdvCustomDropDown::DrawEditContent() {
    if (FEditorEnabled || !HasFocus() || Designing() || !FFocusDraw || !HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    TRect r(2, 2, Width() - DropDownButtonWidth() - 1, Height() - 2);
    dc->Pen()->SetStyle(psSolid);
    dc->Pen()->SetColor(clBlack);
    dc->Brush()->SetStyle(bsSolid);
    dc->Brush()->SetColor(clHighlight);
    dc->Rectangle(r);
    r = TRect(r.Left + 2, r.Top, r.Right - 3, r.Bottom);
    dc->Font()->Assign(Font());
    dc->Font()->SetColor(clHighlightText);
    dc->Brush()->SetStyle(bsClear);
    DrawText(dc, Text(), r, DT_SINGLELINE | DT_VCENTER);
    ReleaseDC(Handle(), dc);
}

// =============================================================================================
// Layout

int TAdvCustomDropDown::GetMinHeight() {
    return EditTextHeight(Font());
}

void TAdvCustomDropDown::ResizeControl() {
    const int minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
    } else if (FButton) {
        const int bw = FButton->FixedWidth();
        if (Ctl3D() && BorderStyle() == bsSingle) {
            const int a = FFlat ? 3 : 4;
            FButton->SetBounds(Width() - bw - a, FFlat ? 2 : 0, bw, Height() - a);
        } else {
            FButton->SetBounds(Width() - bw - (Ctl3D() ? 0 : 2), 1, bw, Height() - 2);
        }
        SetEditRect();
    }
    Invalidate();
}

void TAdvCustomDropDown::SetEditRect() {
    if (!HandleAllocated()) return;
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - (FButton ? FButton->Width() : 0) - 3;
    if (BorderStyle() == bsNone) {
        r.Left = 2;
        r.Top = 3;
    } else {
        r.Left = 1;
        r.Top = 1;
    }
    FEditRect = r;
    if (!Ctl3D()) r.Left += 1;
    SetEditTextRect(this, r);
}

// =============================================================================================
// Window and messages

void TAdvCustomDropDown::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN | ES_MULTILINE;
}

void TAdvCustomDropDown::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TAdvCustomDropDown::Loaded() {
    TCustomMaskEdit::Loaded();
    FParentFnt = ParentFont();
    SetEditRect();
    ResizeControl();
    if (FButton) FButton->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (FLabel) UpdateLabel();
    if (ParentFont() && FLabel) FLabel->Font()->Assign(Font());
}

void TAdvCustomDropDown::DoEnter() {
    TCustomMaskEdit::DoEnter();
    // The edit's own selection takes prefix and suffix too: the value alone is selected.
    if (AutoSelect && !ControlState().count(csLButtonDown)) SelectAll();
    SetEditRect();
}

void TAdvCustomDropDown::KeyDown(Word& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && Shift.count(ssAlt)) ToggleDropDown(FDroppedDown);
}

void TAdvCustomDropDown::KeyPress(Char& Key) {
    TCustomMaskEdit::KeyPress(Key);
    if (Key == Char(VK_RETURN)) Key = Char(0);
}

bool TAdvCustomDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool result = TCustomMaskEdit::DoMouseWheelDown(Shift, MousePos);
    MoveToNextItem();
    return result;
}

bool TAdvCustomDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool result = TCustomMaskEdit::DoMouseWheelUp(Shift, MousePos);
    MoveToPreviousItem();
    return result;
}

void TAdvCustomDropDown::WMKeyDown(TWMKey& Message) {
    if (Designing()) return;
    Word key = Word(Message.CharCode);
    if ((key == VK_UP || key == VK_DOWN) && GetKeyState(VK_MENU) < 0) ToggleDropDown(FDroppedDown);
    if (!FEditorEnabled && Enabled()) {
        const bool formVisible = FDropDownForm && FDropDownForm->Visible();
        if (!ReadOnly()) {
            switch (key) {
                case VK_RETURN:
                    DoHideDropDown(false);
                    TCustomMaskEdit::Dispatch(Message);
                    return;
                case VK_ESCAPE:
                    DoHideDropDown(true);
                    TCustomMaskEdit::Dispatch(Message);
                    return;
                case VK_F4: ToggleDropDown(formVisible); return;
                default: return; // pick-only: no other key reaches the edit (no OnKeyDown)
            }
        }
        if (key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if ((key == VK_TAB || key == VK_RETURN) && GetKeyState(VK_CONTROL) < 0) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        Message.CharCode = VK_TAB;
        if (Visible()) {
            const HWND h = Handle();
            PostCall([this, h] {
                if (FindControl(h) == this) DeliverTabKey(this);
            });
        }
    }
    if (!PrefixSuffixKey(Message)) return;
    TCustomMaskEdit::Dispatch(Message);
    AfterKey(key);
    key = Word(Message.CharCode);
    if (key == VK_RETURN)
        DoHideDropDown(false);
    else if (key == VK_ESCAPE)
        DoHideDropDown(true);
    else if (key == VK_F4)
        ToggleDropDown(FDropDownForm && FDropDownForm->Visible());
}

void TAdvCustomDropDown::CMWantSpecialKey(TCMWantSpecialKey& Message) {
    TCustomForm* form = nullptr;
    for (TWinControl* p = Parent(); p && !form; p = p->Parent()) form = dynamic_cast<TCustomForm*>(p);
    if (!form) return;
    const bool preview = form->KeyPreview();
    const Word key = Word(Message.CharCode);
    if (key == VK_ESCAPE && FCanUndo && !preview) {
        SelectAll();
        SetIsModified(false);
        Message.CharCode = 0;
        Message.Result = 0;
        if (Parent() && FDefaultHandling) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
    } else if (key == VK_RETURN && FDefaultHandling && !preview && Parent() && Parent()->Focused()) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    TCustomMaskEdit::Dispatch(Message);
    if (Word(Message.CharCode) == VK_ESCAPE && FDroppedDown) Message.Result = 1;
}

void TAdvCustomDropDown::WMLButtonDown(TWMMouse& Message) {
    if (!FEditorEnabled) {
        TCustomMaskEdit::Dispatch(Message);
        // The press gives the edit the focus once it has been handled whole here; the popup
        // opens after that, so that the focus change does not take its activation away.
        const HWND h = Handle();
        PostCall([this, h] {
            if (FindControl(h) == this) DoDropDownButtonClick();
        });
        return;
    }
    const TPoint p(Message.XPos, Message.YPos);
    const int index = LOWORD(Perform(EM_CHARFROMPOS, 0, PointToLParam(p)));
    if (SelLength() > 0 && index >= SelStart() && index <= SelStart() + SelLength() && HasFocus()) {
        FButtonDown = true;
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TAdvCustomDropDown::WMLButtonUp(TWMMouse& Message) {
    if (!FEditorEnabled || ReadOnly()) DrawEditContent();
    if (FButtonDown) {
        const TPoint p(Message.XPos, Message.YPos);
        const int index = LOWORD(Perform(EM_CHARFROMPOS, 0, PointToLParam(p)));
        SetSelStart(index);
        SetSelLength(0);
    }
    FButtonDown = false;
    TCustomMaskEdit::Dispatch(Message);
    ClampMouseSelection();
}

void TAdvCustomDropDown::WMPaint(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    DrawEditContent();
    if (FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder))
        RedrawBorder();
}

void TAdvCustomDropDown::WMNCPaint(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    if (FFocusBorderColor != clNone || FBorderColor != clNone) RedrawBorder();
}

void TAdvCustomDropDown::CNCommand(TMessage& Message) {
    if (Message.WParamHi() == EN_CHANGE && FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TAdvCustomDropDown::WndProc(TMessage& Message) {
    TCustomMaskEdit::WndProc(Message);
    if (Message.Msg == EM_SETREADONLY && FButton) FButton->Invalidate();
}

void TAdvCustomDropDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SIZE:
            TCustomMaskEdit::Dispatch(Message);
            ResizeControl();
            break;
        case WM_KEYDOWN: CallHandler<TWMKey>(this, &TAdvCustomDropDown::WMKeyDown, Message); break;
        case WM_CHAR: CallHandler<TWMKey>(this, &TAdvCustomDropDown::WMChar, Message); break;
        case WM_SETFOCUS: WMSetFocus(Message); break;
        case WM_KILLFOCUS: WMKillFocus(Message); break;
        case WM_COPY: WMCopy(Message); break;
        case WM_CUT: WMCut(Message); break;
        case WM_PASTE: WMPaste(Message); break;
        case WM_LBUTTONDOWN: CallHandler<TWMMouse>(this, &TAdvCustomDropDown::WMLButtonDown, Message); break;
        case WM_LBUTTONUP: CallHandler<TWMMouse>(this, &TAdvCustomDropDown::WMLButtonUp, Message); break;
        case WM_PAINT: WMPaint(Message); break;
        case WM_NCPAINT: WMNCPaint(Message); break;
        case CN_COMMAND: CNCommand(Message); break;
        case CM_WANTSPECIALKEY:
            CallHandler<TCMWantSpecialKey>(this, &TAdvCustomDropDown::CMWantSpecialKey, Message);
            break;
        case CM_ENABLEDCHANGED:
            TCustomMaskEdit::Dispatch(Message);
            if (FButton) FButton->SetEnabled(Enabled());
            break;
        case CM_ENTER:
            if (AutoSelect && !ControlState().count(csLButtonDown)) SelectAll();
            TCustomMaskEdit::Dispatch(Message);
            RedrawBorder();
            break;
        case CM_EXIT:
            TCustomMaskEdit::Dispatch(Message);
            RedrawBorder();
            break;
        case CM_MOUSEENTER:
            TCustomMaskEdit::Dispatch(Message);
            if (!FMouseInControl && Enabled()) {
                FMouseInControl = true;
                RedrawBorder();
            }
            break;
        case CM_MOUSELEAVE:
            TCustomMaskEdit::Dispatch(Message);
            if (FMouseInControl && Enabled()) {
                FMouseInControl = false;
                RedrawBorder();
            }
            break;
        case CM_PARENTFONTCHANGED:
            TCustomMaskEdit::Dispatch(Message);
            if (ParentFont() && FLabel) {
                FLabel->Font()->Assign(Font());
                UpdateLabel();
            }
            break;
        case CM_VISIBLECHANGED:
            TCustomMaskEdit::Dispatch(Message);
            if (FLabel && !LabelCaption().isEmpty()) FLabel->SetVisible(Visible());
            break;
        case CM_FONTCHANGED:
            TCustomMaskEdit::Dispatch(Message);
            if (HandleAllocated()) SetEditRect();
            break;
        default: TCustomMaskEdit::Dispatch(Message); break;
    }
}
