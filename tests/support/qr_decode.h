#pragma once
// Reads QR codes off a picture with a real decoder (zbar-tools' zbarimg).
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace cardora::test {

// What zbarimg reads off the picture: the text of every QR code it finds,
// each followed by a line break, in its own order; empty when it finds none.
// (Its XML output mangles texts outside ASCII, so the raw output is read.)
inline QString ScanQrCodes(const QImage& picture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("code.png");
    if (!picture.save(path))
        return {};
    QProcess p;
    p.start("zbarimg", { "-q", "--raw", "-Sdisable", "-Sqrcode.enable", path });
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The one code in the picture (its text without the line break zbarimg adds).
inline QString DecodeQrCode(const QImage& picture)
{
    QString text = ScanQrCodes(picture);
    if (text.endsWith('\n'))
        text.chop(1);
    return text;
}

// True when what was scanned is exactly `copies` of each text, in any order.
inline bool ScannedExactly(const QString& scanned, const QStringList& texts, int copies)
{
    QString rest = scanned;
    for (const QString& text : texts) {
        for (int i = 0; i < copies; ++i) {
            const qsizetype at = rest.indexOf(text + '\n');
            if (at < 0)
                return false;
            rest.remove(at, text.size() + 1);
        }
    }
    return rest.isEmpty();
}

} // namespace cardora::test
