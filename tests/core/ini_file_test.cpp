#include "core/ini_file.h"
#include "support/scripted_modal.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}
} // namespace

TEST(IniFile, KeepsOtherLinesAndComparesWithoutCase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CDW.INI");
    writeAll(path, "; a comment\n[layout]\nwidth=3500\nOther = x\n\n[Unknown]\nkeep=me\n");
    {
        IniFile ini(path);
        EXPECT_EQ(ini.ReadInteger("Layout", "WIDTH", 0), 3500);
        EXPECT_EQ(ini.ReadString("LAYOUT", "other", "?"), " x");
        ini.WriteInteger("Layout", "Width", 2062);
        ini.WriteInteger("Layout", "Height", 2000);
        ini.WriteString("Personal", "Name", "Ann");
    }
    EXPECT_EQ(readAll(path),
        "; a comment\n[layout]\nwidth=2062\nOther = x\nHeight=2000\n\n[Unknown]\nkeep=me\n\n[Personal]\nName=Ann\n");
}

TEST(IniFile, MissingOrMalformedValuesGiveDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CDW.INI");
    writeAll(path, "[Default Font]\nBold=1\nItalic=0\nUnderline=5\nSize=ten\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("Default Font", "Bold", false));
    EXPECT_FALSE(ini.ReadBool("Default Font", "Italic", true));
    EXPECT_TRUE(ini.ReadBool("Default Font", "Underline", false));
    EXPECT_EQ(ini.ReadInteger("Default Font", "Size", 10), 10);
    EXPECT_EQ(ini.ReadInteger("Nowhere", "Size", 7), 7);
    IniFile missing(dir.filePath("none.ini"));
    EXPECT_EQ(missing.ReadString("a", "b", "def"), "def");
}

TEST(IniFile, KeepsWindowsLineEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CDW.INI");
    writeAll(path, "[MRU]\r\nF0=a.cdw\r\n");
    {
        IniFile ini(path);
        ini.WriteString("MRU", "F1", "b.cdw");
    }
    EXPECT_EQ(readAll(path), "[MRU]\r\nF0=a.cdw\r\nF1=b.cdw\r\n");
}

// Lines the program does not change go back byte for byte, in whatever
// encoding and with whatever line ends they came in.
TEST(IniFile, RoundTripsEncodingsByteForByte)
{
    struct Case {
        const char* name;
        QByteArray before;
        const char* section;
        const char* key;
        QString value;
        QByteArray after;
        QString personalName; // Personal/Name read back after the write
    };
    const QString muller = QString::fromUtf8("M\xC3\xBCller Caf\xC3\xA9");
    const std::vector<Case> cases = {
        { "Windows-1252 kept", "[Personal]\r\nName=M\xFCller Caf\xE9\r\n[Layout]\r\nWidth=3500\r\n", "Layout",
            "Width", "2062", "[Personal]\r\nName=M\xFCller Caf\xE9\r\n[Layout]\r\nWidth=2062\r\n", muller },
        { "UTF-8 kept", "[Personal]\nName=M\xC3\xBCller Caf\xC3\xA9\n[Layout]\nWidth=3500\n", "Layout", "Width",
            "2062", "[Personal]\nName=M\xC3\xBCller Caf\xC3\xA9\n[Layout]\nWidth=2062\n", muller },
        { "written in Windows-1252", "[Personal]\nName=Caf\xE9\n", "Personal", "Name",
            QString::fromUtf8("Zo\xC3\xAB \xE2\x82\xAC"), "[Personal]\nName=Zo\xEB \x80\n",
            QString::fromUtf8("Zo\xC3\xAB \xE2\x82\xAC") },
        { "beyond Windows-1252 in UTF-8", "[Personal]\nName=Caf\xE9\nTitle=Ma\xEEtre\n", "Personal", "Name",
            QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"), "[Personal]\nName=\xE6\x97\xA5\xE6\x9C\xAC\nTitle=Ma\xEEtre\n",
            QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC") },
        { "byte order mark", "\xEF\xBB\xBF[Personal]\nName=A\n", "Personal", "Name", "B",
            "\xEF\xBB\xBF[Personal]\nName=B\n", "B" },
        { "no final line end", "[Personal]\nName=A", "Layout", "Width", "1",
            "[Personal]\nName=A\n\n[Layout]\nWidth=1\n", "A" },
        { "unassigned Windows-1252 byte", "[Personal]\nName=x\x81y\n", "Layout", "Width", "1",
            "[Personal]\nName=x\x81y\n\n[Layout]\nWidth=1\n", QString("x") + QChar(0x81) + "y" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("CDW.INI");
        writeAll(path, c.before);
        {
            IniFile ini(path);
            ini.WriteString(c.section, c.key, c.value);
            EXPECT_TRUE(ini.Flush());
        }
        EXPECT_EQ(readAll(path), c.after);
        IniFile again(path);
        EXPECT_EQ(again.ReadString("Personal", "Name", "?"), c.personalName);
    }
}

// A settings file that cannot be read is never replaced by the few keys
// written later; the user hears of it once.
TEST(IniFile, LeavesUnreadableFilesAlone)
{
    auto modal = test::ScriptedModal::Install();
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.ini");
    QDir(dir.path()).mkdir("folder.ini");
    for (const QString& path : { fifo, folder }) {
        SCOPED_TRACE(path.toStdString());
        modal->messages.clear();
        for (int attempt = 0; attempt < 2; ++attempt) {
            IniFile ini(path);
            EXPECT_FALSE(ini.Readable());
            EXPECT_EQ(ini.ReadInteger("Layout", "Width", 3500), 3500);
            ini.WriteInteger("Layout", "Width", 2062);
            EXPECT_FALSE(ini.Flush());
        }
        ASSERT_EQ(modal->messages.size(), 1u);
        EXPECT_TRUE(modal->messages[0].text.contains("could not be read")) << modal->messages[0].text.toStdString();
        EXPECT_FALSE(QFileInfo(path).isFile());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        (QStringList { "fifo.ini", "folder.ini" }));
}

// Settings files other programs wrote (scripts/make-ini-samples): every
// text reads as written, and a change to one key leaves the other lines as
// they were, byte for byte.
TEST(IniFile, ReadsAndKeepsFilesOtherProgramsWrote)
{
    const QString samples = QStringLiteral(QT_TESTCASE_SOURCEDIR "/tests/data/ini/");
    for (const char* name : { "windows-1252.INI", "utf-8.INI" }) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString path = dir.filePath("CDW.INI");
        const QByteArray original = readAll(samples + name);
        ASSERT_FALSE(original.isEmpty());
        writeAll(path, original);
        {
            IniFile ini(path);
            EXPECT_EQ(ini.ReadString("Personal", "Name", ""), QString::fromUtf8("M\xC3\xBCller Caf\xC3\xA9"));
            EXPECT_EQ(ini.ReadString("Personal", "Company", ""),
                QString::fromUtf8("Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale \xE2\x80\x93 Z\xC3\xBCrich"));
            EXPECT_EQ(ini.ReadString("Personal", "Title", ""), QString::fromUtf8("Ma\xC3\xAEtre d\xE2\x80\x99h\xC3\xB4tel"));
            ini.WriteInteger("Layout", "Width", 2062);
        }
        QByteArray expected = original;
        expected.replace("Width=3500", "Width=2062");
        EXPECT_EQ(readAll(path), expected);
    }
}
