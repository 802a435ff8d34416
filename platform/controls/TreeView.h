// The tree view of the class library over a Qt tree widget: nodes with a text and two pictures
// of an image list (one shown normally, one while the node is selected), top-level and child
// nodes, expansion, the selected node, a click event and a custom-draw event through which the
// program chooses the text colour of each node.
//
// The nodes live in the Qt tree from the moment they are made, whether or not the window exists
// yet: the Qt tree is made with the control and only moves into its window while there is one.
#pragma once

#include "Graphics.h"
#include "StdCtrls.h"

#include <QIcon>

#include <deque>
#include <set>

class QTreeWidget;
class QTreeWidgetItem;
class TCustomImageList;
class TTreeView;
class TTreeNodes;

class TTreeNode {
public:
    TTreeView* TreeView() const { return FTree; }
    TTreeNode* Parent() const { return FParent; }
    // Depth: 0 for a top-level node.
    int Level() const;
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int Index) const;
    // Position among the parent's children (or among the top-level nodes).
    int Index() const { return FIndex; }

    String Text() const;
    void SetText(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int Value);

    bool Expanded() const;
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    // Expands the node's parents and scrolls the tree until the node shows.
    void MakeVisible();

    // Free for the program's use.
    void* Data = nullptr;

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeView* FTree = nullptr;
    TTreeNode* FParent = nullptr;
    QTreeWidgetItem* FItem = nullptr;
    std::vector<TTreeNode*> FChildren;
    int FIndex = 0;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
};

// The nodes of a tree view.
class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* Owner) : FOwner(Owner) {}

    // A new last node at the level of Sibling (a top-level node when Sibling is nullptr).
    TTreeNode* Add(TTreeNode* Sibling, const String& S);
    // A new last child of Parent (a top-level node when Parent is nullptr).
    TTreeNode* AddChild(TTreeNode* Parent, const String& S);
    // Removes every node.
    void Clear();
    // Every node, at every level.
    int Count() const { return int(FNodes.size()); }
    // The first top-level node, nullptr when the tree is empty.
    TTreeNode* GetFirstNode() const { return FTop.empty() ? nullptr : FTop.front(); }
    int TopCount() const { return int(FTop.size()); }
    TTreeNode* Top(int Index) const;
    // Nothing is redrawn between BeginUpdate and the matching EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeView;
    TTreeView* FOwner;
    std::deque<TTreeNode> FNodes;
    std::vector<TTreeNode*> FTop;
    int FUpdate = 0;
};

enum TCustomDrawStateItem { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot };
using TCustomDrawState = TEnumSet<TCustomDrawStateItem>;
using TTVCustomDrawItemEvent = TEvent<TTreeView*, TTreeNode*, TCustomDrawState, bool& /*DefaultDraw*/>;

class TTreeView : public TNativeControl {
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;

    TTreeNodes* Items() const { return FItems.get(); }
    // The selected node (nullptr for none); setting it does not fire OnClick.
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* Value);

    // The node pictures; nullptr shows none.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int Indent() const { return FIndent; }
    void SetIndent(int Value);
    // Node texts cannot be edited by the user.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

    // The canvas a custom-draw handler sets the node's font colour on.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // The text colour Node is drawn in: the control's font colour, or what OnCustomDrawItem set.
    TColor NodeTextColor(TTreeNode* Node);
    // Node's rectangle in client coordinates (empty when the node is not shown).
    TRect NodeRect(TTreeNode* Node) const;

    // Fired for every node before it is drawn.
    TTVCustomDrawItemEvent OnCustomDrawItem;

    void Dispatch(TMessage& Message) override;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void DestroyWnd() override;
    void UpdateNative() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    QIcon NodeIcon(const TTreeNode* Node);
    void ImagesChanged();

    std::unique_ptr<TTreeNodes> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    QTreeWidget* FTree = nullptr; // owned; a child of the window while there is one
    TCustomImageList* FImages = nullptr;
    std::vector<QIcon> FIcons; // by image index, made on first use
    int FIndent = 19;
    bool FReadOnly = false;
};
