// The tree view: nodes made before and after its window, selection, clicks, pictures.
#include "Forms.h"
#include "ImgList.h"
#include "TreeClick.h"
#include "TreeView.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

TEST(TreeViewTest, NodesLiveWithTheControlAndClicksComeFromTheUser) {
    TForm form(nullptr);
    form.SetClientSize(300, 300);
    auto* tree = new TTreeView(&form);
    int clicks = 0;
    tree->OnClick = [&](TObject*) { ++clicks; };
    // Nodes made before the control has a window.
    TTreeNode* root = tree->Items()->AddChild(nullptr, "root");
    TTreeNode* a = tree->Items()->AddChild(root, "a");
    TTreeNode* b = tree->Items()->Add(a, "b");
    EXPECT_EQ(root->Count(), 2);
    EXPECT_EQ(b->Parent(), root);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(b->Level(), 1);
    EXPECT_EQ(tree->Items()->Count(), 3);
    EXPECT_EQ(tree->Items()->TopCount(), 1);

    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 300);
    form.Show();
    auto* qt = qobject_cast<QTreeWidget*>(tree->NativeWidget());
    ASSERT_NE(qt, nullptr);
    ASSERT_EQ(qt->topLevelItemCount(), 1);
    EXPECT_EQ(qt->topLevelItem(0)->child(1)->text(0), "b");

    // Setting the selection is no click.
    root->Expand(false);
    tree->SetSelected(a);
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_TRUE(a->Selected());
    EXPECT_EQ(clicks, 0);
    // A mouse click on b selects it and fires OnClick.
    ASSERT_TRUE(ClickTreeNode(tree, b));
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(clicks, 1);

    // Pictures come from the image list; the text colour from the custom-draw event.
    TImageList images(nullptr, 16, 16);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    TBitmap bmp;
    bmp.SetImage(red);
    images.AddMasked(&bmp, clNone);
    tree->SetImages(&images);
    a->SetImageIndex(0);
    EXPECT_FALSE(qt->topLevelItem(0)->child(0)->icon(0).isNull());
    EXPECT_TRUE(qt->topLevelItem(0)->icon(0).isNull());
    tree->OnCustomDrawItem = [&](TTreeView* Sender, TTreeNode* Node, TCustomDrawState, bool&) {
        if (Node == b) Sender->Canvas()->Font()->SetColor(clGreen);
    };
    EXPECT_EQ(tree->NodeTextColor(b), clGreen);
    EXPECT_EQ(tree->NodeTextColor(a), tree->Font()->Color());
    tree->SetImages(nullptr);

    tree->Items()->Clear();
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(qt->topLevelItemCount(), 0);
}
