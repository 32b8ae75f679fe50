#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Installs this build tree as `cmake --install build --prefix PREFIX` does and
// checks what the desktop finds there.
namespace {
struct Installed : ::testing::Test {
    static inline QTemporaryDir* prefix = nullptr;
    static inline QString log;
    static inline int exitCode = -1;

    static void SetUpTestSuite()
    {
        prefix = new QTemporaryDir;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start("cmake", { "--install", CARDORA_BUILD_DIR, "--prefix", prefix->path() });
        p.waitForFinished(120000);
        exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        log = QString::fromLocal8Bit(p.readAll());
    }
    static void TearDownTestSuite()
    {
        delete prefix;
        prefix = nullptr;
    }
    static QString path(const QString& relative) { return prefix->filePath(relative); }
};
} // namespace

TEST_F(Installed, EveryPieceLandsWhereTheDesktopLooksForIt)
{
    ASSERT_EQ(exitCode, 0) << log.toStdString();
    for (const char* file : { "bin/cardora", "bin/cardora-cli", "share/applications/cardora.desktop",
             "share/mime/packages/cardora.xml", "share/icons/hicolor/scalable/apps/cardora.svg",
             "share/cardora/help/contents.html", "share/cardora/help/2016.html" })
        EXPECT_TRUE(QFile::exists(path(file))) << file;
    for (int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString icon = path(QString("share/icons/hicolor/%1x%1/apps/cardora.png").arg(size));
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    // The installed batch tool runs on its own.
    QProcess cli;
    cli.start(path("bin/cardora-cli"), { "--version" });
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_TRUE(cli.readAllStandardOutput().startsWith("cardora-cli "));
}

TEST_F(Installed, DesktopEntryOpensCardFilesAndValidates)
{
    ASSERT_EQ(exitCode, 0) << log.toStdString();
    QFile file(path("share/applications/cardora.desktop"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QMap<QString, QString> entry;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const int eq = line.indexOf('='); eq > 0)
            entry.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    EXPECT_EQ(entry.value("Exec"), "cardora %f");
    EXPECT_EQ(entry.value("Icon"), "cardora");
    EXPECT_TRUE(entry.value("MimeType").split(';').contains("application/x-cardora-card"));

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(validator, { path("share/applications/cardora.desktop") });
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_FALSE(out.contains("error")) << out.toStdString();
}

// Card files are known by their extension in any case, as the program itself
// treats them; other files are not taken for cards.
TEST_F(Installed, CardFilesAreKnownByTheirExtensionInAnyCase)
{
    ASSERT_EQ(exitCode, 0) << log.toStdString();
    // Nothing in this program asked the MIME database before, so it reads
    // the installed folder too.
    qputenv("XDG_DATA_DIRS", (path("share") + ":/usr/share").toLocal8Bit());
    qputenv("XDG_DATA_HOME", path("nowhere").toLocal8Bit());
    const struct {
        const char* name;
        bool card;
    } cases[] = {
        { "smith.cdw", true }, { "SMITH.CDW", true }, { "Smith.Cdw", true }, { "BC0001.CDW", true },
        { "smith.cdb", false }, { "smith.cdw.txt", false }, { "cdw", false },
    };
    QMimeDatabase db;
    for (const auto& c : cases) {
        const QString type = db.mimeTypeForFile(c.name, QMimeDatabase::MatchExtension).name();
        EXPECT_EQ(type == "application/x-cardora-card", c.card) << c.name << " is " << type.toStdString();
    }
}
