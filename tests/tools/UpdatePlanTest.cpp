// The update program's stand-in: the checks of its parameter file, what it says it would send,
// the files the configurator writes, and the program itself run from a folder of its own.
#include "Update_Plan.h"

#include "UEthernet_Update.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class UpdatePlan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        Image("fw.sim", 4096);
        Image("bank1.bin", 2048);
        Image("bank2.bin", 300);
    }
    QString Path(const QString& Name) const { return FDir.filePath(Name); }
    void Image(const QString& Name, int Size) const {
        QFile f(Path(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(Size, '\x5A'));
    }
    void WriteFile(const QString& Name, const QByteArray& Bytes) const {
        QFile f(Path(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
    }
    // A parameter file as the configurator writes it, for "Firmware + Configuration".
    QByteArray Valid() const {
        TEthernet_Update_Parameters p;
        p.IP_Address = "192.168.2.205";
        p.Option = uoFirmware_Configuration;
        p.Read_Back = true;
        p.Firmware_File = Path("fw.sim");
        p.Bank1_File = Path("bank1.bin");
        p.Bank2_File = Path("bank2.bin");
        Write_Ethernet_Update_File(Path("valid.xml"), p);
        QFile f(Path("valid.xml"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(UpdatePlan, ConfiguratorsFileForEachOptionIsAccepted) {
    const struct {
        int Option;
        bool Read_Back;
        QStringList Files;
    } cases[] = {
        {uoFirmware_Configuration, true, {"fw.sim", "bank1.bin", "bank2.bin"}},
        {uoFirmware, false, {"fw.sim"}},
        {uoConfiguration, false, {"bank1.bin", "bank2.bin"}},
    };
    for (const auto& c : cases) {
        TEthernet_Update_Parameters p;
        p.IP_Address = "10.0.0.7";
        p.Option = c.Option;
        p.Read_Back = c.Read_Back;
        p.Firmware_File = Path("fw.sim");
        p.Bank1_File = Path("bank1.bin");
        p.Bank2_File = Path("bank2.bin");
        Write_Ethernet_Update_File(Path("Ethernet_Update.xml"), p);
        TUpdate_Plan plan;
        QString error;
        ASSERT_TRUE(Read_Update_Plan(Path("Ethernet_Update.xml"), plan, error)) << error.toStdString();
        EXPECT_EQ(plan.Address, "10.0.0.7");
        EXPECT_EQ(plan.Title, "Ostrel - CF40210 Ethernet Update");
        EXPECT_EQ(plan.Boot_Port, 2008);
        ASSERT_EQ(plan.Steps.size(), c.Files.size());
        for (int i = 0; i < plan.Steps.size(); ++i) {
            EXPECT_EQ(plan.Steps[i].File, Path(c.Files[i]));
            EXPECT_EQ(plan.Steps[i].Read_Back, c.Read_Back);
            EXPECT_EQ(plan.Steps[i].Go_To_App_After, i == plan.Steps.size() - 1);
            EXPECT_EQ(plan.Steps[i].Address, "10.0.0.7");
        }
    }
}

TEST_F(UpdatePlan, SaysWhatItWouldSendWhere) {
    WriteFile("Ethernet_Update.xml", Valid());
    QStringList out, err;
    EXPECT_EQ(Run_Update(Path("Ethernet_Update.xml"), out, err), 0);
    EXPECT_TRUE(err.isEmpty());
    const QStringList expected = {
        "Ostrel - CF40210 Ethernet Update",
        "Operation 1: would send " + Path("fw.sim") +
            " (4096 bytes) to 192.168.2.205:2008 (secondary port 2007), firmware at 0x08000, bank 1, read "
            "back on",
        "Operation 2: would send " + Path("bank1.bin") +
            " (2048 bytes) to 192.168.2.205:2008 (secondary port 2007), parameter block at 0x07000, bank 2, "
            "read back on",
        "Operation 3: would send " + Path("bank2.bin") +
            " (300 bytes) to 192.168.2.205:2008 (secondary port 2007), IEC 61850 client image at 0x80000, "
            "bank 2, read back on",
        "Then would start the application of 192.168.2.205 (application port 10000)",
    };
    EXPECT_EQ(out, expected);
}

TEST_F(UpdatePlan, EachFaultIsNamed) {
    const QByteArray valid = Valid();
    const auto replace = [&](const char* From, const char* To) {
        QByteArray b = valid;
        EXPECT_TRUE(b.contains(From)) << From;
        return b.replace(From, To);
    };
    const struct {
        QByteArray File;
        const char* Error;
    } cases[] = {
        {"<Ethernet_Update><Version>1000", "cannot be read"},
        {replace("<Ethernet_Update>", "<Update>").replace("</Ethernet_Update>", "</Update>"),
         "root element is \"Update\""},
        {replace("<Version>1000<", "<Version>1001<"), "version \"1001\""},
        {replace("<IP_Address_Dev>192.168.2.205<", "<IP_Address_Dev>192.168.2<"),
         "IP_Address_Dev \"192.168.2\""},
        {replace("<IP_Address_Dev>192.168.2.205<", "<IP_Address_Dev>192.168.2.256<"), "IP_Address_Dev"},
        {replace("<IP_Address_Dev>192.168.2.205<", "<IP_Address_Dev>0x1.2.3.4<"), "IP_Address_Dev"},
        {replace("<Boot_Port>2008<", "<Boot_Port>70000<"), "Boot_Port \"70000\""},
        {replace("<Operations>", "<Nothing>").replace("</Operations>", "</Nothing>"), "no operation"},
        {replace("fw.sim", "gone.sim"), "Operation 1: the image file"},
        {replace("bank2.bin", "empty.bin"), "Operation 3: the image file"},
        {replace("bank1.bin", "big1.bin"), "Operation 2: the image \""},
        {replace("<Ope_Start_Address>0x8000<", "<Ope_Start_Address>0x9000<"),
         "no memory area of the converter starts at 0x9000"},
        {replace("<Ope_Start_Address>0x07000<", "<Ope_Start_Address>7000<"),
         "Operation 2: Ope_Start_Address \"7000\""},
        {replace("<Ope_Bank_Type>1<", "<Ope_Bank_Type>2<"), "Operation 1: Ope_Bank_Type"},
        {replace("<Ope_Read_Back>1<", "<Ope_Read_Back>yes<"), "Operation 1: Ope_Read_Back \"yes\""},
    };
    Image("empty.bin", 0);
    Image("big1.bin", 2049);
    for (const auto& c : cases) {
        WriteFile("Ethernet_Update.xml", c.File);
        QStringList out, err;
        EXPECT_EQ(Run_Update(Path("Ethernet_Update.xml"), out, err), 1) << c.Error;
        ASSERT_EQ(err.size(), 1) << c.Error;
        EXPECT_TRUE(err[0].contains(c.Error)) << err[0].toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    QStringList out, err;
    EXPECT_EQ(Run_Update(Path("none.xml"), out, err), 1);
    EXPECT_TRUE(err.value(0).contains("does not exist"));
}

// The program itself, copied into a folder of its own: it reads the file beside it.
TEST_F(UpdatePlan, ProgramReadsTheFileBesideItAndAnswersWithItsExitCode) {
    const QString built = QDir(QCoreApplication::applicationDirPath()).filePath("Ethernet_Update");
    ASSERT_TRUE(QFile::exists(built));
    ASSERT_TRUE(QFile::copy(built, Path("Ethernet_Update")));
    QFile(Path("Ethernet_Update")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const auto run = [&](QByteArray& Out, QByteArray& Err) {
        QProcess p;
        p.setWorkingDirectory(QDir::rootPath()); // the file is found beside the program, not here
        p.start(Path("Ethernet_Update"), {});
        EXPECT_TRUE(p.waitForFinished(60000));
        Out = p.readAllStandardOutput();
        Err = p.readAllStandardError();
        return p.exitCode();
    };
    QByteArray out, err;
    EXPECT_EQ(run(out, err), 1);
    EXPECT_TRUE(err.contains("Ethernet_Update.xml")) << err.constData();

    WriteFile("Ethernet_Update.xml", Valid());
    EXPECT_EQ(run(out, err), 0) << err.constData();
    EXPECT_TRUE(out.startsWith("Ostrel - CF40210 Ethernet Update\n"));
    EXPECT_TRUE(out.contains("to 192.168.2.205:2008")) << out.constData();

    QFile::remove(Path("bank2.bin"));
    EXPECT_EQ(run(out, err), 1);
    EXPECT_TRUE(err.contains("Operation 3: the image file")) << err.constData();
}
