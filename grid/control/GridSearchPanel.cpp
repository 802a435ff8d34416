// The search panel and its text field: children, layout, enabling, painting and events.
#include "GridSearchPanel.h"

#include "AdvDropDownDraw.h"
#include "AdvGrid.h"

// =============================================================================================
// TRetEdit

void TRetEdit::CreateParams(TCreateParams& Params) {
    TEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
}

void TRetEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
        if (GetKeyState(VK_CONTROL) < 0) {
            if (OnCtrlReturn) OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        return;
    }
    if (Message.Msg == WM_CHAR && (Message.WParam == 13 || Message.WParam == 10)) {
        Char key(ushort(Message.WParam));
        if (OnKeyPress) OnKeyPress(this, key);
        Message.Result = 0;
        return;
    }
    TEdit::Dispatch(Message);
}

// =============================================================================================
// TSearchPanel

TSearchPanel::TSearchPanel(TComponent* AOwner) : TPanel(AOwner) {
    FGrid = dynamic_cast<TAdvStringGrid*>(AOwner);
    FEdit = new TRetEdit(this);
    FForwardButton = new TAdvGridButton(this);
    FBackwardButton = new TAdvGridButton(this);
    FExitButton = new TAdvGridButton(this);
    FHiliteButton = new TAdvGridButton(this);
    FMatchCase = new TAdvCheckBox(this);
    FColorTo = clNone;
    SetShowCaption(false);
}

void TSearchPanel::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}

namespace {

void LoadGlyph(TBitmap* Glyph, const char* Name) {
    Glyph->LoadFromResourceName(QString::fromLatin1(Name));
}

void SetButtonHint(TAdvGridButton* Button, const String& Hint) {
    Button->SetHint(Hint);
    Button->SetShowHint(!Hint.isEmpty());
}

} // namespace

void TSearchPanel::CreateWnd() {
    TPanel::CreateWnd();

    FEdit->SetParent(this);
    FEdit->OnChange = [this](TObject* Sender) { EditChanged(Sender); };
    FEdit->OnReturn = [this](TObject* Sender) {
        if (OnForwardClick) OnForwardClick(Sender);
    };
    FEdit->OnCtrlReturn = [this](TObject* Sender) {
        if (OnBackwardClick) OnBackwardClick(Sender);
    };
    FEdit->OnKeyDown = [](TObject*, Word&, TShiftState) {};

    auto button = [this](TAdvGridButton* B, const String& Caption, const String& Hint, const char* Glyph,
                         const char* DisabledGlyph, TNotifyEvent* Click) {
        B->SetParent(this);
        B->SetCaption(Caption);
        SetButtonHint(B, Hint);
        LoadGlyph(B->Glyph(), Glyph);
        if (DisabledGlyph) LoadGlyph(B->GlyphDisabled(), DisabledGlyph);
        B->SetParentFont(true);
        B->OnClick = [Click](TObject* Sender) {
            if (*Click) (*Click)(Sender);
        };
    };
    button(FForwardButton, FindNextCaption, HintFindNext, "ASGARDOWN", "ASGARDOWND", &OnForwardClick);
    FForwardButton->SetEnabled(false);
    button(FBackwardButton, FindPrevCaption, HintFindPrev, "ASGARUP", "ASGARUPD", &OnBackwardClick);
    FBackwardButton->SetEnabled(false);
    button(FExitButton, String(), HintClose, "ASGCLOSE", nullptr, &OnExitClick);
    LoadGlyph(FExitButton->GlyphHot(), "ASGCLOSEH");
    LoadGlyph(FExitButton->GlyphDown(), "ASGCLOSED");
    button(FHiliteButton, HighLightCaption, HintHighlight, "ASGHI", "ASGHID", &OnHighlightClick);
    FHiliteButton->Font()->SetStyle({});
    FHiliteButton->SetEnabled(false);
    FHiliteButton->SetStyle(tasCheck);

    FMatchCase->SetParent(this);
    FMatchCase->SetCaption(MatchCaseCaption);

    LayoutChildren();
    if (FGrid && FGrid->OnCreatedSearchFooter) FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::LayoutChildren() {
    const bool mirrored = UseRightToLeftAlignment();
    auto place = [this, mirrored](TControl* C, int Left, int Top, int Width, int Height) {
        if (mirrored) Left = this->Width() - Width - Left;
        C->SetBounds(Left, Top, Width, Height);
    };
    place(FEdit, 25, 6, 110, FEdit->Height());
    place(FForwardButton, 140, 5, 90, 23);
    place(FBackwardButton, 235, 5, 90, 23);
    place(FExitButton, 5, 7, 14, 14);
    place(FHiliteButton, 330, 5, 90, 23);
    FMatchCase->SetLeft(FHiliteButton->Visible() ? 425 : 330);
    FMatchCase->SetTop(8);
}

void TSearchPanel::EditChanged(TObject*) {
    const bool any = !FEdit->Text().isEmpty();
    FForwardButton->SetEnabled(any);
    FBackwardButton->SetEnabled(any);
    FHiliteButton->SetEnabled(any);
    if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::Paint() {
    TPanel::Paint();
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    if (FColorTo == clNone)
        c->FillRect(ClientRect());
    else
        DrawSteppedGradient(c, Color(), FColorTo, 32, ClientRect(), false);
    c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : TColor(clGray));
    c->MoveTo(0, 0);
    c->LineTo(Width(), 0);
}

// =============================================================================================
// The grid's rows under the search panel

bool TAdvStringGrid::LastRowAboveSearchPanel() {
    if (!FSearchFooter->Visible() || !FSearchPanel) return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
    return CellRect(0, RowCount() - 1).Bottom < ClientHeight() - FSearchPanel->Height() + 2;
}

void TAdvStringGrid::AdjustForSearchFooter() {
    if (!FSearchFooter->Visible() || !FSearchPanel) return;
    const int panel = FSearchPanel->Height();
    if (ClientHeight() <= DefaultRowHeight() + panel) return;
    // Each step moves the top row down by one; it ends when the last row shows above the panel
    // or the top row cannot move further.
    while (Row() < RowCount() && TopRow() < RowCount() - 1) {
        const TRect last = CellRect(0, RowCount() - 1);
        if (!last.IsEmpty() && last.Bottom <= ClientHeight() - panel + 2) break;
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top) break;
    }
}
