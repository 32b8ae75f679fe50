#include "main/printer_check.h"
#include "core/modal.h"
#include <QPrinterInfo>

namespace cardora {

QStringList InstalledPrinters()
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << kPdfPrinterName;
    return names;
}

QString DefaultPrinterName()
{
    const QString d = QPrinterInfo::defaultPrinterName();
    return d.isEmpty() ? QString(kPdfPrinterName) : d;
}

bool PrinterAvailable(bool tell, const QStringList& printers, const QString& defaultPrinter)
{
    if (printers.isEmpty()) {
        if (tell)
            Inform("There are no installed printers.\r\nUnable to perform printer related operations");
        return false;
    }
    if (defaultPrinter.isEmpty()) {
        if (tell)
            Inform("There is no default printer selected.\r\nUnable to perform printer related operations");
        return false;
    }
    return true;
}

bool PrinterAvailable(bool tell)
{
    try {
        return PrinterAvailable(tell, InstalledPrinters(), DefaultPrinterName());
    } catch (...) {
        return false;
    }
}

} // namespace cardora
