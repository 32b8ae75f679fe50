#include "core/symbol_fonts.h"
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

class SymbolFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterBundledFonts(); }
};

QFont BaseFont(bool bold = false, bool italic = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(24);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

char32_t OnlyCharacter(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return ucs4.size() == 1 ? char32_t(ucs4.first()) : 0;
}

// The glyph the chosen font really has for the chosen text: mapped, not the
// missing glyph, with an outline (a space has none).
::testing::AssertionResult DrawsRealGlyph(const SymbolGlyph& g, int code)
{
    const char32_t ch = OnlyCharacter(g.text);
    if (!ch)
        return ::testing::AssertionFailure() << "code " << code << ": text is not one character";
    const QRawFont raw = QRawFont::fromFont(g.font);
    if (!raw.isValid() || raw.familyName().compare(g.font.family(), Qt::CaseInsensitive) != 0)
        return ::testing::AssertionFailure() << "code " << code << ": font " << g.font.family().toStdString()
                                             << " resolves to " << raw.familyName().toStdString();
    if (!raw.supportsCharacter(uint(ch)))
        return ::testing::AssertionFailure() << "code " << code << ": " << raw.familyName().toStdString()
                                             << " lacks U+" << std::hex << uint(ch);
    const QList<quint32> glyphs = raw.glyphIndexesForString(g.text);
    if (glyphs.size() != 1 || glyphs.first() == 0)
        return ::testing::AssertionFailure() << "code " << code << ": missing glyph";
    if (code != 32 && raw.pathForGlyph(glyphs.first()).isEmpty())
        return ::testing::AssertionFailure() << "code " << code << ": glyph has no outline";
    if (!QFontMetricsF(g.font).inFontUcs4(uint(ch)))
        return ::testing::AssertionFailure() << "code " << code << ": metrics say not in font";
    if (!(g.font.styleStrategy() & QFont::NoFontMerging))
        return ::testing::AssertionFailure() << "code " << code << ": Qt could swap the font";
    return ::testing::AssertionSuccess();
}

int InkPixels(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

quint32 Read16(const QByteArray& b, int at) { return (quint8(b[at]) << 8) | quint8(b[at + 1]); }
quint32 Read32(const QByteArray& b, int at) { return (Read16(b, at) << 16) | Read16(b, at + 2); }
void Write16(QByteArray& b, int at, quint32 v) { b[at] = char(v >> 8); b[at + 1] = char(v); }
void Write32(QByteArray& b, int at, quint32 v) { Write16(b, at, v >> 16); Write16(b, at + 2, v); }

// Offset of the character map table in a TrueType file.
int CmapOffset(const QByteArray& font)
{
    const int tables = int(Read16(font, 4));
    for (int i = 0; i < tables; ++i)
        if (font.mid(12 + 16 * i, 4) == "cmap")
            return int(Read32(font, 12 + 16 * i + 8));
    return -1;
}

QImage Render(const SymbolGlyph& g)
{
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setFont(g.font);
    painter.drawText(QPointF(20, 90), g.text);
    return image;
}

} // namespace

TEST_F(SymbolFonts, RegistrationIsIdempotentAndToleratesMissingFiles)
{
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Wingdings", "Webdings", "Symbol"})
        EXPECT_EQ(families.count(QLatin1String(name)), 1) << name;

    // Again: nothing new, no duplicates.
    EXPECT_TRUE(RegisterSymbolFontsFrom(WineFontFolder()).isEmpty());
    RegisterBundledFonts();
    EXPECT_EQ(QFontDatabase::families().count(QStringLiteral("Wingdings")), 1);

    QTemporaryDir empty;
    EXPECT_TRUE(RegisterSymbolFontsFrom(empty.path()).isEmpty());
    EXPECT_TRUE(RegisterSymbolFontsFrom(empty.path() + QStringLiteral("/no/such/folder")).isEmpty());
    EXPECT_TRUE(RegisterSymbolFontsFrom(QString()).isEmpty());

    // A damaged file of the right name is refused without harm.
    QFile bad(QDir(empty.path()).filePath(QStringLiteral("webdings.ttf")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a font at all");
    bad.close();
    EXPECT_TRUE(RegisterSymbolFontsFrom(empty.path()).isEmpty());
}

TEST_F(SymbolFonts, CardFontNamesResolveToInstalledFamilies)
{
    EXPECT_EQ(ResolveFontFamily(QStringLiteral("WingDings")), QStringLiteral("Wingdings"));
    EXPECT_EQ(ResolveFontFamily(QStringLiteral("webdings")), QStringLiteral("Webdings"));
    EXPECT_EQ(ResolveFontFamily(QStringLiteral("SYMBOL")), QStringLiteral("Symbol"));
    EXPECT_EQ(ResolveFontFamily(QStringLiteral("dejavu sans")), QStringLiteral("DejaVu Sans"));
    // Not installed: the name stays for the font system to substitute.
    EXPECT_EQ(ResolveFontFamily(QStringLiteral(" Arial ")), QStringLiteral("Arial"));
    EXPECT_EQ(ResolveFontFamily(QString()), QString());

    EXPECT_TRUE(IsSymbolFont(QStringLiteral("WingDings")));
    EXPECT_TRUE(IsSymbolFont(QStringLiteral("Webdings")));
    EXPECT_TRUE(IsSymbolFont(QStringLiteral("symbol")));
    EXPECT_FALSE(IsSymbolFont(QStringLiteral("Arial")));
    EXPECT_FALSE(IsSymbolFont(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(IsSymbolFont(QStringLiteral("Symbola")));
    EXPECT_FALSE(IsSymbolFont(QString()));
    EXPECT_EQ(SymbolEncodingOf(QStringLiteral("WingDings")), SymbolEncoding::Wingdings);
    EXPECT_EQ(SymbolEncodingOf(QStringLiteral("Times New Roman")), SymbolEncoding::None);

    // A font the program has no table for is recognised by its character map.
    const int id = QFontDatabase::addApplicationFont(WineFontFolder() + QStringLiteral("/marlett.ttf"));
    ASSERT_GE(id, 0);
    EXPECT_TRUE(IsSymbolFont(QStringLiteral("Marlett")));

    const QStringList chooser = SymbolFontFamilies();
    for (const char* name : {"Marlett", "Symbol", "Webdings", "Wingdings"})
        EXPECT_TRUE(chooser.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(chooser.contains(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(chooser.contains(QStringLiteral("Liberation Sans")));
    QStringList sorted = chooser;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(chooser, sorted);

    // Marlett has no table: its own glyphs are drawn.
    const SymbolGlyph marlett = GlyphForCode(QStringLiteral("Marlett"), 0x72, BaseFont());
    EXPECT_EQ(marlett.font.family(), QStringLiteral("Marlett"));
    EXPECT_EQ(marlett.unicode, 0u);
    EXPECT_TRUE(DrawsRealGlyph(marlett, 0x72));
    QFontDatabase::removeApplicationFont(id);
}

TEST_F(SymbolFonts, EveryCodeOfEverySymbolFontDrawsARealGlyph)
{
    const QFont styles[] = {BaseFont(), BaseFont(true, false), BaseFont(true, true)};
    for (const char* cardName : {"WingDings", "Webdings", "Symbol"}) {
        const QString family = ResolveFontFamily(QLatin1String(cardName));
        const SymbolEncoding encoding = SymbolEncodingOf(family);
        for (const QFont& base : styles) {
            const QRawFont wine = QRawFont::fromFont(QFont(family));
            int native = 0;
            for (int code = 32; code <= 255; ++code) {
                const SymbolGlyph g = GlyphForCode(QLatin1String(cardName), code, base);
                EXPECT_TRUE(DrawsRealGlyph(g, code)) << cardName;
                EXPECT_EQ(g.unicode, SymbolCodeToUnicode(encoding, code));
                EXPECT_EQ(g.font.pointSize(), 24);
                EXPECT_EQ(g.font.bold(), base.bold());
                EXPECT_EQ(g.font.italic(), base.italic());
                if (g.font.family() == family) {
                    ++native;
                } else {
                    // Drawn from the table: the code's character or a look-alike.
                    const char32_t drawn = OnlyCharacter(g.text);
                    EXPECT_TRUE(drawn == g.unicode || SimilarCharacters(g.unicode).contains(drawn))
                        << cardName << " code " << code;
                    // Symbola, a single face, has them all: the same glyph in
                    // every weight and slant on every machine of this kind.
                    EXPECT_EQ(g.font.family(), QStringLiteral("Symbola")) << cardName << " code " << code;
                }
                // The clone's symbol-map glyphs are always used where it has them.
                if (wine.supportsCharacter(0xF000u + uint(code)))
                    EXPECT_EQ(g.font.family(), family) << cardName << " code " << code;
            }
            EXPECT_GT(native, 0) << cardName;
            EXPECT_LT(native, 224) << cardName;
        }
    }
}

TEST_F(SymbolFonts, WellKnownCodesMeanTheirCharacters)
{
    const QFont base = BaseFont();
    const SymbolGlyph smile = GlyphForCode(QStringLiteral("WingDings"), 0x4A, base);
    EXPECT_EQ(smile.unicode, U'\u263A');
    EXPECT_EQ(OnlyCharacter(smile.text), U'\u263A'); // Wine's clone has no face
    EXPECT_EQ(smile.font.family(), QStringLiteral("Symbola"));

    const SymbolGlyph label = GlyphForCode(QStringLiteral("WingDings"), 91, base); // the default "["
    EXPECT_EQ(label.unicode, U'\u262F');
    EXPECT_TRUE(DrawsRealGlyph(label, 91));

    const SymbolGlyph hand = GlyphForCode(QStringLiteral("WingDings"), 0x47, base);
    EXPECT_EQ(hand.font.family(), QStringLiteral("Wingdings"));
    EXPECT_EQ(hand.unicode, U'\u261D');

    const SymbolGlyph alpha = GlyphForCode(QStringLiteral("Symbol"), 0x61, base);
    EXPECT_EQ(alpha.unicode, U'\u03B1');
    EXPECT_EQ(alpha.font.family(), QStringLiteral("Symbol"));
    EXPECT_EQ(GlyphForCode(QStringLiteral("Symbol"), 0x44, base).unicode, U'\u0394');
    EXPECT_EQ(GlyphForCode(QStringLiteral("Symbol"), 0xC6, base).unicode, U'\u2205');
    EXPECT_EQ(GlyphForCode(QStringLiteral("Webdings"), 0x21, base).unicode, U'\U0001F577');
    EXPECT_EQ(GlyphForCode(QStringLiteral("Wingdings"), 0xFC, base).unicode, U'\u2713');

    // Wine's Symbol maps its upper half through another code page: code 0xB6
    // must draw its partial-differential glyph, not the florin its Unicode
    // map puts at U+00B6.
    const SymbolGlyph partial = GlyphForCode(QStringLiteral("Symbol"), 0xB6, base);
    EXPECT_EQ(partial.font.family(), QStringLiteral("Symbol"));
    const QRawFont symbol = QRawFont::fromFont(partial.font);
    const SymbolGlyph florin = GlyphForCode(QStringLiteral("Symbol"), 0xA6, base);
    EXPECT_EQ(florin.unicode, U'\u0192');
    EXPECT_EQ(florin.font.family(), QStringLiteral("Symbol"));
    EXPECT_NE(symbol.glyphIndexesForString(partial.text), symbol.glyphIndexesForString(florin.text));
    EXPECT_NE(partial.text, QString(QChar(0xB6)));

    // Same question, same answer: the grid, the label and print agree.
    const SymbolGlyph again = GlyphForCode(QStringLiteral("WingDings"), 91, base);
    EXPECT_EQ(again.font, label.font);
    EXPECT_EQ(again.text, label.text);
}

TEST_F(SymbolFonts, DamagedCharacterMapsDoNotCrash)
{
    QFile file(WineFontFolder() + QStringLiteral("/wingding.ttf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const int cmap = CmapOffset(original);
    ASSERT_GT(cmap, 0);
    int symbolRecord = -1;
    for (quint32 i = 0; i < Read16(original, cmap + 2); ++i)
        if (Read16(original, cmap + 4 + 8 * i) == 3 && Read16(original, cmap + 6 + 8 * i) == 0)
            symbolRecord = cmap + 4 + 8 * int(i);
    ASSERT_GT(symbolRecord, 0);
    const int subtable = cmap + int(Read32(original, symbolRecord + 4));

    const std::function<void(QByteArray&)> damages[] = {
        [](QByteArray&) {},                                                // intact, for comparison
        [&](QByteArray& f) { Write16(f, cmap + 2, 0xFFFF); },             // table count past the end
        [&](QByteArray& f) { Write32(f, symbolRecord + 4, 0xFFFFFFF0); }, // subtable far outside
        [&](QByteArray& f) { Write16(f, subtable + 6, 0xFFFE); },         // segment count past the end
        [&](QByteArray& f) { Write16(f, subtable, 12); Write32(f, subtable + 12, 0xFFFFFFFF); }, // group count
        [&](QByteArray& f) { f.truncate(subtable + 20); },                 // map cut short
    };
    int loaded = 0;
    for (const auto& damage : damages) {
        // Each variant under a family name of its own ("Wingdingz", "Wingdingy" …),
        // so the program has no table and nothing remembered for it and must
        // read the damaged map itself.
        const char last = char('z' - (&damage - damages));
        const QString family = QStringLiteral("Wingding") + QLatin1Char(last);
        QByteArray font = original;
        font.replace("Wingdings", family.toLatin1());
        font.replace(QByteArray("\0W\0i\0n\0g\0d\0i\0n\0g\0s", 18),
            QByteArray("\0W\0i\0n\0g\0d\0i\0n\0g\0", 17) + last);
        damage(font);
        const int id = QFontDatabase::addApplicationFontFromData(font);
        if (id < 0)
            continue; // refused outright: nothing to draw from
        ++loaded;
        ASSERT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{family});
        const bool symbol = IsSymbolFont(family);
        for (int code = 32; code <= 255; ++code) {
            const SymbolGlyph g = GlyphForCode(family, code, BaseFont());
            EXPECT_FALSE(g.text.isEmpty()) << code;
        }
        if (&damage == &damages[0]) { // the intact map: read and used
            EXPECT_TRUE(symbol);
            const SymbolGlyph hand = GlyphForCode(family, 0x47, BaseFont());
            EXPECT_EQ(hand.font.family(), family);
            EXPECT_TRUE(DrawsRealGlyph(hand, 0x47));
        }
        QFontDatabase::removeApplicationFont(id);
    }
    EXPECT_GE(loaded, 4);
}

TEST_F(SymbolFonts, TablesHoldRealCharactersOnly)
{
    for (const SymbolEncoding encoding : {SymbolEncoding::Wingdings, SymbolEncoding::Webdings, SymbolEncoding::Symbol}) {
        EXPECT_EQ(SymbolCodeToUnicode(encoding, 32), U' ');
        for (int code = 33; code <= 255; ++code) {
            const char32_t ch = SymbolCodeToUnicode(encoding, code);
            EXPECT_GT(ch, U' ') << code;
            EXPECT_FALSE(ch >= 0x7F && ch <= 0x9F) << code;
            EXPECT_FALSE(ch >= 0xE000 && ch <= 0xF8FF) << "private use at " << code;
            EXPECT_NE(ch, char32_t(0xFFFD)) << code;
        }
        EXPECT_EQ(SymbolCodeToUnicode(encoding, 31), 0u);
        EXPECT_EQ(SymbolCodeToUnicode(encoding, 256), 0u);
        EXPECT_EQ(SymbolCodeToUnicode(encoding, -7), 0u);
    }
    EXPECT_EQ(SymbolCodeToUnicode(SymbolEncoding::None, 65), 0u);
    // The letters of the Symbol font are Greek, in both cases.
    for (const int first : {0x41, 0x61})
        for (int code = first; code < first + 26; ++code)
            EXPECT_EQ(QChar::script(SymbolCodeToUnicode(SymbolEncoding::Symbol, code)), QChar::Script_Greek) << code;
}

TEST_F(SymbolFonts, RenderedSymbolsLeaveInk)
{
    for (const auto& [family, code] : {std::pair{"WingDings", 91}, {"WingDings", 0x47}, {"Webdings", 0x21}, {"Symbol", 0xB6}}) {
        const SymbolGlyph g = GlyphForCode(QLatin1String(family), code, BaseFont());
        EXPECT_GT(InkPixels(Render(g)), 30) << family << " " << code;
        QPainterPath path;
        path.addText(0, 0, g.font, g.text);
        EXPECT_FALSE(path.isEmpty()) << family << " " << code;
    }
    // The fallback font is drawn at the label's size, like the clone's glyphs.
    const QFont big = [] { QFont f = BaseFont(); f.setPointSize(48); return f; }();
    const QRectF small = QFontMetricsF(GlyphForCode(QStringLiteral("WingDings"), 91, BaseFont()).font)
        .boundingRect(GlyphForCode(QStringLiteral("WingDings"), 91, BaseFont()).text);
    const SymbolGlyph large = GlyphForCode(QStringLiteral("WingDings"), 91, big);
    const QRectF largeBox = QFontMetricsF(large.font).boundingRect(large.text);
    EXPECT_NEAR(largeBox.height() / small.height(), 2.0, 0.2);
}

TEST_F(SymbolFonts, TextFontsPassCodesThrough)
{
    const QFont base = BaseFont();
    const SymbolGlyph a = GlyphForCode(QStringLiteral("Arial"), 'A', base);
    EXPECT_EQ(a.text, QStringLiteral("A"));
    EXPECT_EQ(a.font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(a.unicode, U'A');
    EXPECT_EQ(GlyphForCode(QStringLiteral("Arial"), 0x80, base).text, QString(QChar(0x20AC)));
    EXPECT_EQ(GlyphForCode(QStringLiteral("Times New Roman"), 0xE9, base).text, QString(QChar(0xE9)));
    EXPECT_EQ(GlyphForCode(QStringLiteral("Arial"), 0x81, base).text, QString(QChar(0x81)));
    EXPECT_EQ(GlyphForCode(base, '['), GlyphForCode(QStringLiteral("Arial"), '[', base));

    // Codes outside 32–255 draw nothing and do not crash.
    for (const int code : {-1, 0, 31, 256, 70000})
        for (const char* family : {"Arial", "WingDings", "Symbol"})
            EXPECT_TRUE(GlyphForCode(QLatin1String(family), code, base).text.isEmpty()) << family << code;
}

TEST_F(SymbolFonts, CaptionCodesAndRuns)
{
    EXPECT_EQ(SymbolCodeOfCharacter(U'A'), 65);
    EXPECT_EQ(SymbolCodeOfCharacter(U'\uF05B'), 0x5B);
    EXPECT_EQ(SymbolCodeOfCharacter(U'\u20AC'), 0x80);
    EXPECT_EQ(SymbolCodeOfCharacter(U'\u0178'), 0x9F);
    EXPECT_EQ(SymbolCodeOfCharacter(U'\u03B1'), -1);
    EXPECT_EQ(Windows1252Character(0x93), U'\u201C');
    EXPECT_EQ(Windows1252Character(0x41), U'A');

    QByteArray all;
    for (int code = 32; code <= 255; ++code)
        all.append(char(code));
    const QString caption = SymbolCaptionFromCodes(all);
    EXPECT_EQ(caption.size(), 224);
    EXPECT_EQ(SymbolCodesFromCaption(caption), all);
    // A caption read as Windows-1252 keeps its codes too.
    EXPECT_EQ(SymbolCodesFromCaption(QString(QChar(0x20AC)) + QChar(0xF04A) + QChar(0x3B1)), QByteArray("\x80J"));

    // "J[" both come from the fallback font: one piece; "G" from the clone.
    const QList<SymbolGlyph> runs = SymbolRuns(QStringLiteral("WingDings"), QStringLiteral("J[G"), BaseFont());
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].font.family(), QStringLiteral("Symbola"));
    EXPECT_EQ(runs[0].text, QString::fromUcs4(U"\u263A\u262F"));
    EXPECT_EQ(runs[1].font.family(), QStringLiteral("Wingdings"));

    const QList<SymbolGlyph> plain = SymbolRuns(QStringLiteral("Arial"), QStringLiteral("Hello\u20AC"), BaseFont());
    ASSERT_EQ(plain.size(), 1);
    EXPECT_EQ(plain[0].text, QStringLiteral("Hello\u20AC"));
    EXPECT_TRUE(SymbolRuns(QStringLiteral("Symbol"), QString(), BaseFont()).isEmpty());

    // Characters that are no code draw as themselves from the first fallback
    // font that has them (Symbola has no Armenian, DejaVu Sans has); control
    // characters draw nothing.
    const QList<SymbolGlyph> other = SymbolRuns(QStringLiteral("Webdings"), QStringLiteral("\u0531\n"), BaseFont());
    ASSERT_EQ(other.size(), 1);
    EXPECT_EQ(other[0].font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(other[0].text, QStringLiteral("\u0531"));
    EXPECT_TRUE(DrawsRealGlyph(other[0], 0x531));
    // One that no fallback font has is left to Qt, which may find any font.
    const QList<SymbolGlyph> unknown = SymbolRuns(QStringLiteral("Webdings"), QString::fromUcs4(U"\U0010FFFD"), BaseFont());
    ASSERT_EQ(unknown.size(), 1);
    EXPECT_FALSE(unknown[0].font.styleStrategy() & QFont::NoFontMerging);
}

TEST(SymbolCaption, CodesSurviveTheCardFilesCodePage)
{
    QByteArray codes;
    for (int c = 32; c <= 255; ++c)
        codes.append(char(c));
    const QString caption = cardora::SymbolCaptionFromCodes(codes);
    EXPECT_EQ(caption.at(0x80 - 32), QChar(0x20AC)); // the euro sign, as Windows-1252 reads 0x80
    EXPECT_EQ(cardora::SymbolCodesFromCaption(caption), codes);
}
