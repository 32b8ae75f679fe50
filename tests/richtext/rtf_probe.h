#pragma once
#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <optional>

namespace cardora::test {

// What a run must carry; unset members are not checked. Colours are "#rrggbb"
// or "none" for the automatic colour.
struct CharExpect {
    QString family;
    double points = 0;
    int bold = -1, italic = -1, underline = -1, strike = -1;
    QString foreground, background;
    int vertical = -1;
};

struct BlockExpect {
    std::optional<Qt::Alignment> align;
    std::optional<double> left, right, indent, top, bottom;
    std::optional<int> lineType;
    std::optional<double> lineHeight;
    QList<double> tabs;
};

// The document's characters as they are, paragraphs ending in '\n' (plain
// text would turn line separators and no-break spaces into others).
inline QString RawText(const QTextDocument& doc)
{
    return doc.toRawText().replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
}

// The format of the first character of `text` in the document.
inline std::optional<QTextCharFormat> FormatOf(const QTextDocument& doc, const QString& text)
{
    const QTextCursor found = doc.find(text);
    if (found.isNull())
        return std::nullopt;
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

inline QString ColorName(const QTextCharFormat& f, QTextFormat::Property p)
{
    if (!f.hasProperty(p))
        return QStringLiteral("none");
    return f.brushProperty(p).color().name();
}

inline void ExpectChar(const QTextCharFormat& f, const CharExpect& e)
{
    if (!e.family.isEmpty()) {
        ASSERT_FALSE(f.fontFamilies().toStringList().isEmpty());
        EXPECT_EQ(f.fontFamilies().toStringList().first(), e.family);
    }
    if (e.points > 0)
        EXPECT_DOUBLE_EQ(f.fontPointSize(), e.points);
    if (e.bold >= 0)
        EXPECT_EQ(f.fontWeight() >= QFont::Bold, e.bold == 1);
    if (e.italic >= 0)
        EXPECT_EQ(f.fontItalic(), e.italic == 1);
    if (e.underline >= 0)
        EXPECT_EQ(f.underlineStyle(), e.underline);
    if (e.strike >= 0)
        EXPECT_EQ(f.fontStrikeOut(), e.strike == 1);
    if (!e.foreground.isEmpty())
        EXPECT_EQ(ColorName(f, QTextFormat::ForegroundBrush), e.foreground);
    if (!e.background.isEmpty())
        EXPECT_EQ(ColorName(f, QTextFormat::BackgroundBrush), e.background);
    if (e.vertical >= 0)
        EXPECT_EQ(f.verticalAlignment(), e.vertical);
}

inline void ExpectBlock(const QTextBlockFormat& f, const BlockExpect& e)
{
    if (e.align)
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, *e.align);
    if (e.left)
        EXPECT_DOUBLE_EQ(f.leftMargin(), *e.left);
    if (e.right)
        EXPECT_DOUBLE_EQ(f.rightMargin(), *e.right);
    if (e.indent)
        EXPECT_DOUBLE_EQ(f.textIndent(), *e.indent);
    if (e.top)
        EXPECT_DOUBLE_EQ(f.topMargin(), *e.top);
    if (e.bottom)
        EXPECT_DOUBLE_EQ(f.bottomMargin(), *e.bottom);
    if (e.lineType)
        EXPECT_EQ(f.lineHeightType(), *e.lineType);
    if (e.lineHeight)
        EXPECT_DOUBLE_EQ(f.lineHeight(), *e.lineHeight);
    if (!e.tabs.isEmpty()) {
        QList<double> positions;
        for (const QTextOption::Tab& t : f.tabPositions())
            positions << t.position;
        EXPECT_EQ(positions, e.tabs);
    }
}

} // namespace cardora::test
