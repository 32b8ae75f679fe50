#include "imaging/metafile_player.h"
#include <QHash>
#include <algorithm>
#include <cmath>

namespace cardora {

namespace {

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr int kMaxNaturalSide = 4096;

struct EmfDevice {
    QRectF frame;       // reference-device pixels
    double pxPerMmX = 96 / 25.4, pxPerMmY = 96 / 25.4;
};

bool ReadDevice(const QByteArray& bytes, EmfDevice* device, QRectF* frameMm)
{
    ByteReader in(bytes);
    const uint32_t type = in.U32();
    const uint32_t size = in.U32();
    const int bl = in.S32(), bt = in.S32(), br = in.S32(), bb = in.S32();
    const int fl = in.S32(), ft = in.S32(), fr = in.S32(), fb = in.S32();
    const uint32_t signature = in.U32();
    in.Skip(4 + 4 + 4 + 4 + 4 + 4 + 4);
    const int devW = in.S32(), devH = in.S32(), mmW = in.S32(), mmH = in.S32();
    if (in.Failed() || type != 1 || signature != kEmfSignature || size < 88 || size > uint32_t(bytes.size()))
        return false;
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
        device->pxPerMmX = double(devW) / mmW;
        device->pxPerMmY = double(devH) / mmH;
    }
    *frameMm = QRectF(QPointF(fl / 100.0, ft / 100.0), QPointF(fr / 100.0, fb / 100.0)).normalized();
    if (frameMm->width() > 0 && frameMm->height() > 0) {
        device->frame = QRectF(frameMm->left() * device->pxPerMmX, frameMm->top() * device->pxPerMmY,
            frameMm->width() * device->pxPerMmX, frameMm->height() * device->pxPerMmY);
    } else {
        // No frame: the bounds are inclusive device pixels.
        device->frame = QRectF(QPointF(bl, bt), QPointF(double(br) + 1, double(bb) + 1)).normalized();
        *frameMm = QRectF(device->frame.left() / device->pxPerMmX, device->frame.top() / device->pxPerMmY,
            device->frame.width() / device->pxPerMmX, device->frame.height() / device->pxPerMmY);
    }
    return device->frame.width() > 0 && device->frame.height() > 0;
}

class EmfPlayer : public MetafilePlayer {
public:
    EmfPlayer(QPainter& painter, const QRectF& target, const EmfDevice& device)
        : MetafilePlayer(painter, target)
        , device_(device)
    {
    }
    void Play(const QByteArray& bytes);

protected:
    QTransform LogicalToTarget() const override
    {
        const QTransform toTarget = QTransform::fromTranslate(-device_.frame.left(), -device_.frame.top())
            * QTransform::fromScale(target_.width() / device_.frame.width(), target_.height() / device_.frame.height())
            * QTransform::fromTranslate(target_.left(), target_.top());
        return dc_.world * Page() * toTarget;
    }

private:
    QTransform Page() const
    {
        double sx = 1, sy = 1;
        const double mmX = device_.pxPerMmX, mmY = device_.pxPerMmY;
        switch (dc_.mapMode) {
        case 2: sx = 0.1 * mmX; sy = -0.1 * mmY; break;         // LOMETRIC
        case 3: sx = 0.01 * mmX; sy = -0.01 * mmY; break;       // HIMETRIC
        case 4: sx = 0.254 * mmX; sy = -0.254 * mmY; break;     // LOENGLISH
        case 5: sx = 0.0254 * mmX; sy = -0.0254 * mmY; break;   // HIENGLISH
        case 6: sx = 25.4 / 1440 * mmX; sy = -25.4 / 1440 * mmY; break; // TWIPS
        case 7:
        case 8: {
            const double ww = dc_.winExt.width() ? dc_.winExt.width() : 1;
            const double wh = dc_.winExt.height() ? dc_.winExt.height() : 1;
            sx = dc_.vpExt.width() / ww;
            sy = dc_.vpExt.height() / wh;
            if (dc_.mapMode == 7) {
                const double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx);
                sy = std::copysign(m, sy);
            }
            break;
        }
        default: break;
        }
        return QTransform(sx, 0, 0, sy, dc_.vpOrg.x() - dc_.winOrg.x() * sx, dc_.vpOrg.y() - dc_.winOrg.y() * sy);
    }
    void record(uint32_t type, ByteReader& in, const QByteArray& rec);
    QPolygonF points(ByteReader& in, uint32_t count, bool small) const
    {
        QPolygonF poly;
        if (qint64(count) * (small ? 4 : 8) > in.Remaining())
            return poly;
        poly.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            if (small) {
                const int x = in.S16(), y = in.S16();
                poly.append(QPointF(x, y));
            } else {
                const int x = in.S32(), y = in.S32();
                poly.append(QPointF(x, y));
            }
        }
        return poly;
    }
    static QRectF Box(ByteReader& in)
    {
        const int l = in.S32(), t = in.S32(), r = in.S32(), b = in.S32();
        return QRectF(QPointF(l, t), QPointF(r, b));
    }
    static QPointF Point(ByteReader& in)
    {
        const int x = in.S32(), y = in.S32();
        return QPointF(x, y);
    }
    QImage dib(const QByteArray& rec, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits) const
    {
        if (cbBmi == 0 || qint64(offBmi) + cbBmi > rec.size() || qint64(offBits) + cbBits > rec.size())
            return {};
        return DecodeDib(rec.mid(offBmi, cbBmi), rec.mid(offBits, cbBits));
    }
    void stockObject(uint32_t index);
    void polyPoly(ByteReader& in, bool small, bool closed);

    EmfDevice device_;
    QHash<uint32_t, GdiObject> objects_;
};

void EmfPlayer::Play(const QByteArray& bytes)
{
    ByteReader in(bytes);
    while (in.Remaining() >= 8) {
        const qsizetype start = in.Pos();
        const uint32_t type = in.U32();
        const uint32_t size = in.U32();
        if (size < 8 || size > uint64_t(in.Remaining()) + 8 || (size & 3))
            break;
        if (type == 14) // EOF
            break;
        const QByteArray rec = QByteArray::fromRawData(bytes.constData() + start, size);
        ByteReader params(rec);
        params.Skip(8);
        record(type, params, rec);
        in.Seek(start + size);
    }
}

void EmfPlayer::stockObject(uint32_t index)
{
    GdiObject o;
    switch (index & 0x7FFFFFFF) {
    case 0: o.kind = GdiObject::Brush; o.brush = QBrush(Qt::white); break;
    case 1: o.kind = GdiObject::Brush; o.brush = QBrush(QColor(192, 192, 192)); break;
    case 2: o.kind = GdiObject::Brush; o.brush = QBrush(QColor(128, 128, 128)); break;
    case 3: o.kind = GdiObject::Brush; o.brush = QBrush(QColor(64, 64, 64)); break;
    case 4: o.kind = GdiObject::Brush; o.brush = QBrush(Qt::black); break;
    case 5: o.kind = GdiObject::Brush; o.brush = Qt::NoBrush; break;
    case 6: o.kind = GdiObject::Pen; o.pen = QPen(Qt::white); break;
    case 7: o.kind = GdiObject::Pen; o.pen = QPen(Qt::black); break;
    case 8: o.kind = GdiObject::Pen; o.pen = QPen(Qt::NoPen); break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        o.kind = GdiObject::Font;
        break;
    default: return;
    }
    SelectObject(o);
}

void EmfPlayer::polyPoly(ByteReader& in, bool small, bool closed)
{
    in.Skip(16);
    const uint32_t n = in.U32();
    const uint32_t total = in.U32();
    if (in.Failed() || qint64(n) * 4 > in.Remaining())
        return;
    QList<uint32_t> counts;
    qint64 sum = 0;
    for (uint32_t i = 0; i < n; ++i) {
        counts.append(in.U32());
        sum += counts.last();
    }
    if (sum != total || sum * (small ? 4 : 8) > in.Remaining())
        return;
    QList<QPolygonF> polys;
    for (uint32_t c : counts)
        polys.append(points(in, c, small));
    if (closed) {
        PolyPolygon(polys);
    } else {
        for (const QPolygonF& p : polys)
            Polyline(p);
    }
}

void EmfPlayer::record(uint32_t type, ByteReader& in, const QByteArray& rec)
{
    switch (type) {
    case 2: case 85: // POLYBEZIER
    case 5: case 88: { // POLYBEZIERTO
        const bool small = type >= 85;
        const bool to = type == 5 || type == 88;
        in.Skip(16);
        const QPolygonF p = points(in, in.U32(), small);
        if (p.isEmpty())
            break;
        QPainterPath path;
        int i = 0;
        if (to) {
            path.moveTo(dc_.current);
        } else {
            path.moveTo(p[0]);
            i = 1;
        }
        for (; i + 2 < p.size(); i += 3)
            path.cubicTo(p[i], p[i + 1], p[i + 2]);
        if (to)
            dc_.current = path.currentPosition();
        DrawPath(path, false);
        break;
    }
    case 3: case 86: // POLYGON
    case 4: case 87: { // POLYLINE
        const bool small = type >= 86;
        in.Skip(16);
        const QPolygonF p = points(in, in.U32(), small);
        if (type == 3 || type == 86)
            Polygon(p);
        else
            Polyline(p);
        break;
    }
    case 6: case 89: { // POLYLINETO
        in.Skip(16);
        QPolygonF p = points(in, in.U32(), type == 89);
        if (p.isEmpty())
            break;
        p.prepend(dc_.current);
        dc_.current = p.last();
        Polyline(p);
        break;
    }
    case 7: case 90: polyPoly(in, type == 90, false); break;
    case 8: case 91: polyPoly(in, type == 91, true); break;
    case 9: { const int x = in.S32(), y = in.S32(); if (!in.Failed()) dc_.winExt = QSizeF(x, y); break; }
    case 10: { const QPointF p = Point(in); if (!in.Failed()) dc_.winOrg = p; break; }
    case 11: { const int x = in.S32(), y = in.S32(); if (!in.Failed()) dc_.vpExt = QSizeF(x, y); break; }
    case 12: { const QPointF p = Point(in); if (!in.Failed()) dc_.vpOrg = p; break; }
    case 17: dc_.mapMode = int(in.U32()); break;
    case 18: dc_.opaqueBk = in.U32() == 2; break;
    case 19: dc_.fillRule = in.U32() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case 22: dc_.textAlign = int(in.U32()); break;
    case 24: dc_.textColor = ColorRef(in.U32()); break;
    case 25: dc_.bkColor = ColorRef(in.U32()); break;
    case 27: { const QPointF p = Point(in); if (!in.Failed()) dc_.current = p; break; }
    case 29: // EXCLUDECLIPRECT
    case 30: { // INTERSECTCLIPRECT
        const QRectF r = Box(in);
        if (in.Failed())
            break;
        QPainterPath path;
        path.addRect(r.normalized());
        // Clip rectangles are in logical units, without the world transform.
        const QTransform saved = dc_.world;
        dc_.world = QTransform();
        const QPainterPath t = ToTarget(path);
        dc_.world = saved;
        type == 30 ? IntersectClip(t) : ExcludeClip(t);
        break;
    }
    case 33: SaveDc(); break;
    case 34: RestoreDc(in.S32()); break;
    case 35: // SETWORLDTRANSFORM
    case 36: { // MODIFYWORLDTRANSFORM
        const double m11 = in.F32(), m12 = in.F32(), m21 = in.F32(), m22 = in.F32(), dx = in.F32(), dy = in.F32();
        const uint32_t mode = type == 36 ? in.U32() : 4;
        if (in.Failed())
            break;
        const QTransform x(m11, m12, m21, m22, dx, dy);
        if (mode == 1)
            dc_.world = QTransform();
        else if (mode == 2)
            dc_.world = x * dc_.world;
        else if (mode == 3)
            dc_.world = dc_.world * x;
        else if (mode == 4)
            dc_.world = x;
        break;
    }
    case 37: { // SELECTOBJECT
        const uint32_t index = in.U32();
        if (in.Failed())
            break;
        if (index & 0x80000000)
            stockObject(index);
        else if (objects_.contains(index))
            SelectObject(objects_[index]);
        break;
    }
    case 38: { // CREATEPEN
        const uint32_t index = in.U32();
        const int style = int(in.U32());
        const int width = in.S32();
        in.S32();
        const QColor colour = ColorRef(in.U32());
        if (in.Failed())
            break;
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.pen = MakePen(style, colour);
        o.penWidth = std::abs(width);
        objects_[index] = o;
        break;
    }
    case 95: { // EXTCREATEPEN
        const uint32_t index = in.U32();
        in.Skip(16);
        const int style = int(in.U32());
        const uint32_t width = in.U32();
        const uint32_t brushStyle = in.U32();
        const QColor colour = ColorRef(in.U32());
        if (in.Failed())
            break;
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.pen = MakePen(brushStyle == 1 ? 5 : style, colour);
        // Cosmetic pens (type bits clear) are one pixel whatever their width.
        o.penWidth = (style & 0x00010000) ? std::min<uint32_t>(width, 1u << 24) : 0;
        objects_[index] = o;
        break;
    }
    case 39: { // CREATEBRUSHINDIRECT
        const uint32_t index = in.U32();
        const int style = int(in.U32());
        const QColor colour = ColorRef(in.U32());
        const int hatch = int(in.U32());
        if (in.Failed())
            break;
        GdiObject o;
        o.kind = GdiObject::Brush;
        o.brush = MakeBrush(style, colour, hatch);
        objects_[index] = o;
        break;
    }
    case 94: { // CREATEDIBPATTERNBRUSHPT
        const uint32_t index = in.U32();
        in.U32();
        const uint32_t offBmi = in.U32(), cbBmi = in.U32(), offBits = in.U32(), cbBits = in.U32();
        if (in.Failed())
            break;
        const QImage pattern = dib(rec, offBmi, cbBmi, offBits, cbBits);
        GdiObject o;
        o.kind = GdiObject::Brush;
        o.brush = pattern.isNull() ? QBrush(Qt::black) : QBrush(pattern);
        objects_[index] = o;
        break;
    }
    case 82: { // EXTCREATEFONTINDIRECTW
        const uint32_t index = in.U32();
        GdiObject o;
        o.kind = GdiObject::Font;
        o.font.height = in.S32();
        in.S32();
        o.font.escapement = in.S32();
        in.S32();
        o.font.weight = in.S32();
        o.font.italic = in.U8();
        o.font.underline = in.U8();
        o.font.strikeOut = in.U8();
        in.Skip(5);
        if (in.Failed())
            break;
        QString face;
        for (int i = 0; i < 32 && in.Remaining() >= 2; ++i) {
            const char16_t c = in.U16();
            if (c == 0)
                break;
            face.append(QChar(c));
        }
        if (!face.isEmpty())
            o.font.face = face;
        objects_[index] = o;
        break;
    }
    case 48: case 49: case 93: break; // palettes, monochrome brushes
    case 40: objects_.remove(in.U32()); break;
    case 42: { const QRectF r = Box(in); if (!in.Failed()) Ellipse(r); break; }
    case 43: { const QRectF r = Box(in); if (!in.Failed()) Rectangle(r); break; }
    case 44: {
        const QRectF r = Box(in);
        const int w = in.S32(), h = in.S32();
        if (!in.Failed())
            RoundRect(r, w, h);
        break;
    }
    case 45: case 46: case 47: case 55: { // ARC, CHORD, PIE, ARCTO
        const QRectF r = Box(in);
        const QPointF s = Point(in), e = Point(in);
        if (in.Failed())
            break;
        if (type == 55) {
            const QPainterPath path = ArcPath(r, s, e, ArcKind::Arc, true);
            dc_.current = path.currentPosition();
            DrawPath(path, false);
        } else {
            ArcShape(r, s, e, type == 45 ? ArcKind::Arc : type == 46 ? ArcKind::Chord : ArcKind::Pie);
        }
        break;
    }
    case 54: { const QPointF p = Point(in); if (!in.Failed()) LineTo(p); break; }
    case 59: inPath_ = true; path_ = QPainterPath(); path_.moveTo(dc_.current); break; // BEGINPATH
    case 60: inPath_ = false; break; // ENDPATH
    case 61: path_.closeSubpath(); break; // CLOSEFIGURE
    case 68: inPath_ = false; path_ = QPainterPath(); break; // ABORTPATH
    case 62: case 63: case 64: { // FILLPATH, STROKEANDFILLPATH, STROKEPATH
        inPath_ = false;
        QPainterPath p = path_;
        p.setFillRule(dc_.fillRule);
        DrawPath(p, type != 64, type != 62);
        path_ = QPainterPath();
        break;
    }
    case 67: { // SELECTCLIPPATH
        const int mode = int(in.U32());
        inPath_ = false;
        QPainterPath p = path_;
        p.setFillRule(dc_.fillRule);
        SetClipPathTarget(ToTarget(p), mode);
        path_ = QPainterPath();
        break;
    }
    case 75: { // EXTSELECTCLIPRGN
        const uint32_t cb = in.U32();
        const int mode = int(in.U32());
        if (in.Failed())
            break;
        if (cb < 32) {
            if (mode == 5)
                ResetClip();
            break;
        }
        // Region data: header, then rectangles in device units.
        in.U32();
        in.U32();
        const uint32_t count = in.U32();
        in.Skip(4 + 16);
        if (in.Failed() || qint64(count) * 16 > in.Remaining())
            break;
        QPainterPath region;
        for (uint32_t i = 0; i < count; ++i) {
            const QRectF r = Box(in);
            region.addRect(r.normalized());
        }
        const QTransform toTarget = QTransform::fromTranslate(-device_.frame.left(), -device_.frame.top())
            * QTransform::fromScale(target_.width() / device_.frame.width(), target_.height() / device_.frame.height())
            * QTransform::fromTranslate(target_.left(), target_.top());
        SetClipPathTarget(toTarget.map(region.simplified()), mode);
        break;
    }
    case 83: case 84: { // EXTTEXTOUTA, EXTTEXTOUTW
        in.Skip(16 + 4 + 8);
        const QPointF p = Point(in);
        const uint32_t chars = in.U32();
        const uint32_t offString = in.U32();
        const uint32_t options = in.U32();
        const QRectF rect = Box(in);
        if (in.Failed())
            break;
        const qint64 bytes = qint64(chars) * (type == 84 ? 2 : 1);
        if (qint64(offString) + bytes > rec.size())
            break;
        QString text;
        if (type == 84) {
            for (uint32_t i = 0; i < chars; ++i) {
                const auto* c = reinterpret_cast<const uchar*>(rec.constData()) + offString + 2 * i;
                text.append(QChar(char16_t(c[0] | (c[1] << 8))));
            }
        } else {
            text = QString::fromLatin1(rec.constData() + offString, chars);
        }
        const bool opaque = options & 0x02;
        if (options & 0x04) {
            SaveDc();
            QPainterPath c;
            c.addRect(rect.normalized());
            IntersectClip(ToTarget(c));
            TextOut(p, text, opaque ? &rect : nullptr);
            RestoreDc(-1);
        } else {
            TextOut(p, text, opaque ? &rect : nullptr);
        }
        break;
    }
    case 76: case 77: { // BITBLT, STRETCHBLT
        in.Skip(16);
        const int xd = in.S32(), yd = in.S32(), cxd = in.S32(), cyd = in.S32();
        const uint32_t rop = in.U32();
        const int xs = in.S32(), ys = in.S32();
        in.Skip(24 + 4 + 4);
        const uint32_t offBmi = in.U32(), cbBmi = in.U32(), offBits = in.U32(), cbBits = in.U32();
        int cxs = cxd, cys = cyd;
        if (type == 77) {
            cxs = in.S32();
            cys = in.S32();
        }
        if (in.Failed())
            break;
        const QRectF dest(xd, yd, cxd, cyd);
        if (cbBmi == 0) {
            PatBlt(dest, rop);
            break;
        }
        DrawImage(dest, dib(rec, offBmi, cbBmi, offBits, cbBits), QRectF(xs, ys, cxs, cys), rop);
        break;
    }
    case 80: case 81: { // SETDIBITSTODEVICE, STRETCHDIBITS
        in.Skip(16);
        const int xd = in.S32(), yd = in.S32(), xs = in.S32(), ys = in.S32(), cxs = in.S32(), cys = in.S32();
        const uint32_t offBmi = in.U32(), cbBmi = in.U32(), offBits = in.U32(), cbBits = in.U32();
        in.U32();
        uint32_t rop = 0x00CC0020;
        int cxd = cxs, cyd = cys;
        if (type == 81) {
            rop = in.U32();
            cxd = in.S32();
            cyd = in.S32();
        }
        if (in.Failed())
            break;
        const QImage image = dib(rec, offBmi, cbBmi, offBits, cbBits);
        if (image.isNull())
            break;
        // Source rows count from the bottom of a bottom-up bitmap.
        QRectF src(xs, image.height() - ys - cys, cxs, cys);
        DrawImage(QRectF(xd, yd, cxd, cyd), image, src, rop);
        break;
    }
    default: break; // comments, colour management and the like
    }
}

} // namespace

MetafileHeader ReadEmfHeader(const QByteArray& bytes)
{
    MetafileHeader h;
    EmfDevice device;
    QRectF frameMm;
    if (!ReadDevice(bytes, &device, &frameMm))
        return h;
    h.format = MetafileFormat::Emf;
    h.frame = device.frame;
    double w = frameMm.width() / 25.4 * 96, hh = frameMm.height() / 25.4 * 96;
    const double longest = std::max(w, hh);
    if (longest > kMaxNaturalSide) {
        w = w * kMaxNaturalSide / longest;
        hh = hh * kMaxNaturalSide / longest;
    }
    h.naturalSize = QSize(std::max(1, int(std::lround(w))), std::max(1, int(std::lround(hh))));
    return h;
}

void PlayEmf(const QByteArray& bytes, const MetafileHeader&, QPainter& painter, const QRectF& target)
{
    EmfDevice device;
    QRectF frameMm;
    if (!ReadDevice(bytes, &device, &frameMm))
        return;
    EmfPlayer player(painter, target, device);
    player.Play(bytes);
}

} // namespace cardora
