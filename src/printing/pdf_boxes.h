#pragma once
#include <QByteArray>
#include <QRectF>
#include <QString>

namespace cardora {

// The page boxes a print shop reads, in inches from the page's top-left
// corner (the way the card was drawn): where to cut and how far the art runs.
struct TPdfPageBoxes {
    QRectF Media; // the whole page
    QRectF Bleed;
    QRectF Trim;
};

// Sets the media, bleed and trim boxes of every page of the PDF in `pdf`
// (as Qt wrote it) through the PDF library, so the file stays well formed.
// Returns the error text, empty on success; `pdf` then holds the new file.
QString SetPdfPageBoxes(QByteArray& pdf, const TPdfPageBoxes& boxes);

} // namespace cardora
