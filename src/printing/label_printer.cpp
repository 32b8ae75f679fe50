#include "printing/label_printer.h"
#include "report/picture_printing.h"
#include "core/modal.h"
#include "printing/crop_marks.h"
#include "report/printer_report.h"
#include "report/report.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace cardora {

TLabelPrinter::TLabelPrinter(TQBusinessCardPanel32& panel, QWidget* parent) : QDialog(parent), panel_(panel)
{
    setObjectName("LabelPrinter");
    setWindowTitle("Print Status Screen");
    auto* l = new QVBoxLayout(this);
    RStatusLabel = new QLabel(this);
    RStatusLabel->setObjectName("RStatusLabel");
    RStatusLabel->setAlignment(Qt::AlignCenter);
    RStatusLabel->setWordWrap(true);
    RStatusLabel->setMinimumSize(300, 90);
    Extralabel = new QLabel(this);
    Extralabel->setObjectName("Extralabel");
    Extralabel->setAlignment(Qt::AlignCenter);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    l->addWidget(RStatusLabel, 1);
    l->addWidget(Extralabel);
    l->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

TLabelPrinter::~TLabelPrinter() = default;

void TLabelPrinter::Setup(TReport& report, const TPrintJobRequest& r)
{
    report_ = &report;
    sheets_ = std::max(1, r.Sheets);
    selection_ = r.Selection;
    outlineOnly_ = r.OutlineOnly;
    cropMarks_ = r.CropMarks;
    geometry_ = TSheetGeometry::From(r.Layout, r.Nudges);
    backgroundFile_ = r.BackgroundFile;
    printing_ = r.Printing;
    if (printing_) {
        setWindowTitle("Print Status");
        CancelButton->setText("Cancel");
    } else {
        setWindowTitle("Preview Status");
        CancelButton->setText("Stop");
    }
    report.SetOrientation(poPortrait);
    report.OnBeforePrint = [this](TReport& sender) { BeforePrintLabels(sender); };
    report.OnPrint = [this](TReport& sender) { PrintLabels(sender); };
}

void TLabelPrinter::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The job runs once the status window is up.
    if (!ran_)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TLabelPrinter::reject() { CancelButtonClick(); }

void TLabelPrinter::FormActivate()
{
    if (ran_ || !report_)
        return;
    ran_ = true;
    setWindowTitle(printing_ ? "Print Status " : "Preview Status");
    report_->SetStatusLabel(RStatusLabel);
    LoadBackGround();
    try {
        if (!report_->Execute())
            error_ = report_->ErrorString();
    } catch (const std::exception& e) {
        error_ = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error_ = QStringLiteral("The print job stopped on an unexpected error");
    }
    if (error_.isEmpty() && !report_->ErrorString().isEmpty())
        error_ = report_->ErrorString();
    // The report may outlive this form: it keeps no handler of it.
    report_->OnBeforePrint = nullptr;
    report_->OnPrint = nullptr;
    QCoreApplication::processEvents();
    Extralabel->clear();
    finished_ = true;
    CancelButton->setText("OK");
    CancelButton->setDefault(true);
    if (!error_.isEmpty() && !report_->Aborted()) {
        report_->SetStatusFormat((printing_ ? "Business Card printing failed:\r" : "Business Card preview failed:\r")
            + QString(error_).replace('%', "%%"));
    } else {
        auto* printer = dynamic_cast<TPrinterReport*>(report_);
        const QString pdf =
            printer && printer->IsPdfFile() ? QDir::toNativeSeparators(printer->OutputFileName()) : QString();
        report_->SetStatusFormat(
            FinalStatus(report_->Aborted(), printing_, panel_.HasFilledObjects(), QString(pdf).replace('%', "%%")));
    }
    report_->UpdateStatus();
}

QString TLabelPrinter::FinalStatus(bool aborted, bool printing, bool filled, const QString& pdfFile)
{
    if (aborted)
        return printing ? QStringLiteral("\rBusiness Card Print Canceled!")
                        : QStringLiteral("\rBusiness Card Preview Canceled!");
    // A file is not a printer: say where the sheets went.
    if (printing && !pdfFile.isEmpty())
        return QStringLiteral("Print job completed: the cards were saved to the PDF file\r") + pdfFile;
    if (printing)
        return filled ? QStringLiteral("Print job completed and sent to printer!\r\rNote: this design contains "
                                       "complex shapes or text.\rPlease be patient while the printer produces "
                                       "its\routput...")
                      : QStringLiteral("Print job completed and sent to printer!");
    return filled ? QStringLiteral("Business Card preview ready to view!\r\rNote: To save time, only a single card "
                                   "is previewed\r\r** This design contains complex shapes or text.\rPlease be "
                                   "patient while the previewer prepares\rthe viewing page")
                  : QStringLiteral("\rBusiness Card preview ready!\r\rNote: To save time, only a single card is "
                                   "previewed");
}

void TLabelPrinter::BeforePrintLabels(TReport& report)
{
    // A driver that makes copies itself repeats the one sheet.
    if (printing_ && sheets_ > 1 && report.DriverMaxCopies() > 1) {
        report.SetCopies(sheets_);
        sheets_ = 1;
    }
    report.SetStatusFormat(printing_ ? "Printing Page %p\r%0\r%1" : "Preparing Preview Page %p\r%0\r%1");
    report.StatusText() << QString() << QString();
}

void TLabelPrinter::PrintLabels(TReport& report)
{
    TPrintingScope printingFlag(panel_);
    report.SetMarginLeft(0.0);
    report.SetMarginTop(0.0);
    const TSheetGeometry& g = geometry_;
    int col = -1;
    int row = 0;
    // A page past its budget ends the job; the report says why.
    while (!cancelled_ && report.WithinBudget()) {
        ++col;
        if (col + 1 > g.Across) {
            col = 0;
            ++row;
        }
        // A preview shows the first column only.
        if (col > 0 && !printing_)
            break;
        if (row + 1 > g.Down) {
            row = 0;
            col = 0;
            if (report.CurrentPage() >= sheets_)
                break;
            report.NewPage();
        }
        const int index = row * g.Across + col;
        if (!selection_.At(index))
            continue;
        const double x = col * g.HPitch + g.LeftMargin;
        const double y = row * g.VPitch + g.TopMargin;
        Extralabel->setText("Card " + QString::number(index + 1));
        QCoreApplication::processEvents(); // Stop and Cancel are noticed here
        if (cancelled_)
            break;
        drawCard(report, x, y);
        if (cropMarks_ && !outlineOnly_)
            drawCropMarks(report, row, col);
        if (OnCardPrinted)
            OnCardPrinted(index + 1);
        QCoreApplication::processEvents();
    }
}

void TLabelPrinter::drawCard(TReport& report, double x, double y)
{
    const double right = x + geometry_.CardWidth;
    const double bottom = y + geometry_.CardHeight;
    if (outlineOnly_) {
        report.Rectangle(x, y, right, bottom);
        return;
    }
    PrintBackGround(x, y);
    if (!printing_) {
        report.SetBrush(clBlack, bsClear);
        report.SetPen(kPreviewOutlineColor, psSolid, -1, pmCopy);
        report.Rectangle(x, y, right, bottom);
    }
    panel_.PrintObjectsAt(report, x, y);
}

void TLabelPrinter::drawCropMarks(TReport& report, int row, int col)
{
    report.SetPen(clBlack, psSolid, -1, pmCopy); // a hundredth of an inch
    for (const QLineF& mark : TCropMarks::ForCard(geometry_, row, col)) {
        report.MoveTo(mark.x1(), mark.y1());
        report.LineTo(mark.x2(), mark.y2());
    }
}

void TLabelPrinter::LoadBackGround()
{
    backgroundKind_ = bkNone;
    background_.Clear();
    if (backgroundFile_.isEmpty())
        return;
    // Every picture the background chooser offers prints, read the same way
    // as on the panel.
    if (!background_.LoadFromFile(backgroundFile_))
        return;
    backgroundKind_ = background_.IsMetafile() ? bkMetafile : bkBitmap;
}

void TLabelPrinter::PrintBackGround(double x, double y)
{
    if (!report_ || backgroundKind_ == bkNone)
        return;
    // A background that cannot be drawn is left out; the card is still printed.
    try {
        PrintPicture(*report_, x, y, x + kBackgroundWidth, y + kBackgroundHeight, background_);
    } catch (...) {
    }
}

void TLabelPrinter::CancelButtonClick()
{
    if (finished_ || !report_ || !ran_) {
        done(mrOk);
        return;
    }
    if (!printing_) {
        cancelled_ = true;
        report_->Abort();
        report_->SetStatusFormat("\rCancelling...!");
        report_->UpdateStatus();
        QCoreApplication::processEvents();
        return;
    }
    // Nothing more reaches the printer; the walk runs on to its end without output.
    if (Ask("Cancel Business Card Printing?", "Print Status"))
        report_->Abort();
}

} // namespace cardora
