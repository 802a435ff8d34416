// Stand-ins of the platform: a debug build warns once per process on the first use of each entry
// point that has no effect here; a release build stays silent.
#include "Graphics.h"
#include "StdCtrls.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

namespace {

QStringList* Captured = nullptr;

void Capture(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Captured && Type == QtWarningMsg) Captured->append(Message);
}

// Collects the warnings issued while it lives.
class StandInWarnings : public ::testing::Test {
protected:
    void SetUp() override {
        Captured = &Warnings;
        FPrevious = qInstallMessageHandler(Capture);
    }
    void TearDown() override {
        qInstallMessageHandler(FPrevious);
        Captured = nullptr;
    }
    // The warnings that name Name.
    int WarningsNaming(const char* Name) const {
        int n = 0;
        for (const QString& w : Warnings) n += w.contains(QLatin1String(Name));
        return n;
    }

    QStringList Warnings;

private:
    QtMessageHandler FPrevious = nullptr;
};

TEST_F(StandInWarnings, OncePerProcessAndName) {
    PlatformStandIn("StandInTest::First");
    PlatformStandIn("StandInTest::First");
    PlatformStandIn("StandInTest::Second");
    PlatformStandIn("StandInTest::First");
#ifdef NDEBUG
    EXPECT_TRUE(Warnings.isEmpty()) << Warnings.join(u'\n').toStdString();
#else
    EXPECT_EQ(Warnings.size(), 2) << Warnings.join(u'\n').toStdString();
    EXPECT_EQ(WarningsNaming("StandInTest::First"), 1);
    EXPECT_EQ(WarningsNaming("StandInTest::Second"), 1);
#endif
}

// Entry points report themselves only where the platform would act: a value that asks for
// nothing stays silent.
TEST_F(StandInWarnings, EntryPointsNameThemselves) {
    TBitmap bitmap(4, 4);
    bitmap.SetHandleType(bmDIB);
    EXPECT_EQ(WarningsNaming("TBitmap::SetHandleType"), 0);
    bitmap.SetHandleType(bmDDB);
    bitmap.Canvas()->Lock();
    bitmap.Canvas()->Unlock();
#ifdef NDEBUG
    EXPECT_TRUE(Warnings.isEmpty());
#else
    EXPECT_EQ(WarningsNaming("TBitmap::SetHandleType"), 1);
    EXPECT_EQ(WarningsNaming("TCanvas::Lock"), 1);
    EXPECT_EQ(WarningsNaming("TCanvas::Unlock"), 1);
#endif
}

// Values of a control that ask for nothing are silent, one the platform would act on warns; a hint
// is shown (Hints.h), so it warns at no value.
TEST_F(StandInWarnings, ControlsWarnOnlyWhereTheyDoNotAct) {
    TEdit edit(nullptr);
    edit.SetHint(QStringLiteral("Opens a project"));
    edit.SetShowHint(true);
    edit.SetDragMode(dmManual);
    EXPECT_EQ(WarningsNaming("TControl::SetDragMode"), 0);
    EXPECT_EQ(WarningsNaming("Hint"), 0);
    edit.SetDragMode(dmAutomatic);
#ifdef NDEBUG
    EXPECT_TRUE(Warnings.isEmpty());
#else
    EXPECT_EQ(WarningsNaming("TControl::SetDragMode"), 1);
#endif
}

} // namespace
