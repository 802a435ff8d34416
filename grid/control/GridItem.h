// The record of a hidden row (TGridItem) and the grid's store of them (TGridItems). A hidden row
// leaves the grid: its texts and cell objects move into a record with its index and height, and
// come back from there when the row is shown again.
#pragma once

#include "Classes.h"

#include <vector>

class TGridItem : public TCollectionItem {
public:
    explicit TGridItem(TCollection* Collection);
    ~TGridItem() override;

    // The row's index when it was hidden (see TAdvStringGrid::HideRows and HideRowList).
    int Idx() const { return FIdx; }
    void SetIdx(int Value);
    // The row's height when it was hidden.
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    // One entry per stored column: the cell's text with its object (its cell properties).
    TStrings* Items() const { return FItems; }
    // Copies the lines (texts and objects) into the item's own list.
    void SetItems(TStrings* Value);
    // The filter level that hid the row; 0 for rows hidden by range.
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }

    // Frees the cell-property objects the record holds (with a cell graphic they own) and empties
    // the object slots; user objects attached to the cells are left alone.
    void FreeCellObjects();

private:
    int FIdx = 0;
    int FHeight = 0;
    TStrings* FItems;
    int FLevel = 0;
};

// The hidden-row store. Besides the records it keeps an index of their row indexes, sorted, so
// that the maps between real and display rows cost a binary search instead of a walk over every
// row. The index is rebuilt on the first question after any change of the records.
class TGridItems : public TCollection {
public:
    TGridItems();
    // The records free their cell-property objects (an owned store: see FreeCellObjects).
    ~TGridItems() override;

    TGridItem* Items(int Index) const { return static_cast<TGridItem*>(TCollection::Items(Index)); }
    TGridItem* Add() { return static_cast<TGridItem*>(TCollection::Add()); }
    TGridItem* Insert(int Index) { return static_cast<TGridItem*>(TCollection::Insert(Index)); }
    // Frees every record with the cell-property objects it holds.
    void ClearAll();

    // Whether a record has that index.
    bool HasIdx(int Idx) const;
    // The number of records whose index is below Idx (every record counts).
    int CountBelow(int Idx) const;
    // The real index of shown row number Display (from 0) when the rows named by the records are
    // the hidden ones; negative values map to themselves.
    int RealOfDisplay(int Display) const;
    // Where a record with that index goes to keep records hidden by range in index order.
    int InsertPosition(int Idx) const;

    // A record's index changed.
    void IdxChanged() { FIndexValid = false; }

protected:
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    void BuildIndex() const;

    mutable bool FIndexValid = false;
    mutable std::vector<int> FAll;    // every record's index, ascending
    mutable std::vector<int> FUnique; // the same without repeats
    // Per hidden row FUnique[i], the shown rows before it (FUnique[i] - i, ascending).
    mutable std::vector<int> FShownBefore;
    // Where the last map ended: painting and the mouse map rows in order, so the next answer
    // usually lies at or just after it.
    mutable size_t FCursor = 0;
};
