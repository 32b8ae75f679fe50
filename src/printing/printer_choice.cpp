#include "printing/printer_choice.h"
#include "report/printer_report.h"
#include <QPrinter>

namespace cardora {

TPrinterChoice TPrinterChoice::Of(const TPrinterReport& report)
{
    TPrinterChoice c;
    c.PdfFile = report.IsPdfFile();
    c.Name = c.PdfFile ? report.OutputFileName() : report.Printer().printerName();
    return c;
}

void TPrinterChoice::RestoreTo(TPrinterReport& report) const
{
    if (PdfFile) {
        if (!report.IsPdfFile() || report.OutputFileName() != Name)
            report.SelectPdfFile(Name);
    } else if (report.IsPdfFile() || report.Printer().printerName() != Name) {
        report.SelectPrinter(Name);
    }
}

bool RunPrinterDialog(TPrinterReport& report, bool (TPrinterReport::*dialog)())
{
    const TPrinterChoice before = TPrinterChoice::Of(report);
    const bool confirmed = (report.*dialog)();
    if (!confirmed)
        before.RestoreTo(report);
    return confirmed;
}

} // namespace cardora
