#include "print_probe.h"
#include "printing/preview_form.h"
#include "report/recording_report.h"
#include "support/scripted_modal.h"
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace cardora;

namespace {
struct PreviewFixture : ::testing::Test {
    TRecordingReport pages { cardora::test::LetterAt(300) };
    std::unique_ptr<TPreviewForm> form;

    void SetUp() override
    {
        pages.OnPrint = [](TReport& r) {
            r.SetBrush(clBlack, BrushStyle::Solid);
            r.Rectangle(0.75, 0.5, 4.25, 2.5);
        };
        ASSERT_TRUE(pages.Execute());
        form = std::make_unique<TPreviewForm>();
        form->setWindowTitle("Preview Business Cards");
        form->FilePreview1->SetStream(&pages);
    }
    QImage pageImage()
    {
        TPreviewPage* page = form->FilePreview1->PageControl();
        QImage image(page->size(), QImage::Format_RGB32);
        page->render(&image);
        return image;
    }
};
} // namespace

TEST_F(PreviewFixture, ShowsTheFirstPageAtTrueSizeAndNamesIt)
{
    EXPECT_EQ(form->windowTitle(), "Preview Business Cards");
    form->show();
    EXPECT_EQ(form->windowTitle(), "Preview Page 1 of 1");
    EXPECT_EQ(form->FilePreview1->Zoom(), 100.0);
    EXPECT_EQ(form->FilePreview1->Pages(), 1);
    TPreviewPage* page = form->FilePreview1->PageControl();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->parentWidget(), form->ScrollBox1->viewport());
    // 100 % is the sheet at the screen's 96 pixels per inch, with a 2.5 % margin and a 5 pixel shadow.
    EXPECT_EQ(page->SheetRect(), QRect(20, 20, 816, 1056));
    EXPECT_EQ(page->size(), QSize(816 + 40 + 5, 1056 + 40 + 5));
    const QImage image = pageImage();
    EXPECT_EQ(image.pixel(20 + 72 + 10, 20 + 48 + 10), qRgb(0, 0, 0)); // the card at (0.75, 0.5) inches
    EXPECT_EQ(image.pixel(20 + 60, 20 + 40), qRgb(255, 255, 255));    // the sheet
    EXPECT_EQ(image.pixel(5, 5), qRgb(128, 128, 128));                  // the desk
    EXPECT_EQ(image.pixel(20 + 816 + 2, 600), qRgb(0, 0, 0));           // the shadow
}

TEST_F(PreviewFixture, ZoomButtonsAndClicksOnThePage)
{
    form->show();
    form->sbZoomIn->click();
    EXPECT_EQ(form->FilePreview1->Zoom(), 110.0);
    EXPECT_EQ(form->FilePreview1->PageControl()->SheetRect().width(), qRound(8.5 * 96 * 1.1));
    form->sbZoomOut->click();
    form->sbZoomOut->click();
    EXPECT_EQ(form->FilePreview1->Zoom(), 90.0);

    TPreviewPage* page = form->FilePreview1->PageControl();
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(form->FilePreview1->Zoom(), 100.0);
    QTest::mouseClick(page, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_EQ(form->FilePreview1->Zoom(), 90.0);

    form->resize(700, 600);
    QCoreApplication::processEvents();
    form->sbZoomPageWidth->click();
    const int viewport = form->ScrollBox1->viewport()->width();
    EXPECT_LE(form->FilePreview1->PageControl()->width(), viewport + 1);
    EXPECT_GE(form->FilePreview1->PageControl()->width(), viewport - 3);
    form->sbZoomPage->click();
    EXPECT_LE(form->FilePreview1->PageControl()->height(), form->ScrollBox1->viewport()->height() + 1);

    // Zooming out never reaches zero.
    for (int i = 0; i < 40; ++i)
        form->zoomOut();
    EXPECT_EQ(form->FilePreview1->Zoom(), TFilePreview::kMinZoom);
    EXPECT_GT(form->FilePreview1->PageControl()->width(), 0);
}

TEST_F(PreviewFixture, ArrowKeysScrollWithinTheRangeAndOkCloses)
{
    form->resize(500, 400);
    form->show();
    QCoreApplication::processEvents();
    QScrollBar* bar = form->ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::keyClick(form->ScrollBox1, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(form->ScrollBox1, Qt::Key_Up);
    QTest::keyClick(form->ScrollBox1, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    form->handleKey(Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->maximum());

    form->CloseButton->click();
    EXPECT_EQ(form->result(), mrOk);
    EXPECT_FALSE(form->FilePreview1->Active());
    EXPECT_FALSE(form->isVisible());
}
