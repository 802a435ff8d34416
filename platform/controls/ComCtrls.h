// Common controls of the class library: the page control with its tab sheets, and the date-time
// picker with its month calendar.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"
#include "SysUtils.h"

#include <vector>

class TPageControl;

// One page of a page control: a windowed control that the page control places in its display
// area and shows while it is the active page.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    // Moves the sheet into a page control (its parent becomes that control); nullptr removes it.
    void SetPageControl(TPageControl* Value);
    // Whether the sheet has a tab (a sheet without one is never shown).
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // Position among the pages of the page control.
    int PageIndex() const;
    void SetPageIndex(int Value);
    // Position among the visible tabs, -1 when the tab is hidden.
    int TabIndex() const;
    // A tab image: the page control has no image list here, so an index is a stand-in.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

using TTabChangingEvent = TEvent<TObject*, bool&>;

// Tabs along the top, one for each sheet whose tab is visible; the active sheet fills the area
// below them. A click on a tab asks OnChanging, activates the sheet and fires OnChange.
class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows Value (a sheet of this control with a visible tab; nullptr: none) and hides the others.
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    // The next or previous sheet with a visible tab (wrapping round), as Ctrl+Tab moves.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    // The visible tab at a client point, -1 for none.
    int IndexOfTabAt(int X, int Y) const;
    // The area the sheets fill, in client coordinates.
    TRect DisplayRect() const;
    // The tab rectangle of the sheet with visible tab index Index.
    TRect TabRect(int Index) const;
    int TabHeight() const;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void BoundsChanged(bool Resized) override;
    void AdjustClientRect(TRect& Rect) override;
    virtual bool CanChange();
    virtual void Change();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void PlaceSheets();
    std::vector<TTabSheet*> VisibleTabs() const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Date-time picker

// Notifications of the date-time picker (WM_NOTIFY to the parent, reflected back as CN_NOTIFY).
constexpr int DTN_CLOSEUP = -753;
constexpr int DTN_DROPDOWN = -754;
constexpr int DTN_DATETIMECHANGE = -759;
// Messages of the date-time picker.
constexpr UINT DTM_GETSYSTEMTIME = 0x1001;
constexpr UINT DTM_SETSYSTEMTIME = 0x1002;
constexpr UINT DTM_SETMCSTYLE = 0x100B;
constexpr UINT DTM_GETMCSTYLE = 0x100C;
constexpr UINT DTM_CLOSEMONTHCAL = 0x100D;
// What DTM_GETSYSTEMTIME answers and DTM_SETSYSTEMTIME takes: a date is set, none is (the check
// box is off), or the request failed.
constexpr DWORD GDT_VALID = 0;
constexpr DWORD GDT_NONE = 1;
constexpr LRESULT GDT_ERROR = -1;
// Styles of the month calendar the picker drops down.
constexpr DWORD MCS_WEEKNUMBERS = 0x04;
constexpr DWORD MCS_NOTODAYCIRCLE = 0x08;
constexpr DWORD MCS_NOTODAY = 0x10;

struct SYSTEMTIME {
    Word wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0;
    Word wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
SYSTEMTIME DateTimeToSystemTime(TDateTime Value);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& Value);

// DTN_DATETIMECHANGE: GDT_VALID with the new value, or GDT_NONE when the check box went off.
struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;
};

// ---------------------------------------------------------------------------------------------
// Track bar

enum TTrackBarOrientation { trHorizontal, trVertical };

class QSlider;

// The platform's track bar shown by a Qt slider. Position always lies within Min..Max: a Min
// above Max (or a Max below Min) is refused and keeps the old value, a position outside is
// clamped. Every change of Position, made by the user or by code, fires OnChange once.
// PageSize is the step of PgUp/PgDn and of a click on the track, Frequency the tick spacing.
class TTrackBar : public TNativeControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    virtual void Changed();

private:
    void SliderMoved(int Value);

    QPointer<QSlider> FSlider;
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FPageSize = 2;
    int FFrequency = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
    bool FUpdating = false;
};

class EDateTimeError : public Exception {
    using Exception::Exception;
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };

class TPickerWidget;
class TMonthCalendarPopup;

// The platform's date-time picker shown by a QDateTimeEdit: the date kind (with a drop-down
// month calendar in combo mode, spin buttons in up-down mode) or the time kind, an optional
// check box (Checked off: no date is set, the fields are greyed), a display Format in the
// platform's letters (d, M, y, h, H, m, s, t; '...' literal; empty: the locale's short date or
// long time), MinDate and MaxDate (0: no bound). A change by the user notifies the parent with
// DTN_DATETIMECHANGE; opening and closing the calendar with DTN_DROPDOWN and DTN_CLOSEUP; each
// comes back as CN_NOTIFY and fires OnChange, OnDropDown, OnCloseUp.
class TDateTimePicker : public TNativeControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    // The whole value; Date keeps the time of day and Time keeps the date. A value whose date
    // cannot be encoded raises EConvertError, one outside MinDate..MaxDate EDateTimeError; both
    // leave value and text as they were.
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime Value);
    TDateTime Date() const;
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    void SetTime(TDateTime Value);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat Value);
    String Format() const { return FFormat; }
    void SetFormat(const String& Value);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    // The month calendar's styles (MCS_WEEKNUMBERS, MCS_NOTODAYCIRCLE, MCS_NOTODAY).
    DWORD CalendarStyle() const { return FCalendarStyle; }
    void SetCalendarStyle(DWORD Value) { FCalendarStyle = Value; }
    // The smallest size that shows a whole month of the calendar with its styles.
    TSize CalendarMinSize() const;
    // The calendar is open.
    bool DroppedDown() const;
    // Opens / closes the calendar (date kind in combo mode only).
    void DropDownCalendar();
    void CloseUpCalendar();
    // The field (day, month, year, hour, ...) the keys go to, counted from 0.
    int CurrentField() const;
    int FieldCount() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    String GetText() const override;
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    void DestroyWnd() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    void CNNotify(TWMNotify& Message);

private:
    friend class TPickerWidget;
    friend class TMonthCalendarPopup;
    TPickerWidget* Picker() const;
    // Sends the notification Code to the parent (WM_NOTIFY, reflected back as CN_NOTIFY).
    void Notify(int Code, DWORD Flags = GDT_VALID);
    // The value the user set in the widget.
    void UserChanged(TDateTime Value);
    void UserChecked(bool Value);
    // Stores Value (checked and bounded) without notifying.
    void StoreDateTime(TDateTime Value);
    void MoveField(int Delta);
    void ShowField();

    TDateTime FDateTime;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    TDTDateFormat FDateFormat = dfShort;
    String FFormat;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FChecked = true;
    DWORD FCalendarStyle = 0;
    bool FUpdating = false;
    TMonthCalendarPopup* FCalendar = nullptr;
};
