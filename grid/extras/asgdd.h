// OLE drag and drop objects that know nothing of grids: the data object a drag offers (text,
// rich text, a column index, a cell stream) with its format enumerator, the drop source that
// turns keys and buttons into the drag's continuation and feedback, the drop target that reads
// what is dragged over it and hands each kind of payload to an overridable operation, a reader
// of any program's data object, and the two runs of the drag loop.
#pragma once

#include "Classes.h"
#include "Clipbrd.h"
#include "OleDnD.h"

#include <memory>
#include <set>

// Formats of this unit, registered on first use.
Word CF_RTF();
Word CF_GRIDCOL();
Word CF_URL();
Word CF_GRIDCELLS();
// Registers the four formats.
void RegisterDragDropFormats();

// Whether Rich Text Format is offered by drags and accepted by drops.
void SetRTFDragDrop(bool Value);
bool RTFDragDrop();

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = TEnumSet<TDropFormat>;

// The effect of a drop from the key state: Ctrl copies; otherwise a move when allowed.
int KeyDropEffect(DWORD KeyState, int Allowed);

// The formats a drag of this unit lists: CF_TEXT, CF_UNICODETEXT, Rich Text Format, then the
// column format when a column is carried, then the cells format when a stream is carried.
class TSourceEnumFormatEtc : public TInterfacedObject<IEnumFORMATETC> {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells) : FHasCol(HasCol), FHasGridCells(HasGridCells) {}
    HRESULT Next(ULONG Celt, FORMATETC* Elt, ULONG* Fetched) override;
    HRESULT Skip(ULONG Celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC*& Enum) override;

private:
    int Count() const { return 3 + (FHasCol ? 1 : 0) + (FHasGridCells ? 1 : 0); }
    FORMATETC Entry(int Index) const;

    int FIndex = 0;
    bool FHasCol;
    bool FHasGridCells;
};

// What a drag offers. The stream is not owned: it lives as long as the drag.
class TSourceDataObject : public TInterfacedObject<IDataObject> {
public:
    TSourceDataObject(const String& Text, const String& RTF, int Col, TMemoryStream* Stream)
        : textdata(Text), rtfdata(RTF), scolidx(Col), memstr(Stream) {}

    HRESULT GetData(const FORMATETC& FormatEtcIn, STGMEDIUM& Medium) override;
    HRESULT GetDataHere(const FORMATETC& FormatEtc, STGMEDIUM& Medium) override;
    HRESULT QueryGetData(const FORMATETC& FormatEtc) override;
    HRESULT GetCanonicalFormatEtc(const FORMATETC& FormatEtc, FORMATETC& FormatEtcOut) override;
    HRESULT SetData(const FORMATETC& FormatEtc, STGMEDIUM& Medium, BOOL Release) override;
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC*& EnumFormatEtc) override;
    HRESULT DAdvise(const FORMATETC& FormatEtc, DWORD Advf, IUnknown* AdvSink, DWORD& Connection) override;
    HRESULT DUnadvise(DWORD Connection) override;
    HRESULT EnumDAdvise(IUnknown*& EnumAdvise) override;

private:
    String textdata;
    String rtfdata;
    int scolidx;
    TMemoryStream* memstr;
};

// The drop source: Escape cancels, releasing the left button drops.
class TASGDropSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
    HRESULT GiveFeedback(DWORD Effect) override;
    // The last feedback had no drop effect.
    bool NoAccept() const { return FNoAccept; }

protected:
    // The drag ends.
    virtual void DragDropStop() {}
    // The feedback's effect.
    virtual void CurrentEffect(int) {}
    // Called at every continuation query.
    virtual void QueryDrag() {}

private:
    bool FNoAccept = false;
};

// The drop target: decides at the enter whether the data can be dropped here and hands each kind
// of payload to its operation at the drop. pt is in screen coordinates.
class TASGDropTarget : public TInterfacedObject<IDropTarget> {
public:
    HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) override;
    HRESULT DragOver(DWORD KeyState, const TPoint& Pt, DWORD& Effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) override;

    bool AcceptText = true;
    bool AcceptFiles = true;
    bool AcceptCols = false;
    bool AcceptURLs = true;
    // The formats of the data being dragged (set at each enter).
    TDropFormats DropFormats;
    // The dragged data can be dropped here (set at each enter).
    bool Ok() const { return FOk; }

protected:
    virtual void DropText(const TPoint&, const String&) {}
    virtual void DropStream(const TPoint&, TMemoryStream*) {}
    virtual void DropCol(const TPoint&, int) {}
    virtual void DropRTF(const TPoint&, const String&) {}
    virtual void DropFiles(const TPoint&, TStrings*) {}
    virtual void DropURL(const TPoint&, const String&) {}
    virtual void DragMouseMove(const TPoint&, bool&, const TDropFormats&) {}
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

private:
    bool FOk = false;
};

// Reads another program's (or this one's) data object.
class TEnumFormats : public TObject {
public:
    // Raises EAssertionFailed "Cannot get the format enumerator" when the data object has none.
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats() override;

    bool HasFormat(Word ClipFormat);
    bool HasText() { return HasFormat(CF_UNICODETEXT); }
    bool HasRTF() { return HasFormat(CF_RTF()); }
    bool HasCol() { return HasFormat(CF_GRIDCOL()); }
    bool HasFile() { return HasFormat(CF_HDROP); }
    bool HasURL() { return HasFormat(CF_URL()); }
    bool HasGridCells() { return HasFormat(CF_GRIDCELLS()); }
    String Text();
    String RTF();
    int Col();
    // A new stream with the cells format's payload (nullptr when absent or damaged); the caller
    // owns it.
    TMemoryStream* Stream();
    // The names of a file list added to List; True when there were any.
    bool GetFormatFiles(TStrings* List);
    bool Reset();
    bool Next();
    // The data of the current format (empty when it is not valid or GetData fails).
    QByteArray Handle(DWORD Tymed);
    QByteArray GlobalHandle() { return Handle(TYMED_HGLOBAL); }

    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD Value) { FFormatEtc.dwAspect = Value; }
    Word Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(Word Value) { FFormatEtc.cfFormat = Value; }
    int Index() const { return FFormatEtc.lindex; }
    void SetIndex(int Value) { FFormatEtc.lindex = Value; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD Value) { FFormatEtc.tymed = Value; }
    int Count() const { return FCount; }
    bool Valid() const { return FValid; }

private:
    void SetDataObject(IDataObject* Value);

    TIntf<IDataObject> FDataObject;
    TIntf<IEnumFORMATETC> FEnumerator;
    FORMATETC FFormatEtc;
    bool FValid = false;
    int FCount = 0;
    std::unique_ptr<TStringList> FFiles;
};

// The drop source is reference counted: make it with new and hold a reference while the drag runs.
// Runs a drag of Text, RTF and the optional cell stream. DRAGDROP_S_CANCEL when the last
// feedback had no drop effect, else the drag loop's result; Effect gets the drop's effect.
HRESULT RunTextDragDrop(TASGDropSource* DropSource, const String& Text, const String& RTF, int& Effect,
                        int OkEffects, TMemoryStream* Stream);
// The same with a data object that carries only the column index.
HRESULT RunColumnDragDrop(TASGDropSource* DropSource, int Column, int OkEffects, int& Effect);
