#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// The name under which printing to a PDF file is offered beside the real queues.
inline constexpr const char* kPdfPrinterName = "PDF file";

// Installed printers (the spooler's queues, then the PDF file printer).
QStringList InstalledPrinters();
// The spooler's default queue, else the PDF file printer.
QString DefaultPrinterName();

// True when printing is possible; tells the user why not when `tell`.
bool PrinterAvailable(bool tell);
bool PrinterAvailable(bool tell, const QStringList& printers, const QString& defaultPrinter);

} // namespace cardora
