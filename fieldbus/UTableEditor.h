// The frame every field-protocol table editor stands on: a modal window with the title panel,
// one column grid (or a page control with one grid per table), the button panel with OK, Cancel,
// Delete Row, Insert Row, Copy Row and Paste Row, and the XML document that reads and writes the
// editor's table file.
//
// An editor describes itself once (TTableEditorDesc: width, texts, file scheme, and per table its
// columns, key and Enable columns, capacity) and the frame does the rest: building the window,
// the texts, resetting and loading on show, the walk of the validation, saving, the row buttons
// and the grid events. The editor keeps its own handler names, sets its limits on show and writes
// its own row checks (Controllo_dati) on top of Check_Rows.
#pragma once

#include "AdvColumnGrid.h"
#include "ComCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"
#include "XmlDoc.h"

#include <functional>
#include <vector>

class TStringList;

// What loading does when a row element lacks a column's attribute.
enum TMissingAttribute {
    maKeep,     // the cell keeps its reset value, loading goes on
    maDefault,  // the cell receives the column's Default, loading goes on
    maComputed, // the editor's Missing_Default answers (it may keep the reset value)
    maRequired  // loading stops: the rest of the file is not read and the user is told
};

// One column of a table, column 0 (the row number) included.
struct TTableColumn {
    int HeaderId = 0; // text id of the header
    int HintId = 0;   // text id of the header hint; 0 for column 0
    int Width = 64;
    TEditorType Editor = edNormal; // edNormal, edComboList, edComboEdit or edDataCheckBox ("Y"/"N")
    QStringList Items;             // the list of a drop-down column (editors refill some on show)
    TColor Color = clWindow;
    String Reset;     // the cell's text after the reset of a show
    String Attribute; // the row element's attribute; empty for column 0
    TMissingAttribute Missing = maKeep;
    String Default; // with maDefault
};

// One table: its grid, its columns and the rules the frame applies to its rows.
struct TTableDesc {
    String GridName;
    int PageCaptionId = 0; // text id of its page's caption (editors with pages)
    String PageName;       // its page's component name (editors with pages); TabSheet<n> when empty
    String Section;        // its section element under the root; empty when the rows sit under the root
    // A file without the section is reported and stops the loading, as a missing required
    // attribute does; otherwise a missing section holds no rows.
    bool SectionRequired = false;
    std::vector<TTableColumn> Columns;
    int KeyCol = 1; // the table in use ends at the first row whose key cell is empty
    bool KeyTrimmed = true;
    int EnableCol = 0; // 0: no Enable column; a row whose Enable is not "Y" is not checked
    bool EnableIgnoresCase = false;
    int Capacity = 1;         // the number of data rows
    bool GridHandlers = true; // the frame answers Enter, the header double-click and the hints
    bool RowClick = false;    // a click on a row number selects the row
};

struct TTableEditorDesc {
    String FormName;
    int Width = 800;
    // Block + 0 the caption, + 1 the description, + 2 .. + 7 the six button captions.
    int TextBlock = 0;
    int ButtonHintId = 0; // the first of the six button hints
    String Root;
    String Comment = QStringLiteral("SW_VERSION = 1.000");
    String* File = nullptr; // the global holding the table file's full path
    int ErrorRowId = 0;     // "Error row "
    int DeleteQuestionId = 0;
    bool InsertMarksEnable = false; // Insert Row puts "Y" into column 1
    std::vector<TTableDesc> Tables;
};

class TFTableEditor : public TForm {
public:
    TFTableEditor(TComponent* AOwner, TTableEditorDesc Desc);
    ~TFTableEditor() override;

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TPageControl* PageControl1 = nullptr; // only with more than one table
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;
    TLbButton* Btn_DelRow;
    TLbButton* Btn_InsRow;
    TLbButton* Btn_CopyRow;
    TLbButton* Btn_PasteRow;
    TXMLDocument* XML1;

    const TTableEditorDesc& Desc() const { return FDesc; }
    TAdvColumnGrid* Grid(int Table) const { return FGrids[size_t(Table)]; }
    int Table_Count() const { return int(FGrids.size()); }
    // The table of the page in front (0 for a single table).
    int Current_Table() const;
    // True when the last show could not read the whole file.
    bool Load_Incomplete() const { return FLoad_Incomplete; }

    // The buttons' handlers under the windows' usual names (an editor that spells one
    // differently adds its own name calling these).
    // OK: validation, the questions about rows that will not be saved, the file written whole;
    // closes the window only when the file was written.
    void Btn_OKClick(TObject* Sender);
    void Btn_DelRowClick(TObject* Sender);
    void Btn_InsRowClick(TObject* Sender);
    void Btn_CopyRowClick(TObject* Sender);
    void Btn_PasteRowClick(TObject* Sender);
    // The texts of the block: caption, description, buttons and their hints, page captions,
    // headers and the hint lists. Editors with texts of their own add them.
    virtual void Set_Lang() { Set_Frame_Lang(); }

    // Each editor answers with its own fields.
    virtual bool Controllo_dati() = 0;
    virtual TStringList* Hint_List(int Table) = 0;
    virtual bool& Copy_Flag(int Table) = 0;

protected:
    // ---- The steps an editor's handlers call ----
    // Creation: the software code, the client size, the first page, the texts.
    void Create_Frame();
    void Set_Frame_Lang();
    // A show: reset and load inside one update lock per grid, then the copy flags cleared and
    // the focus to the first grid.
    void Show_Frame();
    void KeyPress_Frame(TObject* Sender, Char& Key);
    void DblClickCell_Frame(TObject* Sender, int ARow, int ACol);
    void GridHint_Frame(TObject* Sender, int ARow, int ACol, String& hintstr);
    void ClickCell_Frame(TObject* Sender, int ARow, int ACol);

    // ---- What an editor may change ----
    // Show step 2: the limits and the lists that depend on them.
    virtual void Set_Limits() {}
    // The value of a maComputed attribute that is missing from row Row; false keeps the reset value.
    virtual bool Missing_Default(int Table, int Col, int Row, String& Value);
    // Called after row Row of a table took the attributes of its element Node; an editor that
    // reads an older layout or derives cells from others adjusts the row here.
    virtual void Row_Loaded(int /*Table*/, int /*Row*/, const TXMLNode& /*Node*/) {}
    // Deletes a row after the question; the frame's is Delete_Grid_Row.
    virtual void Delete_Table_Row(int Row, TAdvColumnGrid* SGA);

    // ---- Help for the checks ----
    // Walks the table in use from row 1 to the first empty key, skipping rows not enabled, and
    // calls Check for each; the first text it answers ends the walk with the error message
    // "Error row " + row + text, and the result is false.
    bool Check_Rows(int Table, const std::function<String(int Row)>& Check);
    // The cell through the system's integer rule (raw text, -1 when it is no integer).
    int Cell_Int(int Table, int Col, int Row) const;
    String Cell(int Table, int Col, int Row) const;
    // A drop-down list "None", "0" .. Limit - 1 for the columns From .. To of a table.
    void Fill_Position_Lists(int Table, int From, int To, int Limit);

    // The rows in use: 1 .. the row before the first empty key.
    int Rows_In_Use(int Table) const;
    // Changes the number of data rows of a table (an editor whose capacity follows the project
    // sets it on show); rows that come back into the table get their reset values.
    void Set_Capacity(int Table, int Capacity);

private:
    void Build_Window();
    TAdvColumnGrid* Build_Grid(const TTableDesc& T, TWinControl* Parent);
    void Reset_Table(int Table);
    void Reset_Rows(int Table, int From, int To);
    void Load_File();
    bool Load_Table(int Table, const TXMLNode& Parent, int& Overflow);
    bool Data_Not_Saved() const;
    bool Save_File(String& Error);
    int Table_Of(TObject* Sender) const;
    void Report_Load_Error(const String& Where, const String& What);

    TTableEditorDesc FDesc;
    std::vector<TAdvColumnGrid*> FGrids;
    bool FLoad_Incomplete = false;
};

// The integer rule of the number cells: StrToIntDef(Text, -1) on the raw text.
int Table_Int(const String& Text);
