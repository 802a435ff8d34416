// What the grid saves of itself and reads back: the column state text, column widths and
// positions in an INI file and in the registry, the visual properties file, the print settings
// file and the two settings objects; damaged input changes nothing, a failed save keeps the old
// file. Also the scroll bar a user operates over a scroll-bar cell.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "TestSupport.h"

#include "Forms.h"
#include "IniFiles.h"
#include "Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

// A grid of Cols columns whose header cells read "c0", "c1", ... and whose widths are given.
TAdvGridPtr MakeNamedGrid(const std::vector<int>& Widths) {
    TAdvGridPtr g = MakeAdvGrid(int(Widths.size()), 4);
    for (int c = 0; c < int(Widths.size()); ++c) {
        g->SetColWidths(c, Widths[size_t(c)]);
        g->SetCells(c, 0, QStringLiteral("c%1").arg(c));
    }
    return g;
}

// The header texts in display order.
QStringList Headers(TAdvStringGrid* G) {
    QStringList r;
    for (int d = 0; d < G->ColCount(); ++d) r << G->Cells(G->RealColIndex(d), 0);
    return r;
}

std::vector<int> Widths(TAdvStringGrid* G) {
    std::vector<int> r;
    for (int d = 0; d < G->ColCount(); ++d) r.push_back(G->ColWidths(d));
    return r;
}

QByteArray ReadBytes(const QString& Name) {
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& Name, const QByteArray& Bytes) {
    QFile f(Name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Bytes);
}

// While it lives, no file can grow past a few bytes (the limit holds for root as well): a save
// fails while writing its data.
class TFileSizeLimit {
public:
    TFileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = FOld;
        small.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

} // namespace

// =============================================================================================
// The column state text

TEST(AdvGridPersist, ColumnStateTextRoundTrips) {
    TAdvGridPtr g = MakeNamedGrid({80, 120, 64});
    EXPECT_EQ(g->ColumnStatesToString(), QStringLiteral("3#80,120,64#0,1,2#1,1,1"));

    // Into a grid of another shape: count, widths, order and visibility come back.
    TAdvGridPtr other = MakeNamedGrid({10, 20, 30, 40, 50});
    other->StringToColumnStates(g->ColumnStatesToString());
    EXPECT_EQ(other->ColCount(), 3);
    EXPECT_EQ(Widths(other.get()), (std::vector<int>{80, 120, 64}));
    EXPECT_EQ(other->ColumnStatesToString(), g->ColumnStatesToString());

    // A hidden column keeps its place in the count and is written as 0; loading hides it again.
    g->HideColumn(1);
    const int d = g->DefaultColWidth();
    EXPECT_EQ(g->ColumnStatesToString(), QStringLiteral("3#80,64,%1#0,1,2#1,0,1").arg(d));
    TAdvGridPtr back = MakeNamedGrid({10, 20, 30});
    back->StringToColumnStates(g->ColumnStatesToString());
    EXPECT_TRUE(back->IsHiddenColumn(1));
    EXPECT_EQ(back->ColCount(), 2);
    EXPECT_EQ(Widths(back.get()), (std::vector<int>{80, 64}));
    EXPECT_EQ(Headers(back.get()), (QStringList{"c0", "c2"}));
}

TEST(AdvGridPersist, ColumnStateTextRestoresTheOrder) {
    TAdvGridPtr g = MakeNamedGrid({40, 50, 60});
    g->MoveColumn(0, 2);
    ASSERT_EQ(Headers(g.get()), (QStringList{"c1", "c2", "c0"}));
    const String state = g->ColumnStatesToString();
    EXPECT_EQ(state.section(u'#', 2, 2), QStringLiteral("1,2,0"));

    TAdvGridPtr fresh = MakeNamedGrid({40, 50, 60});
    fresh->StringToColumnStates(state);
    EXPECT_EQ(Headers(fresh.get()), (QStringList{"c1", "c2", "c0"}));
    EXPECT_EQ(fresh->ColumnOrder(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(fresh->ColumnStatesToString(), state);
}

TEST(AdvGridPersist, DamagedColumnStateTextChangesNothing) {
    TAdvGridPtr g = MakeNamedGrid({30, 40, 50, 60});
    g->HideColumn(2);
    const String before = g->ColumnStatesToString();
    const QStringList headers = Headers(g.get());

    // Without "#" nothing happens and nothing is raised.
    g->StringToColumnStates(QStringLiteral("3,80,120"));
    EXPECT_EQ(g->ColumnStatesToString(), before);

    const char* damaged[] = {
        "x#80,120,64#0,1,2#1,1,1", // no count
        "0##0#1",                  // no columns
        "3#80,1x0,64#0,1,2#1,1,1", // a width no number
        "3#80,-5,64#0,1,2#1,1,1",  // a negative width
        "3#80,120#0,1,2#1,1,1",    // a width missing
        "3#80,120,64#0,1#1,1",     // a visibility entry missing
        "3#80,120,64#0,0,2#1,1,1", // a column twice in the order
        "3#80,120,64#0,1,7#1,1,1", // an order entry past the columns
        "3#80,120,64#0,a,2#1,1,1", // an order entry no number
        "3#80,120,64#0,1,2",       // a field missing
        "99999999#1#0#1",          // more columns than a grid holds
    };
    for (const char* text : damaged) {
        SCOPED_TRACE(text);
        EXPECT_THROW(g->StringToColumnStates(QString::fromLatin1(text)), EConvertError);
        EXPECT_EQ(g->ColumnStatesToString(), before);
        EXPECT_EQ(Headers(g.get()), headers);
    }
    // Fewer widths than columns is right when the missing ones belong to hidden columns.
    g->StringToColumnStates(QStringLiteral("3#70,90#0,1,2#1,0,1"));
    EXPECT_EQ(Widths(g.get()), (std::vector<int>{70, 90}));
}

// =============================================================================================
// Column widths and positions in an INI file and in the registry

TEST(AdvGridPersist, ColumnWidthsInAnIniFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("cols.ini"));
    // Another section of the file stays as it was.
    WriteBytes(name, "; kept\r\n[Other]\r\nA=1\r\n");
    TAdvGridPtr g = MakeNamedGrid({80, 120, 64});
    g->ColumnSize()->Location = clIniFile;
    g->ColumnSize()->Key = name;
    g->ColumnSize()->Section = QStringLiteral("Grid");
    g->SaveColSizes();
    {
        TMemIniFile ini(name);
        EXPECT_EQ(ini.ReadInteger("Grid", "Col0", -1), 80);
        EXPECT_EQ(ini.ReadInteger("Grid", "Col1", -1), 120);
        EXPECT_EQ(ini.ReadInteger("Grid", "Col2", -1), 64);
        EXPECT_EQ(ini.ReadString("Other", "A", ""), QStringLiteral("1"));
    }
    EXPECT_TRUE(ReadBytes(name).startsWith("; kept\r\n"));

    for (int c = 0; c < 3; ++c) g->SetColWidths(c, 33);
    g->LoadColSizes();
    EXPECT_EQ(Widths(g.get()), (std::vector<int>{80, 120, 64}));

    // A file without Col1 keeps column 1's width; a value that is no width keeps column 2's.
    WriteBytes(name, "[Grid]\r\nCol0=50\r\nCol2=-4\r\n");
    g->LoadColSizes();
    EXPECT_EQ(Widths(g.get()), (std::vector<int>{50, 120, 64}));

    // Without a key or a section nothing is read or written.
    g->ColumnSize()->Section.clear();
    g->SetColWidths(0, 7);
    g->LoadColSizes();
    g->SaveColSizes();
    EXPECT_EQ(g->ColWidths(0), 7);
}

TEST(AdvGridPersist, ColumnWidthsInTheRegistryAreIntegers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetRegistryFileName(dir.filePath(QStringLiteral("registry.ini")));
    ScopeGuard restore([] { SetRegistryFileName(QString()); });
    TAdvGridPtr g = MakeNamedGrid({80, 120});
    g->ColumnSize()->Location = clRegistry;
    g->ColumnSize()->Key = QStringLiteral("Software\\Test\\Grid");
    g->ColumnSize()->Section = QStringLiteral("Columns");
    g->SaveColSizes();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(QStringLiteral("\\Software\\Test\\Grid\\Columns")));
    EXPECT_EQ(reg.GetDataType("Col1"), rdInteger);
    EXPECT_EQ(reg.ReadInteger("Col1"), 120);

    g->SetColWidths(0, 5);
    g->SetColWidths(1, 5);
    g->LoadColSizes();
    EXPECT_EQ(Widths(g.get()), (std::vector<int>{80, 120}));
}

TEST(AdvGridPersist, ColumnPositionsRoundTripAndKeepHiddenColumns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("pos.ini"));
    TAdvGridPtr g = MakeNamedGrid({40, 50, 60});
    g->ColumnSize()->Location = clIniFile;
    g->ColumnSize()->Key = name;
    g->ColumnSize()->Section = QStringLiteral("Grid");
    g->MoveColumn(0, 2);
    g->SaveColPositions();
    {
        TMemIniFile ini(name);
        EXPECT_EQ(ini.ReadInteger("Grid", "Pos0", -1), 1);
        EXPECT_EQ(ini.ReadInteger("Grid", "Pos1", -1), 2);
        EXPECT_EQ(ini.ReadInteger("Grid", "Pos2", -1), 0);
    }
    g->ResetColumnOrder();
    ASSERT_EQ(Headers(g.get()), (QStringList{"c0", "c1", "c2"}));
    g->HideColumn(1);
    g->LoadColPositions();
    EXPECT_TRUE(g->IsHiddenColumn(1));
    EXPECT_EQ(g->ColumnOrder(), (std::vector<int>{1, 2, 0}));
    g->UnHideColumnsAll();
    EXPECT_EQ(Headers(g.get()), (QStringList{"c1", "c2", "c0"}));
}

TEST(AdvGridPersist, ColumnPositionsThatAreNoOrderingMoveNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("pos.ini"));
    const struct {
        const char* What;
        QByteArray File;
    } cases[] = {
        {"no Pos0", "[Grid]\r\nPos1=0\r\nPos2=1\r\n"},
        {"a key missing", "[Grid]\r\nPos0=2\r\nPos2=1\r\n"},
        {"a column twice", "[Grid]\r\nPos0=1\r\nPos1=1\r\nPos2=0\r\n"},
        {"a column past the grid", "[Grid]\r\nPos0=1\r\nPos1=5\r\nPos2=0\r\n"},
        {"no number", "[Grid]\r\nPos0=1\r\nPos1=x\r\nPos2=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        WriteBytes(name, c.File);
        TAdvGridPtr g = MakeNamedGrid({40, 50, 60});
        g->ColumnSize()->Location = clIniFile;
        g->ColumnSize()->Key = name;
        g->ColumnSize()->Section = QStringLiteral("Grid");
        g->LoadColPositions();
        EXPECT_EQ(Headers(g.get()), (QStringList{"c0", "c1", "c2"}));
        EXPECT_TRUE(g->ColumnOrder().empty());
    }
}

// =============================================================================================
// The visual properties file

namespace {

// Gives every listed property a value a new grid does not have.
void SetOwnLook(TAdvStringGrid* G) {
    G->SetColor(0x102030);
    G->HintColor = clMoneyGreen;
    G->SetSelectionColor(clTeal);
    G->SetSelectionColorTo(0x00123456);
    G->SetSelectionMirrorColor(clOlive);
    G->SetSelectionMirrorColorTo(clNavy);
    G->SetSelectionTextColor(clYellow);
    G->SetURLColor(clFuchsia);
    G->SetURLShow(!G->URLShow());
    G->SetURLShowInText(!G->URLShowInText());
    G->SetScrollColor(clSkyBlue);
    G->SetActiveRowColor(clCream);
    G->SetActiveRowShow(true);
    G->SetActiveCellShow(true);
    G->Font()->SetColor(clMaroon);
    G->Font()->SetStyle({fsBold, fsUnderline});
    G->Font()->SetSize(13);
    G->Font()->SetName(QStringLiteral("Courier New"));
    G->SetActiveCellColor(clLime);
    G->SetActiveCellColorTo(clAqua);
    G->ActiveCellFont()->SetStyle({fsItalic, fsStrikeOut});
    G->ActiveCellFont()->SetSize(7);
    G->FixedFont()->SetColor(clGreen);
    G->FixedFont()->SetName(QStringLiteral("Verdana"));
    G->Balloon()->SetBackgroundColor(clInfoBk);
    G->Balloon()->SetTextColor(clInfoText);
    G->Balloon()->SetTransparency(40);
    G->Bands()->SetPrimaryColor(0x00ABCDEF);
    G->Bands()->SetSecondaryColor(clMedGray);
    G->Bands()->SetActive(true);
    G->SortSettings()->SetIndexColor(clPurple);
    G->FloatingFooter()->SetColor(clRed);
    G->ControlLook()->SetCheckSize(19);
    G->ControlLook()->SetColor(clBlue);
    G->ControlLook()->SetCommentColor(clGray);
    G->ControlLook()->SetControlStyle(csKestril);
    G->ControlLook()->SetFixedGradientFrom(0x00010203);
    G->ControlLook()->SetFixedGradientTo(0x00040506);
    G->ControlLook()->SetRadioSize(12);
    G->ControlLook()->SetFlatButton(true);
    G->ControlLook()->SetProgressBorderColor(clSilver);
    G->ControlLook()->SetProgressXP(true);
    G->SearchFooter()->SetColor(0x00111111);
    G->SearchFooter()->SetColorTo(0x00222222);
    TGrouping* gr = G->Grouping();
    gr->HeaderColor = 0x00333333;
    gr->HeaderColorTo = 0x00444444;
    gr->HeaderTextColor = clWhite;
    gr->HeaderUnderline = true;
    gr->HeaderLineColor = clBlack;
    gr->HeaderLineWidth = 5;
    gr->SummaryColor = 0x00555555;
    gr->SummaryColorTo = 0x00666666;
    gr->SummaryTextColor = clBtnText;
    gr->SummaryLine = true;
    gr->SummaryLineColor = clHighlight;
    gr->SummaryLineWidth = 4;
    G->SetGridLineColor(0x00777777);
    G->SetGridFixedLineColor(0x00888888);
    G->BackGround()->SetTop(3);
    G->BackGround()->SetLeft(4);
    G->BackGround()->SetDisplay(bdGradientVert);
    G->BackGround()->SetCells(bcAll);
    G->BackGround()->SetColor(0x00999999);
    G->BackGround()->SetColorTo(0x00AAAAAA);
}

// The lines of a visual-properties file.
QStringList FileLines(const QString& Name) {
    return QString::fromLatin1(ReadBytes(Name)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

TEST(AdvGridPersist, VisualPropertiesRoundTrip) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("look.txt"));
    const QString second = dir.filePath(QStringLiteral("again.txt"));
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    SetOwnLook(g.get());
    g->SaveVisualProps(first);
    const QStringList lines = FileLines(first);
    EXPECT_EQ(lines.first(), QStringLiteral("Color=$00102030"));
    EXPECT_TRUE(lines.contains(QStringLiteral("HintColor=clMoneyGreen")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Font.Style=fsBold,fsUnderline")));
    EXPECT_TRUE(lines.contains(QStringLiteral("ControlLook.ControlStyle=csKestril")));
    EXPECT_TRUE(lines.contains(QStringLiteral("BackGround.Display=bdGradientVert")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Bands.Active=true")));
    EXPECT_EQ(lines.last(), QStringLiteral("BackGround.ColorTo=$00AAAAAA"));

    // A new grid differs before and is the same after loading: every key came back to its own
    // property.
    TAdvGridPtr fresh = MakeAdvGrid(3, 3);
    fresh->SaveVisualProps(second);
    EXPECT_NE(FileLines(second), lines);
    fresh->LoadVisualProps(first);
    fresh->SaveVisualProps(second);
    EXPECT_EQ(FileLines(second), lines);
    EXPECT_EQ(fresh->ControlLook()->FixedGradientFrom(), TColor(0x00010203));
    EXPECT_EQ(fresh->ControlLook()->FixedGradientTo(), TColor(0x00040506));

    // Keys in lower case are found as well.
    QByteArray lower;
    for (const QString& line : lines)
        lower += (line.section(u'=', 0, 0).toLower() + u'=' + line.section(u'=', 1)).toLatin1() + "\r\n";
    WriteBytes(second, lower);
    TAdvGridPtr third = MakeAdvGrid(3, 3);
    third->LoadVisualProps(second);
    third->SaveVisualProps(second);
    EXPECT_EQ(FileLines(second), lines);
}

TEST(AdvGridPersist, VisualPropertiesEdgeValues) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("look.txt"));
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->SetLook(glCustom);
    g->SaveVisualProps(name);
    EXPECT_TRUE(FileLines(name).contains(QStringLiteral("Look=")));
    // An empty look leaves the look alone; a missing colour is clNone; an unknown style word
    // leaves the control style alone.
    TAdvGridPtr other = MakeAdvGrid(3, 3);
    other->SetLook(glSoft);
    QByteArray text = ReadBytes(name);
    text.replace("HintColor=clInfoBk\r\n", "");
    text.replace("ControlLook.ControlStyle=", "ControlLook.ControlStyle=csNoSuch");
    WriteBytes(name, text);
    const TGridControlStyle style = other->ControlLook()->ControlStyle();
    other->LoadVisualProps(name);
    EXPECT_EQ(other->Look(), glSoft);
    EXPECT_EQ(other->HintColor, clNone);
    EXPECT_EQ(other->ControlLook()->ControlStyle(), style);
}

TEST(AdvGridPersist, VisualPropertiesStopAtABadInteger) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("look.txt"));
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    SetOwnLook(g.get());
    g->SaveVisualProps(name);
    QByteArray text = ReadBytes(name);
    text.replace("ControlLook.CheckSize=19\r\n", "");
    WriteBytes(name, text);
    TAdvGridPtr fresh = MakeAdvGrid(3, 3);
    const TColor lookColor = fresh->ControlLook()->Color();
    EXPECT_THROW(fresh->LoadVisualProps(name), EConvertError);
    // The keys before it were applied, the ones after it not.
    EXPECT_EQ(fresh->FloatingFooter()->Color(), clRed);
    EXPECT_EQ(fresh->ControlLook()->Color(), lookColor);
}

TEST(AdvGridPersist, FilesThatCannotBeReadOrWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    const TColor color = g->Color();

    // Reading: a missing file and a folder are refused by name, nothing changes.
    for (const QString& name : {dir.filePath(QStringLiteral("missing.txt")), dir.path()}) {
        SCOPED_TRACE(name.toStdString());
        try {
            g->LoadVisualProps(name);
            ADD_FAILURE() << "no error";
        } catch (const EFOpenError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Cannot open file ") + name);
        }
        EXPECT_EQ(g->Color(), color);
    }

    // Writing below something that is no folder: refused by name, no file appears.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString below = dir.filePath(QStringLiteral("blocker/look.txt"));
    try {
        g->SaveVisualProps(below);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Cannot Create ") + below);
    }
    EXPECT_FALSE(QFile::exists(below));

    // An INI file that is a folder is not read, so nothing is written over it either.
    g->ColumnSize()->Location = clIniFile;
    g->ColumnSize()->Key = dir.path();
    g->ColumnSize()->Section = QStringLiteral("Grid");
    EXPECT_THROW(g->LoadColSizes(), EFOpenError);
    EXPECT_THROW(g->LoadPrintSettings(dir.path(), QStringLiteral("Print")), EFOpenError);
}

TEST(AdvGridPersist, AFailedSaveKeepsTheOldFileWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("old.txt"));
    TAdvGridPtr g = MakeNamedGrid({80, 120, 64});
    g->ColumnSize()->Location = clIniFile;
    g->ColumnSize()->Key = name;
    g->ColumnSize()->Section = QStringLiteral("Grid");
    const struct {
        const char* What;
        std::function<void()> Save;
    } saves[] = {
        {"visual properties", [&] { g->SaveVisualProps(name); }},
        {"column widths", [&] { g->SaveColSizes(); }},
        {"column positions",
         [&] {
             g->MoveColumn(0, 1);
             g->SaveColPositions();
         }},
        {"print settings", [&] { g->SavePrintSettings(name, QStringLiteral("Print")); }},
    };
    const QByteArray old = "[Grid]\r\nCol0=1\r\nOld=the old file, longer than the limit\r\n";
    for (const auto& s : saves) {
        SCOPED_TRACE(s.What);
        WriteBytes(name, old);
        bool raised = false;
        {
            TFileSizeLimit limit;
            try {
                s.Save();
            } catch (const EFCreateError& E) {
                raised = E.Message() == QStringLiteral("Cannot Create ") + name;
            }
        }
        EXPECT_TRUE(raised);
        EXPECT_EQ(ReadBytes(name), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.txt"}); // no leftovers
    }
}

// =============================================================================================
// The print settings file and the settings objects

TEST(AdvGridPersist, PrintSettingsRoundTrip) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("print.ini"));
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    TPrintSettings* ps = g->PrintSettings();
    ps->ColumnSpacing = 7;
    ps->RowSpacing = 8;
    ps->TitleSpacing = 9;
    ps->FixedHeight = 11;
    ps->FixedWidth = 12;
    ps->Centered = false;
    ps->NoAutoSize = ps->UseFixedHeight = ps->UseFixedWidth = true;
    ps->RepeatFixedRows = ps->RepeatFixedCols = true;
    ps->UseDisplayFont = false;
    ps->UseDefaultOrientation = true;
    ps->Borders = pbAroundVertical;
    ps->BorderColor = clNone;
    ps->BorderStyle = psDashDot;
    ps->Date = ppTopRight;
    ps->PageNr = ppBottomCenter;
    ps->Title = ppTopCenter;
    ps->Time = ppBottomLeft;
    ps->DateFormat = QStringLiteral("yyyy-mm-dd");
    ps->TitleText = QStringLiteral("Mapping");
    ps->FooterSize = 21;
    ps->HeaderSize = 22;
    ps->LeftSize = 23;
    ps->RightSize = 24;
    ps->FitToPage = fpShrink;
    ps->Font()->SetName(QStringLiteral("Verdana"));
    ps->Font()->SetSize(9);
    ps->Font()->SetStyle({fsBold, fsStrikeOut});
    ps->Font()->SetColor(clRed);
    ps->HeaderFont()->SetSize(14);
    ps->FooterFont()->SetColor(clBlue);
    ps->PageNumSep = QStringLiteral(" of ");
    ps->PageSuffix = QStringLiteral(")");
    ps->PagePrefix = QStringLiteral("(");
    ps->Orientation = poLandscape;
    ps->TitleLines()->SetText(QStringLiteral("first\r\nsecond"));
    ps->PrintGraphics = true;
    g->SavePrintSettings(name, QStringLiteral("Print"));
    {
        TMemIniFile ini(name);
        EXPECT_EQ(ini.ReadString("Print", "TitleLines", ""), QStringLiteral("first\\nsecond\\n"));
        EXPECT_EQ(ini.ReadString("Print", "Centered", ""), QStringLiteral("N"));
        EXPECT_EQ(ini.ReadInteger("Print", "FontStyle", -1), 1 + 8);
        EXPECT_EQ(ini.ReadInteger("Print", "BorderColor", 0), int(clNone));
    }

    TAdvGridPtr other = MakeAdvGrid(3, 3);
    other->LoadPrintSettings(name, QStringLiteral("Print"));
    TPrintSettings* r = other->PrintSettings();
    EXPECT_EQ(r->ColumnSpacing, 7);
    EXPECT_EQ(r->RowSpacing, 8);
    EXPECT_EQ(r->TitleSpacing, 9);
    EXPECT_EQ(r->FixedHeight, 11);
    EXPECT_EQ(r->FixedWidth, 12);
    EXPECT_FALSE(r->Centered);
    EXPECT_TRUE(r->NoAutoSize && r->UseFixedHeight && r->UseFixedWidth && r->RepeatFixedRows &&
                r->RepeatFixedCols);
    EXPECT_FALSE(r->UseDisplayFont);
    EXPECT_TRUE(r->UseDefaultOrientation);
    EXPECT_EQ(r->Borders, pbAroundVertical);
    EXPECT_EQ(r->BorderColor, clNone);
    EXPECT_EQ(r->BorderStyle, psDashDot);
    EXPECT_EQ(r->Date, ppTopRight);
    EXPECT_EQ(r->PageNr, ppBottomCenter);
    EXPECT_EQ(r->Title, ppTopCenter);
    EXPECT_EQ(r->Time, ppBottomLeft);
    EXPECT_EQ(r->DateFormat, QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(r->TitleText, QStringLiteral("Mapping"));
    EXPECT_EQ(r->FooterSize, 21);
    EXPECT_EQ(r->HeaderSize, 22);
    EXPECT_EQ(r->LeftSize, 23);
    EXPECT_EQ(r->RightSize, 24);
    EXPECT_EQ(r->FitToPage, fpShrink);
    EXPECT_EQ(r->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(r->Font()->Size(), 9);
    EXPECT_EQ(r->Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(r->Font()->Color(), clRed);
    EXPECT_EQ(r->HeaderFont()->Size(), 14);
    EXPECT_EQ(r->FooterFont()->Color(), clBlue);
    EXPECT_EQ(r->PageNumSep, QStringLiteral(" of "));
    EXPECT_EQ(r->PageSuffix, QStringLiteral(")"));
    EXPECT_EQ(r->PagePrefix, QStringLiteral("("));
    EXPECT_EQ(r->Orientation, poLandscape);
    EXPECT_EQ(r->TitleLines()->ToStringList(), (QStringList{"first", "second"}));
    EXPECT_TRUE(r->PrintGraphics);
}

TEST(AdvGridPersist, PrintSettingsReadingRules) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("print.ini"));

    // No section: the reading defaults, and the file is made.
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->PrintSettings()->Font()->SetStyle({fsItalic});
    g->LoadPrintSettings(name, QStringLiteral("Print"));
    TPrintSettings* ps = g->PrintSettings();
    EXPECT_TRUE(QFile::exists(name));
    EXPECT_EQ(ps->ColumnSpacing, 20);
    EXPECT_EQ(ps->FooterSize, 100);
    EXPECT_TRUE(ps->Centered);
    EXPECT_EQ(ps->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(ps->Font()->Size(), 10);
    EXPECT_EQ(ps->HeaderFont()->Name(), QStringLiteral("Arial"));

    // Stored style bits are added to the font's style; ordinals out of range leave the value;
    // positions out of range are none; Y/N is True only for exactly "Y".
    ps->Borders = pbDouble;
    ps->FitToPage = fpGrow;
    ps->Orientation = poLandscape;
    ps->Date = ppTopLeft;
    WriteBytes(name, "[Print]\r\nFontStyle=1\r\nBorders=9\r\nFitToPage=-1\r\nOrientation=2\r\nDate=7\r\n"
                     "Centered=y\r\nPrintGraphics=Y\r\nBorderStyle=3\r\n");
    g->LoadPrintSettings(name, QStringLiteral("Print"));
    EXPECT_EQ(ps->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(ps->Borders, pbDouble);
    EXPECT_EQ(ps->FitToPage, fpGrow);
    EXPECT_EQ(ps->Orientation, poLandscape);
    EXPECT_EQ(ps->Date, ppNone);
    EXPECT_FALSE(ps->Centered);
    EXPECT_TRUE(ps->PrintGraphics);
    EXPECT_EQ(ps->BorderStyle, psDashDot);
}

TEST(AdvGridPersist, SettingsObjectsCopy) {
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    // The defaults.
    THTMLSettings html;
    EXPECT_TRUE(html.SaveColor && html.SaveFonts && html.ExportImages);
    EXPECT_EQ(html.BorderSize, 1);
    EXPECT_EQ(html.Width, 100);
    EXPECT_EQ(html.ColWidths()->Count(), 0);
    TPrintSettings* ps = g->PrintSettings();
    EXPECT_EQ(ps->Grid(), g.get());
    EXPECT_EQ(ps->PageNumSep, QStringLiteral("/"));
    EXPECT_EQ(ps->DateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(ps->Borders, pbSingle);
    EXPECT_TRUE(ps->Centered && ps->UseDisplayFont);
    EXPECT_EQ(ps->BorderColor, clBlack);

    // HTML settings: all but ExportImages and ColWidths; from anything else nothing.
    html.Width = 50;
    html.Summary = QStringLiteral("s");
    html.XHTML = true;
    html.ExportImages = false;
    html.ColWidths()->Add(5);
    g->SetHTMLSettings(&html);
    EXPECT_EQ(g->HTMLSettings()->Width, 50);
    EXPECT_EQ(g->HTMLSettings()->Summary, QStringLiteral("s"));
    EXPECT_TRUE(g->HTMLSettings()->XHTML);
    EXPECT_TRUE(g->HTMLSettings()->ExportImages);
    EXPECT_EQ(g->HTMLSettings()->ColWidths()->Count(), 0);
    g->HTMLSettings()->Assign(ps);
    EXPECT_EQ(g->HTMLSettings()->Width, 50);

    // Print settings: fonts and title lines by value, not FixedCellsAlways; from another class
    // (or from nothing) the invalid-cast error.
    TPrintSettings src(nullptr);
    src.Font()->SetName(QStringLiteral("Verdana"));
    src.FixedFont()->SetSize(20);
    src.TitleLines()->Add(QStringLiteral("t"));
    src.JobName = QStringLiteral("job");
    src.BorderColor = clRed;
    src.FixedCellsAlways = true;
    g->SetPrintSettings(&src);
    EXPECT_EQ(ps->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_NE(ps->Font(), src.Font());
    EXPECT_EQ(ps->FixedFont()->Size(), 20);
    EXPECT_EQ(ps->TitleLines()->ToStringList(), QStringList{"t"});
    EXPECT_EQ(ps->JobName, QStringLiteral("job"));
    EXPECT_EQ(ps->BorderColor, clRed);
    EXPECT_FALSE(ps->FixedCellsAlways);
    EXPECT_EQ(ps->Grid(), g.get());
    EXPECT_THROW(ps->Assign(&html), EInvalidCast);
    EXPECT_THROW(ps->Assign(nullptr), EInvalidCast);
    ps->Assign(ps);
    EXPECT_EQ(ps->TitleLines()->ToStringList(), QStringList{"t"});

    // A copy of the grid copies both into its own objects.
    TAdvGridPtr copy = MakeAdvGrid(3, 3);
    copy->Assign(g.get());
    EXPECT_EQ(copy->PrintSettings()->JobName, QStringLiteral("job"));
    EXPECT_EQ(copy->PrintSettings()->Grid(), copy.get());
    EXPECT_EQ(copy->HTMLSettings()->Width, 50);
}

// =============================================================================================
// The scroll bar over a scroll-bar cell

namespace {

class TScrollCellGrid : public TAdvStringGrid {
public:
    explicit TScrollCellGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    // The pointer moved onto the cell's left part lays the cell bar over it.
    void OperateCell(int ACol, int ARow) {
        const TRect r = CellRect(ACol, ARow);
        SimulateMouseMove(this, {}, r.Left + 3, r.Top + 3);
    }
};

} // namespace

TEST(AdvGridPersist, CellScrollBarIsLaidOverTheCellUnderThePointer) {
    auto* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form);
    form->SetBounds(100, 100, 500, 300);
    auto* g = new TScrollCellGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 400, 250);
    g->SetGridLineWidth(2);
    form->Show();
    g->AddScrollBar(1, 1, false);
    g->SetScrollProp(1, 1, TScrollProp{20, 250});
    g->SetScrollPosition(1, 1, 60);
    g->AddScrollBar(2, 2, false);
    g->SetScrollProp(2, 2, TScrollProp{50, 40}); // the whole range fits the page
    g->SetScrollPosition(2, 2, 0);
    TScrollBar* bar = g->CellScrollBar();
    ASSERT_NE(bar, nullptr);

    g->OperateCell(1, 1);
    const TRect r = g->CellRect(1, 1);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(g->CellScrollBarCell(), TPoint(1, 1));
    EXPECT_EQ(bar->BoundsRect(), TRect(r.Right - 17 - 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 250);
    EXPECT_EQ(bar->PageSize(), 20);
    EXPECT_EQ(bar->Position(), 60);

    // A cell whose page holds its range takes the bar's cell but lays no bar.
    g->OperateCell(1, 2);
    EXPECT_FALSE(bar->Visible()) << "no scroll bar in this cell";
    g->OperateCell(2, 2);
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(g->CellScrollBarCell(), TPoint(2, 2));
    // Back on the first cell.
    g->OperateCell(1, 1);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->PageSize(), 20);
    EXPECT_EQ(bar->Position(), 60);
}

TEST(AdvGridPersist, CellScrollBarMovesTheCellsPosition) {
    auto* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form);
    form->SetBounds(100, 100, 500, 300);
    auto* g = new TScrollCellGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 400, 250);
    form->Show();
    g->AddScrollBar(1, 1, false);
    g->SetScrollProp(1, 1, TScrollProp{20, 250});
    g->OperateCell(1, 1);
    TScrollBar* bar = g->CellScrollBar();
    ASSERT_NE(bar, nullptr);
    bar->HandleNeeded();
    std::vector<std::vector<int>> events;
    g->OnScrollCell = [&](TObject*, int C, int R, int P, int Min, int Max) {
        events.push_back({C, R, P, Min, Max});
    };

    const auto send = [&](int Code, int Pos = 0) {
        return g->Perform(WM_VSCROLL, MAKEWPARAM(Word(Code), Word(Pos)), LPARAM(bar->Handle()));
    };
    const struct {
        const char* What;
        int Code;
        int Pos;
        LRESULT Result;
        int Position;
    } steps[] = {
        {"line down", SB_LINEDOWN, 0, 1, 10},
        {"page down", SB_PAGEDOWN, 0, 1, 110},
        {"page down again", SB_PAGEDOWN, 0, 1, 210},
        // The last position leaves a page of the range below the thumb.
        {"page down to the end", SB_PAGEDOWN, 0, 1, 231},
        {"line down at the end", SB_LINEDOWN, 0, 0, 231},
        {"thumb", SB_THUMBTRACK, 40, 1, 40},
        {"line up", SB_LINEUP, 0, 1, 30},
        {"end of scroll", SB_ENDSCROLL, 0, 0, 30},
    };
    size_t expectedEvents = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.What);
        EXPECT_EQ(send(s.Code, s.Pos), s.Result);
        EXPECT_EQ(g->GetScrollPosition(1, 1), s.Position);
        if (s.Result == 1) {
            ++expectedEvents;
            ASSERT_EQ(events.size(), expectedEvents);
            EXPECT_EQ(events.back(), (std::vector<int>{1, 1, s.Position, 0, 250}));
        }
        EXPECT_EQ(events.size(), expectedEvents);
    }
    // The grid's own bars are not moved by the cell's.
    EXPECT_EQ(g->TopRow(), 1);
}
