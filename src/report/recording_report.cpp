#include "report/recording_report.h"
#include "core/rounding.h"
#include "report/printer_report.h"
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <utility>

namespace cardora {

// A picture that claims the printer's resolution and sheet size, so that
// fonts set on its painter are sized for the printer and replay at that size.
class TRecordingReport::PagePicture : public QPicture {
public:
    PagePicture(QSize size, int xDpi, int yDpi) : size_(size), xDpi_(xDpi), yDpi_(yDpi) {}

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return Round(size_.width() * 25.4 / xDpi_);
        case PdmHeightMM: return Round(size_.height() * 25.4 / yDpi_);
        case PdmDpiX:
        case PdmPhysicalDpiX: return xDpi_;
        case PdmDpiY:
        case PdmPhysicalDpiY: return yDpi_;
        default: return QPicture::metric(m);
        }
    }

private:
    QSize size_;
    int xDpi_;
    int yDpi_;
};

TRecordingReport::TRecordingReport(const TPageMetrics& metrics) { SetMetrics(metrics); }

TRecordingReport::TRecordingReport(std::shared_ptr<QPrinter> printer) : printer_(std::move(printer))
{
    ReReadDeviceMetrics();
}

TRecordingReport::~TRecordingReport()
{
    if (Executing())
        Abort();
}

void TRecordingReport::ReReadDeviceMetrics()
{
    if (printer_ && !Executing()) {
        SetMetrics(PrinterMetrics(*printer_));
        TReport::SetOrientation(printer_->pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                                               : PageOrientation::Portrait);
    }
}

QString TRecordingReport::PrinterName() const
{
    if (!printer_)
        return "Preview";
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        return QString("PDF file (%1)").arg(printer_->outputFileName());
    return printer_->printerName();
}

bool TRecordingReport::SelectPaper(int paperCode, int width, int height)
{
    const QPageSize size = PaperSizeForCode(paperCode, width, height);
    if (!size.isValid() || Executing())
        return false;
    // In points, as a printer lays out its page.
    QSizeF inches = QSizeF(size.sizePoints()) / 72.0;
    if (Orientation() == PageOrientation::Landscape)
        inches.transpose();
    TPageMetrics m = Metrics();
    m.paperInches = inches;
    SetMetrics(m);
    return true;
}

void TRecordingReport::SetOrientation(PageOrientation orientation)
{
    if (orientation == Orientation() || Executing())
        return;
    TReport::SetOrientation(orientation);
    TPageMetrics m = Metrics();
    m.paperInches.transpose();
    SetMetrics(m);
}

// ---- recording

QPainter* TRecordingReport::StartPicture()
{
    const TPageMetrics& m = Metrics();
    current_ = std::make_unique<PagePicture>(m.PaperPixels(), m.xDpi, m.yDpi);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(current_.get())) {
        SetError("The preview page could not be recorded");
        painter_.reset();
        current_.reset();
        return nullptr;
    }
    return painter_.get();
}

void TRecordingReport::FinishPicture()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    if (current_) {
        const TPageMetrics& m = Metrics();
        pages_.push_back({ QPicture(*current_), m.PaperPixels(), m.DeviceOrigin() });
        current_.reset();
    }
}

QPainter* TRecordingReport::BeginDocument()
{
    pages_.clear();
    return StartPicture();
}

QPainter* TRecordingReport::BeginNextPage()
{
    FinishPicture();
    return StartPicture();
}

void TRecordingReport::EndDocument() { FinishPicture(); }

void TRecordingReport::AbortDocument()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    current_.reset();
    pages_.clear();
}

// ---- the recorded pages

const QPicture& TRecordingReport::Page(int index) const
{
    static const QPicture empty;
    if (index < 0 || index >= PageCount())
        return empty;
    return pages_[static_cast<size_t>(index)].picture;
}

QSize TRecordingReport::PageSize(int index) const
{
    if (index < 0 || index >= PageCount())
        return QSize();
    return pages_[static_cast<size_t>(index)].size;
}

QPointF TRecordingReport::PageDeviceOrigin(int index) const
{
    if (index < 0 || index >= PageCount())
        return QPointF();
    return pages_[static_cast<size_t>(index)].origin;
}

void TRecordingReport::DrawPage(QPainter& painter, int index, const QRectF& target) const
{
    if (index < 0 || index >= PageCount() || target.isEmpty())
        return;
    const RecordedPage& page = pages_[static_cast<size_t>(index)];
    if (page.size.isEmpty())
        return;
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.size.width(), target.height() / page.size.height());
    PlayPicture(painter, page.picture);
    painter.restore();
}

QImage TRecordingReport::RenderPage(int index, double scale) const
{
    if (index < 0 || index >= PageCount() || !(scale > 0))
        return QImage();
    const QSize size = PageSize(index);
    constexpr double kLargest = 30000;
    if (size.width() * scale > kLargest || size.height() * scale > kLargest)
        return QImage();
    const QSize pixels(std::max(1, Round(size.width() * scale)), std::max(1, Round(size.height() * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPage(painter, index, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

} // namespace cardora
