#include "printing/batch_print.h"
#include "printing/label_printer.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <memory>

namespace cardora {

namespace {

bool parseCount(const QString& text, int low, int high, int* value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

std::shared_ptr<QPrinter> pdfPrinter(const QString& fileName, int dpi)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(fileName);
    printer->setResolution(dpi);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    printer->setDocName("Cardora");
    printer->setCreator("Cardora");
    return printer;
}

// The recorded preview pages, one PDF page each, at their recorded geometry.
QString writePages(const TRecordingReport& pages, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return "Cannot create file " + QDir::toNativeSeparators(printer.outputFileName());
    for (int i = 0; i < pages.PageCount(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return "Cannot write file " + QDir::toNativeSeparators(printer.outputFileName());
        }
        pages.DrawPage(painter, i, QRectF(QPointF(0, 0), QSizeF(pages.PageSize(i))));
    }
    painter.end();
    return QString();
}

} // namespace

std::optional<TBatchPrintOptions> ParseBatchPrintArguments(const QStringList& args, QString* error)
{
    TBatchPrintOptions o;
    QStringList positional;
    auto fail = [error](const QString& text) -> std::optional<TBatchPrintOptions> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* out) {
            if (i + 1 >= args.size())
                return false;
            *out = args[++i];
            return true;
        };
        QString v;
        if (a == "--outline") {
            o.Outline = true;
        } else if (a == "--preview") {
            o.Preview = true;
        } else if (a == "--crop-marks") {
            o.CropMarks = true;
        } else if (a == "--prefs") {
            if (!value(&o.Prefs) || o.Prefs.isEmpty())
                return fail("--prefs needs a file name");
        } else if (a == "--positions") {
            if (!value(&v))
                return fail("--positions needs a list of positions such as 1,2,5");
            for (const QString& part : v.split(',')) {
                int p = 0;
                if (!parseCount(part, 1, kMaxPositions, &p))
                    return fail(QString("--positions: \"%1\" is not a position from 1 to %2").arg(part).arg(kMaxPositions));
                o.Positions.push_back(p);
            }
        } else if (a == "--sheets") {
            if (!value(&v) || !parseCount(v, 1, kBatchMaxSheets, &o.Sheets))
                return fail(QString("--sheets needs a number from 1 to %1").arg(kBatchMaxSheets));
        } else if (a == "--dpi") {
            if (!value(&v) || !parseCount(v, kBatchMinDpi, kBatchMaxDpi, &o.Dpi))
                return fail(QString("--dpi needs a number from %1 to %2").arg(kBatchMinDpi).arg(kBatchMaxDpi));
        } else if (a.startsWith("--")) {
            return fail("Unknown option: " + a);
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2)
        return fail("Usage: cardora-cli print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview] "
                    "[--positions 1,2,5] [--sheets N] [--dpi 600] [--crop-marks]");
    if (o.Outline && o.Preview)
        return fail("--outline and --preview cannot be used together");
    o.Input = positional[0];
    o.Output = positional[1];
    return o;
}

QString RunBatchPrint(TQBusinessCardPanel32& panel, const QString& backgroundFile, const TCardLayout& layout,
    const TPrinterNudges& nudges, const TBatchPrintOptions& o)
{
    const TSheetGeometry geometry = TSheetGeometry::From(layout, nudges);
    TPositionSelection selection(static_cast<std::size_t>(geometry.Positions()), o.Positions.empty());
    for (int p : o.Positions) {
        if (p < 1 || p > geometry.Positions())
            return QString("Position %1 is not on the sheet (positions 1 to %2)").arg(p).arg(geometry.Positions());
        selection.Set(p - 1, true);
    }
    const QFileInfo output(o.Output);
    if (o.Output.isEmpty() || !output.absoluteDir().exists())
        return "Cannot create file " + QDir::toNativeSeparators(o.Output);
    if (output.isDir())
        return "Cannot create file " + QDir::toNativeSeparators(o.Output) + ": it is a folder";

    auto printer = pdfPrinter(output.absoluteFilePath(), o.Dpi);
    TPrinterReport settings(printer);
    settings.SelectPaper(layout.Papersize); // a code the device does not offer leaves Letter

    TPrintJobRequest request;
    request.Sheets = o.Sheets;
    request.Selection = selection;
    request.Layout = layout;
    request.Nudges = nudges;
    request.BackgroundFile = backgroundFile;
    request.Printing = !o.Preview;
    request.OutlineOnly = o.Outline;
    request.CropMarks = o.CropMarks;
    panel.SetPreviewing(o.Preview);

    TLabelPrinter job(panel);
    if (o.Preview) {
        TRecordingReport pages(printer);
        job.Setup(pages, request);
        job.FormActivate();
        panel.SetPreviewing(false);
        if (!job.Error().isEmpty())
            return job.Error();
        return writePages(pages, *printer);
    }
    TPrinterReport report(printer);
    report.SetTitle("Cardora");
    job.Setup(report, request);
    job.FormActivate();
    if (!job.Error().isEmpty())
        return job.Error();
    if (report.Aborted())
        return QStringLiteral("The print job was cancelled");
    return QString();
}

} // namespace cardora
