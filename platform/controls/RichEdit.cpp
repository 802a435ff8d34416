#include "RichEdit.h"

#include "EditBox.h"
#include "RtfText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {

// The document's text as the edit counts it: a paragraph or line break is CR LF.
QString EditText(const QTextDocument& Doc) {
    return Doc.toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

QTextCharFormat ToQt(const CHARFORMATW& F) {
    QTextCharFormat q;
    if (F.dwMask & CFM_BOLD) q.setFontWeight((F.dwEffects & CFE_BOLD) ? QFont::Bold : QFont::Normal);
    if (F.dwMask & CFM_ITALIC) q.setFontItalic(F.dwEffects & CFE_ITALIC);
    if (F.dwMask & CFM_UNDERLINE) q.setFontUnderline(F.dwEffects & CFE_UNDERLINE);
    if (F.dwMask & CFM_STRIKEOUT) q.setFontStrikeOut(F.dwEffects & CFE_STRIKEOUT);
    if (F.dwMask & CFM_SIZE) q.setFontPointSize(std::max(1, F.yHeight) / 20.0);
    if (F.dwMask & CFM_FACE) {
        const auto* end = std::find(std::begin(F.szFaceName), std::end(F.szFaceName), u'\0');
        q.setFontFamilies(QStringList{QString::fromUtf16(F.szFaceName, end - std::begin(F.szFaceName))});
    }
    if (F.dwMask & CFM_COLOR) {
        if (F.dwEffects & CFE_AUTOCOLOR)
            q.clearForeground();
        else
            q.setForeground(ToQColor(TColor(F.crTextColor)));
    }
    if (F.dwMask & CFM_OFFSET) {
        q.setProperty(RtfOffsetProperty, int(F.yOffset));
        q.setVerticalAlignment(F.yOffset > 0   ? QTextCharFormat::AlignSuperScript
                               : F.yOffset < 0 ? QTextCharFormat::AlignSubScript
                                               : QTextCharFormat::AlignNormal);
    }
    return q;
}

// The format of one character as the rich edit reports it, every mask bit set.
CHARFORMATW FromQt(const QTextCharFormat& Q, const QFont& Default) {
    CHARFORMATW f;
    f.dwMask =
        CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;
    const QFont font = Q.font().resolve(Default);
    if (font.weight() >= QFont::DemiBold) f.dwEffects |= CFE_BOLD;
    if (font.italic()) f.dwEffects |= CFE_ITALIC;
    if (font.underline()) f.dwEffects |= CFE_UNDERLINE;
    if (font.strikeOut()) f.dwEffects |= CFE_STRIKEOUT;
    double pt = Q.fontPointSize() > 0 ? Q.fontPointSize() : Default.pointSizeF();
    if (pt <= 0 && Default.pixelSize() > 0) pt = Default.pixelSize() * 72.0 / ScreenPixelsPerInch;
    f.yHeight = int32_t(qRound(pt * 20));
    f.yOffset = Q.intProperty(RtfOffsetProperty);
    if (Q.hasProperty(QTextFormat::ForegroundBrush) && Q.foreground().style() != Qt::NoBrush)
        f.crTextColor = DWORD(FromQColor(Q.foreground().color()));
    else
        f.dwEffects |= CFE_AUTOCOLOR;
    const QString face = Q.fontFamilies().toStringList().value(0, Default.family()).left(31);
    std::copy(face.utf16(), face.utf16() + face.size(), f.szFaceName);
    return f;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Lines

class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TRichEdit* Edit) : FEdit(Edit) {}

    int Count() const override { return Memo()->Count(); }
    String Strings(int Index) const override { return Memo()->Strings(Index); }
    void SetStrings(int Index, const String& S) override { Memo()->SetStrings(Index, S); }
    void Insert(int Index, const String& S) override { Memo()->Insert(Index, S); }
    void Delete(int Index) override { Memo()->Delete(Index); }
    void Clear() override { Memo()->Clear(); }
    String Text() const override { return Memo()->Text(); }
    void SetText(const String& Value) override { Memo()->SetText(Value); }

    using TStrings::LoadFromStream;
    using TStrings::SaveToStream;
    void LoadFromStream(TStream* Stream) override {
        const Int64 start = Stream->Position();
        const QByteArray data = Stream->ReadAll();
        if (!FEdit->PlainText && IsRtfText(data)) {
            FEdit->LoadRich(data);
            return;
        }
        Stream->SetPosition(start);
        TStrings::LoadFromStream(Stream);
    }
    void SaveToStream(TStream* Stream) override {
        if (FEdit->PlainText) {
            TStrings::SaveToStream(Stream);
            return;
        }
        Stream->WriteBuffer(WriteRtf(FEdit->Doc()));
    }

private:
    TStrings* Memo() const { return FEdit->TMemo::Lines(); }
    TRichEdit* FEdit;
};

// ---------------------------------------------------------------------------------------------
// Attributes

CHARFORMATW TTextAttributes::Get() const {
    CHARFORMATW f;
    FEdit->GetCharFormat(FSelection, f);
    return f;
}

void TTextAttributes::Set(const CHARFORMATW& Format) {
    FEdit->SetCharFormat(FSelection ? SCF_SELECTION : SCF_DEFAULT, Format);
}

String TTextAttributes::Name() const {
    const CHARFORMATW f = Get();
    const auto* end = std::find(std::begin(f.szFaceName), std::end(f.szFaceName), u'\0');
    return QString::fromUtf16(f.szFaceName, end - std::begin(f.szFaceName));
}

void TTextAttributes::SetName(const String& Value) {
    CHARFORMATW f;
    f.dwMask = CFM_FACE;
    const String face = Value.left(31);
    std::copy(face.utf16(), face.utf16() + face.size(), f.szFaceName);
    Set(f);
}

int TTextAttributes::Size() const {
    return qRound(Get().yHeight / 20.0);
}

void TTextAttributes::SetSize(int Value) {
    CHARFORMATW f;
    f.dwMask = CFM_SIZE;
    f.yHeight = Value * 20;
    Set(f);
}

TFontStyles TTextAttributes::Style() const {
    const CHARFORMATW f = Get();
    TFontStyles s;
    if (f.dwEffects & CFE_BOLD) s.insert(fsBold);
    if (f.dwEffects & CFE_ITALIC) s.insert(fsItalic);
    if (f.dwEffects & CFE_UNDERLINE) s.insert(fsUnderline);
    if (f.dwEffects & CFE_STRIKEOUT) s.insert(fsStrikeOut);
    return s;
}

void TTextAttributes::SetStyle(const TFontStyles& Value) {
    CHARFORMATW f;
    f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (Value.count(fsBold)) f.dwEffects |= CFE_BOLD;
    if (Value.count(fsItalic)) f.dwEffects |= CFE_ITALIC;
    if (Value.count(fsUnderline)) f.dwEffects |= CFE_UNDERLINE;
    if (Value.count(fsStrikeOut)) f.dwEffects |= CFE_STRIKEOUT;
    Set(f);
}

TColor TTextAttributes::Color() const {
    const CHARFORMATW f = Get();
    return (f.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(f.crTextColor);
}

void TTextAttributes::SetColor(TColor Value) {
    CHARFORMATW f;
    f.dwMask = CFM_COLOR;
    if (Value == clWindowText)
        f.dwEffects = CFE_AUTOCOLOR;
    else
        f.crTextColor = DWORD(ColorToRGB(Value));
    Set(f);
}

void TTextAttributes::Assign(TPersistent* Source) {
    if (auto* font = dynamic_cast<TFont*>(Source)) {
        SetName(font->Name());
        SetSize(font->Size());
        SetStyle(font->Style());
        SetColor(font->Color());
        return;
    }
    if (auto* attrs = dynamic_cast<TTextAttributes*>(Source)) {
        SetName(attrs->Name());
        SetSize(attrs->Size());
        SetStyle(attrs->Style());
        SetColor(attrs->Color());
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// The control

TRichEdit::TRichEdit(TComponent* AOwner)
    : TMemo(AOwner), FDocument(std::make_unique<QTextDocument>()),
      FRichLines(std::make_unique<TRichEditStrings>(this)),
      FSelAttributes(std::make_unique<TTextAttributes>(this, true)),
      FDefAttributes(std::make_unique<TTextAttributes>(this, false)) {
    FDocument->setDocumentMargin(0);
    FDocument->setDefaultFont(Font()->ToQFont());
}

TRichEdit::~TRichEdit() {
    // The window's editor shows the document: it goes first.
    DestroyHandle();
}

TStrings* TRichEdit::Lines() const {
    return FRichLines.get();
}

void TRichEdit::SetLines(TStrings* Value) {
    FRichLines->Assign(Value);
}

QTextDocument* TRichEdit::Document() const {
    return &Doc();
}

QTextDocument& TRichEdit::Doc() const {
    if (!Box()) {
        const String text = TCustomEdit::GetText();
        if (EditText(*FDocument) != text) {
            String plain = text;
            FDocument->setPlainText(plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
    }
    return *FDocument;
}

int TRichEdit::DocPos(int Index) const {
    const QString t = Doc().toPlainText();
    int pos = 0;
    for (int i = 0; pos < t.size() && i < Index; ++pos) i += t[pos] == u'\n' ? 2 : 1;
    return pos;
}

void TRichEdit::LoadRich(const QByteArray& Rtf) {
    QTextDocument& doc = Doc();
    ReadRtf(Rtf, doc, doc.defaultFont());
    // With a window the editor reports the change itself; without one the text follows here.
    if (!Box()) ApplyText(EditText(doc));
}

void TRichEdit::CreateParams(TCreateParams& Params) {
    TMemo::CreateParams(Params);
    if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL;
}

QWidget* TRichEdit::CreateNative(QWidget* Host) {
    Doc(); // the document takes the text set while there was no window
    QWidget* w = TMemo::CreateNative(Host);
    if (auto* edit = qobject_cast<QTextEdit*>(w)) {
        // The window shows the control's own document, set up as the box set up its own.
        QTextDocument* own = edit->document();
        FDocument->setDefaultTextOption(own->defaultTextOption());
        FDocument->setDocumentMargin(own->documentMargin());
        FDocument->setDefaultFont(edit->font());
        const int start = SelStart(), length = SelLength();
        edit->setDocument(FDocument.get());
        edit->setAcceptRichText(true);
        Box()->Select(start, start + length);
        FSelConnection = QObject::connect(edit, &QTextEdit::cursorPositionChanged, edit, [this] {
            if (FEventMask & ENM_SELCHANGE) SelectionChange();
        });
    }
    return w;
}

void TRichEdit::UpdateNative() {
    TMemo::UpdateNative();
    FDocument->setDefaultFont(Font()->ToQFont());
    ApplyHideSelection();
}

void TRichEdit::ApplyHideSelection() {
    auto* edit = qobject_cast<QTextEdit*>(NativeWidget());
    if (!edit) return;
    QPalette p = edit->palette();
    const QPalette base = edit->style() ? edit->style()->standardPalette() : QPalette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               FHideSelection ? p.color(QPalette::Inactive, QPalette::Base)
                              : base.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               FHideSelection ? p.color(QPalette::Inactive, QPalette::Text)
                              : base.color(QPalette::Active, QPalette::HighlightedText));
    edit->setPalette(p);
}

void TRichEdit::SetHideSelection(bool Value) {
    FHideSelection = Value;
    ApplyHideSelection();
}

void TRichEdit::SetWordWrap(bool Value) {
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    RecreateWnd();
    RequestSize();
}

void TRichEdit::Change() {
    TMemo::Change();
    RequestSize();
}

void TRichEdit::SelectionChange() {
    if (Assigned(OnSelectionChange)) OnSelectionChange(this);
}

void TRichEdit::RequestSize() {
    if (!HandleAllocated() || !(FEventMask & ENM_REQUESTRESIZE)) return;
    TRect r;
    Perform(EM_GETRECT, 0, LPARAM(&r));
    std::unique_ptr<QTextDocument> d(Doc().clone());
    d->setDocumentMargin(0);
    d->setTextWidth(FWordWrap ? std::max(1, r.Width()) : -1);
    const QSizeF size = d->size();
    REQRESIZE req;
    req.nmhdr.hwndFrom = Handle();
    req.nmhdr.code = EN_REQUESTRESIZE;
    req.rc = TRect(r.Left, r.Top, r.Left + int(std::ceil(FWordWrap ? r.Width() : d->idealWidth())),
                   r.Top + int(std::ceil(size.height())));
    Perform(CN_NOTIFY, 0, LPARAM(&req));
}

void TRichEdit::GetCharFormat(bool Selection, CHARFORMATW& Format) const {
    QTextDocument& doc = Doc();
    const QFont def = doc.defaultFont();
    if (!Selection) {
        Format = FromQt(QTextCharFormat(), def); // the default format: the document's font
        return;
    }
    const int from = DocPos(SelStart()), to = DocPos(SelStart() + SelLength());
    QTextCursor c(&doc);
    if (to <= from) {
        // No selection: the format the caret types with, that of the character before it.
        c.setPosition(from);
        Format = FromQt(c.charFormat(), def);
        return;
    }
    // A selection: what all its characters share; the mask leaves out what differs.
    bool first = true;
    for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() < to; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= from || frag.position() >= to) continue;
            const CHARFORMATW f = FromQt(frag.charFormat(), def);
            if (first) {
                Format = f;
                first = false;
                continue;
            }
            const DWORD effects = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
            Format.dwMask &= ~((f.dwEffects ^ Format.dwEffects) & effects);
            if (f.yHeight != Format.yHeight) Format.dwMask &= ~CFM_SIZE;
            if (f.yOffset != Format.yOffset) Format.dwMask &= ~CFM_OFFSET;
            if (f.crTextColor != Format.crTextColor || ((f.dwEffects ^ Format.dwEffects) & CFE_AUTOCOLOR))
                Format.dwMask &= ~CFM_COLOR;
            if (std::u16string_view(f.szFaceName) != std::u16string_view(Format.szFaceName))
                Format.dwMask &= ~CFM_FACE;
        }
    if (first) {
        c.setPosition(from);
        Format = FromQt(c.charFormat(), def);
    }
}

void TRichEdit::SetCharFormat(WPARAM Scope, const CHARFORMATW& Format) {
    QTextDocument& doc = Doc();
    const QTextCharFormat f = ToQt(Format);
    QTextCursor c(&doc);
    if (Scope & SCF_ALL) {
        c.select(QTextCursor::Document);
        c.mergeCharFormat(f);
        return;
    }
    if (Scope & SCF_SELECTION) {
        const int from = DocPos(SelStart()), to = DocPos(SelStart() + SelLength());
        if (to > from) {
            c.setPosition(from);
            c.setPosition(to, QTextCursor::KeepAnchor);
            c.mergeCharFormat(f);
            return;
        }
        // No selection: what is typed next takes the format.
        if (auto* edit = qobject_cast<QTextEdit*>(NativeWidget())) edit->mergeCurrentCharFormat(f);
        return;
    }
    // The default format: the document's font.
    QFont font = doc.defaultFont();
    if (Format.dwMask & CFM_FACE) font.setFamilies(f.fontFamilies().toStringList());
    if (Format.dwMask & CFM_SIZE) font.setPointSizeF(f.fontPointSize());
    if (Format.dwMask & CFM_BOLD) font.setBold(Format.dwEffects & CFE_BOLD);
    if (Format.dwMask & CFM_ITALIC) font.setItalic(Format.dwEffects & CFE_ITALIC);
    if (Format.dwMask & CFM_UNDERLINE) font.setUnderline(Format.dwEffects & CFE_UNDERLINE);
    if (Format.dwMask & CFM_STRIKEOUT) font.setStrikeOut(Format.dwEffects & CFE_STRIKEOUT);
    doc.setDefaultFont(font);
}

LRESULT TRichEdit::FormatRange(bool Render, const FORMATRANGE* Range) {
    if (!Range) return 0; // frees nothing: nothing is kept between calls
    QTextDocument& doc = Doc();
    const int length = int(doc.characterCount()) - 1;
    int from = DocPos(std::max(0, Range->chrg.cpMin));
    int to = Range->chrg.cpMax < 0 ? length : DocPos(Range->chrg.cpMax);
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    std::unique_ptr<QTextDocument> d(doc.clone());
    d->setDocumentMargin(0);
    {
        // Only the range is laid out: what lies before and after it goes.
        QTextCursor c(d.get());
        c.setPosition(to);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        c.setPosition(0);
        c.setPosition(from, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    TCanvas* canvas = Range->hdc;
    const int dpi = canvas ? canvas->PixelsPerInch() : ScreenPixelsPerInch;
    auto px = [dpi](int Twips) { return MulDiv(Twips, dpi, 1440); };
    const TRect r(px(Range->rc.Left), px(Range->rc.Top), px(Range->rc.Right), px(Range->rc.Bottom));
    d->setTextWidth(std::max(1, r.Width()));

    // The characters whose lines end inside the rectangle fit.
    int fit = from;
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const QRectF box = layout->blockBoundingRect(b);
        QTextLayout* lines = b.layout();
        bool all = true;
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (box.top() + line.rect().bottom() > r.Height()) {
                all = false;
                break;
            }
            fit = from + b.position() + line.textStart() + line.textLength();
        }
        if (!all) break;
        if (b.next().isValid()) fit = from + b.next().position();
    }
    if (fit >= from + int(d->characterCount()) - 1) fit = to;

    if (Render && canvas) {
        TCanvasPainter p(canvas);
        if (p) {
            p->save();
            p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
            p->translate(r.Left, r.Top);
            QAbstractTextDocumentLayout::PaintContext ctx;
            ctx.clip = QRectF(0, 0, r.Width(), r.Height());
            ctx.palette.setColor(QPalette::Text, ToQColor(Font()->Color()));
            layout->draw(p.get(), ctx);
            p->restore();
        }
    }
    // Back to the edit's character indexes.
    const QString t = doc.toPlainText();
    int index = 0;
    for (int i = 0; i < fit && i < t.size(); ++i) index += t[i] == u'\n' ? 2 : 1;
    return index;
}

void TRichEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_FONTCHANGED) {
        TMemo::Dispatch(Message);
        FDocument->setDefaultFont(Font()->ToQFont());
        return;
    }
    TMemo::Dispatch(Message);
}

void TRichEdit::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case EM_GETCHARFORMAT:
            if (auto* f = reinterpret_cast<CHARFORMATW*>(Message.LParam)) {
                GetCharFormat(Message.WParam & SCF_SELECTION, *f);
                Message.Result = LRESULT(f->dwMask);
            }
            return;
        case EM_SETCHARFORMAT:
            if (const auto* f = reinterpret_cast<const CHARFORMATW*>(Message.LParam)) {
                SetCharFormat(Message.WParam, *f);
                Message.Result = 1;
            }
            return;
        case EM_EXGETSEL:
            if (auto* r = reinterpret_cast<CHARRANGE*>(Message.LParam)) {
                r->cpMin = SelStart();
                r->cpMax = SelStart() + SelLength();
            }
            return;
        case EM_EXSETSEL:
            if (const auto* r = reinterpret_cast<const CHARRANGE*>(Message.LParam)) {
                Perform(EM_SETSEL, WPARAM(r->cpMin), LPARAM(r->cpMax));
                Message.Result = SelStart() + SelLength();
            }
            return;
        case EM_FORMATRANGE:
            Message.Result =
                FormatRange(Message.WParam != 0, reinterpret_cast<const FORMATRANGE*>(Message.LParam));
            return;
        case EM_REQUESTRESIZE: RequestSize(); return;
        case EM_GETEVENTMASK: Message.Result = LRESULT(FEventMask); return;
        case EM_SETEVENTMASK:
            Message.Result = LRESULT(FEventMask);
            FEventMask = DWORD(Message.LParam);
            return;
        default: TMemo::DefaultHandler(Message); return;
    }
}
