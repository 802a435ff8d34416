// What the grid's settings objects ask of the grid that owns them. The string grid implements
// this interface and hands itself to the objects it creates; a settings object made without a
// host (nullptr) keeps its values and tells nobody.
//
// The names start with "Settings" so that none of them overrides a member of the grid by
// accident.
#pragma once

#include "GridTypes.h"

// The grid's fixed-cell gradient colours that ControlLook passes on.
enum TFixedGradientColor {
    fgFrom,
    fgTo,
    fgMirrorFrom,
    fgMirrorTo,
    fgHoverFrom,
    fgHoverTo,
    fgHoverMirrorFrom,
    fgHoverMirrorTo,
    fgHoverBorder,
    fgDownFrom,
    fgDownTo,
    fgDownMirrorFrom,
    fgDownMirrorTo,
    fgDownBorder
};

class TGridSettingsHost {
public:
    virtual ~TGridSettingsHost() = default;

    // The grid as the persistent owner of its settings (the filter collection, the drop-down
    // header and footer).
    virtual TPersistent* SettingsOwner() = 0;
    virtual int SettingsFixedRows() const = 0;
    virtual bool SettingsDesigning() const = 0;

    // Repaints.
    virtual void SettingsRepaintGrid() = 0;
    virtual void SettingsRepaintRow(int ARow) = 0;
    virtual void SettingsRepaintCell(int ACol, int ARow) = 0;

    // Sorting: the multi-column key list, a sort by SortSettings' column and direction, a sort by
    // the key list.
    virtual TSortIndexList* SettingsSortIndexes() = 0;
    virtual void SettingsSort() = 0;
    virtual void SettingsSortIndexed() = 0;

    // The grid's KitGradient value of that name.
    virtual void SettingsKitGradient(TFixedGradientColor Which, TColor Value) = 0;

    // Drag and drop: register the grid's window as a drop target (true) or revoke a registration
    // that succeeded (false); the RTF flag of the drag-and-drop unit.
    virtual void SettingsOleDropTarget(bool Active) = 0;
    virtual void SettingsRTFDragDrop(bool Active) = 0;

    // Floating footer: the grid's FixedFooters and its hide-last-row flag; the footer panel
    // (which may not exist: then these do nothing and SettingsFooterPanelExists answers false).
    virtual void SettingsFooterRows(int FixedFooters, bool HideLastRow) = 0;
    virtual void SettingsHideLastRow(bool HideLastRow) = 0;
    virtual bool SettingsFooterPanelExists() const = 0;
    virtual void SettingsFooterPanelHeight(int Height) = 0;
    virtual void SettingsFooterPanelVisible(bool Visible) = 0;
    virtual void SettingsFooterPanelShowHint(bool ShowHint) = 0;
    virtual void SettingsRepaintFooterPanel() = 0;
};
