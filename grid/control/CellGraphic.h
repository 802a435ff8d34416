// The graphic a grid cell can carry besides its text (TCellGraphic), kept in the graphic slot of
// the cell's properties: a picture, an icon, an image of the grid's image list, a check box or
// radio button, a radio group, a progress bar, a comment marker, a shape, a rating, a push button,
// a balloon, an expand button, a scroll bar, a tree node or a group-summary mark. Its kind
// (TCellType) decides what the cell shows and how it reacts; the other fields mean what the kind
// makes of them (see the table at TCellType).
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "GridTypes.h"
#include "StdCtrls.h"

#include <QVariant>

enum TCellType {
    ctBitmap,           // CellBitmap: the bitmap
    ctIcon,             // CellIcon: the icon
    ctNone,             // a graphic just made
    ctImageList,        // CellIndex: the image of the grid's image list
    ctCheckBox,         // CellBoolean: checked; CellTransparent: flat
    ctDataCheckBox,     // checked when the text is the cell's check-true text
    ctRotated,          // CellAngle: degrees
    ctDataImage,        // the image whose index is the cell's integer text
    ctNode,             // a tree row's expand glyph
    ctRadio,            // CellBitmap: item list; CellBoolean: in a row; CellIndex/CellVar: selected item
    ctEmpty,            // the error marker only
    ctImages,           // CellBitmap: a TIntList of image indexes; CellBoolean: side by side
    ctPicture,          // CellBitmap: TPicture; CellAngle: stretch mode; CellIndex: padding
    ctFilePicture,      // CellBitmap: TFilePicture; the same
    ctValue,            // made by no operation
    ctProgress,         // colours in CellBitmap/CellIcon/CellIndex/CellAngle; range in CellErrFrom/Len
    ctComment,          // CellText: the comment; CellIndex: marker colour
    ctButton,           // CellIndex: height x 65536 + width; CellText: caption; CellBoolean: pushed
    ctBitButton,        // the same with the glyph in CellBitmap
    ctVirtCheckBox,     // a data check box the column grid lends to cells without a graphic
    ctRowCheckBox,      // column 0 with HotmailRowSelect: the row's selection
    ctProgressPie,      // CellBitmap: colour; CellAngle: value
    ctSummary,          // column 0 of a group summary row
    ctRangeIndicator,   // CellIndex: range; CellBitmap/CellIcon: colours; CellBoolean: show value
    ctXPProgress,       // CellErrFrom/CellErrLen: minimum and maximum
    ctInterface,        // CellBitmap: an object that draws itself
    ctScrollbar,        // CellIndex: position; CellAngle: page; CellErrFrom: range; CellBoolean: auto
    ctRadioButton,      // CellBoolean: checked; one per column
    ctBalloon,          // Balloon(): (title, text) list; CellIndex: TBalloonIcon
    ctShape,            // CellAngle: TCellShape; CellIndex: fill colour; CellBitmap: line colour
    ctRating,           // CellAngle: scale; CellIndex: fill colour; CellBitmap: empty colour
    ctTriStateCheckBox, // CellCheckBoxState
    ctExpand            // CellAngle: expanded height; CellIndex: collapsed height; CellVar: state
};

// An object a ctInterface cell holds draws itself through this interface (found by dynamic_cast on
// the graphic's object): its size, whether it paints as the cell's background (before the text)
// or over it, and the drawing into the cell rectangle.
class IGridCellObject {
public:
    static constexpr const char* IID = "{0712BE3F-5C9A-4771-BF71-4C987CDC39B3}";
    virtual TPoint GetExtent() = 0;
    virtual bool IsBackground() = 0;
    virtual void Draw(TCanvas* Canvas, const TRect& R, TObject* Grid, bool Selected, int ARow, int ACol) = 0;

protected:
    ~IGridCellObject() = default;
};

enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TBalloonIcon { biNone, biInfo, biWarning, biError };

// A scroll bar cell's page size and range.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};

class TCellGraphic : public TPersistent {
public:
    TCellGraphic() = default;
    // Frees what the graphic made itself (CellCreated), an image-index or balloon list always;
    // objects handed in by the caller stay.
    ~TCellGraphic() override;

    TCellType CellType = ctNone;
    // The kind's main object; kinds that hold colours keep them in CellBitmapColor.
    TObject* CellBitmap = nullptr;
    TObject* CellIcon = nullptr;
    TColor CellBitmapColor = clNone;
    TColor CellIconColor = clNone;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    int CellErrFrom = 0;
    int CellErrLen = 0;
    String CellText;
    QVariant CellVar;
    TCheckBoxState CellCheckBoxState = cbUnchecked;

    void SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val);
    // Makes the cell's image-index list (owned), whose changes go to Notifier.
    void SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val,
                       const TImageChangeEvent& Notifier);
    void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                    TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    // Brought into 0..360.
    void SetAngle(int AAngle);
    void SetInterfacedCell(TObject* AObject);

    // The picture's drawn size in a column cw wide and a row rh high (picture kinds only; (0, 0)
    // for the others or without picture).
    TPoint GetPictureSize(int cw, int rh, bool HasText) const;

    // Copies the kind, alignments, numbers, flags, error marker and text; no object, no variant
    // and no three-state value.
    void Assign(TPersistent* Source) override;

    // The balloon's (title, text) list (owned): a ctBalloon graphic's, or one attached to a check
    // box or radio button (CellAngle = 1). Setting frees the previous list.
    TStringList* Balloon() const { return FBalloon; }
    void SetBalloon(TStringList* Value);

private:
    TStringList* FBalloon = nullptr;
};
