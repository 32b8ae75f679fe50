#pragma once
#include "core/fields.h"
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

namespace cardora {

class CardPanel;

enum class TCardExportFormat { Png, Jpeg, Bmp, Pdf, Svg };

// One card written as a picture or a page of its own, at its true size.
struct TCardExport {
    TCardExportFormat Format = TCardExportFormat::Png;
    // Pixels per inch of PNG, JPEG and BMP pictures. At the screen's 96 the
    // picture is the one Save As Bitmap writes; any other resolution is drawn
    // as the card is printed, at that resolution.
    int Dpi = 96;
    bool Border = false;
    QSizeF CardInches { 3.5, 2.0 };
    // JPEG quality 0-100; -1 the encoder's own default.
    int JpegQuality = -1;
    // Another picture format Qt writes ("tiff", "webp"), for Png's place.
    QByteArray WriterFormat;
    // PDF only: one page per record, each card's fields filled from its
    // record. The records must outlive the export.
    const TFieldRecords* Records = nullptr;
};

inline constexpr int kExportMinDpi = 72;
inline constexpr int kExportMaxDpi = 2400;

// The format a file name asks for by its extension (any case); nullopt when
// it names none of them. "card.jpeg" and "card.JPG" are both JPEG.
std::optional<TCardExportFormat> CardExportFormatFor(const QString& path);
QString CardExportExtension(TCardExportFormat format);

// Writes the card on the panel (at zoom 1) to `path`. PDF and SVG are vector:
// one page the size of the card, text kept as text, pictures at their own
// resolution. The file appears only when complete; `inputs` are files that
// must not be overwritten (the card and its art). Returns the error text,
// empty on success.
QString WriteCardExport(CardPanel& panel, const TCardExport& options, const QString& path,
    const QStringList& inputs = {});

} // namespace cardora
