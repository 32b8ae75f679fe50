#pragma once
#include "report/report.h"
#include <QPicture>
#include <memory>
#include <vector>

class QPrinter;

namespace cardora {

// A report that records each page as a QPicture at a printer's resolution
// and paper, so that a preview page has the geometry of the printed one.
// The picture of a page covers the whole sheet; device pixel (0, 0) lies at
// the page's device origin, the corner of the printable area.
class TRecordingReport : public TReport {
public:
    explicit TRecordingReport(const TPageMetrics& metrics = TPageMetrics());
    // Takes the resolution, paper and unprintable margins of that printer now
    // and on every ReReadDeviceMetrics.
    explicit TRecordingReport(std::shared_ptr<QPrinter> printer);
    ~TRecordingReport() override;

    void SetPageMetrics(const TPageMetrics& metrics) { SetMetrics(metrics); }
    // Changes the recorded paper only; the printer is left alone.
    bool SelectPaper(int paperCode, int width = 0, int height = 0) override;
    QString PrinterName() const override;
    void ReReadDeviceMetrics() override;
    void SetOrientation(PageOrientation orientation) override;

    // ---- the recorded pages (index from 0); an abort discards them
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // An empty picture when there is no such page.
    const QPicture& Page(int index) const;
    // The sheet in device pixels.
    QSize PageSize(int index) const;
    QPointF PageDeviceOrigin(int index) const;
    // White sheet with the page scaled into target.
    void DrawPage(QPainter& painter, int index, const QRectF& target) const;
    // The page at scale times its device size; a null image when there is no such page.
    QImage RenderPage(int index, double scale = 1.0) const;
    void ClearPages() { pages_.clear(); }

protected:
    QPainter* BeginDocument() override;
    QPainter* BeginNextPage() override;
    void EndDocument() override;
    void AbortDocument() override;

private:
    class PagePicture;
    struct RecordedPage {
        QPicture picture;
        QSize size;
        QPointF origin;
    };
    QPainter* StartPicture();
    void FinishPicture();

    std::shared_ptr<QPrinter> printer_;
    std::vector<RecordedPage> pages_;
    std::unique_ptr<PagePicture> current_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace cardora
