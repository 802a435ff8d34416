// The rich-text edit: RTF through its lines with and without a window, character formats of the
// selection, the requested size, rendering onto a canvas and the selection notification.
#include "Forms.h"
#include "RichEdit.h"
#include "RtfText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QTextDocument>

namespace {

const QByteArray Sample = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                          "\\f0\\fs20 plain \\b bold\\b0  \\cf1 red\\cf0\\par second}";

QByteArray SaveLines(TRichEdit* Edit) {
    TMemoryStream s;
    Edit->Lines()->SaveToStream(&s);
    return s.Bytes();
}

void LoadLines(TRichEdit* Edit, const QByteArray& Bytes) {
    TMemoryStream s;
    s.WriteBuffer(Bytes);
    s.SetPosition(0);
    Edit->Lines()->LoadFromStream(&s);
}

CHARFORMATW SelFormat(TRichEdit* Edit) {
    CHARFORMATW f;
    f.dwMask = CFM_OFFSET;
    Edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
    return f;
}

void SetOffset(TRichEdit* Edit, int Twips) {
    CHARFORMATW f;
    f.dwMask = CFM_OFFSET;
    f.yOffset = Twips;
    Edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
}

// Records what the edit asks for.
class TRecordingRichEdit : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CN_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
            if (hdr && hdr->code == EN_REQUESTRESIZE) {
                Requests.push_back(reinterpret_cast<REQRESIZE*>(Message.LParam)->rc);
                return;
            }
        }
        TRichEdit::Dispatch(Message);
    }
    std::vector<TRect> Requests;
};

class RichEditOnForm : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }
    TForm* Form = nullptr;
};

} // namespace

TEST_F(RichEditOnForm, RtfLoadsAndSavesWithAndWithoutAWindow) {
    for (bool window : {false, true}) {
        SCOPED_TRACE(window ? "with a window" : "without a window");
        auto* edit = new TRichEdit(Form);
        ScopeGuard free([&] { TObject::Free(edit); });
        // A text set before the window is made shows in it.
        edit->SetText(QStringLiteral("before"));
        if (window) edit->SetParent(Form);
        EXPECT_EQ(edit->Text(), QStringLiteral("before"));
        EXPECT_EQ(edit->Document()->toPlainText(), QStringLiteral("before"));
        LoadLines(edit, Sample);
        EXPECT_EQ(edit->Text(), QStringLiteral("plain bold red\r\nsecond"));
        EXPECT_EQ(edit->Lines()->Count(), 2);
        edit->SetSelStart(6);
        edit->SetSelLength(4);
        EXPECT_TRUE(edit->SelAttributes()->Style().count(fsBold));
        EXPECT_EQ(edit->SelAttributes()->Name(), QStringLiteral("Arial"));
        EXPECT_EQ(edit->SelAttributes()->Size(), 10);
        edit->SetSelStart(11);
        edit->SetSelLength(3);
        EXPECT_EQ(edit->SelAttributes()->Color(), clRed);

        // Saved and loaded into another edit: the same text and formats.
        const QByteArray saved = SaveLines(edit);
        EXPECT_TRUE(IsRtfText(saved));
        auto* other = new TRichEdit(Form);
        ScopeGuard freeOther([&] { TObject::Free(other); });
        LoadLines(other, saved);
        EXPECT_EQ(other->Text(), edit->Text());
        EXPECT_EQ(SaveLines(other), saved);

        // A new window keeps the formats.
        if (window) {
            edit->SetWordWrap(false);
            EXPECT_EQ(SaveLines(edit), saved);
        }
    }
}

TEST_F(RichEditOnForm, TextThatIsNoRtfIsPlainText) {
    auto* edit = new TRichEdit(Form);
    edit->SetParent(Form);
    LoadLines(edit, "{\\b not rtf}\r\nline two");
    EXPECT_EQ(edit->Text(), QStringLiteral("{\\b not rtf}\r\nline two"));
    edit->PlainText = true;
    EXPECT_EQ(SaveLines(edit), QByteArray("{\\b not rtf}\r\nline two\r\n"));
    LoadLines(edit, Sample); // read as it stands
    EXPECT_TRUE(edit->Text().startsWith(QStringLiteral("{\\rtf1")));
    edit->PlainText = false;
    LoadLines(edit, QByteArray());
    EXPECT_EQ(edit->Text(), QString());
}

TEST_F(RichEditOnForm, RaisedAndLoweredSelections) {
    auto* edit = new TRichEdit(Form);
    edit->SetParent(Form);
    edit->SetText(QStringLiteral("H2O and x2"));
    const struct { int Start, Length, Offset; } steps[] = {{1, 1, -40}, {9, 1, 40}};
    for (const auto& s : steps) {
        edit->SetSelStart(s.Start);
        edit->SetSelLength(s.Length);
        SetOffset(edit, s.Offset);
        const CHARFORMATW f = SelFormat(edit);
        EXPECT_TRUE(f.dwMask & CFM_OFFSET);
        EXPECT_EQ(f.yOffset, s.Offset);
    }
    // A selection over raised and plain text has no one offset.
    edit->SetSelStart(0);
    edit->SetSelLength(3);
    EXPECT_FALSE(SelFormat(edit).dwMask & CFM_OFFSET);
    SetOffset(edit, 0);
    EXPECT_TRUE(SelFormat(edit).dwMask & CFM_OFFSET);
    EXPECT_EQ(SelFormat(edit).yOffset, 0);
    // The raise survives a trip through RTF.
    auto* other = new TRichEdit(Form);
    LoadLines(other, SaveLines(edit));
    other->SetSelStart(9);
    other->SetSelLength(1);
    EXPECT_EQ(SelFormat(other).yOffset, 40);
}

TEST_F(RichEditOnForm, TheContentAsksForItsSize) {
    auto* edit = new TRecordingRichEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(0, 0, 100, 40);
    edit->SetText(QStringLiteral("one"));
    ASSERT_FALSE(edit->Requests.empty());
    const TRect one = edit->Requests.back();
    edit->SetText(QStringLiteral("one\r\ntwo\r\nthree"));
    const TRect three = edit->Requests.back();
    EXPECT_GT(three.Height(), 2 * one.Height());
    EXPECT_EQ(three.Width(), one.Width()) << "wrapped lines ask for the rectangle's width";

    // A line longer than the window: wrapped it asks for more height, unwrapped for more width.
    edit->SetText(QString(60, u'w'));
    edit->Requests.clear();
    edit->Perform(EM_REQUESTRESIZE, 0, 0);
    ASSERT_EQ(edit->Requests.size(), 1u);
    const TRect wrapped = edit->Requests.back();
    edit->SetWordWrap(false);
    const TRect unwrapped = edit->Requests.back();
    EXPECT_GT(unwrapped.Width(), wrapped.Width());
    EXPECT_LT(unwrapped.Height(), wrapped.Height());

    // Without the mask bit nothing is asked.
    edit->Perform(EM_SETEVENTMASK, 0, 0);
    edit->Requests.clear();
    edit->SetText(QStringLiteral("x"));
    edit->Perform(EM_REQUESTRESIZE, 0, 0);
    EXPECT_TRUE(edit->Requests.empty());
}

TEST_F(RichEditOnForm, RendersARangeIntoARectangleOfACanvas) {
    auto* edit = new TRichEdit(Form);
    edit->SetText(QStringLiteral("first line\r\nsecond line\r\nthird line"));
    auto* bmp = new TBitmap();
    ScopeGuard freeBmp([&] { TObject::Free(bmp); });
    bmp->SetSize(200, 100);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect(0, 0, 200, 100));

    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = bmp->Canvas();
    // 20..180 x 10..90 pixels, in twips (15 per pixel).
    fr.rc = TRect(20 * 15, 10 * 15, 180 * 15, 90 * 15);
    fr.rcPage = fr.rc;
    fr.chrg = {0, -1};
    const int all = int(edit->Text().size());
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 0, LPARAM(&fr)), all) << "all three lines fit";
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 1, LPARAM(&fr)), all);
    int inside = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (bmp->Canvas()->Pixels(x, y) != clWhite)
                (x >= 20 && x < 180 && y >= 10 && y < 90 ? inside : outside)++;
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);

    // A rectangle of about one line takes the first line only.
    fr.rc = TRect(0, 0, 180 * 15, 20 * 15);
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 0, LPARAM(&fr)), 12) << "\"first line\" and its line break";
    // A range from the second line on.
    fr.rc = TRect(0, 0, 180 * 15, 90 * 15);
    fr.chrg = {12, -1};
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 0, LPARAM(&fr)), all);
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 0, 0), 0) << "nothing kept to free";
}

TEST_F(RichEditOnForm, SelectionMovesAreReported) {
    auto* edit = new TRichEdit(Form);
    edit->SetParent(Form);
    edit->SetText(QStringLiteral("abcdef"));
    int changes = 0;
    edit->OnSelectionChange = [&](TObject*) { ++changes; };
    edit->Perform(EM_SETSEL, 1, 3);
    EXPECT_GT(changes, 0);
    CHARRANGE r;
    edit->Perform(EM_EXGETSEL, 0, LPARAM(&r));
    EXPECT_EQ(r.cpMin, 1);
    EXPECT_EQ(r.cpMax, 3);
    const CHARRANGE all{0, -1};
    edit->Perform(EM_EXSETSEL, 0, LPARAM(&all));
    EXPECT_EQ(edit->SelLength(), 6);
}
