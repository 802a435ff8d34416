// Category panel group: a vertically scrolling column of collapsible panels, each with a header
// (gradient, optional image, bold caption, expand/collapse chevron at the right) above a surface
// that holds the panel's controls.
//
// The group stacks its visible panels in the order of their tops, each directly below the
// previous one, starting at the top of the group shifted up by the scroll position; setting a
// panel's Top therefore chooses its place in the column. Every panel is as wide as the group's
// client area. A collapsed panel shows its header only and keeps the height it had expanded
// (FullHeight), which comes back when it is expanded again; a height set while collapsed is kept
// for then.
//
// Controls of a panel are placed on its surface (Surface()), whose client area starts below the
// header: a control at Top 9 sits 9 pixels below the header's bottom edge.
//
// The vertical scroll bar appears when the stacked panels are taller than the group. The group
// scrolls through WM_VSCROLL (SB_LINEUP / SB_LINEDOWN by LineIncrement pixels, SB_PAGEUP /
// SB_PAGEDOWN by a client height, SB_THUMBPOSITION / SB_THUMBTRACK to a position, SB_TOP,
// SB_BOTTOM; SB_ENDSCROLL changes nothing); the scroll bar sends the same messages when the user
// works it. The scroll position and each panel's collapsed state live as long as the objects.
#pragma once

#include "Controls.h"
#include "ImgList.h"

#include <QPointer>

#include <vector>

class QScrollBar;
class TCategoryPanelGroup;
class TCategoryPanel;

enum TGradientDirection { gdHorizontal, gdVertical };

// The client part of a category panel: holds the panel's controls below the header.
class TCategoryPanelSurface : public TCustomControl {
public:
    explicit TCategoryPanelSurface(TComponent* AOwner);

protected:
    void Paint() override;

private:
    friend class TCategoryPanel;
};

class TCategoryPanel : public TCustomControl {
public:
    explicit TCategoryPanel(TComponent* AOwner);
    ~TCategoryPanel() override;

    // The group the panel belongs to (its parent); nullptr when it has none.
    TCategoryPanelGroup* PanelGroup() const;
    void SetPanelGroup(TCategoryPanelGroup* Value);
    void SetParent(TWinControl* AParent) override;

    // The container of the panel's controls.
    TCategoryPanelSurface* Surface() const { return FSurface; }

    bool Collapsed() const { return FCollapsed; }
    void SetCollapsed(bool Value);
    void Collapse() { SetCollapsed(true); }
    void Expand() { SetCollapsed(false); }
    // The height (header included) that the panel has when expanded.
    int FullHeight() const { return FFullHeight; }

    // Header marks taken from the group's Images; -1: no image.
    int CollapsedImageIndex() const { return FCollapsedImageIndex; }
    void SetCollapsedImageIndex(int Value);
    int ExpandedImageIndex() const { return FExpandedImageIndex; }
    void SetExpandedImageIndex(int Value);

    // The header's height: the group's HeaderHeight (24 without a group).
    int HeaderHeight() const;
    // The header, in the panel's coordinates, and the chevron's square inside it.
    TRect HeaderRect() const;
    TRect ChevronRect() const;
    // The pointer is over the chevron.
    bool ChevronHot() const { return FChevronHot; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;

    TNotifyEvent OnCollapse;
    TNotifyEvent OnExpand;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void BoundsChanged(bool Resized) override;
    // The surface was made inside the panel: when the panel ends loading, so does the surface
    // (its controls' tab orders are put in place then).
    void Loaded() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    virtual void DrawHeader();

private:
    friend class TCategoryPanelGroup;
    // Places the panel as the group's column wants it, keeping the full height.
    void PlaceInGroup(int ALeft, int ATop, int AWidth);
    void LayoutSurface();
    void SetChevronHot(bool Value);

    TCategoryPanelSurface* FSurface;
    bool FCollapsed = false;
    int FFullHeight = 200;
    int FCollapsedImageIndex = -1;
    int FExpandedImageIndex = -1;
    bool FChevronHot = false;
    bool FPlacing = false;
};

class TCategoryPanelGroup : public TCustomControl {
public:
    explicit TCategoryPanelGroup(TComponent* AOwner);
    ~TCategoryPanelGroup() override;

    // The panels in the order they joined the group.
    int PanelCount() const { return int(FPanels.size()); }
    TCategoryPanel* Panels(int Index) const;
    // Makes a new panel owned by the group's owner, inside the group.
    TCategoryPanel* CreatePanel(TComponent* AOwner);
    void CollapseAll();
    void ExpandAll();

    // Header look.
    TFont* HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(TFont* Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    TColor GradientBaseColor() const { return FGradientBaseColor; }
    void SetGradientBaseColor(TColor Value);
    TColor GradientColor() const { return FGradientColor; }
    void SetGradientColor(TColor Value);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value);
    TColor ChevronColor() const { return FChevronColor; }
    void SetChevronColor(TColor Value);
    TColor ChevronHotColor() const { return FChevronHotColor; }
    void SetChevronHotColor(TColor Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);

    // Scrolling.
    int ScrollPos() const { return FScrollPos; }
    void SetScrollPos(int Value);
    // The largest scroll position (0 when everything fits).
    int ScrollMax() const;
    // The height of the stacked visible panels.
    int ContentHeight() const;
    bool ScrollBarVisible() const { return FScrollBarVisible; }
    // Pixels of one line step.
    int LineIncrement() const { return FLineIncrement; }
    void SetLineIncrement(int Value) { FLineIncrement = Value > 0 ? Value : 1; }
    // The content follows the thumb while it is dragged (otherwise when it is released).
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value);
    // The width the scroll bar takes when it shows.
    static int ScrollBarWidth();

    // Client area: the group less the scroll bar when it shows.
    TRect GetClientRect() const override;
    // Stacks the visible panels again (done by itself whenever a panel moves, changes size,
    // shows, hides, collapses or expands).
    // Moved: a panel whose top was just set; it goes before another panel at the same top.
    void ArrangePanels(TCategoryPanel* Moved = nullptr);

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void BoundsChanged(bool Resized) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMVScroll(TWMVScroll& Message);

private:
    friend class TCategoryPanel;
    void AddPanel(TCategoryPanel* Panel);
    void RemovePanel(TCategoryPanel* Panel);
    void LookChanged();
    void HeaderFontChanged(TObject* Sender);
    void UpdateScrollBar();

    std::vector<TCategoryPanel*> FPanels;
    TFont* FHeaderFont;
    int FHeaderHeight = 24;
    TColor FGradientBaseColor = TColor(0xF0F0F0);
    TColor FGradientColor = TColor(0xE0E0E0);
    TGradientDirection FGradientDirection = gdVertical;
    TColor FChevronColor = clBlack;
    TColor FChevronHotColor = clGray;
    TCustomImageList* FImages = nullptr;
    int FScrollPos = 0;
    int FLineIncrement = 8;
    bool FTracking = false;
    bool FScrollBarVisible = false;
    bool FArranging = false;
    bool FSyncingBar = false;
    QPointer<QScrollBar> FScrollBar;
};
