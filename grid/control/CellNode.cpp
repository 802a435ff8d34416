// The tree rows' look settings.
#include "CellNode.h"

TCellNode::TCellNode(TGridSettingsHost* AGrid)
    : FGrid(AGrid), FExpandGlyph(new TBitmap()), FContractGlyph(new TBitmap()) {}

TCellNode::~TCellNode() = default;

void TCellNode::Changed() {
    if (FGrid) FGrid->SettingsRepaintGrid();
}

void TCellNode::SetNodeType(TNodeType Value) {
    if (FNodeType == Value) return;
    FNodeType = Value;
    Changed();
}

void TCellNode::SetShowTree(bool Value) {
    if (FShowTree == Value) return;
    FShowTree = Value;
    Changed();
}

void TCellNode::SetShowTreeFull(bool Value) {
    if (FShowTreeFull == Value) return;
    FShowTreeFull = Value;
    Changed();
}

void TCellNode::SetNodeIndent(int Value) {
    if (FNodeIndent == Value) return;
    FNodeIndent = Value;
    Changed();
}

void TCellNode::SetTreeColor(TColor Value) {
    if (FTreeColor == Value) return;
    FTreeColor = Value;
    Changed();
}

void TCellNode::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TCellNode*>(Source);
    if (!src) return;
    FColor = src->FColor;
    FNodeType = src->FNodeType;
    FNodeColor = src->FNodeColor;
    FExpandGlyph->Assign(src->FExpandGlyph.get());
    ExpandOne = src->ExpandOne;
    FContractGlyph->Assign(src->FContractGlyph.get());
    FShowTree = src->FShowTree;
    FShowTreeFull = src->FShowTreeFull;
    FNodeIndent = src->FNodeIndent;
    FTreeColor = src->FTreeColor;
}
