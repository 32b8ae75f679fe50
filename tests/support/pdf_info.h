#pragma once
// What poppler's tools read from a PDF: the page boxes (pdfinfo -box) and
// whether every font is embedded (pdffonts).
#include <QMap>
#include <QProcess>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace cardora::test {

inline QString RunTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The boxes of page 1 in millimetres ("MediaBox", "TrimBox", ...), as
// left, bottom, width, height in PDF coordinates.
inline QMap<QString, QRectF> PdfBoxesMm(const QString& pdf)
{
    QMap<QString, QRectF> boxes;
    const QStringList lines = RunTool("pdfinfo", { "-box", pdf }).split('\n');
    for (const QString& line : lines) {
        const QStringList parts = line.simplified().split(' ');
        if (parts.size() != 5 || !parts[0].endsWith("Box:"))
            continue;
        const double mm = 25.4 / 72.0;
        const double l = parts[1].toDouble() * mm, b = parts[2].toDouble() * mm;
        const double r = parts[3].toDouble() * mm, t = parts[4].toDouble() * mm;
        boxes[parts[0].chopped(1)] = QRectF(l, b, r - l, t - b);
    }
    return boxes;
}

// The fonts pdffonts lists, each with whether it is embedded; empty when
// the tool failed.
inline QMap<QString, bool> PdfFontsEmbedded(const QString& pdf)
{
    QMap<QString, bool> fonts;
    const QStringList lines = RunTool("pdffonts", { pdf }).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList parts = lines[i].simplified().split(' ');
        // name type... emb sub uni object ID: "emb" is the fifth field from the end.
        if (parts.size() >= 6)
            fonts[parts[0]] = parts[parts.size() - 5] == "yes";
    }
    return fonts;
}

} // namespace cardora::test
