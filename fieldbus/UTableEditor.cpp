#include "UTableEditor.h"

#include "Classes.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"
#include "UUtils.h"

#include <utility>

namespace {

constexpr int Client_Height = 337;

// Texts of the frame's own questions and reports.
constexpr int Text_Overwrite_Partial = 1106;
constexpr int Text_Rows_Not_Shown = 1107;
constexpr int Text_Rows_Below_Key = 1108;
constexpr int Text_Insert_Drops_Last = 1109;
constexpr int Text_Read_Error = 1110;
constexpr int Text_Read_Error_Row = 1111;
constexpr int Text_Write_Error = 1112;

} // namespace

int Table_Int(const String& Text) {
    return StrToIntDef(Text, -1);
}

TFTableEditor::TFTableEditor(TComponent* AOwner, TTableEditorDesc Desc)
    : TForm(AOwner), FDesc(std::move(Desc)) {
    BeginLoading();
    SetName(FDesc.FormName);
    Build_Window();
    EndLoading();
}

TFTableEditor::~TFTableEditor() = default;

void TFTableEditor::Build_Window() {
    Setup_Window(this, FDesc.Width, Client_Height);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    P_Button = Create_Button_Panel(this);
    const struct {
        TLbButton** Button;
        const char* Name;
        const char* Glyph;
    } buttons[] = {
        {&Btn_OK, "Btn_OK", "VGLYPH_OK"},  {&Btn_Cancel, "Btn_Cancel", "VGLYPH_CANCEL"},
        {&Btn_DelRow, "Btn_DelRow", ""},   {&Btn_InsRow, "Btn_InsRow", ""},
        {&Btn_CopyRow, "Btn_CopyRow", ""}, {&Btn_PasteRow, "Btn_PasteRow", ""},
    };
    int left = 16;
    for (const auto& b : buttons) {
        *b.Button = Create_Button(this, P_Button, QString::fromLatin1(b.Name), left, 6, 110, 28,
                                  QString::fromLatin1(b.Glyph));
        left += 118;
    }
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    Btn_DelRow->OnClick = [this](TObject* Sender) { Btn_DelRowClick(Sender); };
    Btn_InsRow->OnClick = [this](TObject* Sender) { Btn_InsRowClick(Sender); };
    Btn_CopyRow->OnClick = [this](TObject* Sender) { Btn_CopyRowClick(Sender); };
    Btn_PasteRow->OnClick = [this](TObject* Sender) { Btn_PasteRowClick(Sender); };

    if (FDesc.Tables.size() > 1) {
        PageControl1 = new TPageControl(this);
        PageControl1->SetName(QStringLiteral("PageControl1"));
        PageControl1->SetParent(this);
        PageControl1->SetAlign(alClient);
        for (size_t t = 0; t < FDesc.Tables.size(); ++t) {
            auto* page = new TTabSheet(this);
            const String& name = FDesc.Tables[t].PageName;
            page->SetName(name.isEmpty() ? QStringLiteral("TabSheet") + String::number(int(t) + 1) : name);
            page->SetPageControl(PageControl1);
            FGrids.push_back(Build_Grid(FDesc.Tables[t], page));
        }
    } else {
        for (const TTableDesc& t : FDesc.Tables) FGrids.push_back(Build_Grid(t, this));
    }
    XML1 = new TXMLDocument(this);
    XML1->SetName(QStringLiteral("XML1"));
}

TAdvColumnGrid* TFTableEditor::Build_Grid(const TTableDesc& T, TWinControl* Parent) {
    auto* g = new TAdvColumnGrid(this);
    g->SetName(T.GridName);
    g->SetParent(Parent);
    g->SetAlign(alClient);
    g->SetColCount(int(T.Columns.size()));
    g->SetRowCount(T.Capacity + 1);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    TGridOptions options = g->Options();
    options.insert(goEditing);
    options.insert(goColSizing);
    g->SetOptions(options);
    g->SetShowHint(true);
    g->HintShowCells = true;
    for (size_t c = 0; c < T.Columns.size(); ++c) {
        const TTableColumn& col = T.Columns[c];
        TGridColumnItem* item = g->Columns()->Items(int(c));
        item->SetWidth(col.Width);
        if (c == 0) continue;
        item->SetEditor(col.Editor);
        item->SetColor(col.Color);
        if (!col.Items.isEmpty()) {
            TStringList items;
            for (const String& s : col.Items) items.Add(s);
            item->SetComboItems(&items);
        }
    }
    if (T.GridHandlers) {
        g->OnKeyPress = [this](TObject* Sender, Char& Key) { KeyPress_Frame(Sender, Key); };
        g->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
            DblClickCell_Frame(Sender, ARow, ACol);
        };
        g->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
            GridHint_Frame(Sender, ARow, ACol, hint);
        };
    }
    if (T.RowClick)
        g->OnClickCell = [this](TObject* Sender, int ARow, int ACol) { ClickCell_Frame(Sender, ARow, ACol); };
    return g;
}

void TFTableEditor::Create_Frame() {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(FDesc.Width, Client_Height);
    if (PageControl1) PageControl1->SetActivePage(PageControl1->Pages(0));
    Set_Frame_Lang();
}

void TFTableEditor::Set_Frame_Lang() {
    SetCaption(Lang_Text.Get(FDesc.TextBlock));
    L_SW_Desc->SetCaption(Lang_Text.Get(FDesc.TextBlock + 1));
    TLbButton* buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->SetCaption(Lang_Text.Get(FDesc.TextBlock + 2 + i));
        buttons[i]->SetHint(Lang_Text.Get(FDesc.ButtonHintId + i));
    }
    for (int t = 0; t < Table_Count(); ++t) {
        const TTableDesc& T = FDesc.Tables[size_t(t)];
        if (PageControl1) PageControl1->Pages(t)->SetCaption(Lang_Text.Get(T.PageCaptionId));
        for (size_t c = 0; c < T.Columns.size(); ++c)
            Grid(t)->Columns()->Items(int(c))->SetHeader(Lang_Text.Get(T.Columns[c].HeaderId));
        if (TStringList* hints = Hint_List(t)) {
            hints->Clear();
            for (size_t c = 1; c < T.Columns.size(); ++c) hints->Add(Lang_Text.Get(T.Columns[c].HintId));
        }
    }
}

int TFTableEditor::Current_Table() const {
    return PageControl1 ? std::max(0, PageControl1->ActivePageIndex()) : 0;
}

int TFTableEditor::Table_Of(TObject* Sender) const {
    for (int t = 0; t < Table_Count(); ++t)
        if (Sender == Grid(t)) return t;
    return Current_Table();
}

// ---- Show -----------------------------------------------------------------------------------------

void TFTableEditor::Reset_Rows(int Table, int From, int To) {
    const TTableDesc& T = FDesc.Tables[size_t(Table)];
    TAdvColumnGrid* g = Grid(Table);
    const int last = g->ColCount() + g->NumHiddenColumns() - 1;
    for (int r = From; r <= To; ++r) {
        g->SetCellEx(0, r, String::number(r));
        for (int c = 1; c <= last; ++c)
            g->SetCellEx(c, r, c < int(T.Columns.size()) ? T.Columns[size_t(c)].Reset : String());
    }
}

void TFTableEditor::Reset_Table(int Table) {
    Reset_Rows(Table, 1, FDesc.Tables[size_t(Table)].Capacity);
}

void TFTableEditor::Show_Frame() {
    for (TAdvColumnGrid* g : FGrids) g->BeginUpdate();
    for (int t = 0; t < Table_Count(); ++t) Reset_Table(t);
    Set_Limits();
    Load_File();
    for (TAdvColumnGrid* g : FGrids) g->EndUpdate();
    for (int t = 0; t < Table_Count(); ++t) Copy_Flag(t) = false;
    if (PageControl1) PageControl1->SetActivePage(PageControl1->Pages(0));
    // Only a window on the screen can give its grid the focus (a show without one, as in a
    // measurement, loads the tables all the same).
    if (!FGrids.empty() && Visible() && Grid(0)->CanFocus()) Grid(0)->SetFocus();
}

void TFTableEditor::Report_Load_Error(const String& Where, const String& What) {
    FLoad_Incomplete = true;
    String text = Lang_Text.Get(Text_Read_Error) + NativePath(*FDesc.File);
    if (!Where.isEmpty()) text += Lang_Text.Get(Text_Read_Error_Row) + Where;
    MessageDlg(text + QStringLiteral(": ") + What, mtError, {mbOK});
}

void TFTableEditor::Load_File() {
    FLoad_Incomplete = false;
    if (!FDesc.File || !FileExists(*FDesc.File)) return;
    try {
        XML1->SetActive(true);
        XML1->LoadFromFile(*FDesc.File);
    } catch (const Exception& E) {
        Report_Load_Error(String(), E.Message());
        return;
    }
    const TXMLNode root = XML1->DocumentElement();
    if (!root) return;
    int overflow = 0;
    for (int t = 0; t < Table_Count(); ++t) {
        const TTableDesc& T = FDesc.Tables[size_t(t)];
        const TXMLNode parent = T.Section.isEmpty() ? root : root.FindNode(T.Section);
        if (!parent) {
            if (!T.SectionRequired) continue; // a missing section holds no rows
            Report_Load_Error(String(), QStringLiteral("the section %1 is missing").arg(T.Section));
            return;
        }
        if (!Load_Table(t, parent, overflow)) return;
    }
    if (overflow > 0)
        MessageDlg(Lang_Text.Get(Text_Rows_Not_Shown) + String::number(overflow), mtWarning, {mbOK});
}

bool TFTableEditor::Load_Table(int Table, const TXMLNode& Parent, int& Overflow) {
    const TTableDesc& T = FDesc.Tables[size_t(Table)];
    TAdvColumnGrid* g = Grid(Table);
    int row = 1;
    for (TXMLNode node = Parent.FirstChild(); node; node = node.NextSibling(), ++row) {
        if (row > T.Capacity) {
            ++Overflow;
            continue;
        }
        for (size_t c = 1; c < T.Columns.size(); ++c) {
            const TTableColumn& col = T.Columns[c];
            if (col.Attribute.isEmpty()) continue;
            String value;
            if (node.TryAttribute(col.Attribute, value)) {
                g->SetCellEx(int(c), row, value);
                continue;
            }
            switch (col.Missing) {
                case maKeep: break;
                case maDefault: g->SetCellEx(int(c), row, col.Default); break;
                case maComputed:
                    if (Missing_Default(Table, int(c), row, value)) g->SetCellEx(int(c), row, value);
                    break;
                case maRequired: try { (void)node.RequiredAttribute(col.Attribute);
                    } catch (const Exception& E) {
                        Report_Load_Error(String::number(row), E.Message());
                    }
                    return false;
            }
        }
        Row_Loaded(Table, row, node);
    }
    return true;
}

bool TFTableEditor::Missing_Default(int Table, int Col, int, String& Value) {
    Value = FDesc.Tables[size_t(Table)].Columns[size_t(Col)].Default;
    return true;
}

// ---- Validation and saving -------------------------------------------------------------------------

String TFTableEditor::Cell(int Table, int Col, int Row) const {
    return Grid(Table)->GetCellEx(Col, Row);
}

int TFTableEditor::Cell_Int(int Table, int Col, int Row) const {
    return Table_Int(Cell(Table, Col, Row));
}

int TFTableEditor::Rows_In_Use(int Table) const {
    const TTableDesc& T = FDesc.Tables[size_t(Table)];
    int r = 1;
    while (r <= T.Capacity) {
        const String key = Cell(Table, T.KeyCol, r);
        if ((T.KeyTrimmed ? Trim(key) : key).isEmpty()) break;
        ++r;
    }
    return r - 1;
}

bool TFTableEditor::Check_Rows(int Table, const std::function<String(int Row)>& Check) {
    const TTableDesc& T = FDesc.Tables[size_t(Table)];
    const int used = Rows_In_Use(Table);
    for (int r = 1; r <= used; ++r) {
        if (T.EnableCol > 0) {
            String enable = Trim(Cell(Table, T.EnableCol, r));
            if (T.EnableIgnoresCase) enable = UpperCase(enable);
            if (enable != QStringLiteral("Y")) continue;
        }
        const String failure = Check(r);
        if (!failure.isEmpty()) {
            MessageDlg(Lang_Text.Get(FDesc.ErrorRowId) + String::number(r) + failure, mtError, {mbOK});
            return false;
        }
    }
    return true;
}

void TFTableEditor::Set_Capacity(int Table, int Capacity) {
    int& capacity = FDesc.Tables[size_t(Table)].Capacity;
    const int old = capacity;
    capacity = Capacity;
    Grid(Table)->SetRowCount(Capacity + 1);
    Reset_Rows(Table, old + 1, Capacity);
}

void TFTableEditor::Fill_Position_Lists(int Table, int From, int To, int Limit) {
    TStringList items;
    items.Add(QStringLiteral("None"));
    for (int i = 0; i < Limit; ++i) items.Add(String::number(i));
    for (int c = From; c <= To; ++c) Grid(Table)->Columns()->Items(c)->SetComboItems(&items);
}

bool TFTableEditor::Data_Not_Saved() const {
    for (int t = 0; t < Table_Count(); ++t) {
        const int used = Rows_In_Use(t);
        for (int r = used + 1; r <= FDesc.Tables[size_t(t)].Capacity; ++r)
            if (Grid_Row_Has_Data(Grid(t), r)) return true;
    }
    return false;
}

bool TFTableEditor::Save_File(String& Error) {
    try {
        XML1->SetActive(true);
        XML1->Clear();
        TXMLNode root = XML1->AddChild(FDesc.Root);
        XML1->AppendComment(FDesc.Comment);
        for (int t = 0; t < Table_Count(); ++t) {
            const TTableDesc& T = FDesc.Tables[size_t(t)];
            TXMLNode parent = T.Section.isEmpty() ? root : root.AddChild(T.Section);
            const int used = Rows_In_Use(t);
            for (int r = 1; r <= used; ++r) {
                TXMLNode row = parent.AddChild(QStringLiteral("row"));
                for (size_t c = 1; c < T.Columns.size(); ++c)
                    if (!T.Columns[c].Attribute.isEmpty())
                        row.SetAttribute(T.Columns[c].Attribute, Cell(t, int(c), r));
            }
        }
        XML1->SaveToFile(*FDesc.File);
    } catch (const Exception& E) {
        Error = E.Message();
        return false;
    }
    return true;
}

void TFTableEditor::Btn_OKClick(TObject*) {
    if (!Controllo_dati()) return;
    // Rows the save would drop are never dropped in silence.
    if (Data_Not_Saved() &&
        MessageDlg(Lang_Text.Get(Text_Rows_Below_Key), mtConfirmation, {mbYes, mbNo}) != mrYes)
        return;
    if (FLoad_Incomplete &&
        MessageDlg(Lang_Text.Get(Text_Overwrite_Partial), mtConfirmation, {mbYes, mbNo}) != mrYes)
        return;
    String error;
    if (!Save_File(error)) {
        MessageDlg(Lang_Text.Get(Text_Write_Error) + NativePath(*FDesc.File) + QStringLiteral(": ") + error,
                   mtError, {mbOK});
        return;
    }
    FLoad_Incomplete = false;
    SetModalResult(mrOk);
}

// ---- Row buttons ---------------------------------------------------------------------------------

void TFTableEditor::Delete_Table_Row(int Row, TAdvColumnGrid* SGA) {
    Delete_Grid_Row(Row, SGA);
}

void TFTableEditor::Btn_DelRowClick(TObject*) {
    const int t = Current_Table();
    const int row = Grid(t)->Row();
    if (row < 1) return;
    if (MessageDlg(Lang_Text.Get(FDesc.DeleteQuestionId) + String::number(row), mtConfirmation,
                   {mbYes, mbNo}) != mrYes)
        return;
    Delete_Table_Row(row, Grid(t));
}

void TFTableEditor::Btn_InsRowClick(TObject*) {
    const int t = Current_Table();
    TAdvColumnGrid* g = Grid(t);
    const int row = g->Row();
    if (row < 1) return;
    if (Grid_Row_Has_Data(g, g->RowCount() - 1) &&
        MessageDlg(Lang_Text.Get(Text_Insert_Drops_Last), mtConfirmation, {mbYes, mbNo}) != mrYes)
        return;
    Insert_Row(row, g, FDesc.InsertMarksEnable);
}

void TFTableEditor::Btn_CopyRowClick(TObject*) {
    const int t = Current_Table();
    Copy_Row(Grid(t), Grid(t)->Row());
    for (int i = 0; i < Table_Count(); ++i) Copy_Flag(i) = i == t;
}

void TFTableEditor::Btn_PasteRowClick(TObject*) {
    const int t = Current_Table();
    Paste_Row(Grid(t), Grid(t)->Row(), Copy_Flag(t));
}

// ---- Grid events ---------------------------------------------------------------------------------

void TFTableEditor::KeyPress_Frame(TObject* Sender, Char& Key) {
    Grid_Enter_Next_Cell(Grid(Table_Of(Sender)), Key);
}

void TFTableEditor::DblClickCell_Frame(TObject* Sender, int ARow, int ACol) {
    Grid_Auto_Size_Col(Grid(Table_Of(Sender)), ARow, ACol);
}

// The hint of a header cell belongs to the column's real index, so that it follows the column
// when columns are hidden or moved.
void TFTableEditor::GridHint_Frame(TObject* Sender, int ARow, int ACol, String& hintstr) {
    hintstr.clear();
    const int t = Table_Of(Sender);
    const int real = Grid(t)->RealColIndex(ACol);
    if (ARow != 0 || ACol < 1 || real < 1) return;
    TStringList* hints = Hint_List(t);
    if (hints && real - 1 < hints->Count()) hintstr = hints->Strings(real - 1);
}

void TFTableEditor::ClickCell_Frame(TObject* Sender, int ARow, int ACol) {
    if (ACol == 0 && ARow > 0) Grid(Table_Of(Sender))->SelectRows(ARow, 1);
}
