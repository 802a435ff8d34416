// Event types of the grid's mouse-button handling: clicks on cells, links, markup controls, radio
// groups, tree nodes, the selection grip and the fixed-cell editors. As with the grid's other
// events the first argument is the sender and the order of row and column is part of the type.
#pragma once

#include "Grids.h"
#include "GridTypes.h"

class TStringList;

using TCanClickCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, bool& /*Allow*/>;
using TAnchorClickEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*Anchor*/, bool& /*AutoHandle*/>;
using TControlEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*CtrlID*/,
                             const String& /*CtrlType*/, const String& /*CtrlVal*/>;
using TControlComboListEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*CtrlID*/, const String& /*CtrlType*/,
           const String& /*CtrlVal*/, TStringList* /*Values*/, bool& /*Edit*/, int& /*DropCount*/>;
using TControlComboSelectEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, int /*ItemIndex*/,
                                        const String& /*CtrlID*/, const String& /*CtrlValue*/>;
using TRadioClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*AIdx*/>;
using TRadioButtonClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/>;
using TCheckBoxMouseUpEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool /*State*/>;
using TNodeAllowEvent = TEvent<TObject*, int /*ARow*/, int /*ARowReal*/, bool& /*Allow*/>;
using TNodeClickEvent = TEvent<TObject*, int /*ARow*/, int /*ARowReal*/>;
using TRowChangingEvent = TEvent<TObject*, int /*OldRow*/, int /*NewRow*/, bool& /*Allow*/>;
using TColChangingEvent = TEvent<TObject*, int /*OldCol*/, int /*NewCol*/, bool& /*Allow*/>;
using TCellChangingEvent =
    TEvent<TObject*, int /*OldRow*/, int /*OldCol*/, int /*NewRow*/, int /*NewCol*/, bool& /*Allow*/>;
using TSelectionResizeEvent =
    TEvent<TObject*, const TGridRect& /*OrigSelection*/, const TGridRect& /*NewSelection*/>;
using TFixedEditEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TGridFixedCellEditor& /*AEditor*/, TStrings* /*Values*/>;
