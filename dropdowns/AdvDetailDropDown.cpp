#include "AdvDetailDropDown.h"

#include "ExtCtrls.h"
#include "ImgList.h"
#include "OSInfo.h"

#include <algorithm>

namespace {

constexpr int KeyTimerInterval = 500; // ms a type-ahead burst lasts from its first key
constexpr int MaxCompletion = 255;    // characters an auto-completion appends at most

bool HasPicture(const TPicture* P) {
    return P && P->Graphic() && !P->Graphic()->Empty();
}

} // namespace

// =============================================================================================
// TDetailItem

TDetailItem::TDetailItem(TCollection* Collection) : TCollectionItem(Collection), FImage(new TPicture) {}

TDetailItem::~TDetailItem() {
    delete FImage;
}

void TDetailItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed(false);
}

void TDetailItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed(false);
}

void TDetailItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDetailItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    SetImageIndex(src->FImageIndex);
    FImage->Assign(src->FImage);
    FEnabled = src->FEnabled;
    FTag = src->FTag;
    FItemObject = src->FItemObject;
}

// =============================================================================================
// TDetailItems

TDetailItems::TDetailItems(TAdvDetailDropDown* AOwner)
    : TCollection(CollectionItemClass<TDetailItem>()), FMyOwner(AOwner) {}

TPersistent* TDetailItems::GetOwner() {
    return FMyOwner;
}

int TDetailItems::IndexOf(const String& AValue) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == AValue) return i;
    return -1;
}

void TDetailItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (Item && Assigned(OnChange)) OnChange(this);
}

// =============================================================================================
// Construction

TAdvDetailDropDown::TAdvDetailDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FItems(new TDetailItems(this)), FItemAppearance(new TItemAppearance(this)),
      FKeyTimer(new TTimer(this)), FCaptionFont(new TFont), FNotesFont(new TFont) {
    FItems->OnChange = [](TObject*) {};
    FItemIndex = -1;
    FOldItemIndex = -1;
    FLayout = ilCaptionRight;
    SetEditorEnabled(true);
    SetDropDownEnabled(true);
    FCurSearch = String();
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(KeyTimerInterval);
    FKeyTimer->OnTimer = [this](TObject* Sender) { KeyTimerTick(Sender); };
    FItemHeight = 22;
    FCaptionFont->Assign(Font());
    FNotesFont->Assign(Font());
    FWorkMode = true;
    // The base made the popup form before this control's slots existed: make the list now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvDetailDropDown::~TAdvDetailDropDown() {
    FKeyTimer->SetEnabled(false);
    if (FItemSelector) {
        TAdvCustomItemSelector* selector = FItemSelector;
        FItemSelector = nullptr;
        delete selector;
    }
    delete FKeyTimer;
    delete FCaptionFont;
    delete FNotesFont;
    delete FItems;
    delete FItemAppearance;
}

// =============================================================================================
// Value

void TAdvDetailDropDown::SetItemIndex(int Value) {
    if (Value != FItemIndex && Value < FItems->Count() && Value >= 0) {
        FItemIndex = Value;
        {
            TFlagGuard writing(FInternalWrite);
            SetText(FItems->Items(Value)->Caption());
        }
        SetSelStart(0);
        SetSelLength(int(EditText().length()));
        Invalidate();
        if (FItemSelector) FItemSelector->Invalidate();
        if (Assigned(OnSelect)) OnSelect(this);
    }
    if (Value != FItemIndex && Value == -1) {
        TFlagGuard writing(FInternalWrite);
        SetText(String());
        FItemIndex = -1;
    }
}

void TAdvDetailDropDown::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvDetailDropDown::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvDetailDropDown::SelectNext() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TAdvDetailDropDown::SelectPrevious() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TAdvDetailDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance, AStyle);
}

void TAdvDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// =============================================================================================
// The popup list

void TAdvDetailDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = new TAdvCustomItemSelector(this);
        FItemSelector->SetParent(DropDownForm());
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
        FItemSelector->SetDoubleBuffered(true);
        FItemSelector->OnDrawItem = [this](TObject* Sender, TCanvas* Canvas, TRect R, int Index) {
            ItemSelectorDrawItem(Sender, Canvas, R, Index);
        };
        FItemSelector->OnItemSize = [this](TObject* Sender, TSize& ASize) {
            ItemSelectorItemSize(Sender, ASize);
        };
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->OnResize = [this](TObject*) {
            if (FItemSelector) FItemSelector->UpdateSelectorPanel();
        };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TAdvDetailDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    UpdateItemSelector();
    FOldItemIndex = FItemIndex;
}

void TAdvDetailDropDown::DoShowDropDown() {
    TAdvCustomDropDown::DoShowDropDown();
    if (FItemSelector && DroppedDown() && FItemSelector->CanFocus()) FItemSelector->SetFocus();
}

void TAdvDetailDropDown::SizeDropDownForm() {
    if (FItemSelector) {
        FItemSelector->SetAlign(alNone);
        if (DropDownWidth() <= 0) FItemSelector->SetWidth(Width());
        if (DropDownHeight() <= 0) FItemSelector->SetHeight(100);
    }
    TAdvCustomDropDown::SizeDropDownForm();
}

void TAdvDetailDropDown::DoHideDropDown(bool CancelChanges) {
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    if (CancelChanges && FItemSelector && FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
}

void TAdvDetailDropDown::DropDownFormSizing(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormSizing(Sender);
    if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TAdvDetailDropDown::MoveToNextItem() {
    TAdvCustomDropDown::MoveToNextItem();
    if (!DroppedDown() || !FItemSelector) {
        SelectNext();
        return;
    }
    const int index = FItemSelector->ItemIndex();
    ListStep(index < 0 ? 0 : index + 1);
    Invalidate();
}

void TAdvDetailDropDown::MoveToPreviousItem() {
    TAdvCustomDropDown::MoveToPreviousItem();
    if (!DroppedDown() || !FItemSelector) {
        SelectPrevious();
        return;
    }
    const int index = FItemSelector->ItemIndex();
    ListStep(index < 0 ? 0 : index - 1);
    Invalidate();
}

void TAdvDetailDropDown::UpdateItemSelector() {
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(1);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->ItemAppearance()->Assign(FItemAppearance);
    FillSelectorItems();
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject* Sender) { ItemSelectorSelect(Sender); };
}

void TAdvDetailDropDown::FillSelectorItems() {
    TSelectorItems* items = FItemSelector->Items();
    items->Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        TDetailItem* source = FItems->Items(i);
        TSelectorItem* item = items->Add();
        item->SetCaption(source->Caption());
        item->Image()->Assign(source->Image());
        item->SetImageIndex(source->ImageIndex());
    }
}

void TAdvDetailDropDown::ItemSelectorItemSize(TObject*, TSize& ASize) {
    int width = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->Width() : Width());
    width -= 2 * GetSystemMetrics(SM_CXBORDER) + 4;
    if (FItemSelector && FItemSelector->VertScrollBar()->IsScrollBarVisible())
        width -= GetSystemMetrics(SM_CXVSCROLL);
    ASize.cx = width;
    ASize.cy = FItemHeight;
}

void TAdvDetailDropDown::ItemSelectorSelect(TObject*) {
    if (!FItemSelector) return;
    const int index = FItemSelector->ItemIndex();
    SetItemIndex(index);
    if (index >= 0 && index < FItems->Count()) {
        {
            TFlagGuard writing(FInternalWrite);
            SetText(FItems->Items(index)->Caption());
        }
        SelectAll();
    }
    if (!FInternalCall) DoHideDropDown(false);
}

void TAdvDetailDropDown::ListStep(int Index) {
    if (!FItemSelector || Index < 0 || Index >= FItemSelector->Items()->Count()) return;
    TFlagGuard internal(FInternalCall);
    FItemSelector->SetItemIndex(Index);
}

void TAdvDetailDropDown::KeyTimerTick(TObject*) {
    FKeyTimer->SetEnabled(false);
    FCurSearch = String();
}

// =============================================================================================
// Row painting

void TAdvDetailDropDown::ItemSelectorDrawItem(TObject*, TCanvas* Canvas, TRect R, int Index) {
    if (Assigned(OnDrawSelectedImage)) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (Index < 0 || Index >= FItems->Count()) return;
    TDetailItem* item = FItems->Items(Index);
    if (HasPicture(item->Image())) {
        TGraphic* graphic = item->Image()->Graphic();
        const int x = !item->Caption().isEmpty() ? R.Left + 2 : R.Left + (R.Width() - graphic->Width()) / 2;
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
            bitmap->SetTransparentMode(tmAuto);
            bitmap->SetTransparent(true);
        }
        Canvas->Draw(x, R.Top + (R.Height() - graphic->Height()) / 2, graphic);
        R.Left += graphic->Width() + 4;
    } else if (Images() && item->ImageIndex() >= 0) {
        TCustomImageList* images = Images();
        const int x = !item->Caption().isEmpty() ? R.Left + 2 : R.Left + (R.Width() - images->Width()) / 2;
        images->Draw(Canvas, x, R.Top + (R.Height() - images->Height()) / 2, item->ImageIndex(), true);
        R.Left += images->Width() + 4;
    }
    const bool hot = FItemSelector && FItemSelector->ItemHot() == Index;
    const bool selected = Index == FItemIndex;
    auto textColour = [&](TFont* Font) {
        Canvas->Font()->Assign(Font);
        if (hot) Canvas->Font()->SetColor(FItemAppearance->ColorHotText());
        if (selected) Canvas->Font()->SetColor(FItemAppearance->ColorSelectedText());
    };
    textColour(FCaptionFont);
    Canvas->Brush()->SetStyle(bsClear);
    R = TRect(R.Left + 4, R.Top + 2, R.Right - 4, R.Bottom);
    DrawText(Canvas, item->Caption(), R, DT_END_ELLIPSIS);
    if (!item->Notes().isEmpty()) {
        R.Top += Canvas->TextHeight(QStringLiteral("gh"));
        textColour(FNotesFont);
        TPoint size;
        DrawMarkupText(Canvas, item->Notes(), R, size, HandleAllocated() ? Handle() : HWND(0), true,
                       Images());
    }
}

// =============================================================================================
// Auto-completion and keys

String TAdvDetailDropDown::CaseRule(const String& S) const {
    return FMatchCase ? S : S.toUpper();
}

void TAdvDetailDropDown::Change() {
    // The completion's own write keeps its mark for KeyUp.
    if (!FInternalWrite) FItemChange = false;
    TAdvCustomDropDown::Change();
    // The control's own writes (a selection, a completion) are not typing to complete.
    if (HasState(csDesigning) || !FWorkMode || FInternalWrite) return;
    const String text = EditText();
    Modified = text != FOldValue;
    const int caret = std::clamp(SelStart(), 0, int(text.length()));
    const String typed = text.left(caret);
    const String key = CaseRule(typed);
    if (FItems->Count() > 0 && !key.isEmpty()) {
        for (int i = 0; i < FItems->Count(); ++i) {
            const String caption = FItems->Items(i)->Caption();
            if (!CaseRule(caption).startsWith(key)) continue;
            FItemIndex = i;
            FItemIdx = i;
            FItemSel = int(key.length());
            FItemChange = true;
            const String completed = typed + caption.mid(key.length()).left(MaxCompletion);
            {
                TFlagGuard writing(FInternalWrite);
                SetEditorText(completed);
            }
            Perform(EM_SETSEL, WPARAM(completed.length()), LPARAM(key.length()));
            return;
        }
    }
    if (!typed.isEmpty() && typed != text) {
        {
            TFlagGuard writing(FInternalWrite);
            SetEditorText(typed);
        }
        Perform(EM_SETSEL, WPARAM(typed.length()), LPARAM(typed.length()));
    }
}

void TAdvDetailDropDown::KeyDown(Word& Key, TShiftState Shift) {
    if (FItems->Count() == 0) {
        TAdvCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    switch (key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN: {
            const int index = FItems->IndexOf(Text());
            if (index >= 0) {
                SetText(FItems->Items(index)->Caption());
                SetItemIndex(index);
                Change();
            }
            break;
        }
        default: FWorkMode = true; break;
    }
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) {
        const int index = FItems->IndexOf(Text());
        if (index >= 0) SetItemIndex(index);
    }
}

void TAdvDetailDropDown::KeyUp(Word& Key, TShiftState Shift) {
    TAdvCustomDropDown::KeyUp(Key, Shift);
    if (!FItemChange) return;
    SetItemIndex(FItemIdx);
    const int length = int(EditText().length());
    SetSelStart(FItemSel);
    SetSelLength(std::max(0, length - FItemSel));
    FItemChange = false;
}

void TAdvDetailDropDown::WMKeyDown(TMessage& Message) {
    const Word key = Word(Message.WParam);
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool dropped = DroppedDown();
    if (Enabled() && !alt) {
        const int selected = FItemSelector ? FItemSelector->ItemIndex() : -1;
        switch (key) {
            case VK_PRIOR:
            case VK_NEXT:
                if (FItemSelector) {
                    if (FItemSelector->Items()->Count() != FItems->Count()) UpdateItemSelector();
                    const int n = FItemSelector->GetVisibleItemCount();
                    const int current = FItemSelector->ItemIndex();
                    if (n >= 1)
                        ListStep(key == VK_PRIOR ? std::max(current - n, 0)
                                                 : std::min(current + n, FItems->Count() - 1));
                }
                break;
            case VK_END:
            case VK_HOME:
                if (dropped && FItemSelector) {
                    TFlagGuard internal(FInternalCall);
                    if (key == VK_END)
                        FItemSelector->SelectLast();
                    else
                        FItemSelector->SelectFirst();
                } else if (!dropped && !EditorEnabled()) {
                    if (key == VK_END)
                        SelectLast();
                    else
                        SelectFirst();
                }
                break;
            case VK_LEFT:
            case VK_RIGHT:
                if (!EditorEnabled() && dropped && FItemSelector) {
                    TFlagGuard internal(FInternalCall);
                    if (key == VK_LEFT)
                        FItemSelector->SelectPrevious();
                    else
                        FItemSelector->SelectNext();
                }
                break;
            case VK_UP:
            case VK_DOWN:
                if (dropped && FItemSelector) {
                    ListStep(selected < 0 ? 0 : selected + (key == VK_UP ? -1 : 1));
                    Invalidate();
                } else if (!dropped) {
                    if (key == VK_UP)
                        SelectPrevious();
                    else
                        SelectNext();
                }
                break;
            default:
                if (GetKeyState(VK_CONTROL) >= 0 && FItemSelector) {
                    FCurSearch += TypeAheadKeyText(this, key);
                    {
                        TFlagGuard internal(FInternalCall);
                        FTypeAheadPicked = FItemSelector->LookupItem(FCurSearch);
                    }
                    // A running timer is not restarted: the burst ends 500 ms after its first key.
                    if (!FKeyTimer->Enabled()) FKeyTimer->SetEnabled(true);
                }
                break;
        }
    }
    const bool listKey = key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP ||
                         key == VK_RIGHT || key == VK_DOWN;
    if (DroppedDown() && listKey && !alt) {
        Message.WParam = 0;
        Message.Result = 1;
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}

void TAdvDetailDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN && !HasState(csDesigning)) {
        FTypeAheadPicked = false;
        WMKeyDown(Message);
        return;
    }
    if (Message.Msg == WM_CHAR && FTypeAheadPicked) {
        // The type-ahead has just put the item's whole caption in the edit, selected, and the
        // key's character now types over it. The edit raises no change for a value typed over
        // whole, so the completion runs here, as for any other typed character.
        FTypeAheadPicked = false;
        const String before = EditText();
        TAdvCustomDropDown::Dispatch(Message);
        if (EditText() != before) Change();
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}
