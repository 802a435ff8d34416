// The combo box's native widget and the platform behaviour around it: the list's open and close
// notifications (WM_COMMAND to the parent, reflected back as CN_COMMAND), the dropped width, the
// item heights, the edit part's selection and its own window (the combo's first child, which
// answers EM_CHARFROMPOS), the wheel through the window procedure, and the face painted through
// WM_PAINT and WM_NCPAINT so that a derived control can paint around the platform's painting.
#include "StdCtrls.h"

#include "NativeFace.h"
#include "QtBridge.h"
#include "SysUtils.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWheelEvent>

// The native widget: Qt's combo box whose list, wheel and painting report to the control.
class TComboWidget : public QComboBox, public INativeFace {
public:
    TComboWidget(TCustomComboBox* Control, QWidget* Parent) : QComboBox(Parent), FControl(Control) {}

    void Detach() { FControl = nullptr; }

    void PaintFace(QPainter& Painter) override {
        // What QComboBox's own paint event draws, onto any painter.
        Painter.setFont(font());
        Painter.setBackground(palette().brush(QPalette::Window));
        Painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        style()->drawComplexControl(QStyle::CC_ComboBox, &opt, &Painter, this);
        if (currentIndex() < 0 && !placeholderText().isEmpty()) {
            opt.palette.setBrush(QPalette::ButtonText, opt.palette.placeholderText());
            opt.currentText = placeholderText();
        }
        style()->drawControl(QStyle::CE_ComboBoxLabel, &opt, &Painter, this);
    }

    // Where the edit part lies (widget coordinates), as Qt places its line edit.
    QRect EditFieldRect() const {
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    }

    void showPopup() override {
        // The control hears of it first (its handler may still fill the list).
        if (FControl) FControl->Notify(CBN_DROPDOWN);
        if (!FControl) return;
        const int width = FControl->DroppedWidth();
        QComboBox::showPopup();
        if (QWidget* container = view()->parentWidget(); container && container->width() < width)
            container->resize(width, container->height());
    }

    void hidePopup() override {
        const bool wasOpen = view()->isVisible();
        QComboBox::hidePopup();
        if (wasOpen && FControl) FControl->Notify(CBN_CLOSEUP);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (FControl) PaintNativeThroughMessages(FControl, this);
    }

    void wheelEvent(QWheelEvent* Event) override {
        // The wheel goes through the window procedure (WM_MOUSEWHEEL); the default handling
        // steps the selection.
        Event->accept();
        if (FControl) TControlPrivate::WheelEvent(FControl, Event);
    }

private:
    TCustomComboBox* FControl;
};

namespace {

// The window of a combo box's edit part: its first child window, placed where the edit is. It
// has no face of its own (the native combo shows the edit); it answers the edit's queries.
class TComboEditWindow : public TWinControl {
public:
    TComboEditWindow(TCustomComboBox* Combo) : TWinControl(Combo), FCombo(Combo) {
        SetVisible(false);
        SetTabStop(false);
    }

    void DefaultHandler(TMessage& Message) override {
        if (Message.Msg != EM_CHARFROMPOS) {
            TWinControl::DefaultHandler(Message);
            return;
        }
        const TPoint p = LParamToPoint(Message.LParam);
        auto* combo = dynamic_cast<QComboBox*>(FCombo->NativeWidget());
        QLineEdit* edit = combo ? combo->lineEdit() : nullptr;
        if (!edit || p.X < 0 || p.Y < 0 || p.X >= Width() || p.Y >= Height()) {
            Message.Result = -1;
            return;
        }
        Message.Result = LRESULT(MAKELONG(Word(edit->cursorPositionAt(QPoint(p.X, p.Y))), 0));
    }

protected:
    QWidget* CreateWidget(const TCreateParams&, QWidget* ParentWidget) override {
        auto* w = new QWidget(ParentWidget);
        w->hide();
        return w;
    }

private:
    TCustomComboBox* FCombo;
};

} // namespace

QWidget* TCustomComboBox::CreateNative(QWidget* Host) {
    auto* combo = new TComboWidget(this, Host);
    QObject::connect(combo, &QComboBox::activated, combo, [this](int Index) {
        if (FUpdating) return;
        FItemIndex = Index;
        Select();
        Change();
    });
    return combo;
}

void TCustomComboBox::DestroyWnd() {
    if (auto* w = dynamic_cast<TComboWidget*>(NativeWidget())) w->Detach();
    TCustomListControl::DestroyWnd();
}

void TCustomComboBox::Notify(Word Code) {
    const HWND self = Handle();
    if (Parent())
        SendMessage(Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, Code), LPARAM(self));
    else
        Perform(CN_COMMAND, MAKEWPARAM(0, Code), LPARAM(self));
}

void TCustomComboBox::CNCommand(TWMCommand& Message) {
    switch (Word(Message.NotifyCode)) {
        case CBN_DROPDOWN: DropDown(); break;
        case CBN_CLOSEUP: CloseUp(); break;
        default: break;
    }
}

void TCustomComboBox::DropDown() {
    if (Assigned(OnDropDown)) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (Assigned(OnCloseUp)) OnCloseUp(this);
}

bool TCustomComboBox::DroppedDown() const {
    return Combo() && Combo()->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    HandleNeeded();
    QComboBox* c = Combo();
    if (!c || DroppedDown() == Value) return;
    if (Value)
        c->showPopup();
    else
        c->hidePopup();
}

int TCustomComboBox::ItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    return QFontMetrics(Font()->ToQFont()).height() + 2;
}

int TCustomComboBox::SelStart() const {
    QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr;
    if (!e) return 0;
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomComboBox::SetSelStart(int Value) {
    HandleNeeded();
    if (QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr) e->setCursorPosition(std::max(0, Value));
}

int TCustomComboBox::SelLength() const {
    QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr;
    return e ? int(e->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int Value) {
    HandleNeeded();
    QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr;
    if (!e) return;
    const int start = SelStart();
    e->setSelection(start, std::max(0, Value));
}

String TCustomComboBox::SelText() const {
    QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr;
    return e ? e->selectedText() : String();
}

void TCustomComboBox::SyncEditWindow() {
    const bool editable = FStyle == csDropDown || FStyle == csSimple;
    if (!editable) {
        if (FEditWindow) {
            TWinControl* w = FEditWindow;
            FEditWindow = nullptr;
            TObject::Free(w);
        }
        return;
    }
    if (!FEditWindow) {
        FEditWindow = new TComboEditWindow(this);
        FEditWindow->SetParent(this);
    }
    auto* combo = dynamic_cast<TComboWidget*>(NativeWidget());
    QRect r = combo ? combo->EditFieldRect() : QRect(3, 3, Width() - 6 - 17, Height() - 6);
    if (combo && combo->lineEdit()) combo->lineEdit()->setGeometry(r);
    FEditWindow->SetBounds(r.x(), r.y(), std::max(0, r.width()), std::max(0, r.height()));
}

void TCustomComboBox::BoundsChanged(bool Resized) {
    TCustomListControl::BoundsChanged(Resized);
    if (Resized && !HasState(csDestroying)) {
        if (QWidget* n = NativeWidget()) n->resize(Width(), Height());
        SyncEditWindow();
    }
}

void TCustomComboBox::WheelStep(int Delta) {
    if (DroppedDown() || FItems->Count() == 0 || Delta == 0) return;
    const int next = Delta < 0 ? std::min(FItemIndex + 1, FItems->Count() - 1) : std::max(FItemIndex - 1, 0);
    if (next == FItemIndex) return;
    FItemIndex = next;
    SetText(FItems->Strings(next));
    UpdateNative();
    Select();
    Change();
}

void TCustomComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            TNativeControl::Dispatch(Message);
            // The text the code set replaces what the edit part shows.
            if (QComboBox* c = Combo();
                c && c->isEditable() && c->currentText() != TNativeControl::GetText()) {
                const bool updating = FUpdating;
                FUpdating = true;
                c->setEditText(TNativeControl::GetText());
                FUpdating = updating;
            }
            UpdateNative();
            break;
        case CN_COMMAND: CallHandler<TWMCommand>(this, &TCustomComboBox::CNCommand, Message); break;
        default: TNativeControl::Dispatch(Message); break;
    }
}

void TCustomComboBox::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CHAR: break;
        case WM_MOUSEWHEEL:
            WheelStep(SmallInt(HIWORD(Message.WParam)));
            Message.Result = 1;
            return;
        case CB_GETDROPPEDSTATE: Message.Result = DroppedDown() ? 1 : 0; return;
        case CB_SHOWDROPDOWN:
            SetDroppedDown(Message.WParam != 0);
            Message.Result = 1;
            return;
        case CB_GETDROPPEDWIDTH: Message.Result = DroppedWidth(); return;
        case CB_SETDROPPEDWIDTH:
            FDroppedWidth = int(Message.WParam);
            Message.Result = DroppedWidth();
            return;
        case CB_GETITEMHEIGHT:
            Message.Result = int(Message.WParam) == -1 ? EditHeight() : ItemHeight();
            return;
        case CB_SETITEMHEIGHT: {
            const int h = int(Message.LParam);
            if (h <= 0 || h > 255) {
                Message.Result = CB_ERR;
                return;
            }
            if (int(Message.WParam) == -1)
                SetBounds(Left(), Top(), Width(), h + 6);
            else
                FItemHeight = h;
            Message.Result = 0;
            return;
        }
        case CB_GETEDITSEL: {
            if (!Combo() || !Combo()->lineEdit()) {
                Message.Result = CB_ERR;
                return;
            }
            const int start = SelStart(), end = start + SelLength();
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = DWORD(start);
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = DWORD(end);
            Message.Result = LRESULT(MAKELONG(Word(start), Word(end)));
            return;
        }
        case CB_SETEDITSEL: {
            HandleNeeded();
            QLineEdit* e = Combo() ? Combo()->lineEdit() : nullptr;
            if (!e) {
                Message.Result = CB_ERR;
                return;
            }
            // Start -1: no selection; end -1: to the end of the text.
            const int len = int(e->text().size());
            const int start = SmallInt(LOWORD(uintptr_t(Message.LParam)));
            int end = SmallInt(HIWORD(uintptr_t(Message.LParam)));
            if (start < 0) {
                e->deselect();
            } else {
                if (end < 0 || end > len) end = len;
                const int s = std::min(start, len);
                e->setSelection(s, std::max(0, end - s));
            }
            Message.Result = 1;
            return;
        }
        default: TNativeControl::DefaultHandler(Message); return;
    }
    // WM_CHAR: the character goes into the edit part, or picks an item of a list.
    QComboBox* c = Combo();
    const Char ch(char16_t(Message.WParam));
    if (!c) return;
    if (c->isEditable() && c->lineEdit()) {
        QLineEdit* e = c->lineEdit();
        if (ch == Char(8)) {
            QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            SendToNative(&back);
        } else if (ch.unicode() >= 32) {
            if (FMaxLength > 0 && e->text().size() - e->selectedText().size() >= FMaxLength) {
                MessageBeep(0);
                return;
            }
            e->insert(String(ch));
            Change();
        }
    } else if (ch.unicode() >= 32) {
        // Typing in a list: the first item that starts with the character.
        for (int i = 1; i <= FItems->Count(); ++i) {
            const int k = (std::max(FItemIndex, 0) + i) % FItems->Count();
            if (FItems->Strings(k).startsWith(ch, Qt::CaseInsensitive)) {
                FItemIndex = k;
                UpdateNative();
                Select();
                Change();
                break;
            }
        }
    }
}
