#pragma once
// Every output of one card, rasterised at the card's own size, and the
// comparison of two rasters in blocks of a tenth of an inch.
#include "main/card_export.h"
#include "printing/batch_print.h"
#include "printing/print_shop.h"
#include "printing/sheet_printer.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <vector>

namespace cardora::test {

inline constexpr double kCardWidth = 3.5;
inline constexpr double kCardHeight = 2.0;
inline constexpr int kPanelPpi = 96;

// Mean colour of each block of about 0.1 in of a picture of the card.
struct BlockMap {
    int cols = 0, rows = 0;
    std::vector<std::array<int, 3>> mean;
    const std::array<int, 3>& At(int c, int r) const { return mean[std::size_t(r * cols + c)]; }
};

inline BlockMap Blocks(const QImage& picture, double widthInches = kCardWidth, double heightInches = kCardHeight)
{
    BlockMap m;
    m.cols = int(std::lround(widthInches * 10));
    m.rows = int(std::lround(heightInches * 10));
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    const int W = img.width(), H = img.height();
    for (int r = 0; r < m.rows; ++r) {
        for (int c = 0; c < m.cols; ++c) {
            const int x0 = c * W / m.cols, x1 = std::max(x0 + 1, (c + 1) * W / m.cols);
            const int y0 = r * H / m.rows, y1 = std::max(y0 + 1, (r + 1) * H / m.rows);
            long sum[3] = { 0, 0, 0 }, n = 0;
            for (int y = y0; y < y1 && y < H; ++y) {
                const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
                for (int x = x0; x < x1 && x < W; ++x, ++n) {
                    sum[0] += qRed(line[x]);
                    sum[1] += qGreen(line[x]);
                    sum[2] += qBlue(line[x]);
                }
            }
            n = std::max(n, 1L);
            m.mean.push_back({ int(sum[0] / n), int(sum[1] / n), int(sum[2] / n) });
        }
    }
    return m;
}

inline int BlockDifference(const BlockMap& a, const BlockMap& b, int c, int r)
{
    int d = 0;
    for (int k = 0; k < 3; ++k)
        d = std::max(d, std::abs(a.At(c, r)[k] - b.At(c, r)[k]));
    return d;
}

// Blocks whose colours differ by more than `tolerance` in any channel,
// among those `consider` accepts (all when empty).
template <class Consider>
std::vector<QPoint> DifferentBlocks(const BlockMap& a, const BlockMap& b, int tolerance, Consider&& consider)
{
    std::vector<QPoint> out;
    if (a.cols != b.cols || a.rows != b.rows) {
        out.push_back(QPoint(-1, -1));
        return out;
    }
    for (int r = 0; r < a.rows; ++r)
        for (int c = 0; c < a.cols; ++c)
            if (consider(c, r) && BlockDifference(a, b, c, r) > tolerance)
                out.push_back(QPoint(c, r));
    return out;
}

inline std::vector<QPoint> DifferentBlocks(const BlockMap& a, const BlockMap& b, int tolerance)
{
    return DifferentBlocks(a, b, tolerance, [](int, int) { return true; });
}

// Every page of a PDF at `dpi`, antialiased as a viewer shows it.
inline std::vector<QImage> RasterisePdf(const QString& pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess p;
    p.start("pdftoppm", { "-r", QString::number(dpi), "-png", pdf, dir.filePath("p") });
    std::vector<QImage> pages;
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return pages;
    QStringList names = QDir(dir.path()).entryList({ "p*.png" }, QDir::Files, QDir::Name);
    // pdftoppm pads page numbers to the same width, so names sort in page order.
    for (const QString& name : names)
        pages.push_back(QImage(dir.filePath(name)));
    return pages;
}

// One PDF of all the given ones, in order (poppler's pdfunite).
inline bool UnitePdfs(const QStringList& pdfs, const QString& out)
{
    if (pdfs.size() == 1)
        return QFile::copy(pdfs.front(), out);
    QProcess p;
    p.start("pdfunite", QStringList(pdfs) << out);
    return p.waitForFinished(120000) && p.exitCode() == 0;
}

inline QImage RasteriseSvg(const QString& svg, QSize size)
{
    QSvgRenderer renderer(svg);
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (!renderer.isValid())
        return QImage();
    QPainter p(&img);
    renderer.render(&p);
    return img;
}

inline bool HoldsJpeg(const QString& pdf)
{
    QFile f(pdf);
    return f.open(QIODevice::ReadOnly) && f.readAll().contains("/DCTDecode");
}

// Letter paper at `dpi` without unprintable margins.
inline TPageMetrics LetterPage(int dpi)
{
    TPageMetrics m;
    m.paperInches = QSizeF(8.5, 11.0);
    m.xDpi = m.yDpi = dpi;
    return m;
}

// The cards of a sheet rasterised at `dpi`, cut out at their places.
inline std::vector<QImage> CardsOfSheet(const QImage& sheet, int dpi, const TSheetGeometry& g)
{
    std::vector<QImage> cards;
    for (int row = 0; row < g.Down; ++row)
        for (int col = 0; col < g.Across; ++col) {
            const double x = g.LeftMargin + col * g.HPitch, y = g.TopMargin + row * g.VPitch;
            cards.push_back(sheet.copy(QRect(int(std::lround(x * dpi)), int(std::lround(y * dpi)),
                int(std::lround(g.CardWidth * dpi)), int(std::lround(g.CardHeight * dpi)))));
        }
    return cards;
}

// The preview page of the card's sheet, recorded and played at `dpi`; with
// `positions` (0-based) only those cards are drawn.
inline QImage PreviewSheet(CardPanel& panel, int dpi, TSheetGeometry* geometry,
    const std::vector<int>& positions = {})
{
    TRecordingReport pages(LetterPage(dpi));
    TPrintJobRequest request;
    request.Printing = false;
    if (!positions.empty()) {
        for (int i = 0; i < kMaxPositions; ++i)
            request.Selection.Set(i, false);
        for (int p : positions)
            request.Selection.Set(p, true);
    }
    panel.SetPreviewing(true);
    TSheetPrinter job(panel, request);
    const QString error = job.Run(pages);
    panel.SetPreviewing(false);
    *geometry = job.Geometry();
    if (!error.isEmpty() || pages.PageCount() < 1)
        return QImage();
    return pages.RenderPage(0);
}

inline QString ExportCard(CardPanel& panel, TCardExportFormat format, int dpi, const QString& path)
{
    TCardExport e;
    e.Format = format;
    e.Dpi = dpi;
    e.CardInches = QSizeF(kCardWidth, kCardHeight);
    return WriteCardExport(panel, e, path);
}

// The print shop's PDF with a bleed, rasterised at `dpi` and cut to the
// trimmed card: what the customer gets after the shop's cut.
inline QImage ShopPdfTrimmed(CardPanel& panel, double bleedInches, const QString& pdf, int dpi)
{
    TShopPdfOptions o;
    o.CardInches = QSizeF(kCardWidth, kCardHeight);
    o.BleedInches = bleedInches;
    o.Art = &panel.ColorPicture();
    if (!WriteShopPdf(panel, o, pdf).isEmpty())
        return QImage();
    const auto pages = RasterisePdf(pdf, dpi);
    if (pages.size() != 1)
        return QImage();
    const int b = int(std::lround(bleedInches * dpi));
    return pages.front().copy(QRect(b, b, int(std::lround(kCardWidth * dpi)), int(std::lround(kCardHeight * dpi))));
}

inline QString PrintSheet(CardPanel& panel, const QString& pdf, int dpi = 600)
{
    TBatchPrintOptions o;
    o.Output = pdf;
    o.Dpi = dpi;
    return RunBatchPrint(panel, QString(), TCardLayout(), TPrinterNudges(), o);
}

// A sheet of `front` with `back` on the page after, turned over `edge`.
inline QString PrintTwoSidedSheet(CardPanel& front, CardPanel& back, const QString& pdf,
    TDuplexEdge edge, int dpi = 96)
{
    TBatchPrintOptions o;
    o.Output = pdf;
    o.Dpi = dpi;
    TBackSide b;
    b.Panel = &back;
    b.Sides = TSides::FrontsAndBacks;
    b.Edge = edge;
    return RunBatchPrint(front, QString(), TCardLayout(), TPrinterNudges(), o, nullptr, &b);
}

// The backs of a two-sided sheet cut out of its back page, in the order of
// their fronts.
inline std::vector<QImage> BacksOfSheet(const QImage& page, int dpi, TDuplexEdge edge)
{
    const TCardLayout layout;
    const std::vector<QImage> places
        = CardsOfSheet(page, dpi, TSheetGeometry::From(MirroredLayout(layout, edge), TPrinterNudges()));
    std::vector<QImage> backs;
    for (int row = 0; row < layout.Down; ++row)
        for (int col = 0; col < layout.Across; ++col)
            backs.push_back(places[std::size_t(MirroredPosition(layout, edge, row, col))]);
    return backs;
}

} // namespace cardora::test
