// A fixture with the configurator's windows created over a program folder of the test's own;
// message dialogs and opened links are recorded instead of shown.
#pragma once

#include "AdvGridStartup.h"
#include "Dialogs.h"
#include "ShellApi.h"
#include "ShellFixture.h"
#include "UAbout.h"
#include "UBoot.h"
#include "UIEC_61850_Access.h"
#include "UMQTT_Set_Topic.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfinetFileName.h"
#include "UReceiveCAN.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "USNMP_Trap_Access.h"
#include "UTopicTemplate.h"
#include "UTransmitCAN.h"
#include "USoftOptions.h"
#include "UVelmoraeFirmWare.h"

#include <functional>
#include <vector>

class WindowsTest : public ShellFolderTest {
protected:
    void SetUp() override {
        ShellFolderTest::SetUp();
        FOldDlg = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return R.DlgType == mtConfirmation ? Answer : mrOk;
        });
        FOldOpen = SetOpenDocumentHook([this](const String& File) {
            Opened << File;
            return true;
        });
    }
    void TearDown() override {
        FreeAndNil(FTopicTemplate);
        FreeAndNil(FMQTT_Set_Topic);
        FreeAndNil(FSNMP_Trap_Access);
        FreeAndNil(FProfinetFileName);
        FreeAndNil(FSet_SDO_Server_Access);
        FreeAndNil(FSet_SDO_Client_Access);
        FreeAndNil(FSet_PDO_Access);
        FreeAndNil(FTransmitCAN);
        FreeAndNil(FReceiveCAN);
        FreeAndNil(FBoot);
        FreeAndNil(FIEC_61850_Access);
        FreeAndNil(FParGen);
        FreeAndNil(FSoftOptions);
        FreeAndNil(FAbout);
        FreeAndNil(FOpenConf);
        FreeAndNil(FNew_Project);
        FreeAndNil(FVelmoraeFirmWare);
        SetMessageDlgHook(FOldDlg);
        SetOpenDocumentHook(FOldOpen);
        ShellFolderTest::TearDown();
    }

    // Creates the windows in the main block's order.
    void Start() {
        AdvGridUnitStartup();
        AdvColumnGridUnitStartup();
        FVelmoraeFirmWare = new TFVelmoraeFirmWare(nullptr);
        FNew_Project = new TFNew_Project(nullptr);
        FOpenConf = new TFOpenConf(nullptr);
        FAbout = new TFAbout(nullptr);
        FSoftOptions = new TFSoftOptions(nullptr);
        FParGen = new TFParGen(nullptr);
        FIEC_61850_Access = new TFIEC_61850_Access(nullptr);
        FBoot = new TFBoot(nullptr);
        FReceiveCAN = new TFReceiveCAN(nullptr);
        FTransmitCAN = new TFTransmitCAN(nullptr);
        FSet_PDO_Access = new TFSet_PDO_Access(nullptr);
        FSet_SDO_Client_Access = new TFSet_SDO_Client_Access(nullptr);
        FSet_SDO_Server_Access = new TFSet_SDO_Server_Access(nullptr);
        FProfinetFileName = new TFProfinetFileName(nullptr);
        FSNMP_Trap_Access = new TFSNMP_Trap_Access(nullptr);
        FMQTT_Set_Topic = new TFMQTT_Set_Topic(nullptr);
        FTopicTemplate = new TFTopicTemplate(nullptr);
    }
    TFVelmoraeFirmWare* Main() const { return FVelmoraeFirmWare; }

    // Clicks Button; Then runs once the modal window the click opens is up (it must close it).
    void ClickThen(TLbButton* Button, std::function<void()> Then = {}) {
        if (Then) PostCall(std::move(Then));
        Button->Click();
    }
    // The texts of the messages shown so far.
    QStringList Shown() const {
        QStringList texts;
        for (const auto& m : Messages) texts << m.Msg;
        return texts;
    }

    std::vector<TMessageDlgRequest> Messages;
    int Answer = mrYes;
    QStringList Opened;

private:
    TMessageDlgHook FOldDlg;
    TOpenDocumentHook FOldOpen;
};
