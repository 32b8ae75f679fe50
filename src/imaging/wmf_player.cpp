#include "core/object_stream.h"
#include "imaging/metafile_player.h"
#include <algorithm>

namespace cardora {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableSize = 22;
constexpr int kStandardHeaderSize = 18;
constexpr int kMaxNaturalSide = 4096;

QSize NaturalSize(double w, double h)
{
    w = std::abs(w);
    h = std::abs(h);
    if (w < 1 || h < 1)
        return {};
    const double longest = std::max(w, h);
    if (longest > kMaxNaturalSide) {
        w = w * kMaxNaturalSide / longest;
        h = h * kMaxNaturalSide / longest;
    }
    return QSize(std::max(1, int(std::lround(w))), std::max(1, int(std::lround(h))));
}

// Offset of the standard header, 0 or after the placeable header; -1 when
// the bytes do not start a Windows metafile.
int StandardHeaderOffset(const QByteArray& bytes, QRectF* frame, int* inch)
{
    ByteReader in(bytes);
    int offset = 0;
    if (in.U32() == kPlaceableKey) {
        in.U16();
        const int left = in.S16(), top = in.S16(), right = in.S16(), bottom = in.S16();
        *inch = in.U16();
        *frame = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        offset = kPlaceableSize;
    }
    // The standard header is 18 bytes; a file cut inside it is no metafile.
    if (bytes.size() < offset + kStandardHeaderSize)
        return -1;
    in.Seek(offset);
    const int type = in.U16();
    const int headerWords = in.U16();
    const int version = in.U16();
    if (in.Failed() || (type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return -1;
    return offset;
}

class WmfPlayer : public MetafilePlayer {
public:
    WmfPlayer(QPainter& painter, const QRectF& target, const QRectF& frame, int objectCount)
        : MetafilePlayer(painter, target)
        , objects_(std::clamp(objectCount, 1, 65535))
    {
        dc_.winOrg = frame.topLeft();
        dc_.winExt = frame.size();
    }

    void Play(const QByteArray& bytes, qsizetype start);

protected:
    QTransform LogicalToTarget() const override
    {
        const double ew = dc_.winExt.width() ? dc_.winExt.width() : 1;
        const double eh = dc_.winExt.height() ? dc_.winExt.height() : 1;
        const double sx = target_.width() / ew, sy = target_.height() / eh;
        return QTransform(sx, 0, 0, sy, target_.left() - dc_.winOrg.x() * sx, target_.top() - dc_.winOrg.y() * sy);
    }

private:
    struct Slot {
        bool used = false;
        GdiObject object;
    };
    void addObject(const GdiObject& o)
    {
        // A new object takes the lowest free slot.
        for (Slot& s : objects_)
            if (!s.used) {
                s.used = true;
                s.object = o;
                return;
            }
    }
    void record(int function, ByteReader& in, qsizetype paramBytes);
    static QRectF Box(ByteReader& in)
    {
        const int bottom = in.S16(), right = in.S16(), top = in.S16(), left = in.S16();
        return QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    static QPointF Point(ByteReader& in)
    {
        const int y = in.S16(), x = in.S16();
        return QPointF(x, y);
    }
    static QPolygonF Points(ByteReader& in, int count)
    {
        QPolygonF poly;
        if (count < 0 || qint64(count) * 4 > in.Remaining())
            return poly;
        poly.reserve(count);
        for (int i = 0; i < count; ++i) {
            const int x = in.S16(), y = in.S16();
            poly.append(QPointF(x, y));
        }
        return poly;
    }
    void stretchDib(ByteReader& in, qsizetype end, uint32_t rop, QRectF src, QRectF dst);

    QList<Slot> objects_;
};

void WmfPlayer::Play(const QByteArray& bytes, qsizetype start)
{
    ByteReader in(bytes);
    in.Seek(start);
    in.Skip(kStandardHeaderSize);
    while (in.Remaining() >= 6) {
        const qsizetype recordStart = in.Pos();
        const qint64 size = qint64(in.U32()) * 2;
        const int function = in.U16();
        if (function == 0 || size < 6 || size > in.Remaining() + 6)
            break;
        ByteReader params(bytes.constData() + recordStart + 6, size - 6);
        record(function, params, size - 6);
        in.Seek(recordStart + size);
    }
}

void WmfPlayer::stretchDib(ByteReader& in, qsizetype end, uint32_t rop, QRectF src, QRectF dst)
{
    const QByteArray dib = in.Bytes(end - in.Pos());
    if (dib.isEmpty()) {
        PatBlt(dst, rop);
        return;
    }
    ByteReader h(dib);
    const uint32_t headerSize = h.U32();
    const QImage image = DecodeDib(dib, QByteArray());
    if (headerSize == 0 || image.isNull())
        return;
    // Source rectangles count rows from the bottom of the DIB.
    if (src.isValid())
        src.moveTop(image.height() - src.bottom());
    DrawImage(dst, image, src, rop);
}

void WmfPlayer::record(int function, ByteReader& in, qsizetype paramBytes)
{
    switch (function) {
    case 0x0103: dc_.mapMode = in.U16(); break; // SETMAPMODE
    case 0x0102: dc_.opaqueBk = in.U16() == 2; break; // SETBKMODE
    case 0x0201: dc_.bkColor = ColorRef(in.U32()); break;
    case 0x0209: dc_.textColor = ColorRef(in.U32()); break;
    case 0x0106: dc_.fillRule = in.U16() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case 0x012E: dc_.textAlign = in.U16(); break;
    case 0x020B: dc_.winOrg = Point(in); break; // SETWINDOWORG
    case 0x020C: { // SETWINDOWEXT
        const int y = in.S16(), x = in.S16();
        if (!in.Failed())
            dc_.winExt = QSizeF(x, y);
        break;
    }
    case 0x020F: dc_.winOrg += Point(in); break; // OFFSETWINDOWORG
    case 0x0410: { // SCALEWINDOWEXT
        const int yd = in.S16(), yn = in.S16(), xd = in.S16(), xn = in.S16();
        if (xd && yd && !in.Failed())
            dc_.winExt = QSizeF(dc_.winExt.width() * xn / xd, dc_.winExt.height() * yn / yd);
        break;
    }
    case 0x001E: SaveDc(); break;
    case 0x0127: RestoreDc(in.S16()); break;
    case 0x02FA: { // CREATEPENINDIRECT
        GdiObject o;
        o.kind = GdiObject::Pen;
        const int style = in.U16();
        o.penWidth = in.S16();
        in.U16();
        o.pen = MakePen(style, ColorRef(in.U32()));
        o.penWidth = std::abs(o.penWidth);
        addObject(o);
        break;
    }
    case 0x02FC: { // CREATEBRUSHINDIRECT
        GdiObject o;
        o.kind = GdiObject::Brush;
        const int style = in.U16();
        const QColor colour = ColorRef(in.U32());
        o.brush = MakeBrush(style, colour, in.U16());
        addObject(o);
        break;
    }
    case 0x02FB: { // CREATEFONTINDIRECT
        GdiObject o;
        o.kind = GdiObject::Font;
        o.font.height = in.S16();
        in.S16();
        o.font.escapement = in.S16();
        in.S16();
        o.font.weight = in.S16();
        o.font.italic = in.U8();
        o.font.underline = in.U8();
        o.font.strikeOut = in.U8();
        in.Skip(5);
        if (!in.Failed()) {
            QByteArray face = in.Bytes(std::min<qsizetype>(32, in.Remaining()));
            face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
            if (!face.isEmpty())
                o.font.face = FromWindows1252(face);
        }
        addObject(o);
        break;
    }
    case 0x0142: { // DIBCREATEPATTERNBRUSH
        GdiObject o;
        o.kind = GdiObject::Brush;
        in.Skip(4);
        const QImage pattern = DecodeDib(in.Bytes(in.Remaining()), QByteArray());
        o.brush = pattern.isNull() ? QBrush(Qt::black) : QBrush(pattern);
        addObject(o);
        break;
    }
    case 0x00F7: // CREATEPALETTE
    case 0x01F9: // CREATEPATTERNBRUSH
    case 0x06FF: // CREATEREGION
        addObject(GdiObject());
        break;
    case 0x012D: { // SELECTOBJECT
        const int index = in.U16();
        if (!in.Failed() && index < objects_.size() && objects_[index].used)
            SelectObject(objects_[index].object);
        break;
    }
    case 0x01F0: { // DELETEOBJECT
        const int index = in.U16();
        if (!in.Failed() && index < objects_.size())
            objects_[index].used = false;
        break;
    }
    case 0x0214: dc_.current = Point(in); break; // MOVETO
    case 0x0213: { // LINETO
        const QPointF p = Point(in);
        if (!in.Failed())
            LineTo(p);
        break;
    }
    case 0x0325: Polyline(Points(in, in.S16())); break;
    case 0x0324: Polygon(Points(in, in.S16())); break;
    case 0x0538: { // POLYPOLYGON
        const int n = in.U16();
        if (qint64(n) * 2 > in.Remaining())
            break;
        QList<int> counts;
        for (int i = 0; i < n; ++i)
            counts.append(in.U16());
        QList<QPolygonF> polys;
        for (int c : counts) {
            const QPolygonF poly = Points(in, c);
            if (poly.size() != c)
                break;
            polys.append(poly);
        }
        PolyPolygon(polys);
        break;
    }
    case 0x041B: { // RECTANGLE
        const QRectF r = Box(in);
        if (!in.Failed())
            Rectangle(r);
        break;
    }
    case 0x061C: { // ROUNDRECT
        const int h = in.S16(), w = in.S16();
        const QRectF r = Box(in);
        if (!in.Failed())
            RoundRect(r, w, h);
        break;
    }
    case 0x0418: { // ELLIPSE
        const QRectF r = Box(in);
        if (!in.Failed())
            Ellipse(r);
        break;
    }
    case 0x0817: // ARC
    case 0x081A: // PIE
    case 0x0830: { // CHORD
        const QPointF end = Point(in), start = Point(in);
        const QRectF r = Box(in);
        if (in.Failed())
            break;
        ArcShape(r, start, end, function == 0x0817 ? ArcKind::Arc : function == 0x081A ? ArcKind::Pie : ArcKind::Chord);
        break;
    }
    case 0x041F: { // SETPIXEL
        const QColor colour = ColorRef(in.U32());
        const QPointF p = Point(in);
        if (!in.Failed())
            FillRect(QRectF(p, QSizeF(1, 1)), colour);
        break;
    }
    case 0x0521: { // TEXTOUT
        const int count = in.S16();
        if (count < 0 || count > in.Remaining())
            break;
        const QByteArray text = in.Bytes(count);
        in.Skip(count & 1);
        const QPointF p = Point(in);
        if (!in.Failed())
            TextOut(p, FromWindows1252(text), nullptr);
        break;
    }
    case 0x0A32: { // EXTTEXTOUT
        const QPointF p = Point(in);
        const int count = in.S16();
        const int options = in.U16();
        QRectF rect;
        const bool hasRect = (options & 0x06) && paramBytes >= 8 + 8 + count;
        if (hasRect) {
            const int l = in.S16(), t = in.S16(), r = in.S16(), b = in.S16();
            rect = QRectF(QPointF(l, t), QPointF(r, b));
        }
        if (count < 0 || count > in.Remaining())
            break;
        const QByteArray text = in.Bytes(count);
        if (in.Failed())
            break;
        const bool opaque = hasRect && (options & 0x02);
        if (hasRect && (options & 0x04)) {
            SaveDc();
            IntersectClip(ToTarget([&] { QPainterPath c; c.addRect(rect.normalized()); return c; }()));
            TextOut(p, FromWindows1252(text), opaque ? &rect : nullptr);
            RestoreDc(-1);
        } else {
            TextOut(p, FromWindows1252(text), opaque ? &rect : nullptr);
        }
        break;
    }
    case 0x0416: { // INTERSECTCLIPRECT
        const QRectF r = Box(in);
        if (in.Failed())
            break;
        QPainterPath path;
        path.addRect(r.normalized());
        IntersectClip(ToTarget(path));
        break;
    }
    case 0x0415: { // EXCLUDECLIPRECT
        const QRectF r = Box(in);
        if (in.Failed())
            break;
        QPainterPath path;
        path.addRect(r.normalized());
        ExcludeClip(ToTarget(path));
        break;
    }
    case 0x012C: ResetClip(); break; // SELECTCLIPREGION: regions are not kept
    case 0x061D: { // PATBLT
        const uint32_t rop = in.U32();
        const int h = in.S16(), w = in.S16();
        const QPointF p = Point(in);
        if (!in.Failed())
            PatBlt(QRectF(p, QSizeF(w, h)), rop);
        break;
    }
    case 0x0940: { // DIBBITBLT
        const bool withBitmap = paramBytes > 18;
        const uint32_t rop = in.U32();
        const int sy = in.S16(), sx = in.S16();
        if (!withBitmap)
            in.S16();
        const int h = in.S16(), w = in.S16(), dy = in.S16(), dx = in.S16();
        if (in.Failed())
            break;
        stretchDib(in, paramBytes, rop, QRectF(sx, sy, w, h), QRectF(dx, dy, w, h));
        break;
    }
    case 0x0B41: { // DIBSTRETCHBLT
        const bool withBitmap = paramBytes > 22;
        const uint32_t rop = in.U32();
        const int sh = in.S16(), sw = in.S16(), sy = in.S16(), sx = in.S16();
        if (!withBitmap)
            in.S16();
        const int dh = in.S16(), dw = in.S16(), dy = in.S16(), dx = in.S16();
        if (in.Failed())
            break;
        stretchDib(in, paramBytes, rop, QRectF(sx, sy, sw, sh), QRectF(dx, dy, dw, dh));
        break;
    }
    case 0x0F43: { // STRETCHDIB
        const uint32_t rop = in.U32();
        in.U16(); // colour usage
        const int sh = in.S16(), sw = in.S16(), sy = in.S16(), sx = in.S16();
        const int dh = in.S16(), dw = in.S16(), dy = in.S16(), dx = in.S16();
        if (in.Failed())
            break;
        stretchDib(in, paramBytes, rop, QRectF(sx, sy, sw, sh), QRectF(dx, dy, dw, dh));
        break;
    }
    case 0x0D33: { // SETDIBTODEV
        in.U16();
        in.U16();
        in.U16();
        const int sy = in.S16(), sx = in.S16(), h = in.S16(), w = in.S16(), dy = in.S16(), dx = in.S16();
        if (in.Failed())
            break;
        stretchDib(in, paramBytes, 0x00CC0020, QRectF(sx, sy, w, h), QRectF(dx, dy, w, h));
        break;
    }
    default: break; // records without a drawing effect here
    }
}

} // namespace

MetafileHeader ReadWmfHeader(const QByteArray& bytes)
{
    MetafileHeader h;
    QRectF frame;
    int inch = 0;
    const int offset = StandardHeaderOffset(bytes, &frame, &inch);
    if (offset < 0)
        return h;
    if (offset > 0 && frame.width() > 0 && frame.height() > 0) {
        h.format = MetafileFormat::PlaceableWmf;
        h.frame = frame;
        const double perInch = inch > 0 ? inch : 1440;
        h.naturalSize = NaturalSize(frame.width() * 96 / perInch, frame.height() * 96 / perInch);
        return h;
    }
    // Without a placeable header the window the records set up is the frame.
    h.format = offset > 0 ? MetafileFormat::PlaceableWmf : MetafileFormat::Wmf;
    ByteReader in(bytes);
    in.Seek(offset + kStandardHeaderSize);
    QPointF org;
    QSizeF ext;
    bool extFound = false;
    while (in.Remaining() >= 6 && !extFound) {
        const qsizetype start = in.Pos();
        const qint64 size = qint64(in.U32()) * 2;
        const int function = in.U16();
        if (function == 0 || size < 6 || size > in.Remaining() + 6)
            break;
        if (function == 0x020B || function == 0x020C) {
            const int y = in.S16(), x = in.S16();
            if (function == 0x020B) {
                org = QPointF(x, y);
            } else {
                ext = QSizeF(x, y);
                extFound = x != 0 && y != 0;
            }
        }
        in.Seek(start + size);
    }
    if (!extFound)
        ext = QSizeF(1000, 1000);
    h.frame = QRectF(org, ext);
    h.naturalSize = NaturalSize(ext.width(), ext.height());
    return h;
}

void PlayWmf(const QByteArray& bytes, const MetafileHeader& header, QPainter& painter, const QRectF& target)
{
    QRectF frame;
    int inch = 0;
    const int offset = StandardHeaderOffset(bytes, &frame, &inch);
    if (offset < 0)
        return;
    ByteReader in(bytes);
    in.Seek(offset + 10);
    const int objectCount = in.U16();
    WmfPlayer player(painter, target, header.frame, objectCount);
    player.Play(bytes, offset);
}

} // namespace cardora
