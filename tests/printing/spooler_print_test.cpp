#include "print_probe.h"
#include "printing/label_printer.h"
#include "report/printer_report.h"
#include "report/report_pixels.h"
#include "core/rounding.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

int run(const QString& program, const QStringList& args, QString* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// `lpstat -r` tells the truth about the scheduler; its exit code does not.
bool schedulerRunning()
{
    QString out;
    run("lpstat", { "-r" }, &out);
    return out.contains("scheduler is running");
}

QSet<QString> pdfFiles(const QDir& dir)
{
    const QStringList names = dir.entryList({ "*.pdf" }, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// The cups-pdf queue of the private scheduler that
// tests/report/run_with_test_spooler.sh starts for this program (CUPS_SERVER
// points at it). The machine's own scheduler is never started or changed.
class Spooler {
public:
    QString skipReason;
    QString queue;

    Spooler()
    {
        queue = qEnvironmentVariable("CARDORA_TEST_PDF_QUEUE");
        if (qEnvironmentVariable("CUPS_SERVER").isEmpty() || queue.isEmpty()) {
            skipReason = "no private spooler with a cups-pdf queue (run through run_with_test_spooler.sh)";
            return;
        }
        if (!schedulerRunning()) {
            skipReason = "the private CUPS scheduler is not running";
            return;
        }
        QElapsedTimer t;
        t.start();
        while (QPrinterInfo::printerInfo(queue).isNull() && t.elapsed() < 5000)
            QThread::msleep(50);
        if (QPrinterInfo::printerInfo(queue).isNull())
            skipReason = "Qt does not see the queue";
    }
};

} // namespace

// A sheet printed through the spooler lands as a PDF in ~/PDF with every card
// where the layout puts it.
TEST(SpoolerPrint, SheetThroughCupsPdfLandsWithTheLayoutsGeometry)
{
    Spooler spooler;
    if (!spooler.skipReason.isEmpty())
        GTEST_SKIP() << spooler.skipReason.toStdString();

    const QDir out(QDir::homePath() + "/PDF");
    const bool outExisted = out.exists();
    const QSet<QString> before = pdfFiles(out);

    cardora::test::ProbeCard card;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setResolution(300);
    TPrinterReport report(printer);
    ASSERT_TRUE(report.SelectPrinter(spooler.queue));
    EXPECT_TRUE(report.SelectPaper(1));
    report.SetTitle("CardoraSpoolerTest"); // cups-pdf names the file after it
    TLabelPrinter job(card.panel);
    TPrintJobRequest request;
    request.Selection.Set(4, false); // position 5 stays empty
    job.Setup(report, request);
    job.runJobOnce();
    ASSERT_EQ(job.Error(), "") << job.Error().toStdString();
    EXPECT_EQ(job.RStatusLabel->text(), "Print job completed and sent to printer!");
    EXPECT_EQ(card.probe->calls.size(), 9u);

    QString landed;
    QElapsedTimer t;
    t.start();
    while (landed.isEmpty() && t.elapsed() < 60000) {
        const QSet<QString> now = pdfFiles(out);
        for (const QString& f : now)
            if (!before.contains(f) && f.startsWith("CardoraSpoolerTest") && QFileInfo(out.filePath(f)).size() > 0) {
                // cups-pdf writes in place: wait until the file stops growing.
                const qint64 size = QFileInfo(out.filePath(f)).size();
                QThread::msleep(300);
                if (QFileInfo(out.filePath(f)).size() == size)
                    landed = out.filePath(f);
            }
        if (landed.isEmpty())
            QThread::msleep(100);
    }
    ASSERT_FALSE(landed.isEmpty()) << "no PDF appeared in " << out.path().toStdString();
    EXPECT_EQ(cardora::test::PdfInfo(landed, "Pages"), "1");
    EXPECT_TRUE(cardora::test::PdfInfo(landed, "Page size").startsWith("612 x 792")) << cardora::test::PdfInfo(landed, "Page size").toStdString();

    // The probe fills 0.5 to 1.5 by 0.5 to 1.0 inch of each card: at 50 dpi
    // the first card's box starts at (62.5, 50) and the fifth position is empty.
    const QImage page = cardora::test::RenderPdf(landed, 50);
    ASSERT_FALSE(page.isNull());
    auto blue = [](QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; };
    const QRect first = cardora::test::InkBounds(page, blue, QRect(0, 0, 200, 100));
    EXPECT_NEAR(first.left(), 62, 2);
    EXPECT_NEAR(first.top(), 50, 2);
    EXPECT_NEAR(first.right(), 112, 2);
    EXPECT_NEAR(first.bottom(), 74, 2);
    const int boxes[] = { 0, 1, 2, 3, 5, 6, 7, 8, 9 };
    for (int i : boxes) {
        const QRect cell(Round((0.75 + (i % 2) * 3.5 + 0.5) * 50) + 3, Round((0.5 + (i / 2) * 2.0 + 0.5) * 50) + 3, 40, 18);
        EXPECT_GT(cardora::test::CountMatching(page, blue, cell), 600) << "position " << i + 1;
    }
    EXPECT_EQ(cardora::test::CountMatching(page, blue, QRect(62 + 3, 250 + 3, 40, 18)), 0) << "position 5";
    QFile::remove(landed);
    if (!outExisted)
        QDir().rmdir(out.path()); // only when empty
}
