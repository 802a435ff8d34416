// OLE drag and drop over Qt: see OleDnD.h.
#include "OleDnD.h"

#include "Clipbrd.h"
#include "Controls.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

const QString MimeText = QStringLiteral("text/plain");
const QString MimeRtf = QStringLiteral("text/rtf");
const QString MimeUriList = QStringLiteral("text/uri-list");
// A registered format of this program travels under the type the clipboard gives it.
const QString MimeOwnPrefix = QStringLiteral("application/x-velmora-");

CLIPFORMAT RtfFormat() {
    return CLIPFORMAT(RegisterClipboardFormat(QStringLiteral("Rich Text Format")));
}

CLIPFORMAT UrlFormat() {
    return CLIPFORMAT(RegisterClipboardFormat(QStringLiteral("UniformResourceLocator")));
}

// The MIME type of a format (empty for one that has none).
QString MimeOfFormat(CLIPFORMAT F) {
    if (F == CF_TEXT || F == CF_UNICODETEXT) return MimeText;
    if (F == CF_HDROP || F == UrlFormat()) return MimeUriList;
    return ClipboardFormatMimeType(F);
}

// The registered format a type of this program stands for (0 for none).
CLIPFORMAT FormatOfOwnMime(const QString& Mime) {
    if (!Mime.startsWith(MimeOwnPrefix)) return 0;
    const String name = QUrl::fromPercentEncoding(Mime.mid(MimeOwnPrefix.size()).toLatin1());
    return CLIPFORMAT(RegisterClipboardFormat(name));
}

QString Utf16Text(const QByteArray& Block) {
    const QByteArray b = BlockUpToNul(Block, 2);
    return QString(reinterpret_cast<const QChar*>(b.constData()), b.size() / 2);
}

QByteArray Utf16Block(const QString& S) {
    QByteArray b(reinterpret_cast<const char*>(S.utf16()), S.size() * 2);
    b.append(2, '\0');
    return b;
}

QByteArray AnsiBlock(const QByteArray& Bytes) {
    QByteArray b = Bytes;
    b.append('\0');
    return b;
}

// A format enumerator over a fixed list.
class TFormatListEnum : public TInterfacedObject<IEnumFORMATETC> {
public:
    explicit TFormatListEnum(std::vector<FORMATETC> List, size_t Index = 0)
        : FList(std::move(List)), FIndex(Index) {}
    HRESULT Next(ULONG Celt, FORMATETC* Elt, ULONG* Fetched) override {
        ULONG n = 0;
        while (n < Celt && FIndex < FList.size()) Elt[n++] = FList[FIndex++];
        if (Fetched) *Fetched = n;
        return n == Celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Celt) override {
        FIndex += Celt;
        if (FIndex <= FList.size()) return S_OK;
        FIndex = FList.size();
        return S_FALSE;
    }
    HRESULT Reset() override {
        FIndex = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC*& Enum) override {
        Enum = new TFormatListEnum(FList, FIndex);
        Enum->AddRef();
        return S_OK;
    }

private:
    std::vector<FORMATETC> FList;
    size_t FIndex;
};

// A data object over the MIME data of a drop from anywhere.
class TMimeDataObject : public TInterfacedObject<IDataObject> {
public:
    explicit TMimeDataObject(const QMimeData* Data) : FData(Data) {
        if (!Data) return;
        // Files travel as a list of local URLs; a file manager's text beside them is the same
        // list again, not text of its own.
        QStringList files;
        QList<QUrl> others;
        for (const QUrl& u : Data->urls()) {
            if (u.isLocalFile())
                files << u.toLocalFile();
            else if (u.isValid())
                others << u;
        }
        FFiles = files;
        if (!others.isEmpty()) FUrl = others.first().toString();
        QString text = Data->hasText() ? Data->text() : QString();
        if (!files.isEmpty() && others.isEmpty()) text.clear();
        if (text.isEmpty() && !FUrl.isEmpty()) text = FUrl;
        FText = text;
        if (!FText.isEmpty()) {
            Add(CF_UNICODETEXT, Utf16Block(FText));
            Add(CF_TEXT, AnsiBlock(FText.toLocal8Bit()));
        }
        if (Data->hasFormat(MimeRtf)) Add(RtfFormat(), AnsiBlock(BlockUpToNul(Data->data(MimeRtf), 1)));
        if (!FFiles.isEmpty()) Add(CF_HDROP, MakeDropFilesBlock(FFiles));
        if (!FUrl.isEmpty()) Add(UrlFormat(), AnsiBlock(FUrl.toLocal8Bit()));
        for (const QString& mime : Data->formats()) {
            if (const CLIPFORMAT f = FormatOfOwnMime(mime)) Add(f, Data->data(mime));
        }
    }

    HRESULT GetData(const FORMATETC& F, STGMEDIUM& Medium) override {
        Medium = STGMEDIUM();
        const int i = Find(F);
        if (i < 0) return DV_E_FORMATETC;
        Medium.tymed = TYMED_HGLOBAL;
        Medium.hGlobal = FBlocks[size_t(i)];
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC&, STGMEDIUM&) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const FORMATETC& F) override { return Find(F) < 0 ? DV_E_FORMATETC : S_OK; }
    HRESULT GetCanonicalFormatEtc(const FORMATETC&, FORMATETC& Out) override {
        Out.ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(const FORMATETC&, STGMEDIUM&, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC*& Enum) override {
        Enum = nullptr;
        if (Direction != DATADIR_GET) return E_NOTIMPL;
        Enum = new TFormatListEnum(FFormats);
        Enum->AddRef();
        return S_OK;
    }
    HRESULT DAdvise(const FORMATETC&, DWORD, IUnknown*, DWORD&) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IUnknown*& E) override {
        E = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    void Add(CLIPFORMAT F, const QByteArray& Block) {
        FORMATETC f;
        f.cfFormat = F;
        FFormats.push_back(f);
        FBlocks.push_back(Block);
    }
    int Find(const FORMATETC& F) const {
        if (F.dwAspect != DVASPECT_CONTENT || !(F.tymed & TYMED_HGLOBAL)) return -1;
        for (size_t i = 0; i < FFormats.size(); ++i)
            if (FFormats[i].cfFormat == F.cfFormat) return int(i);
        return -1;
    }

    const QMimeData* FData;
    QString FText, FUrl;
    QStringList FFiles;
    std::vector<FORMATETC> FFormats;
    std::vector<QByteArray> FBlocks;
};

// The MIME data of a drag: asks the data object for a format only when it is read.
class TOleMimeData : public QMimeData {
public:
    explicit TOleMimeData(IDataObject* Data) : FData(Data) {}
    IDataObject* DataObject() const { return FData.get(); }

    QStringList formats() const override {
        QStringList list;
        for (CLIPFORMAT f : AvailableFormats()) {
            const QString mime = MimeOfFormat(f);
            if (!mime.isEmpty() && !list.contains(mime)) list << mime;
        }
        return list;
    }
    bool hasFormat(const QString& MimeType) const override { return formats().contains(MimeType); }

protected:
    QVariant retrieveData(const QString& MimeType, QMetaType) const override {
        const std::vector<CLIPFORMAT> available = AvailableFormats();
        auto has = [&](CLIPFORMAT f) {
            return std::find(available.begin(), available.end(), f) != available.end();
        };
        if (MimeType == MimeText) {
            if (has(CF_UNICODETEXT)) return Utf16Text(Block(CF_UNICODETEXT));
            if (has(CF_TEXT)) return QString::fromLocal8Bit(BlockUpToNul(Block(CF_TEXT), 1));
            return {};
        }
        if (MimeType == MimeRtf) return has(RtfFormat()) ? BlockUpToNul(Block(RtfFormat()), 1) : QVariant();
        if (MimeType == MimeUriList) {
            QByteArray list;
            if (has(CF_HDROP))
                for (const QString& name : DropFilesNames(Block(CF_HDROP)))
                    list += QUrl::fromLocalFile(name).toEncoded() + "\r\n";
            if (has(UrlFormat())) list += BlockUpToNul(Block(UrlFormat()), 1) + "\r\n";
            return list.isEmpty() ? QVariant() : QVariant(list);
        }
        if (const CLIPFORMAT f = FormatOfOwnMime(MimeType); f && has(f)) return Block(f);
        return {};
    }

private:
    // The formats the data object can deliver now.
    std::vector<CLIPFORMAT> AvailableFormats() const {
        std::vector<CLIPFORMAT> list;
        IEnumFORMATETC* e = nullptr;
        if (FData->EnumFormatEtc(DATADIR_GET, e) != S_OK || !e) return list;
        TIntf<IEnumFORMATETC> hold(e);
        e->Release();
        FORMATETC f;
        ULONG got = 0;
        while (e->Next(1, &f, &got) == S_OK && got == 1)
            if (FData->QueryGetData(f) == S_OK) list.push_back(f.cfFormat);
        return list;
    }
    QByteArray Block(CLIPFORMAT F) const {
        FORMATETC f;
        f.cfFormat = F;
        STGMEDIUM m;
        if (FData->GetData(f, m) != S_OK) return {};
        QByteArray b = m.hGlobal;
        ReleaseStgMedium(m);
        return b;
    }

    TIntf<IDataObject> FData;
};

struct TDropRegistration {
    TIntf<IDropTarget> Target;
};

std::map<HWND, TDropRegistration>& Registrations() {
    static std::map<HWND, TDropRegistration> map;
    return map;
}

TDoDragDropFunc& DragFunc() {
    static TDoDragDropFunc func;
    return func;
}

DWORD KeyStateNow() {
    DWORD keys = 0;
    const Qt::MouseButtons b = QGuiApplication::mouseButtons();
    if (b & Qt::LeftButton) keys |= MK_LBUTTON;
    if (b & Qt::RightButton) keys |= MK_RBUTTON;
    if (b & Qt::MiddleButton) keys |= MK_MBUTTON;
    const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
    if (m & Qt::ControlModifier) keys |= MK_CONTROL;
    if (m & Qt::ShiftModifier) keys |= MK_SHIFT;
    return keys;
}

// Qt's own drag loop.
HRESULT QtDoDragDrop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects, DWORD& Effect) {
    TIntf<IDataObject> data(DataObj);
    TIntf<IDropSource> source(Source);
    // The drag belongs to the window it starts from.
    QWidget* from = QApplication::widgetAt(QCursor::pos());
    if (!from) from = QApplication::activeWindow();
    QObject* owner = from ? static_cast<QObject*>(from) : QCoreApplication::instance();
    QPointer<QDrag> drag = new QDrag(owner);
    drag->setMimeData(CreateOleMimeData(DataObj));
    QObject::connect(drag, &QDrag::actionChanged,
                     [source](Qt::DropAction A) { source->GiveFeedback(DWORD(DropActionsToEffects(A))); });
    // The drop source hears the pointer while Qt's loop runs.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [source] {
        const DWORD keys = KeyStateNow();
        if (keys & MK_LBUTTON) source->QueryContinueDrag(false, keys);
    });
    poll.start();
    const Qt::DropActions allowed = Qt::DropActions(EffectToDropAction(int(OkEffects & DROPEFFECT_COPY)) |
                                                    EffectToDropAction(int(OkEffects & DROPEFFECT_MOVE)) |
                                                    EffectToDropAction(int(OkEffects & DROPEFFECT_LINK)));
    const Qt::DropAction action =
        drag->exec(allowed, (OkEffects & DROPEFFECT_MOVE) ? Qt::MoveAction : Qt::CopyAction);
    poll.stop();
    if (drag) drag->deleteLater();
    const bool dropped = action != Qt::IgnoreAction;
    // The end as the continuation query would have seen it.
    source->QueryContinueDrag(!dropped, 0);
    Effect = DWORD(DropActionsToEffects(action));
    return dropped ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
}

} // namespace

QByteArray BlockUpToNul(const QByteArray& Block, int Width) {
    qsizetype n = 0;
    while (n + Width <= Block.size()) {
        bool nul = true;
        for (int i = 0; i < Width; ++i) nul = nul && Block[n + i] == 0;
        if (nul) break;
        n += Width;
    }
    return Block.left(n);
}

QStringList DropFilesNames(const QByteArray& Block) {
    QStringList names;
    if (Block.size() < qsizetype(sizeof(DROPFILES))) return names;
    DROPFILES h;
    std::memcpy(&h, Block.constData(), sizeof h);
    qsizetype at = qsizetype(h.pFiles & ~1u);
    const int width = h.fWide ? 2 : 1;
    while (at >= 0 && at < Block.size()) {
        const QByteArray name = BlockUpToNul(Block.mid(at), width);
        if (name.isEmpty()) break;
        names << (h.fWide ? QString(reinterpret_cast<const QChar*>(name.constData()), name.size() / 2)
                          : QString::fromLocal8Bit(name));
        at += name.size() + width;
    }
    return names;
}

void ReleaseStgMedium(STGMEDIUM& Medium) {
    Medium.hGlobal.clear();
    Medium.tymed = TYMED_NULL;
    Medium.pUnkForRelease = nullptr;
}

QByteArray MakeDropFilesBlock(const QStringList& Names) {
    DROPFILES h;
    h.pFiles = DWORD(sizeof(DROPFILES));
    h.fWide = 1;
    QByteArray b(reinterpret_cast<const char*>(&h), sizeof h);
    for (const QString& n : Names) b += Utf16Block(n);
    b.append(2, '\0');
    return b;
}

HRESULT OleInitialize(void*) {
    return S_OK;
}

void OleUninitialize() {}

HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects, DWORD& Effect) {
    Effect = DROPEFFECT_NONE;
    if (!DataObj || !Source) return E_INVALIDARG;
    if (DragFunc()) return DragFunc()(DataObj, Source, OkEffects, Effect);
    return QtDoDragDrop(DataObj, Source, OkEffects, Effect);
}

void SetDoDragDropFunc(TDoDragDropFunc Func) {
    DragFunc() = std::move(Func);
}

HRESULT RegisterDragDrop(HWND Window, IDropTarget* Target) {
    TWinControl* c = FindControl(Window);
    if (!c || !Target) return E_INVALIDARG;
    Registrations()[Window].Target = TIntf<IDropTarget>(Target);
    c->Widget()->setAcceptDrops(true);
    return S_OK;
}

HRESULT RevokeDragDrop(HWND Window) {
    auto it = Registrations().find(Window);
    if (it == Registrations().end()) return E_INVALIDARG;
    // The target may be released inside; the map entry goes first.
    TIntf<IDropTarget> hold = it->second.Target;
    Registrations().erase(it);
    if (TWinControl* c = FindControl(Window))
        if (QWidget* w = c->WidgetIfAllocated()) w->setAcceptDrops(false);
    return S_OK;
}

IDropTarget* RegisteredDropTarget(HWND Window) {
    auto it = Registrations().find(Window);
    return it == Registrations().end() ? nullptr : it->second.Target.get();
}

QMimeData* CreateOleMimeData(IDataObject* DataObj) {
    return new TOleMimeData(DataObj);
}

IDataObject* DataObjectOfMimeData(const QMimeData* Data) {
    IDataObject* obj = nullptr;
    if (auto* own = dynamic_cast<const TOleMimeData*>(Data))
        obj = own->DataObject();
    else
        obj = new TMimeDataObject(Data);
    obj->AddRef();
    return obj;
}

QString DragFormatMimeType(CLIPFORMAT Format) {
    return MimeOfFormat(Format);
}

int DropActionsToEffects(int QtActions) {
    int e = DROPEFFECT_NONE;
    if (QtActions & Qt::CopyAction) e |= DROPEFFECT_COPY;
    if (QtActions & Qt::MoveAction) e |= DROPEFFECT_MOVE;
    if (QtActions & Qt::LinkAction) e |= DROPEFFECT_LINK;
    return e;
}

int EffectToDropAction(int Effect) {
    if (Effect & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (Effect & DROPEFFECT_COPY) return Qt::CopyAction;
    if (Effect & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}
