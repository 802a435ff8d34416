// A left click on a tree-view node through Qt, as the mouse gives it: the node is scrolled into
// view, then a press and a release go to the Qt tree's viewport at the node's centre.
#pragma once

#include "TreeView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTreeWidget>

inline bool ClickTreeNode(TTreeView* Tree, TTreeNode* Node) {
    auto* qt = qobject_cast<QTreeWidget*>(Tree->NativeWidget());
    if (!qt || !Node) return false;
    Node->MakeVisible();
    QApplication::processEvents();
    const TRect r = Tree->NodeRect(Node);
    if (r.IsEmpty()) return false;
    const QPoint at = qt->viewport()->mapFrom(qt, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(at), qt->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(qt->viewport(), &e);
    }
    return true;
}
