#include "main/window_fixture.h"
#include "objects/shapes.h"
#include "printing/fine_tune_dialog.h"
#include "printing/label_printer.h"
#include "printing/layout_dialog.h"
#include "printing/number_edit.h"
#include "printing/preview_form.h"
#include "printing/select_cards_dialog.h"
#include "report/report_pixels.h"
#include "surface/card_panel.h"
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace cardora;

namespace {

bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
bool isBlue(QRgb c) { return qBlue(c) > 180 && qGreen(c) < 90 && qRed(c) < 90; }

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct TwoSidedFixture : cardora::test::MainWindowFixture {
    QTemporaryDir out;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        choosePdfPrinter(out.filePath("Cardora.pdf"));
        modal->messages.clear();
    }
    CardPanel* panel() { return window->cardPanel(); }
    // A box at the card's top-left, an inch by half an inch.
    void addCornerBox(TColor color)
    {
        TBCShapes* s = TBCShapes::CreateForTool(window.get(), ShapeType::Rectangle);
        panel()->AddObject(s);
        s->SetBounds(0, 0, 96, 48);
        s->Brush()->SetColor(color);
        s->Pen()->SetColor(color);
        window->context().setChangesMade(true);
    }
    // A saved card with a box of that colour.
    QString saveCard(const QString& name, TColor color)
    {
        window->fileCommands().newCard();
        addCornerBox(color);
        const QString path = out.filePath(name);
        modal->fileNames.push_back(path);
        EXPECT_TRUE(window->fileCommands().saveAs());
        return path;
    }
    void answerSelection(std::vector<int> positions, int backChoice, int start = 1)
    {
        modal->dialogs.push_back([=](QDialog& d) {
            auto& s = dynamic_cast<TSelectSpecificLabels&>(d);
            s.show();
            s.selectNone();
            for (int p : positions)
                QTest::mouseClick(s.PaintBox1, Qt::LeftButton, {}, s.PositionRects()[p - 1].center());
            EXPECT_TRUE(s.BackSides->isEnabled());
            s.BackSides->setCurrentIndex(backChoice);
            s.StartAt->setValue(start);
            s.applyAndClose();
            return s.result();
        });
    }
    void answerStatus()
    {
        modal->dialogs.push_back([](QDialog& d) {
            auto& job = dynamic_cast<TLabelPrinter&>(d);
            job.runJobOnce();
            job.cancelPrinting();
            return job.result();
        });
    }
    // The card corner at (x, y) inches on a page rendered at 50 dots an inch.
    static bool corner(const QImage& page, double x, double y, bool (*match)(QRgb))
    {
        return cardora::test::CountMatching(page, match, QRect(qRound(x * 50) + 3, qRound(y * 50) + 3, 40, 18)) > 600;
    }
};

} // namespace

TEST_F(TwoSidedFixture, BackSideIsTheSidecarsSecondLineAndTheWindowSwitchesSides)
{
    const QString back = saveCard("back.CDW", clBlue);
    const QString front = saveCard("front.CDW", clRed);
    const QByteArray frontBytes = bytesOf(front);
    EXPECT_FALSE(window->Action("mnuSwitchSide")->isEnabled());

    modal->fileNames.push_back(back);
    window->backSideCommands().chooseBackSide();
    EXPECT_EQ(window->context().card().backSide, back);
    // The card file is as it was; the sidecar has no art, then the back.
    EXPECT_EQ(bytesOf(front), frontBytes);
    EXPECT_EQ(bytesOf(SidecarFileName(front)), "\r\n" + back.toUtf8() + "\r\n");
    EXPECT_EQ(ReadSidecar(front), "");
    EXPECT_EQ(ReadSidecarBack(front), back);
    EXPECT_FALSE(window->context().card().changesMade);

    // To the back and home again.
    ASSERT_TRUE(window->Action("mnuSwitchSide")->isEnabled());
    window->backSideCommands().switchSide();
    EXPECT_EQ(window->context().card().fileName, back);
    EXPECT_EQ(window->context().card().frontOfBack, front);
    EXPECT_TRUE(window->windowTitle().contains("back of front.CDW")) << window->windowTitle().toStdString();
    EXPECT_EQ(window->Action("mnuSwitchSide")->text(), "Show &Front Side");
    window->backSideCommands().switchSide();
    EXPECT_EQ(window->context().card().fileName, front);
    EXPECT_EQ(window->context().card().frontOfBack, "");
    EXPECT_EQ(window->context().card().backSide, back);

    // Reopened, the card knows its back; saved again, it keeps it.
    window->fileCommands().newCard();
    EXPECT_EQ(window->context().card().backSide, "");
    window->fileCommands().openCard(front);
    EXPECT_EQ(window->context().card().backSide, back);
    window->fileCommands().save();
    EXPECT_EQ(ReadSidecarBack(front), back);

    // No: the card has no back; the sidecar without art and back goes.
    modal->answers.push_back(mrNo);
    window->backSideCommands().chooseBackSide();
    EXPECT_EQ(window->context().card().backSide, "");
    EXPECT_FALSE(QFile::exists(SidecarFileName(front)));
}

TEST_F(TwoSidedFixture, OlderSidecarsAndEmptyLinesMeanNoBack)
{
    const QString card = saveCard("card.CDW", clRed);
    const QString art = out.filePath("art.bmp");
    struct Case {
        QByteArray sidecar;
        QString art, back;
    };
    const Case cases[] = {
        { "", "", "" },
        { art.toUtf8() + "\r\n", art, "" },
        { art.toUtf8(), art, "" },
        { art.toUtf8() + "\r\n\r\n", art, "" },
        { "\r\n" + card.toUtf8() + "\r\n", "", card },
        { art.toUtf8() + "\n" + card.toUtf8() + "\n", art, card },
    };
    for (const Case& c : cases) {
        QFile f(SidecarFileName(card));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.sidecar);
        f.close();
        EXPECT_EQ(ReadSidecar(card), c.art) << c.sidecar.toStdString();
        EXPECT_EQ(ReadSidecarBack(card), c.back) << c.sidecar.toStdString();
    }
    // Written back: the art line stays first, so one-line readers keep the art.
    ASSERT_TRUE(WriteSidecar(card, art, QString()));
    EXPECT_EQ(bytesOf(SidecarFileName(card)), art.toUtf8() + "\r\n");
}

TEST_F(TwoSidedFixture, DuplexPrintPutsEachBackBehindItsFrontFromTheStartPosition)
{
    const QString back = saveCard("back.CDW", clBlue);
    saveCard("front.CDW", clRed);
    modal->fileNames.push_back(back);
    window->backSideCommands().chooseBackSide();

    answerSelection({ 1, 2, 4, 7 }, 1, 2); // long edge, the sheet starts at card 2
    const QString pdf = out.filePath("duplex.pdf");
    modal->fileNames.push_back(pdf);
    answerStatus();
    window->printCommands().print();
    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_EQ(cardora::test::PdfInfo(pdf, "Pages"), "2");
    const QImage fronts = cardora::test::RenderPdf(pdf, 50, 1);
    const QImage backs = cardora::test::RenderPdf(pdf, 50, 2);
    for (int p = 1; p <= 10; ++p) {
        const int row = (p - 1) / 2, col = (p - 1) % 2;
        const bool printed = p == 2 || p == 4 || p == 7;
        EXPECT_EQ(corner(fronts, 0.75 + col * 3.5, 0.5 + row * 2.0, isRed), printed) << "front " << p;
        // The other column on the back, at the same height.
        EXPECT_EQ(corner(backs, 0.75 + (1 - col) * 3.5, 0.5 + row * 2.0, isBlue), printed) << "back " << p;
    }
    EXPECT_EQ(window->printCommands().printStart(), 1); // that sheet is used up: the next print starts a fresh one
}

TEST_F(TwoSidedFixture, BacksLaterPrintsFrontsThenAsksAndPrintsBacksToTheirOwnFile)
{
    const QString back = saveCard("back.CDW", clBlue);
    saveCard("front.CDW", clRed);
    modal->fileNames.push_back(back);
    window->backSideCommands().chooseBackSide();

    answerSelection({ 1 }, 4); // backs later, turned over the short edge
    const QString pdf = out.filePath("fronts.pdf"), backsPdf = out.filePath("fronts-backs.pdf");
    modal->fileNames.push_back(pdf);
    answerStatus();
    modal->answers.push_back(mrYes);
    modal->fileNames.push_back(backsPdf);
    answerStatus();
    window->printCommands().print();
    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_TRUE(modal->messages.back().text.contains("short edge")) << modal->messages.back().text.toStdString();
    EXPECT_EQ(modal->fileRequests.back().fileName, "fronts-backs.pdf");
    ASSERT_EQ(cardora::test::PdfInfo(pdf, "Pages"), "1");
    ASSERT_EQ(cardora::test::PdfInfo(backsPdf, "Pages"), "1");
    const QImage fronts = cardora::test::RenderPdf(pdf, 50, 1);
    const QImage backs = cardora::test::RenderPdf(backsPdf, 50, 1);
    EXPECT_TRUE(corner(fronts, 0.75, 0.5, isRed));
    EXPECT_EQ(cardora::test::CountMatching(fronts, isBlue), 0);
    // Turned over the short edge: same column, bottom row.
    EXPECT_TRUE(corner(backs, 0.75, 11.0 - 0.5 - 2.0, isBlue));
    EXPECT_EQ(cardora::test::CountMatching(backs, isRed), 0);
}

TEST_F(TwoSidedFixture, BackNudgesAreTheirOwnAndStoredOnOk)
{
    modal->dialogs.push_back([](QDialog& d) {
        auto& f = dynamic_cast<TPrintFineTune&>(d);
        EXPECT_EQ(f.windowTitle(), "Back Side Fine-Tuning");
        f.stepDown(TPrintFineTune::LeftMargin);
        f.stepDown(TPrintFineTune::LeftMargin);
        f.stepUp(TPrintFineTune::TopMargin);
        f.applyAndClose();
        return f.result();
    });
    window->printCommands().fineTuneBack();
    EXPECT_EQ(window->context().preferences().BackNudges.LeftMarginNudge, 2);
    EXPECT_EQ(window->context().preferences().BackNudges.TopMarginNudge, -1);
    EXPECT_EQ(window->context().preferences().Nudges.LeftMarginNudge, 0);
    window->loadPreferences();
    EXPECT_EQ(window->context().preferences().BackNudges.LeftMarginNudge, 2);

    // The two-sided test page: outlines and crosses on both sides.
    const QString pdf = out.filePath("test.pdf");
    modal->dialogs.push_back([pdf](QDialog& d) {
        QPrinter* printer = dynamic_cast<QPrintDialog&>(d).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    answerStatus();
    window->printCommands().printTwoSidedTestPage();
    EXPECT_EQ(cardora::test::PdfInfo(pdf, "Pages"), "2");
    // The back's crosses sit 2/32 inch right and 1/32 up of the mirrored centres.
    const QImage backPage = cardora::test::RenderPdf(pdf, 100, 2);
    ASSERT_FALSE(backPage.isNull());
    const double cx = 0.75 + 1.75 + 2.0 / 32, cy = 0.5 + 1.0 - 1.0 / 32;
    int dark = 0;
    for (int dx = -2; dx <= 2; ++dx)
        dark += cardora::test::IsDark(backPage.pixel(qRound(cx * 100) + dx, qRound(cy * 100) + 20)) ? 1 : 0;
    EXPECT_GT(dark, 0);
}

TEST_F(TwoSidedFixture, LayoutDialogFindsStocksByCodeOrBrandAndKeepsTheUsersOwn)
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    TEditCardLayout dialog;
    dialog.Values = window->context().preferences().Layout;
    dialog.show();
    dialog.prepareToShow();

    struct Case {
        const char* typed;
        const char* name;
        double width, left; // inches
        int across, down;
    };
    const Case cases[] = {
        { "8373", "8373", 3.5, 0.5, 2, 4 },
        { "zweckform 32010", "32010", 85 / 25.4, 14.11 / 25.4, 2, 5 },
        { "Herma", "5028", 83.8 / 25.4, 18.6 / 25.4, 2, 5 },
        { "lp 802", "LP 800", 85 / 25.4, 15 / 25.4, 2, 5 },
    };
    for (const Case& c : cases) {
        QTest::keyClicks(dialog.StockSearch, QString());
        dialog.StockSearch->clear();
        QTest::keyClicks(dialog.StockSearch, c.typed);
        EXPECT_TRUE(dialog.PredefinedLayouts->currentText().contains(c.name)) << c.typed;
        EXPECT_NEAR(dialog.Values.Width, c.width, 1e-9) << c.typed;
        EXPECT_NEAR(dialog.eleftmarg->Value(), c.left, 0.0005) << c.typed;
        EXPECT_EQ(dialog.enbracross->value(), c.across) << c.typed;
        EXPECT_EQ(dialog.enbrdown->value(), c.down) << c.typed;
    }
    dialog.StockSearch->clear();
    QTest::keyClicks(dialog.StockSearch, "XYZ-999");
    EXPECT_TRUE(dialog.StockInfo->text().contains("No card stock")) << dialog.StockInfo->text().toStdString();

    // Saved as the user's own, it is listed after the program's stocks.
    dialog.eCardwidth->SetValue(3.25);
    modal->dialogs.push_back([](QDialog& d) {
        dynamic_cast<QInputDialog&>(d).setTextValue("Shop stock");
        return int(mrOk);
    });
    dialog.saveStock();
    EXPECT_TRUE(dialog.PredefinedLayouts->currentText().startsWith("Shop stock")) << dialog.PredefinedLayouts->currentText().toStdString();
    EXPECT_TRUE(dialog.Stocks().back().User);
    EXPECT_TRUE(QFile::exists(UserStocksFileName()));

    // Exported, removed, imported back.
    const QString exported = out.filePath("mine.json");
    modal->fileNames.push_back(exported);
    dialog.exportStocks();
    ASSERT_TRUE(QFile::exists(exported));
    modal->answers.push_back(mrYes);
    dialog.deleteStock();
    EXPECT_FALSE(dialog.Stocks().back().User);
    modal->fileNames.push_back(exported);
    dialog.importStocks();
    ASSERT_TRUE(dialog.Stocks().back().User);
    EXPECT_EQ(dialog.Stocks().back().Name, "Shop stock");
    EXPECT_DOUBLE_EQ(dialog.Stocks().back().CardWidth, 3.25);

    // A damaged or hostile file is refused and changes nothing.
    const QByteArray before = bytesOf(UserStocksFileName());
    const QString bad = out.filePath("bad.json");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": 1, \"stocks\": [{\"name\": \"Huge\", \"paper\": \"A4\", \"unit\": \"in\", \"card\": [3.5, 2], "
            "\"grid\": [10, 30], \"margins\": [0, 0], \"pitch\": [3.5, 2]}]}");
    f.close();
    modal->messages.clear();
    modal->fileNames.push_back(bad);
    dialog.importStocks();
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_TRUE(modal->messages[0].text.contains("right edge")) << modal->messages[0].text.toStdString();
    EXPECT_EQ(bytesOf(UserStocksFileName()), before);
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(TwoSidedFixture, PreviewShowsTheFrontsThenTheBacksPageByPage)
{
    const QString back = saveCard("back.CDW", clBlue);
    saveCard("front.CDW", clRed);
    modal->fileNames.push_back(back);
    window->backSideCommands().chooseBackSide();
    answerStatus();
    std::vector<QImage> shown;
    modal->dialogs.push_back([&](QDialog& d) {
        auto& preview = dynamic_cast<TPreviewForm&>(d);
        preview.show();
        EXPECT_EQ(preview.FilePreview1->Pages(), 2);
        EXPECT_FALSE(preview.sbPriorPage->isEnabled());
        shown.push_back(preview.FilePreview1->PageControl()->grab().toImage());
        preview.sbNextPage->click();
        EXPECT_EQ(preview.FilePreview1->CurrentPage(), 2);
        EXPECT_FALSE(preview.sbNextPage->isEnabled());
        shown.push_back(preview.FilePreview1->PageControl()->grab().toImage());
        preview.closePreview();
        return int(mrOk);
    });
    window->printCommands().preview(); // a card with a back previews both sides
    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_GT(cardora::test::CountMatching(shown[0], isRed), 0);
    EXPECT_EQ(cardora::test::CountMatching(shown[0], isBlue), 0);
    EXPECT_GT(cardora::test::CountMatching(shown[1], isBlue), 0);
    EXPECT_EQ(cardora::test::CountMatching(shown[1], isRed), 0);
}
