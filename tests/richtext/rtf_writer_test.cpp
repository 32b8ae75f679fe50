#include "richtext/rich_text_control.h"
#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_probe.h"
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// Every run and paragraph of two documents, side by side.
void ExpectSameLook(const QTextDocument& a, const QTextDocument& b)
{
    ASSERT_EQ(RawText(a), RawText(b));
    ASSERT_EQ(a.blockCount(), b.blockCount());
    for (QTextBlock x = a.begin(), y = b.begin(); x.isValid(); x = x.next(), y = y.next()) {
        const QTextBlockFormat fx = x.blockFormat(), fy = y.blockFormat();
        EXPECT_EQ(fx.alignment() & Qt::AlignHorizontal_Mask, fy.alignment() & Qt::AlignHorizontal_Mask);
        EXPECT_NEAR(fx.leftMargin(), fy.leftMargin(), 0.05);
        EXPECT_NEAR(fx.rightMargin(), fy.rightMargin(), 0.05);
        EXPECT_NEAR(fx.textIndent(), fy.textIndent(), 0.05);
        EXPECT_NEAR(fx.topMargin(), fy.topMargin(), 0.05);
        EXPECT_NEAR(fx.bottomMargin(), fy.bottomMargin(), 0.05);
        EXPECT_EQ(fx.lineHeightType(), fy.lineHeightType());
        EXPECT_NEAR(fx.lineHeight(), fy.lineHeight(), 0.05);
        EXPECT_EQ(x.charFormat().font().resolve(a.defaultFont()).pointSizeF(),
            y.charFormat().font().resolve(b.defaultFont()).pointSizeF())
            << "paragraph mark";
        // Compare character by character: runs may split differently.
        for (int i = 0; i < x.length() - 1; ++i) {
            QTextCursor cx(x), cy(y);
            cx.setPosition(x.position() + i + 1);
            cy.setPosition(y.position() + i + 1);
            const QTextCharFormat gx = cx.charFormat(), gy = cy.charFormat();
            const QFont ox = gx.font().resolve(a.defaultFont()), oy = gy.font().resolve(b.defaultFont());
            SCOPED_TRACE(x.text().toStdString());
            EXPECT_EQ(ox.family(), oy.family());
            EXPECT_EQ(ox.pointSizeF(), oy.pointSizeF());
            EXPECT_EQ(ox.bold(), oy.bold());
            EXPECT_EQ(ox.italic(), oy.italic());
            EXPECT_EQ(ox.strikeOut(), oy.strikeOut());
            EXPECT_EQ(gx.underlineStyle(), gy.underlineStyle());
            EXPECT_EQ(ColorName(gx, QTextFormat::ForegroundBrush), ColorName(gy, QTextFormat::ForegroundBrush));
            EXPECT_EQ(ColorName(gx, QTextFormat::BackgroundBrush), ColorName(gy, QTextFormat::BackgroundBrush));
            EXPECT_EQ(gx.verticalAlignment(), gy.verticalAlignment());
            EXPECT_EQ(ox.capitalization(), oy.capitalization());
        }
    }
}

QByteArray Sample(const char* name)
{
    QFile f(QStringLiteral(CARDORA_TEST_DATA "/rtf/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writing a document and reading it back gives the same look: snippets that
// use each kind of formatting, and whole files from other programs.
TEST(RtfWriter, RoundTripsKeepTheLook)
{
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}{\\f2\\fcharset2 "
                            "Wingdings;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}";
    const QByteArray inputs[] = {
        head + "\\f1\\fs30 Big \\b bold \\i both\\b0\\i0  \\ul under\\ulnone  \\strike out\\strike0 \\par}",
        head + "\\cf1 red \\highlight2 on green\\cf0\\highlight0  x{\\super 2}H{\\sub 2}O \\uld dots\\par}",
        head + "\\pard\\qc centred\\par\\pard\\qr\\li720\\ri360 right\\par\\pard\\qj\\fi-360\\sb120\\sa240 "
               "justified\\par}",
        head + "\\sl360\\slmult1 spaced\\par\\sl-300\\slmult0 exact\\par\\sl280 least\\par}",
        head + "caf\\'e9 \\u937? \\u-10179?\\u-8704? {\\f2 \\'4a}\\tab a\\line b \\{\\}\\\\ \\~\\par}",
        head + "\\fs40 \\par\\fs16 \\par end\\par}",
        head + "\\tx720\\tqr\\tx2880 a\\tab b\\par\\caps up \\scaps small\\par}",
        head + "no final mark",
        // Found by fuzzing: odd bytes in font names and in text that is not RTF.
        "{\\rtf1{\\fonttbl{\\f0 Odd\\'a0Name\\'7b;}}\\f0 x\\par}",
        "plain\x0c text\rmore\x01",
        head + "{\\f2 \\u8364? \\'80 \\emdash}\\par}",
        Sample("pandoc.rtf"),
        Sample("abiword.rtf"),
        Sample("libreoffice.rtf"),
    };
    for (const QByteArray& rtf : inputs) {
        if (rtf.isEmpty())
            continue;
        SCOPED_TRACE(rtf.left(200).constData());
        QTextDocument first;
        ReadRtf(rtf, first);
        const QByteArray written = WriteRtf(first);
        QTextDocument second;
        ReadRtf(written, second);
        SCOPED_TRACE(written.constData());
        ExpectSameLook(first, second);
        // And writing again gives the same bytes.
        EXPECT_EQ(WriteRtf(second), written);
    }
}

// What the writer puts down for characters word processors treat specially.
TEST(RtfWriter, EscapesCharacters)
{
    const std::pair<QString, QByteArray> cases[] = {
        { "{a}\\b", "\\{a\\}\\\\b" },
        { QString::fromUtf8("é€"), "\\'e9\\'80" },
        { QString::fromUtf8("Ω"), "\\u937?" },
        { QString::fromUtf8("😀"), "\\u-10179?\\u-8704?" },
        { "a\tb", "a\\tab b" },
        { QString("a") + QChar(QChar::LineSeparator) + "b", "a\\line b" },
        { QString("a") + QChar(QChar::Nbsp), "a\\~" },
    };
    for (const auto& [text, expected] : cases) {
        const std::unique_ptr<QTextDocument> doc = NewRichDocument();
        QTextCursor(doc.get()).insertText(text);
        const QByteArray rtf = WriteRtf(*doc);
        EXPECT_TRUE(rtf.contains(" " + expected + "\\") || rtf.contains(expected + "\\plain"))
            << rtf.constData() << " lacks " << expected.constData();
        QTextDocument back;
        ReadRtf(rtf, back);
        EXPECT_EQ(RawText(back), text);
    }
}

// The stored form: RTF and four zero bytes, the bytes read kept until the
// document is replaced, nothing for an empty document.
TEST(RichTextStorage, StoredBytes)
{
    const QByteArray foreign = "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}} \\b  kept   as   written\\par }";
    struct Case {
        const char* what;
        std::function<void(TRichTextStorage&)> act;
        std::function<void(const QByteArray&)> check;
    };
    const Case cases[] = {
        { "new storage", [](TRichTextStorage&) {}, [](const QByteArray& d) { EXPECT_TRUE(d.isEmpty()); } },
        { "read, unchanged", [&](TRichTextStorage& s) { s.SetData(foreign + QByteArray(4, '\0')); },
            [&](const QByteArray& d) { EXPECT_EQ(d, foreign + QByteArray(4, '\0')); } },
        { "read without the zero bytes", [&](TRichTextStorage& s) { s.SetData(foreign); },
            [&](const QByteArray& d) { EXPECT_EQ(d, foreign); } },
        { "read, then replaced",
            [&](TRichTextStorage& s) {
                s.SetData(foreign);
                const std::unique_ptr<QTextDocument> doc = NewRichDocument();
                QTextCursor(doc.get()).insertText("new");
                s.Assign(*doc);
            },
            [](const QByteArray& d) {
                EXPECT_TRUE(d.startsWith("{\\rtf1"));
                EXPECT_TRUE(d.endsWith(QByteArray(4, '\0') .prepend("}\r\n")));
                QTextDocument back;
                ReadRtf(d, back);
                EXPECT_EQ(back.toPlainText(), "new");
            } },
        { "read an empty document", [](TRichTextStorage& s) { s.SetData("{\\rtf1 }"); },
            [](const QByteArray& d) { EXPECT_TRUE(d.isEmpty()); } },
        { "two empty paragraphs", [](TRichTextStorage& s) { s.SetData("{\\rtf1 \\par\\par}"); },
            [](const QByteArray& d) { EXPECT_EQ(d, "{\\rtf1 \\par\\par}"); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRichTextStorage storage;
        c.act(storage);
        c.check(storage.Data());
    }
}

// The engine lays out at 100 percent on the page width and only scales the
// painting: each line's ink is the zoom times as wide, the lines the same.
TEST(RichTextControl, WrapsAtTheSameWordsAtEveryZoom)
{
    const std::unique_ptr<QTextDocument> doc = NewRichDocument();
    ReadRtf("{\\rtf1{\\fonttbl{\\f0 Liberation Sans;}}\\f0\\fs24 Several words that will certainly need more "
            "than one line in a narrow box\\par}",
        *doc);
    auto lineInk = [&](int zoom) {
        TRichTextControl control;
        control.AssignDocument(*doc);
        control.SetZoom(zoom);
        control.SetPageLayout({ BoxTwips(190, 1.0, 96), BoxTwips(100, 1.0, 96), 0, 0, 0, 0 });
        const int w = 190 * zoom / 100, h = 100 * zoom / 100;
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        control.PaintTo(p, w, h);
        p.end();
        // The rightmost ink within each line's rows (the lines as laid out at
        // 100 percent, scaled by the zoom).
        QList<int> lines;
        const QTextLayout* layout = control.Document().begin().layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int top = int(line.y() * zoom / 100.0), bottom = int((line.y() + line.height()) * zoom / 100.0);
            int right = -1;
            for (int y = top; y < std::min(bottom, h); ++y)
                for (int x = 0; x < w; ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        right = std::max(right, x);
            lines << right;
        }
        return lines;
    };
    const auto at100 = lineInk(100);
    const auto at150 = lineInk(150);
    ASSERT_GE(at100.size(), 3);
    ASSERT_EQ(at100.size(), at150.size());
    for (int i = 0; i < at100.size(); ++i) {
        ASSERT_GT(at100[i], 0) << "line " << i;
        EXPECT_NEAR(at150[i], at100[i] * 1.5, 4) << "line " << i;
    }
}

} // namespace
