// TAdvStringGrid: the binary cell stream. A header (size, widths, heights, whether it is the whole
// grid, the writer's identity), then per cell its text, its properties when it has them, its
// graphic and the graphic's picture or list. The same bytes travel through the clipboard and drag
// and drop, so the reader trusts nothing: every length, count and value is checked, and a damaged
// stream stops with EReadError "Stream read error" after the cells placed so far.
#include "AdvGrid.h"
#include "GridStreamIO.h"

#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

constexpr int MaxStreamCoord = 0xFFFF;

[[noreturn]] void StreamReadError() {
    throw EReadError(QStringLiteral("Stream read error"));
}

// Reads one record; anything wrong inside it is the stream's fault.
void ReadRecord(TReader& Reader, TComponent* Holder) {
    try {
        Reader.ReadComponent(Holder);
    } catch (const Exception&) {
        StreamReadError();
    }
}

// A comma text of exactly Count non-negative integers, else a read error.
std::vector<int> ReadSizes(const String& Text, int Count) {
    const QStringList parts = Text.split(u',');
    if (parts.size() < Count) StreamReadError();
    std::vector<int> sizes;
    sizes.reserve(size_t(Count));
    for (int i = 0; i < Count; ++i) {
        bool ok = false;
        const int v = parts[i].toInt(&ok);
        if (!ok || v < 0 || v > 0xFFFF) StreamReadError();
        sizes.push_back(v);
    }
    return sizes;
}

// Per cent, rounded half to even and kept inside 0..100, reported when it changes.
class TProgressReport {
public:
    TProgressReport(TObject* Sender, const TEvent<TObject*, short>& Event) : FSender(Sender), FEvent(Event) {}
    void Report(double Fraction) {
        if (!Assigned(FEvent)) return;
        const int v = std::clamp(int(std::nearbyint(Fraction * 100)), 0, 100);
        if (v == FLast) return;
        FLast = v;
        FEvent(FSender, short(v));
    }

private:
    TObject* FSender;
    const TEvent<TObject*, short>& FEvent;
    int FLast = -1;
};

bool IsOwnedObjectKind(TCellType T) {
    switch (T) {
        case ctBitmap:
        case ctIcon:
        case ctRadio:
        case ctImages:
        case ctPicture:
        case ctFilePicture:
        case ctBitButton: return true;
        default: return false;
    }
}

// Graphics the column grid lends to many cells: never carried, never made from a stream.
bool IsLentKind(TCellType T) {
    return T == ctVirtCheckBox || T == ctRowCheckBox;
}

} // namespace

int TAdvStringGrid::StreamID() {
    // Unique among the grids of this process and unlikely to be met in another's streams.
    static std::atomic<int> next{int(QRandomGenerator::global()->bounded(0x3FFFFFFF)) + 1};
    while (FStreamID == 0) FStreamID = next.fetch_add(1) & 0x7FFFFFFF;
    return FStreamID;
}

void TAdvStringGrid::SaveRectToBinStream(const TRect& Rect, TStream* Stream) {
    if (Rect.Left < 0 || Rect.Top < 0 || Rect.Right > MaxStreamCoord || Rect.Bottom > MaxStreamCoord)
        throw EAdvGridError(QStringLiteral("Cells beyond column or row 65535 cannot be saved"));
    RegisterGridStreamIO();
    TOwned<TGridPropIO> header(new TGridPropIO(nullptr));
    TOwned<TGridCellIO> cellIO(new TGridCellIO(nullptr));
    TOwned<TGridCellPropIO> propIO(new TGridCellPropIO(nullptr, this));
    TOwned<TGridGraphicIO> graphicIO(new TGridGraphicIO(nullptr));
    TWriter writer(Stream);

    header->ColCount = Rect.Right - Rect.Left + 1;
    header->RowCount = Rect.Bottom - Rect.Top + 1;
    QStringList widths, heights;
    for (int c = Rect.Left; c <= Rect.Right; ++c)
        widths << String::number(c < ColCount() ? ColWidths(c) : DefaultColWidth());
    for (int r = Rect.Top; r <= Rect.Bottom; ++r)
        heights << String::number(r < RowCount() ? RowHeights(r) : DefaultRowHeight());
    header->ColWidths = widths.join(u',');
    header->RowHeights = heights.join(u',');
    if (SaveFixedCells)
        header->FullGrid = header->RowCount == RowCount() && header->ColCount == ColCount();
    else
        header->FullGrid = header->RowCount == RowCount() - TBaseGrid::FixedRows() &&
                           header->ColCount == ColCount() - TBaseGrid::FixedCols();
    header->ID = StreamID();
    writer.WriteComponent(header.get());

    TProgressReport progress(this, OnFileProgress);
    ExportNotification(esExportStart, Rect.Top);
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            cellIO->Col = c;
            cellIO->Row = r;
            cellIO->Cell = GetCellEx(c, r);
            cellIO->HasProp = c < ColCount() && r < RowCount() && HasCellProperties(c, r);
            writer.WriteComponent(cellIO.get());
            if (!cellIO->HasProp) continue;

            TCellProperties* props = GetCellProperties(c, r);
            propIO->CellProperties.reset(new TCellProperties(this, 0, 0));
            propIO->CellProperties->Assign(props);
            auto* g = dynamic_cast<TCellGraphic*>(props->GraphicObject());
            const TCellType type = g ? g->CellType : ctEmpty;
            if (!g || type == ctEmpty || IsLentKind(type))
                propIO->HasGraphic = false;
            else
                propIO->HasGraphic = IsOwnedObjectKind(type) ? g->CellCreated : true;
            writer.WriteComponent(propIO.get());
            if (!propIO->HasGraphic) continue;

            graphicIO->CellGraphic.reset(new TCellGraphic());
            graphicIO->CellGraphic->Assign(g);
            writer.WriteComponent(graphicIO.get());
            switch (type) {
                case ctBitmap:
                case ctBitButton: {
                    TOwned<TGridBMPIO> io(new TGridBMPIO(nullptr));
                    if (auto* b = dynamic_cast<TBitmap*>(g->CellBitmap)) io->Bitmap->Assign(b);
                    writer.WriteComponent(io.get());
                    break;
                }
                case ctIcon: {
                    TOwned<TGridIconIO> io(new TGridIconIO(nullptr));
                    if (auto* i = dynamic_cast<TIcon*>(g->CellIcon)) io->Icon->Assign(i);
                    writer.WriteComponent(io.get());
                    break;
                }
                case ctRadio: {
                    TOwned<TGridSLIO> io(new TGridSLIO(nullptr));
                    if (auto* s = dynamic_cast<TStrings*>(g->CellBitmap)) io->Strings->Assign(s);
                    writer.WriteComponent(io.get());
                    break;
                }
                case ctImages: {
                    TOwned<TGridSLIO> io(new TGridSLIO(nullptr));
                    if (auto* l = dynamic_cast<TIntList*>(g->CellBitmap))
                        for (int i = 0; i < l->Count(); ++i) io->Strings->Add(String::number(l->Items(i)));
                    writer.WriteComponent(io.get());
                    break;
                }
                case ctPicture: {
                    TOwned<TGridPicIO> io(new TGridPicIO(nullptr));
                    if (auto* p = dynamic_cast<TPicture*>(g->CellBitmap)) io->Picture->Assign(p);
                    writer.WriteComponent(io.get());
                    break;
                }
                case ctFilePicture: {
                    TOwned<TGridFilePicIO> io(new TGridFilePicIO(nullptr));
                    if (auto* p = dynamic_cast<TFilePicture*>(g->CellBitmap)) io->Picture->Assign(p);
                    writer.WriteComponent(io.get());
                    break;
                }
                default: break;
            }
        }
        progress.Report(double(r - Rect.Top) / std::max(1, Rect.Bottom - Rect.Top));
    }
    ExportNotification(esExportDone, -1);
}

void TAdvStringGrid::SaveToBinStream(TStream* Stream) {
    SaveRectToBinStream(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), Stream);
}

void TAdvStringGrid::SaveToBinFile(const String& FileName) {
    TOwned<TMemoryStream> ms(new TMemoryStream());
    SaveToBinStream(ms.get());
    ms->SaveToFile(FileName);
}

void ReadGridPropIO(TStream* Stream, TGridPropIO* Header) {
    RegisterGridStreamIO();
    TReader reader(Stream);
    ReadRecord(reader, Header);
}

void TAdvStringGrid::LoadAtPointFromBinStream(const TPoint& Point, TStream* Stream) {
    LoadBinStreamAt(Point, Stream, false);
}

void TAdvStringGrid::LoadBinStreamAt(const TPoint& Point, TStream* Stream, bool InsideGrid) {
    RegisterGridStreamIO();
    TReader reader(Stream);
    TOwned<TGridPropIO> header(new TGridPropIO(nullptr));
    ReadRecord(reader, header.get());
    const bool sameGrid = header->ID == StreamID();
    // A paste places every stream as a block: a whole grid copied elsewhere does not wipe this one.
    const bool wholeGrid = header->FullGrid && !InsideGrid;

    if (wholeGrid) {
        // Everything is checked before the grid changes.
        if (header->ColCount < 1 || header->ColCount > MaxGridCols || header->RowCount < 1 ||
            header->RowCount > MaxGridRows)
            StreamReadError();
        const std::vector<int> widths = ReadSizes(header->ColWidths, header->ColCount);
        const std::vector<int> heights = ReadSizes(header->RowHeights, header->RowCount);
        Clear();
        SetRowCount(header->RowCount);
        SetColCount(header->ColCount);
        for (int i = 0; i < ColCount() && i < header->ColCount; ++i) SetColWidths(i, widths[size_t(i)]);
        for (int i = 0; i < RowCount() && i < header->RowCount; ++i) SetRowHeights(i, heights[size_t(i)]);
    }

    TOwned<TGridCellIO> cellIO(new TGridCellIO(nullptr));
    TProgressReport progress(this, OnFileProgress);
    bool haveOrigin = wholeGrid;
    TPoint origin(0, 0);
    int lastRow = -1;
    while (Stream->Position() < Stream->Size() - 1) {
        cellIO->Col = cellIO->Row = 0;
        cellIO->Cell.clear();
        cellIO->HasProp = false;
        ReadRecord(reader, cellIO.get());
        if (!haveOrigin) {
            origin = TPoint(cellIO->Col, cellIO->Row);
            haveOrigin = true;
        }
        const qint64 tc = qint64(cellIO->Col) + Point.X - origin.X;
        const qint64 tr = qint64(cellIO->Row) + Point.Y - origin.Y;
        // Cells that would land above or left of the grid, or beyond what it can hold, are read
        // and passed over.
        const bool place = tc >= 0 && tr >= 0 && tc < MaxGridCols && tr < MaxGridRows &&
                           (!InsideGrid || (tc < ColCount() && tr < RowCount()));
        const int col = int(tc), row = int(tr);
        if (place) {
            SetCellEx(col, row, cellIO->Cell);
            if (row != lastRow) {
                lastRow = row;
                progress.Report(double(row) / std::max(1, RowCount()));
            }
        }
        if (!cellIO->HasProp) continue;

        TOwned<TGridCellPropIO> propIO(new TGridCellPropIO(nullptr, this));
        if (place) propIO->CellProperties->Assign(GetCellProperties(col, row));
        ReadRecord(reader, propIO.get());
        TCellProperties* props = propIO->CellProperties.get();
        // A cell object is a pointer and a control a live window: both only mean something to the
        // grid that wrote them, while it runs; a control must still be one of this grid's.
        if (!sameGrid) {
            props->SetCellObject(0);
            props->SetControl(nullptr);
        } else if (props->Control()) {
            bool known = false;
            for (int i = 0; i < ControlCount() && !known; ++i) known = Controls(i) == props->Control();
            if (!known && FControlList)
                for (int i = 0; i < FControlList->Count() && !known; ++i)
                    known = FControlList->GetControl(i)->Control == props->Control();
            if (!known) props->SetControl(nullptr);
        }
        if (place) {
            TCellProperties* target = GetCellProperties(col, row);
            props->SetOwnerCol(col);
            props->SetOwnerRow(row);
            target->Assign(props);
        }
        if (!propIO->HasGraphic) continue;

        TOwned<TGridGraphicIO> graphicIO(new TGridGraphicIO(nullptr));
        ReadRecord(reader, graphicIO.get());
        TCellGraphic* src = graphicIO->CellGraphic.get();
        // The object of the fourth record, made before the cell's graphic changes.
        TObject* object = nullptr;
        bool inIcon = false;
        switch (src->CellType) {
            case ctBitmap:
            case ctBitButton: {
                TOwned<TGridBMPIO> io(new TGridBMPIO(nullptr));
                ReadRecord(reader, io.get());
                object = io->Bitmap.release();
                break;
            }
            case ctIcon: {
                TOwned<TGridIconIO> io(new TGridIconIO(nullptr));
                ReadRecord(reader, io.get());
                object = io->Icon.release();
                inIcon = true;
                break;
            }
            case ctRadio: {
                TOwned<TGridSLIO> io(new TGridSLIO(nullptr));
                ReadRecord(reader, io.get());
                object = io->Strings.release();
                break;
            }
            case ctImages: {
                TOwned<TGridSLIO> io(new TGridSLIO(nullptr));
                ReadRecord(reader, io.get());
                auto* list = new TIntList(std::max(col, 0), std::max(row, 0));
                try {
                    list->SetStrValue(io->Strings->CommaText());
                } catch (const Exception&) {
                    TObject::Free(list);
                    StreamReadError();
                }
                list->OnChange = [this](TObject*, int C, int R) { RepaintRealCell(C, R); };
                object = list;
                break;
            }
            case ctPicture: {
                TOwned<TGridPicIO> io(new TGridPicIO(nullptr));
                ReadRecord(reader, io.get());
                object = io->Picture.release();
                break;
            }
            case ctFilePicture: {
                TOwned<TGridFilePicIO> io(new TGridFilePicIO(nullptr));
                ReadRecord(reader, io.get());
                object = io->Picture.release();
                break;
            }
            default: break;
        }
        if (!place || IsLentKind(src->CellType)) {
            TObject::Free(object);
            continue;
        }
        TCellGraphic* g = CreateCellGraphic(col, row);
        g->Assign(src);
        if (object) {
            if (inIcon)
                g->CellIcon = object;
            else
                g->CellBitmap = object;
            // What the stream made belongs to the cell, whatever the record said.
            g->CellCreated = true;
        }
        if (g->CellType == ctRadio) {
            if (auto* items = dynamic_cast<TStrings*>(g->CellBitmap)) g->CellAngle = items->Count();
            g->CellVar = g->CellIndex;
        }
    }
    Invalidate();
}

void TAdvStringGrid::LoadFromBinStream(TStream* Stream) {
    LoadAtPointFromBinStream(TPoint(0, 0), Stream);
    FNumNodes = 0;
    for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
        if (GetCellType(0, r) == ctNode) ++FNumNodes;
    if (FNumNodes > 0) RepaintCol(0);
}

void TAdvStringGrid::LoadFromBinFile(const String& FileName) {
    TOwned<TMemoryStream> ms(new TMemoryStream());
    ms->LoadFromFile(FileName);
    LoadFromBinStream(ms.get());
}
