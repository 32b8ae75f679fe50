#include "printing/sheet_printer.h"
#include "printing/crop_marks.h"
#include "report/report.h"
#include "surface/card_drawing.h"
#include "surface/card_panel.h"
#include <algorithm>
#include <exception>

namespace cardora {

namespace {
// The layout with the counts the geometry uses, so a mirror never runs on a
// count a damaged file gave.
TCardLayout tamedCounts(TCardLayout l)
{
    l.Across = std::clamp(l.Across, 1, kMaxAcross);
    l.Down = std::clamp(l.Down, 1, kMaxDown);
    return l;
}
} // namespace

QStringList BackChoiceNames()
{
    return { "Fronts only", "Both sides: duplex, turned over the long edge",
        "Both sides: duplex, turned over the short edge", "Fronts, then backs (I turn the sheets over the long edge)",
        "Fronts, then backs (I turn the sheets over the short edge)" };
}

TBackSide BackSideFor(TBackChoice choice, bool* later)
{
    TBackSide b;
    const bool shortEdge = choice == TBackChoice::DuplexShort || choice == TBackChoice::LaterShort;
    b.Edge = shortEdge ? TDuplexEdge::Short : TDuplexEdge::Long;
    const bool afterwards = choice == TBackChoice::LaterLong || choice == TBackChoice::LaterShort;
    b.Sides = choice == TBackChoice::Fronts ? TSides::Fronts : afterwards ? TSides::Fronts : TSides::FrontsAndBacks;
    if (later)
        *later = afterwards;
    return b;
}

TSheetPrinter::TSheetPrinter(CardPanel& panel, const TPrintJobRequest& request)
    : panel_(panel), request_(request), geometry_(TSheetGeometry::From(request.Layout, request.Nudges)),
      sheets_(std::max(1, request.Sheets)),
      backGeometry_(TSheetGeometry::From(MirroredLayout(tamedCounts(request.Layout), request.Back.Edge),
          request.Back.Nudges))
{
    if (!request.Records)
        return;
    const int total = static_cast<int>(request.Records->size());
    firstRecord_ = std::clamp(request.FirstRecord, 0, total);
    endRecord_ = request.RecordCount < 0 ? total : std::min(total, firstRecord_ + request.RecordCount);
    int perSheet = 0, onFirst = 0;
    for (int i = 0; i < geometry_.Across * geometry_.Down; ++i) {
        perSheet += request.Selection.At(i) ? 1 : 0;
        onFirst += request.Selection.At(i) && i >= request.StartPosition - 1 ? 1 : 0;
    }
    // A partly used first sheet holds fewer cards; the later ones are whole.
    const int cards = endRecord_ - firstRecord_;
    const int rest = std::max(0, cards - onFirst);
    sheets_ = perSheet > 0 ? 1 + (rest + perSheet - 1) / perSheet : 1;
}

QRectF TSheetPrinter::BackCardRect(int row, int col) const
{
    const int index = MirroredPosition(tamedCounts(request_.Layout), request_.Back.Edge, row, col);
    return backGeometry_.CardRect(index / backGeometry_.Across, index % backGeometry_.Across);
}

void TSheetPrinter::LoadBackground()
{
    backgroundKind_ = ArtKind::None;
    background_.Clear();
    backBackground_.Clear();
    // Every picture the background chooser offers prints, read the same way
    // as on the panel; art that cannot be read is left out.
    if (PrintsBacks() && !request_.Back.BackgroundFile.isEmpty())
        backBackground_.LoadFromFile(request_.Back.BackgroundFile);
    if (request_.BackgroundFile.isEmpty())
        return;
    if (!background_.LoadFromFile(request_.BackgroundFile))
        return;
    backgroundKind_ = background_.IsMetafile() ? ArtKind::Metafile : ArtKind::Bitmap;
}

void TSheetPrinter::BeforePrint(TReport& report)
{
    // Copies made by the driver repeat one sheet: only when every sheet is
    // alike (merged sheets differ from one another).
    const bool alike = !Merged() && request_.StartPosition <= 1 && !PrintsBacks();
    if (request_.Printing && alike && sheets_ > 1 && report.DriverMaxCopies() > 1) {
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
    // The drawers first: records are shown on panels already drawn at true size.
    const QSizeF card(geometry_.CardWidth, geometry_.CardHeight);
    TCardDrawer drawer(panel_, card);
    if (backgroundKind_ != ArtKind::None)
        drawer.SetArt(&background_, QSizeF(kBackgroundWidth, kBackgroundHeight));
    std::optional<TCardDrawer> backDrawer;
    if (PrintsBacks()) {
        backDrawer.emplace(*request_.Back.Panel, card);
        if (backBackground_.HasGraphic())
            backDrawer->SetArt(&backBackground_, QSizeF(kBackgroundWidth, kBackgroundHeight));
    }
    std::optional<TMergedRecordScope> merged, mergedBack;
    if (Merged()) {
        merged.emplace(panel_);
        if (PrintsBacks())
            mergedBack.emplace(*request_.Back.Panel);
    }
    int nextRecord = firstRecord_;
    bool firstPage = true;
    for (int sheet = 0; sheet < sheets_; ++sheet) {
        // The backs walk the sheet in the fronts' order, so each back shows
        // the record of its own front.
        const int sheetStart = nextRecord;
        for (const bool back : { false, true }) {
            if (back ? !PrintsBacks() : !PrintsFronts())
                continue;
            if (!firstPage)
                report.NewPage();
            firstPage = false;
            nextRecord = sheetStart;
            const auto record = [&](int) -> bool {
                if (!Merged())
                    return true;
                if (nextRecord >= endRecord_)
                    return false;
                (back ? mergedBack : merged)->Show((*request_.Records)[nextRecord++]);
                return true;
            };
            if (!printSide(report, back ? *backDrawer : drawer, sheet, back, record))
                return;
        }
    }
}

bool TSheetPrinter::printSide(
    TReport& report, TCardDrawer& drawer, int sheet, bool back, const std::function<bool(int)>& record)
{
    const TSheetGeometry& g = geometry_;
    const TSheetGeometry& placed = back ? backGeometry_ : geometry_;
    // Positions before the start of a partly used first sheet stay empty.
    const int first = sheet == 0 ? std::max(0, request_.StartPosition - 1) : 0;
    for (int row = 0; row < g.Down; ++row) {
        for (int col = 0; col < g.Across; ++col) {
            const int index = row * g.Across + col;
            if (index < first || !request_.Selection.At(index))
                continue;
            // A merged run out of records ends the side; the job goes on to its backs.
            if (!record(index))
                return true;
            if (OnCardStarting)
                OnCardStarting(index);
            // A page past its work budget ends the job; the report says why.
            if ((StopRequested && StopRequested()) || !report.WithinBudget())
                return false;
            const QRectF card = back ? BackCardRect(row, col) : g.CardRect(row, col);
            const double x = card.left(), y = card.top();
            if (request_.OutlineOnly) {
                report.Rectangle(x, y, x + g.CardWidth, y + g.CardHeight);
                if (PrintsBacks())
                    drawAlignmentCross(report, card);
            } else {
                drawer.Draw(report, x, y);
                if (!request_.Printing) {
                    report.SetBrush(clBlack, BrushStyle::Clear);
                    report.SetPen(kPreviewOutlineColor, PenStyle::Solid, -1, PenMode::Copy);
                    report.Rectangle(x, y, x + g.CardWidth, y + g.CardHeight);
                }
                if (request_.CropMarks) {
                    const int at = back ? MirroredPosition(tamedCounts(request_.Layout), request_.Back.Edge, row, col)
                                        : index;
                    drawCropMarks(report, placed, at / placed.Across, at % placed.Across);
                }
            }
            if (OnCardPrinted)
                OnCardPrinted(index + 1);
        }
    }
    return true;
}

void TSheetPrinter::drawCropMarks(TReport& report, const TSheetGeometry& geometry, int row, int col)
{
    report.SetPen(clBlack, PenStyle::Solid, -1, PenMode::Copy); // a hundredth of an inch
    for (const QLineF& mark : TCropMarks::ForCard(geometry, row, col)) {
        report.MoveTo(mark.x1(), mark.y1());
        report.LineTo(mark.x2(), mark.y2());
    }
}

// The two-sided test page: a cross through each card's centre on both
// sides; held against the light, the crosses of the two sides meet when
// the back nudges are right.
void TSheetPrinter::drawAlignmentCross(TReport& report, const QRectF& card)
{
    const QPointF c = card.center();
    const double arm = std::min(card.width(), card.height()) / 4;
    report.MoveTo(c.x() - arm, c.y());
    report.LineTo(c.x() + arm, c.y());
    report.MoveTo(c.x(), c.y() - arm);
    report.LineTo(c.x(), c.y() + arm);
}

QString TSheetPrinter::Run(TReport& report)
{
    LoadBackground();
    report.SetOrientation(PageOrientation::Portrait);
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
