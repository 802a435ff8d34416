// The panel that shows the grid's floating footer at the bottom of the grid: the footer row
// lined up with the scrolled columns, one column of the current row, a template filled from the
// current row, or what the application paints (TFloatingFooter holds the settings).
#pragma once

#include "ExtPanels.h"

#include <functional>

class TAdvStringGrid;

// Sender is the footer panel; AColumn the footer column (or FloatingFooter.Column).
using TFooterPaintEvent = TEvent<TObject*, int /*AColumn*/, TCanvas* /*Canvas*/, TRect /*ARect*/>;

class TFooterPanel : public TCustomPanel {
public:
    // AOwner is the grid the footer belongs to (any other owner gives a panel that paints only
    // its background).
    explicit TFooterPanel(TComponent* AOwner);

    TAdvStringGrid* Grid() const { return FGrid; }
    // The column whose hint was shown last; -1 when none.
    int LastHintX() const { return FLastHintX; }
    // The column under client X: the fixed columns, then the columns from LeftCol; -1 beyond the
    // last one.
    int ColumnAt(int X) const;
    // The width the footer cells take: the fixed columns and the columns from LeftCol on.
    int FooterWidth() const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void CreateWnd() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // Each painter answers the painted width (the end of the top border line).
    int PaintFixedLastRow();
    int PaintPreview(bool Template);
    // A 3-D framed area 0..W in the footer colour, the rest in the grid's colour.
    void PaintPreviewFrame(const TRect& Area);
    // R mirrored in right-to-left reading.
    TRect Mirrored(const TRect& R) const;
    void CMHintShow(TMessage& Message);
    void CMMouseLeave(TMessage& Message);

    TAdvStringGrid* FGrid = nullptr;
    int FLastHintX = -1;
};

// The footer template with every "<#N>" replaced by CellText(N); a tag whose content is not an
// integer is dropped, and a "<#" without a closing ">" is kept with the rest as plain text.
String ExpandFooterTemplate(const String& Template, const std::function<String(int)>& CellText);
