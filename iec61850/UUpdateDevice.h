// The main window's step "Update Device UDP": builds the open project's configuration images
// and opens the device-update window in its Ethernet form.
#pragma once

// Runs Compile_Bin and Save_Bin (an error of the build is raised to the caller and the window
// is not shown), then sets the device-update window's Form_Type to 1 and shows it modally. The
// window is the one the main block created (FBoot); when none exists yet, one is created, owned
// by the application.
void Update_Device();
