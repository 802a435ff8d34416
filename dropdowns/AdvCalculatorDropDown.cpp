#include "AdvCalculatorDropDown.h"

#include "ImgList.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "Themes.h"

#include <climits>
#include <cmath>

namespace {

// Action codes of the calculator keys.
enum : int {
    tagAdd = 10,
    tagSubtract = 11,
    tagMultiply = 12,
    tagDivide = 13,
    tagSign = 14,
    tagDecimal = 15,
    tagClear = 16,
    tagEquals = 17,
    tagPercent = 18,
    tagOn = 30,
    tagBack = 31,
    tagClearEntry = 32,
    tagMemoryClear = 33,
    tagMemoryRecall = 34,
    tagMemoryStore = 35,
    tagMemoryAdd = 36,
    tagSqrt = 37,
    tagReciprocal = 38
};

// Pending operators.
enum : int { opNone = -1, opAdd = 0, opMultiply = 1, opSubtract = 2, opDivide = 3 };

// Where a key sits: a column and row of the keypad, or one of the top row's wide keys.
enum : int { wideBack = -1, wideClearEntry = -2, wideClear = -3 };

struct TKeyDef {
    const char16_t* Name;
    const char16_t* Caption;
    int Tag;
    bool Special;
    int Column, Row;
};

const TKeyDef CalculatorKeys[] = {
    {u"BTN_ON", u"", tagOn, false, 0, 0},
    {u"BTN_BACK", u"Back", tagBack, true, wideBack, 0},
    {u"BTN_CE", u"CE", tagClearEntry, true, wideClearEntry, 0},
    {u"BTN_C", u"C", tagClear, true, wideClear, 0},
    {u"BTN_MC", u"MC", tagMemoryClear, true, 0, 1},
    {u"BTN_MR", u"MR", tagMemoryRecall, true, 0, 2},
    {u"BTN_MS", u"MS", tagMemoryStore, true, 0, 3},
    {u"BTN_M+", u"M+", tagMemoryAdd, true, 0, 4},
    {u"BTN_0", u"0", 0, false, 1, 4},
    {u"BTN_1", u"1", 1, false, 1, 3},
    {u"BTN_4", u"4", 4, false, 1, 2},
    {u"BTN_7", u"7", 7, false, 1, 1},
    {u"BTN_8", u"8", 8, false, 2, 1},
    {u"BTN_5", u"5", 5, false, 2, 2},
    {u"BTN_2", u"2", 2, false, 2, 3},
    {u"BTN_+/-", u"+/-", tagSign, false, 2, 4},
    {u"BTN_.", u".", tagDecimal, false, 3, 4},
    {u"BTN_3", u"3", 3, false, 3, 3},
    {u"BTN_6", u"6", 6, false, 3, 2},
    {u"BTN_9", u"9", 9, false, 3, 1},
    {u"BTN_/", u"/", tagDivide, true, 4, 1},
    {u"BTN_*", u"*", tagMultiply, true, 4, 2},
    {u"BTN_-", u"-", tagSubtract, true, 4, 3},
    {u"BTN_+", u"+", tagAdd, true, 4, 4},
    {u"BTN_=", u"=", tagEquals, true, 5, 4},
    {u"BTN_1/x", u"1/x", tagReciprocal, false, 5, 3},
    {u"BTN_%", u"%", tagPercent, false, 5, 2},
    {u"BTN_sqrt", u"sqrt", tagSqrt, true, 5, 1},
};
constexpr int CalculatorKeyCount = int(std::size(CalculatorKeys));
constexpr TColor SpecialCaptionColor = 0x000080;

bool HasPicture(const TPicture* P) {
    return P && P->Graphic() && !P->Graphic()->Empty();
}

Char DecimalSeparator() {
    return FormatSettings.DecimalSeparator;
}

const String ErrorText = QStringLiteral("Error");

} // namespace

// =============================================================================================
// TButtonItem

TButtonItem::TButtonItem(TCollection* Collection) : TCollectionItem(Collection), FImage(new TPicture) {}

TButtonItem::~TButtonItem() {
    delete FImage;
}

void TButtonItem::SetImage(TPicture* Value) {
    FImage->Assign(Value);
}

void TButtonItem::SetRect(const TRect& R) {
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
}

void TButtonItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TButtonItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FCaption = src->FCaption;
    FCaptionColor = src->FCaptionColor;
    FTag = src->FTag;
    FImageIndex = src->FImageIndex;
    FImage->Assign(src->FImage);
    FEnabled = src->FEnabled;
    FName = src->FName;
}

// =============================================================================================
// TButtonItems

TButtonItems::TButtonItems(TPersistent* AOwner)
    : TCollection(CollectionItemClass<TButtonItem>()), FMyOwner(AOwner) {}

// =============================================================================================
// TButtonAppearance

TButtonAppearance::TButtonAppearance()
    : FColorCheckedTo(ScaleColorChannels(0xF9D2B2, -10, -10, 0)),
      FColorDisabled(ScaleColorChannels(0xFFFFFF, -5, -5, -5)),
      FColorDisabledTo(ScaleColorChannels(0xFFFFFF, -5, -5, -5)),
      FColorChecked(ScaleColorChannels(0xF5F0E1, -10, -10, 0)), FFont(new TFont) {
    FFont->SetSize(10);
    FFont->SetStyle({fsBold});
}

TButtonAppearance::~TButtonAppearance() {
    TObject::Free(FFont);
}

void TButtonAppearance::SetFont(TFont* Value) {
    FFont->Assign(Value);
}

void TButtonAppearance::SetColorField(TColor& Field, TColor Value) {
    if (Value == Field) return;
    Field = Value;
    if (Assigned(OnChange)) OnChange(this);
}

void TButtonAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TButtonAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetBorderColor(src->BorderColor());
    SetBorderColorHot(src->BorderColorHot());
    SetBorderColorDown(src->BorderColorDown());
    SetBorderColorChecked(src->BorderColorChecked());
    SetColor(src->Color());
    SetColorTo(src->ColorTo());
    SetColorDown(src->ColorDown());
    SetColorDownTo(src->ColorDownTo());
    SetColorHot(src->ColorHot());
    SetColorHotTo(src->ColorHotTo());
    SetColorCheckedTo(src->ColorCheckedTo());
    SetColorDisabled(src->ColorDisabled());
    SetColorDisabledTo(src->ColorDisabledTo());
    SetColorChecked(src->ColorChecked());
    SetShineColor(src->ShineColor());
    SetGlowColorHot(src->GlowColorHot());
    SetGlowColorDown(src->GlowColorDown());
    SetFont(src->Font());
    SetTextColor(src->TextColor());
    SetSpecialTextColor(src->SpecialTextColor());
}

// =============================================================================================
// TCustomButtonPanel

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner), FButtons(new TButtonItems(this)), FButtonAppearance(new TButtonAppearance) {
    FButtonAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    SetDoubleBuffered(true);
}

TCustomButtonPanel::~TCustomButtonPanel() {
    TObject::Free(FButtonAppearance);
    TObject::Free(FButtons);
}

void TCustomButtonPanel::AppearanceChanged(TObject*) {
    // A hosted panel is painted when its popup shows.
    if (!FAdvDropDown) Invalidate();
}

void TCustomButtonPanel::SetImages(TCustomImageList* Value) {
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    ArrangeButtons();
}

void TCustomButtonPanel::SetEdit(TCustomEdit* Value) {
    FEdit = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value) {
    FButtonPanelType = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || HasState(csDestroying)) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FEdit) FEdit = nullptr;
}

void TCustomButtonPanel::Loaded() {
    TCustomControl::Loaded();
    if (!FAdvDropDown) CreateButtons();
}

TRect TCustomButtonPanel::GetButtonRect(int Index) const {
    if (Index < 0 || Index >= FButtons->Count()) return TRect(-1, -1, -1, -1);
    return FButtons->Items(Index)->GetRect();
}

int TCustomButtonPanel::ButtonAt(int X, int Y) const {
    for (int i = 0; i < FButtons->Count(); ++i) {
        const TRect r = FButtons->Items(i)->GetRect();
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
    }
    return -1;
}

bool TCustomButtonPanel::KeyEnabled(int Index) const {
    return Index >= 0 && Index < FButtons->Count() && FButtons->Items(Index)->Enabled();
}

void TCustomButtonPanel::GetButtonsRect(TRect& R) {
    R = ClientRect();
    R = TRect(R.Left + FOffSetX, R.Top + FOffSetY, R.Right - FOffSetX, R.Bottom - FOffSetY);
}

void TCustomButtonPanel::GetButtonSize(TSize& Size) {
    int pictureW = 0, pictureH = 0, captionW = 0, captionH = 0;
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    for (int i = 0; i < FButtons->Count(); ++i) {
        TButtonItem* key = FButtons->Items(i);
        if (HasPicture(key->Image())) {
            pictureW = std::max(pictureW, key->Image()->Width());
            pictureH = std::max(pictureH, key->Image()->Height());
        } else if (FImages && key->ImageIndex() >= 0) {
            pictureW = std::max(pictureW, FImages->Width());
            pictureH = std::max(pictureH, FImages->Height());
        }
        const TSize t = GetTextSize(c, key->Caption());
        captionW = std::max(captionW, int(t.cx));
        captionH = std::max(captionH, int(t.cy));
    }
    const int gap = pictureW > 0 && captionW > 0 ? FCaptionGap : 0;
    switch (FButtonLayout) {
        case ilCaptionLeft:
        case ilCaptionRight:
            Size.cx = 2 * FButtonOffSetX + pictureW + gap + captionW;
            Size.cy = std::max(pictureH, captionH) + 2 * FButtonOffSetY;
            break;
        case ilCaptionTop:
        case ilCaptionBottom:
            Size.cx = std::max(pictureW, captionW) + 2 * FButtonOffSetX;
            Size.cy = 2 * FButtonOffSetY + pictureH + gap + captionH;
            break;
    }
}

void TCustomButtonPanel::ClearButtons() {
    FButtons->Clear();
}

void TCustomButtonPanel::ResetButtons() {
    ClearButtons();
    CreateButtons();
}

void TCustomButtonPanel::CreateButtons() {
    if (FButtons->Count() == 0 && FButtonPanelType == plCalculator) {
        for (const TKeyDef& def : CalculatorKeys) {
            TButtonItem* key = FButtons->Add();
            key->SetName(String::fromUtf16(def.Name));
            key->SetCaption(String::fromUtf16(def.Caption));
            key->SetTag(def.Tag);
            key->SetSpecial(def.Special);
            if (def.Special) key->SetCaptionColor(SpecialCaptionColor);
        }
    }
    ArrangeButtons();
}

void TCustomButtonPanel::ArrangeButtons() {
    if (FButtonPanelType != plCalculator || FButtons->Count() == 0) return;
    TRect R;
    GetButtonsRect(R);
    constexpr int gap = 4;
    const int w = (R.Width() - 2 * gap) / 6;
    const int h = (R.Height() - gap) / 5;
    // Keys of a group share their border line; the groups stand 4 pixels apart.
    int row[5], col[6];
    row[0] = R.Top;
    row[1] = row[0] + h + 4;
    for (int i = 2; i < 5; ++i) row[i] = row[i - 1] + h - 1;
    col[0] = R.Left;
    col[1] = col[0] + w + 4;
    col[2] = col[1] + w - 1;
    col[3] = col[2] + w - 1;
    col[4] = col[3] + w + 4;
    col[5] = col[4] + w - 1;
    const int right = col[5] + w;
    const int w3 = (right - col[1] - 8) / 3;
    // Keys added by hand beyond the calculator's 28 keep their rectangles.
    const int count = std::min(FButtons->Count(), CalculatorKeyCount);
    for (int i = 0; i < count; ++i) {
        const TKeyDef& def = CalculatorKeys[i];
        TRect r;
        switch (def.Column) {
            case wideBack: r = Bounds(col[1], row[0], w3, h); break;
            case wideClearEntry: r = Bounds(col[1] + w3 + 4, row[0], w3, h); break;
            case wideClear: r = TRect(col[1] + 2 * w3 + 8, row[0], right, row[0] + h); break;
            default: r = Bounds(col[def.Column], row[def.Row], w, h); break;
        }
        FButtons->Items(i)->SetRect(r);
    }
}

void TCustomButtonPanel::InvalidateButton(int Index) {
    if (Index < 0 || Index >= FButtons->Count() || !HandleAllocated()) return;
    TRect r = FButtons->Items(Index)->GetRect();
    r = TRect(r.Left - 8, r.Top - 8, r.Right + 8, r.Bottom + 8);
    InvalidateRect(Handle(), &r, true);
}

void TCustomButtonPanel::ButtonClick(int Index) {
    if (Assigned(OnButtonClick)) OnButtonClick(this, Index);
}

void TCustomButtonPanel::Paint() {
    TCustomControl::Paint();
    TCanvas* c = Canvas();
    if (!FAdvDropDown) {
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(clBlack);
        c->Rectangle(ClientRect());
    }
    // The hot key last, over the border lines it shares with its neighbours.
    for (int i = 0; i < FButtons->Count(); ++i)
        if (i != FButtonHot) DrawButton(i, c);
    if (FButtonHot >= 0) DrawButton(FButtonHot, c);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* ACanvas) {
    if (!ACanvas || Index < 0 || Index >= FButtons->Count()) return;
    TButtonItem* key = FButtons->Items(Index);
    const TRect R = key->GetRect();
    if (R.Left < 0 && R.Right < 0) return;

    // 1. The face.
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color());
    ACanvas->FillRect(R);
    const int state = !Enabled()             ? PBS_DISABLED
                      : Index == FButtonDown ? PBS_PRESSED
                      : Index == FButtonHot  ? PBS_HOT
                                             : PBS_NORMAL;
    DrawPushButtonFace(ACanvas, HandleAllocated() ? Handle() : HWND(0), R, state);

    // 2. Content rectangle, font and text colour.
    TRect C(R.Left + FButtonOffSetX, R.Top + FButtonOffSetY, R.Right - FButtonOffSetX,
            R.Bottom - FButtonOffSetY);
    ACanvas->Font()->Assign(FButtonAppearance->Font());
    ACanvas->Font()->SetColor(key->Special() ? FButtonAppearance->SpecialTextColor()
                                             : FButtonAppearance->TextColor());
    ACanvas->Brush()->SetStyle(bsClear);

    // 3. The picture: the key's own, else the image list's.
    int w = 0, h = 0;
    const bool own = HasPicture(key->Image());
    if (own) {
        w = key->Image()->Width();
        h = key->Image()->Height();
    } else if (FImages && key->ImageIndex() >= 0) {
        w = FImages->Width();
        h = FImages->Height();
    }
    const bool picture = w > 0 || h > 0;
    auto drawPicture = [&](int X, int Y) {
        if (own)
            ACanvas->Draw(X, Y, key->Image()->Graphic());
        else if (picture)
            FImages->Draw(ACanvas, X, Y, key->ImageIndex(), key->Enabled());
    };
    const String caption = key->Caption();
    const bool hasCaption = !caption.isEmpty();
    auto drawCaption = [&](TRect T, bool Centre) {
        TRect t = T;
        DrawText(ACanvas, caption, t, DT_SINGLELINE | DT_VCENTER | (Centre ? DT_CENTER : 0));
    };
    const TSize text = hasCaption ? GetTextSize(ACanvas, caption) : TSize{0, 0};

    // 4. By layout.
    switch (FButtonLayout) {
        case ilCaptionLeft:
            if (hasCaption) drawCaption(TRect(C.Left, C.Top, C.Right - w, C.Bottom), !picture);
            drawPicture(C.Left + (hasCaption ? int(text.cx) + FCaptionGap : 0), C.Top + (C.Height() - h) / 2);
            break;
        case ilCaptionRight:
            if (picture) {
                drawPicture(C.Left, C.Top + (C.Height() - h) / 2);
                C.Left += w + FCaptionGap;
            }
            if (hasCaption) drawCaption(C, !picture);
            break;
        case ilCaptionTop: {
            int top = C.Top + (C.Height() - h) / 2;
            if (hasCaption) {
                drawCaption(TRect(C.Left, C.Top, C.Right, C.Bottom - h), true);
                top = C.Top + int(text.cy) + FCaptionGap;
            }
            drawPicture(C.Left + (C.Width() - w) / 2, top);
            break;
        }
        case ilCaptionBottom: {
            const int top = hasCaption ? C.Top : C.Top + (C.Height() - h) / 2;
            drawPicture(C.Left + (C.Width() - w) / 2, top);
            if (hasCaption) drawCaption(TRect(C.Left, top + h + FCaptionGap, C.Right, C.Bottom), true);
            break;
        }
    }
}

void TCustomButtonPanel::MoveState(int& State, int Index) {
    if (Index == State) return;
    if (Index >= FButtons->Count() || (Index >= 0 && !KeyEnabled(Index))) return;
    if (State >= 0) {
        const int old = State;
        State = -1;
        InvalidateButton(old);
    }
    State = Index;
    if (Index >= 0) DrawButton(Index, Canvas());
}

void TCustomButtonPanel::SetButtonHot(int Index) {
    MoveState(FButtonHot, Index);
}

void TCustomButtonPanel::SetButtonDown(int Index) {
    MoveState(FButtonDown, Index);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int index = ButtonAt(X, Y);
    if (KeyEnabled(index)) SetButtonDown(index);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    int index = ButtonAt(X, Y);
    if (!KeyEnabled(index)) index = -1;
    if (index == FButtonHot) return;
    SetButtonHot(index);
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FButtonDown < 0) return;
    const int clicked = ButtonAt(X, Y) == FButtonDown ? FButtonDown : -1;
    SetButtonDown(-1);
    if (clicked >= 0) ButtonClick(clicked);
}

void TCustomButtonPanel::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    switch (Message.Msg) {
        case WM_SIZE: ArrangeButtons(); break;
        case CM_MOUSELEAVE: SetButtonHot(-1); break;
        default: break;
    }
}

// =============================================================================================
// TAdvCalculatorDropdown

TAdvCalculatorDropdown::TAdvCalculatorDropdown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FCalcButtonAppearance(new TButtonAppearance) {
    // The base styled its drop button before this control's slots existed: the keys take the
    // same look now.
    StyleCalcButtonAppearance(GetComponentStyle());
    SetDropDownColor(clWhite);
    SetDropDownWidth(230);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditType(etFloat);
    FPrevop = opNone;
    SetPrecision(2);
    FDecim = 0;
    FCalcClosed = true;
    FMVal = 0;
    // The base made the popup form before this control's slots existed: make the keypad now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvCalculatorDropdown::~TAdvCalculatorDropdown() {
    TObject::Free(FCalcButtonAppearance);
}

void TAdvCalculatorDropdown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FAdvButtonPanel) {
        FAdvButtonPanel = new TCustomButtonPanel(this);
        FAdvButtonPanel->SetParent(DropDownForm());
        FAdvButtonPanel->SetAdvDropDown(this);
        FAdvButtonPanel->SetHeight(150);
        FAdvButtonPanel->CreateButtons();
    }
    SetControl(FAdvButtonPanel);
    FAdvButtonPanel->OnButtonClick = [this](TObject* Sender, int Index) { ButtonClick(Sender, Index); };
}

void TAdvCalculatorDropdown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (FAdvButtonPanel) {
        FAdvButtonPanel->SetButtonAppearance(FCalcButtonAppearance);
        FAdvButtonPanel->SetColor(DropDownColor());
        FAdvButtonPanel->ArrangeButtons();
    }
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
}

void TAdvCalculatorDropdown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    StyleCalcButtonAppearance(AStyle);
}

void TAdvCalculatorDropdown::StyleCalcButtonAppearance(TKitStyle AStyle) {
    if (!FCalcButtonAppearance) return;
    const TAdvButtonAppearance* b = ButtonAppearance();
    TButtonAppearance* a = FCalcButtonAppearance;
    a->SetBorderColor(b->BorderColor());
    a->SetBorderColorHot(b->BorderColorHot());
    a->SetBorderColorDown(b->BorderColorDown());
    a->SetColor(b->Color());
    a->SetColorTo(b->ColorTo());
    a->SetColorDown(b->ColorDown());
    a->SetColorDownTo(b->ColorDownTo());
    a->SetColorHot(b->ColorHot());
    a->SetColorHotTo(b->ColorHotTo());
    a->SetColorDisabled(b->ColorDisabled());
    a->SetColorDisabledTo(b->ColorDisabledTo());
    a->SetBorderColorChecked(b->BorderColorDisabled());
    a->SetColorChecked(b->ColorDisabledTo());
    a->SetColorCheckedTo(b->ColorHotTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        a->SetGlowColorHot(b->ColorHot());
        a->SetGlowColorDown(b->ColorHot());
    } else {
        a->SetGlowColorDown(0xD5C244);
        a->SetGlowColorHot(b->ColorDownTo());
    }
}

double TAdvCalculatorDropdown::Value() {
    if (Text().isEmpty()) SetText(QStringLiteral("0"));
    double value = 0;
    if (!TryStrToFloat(StripThousandSeparators(Text()), value)) return 0;
    return value;
}

void TAdvCalculatorDropdown::SetValue(double Value) {
    // The display never shows an infinity or "not a number", which no key could read back.
    SetText(Format(QStringLiteral("%g"), std::isfinite(Value) ? Value : 0.0));
}

void TAdvCalculatorDropdown::SetShowThousandSeparator(bool Value) {
    if (Value == FShowThousandSeparator) return;
    FShowThousandSeparator = Value;
    SetEditType(Value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

// ---- The engine ----

double TAdvCalculatorDropdown::DisplayNumber() const {
    return StrToFloat(StripThousandSeparators(Text()));
}

void TAdvCalculatorDropdown::DoCalc() {
    if (Text().isEmpty() || Text() == ErrorText) SetText(QStringLiteral("0"));
    const double x = DisplayNumber();
    double a = FPrevval;
    switch (FPrevop) {
        case opAdd: a += x; break;
        case opMultiply: a *= x; break;
        case opSubtract: a -= x; break;
        case opDivide:
            if (x == 0) {
                FPrevval = 0;
                SetText(ErrorText);
                return;
            }
            a /= x;
            break;
        default: a = x; break;
    }
    // An overflow or an invalid operation clears the accumulator.
    FPrevval = std::isfinite(a) ? a : 0;
    SetFloatValue(FPrevval);
    FNewval = true;
}

void TAdvCalculatorDropdown::DoEquals() {
    DoCalc();
    if (Text().isEmpty()) SetText(QStringLiteral("0"));
    FPrevop = opNone;
    if (Text() != ErrorText) FPrevval = DisplayNumber();
}

void TAdvCalculatorDropdown::DoPercent() {
    if (Text().isEmpty() || Text() == ErrorText) SetText(QStringLiteral("0"));
    const double x = DisplayNumber();
    const double percent = FPrevval * x / 100;
    SetText(Format(QStringLiteral("%g"), std::isfinite(percent) ? percent : 0.0));
}

void TAdvCalculatorDropdown::Operator(int Op) {
    DoCalc();
    FPrevop = Op;
}

void TAdvCalculatorDropdown::ButtonClick(TObject*, int Index) {
    if (!FAdvButtonPanel || Index < 0 || Index >= FAdvButtonPanel->Buttons()->Count()) return;
    BeforeCalc();
    KeyAction(FAdvButtonPanel->Buttons()->Items(Index)->Tag());
}

void TAdvCalculatorDropdown::KeyAction(int Tag) {
    const int t = Tag;
    if ((t >= tagAdd && t <= tagSign) || (t >= tagClear && t <= tagPercent)) FDecim = 0;
    if ((t < 10 || t == tagSign || t == tagDecimal) && MaxLength() > 0 && int(Text().size()) == MaxLength())
        return;
    if (t >= 0 && t <= 9) {
        double v = GetFloatValue();
        if ((v == 0 && FDecim == 0) || FNewval) {
            SetText(IntToStr(t));
            FNewval = false;
        } else {
            if (FDecim > 0) {
                // The divisor stops before it would overflow: digits that far beyond the
                // display's decimals are lost to its rounding anyway.
                if (FDecim <= INT_MAX / 10) {
                    v += double(t) / FDecim;
                    FDecim *= 10;
                }
            } else {
                v = v * 10 + t;
            }
            SetFloatValue(v);
        }
    } else {
        switch (t) {
            case tagAdd: Operator(opAdd); break;
            case tagSubtract: Operator(opSubtract); break;
            case tagMultiply: Operator(opMultiply); break;
            case tagDivide: Operator(opDivide); break;
            case tagSign: {
                const String s = Text();
                SetText(s.contains(u'-') ? s.mid(1) : QStringLiteral("-") + s);
                break;
            }
            case tagDecimal: {
                const String s = Text();
                if (!s.contains(DecimalSeparator())) SetText(s + DecimalSeparator());
                FDecim = 10;
                if (FNewval) SetText(QStringLiteral("0"));
                FNewval = false;
                break;
            }
            case tagClear:
            case tagOn:
            case tagClearEntry:
                SetText(QStringLiteral("0"));
                FPrevval = 0;
                FPrevop = opNone;
                break;
            case tagEquals: DoEquals(); break;
            case tagPercent: DoPercent(); break;
            case tagBack:
                if (FPrevop == opNone) {
                    String s = FloatToStr(GetFloatValue());
                    s.chop(1);
                    SetText(s);
                }
                break;
            case tagMemoryClear: FMVal = 0; break;
            case tagMemoryRecall: SetFloatValue(FMVal); break;
            case tagMemoryStore: FMVal = DisplayNumber(); break;
            case tagMemoryAdd: FMVal += DisplayNumber(); break;
            case tagSqrt: {
                const double v = GetFloatValue();
                if (v < 0)
                    SetText(ErrorText);
                else
                    SetFloatValue(std::sqrt(v));
                break;
            }
            case tagReciprocal: {
                const double v = GetFloatValue();
                if (v == 0)
                    SetText(ErrorText);
                else
                    SetFloatValue(1 / v);
                break;
            }
            default: break;
        }
    }
    SetIsModified(true);
}

// ---- The keyboard ----

void TAdvCalculatorDropdown::CalculatorKeyPress(Char& Key) {
    const bool closed = FCalcClosed || (DropDownForm() && !DropDownForm()->Visible());
    if (closed && !FFromPopup) {
        switch (Key.unicode()) {
            case u'\r':
            case u'=': DoEquals(); break;
            case u'%': DoPercent(); break;
            case u'*': Operator(opMultiply); break;
            case u'+': Operator(opAdd); break;
            case u'-': Operator(opSubtract); break;
            case u'/': Operator(opDivide); break;
            case u'C':
            case u'c':
                SetText(QStringLiteral("0"));
                FNewval = true;
                FPrevop = opNone;
                break;
            default: break;
        }
    }
    const Char ds = DecimalSeparator();
    const bool number = Key.isNumber();
    if (!number && Key != ds && Key != Char(VK_BACK) && Key != Char(u'-')) {
        Key = Char(0);
        return;
    }
    const String s = Text();
    if ((s == QStringLiteral("0") || FNewval) && number) {
        SetText(String(Key));
        Key = Char(0);
        SetSelStart(int(Prefix().size()) + 1);
        SetSelLength(0);
        FNewval = false;
        return;
    }
    if (s.size() == 1 && Key == Char(VK_BACK)) {
        SetText(QStringLiteral("0"));
        Key = Char(0);
        SetSelStart(int(Prefix().size()) + 1);
        SetSelLength(0);
        return;
    }
    if (Key == FormatSettings.ThousandSeparator) {
        Key = Char(0);
    } else if (Key == ds && s.contains(ds)) {
        // The separator is there already: the digits that follow go after it.
        SelectAfterDecimal();
        Key = Char(0);
    }
}

void TAdvCalculatorDropdown::DropDownFormKeyPress(TObject* Sender, Char& Key) {
    FFromPopup = true;
    try {
        TAdvCustomDropDown::DropDownFormKeyPress(Sender, Key);
    } catch (...) {
        FFromPopup = false;
        throw;
    }
    FFromPopup = false;
    const bool alt = GetKeyState(VK_MENU) < 0;
    BeforeCalc();
    const Char ds = DecimalSeparator();
    if (Key == ds && !Text().contains(ds)) SetText(Text() + ds);
    if (Key.isNumber() && MaxLength() > 0 && int(Text().size()) == MaxLength()) return;
    switch (Key.unicode()) {
        case u'\r':
            DoEquals();
            HideDropDown(false);
            break;
        case 27: HideDropDown(true); break;
        case u'%': DoPercent(); break;
        case u'&':
            if (alt) HideDropDown(true);
            break;
        case u'*': Operator(opMultiply); break;
        case u'+': Operator(opAdd); break;
        case u'-': Operator(opSubtract); break;
        case u'/': Operator(opDivide); break;
        case u'=': DoEquals(); break;
        case u'C':
        case u'c':
            SetText(QStringLiteral("0"));
            FPrevval = 0;
            FNewval = true;
            FPrevop = opNone;
            break;
        default:
            if (Key >= Char(u'0') && Key <= Char(u'9')) FNewval = false;
            break;
    }
}

void TAdvCalculatorDropdown::DropDownFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    TAdvCustomDropDown::DropDownFormKeyDown(Sender, Key, Shift);
    switch (Key) {
        case VK_TAB:
        case VK_F4: HideDropDown(false); break;
        case VK_BACK: {
            String s = Text();
            s.chop(1);
            if (s.isEmpty() || s == ErrorText) s = QStringLiteral("0");
            SetText(s);
            break;
        }
        default: break;
    }
}

void TAdvCalculatorDropdown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CHAR: {
            // The calculator keys come before the number filter of the edit type, which would
            // drop the operators.
            Char key(char16_t(Message.WParam));
            CalculatorKeyPress(key);
            if (key.unicode() == 0) {
                Message.Result = 0;
                return;
            }
            Message.WParam = key.unicode();
            TAdvCustomDropDown::Dispatch(Message);
            return;
        }
        case WM_KEYDOWN:
            TAdvCustomDropDown::Dispatch(Message);
            if (Word(Message.WParam) == VK_DELETE && (Text().isEmpty() || Text() == ErrorText))
                SetText(QStringLiteral("0"));
            return;
        default: TAdvCustomDropDown::Dispatch(Message); return;
    }
}
