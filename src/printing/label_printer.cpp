#include "printing/label_printer.h"
#include "core/modal.h"
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

TLabelPrinter::TLabelPrinter(CardPanel& panel, QWidget* parent) : QDialog(parent), panel_(panel)
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
    connect(CancelButton, &QPushButton::clicked, this, [this] { cancelPrinting(); });
}

TLabelPrinter::~TLabelPrinter() = default;

void TLabelPrinter::Setup(TReport& report, const TPrintJobRequest& r)
{
    report_ = &report;
    printing_ = r.Printing;
    job_ = std::make_unique<TSheetPrinter>(panel_, r);
    job_->OnCardStarting = [this](int index) {
        Extralabel->setText("Card " + QString::number(index + 1));
        QCoreApplication::processEvents(); // Stop and Cancel are noticed here
    };
    job_->StopRequested = [this] { return cancelled_; };
    job_->OnCardPrinted = [this](int position) {
        if (OnCardPrinted)
            OnCardPrinted(position);
        QCoreApplication::processEvents();
    };
    if (printing_) {
        setWindowTitle("Print Status");
        CancelButton->setText("Cancel");
    } else {
        setWindowTitle("Preview Status");
        CancelButton->setText("Stop");
    }
    report.SetOrientation(PageOrientation::Portrait);
    report.OnBeforePrint = [this](TReport& sender) { BeforePrintLabels(sender); };
    report.OnPrint = [this](TReport& sender) { PrintLabels(sender); };
}

const TSheetGeometry& TLabelPrinter::Geometry() const
{
    static const TSheetGeometry none;
    return job_ ? job_->Geometry() : none;
}

void TLabelPrinter::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The job runs once the status window is up.
    if (!ran_)
        QTimer::singleShot(0, this, [this] { runJobOnce(); });
}

void TLabelPrinter::reject() { cancelPrinting(); }

void TLabelPrinter::runJobOnce()
{
    if (ran_ || !report_)
        return;
    ran_ = true;
    setWindowTitle(printing_ ? "Print Status " : "Preview Status");
    report_->SetStatusLabel(RStatusLabel);
    loadBackgroundArt();
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
    // The preview shows the whole sheet as it will print.
    return filled ? QStringLiteral("Business Card preview ready to view!\r\rThis design contains complex shapes or "
                                   "text.\rPlease be patient while the previewer prepares\rthe viewing page")
                  : QStringLiteral("\rBusiness Card preview ready!");
}

void TLabelPrinter::BeforePrintLabels(TReport& report)
{
    if (job_)
        job_->BeforePrint(report);
}

void TLabelPrinter::PrintLabels(TReport& report)
{
    if (job_)
        job_->PrintSheets(report);
}

void TLabelPrinter::loadBackgroundArt()
{
    if (job_)
        job_->LoadBackground();
}

void TLabelPrinter::cancelPrinting()
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
