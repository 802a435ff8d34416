// The edit control (TCustomEdit of StdCtrls.h) and the text boxes that show it (EditBox.h).
#include "Caret.h"
#include "EditBox.h"
#include "Forms.h"
#include "QtBridge.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "WindowFrame.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace {

bool MultiLineStyle(DWORD Style) {
    return (Style & ES_MULTILINE) && !(Style & ES_PASSWORD);
}

Qt::Alignment StyleAlignment(DWORD Style) {
    if (Style & ES_RIGHT) return Qt::AlignRight;
    if (Style & ES_CENTER) return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

// The line edit's own look: the password character the window was given instead of the
// style's own, and a caret of no width while the caret is hidden.
class TLineStyle : public QProxyStyle {
public:
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_LineEdit_PasswordCharacter && PasswordChar.unicode()) return PasswordChar.unicode();
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
        if (Metric == PM_TextCursorWidth && CaretHidden) return 0;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }

    QChar PasswordChar;
    bool CaretHidden = false;
};

// ---------------------------------------------------------------------------------------------
// Single-line box

class TLineWidget : public QLineEdit {
public:
    using QLineEdit::cursorRect;
    using QLineEdit::QLineEdit;
};

class TLineBox : public TEditBox {
public:
    TLineBox(DWORD Style, QWidget* Host) : FEdit(new TLineWidget(Host)), FAutoScroll(Style & ES_AUTOHSCROLL) {
        FEdit->setMaxLength(std::numeric_limits<int>::max());
        FEdit->setAlignment(StyleAlignment(Style) | Qt::AlignVCenter);
        if (Style & ES_PASSWORD) FEdit->setEchoMode(QLineEdit::Password);
        FConnection = QObject::connect(FEdit, &QLineEdit::textChanged, FEdit, [this](const QString&) {
            if (OnChanged) OnChanged();
        });
    }
    ~TLineBox() override { QObject::disconnect(FConnection); }

    QWidget* Widget() const override { return FEdit; }
    QString Text() const override { return FEdit->text(); }
    void SetText(const QString& Value) override {
        FEdit->setText(Value);
        FEdit->setCursorPosition(0);
    }
    int Caret() const override { return FEdit->cursorPosition(); }
    int Anchor() const override {
        if (!FEdit->hasSelectedText()) return FEdit->cursorPosition();
        const int start = FEdit->selectionStart(), end = FEdit->selectionEnd();
        return FEdit->cursorPosition() == start ? end : start;
    }
    void Select(int AAnchor, int ACaret) override {
        const int len = int(FEdit->text().size());
        AAnchor = std::clamp(AAnchor, 0, len);
        ACaret = std::clamp(ACaret, 0, len);
        if (AAnchor == ACaret)
            FEdit->setCursorPosition(ACaret);
        else
            FEdit->setSelection(AAnchor, ACaret - AAnchor);
    }
    void Insert(const QString& Value) override { FEdit->insert(Value); }
    void Backspace() override { FEdit->backspace(); }
    int CharFromPos(const QPoint& Point, int& Line) const override {
        Line = 0;
        Place();
        return FEdit->cursorPositionAt(Point);
    }
    QPoint PosFromChar(int Index) const override {
        // The line edit tells where its caret is; the caret visits the character and comes back.
        const int anchor = Anchor(), caret = Caret();
        FEdit->setCursorPosition(Index);
        Place();
        const QRect r = FEdit->cursorRect(); // 5 pixels left of the caret's x
        const_cast<TLineBox*>(this)->Select(anchor, caret);
        return QPoint(r.x() + 5, r.y());
    }
    int LineFromChar(int) const override { return 0; }
    int LineCount() const override { return 1; }
    QRect FormattingRect() const override { return FEdit->rect(); }
    bool Fits(const QString& Value) const override {
        if (FAutoScroll) return true;
        const QFontMetrics fm(FEdit->font());
        const QString shown =
            FEdit->echoMode() == QLineEdit::Password ? QString(Value.size(), FPassword) : Value;
        const int frame = FEdit->hasFrame() ? 2 : 0;
        return fm.horizontalAdvance(shown) <= FEdit->width() - 2 * frame - 4;
    }
    void SetPasswordChar(QChar Ch) override {
        FPassword = Ch;
        if (Ch.unicode() == 0) {
            FEdit->setEchoMode(QLineEdit::Normal);
            return;
        }
        Style()->PasswordChar = Ch;
        FEdit->setEchoMode(QLineEdit::Password);
        FEdit->update();
    }
    void SetCaretVisible(bool Value) override {
        if (!Value == (FStyle && FStyle->CaretHidden)) return;
        Style()->CaretHidden = !Value;
        FEdit->update();
    }
    bool CaretVisible() const override { return !(FStyle && FStyle->CaretHidden); }
    void SetReadOnly(bool Value) override { FEdit->setReadOnly(Value); }
    void SetFramed(bool Value) override { FEdit->setFrame(Value); }

private:
    // The line edit's own style, made on first use.
    TLineStyle* Style() {
        if (!FStyle) {
            FStyle = new TLineStyle();
            FStyle->setParent(FEdit);
            FEdit->setStyle(FStyle);
        }
        return FStyle;
    }
    // The line edit places its text (alignment, scrolling to the caret) when it paints.
    void Place() const {
        QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
        FEdit->render(&pixel, QPoint(), QRegion(0, 0, 1, 1));
    }

    QPointer<TLineWidget> FEdit;
    bool FAutoScroll;
    QChar FPassword = QChar(u'*');
    QPointer<TLineStyle> FStyle;
    QMetaObject::Connection FConnection;
};

// ---------------------------------------------------------------------------------------------
// Multi-line box. The document keeps a line break as one character; the platform counts CR LF.

class TMemoWidget : public QTextEdit {
public:
    using QTextEdit::QTextEdit;
    using QTextEdit::setViewportMargins;
    std::function<void()> OnResized;

protected:
    // The viewport's resizes arrive here too; only the window's own size resets the rectangle.
    void resizeEvent(QResizeEvent* Event) override {
        QTextEdit::resizeEvent(Event);
        if (size() == FLastSize) return;
        FLastSize = size();
        if (OnResized) OnResized();
    }

private:
    QSize FLastSize;
};

class TMemoBox : public TEditBox {
public:
    TMemoBox(DWORD Style, QWidget* Host) : FEdit(new TMemoWidget(Host)) {
        FEdit->setAcceptRichText(false);
        FEdit->setTabChangesFocus(true);
        FEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FEdit->setLineWrapMode((Style & ES_AUTOHSCROLL) ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
        FEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        QTextDocument* doc = FEdit->document();
        doc->setDocumentMargin(0);
        QTextOption option = doc->defaultTextOption();
        option.setAlignment(StyleAlignment(Style));
        doc->setDefaultTextOption(option);
        FEdit->OnResized = [this] { SetFormattingRect(QRect()); };
        FConnection = QObject::connect(FEdit, &QTextEdit::textChanged, FEdit, [this] {
            if (OnChanged) OnChanged();
        });
    }
    ~TMemoBox() override {
        QObject::disconnect(FConnection);
        if (FEdit) FEdit->OnResized = nullptr;
    }

    QWidget* Widget() const override { return FEdit; }
    QString Text() const override { return Plain().replace(u'\n', QStringLiteral("\r\n")); }
    void SetText(const QString& Value) override {
        QString t = Value;
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        FEdit->setPlainText(t);
    }
    int Anchor() const override { return ToPlatform(FEdit->textCursor().anchor()); }
    int Caret() const override { return ToPlatform(FEdit->textCursor().position()); }
    void Select(int AAnchor, int ACaret) override {
        QTextCursor c(FEdit->document());
        c.setPosition(ToDocument(AAnchor));
        c.setPosition(ToDocument(ACaret), QTextCursor::KeepAnchor);
        FEdit->setTextCursor(c);
    }
    void Insert(const QString& Value) override {
        QString t = Value;
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTextCursor c = FEdit->textCursor();
        c.insertText(t);
        FEdit->setTextCursor(c);
    }
    void Backspace() override {
        QTextCursor c = FEdit->textCursor();
        if (c.hasSelection())
            c.removeSelectedText();
        else
            c.deletePreviousChar();
        FEdit->setTextCursor(c);
    }
    int CharFromPos(const QPoint& Point, int& Line) const override {
        const QPoint origin = FEdit->viewport()->geometry().topLeft();
        const int index = ToPlatform(FEdit->cursorForPosition(Point - origin).position());
        Line = LineFromChar(index);
        return index;
    }
    QPoint PosFromChar(int Index) const override {
        QTextCursor c(FEdit->document());
        c.setPosition(ToDocument(Index));
        return FEdit->cursorRect(c).topLeft() + FEdit->viewport()->geometry().topLeft();
    }
    int LineFromChar(int Index) const override {
        const int pos = ToDocument(Index);
        EnsureLayout();
        int line = 0;
        for (QTextBlock b = FEdit->document()->begin(); b.isValid(); b = b.next()) {
            const int count = std::max(1, b.layout()->lineCount());
            if (pos < b.position() + b.length()) {
                const QTextLine l = b.layout()->lineForTextPosition(pos - b.position());
                return line + (l.isValid() ? l.lineNumber() : 0);
            }
            line += count;
        }
        return std::max(0, line - 1);
    }
    int LineCount() const override {
        EnsureLayout();
        int lines = 0;
        for (QTextBlock b = FEdit->document()->begin(); b.isValid(); b = b.next())
            lines += std::max(1, b.layout()->lineCount());
        return std::max(1, lines);
    }
    QRect FormattingRect() const override { return FRect; }
    void SetFormattingRect(const QRect& Rect) override {
        const QRect area = FEdit->contentsRect();
        FRect = Rect.isNull() ? area.adjusted(1, 0, -1, 0) : Rect;
        FEdit->setViewportMargins(
            std::max(0, FRect.left() - area.left()), std::max(0, FRect.top() - area.top()),
            std::max(0, area.right() - FRect.right()), std::max(0, area.bottom() - FRect.bottom()));
    }
    void SetCaretVisible(bool Value) override { FEdit->setCursorWidth(Value ? 1 : 0); }
    bool CaretVisible() const override { return FEdit->cursorWidth() > 0; }
    void SetReadOnly(bool Value) override { FEdit->setReadOnly(Value); }
    void SetFramed(bool Value) override {
        FEdit->setFrameShape(Value ? QFrame::StyledPanel : QFrame::NoFrame);
        SetFormattingRect(QRect());
    }

private:
    QString Plain() const { return FEdit->toPlainText(); }
    int ToPlatform(int Pos) const {
        const QString t = Plain();
        return Pos + int(t.left(Pos).count(u'\n'));
    }
    int ToDocument(int Index) const {
        const QString t = Plain();
        int pos = 0;
        for (int i = 0; pos < t.size() && i < Index; ++pos) i += t[pos] == u'\n' ? 2 : 1;
        return pos;
    }
    void EnsureLayout() const {
        QTextDocument* doc = FEdit->document();
        doc->documentLayout()->blockBoundingRect(doc->lastBlock());
    }

    QPointer<TMemoWidget> FEdit;
    QRect FRect;
    QMetaObject::Connection FConnection;
};

} // namespace

TEditBox* CreateEditBox(DWORD Style, QWidget* Host) {
    if (MultiLineStyle(Style)) return new TMemoBox(Style, Host);
    return new TLineBox(Style, Host);
}

// =============================================================================================
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 121, 21);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
    if (FAlignment == taCenter) Params.Style |= ES_CENTER;
    if (FPasswordChar.unicode()) Params.Style |= ES_PASSWORD;
    if (FReadOnly) Params.Style |= ES_READONLY;
    if (FNumbersOnly) Params.Style |= ES_NUMBER;
    if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
}

QWidget* TCustomEdit::CreateNative(QWidget* Host) {
    FBox.reset(CreateEditBox(WindowStyle(), Host));
    FBox->SetText(FEditText);
    FBox->Select(FSelStart, FSelStart + FSelLength);
    FBox->OnChanged = [this] { TextEdited(); };
    FShownPasswordChar = Char();
    if (WindowStyle() & ES_PASSWORD) {
        FShownPasswordChar = FPasswordChar.unicode() ? FPasswordChar : Char(u'*');
        FBox->SetPasswordChar(FShownPasswordChar);
    }
    return FBox->Widget();
}

void TCustomEdit::CreateWnd() {
    TNativeControl::CreateWnd();
    // What is drawn on the window's canvas shows over the text box.
    TWindowExtras::AttachLayer(this);
    // The box takes the window's size now (the queries measure in it before it is shown).
    if (QWidget* box = NativeWidget())
        if (QLayout* layout = box->parentWidget() ? box->parentWidget()->layout() : nullptr)
            layout->activate();
    if (FPasswordChar.unicode()) Perform(EM_SETPASSWORDCHAR, FPasswordChar.unicode(), 0);
}

void TCustomEdit::DestroyWnd() {
    if (FBox) {
        FSelStart = SelStart();
        FSelLength = SelLength();
        FBox->OnChanged = nullptr;
        FBox.reset();
    }
    TNativeControl::DestroyWnd();
}

void TCustomEdit::UpdateNative() {
    if (!FBox) return;
    FBox->SetReadOnly(FReadOnly);
    FBox->SetFramed(FBorderStyle != bsNone);
}

void TCustomEdit::TextEdited() {
    FEditText = FBox->Text();
    if (!FSettingText) Modified = true;
    Perform(CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), LPARAM(HandleAllocated() ? Handle() : 0));
}

String TCustomEdit::GetText() const {
    return FEditText;
}

void TCustomEdit::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCustomEdit::DoEnter() {
    TNativeControl::DoEnter();
    if (AutoSelect) SelectAll();
}

LRESULT TCustomEdit::DialogCode() const {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (FBox && MultiLineStyle(WindowStyle())) code |= DLGC_WANTALLKEYS;
    return code;
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
}

void TCustomEdit::SetNumbersOnly(bool Value) {
    FNumbersOnly = Value;
}

// As on the platform, through the window's message, so that a subclass hears it.
void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    Perform(EM_SETREADONLY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetPasswordChar(Char Value) {
    if (FPasswordChar == Value) return;
    FPasswordChar = Value;
    if (!FBox) return;
    // A multi-line window cannot hide its text: it is made anew as a password edit.
    if (Value.unicode() && MultiLineStyle(WindowStyle()))
        RecreateWnd();
    else
        Perform(EM_SETPASSWORDCHAR, Value.unicode(), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    if (Value == ecUpperCase) SetText(FEditText.toUpper());
    if (Value == ecLowerCase) SetText(FEditText.toLower());
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    UpdateNative();
}

void TCustomEdit::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    RecreateWnd();
}

int TCustomEdit::SelStart() const {
    if (!FBox) return FSelStart;
    return std::min(FBox->Anchor(), FBox->Caret());
}

int TCustomEdit::SelLength() const {
    if (!FBox) return FSelLength;
    return std::abs(FBox->Caret() - FBox->Anchor());
}

void TCustomEdit::SetSelStart(int Value) {
    FSelStart = std::clamp(Value, 0, int(FEditText.size()));
    FSelLength = 0;
    if (FBox) FBox->Select(FSelStart, FSelStart);
}

void TCustomEdit::SetSelLength(int Value) {
    const int start = SelStart();
    FSelStart = start;
    FSelLength = std::clamp(Value, 0, int(FEditText.size()) - start);
    if (FBox) FBox->Select(start, start + FSelLength);
}

String TCustomEdit::SelText() const {
    return FEditText.mid(SelStart(), SelLength());
}

void TCustomEdit::SetSelText(const String& Value) {
    if (FBox) {
        FBox->Insert(Value);
        return;
    }
    const int start = SelStart();
    FEditText.replace(start, SelLength(), Value);
    FSelStart = start + int(Value.size());
    FSelLength = 0;
    Modified = true;
    Change();
}

void TCustomEdit::SelectAll() {
    FSelStart = 0;
    FSelLength = int(FEditText.size());
    if (FBox) FBox->Select(0, FSelLength);
}

void TCustomEdit::Clear() {
    SetText(String());
}

void TCustomEdit::ClearSelection() {
    SetSelText(String());
}

void TCustomEdit::CopyToClipboard() {
    if (SelLength() > 0 && !FPasswordChar.unicode() && !FShownPasswordChar.unicode())
        QApplication::clipboard()->setText(SelText());
}

void TCustomEdit::CutToClipboard() {
    if (FReadOnly || SelLength() == 0) return;
    CopyToClipboard();
    ClearSelection();
}

bool TCustomEdit::InsertTyped(const String& Value) {
    String text = Value;
    if (FMaxLength > 0) {
        const int room = FMaxLength - (int(FEditText.size()) - SelLength());
        if (room <= 0) return false;
        text.truncate(room);
    }
    if (FBox && !(WindowStyle() & ES_AUTOHSCROLL)) {
        String after = FEditText;
        after.replace(SelStart(), SelLength(), text);
        if (!FBox->Fits(after)) return false;
    }
    SetSelText(text);
    return true;
}

void TCustomEdit::PasteFromClipboard() {
    if (FReadOnly) return;
    String text = QApplication::clipboard()->text();
    if (!FBox || !MultiLineStyle(WindowStyle())) {
        const int nl = int(std::min<qsizetype>(text.indexOf(u'\r') < 0 ? text.size() : text.indexOf(u'\r'),
                                               text.indexOf(u'\n') < 0 ? text.size() : text.indexOf(u'\n')));
        text.truncate(nl);
    }
    if (FNumbersOnly)
        for (QChar c : text)
            if (c < u'0' || c > u'9') {
                MessageBeep(0);
                return;
            }
    if (FCharCase == ecUpperCase) text = text.toUpper();
    if (FCharCase == ecLowerCase) text = text.toLower();
    if (!InsertTyped(text)) MessageBeep(0);
}

bool TCustomEdit::PassesKey(Word Key, const TShiftState& Shift) const {
    // The clipboard keys become WM_COPY, WM_CUT and WM_PASTE (see DefaultHandler).
    const bool ctrl = Shift.count(ssCtrl) != 0, shift = Shift.count(ssShift) != 0;
    if (ctrl && (Key == 'C' || Key == 'X' || Key == 'V')) return false;
    if ((ctrl || shift) && Key == VK_INSERT) return false;
    if (shift && Key == VK_DELETE) return false;
    return TNativeControl::PassesKey(Key, Shift);
}

// The edit's own handling of a typed character.
void TCustomEdit::TypeChar(Char Ch) {
    if (!FBox) return;
    switch (Ch.unicode()) {
        case 3: Perform(WM_COPY, 0, 0); return;
        case 22: Perform(WM_PASTE, 0, 0); return;
        case 24: Perform(WM_CUT, 0, 0); return;
        case 8:
            if (!FReadOnly) FBox->Backspace();
            return;
        case 13:
            if (!FReadOnly && MultiLineStyle(WindowStyle()) && (WindowStyle() & ES_WANTRETURN) &&
                !InsertTyped(QStringLiteral("\r\n")))
                MessageBeep(0);
            return;
        default: break;
    }
    if (Ch.unicode() < 32 || Ch.unicode() == 127 || FReadOnly) return;
    if (FNumbersOnly && (Ch < u'0' || Ch > u'9')) {
        MessageBeep(0);
        return;
    }
    if (FCharCase == ecUpperCase) Ch = Ch.toUpper();
    if (FCharCase == ecLowerCase) Ch = Ch.toLower();
    if (!InsertTyped(String(Ch))) MessageBeep(0);
}

void TCustomEdit::EditMessage(TMessage& Message) {
    const int len = int(FEditText.size());
    switch (Message.Msg) {
        case EM_GETSEL: {
            const DWORD start = DWORD(SelStart()), end = DWORD(SelStart() + SelLength());
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = start;
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = end;
            Message.Result = LRESULT(MAKELONG(Word(start), Word(end)));
            break;
        }
        case EM_SETSEL: {
            int start = int(Message.WParam), end = int(Message.LParam);
            const int caret = FBox ? FBox->Caret() : FSelStart + FSelLength;
            if (start == -1) start = end = caret; // -1: no selection, the caret stays
            if (end < 0 || end > len) end = len;
            start = std::clamp(start, 0, len);
            if (FBox) {
                FBox->Select(start, end);
            } else {
                FSelStart = std::min(start, end);
                FSelLength = std::abs(end - start);
            }
            break;
        }
        case EM_GETRECT:
            if (Message.LParam) {
                const QRect r = FBox ? FBox->FormattingRect() : QRect(0, 0, Width(), Height());
                *reinterpret_cast<TRect*>(Message.LParam) =
                    TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
            }
            break;
        case EM_SETRECT:
        case EM_SETRECTNP:
            if (FBox && MultiLineStyle(WindowStyle())) {
                const auto* r = reinterpret_cast<const TRect*>(Message.LParam);
                FBox->SetFormattingRect(r ? QRect(r->Left, r->Top, r->Width(), r->Height()) : QRect());
            }
            break;
        case EM_GETLINECOUNT: Message.Result = FBox ? FBox->LineCount() : 1; break;
        case EM_LINEFROMCHAR: {
            int index = int(Message.WParam);
            if (index < 0) index = SelStart();
            Message.Result = FBox ? FBox->LineFromChar(std::min(index, len)) : 0;
            break;
        }
        case EM_CHARFROMPOS: {
            const TPoint p = LParamToPoint(Message.LParam);
            if (!FBox || !ClientRect().Contains(p)) {
                Message.Result = -1;
                break;
            }
            int line = 0;
            const int index = FBox->CharFromPos(QPoint(p.X, p.Y), line);
            Message.Result = LRESULT(MAKELONG(Word(index), Word(line)));
            break;
        }
        case EM_POSFROMCHAR: {
            const int index = int(Message.WParam);
            if (!FBox || index < 0 || index >= len) {
                Message.Result = -1;
                break;
            }
            const QPoint p = FBox->PosFromChar(index);
            Message.Result = LRESULT(MAKELONG(Word(p.x()), Word(p.y())));
            break;
        }
        case EM_LIMITTEXT: SetMaxLength(int(Message.WParam)); break;
        case EM_GETLIMITTEXT: Message.Result = FMaxLength > 0 ? FMaxLength : 0x7FFFFFFE; break;
        case EM_SETPASSWORDCHAR:
            FShownPasswordChar = Char(char16_t(Message.WParam));
            if (FBox) FBox->SetPasswordChar(FShownPasswordChar);
            break;
        case EM_GETPASSWORDCHAR: Message.Result = FShownPasswordChar.unicode(); break;
        case EM_SETREADONLY:
            FReadOnly = Message.WParam != 0;
            if (FBox) FBox->SetReadOnly(FReadOnly);
            Message.Result = 1;
            break;
        default: break;
    }
}

void TCustomEdit::ApplyText(const String& Value) {
    FEditText = Value;
    FSelStart = FSelLength = 0;
    if (!FBox) {
        Change();
        return;
    }
    if (FBox->Text() == Value) return;
    // Set by code: the change is not the user's (also when OnChange raises).
    struct TSetting {
        bool& Flag;
        explicit TSetting(bool& F) : Flag(F) { Flag = true; }
        ~TSetting() { Flag = false; }
    } setting(FSettingText);
    FBox->SetText(Value);
}

void TCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            ApplyText(TControl::GetText());
            TNativeControl::Dispatch(Message);
            break;
        case CN_COMMAND:
            if (Message.WParamHi() == EN_CHANGE) {
                Change();
                break;
            }
            TNativeControl::Dispatch(Message);
            break;
        default: TNativeControl::Dispatch(Message); break;
    }
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    if (Message.Msg >= EM_GETSEL && Message.Msg <= EM_CHARFROMPOS) {
        EditMessage(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_SETFOCUS:
            // The edit makes its caret anew with the focus: a hidden one shows again.
            if (FBox) FBox->SetCaretVisible(true);
            TNativeControl::DefaultHandler(Message);
            break;
        case WM_CHAR: TypeChar(Char(char16_t(Message.WParam))); break;
        case WM_KEYDOWN: {
            TNativeControl::DefaultHandler(Message);
            const TShiftState shift = GetShiftState();
            const bool ctrl = shift.count(ssCtrl) && !shift.count(ssAlt);
            const Word key = Word(Message.WParam);
            if (key == VK_INSERT && shift.count(ssShift))
                Perform(WM_PASTE, 0, 0);
            else if (key == VK_INSERT && ctrl)
                Perform(WM_COPY, 0, 0);
            else if (key == VK_DELETE && shift.count(ssShift))
                Perform(WM_CUT, 0, 0);
            else if (ctrl && (key == 'C' || key == 'X' || key == 'V')) {
                // A key event that brings no control character still reaches the clipboard.
                auto* ke = dynamic_cast<QKeyEvent*>(CurrentEvent());
                if (ke && ke->text().isEmpty()) TypeChar(Char(char16_t(key - 'A' + 1)));
            }
            break;
        }
        case WM_PASTE: PasteFromClipboard(); break;
        case WM_COPY: CopyToClipboard(); break;
        case WM_CUT: CutToClipboard(); break;
        case WM_CLEAR: ClearSelection(); break;
        default: TNativeControl::DefaultHandler(Message); break;
    }
}

// =============================================================================================
// The caret

namespace {
// The caret functions reach the edit's text box as a derived class does.
struct TEditCaretAccess : TCustomEdit {
    static TEditBox* BoxOf(TWinControl* Window) {
        auto* edit = dynamic_cast<TCustomEdit*>(Window);
        return edit ? (edit->*&TEditCaretAccess::Box)() : nullptr;
    }
};

TEditBox* FocusedBox(HWND Wnd) {
    return GetFocus() == Wnd ? TEditCaretAccess::BoxOf(FindControl(Wnd)) : nullptr;
}
} // namespace

bool HideCaret(HWND Wnd) {
    TEditBox* box = FocusedBox(Wnd);
    if (box) box->SetCaretVisible(false);
    return box != nullptr;
}

bool ShowCaret(HWND Wnd) {
    TEditBox* box = FocusedBox(Wnd);
    if (box) box->SetCaretVisible(true);
    return box != nullptr;
}

bool CaretHidden(HWND Wnd) {
    TEditBox* box = TEditCaretAccess::BoxOf(FindControl(Wnd));
    return box && !box->CaretVisible();
}
