// TAdvStringGrid: what the grid saves of itself and reads back. The column state as one text,
// column widths and positions in an INI file or the registry, the look in a file of "Key=Value"
// lines and the print settings in an INI file.
//
// Everything read is checked whole before anything is applied where a part-way application
// would leave the grid in a state it never had (the column state, the column positions); files
// are written whole or not at all (the string list and the INI store write through a temporary
// file), so a failed save leaves the old file as it was.
#include "AdvGrid.h"

#include "Forms.h"
#include "GridUtil.h"
#include "IniFiles.h"
#include "Registry.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using TStore = std::unique_ptr<TCustomIniFile, void (*)(TCustomIniFile*)>;
void FreeStore(TCustomIniFile* S) {
    TObject::Free(S);
}

// A comma-separated list of fields; an empty text is an empty list.
QStringList SplitFields(const String& S) {
    return S.isEmpty() ? QStringList() : S.split(u',');
}

// Every field as an integer (the system integer syntax); false when one is none.
bool ParseIntegers(const QStringList& Fields, std::vector<int>& Values) {
    Values.clear();
    Values.reserve(size_t(Fields.size()));
    for (const String& f : Fields) {
        int v = 0;
        if (!TryStrToInt(f, v)) return false;
        Values.push_back(v);
    }
    return true;
}

// For p = 0 .. Count - 1 in turn, every position of Order whose entry is p.
std::vector<int> InverseOrder(const std::vector<int>& Order, int Count) {
    std::vector<int> inverse;
    for (int p = 0; p < Count; ++p)
        for (size_t i = 0; i < Order.size(); ++i)
            if (Order[i] == p) inverse.push_back(int(i));
    return inverse;
}

// Raises the file error of a save that could not write its file.
[[noreturn]] void CannotCreate(const String& FileName) {
    throw EFCreateError(QStringLiteral("Cannot Create ") + FileName);
}

// Flushes a store: a file that cannot be written is reported by its name, the old one stays.
void FlushStore(TCustomIniFile* Store) {
    try {
        Store->UpdateFile();
    } catch (const EFCreateError&) {
        CannotCreate(Store->FileName());
    }
}

} // namespace

// =============================================================================================
// The column state

String TAdvStringGrid::ColumnStatesToString() {
    const int n = ColCount() + NumHiddenColumns();
    QStringList widths, order, visible;
    for (int i = 0; i < n; ++i) widths << IntToStr(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    if (!FColumnOrder.empty())
        for (int e : FColumnOrder) order << IntToStr(e);
    else
        for (int i = 0; i < n; ++i) order << IntToStr(i);
    for (int i = 0; i < n; ++i) visible << (IsHiddenColumn(i) ? QStringLiteral("0") : QStringLiteral("1"));
    return IntToStr(n) + u'#' + widths.join(u',') + u'#' + order.join(u',') + u'#' + visible.join(u',');
}

void TAdvStringGrid::StringToColumnStates(const String& Value) {
    if (!Value.contains(u'#')) return;

    // The whole text is checked before anything changes: a damaged one is refused untouched.
    const auto refuse = [&Value](const char* Why) {
        throw EConvertError(
            QStringLiteral("'%1' is not a valid column state: %2").arg(Value, QLatin1String(Why)));
    };
    const QStringList fields = Value.split(u'#');
    if (fields.size() < 4) refuse("four fields are needed");
    int n = 0;
    if (!TryStrToInt(fields[0], n) || n < 1 || n > MaxGridCols) refuse("no valid column count");
    std::vector<int> widths, stored;
    if (!ParseIntegers(SplitFields(fields[1]), widths)) refuse("a width is no number");
    if (std::any_of(widths.begin(), widths.end(), [](int w) { return w < 0; })) refuse("a width is negative");
    if (!ParseIntegers(SplitFields(fields[2]), stored)) refuse("an order entry is no number");
    const QStringList visible = SplitFields(fields[3]);
    if (visible.size() < n) refuse("a visibility entry is missing");
    // The order: its first n entries without the -1 ones, each a different column of the n.
    if (stored.size() > size_t(n)) stored.resize(size_t(n));
    std::erase(stored, -1);
    std::vector<bool> seen(size_t(n), false);
    for (int e : stored) {
        if (e < 0 || e >= n || seen[size_t(e)]) refuse("the order is no ordering of the columns");
        seen[size_t(e)] = true;
    }
    int hidden = 0;
    for (int i = 0; i < std::min(n, MaxHideableCols); ++i)
        if (visible[i] == u"0") ++hidden;
    if (int(widths.size()) < n - hidden) refuse("a width is missing");

    FColumnOrder.clear();
    UnHideColumnsAll();
    SetColCount(n);
    if (!stored.empty()) {
        FColumnOrder = InverseOrder(stored, ColCount());
        if (!FColumnOrder.empty()) ResetColumnOrder();
        FColumnOrder = stored;
    }
    for (int i = n - 1; i >= 0; --i)
        if (visible[i] == u"0") HideColumn(i);

    const bool stretch = FColumnSize->Stretch;
    FColumnSize->Stretch = false;
    if (stretch) {
        const int sc = FColumnSize->StretchColumn == -1 ? ColCount() - 1 : FColumnSize->StretchColumn;
        if (sc >= 0 && sc < ColCount()) SetDefaultColWidth(ColWidths(sc));
    }
    for (int i = 0; i < std::min(ColCount(), int(widths.size())); ++i) SetColWidths(i, widths[size_t(i)]);
    FColumnSize->Stretch = stretch;
    StretchSettingColumn();
}

// =============================================================================================
// Column sizes and positions

TCustomIniFile* TAdvStringGrid::OpenColumnStore() {
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || ComponentState().count(csDesigning))
        return nullptr;
    if (FColumnSize->Location == clIniFile) return new TMemIniFile(FColumnSize->Key);
    return new TRegistryIniFile(FColumnSize->Key);
}

void TAdvStringGrid::SaveColSizes() {
    TStore store(OpenColumnStore(), FreeStore);
    if (!store) return;
    const String& section = FColumnSize->Section;
    for (int i = 0; i < ColCount(); ++i) store->WriteInteger(section, "Col" + IntToStr(i), ColWidths(i));
    FlushStore(store.get());
}

void TAdvStringGrid::LoadColSizes() {
    TStore store(OpenColumnStore(), FreeStore);
    if (!store) return;
    const String& section = FColumnSize->Section;
    for (int i = 0; i < ColCount(); ++i) {
        const int w = store->ReadInteger(section, "Col" + IntToStr(i), ColWidths(i));
        // A negative width is no width a grid saves: the column keeps its own.
        if (w >= 0 && w != ColWidths(i)) SetColWidths(i, w);
    }
    FlushStore(store.get());
}

void TAdvStringGrid::SaveColPositions() {
    TStore store(OpenColumnStore(), FreeStore);
    if (!store) return;
    for (size_t i = 0; i < FColumnOrder.size(); ++i)
        store->WriteInteger(FColumnSize->Section, "Pos" + IntToStr(int(i)), FColumnOrder[i]);
    FlushStore(store.get());
}

void TAdvStringGrid::LoadColPositions() {
    TStore store(OpenColumnStore(), FreeStore);
    if (!store) return;
    const String& section = FColumnSize->Section;
    const int all = ColCount() + NumHiddenColumns();
    // The whole set first: every position present, together an ordering of the columns. Any
    // other set moves nothing, as a missing first key does.
    std::vector<int> stored;
    std::vector<bool> seen(size_t(all), false);
    bool valid = store->ReadInteger(section, "Pos0", -1) != -1;
    for (int i = 0; valid && i < all; ++i) {
        const int e = store->ReadInteger(section, "Pos" + IntToStr(i), -1);
        valid = e >= 0 && e < all && !seen[size_t(e)];
        if (valid) seen[size_t(e)] = true;
        stored.push_back(e);
    }
    if (valid) {
        std::vector<int> hidden;
        for (int c = 0; c < std::min(all, MaxHideableCols); ++c)
            if (IsHiddenColumn(c)) hidden.push_back(c);
        FColumnOrder = InverseOrder(stored, all);
        UnHideColumnsAll();
        if (!FColumnOrder.empty()) ResetColumnOrder();
        for (int c : hidden) HideColumn(c);
        FColumnOrder = stored;
    }
    FlushStore(store.get());
}

void TAdvStringGrid::LoadSavedColSizes() {
    try {
        LoadColSizes();
    } catch (const std::exception&) {
        if (Application) Application->HandleException(this);
    }
}

void TAdvStringGrid::SaveColSizesOnExit() {
    try {
        SaveColSizes();
    } catch (const std::exception&) {
        if (Application) Application->HandleException(this);
    }
}

// =============================================================================================
// The visual properties file

namespace {

// One key of the file: how its value is written and how a read value is applied.
struct TVisualProp {
    String Key;
    std::function<String()> Get;
    std::function<void(const String&)> Set;
};

TVisualProp ColorProp(const String& Key, std::function<TColor()> Get, std::function<void(TColor)> Set) {
    return {Key, [Get] { return ColorToString(Get()); },
            [Set](const String& V) { Set(V.isEmpty() ? clNone : StringToColor(V)); }};
}

TVisualProp BoolProp(const String& Key, std::function<bool()> Get, std::function<void(bool)> Set) {
    return {Key, [Get] { return Get() ? QStringLiteral("true") : QStringLiteral("false"); },
            [Set](const String& V) { Set(V.toUpper() == u"TRUE"); }};
}

// A missing, empty or non-numeric value raises the conversion error.
TVisualProp IntProp(const String& Key, std::function<int()> Get, std::function<void(int)> Set) {
    return {Key, [Get] { return IntToStr(Get()); }, [Set](const String& V) { Set(StrToInt(V)); }};
}

// Written by value name (an ordinal without one as an empty value); an empty or unknown name
// leaves the property as it is.
TVisualProp EnumProp(const String& Key, QStringList Names, std::function<int()> Get,
                     std::function<void(int)> Set) {
    return {Key,
            [Names, Get] {
                const int v = Get();
                return v >= 0 && v < Names.size() ? Names[v] : String();
            },
            [Names, Set](const String& V) {
                for (int i = 0; i < Names.size(); ++i)
                    if (!V.isEmpty() && Names[i].compare(V, Qt::CaseInsensitive) == 0) return Set(i);
            }};
}

const QStringList FontStyleWords = {QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                    QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};

// A font as four keys: colour, style words, point size and name (an empty name is kept out).
void AddFontProps(std::vector<TVisualProp>& Props, const String& Prefix, TFont* F) {
    Props.push_back(ColorProp(
        Prefix + QStringLiteral(".Color"), [F] { return F->Color(); }, [F](TColor C) { F->SetColor(C); }));
    Props.push_back({Prefix + QStringLiteral(".Style"),
                     [F] {
                         TStringList words;
                         for (int s = fsBold; s <= fsStrikeOut; ++s)
                             if (F->HasStyle(TFontStyle(s))) words.Add(FontStyleWords[s - fsBold]);
                         return words.CommaText();
                     },
                     [F](const String& V) {
                         TFontStyles style;
                         for (int s = fsBold; s <= fsStrikeOut; ++s)
                             if (V.contains(FontStyleWords[s - fsBold])) style.insert(TFontStyle(s));
                         F->SetStyle(style);
                     }});
    Props.push_back(IntProp(
        Prefix + QStringLiteral(".Size"), [F] { return F->Size(); }, [F](int V) { F->SetSize(V); }));
    Props.push_back({Prefix + QStringLiteral(".Name"), [F] { return F->Name(); },
                     [F](const String& V) {
                         if (!V.isEmpty()) F->SetName(V);
                     }});
}

} // namespace

// The keys in the order of the file. The colours of the grid lines are applied right after
// SearchFooter.ColorTo (VisualPropsApplyOrder).
static std::vector<TVisualProp> VisualProps(TAdvStringGrid* G) {
    std::vector<TVisualProp> p;
    p.push_back(ColorProp(
        "Color", [G] { return G->Color(); }, [G](TColor C) { G->SetColor(C); }));
    p.push_back(ColorProp(
        "HintColor", [G] { return G->HintColor; }, [G](TColor C) { G->HintColor = C; }));
    p.push_back(ColorProp(
        "SelectionColor", [G] { return G->SelectionColor(); }, [G](TColor C) { G->SetSelectionColor(C); }));
    p.push_back(ColorProp(
        "SelectionColorTo", [G] { return G->SelectionColorTo(); },
        [G](TColor C) { G->SetSelectionColorTo(C); }));
    p.push_back(ColorProp(
        "SelectionMirrorColor", [G] { return G->SelectionMirrorColor(); },
        [G](TColor C) { G->SetSelectionMirrorColor(C); }));
    p.push_back(ColorProp(
        "SelectionMirrorColorTo", [G] { return G->SelectionMirrorColorTo(); },
        [G](TColor C) { G->SetSelectionMirrorColorTo(C); }));
    p.push_back(ColorProp(
        "SelectionTextColor", [G] { return G->SelectionTextColor(); },
        [G](TColor C) { G->SetSelectionTextColor(C); }));
    p.push_back(ColorProp(
        "URLColor", [G] { return G->URLColor(); }, [G](TColor C) { G->SetURLColor(C); }));
    p.push_back(BoolProp(
        "URLShow", [G] { return G->URLShow(); }, [G](bool B) { G->SetURLShow(B); }));
    p.push_back(BoolProp(
        "URLShowInText", [G] { return G->URLShowInText(); }, [G](bool B) { G->SetURLShowInText(B); }));
    p.push_back(ColorProp(
        "ScrollColor", [G] { return G->ScrollColor(); }, [G](TColor C) { G->SetScrollColor(C); }));
    p.push_back(ColorProp(
        "ActiveRowColor", [G] { return G->ActiveRowColor(); }, [G](TColor C) { G->SetActiveRowColor(C); }));
    p.push_back(BoolProp(
        "ActiveRowShow", [G] { return G->ActiveRowShow(); }, [G](bool B) { G->SetActiveRowShow(B); }));
    p.push_back(BoolProp(
        "ActiveCellShow", [G] { return G->ActiveCellShow(); }, [G](bool B) { G->SetActiveCellShow(B); }));
    AddFontProps(p, QStringLiteral("Font"), G->Font());
    p.push_back(ColorProp(
        "ActiveCellColor", [G] { return G->ActiveCellColor(); },
        [G](TColor C) { G->SetActiveCellColor(C); }));
    p.push_back(ColorProp(
        "ActiveCellColorTo", [G] { return G->ActiveCellColorTo(); },
        [G](TColor C) { G->SetActiveCellColorTo(C); }));
    AddFontProps(p, QStringLiteral("ActiveCellFont"), G->ActiveCellFont());
    AddFontProps(p, QStringLiteral("FixedFont"), G->FixedFont());
    TBalloonSettings* balloon = G->Balloon();
    p.push_back(ColorProp(
        "Balloon.BackgroundColor", [balloon] { return balloon->BackgroundColor(); },
        [balloon](TColor C) { balloon->SetBackgroundColor(C); }));
    p.push_back(ColorProp(
        "Balloon.TextColor", [balloon] { return balloon->TextColor(); },
        [balloon](TColor C) { balloon->SetTextColor(C); }));
    p.push_back(IntProp(
        "Balloon.Transparency", [balloon] { return int(balloon->Transparency()); },
        [balloon](int V) { balloon->SetTransparency(Byte(std::clamp(V, 0, 255))); }));
    TBands* bands = G->Bands();
    p.push_back(ColorProp(
        "Bands.PrimaryColor", [bands] { return bands->PrimaryColor(); },
        [bands](TColor C) { bands->SetPrimaryColor(C); }));
    p.push_back(ColorProp(
        "Bands.SecondaryColor", [bands] { return bands->SecondaryColor(); },
        [bands](TColor C) { bands->SetSecondaryColor(C); }));
    p.push_back(BoolProp(
        "Bands.Active", [bands] { return bands->Active(); }, [bands](bool B) { bands->SetActive(B); }));
    TSortSettings* sort = G->SortSettings();
    p.push_back(ColorProp(
        "SortSettings.IndexColor", [sort] { return sort->IndexColor(); },
        [sort](TColor C) { sort->SetIndexColor(C); }));
    TFloatingFooter* footer = G->FloatingFooter();
    p.push_back(ColorProp(
        "FloatingFooter.Color", [footer] { return footer->Color(); },
        [footer](TColor C) { footer->SetColor(C); }));
    TControlLook* look = G->ControlLook();
    p.push_back(IntProp(
        "ControlLook.CheckSize", [look] { return look->CheckSize(); },
        [look](int V) { look->SetCheckSize(V); }));
    p.push_back(ColorProp(
        "ControlLook.Color", [look] { return look->Color(); }, [look](TColor C) { look->SetColor(C); }));
    p.push_back(ColorProp(
        "ControlLook.CommentColor", [look] { return look->CommentColor(); },
        [look](TColor C) { look->SetCommentColor(C); }));
    p.push_back(EnumProp(
        "ControlLook.ControlStyle",
        {QStringLiteral("csClassic"), QStringLiteral("csFlat"), QStringLiteral("csWinXP"),
         QStringLiteral("csKestril"), QStringLiteral("csKit"), QStringLiteral("csGlyph"),
         QStringLiteral("csTheme")},
        [look] { return int(look->ControlStyle()); },
        [look](int V) { look->SetControlStyle(TGridControlStyle(V)); }));
    p.push_back(ColorProp(
        "ControlLook.FixedGradientFrom", [look] { return look->FixedGradientFrom(); },
        [look](TColor C) { look->SetFixedGradientFrom(C); }));
    p.push_back(ColorProp(
        "ControlLook.FixedGradientTo", [look] { return look->FixedGradientTo(); },
        [look](TColor C) { look->SetFixedGradientTo(C); }));
    p.push_back(IntProp(
        "ControlLook.RadioSize", [look] { return look->RadioSize(); },
        [look](int V) { look->SetRadioSize(V); }));
    p.push_back(BoolProp(
        "ControlLook.FlatButton", [look] { return look->FlatButton(); },
        [look](bool B) { look->SetFlatButton(B); }));
    p.push_back(ColorProp(
        "ControlLook.ProgressBorderColor", [look] { return look->ProgressBorderColor(); },
        [look](TColor C) { look->SetProgressBorderColor(C); }));
    p.push_back(BoolProp(
        "ControlLook.ProgressXP", [look] { return look->ProgressXP(); },
        [look](bool B) { look->SetProgressXP(B); }));
    p.push_back(EnumProp(
        "Look",
        {QStringLiteral("glStandard"), QStringLiteral("glSoft"), QStringLiteral("glClassic"),
         QStringLiteral("glKit"), QStringLiteral("glXP"), QStringLiteral("glListView"),
         QStringLiteral("glVista"), QStringLiteral("glWin7"), QStringLiteral("glOffice2007")},
        [G] { return int(G->Look()); }, [G](int V) { G->SetLook(TGridLook(V)); }));
    TSearchFooter* search = G->SearchFooter();
    p.push_back(ColorProp(
        "SearchFooter.Color", [search] { return search->Color(); },
        [search](TColor C) { search->SetColor(C); }));
    p.push_back(ColorProp(
        "SearchFooter.ColorTo", [search] { return search->ColorTo(); },
        [search](TColor C) { search->SetColorTo(C); }));
    TGrouping* gr = G->Grouping();
    const auto groupColor = [&p, gr](const char* Key, TColor TGrouping::*Field) {
        p.push_back(ColorProp(
            Key, [gr, Field] { return gr->*Field; }, [gr, Field](TColor C) { gr->*Field = C; }));
    };
    const auto groupBool = [&p, gr](const char* Key, bool TGrouping::*Field) {
        p.push_back(BoolProp(
            Key, [gr, Field] { return gr->*Field; }, [gr, Field](bool B) { gr->*Field = B; }));
    };
    const auto groupInt = [&p, gr](const char* Key, int TGrouping::*Field) {
        p.push_back(IntProp(
            Key, [gr, Field] { return gr->*Field; }, [gr, Field](int V) { gr->*Field = V; }));
    };
    groupColor("Grouping.HeaderColor", &TGrouping::HeaderColor);
    groupColor("Grouping.HeaderColorTo", &TGrouping::HeaderColorTo);
    groupColor("Grouping.HeaderTextColor", &TGrouping::HeaderTextColor);
    groupBool("Grouping.HeaderUnderline", &TGrouping::HeaderUnderline);
    groupColor("Grouping.HeaderLineColor", &TGrouping::HeaderLineColor);
    groupInt("Grouping.HeaderLineWidth", &TGrouping::HeaderLineWidth);
    groupColor("Grouping.SummaryColor", &TGrouping::SummaryColor);
    groupColor("Grouping.SummaryColorTo", &TGrouping::SummaryColorTo);
    groupColor("Grouping.SummaryTextColor", &TGrouping::SummaryTextColor);
    groupBool("Grouping.SummaryLine", &TGrouping::SummaryLine);
    groupColor("Grouping.SummaryLineColor", &TGrouping::SummaryLineColor);
    groupInt("Grouping.SummaryLineWidth", &TGrouping::SummaryLineWidth);
    p.push_back(ColorProp(
        "GridLineColor", [G] { return G->GridLineColor(); }, [G](TColor C) { G->SetGridLineColor(C); }));
    p.push_back(ColorProp(
        "GridFixedLineColor", [G] { return G->GridFixedLineColor(); },
        [G](TColor C) { G->SetGridFixedLineColor(C); }));
    TBackGround* bg = G->BackGround();
    p.push_back(IntProp(
        "BackGround.Top", [bg] { return bg->Top(); }, [bg](int V) { bg->SetTop(V); }));
    p.push_back(IntProp(
        "BackGround.Left", [bg] { return bg->Left(); }, [bg](int V) { bg->SetLeft(V); }));
    p.push_back(EnumProp(
        "BackGround.Display",
        {QStringLiteral("bdTile"), QStringLiteral("bdFixed"), QStringLiteral("bdGradientHorz"),
         QStringLiteral("bdGradientVert")},
        [bg] { return int(bg->Display()); }, [bg](int V) { bg->SetDisplay(TBackGroundDisplay(V)); }));
    p.push_back(EnumProp(
        "BackGround.Cells", {QStringLiteral("bcNormal"), QStringLiteral("bcFixed"), QStringLiteral("bcAll")},
        [bg] { return int(bg->Cells()); }, [bg](int V) { bg->SetCells(TBackGroundCells(V)); }));
    p.push_back(ColorProp(
        "BackGround.Color", [bg] { return bg->Color(); }, [bg](TColor C) { bg->SetColor(C); }));
    p.push_back(ColorProp(
        "BackGround.ColorTo", [bg] { return bg->ColorTo(); }, [bg](TColor C) { bg->SetColorTo(C); }));
    return p;
}

void TAdvStringGrid::SaveVisualProps(const String& FileName) {
    TStringList lines;
    for (const TVisualProp& prop : VisualProps(this)) lines.Add(prop.Key + u'=' + prop.Get());
    try {
        lines.SaveToFile(FileName, TEncoding::ANSI);
    } catch (const EStreamError&) {
        CannotCreate(FileName);
    }
}

void TAdvStringGrid::LoadVisualProps(const String& FileName) {
    TStringList lines;
    try {
        if (DirectoryExists(FileName)) throw EFOpenError(FileName);
        lines.LoadFromFile(FileName, TEncoding::ANSI);
    } catch (const EStreamError&) {
        throw EFOpenError(QStringLiteral("Cannot open file ") + FileName);
    }
    // The first line of each key counts; the names are compared without regard to case.
    const auto valueOf = [&lines](const String& Key) {
        for (int i = 0; i < lines.Count(); ++i) {
            const String line = lines.Strings(i);
            const int eq = line.indexOf(u'=');
            if (eq >= 0 && line.left(eq).trimmed().compare(Key, Qt::CaseInsensitive) == 0)
                return line.mid(eq + 1);
        }
        return String();
    };
    std::vector<TVisualProp> props = VisualProps(this);
    // The grid-line colours follow SearchFooter.ColorTo.
    const auto at = [&props](const char* Key) {
        return std::find_if(props.begin(), props.end(),
                            [Key](const TVisualProp& P) { return P.Key == QLatin1String(Key); });
    };
    std::vector<TVisualProp> lineColors(at("GridLineColor"), at("GridLineColor") + 2);
    props.erase(at("GridLineColor"), at("GridLineColor") + 2);
    props.insert(at("SearchFooter.ColorTo") + 1, lineColors.begin(), lineColors.end());
    for (const TVisualProp& prop : props) prop.Set(valueOf(prop.Key));
}

// =============================================================================================
// The print settings file

namespace {

String YesNo(bool B) {
    return B ? QStringLiteral("Y") : QStringLiteral("N");
}

// Style bits: 1 bold, 2 italic, 4 underline, 8 strike-out.
int FontStyleBits(const TFont* F) {
    int bits = 0;
    for (int s = fsBold; s <= fsStrikeOut; ++s)
        if (F->HasStyle(TFontStyle(s))) bits |= 1 << (s - fsBold);
    return bits;
}

void WriteFont(TCustomIniFile* Ini, const String& Section, const String& Prefix, const TFont* F) {
    Ini->WriteString(Section, Prefix + QStringLiteral("Name"), F->Name());
    Ini->WriteInteger(Section, Prefix + QStringLiteral("Size"), F->Size());
    Ini->WriteInteger(Section, Prefix + QStringLiteral("Style"), FontStyleBits(F));
    Ini->WriteInteger(Section, Prefix + QStringLiteral("Color"), int(F->Color()));
}

// The stored style bits are added to the font's style.
void ReadFont(TCustomIniFile* Ini, const String& Section, const String& Prefix, TFont* F) {
    F->SetName(Ini->ReadString(Section, Prefix + QStringLiteral("Name"), QStringLiteral("Arial")));
    F->SetSize(Ini->ReadInteger(Section, Prefix + QStringLiteral("Size"), 10));
    const int bits = Ini->ReadInteger(Section, Prefix + QStringLiteral("Style"), 0);
    TFontStyles style = F->Style();
    for (int s = fsBold; s <= fsStrikeOut; ++s)
        if (bits & (1 << (s - fsBold))) style.insert(TFontStyle(s));
    F->SetStyle(style);
    F->SetColor(TColor(Ini->ReadInteger(Section, Prefix + QStringLiteral("Color"), 0)));
}

// Ordinals outside 0 .. Max leave the value as it is.
template <class E>
void ReadOrdinal(TCustomIniFile* Ini, const String& Section, const char* Key, int Max, E& Value) {
    const int v = Ini->ReadInteger(Section, QLatin1String(Key), 0);
    if (v >= 0 && v <= Max) Value = E(v);
}

// 1 .. 6 are the positions, anything else none.
TPrintPosition ReadPosition(TCustomIniFile* Ini, const String& Section, const char* Key) {
    const int v = Ini->ReadInteger(Section, QLatin1String(Key), 0);
    return v >= 1 && v <= 6 ? TPrintPosition(v) : ppNone;
}

} // namespace

void TAdvStringGrid::SavePrintSettings(const String& Key, const String& Section) {
    TPrintSettings* ps = FPrintSettings.get();
    TMemIniFile ini(Key);
    const auto i = [&](const char* K, int V) { ini.WriteInteger(Section, QLatin1String(K), V); };
    const auto s = [&](const char* K, const String& V) { ini.WriteString(Section, QLatin1String(K), V); };
    i("ColumnSpacing", ps->ColumnSpacing);
    i("RowSpacing", ps->RowSpacing);
    i("TitleSpacing", ps->TitleSpacing);
    i("FixedHeight", ps->FixedHeight);
    i("FixedWidth", ps->FixedWidth);
    s("Centered", YesNo(ps->Centered));
    s("NoAutoSize", YesNo(ps->NoAutoSize));
    s("UseFixedHeight", YesNo(ps->UseFixedHeight));
    s("UseFixedWidth", YesNo(ps->UseFixedWidth));
    s("RepeatFixedRows", YesNo(ps->RepeatFixedRows));
    s("RepeatFixedCols", YesNo(ps->RepeatFixedCols));
    s("UseDisplFont", YesNo(ps->UseDisplayFont));
    s("UseDefOrientation", YesNo(ps->UseDefaultOrientation));
    i("Borders", int(ps->Borders));
    i("BorderColor", int(ps->BorderColor));
    i("BorderStyle", int(ps->BorderStyle));
    i("Date", int(ps->Date));
    i("PageNr", int(ps->PageNr));
    i("Title", int(ps->Title));
    i("Time", int(ps->Time));
    s("DateFormat", ps->DateFormat);
    s("TitleText", ps->TitleText);
    i("FooterSize", ps->FooterSize);
    i("HeaderSize", ps->HeaderSize);
    i("LeftSize", ps->LeftSize);
    i("RightSize", ps->RightSize);
    i("FitToPage", int(ps->FitToPage));
    WriteFont(&ini, Section, QStringLiteral("Font"), ps->Font());
    WriteFont(&ini, Section, QStringLiteral("HeaderFont"), ps->HeaderFont());
    WriteFont(&ini, Section, QStringLiteral("FooterFont"), ps->FooterFont());
    s("PageNumSep", ps->PageNumSep);
    s("PageSuffix", ps->PageSuffix);
    s("PagePrefix", ps->PagePrefix);
    i("Orientation", int(ps->Orientation));
    s("TitleLines", EncodeLineEscapes(ps->TitleLines()->Text()));
    s("PrintGraphics", YesNo(ps->PrintGraphics));
    FlushStore(&ini);
}

void TAdvStringGrid::LoadPrintSettings(const String& Key, const String& Section) {
    TPrintSettings* ps = FPrintSettings.get();
    TMemIniFile ini(Key);
    const auto i = [&](const char* K, int D) { return ini.ReadInteger(Section, QLatin1String(K), D); };
    const auto s = [&](const char* K) { return ini.ReadString(Section, QLatin1String(K), String()); };
    const auto yes = [&](const char* K, const char* D) {
        return ini.ReadString(Section, QLatin1String(K), QLatin1String(D)) == u"Y";
    };
    ps->ColumnSpacing = i("ColumnSpacing", 20);
    ps->RowSpacing = i("RowSpacing", 20);
    ps->TitleSpacing = i("TitleSpacing", 20);
    ps->FixedHeight = i("FixedHeight", 0);
    ps->FixedWidth = i("FixedWidth", 0);
    ps->Centered = yes("Centered", "Y");
    ps->NoAutoSize = yes("NoAutoSize", "N");
    ps->UseFixedHeight = yes("UseFixedHeight", "N");
    ps->UseFixedWidth = yes("UseFixedWidth", "N");
    ps->RepeatFixedRows = yes("RepeatFixedRows", "N");
    ps->RepeatFixedCols = yes("RepeatFixedCols", "N");
    ps->UseDisplayFont = yes("UseDisplFont", "N");
    ps->UseDefaultOrientation = yes("UseDefOrientation", "N");
    ReadOrdinal(&ini, Section, "Borders", pbCustom, ps->Borders);
    ps->BorderColor = TColor(i("BorderColor", 0));
    ReadOrdinal(&ini, Section, "BorderStyle", 6, ps->BorderStyle);
    ps->Date = ReadPosition(&ini, Section, "Date");
    ps->PageNr = ReadPosition(&ini, Section, "PageNr");
    ps->Title = ReadPosition(&ini, Section, "Title");
    ps->Time = ReadPosition(&ini, Section, "Time");
    ps->DateFormat = s("DateFormat");
    ps->TitleText = s("TitleText");
    ps->FooterSize = i("FooterSize", 100);
    ps->HeaderSize = i("HeaderSize", 100);
    ps->LeftSize = i("LeftSize", 100);
    ps->RightSize = i("RightSize", 100);
    ReadOrdinal(&ini, Section, "FitToPage", fpCustom, ps->FitToPage);
    ReadFont(&ini, Section, QStringLiteral("Font"), ps->Font());
    ReadFont(&ini, Section, QStringLiteral("HeaderFont"), ps->HeaderFont());
    ReadFont(&ini, Section, QStringLiteral("FooterFont"), ps->FooterFont());
    ps->PageNumSep = s("PageNumSep");
    ps->PageSuffix = s("PageSuffix");
    ps->PagePrefix = s("PagePrefix");
    ReadOrdinal(&ini, Section, "Orientation", poLandscape, ps->Orientation);
    ps->TitleLines()->SetText(DecodeLineEscapes(s("TitleLines")));
    ps->PrintGraphics = yes("PrintGraphics", "N");
    FlushStore(&ini);
}
