// OLE drag and drop of the grid control: its drop target and drop source, the drags of text and
// of whole columns, and OLE's start and end for the grid unit.
//
// Drag and drop between programs is not built yet: no drop target is made (the grid's
// drop-target flag stays False, as after a failed registration), a drag started here transfers
// nothing and answers "cancelled". The grid calls these as they are; the drag-and-drop work
// replaces the bodies in GridDragDrop.cpp.
#pragma once

#include "Classes.h"
#include "OSInfo.h"

class TAdvStringGrid;

// The platform's drag results and effects.
constexpr HRESULT DRAGDROP_S_DROP = HRESULT(0x00040100);
constexpr HRESULT DRAGDROP_S_CANCEL = HRESULT(0x00040101);
constexpr int DROPEFFECT_NONE = 0;
constexpr int DROPEFFECT_COPY = 1;
constexpr int DROPEFFECT_MOVE = 2;
constexpr int DROPEFFECT_LINK = 4;

// The grid's drop target: accepts text, rich text, files, URLs, columns and cells dropped on it.
class TGridDropTarget : public TObject {
public:
    explicit TGridDropTarget(TAdvStringGrid* AGrid) : FGrid(AGrid) {}

    TAdvStringGrid* Grid() const { return FGrid; }
    // Taken from DragDropSettings once the grid has been loaded.
    bool AcceptText = true;
    bool AcceptFiles = true;
    bool AcceptURLs = true;

private:
    TAdvStringGrid* FGrid;
};

// The grid's drop source, made bound to the grid when a drag starts.
class TGridDropSource : public TObject {
public:
    explicit TGridDropSource(TAdvStringGrid* AGrid) : FGrid(AGrid) {}
    TAdvStringGrid* Grid() const { return FGrid; }

private:
    TAdvStringGrid* FGrid;
};

// Runs an OLE drag of plain text, rich text and an optional cell stream; answers the drag result
// and sets Effect.
HRESULT RunTextDragDrop(TGridDropSource* Source, const String& Text, const String& RTF, int& Effect,
                        int AllowedEffects, TStream* CellStream);
// Runs an OLE drag of a whole column.
HRESULT RunColumnDragDrop(TGridDropSource* Source, int Column, int AllowedEffects, int& Effect);
// Whether RTF data is offered and accepted.
void SetRTFDragDrop(bool Value);
bool RTFDragDrop();

// OLE for the calling thread: started by the grid unit's start-up, ended by its shut-down.
void GridOleInit();
void GridOleDone();
