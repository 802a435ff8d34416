// The configurator's main block: the application, every window of the system created once (the
// main window first, so that the texts, program folders, settings and language are in place
// before the other windows read them), then the message loop until the main window closes.
#include "Forms.h"
#include "UAbout.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "USoftOptions.h"
#include "UVelmoraeFirmWare.h"

int main(int argc, char** argv) {
    TApplication::Create(argc, argv);
    Application->Initialize();
    Application->MainFormOnTaskbar = true;
    Application->CreateForm(FVelmoraeFirmWare);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->Run();
    TApplication::Shutdown();
    return 0;
}
