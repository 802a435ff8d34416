// What the update program makes of its parameter file Ethernet_Update.xml: the converter's
// address and ports and the images to load, each checked against the converter's memory map.
//
// The transfer itself (the boot protocol over UDP) is not done here: this program stands in for
// the real update program, checks everything the configurator hands over and says what it would
// send where.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One image to load.
struct TUpdate_Step {
    QString File;
    qint64 Size = 0;
    quint32 Start_Address = 0;
    quint32 Area_Size = 0; // room of the memory area that starts there
    QString Area;          // its name
    int Bank_Type = 0;
    QString Address; // where it goes
    int Port = 0;
    int Port_Sec = 0;
    bool Read_Back = false;
    bool Go_To_App_After = false;
};

struct TUpdate_Plan {
    QString Title;
    QString Address;
    int Application_Port = 0;
    int Boot_Port = 0;
    int Boot_Port_Sec = 0;
    QList<TUpdate_Step> Steps;
};

// Reads and checks the parameter file. False with Error naming the first thing that is wrong:
// the file (missing, not XML), the root, the version, the address, a port, or an operation
// (its file missing or empty, its start address outside the memory map, its size larger than
// the area it goes to, its bank type, its flags).
bool Read_Update_Plan(const QString& FileName, TUpdate_Plan& Plan, QString& Error);

// One line per image and a last line when the converter is sent back to its application.
QStringList Describe_Update_Plan(const TUpdate_Plan& Plan);

// The program: reads FileName, prints the plan to Out and answers 0, or prints the error to Err
// and answers 1.
int Run_Update(const QString& FileName, QStringList& Out, QStringList& Err);
