#include "core/symbol_fonts.h"
#include <QDir>
#include <QFontDatabase>
#include <QHash>
#include <QMutex>
#include <QPainterPath>
#include <QRawFont>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <optional>

namespace cardora {
namespace {

// Bumped whenever fonts are registered, so remembered choices are made again.
std::atomic<int> g_fontGeneration{0};

// ---- the font's own character map ----------------------------------------
// Qt draws through the font's Unicode map only; to know which glyph a symbol
// font puts at a byte code we read its symbol or Macintosh map ourselves.
// Every offset and count comes from the file, so each read is bounds-checked.

class CmapReader {
public:
    explicit CmapReader(QByteArray table) : t_(std::move(table)) {}

    // Offset of the subtable for (platform, encoding), if any.
    std::optional<quint32> Subtable(quint16 platform, quint16 encoding) const
    {
        const quint32 count = U16(2);
        for (quint32 i = 0; i < count; ++i) {
            const quint32 record = 4 + i * 8;
            if (record + 8 > size())
                break;
            if (U16(record) == platform && U16(record + 2) == encoding) {
                const quint32 offset = U32(record + 4);
                if (offset + 4 <= size())
                    return offset;
            }
        }
        return std::nullopt;
    }

    // Glyph for `ch` in the subtable at `offset`; 0 when unmapped.
    quint32 GlyphOf(quint32 offset, char32_t ch) const
    {
        switch (U16(offset)) {
        case 0:
            return ch < 256 ? U8(offset + 6 + ch) : 0;
        case 4: return Format4Glyph(offset, ch);
        case 6: {
            const quint32 first = U16(offset + 6), count = U16(offset + 8);
            return ch >= first && ch - first < count ? U16(offset + 10 + 2 * (ch - first)) : 0;
        }
        case 12: {
            const quint32 groups = Format12Groups(offset);
            for (quint32 i = 0; i < groups; ++i) {
                const quint32 g = offset + 16 + i * 12;
                if (g + 12 > size())
                    break;
                const quint32 start = U32(g), end = U32(g + 4);
                if (ch >= start && ch <= end)
                    return U32(g + 8) + (ch - start);
            }
            return 0;
        }
        default: return 0;
        }
    }

    // Smallest character the subtable at `offset` maps to `glyph`; 0 if none.
    char32_t FirstCharacterOf(quint32 offset, quint32 glyph) const
    {
        if (glyph == 0)
            return 0;
        if (U16(offset) == 4) {
            // Segments come in character order; a damaged map that repeats
            // ranges still ends after one pass over the 16-bit range.
            const quint32 segments = U16(offset + 6) / 2;
            quint32 budget = 0x10000;
            for (quint32 i = 0; i < segments && budget; ++i) {
                const quint32 end = U16(offset + 14 + 2 * i);
                for (quint32 ch = SegmentStart(offset, i); ch <= end && ch < 0xFFFF && budget; ++ch, --budget)
                    if (SegmentGlyph(offset, i, ch) == glyph)
                        return ch;
            }
            return 0;
        }
        if (U16(offset) == 12) {
            char32_t best = 0;
            const quint32 groups = Format12Groups(offset);
            for (quint32 i = 0; i < groups; ++i) {
                const quint32 g = offset + 16 + i * 12;
                if (g + 12 > size())
                    break;
                const quint32 start = U32(g), end = U32(g + 4), first = U32(g + 8);
                if (end >= start && glyph >= first && glyph - first <= end - start) {
                    const char32_t ch = start + (glyph - first);
                    if (!best || ch < best)
                        best = ch;
                }
            }
            return best;
        }
        return 0;
    }

private:
    quint32 size() const { return quint32(t_.size()); }
    quint32 U8(quint32 at) const { return at < size() ? quint8(t_[at]) : 0; }
    quint32 U16(quint32 at) const { return at + 2 <= size() ? (U8(at) << 8) | U8(at + 1) : 0; }
    quint32 U32(quint32 at) const { return at + 4 <= size() ? (U16(at) << 16) | U16(at + 2) : 0; }

    // The group count, limited to the groups that fit in the table.
    quint32 Format12Groups(quint32 offset) const
    {
        const quint64 first = quint64(offset) + 16;
        const quint64 fit = first < size() ? (size() - first) / 12 : 0;
        return quint32(std::min<quint64>(U32(offset + 12), fit));
    }

    quint32 Format4Glyph(quint32 offset, char32_t ch) const
    {
        if (ch > 0xFFFF)
            return 0;
        const quint32 segments = U16(offset + 6) / 2;
        for (quint32 i = 0; i < segments; ++i) {
            if (U16(offset + 14 + 2 * i) < ch)
                continue;
            return SegmentStart(offset, i) <= ch ? SegmentGlyph(offset, i, ch) : 0;
        }
        return 0;
    }

    // Format 4 arrays: end codes, a pad, start codes, deltas, range offsets.
    quint32 SegmentStart(quint32 offset, quint32 i) const
    {
        const quint32 segments = U16(offset + 6) / 2;
        return U16(offset + 16 + 2 * segments + 2 * i);
    }

    quint32 SegmentGlyph(quint32 offset, quint32 i, quint32 ch) const
    {
        const quint32 segments = U16(offset + 6) / 2;
        const quint32 start = SegmentStart(offset, i);
        const quint32 delta = U16(offset + 16 + 4 * segments + 2 * i);
        const quint32 rangeAt = offset + 16 + 6 * segments + 2 * i;
        const quint32 range = U16(rangeAt);
        if (range == 0)
            return (ch + delta) & 0xFFFF;
        const quint32 glyph = U16(rangeAt + range + 2 * (ch - start));
        return glyph ? (glyph + delta) & 0xFFFF : 0;
    }

    QByteArray t_;
};

// ---- fonts -------------------------------------------------------------------

QString StripFoundry(const QString& family)
{
    // Qt lists a family offered by several foundries as "Name [foundry]".
    const int bracket = family.indexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(QLatin1Char(']')) ? family.left(bracket) : family;
}

bool SameFamily(const QString& a, const QString& b)
{
    return StripFoundry(a).compare(StripFoundry(b), Qt::CaseInsensitive) == 0;
}

// The base font's size and style on `family`. Symbol glyphs must not be
// swapped for another font's by Qt's fallback, or a missing glyph would turn
// into an unrelated character.
QFont StyledFont(const QFont& base, const QString& family, bool noMerging)
{
    QFont font(base);
    font.setFamily(family);
    font.setFamilies({family});
    if (noMerging)
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    return font;
}

// A raw font of `family` in the weight and slant of `base`; its glyph set
// does not depend on the size.
QRawFont ProbeFont(const QString& family, const QFont& base)
{
    QFont probe(family);
    probe.setFamilies({family});
    probe.setPixelSize(48);
    probe.setWeight(base.weight());
    probe.setItalic(base.italic());
    probe.setStyleStrategy(QFont::NoFontMerging);
    return QRawFont::fromFont(probe);
}

// True when `ch` has a real glyph in `raw`: mapped (not the missing glyph)
// and with an outline, except for the space, which has none.
bool HasRealGlyph(const QRawFont& raw, char32_t ch)
{
    if (!raw.isValid() || !raw.supportsCharacter(uint(ch)))
        return false;
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&ch, 1));
    if (glyphs.size() != 1 || glyphs.first() == 0)
        return false;
    return ch == U' ' || ch == 0xF020 || !raw.pathForGlyph(glyphs.first()).isEmpty();
}

// The text that makes Qt draw the glyph the font itself puts at `code`, or
// empty when the font has no real glyph there.
QString NativeText(const QRawFont& raw, int code)
{
    const CmapReader cmap(raw.fontTable("cmap"));
    quint32 glyph = 0;
    QList<char32_t> candidates;
    if (const auto symbol = cmap.Subtable(3, 0)) {
        glyph = cmap.GlyphOf(*symbol, 0xF000 + code);
        if (!glyph)
            glyph = cmap.GlyphOf(*symbol, char32_t(code));
        candidates = {char32_t(0xF000 + code), char32_t(code)};
    } else if (const auto mac = cmap.Subtable(1, 0)) {
        // A symbol font with a Unicode map keeps its own encoding in the
        // Macintosh map; the Unicode map may put other glyphs at the code.
        glyph = cmap.GlyphOf(*mac, char32_t(code));
        candidates = {char32_t(code)};
        const std::pair<quint16, quint16> unicodeMaps[] = {{3, 10}, {3, 1}, {0, 4}, {0, 3}};
        for (const auto& [platform, encoding] : unicodeMaps)
            if (const auto map = cmap.Subtable(platform, encoding))
                if (const char32_t ch = cmap.FirstCharacterOf(*map, glyph))
                    candidates.append(ch);
    }
    if (glyph == 0 || (code != 32 && raw.pathForGlyph(glyph).isEmpty()))
        return {};
    for (const char32_t ch : candidates) {
        const QString text = QString::fromUcs4(&ch, 1);
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        if (glyphs.size() == 1 && glyphs.first() == glyph)
            return text;
    }
    return {};
}

bool HasSymbolMap(const QRawFont& raw)
{
    const QByteArray table = raw.fontTable("cmap");
    if (!table.isEmpty())
        return CmapReader(table).Subtable(3, 0).has_value();
    // No map to read: judge by the private range the symbol map uses.
    if (raw.supportsCharacter(uint('A')))
        return false;
    for (uint ch = 0xF021; ch <= 0xF0FF; ++ch)
        if (raw.supportsCharacter(ch))
            return true;
    return false;
}

// What one (family, style, code) draws as; remembered per thread because
// fonts and their engines are per-thread objects in Qt.
struct Choice {
    QString family;
    QString text;
    bool noMerging = true;
};

struct Memory {
    int generation = -1;
    QHash<QString, Choice> choices;
    QHash<QString, bool> symbolFamilies;
    QHash<QString, QString> families; // card font name -> installed family
};

Memory& Remembered()
{
    thread_local Memory memory;
    const int generation = g_fontGeneration.load();
    if (memory.generation != generation) {
        memory = Memory{};
        memory.generation = generation;
    }
    return memory;
}

Choice FallbackChoice(char32_t ch, const QFont& base)
{
    QList<char32_t> tries{ch};
    tries.append(SimilarCharacters(ch));
    for (const char32_t tryChar : tries) {
        for (const QString& family : SymbolFallbackFamilies()) {
            const QRawFont raw = ProbeFont(family, base);
            if (SameFamily(raw.familyName(), family) && HasRealGlyph(raw, tryChar))
                return {family, QString::fromUcs4(&tryChar, 1), true};
        }
    }
    // None of the fallback fonts is installed: let Qt find any font.
    return {SymbolFallbackFamilies().first(), QString::fromUcs4(&ch, 1), false};
}

Choice ChooseGlyph(const QString& resolved, SymbolEncoding encoding, int code, const QFont& base)
{
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(resolved).arg(base.weight()).arg(base.italic()).arg(code);
    Memory& memory = Remembered();
    if (const auto found = memory.choices.constFind(key); found != memory.choices.constEnd())
        return *found;

    Choice choice;
    const QRawFont raw = ProbeFont(resolved, base);
    if (raw.isValid() && SameFamily(raw.familyName(), resolved)) {
        const QString native = NativeText(raw, code);
        if (!native.isEmpty())
            choice = {resolved, native, true};
    }
    if (choice.text.isEmpty()) {
        const char32_t unicode = SymbolCodeToUnicode(encoding, code);
        if (unicode)
            choice = FallbackChoice(unicode, base);
        else // a symbol font without a table: its private-range character
            choice = {resolved, QString(QChar(0xF000 + code)), false};
    }
    memory.choices.insert(key, choice);
    return choice;
}

struct BundledFont {
    const char* file;
    const char* family;
};
const BundledFont kBundledFonts[] = {
    {"wingding.ttf", "Wingdings"},
    {"webdings.ttf", "Webdings"},
    {"symbol.ttf", "Symbol"},
};

bool IsInstalledFamily(const QString& family)
{
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(),
        [&](const QString& f) { return SameFamily(f, family); });
}

} // namespace

QString WineFontFolder()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

QStringList RegisterSymbolFontsFrom(const QString& folder)
{
    static QMutex mutex;
    static QSet<QString> registeredFiles;
    const QMutexLocker lock(&mutex);

    QStringList registered;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return registered;
    const QStringList entries = dir.entryList(QDir::Files);
    for (const BundledFont& font : kBundledFonts) {
        if (IsInstalledFamily(QLatin1String(font.family)))
            continue;
        for (const QString& entry : entries) {
            if (entry.compare(QLatin1String(font.file), Qt::CaseInsensitive) != 0)
                continue;
            const QString path = dir.absoluteFilePath(entry);
            if (registeredFiles.contains(path))
                break;
            registeredFiles.insert(path);
            const int id = QFontDatabase::addApplicationFont(path);
            if (id >= 0)
                registered += QFontDatabase::applicationFontFamilies(id);
            break;
        }
    }
    if (!registered.isEmpty())
        ++g_fontGeneration;
    return registered;
}

void RegisterBundledFonts()
{
    RegisterSymbolFontsFrom(WineFontFolder());
}

QString ResolveFontFamily(const QString& cardFontName)
{
    const QString name = cardFontName.trimmed();
    if (name.isEmpty())
        return name;
    // Every text of every card asks; the font list is long and stays the same
    // until the program registers fonts.
    Memory& memory = Remembered();
    if (const auto found = memory.families.constFind(name); found != memory.families.constEnd())
        return *found;
    QString caseInsensitive;
    QString resolved;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        const QString bare = StripFoundry(family);
        if (bare == name) {
            resolved = bare;
            break;
        }
        if (caseInsensitive.isEmpty() && bare.compare(name, Qt::CaseInsensitive) == 0)
            caseInsensitive = bare;
    }
    if (resolved.isEmpty())
        resolved = caseInsensitive.isEmpty() ? name : caseInsensitive;
    memory.families.insert(name, resolved);
    return resolved;
}

SymbolEncoding SymbolEncodingOf(const QString& family)
{
    const QString name = family.trimmed();
    if (name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0)
        return SymbolEncoding::Wingdings;
    if (name.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0)
        return SymbolEncoding::Webdings;
    if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return SymbolEncoding::Symbol;
    return SymbolEncoding::None;
}

bool IsSymbolFont(const QString& family)
{
    const QString resolved = ResolveFontFamily(family);
    if (resolved.isEmpty())
        return false;
    if (SymbolEncodingOf(resolved) != SymbolEncoding::None)
        return true;
    Memory& memory = Remembered();
    const QString key = resolved.toCaseFolded();
    if (const auto found = memory.symbolFamilies.constFind(key); found != memory.symbolFamilies.constEnd())
        return *found;
    const QRawFont raw = ProbeFont(resolved, QFont());
    const bool symbol = raw.isValid() && SameFamily(raw.familyName(), resolved) && HasSymbolMap(raw);
    memory.symbolFamilies.insert(key, symbol);
    return symbol;
}

QStringList SymbolFontFamilies()
{
    QStringList result;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        const QString bare = StripFoundry(family);
        if (!result.contains(bare, Qt::CaseInsensitive) && IsSymbolFont(bare))
            result.append(bare);
    }
    std::sort(result.begin(), result.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return result;
}

const QStringList& SymbolFallbackFamilies()
{
    // Symbola has every character of the tables; the DejaVu fonts only cover
    // a machine without it.
    static const QStringList families{
        QStringLiteral("Symbola"), QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")};
    return families;
}

SymbolGlyph GlyphForCode(const QString& family, int code, const QFont& baseFont)
{
    const QString resolved = ResolveFontFamily(family);
    const SymbolEncoding encoding = SymbolEncodingOf(resolved);
    const bool symbolFont = encoding != SymbolEncoding::None || IsSymbolFont(resolved);

    SymbolGlyph glyph;
    if (code < 32 || code > 255) {
        glyph.font = StyledFont(baseFont, resolved, symbolFont);
        return glyph;
    }
    if (!symbolFont) {
        glyph.unicode = Windows1252Character(code);
        glyph.font = StyledFont(baseFont, resolved, false);
        glyph.text = QString::fromUcs4(&glyph.unicode, 1);
        return glyph;
    }
    const Choice choice = ChooseGlyph(resolved, encoding, code, baseFont);
    glyph.unicode = SymbolCodeToUnicode(encoding, code);
    glyph.font = StyledFont(baseFont, choice.family, choice.noMerging);
    glyph.text = choice.text;
    return glyph;
}

SymbolGlyph GlyphForCode(const QFont& font, int code)
{
    return GlyphForCode(font.family(), code, font);
}

QString SymbolCaptionFromCodes(const QByteArray& codes)
{
    // As card files decode their texts, so 0x80..0x9F survive a save.
    QString caption;
    for (const char c : codes) {
        const char32_t ch = Windows1252Character(static_cast<unsigned char>(c));
        caption += QString::fromUcs4(&ch, 1);
    }
    return caption;
}

QByteArray SymbolCodesFromCaption(const QString& caption)
{
    QByteArray codes;
    for (const char32_t ch : caption.toUcs4()) {
        const int code = SymbolCodeOfCharacter(ch);
        if (code >= 0)
            codes.append(char(code));
    }
    return codes;
}

QList<SymbolGlyph> SymbolRuns(const QString& family, const QString& caption, const QFont& baseFont)
{
    const QString resolved = ResolveFontFamily(family);
    const SymbolEncoding encoding = SymbolEncodingOf(resolved);
    if (encoding == SymbolEncoding::None && !IsSymbolFont(resolved))
        return {SymbolGlyph{StyledFont(baseFont, resolved, false), caption, 0}};

    QList<SymbolGlyph> runs;
    for (const char32_t ch : caption.toUcs4()) {
        const int code = SymbolCodeOfCharacter(ch);
        SymbolGlyph piece;
        if (code >= 32) {
            piece = GlyphForCode(resolved, code, baseFont);
        } else if (code < 0) {
            // A character that is no byte code draws as itself.
            const Choice choice = FallbackChoice(ch, baseFont);
            piece = {StyledFont(baseFont, choice.family, choice.noMerging), choice.text, ch};
        } else {
            continue; // control characters draw nothing
        }
        if (!runs.isEmpty() && runs.last().font == piece.font) {
            runs.last().text += piece.text;
            runs.last().unicode = 0;
        } else {
            runs.append(piece);
        }
    }
    return runs;
}

} // namespace cardora
