#include "report/device_report.h"
#include <QPagedPaintDevice>
#include <QPainter>

namespace cardora {

TDeviceReport::TDeviceReport(QPaintDevice& device, QSizeF paperInches) : device_(device)
{
    TPageMetrics m;
    m.paperInches = paperInches;
    m.xDpi = device.logicalDpiX();
    m.yDpi = device.logicalDpiY();
    SetMetrics(m);
}

TDeviceReport::~TDeviceReport()
{
    if (Executing())
        Abort();
}

QPainter* TDeviceReport::BeginDocument()
{
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&device_)) {
        SetError("The picture could not be started");
        painter_.reset();
        return nullptr;
    }
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    return painter_.get();
}

QPainter* TDeviceReport::BeginNextPage()
{
    // A PDF writer takes more pages of the same size; a picture holds one.
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device_);
    if (!paged || !painter_ || !paged->newPage()) {
        SetError("A picture holds one page only");
        return nullptr;
    }
    return painter_.get();
}

void TDeviceReport::EndDocument()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
}

void TDeviceReport::AbortDocument() { EndDocument(); }

} // namespace cardora
