#include "core/app_folder.h"
#include "core/ini_file.h"
#include "main/main_window.h"
#include "objects/shapes.h"
#include "objects/text_label.h"
#include "printing/fine_tune_dialog.h"
#include "printing/label_printer.h"
#include "printing/layout_dialog.h"
#include "printing/number_edit.h"
#include "printing/preview_form.h"
#include "printing/select_cards_dialog.h"
#include "report/report_pixels.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QToolButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include "main/window_fixture.h"

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

struct PrintCommandFixture : cardora::test::MainWindowFixture {
    QTemporaryDir out;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        choosePdfPrinter(out.filePath("Cardora.pdf"));
        EXPECT_TRUE(modal->dialogs.empty());
        modal->messages.clear();
    }
    CardPanel* panel() { return window->cardPanel(); }
    // A red rectangle from (48, 48) to (144, 96) panel pixels: 0.5 to 1.5 by 0.5 to 1 inch into the card.
    TBCShapes* addRedBox()
    {
        TBCShapes* s = TBCShapes::CreateForTool(window.get(), ShapeType::Rectangle);
        panel()->AddObject(s);
        s->SetBounds(48, 48, 96, 48);
        s->Brush()->SetColor(clRed);
        s->Pen()->SetColor(clRed);
        return s;
    }
    // Answers the selection dialog: positions to select (1-based, others cleared) and sheets.
    void answerSelection(std::vector<int> positions, int sheets = 1, bool ok = true)
    {
        modal->dialogs.push_back([=](QDialog& d) {
            auto& s = dynamic_cast<TSelectSpecificLabels&>(d);
            s.show();
            s.selectNone();
            for (int p : positions)
                QTest::mouseClick(s.PaintBox1, Qt::LeftButton, {}, s.PositionRects()[p - 1].center());
            s.pages->setValue(sheets);
            if (ok)
                s.applyAndClose();
            else
                s.cancelAndClose();
            return s.result();
        });
    }
    // Runs the status window as the user sees it, then presses its OK.
    void answerStatus(QString* finalText = nullptr, std::function<void(TLabelPrinter&)> during = nullptr)
    {
        modal->dialogs.push_back([=](QDialog& d) {
            auto& job = dynamic_cast<TLabelPrinter&>(d);
            if (during)
                during(job);
            job.runJobOnce();
            if (finalText)
                *finalText = job.RStatusLabel->text();
            job.cancelPrinting();
            return job.result();
        });
    }
    QString pdf(const char* name) { return out.filePath(name); }
    static int redCount(const QImage& page, int position, double left = 0.75, double top = 0.5)
    {
        const int col = (position - 1) % 2, row = (position - 1) / 2;
        const QRect box(qRound((left + col * 3.5 + 0.5) * 50) + 3, qRound((top + row * 2.0 + 0.5) * 50) + 3, 40, 18);
        return cardora::test::CountMatching(page, isRed, box);
    }
};

} // namespace

TEST_F(PrintCommandFixture, LayoutCommandReadsTheFileAndOnOkSavesAndResizesTheCard)
{
    // A hand edit between two openings is seen.
    {
        IniFile ini(PreferencesFileName());
        ini.WriteInteger("Layout", "Width", 3000);
    }
    modal->dialogs.push_back([](QDialog& d) {
        auto& l = dynamic_cast<TEditCardLayout&>(d);
        l.show();
        EXPECT_EQ(l.eCardwidth->text(), "3");
        l.eCardwidth->setText("3.6");
        l.eHorizPitch->setText("3.6");
        l.eCardHeight->setText("2.1"); // five rows still end on the sheet
        l.eVertPitch->setText("2.1");
        l.MMButton->click();
        l.applyAndClose();
        return l.result();
    });
    window->printCommands().changeLayout();
    EXPECT_EQ(window->context().preferences().Layout.Width, 3.6);
    EXPECT_EQ(window->context().preferences().Layout.Height, 2.1);
    EXPECT_TRUE(window->context().preferences().Layout.UseMM);
    EXPECT_EQ(panel()->size(), QSize(346, 202)); // round(96 x 3.6), round(96 x 2.1)
    IniFile ini(PreferencesFileName());
    EXPECT_EQ(ini.ReadInteger("Layout", "Width", 0), 3600);
    EXPECT_EQ(ini.ReadInteger("Layout", "Height", 0), 2100);
    EXPECT_TRUE(ini.ReadBool("Layout", "UseMM", false));

    // Cancel changes nothing.
    modal->dialogs.push_back([](QDialog& d) {
        auto& l = dynamic_cast<TEditCardLayout&>(d);
        l.show();
        EXPECT_TRUE(l.MMButton->isChecked());
        EXPECT_EQ(l.eCardwidth->text(), "91.44");
        l.eCardwidth->setText("50");
        l.cancelAndClose();
        return l.result();
    });
    window->printCommands().changeLayout();
    EXPECT_EQ(window->context().preferences().Layout.Width, 3.6);
    EXPECT_EQ(panel()->size(), QSize(346, 202));
}

TEST_F(PrintCommandFixture, FineTuningIsStoredOnlyOnOk)
{
    modal->dialogs.push_back([](QDialog& d) {
        auto& f = dynamic_cast<TPrintFineTune&>(d);
        f.show();
        f.stepDown(TPrintFineTune::TopMargin);
        f.stepDown(TPrintFineTune::TopMargin);
        f.stepUp(TPrintFineTune::HorizontalSpacing);
        f.applyAndClose();
        return f.result();
    });
    window->printCommands().fineTunePrinter();
    EXPECT_EQ(window->context().preferences().Nudges.TopMarginNudge, 2);
    EXPECT_EQ(window->context().preferences().Nudges.HorizontalSpacing, -1);
    IniFile ini(PreferencesFileName());
    EXPECT_EQ(ini.ReadInteger("Printer", "TopMarginNudge", 0), 2);

    modal->dialogs.push_back([](QDialog& d) {
        auto& f = dynamic_cast<TPrintFineTune&>(d);
        f.restoreDefaults();
        f.cancelAndClose();
        return f.result();
    });
    window->printCommands().fineTunePrinter();
    EXPECT_EQ(window->context().preferences().Nudges.TopMarginNudge, 2);
}

TEST_F(PrintCommandFixture, PrintAsksPositionsSheetsAndFileThenPrintsEverySheet)
{
    addRedBox();
    EXPECT_TRUE(window->printCommands().selectedPositions().AllOf(0, 300)); // all selected at start, whatever the layout
    answerSelection({ 1, 4, 10 }, 2);
    modal->fileNames.push_back(pdf("sheets.pdf"));
    QString finalText;
    answerStatus(&finalText);
    window->printCommands().print();

    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_EQ(modal->fileRequests.size(), 1u);
    EXPECT_TRUE(modal->fileRequests[0].save);
    EXPECT_EQ(modal->fileRequests[0].defaultExt, "pdf");
    EXPECT_EQ(modal->fileRequests[0].fileName, "Cardora.pdf");
    // A file is no printer: the text says where the sheets went.
    EXPECT_EQ(finalText, "Print job completed: the cards were saved to the PDF file\n" + pdf("sheets.pdf"));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(window->printCommands().selectedPositions()[i], i == 0 || i == 3 || i == 9) << i;

    ASSERT_TRUE(QFileInfo::exists(pdf("sheets.pdf")));
    EXPECT_EQ(cardora::test::PdfInfo(pdf("sheets.pdf"), "Pages"), "2");
    EXPECT_TRUE(cardora::test::PdfInfo(pdf("sheets.pdf"), "Page size").startsWith("612 x 792"));
    for (int p = 1; p <= 2; ++p) {
        const QImage page = cardora::test::RenderPdf(pdf("sheets.pdf"), 50, p);
        ASSERT_FALSE(page.isNull());
        for (int position = 1; position <= 10; ++position) {
            if (position == 1 || position == 4 || position == 10)
                EXPECT_GT(redCount(page, position), 600) << "page " << p << " position " << position;
            else
                EXPECT_EQ(redCount(page, position), 0) << "page " << p << " position " << position;
        }
    }
    EXPECT_FALSE(panel()->Printing());

    // The sheet count starts again from one: the next selection dialog shows 1.
    modal->dialogs.push_back([](QDialog& d) {
        auto& s = dynamic_cast<TSelectSpecificLabels&>(d);
        EXPECT_EQ(s.pages->value(), 1);
        EXPECT_TRUE(s.Flags()[3]);
        EXPECT_FALSE(s.Flags()[1]);
        s.cancelAndClose();
        return s.result();
    });
    window->printCommands().print();
    EXPECT_TRUE(modal->dialogs.empty());
    EXPECT_EQ(modal->fileRequests.size(), 1u); // cancelled before the file name
}

TEST_F(PrintCommandFixture, PrintingRestoresTheZoomAndPrintsAtTrueSize)
{
    addRedBox();
    for (int i = 0; i < 3; ++i)
        window->zoomIn();
    const float zoom = panel()->Zoom();
    ASSERT_GT(zoom, 1.25f);
    answerSelection({ 1 });
    modal->fileNames.push_back(pdf("zoomed.pdf"));
    answerStatus();
    window->printCommands().print();
    EXPECT_EQ(panel()->Zoom(), zoom);
    const QImage page = cardora::test::RenderPdf(pdf("zoomed.pdf"), 50);
    const QRect red = cardora::test::InkBounds(page, isRed);
    EXPECT_NEAR(red.left(), 62, 1); // (0.75 + 0.5) x 50
    EXPECT_NEAR(red.right(), 112, 1);
    EXPECT_NEAR(red.top(), 50, 1);
    EXPECT_NEAR(red.bottom(), 75, 1);
}

TEST_F(PrintCommandFixture, NoFileNameNoPrint)
{
    answerSelection({ 1 });
    answerStatus();
    window->printCommands().print(); // the file dialog is cancelled
    EXPECT_EQ(modal->fileRequests.size(), 1u);
    EXPECT_EQ(modal->dialogs.size(), 1u); // the status window never opened
}

TEST_F(PrintCommandFixture, PreviewRecordsTheWholeSheetAndShowsIt)
{
    addRedBox();
    window->printCommands().selectedPositions().fill(true);
    QString finalText;
    answerStatus(&finalText, [](TLabelPrinter& job) { EXPECT_EQ(job.windowTitle(), "Preview Status"); });
    QString caption;
    QImage shown;
    modal->dialogs.push_back([&](QDialog& d) {
        auto& p = dynamic_cast<TPreviewForm&>(d);
        EXPECT_EQ(p.windowTitle(), "Preview Business Cards");
        p.show();
        caption = p.windowTitle();
        EXPECT_TRUE(panel()->Previewing()); // the super shapes know it is a preview
        TPreviewPage* page = p.FilePreview1->PageControl();
        shown = QImage(page->size(), QImage::Format_RGB32);
        page->render(&shown);
        p.closePreview();
        return p.result();
    });
    window->printCommands().preview();
    EXPECT_TRUE(modal->dialogs.empty());
    EXPECT_TRUE(modal->fileRequests.empty()); // a preview asks for no file
    EXPECT_EQ(finalText, "\nBusiness Card preview ready!");
    EXPECT_EQ(caption, "Preview Page 1 of 1");
    // At 100 % and 96 ppi with a 20 pixel margin: the sheet as it prints,
    // from card 1's red box to card 10's.
    const QRect red = cardora::test::InkBounds(shown, isRed);
    EXPECT_NEAR(red.left(), 20 + 120, 2);
    EXPECT_NEAR(red.top(), 20 + 96, 2);
    EXPECT_NEAR(red.right(), 20 + 408 + 144, 2);
    EXPECT_NEAR(red.bottom(), 20 + 816 + 96, 2);
    EXPECT_GT(cardora::test::CountMatching(shown, isRed, QRect(20 + 408 + 48, 20 + 240 + 48, 96, 48)), 4000); // card 4
    EXPECT_FALSE(panel()->Previewing());
}

TEST_F(PrintCommandFixture, StoppedPreviewShowsNoWindow)
{
    addRedBox();
    QString finalText;
    answerStatus(&finalText, [](TLabelPrinter& job) {
        job.OnCardPrinted = [&job](int) { job.cancelPrinting(); };
    });
    modal->dialogs.push_back([](QDialog&) {
        ADD_FAILURE() << "no preview after Stop";
        return int(mrOk);
    });
    window->printCommands().preview();
    EXPECT_EQ(finalText, "\nBusiness Card Preview Canceled!");
    EXPECT_EQ(modal->dialogs.size(), 1u);
    modal->dialogs.clear();
}

TEST_F(PrintCommandFixture, OutlineTestPageDrawsCardOutlinesOnly)
{
    addRedBox();
    window->printCommands().selectedPositions().fill(true);
    window->printCommands().selectedPositions().Set(1, false);
    // The user keeps the PDF file printer in the print dialog and names the
    // file there; it is not asked for again.
    modal->dialogs.push_back([this](QDialog& d) {
        QPrinter* printer = dynamic_cast<QPrintDialog&>(d).printer();
        EXPECT_EQ(printer->outputFormat(), QPrinter::PdfFormat); // still the PDF file printer
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf("outline.pdf"));
        return int(QDialog::Accepted);
    });
    answerStatus();
    window->printCommands().printOutlineTestPage();
    EXPECT_TRUE(modal->dialogs.empty());
    EXPECT_TRUE(modal->fileRequests.empty());
    EXPECT_TRUE(window->printCommands().outlineOnly());
    const QImage page = cardora::test::RenderPdf(pdf("outline.pdf"), 50);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(cardora::test::CountMatching(page, isRed), 0); // no objects
    // Card 1 from (37.5, 25) to (212.5, 125) pixels at 50 dpi; position 2 left out.
    EXPECT_TRUE(cardora::test::IsDark(page.pixel(100, 25)) || cardora::test::IsDark(page.pixel(100, 26)));
    EXPECT_TRUE(cardora::test::IsDark(page.pixel(37, 60)) || cardora::test::IsDark(page.pixel(38, 60)));
    EXPECT_EQ(cardora::test::CountMatching(page, cardora::test::IsDark, QRect(250, 20, 150, 10)), 0);
    EXPECT_GT(cardora::test::CountMatching(page, cardora::test::IsDark, QRect(250, 120, 150, 10)), 100); // position 4

    // Cancelling the print dialog prints nothing and keeps the PDF file printer.
    modal->dialogs.clear();
    modal->dialogs.push_back([](QDialog&) { return int(QDialog::Rejected); });
    window->printCommands().printOutlineTestPage();
    EXPECT_TRUE(modal->dialogs.empty());
    answerSelection({ 1 });
    answerStatus();
    modal->fileNames.push_back(pdf("after-cancel.pdf"));
    window->printCommands().print();
    EXPECT_EQ(modal->fileRequests.size(), 1u); // asked once, by the print command
    EXPECT_TRUE(QFileInfo::exists(pdf("after-cancel.pdf")));
}

namespace {

QString pdfText(const QString& pdf, int page)
{
    QProcess p;
    p.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray savedCard(CardPanel& panel, const QString& path)
{
    panel.SaveCardFile(path);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// File › Merge Data: the navigator pages through the records, fields as
// typed on request; the card file never changes with the record shown; the
// print dialog prints a range of records, one card per record.
TEST_F(PrintCommandFixture, MergedDataShowsEachRecordAndPrintsTheChosenRange)
{
    QByteArray csv = "Name;Title\n";
    for (int i = 1; i <= 12; ++i)
        csv += i == 1 ? QByteArray("Person01;\n") // shorter than the fields as typed
                      : QString("Person%1%2;Title %1\n").arg(i, 2, 10, QChar('0')).arg(QString(i * 3, 'x')).toUtf8();
    const QString data = out.filePath("people.csv");
    ASSERT_TRUE(writeBytes(data, csv));
    auto* label = new TQBusinessCardLabel(window.get());
    label->Loaded();
    panel()->PlaceNewObject(label, QRect(10, 10, 200, 20));
    label->SetAngle(90); // a turned label's box follows its text: it must not follow the record
    label->SetCaption("${Name}, ${title}");
    auto* asTyped = window->findChild<QCheckBox*>("FieldsAsTyped");
    asTyped->setChecked(true);
    label->CalcLayout();
    const QRect box = label->BoundsRect();
    const QByteArray typed = savedCard(*panel(), out.filePath("typed.CDW"));
    asTyped->setChecked(false);

    modal->fileNames.push_back(data);
    window->mergeCommands().mergeData();
    ASSERT_TRUE(window->context().merge().data.get());
    EXPECT_TRUE(modal->messages.empty());
    auto* count = window->findChild<QLabel*>("RecordCount");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->text(), "of 12");
    auto shown = [&] {
        return panel()->FieldValues() ? panel()->FieldValues()->ValueOr("name").left(8) : QString("typed");
    };
    EXPECT_EQ(shown(), "Person01");
    label->CalcLayout();
    EXPECT_EQ(label->BoundsRect(), box);
    const char* clicks[] = {"NextRecord", "NextRecord", "LastRecord", "NextRecord", "PreviousRecord", "FirstRecord"};
    const char* expected[] = {"Person02", "Person03", "Person12", "Person12", "Person11", "Person01"};
    for (int i = 0; i < 6; ++i) {
        QTest::mouseClick(window->findChild<QToolButton*>(clicks[i]), Qt::LeftButton);
        EXPECT_EQ(shown(), expected[i]) << clicks[i];
        label->CalcLayout();
        EXPECT_EQ(label->BoundsRect(), box) << clicks[i];
        EXPECT_EQ(savedCard(*panel(), out.filePath("shown.CDW")), typed) << clicks[i];
    }
    asTyped->setChecked(true);
    EXPECT_EQ(shown(), "typed");
    asTyped->setChecked(false);

    // Records 3 to 5 of 12 onto positions 2 and 3: two sheets.
    modal->dialogs.push_back([](QDialog& d) {
        auto& s = dynamic_cast<TSelectSpecificLabels&>(d);
        s.show();
        EXPECT_TRUE(s.RecordsBox->isVisible());
        EXPECT_FALSE(s.pages->isVisible());
        EXPECT_TRUE(s.StartAt->isVisible()); // a partly used first sheet still counts
        EXPECT_EQ(s.LastRecord->value(), 12);
        s.selectNone();
        for (int p : {2, 3})
            QTest::mouseClick(s.PaintBox1, Qt::LeftButton, {}, s.PositionRects()[p - 1].center());
        s.FirstRecord->setValue(3);
        s.LastRecord->setValue(5);
        s.applyAndClose();
        return s.result();
    });
    modal->fileNames.push_back(pdf("merged.pdf"));
    answerStatus();
    window->printCommands().print();
    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_EQ(cardora::test::PdfInfo(pdf("merged.pdf"), "Pages"), "2");
    const QString first = pdfText(pdf("merged.pdf"), 1), second = pdfText(pdf("merged.pdf"), 2);
    for (const char* name : {"Person03", "Person04"})
        EXPECT_TRUE(first.contains(name)) << first.toStdString();
    EXPECT_TRUE(second.contains("Person05")) << second.toStdString();
    for (const char* name : {"Person01", "Person02", "Person06", "Person12"})
        EXPECT_FALSE(first.contains(name) || second.contains(name)) << name;
    EXPECT_EQ(shown(), "Person01"); // the window shows its record again

    // A field the data lacks stops the print before anything is written.
    label->SetCaption("${Name} ${Email}");
    modal->dialogs.clear();
    window->printCommands().print();
    EXPECT_TRUE(modal->dialogs.empty());
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_TRUE(modal->messages.back().text.contains("Email")) << modal->messages.back().text.toStdString();

    // Data that lacks a field is refused and the data read before stays.
    modal->messages.clear();
    ASSERT_TRUE(writeBytes(out.filePath("names.csv"), "Name\nAna\n"));
    modal->fileNames.push_back(out.filePath("names.csv"));
    window->mergeCommands().mergeData();
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_TRUE(modal->messages[0].text.contains("Email"));
    EXPECT_EQ(window->context().merge().file, data);

    window->mergeCommands().forgetMergeData();
    EXPECT_FALSE(window->context().merge().data.get());
    EXPECT_FALSE(count->isVisible());
    EXPECT_EQ(shown(), ""); // the personal information, empty here
}
