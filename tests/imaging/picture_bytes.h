#pragma once
// Builders for small picture and metafile files with known pixels.
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <cstdint>
#include <initializer_list>

namespace testpics {

struct Bytes {
    QByteArray b;
    Bytes& u8(int v) { b.append(char(v & 0xFF)); return *this; }
    Bytes& u16(int v) { u8(v); return u8(v >> 8); }
    Bytes& u32(uint32_t v) { u16(int(v & 0xFFFF)); return u16(int(v >> 16)); }
    Bytes& raw(const QByteArray& x) { b.append(x); return *this; }
    Bytes& f32(float f) { uint32_t v; memcpy(&v, &f, 4); return u32(v); }
    Bytes& bytes(std::initializer_list<int> l) { for (int v : l) u8(v); return *this; }
};

// A PCX header; the caller appends the pixel stream.
inline Bytes PcxHeader(int w, int h, int bits, int planes, int bytesPerLine, const QList<QColor>& palette16 = {})
{
    Bytes o;
    o.u8(10).u8(5).u8(1).u8(bits).u16(0).u16(0).u16(w - 1).u16(h - 1).u16(72).u16(72);
    for (int i = 0; i < 16; ++i) {
        const QColor c = i < palette16.size() ? palette16[i] : QColor(0, 0, 0);
        o.u8(c.red()).u8(c.green()).u8(c.blue());
    }
    o.u8(0).u8(planes).u16(bytesPerLine).u16(1).u16(0).u16(0);
    o.b.append(QByteArray(128 - o.b.size(), '\0'));
    return o;
}

inline Bytes TgaHeader(int type, int w, int h, int depth, int descriptor, int mapLength = 0, int mapDepth = 0)
{
    Bytes o;
    o.u8(0).u8(mapLength ? 1 : 0).u8(type).u16(0).u16(mapLength).u8(mapDepth);
    o.u16(0).u16(0).u16(w).u16(h).u8(depth).u8(descriptor);
    return o;
}

inline QByteArray TgaFooter()
{
    Bytes o;
    o.u32(0).u32(0).raw(QByteArray("TRUEVISION-XFILE.", 17)).u8(0);
    return o.b;
}

// A BMP with a 40-byte header; rows as given (the caller orders them).
inline QByteArray Bmp(int w, int h, int bits, int compression, const QList<QColor>& palette, const QByteArray& pixels,
    int headerSize = 40)
{
    Bytes body;
    if (headerSize == 12) {
        body.u32(12).u16(w).u16(h).u16(1).u16(bits);
        for (const QColor& c : palette)
            body.u8(c.blue()).u8(c.green()).u8(c.red());
    } else {
        body.u32(40).u32(uint32_t(w)).u32(uint32_t(h)).u16(1).u16(bits).u32(compression).u32(pixels.size());
        body.u32(2835).u32(2835).u32(palette.size()).u32(0);
        for (const QColor& c : palette)
            body.u8(c.blue()).u8(c.green()).u8(c.red()).u8(0);
    }
    Bytes file;
    file.u8('B').u8('M').u32(14 + body.b.size() + pixels.size()).u32(0).u32(14 + body.b.size());
    file.raw(body.b).raw(pixels);
    return file.b;
}

inline uint32_t Ref(const QColor& c) { return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16); }

// WMF records: size in 16-bit words, function, parameters.
struct Wmf {
    Bytes body;
    int objects = 0;
    Wmf& rec(int function, std::initializer_list<int> words)
    {
        body.u32(uint32_t(3 + words.size())).u16(function);
        for (int w : words)
            body.u16(w);
        return *this;
    }
    Wmf& recRaw(int function, const QByteArray& params)
    {
        body.u32(uint32_t(3 + params.size() / 2)).u16(function).raw(params);
        return *this;
    }
    Wmf& brush(const QColor& c) { ++objects; return rec(0x02FC, { 0, int(Ref(c) & 0xFFFF), int(Ref(c) >> 16), 0 }); }
    Wmf& pen(int style, int width, const QColor& c)
    {
        ++objects;
        return rec(0x02FA, { style, width, 0, int(Ref(c) & 0xFFFF), int(Ref(c) >> 16) });
    }
    Wmf& select(int i) { return rec(0x012D, { i }); }
    Wmf& remove(int i) { return rec(0x01F0, { i }); }
    Wmf& rect(int l, int t, int r, int b) { return rec(0x041B, { b, r, t, l }); }
    Wmf& ellipse(int l, int t, int r, int b) { return rec(0x0418, { b, r, t, l }); }
    // Placeable when bbox is given.
    QByteArray file(const QRect& bbox = {}, int inch = 96) const
    {
        Bytes o;
        if (!bbox.isNull()) {
            Bytes h;
            h.u32(0x9AC6CDD7).u16(0).u16(bbox.left()).u16(bbox.top()).u16(bbox.right() + 1).u16(bbox.bottom() + 1)
                .u16(inch).u32(0);
            uint16_t sum = 0;
            for (int i = 0; i < 20; i += 2)
                sum ^= uint16_t(uchar(h.b[i]) | (uchar(h.b[i + 1]) << 8));
            h.u16(sum);
            o.raw(h.b);
        }
        const int words = 9 + body.b.size() / 2 + 3;
        o.u16(1).u16(9).u16(0x0300).u32(words).u16(objects).u32(64).u16(0);
        o.raw(body.b);
        o.u32(3).u16(0);
        return o.b;
    }
};

// EMF records: type, size, parameters (32-bit words unless raw).
struct Emf {
    Bytes body;
    int records = 1;
    Emf& rec(uint32_t type, std::initializer_list<int> words)
    {
        body.u32(type).u32(uint32_t(8 + 4 * words.size()));
        for (int w : words)
            body.u32(uint32_t(w));
        ++records;
        return *this;
    }
    Emf& recRaw(uint32_t type, const QByteArray& params)
    {
        body.u32(type).u32(uint32_t(8 + params.size())).raw(params);
        ++records;
        return *this;
    }
    // Frame in pixels of a 96-per-inch reference device.
    QByteArray file(const QRect& frame) const
    {
        const double mmPerPx = 25.4 / 96;
        Bytes h;
        h.u32(1).u32(108);
        h.u32(frame.left()).u32(frame.top()).u32(frame.right()).u32(frame.bottom());
        h.u32(uint32_t(std::lround(frame.left() * mmPerPx * 100))).u32(uint32_t(std::lround(frame.top() * mmPerPx * 100)));
        h.u32(uint32_t(std::lround((frame.right() + 1) * mmPerPx * 100)))
            .u32(uint32_t(std::lround((frame.bottom() + 1) * mmPerPx * 100)));
        h.u32(0x464D4520).u32(0x10000);
        const int total = 108 + body.b.size() + 20;
        h.u32(total).u32(records + 1).u16(16).u16(0).u32(0).u32(0).u32(0);
        h.u32(960).u32(960).u32(254).u32(254); // 96 per inch
        h.u32(0).u32(0).u32(0).u32(254000).u32(254000);
        Bytes o;
        o.raw(h.b).raw(body.b);
        o.u32(14).u32(20).u32(0).u32(16).u32(20);
        return o.b;
    }
};

} // namespace testpics
