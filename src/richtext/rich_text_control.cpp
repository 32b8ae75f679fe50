#include "richtext/rich_text_control.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "richtext/rich_text_storage.h"
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <algorithm>

namespace cardora {

namespace {
// Zoom percentages beyond these are damage; the editor keeps within 50..150.
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 1000;
} // namespace

double TwipsToPixels(int twips, double ppi) { return twips * ppi / 1440.0; }

int BoxTwips(int pixels, double zoom, double ppi)
{
    if (zoom <= 0 || ppi <= 0)
        return 0;
    return Trunc(std::clamp(pixels / zoom / ppi * 1440.0, -1e9, 1e9));
}

TRichTextControl::TRichTextControl(QObject* parent, const QString& name)
    : QObject(parent), document_(NewRichDocument())
{
    setObjectName(name);
    applyLayout();
}

TRichTextControl::~TRichTextControl() = default;

void TRichTextControl::AssignDocument(const QTextDocument& source)
{
    // Only what can ever show is laid out: text far below any box would
    // take the layout unbounded time.
    CopyRichDocumentPart(source, *document_, LayoutSafeEnd(source, kMaxLaidOutPixels));
    generation_ = 0;
    applyLayout();
}

void TRichTextControl::AssignDocument(const QTextDocument& source, quint64 generation)
{
    if (generation != 0 && generation == generation_)
        return;
    AssignDocument(source);
    generation_ = generation;
}

void TRichTextControl::SetZoom(int percent) { zoom_ = std::clamp(percent, kMinZoom, kMaxZoom); }

void TRichTextControl::SetPageLayout(const TRichPageLayout& layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    applyLayout();
}

void TRichTextControl::SetWordWrap(bool v)
{
    if (v == wordWrap_)
        return;
    wordWrap_ = v;
    applyLayout();
}

void TRichTextControl::applyLayout()
{
    // Laid out at 100 percent; the zoom only scales the painting.
    const double ppi = ScreenPixelsPerInch();
    const int text = layout_.pageWidth - layout_.leftMargin - layout_.rightMargin;
    document_->setDocumentMargin(0);
    document_->setTextWidth(wordWrap_ ? std::max(1.0, TwipsToPixels(text, ppi)) : -1);
}

void TRichTextControl::PaintTo(QPainter& canvas, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    if (!(paintMode_ & kPaintNoErase))
        canvas.fillRect(QRect(0, 0, width, height), pageColor_);
    const double ppi = ScreenPixelsPerInch();
    const QPointF origin(TwipsToPixels(layout_.leftMargin, ppi) * zoom_ / 100.0,
        TwipsToPixels(layout_.topMargin, ppi) * zoom_ / 100.0);
    PaintRichDocument(canvas, *document_, zoom_, origin, width, height);
}

void PaintRichDocument(QPainter& canvas, const QTextDocument& document, int zoom, const QPointF& origin, int width,
    int height)
{
    canvas.save();
    canvas.setClipRect(QRect(0, 0, width, height), Qt::IntersectClip);
    canvas.translate(origin);
    const double scale = zoom / 100.0;
    canvas.scale(scale, scale);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = QRectF(0, 0, (width - origin.x()) / scale, (height - origin.y()) / scale);
    document.documentLayout()->draw(&canvas, context);
    canvas.restore();
}

} // namespace cardora
