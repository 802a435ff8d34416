// The edit window: characters filtered in a WM_CHAR handler, the clipboard keys as WM_COPY,
// WM_CUT and WM_PASTE, the length limit, the styles of CreateParams, the multi-line formatting
// rectangle and the position queries, all driven by key events; the masked edit's format.
#include "Forms.h"
#include "Mask.h"
#include "StdCtrls.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

namespace {

// An edit whose window styles and message handlers a test sets.
class TProbeEdit : public TCustomEdit {
public:
    explicit TProbeEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
    DWORD AddStyle = 0, RemoveStyle = 0;
    bool RefusePaste = false;
    std::vector<UINT> Clipboard; // WM_COPY, WM_CUT, WM_PASTE as they came
    int Changes = 0;             // EN_CHANGE notifications

    void Dispatch(TMessage& Message) override {
        switch (Message.Msg) {
            case WM_CHAR:
                // Digits are dropped, "a" becomes "A".
                if (Message.WParam >= '0' && Message.WParam <= '9') return;
                if (Message.WParam == 'a') Message.WParam = 'A';
                break;
            case WM_COPY:
            case WM_CUT:
            case WM_PASTE:
                Clipboard.push_back(Message.Msg);
                if (Message.Msg == WM_PASTE && RefusePaste) return;
                break;
            case CN_COMMAND:
                if (Message.WParamHi() == EN_CHANGE) ++Changes;
                break;
            default: break;
        }
        TCustomEdit::Dispatch(Message);
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomEdit::CreateParams(Params);
        Params.Style = (Params.Style | AddStyle) & ~RemoveStyle;
    }
};

class EditEngine : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    template <class T> T* Add(int W = 200, int H = 60) {
        T* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(8, 8, W, H);
        return c;
    }
    static void Focus(TWinControl* C) {
        C->SetFocus();
        ASSERT_TRUE(C->Focused());
    }
    // A multi-line edit used as a single-line one, as the grid's editors make it.
    TProbeEdit* AddMultiLine(DWORD Extra = 0) {
        auto* e = Add<TProbeEdit>();
        e->AddStyle = ES_MULTILINE | ES_WANTRETURN | Extra;
        if (!(Extra & ES_AUTOHSCROLL)) e->RemoveStyle = ES_AUTOHSCROLL;
        e->RecreateWnd();
        return e;
    }
    static TPoint PosFromChar(TWinControl* E, int Index) {
        const LRESULT r = E->Perform(EM_POSFROMCHAR, WPARAM(Index), 0);
        return r == -1 ? TPoint(-1, -1) : LParamToPoint(LPARAM(r));
    }
    static int CharFromPos(TWinControl* E, int X, int Y) {
        const LRESULT r = E->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(X, Y));
        return r == -1 ? -1 : int(LOWORD(uintptr_t(r)));
    }
    static TRect FormattingRect(TWinControl* E) {
        TRect r;
        E->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static void SetFormattingRect(TWinControl* E, const TRect& R) {
        E->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
    }

    TForm* Form = nullptr;
};

} // namespace

TEST_F(EditEngine, AWmCharHandlerChangesAndDropsCharacters) {
    auto* e = Add<TProbeEdit>();
    Focus(e);
    SimulateText(e, QStringLiteral("a1b2a3"));
    EXPECT_EQ(e->Text(), QStringLiteral("AbA"));
    EXPECT_EQ(e->Changes, 3); // one EN_CHANGE per inserted character, none for a dropped one
    EXPECT_TRUE(e->Modified);
}

TEST_F(EditEngine, ClipboardKeysBecomeMessagesThatCanBeRefused) {
    const struct {
        const char* Name;
        Word Key;
        TShiftState Shift;
        UINT Message;
        const char* After; // text after the key when the control does not refuse it
    } cases[] = {
        {"Ctrl+V", 'V', {ssCtrl}, WM_PASTE, "one [clip] three"},
        {"Shift+Insert", VK_INSERT, {ssShift}, WM_PASTE, "one [clip] three"},
        {"Ctrl+C", 'C', {ssCtrl}, WM_COPY, "one two three"},
        {"Ctrl+Insert", VK_INSERT, {ssCtrl}, WM_COPY, "one two three"},
        {"Ctrl+X", 'X', {ssCtrl}, WM_CUT, "one  three"},
        {"Shift+Delete", VK_DELETE, {ssShift}, WM_CUT, "one  three"},
    };
    auto* e = Add<TProbeEdit>();
    Focus(e);
    for (bool refuse : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (refuse ? " refused" : ""));
            e->SetText(QStringLiteral("one two three"));
            QApplication::clipboard()->setText(QStringLiteral("[clip]\nsecond line"));
            e->SetSelStart(4);
            e->SetSelLength(3);
            e->Clipboard.clear();
            e->RefusePaste = refuse;
            SimulateKey(e, c.Key, c.Shift);
            EXPECT_EQ(e->Clipboard, std::vector<UINT>{c.Message});
            const bool refused = refuse && c.Message == WM_PASTE;
            EXPECT_EQ(e->Text(), QString::fromLatin1(refused ? "one two three" : c.After));
            if (c.Message != WM_PASTE) {
                EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two"));
            }
        }
    }
    // A key press handler that drops the Ctrl+V character keeps the paste from happening.
    e->RefusePaste = false;
    e->OnKeyPress = [](TObject*, Char& Key) {
        if (Key == Char(22)) Key = Char(0);
    };
    e->Clipboard.clear();
    e->SetText(QStringLiteral("kept"));
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_TRUE(e->Clipboard.empty());
    EXPECT_EQ(e->Text(), QStringLiteral("kept"));
}

TEST_F(EditEngine, TheLimitHoldsForTypingAndPastingButNotForCode) {
    auto* e = Add<TProbeEdit>();
    Focus(e);
    e->Perform(EM_LIMITTEXT, 5, 0);
    EXPECT_EQ(e->MaxLength(), 5);
    EXPECT_EQ(e->Perform(EM_GETLIMITTEXT), 5);
    SimulateText(e, QStringLiteral("abc"));
    QApplication::clipboard()->setText(QStringLiteral("XYZW"));
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("AbcXY")); // the paste is cut to the room left
    SimulateText(e, QStringLiteral("q"));
    EXPECT_EQ(e->Text(), QStringLiteral("AbcXY"));
    e->SetSelStart(0);
    e->SetSelLength(2); // typing over a selection frees its room
    SimulateText(e, QStringLiteral("q"));
    EXPECT_EQ(e->Text(), QStringLiteral("qcXY"));
    e->SetText(QStringLiteral("longer than five"));
    EXPECT_EQ(e->Text(), QStringLiteral("longer than five"));
}

TEST_F(EditEngine, SelectionMessages) {
    auto* e = Add<TProbeEdit>();
    e->SetText(QStringLiteral("abcdef"));
    e->HandleNeeded();
    DWORD start = 0, end = 0;
    e->Perform(EM_SETSEL, 1, 4);
    const LRESULT r = e->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 4u);
    EXPECT_EQ(r, LRESULT(MAKELONG(1, 4)));
    EXPECT_EQ(e->SelText(), QStringLiteral("bcd"));
    e->Perform(EM_SETSEL, 0, LPARAM(-1)); // to the end
    EXPECT_EQ(e->SelText(), QStringLiteral("abcdef"));
    e->Perform(EM_SETSEL, 5, 2); // backwards: the caret at 2
    EXPECT_EQ(e->SelText(), QStringLiteral("cde"));
    e->Perform(EM_SETSEL, WPARAM(-1), 0); // no selection, the caret stays
    EXPECT_EQ(e->SelLength(), 0);
    EXPECT_EQ(e->SelStart(), 2);
}

TEST_F(EditEngine, MultiLineEditTakesLineBreaksAndCountsItsLines) {
    auto* e = AddMultiLine(ES_AUTOHSCROLL);
    Focus(e);
    SimulateText(e, QStringLiteral("bcd"));
    SimulateKey(e, VK_RETURN);
    SimulateText(e, QStringLiteral("efg"));
    EXPECT_EQ(e->Text(), QStringLiteral("bcd\r\nefg"));
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 2);
    // Indexes count the line break as CR LF.
    EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, 2), 0);
    EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, 5), 1);
    EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, WPARAM(-1)), 1); // the caret's line
    const TPoint first = PosFromChar(e, 0), second = PosFromChar(e, 5);
    EXPECT_EQ(first.X, second.X);
    EXPECT_GT(second.Y, first.Y);
    EXPECT_EQ(CharFromPos(e, second.X + 1, second.Y + 2), 5);
    SimulateKey(e, VK_BACK);
    SimulateKey(e, VK_BACK);
    SimulateKey(e, VK_BACK);
    SimulateKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), QStringLiteral("bcd"));
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);
    // Without ES_WANTRETURN Enter types nothing.
    auto* plain = AddMultiLine();
    plain->RemoveStyle |= ES_WANTRETURN;
    plain->RecreateWnd();
    Focus(plain);
    SimulateText(plain, QStringLiteral("x"));
    SimulateKey(plain, VK_RETURN);
    EXPECT_EQ(plain->Text(), QStringLiteral("x"));
}

TEST_F(EditEngine, TheFormattingRectanglePlacesAndWrapsTheText) {
    auto* e = AddMultiLine();
    Focus(e);
    SimulateText(e, QStringLiteral("wrap me here"));
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);
    const TPoint before = PosFromChar(e, 0);
    SetFormattingRect(e, TRect(20, 6, 60, e->ClientHeight()));
    EXPECT_EQ(FormattingRect(e), TRect(20, 6, 60, e->ClientHeight()));
    const TPoint at = PosFromChar(e, 0);
    EXPECT_EQ(at.X, 20);
    EXPECT_EQ(at.Y, 6);
    EXPECT_NE(at, before);
    // 40 pixels do not hold the text: the edit wraps it and counts the wrapped lines.
    EXPECT_GT(e->Perform(EM_GETLINECOUNT), 1);
    const int last = int(e->Text().size()) - 1;
    EXPECT_GT(e->Perform(EM_LINEFROMCHAR, WPARAM(last)), 0);
    EXPECT_GT(PosFromChar(e, last).Y, at.Y);
    // Typing keeps the rectangle; a new size puts the default one back.
    SimulateText(e, QStringLiteral("!"));
    EXPECT_EQ(PosFromChar(e, 0).X, 20);
    e->SetBounds(8, 8, 220, 60);
    EXPECT_EQ(PosFromChar(e, 0), before);
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);

    // With ES_AUTOHSCROLL the same rectangle does not wrap.
    auto* scrolling = AddMultiLine(ES_AUTOHSCROLL);
    scrolling->SetText(QStringLiteral("wrap me here"));
    SetFormattingRect(scrolling, TRect(20, 6, 60, scrolling->ClientHeight()));
    EXPECT_EQ(scrolling->Perform(EM_GETLINECOUNT), 1);
}

TEST_F(EditEngine, PositionQueriesOfASingleLineEdit) {
    auto* e = Add<TProbeEdit>(200, 21);
    Focus(e);
    SimulateText(e, QStringLiteral("mmmm"));
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);
    int lastX = -1;
    for (int i = 0; i < 4; ++i) {
        const TPoint p = PosFromChar(e, i);
        EXPECT_GT(p.X, lastX) << i;
        EXPECT_EQ(CharFromPos(e, p.X + 1, p.Y + 2), i) << i;
        lastX = p.X;
    }
    EXPECT_EQ(PosFromChar(e, 4), TPoint(-1, -1)); // past the last character
    EXPECT_EQ(CharFromPos(e, 150, 5), 4);         // right of the text: its end
    EXPECT_EQ(CharFromPos(e, -3, 5), -1);         // outside the window
    EXPECT_EQ(CharFromPos(e, 5, 40), -1);

    // ES_RIGHT, set through Alignment, re-creates the window and keeps text and selection.
    e->SetSelStart(1);
    e->SetSelLength(2);
    const HWND old = e->Handle();
    e->SetAlignment(taRightJustify);
    EXPECT_NE(e->Handle(), old);
    EXPECT_TRUE(e->WindowStyle() & ES_RIGHT);
    EXPECT_EQ(e->Text(), QStringLiteral("mmmm"));
    EXPECT_EQ(e->SelText(), QStringLiteral("mm"));
    EXPECT_GT(PosFromChar(e, 0).X, lastX);
}

TEST_F(EditEngine, APasswordEditIsSingleLineAndKeepsItsTextOffTheClipboard) {
    auto* e = AddMultiLine(ES_PASSWORD);
    e->Perform(EM_SETPASSWORDCHAR, '#', 0);
    EXPECT_EQ(e->Perform(EM_GETPASSWORDCHAR), '#');
    Focus(e);
    SimulateText(e, QStringLiteral("secret"));
    SimulateKey(e, VK_RETURN);
    EXPECT_EQ(e->Text(), QStringLiteral("secret"));
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    e->SelectAll();
    SimulateKey(e, 'C', {ssCtrl});
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

// ---------------------------------------------------------------------------------------------
// Masked edit

namespace {

class MaskEditTest : public EditEngine {
protected:
    void SetUp() override {
        EditEngine::SetUp();
        Saved = FormatSettings;
        FormatSettings.DateSeparator = Char(u'.');
        FormatSettings.TimeSeparator = Char(u':');
    }
    void TearDown() override {
        FormatSettings = Saved;
        EditEngine::TearDown();
    }
    TFormatSettings Saved;
};

} // namespace

TEST_F(MaskEditTest, TypedKeysFillTheMask) {
    const struct {
        const char* Mask;
        const char* Typed; // "<" is Backspace
        const char* Text;
        const char* EditText;
    } cases[] = {
        {"000;1;_", "1a23", "123", "123"},                  // a refused letter changes nothing
        {"000;1;_", "12", "12 ", "12_"},                    // blanks read as spaces
        {"000;1;_", "123<", "12 ", "12_"},                  // Backspace blanks, nothing moves
        {"99/99/00;1;_", "010203", "01.02.03", "01.02.03"}, // the locale's date separator
        {"00:00;1;_", "1:2", "1 :2 ", "1_:2_"},             // a literal typed ahead of its place goes there
        {"00:00;1;_", "12:3", "12:3 ", "12:3_"},            // typed just after it, it changes nothing
        {">LL-000;0;_", "ab123", "AB123", "AB-123"},        // upper case; literals not saved
        {"<LLL;1;*", "ABC", "abc", "abc"},
        {"<>Ll;1;_", "Ab", "Ab", "Ab"},
        {"(999) 000;1;_", "12345", "(123) 45 ", "(123) 45_"},
        {"#00;1;_", "-12", "-12", "-12"},
        {"#00;1;_", "x12", "12 ", "12_"},
        {"\\A00;1;_", "12", "A12", "A12"}, // an escaped picture character is a literal
        {"aa;0;_", "x!y", "xy", "xy"},
        {"cc;1; ", "!?", "!?", "!?"},   // any character; a blank of its own
        {"00;1;_", "1234", "12", "12"}, // the mask is full: the rest is refused
    };
    auto* e = Add<TMaskEdit>(200, 21);
    Focus(e);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Mask) + " <- " + c.Typed);
        e->SetEditMask(QString());
        e->SetText(QString());
        e->SetEditMask(QString::fromLatin1(c.Mask));
        e->SetSelStart(0);
        for (char k : std::string(c.Typed)) {
            if (k == '<')
                SimulateKey(e, VK_BACK);
            else
                SimulateText(e, QString(QChar(k)));
        }
        EXPECT_EQ(e->Text(), QString::fromLatin1(c.Text));
        EXPECT_EQ(e->EditText(), QString::fromLatin1(c.EditText));
    }
}

TEST_F(MaskEditTest, TextSetByCodeTakesItsPlaceInTheMask) {
    const struct {
        const char* Mask;
        const char* Text;
        const char* EditText;
    } cases[] = {
        {"!90:00:00;1; ", "1:05:30", " 1:05:30"}, // "!": a short field is padded on the left
        {"90:00:00;1; ", "1:05:30", "1 :05:30"},  {"000;0;_", "12", "12_"},     {"!000;0;_", "12", "_12"},
        {"00.00;1;_", "12.34", "12.34"},          {"00.00;1;_", "12", "12.__"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Mask);
        EXPECT_EQ(TEditMask(QString::fromLatin1(c.Mask)).EditTextOf(QString::fromLatin1(c.Text)),
                  QString::fromLatin1(c.EditText));
    }
}

TEST_F(MaskEditTest, TextThatDoesNotFitTheMaskLeavesTheEditUsable) {
    auto* e = Add<TMaskEdit>(200, 21);
    e->SetEditMask(QStringLiteral("00:00;1;_"));
    EXPECT_NO_THROW(e->SetText(QStringLiteral("hello world, far too long")));
    EXPECT_EQ(e->EditText().size(), 5);
    EXPECT_EQ(e->EditText()[2], u':');
    Focus(e);
    e->SelectAll();
    SimulateText(e, QStringLiteral("1234"));
    EXPECT_EQ(e->Text(), QStringLiteral("12:34"));
    // Delete blanks the character at the caret; the required position then fails validation.
    e->SetSelStart(3);
    SimulateKey(e, VK_DELETE);
    EXPECT_EQ(e->EditText(), QStringLiteral("12:_4"));
    EXPECT_THROW(e->ValidateEdit(), EDBEditError);
    EXPECT_EQ(e->SelStart(), 3);
    // Esc takes the edit back to the text it had when it was set.
    SimulateKey(e, VK_ESCAPE);
    EXPECT_EQ(e->EditText(), QStringLiteral("he:ll"));
    EXPECT_FALSE(e->Modified);
    EXPECT_NO_THROW(e->ValidateEdit());
}

TEST_F(MaskEditTest, PastingTypesTheClipboardIntoTheMask) {
    auto* e = Add<TMaskEdit>(200, 21);
    e->SetEditMask(QStringLiteral("000-000;1;_"));
    Focus(e);
    e->SetSelStart(0);
    QApplication::clipboard()->setText(QStringLiteral("12-34"));
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->EditText(), QStringLiteral("12_-34_")); // "-" goes to its place, as typed
}
