// The property tables of the cell-stream holders. Enumerations travel as their ordinal values;
// a reader refuses a value outside its enumeration, a coordinate outside 0..65535 and a picture
// that does not decode, so a damaged stream stops with a read error instead of filling a cell
// with nonsense.
#include "GridStreamIO.h"

#include <QBuffer>

#include <limits>

namespace {

[[noreturn]] void BadStream() {
    throw EReadError(QStringLiteral("Stream read error"));
}

int ReadRanged(TReader& R, int Low, int High) {
    const int v = R.ReadInteger();
    if (v < Low || v > High) BadStream();
    return v;
}

template <class H> H* As(TPersistent* P) {
    return static_cast<H*>(P);
}

// A plain value of a holder: always written.
template <class H> TPublishedProperty IntField(const char* Name, int H::*Field, int Low, int High) {
    return {String::fromLatin1(Name),
            [Field](TWriter& W, TPersistent* P) { W.WriteInteger(As<H>(P)->*Field); },
            [Field, Low, High](TReader& R, TPersistent* P) { As<H>(P)->*Field = ReadRanged(R, Low, High); }};
}

template <class H> TPublishedProperty BoolField(const char* Name, bool H::*Field) {
    return {String::fromLatin1(Name),
            [Field](TWriter& W, TPersistent* P) { W.WriteBoolean(As<H>(P)->*Field); },
            [Field](TReader& R, TPersistent* P) { As<H>(P)->*Field = R.ReadBoolean(); }};
}

// A text: left out when empty.
template <class H> TPublishedProperty StringField(const char* Name, String H::*Field) {
    return {String::fromLatin1(Name),
            [Field](TWriter& W, TPersistent* P) { W.WriteString(As<H>(P)->*Field); },
            [Field](TReader& R, TPersistent* P) { As<H>(P)->*Field = R.ReadString(); },
            [Field](TPersistent* P) { return !(As<H>(P)->*Field).isEmpty(); }};
}

// ---- Cell properties, nested as "CellProperties.<name>" ----

TCellProperties* Props(TPersistent* P) {
    return As<TGridCellPropIO>(P)->CellProperties.get();
}

using TPropGet = std::function<int(TCellProperties*)>;
using TPropSet = std::function<void(TCellProperties*, int)>;

TPublishedProperty PropInt(const char* Name, TPropGet Get, TPropSet Set, int Low, int High) {
    return {QStringLiteral("CellProperties.") + String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteInteger(Get(Props(P))); },
            [Set, Low, High](TReader& R, TPersistent* P) { Set(Props(P), ReadRanged(R, Low, High)); }};
}

TPublishedProperty PropBool(const char* Name, std::function<bool(TCellProperties*)> Get,
                            std::function<void(TCellProperties*, bool)> Set) {
    return {QStringLiteral("CellProperties.") + String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteBoolean(Get(Props(P))); },
            [Set](TReader& R, TPersistent* P) { Set(Props(P), R.ReadBoolean()); }};
}

int FontStyleBits(const TFontStyles& S) {
    int bits = 0;
    for (TFontStyle f : S) bits |= 1 << int(f);
    return bits;
}

TFontStyles FontStyleOfBits(int Bits) {
    TFontStyles s;
    for (int f = fsBold; f <= fsStrikeOut; ++f)
        if (Bits & (1 << f)) s.insert(TFontStyle(f));
    return s;
}

constexpr int MaxInt = 0x7FFFFFFF;
constexpr int MinInt = -MaxInt - 1;

// A pointer-sized value as a decimal text (left out when zero).
TPublishedProperty PropPointer(const char* Name, std::function<quintptr(TCellProperties*)> Get,
                               std::function<void(TCellProperties*, quintptr)> Set) {
    return {QStringLiteral("CellProperties.") + String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteString(String::number(quint64(Get(Props(P))))); },
            [Set](TReader& R, TPersistent* P) {
                bool ok = false;
                const quint64 v = R.ReadString().toULongLong(&ok);
                if (!ok || v > quint64(std::numeric_limits<quintptr>::max())) BadStream();
                Set(Props(P), quintptr(v));
            },
            [Get](TPersistent* P) { return Get(Props(P)) != 0; }};
}

TPublishedProperties CellPropTable() {
    using C = TCellProperties;
    TPublishedProperties t;
    t.push_back(PropBool(
        "IsBaseCell", [](C* p) { return p->IsBaseCell(); }, [](C* p, bool v) { p->SetIsBaseCell(v); }));
    t.push_back(PropInt(
        "CellSpanX", [](C* p) { return p->CellSpanX(); }, [](C* p, int v) { p->SetCellSpanX(v); }, -0xFFFF,
        0xFFFF));
    t.push_back(PropInt(
        "CellSpanY", [](C* p) { return p->CellSpanY(); }, [](C* p, int v) { p->SetCellSpanY(v); }, -0x7FFFFF,
        0x7FFFFF));
    t.push_back(PropInt(
        "Alignment", [](C* p) { return int(p->Alignment()); },
        [](C* p, int v) { p->SetAlignment(TAlignment(v)); }, taLeftJustify, taCenter));
    t.push_back(PropInt(
        "BorderColor", [](C* p) { return int(p->BorderColor()); },
        [](C* p, int v) { p->SetBorderColor(TColor(v)); }, MinInt, MaxInt));
    t.push_back(PropInt(
        "BorderWidth", [](C* p) { return p->BorderWidth(); }, [](C* p, int v) { p->SetBorderWidth(v); }, 0,
        0xFFFF));
    t.push_back(PropInt(
        "BrushColor", [](C* p) { return int(p->BrushColor()); },
        [](C* p, int v) { p->SetBrushColor(TColor(v)); }, MinInt, MaxInt));
    t.push_back(PropInt(
        "BrushColorTo", [](C* p) { return int(p->BrushColorTo()); },
        [](C* p, int v) { p->SetBrushColorTo(TColor(v)); }, MinInt, MaxInt));
    t.push_back(PropInt(
        "BrushStyle", [](C* p) { return int(p->BrushStyle()); },
        [](C* p, int v) { p->SetBrushStyle(TBrushStyle(v)); }, bsSolid, bsDiagCross));
    t.push_back(PropPointer(
        "CellObject", [](C* p) { return p->CellObject(); }, [](C* p, quintptr v) { p->SetCellObject(v); }));
    t.push_back(PropInt(
        "FontColor", [](C* p) { return int(p->FontColor()); },
        [](C* p, int v) { p->SetFontColor(TColor(v)); }, MinInt, MaxInt));
    t.push_back({QStringLiteral("CellProperties.FontName"),
                 [](TWriter& W, TPersistent* P) { W.WriteString(Props(P)->FontName()); },
                 [](TReader& R, TPersistent* P) { Props(P)->SetFontName(R.ReadString()); },
                 [](TPersistent* P) { return !Props(P)->FontName().isEmpty(); }});
    t.push_back(PropInt(
        "FontSize", [](C* p) { return p->FontSize(); }, [](C* p, int v) { p->SetFontSize(v); }, -0xFFFF,
        0xFFFF));
    t.push_back(PropInt(
        "FontStyle", [](C* p) { return FontStyleBits(p->FontStyle()); },
        [](C* p, int v) { p->SetFontStyle(FontStyleOfBits(v)); }, 0, 15));
    t.push_back(PropInt(
        "Editor", [](C* p) { return int(p->Editor()); }, [](C* p, int v) { p->SetEditor(TEditorType(v)); },
        edNormal, edMaskEditBtn));
    t.push_back(PropInt(
        "GradientDirection", [](C* p) { return int(p->GradientDirection()); },
        [](C* p, int v) { p->SetGradientDirection(TCellGradientDirection(v)); }, GradientVertical,
        GradientHorizontal));
    t.push_back(PropBool(
        "ReadOnly", [](C* p) { return p->ReadOnly(); }, [](C* p, bool v) { p->SetReadOnly(v); }));
    t.push_back(PropInt(
        "VAlignment", [](C* p) { return int(p->VAlignment()); },
        [](C* p, int v) { p->SetVAlignment(TVAlignment(v)); }, vtaTop, vtaBottom));
    t.push_back(PropBool(
        "WordWrap", [](C* p) { return p->WordWrap(); }, [](C* p, bool v) { p->SetWordWrap(v); }));
    t.push_back(PropInt(
        "NodeLevel", [](C* p) { return p->NodeLevel(); }, [](C* p, int v) { p->SetNodeLevel(v); }, 0,
        0xFFFF));
    t.push_back(PropPointer(
        "Control", [](C* p) { return quintptr(p->Control()); },
        [](C* p, quintptr v) { p->SetControl(reinterpret_cast<TControl*>(v)); }));
    return t;
}

// ---- Cell graphic, nested as "CellGraphic.<name>" ----

TCellGraphic* Graphic(TPersistent* P) {
    return As<TGridGraphicIO>(P)->CellGraphic.get();
}

template <class F>
TPublishedProperty GraphicInt(const char* Name, F TCellGraphic::*Field, int Low, int High) {
    return {
        QStringLiteral("CellGraphic.") + String::fromLatin1(Name),
        [Field](TWriter& W, TPersistent* P) { W.WriteInteger(int(Graphic(P)->*Field)); },
        [Field, Low, High](TReader& R, TPersistent* P) { Graphic(P)->*Field = F(ReadRanged(R, Low, High)); }};
}

TPublishedProperty GraphicBool(const char* Name, bool TCellGraphic::*Field) {
    return {QStringLiteral("CellGraphic.") + String::fromLatin1(Name),
            [Field](TWriter& W, TPersistent* P) { W.WriteBoolean(Graphic(P)->*Field); },
            [Field](TReader& R, TPersistent* P) { Graphic(P)->*Field = R.ReadBoolean(); }};
}

TPublishedProperties GraphicTable() {
    using G = TCellGraphic;
    TPublishedProperties t;
    t.push_back(GraphicInt("CellType", &G::CellType, ctBitmap, ctExpand));
    t.push_back(GraphicInt("CellVAlign", &G::CellVAlign, vaTop, vaFull));
    t.push_back(GraphicInt("CellHAlign", &G::CellHAlign, haLeft, haFull));
    t.push_back(GraphicInt("CellIndex", &G::CellIndex, MinInt, MaxInt));
    t.push_back(GraphicBool("CellTransparent", &G::CellTransparent));
    t.push_back(GraphicBool("CellCreated", &G::CellCreated));
    t.push_back(GraphicBool("CellBoolean", &G::CellBoolean));
    t.push_back(GraphicInt("CellCheckBoxState", &G::CellCheckBoxState, cbUnchecked, cbGrayed));
    t.push_back(GraphicInt("CellAngle", &G::CellAngle, MinInt, MaxInt));
    t.push_back({QStringLiteral("CellGraphic.CellValue"),
                 [](TWriter& W, TPersistent* P) { W.WriteDouble(Graphic(P)->CellValue); },
                 [](TReader& R, TPersistent* P) { Graphic(P)->CellValue = R.ReadDouble(); },
                 [](TPersistent* P) { return Graphic(P)->CellValue != 0; }});
    t.push_back(GraphicInt("CellErrFrom", &G::CellErrFrom, MinInt, MaxInt));
    t.push_back(GraphicInt("CellErrLen", &G::CellErrLen, MinInt, MaxInt));
    t.push_back({QStringLiteral("CellGraphic.CellText"),
                 [](TWriter& W, TPersistent* P) { W.WriteString(Graphic(P)->CellText); },
                 [](TReader& R, TPersistent* P) { Graphic(P)->CellText = R.ReadString(); },
                 [](TPersistent* P) { return !Graphic(P)->CellText.isEmpty(); }});
    return t;
}

// ---- Picture data ----

QByteArray GraphicBytes(TGraphic* G) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    G->SaveToStream(&buf);
    return bytes;
}

void LoadGraphicBytes(TGraphic* G, const QByteArray& Bytes) {
    QByteArray data = Bytes;
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    try {
        G->LoadFromStream(&buf);
    } catch (const Exception&) {
        BadStream();
    }
}

// A picture's data: the graphic's class name (one byte of length, then the name), then the
// graphic's own bytes.
QByteArray PictureBytes(TPicture* P) {
    const QByteArray name = P->Graphic()->ClassName().toLatin1().left(255);
    return char(name.size()) + name + GraphicBytes(P->Graphic());
}

void LoadPictureBytes(TPicture* P, const QByteArray& Bytes) {
    if (Bytes.isEmpty()) BadStream();
    const int n = Byte(Bytes[0]);
    if (Bytes.size() < 1 + n) BadStream();
    const QByteArray name = Bytes.mid(1, n);
    std::unique_ptr<TGraphic> g;
    if (name == "TBitmap")
        g.reset(new TBitmap());
    else if (name == "TIcon")
        g.reset(new TIcon());
    else
        BadStream();
    LoadGraphicBytes(g.get(), Bytes.mid(1 + n));
    P->SetGraphic(g.get());
}

} // namespace

void RegisterGridStreamIO() {
    static const bool done = [] {
        RegisterPublishedProperties(QStringLiteral("TGridPropIO"),
                                    {IntField("ColCount", &TGridPropIO::ColCount, MinInt, MaxInt),
                                     IntField("RowCount", &TGridPropIO::RowCount, MinInt, MaxInt),
                                     StringField("ColWidths", &TGridPropIO::ColWidths),
                                     StringField("RowHeights", &TGridPropIO::RowHeights),
                                     BoolField("FullGrid", &TGridPropIO::FullGrid),
                                     IntField("ID", &TGridPropIO::ID, MinInt, MaxInt)});
        RegisterPublishedProperties(
            QStringLiteral("TGridCellIO"),
            {IntField("Col", &TGridCellIO::Col, 0, 0xFFFF), IntField("Row", &TGridCellIO::Row, 0, 0xFFFF),
             StringField("Cell", &TGridCellIO::Cell), BoolField("HasProp", &TGridCellIO::HasProp)});
        TPublishedProperties cellProps = CellPropTable();
        cellProps.push_back(BoolField("HasGraphic", &TGridCellPropIO::HasGraphic));
        RegisterPublishedProperties(QStringLiteral("TGridCellPropIO"), std::move(cellProps));
        RegisterPublishedProperties(QStringLiteral("TGridGraphicIO"), GraphicTable());
        RegisterPublishedProperties(QStringLiteral("TGridBMPIO"),
                                    {{QStringLiteral("Bitmap.Data"),
                                      [](TWriter& W, TPersistent* P) {
                                          W.WriteBinary(GraphicBytes(As<TGridBMPIO>(P)->Bitmap.get()));
                                      },
                                      [](TReader& R, TPersistent* P) {
                                          LoadGraphicBytes(As<TGridBMPIO>(P)->Bitmap.get(), R.ReadBinary());
                                      },
                                      [](TPersistent* P) { return !As<TGridBMPIO>(P)->Bitmap->Empty(); }}});
        RegisterPublishedProperties(
            QStringLiteral("TGridIconIO"),
            {{QStringLiteral("Icon.Data"),
              [](TWriter& W, TPersistent* P) { W.WriteBinary(GraphicBytes(As<TGridIconIO>(P)->Icon.get())); },
              [](TReader& R, TPersistent* P) {
                  LoadGraphicBytes(As<TGridIconIO>(P)->Icon.get(), R.ReadBinary());
              },
              [](TPersistent* P) { return !As<TGridIconIO>(P)->Icon->Empty(); }}});
        RegisterPublishedProperties(QStringLiteral("TGridPicIO"),
                                    {{QStringLiteral("Picture.Data"),
                                      [](TWriter& W, TPersistent* P) {
                                          W.WriteBinary(PictureBytes(As<TGridPicIO>(P)->Picture.get()));
                                      },
                                      [](TReader& R, TPersistent* P) {
                                          LoadPictureBytes(As<TGridPicIO>(P)->Picture.get(), R.ReadBinary());
                                      },
                                      [](TPersistent* P) {
                                          TGraphic* g = As<TGridPicIO>(P)->Picture->Graphic();
                                          return g && !g->Empty();
                                      }}});
        RegisterPublishedProperties(
            QStringLiteral("TGridFilePicIO"),
            {{QStringLiteral("Picture.Filename"),
              [](TWriter& W, TPersistent* P) { W.WriteString(As<TGridFilePicIO>(P)->Picture->Filename()); },
              [](TReader& R, TPersistent* P) {
                  // The name travels whether or not the file can be read here.
                  const String name = R.ReadString();
                  try {
                      As<TGridFilePicIO>(P)->Picture->SetFilename(name);
                  } catch (const Exception&) {
                  }
              },
              [](TPersistent* P) { return !As<TGridFilePicIO>(P)->Picture->Filename().isEmpty(); }}});
        RegisterPublishedProperties(
            QStringLiteral("TGridSLIO"),
            {{QStringLiteral("Strings.Strings"),
              [](TWriter& W, TPersistent* P) { W.WriteStrings(As<TGridSLIO>(P)->Strings.get()); },
              [](TReader& R, TPersistent* P) { R.ReadStrings(As<TGridSLIO>(P)->Strings.get()); },
              [](TPersistent* P) { return As<TGridSLIO>(P)->Strings->Count() > 0; }}});
        return true;
    }();
    (void)done;
}
