// The date-time picker over QDateTimeEdit, with a month calendar of our own as its drop-down
// (so that opening and closing it, its styles and its size are the picker's to decide).
#include "ComCtrls.h"

#include "NativeFace.h"
#include "QtBridge.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSpinBox>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include <cmath>

SYSTEMTIME DateTimeToSystemTime(TDateTime Value) {
    SYSTEMTIME st;
    DecodeDate(Value, st.wYear, st.wMonth, st.wDay);
    DecodeTime(Value, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    st.wDayOfWeek = Word(DayOfWeek(Value) - 1);
    return st;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& Value) {
    const TDateTime d = EncodeDate(Value.wYear, Value.wMonth, Value.wDay);
    const TDateTime t = EncodeTime(Value.wHour, Value.wMinute, Value.wSecond, Value.wMilliseconds);
    return d < 0 ? d - t : d + t;
}

namespace {

// The platform's display format (d, M, y, h, H, m, s, t; '...' literal) as Qt's.
QString ToQtFormat(const String& Format) {
    QString out;
    for (int i = 0; i < Format.size();) {
        const QChar c = Format[i];
        int n = 1;
        while (i + n < Format.size() && Format[i + n] == c) ++n;
        if (c == u'\'') {
            const int end = Format.indexOf(u'\'', i + 1);
            const int stop = end < 0 ? int(Format.size()) : end + 1;
            out += Format.mid(i, stop - i);
            i = stop;
            continue;
        }
        switch (c.unicode()) {
            case u'd': out += QString(std::min(n, 4), u'd'); break;
            case u'M': out += QString(std::min(n, 4), u'M'); break;
            case u'y': out += n >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
            case u'h': out += QString(std::min(n, 2), u'h'); break;
            case u'H': out += QString(std::min(n, 2), u'H'); break;
            case u'm': out += QString(std::min(n, 2), u'm'); break;
            case u's': out += QString(std::min(n, 2), u's'); break;
            case u't': out += QStringLiteral("AP"); break;
            default:
                if (c.isLetter())
                    out += u'\'' + QString(n, c) + u'\'';
                else
                    out += QString(n, c);
                break;
        }
        i += n;
    }
    // Twelve-hour fields need a marker in Qt; without one the platform's h still counts to 12.
    return out;
}

// The class library's date and time formats (m month, n minute, AM/PM) as the platform's.
String FromSettingsFormat(const String& Format, bool Time) {
    String out;
    for (int i = 0; i < Format.size(); ++i) {
        const QChar c = Format[i];
        if (Format.mid(i, 5).compare(QStringLiteral("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("tt");
            i += 4;
        } else if (c == u'm' || c == u'M') {
            out += Time ? u'm' : u'M';
        } else if (c == u'n' || c == u'N') {
            out += u'm';
        } else if (c == u'/') {
            out += FormatSettings.DateSeparator;
        } else if (c == u':') {
            out += FormatSettings.TimeSeparator;
        } else if (c == u'"') {
            out += u'\'';
        } else {
            out += c;
        }
    }
    return out;
}

bool DateEncodable(TDateTime Value) {
    if (!std::isfinite(Value)) return false;
    // 0001-01-01 .. 9999-12-31 23:59:59.999
    return Value >= -693593.0 && Value < 2958466.0;
}

QDate QDateOf(TDateTime Value) {
    Word y, m, d;
    DecodeDate(Value, y, m, d);
    return QDate(y, m, d);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The month calendar

class TMonthCalendar : public QCalendarWidget {
public:
    explicit TMonthCalendar(QWidget* Parent) : QCalendarWidget(Parent) {}
    bool TodayCircle = true;

protected:
    void paintCell(QPainter* Painter, const QRect& Rect, QDate Date) const override {
        QCalendarWidget::paintCell(Painter, Rect, Date);
        if (TodayCircle && Date == QDate::currentDate()) {
            Painter->save();
            Painter->setPen(QColor(255, 0, 0));
            Painter->setBrush(Qt::NoBrush);
            Painter->drawEllipse(Rect.adjusted(1, 1, -2, -2));
            Painter->restore();
        }
    }
};

class TMonthCalendarPopup : public QWidget {
public:
    TMonthCalendarPopup(TDateTimePicker* Picker, QWidget* Parent)
        : QWidget(Parent, Qt::Popup), FPicker(Picker) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->setSpacing(0);
        Calendar = new TMonthCalendar(this);
        Calendar->setFocusPolicy(Qt::NoFocus);
        Today = new QLabel(this);
        layout->addWidget(Calendar);
        layout->addWidget(Today);
        QObject::connect(Calendar, &QCalendarWidget::clicked, this, [this](QDate Day) { Choose(Day); });
        QObject::connect(Calendar, &QCalendarWidget::activated, this, [this](QDate Day) { Choose(Day); });
    }

    void Detach() { FPicker = nullptr; }

    // Applies the styles and the picker's value and bounds.
    void Prepare(DWORD Style, TDateTime Value, TDateTime Min, TDateTime Max) {
        Calendar->setVerticalHeaderFormat((Style & MCS_WEEKNUMBERS) ? QCalendarWidget::ISOWeekNumbers
                                                                    : QCalendarWidget::NoVerticalHeader);
        Calendar->TodayCircle = !(Style & MCS_NOTODAYCIRCLE);
        Today->setVisible(!(Style & MCS_NOTODAY));
        Today->setText(QStringLiteral("Today: ") + DateToStr(::Date()));
        Calendar->setMinimumDate(Min != 0 ? QDateOf(Min) : QDate(1601, 1, 1));
        Calendar->setMaximumDate(Max != 0 ? QDateOf(Max) : QDate(9999, 12, 31));
        Calendar->setSelectedDate(QDateOf(Value));
        adjustSize();
    }

    TMonthCalendar* Calendar;
    QLabel* Today;

protected:
    void hideEvent(QHideEvent* Event) override {
        QWidget::hideEvent(Event);
        if (FPicker) FPicker->Notify(DTN_CLOSEUP);
    }

private:
    void Choose(QDate Day) {
        if (!FPicker) return;
        TDateTimePicker* picker = FPicker;
        const TDateTime time = picker->Time();
        const TDateTime day = EncodeDate(Word(Day.year()), Word(Day.month()), Word(Day.day()));
        hide();
        picker->UserChanged(day + time);
    }

    TDateTimePicker* FPicker;
};

// ---------------------------------------------------------------------------------------------
// The native widget

class TPickerWidget : public QDateTimeEdit, public INativeFace {
public:
    TPickerWidget(TDateTimePicker* Control, QWidget* Parent) : QDateTimeEdit(Parent), FControl(Control) {
        Check = new QCheckBox(this);
        Check->setFocusPolicy(Qt::NoFocus);
        Check->hide();
        QObject::connect(Check, &QCheckBox::clicked, this, [this](bool On) {
            if (FControl) FControl->UserChecked(On);
        });
        QObject::connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& Value) {
            if (FControl && !FControl->FUpdating) FControl->UserChanged(QDateTimeToDateTime(Value));
        });
    }

    void Detach() { FControl = nullptr; }
    QLineEdit* Edit() const { return lineEdit(); }

    void PaintFace(QPainter& Painter) override {
        // What QDateTimeEdit's own paint event draws, onto any painter.
        Painter.setFont(font());
        Painter.setBackground(palette().brush(QPalette::Window));
        Painter.setPen(palette().color(QPalette::WindowText));
        QStyleOptionSpinBox opt;
        initStyleOption(&opt);
        if (!calendarPopup()) {
            style()->drawComplexControl(QStyle::CC_SpinBox, &opt, &Painter, this);
            return;
        }
        QStyleOptionComboBox combo;
        ComboOption(combo);
        style()->drawComplexControl(QStyle::CC_ComboBox, &combo, &Painter, this);
    }

    // Places the line edit right of the check box when it shows.
    void Layout() {
        QStyleOptionSpinBox opt;
        initStyleOption(&opt);
        QRect r;
        if (calendarPopup()) {
            QStyleOptionComboBox combo;
            ComboOption(combo);
            r = style()->subControlRect(QStyle::CC_ComboBox, &combo, QStyle::SC_ComboBoxEditField, this);
        } else {
            r = style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxEditField, this);
        }
        if (!Check->isHidden()) {
            const QSize box = Check->sizeHint();
            Check->setGeometry(r.left() + 1, (height() - box.height()) / 2, box.width(), box.height());
            r.setLeft(r.left() + box.width() + 3);
        }
        lineEdit()->setGeometry(r);
    }

    bool OnArrow(const QPoint& Pos) const {
        if (!calendarPopup()) return false;
        QStyleOptionComboBox combo;
        ComboOption(combo);
        return style()
            ->subControlRect(QStyle::CC_ComboBox, &combo, QStyle::SC_ComboBoxArrow, this)
            .contains(Pos);
    }

    QCheckBox* Check;

protected:
    void paintEvent(QPaintEvent*) override {
        if (FControl) PaintNativeThroughMessages(FControl, this);
    }
    void resizeEvent(QResizeEvent* Event) override {
        QDateTimeEdit::resizeEvent(Event);
        Layout();
    }
    void mousePressEvent(QMouseEvent* Event) override {
        // The drop-down arrow opens our calendar, not Qt's.
        if (FControl && OnArrow(Event->position().toPoint())) {
            FControl->DropDownCalendar();
            return;
        }
        QDateTimeEdit::mousePressEvent(Event);
    }
    void wheelEvent(QWheelEvent* Event) override { Event->ignore(); }

private:
    void ComboOption(QStyleOptionComboBox& Combo) const {
        QStyleOptionSpinBox opt;
        initStyleOption(&opt);
        Combo.initFrom(this);
        Combo.editable = true;
        Combo.frame = opt.frame;
        Combo.subControls = opt.subControls;
        Combo.activeSubControls = opt.activeSubControls;
        Combo.state = opt.state;
        if (isReadOnly()) Combo.state &= ~QStyle::State_Enabled;
    }

    TDateTimePicker* FControl;
};

// ---------------------------------------------------------------------------------------------
// TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csFixedHeight, csDoubleClicks};
    SetBounds(0, 0, 186, 21);
    FDateTime = Now();
}

TDateTimePicker::~TDateTimePicker() {
    if (FCalendar) {
        FCalendar->Detach();
        delete FCalendar;
    }
}

TPickerWidget* TDateTimePicker::Picker() const {
    return static_cast<TPickerWidget*>(NativeWidget());
}

QWidget* TDateTimePicker::CreateNative(QWidget* Host) {
    return new TPickerWidget(this, Host);
}

void TDateTimePicker::DestroyWnd() {
    if (FCalendar) FCalendar->hide();
    if (TPickerWidget* p = Picker()) p->Detach();
    TNativeControl::DestroyWnd();
}

String TDateTimePicker::GetText() const {
    if (TPickerWidget* p = Picker()) return p->text();
    return TNativeControl::GetText();
}

void TDateTimePicker::UpdateNative() {
    TPickerWidget* p = Picker();
    if (!p) return;
    FUpdating = true;
    String format = FFormat;
    if (format.isEmpty()) {
        if (FKind == dtkTime)
            format = FromSettingsFormat(FormatSettings.LongTimeFormat, true);
        else
            format = FromSettingsFormat(FDateFormat == dfLong ? FormatSettings.LongDateFormat
                                                              : FormatSettings.ShortDateFormat,
                                        false);
    }
    p->setDisplayFormat(ToQtFormat(format));
    p->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    p->setMinimumDate(FMinDate != 0 ? QDateOf(FMinDate) : QDate(1601, 1, 1));
    p->setMaximumDate(FMaxDate != 0 ? QDateOf(FMaxDate) : QDate(9999, 12, 31));
    p->setDateTime(DateTimeToQDateTime(FDateTime));
    p->Check->setVisible(FShowCheckbox);
    p->Check->setChecked(FChecked);
    p->Edit()->setEnabled(!FShowCheckbox || FChecked);
    p->Layout();
    ShowField();
    p->update();
    FUpdating = false;
}

void TDateTimePicker::StoreDateTime(TDateTime Value) {
    if (!DateEncodable(Value)) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    if (FMinDate != 0 && std::trunc(Value) < std::trunc(FMinDate))
        throw EDateTimeError(QStringLiteral("Date is less than minimum of %1").arg(DateToStr(FMinDate)));
    if (FMaxDate != 0 && std::trunc(Value) > std::trunc(FMaxDate))
        throw EDateTimeError(QStringLiteral("Date exceeds maximum of %1").arg(DateToStr(FMaxDate)));
    FDateTime = Value;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
    SYSTEMTIME st;
    if (!DateEncodable(Value)) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    st = DateTimeToSystemTime(Value);
    // Through the window procedure, as the platform's picker is set (DTM_SETSYSTEMTIME).
    Perform(DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
    // The record loses nothing but the sign of days before 1899-12-30; keep the exact value.
    if (FDateTime != Value && std::abs(FDateTime - Value) < 1.0 / 86400000.0 * 2) FDateTime = Value;
}

TDateTime TDateTimePicker::Date() const {
    return std::trunc(FDateTime);
}

void TDateTimePicker::SetDate(TDateTime Value) {
    const TDateTime time = std::abs(FDateTime - std::trunc(FDateTime));
    const TDateTime day = std::trunc(Value);
    SetDateTime(day < 0 ? day - time : day + time);
}

TDateTime TDateTimePicker::Time() const {
    Word h, m, s, ms;
    DecodeTime(FDateTime, h, m, s, ms);
    return EncodeTime(h, m, s, ms);
}

void TDateTimePicker::SetTime(TDateTime Value) {
    const TDateTime day = std::trunc(FDateTime);
    const TDateTime time = std::abs(Value - std::trunc(Value));
    SetDateTime(day < 0 ? day - time : day + time);
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    UpdateNative();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    if (FDateMode == Value) return;
    FDateMode = Value;
    UpdateNative();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
    FDateFormat = Value;
    UpdateNative();
}

void TDateTimePicker::SetFormat(const String& Value) {
    FFormat = Value;
    UpdateNative();
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
    if (Value != 0 && FMaxDate != 0 && std::trunc(Value) > std::trunc(FMaxDate))
        throw EDateTimeError(QStringLiteral("Date exceeds maximum of %1").arg(DateToStr(FMaxDate)));
    FMinDate = Value;
    if (Value != 0 && std::trunc(FDateTime) < std::trunc(Value)) FDateTime = std::trunc(Value) + Time();
    UpdateNative();
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
    if (Value != 0 && FMinDate != 0 && std::trunc(Value) < std::trunc(FMinDate))
        throw EDateTimeError(QStringLiteral("Date is less than minimum of %1").arg(DateToStr(FMinDate)));
    FMaxDate = Value;
    if (Value != 0 && std::trunc(FDateTime) > std::trunc(Value)) FDateTime = std::trunc(Value) + Time();
    UpdateNative();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
    FShowCheckbox = Value;
    UpdateNative();
}

void TDateTimePicker::SetChecked(bool Value) {
    FChecked = Value;
    UpdateNative();
}

TSize TDateTimePicker::CalendarMinSize() const {
    TMonthCalendarPopup probe(nullptr, nullptr);
    probe.Prepare(FCalendarStyle, FDateTime, FMinDate, FMaxDate);
    const QSize s = probe.minimumSizeHint().expandedTo(probe.sizeHint());
    return TSize{s.width(), s.height()};
}

bool TDateTimePicker::DroppedDown() const {
    return FCalendar && FCalendar->isVisible();
}

void TDateTimePicker::DropDownCalendar() {
    if (FKind != dtkDate || FDateMode != dmComboBox || DroppedDown() || !Enabled()) return;
    HandleNeeded();
    if (!FCalendar) FCalendar = new TMonthCalendarPopup(this, nullptr);
    FCalendar->Prepare(FCalendarStyle, FDateTime, FMinDate, FMaxDate);
    Notify(DTN_DROPDOWN);
    if (!HandleAllocated()) return;
    const TPoint below = ClientToScreen(TPoint(0, Height()));
    FCalendar->move(below.X, below.Y);
    FCalendar->show();
}

void TDateTimePicker::CloseUpCalendar() {
    if (DroppedDown()) FCalendar->hide();
}

int TDateTimePicker::CurrentField() const {
    return Picker() ? Picker()->currentSectionIndex() : 0;
}

int TDateTimePicker::FieldCount() const {
    return Picker() ? Picker()->sectionCount() : 0;
}

void TDateTimePicker::MoveField(int Delta) {
    TPickerWidget* p = Picker();
    if (!p || p->sectionCount() == 0) return;
    const int next = std::clamp(p->currentSectionIndex() + Delta, 0, p->sectionCount() - 1);
    p->setCurrentSectionIndex(next);
    p->setSelectedSection(p->sectionAt(next));
}

void TDateTimePicker::ShowField() {
    // The field the keys go to shows selected while the picker has the focus.
    TPickerWidget* p = Picker();
    if (!p) return;
    if (Focused())
        p->setSelectedSection(p->sectionAt(p->currentSectionIndex()));
    else
        p->Edit()->deselect();
}

void TDateTimePicker::Notify(int Code, DWORD Flags) {
    NMDATETIMECHANGE rec;
    rec.nmhdr.hwndFrom = Handle();
    rec.nmhdr.code = Code;
    rec.dwFlags = Flags;
    rec.st = DateTimeToSystemTime(FDateTime);
    if (Parent())
        SendMessage(Parent()->Handle(), WM_NOTIFY, 0, LPARAM(&rec));
    else
        Perform(CN_NOTIFY, 0, LPARAM(&rec));
}

void TDateTimePicker::UserChanged(TDateTime Value) {
    if (Value == FDateTime) return;
    try {
        StoreDateTime(Value);
    } catch (const Exception&) {
        UpdateNative();
        return;
    }
    if (Picker() && QDateTimeToDateTime(Picker()->dateTime()) != FDateTime) UpdateNative();
    Notify(DTN_DATETIMECHANGE);
}

void TDateTimePicker::UserChecked(bool Value) {
    FChecked = Value;
    UpdateNative();
    Notify(DTN_DATETIMECHANGE, Value ? GDT_VALID : GDT_NONE);
}

void TDateTimePicker::CNNotify(TWMNotify& Message) {
    NMHDR* h = Message.NMHdr();
    if (!h) return;
    switch (h->code) {
        case DTN_DATETIMECHANGE: Change(); break;
        case DTN_DROPDOWN: DropDown(); break;
        case DTN_CLOSEUP: CloseUp(); break;
        default: break;
    }
}

void TDateTimePicker::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TDateTimePicker::DropDown() {
    if (Assigned(OnDropDown)) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
    if (Assigned(OnCloseUp)) OnCloseUp(this);
}

bool TDateTimePicker::PassesKey(Word Key, const TShiftState& Shift) const {
    // F4, Alt+Down and the field moves are the picker's own (DefaultHandler).
    if (Key == VK_F4 || Key == VK_LEFT || Key == VK_RIGHT) return false;
    if (Key == VK_UP || Key == VK_DOWN) return !Shift.count(ssAlt);
    return TNativeControl::PassesKey(Key, Shift);
}

void TDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY: CallHandler<TWMNotify>(this, &TDateTimePicker::CNNotify, Message); break;
        case CM_ENTER:
        case CM_EXIT:
            TNativeControl::Dispatch(Message);
            ShowField();
            break;
        default: TNativeControl::Dispatch(Message); break;
    }
}

void TDateTimePicker::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const Word key = Word(Message.WParam);
            const TShiftState shift = KeyDataToShiftState(Message.LParam);
            const bool ctrl = GetKeyState(VK_CONTROL) < 0;
            const bool alt = shift.count(ssAlt) > 0;
            if (key == VK_F4 && !ctrl && !alt) {
                DropDownCalendar();
                return;
            }
            if (key == VK_DOWN && alt && !ctrl) {
                DropDownCalendar();
                return;
            }
            if (key == VK_LEFT || key == VK_RIGHT) {
                MoveField(key == VK_RIGHT ? 1 : -1);
                return;
            }
            TNativeControl::DefaultHandler(Message);
            return;
        }
        case WM_CHAR: {
            const Char ch(char16_t(Message.WParam));
            if (ch.unicode() < 32 || (FShowCheckbox && !FChecked)) return;
            const int key = ch.unicode() < 128 ? ch.toUpper().unicode() : 0;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, String(ch));
            // The keys stay in their field: the platform's picker moves on only by the arrow
            // keys (Qt's own edit would move on once a field is full).
            TPickerWidget* p = Picker();
            const int field = p ? p->currentSectionIndex() : 0;
            SendToNative(&press);
            if ((p = Picker()) && p->currentSectionIndex() != field) {
                p->setCurrentSectionIndex(field);
                p->setSelectedSection(p->sectionAt(field));
            }
            return;
        }
        case DTM_GETSYSTEMTIME: {
            if (FShowCheckbox && !FChecked) {
                Message.Result = GDT_NONE;
                return;
            }
            if (Message.LParam)
                *reinterpret_cast<SYSTEMTIME*>(Message.LParam) = DateTimeToSystemTime(FDateTime);
            Message.Result = GDT_VALID;
            return;
        }
        case DTM_SETSYSTEMTIME: {
            const TDateTime before = FDateTime;
            const bool wasChecked = FChecked;
            if (Message.WParam == GDT_NONE) {
                if (!FShowCheckbox) {
                    Message.Result = 0;
                    return;
                }
                FChecked = false;
            } else {
                const auto* st = reinterpret_cast<const SYSTEMTIME*>(Message.LParam);
                if (!st) {
                    Message.Result = 0;
                    return;
                }
                StoreDateTime(SystemTimeToDateTime(*st));
                FChecked = true;
            }
            // An unchanged value leaves the fields alone (a digit being typed stays).
            if (FDateTime != before || FChecked != wasChecked) UpdateNative();
            Message.Result = 1;
            return;
        }
        case DTM_GETMCSTYLE: Message.Result = LRESULT(FCalendarStyle); return;
        case DTM_SETMCSTYLE: {
            const DWORD old = FCalendarStyle;
            FCalendarStyle = DWORD(Message.LParam);
            Message.Result = LRESULT(old);
            return;
        }
        case DTM_CLOSEMONTHCAL:
            CloseUpCalendar();
            Message.Result = 0;
            return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}
