#include "printing/sheet_printer.h"
#include "printing/crop_marks.h"
#include "report/report.h"
#include "surface/card_drawing.h"
#include "surface/card_panel.h"
#include <algorithm>
#include <exception>

namespace cardora {

TSheetPrinter::TSheetPrinter(TQBusinessCardPanel32& panel, const TPrintJobRequest& request)
    : panel_(panel), request_(request), geometry_(TSheetGeometry::From(request.Layout, request.Nudges)),
      sheets_(std::max(1, request.Sheets))
{
    if (!request.Records)
        return;
    const int total = static_cast<int>(request.Records->size());
    firstRecord_ = std::clamp(request.FirstRecord, 0, total);
    endRecord_ = request.RecordCount < 0 ? total : std::min(total, firstRecord_ + request.RecordCount);
    int perSheet = 0;
    for (int i = 0; i < geometry_.Across * geometry_.Down; ++i)
        perSheet += request.Selection.At(i) ? 1 : 0;
    const int cards = endRecord_ - firstRecord_;
    sheets_ = perSheet > 0 ? std::max(1, (cards + perSheet - 1) / perSheet) : 1;
}

void TSheetPrinter::LoadBackground()
{
    backgroundKind_ = bkNone;
    background_.Clear();
    if (request_.BackgroundFile.isEmpty())
        return;
    // Every picture the background chooser offers prints, read the same way
    // as on the panel.
    if (!background_.LoadFromFile(request_.BackgroundFile))
        return;
    backgroundKind_ = background_.IsMetafile() ? bkMetafile : bkBitmap;
}

void TSheetPrinter::BeforePrint(TReport& report)
{
    // Merged sheets differ from one another, so a driver may not copy one.
    if (!Merged() && request_.Printing && sheets_ > 1 && report.DriverMaxCopies() > 1) {
        report.SetCopies(sheets_);
        sheets_ = 1;
    }
    report.SetStatusFormat(request_.Printing ? "Printing Page %p\r%0\r%1" : "Preparing Preview Page %p\r%0\r%1");
    report.StatusText() << QString() << QString();
}

void TSheetPrinter::PrintSheets(TReport& report)
{
    report.SetMarginLeft(0.0);
    report.SetMarginTop(0.0);
    const TSheetGeometry& g = geometry_;
    TCardDrawer drawer(panel_, QSizeF(g.CardWidth, g.CardHeight));
    if (backgroundKind_ != bkNone)
        drawer.SetArt(&background_, QSizeF(kBackgroundWidth, kBackgroundHeight));
    std::optional<TMergedRecordScope> merged;
    if (Merged())
        merged.emplace(panel_);
    int nextRecord = firstRecord_;
    for (int sheet = 0; sheet < sheets_; ++sheet) {
        if (sheet > 0)
            report.NewPage();
        for (int row = 0; row < g.Down; ++row) {
            for (int col = 0; col < g.Across; ++col) {
                const int index = row * g.Across + col;
                if (!request_.Selection.At(index))
                    continue;
                if (Merged()) {
                    if (nextRecord >= endRecord_)
                        return;
                    merged->Show((*request_.Records)[nextRecord++]);
                }
                if (OnCardStarting)
                    OnCardStarting(index);
                // A page past its work budget ends the job; the report says why.
                if ((StopRequested && StopRequested()) || !report.WithinBudget())
                    return;
                const double x = col * g.HPitch + g.LeftMargin;
                const double y = row * g.VPitch + g.TopMargin;
                if (request_.OutlineOnly) {
                    report.Rectangle(x, y, x + g.CardWidth, y + g.CardHeight);
                } else {
                    drawer.Draw(report, x, y);
                    if (!request_.Printing) {
                        report.SetBrush(clBlack, bsClear);
                        report.SetPen(kPreviewOutlineColor, psSolid, -1, pmCopy);
                        report.Rectangle(x, y, x + g.CardWidth, y + g.CardHeight);
                    }
                    if (request_.CropMarks)
                        drawCropMarks(report, row, col);
                }
                if (OnCardPrinted)
                    OnCardPrinted(index + 1);
            }
        }
    }
}

void TSheetPrinter::drawCropMarks(TReport& report, int row, int col)
{
    report.SetPen(clBlack, psSolid, -1, pmCopy); // a hundredth of an inch
    for (const QLineF& mark : TCropMarks::ForCard(geometry_, row, col)) {
        report.MoveTo(mark.x1(), mark.y1());
        report.LineTo(mark.x2(), mark.y2());
    }
}

QString TSheetPrinter::Run(TReport& report)
{
    LoadBackground();
    report.SetOrientation(poPortrait);
    report.OnBeforePrint = [this](TReport& r) { BeforePrint(r); };
    report.OnPrint = [this](TReport& r) { PrintSheets(r); };
    QString error;
    try {
        if (!report.Execute())
            error = report.ErrorString();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = QStringLiteral("The print job stopped on an unexpected error");
    }
    if (error.isEmpty())
        error = report.ErrorString();
    report.OnBeforePrint = nullptr;
    report.OnPrint = nullptr;
    return error;
}

} // namespace cardora
