// The grid unit's start-up.
#include "AdvGridStartup.h"

#include "AdvColumnGrid.h"
#include "AdvDateTimePicker.h"
#include "AdvGridDragDrop.h"
#include "AdvRichEdit.h"
#include "Clipbrd.h"
#include "ComponentStreaming.h"
#include "EditLinks.h"
#include "GridCellEditors.h"
#include "GridDropDowns.h"
#include "GridFilterDropDown.h"
#include "GridFooterPanel.h"
#include "GridSearchPanel.h"

namespace {

TGridUnitState GState;
int GGridStartCount = 0;
int GColumnGridStartCount = 0;

} // namespace

const TGridUnitState& GridUnitState() {
    return GState;
}

void AdvGridUnitStartup() {
    if (GGridStartCount++ != 0) return;
    ++GState.GridStartups;
    GridOleInit();
    // The grid showing a focus window starts as none: the focus frame keeps it.
    // The window-procedure hook is the platform's window-move notice: after every move or resize
    // of a window of the application, the grid showing a focus window places it again.
    InstallCallWndProcHook();
    try {
        RegisterClass<TAdvStringGrid>(QStringLiteral("TAdvStringGrid"));
        RegisterClass<TDropList>(QStringLiteral("TDropList"));
        RegisterClass(QStringLiteral("TArrowWindow"), [](TPersistent* Owner) -> TPersistent* {
            return new TArrowWindow(dynamic_cast<TComponent*>(Owner), arrDown);
        });
        RegisterClass<TGridCombo>(QStringLiteral("TGridCombo"));
        RegisterClass<TGridSpin>(QStringLiteral("TGridSpin"));
        RegisterClass<TGridTransEdit>(QStringLiteral("TGridTransEdit"));
        RegisterClass<TGridTransCombo>(QStringLiteral("TGridTransCombo"));
        RegisterClass<TGridCheckBox>(QStringLiteral("TGridCheckBox"));
        RegisterClass<TGridEditBtn>(QStringLiteral("TGridEditBtn"));
        RegisterClass<TGridDateTimePicker>(QStringLiteral("TGridDateTimePicker"));
        RegisterClass<TGridUnitEditBtn>(QStringLiteral("TGridUnitEditBtn"));
        RegisterClass<TGridTrackbarDropDown>(QStringLiteral("TGridTrackbarDropDown"));
        RegisterClass<TGridMemoDropDown>(QStringLiteral("TGridMemoDropDown"));
        RegisterClass<TGridCalculatorDropDown>(QStringLiteral("TGridCalculatorDropDown"));
        RegisterClass<TGridTimepickerDropDown>(QStringLiteral("TGridTimepickerDropDown"));
        RegisterClass<TGridDetailPickerDropDown>(QStringLiteral("TGridDetailPickerDropDown"));
        RegisterClass<TGridGridDropDown>(QStringLiteral("TGridGridDropDown"));
        RegisterClass<TGridColorDropDown>(QStringLiteral("TGridColorDropDown"));
        RegisterClass<TGridImageDropDown>(QStringLiteral("TGridImageDropDown"));
        RegisterClass<TGridButton>(QStringLiteral("TGridButton"));
        RegisterClass<TGridDatePicker>(QStringLiteral("TGridDatePicker"));
        RegisterClass<THeaderDragButton>(QStringLiteral("THeaderDragButton"));
        RegisterClass<TControlEdit>(QStringLiteral("TControlEdit"));
        RegisterClass<TControlCombo>(QStringLiteral("TControlCombo"));
        RegisterClass<TScrollBar>(QStringLiteral("TScrollBar"));
        RegisterClass<TAdvRichEdit>(QStringLiteral("TAdvRichEdit"));
        RegisterClass<TFooterPanel>(QStringLiteral("TFooterPanel"));
        RegisterClass<TSearchPanel>(QStringLiteral("TSearchPanel"));
    } catch (const Exception&) {
        // A class registered already ends the step, as on the platform.
    }
    GState.ComCtrlOk = TAdvStringGrid::DateTimePickersAvailable();
    GState.CF_GRIDCELLS = RegisterClipboardFormat(QStringLiteral("TAdvStringGrid Cells"));
    GState.GridEditDoneMessage = TAdvStringGrid::GridEditDoneMessage();
    GState.DTPShiftFocusMessage = DTPShiftFocusMessage();
}

void AdvColumnGridUnitStartup() {
    if (GColumnGridStartCount++ != 0) return;
    ++GState.ColumnGridStartups;
    try {
        RegisterClass<TAdvColumnGrid>(QStringLiteral("TAdvColumnGrid"));
        // An item is made through its collection's item class (with the collection's own steps).
        RegisterClass(QStringLiteral("TGridColumnItem"), [](TPersistent* Owner) -> TPersistent* {
            auto* columns = dynamic_cast<TCollection*>(Owner);
            return columns ? columns->Add() : new TGridColumnItem(nullptr);
        });
        RegisterClass(QStringLiteral("TGridColumnCollection"), [](TPersistent* Owner) -> TPersistent* {
            return new TGridColumnCollection(dynamic_cast<TAdvColumnGrid*>(Owner));
        });
    } catch (const Exception&) {
    }
}
