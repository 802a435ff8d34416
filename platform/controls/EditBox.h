// Private to the edit controls: the text box that shows an edit window. A single-line window is
// a QLineEdit, a multi-line one a QTextEdit whose viewport is the formatting rectangle. Both
// speak in the platform's terms: character indexes count a line break as the two characters
// CR LF, points are client coordinates of the edit window (the box fills it).
#pragma once

#include "Messages.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

class TEditBox {
public:
    virtual ~TEditBox() = default;

    virtual QWidget* Widget() const = 0;
    virtual QString Text() const = 0;
    // Sets the text; the caret goes to its start.
    virtual void SetText(const QString& Value) = 0;
    virtual int Anchor() const = 0;
    virtual int Caret() const = 0;
    // Selects from Anchor to Caret (either order), clamped to the text.
    virtual void Select(int Anchor, int Caret) = 0;
    // Replaces the selection with Value, the caret after it.
    virtual void Insert(const QString& Value) = 0;
    // Deletes the character before the caret, or the selection.
    virtual void Backspace() = 0;
    // The character index nearest to a client point and its line.
    virtual int CharFromPos(const QPoint& Point, int& Line) const = 0;
    // The client position of the top-left corner of the character at Index (Index < length).
    virtual QPoint PosFromChar(int Index) const = 0;
    virtual int LineFromChar(int Index) const = 0;
    virtual int LineCount() const = 0;
    // The formatting rectangle (client coordinates): set, read, back to the default.
    virtual QRect FormattingRect() const { return QRect(); }
    virtual void SetFormattingRect(const QRect&) {}
    // Whether Value would fit the box's width (for single-line windows without ES_AUTOHSCROLL).
    virtual bool Fits(const QString&) const { return true; }
    virtual void SetPasswordChar(QChar) {}
    // Shows or hides the caret (while the box has the focus).
    virtual void SetCaretVisible(bool Value) = 0;
    virtual bool CaretVisible() const = 0;
    virtual void SetReadOnly(bool Value) = 0;
    virtual void SetFramed(bool Value) = 0;

    // Called after every change of the text.
    std::function<void()> OnChanged;
};

// Makes the box for an edit window of Style (the ES_ bits), inside Host.
TEditBox* CreateEditBox(DWORD Style, QWidget* Host);
