#pragma once
#include "core/color.h"
#include "core/graphics_attributes.h"
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPainterPath>
#include <vector>
#include <QPen>
#include <QPointer>
#include <QPolygon>
#include <QRect>
#include <QSizeF>
#include <QStringList>
#include <functional>

class QLabel;
class QPageSize;
class QPaintDevice;
class QPainter;
class QPicture;

namespace cardora {

enum class PageOrientation { Portrait, Landscape };

// Geometry of a printed page: the paper, the device resolution and the
// margins the printer cannot reach, all as the printer reports them.
struct TPageMetrics {
    QSizeF paperInches { 8.5, 11.0 }; // as oriented on the page
    int xDpi = 600;
    int yDpi = 600;
    QMarginsF unprintableInches;      // left, top, right, bottom

    // The whole sheet in device pixels.
    QSize PaperPixels() const;
    // Where device pixel (0, 0), the corner of the printable area, lies on the sheet.
    QPointF DeviceOrigin() const;
    bool operator==(const TPageMetrics& o) const;
};

// The paper of a platform paper code (1 Letter, 9 A4, ...); width and
// height in tenths of a millimetre give a custom size when both are positive.
// An invalid QPageSize when the code is unknown.
QPageSize PaperSizeForCode(int paperCode, int width = 0, int height = 0);

// Replays a picture in the painter's current coordinates, one picture unit
// to one coordinate unit. (QPainter::drawPicture also scales by the device's
// resolution over the screen's, which would enlarge it 6.25 times at 600 dpi.)
void PlayPicture(QPainter& painter, const QPicture& picture);

// The page-oriented drawing surface on which sheets of cards are printed and
// the preview is recorded. Coordinates are inches from the physical top-left
// corner of the sheet; device pixels are counted from the corner of the
// printable area: x maps to round((x - unprintable left) * XDpi()).
//
// Drawing happens only between the start and the end of Execute, on a page
// that has not been aborted; outside of that every drawing call does nothing.
class TReport {
public:
    using Handler = std::function<void(TReport& sender)>;
    // Paints a graphic into a rectangle of device pixels on the report's painter.
    using GraphicPainter = std::function<void(QPainter& painter, const QRectF& target)>;

    TReport();
    virtual ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    // ---- printer and job settings
    // The paper becomes that code if the device offers it; false leaves it unchanged.
    virtual bool SelectPaper(int paperCode, int width = 0, int height = 0) = 0;
    // The standard print dialog; true when confirmed. Sets the copies.
    virtual bool PrintDialog() { return false; }
    // The printer set-up dialog; true when confirmed.
    virtual bool PrinterSetupDialog() { return false; }
    virtual QString PrinterName() const = 0;
    // Later resolution and margin queries reflect the printer now chosen.
    virtual void ReReadDeviceMetrics() {}
    const TPageMetrics& Metrics() const { return metrics_; }
    // Inches from the sheet's bottom edge that the printer cannot reach.
    double BottomUnprintableMargin() const { return metrics_.unprintableInches.bottom(); }

    int Copies() const { return copies_; }
    virtual void SetCopies(int copies) { copies_ = copies; }
    // The most copies the device makes by itself; 1 or less when it cannot.
    virtual int DriverMaxCopies() const { return 1; }

    PageOrientation Orientation() const { return orientation_; }
    virtual void SetOrientation(PageOrientation orientation);

    // Kept for the caller; they do not shift coordinates.
    double MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(double inches) { marginLeft_ = inches; }
    double MarginTop() const { return marginTop_; }
    void SetMarginTop(double inches) { marginTop_ = inches; }

    // ---- status
    void SetStatusLabel(QLabel* label);
    QLabel* StatusLabel() const;
    // Called with the status text on every refresh (besides the label).
    void SetStatusSink(std::function<void(const QString&)> sink) { statusSink_ = std::move(sink); }
    const QString& StatusFormat() const { return statusFormat_; }
    void SetStatusFormat(const QString& format) { statusFormat_ = format; }
    QStringList& StatusText() { return statusText_; }
    const QStringList& StatusText() const { return statusText_; }
    // The expanded format; "\r" line breaks are kept.
    QString StatusString() const;
    // Shows the status now (each new page does it too).
    void UpdateStatus();

    // ---- the run
    Handler OnBeforePrint;
    Handler OnPrint;

    // Begins the document on page 1, calls OnBeforePrint and OnPrint once
    // each, ends the document. False when the device could not be started
    // (the events are then not called) or did not take the document;
    // ErrorString() says why.
    bool Execute();
    bool Executing() const { return executing_; }
    QString ErrorString() const { return error_; }
    // The work one page may take, in drawing steps (a figure, a tile, a
    // run of text; a picture by its size). Far beyond any real sheet, well
    // below what would exhaust memory in a PDF or a preview. Past it the job
    // stops with an error instead of failing inside the device.
    static constexpr qint64 kPageWorkBudget = 4'000'000;
    // True while the job has not run past the budget.
    bool WithinBudget() const { return !overBudget_; }
    void SetPageWorkBudget(qint64 steps) { pageBudget_ = steps; }
    int CurrentPage() const { return page_; }
    // Ends the page and starts the next one; refreshes the status. After an
    // abort only the page number moves on.
    void NewPage();
    // Abandons the document at once; nothing more is drawn. Read with Aborted()
    // after Execute returns; the next Execute clears it.
    void Abort();
    bool Aborted() const { return aborted_; }

    // ---- device
    int XDpi() const { return metrics_.xDpi; }
    int YDpi() const { return metrics_.yDpi; }
    double UnprintableLeft() const { return metrics_.unprintableInches.left(); }
    double UnprintableTop() const { return metrics_.unprintableInches.top(); }
    int DeviceX(double x) const;
    int DeviceY(double y) const;
    QPoint DevicePoint(double x, double y) const { return { DeviceX(x), DeviceY(y) }; }
    // Pixels from DeviceX(x1) up to, not including, DeviceX(x2); same for y.
    QRect InchRectToDevice(double x1, double y1, double x2, double y2) const;
    // Device pixels of a pen width: w < 0 is -w hundredths of an inch, at
    // least one pixel; w >= 0 is pixels (0 draws one pixel).
    int PenWidthPixels(int width) const;
    // The painter of the current page in device pixels (origin at the
    // printable area's corner); nullptr outside a live page. Save and
    // restore its state around direct use.
    QPainter* Painter() const { return painter_; }

    // ---- pen and brush
    void SetBrush(TColor color, BrushStyle style, const QImage* bitmap = nullptr);
    void SetPen(TColor color, PenStyle style, int width, PenMode mode);
    // A pen measured as the card measures it, in pixels of `ppi` to the inch,
    // so it lands at the same size in inches at every resolution.
    void SetCardPen(TColor color, PenStyle style, int pixels, PenMode mode, double ppi);
    // As they reach the device (pen width in device pixels).
    QPen CurrentPen() const;
    // The current pen's width in device pixels.
    int CurrentPenPixels() const;
    QBrush CurrentBrush() const;
    PenMode CurrentPenMode() const { return penMode_; }

    // ---- figures, in inches with the current pen and brush
    void Rectangle(double x1, double y1, double x2, double y2);
    void RoundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight);
    void Ellipse(double x1, double y1, double x2, double y2);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    // Vertices in device pixels; winding fill.
    void Polygon(const QPolygon& devicePoints);
    // Filled with the current brush, no outline.
    void FillDeviceRect(const QRect& deviceRect);
    // GDI order: right and bottom are not filled.
    void FillDeviceRect(int left, int top, int right, int bottom);
    // Filled with the brush given (a gradient), whatever the current one.
    void FillDeviceRect(const QRect& deviceRect, const QBrush& brush);

    // ---- pictures
    // The bitmap fills the rectangle; x2 < x1 or y2 < y1 mirrors it.
    void StretchDrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap);
    // The picture's frame (its bounding rectangle when empty) fills the device rectangle.
    void StretchDrawGraphic(const QRect& deviceRect, const QPicture& picture, const QRectF& frame = QRectF());
    void StretchDrawGraphic(const QRect& deviceRect, const GraphicPainter& paint);

    // ---- clipping regions, in device pixels
    QPainterPath RectRegion(double x1, double y1, double x2, double y2) const;
    QPainterPath RoundRectRegion(double x1, double y1, double x2, double y2, double cornerWidth,
        double cornerHeight) const;
    QPainterPath EllipseRegion(double x1, double y1, double x2, double y2) const;
    QPainterPath PolygonRegion(const QPolygon& devicePoints) const;
    // Replaces the clip; drawing outside the region is suppressed. Within a
    // card (BeginCard) the region is cut to the card.
    void SelectClipRegion(const QPainterPath& region);
    // Back to no clip, or within a card to the card's own rectangle.
    void RemoveClip();

    // ---- cards and objects
    // Everything drawn until EndCard stays inside the card's rectangle, in
    // inches, whatever clip its objects select.
    void BeginCard(double x1, double y1, double x2, double y2);
    void EndCard();
    bool InCard() const { return inCard_; }
    // Each object draws from the same clean state: default pen, brush, font
    // and text settings, no path, the card's clip; nothing it sets outlives it.
    // A box (inches, x1 y1 x2 y2) also keeps the object inside it, as the
    // panel keeps it.
    void BeginObject(const QRectF& boxInches = QRectF());
    void EndObject();
    class ObjectScope {
    public:
        explicit ObjectScope(TReport& report, const QRectF& boxInches = QRectF()) : report_(report)
        {
            report_.BeginObject(boxInches);
        }
        ~ObjectScope() { report_.EndObject(); }
        ObjectScope(const ObjectScope&) = delete;
        ObjectScope& operator=(const ObjectScope&) = delete;

    private:
        TReport& report_;
    };

    // ---- text
    // Resets bold, italic, underline and the font colour (black).
    void SetFont(const QString& name, double points);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetFontColor(TColor color);
    const QFont& CurrentFont() const { return font_; }
    // The font's size in inches.
    double FontHeight() const;
    // Transparent: text cells are not filled; otherwise a solid brush's colour fills them.
    void SetTransparentTextBackground(bool transparent = true) { transparentText_ = transparent; }
    // y is the baseline of the line.
    void SetTextCursor(double x, double baselineY);
    double TextCursorX() const { return cursorX_; }
    double TextCursorY() const { return cursorY_; }
    void SetLineTop(double y) { lineTop_ = y; }
    double LineTop() const { return lineTop_; }
    // Width of the text in the current font, in inches, as the device measures it.
    double TextWidth(const QString& text) const;
    // At the text cursor; the cursor moves on by the text's width.
    void PrintText(const QString& text);

    // ---- paths: figures and text between BeginPath and EndPath form the path instead of being drawn
    void BeginPath();
    void EndPath();
    const QPainterPath& CurrentPath() const { return path_; }
    // The path becomes the clip (and is used up).
    void ClipToPath();
    // Outlines the path with the current pen (and uses it up).
    void StrokePath();

protected:
    // Back ends start and end the device. Each returns the painter of the
    // page it started, or nullptr on failure (with SetError).
    virtual QPainter* BeginDocument() = 0;
    virtual QPainter* BeginNextPage() = 0;
    virtual void EndDocument() = 0;
    // Abandon everything sent so far.
    virtual void AbortDocument() = 0;
    // The paint device that fonts are bound to and measured with.
    virtual const QPaintDevice* FontDevice() const;

    // Out-of-range values (from a damaged source) are brought into range.
    void SetMetrics(const TPageMetrics& metrics);
    void SetError(const QString& text) { error_ = text; }

private:
    QRectF FigureRect(double x1, double y1, double x2, double y2) const;
    void DrawFigure(const QPainterPath& figure);
    void StartPage(QPainter* painter);
    void CloseDocument();
    bool BeginModeDrawing(QColor* forcedColor);
    void ResetDrawingState();
    // Sets the painter's clip to the card's, then cuts it to `region` when given.
    void ApplyClip(const QPainterPath* region);
    // Counts `steps` against the page's budget; false (and the job stopped
    // with an error) once it is spent.
    bool charge(qint64 steps);

    TPageMetrics metrics_;
    int copies_ = 1;
    PageOrientation orientation_ = PageOrientation::Portrait;
    double marginLeft_ = 0.0;
    double marginTop_ = 0.0;

    QPointer<QLabel> statusLabel_;
    std::function<void(const QString&)> statusSink_;
    QString statusFormat_;
    QStringList statusText_;

    QPainter* painter_ = nullptr;
    bool executing_ = false;
    bool documentOpen_ = false;
    bool aborted_ = false;
    int page_ = 0;
    QString error_;
    qint64 pageWork_ = 0;
    qint64 pageBudget_ = kPageWorkBudget;
    std::vector<qint64> pageBitmaps_; // the bitmaps charged on this page
    bool overBudget_ = false;

    TColor penColor_ = clBlack;
    PenStyle penStyle_ = PenStyle::Solid;
    int penWidth_ = 1;
    PenMode penMode_ = PenMode::Copy;
    double penInches_ = 0.0; // > 0: the width in inches (SetCardPen)
    TColor brushColor_ = clWhite;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QImage brushBitmap_; // pattern or texture, null for none
    QFont font_ { "Arial", 10 };
    QColor fontColor_ = Qt::black;
    bool transparentText_ = false;
    QPoint penPos_;
    double cursorX_ = 0.0;
    double cursorY_ = 0.0;
    double lineTop_ = 0.0;
    bool inPath_ = false;
    QPainterPath path_;
    bool inCard_ = false;
    QPainterPath cardClip_;
    QPainterPath baseClip_; // the card's, cut to the object's box while one draws
    int objectDepth_ = 0;
    mutable QImage measureDevice_; // fonts are measured at the page's resolution between pages
};

} // namespace cardora
