// OLE drag and drop as the platform offers it, over Qt's drag (QDrag) and drop events.
//
// The four interfaces (data object, format enumerator, drop source, drop target) are
// reference-counted objects with the platform's method set, so that a data object can be offered
// and a drop target can read what is dragged over it in the platform's terms. The bridge to Qt:
// - a drag runs QDrag::exec with a QMimeData that offers the data object's formats and asks the
//   data object for each one only when a receiver wants it; Qt's own loop stands for the
//   continuation queries and the feedback; a timer polls the cursor meanwhile so that the drop
//   source can move what follows the pointer;
// - a window registered as a drop target accepts drops; enter, move, leave and drop reach the
//   target with screen points and the key state; a drop from another program is read through a
//   data object made over its QMimeData (text, rich text, files and URLs of text/uri-list, and
//   the formats of this program by name).
// A data block (the platform's global memory block) is a byte array here.
#pragma once

#include "Messages.h"
#include "OSInfo.h"
#include "Types.h"

#include <QByteArray>

#include <functional>

class QMimeData;

using CLIPFORMAT = Word;
using ULONG = uint32_t;

// Standard formats.
constexpr CLIPFORMAT CF_HDROP = 15;

// Results.
constexpr HRESULT DRAGDROP_S_DROP = HRESULT(0x00040100);
constexpr HRESULT DRAGDROP_S_CANCEL = HRESULT(0x00040101);
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = HRESULT(0x00040102);
constexpr HRESULT DV_E_FORMATETC = HRESULT(0x80040064u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003u);
constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);

// Effects.
constexpr int DROPEFFECT_NONE = 0;
constexpr int DROPEFFECT_COPY = 1;
constexpr int DROPEFFECT_MOVE = 2;
constexpr int DROPEFFECT_LINK = 4;

// Data descriptions.
constexpr DWORD DATADIR_GET = 1;
constexpr DWORD DATADIR_SET = 2;
constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    void* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    int lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};

// The data of one format: the block (a global memory block on the platform).
struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    QByteArray hGlobal;
    void* pUnkForRelease = nullptr;
};

// Frees the medium's block.
void ReleaseStgMedium(STGMEDIUM& Medium);

// The header of a file list block (CF_HDROP): the names follow at pFiles, each ended by a NUL,
// the list by an empty name; UTF-16 names when fWide is set.
struct DROPFILES {
    DWORD pFiles = 0;
    int32_t ptX = 0;
    int32_t ptY = 0;
    BOOL fNC = 0;
    BOOL fWide = 0;
};

// A file list block for Names (wide names), and the names of a file list block (wide or 8-bit
// names, up to the empty one or the block's end).
QByteArray MakeDropFilesBlock(const QStringList& Names);
QStringList DropFilesNames(const QByteArray& Block);
// The bytes of a block up to its first NUL character of Width bytes (all of it without one).
QByteArray BlockUpToNul(const QByteArray& Block, int Width);

// ---- Reference-counted interfaces ----

class IUnknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// An object that frees itself when its last reference is released (made with a count of 0).
template <class I> class TInterfacedObject : public I {
public:
    ULONG AddRef() override { return ULONG(++FRefCount); }
    ULONG Release() override {
        const int n = --FRefCount;
        if (n == 0) delete this;
        return ULONG(n);
    }
    int RefCount() const { return FRefCount; }

private:
    int FRefCount = 0;
};

// A reference held for as long as the holder lives.
template <class T> class TIntf {
public:
    TIntf() = default;
    TIntf(T* P) : FP(P) {
        if (FP) FP->AddRef();
    }
    TIntf(const TIntf& O) : TIntf(O.FP) {}
    TIntf& operator=(const TIntf& O) {
        TIntf copy(O);
        std::swap(FP, copy.FP);
        return *this;
    }
    ~TIntf() {
        if (FP) FP->Release();
    }
    T* get() const { return FP; }
    T* operator->() const { return FP; }
    explicit operator bool() const { return FP != nullptr; }

private:
    T* FP = nullptr;
};

class IEnumFORMATETC : public IUnknown {
public:
    virtual HRESULT Next(ULONG Celt, FORMATETC* Elt, ULONG* Fetched) = 0;
    virtual HRESULT Skip(ULONG Celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC*& Enum) = 0;
};

class IDataObject : public IUnknown {
public:
    virtual HRESULT GetData(const FORMATETC& FormatEtcIn, STGMEDIUM& Medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC& FormatEtc, STGMEDIUM& Medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC& FormatEtc) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC& FormatEtc, FORMATETC& FormatEtcOut) = 0;
    virtual HRESULT SetData(const FORMATETC& FormatEtc, STGMEDIUM& Medium, BOOL Release) = 0;
    // The enumerator comes with one reference for the caller.
    virtual HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC*& EnumFormatEtc) = 0;
    virtual HRESULT DAdvise(const FORMATETC& FormatEtc, DWORD Advf, IUnknown* AdvSink, DWORD& Connection) = 0;
    virtual HRESULT DUnadvise(DWORD Connection) = 0;
    virtual HRESULT EnumDAdvise(IUnknown*& EnumAdvise) = 0;
};

class IDropSource : public IUnknown {
public:
    virtual HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) = 0;
    virtual HRESULT GiveFeedback(DWORD Effect) = 0;
};

class IDropTarget : public IUnknown {
public:
    virtual HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) = 0;
    virtual HRESULT DragOver(DWORD KeyState, const TPoint& Pt, DWORD& Effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) = 0;
};

// ---- Entry points ----

// OLE for the calling thread: nothing to start or end here.
HRESULT OleInitialize(void* Reserved);
void OleUninitialize();

// Runs a drag of DataObj from Source with the OkEffects allowed; Effect gets the effect the drop
// took. DRAGDROP_S_DROP when it was dropped, DRAGDROP_S_CANCEL otherwise.
HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects, DWORD& Effect);

// The drag loop needs a pointer and a window system: a program without (tests) puts its own run
// of the drag here. An empty function restores Qt's.
using TDoDragDropFunc = std::function<HRESULT(IDataObject*, IDropSource*, DWORD, DWORD&)>;
void SetDoDragDropFunc(TDoDragDropFunc Func);

// Lets Window accept drops and hands what is dragged over it to Target (which it holds a
// reference to until revoked). S_OK; E_INVALIDARG for no window or no target.
HRESULT RegisterDragDrop(HWND Window, IDropTarget* Target);
HRESULT RevokeDragDrop(HWND Window);
// The target registered for Window (nullptr when none).
IDropTarget* RegisteredDropTarget(HWND Window);

// The MIME data a drag offers for DataObj: its formats, each asked of it when a receiver reads it.
// The caller owns the result (Qt's drag takes it).
QMimeData* CreateOleMimeData(IDataObject* DataObj);
// A data object over MIME data (a drop's): it offers the formats found there. It reads the
// MIME data while the drop lasts; comes with one reference for the caller. The data object a
// drag of this program made is answered as itself.
IDataObject* DataObjectOfMimeData(const QMimeData* Data);

// The MIME type a format travels under in a drag (empty for unregistered numbers).
QString DragFormatMimeType(CLIPFORMAT Format);

// The effects <-> Qt's drop actions.
int DropActionsToEffects(int QtActions);
int EffectToDropAction(int Effect);
