// The grid's spreadsheet, word-processor and database exchange. Where no such program exists,
// every operation fails with its own message, shows the hourglass meanwhile and restores the
// cursor, and leaves the cells as they were. Against scripted programs: the used area of a
// sheet, the written range in the spreadsheet's letters, a save that fails, a query's fields.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "Automation.h"
#include "Forms.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>

namespace {

// Passes every request on to the provider in place before it, noting the cursor shown at the
// moment a program is asked for.
class TCursorWitness : public TAutomationProvider {
public:
    OleVariant Create(const String& ProgID) override {
        Seen.push_back(Screen->Cursor());
        return Inner->Create(ProgID);
    }
    OleVariant GetActive(const String& ProgID) override {
        Seen.push_back(Screen->Cursor());
        return Inner->GetActive(ProgID);
    }
    std::shared_ptr<TAutomationProvider> Inner;
    std::vector<TCursor> Seen;
};

struct TOfficeCase {
    const char* Name;
    std::function<void(TAdvStringGrid*)> Run;
    bool GridError; // EAdvGridError, else the automation error passed on
    QString Message;
};

QStringList AllCells(TAdvStringGrid* G) {
    QStringList cells{QString::number(G->ColCount()), QString::number(G->RowCount())};
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->ColCount(); ++c) cells << G->Cells(c, r);
    return cells;
}

TEST(GridOffice, WithoutTheProgramsEachOperationFailsAndChangesNothing) {
    const QString excel = QStringLiteral("Excel OLE server not found");
    const QString word = QStringLiteral("Word OLE server not found");
    const QString noDb = QStringLiteral("Automation server not available: ADODB.Connection");
    const TOfficeCase cases[] = {
        {"GetXLSSheets", [](TAdvStringGrid* g) { delete g->GetXLSSheets("book.xls"); }, true, excel},
        {"LoadFromXLS", [](TAdvStringGrid* g) { g->LoadFromXLS("book.xls"); }, true, excel},
        {"LoadFromXLSSheet", [](TAdvStringGrid* g) { g->LoadFromXLSSheet("book.xls", "Sheet1"); }, true,
         excel},
        {"SaveToXLS new", [](TAdvStringGrid* g) { g->SaveToXLS("out.xls", true); }, true, excel},
        {"SaveToXLS active", [](TAdvStringGrid* g) { g->SaveToXLS("out.xls", false); }, true, excel},
        {"SaveToXLSSheet", [](TAdvStringGrid* g) { g->SaveToXLSSheet("out.xls", "Data"); }, true, excel},
        {"SaveToDOC", [](TAdvStringGrid* g) { g->SaveToDOC("out.doc", true); }, true, word},
        {"AppendToDoc", [](TAdvStringGrid* g) { g->AppendToDoc("out.doc", "here"); }, true, word},
        {"LoadFromMDBTable", [](TAdvStringGrid* g) { g->LoadFromMDBTable("db.mdb", "Parts"); }, false, noDb},
        {"LoadFromMDBSQL", [](TAdvStringGrid* g) { g->LoadFromMDBSQL("db.mdb", "SELECT 1"); }, false, noDb},
    };
    auto witness = std::make_shared<TCursorWitness>();
    witness->Inner = SetAutomationProvider(witness);
    for (const TOfficeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvGridPtr g = MakeAdvGrid(4, 3);
        g->SetCells(0, 0, "head");
        g->SetCells(2, 1, "kept");
        g->SetCells(3, 2, "x\r\ny");
        const QStringList before = AllCells(g.get());
        Screen->SetCursor(crHandPoint);
        witness->Seen.clear();
        try {
            c.Run(g.get());
            ADD_FAILURE() << "no error raised";
        } catch (const EAdvGridError& e) {
            EXPECT_TRUE(c.GridError);
            EXPECT_EQ(e.Message(), c.Message);
        } catch (const EOleSysError& e) {
            EXPECT_FALSE(c.GridError);
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(Screen->Cursor(), crHandPoint);
        ASSERT_FALSE(witness->Seen.empty());
        for (TCursor seen : witness->Seen) EXPECT_EQ(seen, crHourGlass);
        EXPECT_EQ(AllCells(g.get()), before);
    }
    SetAutomationProvider(witness->Inner);
    Screen->SetCursor(crDefault);
}

TEST(GridOffice, TheStandInAnswersNoProgramAndCallsNeedAnObject) {
    for (const QString& id : {QStringLiteral("excel.application"), QStringLiteral("word.application"),
                              QStringLiteral("ADODB.RecordSet"), QStringLiteral("anything.else")}) {
        SCOPED_TRACE(id.toStdString());
        for (bool active : {false, true}) {
            try {
                active ? GetActiveOleObject(id) : CreateOleObject(id);
                ADD_FAILURE() << "a program was found";
            } catch (const EOleSysError& e) {
                EXPECT_EQ(e.Message(), QStringLiteral("Automation server not available: ") + id);
                EXPECT_EQ(e.ErrorCode(), active ? MK_E_UNAVAILABLE : REGDB_E_CLASSNOTREG);
            }
        }
    }
    const OleVariant plain(42);
    EXPECT_THROW(plain.Get("Count"), EOleError);
    EXPECT_THROW(plain.Set("Value", 1), EOleError);
    EXPECT_THROW(plain.Call("Quit"), EOleError);
}

// ---- Against scripted programs ----

// An object of a scripted program: properties by name, and handlers for methods and for
// properties read with arguments (collections). Every call is logged as "name" or "name=value".
class TFakeObject : public TAutomationObject {
public:
    explicit TFakeObject(QStringList* Log) : FLog(Log) {}
    OleVariant Invoke(const String& Name, TInvokeKind Kind, const TOleArgs& Args) override {
        if (Kind == ikPropertyPut) {
            const QVariant v = Args.back().Value.Value();
            FLog->append(
                Name + u'=' +
                (v.metaType().id() == QMetaType::QVariantList ? QStringLiteral("[array]") : v.toString()));
            Props[Name] = Args.back().Value;
            return {};
        }
        QStringList args;
        for (const TOleArg& a : Args)
            args << (a.Name.isEmpty() ? QString() : a.Name + u':') + a.Value.Value().toString();
        FLog->append(Name + (args.isEmpty() ? QString()
                                            : QStringLiteral("(") + args.join(u',') + QStringLiteral(")")));
        if (auto m = Handlers.find(Name); m != Handlers.end()) return m->second(Args);
        if (auto p = Props.find(Name); p != Props.end() && Kind == ikPropertyGet) return p->second;
        if (Kind == ikMethod) return {};
        throw EOleSysError(QStringLiteral("Unknown name ") + Name, int32_t(0x80020006u));
    }
    std::map<QString, OleVariant> Props;
    std::map<QString, std::function<OleVariant(const TOleArgs&)>> Handlers;

private:
    QStringList* FLog;
};

// Answers one scripted program for each ProgID given, as new and as running instance.
class TScriptedPrograms : public TAutomationProvider {
public:
    OleVariant Create(const String& ProgID) override { return Find(ProgID); }
    OleVariant GetActive(const String& ProgID) override {
        if (!Running) throw EOleSysError(QStringLiteral("not running"), MK_E_UNAVAILABLE);
        return Find(ProgID);
    }
    OleVariant Find(const String& ProgID) {
        auto it = Programs.find(ProgID);
        if (it == Programs.end()) throw EOleSysError(QStringLiteral("none"), REGDB_E_CLASSNOTREG);
        return it->second();
    }
    std::map<QString, std::function<OleVariant()>> Programs;
    bool Running = false;
};

class GridOfficeScripted : public ::testing::Test {
protected:
    void SetUp() override { Saved = SetAutomationProvider(Programs); }
    void TearDown() override { SetAutomationProvider(Saved); }
    std::shared_ptr<TFakeObject> Make() { return std::make_shared<TFakeObject>(&Log); }
    // A spreadsheet program whose active sheet (also the sheet named "Data") has UsedAddress
    // and answers Values for the range read.
    std::shared_ptr<TFakeObject> Spreadsheet(const QString& UsedAddress, const QVariant& Values) {
        auto app = Make(), books = Make(), book = Make(), sheets = Make(), sheet = Make(), used = Make(),
             range = Make(), rows = Make(), cell = Make();
        app->Props["WorkBooks"] = OleVariant(books);
        app->Props["ActiveSheet"] = OleVariant(sheet);
        books->Handlers["Open"] = [book](const TOleArgs&) { return OleVariant(book); };
        book->Props["Sheets"] = OleVariant(sheets);
        book->Handlers["Sheets"] = [sheets, sheet](const TOleArgs& A) {
            return A.empty() ? OleVariant(sheets) : OleVariant(sheet);
        };
        sheets->Props["Count"] = OleVariant(1);
        sheet->Props["Name"] = OleVariant("Data");
        sheet->Props["UsedRange"] = OleVariant(used);
        used->Props["Address"] = OleVariant(UsedAddress);
        sheet->Handlers["Range"] = [range](const TOleArgs&) { return OleVariant(range); };
        range->Props["Value"] = OleVariant(Values);
        sheet->Props["Rows"] = OleVariant(rows);
        rows->Handlers["Cells"] = [cell](const TOleArgs&) { return OleVariant(cell); };
        cell->Props["Value"] = OleVariant(Values);
        Programs->Programs["excel.application"] = [app] { return OleVariant(app); };
        return app;
    }

    std::shared_ptr<TScriptedPrograms> Programs = std::make_shared<TScriptedPrograms>();
    std::shared_ptr<TAutomationProvider> Saved;
    QStringList Log;
};

QVariant Block(const std::vector<QVariantList>& Rows) {
    QVariantList rows;
    for (const QVariantList& r : Rows) rows.append(QVariant(r));
    return rows;
}

TEST_F(GridOfficeScripted, TheUsedAreaGivesTheGridItsSizeAndTheFirstLoadedCell) {
    // Eight rows of three values; row 2 holds an empty value and an error (an array here).
    std::vector<QVariantList> rows(8, QVariantList{QVariant("a"), QVariant(2.5), QVariant(true)});
    rows[0][0] = QVariant("B2");
    rows[1] = QVariantList{QVariant(), QVariant(QVariantList{}), QVariant("D3")};
    Spreadsheet("$B$2:$D$9", Block(rows));
    struct Case {
        bool SaveFixedCells;
        int Cols, Rows, Col0, Row0;
    } cases[] = {{true, 3, 8, 0, 0}, {false, 4, 9, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.SaveFixedCells);
        Log.clear();
        TAdvGridPtr g = MakeAdvGrid(5, 5);
        g->SaveFixedCells = c.SaveFixedCells;
        g->SetCells(c.Col0 + 1, c.Row0 + 1, "old");
        g->LoadFromXLS("book.xls");
        EXPECT_EQ(g->ColCount(), c.Cols);
        EXPECT_EQ(g->RowCount(), c.Rows);
        EXPECT_EQ(g->FixedCols(), 1);
        EXPECT_EQ(g->FixedRows(), 1);
        EXPECT_EQ(g->Cells(c.Col0, c.Row0), "B2");
        EXPECT_EQ(g->Cells(c.Col0 + 1, c.Row0), "2.5");
        EXPECT_EQ(g->Cells(c.Col0 + 2, c.Row0), "True");
        EXPECT_EQ(g->Cells(c.Col0, c.Row0 + 1), "");
        EXPECT_EQ(g->Cells(c.Col0 + 1, c.Row0 + 1), "old"); // the error value is passed over
        EXPECT_EQ(g->Cells(c.Col0 + 2, c.Row0 + 1), "D3");
        EXPECT_TRUE(Log.contains("Range(B2:D9)"));
        EXPECT_TRUE(Log.contains("Close(SaveChanges:false)"));
        EXPECT_EQ(Log.back(), "Quit");
    }
}

TEST_F(GridOfficeScripted, UsedAreasOfOneCellOfWholeRowsAndUnreadableOnes) {
    struct Case {
        const char* Address;
        int Cols, Rows; // 0: the load fails and the grid keeps its size
        const char* Read;
    } cases[] = {
        {"$C$5", 1, 1, "Cells(5,3)"},
        {"A1", 1, 1, "Cells(1,1)"},
        {"$2:$3", 256, 2, "Range(A2:IV3)"},
        {"$AA$10:$AB$11", 2, 2, "Range(AA10:AB11)"},
        {"$B$x", 0, 0, nullptr},
        {"$1B$2:$C$3", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Address);
        Spreadsheet(c.Address, QVariant("v"));
        Log.clear();
        TAdvGridPtr g = MakeAdvGrid(3, 3);
        if (c.Cols == 0) {
            try {
                g->LoadFromXLS("book.xls");
                ADD_FAILURE() << "loaded";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "Incorrect XLS file");
            }
            EXPECT_EQ(g->ColCount(), 3);
            EXPECT_EQ(g->RowCount(), 3);
            EXPECT_EQ(Log.back(), "Quit");
            continue;
        }
        g->LoadFromXLS("book.xls");
        EXPECT_EQ(g->ColCount(), c.Cols);
        EXPECT_EQ(g->RowCount(), c.Rows);
        EXPECT_TRUE(Log.contains(c.Read)) << Log.join(' ').toStdString();
        if (c.Cols == 1) {
            EXPECT_EQ(g->Cells(0, 0), "v");
        }
    }
}

TEST_F(GridOfficeScripted, AMissingSheetIsNamedAndTheProgramEnded) {
    Spreadsheet("$A$1:$B$2", QVariant());
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->SetCells(1, 1, "kept");
    try {
        g->LoadFromXLSSheet("book.xls", "Nope");
        ADD_FAILURE() << "loaded";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), "Excel worksheet Nope not found");
    }
    EXPECT_EQ(g->Cells(1, 1), "kept");
    EXPECT_EQ(Log.back(), "Quit");
}

// The writer's range runs from column A to the letters of the block's width, from the first row
// (the active cell's row when writing into the running program's sheet); a failing save is
// reported and the instance the writer started is ended.
TEST_F(GridOfficeScripted, TheWrittenRangeAndAFailingSave) {
    auto app = Make(), books = Make(), book = Make(), sheet = Make(), range = Make(), active = Make();
    app->Props["WorkBooks"] = OleVariant(books);
    app->Props["ActiveWorkBook"] = OleVariant(book);
    app->Props["ActiveSheet"] = OleVariant(sheet);
    app->Props["ActiveCell"] = OleVariant(active);
    active->Props["Row"] = OleVariant(5);
    books->Props["Count"] = OleVariant(1);
    books->Handlers["Add"] = [book](const TOleArgs&) { return OleVariant(book); };
    book->Handlers["Sheets"] = [sheet](const TOleArgs&) { return OleVariant(sheet); };
    sheet->Handlers["Range"] = [range](const TOleArgs&) { return OleVariant(range); };
    bool saveFails = false;
    book->Handlers["SaveAs"] = [&saveFails](const TOleArgs&) -> OleVariant {
        if (saveFails) throw EOleSysError("The file could not be saved", int32_t(0x800A03ECu));
        return {};
    };
    Programs->Programs["excel.application"] = [app] { return OleVariant(app); };

    struct Case {
        int Cols;
        bool NewSheet, Running, SaveFails;
        const char* Range;
    } cases[] = {
        {30, true, false, false, "Range(A1:AD3)"}, {26, true, true, false, "Range(A1:Z3)"},
        {27, false, true, false, "Range(A5:AA7)"}, {53, true, false, false, "Range(A1:BA3)"},
        {2, true, false, true, "Range(A1:B3)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Range);
        Log.clear();
        Programs->Running = c.Running;
        saveFails = c.SaveFails;
        TAdvGridPtr g = MakeAdvGrid(c.Cols, 3);
        g->SetCells(c.Cols - 1, 2, "last\r\nline");
        range->Props.erase("Value");
        if (c.SaveFails) {
            EXPECT_THROW(g->SaveToXLS("out.xls", c.NewSheet), EOleSysError);
        } else {
            g->SaveToXLS("out.xls", c.NewSheet);
        }
        EXPECT_TRUE(Log.contains(c.Range)) << Log.join(' ').toStdString();
        const QVariantList rows = range->Props["Value"].Value().toList();
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows[2].toList().size(), c.Cols);
        EXPECT_EQ(rows[2].toList().back().toString(), "last\nline");
        EXPECT_EQ(Log.contains("Quit"), !c.Running);
    }
}

// The sheet writer opens an existing workbook and saves it in place, or makes one and saves it
// under the name; it writes into the sheet of that name, or into a new sheet given the name.
// The sheet list names every worksheet of a workbook.
TEST_F(GridOfficeScripted, NamedSheetsAreFoundMadeAndListed) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("there.xls");
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    auto app = Make(), books = Make(), book = Make(), sheets = Make(), worksheets = Make(), data = Make(),
         other = Make(), added = Make(), range = Make();
    app->Props["WorkBooks"] = OleVariant(books);
    books->Handlers["Open"] = books->Handlers["Add"] = [book](const TOleArgs&) { return OleVariant(book); };
    book->Handlers["Sheets"] = [sheets, data, other](const TOleArgs& A) {
        if (A.empty()) return OleVariant(sheets);
        return OleVariant(A[0].Value.Value().toInt() == 1 ? other : data);
    };
    book->Props["WorkSheets"] = OleVariant(worksheets);
    sheets->Props["Count"] = OleVariant(2);
    worksheets->Props["Count"] = OleVariant(2);
    worksheets->Handlers["item"] = [data, other](const TOleArgs& A) {
        return OleVariant(A[0].Value.Value().toInt() == 1 ? other : data);
    };
    worksheets->Handlers["Add"] = [added](const TOleArgs&) { return OleVariant(added); };
    other->Props["Name"] = OleVariant("Other");
    data->Props["Name"] = OleVariant("Data");
    for (auto* s : {data.get(), other.get(), added.get()})
        s->Handlers["Range"] = [range](const TOleArgs&) { return OleVariant(range); };
    Programs->Programs["excel.application"] = [app] { return OleVariant(app); };

    struct Case {
        QString File, Sheet;
        QStringList Expected, Absent;
    } cases[] = {
        {existing, "Data", {"Open(" + existing + ")", "Save"}, {"Add", "SaveAs(" + existing + ")"}},
        {dir.filePath("new.xls"),
         "Fresh",
         {"Add", "Name=Fresh", "SaveAs(" + dir.filePath("new.xls") + ")"},
         {"Save"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sheet.toStdString());
        Log.clear();
        TAdvGridPtr g = MakeAdvGrid(2, 2);
        g->SaveToXLSSheet(c.File, c.Sheet);
        for (const QString& e : c.Expected) EXPECT_TRUE(Log.contains(e)) << e.toStdString();
        for (const QString& e : c.Absent) EXPECT_FALSE(Log.contains(e)) << e.toStdString();
        EXPECT_TRUE(Log.contains("Range(A1:B2)"));
        EXPECT_EQ(Log.back(), "Quit");
    }
    EXPECT_EQ(added->Props["Name"].Value().toString(), "Fresh");

    Log.clear();
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    std::unique_ptr<TStringList> names(g->GetXLSSheets(existing));
    ASSERT_EQ(names->Count(), 2);
    EXPECT_EQ(names->Strings(0), "Other");
    EXPECT_EQ(names->Strings(1), "Data");
    EXPECT_TRUE(Log.contains("Saved=true"));
    EXPECT_EQ(Log.back(), "Quit");
}

// The grid goes into a document as a table of all its cells: at the start of a new document, at a
// bookmark of an existing one, or at its end when the bookmark is missing; right-aligned and
// centred cells give their paragraphs the alignment.
TEST_F(GridOfficeScripted, TheTableGoesToTheStartTheBookmarkOrTheEnd) {
    auto app = Make(), docs = Make(), doc = Make(), sel = Make(), bookmarks = Make(), paras = Make(),
         tables = Make(), table = Make(), cell = Make(), cellRange = Make(), format = Make(), range = Make();
    app->Props["Documents"] = OleVariant(docs);
    app->Props["Selection"] = OleVariant(sel);
    docs->Props["Count"] = OleVariant(0);
    docs->Handlers["Open"] = docs->Handlers["Add"] = [doc](const TOleArgs&) { return OleVariant(doc); };
    sel->Props["End"] = OleVariant(42);
    doc->Props["Bookmarks"] = OleVariant(bookmarks);
    doc->Props["Paragraphs"] = OleVariant(paras);
    doc->Props["Tables"] = OleVariant(tables);
    doc->Handlers["Range"] = doc->Handlers["Goto"] = [range](const TOleArgs&) { return OleVariant(range); };
    bool hasMark = false;
    bookmarks->Handlers["Exists"] = [&hasMark](const TOleArgs&) { return OleVariant(hasMark); };
    tables->Handlers["Add"] = [table](const TOleArgs&) { return OleVariant(table); };
    table->Handlers["Cell"] = [cell](const TOleArgs&) { return OleVariant(cell); };
    cell->Props["Range"] = OleVariant(cellRange);
    cellRange->Props["ParagraphFormat"] = OleVariant(format);
    Programs->Programs["word.application"] = [app] { return OleVariant(app); };

    struct Case {
        const char* Name;
        bool Append, Mark;
        QStringList Expected, Absent;
    } cases[] = {
        {"new document", false, false, {"Add", "Range(start:0,end:0)"}, {"Exists(here)"}},
        {"bookmark", true, true, {"Open(doc.doc)", "Goto(what:-1,name:here)"}, {"Goto(what:3,which:-1)"}},
        {"missing bookmark",
         true,
         false,
         {"Open(doc.doc)", "Exists(here)", "Goto(what:3,which:-1)", "Range(start:42,end:42)"},
         {"Goto(what:-1,name:here)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Log.clear();
        hasMark = c.Mark;
        TAdvGridPtr g = MakeAdvGrid(2, 3);
        g->SetCells(1, 2, "right");
        g->GetCellProperties(1, 2)->SetAlignment(taRightJustify);
        g->GetCellProperties(0, 1)->SetAlignment(taCenter);
        if (c.Append)
            g->AppendToDoc("doc.doc", "here");
        else
            g->SaveToDOC("doc.doc", true);
        for (const QString& e : c.Expected) EXPECT_TRUE(Log.contains(e)) << e.toStdString();
        for (const QString& e : c.Absent) EXPECT_FALSE(Log.contains(e)) << e.toStdString();
        EXPECT_TRUE(Log.contains("Add(,numRows:3,numColumns:2)")) << Log.join(' ').toStdString();
        EXPECT_EQ(Log.filter("InsertAfter").size(), 6);
        EXPECT_TRUE(Log.contains("InsertAfter(right)"));
        EXPECT_EQ(Log.filter("Alignment=").join(','), "Alignment=1,Alignment=2");
        EXPECT_TRUE(Log.contains("SaveAs(doc.doc)"));
        EXPECT_EQ(Log.back(), "Quit");
    }
}

TEST_F(GridOfficeScripted, AQueryFillsTheFieldNamesAndOneRowPerRecord) {
    struct Case {
        int Records, Announced;
    } cases[] = {{0, 0}, {2, 2}, {3, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Records);
        Log.clear();
        auto conn = Make(), records = Make(), fields = Make();
        int at = 0;
        records->Props["Fields"] = OleVariant(fields);
        fields->Props["Count"] = OleVariant(2);
        records->Props["RecordCount"] = OleVariant(c.Announced);
        records->Handlers["Eof"] = [&at, &c](const TOleArgs&) { return OleVariant(at >= c.Records); };
        records->Handlers["MoveNext"] = [&at](const TOleArgs&) {
            ++at;
            return OleVariant();
        };
        records->Handlers["Fields"] = [this, fields, &at](const TOleArgs& A) {
            if (A.empty()) return OleVariant(fields);
            const int i = A[0].Value.Value().toInt();
            auto f = Make();
            f->Props["Name"] = OleVariant(i == 0 ? "Id" : "Label");
            f->Props["ActualSize"] = OleVariant(i == 0 ? 1 : 0);
            f->Props["Value"] = OleVariant(QString::number(at + 1));
            return OleVariant(f);
        };
        Programs->Programs["ADODB.Connection"] = [conn] { return OleVariant(conn); };
        Programs->Programs["ADODB.RecordSet"] = [records] { return OleVariant(records); };
        TAdvGridPtr g = MakeAdvGrid(5, 2);
        g->LoadFromMDBTable("db.mdb", "Parts");
        EXPECT_EQ(g->ColCount(), 3);
        EXPECT_EQ(g->Cells(1, 0), "Id");
        EXPECT_EQ(g->Cells(2, 0), "Label");
        EXPECT_EQ(g->RowCount(), c.Records > 0 ? 1 + c.Records : 2);
        for (int r = 0; r < c.Records; ++r) {
            EXPECT_EQ(g->Cells(1, 1 + r), QString::number(r + 1));
            EXPECT_EQ(g->Cells(2, 1 + r), "");
        }
        EXPECT_TRUE(Log.contains("Open(Driver={Microsoft Access Driver (*.mdb)};DBQ=db.mdb)"));
        EXPECT_TRUE(Log.contains("Open(SELECT * FROM Parts)"));
        EXPECT_EQ(Log.back(), "Close");
    }
}

} // namespace
