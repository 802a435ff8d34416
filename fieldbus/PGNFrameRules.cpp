#include "PGNFrameRules.h"

#include "Classes.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"

#include <utility>

namespace PGN_Frames {

TTableColumn Number_Column(int HeaderId) {
    TTableColumn c;
    c.HeaderId = HeaderId;
    c.Width = 40;
    return c;
}

TTableColumn Text_Column(int HeaderId, int HintId, int Width, const char* Attribute) {
    TTableColumn c;
    c.HeaderId = HeaderId;
    c.HintId = HintId;
    c.Width = Width;
    c.Attribute = QString::fromLatin1(Attribute);
    c.Missing = maKeep; // the reset value, empty
    return c;
}

TTableColumn Check_Column(int HeaderId, int HintId, int Width, const char* Attribute) {
    TTableColumn c = Text_Column(HeaderId, HintId, Width, Attribute);
    c.Editor = edDataCheckBox;
    c.Missing = maDefault;
    c.Default = QStringLiteral("N");
    return c;
}

TTableColumn Page_Column(int HeaderId, int HintId, int Width) {
    TTableColumn c = Text_Column(HeaderId, HintId, Width, "DP");
    c.Editor = edComboList;
    c.Items = {QStringLiteral("0"), QStringLiteral("1")};
    return c;
}

TTableColumn PGN_Column(int HeaderId, int HintId, int Width) {
    return Text_Column(HeaderId, HintId, Width, "PGN");
}

TTableEditorDesc PGN_Table_Desc(const TPGN_Table& Table, std::vector<TTableColumn> Columns) {
    TTableEditorDesc d;
    d.FormName = QString::fromLatin1(Table.FormName);
    d.Width = Table.Width;
    d.TextBlock = Table.TextBlock;
    d.ButtonHintId = Table.TextBlock + 8;
    d.Root = QString::fromLatin1(Table.Root);
    d.File = Table.File;
    d.ErrorRowId = Table.ErrorRowId;
    d.DeleteQuestionId = Table.DeleteQuestionId;
    TTableDesc t;
    t.GridName = QStringLiteral("sga");
    t.KeyCol = Table.KeyCol;
    t.KeyTrimmed = false; // a PGN of blanks is checked, not taken for the end of the table
    t.Capacity = Table.Capacity;
    t.RowClick = true;
    t.Columns = std::move(Columns);
    d.Tables.push_back(std::move(t));
    return d;
}

namespace {

bool In(qint64 Value, qint64 Low, qint64 High) {
    return Value >= Low && Value <= High;
}

} // namespace

String Check_Receive_Bytes(TRow_Kind Kind, const String& Start, const String& NByte,
                           const TReceive_Texts& Texts, qint64& Bytes) {
    // Sums in 64 bits: a huge N Byte must fail its check, not wrap around.
    const qint64 start = Table_Int(Start);
    const qint64 n = Table_Int(NByte);
    if (Kind != rkSingle) {
        const bool transport = Kind == rkTransport;
        const int max = transport ? Transport_Max : Fast_Packet_Max;
        if (!In(start, 0, max)) return Lang_Text.Get(transport ? Texts.TP_Start : Texts.FP_Start);
        if (n < 0 || start + n > max) return Lang_Text.Get(transport ? Texts.TP_Sum : Texts.FP_Sum);
        Bytes = n;
        return String();
    }
    const bool no_start = Trim(Start).isEmpty();
    const bool no_n = Trim(NByte).isEmpty();
    if (no_start && no_n) {
        Bytes = 8;
        return String();
    }
    if (no_start || no_n) return Lang_Text.Get(Texts.Both);
    if (!In(start, 1, 8)) return Lang_Text.Get(Texts.Start);
    if (!In(n, 1, 8)) return Lang_Text.Get(Texts.NByte);
    if (start + n > 8) return Lang_Text.Get(Texts.Sum);
    Bytes = n + 8; // the selected bytes on top of the frame's eight
    return String();
}

bool Send_Timer_OK(const String& On_Timer, const String& Send_Timer) {
    return On_Timer != QStringLiteral("Y") || In(Table_Int(Send_Timer), 1, 65535);
}

TRow_Failure Check_Sent_Bytes(const String& NBytes, int Budget, qint64& Total, int Range_Text,
                              int Budget_Text) {
    const int n = Table_Int(NBytes);
    if (!In(n, 0, Budget)) return {Lang_Text.Get(Range_Text) + String::number(Budget), true};
    Total += n;
    if (Total > Budget) return {Lang_Text.Get(Budget_Text) + String::number(Budget), false};
    return {};
}

TFPGNTableEditor::TFPGNTableEditor(TComponent* AOwner, TTableEditorDesc Desc)
    : TFTableEditor(AOwner, std::move(Desc)), FHints(new TStringList()) {}

TFPGNTableEditor::~TFPGNTableEditor() {
    TObject::Free(FHints);
}

void TFPGNTableEditor::Start() {
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TFPGNTableEditor::FormCreate(TObject*) {
    Create_Frame();
}

void TFPGNTableEditor::FormShow(TObject*) {
    Show_Frame();
}

bool TFPGNTableEditor::Check_PGN_Rows(const std::function<TRow_Failure(int Row)>& Check) {
    const int used = Rows_In_Use(0);
    for (int r = 1; r <= used; ++r) {
        const TRow_Failure failure = Check(r);
        if (failure.Text.isEmpty()) continue;
        const String prefix =
            failure.Row_Prefix ? Lang_Text.Get(Desc().ErrorRowId) + String::number(r) : String();
        MessageDlg(prefix + failure.Text, mtError, {mbOK});
        return false;
    }
    return true;
}

TRow_Failure TFPGNTableEditor::Budget_Failure(int Text_Id, int Budget) {
    return {Lang_Text.Get(Text_Id) + String::number(Budget), false};
}

TRow_Failure TFPGNTableEditor::Row_Failure(int Text_Id) {
    return {Lang_Text.Get(Text_Id), true};
}

TRow_Failure TFPGNTableEditor::Row_Failure(const String& Text) {
    return {Text, true};
}

} // namespace PGN_Frames
