// Shared main of the test programs: headless Qt with real fonts and painting, and the class
// library's application around it.
#include "Forms.h"
#include "Menus.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    Application->Initialize();
    // An exception that leaves an event handler would show a modal error box; in tests it is a
    // failure of the running test instead (tests that expect one install their own handler).
    Application->OnException = [](TObject*, Exception& E) {
        ADD_FAILURE() << "Exception left an event handler: " << E.what();
    };
    // Popup menus record where they were asked to appear instead of opening.
    TPopupMenu::PopupHook = [](TPopupMenu*, int, int) {};
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    TApplication::Shutdown();
    return result;
}
