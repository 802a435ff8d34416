// Common controls of the class library: the page control with its tab sheets.
#pragma once

#include "Controls.h"

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
