#include "report/printer_report.h"
#include <QCoreApplication>
#include "core/modal.h"
#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <functional>

namespace cardora {
namespace {

constexpr int kDefaultResolution = 600;
constexpr int kSpoolerMaxCopies = 9999; // CUPS's own limit

QString DefaultPdfPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder + "/Cardora.pdf";
}

QPageLayout::Orientation ToQt(PageOrientation o)
{
    return o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Coordinates start at the sheet's corner: full page, no margins.
void MakeFullPage(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

bool QueueOffers(const QPrinterInfo& info, const QPageSize& size)
{
    if (size.id() == QPageSize::Custom)
        return info.supportsCustomPageSizes();
    const QList<QPageSize> sizes = info.supportedPageSizes();
    return sizes.isEmpty()
        || std::any_of(sizes.begin(), sizes.end(), [&](const QPageSize& s) { return s.id() == size.id(); });
}

} // namespace

TPageMetrics PrinterMetrics(const QPrinter& printer)
{
    TPageMetrics m;
    const QPageLayout layout = printer.pageLayout();
    m.paperInches = QSizeF(layout.fullRectPoints().size()) / 72.0;
    m.xDpi = m.yDpi = std::max(1, printer.resolution());
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        // The queue's printable area, as its driver describes it.
        QPageLayout inches = layout;
        inches.setUnits(QPageLayout::Inch);
        m.unprintableInches = inches.minimumMargins();
    }
    return m;
}

// ---- construction and printer choice

TPrinterReport::TPrinterReport(std::shared_ptr<QPrinter> printer)
    : printer_(printer ? std::move(printer) : CreateDefaultPrinter())
{
    SetOrientation(printer_->pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    ReReadDeviceMetrics();
}

TPrinterReport::~TPrinterReport()
{
    if (Executing())
        Abort();
}

std::shared_ptr<QPrinter> TPrinterReport::CreateDefaultPrinter()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    const QString queue = QPrinterInfo::defaultPrinterName();
    if (!queue.isEmpty()) {
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(queue);
    } else {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(DefaultPdfPath());
    }
    printer->setResolution(kDefaultResolution);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setDocName("Cardora");
    MakeFullPage(*printer);
    return printer;
}

QStringList TPrinterReport::InstalledPrinters() { return QPrinterInfo::availablePrinterNames(); }
QString TPrinterReport::DefaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

void TPrinterReport::Normalize()
{
    MakeFullPage(*printer_);
    ReReadDeviceMetrics();
}

bool TPrinterReport::SelectPrinter(const QString& queueName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(queueName);
    if (info.isNull() || Executing())
        return false;
    const QPageSize size = printer_->pageLayout().pageSize();
    const int resolution = printer_->resolution();
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setPrinterName(queueName);
    printer_->setResolution(resolution);
    if (QueueOffers(info, size))
        printer_->setPageSize(size);
    printer_->setPageOrientation(ToQt(Orientation()));
    Normalize();
    return true;
}

void TPrinterReport::SelectPdfFile(const QString& fileName)
{
    if (Executing())
        return;
    const QPageSize size = printer_->pageLayout().pageSize();
    const int resolution = printer_->resolution();
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(fileName);
    printer_->setResolution(resolution);
    printer_->setPageSize(size);
    printer_->setPageOrientation(ToQt(Orientation()));
    Normalize();
}

bool TPrinterReport::IsPdfFile() const { return printer_->outputFormat() == QPrinter::PdfFormat; }
QString TPrinterReport::OutputFileName() const { return pdfFile_ ? pdfTarget_ : printer_->outputFileName(); }

bool PdfFileComplete(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 8)
        return false;
    f.seek(std::max<qint64>(0, f.size() - 64));
    return f.readAll().contains("%%EOF");
}

void TPrinterReport::finishPdfFile(bool keep)
{
    if (!pdfFile_)
        return;
    printer_->setOutputFileName(pdfTarget_);
    if (keep) {
        if (!PdfFileComplete(pdfFile_->TemporaryPath()))
            pdfFile_->Fail("the file was cut short (is the disk full?)");
        if (!pdfFile_->Commit())
            SetError(pdfFile_->ErrorString());
    }
    pdfFile_.reset(); // an uncommitted file is removed; the old one stays
    pdfTarget_.clear();
}

void TPrinterReport::SetResolution(int dpi)
{
    if (dpi <= 0 || Executing())
        return;
    printer_->setResolution(dpi);
    Normalize();
}

void TPrinterReport::SetTitle(const QString& title) { printer_->setDocName(title); }

QString TPrinterReport::PrinterName() const
{
    if (IsPdfFile())
        return QString("PDF file (%1)").arg(QDir::toNativeSeparators(OutputFileName()));
    return printer_->printerName();
}

void TPrinterReport::ReReadDeviceMetrics() { SetMetrics(PrinterMetrics(*printer_)); }

// ---- settings

bool TPrinterReport::SelectPaper(int paperCode, int width, int height)
{
    const QPageSize size = PaperSizeForCode(paperCode, width, height);
    if (!size.isValid() || Executing())
        return false;
    if (!IsPdfFile()) {
        const QPrinterInfo info(*printer_);
        if (!info.isNull() && !QueueOffers(info, size))
            return false;
    }
    const bool changed = printer_->setPageSize(size);
    Normalize();
    return changed;
}

void TPrinterReport::SetCopies(int copies)
{
    TReport::SetCopies(copies);
    // The driver is asked only when it can make them; otherwise it prints one.
    const int driverCopies = DriverMaxCopies() > 1 ? std::clamp(copies, 1, DriverMaxCopies()) : 1;
    if (!Executing())
        printer_->setCopyCount(driverCopies);
}

int TPrinterReport::DriverMaxCopies() const
{
    if (IsPdfFile())
        return 1;
    return printer_->supportsMultipleCopies() ? kSpoolerMaxCopies : 1;
}

void TPrinterReport::SetOrientation(PageOrientation orientation)
{
    TReport::SetOrientation(orientation);
    if (!Executing() && printer_) {
        printer_->setPageOrientation(ToQt(orientation));
        Normalize();
    }
}

// Qt's dialog picks a queue for the printer while it is built; a printer
// that prints to a PDF file shows as the PDF entry with its file name again.
void TPrinterReport::keepPdfChoice(QPrintDialog& dialog, bool wasPdf, const QString& file)
{
    if (!wasPdf)
        return;
    if (!IsPdfFile() || OutputFileName() != file)
        SelectPdfFile(file);
    // The PDF entry exists only once the dialog is shown.
    auto select = [&dialog, file] {
        if (auto* printers = dialog.findChild<QComboBox*>("printers"); printers && printers->count() > 0)
            printers->setCurrentIndex(printers->count() - 1);
        if (auto* name = dialog.findChild<QLineEdit*>("filename"))
            name->setText(file);
    };
    struct ShowWatch : QObject {
        std::function<void()> onShow;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Show && onShow) {
                auto f = std::move(onShow);
                onShow = nullptr;
                f();
            }
            return false;
        }
    };
    auto* watch = new ShowWatch;
    watch->setParent(&dialog);
    watch->onShow = select;
    dialog.installEventFilter(watch);
}

void TPrinterReport::notePdfConfirmed(bool ok) { pdfConfirmed_ = ok && IsPdfFile(); }

bool TPrinterReport::TakePdfConfirmation()
{
    const bool confirmed = pdfConfirmed_;
    pdfConfirmed_ = false;
    return confirmed;
}

bool TPrinterReport::PrintDialog()
{
    if (Executing())
        return false;
    const bool wasPdf = IsPdfFile();
    const QString file = OutputFileName();
    QPrintDialog dialog(printer_.get(), ProgramWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    keepPdfChoice(dialog, wasPdf, file);
    const bool ok = ExecModal(dialog) == QDialog::Accepted;
    if (ok)
        SetCopies(std::max(1, printer_->copyCount()));
    Normalize();
    notePdfConfirmed(ok);
    return ok;
}

bool TPrinterReport::PrinterSetupDialog()
{
    if (Executing())
        return false;
    const bool wasPdf = IsPdfFile();
    const QString file = OutputFileName();
    QPrintDialog dialog(printer_.get(), ProgramWindow());
    dialog.setWindowTitle("Print Setup");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    keepPdfChoice(dialog, wasPdf, file);
    const bool ok = ExecModal(dialog) == QDialog::Accepted;
    SetCopies(Copies()); // set-up chooses the printer, not the number of copies
    if (ok)
        SetOrientation(printer_->pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    Normalize();
    notePdfConfirmed(ok);
    return ok;
}

// ---- the document

const QPaintDevice* TPrinterReport::FontDevice() const
{
    if (jobPrinter_)
        return jobPrinter_.get();
    return printer_.get();
}

QPainter* TPrinterReport::BeginDocument()
{
    ReReadDeviceMetrics();
    QPrinter* target = printer_.get();
    if (IsPdfFile()) {
        // A folder that does not take the file is reported before any drawing.
        pdfTarget_ = printer_->outputFileName();
        pdfFile_ = std::make_unique<TSafeFile>(pdfTarget_);
        if (!pdfFile_->Open()) {
            SetError(pdfFile_->ErrorString());
            pdfFile_.reset();
            return nullptr;
        }
        printer_->setOutputFileName(pdfFile_->TemporaryPath());
    } else {
        // Named with the process, so that one left by a killed run can be
        // told from a job in progress and removed at the next start.
        QTemporaryFile spool(QDir::tempPath() + "/" + kSpoolPrefix + "-" + QString::number(QCoreApplication::applicationPid())
            + "-XXXXXX.pdf");
        spool.setAutoRemove(false);
        if (!spool.open()) {
            SetError("The print job could not be written to " + QDir::toNativeSeparators(QDir::tempPath()));
            return nullptr;
        }
        spoolFile_ = spool.fileName();
        spool.close();
        jobPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        jobPrinter_->setOutputFormat(QPrinter::PdfFormat);
        jobPrinter_->setOutputFileName(spoolFile_);
        jobPrinter_->setResolution(printer_->resolution());
        jobPrinter_->setPageSize(printer_->pageLayout().pageSize());
        jobPrinter_->setPageOrientation(printer_->pageLayout().orientation());
        jobPrinter_->setDocName(printer_->docName());
        MakeFullPage(*jobPrinter_);
        target = jobPrinter_.get();
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(target)) {
        SetError("The printer could not be started: " + PrinterName());
        painter_.reset();
        finishPdfFile(false);
        jobPrinter_.reset();
        if (!spoolFile_.isEmpty())
            QFile::remove(spoolFile_);
        spoolFile_.clear();
        return nullptr;
    }
    return painter_.get();
}

QPainter* TPrinterReport::BeginNextPage()
{
    QPrinter* target = jobPrinter_ ? jobPrinter_.get() : printer_.get();
    if (!painter_ || !target->newPage()) {
        SetError("The printer could not start a new page");
        return nullptr;
    }
    return painter_.get();
}

void TPrinterReport::EndDocument()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    if (jobPrinter_) {
        jobPrinter_.reset();
        Spool();
        QFile::remove(spoolFile_);
        spoolFile_.clear();
    }
    finishPdfFile(true);
}

// Hands the finished job to the queue; CUPS makes the copies.
bool TPrinterReport::Spool()
{
    const QString lp = QStandardPaths::findExecutable("lp");
    if (lp.isEmpty()) {
        SetError("The print spooler command lp is not installed");
        return false;
    }
    QStringList args { "-d", printer_->printerName(), "-t", printer_->docName() };
    const int copies = DriverMaxCopies() > 1 ? std::clamp(Copies(), 1, DriverMaxCopies()) : 1;
    if (copies > 1)
        args << "-n" << QString::number(copies);
    const QString media = printer_->pageLayout().pageSize().key();
    if (printer_->pageLayout().pageSize().id() != QPageSize::Custom && !media.isEmpty())
        args << "-o" << ("media=" + media);
    args << "--" << spoolFile_;
    QProcess process;
    process.start(lp, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        const QString why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        SetError("The printer did not accept the job" + (why.isEmpty() ? QString() : ": " + why));
        return false;
    }
    return true;
}

void TPrinterReport::AbortDocument()
{
    QPrinter* target = jobPrinter_ ? jobPrinter_.get() : printer_.get();
    target->abort();
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    // What was drawn so far is thrown away: the queue's spool file is never
    // handed over, and a half-written PDF file is removed.
    if (jobPrinter_) {
        jobPrinter_.reset();
        QFile::remove(spoolFile_);
        spoolFile_.clear();
    }
    finishPdfFile(false);
}

} // namespace cardora
