#include "AdvImagePickerDropDown.h"

#include "ExtCtrls.h"
#include "ImgList.h"
#include "OSInfo.h"
#include "PictureContainer.h"
#include "SysUtils.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int KeyTimerInterval = 500; // ms a type-ahead burst lasts from its first key

bool HasPicture(const TPicture* P) {
    return P && P->Graphic() && !P->Graphic()->Empty();
}

bool IsJpegExtension(const String& FileName) {
    const String ext = QFileInfo(FileName).suffix().toLower();
    return ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe") ||
           ext == QLatin1String("jfif");
}

} // namespace

void LoadPictureFile(TPicture* Picture, const String& FileName) {
    if (!IsJpegExtension(FileName)) {
        Picture->LoadFromFile(FileName);
        return;
    }
    // JPEG pictures go through the markup pictures' decoder (libjpeg), which raises on bad data.
    QFile file(FileName);
    if (QFileInfo(FileName).isDir() || !file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\"").arg(FileName));
    THTMLPicture decoded;
    decoded.LoadFromData(file.readAll());
    if (decoded.Empty()) throw EInvalidGraphic(QStringLiteral("Invalid picture \"%1\"").arg(FileName));
    TBitmap bitmap;
    bitmap.SetImage(decoded.Image());
    Picture->SetGraphic(&bitmap);
}

// =============================================================================================
// TImageItem

TImageItem::TImageItem(TCollection* Collection) : TCollectionItem(Collection), FImage(new TPicture) {}

TImageItem::~TImageItem() {
    delete FImage;
}

void TImageItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed(false);
}

void TImageItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed(false);
}

void TImageItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TImageItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    SetImageIndex(src->FImageIndex);
    FImage->Assign(src->FImage);
    FEnabled = src->FEnabled;
    FHint = src->FHint;
}

// =============================================================================================
// TImageItems

TImageItems::TImageItems(TAdvImagePickerDropDown* AOwner)
    : TCollection(CollectionItemClass<TImageItem>()), FMyOwner(AOwner) {}

TPersistent* TImageItems::GetOwner() {
    return FMyOwner;
}

void TImageItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (Item && Assigned(OnChange)) OnChange(this);
}

// =============================================================================================
// Construction

TAdvImagePickerDropDown::TAdvImagePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FItems(new TImageItems(this)), FItemAppearance(new TItemAppearance(this)),
      FKeyTimer(new TTimer(this)) {
    FItems->OnChange = [](TObject*) {};
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetCursor(crArrow);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(KeyTimerInterval);
    FKeyTimer->OnTimer = [this](TObject* Sender) { KeyTimerTick(Sender); };
    // The base made the popup form before this control's slots existed: make the list now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvImagePickerDropDown::~TAdvImagePickerDropDown() {
    FKeyTimer->SetEnabled(false);
    if (FItemSelector) {
        TAdvCustomItemSelector* selector = FItemSelector;
        FItemSelector = nullptr;
        delete selector;
    }
    delete FKeyTimer;
    delete FItems;
    delete FItemAppearance;
}

// =============================================================================================
// Items

void TAdvImagePickerDropDown::AddImagesFromFolder(const String& AFolder, bool SetImageCaption) {
    const String folder = ExtractFilePath(AFolder);
    TSearchRec rec;
    int found = FindFirst(AFolder, faAnyFile, rec);
    while (found == 0) {
        const String fileName = folder + rec.Name;
        TImageItem* item = FItems->Add();
        try {
            LoadPictureFile(item->Image(), fileName);
            if (SetImageCaption) item->SetCaption(ExtractFileName(fileName));
        } catch (const Exception&) {
            // A folder, a damaged or an unknown picture: the item stays, empty.
            item->Image()->Assign(nullptr);
        }
        found = FindNext(rec);
    }
    FindClose(rec);
}

void TAdvImagePickerDropDown::AddImagesFromImageList() {
    if (!Images()) return;
    for (int i = 0; i < Images()->Count(); ++i) FItems->Add()->SetImageIndex(i);
}

void TAdvImagePickerDropDown::SetItemIndex(int Value) {
    if (Value < 0) Value = -1;
    if (Value == FItemIndex || Value >= FItems->Count()) return;
    FItemIndex = Value;
    Invalidate();
    Change();
    if (Assigned(OnSelect)) OnSelect(this);
}

int TAdvImagePickerDropDown::ImageIndex() const {
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return -1;
    return FItems->Items(FItemIndex)->ImageIndex();
}

void TAdvImagePickerDropDown::SetImageIndex(int Value) {
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ImageIndex() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TAdvImagePickerDropDown::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvImagePickerDropDown::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvImagePickerDropDown::SelectNext() {
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TAdvImagePickerDropDown::SelectPrevious() {
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TAdvImagePickerDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance, AStyle);
}

void TAdvImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// =============================================================================================
// The popup list

void TAdvImagePickerDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = new TAdvCustomItemSelector(this);
        FItemSelector->SetParent(DropDownForm());
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TAdvImagePickerDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    UpdateItemSelector();
    if (FItemSelector) {
        if (Assigned(OnDrawItem))
            FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
                if (Assigned(OnDrawItem)) OnDrawItem(this, Canvas, R, Index);
            };
        else
            FItemSelector->OnDrawItem = nullptr;
    }
    FOldItemIndex = FItemIndex;
}

void TAdvImagePickerDropDown::UpdateItemSelector() {
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(FColumns);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->ItemAppearance()->Assign(FItemAppearance);
    TSelectorItems* items = FItemSelector->Items();
    items->Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        TImageItem* source = FItems->Items(i);
        TSelectorItem* item = items->Add();
        item->SetCaption(source->Caption());
        item->Image()->Assign(source->Image());
        item->SetImageIndex(source->ImageIndex());
        item->SetHint(source->Hint());
    }
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject* Sender) { ListSelect(Sender); };
    FItemSelector->SetShowHint(ShowHint());
}

void TAdvImagePickerDropDown::SizeDropDownForm() {
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
    if (DropDownForm() && FItemSelector->VertScrollBar()->IsScrollBarVisible())
        DropDownForm()->SetWidth(DropDownForm()->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

void TAdvImagePickerDropDown::DoHideDropDown(bool CancelChanges) {
    // Only a cancel that closes the popup puts the item of the opening back: an Escape on the
    // closed control keeps what the keys chose since.
    const bool open = DropDownForm() && DropDownForm()->Visible();
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    if (CancelChanges && open && FItemSelector) SetItemIndex(FOldItemIndex);
}

void TAdvImagePickerDropDown::ListSelect(TObject*) {
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

void TAdvImagePickerDropDown::KeyTimerTick(TObject*) {
    FKeyTimer->SetEnabled(false);
    FCurSearch = String();
}

// =============================================================================================
// Wheel and keys

bool TAdvImagePickerDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool handled = TAdvCustomDropDown::DoMouseWheelDown(Shift, MousePos);
    return handled || (Enabled() && !ReadOnly());
}

bool TAdvImagePickerDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool handled = TAdvCustomDropDown::DoMouseWheelUp(Shift, MousePos);
    return handled || (Enabled() && !ReadOnly());
}

void TAdvImagePickerDropDown::MoveToNextItem() {
    TAdvCustomDropDown::MoveToNextItem();
    if (!Enabled() || ReadOnly()) return;
    if (DroppedDown() && FItemSelector) {
        FItemSelector->HotNext();
        return;
    }
    // The closed popup's list may not hold the items yet: step the control's own selection.
    TFlagGuard internal(FInternalCall);
    SelectNext();
}

void TAdvImagePickerDropDown::MoveToPreviousItem() {
    TAdvCustomDropDown::MoveToPreviousItem();
    if (!Enabled() || ReadOnly()) return;
    if (DroppedDown() && FItemSelector) {
        FItemSelector->HotPrevious();
        return;
    }
    TFlagGuard internal(FInternalCall);
    SelectPrevious();
}

void TAdvImagePickerDropDown::WMKeyDown(TMessage& Message) {
    const Word key = Word(Message.WParam);
    bool handled = false;
    if (Enabled() && DroppedDown() && key == VK_RETURN && FItemSelector && FItemSelector->ItemHot() >= 0) {
        FItemSelector->SetItemIndex(FItemSelector->ItemHot());
        handled = true;
    }
    TAdvCustomDropDown::Dispatch(Message);
    if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
    if (key == VK_RETURN) {
        if (!handled && Assigned(OnSelect)) OnSelect(this);
        return;
    }
    ListKeys().HandleKey(this, key, DroppedDown(), EditorEnabled());
}

TPickerListKeys TAdvImagePickerDropDown::ListKeys() {
    return TPickerListKeys::Of(this, FItems->Count());
}

void TAdvImagePickerDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN && !HasState(csDesigning)) {
        WMKeyDown(Message);
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}

// =============================================================================================
// Edit content

void TAdvImagePickerDropDown::DrawEditContent() {
    TAdvCustomDropDown::DrawEditContent();
    PaintContent();
}

void TAdvImagePickerDropDown::PaintContent() {
    if (!HandleAllocated()) return;
    const TRect r = GetEditRect();
    if (!Assigned(OnDrawSelectedImage) && (FItemIndex < 0 || FItemIndex >= FItems->Count())) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    if (Assigned(OnDrawSelectedImage)) {
        OnDrawSelectedImage(this, dc, r);
    } else {
        TImageItem* item = FItems->Items(FItemIndex);
        if (HasPicture(item->Image())) {
            TGraphic* graphic = item->Image()->Graphic();
            dc->Draw(r.Left + (r.Width() - graphic->Width()) / 2,
                     r.Top + (r.Height() - graphic->Height()) / 2, graphic);
        } else if (Images() && item->ImageIndex() >= 0) {
            TCustomImageList* images = Images();
            images->Draw(dc, r.Left + (r.Width() - images->Width()) / 2,
                         r.Top + (r.Height() - images->Height()) / 2, item->ImageIndex(), true);
        }
    }
    ReleaseDC(Handle(), dc);
}
