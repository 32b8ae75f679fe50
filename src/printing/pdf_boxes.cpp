#include "printing/pdf_boxes.h"
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <cmath>
#include <exception>

namespace cardora {

namespace {
constexpr double kPointsPerInch = 72.0;

// A box in PDF points: the page's origin is its lower-left corner, while the
// card was drawn from the top, below the top edge of the page Qt wrote.
QPDFObjectHandle pdfBox(const QRectF& inches, double pageTop)
{
    return QPDFObjectHandle::newFromRectangle(QPDFObjectHandle::Rectangle(inches.left() * kPointsPerInch,
        pageTop - inches.bottom() * kPointsPerInch, inches.right() * kPointsPerInch,
        pageTop - inches.top() * kPointsPerInch));
}
} // namespace

QString SetPdfPageBoxes(QByteArray& pdf, const TPdfPageBoxes& boxes)
{
    try {
        QPDF doc;
        doc.setSuppressWarnings(true);
        doc.processMemoryFile("card.pdf", pdf.constData(), size_t(pdf.size()));
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(doc).getAllPages()) {
            // Qt sizes its page in whole points and draws from its top edge;
            // the drawing moves up by what the rounding took, so the page
            // keeps its corner at the origin and its exact size.
            const QPDFObjectHandle::Rectangle written = page.getMediaBox().getArrayAsRectangle();
            const double top = boxes.Media.bottom() * kPointsPerInch;
            const double shift = top - written.ury;
            if (std::abs(shift) > 1e-6)
                page.addPageContents(
                    QPDFObjectHandle::newStream(&doc, QString("1 0 0 1 0 %1 cm\n").arg(shift, 0, 'f', 6).toStdString()),
                    true);
            QPDFObjectHandle object = page.getObjectHandle();
            object.replaceKey("/MediaBox", pdfBox(boxes.Media, top));
            object.replaceKey("/BleedBox", pdfBox(boxes.Bleed, top));
            object.replaceKey("/TrimBox", pdfBox(boxes.Trim, top));
            if (object.hasKey("/CropBox"))
                object.removeKey("/CropBox");
        }
        QPDFWriter writer(doc);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        pdf = QByteArray(reinterpret_cast<const char*>(out->getBuffer()), qsizetype(out->getSize()));
        return QString();
    } catch (const std::exception& e) {
        return QString("The page boxes could not be written: %1").arg(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace cardora
