#pragma once
#include <QString>

namespace cardora {

class TPrinterReport;

// Which printer a report prints on: a queue or a PDF file. Qt's print dialog
// switches its printer to a queue while it is being built, so a dialog the
// user cancels must give the printer back.
struct TPrinterChoice {
    bool PdfFile = false;
    QString Name; // the queue, or the PDF file's name

    static TPrinterChoice Of(const TPrinterReport& report);
    void RestoreTo(TPrinterReport& report) const;
};

// Runs a printer dialog of the report; when it is not confirmed, the printer
// chosen before is chosen again. Returns whether it was confirmed.
bool RunPrinterDialog(TPrinterReport& report, bool (TPrinterReport::*dialog)());

} // namespace cardora
