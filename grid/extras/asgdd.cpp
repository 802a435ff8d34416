// OLE drag and drop objects: see asgdd.h.
#include "asgdd.h"

#include "AdvXPVS.h"
#include "Clipbrd.h"

#include <cstring>

namespace {

struct TUnitFormats {
    Word Rtf = 0, GridCol = 0, Url = 0, GridCells = 0;
};

TUnitFormats& Formats() {
    static TUnitFormats f;
    return f;
}

bool GRTFDragDrop = false;

bool IsContent(const FORMATETC& F) {
    return F.dwAspect == DVASPECT_CONTENT && F.tymed == TYMED_HGLOBAL;
}

int32_t FirstInt32(const QByteArray& Block) {
    int32_t v = 0;
    std::memcpy(&v, Block.constData(), sizeof v);
    return v;
}

} // namespace

void RegisterDragDropFormats() {
    TUnitFormats& f = Formats();
    if (!f.Rtf) f.Rtf = Word(RegisterClipboardFormat(QStringLiteral("Rich Text Format")));
    if (!f.GridCol) f.GridCol = Word(RegisterClipboardFormat(QStringLiteral("Grid Column")));
    if (!f.Url) f.Url = Word(RegisterClipboardFormat(QStringLiteral("UniformResourceLocator")));
    if (!f.GridCells) f.GridCells = Word(RegisterClipboardFormat(QStringLiteral("TAdvStringGrid Cells")));
}

Word CF_RTF() {
    RegisterDragDropFormats();
    return Formats().Rtf;
}

Word CF_GRIDCOL() {
    RegisterDragDropFormats();
    return Formats().GridCol;
}

Word CF_URL() {
    RegisterDragDropFormats();
    return Formats().Url;
}

Word CF_GRIDCELLS() {
    RegisterDragDropFormats();
    return Formats().GridCells;
}

void SetRTFDragDrop(bool Value) {
    GRTFDragDrop = Value;
}

bool RTFDragDrop() {
    return GRTFDragDrop;
}

int KeyDropEffect(DWORD KeyState, int Allowed) {
    if (KeyState & MK_CONTROL) return DROPEFFECT_COPY;
    return (Allowed & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

// =============================================================================================
// The format enumerator

FORMATETC TSourceEnumFormatEtc::Entry(int Index) const {
    FORMATETC f;
    switch (Index) {
        case 0: f.cfFormat = CF_TEXT; break;
        case 1: f.cfFormat = CF_UNICODETEXT; break;
        case 2: f.cfFormat = CF_RTF(); break;
        case 3: f.cfFormat = FHasCol ? CF_GRIDCOL() : CF_GRIDCELLS(); break;
        default: f.cfFormat = CF_GRIDCELLS(); break;
    }
    return f;
}

HRESULT TSourceEnumFormatEtc::Next(ULONG Celt, FORMATETC* Elt, ULONG* Fetched) {
    ULONG n = 0;
    while (n < Celt && FIndex < Count()) Elt[n++] = Entry(FIndex++);
    if (Fetched) *Fetched = n;
    return n == Celt ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Celt) {
    if (qint64(FIndex) + Celt <= Count()) {
        FIndex += int(Celt);
        return S_OK;
    }
    FIndex = Count();
    return S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset() {
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC*& Enum) {
    auto* e = new TSourceEnumFormatEtc(FHasCol, FHasGridCells);
    e->FIndex = FIndex;
    e->AddRef();
    Enum = e;
    return S_OK;
}

// =============================================================================================
// The data object

HRESULT TSourceDataObject::QueryGetData(const FORMATETC& F) {
    if (!IsContent(F)) return DV_E_FORMATETC;
    if (F.cfFormat == CF_TEXT || F.cfFormat == CF_UNICODETEXT)
        return textdata.isEmpty() ? DV_E_FORMATETC : S_OK;
    if (F.cfFormat == CF_RTF()) return GRTFDragDrop && !rtfdata.isEmpty() ? S_OK : DV_E_FORMATETC;
    if (F.cfFormat == CF_GRIDCELLS()) return memstr ? S_OK : DV_E_FORMATETC;
    if (F.cfFormat == CF_GRIDCOL()) return scolidx != -1 ? S_OK : DV_E_FORMATETC;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC& F, STGMEDIUM& Medium) {
    Medium = STGMEDIUM();
    if (QueryGetData(F) != S_OK) return DV_E_FORMATETC;
    QByteArray block;
    if (F.cfFormat == CF_UNICODETEXT) {
        block = QByteArray(reinterpret_cast<const char*>(textdata.utf16()), textdata.size() * 2);
        block.append(2, '\0');
    } else if (F.cfFormat == CF_TEXT) {
        block = textdata.toLocal8Bit();
        block.append('\0');
    } else if (F.cfFormat == CF_RTF()) {
        block = rtfdata.toLocal8Bit();
        block.append('\0');
    } else if (F.cfFormat == CF_GRIDCOL()) {
        const int32_t col = scolidx;
        block = QByteArray(reinterpret_cast<const char*>(&col), sizeof col);
    } else {
        // Length, four zero bytes, then the stream.
        const qint64 n = memstr->Size();
        if (n < 0 || n > 0x7FFFFFF0) return DV_E_FORMATETC;
        const int32_t len = int32_t(n);
        block.resize(8 + len, '\0');
        std::memcpy(block.data(), &len, sizeof len);
        if (len > 0) std::memcpy(block.data() + 8, memstr->Memory(), size_t(len));
    }
    Medium.tymed = TYMED_HGLOBAL;
    Medium.hGlobal = block;
    Medium.pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const FORMATETC&, STGMEDIUM&) {
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC&, FORMATETC& Out) {
    Out.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(const FORMATETC&, STGMEDIUM&, BOOL) {
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC*& Enum) {
    Enum = nullptr;
    if (Direction != DATADIR_GET) return E_NOTIMPL;
    auto* e = new TSourceEnumFormatEtc(scolidx != -1, memstr != nullptr);
    e->AddRef();
    Enum = e;
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC&, DWORD, IUnknown*, DWORD&) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::EnumDAdvise(IUnknown*& EnumAdvise) {
    EnumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// =============================================================================================
// The drop source

HRESULT TASGDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) {
    HRESULT result = S_OK;
    if (EscapePressed) {
        DragDropStop();
        result = DRAGDROP_S_CANCEL;
    } else if (!(KeyState & MK_LBUTTON)) {
        DragDropStop();
        result = DRAGDROP_S_DROP;
    }
    QueryDrag();
    return result;
}

HRESULT TASGDropSource::GiveFeedback(DWORD Effect) {
    FNoAccept = Effect == DROPEFFECT_NONE;
    CurrentEffect(int(Effect));
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// =============================================================================================
// The drop target

HRESULT TASGDropTarget::DragEnter(IDataObject* DataObj, DWORD KeyState, const TPoint&, DWORD& Effect) {
    const int allowed = int(Effect);
    FOk = false;
    DropFormats.clear();
    try {
        TEnumFormats f(DataObj);
        const bool text = f.HasText(), files = f.HasFile(), rtf = f.HasRTF(), col = f.HasCol();
        const bool url = f.HasURL(), cells = f.HasGridCells();
        FOk = (text && AcceptText) || (files && AcceptFiles) || (rtf && GRTFDragDrop && AcceptText) ||
              (col && AcceptCols) || (url && AcceptURLs) || cells;
        if (text) DropFormats.insert(dfText);
        if (files) DropFormats.insert(dfFile);
        if (rtf) DropFormats.insert(dfRTF);
        if (col) DropFormats.insert(dfCol);
        if (url) DropFormats.insert(dfURL);
        if (cells) DropFormats.insert(dfGridCells);
    } catch (const EAssertionFailed&) {
        // A data object that cannot list its formats cannot be dropped here.
        FOk = false;
    }
    Effect = FOk ? DWORD(KeyDropEffect(KeyState, allowed)) : DROPEFFECT_NONE;
    DragMouseEnter();
    return S_OK;
}

HRESULT TASGDropTarget::DragOver(DWORD KeyState, const TPoint& Pt, DWORD& Effect) {
    Effect = FOk ? DWORD(KeyDropEffect(KeyState, int(Effect))) : DROPEFFECT_NONE;
    bool allow = Effect != DROPEFFECT_NONE;
    DragMouseMove(Pt, allow, DropFormats);
    if (!allow) Effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TASGDropTarget::DragLeave() {
    DragMouseLeave();
    return S_OK;
}

HRESULT TASGDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) {
    if (!FOk) {
        Effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const int allowed = int(Effect);
    std::unique_ptr<TEnumFormats> f;
    try {
        f = std::make_unique<TEnumFormats>(DataObj);
    } catch (const EAssertionFailed&) {
        Effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (f->HasCol()) {
        DropCol(Pt, f->Col());
    } else {
        if (f->HasGridCells()) {
            std::unique_ptr<TMemoryStream> ms(f->Stream());
            if (ms) DropStream(Pt, ms.get());
        } else if (f->HasRTF() && GRTFDragDrop) {
            DropRTF(Pt, f->RTF());
        } else if (f->HasText()) {
            DropText(Pt, f->Text());
        }
        if (f->HasFile()) {
            TStringList files;
            f->GetFormatFiles(&files);
            DropFiles(Pt, &files);
        }
        if (f->HasURL()) DropURL(Pt, f->Text());
    }
    Effect = DWORD(KeyDropEffect(KeyState, allowed));
    return S_OK;
}

// =============================================================================================
// Reading a data object

TEnumFormats::TEnumFormats(IDataObject* DataObject) : FFiles(std::make_unique<TStringList>()) {
    SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats() = default;

void TEnumFormats::SetDataObject(IDataObject* Value) {
    FDataObject = TIntf<IDataObject>(Value);
    IEnumFORMATETC* e = nullptr;
    if (!Value || Value->EnumFormatEtc(DATADIR_GET, e) != S_OK || !e)
        throw EAssertionFailed(QStringLiteral("Cannot get the format enumerator"));
    FEnumerator = TIntf<IEnumFORMATETC>(e);
    e->Release();
    Reset();
    RegisterDragDropFormats();
}

bool TEnumFormats::Reset() {
    FCount = 0;
    FValid = false;
    return FEnumerator && FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next() {
    ULONG fetched = 0;
    FValid = FEnumerator && FEnumerator->Next(1, &FFormatEtc, &fetched) == S_OK && fetched == 1;
    if (FValid) ++FCount;
    return FValid;
}

bool TEnumFormats::HasFormat(Word ClipFormat) {
    Reset();
    while (Next())
        if (FFormatEtc.cfFormat == ClipFormat) return true;
    return false;
}

QByteArray TEnumFormats::Handle(DWORD Tymed) {
    if (!FValid || !(FFormatEtc.tymed & Tymed)) return {};
    FORMATETC f = FFormatEtc;
    f.tymed = Tymed;
    STGMEDIUM m;
    if (FDataObject->GetData(f, m) != S_OK) return {};
    QByteArray block = m.hGlobal;
    ReleaseStgMedium(m);
    return block;
}

String TEnumFormats::Text() {
    if (!HasText()) return {};
    const QByteArray b = BlockUpToNul(GlobalHandle(), 2);
    return String(reinterpret_cast<const QChar*>(b.constData()), b.size() / 2);
}

String TEnumFormats::RTF() {
    if (!HasRTF()) return {};
    return String::fromLocal8Bit(BlockUpToNul(GlobalHandle(), 1));
}

int TEnumFormats::Col() {
    if (!HasCol()) return -1;
    const QByteArray b = GlobalHandle();
    return b.size() >= 4 ? FirstInt32(b) : -1;
}

TMemoryStream* TEnumFormats::Stream() {
    if (!HasGridCells()) return nullptr;
    const QByteArray b = GlobalHandle();
    // The length must fit the block: a block from elsewhere is not trusted.
    if (b.size() < 8) return nullptr;
    const int32_t len = FirstInt32(b);
    if (len < 0 || qint64(len) > b.size() - 8) return nullptr;
    auto* ms = new TMemoryStream();
    if (len > 0) ms->WriteBuffer(b.constData() + 8, len);
    ms->SetPosition(0);
    return ms;
}

bool TEnumFormats::GetFormatFiles(TStrings* List) {
    if (!HasFile()) return false;
    const QStringList names = DropFilesNames(GlobalHandle());
    for (const QString& n : names) List->Add(n);
    return !names.isEmpty();
}

// =============================================================================================
// The drag loop

namespace {

HRESULT RunDrag(TASGDropSource* DropSource, TSourceDataObject* Data, int OkEffects, int& Effect) {
    TIntf<TSourceDataObject> data(Data);
    TIntf<TASGDropSource> source(DropSource);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(Data, DropSource, DWORD(OkEffects), effect);
    Effect = int(effect);
    return DropSource->NoAccept() ? DRAGDROP_S_CANCEL : result;
}

} // namespace

HRESULT RunTextDragDrop(TASGDropSource* DropSource, const String& Text, const String& RTF, int& Effect,
                        int OkEffects, TMemoryStream* Stream) {
    RegisterDragDropFormats();
    return RunDrag(DropSource, new TSourceDataObject(Text, RTF, -1, Stream), OkEffects, Effect);
}

HRESULT RunColumnDragDrop(TASGDropSource* DropSource, int Column, int OkEffects, int& Effect) {
    RegisterDragDropFormats();
    return RunDrag(DropSource, new TSourceDataObject(QString(), QString(), Column, nullptr), OkEffects,
                   Effect);
}
