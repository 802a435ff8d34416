// The grid's default text editor.
#include "AdvInplaceEdit.h"

#include "AdvGrid.h"
#include "Clipbrd.h"
#include "GridUtil.h"

#include <algorithm>

namespace {

bool TextEditorType(TEditorType Type) {
    switch (Type) {
        case edNormal:
        case edCapital:
        case edMixedCase:
        case edLowerCase:
        case edUpperCase:
        case edValidChars: return true;
        default: return false;
    }
}

bool CtrlDown() {
    return GetShiftState().count(ssCtrl) != 0;
}

// Restores a flag of the grid on every way out.
struct TFlagScope {
    bool& Flag;
    bool Saved;
    TFlagScope(bool& F, bool Value) : Flag(F), Saved(F) { Flag = Value; }
    ~TFlagScope() { Flag = Saved; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;
};

} // namespace

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner), FGrid(dynamic_cast<TAdvStringGrid*>(AOwner)) {}

void TAdvInplaceEdit::SetVAlign(bool Value) {
    if (FValign == Value) return;
    FValign = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TAdvInplaceEdit::SetWordWrap(bool Value) {
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    if (HandleAllocated()) RecreateWnd();
}

// ---------------------------------------------------------------------------------------------
// Window

void TAdvInplaceEdit::CreateParams(TCreateParams& Params) {
    TInplaceEdit::CreateParams(Params);
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(Parent())) FGrid = grid;
    Params.Style |= ES_MULTILINE | ES_WANTRETURN;
    if (FGrid) FWordWrap = FGrid->WordWrap();
    if (FValign) Params.Style |= ES_RIGHT;
    if (FGrid && FGrid->EditControl == edPassword) {
        Params.Style |= ES_PASSWORD;
        Params.Style &= ~ES_MULTILINE;
    }
    if (FWordWrap) Params.Style &= ~ES_AUTOHSCROLL;
    GotKey = false;
    Workmode = true;
}

void TAdvInplaceEdit::CreateWnd() {
    TInplaceEdit::CreateWnd();
    if (!FGrid) return;
    if (FGrid->EditControl == edPassword) Perform(EM_SETPASSWORDCHAR, FGrid->PasswordChar.unicode(), 0);
    FLengthLimit = std::int16_t(FGrid->GetEditMaxLength());
}

void TAdvInplaceEdit::UpdateContents() {
    if (!FGrid) {
        TInplaceEdit::UpdateContents();
        return;
    }
    {
        TFlagScope quiet(FGrid->FNoEditChange, true);
        TInplaceEdit::UpdateContents();
    }
    const int col = FGrid->Col(), row = FGrid->Row();
    TGridDrawState state;
    TCanvas* canvas = FGrid->Canvas();
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    FGrid->GetVisualProperties(col, row, state, false, false, true, canvas->Brush(), colorTo, mirror,
                               mirrorTo, canvas->Font(), ha, va, ww, gd);
    SetColor(canvas->Brush()->Color());
    Font()->Assign(canvas->Font());
    SetAlignment(ha);
    FColE = col;
    FRowE = row;
    FGrid->GetEditorProp(FGrid->RealColIndex(col), row, FGrid->EditLink);
}

void TAdvInplaceEdit::BoundsChanged(bool Resized) {
    TInplaceEdit::BoundsChanged(Resized);
    if (!FGrid || FPlacing) return;
    // The editor covers the whole merged area of its cell, without the grid lines.
    TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
    if (r.IsEmpty()) return;
    if (FGrid->UseRightToLeftAlignment()) ++r.Left;
    const TRect bounds(r.Left, r.Top, r.Left + r.Width() - 1, r.Top + r.Height() - 1);
    if (BoundsRect() != bounds) {
        TFlagScope placing(FPlacing, true);
        SetBoundsRect(bounds);
    }
    ApplyFormattingRect();
}

// The text starts 3 pixels in from the left and the top. The edit window puts its default
// rectangle back whenever its size changes, also when a size set while hidden arrives as the
// window shows, so the editor sets it again when it takes the focus.
void TAdvInplaceEdit::ApplyFormattingRect() {
    TRect fmt(3, 3, Width() - 2, Height());
    Perform(EM_SETRECTNP, 0, LPARAM(&fmt));
}

// ---------------------------------------------------------------------------------------------
// Messages

void TAdvInplaceEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SYSKEYDOWN:
            if (Message.WParam == VK_BACK) FAltBack = true;
            TInplaceEdit::Dispatch(Message);
            break;
        case WM_SYSKEYUP:
            if (Message.WParam == VK_BACK) FAltBack = false;
            TInplaceEdit::Dispatch(Message);
            break;
        case WM_CHAR: CallHandler<TWMKey>(this, &TAdvInplaceEdit::WMChar, Message); break;
        case WM_KEYDOWN: CallHandler<TWMKey>(this, &TAdvInplaceEdit::WMKeyDown, Message); break;
        case WM_KEYUP: CallHandler<TWMKey>(this, &TAdvInplaceEdit::WMKeyUp, Message); break;
        case WM_PASTE: WMPaste(Message); break;
        case WM_COPY: WMCopy(Message); break;
        case WM_CUT: WMCut(Message); break;
        case WM_SETFOCUS: CallHandler<TWMSetFocus>(this, &TAdvInplaceEdit::WMSetFocus, Message); break;
        case WM_KILLFOCUS: CallHandler<TWMKillFocus>(this, &TAdvInplaceEdit::WMKillFocus, Message); break;
        case WM_LBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TAdvInplaceEdit::WMLButtonDblClk, Message); break;
        default: TInplaceEdit::Dispatch(Message); break;
    }
}

LRESULT TAdvInplaceEdit::DialogCode() const {
    LRESULT code = TInplaceEdit::DialogCode();
    if (FGrid && FGrid->EditorHandlesTab()) code |= DLGC_WANTTAB;
    return code;
}

void TAdvInplaceEdit::Change() {
    TInplaceEdit::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TAdvInplaceEdit::SetTextQuietly(const String& Value) {
    if (!FGrid) {
        SetText(Value);
        return;
    }
    TFlagScope quiet(FGrid->FNoEditChange, true);
    SetText(Value);
}

// ---------------------------------------------------------------------------------------------
// The character filter

void TAdvInplaceEdit::WMChar(TWMKey& Message) {
    if (!FGrid) {
        TInplaceEdit::Dispatch(Message.Message());
        return;
    }
    TMessage& msg = Message.Message();
    Char ch(char16_t(Word(Message.CharCode)));
    if (FDropEnterChar) {
        FDropEnterChar = false;
        if (ch == Char(13)) return;
    }
    // The numeric keypad's decimal key (bit 22 of the key data) types the locale's separator.
    if (ch == u'.' && FGrid->ExcelStyleDecimalSeparator && (Message.KeyData & (1 << 22))) {
        ch = FormatSettings.DecimalSeparator;
        Message.CharCode = ch.unicode();
    }
    const bool ctrl = CtrlDown();
    if (ch == Char(1) && ctrl) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    if (ch == Char(10) && ctrl &&
        !(FGrid->Navigation()->AllowCtrlEnter && (FGrid->WordWrap() || FGrid->Multilinecells))) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    const String text = Text();
    if (FLengthLimit > 0 && text.size() == FLengthLimit && SelLength() == 0 && ch != Char(8) &&
        ch != Char(27) && ch != Char(13))
        return;
    if (ch == Char(13) && TextEditorType(FGrid->EditControl) && FGrid->Navigation()->LineFeedOnEnter) {
        DefaultHandler(msg);
        return;
    }
    if (!FilterChar(ch)) return;
    Message.CharCode = ch.unicode();
    if (FGrid->EditControl == edMixedCase) {
        const int caret = SelStart();
        TInplaceEdit::Dispatch(msg);
        if (ch.unicode() >= 32) {
            SetText(ToMixedCase(Text()));
            Modified = true;
            SetSelStart(caret + 1);
        }
    } else {
        TInplaceEdit::Dispatch(msg);
    }
    // A full cell moves on as Enter would.
    const TNavigation* nav = FGrid->Navigation();
    const int maxLen = FGrid->MaxEditLength();
    if (nav->AdvanceAuto() && nav->AdvanceOnEnter && maxLen > 0 && Visible() && Text().size() == maxLen &&
        SelLength() == 0 && SelStart() == maxLen) {
        Char enter(13);
        FGrid->KeyPress(enter);
    }
}

bool NumberCharAllowed(TEditorType Kind, Char Ch, const String& Text, int SelStart, const String& SelText) {
    const ushort c = Ch.unicode();
    const bool control = c == 8 || c == 9 || c == 13 || c == 27;
    const bool digit = c >= '0' && c <= '9';
    switch (Kind) {
        case edNumeric:
            if (control || digit) return true;
            if (Ch == u'-' && !Text.contains(u'-') && SelStart == 0) return true;
            MessageBeep(0);
            return false;
        case edPositiveNumeric:
            if (control || digit) return true;
            MessageBeep(0);
            return false;
        case edFloat:
        case edPositiveFloat: {
            const bool inSet =
                control || digit || Ch == u',' || Ch == u'.' || (Ch == u'-' && Kind == edFloat);
            if (!inSet) return CtrlDown();
            if (Ch == FormatSettings.DecimalSeparator) return !Text.contains(Ch) || SelText.contains(Ch);
            if (Ch == FormatSettings.ThousandSeparator) return false;
            if (Ch == u'-') {
                if ((SelStart == 0 && !Text.contains(u'-')) || SelText.contains(u'-')) return true;
                MessageBeep(0);
                return false;
            }
            return true;
        }
        default: return false;
    }
}

bool TAdvInplaceEdit::FilterChar(Char& Ch) {
    const String text = Text();
    const ushort c = Ch.unicode();
    switch (FGrid->EditControl) {
        case edNormal:
        case edPassword: return true;
        case edNumeric:
        case edPositiveNumeric:
        case edFloat:
        case edPositiveFloat: return NumberCharAllowed(FGrid->EditControl, Ch, text, SelStart(), SelText());
        case edCapital:
        case edUpperCase: Ch = Ch.toUpper(); return true;
        case edLowerCase: Ch = Ch.toLower(); return true;
        case edMixedCase: return true;
        case edValidChars: {
            bool valid = c == 8 || c == 13;
            if (!valid) {
                if (!FGrid->ValidChars.isEmpty())
                    valid = FGrid->ValidChars.contains(Ch);
                else
                    valid = c <= 255 && FGrid->ValidCharSet.test(c);
            }
            if (!valid) MessageBeep(0);
            return valid;
        }
        default: return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Keys

int TAdvInplaceEdit::CaretLine() {
    return int(Perform(EM_LINEFROMCHAR, WPARAM(SelStart()), 0));
}

int TAdvInplaceEdit::LastLine() {
    return int(Perform(EM_LINEFROMCHAR, WPARAM(Text().size()), 0));
}

void TAdvInplaceEdit::RestoreAfterFailure(const String& OldCellText, int Caret) {
    SetTextQuietly(FGrid->FNewCellText);
    if (FGrid->Navigation()->EditSelectAll) {
        SelectAll();
    } else {
        SetSelStart(Caret < 0 ? int(Text().size()) : std::min(Caret, int(Text().size())));
        if (Caret >= 0) Repaint();
    }
    FGrid->FOldCellText = OldCellText;
}

bool TAdvInplaceEdit::ValidateWalk(const String& T) {
    {
        TFlagScope validating(FGrid->FValidating, true);
        FGrid->SetCurrentCell(T);
    }
    return FGrid->ValidateCell(T);
}

void TAdvInplaceEdit::WMKeyDown(TWMKey& Message) {
    TMessage& msg = Message.Message();
    if (!FGrid) {
        TInplaceEdit::Dispatch(msg);
        return;
    }
    FGrid->EditKeyMessage(msg);
    FOldSelStart = SelStart();
    const Word key = Message.CharCode;
    const TShiftState state = GetShiftState();
    const bool ctrl = state.count(ssCtrl) != 0, shiftDown = state.count(ssShift) != 0;
    const TNavigation* nav = FGrid->Navigation();
    if (key == VK_ESCAPE) {
        SetText(FGrid->FCellCache);
        FGrid->HideInplaceEdit();
    }
    if (key == 'A' && ctrl && !(GetKeyState(VK_RMENU) < 0)) {
        SetSelStart(0);
        SelectAll();
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    const bool ctrlEnterAllowed = nav->AllowCtrlEnter && (FGrid->WordWrap() || FGrid->Multilinecells);
    if (key == VK_RETURN && ctrl && !ctrlEnterAllowed) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    const String t = Text();
    const String o = FGrid->FOldCellText;
    if (key == VK_TAB && FGrid->EditorHandlesTab()) {
        if (FGrid->ValidateCell(t)) {
            SetTextQuietly(FGrid->FNewCellText);
            FGrid->HideInplaceEdit();
            if (FGrid->HasOption(goTabs)) {
                Message.CharCode = 0;
                FGrid->AdvanceOnTab(shiftDown);
            } else if (FGrid->HandleAllocated()) {
                PostMessage(FGrid->Handle(), WM_KEYDOWN, VK_TAB, 0);
            }
        } else {
            RestoreAfterFailure(o, -1);
        }
        return;
    }
    const int len = int(t.size());
    if (nav->CursorWalkEditor && shiftDown &&
        ((key == VK_LEFT && FOldSelStart == 0) || (key == VK_RIGHT && FOldSelStart == len))) {
        if (ValidateWalk(t)) {
            SetTextQuietly(FGrid->FNewCellText);
            FGrid->HideInplaceEdit();
            if (FGrid->CanFocus()) FGrid->SetFocus();
        } else {
            RestoreAfterFailure(o, len);
        }
        return;
    }
    if ((key == VK_UP && CaretLine() == 0) || (key == VK_DOWN && CaretLine() == LastLine())) {
        if (!ValidateWalk(t)) {
            RestoreAfterFailure(o, len);
            return;
        }
        SetTextQuietly(FGrid->FNewCellText);
    }
    if (key == VK_RETURN && !ctrl && !nav->LineFeedOnEnter) {
        if (!FGrid->ValidateCell(t)) {
            RestoreAfterFailure(o, -1);
            // The character of the same keystroke goes no further either: it would validate
            // again and replace the validated text by the cell's.
            FDropEnterChar = true;
            return;
        }
        SetTextQuietly(FGrid->FNewCellText);
    }
    if (!ctrl && !shiftDown) {
        if (key == VK_HOME) SetSelStart(0);
        if (key == VK_END) SetSelStart(int(Text().size()));
    }
    if (key == VK_RETURN && ctrl && nav->LineFeedOnEnter) {
        TMessage lineBreak(WM_CHAR, 13, 0);
        DefaultHandler(lineBreak);
        return;
    }
    TInplaceEdit::Dispatch(msg);
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    FSelKeyDown = SelStart();
    if (!FGrid) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_BACK:
        case VK_DELETE: Workmode = false; break;
        case VK_RETURN: {
            const bool multi = FGrid->WordWrap() || FGrid->Multilinecells;
            if (!FGrid->Navigation()->AllowCtrlEnter && multi) FGrid->FEditing = false;
            if ((Shift.count(ssShift) || Shift.count(ssCtrl)) && FGrid->SizeWhileTyping()->Height &&
                FGrid->Multilinecells) {
                // The row grows for the line about to be typed.
                TColumnSize* cs = FGrid->ColumnSize();
                const int row = FGrid->Row();
                {
                    TFlagScope synch(cs->SynchWithGrid, false);
                    const int lines = CountLines(Text() + "\r\n ", true);
                    if (lines < FGrid->MaxLinesInRow(row))
                        FGrid->AutoSizeRow(row, 0);
                    else
                        FGrid->SetRowHeightByLines(row, lines, FGrid->TotalYOffset());
                }
                if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
            }
            break;
        }
        case VK_UP:
            if (CaretLine() > 0) return;
            break;
        case VK_DOWN:
            if (CaretLine() < LastLine()) return;
            break;
        default: Workmode = true; break;
    }
    FGrid->EditKeyDown(Key, Shift);
    TInplaceEdit::KeyDown(Key, Shift);
}

void TAdvInplaceEdit::KeyPress(Char& Key) {
    if (FGrid && Key == Char(13) && !FGrid->Navigation()->LineFeedOnEnter && !FGrid->ValidateCell(Text())) {
        SetTextQuietly(FGrid->CurrentCell());
        Key = Char(0);
        return;
    }
    TInplaceEdit::KeyPress(Key);
    if (FGrid && Key.unicode() != 0 && FGrid->Navigation()->AdvanceAuto() && IsMasked()) {
        const String text = Text();
        if (!text.contains(u' ') && SelStart() == int(text.size())) {
            Key = Char(13);
            FGrid->KeyPress(Key);
        }
    }
}

void TAdvInplaceEdit::WMKeyUp(TWMKey& Message) {
    TInplaceEdit::Dispatch(Message.Message());
    if (!FGrid) return;
    const String text = Text();
    const int caret = SelStart();
    if (caret > 0) {
        const LRESULT pos = Perform(EM_POSFROMCHAR, WPARAM(caret - 1), 0);
        FGrid->EditCaretMoved(text, TPoint(short(LOWORD(pos)), short(HIWORD(pos))), caret);
    }
    FGrid->EditFormulaMode(text.startsWith(u'='));
}

void TAdvInplaceEdit::CursorWalk(Word& Key, bool Left) {
    TNavigation* nav = FGrid->Navigation();
    const int col = FGrid->Col(), row = FGrid->Row();
    Key = 0;
    const int span = FGrid->CellSpan(col, row).X;
    const int target = Left ? col - 1 : col + span + 1;
    const bool inRange =
        Left ? col > FGrid->FixedCols() : col < FGrid->ColCount() - FGrid->FixedRightCols() - 1;
    if (inRange && FGrid->IsClickableCell(target, row)) {
        if (FGrid->ValidateCell(Text())) {
            FGrid->HideInplaceEdit();
            FGrid->SetCol(target);
        }
        return;
    }
    if (Left && FGrid->ValidateCell(Text())) FGrid->HideInplaceEdit();
    {
        const TAdvanceDirection saved = nav->AdvanceDirection();
        struct TRestore {
            TNavigation* Nav;
            TAdvanceDirection Dir;
            ~TRestore() { Nav->SetAdvanceDirection(Dir); }
        } restore{nav, saved};
        nav->SetAdvanceDirection(adLeftRight);
        FGrid->AdvanceEdit(col, row, !Left, true);
    }
    if (nav->CursorWalkAlwaysEdit)
        Key = VK_RETURN;
    else
        FGrid->HideInplaceEdit();
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    const bool plain = !Shift.count(ssShift) && !Shift.count(ssCtrl) && !Shift.count(ssAlt);
    if (FGrid->Navigation()->CursorWalkEditor && plain && SelLength() == 0) {
        if (Key == VK_LEFT && SelStart() == 0 && FSelKeyDown == 0)
            CursorWalk(Key, true);
        else if (Key == VK_RIGHT && FOldSelStart == int(Text().size()))
            CursorWalk(Key, false);
    }
    if (Key == VK_LEFT || Key == VK_RIGHT) return;
    TInplaceEdit::KeyUp(Key, Shift);
    DoChange();
    if (FGrid->SizeWhileTyping()->Width) FGrid->SizeColToContents(FGrid->Col(), true);
    if (FGrid->SizeWhileTyping()->Height && FGrid->WordWrap()) {
        const int row = FGrid->Row();
        {
            TFlagScope synch(FGrid->ColumnSize()->SynchWithGrid, false);
            FGrid->AutoSizeRow(row, 0);
        }
        if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
    }
}

// ---------------------------------------------------------------------------------------------
// Lookup

// Completes the typed text from the grid's LookupItems: the first item, in list order, that
// begins with the text (ignoring case unless LookupCaseSensitive); the user's own letters stay
// and the completed part is selected. Only at the end of the text, so that nothing after the
// caret is lost, and only after a key that typed (Backspace and Delete switch it off).
void TAdvInplaceEdit::DoChange() {
    if (!FGrid || !Workmode || SelLength() != 0) return;
    TStringList* items = FGrid->LookupItems();
    if (!items || items->Count() == 0 || !FGrid->Lookup) return;
    const String text = Text();
    const int caret = SelStart();
    if (caret == 0 || caret != int(text.size())) return;
    const bool caseSensitive = FGrid->LookupCaseSensitive;
    const String p = caseSensitive ? text.left(caret) : text.left(caret).toUpper();
    for (int i = 0; i < items->Count(); ++i) {
        const String item = items->Strings(i);
        const String cmp = caseSensitive ? item : item.toUpper();
        if (!cmp.startsWith(p)) continue;
        const String completed = text.left(caret) + item.mid(caret, 255);
        if (completed != text) {
            SetText(completed);
            Modified = true;
        }
        Perform(EM_SETSEL, WPARAM(caret), LPARAM(completed.size()));
        GotKey = false;
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Clipboard

void TAdvInplaceEdit::WMCopy(TMessage& Message) {
    bool allow = true;
    if (FGrid && FGrid->OnClipboardCopy) FGrid->OnClipboardCopy(this, allow);
    if (allow) TInplaceEdit::Dispatch(Message);
}

void TAdvInplaceEdit::WMCut(TMessage& Message) {
    bool allow = true;
    if (FGrid && FGrid->OnClipboardCut) FGrid->OnClipboardCut(this, allow);
    if (allow) TInplaceEdit::Dispatch(Message);
}

bool ComposeCellPaste(TAdvStringGrid* Grid, TObject* Editor, int LengthLimit, const String& Text,
                      int SelStart, int SelLength, String& NewText, int& NewSelStart, int& NewSelLength) {
    bool allow = Clipboard()->HasFormat(CF_TEXT);
    String v = allow ? Clipboard()->AsText() : String();
    if (Grid->OnClipboardPaste) Grid->OnClipboardPaste(Editor, allow);
    if (!allow) return false;
    if (Grid->OnClipboardBeforePasteCell) {
        Grid->OnClipboardBeforePasteCell(Editor, Grid->Col(), Grid->Row(), v, allow);
        if (!allow) return false;
    }
    if (LengthLimit > 0 && v.size() > LengthLimit) return false;
    // One trailing line break is dropped; a text of several lines stays whole.
    const qsizetype crlf = v.indexOf(QStringLiteral("\r\n"));
    if (crlf >= 0 && crlf == v.size() - 2) v.chop(2);
    NewText = Text;
    NewText.replace(SelStart, SelLength, v);
    NewSelStart = SelLength > 0 ? SelStart : SelStart + int(v.size());
    NewSelLength = SelLength > 0 ? int(v.size()) : 0;
    return !(LengthLimit > 0 && NewText.size() > LengthLimit);
}

void TAdvInplaceEdit::WMPaste(TMessage& Message) {
    if (!FGrid) {
        TInplaceEdit::Dispatch(Message);
        return;
    }
    const String text = Text();
    String n;
    int newStart = 0, newLength = 0;
    if (!ComposeCellPaste(FGrid, this, FLengthLimit, text, SelStart(), SelLength(), n, newStart, newLength))
        return;

    bool accept = true;
    switch (FGrid->EditControl) {
        case edNumeric:
        case edPositiveNumeric:
            accept =
                NumericTextType(n) == ntkInteger && (!n.contains(u'-') || FGrid->EditControl == edNumeric);
            break;
        case edFloat:
        case edPositiveFloat: {
            const int kind = NumericTextType(n);
            accept = (kind == ntkInteger || kind == ntkFloat) &&
                     (!n.contains(u'-') || FGrid->EditControl == edFloat);
            break;
        }
        case edMixedCase: n = ToMixedCase(n); break;
        case edLowerCase: n = n.toLower(); break;
        case edUpperCase: n = n.toUpper(); break;
        case edValidChars:
            accept =
                std::all_of(n.begin(), n.end(), [&](QChar ch) { return FGrid->ValidChars.contains(ch); });
            break;
        default: break;
    }
    if (accept && n != text) {
        SetText(n);
        Modified = true;
    }
    FGrid->SetCurrentCellText(Text());
    const int len = int(Text().size());
    SetSelStart(std::min(newStart, len));
    SetSelLength(std::min(newLength, len - std::min(newStart, len)));
    if (FGrid->OnClipboardAfterPasteCell)
        FGrid->OnClipboardAfterPasteCell(this, FGrid->Col(), FGrid->Row(), Text());
}

// ---------------------------------------------------------------------------------------------
// Focus and mouse

void TAdvInplaceEdit::WMSetFocus(TWMSetFocus& Message) {
    TInplaceEdit::Dispatch(Message.Message());
    if (!FGrid) return;
    ApplyFormattingRect();
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = std::int16_t(FGrid->GetEditMaxLength());
    SetMaxLength(FLengthLimit);
    const TNavigation* nav = FGrid->Navigation();
    if (IsMasked() && !FGrid->LButFlg && nav->ImproveMaskSel) {
        SetSelStart(0);
        SetSelLength(1);
        return;
    }
    if (!nav->EditSelectAll) SetSelStart(int(Text().size()));
    if (FGrid->LButFlg) {
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        if (p.X >= 0 && p.X <= Width() && p.Y >= 0 && p.Y <= Height()) {
            const LRESULT r = Perform(EM_CHARFROMPOS, 0, PointToLParam(p));
            if (r != -1) {
                SetSelStart(LOWORD(r));
                SetSelLength(0);
            }
            FGrid->LButFlg = false;
        }
    }
}

void TAdvInplaceEdit::WMKillFocus(TWMKillFocus& Message) {
    if (!FGrid) {
        TInplaceEdit::Dispatch(Message.Message());
        return;
    }
    FGrid->FStartEditChar = Char(0);
    if (FGrid->LookupHistory) {
        TStringList* items = FGrid->LookupItems();
        const String text = Text();
        bool found = false;
        for (int i = 0; i < items->Count() && !found; ++i) found = items->Strings(i) == text;
        if (!found) items->Add(text);
    }
    FGrid->EditFormulaMode(false);
    TInplaceEdit::Dispatch(Message.Message());
    if (FAltBack) return;
    const HWND gridWnd = FGrid->HandleAllocated() ? FGrid->Handle() : HWND(0);
    // The focus goes to the grid while the grid still edits (the editor stepped aside while
    // its cell is scrolled out of view): the edit goes on, with what was typed.
    if (HWND(Message.FocusedWnd) == gridWnd && FGrid->EditorMode()) return;
    if (HWND(Message.FocusedWnd) != gridWnd) {
        // The editor goes and the grid leaves its editing state, also when validation raises.
        auto endEdit = [this] {
            FGrid->HideInplaceEdit();
            FGrid->FEditing = false;
            FGrid->FEditMode = false;
        };
        try {
            FGrid->ValidateCell(Text());
            SetTextQuietly(FGrid->CurrentCell());
        } catch (...) {
            endEdit();
            throw;
        }
        endEdit();
        FGrid->SelectCell(FColE, FRowE);
    }
    SetTextQuietly(FGrid->CurrentCell());
    FGrid->EditCaretMoved(Text(), TPoint(-1, -1), -1);
    if (FGotFocus) {
        FGotFocus = false;
        FGrid->EditingDone(FGrid->RealColIndex(FColE), FRowE);
    }
}

void TAdvInplaceEdit::WMLButtonDblClk(TWMMouse& Message) {
    TInplaceEdit::Dispatch(Message.Message());
    if (FGrid && FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}
