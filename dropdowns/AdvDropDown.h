// The drop-down edit base TAdvCustomDropDown: a single-line masked edit with a drop button docked
// at its right end, a popup window (TDropDownForm) that shows an optional header, an optional
// footer and, between them, the popup control each descendant supplies, an optional attached
// label, and colour styling through the component style and the selection colour style. Every
// drop-down editor of the library derives from it: what it settles about focus, change
// notifications, popups and keys holds for all of them.
//
// Opening the popup is not the edit's exit: the popup takes the activation and the focus, the
// edit hears WM_KILLFOCUS, but neither CM_EXIT nor DoExit runs (the grid's editors commit on
// exit). The popup closes on Enter (keeping its choice), Escape (cancelling: the value written
// last by code comes back), F4 or Alt+Up/Down, and when it loses the activation to a window that
// is not its own (cancelling by default).
#pragma once

#include "AdvDropDownDraw.h"
#include "AdvDropDownForm.h"
#include "AdvDropDownStrips.h"
#include "AdvStyleIF.h"
#include "EditorLook.h"
#include "Mask.h"
#include "PopupAppearance.h"

#include <functional>

class TCustomImageList;
class TItemAppearance;

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TDropDownEditType {
    etString,
    etNumeric,
    etFloat,
    etUppercase,
    etMixedCase,
    etLowerCase,
    etPassword,
    etMoney,
    etRange,
    etHex,
    etAlphaNumeric,
    etValidChars
};

// Before the popup shows: clearing AcceptDrop keeps it closed.
using TDropDown = TEvent<TObject*, bool& /*AcceptDrop*/>;
// After the popup was hidden; Cancelled tells whether the old value came back.
using TDropUp = TEvent<TObject*, bool /*Cancelled*/>;
// A clipboard transfer of Value; clearing Allow refuses it.
using TClipboardEvent = TEvent<TObject*, String /*Value*/, bool& /*Allow*/>;

// ---- Numbers in the typed edits ----
//
// The kind of number a text is, character by character: 0 an integer (only "-" and digits), 1
// a float (only digits, ",", "-", "." and the thousand separator, each thousand separator at
// the second character or later and at least three places after the previous one), 5
// hexadecimal (digits, "-", A-F, a-f, and no integer), 2 anything else: also an empty text and
// any text with more than one "-" or more than one decimal separator.
int GetNumberKind(const String& Text);
// Text without any thousand separator of the run-time settings.
String StripThousandSeparators(const String& Text);
// 0-9, A-F, a-f give 0..15; any other character 0.
int HexDigitValue(Char Ch);
// The hexadecimal digits of Text (other characters count as 0) as a number; a text too long
// for 32 bits keeps the low 32 bits, read as a signed number.
int HexToInt(const String& Text);
// ",", "-" and ";" separate the numbers and ranges of a range list.
bool IsRangeSeparator(Char Ch);

// The work area of the monitor nearest to a screen point. Tests install a source of their own;
// nullptr puts the screens back.
TRect DropDownWorkArea(const TPoint& P);
void SetDropDownWorkAreaSource(std::function<TRect(const TPoint&)> Source);

// Paints its parent's graphic controls into a canvas (for code that draws a parent's look).
class TWinCtrl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void PaintCtrls(TCanvas* DC, TControl* First);
};

class TAdvCustomDropDown : public TCustomMaskEdit, public IKitTones, public IKitStyle {
public:
    explicit TAdvCustomDropDown(TComponent* AOwner);
    ~TAdvCustomDropDown() override;

    // From another drop-down only; any other source changes nothing.
    void Assign(TPersistent* Source) override;
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    TKitStyle GetComponentStyle() const { return FKitStyle; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The value: the edit text without Prefix and Suffix. Writing shows Prefix + Value + Suffix
    // and remembers Value as the one a cancelled close restores.
    String Text() const;

    // ---- Published properties ----
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int Value);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition Value) { FDropPosition = Value; }
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor Value) { FDropDownColor = Value; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor Value) { FDropDownBorderColor = Value; }
    int DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int Value) { FDropDownBorderWidth = Value; }
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool Value) { FDropDownShadow = Value; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool Value) { FDropDownSizeable = Value; }
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int Value);
    String DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const String& Value);
    TBitmap* DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(TBitmap* Value);
    String DropDownButtonCaption() const;
    void SetDropDownButtonCaption(const String& Value);
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader; }
    void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter; }
    void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
    TAdvButtonAppearance* ButtonAppearance() const { return FButtonAppearance; }
    void SetButtonAppearance(TAdvButtonAppearance* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    String LabelCaption() const;
    void SetLabelCaption(const String& Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }
    TFont* LabelFont() const { return FLabelFont; }
    void SetLabelFont(TFont* Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { FSelectionColorTo = Value; }
    // "1.2.1.4"; writing does nothing.
    String Version() const;
    void SetVersion(const String&) {}
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }

    // The attached label (nullptr until LabelCaption is first written).
    TLabel* EditLabel() const { return FLabel; }
    TDropDownEditButton* Button() const { return FButton; }
    bool DroppedDown() const { return FDroppedDown; }
    TDropDownForm* DropDownForm() const { return FDropDownForm; }
    // The formatting rectangle last given to the edit.
    TRect GetEditRect() const { return FEditRect; }
    // What a form stream would hold beside the published properties: the ordinals of the
    // selection colour style and the component style. Reading stores them without colouring.
    int StoredSelectionColorStyle() const { return int(FSelectionColorStyle); }
    int StoredKitStyle() const { return int(FKitStyle); }
    void ReadStoredStyles(int SelectionColorStyle, int KitStyle);

    TNotifyEvent OnBeforeDropDown;
    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;

    // ---- Typed input: the value as text and as a number, selections within the value ----
    // Selects the value (not Prefix or Suffix).
    void SelectAll();
    // The caret just before / just after the value's first decimal separator, or at the start
    // of the value when it has none.
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    // Writes Value as the whole edit text: no prefix, suffix or formatting; the value a cancel
    // restores and the modified state stay.
    void SetEditorText(const String& Value);
    // Writes a number in the form of the edit type (not for the text-only types).
    void SetFloatValue(double Value);
    void SetIntValue(int Value);
    // The value as a number: 0 when it does not convert.
    double GetFloatValue();
    // The user changed the value since code last wrote it.
    bool IsModified() const { return FIsModified; }

    // ---- Protected properties (for the descendants and the grid's cell editors) ----
    TDropDownEditType EditType() const { return FEditType; }
    // A password shows "*" and cannot undo; a value that the new type cannot hold becomes 0.
    void SetEditType(TDropDownEditType Value);
    String Prefix() const { return FPrefix; }
    void SetPrefix(const String& Value) { FPrefix = Value; }
    String Suffix() const { return FSuffix; }
    void SetSuffix(const String& Value) { FSuffix = Value; }
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = SmallInt(Value); }
    int Precision() const { return FPrecision; }
    // The decimals of etFloat and etMoney (above 0: fixed, below 0: free); for those types and
    // etString the value is written anew with them. Ignored for the other types.
    void SetPrecision(int Value);
    bool Signed() const { return FSigned; }
    void SetSigned(bool Value) { FSigned = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool Value) { FAllowNumericNullValue = Value; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool Value) { FDefaultHandling = Value; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool Value) { FCanUndo = Value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    String ValidChars() const { return FValidChars; }
    void SetValidChars(const String& Value) { FValidChars = Value; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool Value) { FAutoThousandSeparator = Value; }
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool Value) { FFocusDraw = Value; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool Value) { FForceShadow = Value; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor Value) { FDropDownColorTo = Value; }
    TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(TGradientDirection Value) { FDropDownGradient = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value) { FEtched = Value; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    TNotifyEvent OnBeforeDropUp;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;

    // ---- The slots the descendants override, in their order ----
    virtual void DoLabelClick(TObject* Sender);
    virtual void DoLabelDblClick(TObject* Sender);
    virtual int GetVersionNr() const;
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void DoBeforeDropDown();
    virtual void AdjustDropDownHeight(int& AHeight);
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void AttachDropDownControl();
    virtual void SizeDropDownForm();
    virtual void DoHideDropDown(bool CancelChanges);
    virtual void DropDownFormHide(TObject* Sender);
    virtual void DropDownFormDestroy(TObject* Sender);
    virtual void DropDownFormMouseWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos,
                                            bool& Handled);
    virtual void DropDownFormMouseWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    virtual void DropDownFormKeyPress(TObject* Sender, Char& Key);
    virtual void DropDownFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DropDownFormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DropDownControlKeyPress(TObject* Sender, Char& Key);
    virtual void DropDownFormSizing(TObject* Sender);
    virtual void MoveToNextItem();
    virtual void MoveToPreviousItem();
    virtual void DrawEditContent();
    virtual void SetEditRect();
    virtual void ResizeControl();
    virtual void SetText(const String& Value);
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    // A selected item's background: SelectionColor alone with scCustom, else the style's rounded
    // gradient frame; BackColor fills the outermost corner pixels, Sides says which ends are
    // rounded (0 both, 1 left, 2 right, 3 neither).
    virtual void DrawSelectionBackground(TCanvas* ACanvas, const TRect& ARect, TColor BackColor, int Sides);
    virtual void PaintGradient(TCanvas* ACanvas, TColor FromColor, TColor ToColor, int Steps,
                               const TRect& ARect, TGradientDirection Direction);
    void SetComponentStyle(TKitStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;

    // The drop button was clicked: opens the popup unless it was closed less than 250 ms ago
    // (the click that closed it by taking the activation does not reopen it).
    void DropDownButtonClick(TObject* Sender);
    void DoDropDownButtonClick() { DropDownButtonClick(this); }
    // Not designing, and the mouse is over the edit or the edit is the active control.
    bool IsActive() const;
    bool IsButtonFocused() const;
    void UpdateButtonFocus();
    void RedrawBorder();
    // H + min(Hs, H) div 4 with H the edit font's text height and Hs the system font's.
    int GetMinHeight();

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DoEnter() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DrawBorders(TCanvas* DC);
    // Colours an item list's appearance for a component style (nothing for nil or tsCustom); the
    // list descendants call it for their own item appearance.
    void SetItemAppearanceStyle(TItemAppearance* Appearance, TKitStyle Style);
    // Not while loading, in a pick-only or a read-only edit.
    void SetIsModified(bool Value);
    bool FBlockChange = false;

private:
    void CreateLabel();
    void UpdateLabel();
    void LabelFontChanged(TObject* Sender);
    void HeaderAppearanceChanged(TObject* Sender);
    void FooterAppearanceChanged(TObject* Sender);
    void AppearanceChanged();
    void ToggleDropDown(bool Visible);
    bool Designing() const { return HasState(csDesigning); }
    bool HasFocus() const;

    void WMKeyDown(TWMKey& Message);
    void WMLButtonDown(TWMMouse& Message);
    void WMLButtonUp(TWMMouse& Message);
    void WMPaint(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void CMWantSpecialKey(TCMWantSpecialKey& Message);
    void CNCommand(TMessage& Message);

    // ---- Typed input (AdvDropDownEditTypes.cpp) ----
    void WMChar(TWMKey& Message);
    // One accepted character's handling by the edit type; true when it reached the edit.
    void FilterTypedChar(TWMKey& Message, Char C, const String& V, int P, int Q);
    void PassChar(TWMKey& Message, Char C);
    // The sign of the value goes or comes (caret P before).
    void ToggleSign(int P);
    // The prefix and suffix rules of a key (caret keys, Delete, Backspace): false when the key
    // is swallowed.
    bool PrefixSuffixKey(TWMKey& Message);
    // After the edit handled a key: the money regrouping after Delete, the caret out of the prefix.
    void AfterKey(Word Key);
    // The selection kept out of prefix and suffix after a mouse selection.
    void ClampMouseSelection();
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    // The integer part of money regrouped with thousand separators, the caret kept in place.
    void FormatMoney();
    double TextToFloat(const String& S) const;
    bool IsNumericType() const {
        return FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney;
    }
    int IntegerPartEnd(const String& S) const;
    int DecimalPosInEdit(const String& V) const;
    bool FractionFull(const String& V, int Q) const;
    bool SeparatorTooClose(const String& V, int Q) const;
    bool IsSignedMinus(Char C) const;

    TLabel* FLabel = nullptr;
    bool FParentFnt = false;
    int FDropDownWidth = 0, FDropDownHeight = 0;
    int FUserDropDownWidth = -1, FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    String FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = clBlack;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    TWinControl* FFocusControl = nullptr;
    THeaderAppearance* FDropDownHeader = nullptr;
    TAdvButtonAppearance* FButtonAppearance = nullptr;
    TFooterAppearance* FDropDownFooter = nullptr;
    TControl* FControl = nullptr;
    TGradientDirection FDropDownGradient = gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone, FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scOffice2007;
    TDropDownEditType FEditType = etString;
    SmallInt FLengthLimit = 0;
    SmallInt FPrecision = 0;
    String FPrefix, FSuffix;
    String FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    String FValidChars;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TKitStyle FKitStyle = tsOffice2007Luna;
    int FLabelMargin = 0;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    TFont* FLabelFont = nullptr;
    TColor FBorderColor = clNone, FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    String FOldText;
};
