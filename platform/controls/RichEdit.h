// The platform's rich-text edit (the class library keeps it with the common controls): a memo
// whose text carries character formats (font, size, styles, colours, raised and lowered text)
// and paragraph alignment. The content lives in a rich-text document of the control's own, which
// outlives its window, so re-creating the window (RecreateWnd) keeps text and formats. Its lines
// load and save RTF (RtfText.h); its messages are the rich edit's: character formats of the
// selection (EM_GETCHARFORMAT, EM_SETCHARFORMAT), the requested size (EM_REQUESTRESIZE answered
// by CN_NOTIFY with EN_REQUESTRESIZE), rendering onto a canvas (EM_FORMATRANGE), the extended
// selection and the event mask.
#pragma once

#include "StdCtrls.h"

#include <memory>

class QTextDocument;
class TRichEditStrings;

// Rich-edit messages and their records.
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_FORMATRANGE = WM_USER + 57;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;

constexpr int EN_REQUESTRESIZE = 0x0701;
constexpr int EN_SELCHANGE = 0x0702;

// Event mask bits (EM_SETEVENTMASK); the control notifies what the mask holds.
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;

// EM_SETCHARFORMAT's WParam: the selection, or the whole text; 0 is the default format.
constexpr WPARAM SCF_DEFAULT = 0;
constexpr WPARAM SCF_SELECTION = 1;
constexpr WPARAM SCF_ALL = 4;

constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

// The wide character format (92 bytes). Heights and offsets are in twips; a positive offset
// raises the text.
struct CHARFORMATW {
    UINT cbSize = sizeof(CHARFORMATW);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    int32_t yHeight = 0;
    int32_t yOffset = 0;
    DWORD crTextColor = 0;
    uint8_t bCharSet = 0;
    uint8_t bPitchAndFamily = 0;
    char16_t szFaceName[32] = {};
};
static_assert(sizeof(CHARFORMATW) == 92);

struct CHARRANGE {
    int32_t cpMin = 0;
    int32_t cpMax = 0; // -1: to the end
};

// EM_FORMATRANGE: draws (WParam not 0) or only measures the characters chrg into rc (twips) of
// the canvas hdc; answers the index after the last character that fit. LParam 0 frees what the
// control kept for a series of calls (nothing here).
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    TRect rc;
    TRect rcPage;
    CHARRANGE chrg;
};

// CN_NOTIFY with EN_REQUESTRESIZE: the rectangle (client pixels) the content asks for.
struct REQRESIZE {
    NMHDR nmhdr;
    TRect rc;
};

class TRichEdit;

// The character format of a rich edit's selection (SelAttributes) or of its whole text
// (DefAttributes), read and written through the control.
class TTextAttributes : public TPersistent {
public:
    TTextAttributes(TRichEdit* Edit, bool Selection) : FEdit(Edit), FSelection(Selection) {}

    String Name() const;
    void SetName(const String& Value);
    // Points.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const;
    void SetStyle(const TFontStyles& Value);
    TColor Color() const;
    void SetColor(TColor Value);
    // Name, size, style and colour of a font (or of other attributes).
    void Assign(TPersistent* Source) override;

private:
    CHARFORMATW Get() const;
    void Set(const CHARFORMATW& Format);

    TRichEdit* FEdit;
    bool FSelection;
};

class TRichEdit : public TMemo {
public:
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;

    // The text line by line; LoadFromStream reads RTF text as RTF and any other text as plain
    // text, SaveToStream writes RTF (plain text when PlainText is set).
    TStrings* Lines() const;
    void SetLines(TStrings* Value);
    bool PlainText = false;

    // The selection shows only while the control has the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // Lines wrap at the formatting rectangle's width (re-creates the window).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
    TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }

    // The content (for the control library's painting and measuring).
    QTextDocument* Document() const;

    // Fires when the selection or the caret moves (with ENM_SELCHANGE in the event mask).
    TNotifyEvent OnSelectionChange;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    void Change() override;
    virtual void SelectionChange();
    // Asks for the content's size: CN_NOTIFY with EN_REQUESTRESIZE to the control itself (the
    // reflection of the notification its parent gets), with a window only.
    void RequestSize();

private:
    friend class TRichEditStrings;
    friend class TTextAttributes;
    // The document brought up to the edit's text (text set while there was no window).
    QTextDocument& Doc() const;
    // Document positions of the platform's character indexes (a line break counts 2 there).
    int DocPos(int Index) const;
    void GetCharFormat(bool Selection, CHARFORMATW& Format) const;
    void SetCharFormat(WPARAM Scope, const CHARFORMATW& Format);
    LRESULT FormatRange(bool Render, const FORMATRANGE* Range);
    void LoadRich(const QByteArray& Rtf);
    void ApplyHideSelection();

    std::unique_ptr<QTextDocument> FDocument;
    std::unique_ptr<TRichEditStrings> FRichLines;
    std::unique_ptr<TTextAttributes> FSelAttributes, FDefAttributes;
    bool FHideSelection = true;
    bool FWordWrap = true;
    DWORD FEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE;
    QMetaObject::Connection FSelConnection;
};
