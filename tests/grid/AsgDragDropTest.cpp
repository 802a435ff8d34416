// The drag-and-drop objects that know nothing of grids: the data object a drag offers, its
// format enumerator, the drop source, the drop target's dispatch and the reader of a dragged
// data object.
#include "asgdd.h"

#include "AdvXPVS.h"
#include "Clipbrd.h"
#include "Forms.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

FORMATETC Fmt(Word F, DWORD Tymed = TYMED_HGLOBAL, DWORD Aspect = DVASPECT_CONTENT) {
    FORMATETC f;
    f.cfFormat = F;
    f.tymed = Tymed;
    f.dwAspect = Aspect;
    return f;
}

std::vector<Word> ListedFormats(IDataObject* Data) {
    IEnumFORMATETC* e = nullptr;
    EXPECT_EQ(Data->EnumFormatEtc(DATADIR_GET, e), S_OK);
    TIntf<IEnumFORMATETC> hold(e);
    e->Release();
    std::vector<Word> list;
    FORMATETC f;
    ULONG got = 0;
    while (e->Next(1, &f, &got) == S_OK) {
        EXPECT_EQ(f.ptd, nullptr);
        EXPECT_EQ(f.dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(f.lindex, -1);
        EXPECT_EQ(f.tymed, TYMED_HGLOBAL);
        list.push_back(f.cfFormat);
    }
    return list;
}

QByteArray Block(IDataObject* Data, Word F) {
    STGMEDIUM m;
    EXPECT_EQ(Data->GetData(Fmt(F), m), S_OK);
    EXPECT_EQ(m.tymed, TYMED_HGLOBAL);
    return m.hGlobal;
}

class RTFSwitch {
public:
    explicit RTFSwitch(bool On) : FWas(RTFDragDrop()) { SetRTFDragDrop(On); }
    ~RTFSwitch() { SetRTFDragDrop(FWas); }

private:
    bool FWas;
};

TEST(SourceDataObject, ListsTextFormatsThenColumnThenCells) {
    TMemoryStream ms;
    ms.WriteBuffer(QByteArray("cells"));
    struct Case {
        const char* Name;
        int Col;
        TMemoryStream* Stream;
        std::vector<Word> Formats;
    };
    const Case cases[] = {
        {"text", -1, nullptr, {CF_TEXT, CF_UNICODETEXT, CF_RTF()}},
        {"column", 2, nullptr, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCOL()}},
        {"cells", -1, &ms, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCELLS()}},
        {"column and cells", 0, &ms, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCOL(), CF_GRIDCELLS()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TIntf<TSourceDataObject> data(new TSourceDataObject("a", "", c.Col, c.Stream));
        EXPECT_EQ(ListedFormats(data.get()), c.Formats);
        IEnumFORMATETC* e = reinterpret_cast<IEnumFORMATETC*>(1);
        EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, e), E_NOTIMPL);
        EXPECT_EQ(e, nullptr);
    }
}

TEST(SourceDataObject, OffersOnlyTheDataItHolds) {
    RTFSwitch rtf(true);
    TMemoryStream ms;
    TIntf<TSourceDataObject> empty(new TSourceDataObject("", "{\\rtf1 x}", -1, nullptr));
    TIntf<TSourceDataObject> column(new TSourceDataObject("", "", 3, nullptr));
    TIntf<TSourceDataObject> cells(new TSourceDataObject("x", "", -1, &ms));
    struct Case {
        const char* Name;
        IDataObject* Data;
        FORMATETC Format;
        HRESULT Result;
    };
    const Case cases[] = {
        {"empty text, CF_TEXT", empty.get(), Fmt(CF_TEXT), DV_E_FORMATETC},
        {"empty text, CF_UNICODETEXT", empty.get(), Fmt(CF_UNICODETEXT), DV_E_FORMATETC},
        {"empty text, its RTF", empty.get(), Fmt(CF_RTF()), S_OK},
        {"column, text", column.get(), Fmt(CF_UNICODETEXT), DV_E_FORMATETC},
        {"column, RTF", column.get(), Fmt(CF_RTF()), DV_E_FORMATETC},
        {"column, column", column.get(), Fmt(CF_GRIDCOL()), S_OK},
        {"column, cells", column.get(), Fmt(CF_GRIDCELLS()), DV_E_FORMATETC},
        {"cells, cells", cells.get(), Fmt(CF_GRIDCELLS()), S_OK},
        {"cells, column", cells.get(), Fmt(CF_GRIDCOL()), DV_E_FORMATETC},
        {"another medium", cells.get(), Fmt(CF_UNICODETEXT, TYMED_HGLOBAL | 4), DV_E_FORMATETC},
        {"another aspect", cells.get(), Fmt(CF_UNICODETEXT, TYMED_HGLOBAL, 2), DV_E_FORMATETC},
        {"unknown format", cells.get(), Fmt(CF_HDROP), DV_E_FORMATETC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Data->QueryGetData(c.Format), c.Result);
        STGMEDIUM m;
        m.hGlobal = "stale";
        EXPECT_EQ(c.Data->GetData(c.Format, m), c.Result);
        if (c.Result != S_OK) {
            EXPECT_TRUE(m.hGlobal.isEmpty());
        }
    }
}

TEST(SourceDataObject, BlockLayouts) {
    RTFSwitch rtf(true);
    TMemoryStream ms;
    const QByteArray payload("\x01\x02\x03\x04\x05", 5);
    ms.WriteBuffer(payload);
    TIntf<TSourceDataObject> data(new TSourceDataObject(QStringLiteral("h\u00e9"), "{\\rtf1}", -1, &ms));

    const QByteArray cells = Block(data.get(), CF_GRIDCELLS());
    ASSERT_EQ(cells.size(), 8 + 5);
    int32_t len = 0, zero = -1;
    std::memcpy(&len, cells.constData(), 4);
    std::memcpy(&zero, cells.constData() + 4, 4);
    EXPECT_EQ(len, 5);
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(cells.mid(8), payload);

    const QByteArray wide = Block(data.get(), CF_UNICODETEXT);
    EXPECT_EQ(wide.size(), 2 * 2 + 2);
    EXPECT_EQ(QString(reinterpret_cast<const QChar*>(wide.constData()), 2), QStringLiteral("h\u00e9"));
    EXPECT_EQ(wide.right(2), QByteArray(2, '\0'));
    const QByteArray ansi = Block(data.get(), CF_TEXT);
    EXPECT_EQ(ansi, QStringLiteral("h\u00e9").toLocal8Bit() + QByteArray(1, '\0'));
    EXPECT_EQ(Block(data.get(), CF_RTF()), QByteArray("{\\rtf1}", 8));

    TIntf<TSourceDataObject> column(new TSourceDataObject("", "", 7, nullptr));
    const QByteArray col = Block(column.get(), CF_GRIDCOL());
    ASSERT_EQ(col.size(), 4);
    int32_t c = 0;
    std::memcpy(&c, col.constData(), 4);
    EXPECT_EQ(c, 7);
}

TEST(SourceDataObject, OtherOperationsAreRefused) {
    TIntf<TSourceDataObject> data(new TSourceDataObject("a", "", -1, nullptr));
    STGMEDIUM m;
    EXPECT_EQ(data->GetDataHere(Fmt(CF_TEXT), m), DV_E_FORMATETC);
    EXPECT_EQ(data->SetData(Fmt(CF_TEXT), m, true), DV_E_FORMATETC);
    FORMATETC out;
    out.ptd = &out;
    EXPECT_EQ(data->GetCanonicalFormatEtc(Fmt(CF_TEXT), out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
    DWORD conn = 0;
    EXPECT_EQ(data->DAdvise(Fmt(CF_TEXT), 0, nullptr, conn), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    IUnknown* adv = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(data->EnumDAdvise(adv), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(adv, nullptr);
}

TEST(SourceEnumFormatEtc, NextSkipResetClone) {
    TIntf<TSourceEnumFormatEtc> e(new TSourceEnumFormatEtc(true, false)); // four entries
    FORMATETC f[6];
    ULONG got = 99;
    EXPECT_EQ(e->Next(2, f, &got), S_OK);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(f[1].cfFormat, CF_UNICODETEXT);

    IEnumFORMATETC* clone = nullptr;
    EXPECT_EQ(e->Clone(clone), S_OK);
    TIntf<IEnumFORMATETC> holdClone(clone);
    clone->Release();

    EXPECT_EQ(e->Next(5, f, &got), S_FALSE); // two left
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(f[1].cfFormat, CF_GRIDCOL());
    EXPECT_EQ(e->Next(1, f, nullptr), S_FALSE);

    // The clone goes on from where the original was.
    EXPECT_EQ(clone->Next(1, f, &got), S_OK);
    EXPECT_EQ(f[0].cfFormat, CF_RTF());

    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(4), S_OK);
    EXPECT_EQ(e->Next(1, f, &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(5), S_FALSE);
    EXPECT_EQ(e->Next(1, f, &got), S_FALSE); // stays at the end
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(3), S_OK);
    EXPECT_EQ(e->Next(1, f, &got), S_OK);
    EXPECT_EQ(f[0].cfFormat, CF_GRIDCOL());
}

TEST(KeyDropEffect, CtrlCopiesOtherwiseMoveWhenAllowed) {
    struct Case {
        DWORD Keys;
        int Allowed;
        int Effect;
    };
    const Case cases[] = {
        {MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_LBUTTON, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {0, DROPEFFECT_NONE, DROPEFFECT_COPY},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyDropEffect(c.Keys, c.Allowed), c.Effect) << c.Keys << " " << c.Allowed;
}

class TRecordingSource : public TASGDropSource {
public:
    QStringList* Log;
    explicit TRecordingSource(QStringList* L) : Log(L) {}

protected:
    void DragDropStop() override { *Log << "stop"; }
    void CurrentEffect(int E) override { *Log << QStringLiteral("effect %1").arg(E); }
    void QueryDrag() override { *Log << "query"; }
};

TEST(ASGDropSource, ContinuationAndFeedback) {
    QStringList log;
    TIntf<TRecordingSource> s(new TRecordingSource(&log));
    EXPECT_EQ(s->QueryContinueDrag(false, MK_LBUTTON), S_OK);
    EXPECT_EQ(log, QStringList({"query"}));
    log.clear();
    EXPECT_EQ(s->QueryContinueDrag(true, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(log, QStringList({"stop", "query"}));
    log.clear();
    EXPECT_EQ(s->QueryContinueDrag(false, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(log, QStringList({"stop", "query"}));
    log.clear();
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s->NoAccept());
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_FALSE(s->NoAccept());
    EXPECT_EQ(log, QStringList({"effect 0", "effect 1"}));
}

// Scripts the drag loop for one test.
class ScriptedDrag {
public:
    explicit ScriptedDrag(TDoDragDropFunc F) { SetDoDragDropFunc(std::move(F)); }
    ~ScriptedDrag() { SetDoDragDropFunc(nullptr); }
};

TEST(RunDragDrop, ReportsTheLoopUnlessTheLastFeedbackRefused) {
    struct Case {
        const char* Name;
        DWORD LastFeedback;
        HRESULT LoopResult;
        HRESULT Result;
    };
    const Case cases[] = {
        {"dropped", DROPEFFECT_MOVE, DRAGDROP_S_DROP, DRAGDROP_S_DROP},
        {"dropped where refused", DROPEFFECT_NONE, DRAGDROP_S_DROP, DRAGDROP_S_CANCEL},
        {"cancelled", DROPEFFECT_COPY, DRAGDROP_S_CANCEL, DRAGDROP_S_CANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<Word> offered;
        DWORD okSeen = 0;
        ScriptedDrag script([&](IDataObject* d, IDropSource* s, DWORD ok, DWORD& effect) {
            offered = ListedFormats(d);
            okSeen = ok;
            s->GiveFeedback(c.LastFeedback);
            effect = c.LastFeedback;
            return c.LoopResult;
        });
        QStringList log;
        TIntf<TRecordingSource> src(new TRecordingSource(&log));
        int effect = -1;
        EXPECT_EQ(RunTextDragDrop(src.get(), "t", "", effect, DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr),
                  c.Result);
        EXPECT_EQ(effect, int(c.LastFeedback));
        EXPECT_EQ(okSeen, DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE));
        EXPECT_EQ(offered.size(), 3u);
        EXPECT_EQ(RunColumnDragDrop(src.get(), 4, DROPEFFECT_MOVE, effect), c.Result);
        EXPECT_EQ(offered.back(), CF_GRIDCOL());
    }
}

// A drop target that records what it is handed.
class TRecordingTarget : public TASGDropTarget {
public:
    QStringList Log;

protected:
    void DropText(const TPoint&, const String& s) override { Log << "text " + s; }
    void DropStream(const TPoint&, TMemoryStream* ms) override {
        Log << QStringLiteral("stream %1").arg(ms->Size());
    }
    void DropCol(const TPoint&, int c) override { Log << QStringLiteral("col %1").arg(c); }
    void DropRTF(const TPoint&, const String& s) override { Log << "rtf " + s; }
    void DropFiles(const TPoint&, TStrings* f) override { Log << "files " + f->CommaText(); }
    void DropURL(const TPoint&, const String& s) override { Log << "url " + s; }
};

// The platform's data object over MIME data, as a drop from another program brings it.
TIntf<IDataObject> Foreign(const QMimeData& Mime) {
    IDataObject* d = DataObjectOfMimeData(&Mime);
    TIntf<IDataObject> hold(d);
    d->Release();
    return hold;
}

QStringList Dropped(TRecordingTarget* T, IDataObject* D, DWORD Keys = MK_LBUTTON) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(T->DragEnter(D, Keys, TPoint(1, 1), effect), S_OK);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(T->Drop(D, Keys, TPoint(1, 1), effect), S_OK);
    return T->Log;
}

TEST(ASGDropTarget, DispatchesEachKindOfPayload) {
    RTFSwitch rtfOff(false);
    QMimeData textAndUrl;
    textAndUrl.setText("http://example.org/a");
    textAndUrl.setUrls({QUrl("http://example.org/a")});
    QMimeData rtfAndText;
    rtfAndText.setText("plain");
    rtfAndText.setData("text/rtf", "{\\rtf1 rich}");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/a.csv"), QUrl::fromLocalFile("/tmp/b c.csv")});
    files.setText("/tmp/a.csv\n/tmp/b c.csv");
    TMemoryStream ms;
    ms.WriteBuffer(QByteArray("xyz"));

    {
        TIntf<TRecordingTarget> t(new TRecordingTarget);
        EXPECT_EQ(Dropped(t.get(), Foreign(textAndUrl).get()),
                  QStringList({"text http://example.org/a", "url http://example.org/a"}));
    }
    {
        // Rich text is neither offered nor used while switched off.
        TIntf<TRecordingTarget> t(new TRecordingTarget);
        EXPECT_EQ(Dropped(t.get(), Foreign(rtfAndText).get()), QStringList({"text plain"}));
        TIntf<TSourceDataObject> own(new TSourceDataObject("plain", "{\\rtf1}", -1, nullptr));
        EXPECT_EQ(own->QueryGetData(Fmt(CF_RTF())), DV_E_FORMATETC);
        RTFSwitch rtfOn(true);
        TIntf<TRecordingTarget> t2(new TRecordingTarget);
        EXPECT_EQ(Dropped(t2.get(), Foreign(rtfAndText).get()), QStringList({"rtf {\\rtf1 rich}"}));
    }
    {
        // A file manager's text beside the files is the file list again, not text.
        TIntf<TRecordingTarget> t(new TRecordingTarget);
        EXPECT_EQ(Dropped(t.get(), Foreign(files).get()), QStringList({"files /tmp/a.csv,\"/tmp/b c.csv\""}));
    }
    {
        TIntf<TRecordingTarget> t(new TRecordingTarget);
        TIntf<TSourceDataObject> cells(new TSourceDataObject("a\tb", "", -1, &ms));
        EXPECT_EQ(Dropped(t.get(), cells.get()), QStringList({"stream 3"}));
    }
    {
        // A column comes in through the text formats it lists, or as a column; its drop is the
        // column only.
        TIntf<TRecordingTarget> t(new TRecordingTarget);
        TIntf<TSourceDataObject> col(new TSourceDataObject("", "", 5, nullptr));
        t->AcceptText = false;
        DWORD effect = DROPEFFECT_MOVE;
        t->DragEnter(col.get(), MK_LBUTTON, TPoint(), effect);
        EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
        t->AcceptCols = true;
        EXPECT_EQ(Dropped(t.get(), col.get()), QStringList({"col 5"}));
        TIntf<TRecordingTarget> t2(new TRecordingTarget);
        EXPECT_EQ(Dropped(t2.get(), col.get()), QStringList({"col 5"}));
    }
}

TEST(ASGDropTarget, AcceptanceAndEffects) {
    QMimeData text;
    text.setText("x");
    TIntf<IDataObject> d = Foreign(text);
    TIntf<TRecordingTarget> t(new TRecordingTarget);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(d.get(), MK_LBUTTON, TPoint(), effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(t->DropFormats, TDropFormats({dfText}));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON | MK_CONTROL, TPoint(), effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));

    t->AcceptText = false;
    effect = DROPEFFECT_COPY;
    t->DragEnter(d.get(), MK_LBUTTON, TPoint(), effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    t->Drop(d.get(), MK_LBUTTON, TPoint(), effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_TRUE(t->Log.isEmpty());
}

// A data object from elsewhere that cannot list its formats.
class TNoEnumDataObject : public TInterfacedObject<IDataObject> {
public:
    HRESULT GetData(const FORMATETC&, STGMEDIUM&) override { return DV_E_FORMATETC; }
    HRESULT GetDataHere(const FORMATETC&, STGMEDIUM&) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const FORMATETC&) override { return DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const FORMATETC&, FORMATETC&) override { return E_NOTIMPL; }
    HRESULT SetData(const FORMATETC&, STGMEDIUM&, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC*& E) override {
        E = nullptr;
        return E_FAIL;
    }
    HRESULT DAdvise(const FORMATETC&, DWORD, IUnknown*, DWORD&) override { return E_NOTIMPL; }
    HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT EnumDAdvise(IUnknown*&) override { return E_NOTIMPL; }
};

TEST(ASGDropTarget, ADataObjectWithoutFormatListIsRefused) {
    TIntf<TNoEnumDataObject> d(new TNoEnumDataObject);
    EXPECT_THROW(TEnumFormats(d.get()), EAssertionFailed);
    TIntf<TRecordingTarget> t(new TRecordingTarget);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(t->DragEnter(d.get(), MK_LBUTTON, TPoint(), effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(t->DragOver(MK_LBUTTON, TPoint(), effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(t->Drop(d.get(), MK_LBUTTON, TPoint(), effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_TRUE(t->Log.isEmpty());
}

TEST(EnumFormats, ReadsDamagedOwnBlocksWithoutTrustingThem) {
    const String cellsMime = DragFormatMimeType(CF_GRIDCELLS());
    struct Case {
        const char* Name;
        QByteArray Block;
        int StreamSize; // -1: no stream
    };
    QByteArray good(8, '\0');
    good[0] = 3;
    good += "abc";
    QByteArray tooLong = good;
    tooLong[0] = 100;
    QByteArray negative = good;
    negative[3] = char(0x80);
    const Case cases[] = {
        {"sound", good, 3},
        {"length beyond the block", tooLong, -1},
        {"negative length", negative, -1},
        {"shorter than the header", QByteArray("\x01\x00", 2), -1},
        {"empty", QByteArray(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QMimeData mime;
        mime.setData(cellsMime, c.Block);
        TIntf<IDataObject> d = Foreign(mime);
        TEnumFormats f(d.get());
        EXPECT_TRUE(f.HasGridCells());
        std::unique_ptr<TMemoryStream> ms(f.Stream());
        EXPECT_EQ(ms ? int(ms->Size()) : -1, c.StreamSize);
        EXPECT_EQ(f.Col(), -1);
    }
    // A short column block.
    QMimeData mime;
    mime.setData(DragFormatMimeType(CF_GRIDCOL()), QByteArray("\x01", 1));
    TEnumFormats f(Foreign(mime).get());
    EXPECT_EQ(f.Col(), -1);
}

// Counts the blocks asked of it.
class TCountingData : public TSourceDataObject {
public:
    using TSourceDataObject::TSourceDataObject;
    int Asked = 0;
    HRESULT GetData(const FORMATETC& F, STGMEDIUM& M) override {
        ++Asked;
        return TSourceDataObject::GetData(F, M);
    }
};

TEST(OleMimeData, OffersWhatTheDataObjectDeliversAndAsksOnlyWhenRead) {
    RTFSwitch rtf(true);
    TMemoryStream ms;
    ms.WriteBuffer(QByteArray("cells"));
    TIntf<TCountingData> text(new TCountingData("a\tb", "{\\rtf1}", -1, &ms));
    std::unique_ptr<QMimeData> mime(CreateOleMimeData(text.get()));
    const QString cells = DragFormatMimeType(CF_GRIDCELLS());
    EXPECT_EQ(mime->formats(), QStringList({"text/plain", "text/rtf", cells}));
    EXPECT_EQ(text->Asked, 0);
    EXPECT_EQ(mime->text(), "a\tb");
    EXPECT_EQ(text->Asked, 1);
    EXPECT_EQ(mime->data("text/rtf"), QByteArray("{\\rtf1}"));
    EXPECT_EQ(mime->data(cells).mid(8), QByteArray("cells"));

    // A column drag lists the text formats but holds no text: only the column is offered.
    TIntf<TCountingData> column(new TCountingData("", "", 3, nullptr));
    std::unique_ptr<QMimeData> colMime(CreateOleMimeData(column.get()));
    EXPECT_EQ(colMime->formats(), QStringList({DragFormatMimeType(CF_GRIDCOL())}));
    EXPECT_FALSE(colMime->hasText());

    // Read back as a drop, the drag of this program is its own data object.
    IDataObject* back = DataObjectOfMimeData(mime.get());
    EXPECT_EQ(back, text.get());
    back->Release();
}

// A target whose hover raises.
class TRaisingTarget : public TASGDropTarget {
protected:
    void DragMouseMove(const TPoint&, bool&, const TDropFormats&) override {
        throw Exception(QStringLiteral("hover failed"));
    }
};

TEST(DropTargetRegistration, ATargetIsHeldWhileRegisteredAndWhatItRaisesIsReported) {
    TForm* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form);
    TIntf<TRaisingTarget> target(new TRaisingTarget);
    EXPECT_EQ(RegisterDragDrop(0, target.get()), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(form->Handle(), nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(form->Handle(), target.get()), S_OK);
    EXPECT_EQ(target->RefCount(), 2);

    QStringList reported;
    const TExceptionEvent was = Application->OnException;
    Application->OnException = [&](TObject*, Exception& E) { reported << E.Message(); };
    QMimeData mime;
    mime.setText("x");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form->Widget(), &enter);
    QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form->Widget(), &move);
    EXPECT_FALSE(move.isAccepted());
    QDropEvent drop(QPointF(6, 6), Qt::CopyAction, &mime, Qt::NoButton, {});
    QCoreApplication::sendEvent(form->Widget(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    Application->OnException = was;
    EXPECT_EQ(reported, QStringList({"hover failed"}));

    EXPECT_EQ(RevokeDragDrop(form->Handle()), S_OK);
    EXPECT_EQ(target->RefCount(), 1);
    EXPECT_EQ(RevokeDragDrop(form->Handle()), E_INVALIDARG);
}

} // namespace
