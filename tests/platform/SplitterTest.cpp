// The splitter sizes the control it is aligned after, within the minimum sizes on both sides.
#include "ExtPanels.h"
#include "Forms.h"
#include "Splitter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(Splitter, DraggingSizesTheControlBeforeIt) {
    auto* form = new TForm(nullptr);
    ScopeGuard free([&] { TObject::Free(form); });
    form->Show();
    form->SetClientSize(400, 300);
    ASSERT_EQ(form->ClientHeight(), 300);
    const struct {
        TAlign Align;
        int Drag;     // mouse movement along the splitter's axis
        int Expected; // the sized control's size afterwards
    } cases[] = {
        {alBottom, -40, 140},           // up: the bottom panel grows
        {alBottom, 60, 40},             // down: it shrinks
        {alBottom, 500, 30},            // not below MinSize
        {alBottom, -500, 300 - 3 - 30}, // the client part keeps MinSize
        {alLeft, 50, 150},
        {alLeft, -500, 30},
        {alTop, 25, 125},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Align);
        auto* panel = new TPanel(form);
        auto* splitter = new TSplitter(form);
        auto* rest = new TPanel(form);
        ScopeGuard freeControls([&] {
            TObject::Free(rest);
            TObject::Free(splitter);
            TObject::Free(panel);
        });
        const bool vertical = c.Align == alLeft;
        panel->SetParent(form);
        if (c.Align == alBottom) panel->SetBounds(0, 200, 400, 100);
        if (c.Align == alTop) panel->SetBounds(0, 0, 400, 100);
        if (c.Align == alLeft) panel->SetBounds(0, 0, 100, 300);
        panel->SetAlign(c.Align);
        splitter->SetParent(form);
        splitter->SetAlign(c.Align);
        if (c.Align == alBottom) splitter->SetBounds(0, 197, 400, 3);
        if (c.Align == alTop) splitter->SetBounds(0, 100, 400, 3);
        if (c.Align == alLeft) splitter->SetBounds(100, 0, 3, 300);
        rest->SetParent(form);
        rest->SetAlign(alClient);
        form->Show();
        ASSERT_EQ(splitter->ResizeControl(), panel);

        int moved = 0;
        splitter->OnMoved = [&](TObject*) { ++moved; };
        const int x = vertical ? 1 : 10, y = vertical ? 10 : 1;
        SimulateMouseDown(splitter, mbLeft, {ssLeft}, x, y);
        SimulateMouseMove(splitter, {ssLeft}, x + (vertical ? c.Drag : 0), y + (vertical ? 0 : c.Drag));
        SimulateMouseUp(splitter, mbLeft, {}, x + (vertical ? c.Drag : 0), y + (vertical ? 0 : c.Drag));
        EXPECT_EQ(vertical ? panel->Width() : panel->Height(), c.Expected);
        EXPECT_EQ(moved, 1);
        // The splitter stays against the control it sized.
        const int gap = c.Align == alBottom ? panel->Top() - (splitter->Top() + splitter->Height())
                        : c.Align == alTop  ? splitter->Top() - (panel->Top() + panel->Height())
                                            : splitter->Left() - (panel->Left() + panel->Width());
        EXPECT_EQ(gap, 0);
    }
}
