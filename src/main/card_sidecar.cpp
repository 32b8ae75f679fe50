#include "main/card_sidecar.h"
#include "core/app_folder.h"
#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace cardora {

QString DefaultCardName(const QString& savedFolder)
{
    QString name;
    for (int n = 10001; n < 100000; ++n) {
        name = "BC" + QString::number(n).right(4) + ".CDW";
        if (!QFileInfo::exists(FindCaseInsensitive(savedFolder, name)))
            return name;
    }
    return name;
}

QString SidecarFileName(const QString& cardPath)
{
    // The card's own extension is replaced, so each card keeps its own
    // sidecar even in folders whose names hold a dot.
    const QFileInfo info(cardPath);
    const QString file = info.fileName();
    const int dot = file.lastIndexOf('.');
    const QString stem = dot < 0 ? file : file.left(dot);
    const QString folder = cardPath.left(cardPath.size() - file.size());
    return folder + stem + ".CDB";
}

QString SidecarProblem(const QString& cardPath, const QStringList& inputs)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (QFileInfo(sidecar).absoluteFilePath() == QFileInfo(cardPath).absoluteFilePath()
        || IsSameFile(sidecar, cardPath))
        return "Cannot save the card as " + QDir::toNativeSeparators(cardPath)
            + ": the ending .CDB is kept for the file that remembers a card's background art";
    for (const QString& input : inputs)
        if (IsSameFile(sidecar, input))
            return "Cannot save the card as " + QDir::toNativeSeparators(cardPath) + ": its background art file "
                + QDir::toNativeSeparators(sidecar) + " would replace " + QDir::toNativeSeparators(input);
    // Checked before the card is written, so that nothing changes.
    if (const QString refusal = ReplaceRefusal(sidecar); !refusal.isEmpty())
        return "Cannot create file " + QDir::toNativeSeparators(sidecar) + ": " + refusal;
    return QString();
}

QString ReadSidecar(const QString& cardPath)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (!CheckInputFile(sidecar).isEmpty() || IsSameFile(sidecar, cardPath))
        return QString();
    QFile f(sidecar);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readLine(4096)).trimmed();
}

QString ReadSidecarBack(const QString& cardPath)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (!CheckInputFile(sidecar).isEmpty() || IsSameFile(sidecar, cardPath))
        return QString();
    QFile f(sidecar);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    f.readLine(4096);
    return QString::fromUtf8(f.readLine(4096)).trimmed();
}

bool WriteSidecar(const QString& cardPath, const QString& artPath, const QString& backPath)
{
    if (!SidecarProblem(cardPath).isEmpty())
        return false;
    const QString sidecar = SidecarFileName(cardPath);
    if (artPath.isEmpty() && backPath.isEmpty()) {
        QFile::remove(sidecar);
        return !QFile::exists(sidecar);
    }
    // The art line stays first, so that a card with a back still shows its art
    // in a copy of the program that reads one line.
    QByteArray text = artPath.toUtf8() + "\r\n";
    if (!backPath.isEmpty())
        text += backPath.toUtf8() + "\r\n";
    return WriteFileSafely(sidecar, text).isEmpty();
}

} // namespace cardora
