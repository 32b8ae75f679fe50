#include "core/ini_file.h"
#include <QFile>
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
