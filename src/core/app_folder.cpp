#include "core/app_folder.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace cardora {
namespace {
QString& overrideFolder()
{
    static QString f;
    return f;
}

QString withSlash(QString f)
{
    if (!f.endsWith('/'))
        f += '/';
    return f;
}

// An installed copy keeps its pages under PREFIX/share/cardora, beside PREFIX/bin.
QString installedShareFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (exeDir.isEmpty())
        return QString();
    const QString share = QDir::cleanPath(exeDir + "/../share/cardora");
    return QFileInfo::exists(share + "/help/contents.html") ? withSlash(share) : QString();
}
} // namespace

QString ApplicationFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static const QString folder = [] {
        const QString exeDir = QCoreApplication::applicationDirPath();
        QFileInfo info(exeDir);
        // An installed copy (even in a writable ~/.local/bin) keeps the
        // user's cards and CDW.INI in the per-user data folder.
        if (!exeDir.isEmpty() && info.isDir() && info.isWritable() && installedShareFolder().isEmpty())
            return withSlash(exeDir);
        QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (data.isEmpty())
            data = QDir::homePath() + "/.cardora";
        QDir().mkpath(data);
        return withSlash(data);
    }();
    return folder;
}

void SetApplicationFolder(const QString& folder) { overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder); }

bool ApplicationFolderIsDataFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString own = ApplicationFolder();
    return (!data.isEmpty() && QDir(own) == QDir(data)) || QDir(own) == QDir(QDir::homePath() + "/.cardora");
}

QString PreferencesFileName() { return FindCaseInsensitive(ApplicationFolder(), "CDW.INI"); }

QString HelpFolder()
{
    QString f = ApplicationFolder() + "help/";
    if (QFileInfo::exists(f + "contents.html"))
        return f;
    const QString installed = installedShareFolder();
    if (!installed.isEmpty())
        return installed + "help/";
    return withSlash(QCoreApplication::applicationDirPath()) + "help/";
}

QString FindCaseInsensitive(const QString& folder, const QString& name)
{
    QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return withSlash(folder) + e;
    return withSlash(folder) + name;
}

} // namespace cardora
