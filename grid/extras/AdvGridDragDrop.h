// The grid's side of OLE drag and drop: the drop source that moves what follows the pointer
// while a drag from the grid runs, and the drop target that shows where a drop would land,
// scrolls the grid near its edges and applies each kind of dropped data to the grid.
#pragma once

#include "asgdd.h"

class TAdvStringGrid;

// The grid's drop source, made bound to the grid when a drag starts.
class TGridDropSource : public TASGDropSource {
public:
    explicit TGridDropSource(TAdvStringGrid* AGrid);
    ~TGridDropSource() override;
    TAdvStringGrid* Grid() const { return FGrid; }
    // The grid a drag runs from (nullptr while none does).
    static TAdvStringGrid* DraggingGrid();
    // The last copy or move effect of the feedback.
    int LastEffect() const { return FLastEffect; }

protected:
    void DragDropStop() override;
    void CurrentEffect(int dwEffect) override;
    void QueryDrag() override;

private:
    TAdvStringGrid* FGrid;
    int FLastEffect = DROPEFFECT_NONE;
};

// The grid's drop target (text, files and URLs accepted, columns not: a column drag lists the
// text formats too).
class TGridDropTarget : public TASGDropTarget {
public:
    explicit TGridDropTarget(TAdvStringGrid* AGrid) : FGrid(AGrid) {}
    TAdvStringGrid* Grid() const { return FGrid; }
    // A drop that raises is reported through the application and has no effect.
    HRESULT Drop(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) override;

protected:
    void DropText(const TPoint& pt, const String& s) override;
    void DropStream(const TPoint& pt, TMemoryStream* ms) override;
    void DropCol(const TPoint& pt, int Col) override;
    void DropRTF(const TPoint& pt, const String& s) override;
    void DropFiles(const TPoint& pt, TStrings* files) override;
    void DropURL(const TPoint& pt, const String& s) override;
    void DragMouseMove(const TPoint& pt, bool& Allow, const TDropFormats& DropFormats) override;
    void DragMouseLeave() override;

private:
    // Below the last row with OleEntireRows and OleAppendRows: the last row, appending.
    bool AppendPosition(const TPoint& pt, int& c, int& r) const;
    void HideArrows(bool Up, bool Down, bool Left, bool Button);
    void StoreAtPoint(const TPoint& pt, const String& s, bool Url);

    TAdvStringGrid* FGrid;
};

// OLE for the calling thread: started by the grid unit's start-up, ended by its shut-down.
void GridOleInit();
void GridOleDone();
