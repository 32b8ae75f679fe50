#pragma once
// A card on a panel of its own for the print-shop tests.
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "wysiwyg/card_maker.h"
#include "surface/card_panel.h"
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace cardora::test {

struct ShopCard {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    TRichTextControl masterRichText { &owner, QString::fromLatin1(kMasterRichTextName) };
    QSizeF inches;
    explicit ShopCard(QSizeF cardInches = QSizeF(3.5, 2.0)) : inches(cardInches)
    {
        panel.SetShape(CardShape::Rectangle);
        panel.SetPanelSize(int(std::lround(cardInches.width() * 96)), int(std::lround(cardInches.height() * 96)));
    }
    // Zoom-1 pixels of the card.
    int W() const { return panel.CardSize().width(); }
    int H() const { return panel.CardSize().height(); }
};

// Page 1 of a PDF at `dpi`.
inline QImage PdfPage(const QString& pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess p;
    p.start("pdftoppm", { "-r", QString::number(dpi), "-png", "-f", "1", "-l", "1", "-singlefile", pdf,
                            dir.filePath("page") });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(dir.filePath("page.png"));
}

inline bool Reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
inline bool Whitish(QRgb c) { return qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235; }

} // namespace cardora::test
