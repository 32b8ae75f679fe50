#pragma once
#include "report/printer_report.h"
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

namespace cardora::test {

// The text pdftotext finds on a Letter page, printed to a PDF at 600 dpi by
// `print`; "printing failed: ..." when the page could not be made.
inline QString PrintedPdfText(const std::function<void(TReport&)>& print)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    TPrinterReport printer(TPrinterReport::CreateDefaultPrinter());
    printer.SelectPdfFile(pdf);
    printer.SetResolution(600);
    if (!printer.SelectPaper(1))
        return "printing failed: no Letter paper";
    printer.OnPrint = print;
    if (!printer.Execute())
        return "printing failed: " + printer.ErrorString();
    QProcess extract;
    extract.start("pdftotext", { pdf, "-" });
    if (!extract.waitForFinished(60000))
        return "printing failed: pdftotext did not finish";
    return QString::fromUtf8(extract.readAllStandardOutput());
}

} // namespace cardora::test
