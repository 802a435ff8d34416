// Standard controls of the class library: labels, link labels, edits, list boxes, check boxes
// and combo boxes.
//
// Labels and link labels are graphic controls drawn through the canvas. The windowed standard
// controls show a native Qt widget (line edit, list, check box, combo box) inside their window,
// but keyboard input takes the class library's way first: a key reaches the control as CN_KEYDOWN,
// WM_KEYDOWN and WM_CHAR (so OnKeyDown and OnKeyPress can change or drop it), and only the
// control's default handling passes what is left to the Qt widget. Mouse input reaches both the
// message pipeline and the widget.
#pragma once

#include "Controls.h"

#include <QPointer>

#include <algorithm>
#include <memory>

class QWidget;
class QLineEdit;
class QListWidget;
class QCheckBox;
class QComboBox;
class QScrollBar;
class TNativeControlFilter;

enum TTextLayout { tlTop, tlCenter, tlBottom };

// ---------------------------------------------------------------------------------------------
// Labels

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    // AutoSize (on by default) makes the label as large as its text; with WordWrap only the
    // height follows, at the width the label has.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // A transparent label leaves its background to the parent; otherwise it fills it with Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // "&" marks the accelerator character ("&&" is a plain "&") unless this is off.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The DT_ flags the text is drawn with.
    virtual Cardinal DrawTextFlags() const;
    // Draws (or with DT_CALCRECT measures) the caption in Rect.
    virtual void DoDrawText(TRect& Rect, Cardinal Flags);
    virtual void AdjustBounds();

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Link label: a caption with links written as <a href="address">text</a> (or <a>text</a>, whose
// address is its text). Link text is drawn in the hot-light colour and underlined; a click on a
// link runs OnLinkClick with its address.

enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = TEvent<TObject*, const String&, TSysLinkType>;

class TCustomLinkLabel : public TGraphicControl {
public:
    explicit TCustomLinkLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    // The caption as parsed: text pieces, each with its link address (empty for plain text).
    struct TPiece {
        String Text;
        String Link;
        bool IsLink = false;
        TRect Bounds; // where it was last drawn
    };
    const std::vector<TPiece>& Pieces() const { return FPieces; }
    // The address of the link at a client point; false when no link is there.
    bool LinkAt(int X, int Y, String& Link) const;

    TSysLinkEvent OnLinkClick;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Click() override;
    virtual void DoOnLinkClick(const String& Link, TSysLinkType LinkType);
    void AdjustBounds();

private:
    void Parse();
    void Layout();

    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    std::vector<TPiece> FPieces;
    TPoint FLastMouse{-1, -1};
};

class TLinkLabel : public TCustomLinkLabel {
public:
    explicit TLinkLabel(TComponent* AOwner) : TCustomLinkLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Windowed controls shown by a native widget

// A windowed control whose face is a Qt widget filling its window. Keys go through the message
// pipeline first; the default handling of WM_KEYDOWN / WM_KEYUP passes keys that type no
// character on to the widget, and derived controls pass characters in their WM_CHAR default.
class TNativeControl : public TWinControl {
public:
    explicit TNativeControl(TComponent* AOwner);
    ~TNativeControl() override;

    // The native widget (nullptr until the window exists).
    QWidget* NativeWidget() const;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
    void DestroyWnd() override;
    // Makes the native widget (a child of Host, which the window is).
    virtual QWidget* CreateNative(QWidget* Host) = 0;
    // Brings the native widget up to date with the control (text, items, state); called after
    // it was made and whenever font or colours change.
    virtual void UpdateNative();
    // Routes the input of W (a widget made later inside the native one) like the native widget's.
    void Watch(QWidget* W);
    // Sends a Qt event to the native widget past the key filter.
    bool SendToNative(QEvent* Event);
    // A native widget that paints its face through the control (NativeFace.h) paints it here,
    // within the canvas's clip: WM_PAINT's default handling.
    void PaintWindow(TCanvas* Canvas) override;
    // The value WM_GETDLGCODE answers.
    virtual LRESULT DialogCode() const { return 0; }
    // Whether WM_KEYDOWN / WM_KEYUP of a key that types no character go on to the widget.
    virtual bool PassesKey(Word Key, const TShiftState& Shift) const;

private:
    friend class TNativeControlFilter;
    void ApplyLook();

    QPointer<QWidget> FNative;
    TNativeControlFilter* FFilter = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Edits

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEditBox;

// The platform's edit window. Its window styles (CreateParams) decide what it is: ES_MULTILINE
// makes a multi-line edit (wrapping at its formatting rectangle unless ES_AUTOHSCROLL; Enter
// types a line break with ES_WANTRETURN), ES_PASSWORD a single-line edit that shows the password
// character (it wins over ES_MULTILINE, so a password never shows), ES_RIGHT and ES_CENTER align
// the text; a single-line edit without ES_AUTOHSCROLL takes no more than fits its width. Styles
// act when the window is made: setters that change them re-create it (RecreateWnd), keeping
// text and selection.
//
// Typing arrives as WM_CHAR and is inserted by the default handling. Ctrl+C, Ctrl+X and Ctrl+V
// (the characters #3, #24, #22), Ctrl+Insert, Shift+Delete and Shift+Insert become WM_COPY,
// WM_CUT and WM_PASTE sent to the control, so a handler of those messages can refuse them. Every
// change of the text is reported as CN_COMMAND with EN_CHANGE, which calls Change (OnChange).
// The window answers the edit messages: EM_GETSEL/EM_SETSEL, EM_GETRECT/EM_SETRECT/EM_SETRECTNP
// (multi-line only; a new size puts the default rectangle back), EM_CHARFROMPOS (client point in
// LParam; MAKELONG(character, line), -1 outside the client area), EM_POSFROMCHAR (-1 past the
// last character), EM_LINEFROMCHAR (-1: the caret's line), EM_GETLINECOUNT (lines as shown,
// wrapped ones counted), EM_LIMITTEXT/EM_GETLIMITTEXT, EM_SETPASSWORDCHAR/EM_GETPASSWORDCHAR.
class TCustomEdit : public TNativeControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // At most this many characters can be typed or pasted (0: no limit); text set by code is
    // not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // Only the digits 0 to 9 can be typed; other characters are refused with a beep.
    bool NumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    Char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // ES_LEFT, ES_RIGHT or ES_CENTER.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The whole text is selected when the edit takes the focus.
    bool AutoSelect = true;
    bool Modified = false;

    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    String SelText() const;
    void SetSelText(const String& Value);
    void SelectAll();
    void Clear();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // Fires whenever the text changes, typed or set by code.
    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    String GetText() const override;
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override;
    bool PassesKey(Word Key, const TShiftState& Shift) const override;
    virtual void Change();
    void DoEnter() override;
    // The text box behind the window (nullptr while there is none).
    TEditBox* Box() const { return FBox.get(); }
    // Replaces the selection with Value as typing would (the limit and the width rule apply):
    // false when nothing could be inserted.
    bool InsertTyped(const String& Value);
    // Shows Value as the edit's text (set by code: Modified stays, OnChange fires).
    void ApplyText(const String& Value);

private:
    void TypeChar(Char Ch);
    void EditMessage(TMessage& Message);
    void TextEdited();

    std::unique_ptr<TEditBox> FBox;
    String FEditText; // the text, also while there is no window
    int FMaxLength = 0;
    bool FNumbersOnly = false;
    bool FReadOnly = false;
    Char FPasswordChar;
    Char FShownPasswordChar; // as the window was told (EM_SETPASSWORDCHAR)
    TEditCharCase FCharCase = ecNormal;
    TBorderStyle FBorderStyle = bsSingle;
    TAlignment FAlignment = taLeftJustify;
    int FSelStart = 0, FSelLength = 0; // kept while there is no window
    bool FSettingText = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// Which window scroll bars a memo or a grid shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemoStrings;

// The platform's multi-line edit: Enter types a line break, the text wraps at the window's
// width unless a horizontal scroll bar is asked for. Lines reads and writes the text line by
// line (lines are separated by CR LF; a final line break makes no empty line). MaxLength limits
// typing and pasting, as in every edit.
class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;

    TStrings* Lines() const;
    void SetLines(TStrings* Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
};

// ---------------------------------------------------------------------------------------------
// List controls

class TListControlStrings;

// What the list box and the combo box share: the items (a string list that tells the control
// after each change, once at the end inside BeginUpdate/EndUpdate), the selected index and the
// sorting of the items.
class TCustomListControl : public TNativeControl {
public:
    ~TCustomListControl() override;

    // The items; changing them shows at once.
    TStrings* Items() const { return FItems; }
    void SetItems(TStrings* Value);
    // The selected item, -1 for none.
    int ItemIndex() const { return FItemIndex; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);

protected:
    // The derived control creates FItems, a TListControlStrings of its own.
    explicit TCustomListControl(TComponent* AOwner) : TNativeControl(AOwner) {}
    virtual void ItemsChanged() = 0;

    TStringList* FItems = nullptr;
    int FItemIndex = -1;
    bool FSorted = false;
    bool FUpdating = false;

private:
    friend class TListControlStrings;
};

// ---------------------------------------------------------------------------------------------
// List box

class TCustomListBox : public TCustomListControl {
public:
    explicit TCustomListBox(TComponent* AOwner);

    int Count() const;
    // Setting the item index does not fire OnClick; the user's choice does.
    void SetItemIndex(int Value);
    void Clear();
    // Index of the item at a client point, -1 for none.
    int ItemAtPos(const TPoint& Pos, bool Existing) const;
    // Height of one item: the font's line height and a pixel above and below.
    int ItemHeight() const;

    void Dispatch(TMessage& Message) override;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;

    void ItemsChanged() override;

private:
    void SelectionChanged(int Row);
    QListWidget* List() const;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Check box

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TNativeControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    TCheckBoxState State() const { return FState; }
    // Changing the state (by code or by the user) fires OnClick.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    // taRightJustify (default): the box at the left, the caption at its right.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The next state, as a click gives it.
    virtual void Toggle();

    void Dispatch(TMessage& Message) override;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override { return DLGC_BUTTON; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;

private:
    QCheckBox* Box() const;
    void UserClicked();

    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Combo box

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TCustomListControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);

    // Setting the item index does not fire OnChange; the user's choice does.
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    void Clear();

    // The list is open; setting it opens or closes the list (CBN_DROPDOWN, CBN_CLOSEUP).
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    // Width of the open list in pixels: at least the control's width (CB_SETDROPPEDWIDTH).
    int DroppedWidth() const { return std::max(FDroppedWidth, Width()); }
    // Height of the items of the list / of the edit part, as CB_GETITEMHEIGHT answers for 0
    // and -1.
    int ItemHeight() const;
    int EditHeight() const { return Height() - 6; }
    // The selection in the edit part (csDropDown, csSimple); 0 without an edit.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    String SelText() const;

    // The user chose another item or edited the text.
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    String GetText() const override;
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;
    void BoundsChanged(bool Resized) override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void ItemsChanged() override;
    // CBN_DROPDOWN and CBN_CLOSEUP come back from the parent's WM_COMMAND as CN_COMMAND.
    void CNCommand(TWMCommand& Message);

private:
    friend class TComboWidget;
    QComboBox* Combo() const;
    // Tells the parent (WM_COMMAND, reflected back as CN_COMMAND) of Code.
    void Notify(Word Code);
    // Makes, places or drops the window of the edit part (the combo's first child window).
    void SyncEditWindow();
    // The wheel default: a closed list steps the selection one item per notch.
    void WheelStep(int Delta);

    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    int FDroppedWidth = 0;
    int FItemHeight = 0; // 0: from the font
    TWinControl* FEditWindow = nullptr;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Scroll bar

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
// Sender, ScrollCode, ScrollPos (the handler may change where the bar goes).
using TScrollEvent = TEvent<TObject*, TScrollCode, int&>;

// The platform's scroll-bar control (SB_CTL) shown by a Qt scroll bar. A bar worked by the user
// sends WM_HSCROLL / WM_VSCROLL to the parent, which hands them back as CN_HSCROLL / CN_VSCROLL:
// the arrows move Position by SmallChange, the track by LargeChange, the thumb to where it is
// dragged; OnScroll hears every step and OnChange every change of Position.
class TScrollBar : public TNativeControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    // A new kind swaps width and height (unless loading) and makes the window anew.
    void SetKind(TScrollBarKind Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int Min() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    // The thumb's share of the range; the position goes up to Max - PageSize + 1.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    // Sets position and range at once; raises EInvalidOperation "Scrollbar property out of
    // range" when AMax is below AMin or below the page size. The position is kept in range.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    void Dispatch(TMessage& Message) override;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void CreateWnd() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    void CNHScroll(TWMScroll& Message);
    void CNVScroll(TWMScroll& Message);

private:
    void DoScroll(TWMScroll& Message);
    void UpdateScrollInfo();
    int HighestPosition(int AMin, int AMax) const;

    TScrollBarKind FKind = sbHorizontal;
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    QPointer<QScrollBar> FBar;
};
