#pragma once
#include "imaging/byte_reader.h"
#include "imaging/metafile.h"
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

namespace cardora {

// Drawing state and the drawing operations shared by the WMF and EMF players.
// Coordinates handed to the drawing operations are logical; the player keeps
// the transform from logical units to the target and draws through it.
class MetafilePlayer {
public:
    MetafilePlayer(QPainter& painter, const QRectF& target);
    virtual ~MetafilePlayer();

protected:
    struct LogFont {
        QString face = QStringLiteral("Arial");
        double height = 12; // > 0 cell height, < 0 character height
        int escapement = 0; // tenths of a degree
        int weight = 400;
        bool italic = false, underline = false, strikeOut = false;
    };
    struct GdiObject {
        enum Kind { Pen, Brush, Font, Other } kind = Other;
        QPen pen;
        double penWidth = 0; // logical units; 0 is one device pixel
        QBrush brush;
        LogFont font;
    };
    struct DcState {
        QPen pen { Qt::black };
        double penWidth = 0;
        QBrush brush { Qt::white };
        LogFont font;
        QColor textColor { Qt::black };
        QColor bkColor { Qt::white };
        bool opaqueBk = true;
        int textAlign = 0;
        Qt::FillRule fillRule = Qt::OddEvenFill;
        QPointF current;
        int mapMode = 1;
        QPointF winOrg, vpOrg;
        QSizeF winExt { 1, 1 }, vpExt { 1, 1 };
        bool winExtSet = false;
        QTransform world;
        bool hasClip = false;
        QPainterPath clip; // in target coordinates
    };

    // Logical units to target coordinates under the current state.
    virtual QTransform LogicalToTarget() const = 0;

    static QColor ColorRef(uint32_t v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }
    static QPen MakePen(int style, const QColor& colour);
    static QBrush MakeBrush(int style, const QColor& colour, int hatch);
    // A packed DIB (header, colour table, bits) as an image.
    static QImage DecodeDib(const QByteArray& header, const QByteArray& bits);

    void SelectObject(const GdiObject& o);
    void SaveDc();
    void RestoreDc(int which);

    // Drawing in logical coordinates. A closed figure is filled with the
    // brush and outlined with the pen; an open one only stroked.
    void DrawPath(const QPainterPath& path, bool fill, bool stroke = true);
    void Polyline(const QPolygonF& points);
    void Polygon(const QPolygonF& points);
    void PolyPolygon(const QList<QPolygonF>& polygons);
    void Rectangle(const QRectF& r);
    void RoundRect(const QRectF& r, double w, double h);
    void Ellipse(const QRectF& r);
    enum class ArcKind { Arc, Pie, Chord };
    QPainterPath ArcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind, bool connectFromCurrent = false) const;
    void ArcShape(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void LineTo(QPointF p);
    void TextOut(QPointF p, const QString& text, const QRectF* opaqueRect);
    void FillRect(const QRectF& r, const QBrush& brush);
    void DrawImage(const QRectF& dest, const QImage& image, const QRectF& source, uint32_t rop);
    void PatBlt(const QRectF& r, uint32_t rop);
    // Clip operations; rectangles in logical units, paths in target units.
    void IntersectClip(const QPainterPath& targetPath);
    void ExcludeClip(const QPainterPath& targetPath);
    void ResetClip();
    void SetClipPathTarget(const QPainterPath& targetPath, int mode);

    QPainterPath ToTarget(const QPainterPath& logicalPath) const { return LogicalToTarget().map(logicalPath); }

    QPainter& painter_;
    QRectF target_;
    DcState dc_;
    QList<DcState> saved_;
    // Open path bracket (EMF); drawing adds to it instead of painting.
    bool inPath_ = false;
    QPainterPath path_;

private:
    void applyClip();
    void paintPath(const QPainterPath& path, bool fill, bool stroke);

    QTransform baseTransform_;
    bool baseHasClip_ = false;
    QPainterPath baseClip_;
};

void PlayWmf(const QByteArray& bytes, const MetafileHeader& header, QPainter& painter, const QRectF& target);
void PlayEmf(const QByteArray& bytes, const MetafileHeader& header, QPainter& painter, const QRectF& target);
MetafileHeader ReadWmfHeader(const QByteArray& bytes);
MetafileHeader ReadEmfHeader(const QByteArray& bytes);

} // namespace cardora
