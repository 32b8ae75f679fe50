#include "print_probe.h"
#include "printing/fine_tune_dialog.h"
#include "printing/print_run.h"
#include "printing/select_cards_dialog.h"
#include "printing/warn_bottom_dialog.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "support/scripted_modal.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {
struct DialogFixture : ::testing::Test {
    std::shared_ptr<ScriptedModal> modal;
    void SetUp() override { modal = ScriptedModal::Install(); }
    void TearDown() override { SetModalHandler(nullptr); }
};

QImage grab(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    w->render(&image);
    return image;
}
} // namespace

// ---- fine tuning

TEST(FineTune, NudgeTextsInThirtySeconds)
{
    EXPECT_EQ(NudgeText(0), "None");
    EXPECT_EQ(NudgeText(8), "Increase by 8/32\"");
    EXPECT_EQ(NudgeText(1), "Increase by 1/32\"");
    EXPECT_EQ(NudgeText(-3), "Decrease by 3/32\"");
    EXPECT_EQ(NudgeText(-8), "Decrease by 8/32\"");
}

TEST_F(DialogFixture, FineTuneStopsAtEightEachWayAndDefaultClearsAll)
{
    TPrinterNudges start;
    start.LeftMarginNudge = -8;
    start.VerticalSpacing = 3;
    start.HorizontalSpacing = 12; // from a hand-edited file
    TPrintFineTune d(start);
    d.show();
    EXPECT_EQ(d.windowTitle(), "Printer Fine-Tuning");
    EXPECT_EQ(d.findChild<QLabel*>("lTopMarginNudge")->text(), "None");
    EXPECT_EQ(d.findChild<QLabel*>("LLeftMarginNudge")->text(), "Decrease by 8/32\"");
    EXPECT_EQ(d.findChild<QLabel*>("LVerticalSpacing")->text(), "Increase by 3/32\"");
    EXPECT_EQ(d.findChild<QLabel*>("LHorizontalSpacing")->text(), "Increase by 12/32\"");

    // The down arrow, nine times from 0, stops at 8.
    QToolButton* down = d.findChild<TSpinButtonPair*>("TopMarginSpinner")->DownButton();
    for (int i = 0; i < 9; ++i)
        down->click();
    EXPECT_EQ(d.Value(TPrintFineTune::TopMargin), 8);
    EXPECT_EQ(d.ValueLabel(TPrintFineTune::TopMargin)->text(), "Increase by 8/32\"");
    // The up arrow at -8 does nothing.
    d.findChild<TSpinButtonPair*>("LeftMarginSpinner")->UpButton()->click();
    EXPECT_EQ(d.Value(TPrintFineTune::LeftMargin), -8);
    // Above 8 only the up arrow moves it.
    d.stepDown(TPrintFineTune::HorizontalSpacing);
    EXPECT_EQ(d.Value(TPrintFineTune::HorizontalSpacing), 12);
    d.stepUp(TPrintFineTune::HorizontalSpacing);
    EXPECT_EQ(d.Value(TPrintFineTune::HorizontalSpacing), 11);

    d.findChild<QPushButton*>("DefaultButton")->click();
    for (const char* name : { "lTopMarginNudge", "LLeftMarginNudge", "LVerticalSpacing", "LHorizontalSpacing" })
        EXPECT_EQ(d.findChild<QLabel*>(name)->text(), "None") << name;
    d.stepDown(TPrintFineTune::VerticalSpacing);
    d.findChild<QPushButton*>("OKButton")->click();
    EXPECT_EQ(d.result(), mrOk);
    const TPrinterNudges n = d.Nudges();
    EXPECT_EQ(n.TopMarginNudge, 0);
    EXPECT_EQ(n.VerticalSpacing, 1);

    TPrintFineTune c(start);
    c.stepDown(TPrintFineTune::TopMargin);
    c.reject();
    EXPECT_EQ(c.result(), mrCancel);
}

// ---- card selection

TEST(SelectionPicture, DefaultLayoutAtNinetySixPixelsPerInch)
{
    const QRect page = TSelectionPicture::PageRect(QSizeF(8.5, 11.0), 96);
    EXPECT_EQ(page, QRect(10, 10, 163, 211));
    EXPECT_EQ(TSelectionPicture::PageRect(QSizeF(8.268, 11.69), 96), QRect(10, 10, 158, 224));
    const std::vector<QRect> r = TSelectionPicture::PositionRects(TCardLayout(), 96);
    ASSERT_EQ(r.size(), 10u);
    // Position 1 from (24, 19) to (91, 57), position 2 from (91, 19) to (158, 57), right and bottom outside.
    EXPECT_EQ(r[0], QRect(QPoint(24, 19), QPoint(90, 56)));
    EXPECT_EQ(r[1], QRect(QPoint(91, 19), QPoint(157, 56)));
    EXPECT_EQ(r[1].size(), QSize(67, 38));
    EXPECT_EQ(r[9].top(), 9 + 4 * 38 + 10);
    // The shared edge belongs to the position on its right.
    EXPECT_EQ(TSelectionPicture::PositionAt(r, QPoint(91, 30)), 1);
    EXPECT_EQ(TSelectionPicture::PositionAt(r, QPoint(90, 30)), 0);
    EXPECT_EQ(TSelectionPicture::PositionAt(r, QPoint(24, 19)), 0);
    EXPECT_EQ(TSelectionPicture::PositionAt(r, QPoint(23, 19)), -1);
    EXPECT_EQ(TSelectionPicture::PositionAt(r, QPoint(30, 57)), 2);

    // Products are truncated one by one: 3 x 0.9 inch cards at 120 ppi.
    TCardLayout three;
    three.Across = 3;
    three.Width = 0.9;
    three.HPitch = 0.99;
    three.LeftMargin = 0.11;
    const std::vector<QRect> t = TSelectionPicture::PositionRects(three, 120);
    EXPECT_EQ(t[2].left(), 2 + 2 * 23 + 10); // trunc(0.11 x 24) + 2 x trunc(0.99 x 24) + 10
    EXPECT_EQ(t[2].width(), 21);
}

TEST_F(DialogFixture, SelectionPictureShowsSelectedPositionsRedAndClicksToggleThem)
{
    TRecordingReport settings(cardora::test::LetterAt(100));
    TSelectSpecificLabels d(&settings);
    TPositionSelection flags(10, true);
    flags.Set(1, false);
    d.Setup(flags, TCardLayout(), QSizeF(8.5, 11.0));
    d.show();
    EXPECT_EQ(d.windowTitle(), "Print Cards");
    EXPECT_EQ(d.PaintBox1->size(), QSize(204, 237));
    EXPECT_EQ(d.PrinterLabel->text(), settings.PrinterName());
    EXPECT_EQ(d.pages->value(), 1);
    EXPECT_EQ(d.pages->minimum(), 1);
    EXPECT_EQ(d.pages->maximum(), 99);

    QImage picture = grab(d.PaintBox1);
    EXPECT_EQ(picture.pixel(40, 30), qRgb(255, 0, 0));     // position 1 selected
    EXPECT_EQ(picture.pixel(120, 30), qRgb(255, 255, 255)); // position 2 not
    EXPECT_EQ(picture.pixel(24, 30), qRgb(0, 0, 0));        // outlines
    EXPECT_EQ(picture.pixel(90, 30), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(15, 200), qRgb(255, 255, 255)); // the page
    EXPECT_EQ(picture.pixel(172, 100), qRgb(0, 0, 0));      // its right edge
    EXPECT_NE(picture.pixel(173, 100), qRgb(0, 0, 0));

    QTest::mouseClick(d.PaintBox1, Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_TRUE(d.Flags()[1]);
    QTest::mouseClick(d.PaintBox1, Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_FALSE(d.Flags()[0]);
    QTest::mouseClick(d.PaintBox1, Qt::LeftButton, {}, QPoint(5, 5)); // outside every card
    picture = grab(d.PaintBox1);
    EXPECT_EQ(picture.pixel(40, 30), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(120, 30), qRgb(255, 0, 0));
}

TEST_F(DialogFixture, SelectionOkNeedsOnePositionAndLeavesTheSheetsInTheCopies)
{
    TRecordingReport settings(cardora::test::LetterAt(100));
    TSelectSpecificLabels d(&settings);
    d.Setup(TPositionSelection(10, true), TCardLayout(), QSizeF(8.5, 11.0));
    d.show();
    d.findChild<QPushButton*>("Selectnone")->click();
    d.findChild<QPushButton*>("OKbutton")->click();
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_EQ(modal->messages[0].text, "You must select at least one card to print");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.result(), 0);

    QTest::mouseClick(d.PaintBox1, Qt::LeftButton, {}, QPoint(100, 100)); // position 6
    d.pages->setValue(3);
    d.applyAndClose();
    EXPECT_EQ(d.result(), mrOk);
    EXPECT_EQ(settings.Copies(), 3);
    EXPECT_EQ(settings.Orientation(), PageOrientation::Portrait);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(d.Flags()[i], i == 5) << i;

    TSelectSpecificLabels e(&settings);
    e.Setup(TPositionSelection(10, false), TCardLayout(), QSizeF(8.5, 11.0));
    e.show();
    e.findChild<QPushButton*>("SelectAll")->click();
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_EQ(e.result(), mrOk);
    EXPECT_TRUE(e.Flags().AllOf(0, 10));
    TSelectSpecificLabels f(&settings);
    f.Setup(TPositionSelection(10, true), TCardLayout(), QSizeF(8.5, 11.0));
    f.show();
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_EQ(f.result(), mrCancel);
}

TEST_F(DialogFixture, LargeLayoutsGetATableAndPictureForEveryPosition)
{
    TCardLayout big;
    big.Across = 10;
    big.Down = 30;
    big.Width = 0.8;
    big.HPitch = 0.8;
    big.Height = 0.35;
    big.VPitch = 0.35;
    big.LeftMargin = 0.25;
    big.TopMargin = 0.25;
    TRecordingReport settings(cardora::test::LetterAt(100));
    TSelectSpecificLabels d(&settings);
    d.Setup(TPositionSelection(10, false), big, QSizeF(8.5, 11.0));
    d.show();
    ASSERT_EQ(d.PositionRects().size(), 300u);
    // The last position, bottom right, can be toggled and painted.
    const QRect last = d.PositionRects()[299];
    QTest::mouseClick(d.PaintBox1, Qt::LeftButton, {}, last.center());
    EXPECT_TRUE(d.Flags()[299]);
    EXPECT_EQ(grab(d.PaintBox1).pixel(last.center()), qRgb(255, 0, 0));
    d.applyAndClose();
    EXPECT_EQ(d.result(), mrOk); // position 300 alone is a selection

    // A sheet whose cards reach past the usual picture gets a larger picture.
    TCardLayout wide = big;
    wide.Across = 10;
    wide.HPitch = 1.5;
    wide.Width = 1.4;
    TSelectSpecificLabels w(&settings);
    w.Setup(TPositionSelection(10, true), wide, QSizeF(8.5, 11.0));
    EXPECT_GE(w.PaintBox1->width(), w.PositionRects().back().right() + 1);
}

// ---- bottom margin

TEST(BottomMargin, WarningNeedsAMarginAboveHalfAnInchAndTheWholeBottomRow)
{
    const TCardLayout l;
    TPositionSelection all(10, true);
    EXPECT_TRUE(BottomMarginWarningDue(0.6, l, all, true));
    EXPECT_FALSE(BottomMarginWarningDue(0.5, l, all, true));
    EXPECT_FALSE(BottomMarginWarningDue(0.6, l, all, false));
    TPositionSelection one = all;
    one.Set(9, false); // only position 9 of 9 and 10
    EXPECT_FALSE(BottomMarginWarningDue(0.6, l, one, true));
    TPositionSelection bottomOnly(10, false);
    bottomOnly.Set(8, true);
    bottomOnly.Set(9, true);
    EXPECT_TRUE(BottomMarginWarningDue(0.66, l, bottomOnly, true));

    // Three across and seven down: positions 19, 20 and 21 form the bottom row.
    TCardLayout big;
    big.Across = 3;
    big.Down = 7;
    TPositionSelection s(21, false);
    s.Set(18, true);
    s.Set(19, true);
    EXPECT_FALSE(BottomMarginWarningDue(0.6, big, s, true));
    s.Set(20, true);
    EXPECT_TRUE(BottomMarginWarningDue(0.6, big, s, true));
}

TEST_F(DialogFixture, BottomMarginWarningTextsAndAnswers)
{
    TWarnBottomMargin d;
    d.ShowMargin(0.6);
    EXPECT_EQ(d.windowTitle(), "ALERT");
    EXPECT_TRUE(d.BotMarg->text().endsWith("bottom margin setting of : 0.600 inches"));
    EXPECT_TRUE(d.Difference->text().endsWith("cut off by approximately: 0.100 inches"));
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);

    modal->dialogs.push_back([](QDialog& dialog) {
        auto& w = dynamic_cast<TWarnBottomMargin&>(dialog);
        w.DontShowCheck->setChecked(true);
        w.findChild<QPushButton*>("Cancelbutton")->click();
        return w.result();
    });
    TBottomMarginAnswer a = AskBottomMargin(0.75, nullptr, nullptr);
    EXPECT_FALSE(a.Continue);
    EXPECT_TRUE(a.DontShowAgain);
    modal->dialogs.push_back([](QDialog& dialog) {
        auto& w = dynamic_cast<TWarnBottomMargin&>(dialog);
        EXPECT_TRUE(w.BotMarg->text().endsWith(" 0.750 inches"));
        EXPECT_TRUE(w.Difference->text().endsWith(" 0.250 inches"));
        w.findChild<QPushButton*>("OKButton")->click();
        return w.result();
    });
    a = AskBottomMargin(0.75, nullptr, nullptr);
    EXPECT_TRUE(a.Continue);
    EXPECT_FALSE(a.DontShowAgain);
}

// ---- printer dialogs with the PDF file printer

// A report printing to a PDF file shows as the PDF entry with its file name
// in Qt's print and set-up dialogs, not as the first queue; a confirmed
// dialog has asked for the file, so the print command does not ask again.
TEST_F(DialogFixture, PrinterDialogsKeepThePdfFilePrinter)
{
    struct Case {
        const char* dialog;
        bool (TPrinterReport::*run)();
        int answer;
    };
    const Case cases[] = {
        { "print", &TPrinterReport::PrintDialog, QDialog::Rejected },
        { "print", &TPrinterReport::PrintDialog, QDialog::Accepted },
        { "set-up", &TPrinterReport::PrinterSetupDialog, QDialog::Rejected },
        { "set-up", &TPrinterReport::PrinterSetupDialog, QDialog::Accepted },
    };
    const QString file = QDir::temp().filePath("cardora-dialog-test.pdf");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + (c.answer == QDialog::Accepted ? " accepted" : " cancelled"));
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        TPrinterReport report(printer);
        report.SelectPdfFile(file);
        QString shownPrinter, shownFile;
        bool pdfWhileShown = false;
        modal->dialogs.push_back([&](QDialog& d) {
            d.show();
            QCoreApplication::processEvents();
            if (auto* printers = d.findChild<QComboBox*>("printers"))
                shownPrinter = printers->currentText();
            if (auto* name = d.findChild<QLineEdit*>("filename"))
                shownFile = name->text();
            pdfWhileShown = report.IsPdfFile();
            if (c.answer == QDialog::Accepted)
                d.accept(); // the dialog applies what it shows
            return c.answer;
        });
        EXPECT_EQ((report.*c.run)(), c.answer == QDialog::Accepted);
        EXPECT_TRUE(shownPrinter.contains("PDF")) << shownPrinter.toStdString();
        EXPECT_EQ(shownFile, file);
        EXPECT_TRUE(pdfWhileShown);
        EXPECT_EQ(report.TakePdfConfirmation(), c.answer == QDialog::Accepted);
        EXPECT_FALSE(report.TakePdfConfirmation()); // once
    }
}
