#include "TreeView.h"

#include "ImgList.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

// A Qt tree item that knows its node.
class TQtTreeItem : public QTreeWidgetItem {
public:
    explicit TQtTreeItem(TTreeNode* ANode) : QTreeWidgetItem(UserType), Node(ANode) {}
    TTreeNode* Node;
};

TTreeNode* NodeOf(const QTreeWidgetItem* Item) {
    return Item && Item->type() == QTreeWidgetItem::UserType ? static_cast<const TQtTreeItem*>(Item)->Node
                                                             : nullptr;
}

// Asks the control's custom-draw event for the text colour of each item before Qt draws it.
class TTreeDelegate : public QStyledItemDelegate {
public:
    TTreeDelegate(TTreeView* Tree, QObject* Parent) : QStyledItemDelegate(Parent), FTree(Tree) {}

protected:
    void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override {
        QStyledItemDelegate::initStyleOption(Option, Index);
        if (!Assigned(FTree->OnCustomDrawItem)) return;
        auto* widget = static_cast<const QTreeWidget*>(Option->widget);
        if (!widget) return;
        TTreeNode* node = NodeOf(widget->itemFromIndex(Index));
        if (!node) return;
        const QColor color = ToQColor(FTree->NodeTextColor(node));
        Option->palette.setColor(QPalette::Text, color);
    }

private:
    TTreeView* FTree;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Nodes

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
    return level;
}

TTreeNode* TTreeNode::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FChildren[size_t(Index)];
}

String TTreeNode::Text() const {
    return FItem->text(0);
}

void TTreeNode::SetText(const String& Value) {
    FItem->setText(0, Value);
}

void TTreeNode::SetImageIndex(int Value) {
    FImageIndex = Value;
    FItem->setIcon(0, FTree->NodeIcon(this));
}

void TTreeNode::SetSelectedIndex(int Value) {
    FSelectedIndex = Value;
    FItem->setIcon(0, FTree->NodeIcon(this));
}

bool TTreeNode::Expanded() const {
    return FItem->isExpanded();
}

void TTreeNode::SetExpanded(bool Value) {
    FItem->setExpanded(Value);
}

void TTreeNode::Expand(bool Recurse) {
    FItem->setExpanded(true);
    if (Recurse)
        for (TTreeNode* c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    FItem->setExpanded(false);
    if (Recurse)
        for (TTreeNode* c : FChildren) c->Collapse(true);
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = FParent; p; p = p->FParent) p->FItem->setExpanded(true);
    if (QTreeWidget* tree = FItem->treeWidget()) tree->scrollToItem(FItem);
}

bool TTreeNode::Selected() const {
    return FTree->Selected() == this;
}

// ---------------------------------------------------------------------------------------------
// Node list

TTreeNode* TTreeNodes::Top(int Index) const {
    if (Index < 0 || Index >= TopCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FTop[size_t(Index)];
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) {
    return AddChild(Sibling ? Sibling->FParent : nullptr, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) {
    TTreeNode& node = FNodes.emplace_back();
    node.FTree = FOwner;
    node.FParent = Parent;
    auto* item = new TQtTreeItem(&node);
    item->setText(0, S);
    node.FItem = item;
    if (Parent) {
        node.FIndex = Parent->Count();
        Parent->FChildren.push_back(&node);
        Parent->FItem->addChild(item);
    } else {
        node.FIndex = TopCount();
        FTop.push_back(&node);
        FOwner->FTree->addTopLevelItem(item);
    }
    return &node;
}

void TTreeNodes::Clear() {
    FOwner->FTree->clear();
    FTop.clear();
    FNodes.clear();
}

void TTreeNodes::BeginUpdate() {
    if (FUpdate++ == 0) FOwner->FTree->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate() {
    if (FUpdate > 0 && --FUpdate == 0) FOwner->FTree->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Tree view

TTreeView::TTreeView(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)),
      FCanvas(std::make_unique<TCanvas>()) {
    FControlStyle = {csDoubleClicks, csOpaque};
    FTree = new QTreeWidget();
    FTree->setColumnCount(1);
    FTree->header()->hide();
    FTree->setSelectionMode(QAbstractItemView::SingleSelection);
    FTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTree->setUniformRowHeights(true);
    FTree->setIndentation(FIndent);
    FTree->setItemDelegate(new TTreeDelegate(this, FTree));
    QObject::connect(FTree, &QTreeWidget::itemClicked, FTree, [this](QTreeWidgetItem*, int) { Click(); });
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
    FItems->FNodes.clear();
    FItems->FTop.clear();
    delete FTree;
    FTree = nullptr;
}

QWidget* TTreeView::CreateNative(QWidget* Host) {
    FTree->setParent(Host);
    FTree->show();
    return FTree;
}

void TTreeView::DestroyWnd() {
    // The tree and its nodes outlive the window.
    if (FTree) FTree->setParent(nullptr);
    TNativeControl::DestroyWnd();
}

void TTreeView::UpdateNative() {
    FTree->setIndentation(FIndent);
}

void TTreeView::Dispatch(TMessage& Message) {
    TNativeControl::Dispatch(Message);
}

bool TTreeView::PassesKey(Word Key, const TShiftState&) const {
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
        case VK_ADD:
        case VK_SUBTRACT:
        case VK_MULTIPLY: return true;
        default: return false;
    }
}

TTreeNode* TTreeView::Selected() const {
    return NodeOf(FTree->currentItem());
}

void TTreeView::SetSelected(TTreeNode* Value) {
    const QSignalBlocker block(FTree);
    FTree->setCurrentItem(Value ? Value->FItem : nullptr);
    if (!Value) FTree->clearSelection();
    FTree->viewport()->update();
}

void TTreeView::SetIndent(int Value) {
    FIndent = Value;
    FTree->setIndentation(Value);
}

void TTreeView::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    ImagesChanged();
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TNativeControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        ImagesChanged();
    }
}

void TTreeView::ImagesChanged() {
    FIcons.clear();
    if (FImages) FTree->setIconSize(QSize(FImages->Width(), FImages->Height()));
    for (TTreeNode& node : FItems->FNodes) node.FItem->setIcon(0, NodeIcon(&node));
}

QIcon TTreeView::NodeIcon(const TTreeNode* Node) {
    if (!FImages) return QIcon();
    const int count = FImages->Count();
    auto icon = [&](int Index) -> QIcon {
        if (Index < 0 || Index >= count) return QIcon();
        if (FIcons.size() < size_t(count)) FIcons.resize(size_t(count));
        QIcon& cached = FIcons[size_t(Index)];
        if (cached.isNull()) cached = QIcon(QPixmap::fromImage(FImages->GetImage(Index)));
        return cached;
    };
    if (Node->FSelectedIndex == Node->FImageIndex || Node->FSelectedIndex < 0) return icon(Node->FImageIndex);
    QIcon both;
    const QImage normal = FImages->GetImage(Node->FImageIndex);
    if (!normal.isNull()) both.addPixmap(QPixmap::fromImage(normal), QIcon::Normal);
    const QImage selected = FImages->GetImage(Node->FSelectedIndex);
    if (!selected.isNull()) both.addPixmap(QPixmap::fromImage(selected), QIcon::Selected);
    return both;
}

TColor TTreeView::NodeTextColor(TTreeNode* Node) {
    FCanvas->Font()->Assign(Font());
    if (Node && Assigned(OnCustomDrawItem)) {
        TCustomDrawState state;
        if (Node->Selected()) state.insert(cdsSelected);
        bool defaultDraw = true;
        OnCustomDrawItem(this, Node, state, defaultDraw);
    }
    return FCanvas->Font()->Color();
}

TRect TTreeView::NodeRect(TTreeNode* Node) const {
    if (!Node) return TRect();
    const QRect r = FTree->visualItemRect(Node->FItem);
    if (r.isEmpty()) return TRect();
    const QPoint tl = FTree->viewport()->mapTo(FTree, r.topLeft());
    return TRect(tl.x(), tl.y(), tl.x() + r.width(), tl.y() + r.height());
}
