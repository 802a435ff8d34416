// The track-bar and memo drop-downs on a real form. Track bar: its defaults, the Min and Max
// refusal, the Position clamp with the edit following, the Up and Down steps at the ends, the
// drag arithmetic (also without a page size), typed numbers beyond Max and an emptied text.
// Memo: the shown text ("..." after a first line, all lines with the editor on), typing into the
// edit, the commit on close, Esc keeping the value, and AutoDrop not reopening the popup.
#include "AdvMemoDropDown.h"
#include "AdvTrackBarDropDown.h"

#include "ComCtrls.h"
#include "DropDownTestSupport.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class DropDownOnForm : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(20, 100, 100, 21);
    }
    template <class T> T* Place(T* Control) {
        Control->SetParent(Form);
        Control->SetBounds(20, 30, 200, 21);
        return Control;
    }

    TEdit* Other = nullptr;
};

using TrackBarDropDown = DropDownOnForm;
using MemoDropDown = DropDownOnForm;

TEST_F(TrackBarDropDown, ANewControlHasItsDefaults) {
    auto* dd = Place(new TAdvTrackBarDropDown(Form));
    EXPECT_EQ(dd->Min(), 0);
    EXPECT_EQ(dd->Max(), 10);
    EXPECT_EQ(dd->Position(), 0);
    EXPECT_EQ(dd->PageSize(), 2);
    EXPECT_EQ(dd->Frequency(), 1);
    EXPECT_FALSE(dd->EditorEnabled());
    EXPECT_TRUE(dd->DropDownEnabled());
    EXPECT_EQ(dd->EditType(), etNumeric);
    EXPECT_FALSE(dd->DropDownHeader()->Visible());
    EXPECT_FALSE(dd->DropDownFooter()->Visible());
    ASSERT_NE(dd->TrackBar(), nullptr);
    EXPECT_EQ(dd->TrackBar()->Height(), 40);
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Control(), dd->TrackBar());
    EXPECT_FALSE(dd->DropDownForm()->CancelOnDeActivate());
    dd->HideDropDown(false);
}

TEST_F(TrackBarDropDown, RangeIsKeptAndTheEditFollowsThePosition) {
    auto* dd = Place(new TAdvTrackBarDropDown(Form));
    int changes = 0;
    dd->OnTrackChange = [&](TObject*) { ++changes; };
    dd->SetMin(20); // above Max: refused
    EXPECT_EQ(dd->Min(), 0);
    dd->SetMax(-5); // below Min: refused
    EXPECT_EQ(dd->Max(), 10);
    dd->SetPosition(50);
    EXPECT_EQ(dd->Position(), 10);
    EXPECT_EQ(dd->EditText(), QStringLiteral("10"));
    EXPECT_EQ(changes, 1);
    dd->SetPosition(50); // already at the end: nothing moves
    EXPECT_EQ(changes, 1);
    dd->TrackBar()->SetPosition(4); // the popup's bar moved
    EXPECT_EQ(dd->Position(), 4);
    EXPECT_EQ(dd->EditText(), QStringLiteral("4"));
}

TEST_F(TrackBarDropDown, UpAndDownStepWithinTheRange) {
    auto* dd = Place(new TAdvTrackBarDropDown(Form));
    dd->SetFocus();
    SimulateKey(dd, VK_UP); // 0 - 1 would leave the range
    EXPECT_EQ(dd->Position(), 0);
    SimulateKey(dd, VK_DOWN);
    EXPECT_EQ(dd->Position(), 1);
    dd->SetFrequency(2);
    dd->SetPosition(9);
    SimulateKey(dd, VK_DOWN); // 11 would leave the range
    EXPECT_EQ(dd->Position(), 9);
    SimulateKey(dd, VK_UP);
    EXPECT_EQ(dd->Position(), 7);
}

TEST_F(TrackBarDropDown, DraggingMovesOneStepPerPageSizePixels) {
    auto* dd = Place(new TAdvTrackBarDropDown(Form));
    // The press opens the popup, which would take the mouse: keep it closed.
    dd->OnDropDown = [](TObject*, bool& Accept) { Accept = false; };
    dd->SetPosition(3);
    SimulateMouseDown(dd, mbLeft, {}, 100, 5);
    SimulateMouseMove(dd, {ssLeft}, 105, 5); // 5 div 2
    EXPECT_EQ(dd->Position(), 5);
    for (int x = 106; x < 116; ++x) SimulateMouseMove(dd, {ssLeft}, x, 5); // 1 div 2 each time
    EXPECT_EQ(dd->Position(), 5);
    SimulateMouseMove(dd, {ssLeft}, 110, 5); // -5 div 2, toward zero
    EXPECT_EQ(dd->Position(), 3);
    dd->SetPageSize(0); // no page size: a drag changes nothing
    SimulateMouseMove(dd, {ssLeft}, 150, 5);
    EXPECT_EQ(dd->Position(), 3);
    SimulateMouseUp(dd, mbLeft, {}, 150, 5);
    dd->SetPageSize(2);
    SimulateMouseMove(dd, {}, 180, 5); // not dragging any more
    EXPECT_EQ(dd->Position(), 3);
    dd->HideDropDown(false);
}

TEST_F(TrackBarDropDown, TypedNumbersAreClampedAndOtherTextsChangeNothing) {
    auto* dd = Place(new TAdvTrackBarDropDown(Form));
    dd->SetEditorEnabled(true);
    dd->SetPosition(3);
    dd->SetFocus();
    dd->SelectAll();
    SimulateText(dd, QStringLiteral("25"));
    EXPECT_EQ(dd->Position(), 10);
    EXPECT_EQ(dd->EditText(), QStringLiteral("10"));
    dd->SetPosition(4);
    dd->SelectAll();
    EXPECT_NO_THROW(SimulateKey(dd, VK_BACK));
    EXPECT_TRUE(dd->EditText().isEmpty());
    EXPECT_EQ(dd->Position(), 4);
    EXPECT_NO_THROW(SimulateText(dd, QStringLiteral("-")));
    EXPECT_EQ(dd->Position(), 4);
}

TEST_F(MemoDropDown, TheEditShowsTheFirstLineOrAllLines) {
    auto* dd = Place(new TAdvMemoDropDown(Form));
    dd->HandleNeeded();
    TStringList lines;
    lines.Add(QStringLiteral("alpha"));
    lines.Add(QStringLiteral("beta"));
    dd->SetEditorEnabled(false);
    dd->SetMemoText(&lines);
    EXPECT_EQ(dd->EditText(), QStringLiteral("alpha..."));
    dd->SetEditorEnabled(true);
    dd->MemoText()->Add(QStringLiteral("gamma"));
    EXPECT_EQ(dd->EditText(), QStringLiteral("alpha\r\nbeta\r\ngamma\r\n"));
    // A single line too wide for the edit is cut with an ellipsis.
    dd->SetEditorEnabled(false);
    dd->MemoText()->SetText(String(200, u'w'));
    EXPECT_TRUE(dd->EditText().endsWith(QStringLiteral("...")));
    EXPECT_LT(dd->EditText().length(), 200);
}

TEST_F(MemoDropDown, TypingReplacesTheValueAndClosingCommitsTheMemo) {
    auto* dd = Place(new TAdvMemoDropDown(Form));
    int memoChanges = 0;
    dd->OnMemoChange = [&](TObject*) { ++memoChanges; };
    dd->SetFocus();
    SimulateText(dd, QStringLiteral("xyz"));
    EXPECT_EQ(dd->MemoText()->Text(), QStringLiteral("xyz\r\n"));
    EXPECT_EQ(dd->EditText(), QStringLiteral("xyz")); // not rewritten
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Memo()->Lines()->Text(), QStringLiteral("xyz\r\n"));
    EXPECT_FALSE(dd->DropDownForm()->CancelOnDeActivate());
    dd->Memo()->Lines()->SetText(QStringLiteral("one\r\ntwo"));
    EXPECT_GT(memoChanges, 0);
    SimulateKey(nullptr, VK_ESCAPE); // typed in the memo: reaches the edit and cancels
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->MemoText()->Text(), QStringLiteral("xyz\r\n"));
    Tick += 1000;
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    dd->Memo()->Lines()->SetText(QStringLiteral("one\r\ntwo"));
    dd->HideDropDown(false);
    EXPECT_EQ(dd->MemoText()->Count(), 2);
    EXPECT_EQ(dd->MemoText()->Strings(1), QStringLiteral("two"));
    EXPECT_EQ(dd->EditText(), QStringLiteral("one\r\ntwo\r\n"));
}

TEST_F(MemoDropDown, KeysTypedInTheMemoStayThere) {
    auto* dd = Place(new TAdvMemoDropDown(Form));
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    dd->Memo()->SetFocus();
    SimulateText(dd->Memo(), QStringLiteral("ab"));
    SimulateKey(dd->Memo(), VK_RETURN); // a new line, not a close
    SimulateText(dd->Memo(), QStringLiteral("c"));
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Memo()->Lines()->Count(), 2);
    SimulateKey(dd->Memo(), 'A', {ssCtrl});
    EXPECT_EQ(dd->Memo()->SelLength(), int(dd->Memo()->Text().length()));
    SimulateKey(dd->Memo(), VK_F4);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->MemoText()->Count(), 2);
}

TEST_F(MemoDropDown, AutoDropOpensOnFocusButNotWhenThePopupCloses) {
    auto* dd = Place(new TAdvMemoDropDown(Form));
    dd->SetAutoDrop(true);
    Other->SetFocus();
    dd->SetFocus();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return dd->DroppedDown(); }, 2000));
    dd->HideDropDown(false);
    ProcessMessagesUntil([] { return false; }, 50);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_TRUE(dd->AutoDrop());
}

} // namespace
