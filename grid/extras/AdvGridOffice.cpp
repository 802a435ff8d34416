// TAdvStringGrid: spreadsheet and word-processor documents and desktop-database tables, driven
// through the office suite's and the database engine's automation objects (Automation.h). The
// grid only calls the properties and methods below, in this order; the programs do the rest.
//
// Readers of spreadsheets start a program instance of their own and end it; writers use a
// running instance when there is one and end only an instance they started.
#include "AdvGridFilesSupport.h"
#include "Automation.h"

#include <QDateTime>

#include <functional>

using namespace GridFiles;

namespace {

const String ExcelProgID = QStringLiteral("excel.application");
const String WordProgID = QStringLiteral("word.application");

// The spreadsheet's column letters of a 1-based column: A..Z, then AA = 27 .. AZ = 52, BA = 53.
String ColumnLetters(int Col) {
    String s;
    for (int n = Col; n > 0; n = (n - 1) / 26) s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

// The 1-based column of a run of letters; -1 when it is empty or holds anything else.
int LettersToColumn(const String& Letters) {
    if (Letters.isEmpty()) return -1;
    int col = 0;
    for (QChar ch : Letters) {
        const char16_t c = ch.toUpper().unicode();
        if (c < u'A' || c > u'Z') return -1;
        col = col * 26 + (c - u'A' + 1);
        if (col > 1000000) return -1;
    }
    return col;
}

// A row number of digits only; -1 for anything else.
int RowNumber(const String& Digits) {
    bool ok = false;
    const int v = Digits.toInt(&ok);
    return ok && !Digits.isEmpty() && Digits.front().isDigit() ? v : -1;
}

// The first and last column and row of a used-range address ("$B$2:$D$9", "$B$2", "$2:$9").
struct TUsedArea {
    int FromCol = -1, FromRow = -1, ToCol = -1, ToRow = -1;
    bool Valid() const { return FromCol > 0 && FromRow > 0 && ToCol > 0 && ToRow > 0; }
};

// One side of a range: column letters, "$", row digits; a side without "$" names whole rows.
void ParseCorner(String Side, int& Col, int& Row, bool First) {
    if (Side.startsWith(u'$')) Side.remove(0, 1);
    const int dollar = Side.indexOf(u'$');
    if (dollar < 0) {
        Col = First ? 1 : 256;
        Row = RowNumber(Side);
        return;
    }
    Col = LettersToColumn(Side.left(dollar));
    Row = RowNumber(Side.mid(dollar + 1));
}

TUsedArea ParseUsedArea(const String& Address) {
    TUsedArea a;
    const int colon = Address.indexOf(u':');
    if (colon >= 0) {
        ParseCorner(Address.left(colon), a.FromCol, a.FromRow, true);
        ParseCorner(Address.mid(colon + 1), a.ToCol, a.ToRow, false);
    } else if (!Address.contains(u'$')) {
        a.FromCol = a.ToCol = a.FromRow = a.ToRow = 1;
    } else {
        String s = Address;
        s.remove(0, 1);
        const int dollar = s.indexOf(u'$');
        a.FromCol = a.ToCol = dollar < 0 ? -1 : LettersToColumn(s.left(dollar));
        a.FromRow = a.ToRow = dollar < 0 ? -1 : RowNumber(s.mid(dollar + 1));
    }
    return a;
}

// The value of a cell or range object (its default property), or the value itself.
QVariant ValueOf(const OleVariant& V) {
    return V.IsObject() ? V.Get(QStringLiteral("Value")).Value() : V.Value();
}

int IntOf(const OleVariant& V) {
    return ValueOf(V).toInt();
}

// A value as the grid stores it; false for values that have no text (errors, objects, arrays).
bool ValueText(const QVariant& V, String& Text) {
    if (!V.isValid() || V.isNull()) {
        Text.clear();
        return true;
    }
    switch (V.metaType().id()) {
        case QMetaType::Bool:
            Text = V.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            return true;
        case QMetaType::Double:
        case QMetaType::Float: Text = FloatToStr(V.toDouble()); return true;
        case QMetaType::QDateTime: Text = DateTimeToStr(QDateTimeToDateTime(V.toDateTime())); return true;
        case QMetaType::QDate:
            Text = DateTimeToStr(QDateTimeToDateTime(V.toDate().startOfDay()));
            return true;
        case QMetaType::QVariantList:
        case QMetaType::QStringList:
        case QMetaType::QVariantMap: return false;
        default: break;
    }
    if (!V.canConvert<QString>()) return false;
    Text = V.toString();
    return true;
}

// Ends a program instance on a path that is already failing: its own error would hide the first.
void QuitQuietly(const OleVariant& App) {
    try {
        App.Call(QStringLiteral("Quit"));
    } catch (...) {
    }
}

// The workbook's last sheet of that name; an empty variant for none.
OleVariant SheetNamed(const OleVariant& Book, const String& Name) {
    OleVariant sheet;
    const int count = IntOf(Book.Get(QStringLiteral("Sheets")).Get(QStringLiteral("Count")));
    for (int i = 1; i <= count; ++i) {
        const OleVariant s = Book.Get(QStringLiteral("Sheets"), {i});
        if (s.Get(QStringLiteral("Name")).Value().toString() == Name) sheet = s;
    }
    return sheet;
}

// A new instance of the spreadsheet program for a reader.
OleVariant NewExcel() {
    try {
        return CreateOleObject(ExcelProgID);
    } catch (const Exception&) {
        throw EAdvGridError(QStringLiteral("Excel OLE server not found"));
    }
}

// The running instance of a program, else a new one (Created tells which).
OleVariant RunningOrNew(const String& ProgID, const String& NotFound, bool& Created) {
    Created = false;
    try {
        return GetActiveOleObject(ProgID);
    } catch (const Exception&) {
    }
    try {
        OleVariant app = CreateOleObject(ProgID);
        Created = true;
        return app;
    } catch (const Exception&) {
        throw EAdvGridError(NotFound);
    }
}

// Runs Work, with the hourglass shown, on the running instance of a program or else on a new
// one, which is ended afterwards, also when Work fails.
void WithRunningOrNew(const String& ProgID, const String& NotFound,
                      const std::function<void(const OleVariant&)>& Work) {
    const THourGlass hourGlass;
    bool created = false;
    const OleVariant app = RunningOrNew(ProgID, NotFound, created);
    try {
        Work(app);
    } catch (...) {
        if (created) QuitQuietly(app);
        throw;
    }
    if (created) app.Call(QStringLiteral("Quit"));
}

} // namespace

TStringList* TAdvStringGrid::GetXLSSheets(const String& FileName) {
    const THourGlass hourGlass;
    const OleVariant app = NewExcel();
    TScoped<TStringList> list(new TStringList);
    try {
        const OleVariant book = app.Get(QStringLiteral("WorkBooks")).Call(QStringLiteral("Open"), {FileName});
        const OleVariant sheets = book.Get(QStringLiteral("WorkSheets"));
        const int count = IntOf(sheets.Get(QStringLiteral("Count")));
        for (int i = 1; i <= count; ++i) {
            String name;
            ValueText(sheets.Get(QStringLiteral("item"), {i}).Get(QStringLiteral("Name")).Value(), name);
            list->Add(name);
        }
        book.Set(QStringLiteral("Saved"), true);
    } catch (...) {
        QuitQuietly(app);
        throw;
    }
    app.Call(QStringLiteral("Quit"));
    return list.release();
}

void TAdvStringGrid::LoadFromXLS(const String& FileName) {
    LoadFromXLSSheet(FileName, String());
}

void TAdvStringGrid::LoadFromXLSSheet(const String& FileName, const String& SheetName) {
    const THourGlass hourGlass;
    const OleVariant app = NewExcel();
    auto finish = [&] {
        CellsChanged(TRect(0, 0, ColCount(), RowCount()));
        AllCellsChanged();
    };
    try {
        const OleVariant book = app.Get(QStringLiteral("WorkBooks")).Call(QStringLiteral("Open"), {FileName});
        OleVariant sheet;
        if (!SheetName.isEmpty()) {
            sheet = SheetNamed(book, SheetName);
            if (!sheet.IsObject())
                throw EAdvGridError(QStringLiteral("Excel worksheet ") + SheetName +
                                    QStringLiteral(" not found"));
        } else {
            sheet = app.Get(QStringLiteral("ActiveSheet"));
        }

        const String address =
            sheet.Get(QStringLiteral("UsedRange")).Get(QStringLiteral("Address")).Value().toString();
        const TUsedArea area = ParseUsedArea(address);
        // An address the grid cannot read is a workbook it cannot load: nothing is changed.
        if (!area.Valid()) throw Exception(QStringLiteral("Incorrect XLS file"));

        const int oldFixedCols = FixedCols(), oldFixedRows = FixedRows();
        int cols = area.ToCol - area.FromCol + 1, rows = area.ToRow - area.FromRow + 1;
        const int startCol = SaveFixedCells || SaveFixedCols ? 0 : oldFixedCols;
        const int startRow = SaveFixedCells || SaveFixedRows ? 0 : oldFixedRows;
        cols += startCol;
        rows += startRow;
        SetColCount(cols);
        SetRowCount(rows);
        if (oldFixedCols < ColCount()) SetFixedCols(oldFixedCols);
        if (oldFixedRows < RowCount()) SetFixedRows(oldFixedRows);

        try {
            if (area.FromCol == area.ToCol && area.FromRow == area.ToRow) {
                const OleVariant cell = sheet.Get(QStringLiteral("Rows"))
                                            .Get(QStringLiteral("Cells"), {area.FromRow, area.FromCol});
                String text;
                if (ValueText(ValueOf(cell), text)) LoadCell(startCol, startRow, text);
            } else {
                const String a1 = ColumnLetters(area.FromCol) + String::number(area.FromRow) + u':' +
                                  ColumnLetters(area.ToCol) + String::number(area.ToRow);
                const QVariantList values = ValueOf(sheet.Get(QStringLiteral("Range"), {a1})).toList();
                for (int r = 0; r < values.size(); ++r) {
                    const QVariantList row = values[r].toList();
                    for (int c = 0; c < row.size(); ++c) {
                        String text;
                        if (startCol + c < ColCount() && startRow + r < RowCount() && ValueText(row[c], text))
                            LoadCell(startCol + c, startRow + r, text);
                    }
                }
            }
        } catch (...) {
            throw Exception(QStringLiteral("Incorrect XLS file"));
        }
        book.Call(QStringLiteral("Close"), {Named(QStringLiteral("SaveChanges"), false)});
    } catch (...) {
        QuitQuietly(app);
        finish();
        throw;
    }
    app.Call(QStringLiteral("Quit"));
    finish();
}

void TAdvStringGrid::SaveToXLS(const String& FileName, bool CreateNewSheet) {
    WithRunningOrNew(ExcelProgID, QStringLiteral("Excel OLE server not found"), [&](const OleVariant& app) {
        const OleVariant books = app.Get(QStringLiteral("WorkBooks"));
        OleVariant book, sheet;
        int firstRow = 1;
        if (CreateNewSheet || IntOf(books.Get(QStringLiteral("Count"))) == 0) {
            book = books.Call(QStringLiteral("Add"));
            sheet = book.Get(QStringLiteral("Sheets"), {1});
        } else {
            book = app.Get(QStringLiteral("ActiveWorkBook"));
            sheet = app.Get(QStringLiteral("ActiveSheet"));
            firstRow = IntOf(app.Get(QStringLiteral("ActiveCell")).Get(QStringLiteral("Row")));
        }
        WriteXLSBlock(sheet, firstRow);
        book.Call(QStringLiteral("SaveAs"), {FileName});
    });
}

void TAdvStringGrid::SaveToXLSSheet(const String& FileName, const String& SheetName) {
    WithRunningOrNew(ExcelProgID, QStringLiteral("Excel OLE server not found"), [&](const OleVariant& app) {
        const OleVariant books = app.Get(QStringLiteral("WorkBooks"));
        OleVariant book;
        bool opened = false;
        if (FileExists(FileName)) {
            try {
                book = books.Call(QStringLiteral("Open"), {FileName});
                opened = book.IsObject();
            } catch (const Exception&) {
            }
        }
        if (!opened) book = books.Call(QStringLiteral("Add"));
        OleVariant sheet = SheetNamed(book, SheetName);
        if (!sheet.IsObject()) {
            sheet = book.Get(QStringLiteral("WorkSheets")).Call(QStringLiteral("Add"));
            sheet.Set(QStringLiteral("Name"), SheetName);
        }
        WriteXLSBlock(sheet, 1);
        if (opened)
            book.Call(QStringLiteral("Save"));
        else
            book.Call(QStringLiteral("SaveAs"), {FileName});
    });
}

void TAdvStringGrid::WriteXLSBlock(const OleVariant& Sheet, int FirstRow) {
    QVariantList rows;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        QVariantList row;
        for (int c = SaveStartCol(); c < ColCount(); ++c) {
            String text;
            SaveCell(RealColIndex(c), r, text);
            text.remove(u'\r');
            row.append(text);
        }
        rows.append(QVariant(row));
    }
    ExportNotification(esExportDone, -1);
    const int width = ColCount() - SaveStartCol();
    if (rows.isEmpty() || width <= 0) return;
    const String address = QStringLiteral("A") + String::number(FirstRow) + u':' + ColumnLetters(width) +
                           String::number(FirstRow + int(rows.size()) - 1);
    Sheet.Get(QStringLiteral("Range"), {address}).Set(QStringLiteral("Value"), QVariant(rows));
}

void TAdvStringGrid::SaveToDOC(const String& FileName, bool CreateNewDocument) {
    WriteDocTable(FileName, CreateNewDocument, false, String());
}

void TAdvStringGrid::AppendToDoc(const String& FileName, const String& Bookmark) {
    WriteDocTable(FileName, false, true, Bookmark);
}

void TAdvStringGrid::WriteDocTable(const String& FileName, bool CreateNewDocument, bool Append,
                                   const String& Bookmark) {
    WithRunningOrNew(WordProgID, QStringLiteral("Word OLE server not found"), [&](const OleVariant& app) {
        const OleVariant docs = app.Get(QStringLiteral("Documents"));
        OleVariant doc;
        if (Append)
            doc = docs.Call(QStringLiteral("Open"), {FileName});
        else if (CreateNewDocument || IntOf(docs.Get(QStringLiteral("Count"))) == 0)
            doc = docs.Call(QStringLiteral("Add"));
        else
            doc = app.Get(QStringLiteral("ActiveDocument"));
        doc.Set(QStringLiteral("ShowSpellingErrors"), false);
        app.Get(QStringLiteral("Selection")).Call(QStringLiteral("TypeText"), {Caption()});
        app.Get(QStringLiteral("Selection")).Call(QStringLiteral("TypeParaGraph"));

        OleVariant range;
        if (!Append) {
            range = doc.Call(QStringLiteral("Range"),
                             {Named(QStringLiteral("start"), 0), Named(QStringLiteral("end"), 0)});
        } else if (!Bookmark.isEmpty() &&
                   ValueOf(doc.Get(QStringLiteral("Bookmarks")).Call(QStringLiteral("Exists"), {Bookmark}))
                       .toBool()) {
            range = doc.Call(QStringLiteral("Goto"),
                             {Named(QStringLiteral("what"), -1), Named(QStringLiteral("name"), Bookmark)});
        } else {
            doc.Get(QStringLiteral("Paragraphs")).Call(QStringLiteral("Add"));
            app.Get(QStringLiteral("Selection"))
                .Call(QStringLiteral("Goto"),
                      {Named(QStringLiteral("what"), 3), Named(QStringLiteral("which"), -1)});
            const int end = IntOf(app.Get(QStringLiteral("Selection")).Get(QStringLiteral("End")));
            range = doc.Call(QStringLiteral("Range"),
                             {Named(QStringLiteral("start"), end), Named(QStringLiteral("end"), end)});
        }

        const OleVariant table =
            doc.Get(QStringLiteral("Tables"))
                .Call(QStringLiteral("Add"), {range, Named(QStringLiteral("numRows"), RowCount()),
                                              Named(QStringLiteral("numColumns"), ColCount())});
        ExportNotification(esExportStart, 0);
        for (int r = 1; r <= RowCount(); ++r) {
            ExportNotification(esExportNextRow, r);
            for (int c = 1; c <= ColCount(); ++c) {
                const OleVariant cell =
                    table.Call(QStringLiteral("Cell"),
                               {Named(QStringLiteral("Row"), r), Named(QStringLiteral("Column"), c)});
                String text;
                SaveCell(RealColIndex(c - 1), r - 1, text);
                const OleVariant cellRange = cell.Get(QStringLiteral("Range"));
                cellRange.Call(QStringLiteral("InsertAfter"), {text});
                TAlignment ha = taLeftJustify;
                TVAlignment va = vtaTop;
                GetCellAlignment(RealColIndex(c - 1), r - 1, ha, va);
                if (ha == taRightJustify || ha == taCenter)
                    cellRange.Get(QStringLiteral("ParagraphFormat"))
                        .Set(QStringLiteral("Alignment"), ha == taRightJustify ? 2 : 1);
            }
        }
        ExportNotification(esExportDone, -1);
        doc.Call(QStringLiteral("SaveAs"), {FileName});
    });
}

void TAdvStringGrid::LoadFromMDBTable(const String& FileName, const String& Table) {
    LoadFromMDBSQL(FileName, QStringLiteral("SELECT * FROM ") + Table);
}

void TAdvStringGrid::LoadFromMDBSQL(const String& FileName, const String& SQL) {
    const THourGlass hourGlass;
    const OleVariant conn = CreateOleObject(QStringLiteral("ADODB.Connection"));
    conn.Call(QStringLiteral("Open"),
              {QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};DBQ=") + FileName});
    OleVariant records;
    try {
        records = CreateOleObject(QStringLiteral("ADODB.RecordSet"));
        records.Set(QStringLiteral("ActiveConnection"), conn);
        records.Call(QStringLiteral("Open"), {SQL});
        const int n = IntOf(records.Get(QStringLiteral("Fields")).Get(QStringLiteral("Count")));
        SetColCount(FixedCols() + n);
        if (FixedRows() > 0) {
            for (int i = 0; i < n; ++i)
                SetCellEx(FixedCols() + i, FixedRows() - 1,
                          records.Get(QStringLiteral("Fields"), {i})
                              .Get(QStringLiteral("Name"))
                              .Value()
                              .toString());
        }
        const int recordCount = IntOf(records.Get(QStringLiteral("RecordCount")));
        if (recordCount > 0) SetRowCount(FixedRows() + recordCount);
        int row = FixedRows();
        while (!ValueOf(records.Get(QStringLiteral("Eof"))).toBool()) {
            // The grid grows to hold a record the count did not announce.
            if (row >= RowCount()) SetRowCount(row + 1);
            for (int i = 0; i < n; ++i) {
                const OleVariant field = records.Get(QStringLiteral("Fields"), {i});
                String text;
                if (IntOf(field.Get(QStringLiteral("ActualSize"))) > 0)
                    ValueText(field.Get(QStringLiteral("Value")).Value(), text);
                LoadCell(FixedCols() + i, row, text);
            }
            records.Call(QStringLiteral("MoveNext"));
            ++row;
        }
        records.Call(QStringLiteral("Close"));
    } catch (...) {
        try {
            if (records.IsObject()) records.Call(QStringLiteral("Close"));
        } catch (...) {
        }
        try {
            conn.Call(QStringLiteral("Close"));
        } catch (...) {
        }
        throw;
    }
    conn.Call(QStringLiteral("Close"));
}
