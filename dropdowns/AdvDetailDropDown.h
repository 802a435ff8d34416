// The detail drop-down: a drop-down edit whose popup lists detail items, each with a caption,
// optional notes drawn in a second line below it, and an image (a picture of its own or one of
// the drop-down's image list). The edit shows the selected item's caption; typing completes the
// caption of the first matching item; keys move the selection through the list, and a 500 ms
// type-ahead selects by the first letters. The popup control is an item selector in one column
// of full-width rows whose content this control draws itself.
#pragma once

#include "AdvDropDown.h"
#include "AdvItemSelector.h"

class TTimer;
class TAdvDetailDropDown;

class TDetailItem : public TCollectionItem {
public:
    explicit TDetailItem(TCollection* Collection);
    ~TDetailItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TPicture* Image() const { return FImage; }
    void SetImage(TPicture* Value) { FImage->Assign(Value); }
    const String& Notes() const { return FNotes; }
    void SetNotes(const String& Value) { FNotes = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // Not owned.
    TObject* ItemObject() const { return FItemObject; }
    void SetItemObject(TObject* Value) { FItemObject = Value; }
    bool Enabled() const { return FEnabled; }

    // From another detail item: Caption, ImageIndex, Image, Enabled, Tag and ItemObject (the
    // notes stay); any other source raises the platform's assignment error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TPicture* FImage;
    String FNotes;
    TObject* FItemObject = nullptr;
    int FTag = 0;
};

class TDetailItems : public TCollection {
public:
    explicit TDetailItems(TAdvDetailDropDown* AOwner);

    TDetailItem* Add() { return static_cast<TDetailItem*>(TCollection::Add()); }
    TDetailItem* Insert(int Index) { return static_cast<TDetailItem*>(TCollection::Insert(Index)); }
    TDetailItem* Items(int Index) const { return static_cast<TDetailItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TDetailItem* Value) { TCollection::SetItems(Index, Value); }
    // The first item whose caption equals AValue exactly (case-sensitive), -1 when none.
    int IndexOf(const String& AValue) const;
    TPersistent* GetOwner() override;

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvDetailDropDown* FMyOwner;
};

class TAdvDetailDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvDetailDropDown(TComponent* AOwner);
    ~TAdvDetailDropDown() override;

    TDetailItems* Items() const { return FItems; }
    void SetItems(TDetailItems* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    // -1 clears the text (no OnSelect); values below -1 or from Count on change nothing.
    void SetItemIndex(int Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TItemAppearance* ItemAppearance() const { return FItemAppearance; }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    TFont* CaptionFont() const { return FCaptionFont; }
    void SetCaptionFont(TFont* Value) { FCaptionFont->Assign(Value); }
    TFont* NotesFont() const { return FNotesFont; }
    void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); }
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool Value) { FMatchCase = Value; }
    // Kept for the form streams; no behaviour reads it.
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool Value) { FMatchStart = Value; }

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
    TOnDrawSelectedItem OnDrawSelectedImage;

    void SetComponentStyle(TKitStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoShowDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool CancelChanges) override;
    void DropDownFormSizing(TObject* Sender) override;
    void MoveToNextItem() override;
    void MoveToPreviousItem() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;

private:
    void UpdateItemSelector();
    void FillSelectorItems();
    void ItemSelectorDrawItem(TObject* Sender, TCanvas* Canvas, TRect R, int Index);
    void ItemSelectorItemSize(TObject* Sender, TSize& ASize);
    void ItemSelectorSelect(TObject* Sender);
    // Selects Index in the list as the control's own move (the popup stays open).
    void ListStep(int Index);
    void WMKeyDown(TMessage& Message);
    String CaseRule(const String& S) const;

    TAdvCustomItemSelector* FItemSelector = nullptr;
    TItemLayout FLayout = ilCaptionRight;
    TDetailItems* FItems;
    int FItemIndex = -1;
    TItemAppearance* FItemAppearance;
    bool FInternalCall = false;
    bool FInternalWrite = false; // the control writes its own edit text
    // The key that just went down selected an item by type-ahead (its character follows).
    bool FTypeAheadPicked = false;
    TTimer* FKeyTimer;
    String FCurSearch;
    int FOldItemIndex = -1;
    int FItemHeight = 22;
    TFont* FCaptionFont;
    TFont* FNotesFont;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    String FOldValue;
    bool FMatchCase = false;
    bool FMatchStart = false;
};
