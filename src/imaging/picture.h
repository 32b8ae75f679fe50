#pragma once
#include "imaging/metafile.h"
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;

namespace cardora {

enum class TGraphicKind { None, Bitmap, Icon, Metafile, Svg };

// Holds at most one graphic: a bitmap, an icon (only as read from a file or a
// card), a metafile or an SVG drawing. Icons, metafiles and SVG drawings keep
// the bytes they were read from, and so do a PNG bitmap and a bitmap read
// from a card file, so that writing the picture back gives the same bytes.
class TPicture {
public:
    TPicture();
    TPicture(const TPicture& other);
    TPicture& operator=(const TPicture& other);
    ~TPicture();

    TGraphicKind Kind() const { return kind_; }
    bool HasGraphic() const { return kind_ != TGraphicKind::None; }
    bool IsBitmap() const { return kind_ == TGraphicKind::Bitmap; }
    bool IsIcon() const { return kind_ == TGraphicKind::Icon; }
    bool IsMetafile() const { return kind_ == TGraphicKind::Metafile; }
    bool IsSvg() const { return kind_ == TGraphicKind::Svg; }
    // A bitmap kept as the PNG file it was read from.
    bool IsPng() const;
    // Shows what is behind it where it has no paint: SVG drawings and
    // bitmaps with an alpha channel.
    bool IsTransparent() const;
    // The pixels of a bitmap or icon; a metafile (on white) or an SVG drawing
    // (on transparent) played at its natural size.
    const QImage& Bitmap() const;
    // Natural size: a bitmap's pixels, a metafile's or SVG drawing's size at
    // 96 per inch.
    QSize Size() const;
    int Width() const { return Size().width(); }
    int Height() const { return Size().height(); }

    void SetBitmap(const QImage& image);
    // An icon's largest image with the icon file's bytes.
    void SetIcon(const QImage& image, const QByteArray& iconFile);
    // False when the bytes are not a metafile.
    bool SetMetafile(const QByteArray& bytes);
    // A PNG file's pixels (alpha kept) with the file's bytes.
    void SetPng(const QImage& image, const QByteArray& pngFile);
    // False with a message when the bytes are not an SVG drawing this
    // program accepts (see svg_picture.h).
    bool SetSvg(const QByteArray& bytes, QString* message);
    void Clear();

    // Reads a picture file, chosen by the last extension of its name (see
    // picture_file.h). False, with ErrorText() set, when it cannot be read;
    // the picture is then unchanged.
    bool LoadFromFile(const QString& path);
    // The same from bytes already in memory, with the file name that decides
    // the format.
    bool LoadFromBytes(const QByteArray& bytes, const QString& fileName);
    QString ErrorText() const { return error_; }

    // Picture as a bitmap (icons reach cards this way).
    TPicture ToBitmapPicture() const;

    // Card file form: the class name ("TBitmap", "TIcon", "TMetafile",
    // "TPngImage", "TSvgImage") and
    // the data that follows it.
    QString ClassName() const;
    QByteArray GraphicData() const;
    // Throws nothing; false with the reader's message when the data is bad.
    bool SetGraphicData(const QString& className, const QByteArray& data, QString* message);
    // The bytes a metafile, icon or stored bitmap was read from.
    const QByteArray& SourceBytes() const { return source_; }

    // Draws stretched into target at full quality (printing, export).
    // Mirroring applies to bitmaps and icons only.
    void Draw(QPainter& painter, const QRectF& target, bool flip = false, bool reverse = false) const;
    // Screen painting: the same picture from a copy scaled once per box size.
    void DrawCached(QPainter& painter, const QRect& target, bool flip = false, bool reverse = false) const;

private:
    struct Cache;

    TGraphicKind kind_ = TGraphicKind::None;
    QImage bitmap_;
    QByteArray source_;
    MetafileHeader metafile_;
    QSize svgSize_;
    QString error_;
    std::unique_ptr<Cache> cache_;
};

} // namespace cardora
