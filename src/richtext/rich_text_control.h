#pragma once
#include <QColor>
#include <QObject>
#include <QRect>
#include <QTextDocument>
#include <memory>

class QPainter;

namespace cardora {

// Page size and margins in twips (1440 per inch).
struct TRichPageLayout {
    int pageWidth = 12240, pageHeight = 15840;
    int leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
    friend bool operator==(const TRichPageLayout&, const TRichPageLayout&) = default;
};

// Pixels of a twips length at the given pixels per inch.
double TwipsToPixels(int twips, double ppi);
// The twips of a box `pixels` wide at `zoom`, as the labels lay out pages:
// Trunc(pixels / zoom / ppi * 1440).
int BoxTwips(int pixels, double zoom, double ppi);

// The rich-text engine's control: it holds a document, lays it out on a page
// (width minus margins, at 100 percent) and paints it at a zoom, so text
// wraps at the same words whatever the zoom. The main window keeps one,
// hidden, for every rich-text label to paint through.
class TRichTextControl : public QObject {
    Q_OBJECT
public:
    // Paint mode flag: leave the canvas as it is behind the text.
    static constexpr int kPaintNoErase = 4;

    explicit TRichTextControl(QObject* parent = nullptr, const QString& name = QString());
    ~TRichTextControl() override;

    const QTextDocument& Document() const { return *document_; }
    // A full copy of `source` becomes the control's document.
    void AssignDocument(const QTextDocument& source);
    // The same, skipped when the control already holds that generation of a
    // stored document (see TRichTextStorage::Generation): a card printed
    // ten times to a sheet is copied and laid out once.
    void AssignDocument(const QTextDocument& source, quint64 generation);

    QColor PageColor() const { return pageColor_; }
    void SetPageColor(const QColor& c) { pageColor_ = c; }
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    const TRichPageLayout& PageLayout() const { return layout_; }
    void SetPageLayout(const TRichPageLayout& layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    int PaintModeFlags() const { return paintMode_; }
    void SetPaintModeFlags(int flags) { paintMode_ = flags; }

    // Paints the document from its first line into (0, 0, width, height) of
    // the canvas at the zoom, cut at that rectangle. Without kPaintNoErase
    // the rectangle is first filled with the page colour.
    void PaintTo(QPainter& canvas, int width, int height);

private:
    void applyLayout();

    std::unique_ptr<QTextDocument> document_;
    QColor pageColor_ = Qt::white;
    int zoom_ = 100;
    TRichPageLayout layout_;
    bool wordWrap_ = true;
    int paintMode_ = 0;
    quint64 generation_ = 0; // of the document held, 0 when unknown
};

// Paints a laid-out document at `zoom` percent into (0, 0, width, height),
// with black as the automatic text colour.
void PaintRichDocument(QPainter& canvas, const QTextDocument& document, int zoom, const QPointF& origin, int width,
    int height);

} // namespace cardora
