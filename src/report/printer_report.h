#pragma once
#include "report/report.h"
#include <memory>

class QPrinter;
class QPrintDialog;

namespace cardora {
class TSafeFile;
}

namespace cardora {

// The geometry of a printer as it stands: paper as oriented, resolution and
// the margins it cannot reach (none for a PDF file).
TPageMetrics PrinterMetrics(const QPrinter& printer);

// Print jobs for a queue are spooled through "<tmp>/<prefix>-<pid>-XXXXXX.pdf".
inline constexpr const char* kSpoolPrefix = "cardora-job";

// True when the file ends as a finished PDF file does; a write cut short (a
// full disk, a file-size limit) does not.
bool PdfFileComplete(const QString& path);

// A report that prints on a QPrinter: a CUPS queue (through lp) or a PDF file. Reports
// made with the same QPrinter address the same current printer, so a paper,
// resolution or printer choice made through one holds for the others.
// Pages start at the sheet's corner (full page, no margins).
class TPrinterReport : public TReport {
public:
    // Without a printer: the default CUPS queue, else a PDF file.
    explicit TPrinterReport(std::shared_ptr<QPrinter> printer = nullptr);
    ~TPrinterReport() override;

    // A printer set up for card sheets: the default queue or a PDF file in the
    // documents folder, 600 dpi, Letter, portrait, full page.
    static std::shared_ptr<QPrinter> CreateDefaultPrinter();
    static QStringList InstalledPrinters();
    static QString DefaultPrinterName();

    std::shared_ptr<QPrinter> SharedPrinter() const { return printer_; }
    QPrinter& Printer() const { return *printer_; }

    // A CUPS queue by name; false (nothing changed) when there is none.
    bool SelectPrinter(const QString& queueName);
    void SelectPdfFile(const QString& fileName);
    bool IsPdfFile() const;
    // True once after a printer dialog was confirmed with a PDF file: its
    // name was asked there and need not be asked again.
    bool TakePdfConfirmation();
    QString OutputFileName() const;
    void SetResolution(int dpi);
    // The job's name in the spooler.
    void SetTitle(const QString& title);

    bool SelectPaper(int paperCode, int width = 0, int height = 0) override;
    bool PrintDialog() override;
    bool PrinterSetupDialog() override;
    QString PrinterName() const override;
    void ReReadDeviceMetrics() override;
    void SetCopies(int copies) override;
    int DriverMaxCopies() const override;
    void SetOrientation(PageOrientation orientation) override;

protected:
    QPainter* BeginDocument() override;
    QPainter* BeginNextPage() override;
    void EndDocument() override;
    void AbortDocument() override;
    const QPaintDevice* FontDevice() const override;

private:
    void Normalize();
    bool Spool();
    void keepPdfChoice(QPrintDialog& dialog, bool wasPdf, const QString& file);
    void notePdfConfirmed(bool ok);
    bool pdfConfirmed_ = false;

    std::shared_ptr<QPrinter> printer_;
    // A queue's job is drawn into a PDF file of its own and handed to the
    // spooler only when it ends, so that an abort sends nothing.
    std::unique_ptr<QPrinter> jobPrinter_;
    QString spoolFile_;
    std::unique_ptr<QPainter> painter_;
    // A PDF file is drawn into a temporary file beside it and put in its
    // place only when the job ends complete.
    std::unique_ptr<TSafeFile> pdfFile_;
    QString pdfTarget_;
    void finishPdfFile(bool keep);
};

} // namespace cardora
