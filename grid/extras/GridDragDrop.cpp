// OLE drag and drop while it is not built: drags transfer nothing and answer "cancelled", OLE
// needs no start or end.
#include "GridDragDrop.h"

namespace {
bool GRTFDragDrop = false;
}

HRESULT RunTextDragDrop(TGridDropSource*, const String&, const String&, int& Effect, int, TStream*) {
    Effect = DROPEFFECT_NONE;
    return DRAGDROP_S_CANCEL;
}

HRESULT RunColumnDragDrop(TGridDropSource*, int, int, int& Effect) {
    Effect = DROPEFFECT_NONE;
    return DRAGDROP_S_CANCEL;
}

void SetRTFDragDrop(bool Value) {
    GRTFDragDrop = Value;
}

bool RTFDragDrop() {
    return GRTFDragDrop;
}

void GridOleInit() {}

void GridOleDone() {}
