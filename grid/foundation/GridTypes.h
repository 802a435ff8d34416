// The grid library's shared vocabulary: editor kinds, sort styles, the small enumerations of the
// option objects, the event types of the grid's events, and the small lists the grid keeps
// (integer lists, sort keys, controls placed in cells, file pictures, line files in memory).
#pragma once

#include "Classes.h"
#include "Grids.h"
#include "Messages.h"
#include "System.h"
#include "Types.h"

#include <set>
#include <vector>

class TCanvas;
class TBrush;
class TFont;
class TPen;
class TControl;
class TPicture;

// In-place editor kinds, in the grid's fixed order (the ordinals are tested by range: the combo
// kinds are 2-3, the spin kinds 1 and 20-22; edNone means the cell has no editor).
enum TEditorType {
    edNormal,
    edSpinEdit,
    edComboEdit,
    edComboList,
    edEditBtn,
    edCheckBox,
    edDateEdit,
    edDateEditUpDown,
    edTimeEdit,
    edButton,
    edDataCheckBox,
    edNumeric,
    edPositiveNumeric,
    edFloat,
    edCapital,
    edMixedCase,
    edPassword,
    edUnitEditBtn,
    edLowerCase,
    edUpperCase,
    edFloatSpinEdit,
    edTimeSpinEdit,
    edDateSpinEdit,
    edNumericEditBtn,
    edFloatEditBtn,
    edCustom,
    edRichEdit,
    edNone,
    edDateTimeEdit,
    edValidChars,
    edTrackbarDropDown,
    edMemoDropDown,
    edCalculatorDropDown,
    edTimePickerDropDown,
    edDetailDropDown,
    edGridDropDown,
    edColorPickerDropDown,
    edImagePickerDropDown,
    edAdvGridDropDown,
    edPositiveFloat,
    edNumericUnitEditBtn,
    edFloatUnitEditBtn,
    edMaskEditBtn
};

// Sort formats of a column (20 values).
enum TSortStyle {
    ssAutomatic,
    ssAlphabetic,
    ssNumeric,
    ssDate,
    ssAlphaNoCase,
    ssAlphaCase,
    ssShortDateEU,
    ssShortDateUS,
    ssCustom,
    ssFinancial,
    ssAnsiAlphaCase,
    ssAnsiAlphaNoCase,
    ssRaw,
    ssHTML,
    ssImages,
    ssCheckBox,
    ssDateTime,
    ssTime,
    ssAlphaNumeric,
    ssAlphaNumericNoCase
};

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TEnumSet<TCellBorder>;

enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum TAdvGridButtonStyle { tasButton, tasCheck };
enum TSearchDirection { sdTopBottom, sdLeftRight };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TClipboardPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

// Event types of the grid. The first argument is always the sender; several events take the row
// before the column, and that order is part of the type. Reference parameters are the values a
// handler may change.
using TGetDisplTextEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/>;
using TGetDisplWideTextEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/>;
using TFloatFormatEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*IsFloat*/, String& /*FloatFormat*/>;
using TOnResizeEvent = TEvent<TObject*>;
using TColumnSizeEvent = TEvent<TObject*, int /*ACol*/, bool& /*Allow*/>;
using TColumnSizingEvent = TEvent<TObject*, int /*ACol*/, int /*ColumnSize*/>;
using TRowSizingEvent = TEvent<TObject*, int /*ARow*/, int /*RowSize*/>;
using TRowSizeEvent = TEvent<TObject*, int /*ARow*/, bool& /*Allow*/>;
using TEndColumnSizeEvent = TEvent<TObject*, int /*ACol*/>;
using TUpdateColumnSizeEvent = TEvent<TObject*, int /*ACol*/, int& /*AWidth*/>;
using TEndRowSizeEvent = TEvent<TObject*, int /*ARow*/>;
using TClickCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/>;
using TDblClickCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/>;
using TCanEditCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, bool& /*CanEdit*/>;
using TScrollHintEvent = TEvent<TObject*, int /*ARow*/, String& /*hintstr*/>;
using TButtonClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/>;
using TExpandClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool /*Expanded*/>;
using TCheckBoxClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool /*State*/>;
using TGetEditorTypeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, TEditorType& /*AEditor*/>;
using TCustomCellDrawEvent = TEvent<TObject*, TCanvas* /*Canvas*/, int /*ACol*/, int /*ARow*/,
                                    TGridDrawState /*AState*/, TRect& /*ARect*/, bool /*Printing*/>;
using TAnchorClickEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*Anchor*/, bool& /*AutoHandle*/>;
using TAnchorHintEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, String& /*Anchor*/>;
using TAnchorEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*Anchor*/>;
using TClickSortEvent = TEvent<TObject*, int /*ACol*/>;
using TCanSortEvent = TEvent<TObject*, int /*ACol*/, bool& /*DoSort*/>;
using TCustomCompareEvent = TEvent<TObject*, const String& /*str1*/, const String& /*str2*/, int& /*Res*/>;
using TRawCompareEvent = TEvent<TObject*, int /*ACol*/, int /*Row1*/, int /*Row2*/, int& /*Res*/>;
using TGridFormatEvent =
    TEvent<TObject*, int /*ACol*/, TSortStyle& /*AStyle*/, String& /*aPrefix*/, String& /*aSuffix*/>;
using TGridColorEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, TGridDrawState /*AState*/,
                               TBrush* /*ABrush*/, TFont* /*AFont*/>;
using TGridGradientEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, TColor& /*Color*/, TColor& /*ColorTo*/,
           TColor& /*ColorMirror*/, TColor& /*ColorMirrorTo*/, TCellGradientDirection& /*GD*/>;
using TGridBorderEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, TPen* /*APen*/, TCellBorders& /*Borders*/>;
using TGridBorderPropEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, TPen* /*LeftPen*/, TPen* /*TopPen*/,
                                    TPen* /*RightPen*/, TPen* /*BottomPen*/>;
using TGridAlignEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, TAlignment& /*HAlign*/, TVAlignment& /*VAlign*/>;
using TGridHintEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, String& /*hintstr*/>;
using TEllipsClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*S*/>;
using TGridBalloonEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*ATitle*/, String& /*AText*/, int& /*AIcon*/>;
using TCanInsertRowEvent = TEvent<TObject*, int /*ARow*/, bool& /*CanInsert*/>;
using TAutoInsertRowEvent = TEvent<TObject*, int /*ARow*/>;
using TCanAddRowEvent = TEvent<TObject*, bool& /*CanAdd*/>;
using TAutoAddRowEvent = TEvent<TObject*, int /*ARow*/>;
using TCanDeleteRowEvent = TEvent<TObject*, int /*ARow*/, bool& /*CanDelete*/>;
using TAutoDeleteRowEvent = TEvent<TObject*, int /*ARow*/>;
using TAutoInsertColEvent = TEvent<TObject*, int /*ACol*/>;
using TSearchEditChangeEvent = TEvent<TObject*, const String& /*Value*/, bool& /*DefaultSearch*/>;
using TSpinClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*AValue*/, bool /*UpDown*/>;
using TImageChangeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/>;
using TIsDesigningEvent = TEvent<TObject*, bool& /*IsDesigning*/>;

// A list of integers that belongs to a cell (Col, Row). Add, Delete and SetInteger fire OnChange
// with that cell; Insert, Clear, Exchange and Move fire nothing. An index outside the list raises
// EListError.
class TIntList : public TObject {
public:
    TIntList(int Col, int Row);

    TImageChangeEvent OnChange;

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    int Count() const { return int(FItems.size()); }
    int Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Items(int Index) const { return GetInteger(Index); }
    void SetItems(int Index, int Value) { SetInteger(Index, Value); }
    int IndexOf(int Value) const;
    bool HasValue(int Value) const { return IndexOf(Value) >= 0; }
    // Deletes the first occurrence through Delete (so OnChange fires); nothing when absent.
    void DeleteValue(int Value);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);

    // The values as decimal numbers joined by ",". Writing splits a comma text, clears the list
    // without an event and appends every part with Add (one OnChange per value); a part that is
    // no integer raises EConvertError and leaves the list unchanged.
    String StrValue() const;
    void SetStrValue(const String& Value);

protected:
    void CheckIndex(int Index) const;
    void Changed();

    std::vector<int> FItems;

private:
    int FCol;
    int FRow;
};

// Multi-column sort keys: the column in bits 0-30, bit 31 set for a descending key.
class TSortIndexList : public TIntList {
public:
    TSortIndexList() : TIntList(0, 0) {}

    void AddIndex(int ColumnIndex, bool Ascending);
    // Index of the first key of that column, -1 when none.
    int FindIndex(int ColumnIndex) const;
    // Flips the direction of the first key of that column; nothing when the column has no key.
    void ToggleIndex(int ColumnIndex);

    int SortColumns(int Index) const;
    void SetSortColumns(int Index, int Column);
    // True for an ascending key.
    bool SortDirections(int Index) const;
    void SetSortDirections(int Index, bool Ascending);

    // "u" or "d" and the low 16 bits of the column per key, joined by ";" (e.g. "u2;d0").
    String SaveToString() const;
    // Reads that form back. Parts shorter than 2 characters are passed over; "u" marks an
    // ascending key, any other first character a descending one. A malformed number gives the
    // value of its leading digits (0 when there are none); a negative one is passed over.
    void LoadFromString(const String& S);
};

// A control placed in a cell; the list owns the item, never the control.
class TControlItem : public TObject {
public:
    TControlItem(int AX, int AY, TControl* AControl) : X(AX), Y(AY), Control(AControl) {}
    int X;
    int Y;
    TControl* Control;
};

class TControlList : public TObject {
public:
    TControlList() = default;
    ~TControlList() override;

    int Count() const { return int(FItems.size()); }
    void AddControl(int X, int Y, TControl* AObject);
    // Index of the first item of that cell, -1 when none.
    int ControlIndex(int X, int Y) const;
    TControlItem* GetControl(int Index) const;
    // True when an item's control is a windowed control whose window handle equals Handle.
    bool HasHandle(HWND Handle) const;
    // Frees the item (not its control) and removes it.
    void RemoveControl(int Index);

private:
    void CheckIndex(int Index) const;
    std::vector<TControlItem*> FItems;
};

// A picture named by a file: setting the name reads the file for its size; drawing reads it
// again each time.
class TFilePicture : public TPersistent {
public:
    TFilePicture() = default;

    const String& Filename() const { return FFilename; }
    // Stores the name, then reads the picture for its size (an empty name: size 0 x 0). Raises the
    // picture-loading errors (EFOpenError, EInvalidGraphic) when the file cannot be read.
    void SetFilename(const String& Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Reads the file and draws it stretched into R; nothing when the name is empty or the file
    // cannot be read.
    void DrawPicture(TCanvas* Canvas, const TRect& R);

    // Copies the name and the size without reading the file.
    void Assign(TPersistent* Source) override;

private:
    String FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

// A string list used as a line file in memory: a read position and a line being written.
class TFileStringList : public TStringList {
public:
    TFileStringList() = default;

    // Read position back to the first line, pending text dropped.
    void Reset();
    // True once every line has been read.
    bool Eof() const { return fp >= Count(); }
    // The line at the read position, which moves on; past the last line raises EListError.
    void ReadLn(String& S);
    // Adds to the pending line.
    void Write(const String& S) { cache += S; }
    // Adds the pending text + S as one line.
    void WriteLn(const String& S);

    int fp = 0;
    String cache;
};
