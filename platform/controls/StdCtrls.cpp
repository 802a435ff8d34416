#include "StdCtrls.h"

#include "Forms.h"
#include "QtBridge.h"
#include "StandIn.h"
#include "SysUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>

// =============================================================================================
// Labels

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.insert(csOpaque);
    FControlStyle.insert(csReplicatable);
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (FLayout == Value) return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (FTransparent == Value) return;
    FTransparent = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (FShowAccelChar == Value) return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (FFocusControl == Value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

Cardinal TCustomLabel::DrawTextFlags() const {
    Cardinal f = DT_EXPANDTABS;
    if (FAlignment == taRightJustify) f |= DT_RIGHT;
    if (FAlignment == taCenter) f |= DT_CENTER;
    if (FWordWrap) f |= DT_WORDBREAK;
    if (!FShowAccelChar) f |= DT_NOPREFIX;
    return f;
}

void TCustomLabel::DoDrawText(TRect& Rect, Cardinal Flags) {
    String text = Caption();
    if ((Flags & DT_CALCRECT) && (text.isEmpty() || (FShowAccelChar && text == QStringLiteral("&"))))
        text += u' ';
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    if (!Enabled() && !(Flags & DT_CALCRECT)) {
        TRect shifted(Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1);
        c->Font()->SetColor(clBtnHighlight);
        DrawText(c, text, shifted, Flags);
        c->Font()->SetColor(clBtnShadow);
    }
    DrawText(c, text, Rect, Flags);
}

void TCustomLabel::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(client);
    }
    TRect r = client;
    const Cardinal flags = DrawTextFlags();
    if (FLayout != tlTop) {
        TRect calc = client;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int offset =
            FLayout == tlBottom ? client.Height() - calc.Height() : (client.Height() - calc.Height()) / 2;
        r.Top += offset;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || HasState(csLoading) || HasState(csDestroying)) return;
    TRect r = ClientRect();
    if (!FWordWrap) r.Right = r.Left + 1;
    DoDrawText(r, (DrawTextFlags() & ~Cardinal(DT_RIGHT | DT_CENTER)) | DT_CALCRECT);
    int x = Left();
    if (FAlignment == taRightJustify) x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::Dispatch(Message);
            AdjustBounds();
            Invalidate();
            break;
        case CM_DIALOGCHAR:
            // The label's accelerator moves the focus to its FocusControl.
            if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(Word(Message.WParam), Caption()) &&
                FFocusControl->CanFocus()) {
                FFocusControl->SetFocus();
                Message.Result = 1;
            } else {
                TGraphicControl::Dispatch(Message);
            }
            break;
        default: TGraphicControl::Dispatch(Message); break;
    }
}

// =============================================================================================
// Link label

TCustomLinkLabel::TCustomLinkLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 53, 17);
}

void TCustomLinkLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLinkLabel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

namespace {

// The value of attribute Name inside the text of an <a ...> tag ("" when absent).
String TagAttribute(const String& Tag, const String& Name) {
    int i = int(Tag.indexOf(Name + u'=', 0, Qt::CaseInsensitive));
    while (i > 0 && !Tag[i - 1].isSpace()) i = int(Tag.indexOf(Name + u'=', i + 1, Qt::CaseInsensitive));
    if (i < 0) return {};
    int p = i + int(Name.size()) + 1;
    if (p >= Tag.size()) return {};
    const QChar q = Tag[p];
    if (q == u'"' || q == u'\'') {
        const int end = int(Tag.indexOf(q, p + 1));
        return end < 0 ? Tag.mid(p + 1) : Tag.mid(p + 1, end - p - 1);
    }
    int end = p;
    while (end < Tag.size() && !Tag[end].isSpace()) ++end;
    return Tag.mid(p, end - p);
}

} // namespace

void TCustomLinkLabel::Parse() {
    FPieces.clear();
    const String s = Caption();
    int pos = 0;
    auto addText = [&](const String& Text, const String& Link, bool IsLink) {
        if (Text.isEmpty()) return;
        TPiece piece;
        piece.Text = Text;
        piece.Link = Link;
        piece.IsLink = IsLink;
        FPieces.push_back(piece);
    };
    while (pos < s.size()) {
        const int open = int(s.indexOf(QStringLiteral("<a"), pos, Qt::CaseInsensitive));
        const bool isTag = open >= 0 && open + 2 < s.size() && (s[open + 2] == u'>' || s[open + 2].isSpace());
        if (!isTag) {
            if (open < 0) {
                addText(s.mid(pos), {}, false);
                break;
            }
            addText(s.mid(pos, open + 2 - pos), {}, false);
            pos = open + 2;
            continue;
        }
        const int tagEnd = int(s.indexOf(u'>', open));
        const int close =
            tagEnd < 0 ? -1 : int(s.indexOf(QStringLiteral("</a>"), tagEnd, Qt::CaseInsensitive));
        if (close < 0) { // not a complete link: plain text
            addText(s.mid(pos), {}, false);
            break;
        }
        addText(s.mid(pos, open - pos), {}, false);
        const String text = s.mid(tagEnd + 1, close - tagEnd - 1);
        String link = TagAttribute(s.mid(open, tagEnd - open), QStringLiteral("href"));
        if (link.isEmpty()) link = text;
        addText(text, link, true);
        pos = close + 4;
    }
}

void TCustomLinkLabel::Layout() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int total = 0;
    for (const TPiece& p : FPieces) total += c->TextWidth(p.Text);
    const int h = c->TextHeight(QStringLiteral("Wg"));
    int x = 0;
    if (FAlignment == taRightJustify) x = Width() - total;
    if (FAlignment == taCenter) x = (Width() - total) / 2;
    for (TPiece& p : FPieces) {
        const int w = c->TextWidth(p.Text);
        p.Bounds = TRect(x, 0, x + w, h);
        x += w;
    }
}

void TCustomLinkLabel::AdjustBounds() {
    Parse();
    if (!FAutoSize || HasState(csLoading) || HasState(csDestroying)) return;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int total = 0;
    for (const TPiece& p : FPieces) total += c->TextWidth(p.Text);
    SetBounds(Left(), Top(), std::max(total, 1), c->TextHeight(QStringLiteral("Wg")));
}

void TCustomLinkLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

bool TCustomLinkLabel::LinkAt(int X, int Y, String& Link) const {
    for (const TPiece& p : FPieces)
        if (p.IsLink && p.Bounds.Contains(TPoint(X, Y))) {
            Link = p.Link;
            return true;
        }
    return false;
}

void TCustomLinkLabel::Paint() {
    Layout();
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(ClientRect());
    c->Brush()->SetStyle(bsClear);
    for (const TPiece& p : FPieces) {
        c->SetFont(Font());
        if (p.IsLink) {
            c->Font()->SetColor(Enabled() ? clHotLight : clGrayText);
            TFontStyles style = c->Font()->Style();
            style.insert(fsUnderline);
            c->Font()->SetStyle(style);
        } else if (!Enabled()) {
            c->Font()->SetColor(clGrayText);
        }
        c->TextOut(p.Bounds.Left, p.Bounds.Top, p.Text);
    }
}

void TCustomLinkLabel::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    FLastMouse = TPoint(X, Y);
    String link;
    SetCursor(LinkAt(X, Y, link) ? crHandPoint : crDefault);
}

void TCustomLinkLabel::Click() {
    TGraphicControl::Click();
    String link;
    if (Enabled() && LinkAt(FLastMouse.X, FLastMouse.Y, link)) DoOnLinkClick(link, sltURL);
}

void TCustomLinkLabel::DoOnLinkClick(const String& Link, TSysLinkType LinkType) {
    if (Assigned(OnLinkClick)) OnLinkClick(this, Link, LinkType);
}

void TCustomLinkLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: {
            const TPoint p = LParamToPoint(Message.LParam);
            FLastMouse = p;
            TGraphicControl::Dispatch(Message);
            break;
        }
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::Dispatch(Message);
            AdjustBounds();
            Invalidate();
            break;
        default: TGraphicControl::Dispatch(Message); break;
    }
}

// =============================================================================================
// Native controls

// Watches the native widget and its children: keys go into the message pipeline of the control
// (the control's default handling hands them back), mouse input into both.
class TNativeControlFilter : public QObject {
public:
    TNativeControlFilter(TNativeControl* Control, QWidget* Host)
        : QObject(Host), FControl(Control), FHost(Host) {
        Host->installEventFilter(this);
    }

    void Watch(QWidget* W) {
        W->installEventFilter(this);
        for (QWidget* child : W->findChildren<QWidget*>()) child->installEventFilter(this);
    }

    bool FPassing = false;

protected:
    static bool IsMouse(QEvent* Event) {
        const QEvent::Type t = Event->type();
        return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
               t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove;
    }

    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!FControl) return false;
        if (Watched == FHost) {
            // A key the native widget left unhandled while it was passed on must not come back
            // into the pipeline through the window.
            const bool key = Event->type() == QEvent::KeyPress || Event->type() == QEvent::KeyRelease;
            if (key) return FPassing;
            if (FPassing || !IsMouse(Event)) return false;
            // Mouse input sent to the window itself (not through the widget under the pointer):
            // the pipeline first, then the native widget at that place.
            auto* me = static_cast<QMouseEvent*>(Event);
            const QPoint pos = me->position().toPoint();
            QPointer<QWidget> child = FHost->childAt(pos);
            const HWND handle = FControl->Handle();
            if (Event->type() != QEvent::MouseMove && FControl->CanFocus() && !FControl->Focused())
                FControl->SetFocus();
            if (FindControl(handle) != FControl) return true;
            TControlPrivate::MouseEvent(FControl, me);
            if (FindControl(handle) != FControl || !child) return true;
            QMouseEvent mapped(me->type(), child->mapFrom(FHost, pos), me->globalPosition(), me->button(),
                               me->buttons(), me->modifiers());
            FPassing = true;
            QCoreApplication::sendEvent(child, &mapped);
            if (FindControl(handle) == FControl) FPassing = false;
            return true;
        }
        switch (Event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                if (FPassing) return false;
                TControlPrivate::KeyEvent(FControl, static_cast<QKeyEvent*>(Event));
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove: {
                if (FPassing) return false;
                auto* me = static_cast<QMouseEvent*>(Event);
                QWidget* w = qobject_cast<QWidget*>(Watched);
                QWidget* host = FControl->WidgetIfAllocated();
                if (!w || !host) return false;
                const HWND handle = FControl->Handle();
                if (Event->type() != QEvent::MouseMove && FControl->CanFocus() && !FControl->Focused())
                    FControl->SetFocus();
                if (FindControl(handle) != FControl) return true;
                const QPointF pos = w->mapTo(host, me->position().toPoint());
                QMouseEvent mapped(me->type(), pos, me->globalPosition(), me->button(), me->buttons(),
                                   me->modifiers());
                TControlPrivate::MouseEvent(FControl, &mapped);
                // The control may be gone (a click that closed its form).
                return FindControl(handle) != FControl;
            }
            default: return false;
        }
    }

private:
    TNativeControl* FControl;
    QWidget* FHost;
};

TNativeControl::TNativeControl(TComponent* AOwner) : TWinControl(AOwner) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TNativeControl::~TNativeControl() = default;

QWidget* TNativeControl::NativeWidget() const {
    return FNative;
}

QWidget* TNativeControl::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
    QWidget* host = TWinControl::CreateWidget(Params, ParentWidget);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FNative = CreateNative(host);
    layout->addWidget(FNative);
    FNative->setFocusPolicy(Qt::NoFocus);
    FNative->setContextMenuPolicy(Qt::NoContextMenu);
    FNative->setAcceptDrops(false);
    host->setFocusProxy(FNative);
    FFilter = new TNativeControlFilter(this, host);
    FFilter->Watch(FNative);
    ApplyLook();
    UpdateNative();
    return host;
}

void TNativeControl::DestroyWnd() {
    FFilter = nullptr; // dies with the window's widget
    TWinControl::DestroyWnd();
    FNative = nullptr;
}

void TNativeControl::ApplyLook() {
    if (!FNative) return;
    FNative->setFont(Font()->ToQFont());
    QPalette pal = FNative->palette();
    const QColor text = ToQColor(Font()->Color());
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::Base, ToQColor(Color()));
    pal.setColor(QPalette::Window, ToQColor(Color()));
    FNative->setPalette(pal);
}

void TNativeControl::UpdateNative() {}

void TNativeControl::Watch(QWidget* W) {
    if (FFilter && W) FFilter->Watch(W);
}

bool TNativeControl::SendToNative(QEvent* Event) {
    if (!FNative) return false;
    const bool was = FFilter ? FFilter->FPassing : false;
    if (FFilter) FFilter->FPassing = true;
    QPointer<QWidget> target = FNative;
    const bool result = QCoreApplication::sendEvent(target, Event);
    if (FFilter && target) FFilter->FPassing = was;
    return result;
}

bool TNativeControl::PassesKey(Word Key, const TShiftState& Shift) const {
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE) return false;
    if (Shift.count(ssCtrl)) return true;
    return VirtualKeyChar(Key, Shift).unicode() == 0;
}

void TNativeControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
            TWinControl::Dispatch(Message);
            ApplyLook();
            UpdateNative();
            break;
        default: TWinControl::Dispatch(Message); break;
    }
}

void TNativeControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DialogCode(); break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: {
            auto* ke = dynamic_cast<QKeyEvent*>(CurrentEvent());
            if (ke && FNative && PassesKey(Word(Message.WParam), QtModifiersToShift(ke->modifiers()))) {
                SendToNative(ke);
            }
            TWinControl::DefaultHandler(Message);
            break;
        }
        default: TWinControl::DefaultHandler(Message); break;
    }
}

// =============================================================================================
// List controls

// The items of a list control: a string list that tells its control after each change (once,
// at the end, inside BeginUpdate/EndUpdate). The control clears FOwner before freeing it.
class TListControlStrings : public TStringList {
public:
    explicit TListControlStrings(TCustomListControl* Owner) : FOwner(Owner) {}
    TCustomListControl* FOwner;

protected:
    void Changed() override {
        TStringList::Changed();
        if (FOwner && UpdateCount() == 0) FOwner->ItemsChanged();
    }
};

TCustomListControl::~TCustomListControl() {
    if (auto* items = dynamic_cast<TListControlStrings*>(FItems)) items->FOwner = nullptr;
    TObject::Free(FItems);
}

void TCustomListControl::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

void TCustomListControl::SetSorted(bool Value) {
    FSorted = Value;
    FItems->SetSorted(Value);
}

// =============================================================================================
// List box

class TListBoxStrings : public TListControlStrings {
public:
    using TListControlStrings::TListControlStrings;
};

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListControl(AOwner) {
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    FItems = new TListBoxStrings(this);
    SetBounds(0, 0, 121, 97);
}

QListWidget* TCustomListBox::List() const {
    return static_cast<QListWidget*>(NativeWidget());
}

int TCustomListBox::Count() const {
    return FItems->Count();
}

void TCustomListBox::Clear() {
    FItems->Clear();
}

void TCustomListBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems->Count()) Value = -1;
    FItemIndex = Value;
    UpdateNative();
}

QWidget* TCustomListBox::CreateNative(QWidget* Host) {
    auto* list = new QListWidget(Host);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int Row) { SelectionChanged(Row); });
    return list;
}

void TCustomListBox::UpdateNative() {
    QListWidget* l = List();
    if (!l) return;
    FUpdating = true;
    const QStringList items = FItems->ToStringList();
    bool same = l->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = l->item(i)->text() == items[i];
    if (!same) {
        l->clear();
        l->addItems(items);
    }
    l->setCurrentRow(FItemIndex);
    if (FItemIndex < 0) l->clearSelection();
    FUpdating = false;
}

void TCustomListBox::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    UpdateNative();
}

void TCustomListBox::SelectionChanged(int Row) {
    if (FUpdating) return;
    FItemIndex = Row;
    Click();
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const {
    QListWidget* l = List();
    if (!l) return -1;
    const QPoint vp = l->viewport()->mapFrom(l->parentWidget(), QPoint(Pos.X, Pos.Y));
    QListWidgetItem* item = l->itemAt(vp);
    if (item) return l->row(item);
    return Existing ? -1 : FItems->Count();
}

int TCustomListBox::ItemHeight() const {
    return QFontMetrics(Font()->ToQFont()).height() + 2;
}

bool TCustomListBox::PassesKey(Word Key, const TShiftState& Shift) const {
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END: return true;
        default: return Shift.count(ssCtrl) && Key == 'A';
    }
}

void TCustomListBox::Dispatch(TMessage& Message) {
    TNativeControl::Dispatch(Message);
}

// =============================================================================================
// Check box

namespace {

// A check box whose next state on a click is the control's Toggle.
class TQtCheckBox : public QCheckBox {
public:
    TQtCheckBox(TCustomCheckBox* Owner, QWidget* Parent) : QCheckBox(Parent), FOwner(Owner) {}

protected:
    void nextCheckState() override { FOwner->Toggle(); }

private:
    TCustomCheckBox* FOwner;
};

Qt::CheckState ToQt(TCheckBoxState S) {
    switch (S) {
        case cbChecked: return Qt::Checked;
        case cbGrayed: return Qt::PartiallyChecked;
        default: return Qt::Unchecked;
    }
}

} // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csSetCaption, csDoubleClicks};
    SetParentColor(true);
    SetBounds(0, 0, 97, 17);
}

QCheckBox* TCustomCheckBox::Box() const {
    return static_cast<QCheckBox*>(NativeWidget());
}

QWidget* TCustomCheckBox::CreateNative(QWidget* Host) {
    return new TQtCheckBox(this, Host);
}

void TCustomCheckBox::UpdateNative() {
    QCheckBox* b = Box();
    if (!b) return;
    const QSignalBlocker block(b);
    b->setTristate(FAllowGrayed || FState == cbGrayed);
    b->setCheckState(ToQt(FState));
    b->setText(Caption());
    b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCustomCheckBox::SetChecked(bool Value) {
    SetState(Value ? cbChecked : cbUnchecked);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value) return;
    FState = Value;
    UpdateNative();
    if (!HasState(csLoading)) Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value) {
    FAllowGrayed = Value;
    UpdateNative();
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    UpdateNative();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

bool TCustomCheckBox::PassesKey(Word Key, const TShiftState&) const {
    return Key == VK_SPACE;
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            TNativeControl::Dispatch(Message);
            UpdateNative();
            break;
        case CM_DIALOGCHAR:
            if (Enabled() && Showing() && IsAccel(Word(Message.WParam), Caption()) && CanFocus()) {
                SetFocus();
                Toggle();
                Message.Result = 1;
            } else {
                TNativeControl::Dispatch(Message);
            }
            break;
        default: TNativeControl::Dispatch(Message); break;
    }
}

// =============================================================================================
// Combo box

class TComboBoxStrings : public TListControlStrings {
public:
    using TListControlStrings::TListControlStrings;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomListControl(AOwner) {
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    FItems = new TComboBoxStrings(this);
    SetBounds(0, 0, 145, 21);
}

QComboBox* TCustomComboBox::Combo() const {
    return static_cast<QComboBox*>(NativeWidget());
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetText(String());
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems->Count()) Value = -1;
    FItemIndex = Value;
    if (FItemIndex >= 0) SetText(FItems->Strings(FItemIndex));
    UpdateNative();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    // A simple combo box shows as a drop-down with an edit; owner-drawn ones draw their items as
    // text, as a drop-down list does (there is no OnDrawItem here).
    if (Value == csSimple) PlatformStandIn("TCustomComboBox::SetStyle(csSimple)");
    if (Value == csOwnerDrawFixed || Value == csOwnerDrawVariable)
        PlatformStandIn("TCustomComboBox::SetStyle(csOwnerDraw...)");
    FStyle = Value;
    UpdateNative();
}

void TCustomComboBox::SetDropDownCount(int Value) {
    FDropDownCount = std::max(1, Value);
    UpdateNative();
}

void TCustomComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
}

String TCustomComboBox::GetText() const {
    if (FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)
        return FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String();
    if (Combo() && Combo()->isEditable()) return Combo()->currentText();
    return TNativeControl::GetText();
}

void TCustomComboBox::UpdateNative() {
    QComboBox* c = Combo();
    if (!c) return;
    FUpdating = true;
    const bool editable = FStyle == csDropDown || FStyle == csSimple;
    // An edit part that exists already keeps what it shows, typed text, caret and selection
    // included: the list's refill and the current index below would otherwise put the text the
    // code set last back (code's own texts reach the edit through CM_TEXTCHANGED). A new edit
    // part shows the control's text.
    QLineEdit* oldEdit = c->isEditable() ? c->lineEdit() : nullptr;
    const bool keepEdit = editable && oldEdit;
    const QString shown = keepEdit ? oldEdit->text() : TNativeControl::GetText();
    const int cursor = keepEdit ? oldEdit->cursorPosition() : 0;
    const int selStart = keepEdit ? oldEdit->selectionStart() : -1;
    const int selLength = keepEdit ? int(oldEdit->selectedText().size()) : 0;
    if (c->isEditable() != editable) {
        c->setEditable(editable);
        if (editable && c->lineEdit()) {
            Watch(c->lineEdit());
            QObject::connect(c->lineEdit(), &QLineEdit::textEdited, c, [this](const QString&) {
                if (!FUpdating) Change();
            });
        }
    }
    c->setMaxVisibleItems(FDropDownCount);
    const QStringList items = FItems->ToStringList();
    bool same = c->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = c->itemText(i) == items[i];
    if (!same) {
        c->clear();
        c->addItems(items);
    }
    c->setCurrentIndex(FItemIndex);
    if (editable && c->currentText() != shown) {
        c->setEditText(shown);
        if (QLineEdit* e = keepEdit ? c->lineEdit() : nullptr) {
            if (selStart >= 0 && selLength > 0)
                e->setSelection(selStart == cursor ? selStart + selLength : selStart,
                                selStart == cursor ? -selLength : selLength);
            else
                e->setCursorPosition(cursor);
        }
    }
    FUpdating = false;
    SyncEditWindow();
}

void TCustomComboBox::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    UpdateNative();
}

void TCustomComboBox::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCustomComboBox::Select() {
    if (Assigned(OnSelect)) OnSelect(this);
}

bool TCustomComboBox::PassesKey(Word Key, const TShiftState& Shift) const {
    if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_F4) return true;
    if (Key == VK_RETURN || Key == VK_ESCAPE) return Combo() && Combo()->view()->isVisible();
    return (FStyle == csDropDown || FStyle == csSimple) && TNativeControl::PassesKey(Key, Shift);
}
