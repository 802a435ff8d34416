// The image picker drop-down: a drop-down edit that selects one item of a list of images. The
// edit shows the picture (or image-list image) of the selected item centred in its text area;
// the popup holds an item selector showing the items as a grid of pictures with captions. Items
// come from picture files (AddImagesFromFolder), from the control's image list
// (AddImagesFromImageList) or from the Items collection filled by the application. Keys, the
// mouse wheel and a 500 ms type-ahead move the selection without closing the popup; a pick
// closes it, Escape restores the item of the opening.
#pragma once

#include "AdvDropDown.h"
#include "AdvItemSelector.h"

class TTimer;
class TAdvImagePickerDropDown;

class TImageItem : public TCollectionItem {
public:
    explicit TImageItem(TCollection* Collection);
    ~TImageItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    // An index into the drop-down's Images (-1: none).
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TPicture* Image() const { return FImage; }
    void SetImage(TPicture* Value) { FImage->Assign(Value); }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool Enabled() const { return FEnabled; }

    // From another image item: Caption, ImageIndex, the picture, the enabled flag and Hint; any
    // other source raises the platform's assignment error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TPicture* FImage;
    TRect FRect;
    String FHint;
};

class TImageItems : public TCollection {
public:
    explicit TImageItems(TAdvImagePickerDropDown* AOwner);

    TImageItem* Add() { return static_cast<TImageItem*>(TCollection::Add()); }
    TImageItem* Insert(int Index) { return static_cast<TImageItem*>(TCollection::Insert(Index)); }
    // An index outside the items raises the collection's index error.
    TImageItem* Items(int Index) const { return static_cast<TImageItem*>(TCollection::Items(Index)); }
    TImageItem* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, TImageItem* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() override;

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvImagePickerDropDown* FMyOwner;
};

// Loads a picture file into Picture, choosing the decoder by the file's extension: JPEG files
// through the JPEG decoder, every other format through the platform's picture class. Raises when
// the file cannot be read or decoded (a folder, a damaged or unknown picture); Picture is then
// unchanged.
void LoadPictureFile(TPicture* Picture, const String& FileName);

class TAdvImagePickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvImagePickerDropDown(TComponent* AOwner);
    ~TAdvImagePickerDropDown() override;

    // One item per directory entry that matches AFolder (a folder and a file mask), in the order
    // the folder lists them; "." and ".." too when the mask matches them. An entry that does not
    // load as a picture becomes an item without picture and caption. SetImageCaption gives the
    // loaded items their file name as caption.
    void AddImagesFromFolder(const String& AFolder, bool SetImageCaption);
    // One item per image of Images (ImageIndex 0, 1, ...), appended; nothing without Images.
    void AddImagesFromImageList();

    TImageItems* Items() const { return FItems; }
    void SetItems(TImageItems* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    // The current index and values from Items.Count on change nothing; otherwise OnChange and
    // then OnSelect fire. A negative value clears the selection.
    void SetItemIndex(int Value);
    // The selected item's ImageIndex (-1 without selection); writing selects the first item with
    // that ImageIndex, or none.
    int ImageIndex() const;
    void SetImageIndex(int Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance; }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    // Stored only: they take effect when the popup is next prepared.
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    // The popup's list (nullptr until the popup form exists).
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    // The type-ahead's timer and text, for whoever drives the clock by hand.
    TTimer* KeyTimer() const { return FKeyTimer; }
    const String& SearchText() const { return FCurSearch; }
    void KeyTimerTick(TObject* Sender);

    TNotifyEvent OnSelect;
    // Draws the edit content instead of the picture.
    TOnDrawSelectedItem OnDrawSelectedImage;
    // Draws an item in the popup.
    TDrawItemEvent OnDrawItem;

    void SetComponentStyle(TKitStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool CancelChanges) override;
    void MoveToNextItem() override;
    void MoveToPreviousItem() override;
    // A turn that moved through the items is used up: it does not go on to the parent, which
    // would hand it back to the focused picker for a second step.
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DrawEditContent() override;

private:
    void UpdateItemSelector();
    void ListSelect(TObject* Sender);
    // The list keys of the picker, over its list and its own steps.
    TPickerListKeys ListKeys();
    friend struct TPickerListKeys;
    void WMKeyDown(TMessage& Message);
    void PaintContent();

    TAdvCustomItemSelector* FItemSelector = nullptr;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    TImageItems* FItems;
    int FItemIndex = -1;
    TItemAppearance* FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer;
    String FCurSearch;
    int FOldItemIndex = -1;
};
