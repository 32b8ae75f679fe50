#pragma once
#include "support/pixel_bounds.h"
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace cardora::test {

inline bool IsDark(QRgb c) { return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128; }
inline bool IsRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

// Bounding box of the pixels that match, within area (the whole image when empty).
inline QRect InkBounds(const QImage& image, const std::function<bool(QRgb)>& match = IsDark, QRect area = QRect())
{
    return MatchBounds(image, match, area);
}

inline int CountMatching(const QImage& image, const std::function<bool(QRgb)>& match, QRect area = QRect())
{
    return CountIn(image, match, area.isNull() ? image.rect() : area);
}

// Page `page` (from 1) of a PDF rendered by poppler at dpi, without smoothing.
inline QImage RenderPdf(const QString& pdf, int dpi, int page = 1)
{
    QTemporaryDir dir;
    const QString prefix = dir.path() + "/page";
    QProcess p;
    p.start("pdftoppm", { "-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                            "-aa", "no", "-aaVector", "no", "-png", "-singlefile", pdf, prefix });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(prefix + ".png");
}

// pdfinfo's "Page size" and "Pages" lines.
inline QString PdfInfo(const QString& pdf, const QString& key)
{
    QProcess p;
    p.start("pdfinfo", { pdf });
    if (!p.waitForFinished(30000))
        return QString();
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n');
    for (const QString& line : lines)
        if (line.startsWith(key + ":"))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}

} // namespace cardora::test
