// The configurator's main block: the application, every window of the system created once (the
// main window first, so that the texts, program folders, settings and language are in place
// before the other windows read them), then the message loop until the main window closes.
#include "AdvGridStartup.h"
#include "Forms.h"
#include "Graphics.h"
#include "Resources.h"
#include "StartupProbe.h"
#include "UAbout.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_Eng_Unit.h"
#include "UBoot.h"
#include "UIEC_61850_Access.h"
#include "UKNXAccess.h"
#include "UMQTT_Set_Topic.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfinetFileName.h"
#include "UReceiveCAN.h"
#include "USNMP_Trap_Access.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "UTopicTemplate.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "USoftOptions.h"
#include "UVelmoraeFirmWare.h"

// The font configuration, the longest single piece of the start, begins loading on its own thread
// before the static initialisation of the program (the built-in texts are parsed there), not
// only when the application object is made.
__attribute__((constructor(101))) static void StartFontConfigurationEarly() {
    StartFontConfiguration();
}

int main(int argc, char** argv) {
    TApplication::Create(argc, argv);
    Application->Initialize();
    Application->MainFormOnTaskbar = true;
    // The windows' pictures are decoded on a thread of their own while the windows are made.
    StartResourceImagePreload();
    // The grid unit's process-wide state, before the first window that holds a grid.
    AdvGridUnitStartup();
    AdvColumnGridUnitStartup();
    Application->CreateForm(FVelmoraeFirmWare);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->CreateForm(FParGen);
    Application->CreateForm(FIEC_61850_Access);
    Application->CreateForm(FBoot);
    // The field-protocol windows join here, in the order of the system's windows: the BACnet,
    // CAN, CANopen, J1939, NMEA 2000 and KNX windows before the PROFINET file-name dialog, the
    // SNMP and MQTT windows after it.
    Application->CreateForm(FBACnet_Eng_Unit);
    Application->CreateForm(FBACnetSlaveSetAccess);
    Application->CreateForm(FReceiveCAN);
    Application->CreateForm(FTransmitCAN);
    Application->CreateForm(FSet_PDO_Access);
    Application->CreateForm(FSet_SDO_Client_Access);
    Application->CreateForm(FSet_SDO_Server_Access);
    Application->CreateForm(FReceiveJ1939);
    Application->CreateForm(FTransmitJ1939);
    Application->CreateForm(FReceiveNMEA);
    Application->CreateForm(FTransmitNMEA);
    Application->CreateForm(FKNXAccess);
    Application->CreateForm(FProfinetFileName);
    Application->CreateForm(FSNMP_Trap_Access);
    Application->CreateForm(FMQTT_Set_Topic);
    Application->CreateForm(FTopicTemplate);
    // scripts/startup_bench.sh: with VELMORA_STARTUP_PROBE set, quit at the first idle after the
    // main window's first paint and print the time it took.
    InstallStartupProbe([] { Application->Terminate(); });
    Application->Run();
    TApplication::Shutdown();
    return 0;
}
