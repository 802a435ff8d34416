// The grid's drag and drop, through drag events sent to a shown grid's window: the hover marks,
// appending below the last row, scrolling near the edges, and the drops of text, cells, columns,
// URLs and files; a drag from the grid with a scripted drag loop.
#include "AdvGridDragDrop.h"

#include "AdvGrid.h"
#include "Forms.h"
#include "GridStreamIO.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class TDragGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::MoveForm;
    using TAdvStringGrid::StartOleDrag;
    using TAdvStringGrid::TAdvStringGrid;
};

// Scripts the drag loop for one test.
class ScriptedDrag {
public:
    explicit ScriptedDrag(TDoDragDropFunc F) { SetDoDragDropFunc(std::move(F)); }
    ~ScriptedDrag() { SetDoDragDropFunc(nullptr); }
};

// Catches what the application would report.
class ReportedErrors {
public:
    ReportedErrors() {
        FWas = Application->OnException;
        Application->OnException = [this](TObject*, Exception& E) { Messages << E.Message(); };
    }
    ~ReportedErrors() { Application->OnException = FWas; }
    QStringList Messages;

private:
    TExceptionEvent FWas;
};

class AdvGridDragDrop : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TDragGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(5);
        Grid->SetRowCount(6);
        for (int r = 1; r < 6; ++r)
            for (int c = 1; c < 5; ++c)
                Grid->SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
        // Dropped text is pasted: the cells must be editable.
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Form->Show();
        Application->ProcessMessages();
        Grid->DragDropSettings()->SetOleDropTarget(true);
    }
    void TearDown() override { TObject::Free(Form); }

    TDragDropSettings* DD() { return Grid->DragDropSettings(); }

    // The centre of a cell, in the grid's client coordinates.
    QPoint At(int C, int R) {
        const TRect r = Grid->CellRect(C, R);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TPoint ScreenTopLeft(int C, int R) {
        const TRect r = Grid->CellRect(C, R);
        return Grid->ClientToScreen(TPoint(r.Left, r.Top));
    }

    // Enter and move over P; the action the grid took (IgnoreAction: refused).
    Qt::DropAction Hover(const QMimeData* Data, QPoint P, Qt::KeyboardModifiers Mods = {}) {
        QWidget* w = Grid->Widget();
        if (!FEntered) {
            QDragEnterEvent enter(P, Qt::CopyAction | Qt::MoveAction, Data, Qt::LeftButton, Mods);
            QCoreApplication::sendEvent(w, &enter);
            FEntered = true;
        }
        QDragMoveEvent move(P, Qt::CopyAction | Qt::MoveAction, Data, Qt::LeftButton, Mods);
        QCoreApplication::sendEvent(w, &move);
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }
    void Leave() {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(Grid->Widget(), &leave);
        FEntered = false;
    }
    // Enter, move and drop at P; the drop's action (IgnoreAction: refused).
    Qt::DropAction DropAt(const QMimeData* Data, QPoint P, Qt::KeyboardModifiers Mods = {}) {
        Hover(Data, P, Mods);
        QDropEvent drop(P, Qt::CopyAction | Qt::MoveAction, Data, Qt::NoButton, Mods);
        QCoreApplication::sendEvent(Grid->Widget(), &drop);
        FEntered = false;
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    static std::unique_ptr<QMimeData> Text(const QString& S) {
        auto m = std::make_unique<QMimeData>();
        m->setText(S);
        return m;
    }
    static std::unique_ptr<QMimeData> Files(const QStringList& Names) {
        auto m = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& n : Names) urls << QUrl::fromLocalFile(n);
        m->setUrls(urls);
        return m;
    }
    // The MIME data of a drag of this program.
    static std::unique_ptr<QMimeData> Own(IDataObject* D) {
        return std::unique_ptr<QMimeData>(CreateOleMimeData(D));
    }

    QStringList Column(int C) {
        QStringList l;
        for (int r = 0; r < Grid->RowCount(); ++r) l << Grid->Cells(C, r);
        return l;
    }
    bool Shown(TArrowDirection D) { return Grid->ArrowWindow(D)->Visible(); }

    TForm* Form = nullptr;
    TDragGrid* Grid = nullptr;
    bool FEntered = false;
};

TEST_F(AdvGridDragDrop, TheDropTargetIsRegisteredAndRevokedWithTheSetting) {
    EXPECT_TRUE(Grid->OleDropTargetAssigned());
    ASSERT_NE(Grid->DropTarget(), nullptr);
    EXPECT_EQ(RegisteredDropTarget(Grid->Handle()), Grid->DropTarget());
    EXPECT_TRUE(Grid->Widget()->acceptDrops());
    DD()->SetOleDropTarget(false);
    EXPECT_FALSE(Grid->OleDropTargetAssigned());
    EXPECT_EQ(RegisteredDropTarget(Grid->Handle()), nullptr);
    auto text = Text("x");
    EXPECT_EQ(DropAt(text.get(), At(1, 1)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(1, 1), "a1");
}

TEST_F(AdvGridDragDrop, HoverMarksTheDropRowAndRefusesFixedRows) {
    auto text = Text("x");
    EXPECT_EQ(Hover(text.get(), At(2, 3)), Qt::MoveAction);
    EXPECT_EQ(Hover(text.get(), At(2, 3), Qt::ControlModifier), Qt::CopyAction);
    ASSERT_TRUE(Shown(arrLeft));
    EXPECT_EQ(Screen->ActiveForm(), Form);
    const TPoint tl = ScreenTopLeft(2, 3);
    EXPECT_EQ(Grid->ArrowWindow(arrLeft)->Left(), tl.X - 10);
    EXPECT_EQ(Grid->ArrowWindow(arrLeft)->Top(), tl.Y);

    // With entire rows the mark stands at the first non-fixed column.
    DD()->SetOleEntireRows(true);
    Hover(text.get(), At(3, 2));
    EXPECT_EQ(Grid->ArrowWindow(arrLeft)->Left(), ScreenTopLeft(1, 2).X - 10);

    EXPECT_EQ(Hover(text.get(), At(2, 0)), Qt::IgnoreAction);
    EXPECT_FALSE(Shown(arrLeft));
    Hover(text.get(), At(2, 3));
    Leave();
    EXPECT_FALSE(Shown(arrLeft));
    EXPECT_FALSE(Shown(arrUp));
    EXPECT_FALSE(Shown(arrDown));
}

TEST_F(AdvGridDragDrop, BelowTheLastRowAppends) {
    DD()->SetOleEntireRows(true);
    DD()->SetOleAppendRows(true);
    DD()->SetOleInsertRows(true);
    const TRect last = Grid->CellRect(1, 5);
    const QPoint below(At(1, 5).x(), last.Bottom + 4);
    auto text = Text("n1\tm1\r\nn2\tm2");
    EXPECT_NE(Hover(text.get(), below), Qt::IgnoreAction);
    ASSERT_TRUE(Shown(arrLeft));
    EXPECT_EQ(Grid->ArrowWindow(arrLeft)->Top(), ScreenTopLeft(1, 5).Y + Grid->RowHeights(5));

    EXPECT_NE(DropAt(text.get(), below), Qt::IgnoreAction);
    EXPECT_EQ(Grid->RowCount(), 8);
    EXPECT_EQ(Column(1).mid(5), QStringList({"a5", "n1", "n2"}));
    EXPECT_EQ(Column(2).mid(6), QStringList({"m1", "m2"}));

    // Without both settings the space below is no drop place.
    DD()->SetOleAppendRows(false);
    const TRect last2 = Grid->CellRect(1, Grid->RowCount() - 1);
    EXPECT_EQ(Hover(text.get(), QPoint(At(1, 1).x(), last2.Bottom + 4)), Qt::IgnoreAction);
}

TEST_F(AdvGridDragDrop, HoveringNearTheEdgesScrolls) {
    Grid->SetRowCount(60);
    Grid->SetColCount(30);
    Grid->SetTopRow(10);
    Grid->SetLeftCol(5);
    auto text = Text("x");

    // Over the header row: one row up per move.
    const int shownCol = Grid->LeftCol() + 1;
    Hover(text.get(), At(shownCol, 0));
    EXPECT_EQ(Grid->TopRow(), 9);
    Hover(text.get(), At(shownCol, 0));
    EXPECT_EQ(Grid->TopRow(), 8);
    // Over the partly shown row below: one row down.
    const int below = Grid->TopRow() + Grid->VisibleRowCount();
    Hover(text.get(), QPoint(At(shownCol, Grid->TopRow()).x(), Grid->CellRect(shownCol, below).Top + 2));
    EXPECT_EQ(Grid->TopRow(), 9);

    // Sideways only on an even tick of the grid's timer, which the scroll makes odd.
    if (Grid->TimerTicks() % 2) Grid->Perform(WM_TIMER, TAdvStringGrid::GridTimerId, 0);
    const QPoint fixedCol = At(0, Grid->TopRow() + 1);
    Hover(text.get(), fixedCol);
    EXPECT_EQ(Grid->LeftCol(), 4);
    EXPECT_EQ(Grid->TimerTicks() % 2, 1);
    Hover(text.get(), fixedCol);
    EXPECT_EQ(Grid->LeftCol(), 4);
    Grid->Perform(WM_TIMER, TAdvStringGrid::GridTimerId, 0);
    Hover(text.get(), fixedCol);
    EXPECT_EQ(Grid->LeftCol(), 3);
}

TEST_F(AdvGridDragDrop, ATextDropInsertsOneRowPerLineAndSelectsTheBlock) {
    DD()->SetOleInsertRows(true);
    TGridRect dropped{-1, -1, -1, -1};
    Grid->OnOleDropped = [&](TObject*, const TGridRect& R) { dropped = R; };
    auto text = Text("x1\ty1\r\nx2\ty2\r\nx3\ty3\r\n");
    EXPECT_NE(DropAt(text.get(), At(2, 2)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->RowCount(), 9);
    EXPECT_EQ(Column(2), QStringList({"", "b1", "x1", "x2", "x3", "b2", "b3", "b4", "b5"}));
    EXPECT_EQ(Column(3).mid(2, 3), QStringList({"y1", "y2", "y3"}));
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 3, 4}));
    EXPECT_EQ(dropped, (TGridRect{2, 2, 3, 4}));
    EXPECT_FALSE(Shown(arrLeft));
}

TEST_F(AdvGridDragDrop, RefusedAndMisplacedTextDropsChangeNothing) {
    Grid->SetSelection(TGridRect{1, 2, 2, 3});
    const QStringList before = Column(1) + Column(2);
    QList<TGridRect> dropped;
    Grid->OnOleDropped = [&](TObject*, const TGridRect& R) { dropped << R; };
    Grid->OnOleDrop = [](TObject*, int, int, const String&, bool& Allow) { Allow = false; };
    auto text = Text("p\tq");
    DropAt(text.get(), At(3, 4));
    EXPECT_EQ(Column(1) + Column(2), before);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0], (TGridRect{1, 2, 2, 3}));

    // Text that also carries files may be dropped outside every cell: it is not stored anywhere.
    Grid->OnOleDrop = nullptr;
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile("/tmp/x.txt"), QUrl("http://example.org/")});
    mixed.setText("p\tq");
    const QPoint outside(Grid->Width() - 3, Grid->Height() - 3);
    DropAt(&mixed, outside);
    EXPECT_EQ(Column(1) + Column(2), before);
}

TEST_F(AdvGridDragDrop, AMoveWithinTheGridRemovesTheRowsItCameFrom) {
    TGridOptions options = Grid->Options();
    options.insert(goRowSelect);
    Grid->SetOptions(options);
    DD()->SetOleDropSource(true);
    DD()->SetOleInsertRows(true);
    DD()->SetOleRemoveRows(true);
    Grid->Navigation()->AllowFmtClipboard = false;
    Grid->SetSelection(TGridRect{1, 4, 4, 5});
    int stopEffect = -1;
    Grid->OnOleDragStop = [&](TObject*, int E) { stopEffect = E; };
    ScriptedDrag script([&](IDataObject* d, IDropSource* s, DWORD, DWORD& effect) {
        auto mime = Own(d);
        const Qt::DropAction a = DropAt(mime.get(), At(1, 2));
        effect = DWORD(DropActionsToEffects(a));
        s->GiveFeedback(effect);
        s->QueryContinueDrag(false, 0);
        return a == Qt::IgnoreAction ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    });
    Grid->StartOleDrag(1, 4);
    EXPECT_EQ(stopEffect, DROPEFFECT_MOVE);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Column(1), QStringList({"", "a1", "a4", "a5", "a2", "a3"}));
    EXPECT_EQ(Column(4), QStringList({"", "d1", "d4", "d5", "d2", "d3"}));

    // Onto a row inside themselves the rows cannot go: nothing is lost or doubled.
    Grid->SetSelection(TGridRect{1, 2, 4, 3});
    stopEffect = -1;
    ScriptedDrag inside([&](IDataObject* d, IDropSource* s, DWORD, DWORD& effect) {
        auto mime = Own(d);
        const Qt::DropAction a = DropAt(mime.get(), At(1, 3));
        effect = DWORD(DropActionsToEffects(a));
        s->GiveFeedback(effect);
        return DRAGDROP_S_DROP;
    });
    Grid->StartOleDrag(1, 2);
    EXPECT_EQ(stopEffect, -1);
    EXPECT_EQ(Column(1), QStringList({"", "a1", "a4", "a5", "a2", "a3"}));
    // Once the drag is over, the rows are no one's.
    EXPECT_EQ(TGridDropSource::DraggingGrid(), nullptr);
}

TEST_F(AdvGridDragDrop, ADragOfCellsCarriesTheCellsFormatWhileTheStreamCanHoldThem) {
    DD()->SetOleDropSource(true);
    Grid->Navigation()->AllowFmtClipboard = true;
    std::vector<bool> offered;
    ScriptedDrag script([&](IDataObject* d, IDropSource*, DWORD, DWORD& effect) {
        FORMATETC f;
        f.cfFormat = CF_GRIDCELLS();
        offered.push_back(d->QueryGetData(f) == S_OK);
        effect = DROPEFFECT_COPY;
        return DRAGDROP_S_DROP;
    });
    Grid->SetSelection(TGridRect{1, 1, 2, 3});
    Grid->StartOleDrag(1, 1);
    // Past row 65535 the cell stream cannot address the cells: the drag carries the text.
    Grid->SetRowCount(70000);
    Grid->SetSelection(TGridRect{1, 1, 1, 69999});
    EXPECT_NO_THROW(Grid->StartOleDrag(1, 1));
    EXPECT_EQ(offered, std::vector<bool>({true, false}));
}

TEST_F(AdvGridDragDrop, CellsFromAnotherGridLandAtTheDropCell) {
    TAdvStringGrid* source = new TAdvStringGrid(nullptr);
    auto freeSource = FreeAtEnd(source);
    source->SetCells(1, 1, "s11");
    source->SetCells(2, 1, "s21");
    source->SetCells(1, 2, "s12");
    TMemoryStream ms;
    source->SaveRectToBinStream(TRect(1, 1, 2, 2), &ms);
    TIntf<TSourceDataObject> d(new TSourceDataObject("s11\ts21", "", -1, &ms));
    auto mime = Own(d.get());
    EXPECT_NE(DropAt(mime.get(), At(2, 3)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(2, 3), "s11");
    EXPECT_EQ(Grid->Cells(3, 3), "s21");
    EXPECT_EQ(Grid->Cells(2, 4), "s12");
    EXPECT_EQ(Grid->Cells(1, 3), "a3");
}

TEST_F(AdvGridDragDrop, DamagedCellsFromElsewhereAreReportedBeforeTheGridGrows) {
    // A header asking for a whole grid far bigger than the bytes that follow it.
    RegisterGridStreamIO();
    TMemoryStream ms;
    {
        TGridPropIO header(nullptr);
        header.ColCount = 60000;
        header.RowCount = 100000;
        header.FullGrid = true;
        TWriter w(&ms);
        w.WriteComponent(&header);
    }
    QByteArray junk("\x07garbage", 8);
    struct Case {
        const char* Name;
        QByteArray Stream;
    };
    const QByteArray headerOnly(static_cast<const char*>(ms.Memory()), int(ms.Size()));
    const Case cases[] = {{"absurd counts", headerOnly}, {"not a stream", junk}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QByteArray block(8, '\0');
        const int32_t n = int32_t(c.Stream.size());
        std::memcpy(block.data(), &n, 4);
        block += c.Stream;
        QMimeData mime;
        mime.setData(DragFormatMimeType(CF_GRIDCELLS()), block);
        ReportedErrors errors;
        EXPECT_EQ(DropAt(&mime, At(1, 1)), Qt::IgnoreAction);
        EXPECT_EQ(errors.Messages, QStringList({"Stream read error"}));
        EXPECT_EQ(Grid->RowCount(), 6);
        EXPECT_EQ(Grid->ColCount(), 5);
        EXPECT_EQ(Grid->Cells(1, 1), "a1");
    }
}

TEST_F(AdvGridDragDrop, DamagedDataOfEveryKindIsDroppedSafely) {
    DD()->SetOleColumnReorder(true);
    DD()->SetOleDropRTF(true);
    QRandomGenerator random(7);
    auto bytes = [&](int Max) {
        QByteArray b(int(random.bounded(Max + 1)), '\0');
        for (char& c : b) c = char(random.bounded(256));
        return b;
    };
    // A sound cell stream to damage.
    TMemoryStream ms;
    Grid->SaveRectToBinStream(TRect(1, 1, 3, 3), &ms);
    const QByteArray sound(static_cast<const char*>(ms.Memory()), int(ms.Size()));
    ReportedErrors errors;
    int accepted = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        QMimeData mime;
        const int kinds = int(random.bounded(64));
        if (kinds & 1) {
            QByteArray stream = sound;
            for (int k = 0; k < 4; ++k)
                stream[int(random.bounded(int(stream.size())))] = char(random.bounded(256));
            if (random.bounded(4) == 0) stream = stream.left(int(random.bounded(int(stream.size()))));
            QByteArray block(8, '\0');
            const int32_t n = random.bounded(3) ? int32_t(stream.size()) : int32_t(random.generate());
            std::memcpy(block.data(), &n, 4);
            mime.setData(DragFormatMimeType(CF_GRIDCELLS()), block + stream);
        }
        if (kinds & 2) mime.setData(DragFormatMimeType(CF_GRIDCOL()), bytes(8));
        if (kinds & 4) mime.setData("text/rtf", bytes(40));
        if (kinds & 8) mime.setText(QString::fromUtf8(bytes(40)));
        if (kinds & 16) mime.setData("text/uri-list", bytes(40));
        if (kinds & 32) mime.setData(DragFormatMimeType(CF_URL()), bytes(20));
        const QPoint p(int(random.bounded(Grid->ClientWidth())), int(random.bounded(Grid->ClientHeight())));
        if (DropAt(&mime, p) != Qt::IgnoreAction) ++accepted;
        // The grid is still whole and usable.
        EXPECT_GE(Grid->RowCount(), 1);
        EXPECT_LE(Grid->RowCount(), 1000);
        EXPECT_LE(Grid->ColCount(), 1000);
        Grid->Cells(Grid->ColCount() - 1, Grid->RowCount() - 1);
    }
    // Both ways were taken: drops that did something and damaged cells that were reported.
    EXPECT_GT(accepted, 20);
    EXPECT_GT(errors.Messages.size(), 5);
    for (const QString& m : errors.Messages) EXPECT_EQ(m, "Stream read error");
}

TEST_F(AdvGridDragDrop, ColumnsAreReorderedOnTheHeaderOnly) {
    DD()->SetOleColumnReorder(true);
    QList<QList<int>> events;
    Grid->OnOleDropCol = [&](TObject*, int R, int C, int To) { events << QList<int>{R, C, To}; };
    auto drag = [&](int Col) {
        TIntf<TSourceDataObject> d(new TSourceDataObject("", "", Col, nullptr));
        return Own(d.get());
    };
    auto m = drag(1);
    // On a data row or the fixed corner: refused.
    EXPECT_EQ(Hover(m.get(), At(3, 2)), Qt::IgnoreAction);
    EXPECT_EQ(Hover(m.get(), At(0, 0)), Qt::IgnoreAction);
    // On the header: marks above and below the column's left edge.
    EXPECT_NE(Hover(m.get(), At(3, 0)), Qt::IgnoreAction);
    const TPoint tl = ScreenTopLeft(3, 0);
    EXPECT_TRUE(Shown(arrDown));
    EXPECT_EQ(Grid->ArrowWindow(arrDown)->Top(), tl.Y - 8);
    EXPECT_EQ(Grid->ArrowWindow(arrUp)->Top(), tl.Y + Grid->RowHeights(0));
    EXPECT_EQ(Grid->ArrowWindow(arrUp)->Left(), tl.X);

    // A drop where the pointer was refused changes nothing.
    EXPECT_EQ(DropAt(m.get(), At(3, 2)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(1, 1), "a1");
    EXPECT_TRUE(events.isEmpty());

    EXPECT_NE(DropAt(m.get(), At(3, 0)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(3, 1), "a1");
    EXPECT_EQ(Grid->Cells(1, 1), "b1");
    EXPECT_FALSE(Shown(arrDown));
    EXPECT_FALSE(Shown(arrUp));

    // Beyond the last column: to the end.
    auto m2 = drag(2);
    const QPoint beyond(Grid->CellRect(4, 0).Right + 10, At(4, 0).y());
    ASSERT_LT(beyond.x(), Grid->ClientWidth());
    EXPECT_NE(DropAt(m2.get(), beyond), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(4, 1), "c1");
    EXPECT_EQ(events, (QList<QList<int>>{{0, 1, 3}, {0, 2, 4}}));

    // Column drags come in through the text formats they list.
    DD()->SetOleAcceptText(false);
    Grid->Loaded();
    EXPECT_EQ(Hover(m.get(), At(3, 0)), Qt::IgnoreAction);
}

TEST_F(AdvGridDragDrop, AColumnFromTheChooserComesBackWhereItIsDropped) {
    Grid->SetColumnOrder();
    Grid->HideColumn(2);
    TListBox* chooser = new TListBox(Form);
    chooser->SetParent(Form);
    chooser->Items()->Add("first");
    chooser->Items()->Add("column 2");
    Grid->OleColumnDragStart(2, 1, chooser);
    TIntf<TSourceDataObject> d(new TSourceDataObject("", "", 2, nullptr));
    auto m = Own(d.get());
    EXPECT_NE(DropAt(m.get(), At(1, 0)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(chooser->Items()->CommaText(), "first");
    EXPECT_EQ(Grid->Cells(1, 1), "b1");
    EXPECT_EQ(Grid->Cells(2, 1), "a1");

    // Taken once: the next column drop is an ordinary one (no reorder here).
    EXPECT_NE(DropAt(m.get(), At(3, 0)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(3, 1), "c1");
    // A column the order does not know moves nothing.
    Grid->OleColumnDragStart(9, 0, chooser);
    EXPECT_NE(DropAt(m.get(), At(3, 0)), Qt::IgnoreAction);
    EXPECT_EQ(chooser->Items()->Count(), 0);
    EXPECT_EQ(Grid->Cells(0, 1), "");
    EXPECT_EQ(Grid->Cells(3, 1), "c1");
}

TEST_F(AdvGridDragDrop, UrlAndRichTextGoIntoTheCellUnderThePointer) {
    QMimeData url;
    url.setUrls({QUrl("http://example.org/page")});
    QString seen;
    Grid->OnOleDropURL = [&](TObject*, int, int, const String& U, bool&) { seen = U; };
    EXPECT_NE(DropAt(&url, At(2, 2)), Qt::IgnoreAction);
    EXPECT_EQ(seen, "http://example.org/page");
    EXPECT_EQ(Grid->Cells(2, 2), "http://example.org/page");

    DD()->SetOleDropRTF(true);
    QMimeData rtf;
    rtf.setData("text/rtf", "{\\rtf1 bold}");
    EXPECT_NE(DropAt(&rtf, At(3, 3)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(3, 3), "{\\rtf1 bold}");
    DD()->SetOleDropRTF(false);
}

TEST_F(AdvGridDragDrop, ADroppedFileLoadsByItsLastExtension) {
    QTemporaryDir dir;
    auto write = [&](const QString& Name, const QByteArray& Bytes) {
        QFile f(dir.filePath(Name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
        return dir.filePath(Name);
    };
    const QString csv = write("data.csv", "p,q\r\nr,s\r\n");
    const QString twice = write("old.xls.csv", "t,u\r\n");
    const QString notCsv = write("data.csv.txt", "v,w\r\n");
    QStringList loaded;
    Grid->OnOleDrop = [&](TObject*, int R, int C, const String& Name, bool&) {
        EXPECT_EQ(R, -1);
        EXPECT_EQ(C, -1);
        loaded << QFileInfo(Name).fileName();
    };

    auto two = Files({csv, twice});
    DropAt(two.get(), At(1, 1));
    EXPECT_EQ(Grid->Cells(1, 1), "a1");
    auto other = Files({notCsv});
    DropAt(other.get(), At(1, 1));
    EXPECT_EQ(Grid->Cells(1, 1), "a1");
    EXPECT_TRUE(loaded.isEmpty());

    auto one = Files({csv});
    EXPECT_NE(DropAt(one.get(), At(1, 1)), Qt::IgnoreAction);
    EXPECT_EQ(Grid->Cells(0, 0), "p");
    EXPECT_EQ(Grid->Cells(1, 1), "s");
    auto named = Files({twice});
    DropAt(named.get(), At(1, 1));
    EXPECT_EQ(Grid->Cells(1, 0), "u");
    EXPECT_EQ(loaded, QStringList({"data.csv", "old.xls.csv"}));
}

TEST_F(AdvGridDragDrop, ASpreadsheetThatCannotLoadIsReportedAndHasNoEffect) {
    QTemporaryDir dir;
    const QString name = dir.filePath("book.xlsx");
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK");
    f.close();
    ReportedErrors errors;
    auto files = Files({name});
    EXPECT_EQ(DropAt(files.get(), At(1, 1)), Qt::IgnoreAction);
    EXPECT_EQ(errors.Messages, QStringList({"Excel OLE server not found"}));
    EXPECT_EQ(Grid->Cells(1, 1), "a1");
}

TEST_F(AdvGridDragDrop, TheFloatingCellsFollowThePointerUntilTheDragEnds) {
    DD()->SetOleDropSource(true);
    Grid->SetSelection(TGridRect{1, 1, 2, 2});
    TPoint p;
    GetCursorPos(p);
    bool during = false;
    TCustomForm* after = reinterpret_cast<TCustomForm*>(1);
    ScriptedDrag script([&](IDataObject*, IDropSource* s, DWORD, DWORD& effect) {
        s->QueryContinueDrag(false, MK_LBUTTON);
        TCustomForm* form = Grid->MoveForm;
        during = form && form->Left() == p.X + 4 && form->Top() == p.Y + 4;
        s->QueryContinueDrag(false, 0);
        after = Grid->MoveForm;
        effect = DROPEFFECT_NONE;
        return DRAGDROP_S_DROP;
    });
    Grid->StartOleDrag(1, 1);
    EXPECT_TRUE(during);
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(Grid->MoveForm, nullptr);
}

TEST_F(AdvGridDragDrop, TheDragSourceFollowsThePointerAndKeepsTheLastEffect) {
    Grid->DragDropSettings()->SetShowCells(false);
    TIntf<TGridDropSource> s(new TGridDropSource(Grid));
    s->GiveFeedback(DROPEFFECT_COPY);
    s->GiveFeedback(DROPEFFECT_NONE);
    EXPECT_EQ(s->LastEffect(), DROPEFFECT_COPY);
    s->GiveFeedback(DROPEFFECT_MOVE);
    EXPECT_EQ(s->LastEffect(), DROPEFFECT_MOVE);

    TPoint p;
    GetCursorPos(p);
    s->QueryContinueDrag(false, MK_LBUTTON);
    EXPECT_EQ(Grid->MoveButton()->Left(), p.X);
    EXPECT_EQ(Grid->MoveButton()->Top(), p.Y - Grid->MoveButton()->Height());
}

} // namespace
