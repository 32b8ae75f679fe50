#pragma once
#include "report/report.h"
#include <memory>

class QPaintDevice;

namespace cardora {

// A report of one page drawn straight onto a paint device (a picture, a PDF
// or SVG writer) whose whole surface is the page: no unprintable margins, the
// device's own resolution. Only a paged device (a PDF writer) takes a second page.
class TDeviceReport : public TReport {
public:
    // `paperInches` is the page; the device must cover it at its resolution.
    TDeviceReport(QPaintDevice& device, QSizeF paperInches);
    ~TDeviceReport() override;

    bool SelectPaper(int, int = 0, int = 0) override { return false; }
    QString PrinterName() const override { return QString(); }

protected:
    QPainter* BeginDocument() override;
    QPainter* BeginNextPage() override;
    void EndDocument() override;
    void AbortDocument() override;
    const QPaintDevice* FontDevice() const override { return &device_; }

private:
    QPaintDevice& device_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace cardora
