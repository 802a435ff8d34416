#include "UUpdateDevice.h"

#include "UBoot.h"
#include "UCompile_Bin.h"

void Update_Device() {
    Compile_Bin();
    Save_Bin();
    // Owned by the application, not made its main form.
    if (!FBoot) FBoot = new TFBoot(Application);
    FBoot->Form_Type = 1;
    FBoot->ShowModal();
}
