#include "AdvColorPickerDropDown.h"

#include "ExtCtrls.h"
#include "OSInfo.h"
#include "SysUtils.h"
#include "WebColors.h"

#include <algorithm>

namespace {

constexpr int KeyTimerInterval = 500; // ms a type-ahead burst lasts from its first key

struct TNamedColor {
    const char* Caption;
    unsigned Value; // $BBGGRR
};

constexpr TNamedColor DefaultColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

} // namespace

String ColorValueToText(TColor Color, TColorValueText Kind) {
    if (Kind == cvtNone) return String();
    if (Kind == cvtHex) return IntToHex(int(Color), 6);
    // clNone has no red, green and blue to write.
    if (Color == clNone) return String();
    const TColor c = ColorToRGB(Color);
    switch (Kind) {
        case cvtWebName: return ColorToWebName(c);
        case cvtRGB:
            return QStringLiteral("Red:%1,Green:%2,Blue:%3")
                .arg(GetRValue(c))
                .arg(GetGValue(c))
                .arg(GetBValue(c));
        case cvtHTML:
            return QStringLiteral("#") + IntToHex(int(GetRValue(c)), 2) + IntToHex(int(GetGValue(c)), 2) +
                   IntToHex(int(GetBValue(c)), 2);
        default: return String();
    }
}

// =============================================================================================
// TColorItem

void TColorItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed(false);
}

void TColorItem::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed(false);
}

void TColorItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TColorItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    SetColor(src->FColor);
    FEnabled = src->FEnabled;
    FHint = src->FHint;
}

// =============================================================================================
// TColorItems

TColorItems::TColorItems(TAdvColorPickerDropDown* AOwner)
    : TCollection(CollectionItemClass<TColorItem>()), FMyOwner(AOwner) {}

TPersistent* TColorItems::GetOwner() {
    return FMyOwner;
}

void TColorItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (Item && Assigned(OnChange)) OnChange(this);
}

// =============================================================================================
// Construction

TAdvColorPickerDropDown::TAdvColorPickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FColors(new TColorItems(this)), FItemAppearance(new TItemAppearance(this)),
      FKeyTimer(new TTimer(this)) {
    FColors->OnChange = [](TObject*) {};
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetDropDownHeight(200);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetCursor(crArrow);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(KeyTimerInterval);
    FKeyTimer->OnTimer = [this](TObject* Sender) { KeyTimerTick(Sender); };
    // A control dropped on a form in the designer starts with the default colours.
    FDesignTime =
        HasState(csDesigning) && AOwner && !AOwner->HasState(csReading) && !AOwner->HasState(csLoading);
    // The base made the popup form before this control's slots existed: make the chooser now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvColorPickerDropDown::~TAdvColorPickerDropDown() {
    FKeyTimer->SetEnabled(false);
    // The choosers sit on the popup form, which the base frees: free them while they are known.
    auto release = [](auto*& Panel) {
        auto* panel = Panel;
        Panel = nullptr;
        delete panel;
    };
    release(FItemSelector);
    release(FColorSelector);
    release(FColorCubePanel);
    release(FSpectrumPanel);
    delete FKeyTimer;
    delete FColors;
    delete FItemAppearance;
}

void TAdvColorPickerDropDown::CreateWnd() {
    TAdvCustomDropDown::CreateWnd();
    if (FDesignTime && FColors->Count() == 0) {
        FDesignTime = false;
        AddDefaultColors();
    }
}

// =============================================================================================
// Value

void TAdvColorPickerDropDown::AddDefaultColors() {
    for (const TNamedColor& c : DefaultColors) {
        TColorItem* item = FColors->Add();
        item->SetCaption(QString::fromLatin1(c.Caption));
        item->SetColor(TColor(c.Value));
    }
}

void TAdvColorPickerDropDown::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    for (int i = 0; i < FColors->Count(); ++i)
        if (FColors->Items(i)->Color() == Value) {
            SetItemIndex(i);
            break;
        }
    Invalidate();
}

void TAdvColorPickerDropDown::SetItemIndex(int Value) {
    if (Value >= FColors->Count()) return;
    FItemIndex = std::max(Value, -1);
    if (FItemIndex >= 0) FSelectedColor = FColors->Items(FItemIndex)->Color();
    Invalidate();
    if (Assigned(OnSelect)) OnSelect(this);
}

void TAdvColorPickerDropDown::SetShowText(bool Value) {
    if (Value == FShowText) return;
    FShowText = Value;
    Invalidate();
}

String TAdvColorPickerDropDown::GetSelectedColorText() const {
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->Items(FItemIndex)->Caption();
    return ColorValueToText(FSelectedColor, FColorValueText);
}

void TAdvColorPickerDropDown::SelectFirst() {
    if (FColors->Count() > 0) SetItemIndex(0);
}

void TAdvColorPickerDropDown::SelectLast() {
    if (FColors->Count() > 0) SetItemIndex(FColors->Count() - 1);
}

void TAdvColorPickerDropDown::SelectNext() {
    if (FColors->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FColors->Count())
        SetItemIndex(FItemIndex + 1);
}

void TAdvColorPickerDropDown::SelectPrevious() {
    if (FColors->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TAdvColorPickerDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance, AStyle);
}

void TAdvColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// =============================================================================================
// The choosers

void TAdvColorPickerDropDown::InstallPanel(TControl* Panel) {
    Panel->SetLeft(0);
    Panel->SetTop(0);
    Panel->SetColor(DropDownColor());
    SetControl(Panel);
}

void TAdvColorPickerDropDown::CreateItemSelector() {
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = new TAdvCustomItemSelector(this);
        FItemSelector->SetParent(DropDownForm());
        FItemSelector->SetSelectorType(stColor);
        FItemSelector->SetHeight(150);
        FItemSelector->UpdateSelectorPanel();
    }
    InstallPanel(FItemSelector);
}

void TAdvColorPickerDropDown::CreateColorSelector() {
    if (!DropDownForm()) return;
    if (!FColorSelector) {
        FColorSelector = new TCustomColorSelector(this);
        FColorSelector->SetParent(DropDownForm());
        FColorSelector->AddDefaultColorBoxes();
    }
    InstallPanel(FColorSelector);
    FColorSelector->UpdateLayout();
}

void TAdvColorPickerDropDown::CreateCubePanel() {
    if (!DropDownForm()) return;
    if (!FColorCubePanel) {
        FColorCubePanel = new TAdvColorCubePanel(this);
        FColorCubePanel->SetParent(DropDownForm());
    }
    InstallPanel(FColorCubePanel);
}

void TAdvColorPickerDropDown::CreateSpectrumPanel() {
    if (!DropDownForm()) return;
    if (!FSpectrumPanel) {
        FSpectrumPanel = new TAdvColorSpectrumPanel(this);
        FSpectrumPanel->SetParent(DropDownForm());
    }
    InstallPanel(FSpectrumPanel);
}

void TAdvColorPickerDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    switch (FColorSelectionStyle) {
        case csList: CreateItemSelector(); break;
        case csDiscrete: CreateColorSelector(); break;
        case csColorCube: CreateCubePanel(); break;
        case csSpectrum: CreateSpectrumPanel(); break;
    }
}

void TAdvColorPickerDropDown::PreparePanel() {
    auto hide = [](TControl* Panel) {
        if (Panel) Panel->SetVisible(false);
    };
    switch (FColorSelectionStyle) {
        case csList:
            CreateItemSelector();
            hide(FColorCubePanel);
            hide(FSpectrumPanel);
            hide(FColorSelector);
            UpdateItemSelector();
            if (FItemSelector) {
                if (Assigned(OnDrawColor))
                    FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
                        if (Assigned(OnDrawColor)) OnDrawColor(this, Canvas, R, Index);
                    };
                else
                    FItemSelector->OnDrawItem = nullptr;
            }
            FOldItemIndex = FItemIndex;
            break;
        case csDiscrete:
            CreateColorSelector();
            hide(FItemSelector);
            hide(FSpectrumPanel);
            hide(FColorCubePanel);
            if (FColorSelector) {
                FColorSelector->SetAlign(alNone);
                // Showing the colour is no pick: the palette reports nothing while it takes it.
                FColorSelector->OnItemSelect = nullptr;
                FColorSelector->SetSelectedColor(FSelectedColor);
                FColorSelector->UpdateLayout();
                FColorSelector->OnItemSelect = [this](TObject* Sender) { PaletteSelect(Sender); };
                FColorSelector->SetItemColorStyle(SelectionColorStyle());
                FColorSelector->SetVisible(true);
            }
            break;
        case csColorCube:
            CreateCubePanel();
            hide(FItemSelector);
            hide(FSpectrumPanel);
            hide(FColorSelector);
            if (FColorCubePanel) {
                FColorCubePanel->SetAlign(alNone);
                FColorCubePanel->SetSelectedColor(FSelectedColor);
                FColorCubePanel->InitCells();
                FColorCubePanel->ResetHotIndex();
                FColorCubePanel->OnSelect = [this](TObject* Sender) { CubeSelect(Sender); };
                FColorCubePanel->SetVisible(true);
            }
            break;
        case csSpectrum:
            CreateSpectrumPanel();
            hide(FItemSelector);
            hide(FColorCubePanel);
            hide(FColorSelector);
            if (FSpectrumPanel) {
                FSpectrumPanel->SetAlign(alNone);
                FSpectrumPanel->SetSelectedColor(FSelectedColor);
                FSpectrumPanel->UpdateLayout();
                FSpectrumPanel->OnSelect = [this](TObject* Sender) { SpectrumSelect(Sender); };
                FSpectrumPanel->SetVisible(true);
            }
            break;
    }
    FOldSelectedColor = FSelectedColor;
}

void TAdvColorPickerDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    PreparePanel();
}

void TAdvColorPickerDropDown::DoShowDropDown() {
    TAdvCustomDropDown::DoShowDropDown();
    // The base gives the popup the size it had when it last closed, which was another chooser's
    // after a change of style: a panel popup always fits its panel.
    if (DroppedDown() && FColorSelectionStyle != csList) FitPanelPopup();
}

void TAdvColorPickerDropDown::FitPanelPopup() {
    TControl* control = Control();
    if (!DropDownForm() || !control) return;
    control->SetAlign(alNone);
    if (control == FColorSelector)
        FColorSelector->UpdateLayout();
    else if (control == FColorCubePanel)
        FColorCubePanel->ResetHotIndex();
    else if (control == FSpectrumPanel)
        FSpectrumPanel->UpdateLayout();
    SizeDropDownForm();
    control->SetAlign(alClient);
}

void TAdvColorPickerDropDown::UpdateItemSelector() {
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(FColumns);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    TSelectorItems* items = FItemSelector->Items();
    items->Clear();
    for (int i = 0; i < FColors->Count(); ++i) {
        TColorItem* source = FColors->Items(i);
        TSelectorItem* item = items->Add();
        item->SetCaption(source->Caption());
        item->SetColor(source->Color());
        item->SetHint(source->Hint());
    }
    FItemSelector->SetColorBoxHeight(FColorBoxHeight);
    FItemSelector->SetColorBoxWidth(FColorBoxWidth);
    FItemSelector->ItemAppearance()->Assign(FItemAppearance);
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject* Sender) { ListSelect(Sender); };
    FItemSelector->SetShowHint(ShowHint());
}

void TAdvColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value) {
    if (Value == FColorSelectionStyle) return;
    FColorSelectionStyle = Value;
    if (HasState(csDesigning)) return;
    PreparePanel();
    if (Value == csList && FItemSelector) FItemSelector->SetVisible(true);
    TControl* control = Control();
    if (!DropDownForm() || !control) return;
    control->SetAlign(alNone);
    SizeDropDownForm();
    control->SetAlign(alClient);
    DropDownForm()->Invalidate();
}

void TAdvColorPickerDropDown::AttachDropDownControl() {
    TAdvCustomDropDown::AttachDropDownControl();
    if (FColorSelectionStyle != csList && DropDownForm()) DropDownForm()->SetSizeable(false);
}

void TAdvColorPickerDropDown::SizeDropDownForm() {
    TDropDownForm* form = DropDownForm();
    if (!form) return;
    if (FColorSelectionStyle != csList) {
        TControl* control = Control();
        const bool visible = control && control->Visible();
        const int border = 2 * DropDownBorderWidth();
        int h = border;
        if (DropDownHeader()->Visible()) h += DropDownHeader()->Height();
        if (DropDownFooter()->Visible()) h += DropDownFooter()->Height();
        if (visible) h += control->Height();
        form->SetBounds(form->Left(), form->Top(), visible ? control->Width() + border : Width(), h);
        return;
    }
    if (!FItemSelector) {
        TAdvCustomDropDown::SizeDropDownForm();
        return;
    }
    FItemSelector->SetAlign(alNone);
    int w = 0, h = 0;
    FItemSelector->GetSelectorSize(w, h);
    if (DropDownWidth() < 1) FItemSelector->SetWidth(w);
    if (DropDownHeight() < 1) FItemSelector->SetHeight(h);
    TAdvCustomDropDown::SizeDropDownForm();
    if (FItemSelector->VertScrollBar()->IsScrollBarVisible())
        form->SetWidth(form->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

void TAdvColorPickerDropDown::DoHideDropDown(bool CancelChanges) {
    // Only a cancel that closes the popup puts the choice of the opening back: an Escape on the
    // closed control keeps what the keys chose since.
    const bool open = DropDownForm() && DropDownForm()->Visible();
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    if (!CancelChanges || !open) return;
    if (FColorSelectionStyle == csList) {
        SetItemIndex(FOldItemIndex);
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        // The palette hands a colour that one of its boxes holds back through its selection.
        FColorSelector->SetSelectedColor(FOldSelectedColor);
        // A colour no box holds (clNone, a system colour, a colour of the cube) comes back here,
        // the way the palette's own pick would bring it.
        if (FSelectedColor != FOldSelectedColor) {
            FColorSelector->SetItemIndex(-1);
            SetSelectedColor(FOldSelectedColor);
            SetItemIndex(-1);
        }
        return;
    }
    // The colour of the opening comes back with its item, also one that no item has (set by
    // code, or with no item selected).
    if (FSelectedColor != FOldSelectedColor) {
        FSelectedColor = FOldSelectedColor;
        Invalidate();
    }
}

void TAdvColorPickerDropDown::DropDownFormDestroy(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormDestroy(Sender);
    if (HasState(csDestroying)) return;
    FItemSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
    FColorSelector = nullptr;
}

// ---- Picks ----

void TAdvColorPickerDropDown::ListSelect(TObject*) {
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

void TAdvColorPickerDropDown::PaletteSelect(TObject*) {
    if (!FColorSelector) return;
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall) DoHideDropDown(false);
}

void TAdvColorPickerDropDown::CubeSelect(TObject*) {
    if (!FColorCubePanel) return;
    SetSelectedColor(FColorCubePanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TAdvColorPickerDropDown::SpectrumSelect(TObject*) {
    if (!FSpectrumPanel) return;
    SetSelectedColor(FSpectrumPanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TAdvColorPickerDropDown::KeyTimerTick(TObject*) {
    FKeyTimer->SetEnabled(false);
    FCurSearch = String();
}

// =============================================================================================
// Wheel and keys

bool TAdvColorPickerDropDown::WheelMoves() const {
    return Enabled() && !ReadOnly() && (FColorSelectionStyle == csList || FColorSelectionStyle == csDiscrete);
}

bool TAdvColorPickerDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool handled = TAdvCustomDropDown::DoMouseWheelDown(Shift, MousePos);
    return handled || WheelMoves();
}

bool TAdvColorPickerDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool handled = TAdvCustomDropDown::DoMouseWheelUp(Shift, MousePos);
    return handled || WheelMoves();
}

void TAdvColorPickerDropDown::MoveToNextItem() {
    TAdvCustomDropDown::MoveToNextItem();
    if (!Enabled() || ReadOnly()) return;
    if (FColorSelectionStyle == csList) {
        if (DroppedDown() && FItemSelector) {
            FItemSelector->HotNext();
            return;
        }
        // The closed popup's list may not hold the colours yet: step the control's own choice.
        TFlagGuard internal(FInternalCall);
        SelectNext();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown()) {
            FColorSelector->HotNext();
            return;
        }
        TFlagGuard internal(FInternalCall);
        SyncPalette();
        FColorSelector->SelectNext();
    }
}

void TAdvColorPickerDropDown::MoveToPreviousItem() {
    TAdvCustomDropDown::MoveToPreviousItem();
    if (!Enabled() || ReadOnly()) return;
    if (FColorSelectionStyle == csList) {
        if (DroppedDown() && FItemSelector) {
            FItemSelector->HotPrevious();
            return;
        }
        TFlagGuard internal(FInternalCall);
        SelectPrevious();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown()) {
            FColorSelector->HotPrevious();
            return;
        }
        TFlagGuard internal(FInternalCall);
        SyncPalette();
        FColorSelector->SelectPrevious();
    }
}

void TAdvColorPickerDropDown::SyncPalette() {
    if (!FColorSelector || FColorSelector->SelectedColor() == FSelectedColor) return;
    // The colour came from code since the last opening: the closed palette steps on from it.
    TNotifyEvent handler = FColorSelector->OnItemSelect;
    FColorSelector->OnItemSelect = nullptr;
    FColorSelector->SetSelectedColor(FSelectedColor);
    FColorSelector->OnItemSelect = handler;
}

void TAdvColorPickerDropDown::WMKeyDown(TMessage& Message) {
    const Word key = Word(Message.WParam);
    bool handled = false;
    if (Enabled() && DroppedDown() && key == VK_RETURN) {
        if (FColorSelectionStyle == csList && FItemSelector && FItemSelector->ItemHot() >= 0) {
            FItemSelector->SetItemIndex(FItemSelector->ItemHot());
            handled = true;
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
            FColorSelector->SetItemIndex(FColorSelector->ItemHot());
            handled = true;
        }
    }
    TAdvCustomDropDown::Dispatch(Message);
    if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
    const bool dropped = DroppedDown();
    if (FColorSelectionStyle == csDiscrete) {
        if (FColorSelector) {
            TFlagGuard internal(FInternalCall);
            if (!dropped) SyncPalette();
            FColorSelector->HandleNavigationKey(key, EditorEnabled(), dropped);
        }
        if (key == VK_RETURN && !handled && Assigned(OnSelect)) OnSelect(this);
        return;
    }
    if (FColorSelectionStyle != csList) return;
    if (key == VK_RETURN) {
        if (!handled && Assigned(OnSelect)) OnSelect(this);
        return;
    }
    ListKeys().HandleKey(this, key, dropped, EditorEnabled());
}

TPickerListKeys TAdvColorPickerDropDown::ListKeys() {
    return TPickerListKeys::Of(this, FColors->Count());
}

void TAdvColorPickerDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN && !HasState(csDesigning)) {
        WMKeyDown(Message);
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}

// =============================================================================================
// Edit content

void TAdvColorPickerDropDown::DrawEditContent() {
    TAdvCustomDropDown::DrawEditContent();
    PaintContent();
}

void TAdvColorPickerDropDown::PaintContent() {
    if (!HandleAllocated()) return;
    if (!Assigned(OnDrawSelectedColor) && FSelectedColor == clNone) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    const TRect r(1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2);
    if (Assigned(OnDrawSelectedColor)) {
        OnDrawSelectedColor(this, dc, r);
        ReleaseDC(Handle(), dc);
        return;
    }
    const int left = r.Left + 4;
    const int top = r.Top + (Height() - FColorBoxHeight) / 2;
    dc->Pen()->SetStyle(psSolid);
    dc->Pen()->SetColor(clBlack);
    dc->Brush()->SetStyle(bsSolid);
    dc->Brush()->SetColor(FSelectedColor);
    dc->Rectangle(TRect(left, top, left + FColorBoxWidth, top + FColorBoxHeight));
    if (FShowText) {
        const bool focused = Focused();
        TRect t(left + FColorBoxWidth + 4, r.Top, r.Right, r.Bottom);
        dc->Font()->Assign(Font());
        if (!EditorEnabled() && focused) dc->Font()->SetColor(clHighlightText);
        dc->Brush()->SetStyle(bsSolid);
        dc->Brush()->SetColor(focused ? clHighlight : Color());
        if (t.Right > t.Left) dc->FillRect(t);
        dc->Brush()->SetStyle(bsClear);
        DrawText(dc, SelectedColorText(), t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    ReleaseDC(Handle(), dc);
}
