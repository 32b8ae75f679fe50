#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "rtf_probe.h"
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

QString Read(const QByteArray& rtf, QTextDocument& doc)
{
    ReadRtf(rtf, doc);
    return RawText(doc);
}

// Character formatting: each snippet, the text probed, what it must carry.
TEST(RtfReader, CharacterFormatsOfSnippets)
{
    const QByteArray tables = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset0 Times New "
                              "Roman;}{\\f2 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    struct Case {
        QByteArray body;
        QString probe;
        CharExpect expect;
    };
    const Case cases[] = {
        { "\\f1\\fs30 Hello}", "Hello", { .family = "Times New Roman", .points = 15 } },
        { "no size}", "no size", { .family = "Arial", .points = 12 } },
        { "\\b bold\\b0  plain}", "bold", { .bold = 1 } },
        { "\\b bold\\b0  plain}", "plain", { .bold = 0 } },
        { "{\\b grouped} after}", "after", { .bold = 0 } },
        { "{\\b grouped} after}", "grouped", { .bold = 1 } },
        { "\\i slanted\\i0 }", "slanted", { .italic = 1 } },
        { "\\ul under\\ulnone  not}", "under", { .underline = QTextCharFormat::SingleUnderline } },
        { "\\ul under\\ulnone  not}", "not", { .underline = QTextCharFormat::NoUnderline } },
        { "\\uldb double}", "double", { .underline = QTextCharFormat::SingleUnderline } },
        { "\\uld dotted}", "dotted", { .underline = QTextCharFormat::DotLine } },
        { "\\uldash dashed}", "dashed", { .underline = QTextCharFormat::DashUnderline } },
        { "\\ulwave wavy}", "wavy", { .underline = QTextCharFormat::WaveUnderline } },
        { "\\ul0 off}", "off", { .underline = QTextCharFormat::NoUnderline } },
        { "\\strike gone\\strike0  back}", "gone", { .strike = 1 } },
        { "\\strike gone\\strike0  back}", "back", { .strike = 0 } },
        { "\\cf1 red\\cf0  auto}", "red", { .foreground = "#ff0000" } },
        { "\\cf1 red\\cf0  auto}", "auto", { .foreground = "none" } },
        { "\\cf9 missing}", "missing", { .foreground = "none" } },
        { "\\highlight2 marked}", "marked", { .background = "#0000ff" } },
        { "\\cb1 shaded}", "shaded", { .background = "#ff0000" } },
        { "\\chcbpat2 pattern}", "pattern", { .background = "#0000ff" } },
        { "x{\\super 2}}", "2", { .vertical = QTextCharFormat::AlignSuperScript } },
        { "H{\\sub 2}O}", "2", { .vertical = QTextCharFormat::AlignSubScript } },
        { "\\super a\\nosupersub b}", "b", { .vertical = QTextCharFormat::AlignNormal } },
        { "x{\\up6 2}}", "2", { .vertical = QTextCharFormat::AlignSuperScript } },
        { "x{\\dn4 2}}", "2", { .vertical = QTextCharFormat::AlignSubScript } },
        { "\\up6 a\\up0 b}", "b", { .vertical = QTextCharFormat::AlignNormal } },
        { "\\f2\\b\\fs40 big\\plain  small}", "small", { .family = "Arial", .points = 12, .bold = 0 } },
        { "\\f2\\b\\fs40 big\\plain  small}", "big", { .family = "Courier New", .points = 20, .bold = 1 } },
        { "\\f7 unknown font}", "unknown font", { .points = 12 } },
        { "\\fs0 zero\\fs999999 huge}", "huge", { .points = 1638 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.body + " / " + c.probe.toUtf8()).constData());
        QTextDocument doc;
        Read(tables + c.body, doc);
        const std::optional<QTextCharFormat> f = FormatOf(doc, c.probe);
        ASSERT_TRUE(f.has_value()) << doc.toPlainText().toStdString();
        ExpectChar(*f, c.expect);
    }
}

// Text: escapes, code pages, Unicode, special characters and what is skipped.
TEST(RtfReader, TextOfSnippets)
{
    struct Case {
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        { "{\\rtf1\\ansi caf\\'e9 \\'80 5}", QString::fromUtf8("café € 5") },
        { "{\\rtf1\\ansi\\ansicpg1251 \\'c4\\'e0}", QString::fromUtf8("Да") },
        { "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}{\\f1\\fcharset161 Arial Greek;}}\\f0 \\'c4 \\f1 \\'e1}",
            QString::fromUtf8("Д α") },
        { "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", QString::fromUtf8("あ") },
        { "{\\rtf1 \\u8364? euro}", QString::fromUtf8("€ euro") },
        { "{\\rtf1 \\uc2\\u8364 EE\\u937\\'80\\'80 x}", QString::fromUtf8("€Ω x") },
        { "{\\rtf1 \\uc0\\u8364 kept}", QString::fromUtf8("€kept") },
        { "{\\rtf1 \\u-3913?}", QString(QChar(0xF0B7)) },
        { "{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUtf8("😀") },
        { "{\\rtf1 {\\uc3 \\u937 abc}d}", QString::fromUtf8("Ωd") },
        { "{\\rtf1 \\{a\\} b\\\\c}", "{a} b\\c" },
        { "{\\rtf1 a\\tab b\\line c}", QString("a\tb") + QChar(QChar::LineSeparator) + "c" },
        { "{\\rtf1 one\\par two\\par}", "one\ntwo" },
        { "{\\rtf1 one\\par\\par three}", "one\n\nthree" },
        { "{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
            QString::fromUtf8("a\u00a0b\u00adc\u2011d—–•‘’“”") },
        { "{\\rtf1 line\r\nbreaks\rare\nignored}", "linebreaksareignored" },
        { "{\\rtf1 a{\\*\\unknowndest secret}b}", "ab" },
        { "{\\rtf1 a{\\*\\panose 020b0604020202020204}b}", "ab" },
        { "{\\rtf1{\\info{\\title Title}{\\author Me}}text}", "text" },
        { "{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 Heading;}}text}", "text" },
        { "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}}", "link" },
        { "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 1}}}", "1" },
        { "{\\rtf1 a{\\pict\\pngblip 89504e470d0a}b}", "ab" },
        { "{\\rtf1 a{\\pict\\bin6 }{}\\}b}c}", "ac" },
        { "{\\rtf1 hidden{\\v  secret} shown}", "hidden shown" },
        { "{\\rtf1 \\foo123 \\bar-5 unknown words}", "unknown words" },
        { "{\\rtf1 {\\listtext\\'b7\\tab}item}", QString::fromUtf8("·\titem") },
        { "{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\nc" },
        { "{\\rtf1 \\caps shout}", "shout" },
        { "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 \\'61}", "a" },
        { "plain text,\r\nnot RTF", "plain text,\nnot RTF" },
        { "{\\rtf1 unterminated {\\b group", "unterminated group" },
        { "{\\rtf1 a}}}} extra", "a extra" },
        { "", "" },
        { "{\\rtf1 \\'", "" },
        { "{\\rtf1 \\'4", "" },
        { "{\\rtf1 \\u", "" },
        { "{\\rtf1 \\", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf.constData());
        QTextDocument doc;
        EXPECT_EQ(Read(c.rtf, doc), c.text);
    }
}

// Paragraph formatting, taken at each paragraph's mark.
TEST(RtfReader, ParagraphFormatsOfSnippets)
{
    struct Case {
        QByteArray rtf;
        int block;
        BlockExpect expect;
    };
    const Case cases[] = {
        { "{\\rtf1\\pard\\qc centred\\par}", 0, { .align = Qt::AlignHCenter } },
        { "{\\rtf1\\pard\\qr right\\par}", 0, { .align = Qt::AlignRight } },
        { "{\\rtf1\\pard\\qj just\\par}", 0, { .align = Qt::AlignJustify } },
        { "{\\rtf1\\qc a\\par\\pard b\\par}", 1, { .align = Qt::AlignLeft } },
        { "{\\rtf1\\qc a\\par b\\par}", 1, { .align = Qt::AlignHCenter } },
        { "{\\rtf1 a\\qr\\par}", 0, { .align = Qt::AlignRight } },
        { "{\\rtf1{\\pard\\qc a\\par}{\\pard b\\par}}", 0, { .align = Qt::AlignHCenter } },
        { "{\\rtf1{\\qc last without mark}}", 0, { .align = Qt::AlignHCenter } },
        { "{\\rtf1\\li720\\ri360\\fi-360\\sb120\\sa240 x\\par}", 0,
            { .left = 48, .right = 24, .indent = -24, .top = 8, .bottom = 16 } },
        { "{\\rtf1\\li-500 x\\par}", 0, { .left = 0 } },
        { "{\\rtf1\\li99999999 x\\par}", 0, { .left = 31680 / 15.0 } },
        { "{\\rtf1\\sl360\\slmult1 x\\par}", 0,
            { .lineType = QTextBlockFormat::ProportionalHeight, .lineHeight = 150 } },
        { "{\\rtf1\\sl300\\slmult0 x\\par}", 0, { .lineType = QTextBlockFormat::MinimumHeight, .lineHeight = 20 } },
        { "{\\rtf1\\sl-300 x\\par}", 0, { .lineType = QTextBlockFormat::FixedHeight, .lineHeight = 20 } },
        { "{\\rtf1\\tx720\\tqr\\tx2880 a\\tab b\\par}", 0, { .tabs = { 48, 192 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf.constData());
        QTextDocument doc;
        Read(c.rtf, doc);
        const QTextBlock block = doc.findBlockByNumber(c.block);
        ASSERT_TRUE(block.isValid());
        ExpectBlock(block.blockFormat(), c.expect);
    }
}

// Paragraph marks: a final \par adds no empty paragraph, two in a row do.
TEST(RtfReader, ParagraphCounts)
{
    const std::pair<QByteArray, int> cases[] = {
        { "{\\rtf1 a\\par}", 1 },
        { "{\\rtf1 a\\par b}", 2 },
        { "{\\rtf1 a\\par\\par}", 2 },
        { "{\\rtf1 \\par}", 1 },
        { "{\\rtf1 \\par\\par\\par}", 3 },
        { "{\\rtf1 }", 1 },
    };
    for (const auto& [rtf, blocks] : cases) {
        QTextDocument doc;
        ReadRtf(rtf, doc);
        EXPECT_EQ(doc.blockCount(), blocks) << rtf.constData();
    }
}

// Inputs that once could have run away: deep nesting, long numbers, endless
// tables. Each ends with its text read and in bounded time.
TEST(RtfReader, HostileInputsStayBounded)
{
    struct Case {
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        { "{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + " out}", " out" },
        { "{\\rtf1 " + QByteArray(50, '{') + "shallow" + QByteArray(50, '}') + "}", "shallow" },
        { "{\\rtf1 \\fs99999999999999999999999 \\li-99999999999999999 x}", "x" },
        { "{\\rtf1 \\bin99999999999 swallowed}", "" },
        { "{\\rtf1 \\uc99999 \\u65 bcd}", "A" },
        { "{\\rtf1 {\\colortbl" + QByteArray(20000, ';') + "}x}", "x" },
        { "{\\rtf1 \\" + QByteArray(5000, 'a') + " y}", "y" },
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        EXPECT_EQ(Read(c.rtf, doc), c.text) << c.rtf.left(40).constData();
    }
}

// RTF written by other programs (tests/data/rtf, made by scripts/make-rtf-samples).
TEST(RtfReader, FilesOtherProgramsWrote)
{
    struct Case {
        const char* file;
        QString probe;
        CharExpect expect;
        std::optional<Qt::Alignment> align;
    };
    const Case cases[] = {
        { "pandoc.rtf", "Card text", { .points = 18, .bold = 1 }, {} },
        { "pandoc.rtf", "Bold", { .family = "Helvetica", .bold = 1 }, {} },
        { "pandoc.rtf", "italic", { .bold = 0, .italic = 1 }, {} },
        { "pandoc.rtf", "struck", { .strike = 1 }, {} },
        { "pandoc.rtf", "code", { .family = "Courier" }, {} },
        { "pandoc.rtf", "Ελληνικά", { .points = 12 }, {} },
        { "pandoc.rtf", "Café € naïve – “quoted”", {}, Qt::AlignLeft },
        { "abiword.rtf", "Bold", { .family = "Liberation Serif", .bold = 1 }, Qt::AlignLeft },
        { "abiword.rtf", "italic", { .italic = 1 }, {} },
        { "abiword.rtf", "underlined", { .underline = QTextCharFormat::SingleUnderline }, {} },
        { "abiword.rtf", "struck", { .strike = 1 }, {} },
        { "abiword.rtf", "Centred line", {}, Qt::AlignHCenter },
        { "abiword.rtf", "Right line", {}, Qt::AlignRight },
        { "abiword.rtf", "Red text", { .foreground = "#ff0000" }, {} },
        { "abiword.rtf", "Courier New", { .family = "Courier New" }, {} },
        { "abiword.rtf", "Large", { .points = 24 }, {} },
        { "abiword.rtf", "Café € naïve – “quoted” Ελληνικά", {}, {} },
        { "libreoffice.rtf", "Bold", { .bold = 1 }, {} },
        { "libreoffice.rtf", "italic", { .italic = 1 }, {} },
        { "libreoffice.rtf", "underlined", { .underline = QTextCharFormat::SingleUnderline }, {} },
        { "libreoffice.rtf", "struck", { .strike = 1 }, {} },
        { "libreoffice.rtf", "Centred line", {}, Qt::AlignHCenter },
        { "libreoffice.rtf", "Right line", {}, Qt::AlignRight },
        { "libreoffice.rtf", "Red text", { .foreground = "#ff0000" }, {} },
        { "libreoffice.rtf", "Courier New", { .family = "Courier New" }, {} },
        { "libreoffice.rtf", "Large", { .points = 24 }, {} },
        { "libreoffice.rtf", "2O", { .vertical = QTextCharFormat::AlignSubScript }, {} },
        { "libreoffice.rtf", "Bold", { .family = "Liberation Serif", .points = 12 }, {} },
        { "libreoffice.rtf", "Café € naïve – “quoted” Ελληνικά", {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((QString(c.file) + " / " + c.probe).toStdString());
        QFile f(QStringLiteral(CARDORA_TEST_DATA "/rtf/") + c.file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        ReadRtf(f.readAll(), doc);
        const std::optional<QTextCharFormat> format = FormatOf(doc, c.probe);
        ASSERT_TRUE(format.has_value()) << doc.toPlainText().toStdString();
        ExpectChar(*format, c.expect);
        if (c.align) {
            const QTextBlock block = doc.find(c.probe).block();
            EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, *c.align);
        }
    }
}

} // namespace
