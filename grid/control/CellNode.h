// The look of the grid's tree rows (TCellNode, the grid's CellNode): the expand glyph's style and
// colours, the glyphs of the glyph style, the indent per node level, the tree lines, and whether
// expanding one node collapses the others.
#pragma once

#include "Graphics.h"
#include "GridSettingsHost.h"

#include <memory>

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent {
public:
    // The grid is repainted when a setting that shows changes (nullptr: nobody is told).
    explicit TCellNode(TGridSettingsHost* AGrid);
    ~TCellNode() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor Value) { FNodeColor = Value; }
    // The glyphs of cnGlyph (owned; setting copies the bitmap).
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap* Value) { FExpandGlyph->Assign(Value); }
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap* Value) { FContractGlyph->Assign(Value); }
    // Expanding a node first collapses every other expanded node.
    bool ExpandOne = false;
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    // Pixels per node level.
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);

    // From another TCellNode every setting, the glyphs by copy; from anything else nothing.
    void Assign(TPersistent* Source) override;

private:
    void Changed();

    struct TFreeBitmap {
        void operator()(TBitmap* B) const { TObject::Free(B); }
    };

    TGridSettingsHost* FGrid;
    TColor FColor = 0xC0C0C0;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = 0;
    std::unique_ptr<TBitmap, TFreeBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap, TFreeBitmap> FContractGlyph;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = 0x808080;
};
