#include "printing/batch_print.h"
#include "core/safe_file.h"
#include "printing/sheet_printer.h"
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
// Drawn into a temporary file beside the output, which takes the output's
// place only when complete.
QString writePages(const TRecordingReport& pages, QPrinter& printer)
{
    const QString target = printer.outputFileName();
    TSafeFile file(target);
    if (!file.Open())
        return file.ErrorString();
    printer.setOutputFileName(file.TemporaryPath());
    QString error;
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "Cannot create file " + QDir::toNativeSeparators(target);
    } else {
        for (int i = 0; i < pages.PageCount() && error.isEmpty(); ++i) {
            if (i > 0 && !printer.newPage())
                error = "Cannot write file " + QDir::toNativeSeparators(target);
            else
                pages.DrawPage(painter, i, QRectF(QPointF(0, 0), QSizeF(pages.PageSize(i))));
        }
        painter.end();
    }
    printer.setOutputFileName(target);
    if (!error.isEmpty())
        return error;
    if (!PdfFileComplete(file.TemporaryPath()))
        file.Fail("the file was cut short (is the disk full?)");
    if (!file.Commit())
        return file.ErrorString();
    return QString();
}

} // namespace

QString BatchLayoutMessage(const TCardLayout& layout, bool sheets)
{
    TCardLayout checked = layout;
    if (!sheets)
        checked.Across = checked.Down = 1; // one card: no pitch between cards
    const QString message = ValidCardMessage(checked);
    if (!message.isEmpty())
        return message;
    const QSizeF largest = SheetSizeInches(kPaperA4).expandedTo(SheetSizeInches(kPaperLetter));
    if (layout.Width > largest.width())
        return QString("Card Width must be at most %1 inches (the paper's width)").arg(largest.width());
    if (layout.Height > largest.height())
        return QString("Card Height must be at most %1 inches (the paper's height)").arg(largest.height());
    return QString();
}

std::optional<TBatchPrintOptions> ParseBatchPrintArguments(const QStringList& args, QString* error)
{
    TBatchPrintOptions o;
    QStringList positional;
    bool duplexGiven = false;
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
        } else if (a == "--data") {
            if (!value(&o.Data) || o.Data.isEmpty())
                return fail("--data needs a file name");
        } else if (a == "--records") {
            QString problem;
            if (!value(&v))
                return fail("--records needs a range of records such as 1-100");
            o.Records = ParseRecordRange(v, &problem);
            if (!o.Records)
                return fail("--records: " + problem);
        } else if (a == "--dpi") {
            if (!value(&v) || !parseCount(v, kBatchMinDpi, kBatchMaxDpi, &o.Dpi))
                return fail(QString("--dpi needs a number from %1 to %2").arg(kBatchMinDpi).arg(kBatchMaxDpi));
        } else if (a == "--stock") {
            if (!value(&o.Stock) || o.Stock.trimmed().isEmpty())
                return fail("--stock needs a product code such as 8371 (cardora-cli stocks lists them)");
        } else if (a == "--start") {
            if (!value(&v) || !parseCount(v, 1, kMaxPositions, &o.Start))
                return fail(QString("--start needs a position from 1 to %1").arg(kMaxPositions));
        } else if (a == "--back") {
            if (!value(&o.Back) || o.Back.isEmpty())
                return fail("--back needs a card file");
        } else if (a == "--duplex") {
            if (!value(&v) || (v != "long" && v != "short"))
                return fail("--duplex needs long or short");
            o.Duplex = v == "long" ? TDuplexEdge::Long : TDuplexEdge::Short;
            duplexGiven = true;
        } else if (a.startsWith("--")) {
            return fail("Unknown option: " + a);
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2)
        return fail("Usage: cardora-cli print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview] "
                    "[--positions 1,2,5] [--sheets N] [--dpi 600] [--crop-marks] [--stock CODE] [--start N] "
                    "[--back BACK.CDW [--duplex long|short]] [--data FILE [--records A-B]]");
    if (o.Outline && o.Preview)
        return fail("--outline and --preview cannot be used together");
    if (duplexGiven && o.Back.isEmpty())
        return fail("--duplex needs --back BACK.CDW");
    const bool sheetsGiven = args.contains(QStringLiteral("--sheets"));
    if (!o.Data.isEmpty() && sheetsGiven)
        return fail("--sheets cannot be used with --data: the records decide how many sheets are printed");
    if (!o.Data.isEmpty() && o.Outline)
        return fail("--outline prints no cards, so it takes no --data");
    if (o.Records && o.Data.isEmpty())
        return fail("--records needs --data");
    o.Input = positional[0];
    o.Output = positional[1];
    return o;
}

QString RunBatchPrint(CardPanel& panel, const QString& backgroundFile, const TCardLayout& layout,
    const TPrinterNudges& nudges, const TBatchPrintOptions& o, const TDataFile* data, const TBackSide* back)
{
    const TSheetGeometry geometry = TSheetGeometry::From(layout, nudges);
    TPositionSelection selection(static_cast<std::size_t>(geometry.Positions()), o.Positions.empty());
    for (int p : o.Positions) {
        if (p < 1 || p > geometry.Positions())
            return QString("Position %1 is not on the sheet (positions 1 to %2)").arg(p).arg(geometry.Positions());
        selection.Set(p - 1, true);
    }
    if (o.Start > geometry.Positions())
        return QString("Start position %1 is not on the sheet (positions 1 to %2)").arg(o.Start).arg(geometry.Positions());
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
    if (data) {
        const TRecordRange range = o.Records.value_or(TRecordRange{1, int(data->records.size())});
        const QString problem = RecordRangeProblem(range, data->records.size());
        if (!problem.isEmpty())
            return problem;
        request.Records = &data->records;
        request.FirstRecord = range.First - 1;
        request.RecordCount = range.Last - range.First + 1;
    }
    request.StartPosition = o.Start;
    if (back)
        request.Back = *back;
    panel.SetPreviewing(o.Preview);

    // No window: the batch tool drives the sheet printer itself.
    TSheetPrinter job(panel, request);
    if (o.Preview) {
        TRecordingReport pages(printer);
        if (back && back->Panel)
            back->Panel->SetPreviewing(true);
        const QString error = job.Run(pages);
        panel.SetPreviewing(false);
        if (back && back->Panel)
            back->Panel->SetPreviewing(false);
        if (!error.isEmpty())
            return error;
        return writePages(pages, *printer);
    }
    TPrinterReport report(printer);
    report.SetTitle("Cardora");
    const QString error = job.Run(report);
    if (!error.isEmpty())
        return error;
    if (report.Aborted())
        return QStringLiteral("The print job was cancelled");
    return QString();
}

} // namespace cardora
