// Rich text in the grid: the in-place rich-text editor and the hidden rich edit in which RTF
// cell texts are converted, measured and painted; moving text between cells and rich edits;
// opening and committing the rich-text editor and custom editor links; the markup-control
// editors.
//
// An RTF cell text carries one byte of the RTF stream in each character (RTF is 7-bit text).
// Any other text goes into a rich edit as it stands, so that a plain cell edited in a rich-text
// editor keeps every character it had.
#include "AdvGrid.h"

#include "AdvRichEdit.h"
#include "EditLinks.h"
#include "Forms.h"
#include "GridOptions.h"
#include "GridUtil.h"
#include "SysUtils.h"

#include <algorithm>

namespace {

// Loads a cell text into a rich edit: RTF through its lines' stream, other text as plain text.
void LoadRichText(TRichEdit* Rich, const String& Text) {
    if (Text.isEmpty()) {
        Rich->Clear();
        return;
    }
    if (!Text.startsWith(u"{\\")) {
        Rich->Lines()->SetText(Text);
        return;
    }
    QByteArray bytes(Text.size(), '\0');
    for (qsizetype i = 0; i < Text.size(); ++i) bytes[i] = char(Text[i].unicode() & 0xFF);
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    Rich->Lines()->LoadFromStream(&stream);
}

} // namespace

// =============================================================================================
// The two rich edits

TAdvRichEdit* TAdvStringGrid::InplaceRichEdit() {
    if (FInplaceRichEdit || ComponentState().count(csDesigning)) return FInplaceRichEdit.get();
    auto* edit = new TAdvRichEdit(this);
    FInplaceRichEdit.reset(edit);
    if (LifeCycleTrace) LifeCycleTrace(true, "InplaceRichEdit");
    edit->SetParent(this);
    edit->SetVisible(false);
    edit->SetEnabled(false);
    edit->OnSelectionChange = [this](TObject*) {
        if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
    };
    return edit;
}

TAdvRichEdit* TAdvStringGrid::RichEdit() {
    if (FRichEdit || ComponentState().count(csDesigning)) return FRichEdit.get();
    auto* edit = new TAdvRichEdit(this);
    FRichEdit.reset(edit);
    if (LifeCycleTrace) LifeCycleTrace(true, "RichEdit");
    edit->Transparent = true;
    edit->SetBorderStyle(bsNone);
    edit->SetBounds(0, 0, 0, 0);
    edit->SetVisible(false);
    edit->SetParent(this);
    return edit;
}

// =============================================================================================
// Cells and rich edits

void TAdvStringGrid::CellToRich(int Col, int Row, TRichEdit* Richeditor) {
    if (!Richeditor) return;
    LoadRichText(Richeditor, GetCellEx(Col, Row));
}

String TAdvStringGrid::RichToString(TRichEdit* Richeditor) {
    if (!Richeditor || ComponentState().count(csDestroying)) return String();
    TMemoryStream stream;
    Richeditor->Lines()->SaveToStream(&stream);
    stream.SetPosition(0);
    return FromWin1252(stream.ReadAll());
}

void TAdvStringGrid::RichToCell(int Col, int Row, TRichEdit* Richeditor) {
    SetCellEx(Col, Row, RichToString(Richeditor));
}

String TAdvStringGrid::RichPlainText(const String& Text) {
    TAdvRichEdit* rich = Text.startsWith(u"{\\") ? RichEdit() : nullptr;
    if (!rich) return Text;
    LoadRichText(rich, Text);
    return rich->Text();
}

// =============================================================================================
// Measuring and painting RTF cells

TSize TAdvStringGrid::RichTextSize(const String& Text, int W, int H) {
    TAdvRichEdit* rich = RichEdit();
    if (!rich) return TSize{-1, -1};
    // The size request needs the control's window, which it gets on the grid's.
    if (HandleAllocated()) rich->HandleNeeded();
    if (!rich->HandleAllocated()) return TSize{-1, -1};
    rich->SetBounds(0, 0, 0, 0);
    rich->SetWordWrap(false);
    LoadRichText(rich, Text);
    rich->SetBounds(0, 0, std::max(0, W), std::max(0, H));
    // Switching word wrap lays the content out again for the new width.
    rich->SetWordWrap(true);
    rich->SetWordWrap(false);
    rich->SetWordWrap(WordWrap());
    rich->Perform(EM_REQUESTRESIZE, 0, 0);
    return TSize{rich->ReqWidth(), rich->ReqHeight() + 4};
}

void TAdvStringGrid::DrawRichCell(int ACol, int ARow, const TRect& R, TCanvas* Canvas) {
    if (!Canvas || ComponentState().count(csDesigning)) return;
    TAdvRichEdit* rich = RichEdit();
    if (!rich) return;
    CellToRich(ACol, ARow, rich);
    // A cell shown selected takes the selection's text colour, unless SelectionRTFKeep.
    const int dc = DisplColIndex(ACol);
    const bool current = dc == Col() && ARow == Row() && Focused();
    if (IsSelected(dc, ARow) && !current && !SelectionRTFKeep && SelectionTextColor() != clNone) {
        rich->SetSelStart(0);
        rich->SetSelLength(65535);
        rich->SelAttributes()->SetColor(SelectionTextColor());
    }
    const int inset = MulDiv(XYOffset.X, Canvas->PixelsPerInch(), 96);
    const TRect inner(R.Left + inset, R.Top + inset, R.Right - inset, R.Bottom - inset);
    if (inner.Right <= inner.Left || inner.Bottom <= inner.Top) return;
    const int dpi = Canvas->PixelsPerInch();
    auto twips = [dpi](int V) { return int(std::lround(V * 1440.0 / dpi)); };
    FORMATRANGE fr;
    fr.hdc = Canvas;
    fr.hdcTarget = Canvas;
    fr.rc = TRect(twips(inner.Left), twips(inner.Top), twips(inner.Right), twips(inner.Bottom));
    fr.rcPage = fr.rc;
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    rich->Perform(EM_FORMATRANGE, 1, LPARAM(&fr));
    rich->Perform(EM_FORMATRANGE, 0, 0);
}

// =============================================================================================
// Opening and committing the rich-text editor

TWinControl* TAdvStringGrid::OpenRichEditor(int ACol, int ARow, const TRect& R, TColor Colour) {
    TAdvRichEdit* edit = InplaceRichEdit();
    if (!edit) return nullptr;
    const int C = RealColIndex(ACol);
    FEditMode = true;
    edit->ReCreate();
    edit->SetParent(this);
    edit->SetBorderStyle(bsNone);
    edit->SetHideSelection(false);
    edit->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    GetEditorProp(C, ARow, EditLink);
    edit->Lock();
    CellToRich(C, ARow, edit);
    if (Navigation()->EditSelectAll) {
        edit->SetSelStart(0);
        edit->SetSelLength(edit->Text().length());
    }
    edit->SetVisible(true);
    edit->SetEnabled(true);
    TRect fr = edit->ClientRect();
    fr.Left += 2;
    fr.Top += 2;
    fr.Right -= 2;
    fr.Bottom -= 2;
    edit->Perform(EM_SETRECT, 0, LPARAM(&fr));
    edit->SetColor(Colour);
    if (edit->CanFocus()) edit->SetFocus();
    edit->Unlock();
    FEditCtrl = edit;
    return edit;
}

void TAdvStringGrid::CloseRichEditor(int C, int ARow) {
    TAdvRichEdit* edit = FInplaceRichEdit.get();
    if (!edit || !FEditMode) return;
    StoreEditText(C, ARow, RichToString(edit));
    FEditMode = false;
    edit->SetEnabled(false);
    edit->SetVisible(false);
}

// =============================================================================================
// Opening and committing a custom editor link

TWinControl* TAdvStringGrid::OpenEditLink(int ACol, int ARow, const TRect& R, TColor) {
    TEditLink* link = EditLink;
    if (!link) return nullptr;
    const int C = RealColIndex(ACol);
    FEditMode = true;
    link->FOwner = this;
    link->FEditCell = TPoint(C, ARow);
    const bool popup = link->EditStyle() == esPopup;
    if (popup) {
        if (link->AutoPopupWidth()) link->SetPopupWidth(R.Width());
        if (!link->FPopupForm) {
            // One pop-up window of that name at a time.
            if (TComponent* old = Application->FindComponent(QStringLiteral("gridform"))) delete old;
            auto* form = new TForm(Application);
            form->SetName(QStringLiteral("gridform"));
            link->FPopupForm = form;
            // Another link's first pop-up frees this window: the link hears of it.
            form->FreeNotification(link);
        }
        TForm* form = link->FPopupForm;
        const TPoint at = link->PopupLeft() == -1 || link->PopupTop() == -1
                              ? ClientToScreen(TPoint(R.Left, R.Top))
                              : TPoint(link->PopupLeft(), link->PopupTop());
        form->SetLeft(at.X);
        form->SetTop(at.Y);
        form->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
        form->SetWidth(0);
        form->SetHeight(0);
        form->SetFormStyle(fsStayOnTop);
        form->SetBorderStyle(bsNone);
        form->Show();
        form->SetLeft(at.X);
        form->SetTop(at.Y);
        form->SetWidth(link->PopupWidth());
        form->SetHeight(link->PopupHeight());
        link->CreateEditor(form);
    } else {
        link->CreateEditor(this);
    }
    TWinControl* control = link->GetEditControl();
    if (!control) {
        // A link without a control is not opened.
        if (popup && link->FPopupForm) link->FPopupForm->Hide();
        FEditMode = false;
        return nullptr;
    }
    link->SetRect(popup ? TRect(0, 0, link->PopupWidth(), link->PopupHeight()) : R);
    link->SetVisible(true);
    link->SetCellProps(Canvas()->Brush()->Color(), Canvas()->Font());
    link->SetProperties();
    GetEditorProp(C, ARow, link);
    link->SetEditorValue(GetEditText(ACol, ARow));
    const Char start = FStartEditChar;
    link->SetFocus(true);
    FStartEditChar = start;
    FEditActive = true;
    control = link->GetEditControl();
    FEditCtrl = control;
    return control;
}

void TAdvStringGrid::CloseEditLink(int C, int ARow) {
    // With drop-down buttons always shown the cell's editor kind is asked again first.
    if (ControlLook()->DropDownAlwaysVisible()) GetCellEditor(C, ARow, EditControl);
    TEditLink* link = EditLink;
    if (!link) return;
    StoreEditText(C, ARow, link->GetEditorValue());
    FEditMode = false;
    if (link->EditStyle() == esInplace) link->SetVisible(false);
    link->RestoreWinProc();
}

// =============================================================================================
// The markup-control editors

TCustomEdit* TAdvStringGrid::MarkupControlEdit() const {
    return FEditControl.get();
}

TCustomComboBox* TAdvStringGrid::MarkupControlCombo() const {
    return FComboControl.get();
}
