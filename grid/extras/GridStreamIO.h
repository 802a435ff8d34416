// The holders of the grid's binary cell stream: small components whose published properties
// carry one record each (the header, a cell, its properties, its graphic and the graphic's
// object), written and read with the component stream. Properties at their default (an empty
// text, a zero value, an empty picture or list, no control) are left out.
#pragma once

#include "BaseGrid.h"
#include "CellGraphic.h"
#include "ComponentStreaming.h"
#include "Graphics.h"

#include <memory>

// The header: the size of the rectangle, its column widths and row heights as comma texts,
// whether it is the whole grid, the writer's identity.
class TGridPropIO : public TComponent {
public:
    explicit TGridPropIO(TComponent* AOwner) : TComponent(AOwner) {}
    int ColCount = 0;
    int RowCount = 0;
    String ColWidths;
    String RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

// One cell: its coordinates in the writing grid (0..65535), its text, whether its properties
// follow.
class TGridCellIO : public TComponent {
public:
    explicit TGridCellIO(TComponent* AOwner) : TComponent(AOwner) {}
    int Col = 0;
    int Row = 0;
    String Cell;
    bool HasProp = false;
};

class TGridCellPropIO : public TComponent {
public:
    TGridCellPropIO(TComponent* AOwner, TBaseGrid* Grid)
        : TComponent(AOwner), CellProperties(new TCellProperties(Grid, 0, 0)) {}
    std::unique_ptr<TCellProperties> CellProperties;
    bool HasGraphic = false;
};

// The graphic without its object.
class TGridGraphicIO : public TComponent {
public:
    explicit TGridGraphicIO(TComponent* AOwner) : TComponent(AOwner), CellGraphic(new TCellGraphic()) {}
    std::unique_ptr<TCellGraphic> CellGraphic;
};

class TGridBMPIO : public TComponent {
public:
    explicit TGridBMPIO(TComponent* AOwner) : TComponent(AOwner), Bitmap(new TBitmap()) {}
    std::unique_ptr<TBitmap> Bitmap;
};

class TGridIconIO : public TComponent {
public:
    explicit TGridIconIO(TComponent* AOwner) : TComponent(AOwner), Icon(new TIcon()) {}
    std::unique_ptr<TIcon> Icon;
};

class TGridPicIO : public TComponent {
public:
    explicit TGridPicIO(TComponent* AOwner) : TComponent(AOwner), Picture(new TPicture()) {}
    std::unique_ptr<TPicture> Picture;
};

// A file picture travels as its file name only.
class TGridFilePicIO : public TComponent {
public:
    explicit TGridFilePicIO(TComponent* AOwner) : TComponent(AOwner), Picture(new TFilePicture()) {}
    std::unique_ptr<TFilePicture> Picture;
};

// A radio group's items, or an image-index list as one entry per index.
class TGridSLIO : public TComponent {
public:
    explicit TGridSLIO(TComponent* AOwner) : TComponent(AOwner), Strings(new TStringList()) {}
    std::unique_ptr<TStringList> Strings;
};

// Reads the header record at the stream's position; a damaged record raises EReadError
// "Stream read error".
void ReadGridPropIO(TStream* Stream, TGridPropIO* Header);

// Registers the holders' property tables (once; later calls do nothing).
void RegisterGridStreamIO();
