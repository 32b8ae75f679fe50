#include "print_probe.h"
#include "printing/label_printer.h"
#include "report/recording_report.h"
#include "report/report_pixels.h"
#include "support/scripted_modal.h"
#include "report/printer_report.h"
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::CopyingReport;
using cardora::test::LetterAt;
using cardora::test::ProbeCard;
using cardora::test::ScriptedModal;

namespace {

struct WalkFixture : ::testing::Test {
    std::shared_ptr<ScriptedModal> modal;
    ProbeCard card;
    QStringList statuses;

    void SetUp() override { modal = ScriptedModal::Install(); }
    void TearDown() override { SetModalHandler(nullptr); }

    // Runs a job the way the status window does and returns it finished.
    std::unique_ptr<TLabelPrinter> run(TReport& report, TPrintJobRequest request)
    {
        auto job = std::make_unique<TLabelPrinter>(card.panel);
        report.SetStatusSink([this](const QString& s) { statuses << s; });
        job->Setup(report, request);
        job->runJobOnce();
        return job;
    }
    static TPrintJobRequest preview()
    {
        TPrintJobRequest r;
        r.Printing = false;
        return r;
    }
};

int firstDarkDown(const QImage& page, int x, int fromY)
{
    for (int y = fromY; y < page.height(); ++y)
        if (cardora::test::IsDark(page.pixel(x, y)))
            return y;
    return -1;
}

bool near(QPointF a, QPointF b) { return std::abs(a.x() - b.x()) < 1e-9 && std::abs(a.y() - b.y()) < 1e-9; }

} // namespace

TEST_F(WalkFixture, DefaultSheetVisitsTenPositionsRowByRow)
{
    TRecordingReport report(LetterAt(100));
    std::vector<int> numbers;
    std::vector<QString> extra;
    auto job = std::make_unique<TLabelPrinter>(card.panel);
    job->OnCardPrinted = [&](int n) {
        numbers.push_back(n);
        extra.push_back(job->Extralabel->text());
    };
    job->Setup(report, TPrintJobRequest());
    EXPECT_EQ(job->windowTitle(), "Print Status");
    EXPECT_EQ(job->CancelButton->text(), "Cancel");
    job->runJobOnce();

    const double xs[] = { 0.75, 4.25 };
    const double ys[] = { 0.5, 2.5, 4.5, 6.5, 8.5 };
    const auto places = card.Places();
    ASSERT_EQ(places.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(near(places[i], QPointF(xs[i % 2], ys[i / 2]))) << i;
    EXPECT_EQ(numbers, std::vector<int>({ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }));
    EXPECT_EQ(extra.front(), "Card 1");
    EXPECT_EQ(extra.back(), "Card 10");
    // The panel says it is printing only while the objects print.
    for (const auto& c : card.probe->calls)
        EXPECT_TRUE(c.printing);
    EXPECT_FALSE(card.panel.Printing());
    EXPECT_EQ(report.PageCount(), 1);
    EXPECT_EQ(report.MarginLeft(), 0.0);

    // Finished: an OK button, the final text and an empty card line.
    EXPECT_TRUE(job->Finished());
    EXPECT_EQ(job->windowTitle(), "Print Status ");
    EXPECT_EQ(job->CancelButton->text(), "OK");
    EXPECT_EQ(job->Extralabel->text(), "");
    EXPECT_EQ(job->RStatusLabel->text(), "Print job completed and sent to printer!");
    job->cancelPrinting();
    EXPECT_EQ(job->result(), mrOk);
}

TEST_F(WalkFixture, CardRectanglesLandOnTheSheetWithNudges)
{
    // The outline test page at 100 dpi: one rectangle per card, nothing else.
    TRecordingReport report(LetterAt(100));
    TPrintJobRequest r;
    r.OutlineOnly = true;
    r.Nudges.TopMarginNudge = 2;  // every row 1/16 inch lower
    r.Nudges.VerticalSpacing = -1; // the fifth row 4/32 inch higher still
    run(report, r);
    EXPECT_TRUE(card.probe->calls.empty()); // no objects on an outline page
    const QImage page = report.RenderPage(0);
    ASSERT_EQ(page.size(), QSize(850, 1100));
    // Top-left card: (0.75, 0.5625) to (4.25, 2.5625) inches, right and bottom edges outside.
    EXPECT_EQ(firstDarkDown(page, 200, 0), 56);
    EXPECT_TRUE(cardora::test::IsDark(page.pixel(75, 150)));
    EXPECT_FALSE(cardora::test::IsDark(page.pixel(74, 150)));
    EXPECT_TRUE(cardora::test::IsDark(page.pixel(424, 150)));
    EXPECT_TRUE(cardora::test::IsDark(page.pixel(425, 150))); // the next column starts at 4.25
    // Fifth row: 0.5625 + 4 x (2 - 1/32) = 8.4375 inches, not 8.5625.
    EXPECT_EQ(firstDarkDown(page, 200, 800), 844);
    EXPECT_FALSE(cardora::test::IsDark(page.pixel(200, 856)));
    EXPECT_EQ(page.pixel(300, 150), qRgb(255, 255, 255)); // outline only: the card is not filled in
}

// A printer whose unprintable left and top margins differ: cards still sit
// where the layout says on the sheet, across and down alike, exactly where
// a printer without margins puts them, and the card's objects are asked to
// print at the same sheet places.
TEST_F(WalkFixture, CardsKeepTheirSheetPlacesWhenUnprintableMarginsDiffer)
{
    auto blue = [](QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; };
    // The probe's box on the first and the last card of the sheet.
    auto inkOf = [&](QMarginsF margins) {
        card.probe->calls.clear();
        TRecordingReport report(LetterAt(100, margins));
        run(report, TPrintJobRequest());
        EXPECT_EQ(report.PageDeviceOrigin(0), QPointF(margins.left() * 100, margins.top() * 100));
        const QImage page = report.RenderPage(0, 1.0);
        return std::pair { cardora::test::InkBounds(page, blue, QRect(0, 0, 425, 250)),
            cardora::test::InkBounds(page, blue, QRect(425, 850, 425, 250)) };
    };
    const auto flush = inkOf(QMarginsF());
    // The probe is half an inch in and down on its card, an inch wide and
    // half an inch high: at 100 dpi about (125, 100) on the first card and
    // (475, 900) on the last.
    EXPECT_NEAR(flush.first.left(), 125, 1);
    EXPECT_NEAR(flush.first.top(), 100, 1);
    EXPECT_NEAR(flush.first.width(), 100, 1);
    EXPECT_NEAR(flush.second.left(), 475, 1);
    EXPECT_NEAR(flush.second.top(), 900, 1);
    const QMarginsF margins[] = { { 0.25, 0.5, 0, 0 }, { 0.5, 0.13, 0, 0 }, { 0, 0.37, 0, 0 }, { 0.13, 0, 0, 0 } };
    for (const QMarginsF& m : margins) {
        SCOPED_TRACE(QString("left %1, top %2").arg(m.left()).arg(m.top()).toStdString());
        const auto ink = inkOf(m);
        EXPECT_EQ(ink.first, flush.first);
        EXPECT_EQ(ink.second, flush.second);
        const auto places = card.Places();
        ASSERT_EQ(places.size(), 10u);
        EXPECT_TRUE(near(places[0], QPointF(0.75, 0.5)));
        EXPECT_TRUE(near(places[9], QPointF(4.25, 8.5)));
    }
}

TEST_F(WalkFixture, UnselectedPositionsStayEmptyOnEverySheet)
{
    TRecordingReport report(LetterAt(50));
    TPrintJobRequest r;
    r.Sheets = 2;
    r.Selection.Set(1, false); // position 2
    r.Selection.Set(6, false); // position 7
    run(report, r);
    ASSERT_EQ(report.PageCount(), 2);
    ASSERT_EQ(card.probe->calls.size(), 16u);
    for (const auto& c : card.probe->calls) {
        EXPECT_FALSE(near(c.at, QPointF(4.25, 0.5)));
        EXPECT_FALSE(near(c.at, QPointF(0.75, 6.5)));
    }
    for (int p = 0; p < 2; ++p) {
        const QImage page = report.RenderPage(p);
        auto blue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 60; };
        // The probe's box is 0.5 to 1.5 by 0.5 to 1.0 inch inside each card.
        EXPECT_GT(cardora::test::CountMatching(page, blue, QRect(70, 55, 40, 15)), 300) << p;  // position 1
        EXPECT_EQ(cardora::test::CountMatching(page, blue, QRect(240, 55, 40, 15)), 0) << p;   // position 2
        EXPECT_EQ(cardora::test::CountMatching(page, blue, QRect(70, 355, 40, 15)), 0) << p;   // position 7
        EXPECT_GT(cardora::test::CountMatching(page, blue, QRect(240, 355, 40, 15)), 300) << p; // position 8
    }
}

TEST_F(WalkFixture, DriverCopiesTakeTheSheetCountWhenThePrinterCanMakeThem)
{
    CopyingReport copying(LetterAt(50));
    TPrintJobRequest r;
    r.Sheets = 3;
    auto job = run(copying, r);
    EXPECT_EQ(copying.PageCount(), 1);
    EXPECT_EQ(copying.Copies(), 3);
    EXPECT_EQ(job->Sheets(), 1);
    EXPECT_EQ(card.probe->calls.size(), 10u);

    card.probe->calls.clear();
    TRecordingReport single(LetterAt(50));
    job = run(single, r);
    EXPECT_EQ(single.PageCount(), 3);
    EXPECT_EQ(single.Copies(), 1);
    EXPECT_EQ(card.probe->calls.size(), 30u);

    // A preview never hands the sheets to the driver.
    card.probe->calls.clear();
    CopyingReport previewCopies(LetterAt(50));
    TPrintJobRequest p = preview();
    p.Sheets = 3;
    run(previewCopies, p);
    EXPECT_EQ(previewCopies.Copies(), 1);
}

TEST_F(WalkFixture, StatusShowsPagesWhileRunning)
{
    TRecordingReport report(LetterAt(50));
    TPrintJobRequest r;
    r.Sheets = 2;
    run(report, r);
    EXPECT_TRUE(statuses.contains("Printing Page 1\n\n"));
    EXPECT_TRUE(statuses.contains("Printing Page 2\n\n"));
    EXPECT_EQ(statuses.back(), "Print job completed and sent to printer!");

    statuses.clear();
    TRecordingReport filer(LetterAt(50));
    run(filer, preview());
    EXPECT_EQ(statuses.front(), "Preparing Preview Page 1\n\n");
    EXPECT_EQ(statuses.back(), "\nBusiness Card preview ready!");
}

TEST_F(WalkFixture, FinalTextsForEachOutcome)
{
    EXPECT_EQ(TLabelPrinter::FinalStatus(true, true, false), "\rBusiness Card Print Canceled!");
    EXPECT_EQ(TLabelPrinter::FinalStatus(true, false, true), "\rBusiness Card Preview Canceled!");
    EXPECT_EQ(TLabelPrinter::FinalStatus(false, true, true),
        "Print job completed and sent to printer!\r\rNote: this design contains complex shapes or text.\rPlease be "
        "patient while the printer produces its\routput...");
    // A print to a PDF file says where the file is, not that a printer has it.
    EXPECT_EQ(TLabelPrinter::FinalStatus(false, true, true, "/home/ann/cards.pdf"),
        "Print job completed: the cards were saved to the PDF file\r/home/ann/cards.pdf");
    EXPECT_EQ(TLabelPrinter::FinalStatus(true, true, false, "/home/ann/cards.pdf"), "\rBusiness Card Print Canceled!");
    EXPECT_EQ(TLabelPrinter::FinalStatus(false, false, true),
        "Business Card preview ready to view!\r\rThis design contains complex shapes or text.\rPlease be patient "
        "while the previewer prepares\rthe viewing page");
    EXPECT_EQ(TLabelPrinter::FinalStatus(false, false, false), "\rBusiness Card preview ready!");

    // A design with a super shape gets the longer text.
    card.probe->kind = "TSuperShape";
    TRecordingReport report(LetterAt(50));
    auto job = run(report, TPrintJobRequest());
    EXPECT_TRUE(job->RStatusLabel->text().startsWith("Print job completed and sent to printer!\n\nNote: this design"));
}

TEST_F(WalkFixture, PreviewDrawsTheWholeSheetWithSilverOutlines)
{
    card.panel.SetPreviewing(true);
    TRecordingReport report(LetterAt(100));
    auto job = run(report, preview());
    EXPECT_EQ(job->windowTitle(), "Preview Status");
    // The sheet as it will print: every position, row by row.
    const auto all = card.Places();
    ASSERT_EQ(all.size(), 10u);
    EXPECT_TRUE(near(all[0], QPointF(0.75, 0.5)));
    EXPECT_TRUE(near(all[1], QPointF(4.25, 0.5)));
    EXPECT_TRUE(near(all[9], QPointF(4.25, 8.5)));
    EXPECT_TRUE(card.probe->calls[0].previewing);
    const QImage page = report.RenderPage(0);
    auto silver = [](QRgb c) { return qRed(c) == 192 && qGreen(c) == 192 && qBlue(c) == 192; };
    // A hundredth of an inch is one pixel at 100 dpi: the outlines run along the cards' edges.
    EXPECT_EQ(cardora::test::InkBounds(page, silver), QRect(QPoint(75, 50), QPoint(774, 1049)));
    EXPECT_TRUE(silver(page.pixel(200, 50)));
    EXPECT_TRUE(silver(page.pixel(600, 850)));
    EXPECT_EQ(page.pixel(200, 150), qRgb(255, 255, 255)); // clear brush: the card is not filled

    // No position chosen: the preview page is empty.
    card.probe->calls.clear();
    TPrintJobRequest none = preview();
    for (int i = 0; i < 10; ++i)
        none.Selection.Set(i, false);
    TRecordingReport empty(LetterAt(50));
    run(empty, none);
    EXPECT_TRUE(card.probe->calls.empty());
    EXPECT_EQ(empty.PageCount(), 1);
    EXPECT_EQ(cardora::test::CountMatching(empty.RenderPage(0), [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);

    // Position 1 left out: the other nine, where they print.
    TPrintJobRequest nine = preview();
    nine.Selection.Set(0, false);
    TRecordingReport rest(LetterAt(50));
    run(rest, nine);
    ASSERT_EQ(card.Places().size(), 9u);
    EXPECT_TRUE(near(card.Places()[0], QPointF(4.25, 0.5)));

    // One column: every selected card of the column.
    card.probe->calls.clear();
    TPrintJobRequest column = preview();
    column.Layout.Across = 1;
    column.Selection.Set(2, false);
    TRecordingReport one(LetterAt(50));
    run(one, column);
    const auto places = card.Places();
    ASSERT_EQ(places.size(), 4u);
    EXPECT_TRUE(near(places[0], QPointF(0.75, 0.5)));
    EXPECT_TRUE(near(places[1], QPointF(0.75, 2.5)));
    EXPECT_TRUE(near(places[2], QPointF(0.75, 6.5)));
}

TEST_F(WalkFixture, StopEndsAPreviewAndCancelAbandonsAPrintAfterAsking)
{
    // Stop during a one-column preview, after the second card.
    TRecordingReport report(LetterAt(50));
    TPrintJobRequest column = preview();
    column.Layout.Across = 1;
    auto job = std::make_unique<TLabelPrinter>(card.panel);
    job->OnCardPrinted = [&](int n) {
        if (n == 2)
            job->cancelPrinting();
    };
    job->Setup(report, column);
    EXPECT_EQ(job->CancelButton->text(), "Stop");
    job->runJobOnce();
    EXPECT_TRUE(job->Cancelled());
    EXPECT_TRUE(report.Aborted());
    EXPECT_EQ(card.probe->calls.size(), 2u);
    EXPECT_EQ(report.PageCount(), 0); // the recording is thrown away
    EXPECT_EQ(job->RStatusLabel->text(), "\nBusiness Card Preview Canceled!");
    EXPECT_TRUE(modal->messages.empty()); // a preview stops without asking

    // Printing: the user is asked; No goes on, Yes abandons the document.
    card.probe->calls.clear();
    QTemporaryDir dir;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(dir.filePath("sheet.pdf"));
    printer->setResolution(72);
    TPrinterReport paper(printer);
    modal->answers = { mrNo, mrYes };
    auto print = std::make_unique<TLabelPrinter>(card.panel);
    print->OnCardPrinted = [&](int n) {
        if (n == 3 || n == 5)
            print->cancelPrinting();
    };
    print->Setup(paper, TPrintJobRequest());
    print->runJobOnce();
    ASSERT_EQ(modal->messages.size(), 2u);
    EXPECT_EQ(modal->messages[0].text, "Cancel Business Card Printing?");
    EXPECT_EQ(modal->messages[0].style, MessageStyle::Question);
    EXPECT_TRUE(paper.Aborted());
    // The walk runs on to its end, but nothing reaches the file.
    EXPECT_EQ(card.probe->calls.size(), 10u);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("sheet.pdf")));
    EXPECT_EQ(print->RStatusLabel->text(), "\nBusiness Card Print Canceled!");
}

TEST_F(WalkFixture, BackgroundArtIsDrawnThreeAndAHalfByTwoInchesWhateverTheCardSize)
{
    QTemporaryDir dir;
    QImage art(70, 40, QImage::Format_RGB32);
    art.fill(qRgb(0, 160, 0));
    const QString bmp = dir.filePath("art.bmp");
    ASSERT_TRUE(art.save(bmp, "BMP"));

    TPrintJobRequest r;
    r.Layout = ApplyPredefinedLayout(TCardLayout(), 12); // 3.543 inches wide
    r.BackgroundFile = bmp;
    TRecordingReport report(LetterAt(100));
    auto job = run(report, r);
    EXPECT_EQ(job->BackgroundKind(), ArtKind::Bitmap);
    const QImage page = report.RenderPage(0);
    auto green = [](QRgb c) { return qGreen(c) > 120 && qRed(c) < 60 && qBlue(c) < 60; };
    // From (0.591, 0.531) to (4.091, 2.531) inches; the next card starts at 4.134.
    EXPECT_EQ(cardora::test::InkBounds(page, green, QRect(0, 0, 411, 260)), QRect(QPoint(59, 53), QPoint(408, 252)));
    EXPECT_EQ(card.probe->calls.size(), 10u); // the objects still print on top

    // Every picture the background chooser offers prints; a name that does
    // not exist or a file that cannot be read gives no background.
    art.save(dir.filePath("art.png"), "PNG");
    art.save(dir.filePath("art.Jpg"), "JPEG");
    QFile broken(dir.filePath("broken.wmf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a metafile");
    broken.close();
    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; };
    const struct {
        QString file;
        ArtKind kind;
        std::function<bool(QRgb)> ink;
    } cases[] = {
        { dir.filePath("missing.BMP"), ArtKind::None, green },
        { dir.filePath("broken.wmf"), ArtKind::None, green },
        { dir.filePath("art.png"), ArtKind::Bitmap, green },
        { dir.filePath("art.Jpg"), ArtKind::Bitmap, green },
        { QStringLiteral(CARDORA_TEST_DATA "/pictures/inkscape.wmf"), ArtKind::Metafile, red },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        card.probe->calls.clear();
        r.BackgroundFile = c.file;
        TRecordingReport plain(LetterAt(50));
        job = run(plain, r);
        EXPECT_EQ(job->BackgroundKind(), c.kind);
        EXPECT_EQ(card.probe->calls.size(), 10u);
        EXPECT_EQ(cardora::test::CountMatching(plain.RenderPage(0), c.ink) > 0, c.kind != ArtKind::None);
    }
}

TEST_F(WalkFixture, LargeLayoutsNumberEveryPositionAndDamagedCountsStillEnd)
{
    TPrintJobRequest r;
    r.Layout.Across = 4;
    r.Layout.Down = 12;
    r.Layout.Width = r.Layout.HPitch = 1.9;
    r.Layout.Height = r.Layout.VPitch = 0.8;
    r.Layout.TopMargin = 0.4;
    r.Layout.LeftMargin = 0.45;
    r.Selection.fill(true);
    r.Selection.Set(45, false);
    TRecordingReport report(LetterAt(50));
    std::vector<int> numbers;
    auto job = std::make_unique<TLabelPrinter>(card.panel);
    job->OnCardPrinted = [&](int n) { numbers.push_back(n); };
    job->Setup(report, r);
    job->runJobOnce();
    ASSERT_EQ(numbers.size(), 47u);
    EXPECT_EQ(numbers.back(), 48);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 46), 0);
    EXPECT_TRUE(near(card.Places().back(), QPointF(0.45 + 3 * 1.9, 0.4 + 11 * 0.8)));

    // Zero across and a thousand rows from a damaged file: 1 x 30, and the walk ends.
    card.probe->calls.clear();
    TPrintJobRequest bad;
    bad.Layout.Across = 0;
    bad.Layout.Down = 1000;
    bad.Sheets = 0;
    bad.Selection.fill(true);
    TRecordingReport badReport(LetterAt(20));
    run(badReport, bad);
    EXPECT_EQ(card.probe->calls.size(), 30u);
    EXPECT_EQ(badReport.PageCount(), 1);
}
