#include "core/graphics_attributes.h"
#include "core/modal.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "report_pixels.h"
#include <QDialog>
#include <QFile>
#include <QPrintDialog>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// A PDF-file printer at a low resolution, so that pages render quickly.
std::shared_ptr<QPrinter> PdfPrinter(const QString& file, int dpi)
{
    auto printer = TPrinterReport::CreateDefaultPrinter();
    TPrinterReport setup(printer);
    setup.SelectPdfFile(file);
    setup.SetResolution(dpi);
    return printer;
}

// One drawing of every kind, each in its own part of a Letter sheet.
void DrawScene(TReport& r)
{
    r.SetPen(clBlack, PenStyle::Solid, -2, PenMode::Copy);
    r.SetBrush(clBlack, BrushStyle::Solid);
    r.Rectangle(0.75, 0.5, 4.25, 2.5); // a card at the default layout's first place
    r.SetBrush(clWhite, BrushStyle::Clear);
    r.Ellipse(5.0, 0.5, 7.0, 2.5);
    r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Copy);
    r.MoveTo(1.0, 4.0);
    r.LineTo(7.5, 4.0);
    r.SetFont("Arial", 24);
    r.SetTransparentTextBackground(true);
    r.SetTextCursor(1.0, 6.0);
    r.PrintText("Cardora");
    QImage bitmap(4, 4, QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    r.StretchDrawBitmap(5.0, 5.5, 6.5, 6.5, bitmap);
    r.SetBrush(clBlack, BrushStyle::Solid);
    r.Polygon(QPolygon({ QPoint(150, 1200), QPoint(450, 1200), QPoint(300, 1450) }));
    // A label's picture, made at screen resolution, stretched into its place.
    QPicture label;
    {
        QPainter p(&label);
        p.fillRect(QRect(0, 0, 100, 50), Qt::black);
        QFont font("Arial");
        font.setPointSize(20);
        p.setFont(font);
        p.drawText(QPoint(110, 40), "Lbl");
    }
    r.StretchDrawGraphic(r.InchRectToDevice(5.0, 7.5, 7.0, 8.0), label, QRectF(0, 0, 200, 50));
}

const QList<QRect> kSceneAreas = {
    QRect(0, 0, 700, 420),    // rectangle
    QRect(720, 0, 400, 420),  // ellipse
    QRect(0, 560, 1275, 80),  // line
    QRect(0, 780, 700, 160),  // text
    QRect(720, 780, 400, 260),// bitmap
    QRect(0, 1150, 700, 330), // polygon
    QRect(720, 1100, 185, 200), // picture: filled part
    QRect(905, 1100, 300, 200), // picture: text
};

} // namespace

TEST(PrinterReport, RecordedPageHasTheGeometryOfThePrintedPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("scene.pdf");
    const int dpi = 150;
    TPrinterReport printer(PdfPrinter(pdf, dpi));
    EXPECT_TRUE(printer.SelectPaper(1));
    printer.OnPrint = DrawScene;
    ASSERT_TRUE(printer.Execute()) << printer.ErrorString().toStdString();
    EXPECT_FALSE(printer.Aborted());

    TRecordingReport preview(printer.SharedPrinter());
    EXPECT_EQ(preview.Metrics(), printer.Metrics());
    preview.OnPrint = DrawScene;
    ASSERT_TRUE(preview.Execute());

    const QImage printed = RenderPdf(pdf, dpi);
    const QImage recorded = preview.RenderPage(0);
    ASSERT_FALSE(printed.isNull()) << "pdftoppm failed";
    EXPECT_EQ(printed.size(), recorded.size());
    EXPECT_EQ(recorded.size(), QSize(1275, 1650));
    for (const QRect& area : kSceneAreas) {
        SCOPED_TRACE(QString("area %1,%2").arg(area.x()).arg(area.y()).toStdString());
        const QRect p = InkBounds(printed, IsDark, area), r = InkBounds(recorded, IsDark, area);
        ASSERT_FALSE(r.isNull());
        EXPECT_NEAR(p.left(), r.left(), 1);
        EXPECT_NEAR(p.top(), r.top(), 1);
        EXPECT_NEAR(p.right(), r.right(), 1);
        EXPECT_NEAR(p.bottom(), r.bottom(), 1);
    }
    // The picture's frame fills the device rectangle on paper too.
    EXPECT_EQ(InkBounds(printed, IsDark, kSceneAreas[6]), QRect(750, 1125, 150, 75));
    // The text is letters, not a filled cell.
    const QRect text = InkBounds(printed, IsDark, kSceneAreas[3]);
    EXPECT_LT(CountMatching(printed, IsDark, text), text.width() * text.height() / 2);
    // "Cardora" at 24 points advances 3.612 em, 1.2 inch.
    EXPECT_GT(text.width(), 1.1 * dpi);
    EXPECT_LT(text.width(), 1.2 * dpi);
    // And where the layout says: the card's edge at 0.75 inch, the pen 2/100 inch wide.
    const QRect card = InkBounds(printed, IsDark, kSceneAreas[0]);
    EXPECT_NEAR(card.left(), 0.75 * dpi - 1.5, 1);
    EXPECT_NEAR(card.top(), 0.5 * dpi - 1.5, 1);
}

TEST(PrinterReport, PaperCodesGiveLetterAndA4Pages)
{
    QTemporaryDir dir;
    auto shared = PdfPrinter(dir.filePath("paper.pdf"), 72);
    TPrinterReport report(shared);
    TPrinterReport other(shared);
    report.OnPrint = [](TReport&) {};
    other.OnPrint = [](TReport&) {};

    ASSERT_TRUE(report.SelectPaper(1));
    ASSERT_TRUE(report.Execute());
    EXPECT_EQ(PdfInfo(dir.filePath("paper.pdf"), "Page size"), "612 x 792 pts (letter)");
    EXPECT_DOUBLE_EQ(report.Metrics().paperInches.width(), 8.5);

    ASSERT_TRUE(report.SelectPaper(9));
    EXPECT_FALSE(report.SelectPaper(424242)); // unknown code: unchanged
    // The other report addresses the same printer.
    other.ReReadDeviceMetrics();
    EXPECT_NEAR(other.Metrics().paperInches.height(), 842 / 72.0, 1e-9);
    ASSERT_TRUE(other.Execute());
    EXPECT_EQ(PdfInfo(dir.filePath("paper.pdf"), "Page size"), "595 x 842 pts (A4)");

    // A PDF file has no unprintable margins.
    EXPECT_EQ(report.UnprintableLeft(), 0.0);
    EXPECT_EQ(report.UnprintableTop(), 0.0);
    EXPECT_EQ(report.BottomUnprintableMargin(), 0.0);
    EXPECT_EQ(report.XDpi(), 72);
    EXPECT_TRUE(report.PrinterName().contains("paper.pdf"));
}

TEST(PrinterReport, PagesAndCopiesOfAPdfFile)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("copies.pdf");
    TPrinterReport report(PdfPrinter(pdf, 72));
    // A file cannot repeat a sheet by itself: the job must draw every copy.
    EXPECT_LE(report.DriverMaxCopies(), 1);
    report.SetCopies(3);
    EXPECT_EQ(report.Copies(), 3);
    EXPECT_EQ(report.Printer().copyCount(), 1);
    report.OnPrint = [](TReport& r) {
        r.Rectangle(1, 1, 2, 2);
        r.NewPage();
        r.Rectangle(1, 1, 2, 2);
    };
    ASSERT_TRUE(report.Execute());
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "2");
}

TEST(PrinterReport, AbortLeavesNoDocument)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("aborted.pdf");
    TPrinterReport report(PdfPrinter(pdf, 72));
    report.OnPrint = [](TReport& r) {
        r.Rectangle(1, 1, 2, 2);
        r.NewPage();
        r.Abort();
        r.Rectangle(1, 1, 2, 2);
        r.NewPage();
    };
    report.Execute();
    EXPECT_TRUE(report.Aborted());
    EXPECT_EQ(report.CurrentPage(), 3);
    EXPECT_FALSE(QFile::exists(pdf));

    // The next run prints normally.
    report.OnPrint = [](TReport& r) { r.Rectangle(1, 1, 2, 2); };
    EXPECT_TRUE(report.Execute());
    EXPECT_FALSE(report.Aborted());
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
}

TEST(PrinterReport, AFileThatCannotBeWrittenFailsWithoutCallingTheEvents)
{
    QTemporaryDir dir;
    TPrinterReport report(PdfPrinter(dir.filePath("no/such/folder/x.pdf"), 72));
    bool called = false;
    report.OnBeforePrint = [&](TReport&) { called = true; };
    report.OnPrint = [&](TReport&) { called = true; };
    EXPECT_FALSE(report.Execute());
    EXPECT_FALSE(called);
    EXPECT_FALSE(report.ErrorString().isEmpty());
    EXPECT_FALSE(report.Executing());
}

TEST(PrinterReport, DialogsRunThroughTheModalSeam)
{
    struct Answer : ModalHandler {
        int result = QDialog::Rejected;
        QStringList seen;
        int Message(const QString&, const QString&, MessageStyle) override { return mrOk; }
        int Dialog(QDialog& dialog) override
        {
            seen << (qobject_cast<QPrintDialog*>(&dialog) ? "print dialog" : "other") + QString(":")
                    + dialog.windowTitle();
            return result;
        }
        std::optional<QFont> Font(const QFont&) override { return std::nullopt; }
        std::optional<QColor> Color(const QColor&) override { return std::nullopt; }
        QString FileName(const FileDialogRequest&) override { return {}; }
    };
    auto answer = std::make_shared<Answer>();
    SetModalHandler(answer);
    QTemporaryDir dir;
    TPrinterReport report(PdfPrinter(dir.filePath("dialog.pdf"), 72));
    report.SetCopies(2);
    EXPECT_FALSE(report.PrinterSetupDialog());
    EXPECT_FALSE(report.PrintDialog());
    EXPECT_EQ(report.Copies(), 2);
    answer->result = QDialog::Accepted;
    EXPECT_TRUE(report.PrinterSetupDialog());
    EXPECT_EQ(report.Copies(), 2); // set-up does not choose copies
    SetModalHandler(nullptr);
    ASSERT_EQ(answer->seen.size(), 3);
    EXPECT_EQ(answer->seen[0], "print dialog:Print Setup");
    EXPECT_TRUE(answer->seen[1].startsWith("print dialog"));
    // Coordinates still start at the sheet's corner after the dialogs.
    EXPECT_TRUE(report.Printer().fullPage());
}
