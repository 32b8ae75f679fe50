#include "report/printer_report.h"
#include "report/recording_report.h"
#include <QProcess>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

// Jobs the spooler has seen for the queue, finished or not.
int JobCount(const QString& queue)
{
    QProcess p;
    p.start("lpstat", { "-W", "all", "-o", queue });
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size();
}

} // namespace

// Sends real jobs, so it runs only against a queue named in CARDORA_TEST_QUEUE
// (a cups-pdf or file queue of a test spooler, never a real printer).
TEST(QueueReport, JobsReachTheSpoolerUnlessAborted)
{
    const QString queue = qEnvironmentVariable("CARDORA_TEST_QUEUE");
    if (queue.isEmpty())
        GTEST_SKIP() << "set CARDORA_TEST_QUEUE to a test queue";
    TPrinterReport report;
    ASSERT_TRUE(report.SelectPrinter(queue));
    EXPECT_FALSE(report.IsPdfFile());
    EXPECT_EQ(report.PrinterName(), queue);
    EXPECT_FALSE(report.SelectPrinter("no such queue"));
    report.SelectPaper(1);
    const TPageMetrics m = report.Metrics();
    EXPECT_GE(m.unprintableInches.left(), 0.0);
    EXPECT_LT(m.unprintableInches.left(), 1.0);
    EXPECT_GE(report.BottomUnprintableMargin(), 0.0);
    // The preview takes the queue's geometry.
    TRecordingReport preview(report.SharedPrinter());
    EXPECT_EQ(preview.Metrics(), m);
    EXPECT_EQ(report.DeviceX(1.0), qRound((1.0 - m.unprintableInches.left()) * m.xDpi));

    if (report.Printer().supportsMultipleCopies())
        EXPECT_GT(report.DriverMaxCopies(), 1);
    report.SetCopies(2);
    const int before = JobCount(queue);
    report.OnPrint = [](TReport& r) {
        r.SetBrush(clBlack, BrushStyle::Solid);
        r.Rectangle(1, 1, 2, 2);
        r.NewPage();
        r.Abort();
    };
    report.Execute();
    EXPECT_TRUE(report.Aborted());
    EXPECT_EQ(JobCount(queue), before); // nothing reached the queue

    report.OnPrint = [](TReport& r) { r.Rectangle(1, 1, 2, 2); };
    EXPECT_TRUE(report.Execute()) << report.ErrorString().toStdString();
    EXPECT_EQ(JobCount(queue), before + 1);
}
