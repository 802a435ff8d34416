// The printer: PDF jobs of several pages, the output opened only by drawing, aborted jobs that
// leave no file (and an earlier file as it was), and the page metrics.
#include "Printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Page objects in a PDF file ("/Type /Page", not the "/Type /Pages" tree).
int PdfPages(const QString& File) {
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray data = f.readAll();
    return int(data.count("/Type /Page") - data.count("/Type /Pages"));
}

struct PrinterFixture : ::testing::Test {
    QTemporaryDir Dir;
    TPrinter P;
    QString File;
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        File = Dir.filePath("job.pdf");
        P.OutputFileName = File;
        P.Title = "Job";
    }
};

} // namespace

TEST_F(PrinterFixture, JobsWriteOnePdfPagePerPage) {
    struct Case {
        int Pages;
        int Drawn; // first page drawn on (0-based); -1: none
        int Expected;
    } cases[] = {{3, 0, 3}, {3, 2, 3}, {1, 0, 1}, {2, -1, -1}};
    for (const Case& c : cases) {
        QFile::remove(File);
        P.BeginDoc();
        for (int i = 0; i < c.Pages; ++i) {
            if (i > 0) P.NewPage();
            if (c.Drawn >= 0 && i >= c.Drawn)
                P.Canvas()->TextOut(100, 100, QStringLiteral("Page %1").arg(i + 1));
        }
        P.EndDoc();
        EXPECT_EQ(PdfPages(File), c.Expected) << c.Pages << " " << c.Drawn;
        EXPECT_FALSE(QFile::exists(File + ".part"));
    }
}

TEST_F(PrinterFixture, AbortLeavesNoFileAndTheNextJobRuns) {
    // Aborted before drawing: metrics answered, nothing written, the next job starts.
    P.BeginDoc();
    EXPECT_GT(P.Canvas()->TextWidth("gh"), 0);
    P.Abort();
    EXPECT_FALSE(QFile::exists(File));
    P.BeginDoc();
    P.Canvas()->TextOut(10, 10, "x");
    P.NewPage();
    P.Canvas()->TextOut(10, 10, "y");
    P.EndDoc();
    EXPECT_EQ(PdfPages(File), 2);

    // Aborted after drawing: the earlier file stays as it was.
    QFile f(File);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    P.BeginDoc();
    P.Canvas()->TextOut(10, 10, "z");
    P.NewPage();
    P.Canvas()->TextOut(10, 10, "w");
    P.Abort();
    EXPECT_TRUE(P.Aborted());
    EXPECT_FALSE(P.Printing());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_FALSE(QFile::exists(File + ".part"));
}

TEST_F(PrinterFixture, MetricsFollowOrientationAndResolution) {
    P.Resolution = 600;
    EXPECT_EQ(P.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(P.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(P.PageWidth(), 4960); // 210 mm
    EXPECT_EQ(P.PageHeight(), 7015);
    P.SetOrientation(poLandscape);
    EXPECT_EQ(P.PageWidth(), 7015);
    EXPECT_EQ(P.PageHeight(), 4960);
    EXPECT_EQ(DeviceCapabilitiesW("", "", DC_ORIENTATION), 90);

    // Calls out of order are refused, not run.
    EXPECT_THROW(P.NewPage(), EPrinter);
    EXPECT_THROW(P.EndDoc(), EPrinter);
    P.Resolution = 100;
    P.BeginDoc();
    EXPECT_THROW(P.BeginDoc(), EPrinter);
    EXPECT_THROW(P.SetOrientation(poPortrait), EPrinter);
    P.Abort();
}
