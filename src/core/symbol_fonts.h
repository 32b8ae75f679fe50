#pragma once
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

namespace cardora {

// Symbol fonts. Card files name Windows symbol fonts ("WingDings", "Webdings",
// "Symbol") and keep a symbol caption as byte codes 32–255. This machine only
// has partial clones of those fonts, so every code is drawn either from the
// clone (when it really has that glyph) or as the code's Unicode character
// from a Unicode symbol font. The choice depends only on the family, the code
// and the font's weight and slant, so screen, grid, print and pictures agree.
// Every function here needs a QGuiApplication.

// The byte-code tables the program carries.
enum class SymbolEncoding { None, Wingdings, Webdings, Symbol };

// Registers Wine's Wingdings, Webdings and Symbol from their usual folder
// (fontconfig does not scan it). Files that are missing are skipped; a family
// that is already installed is left alone, so calling it again does nothing.
void RegisterBundledFonts();

// The same from `folder`; returns the families it registered.
QStringList RegisterSymbolFontsFrom(const QString& folder);

// Where Wine's fonts live on this kind of machine.
QString WineFontFolder();

// The installed family a card file's font name stands for: an exact or
// case-insensitive match among the installed families ("WingDings" finds
// "Wingdings"); otherwise the name itself, which the font system substitutes.
QString ResolveFontFamily(const QString& cardFontName);

// True for Wingdings, Webdings and Symbol, and for any installed font whose
// character map is a symbol map (codes in the 0xF020–0xF0FF range).
bool IsSymbolFont(const QString& family);

// The installed symbol fonts, sorted, for a font chooser.
QStringList SymbolFontFamilies();

// Which table a family's codes follow; None for text fonts.
SymbolEncoding SymbolEncodingOf(const QString& family);

// The Unicode character a code of the table stands for; 0 when `code` is
// outside 32–255 or the encoding is None. Codes with no character of their
// own give a similar one, so every code has something to draw.
char32_t SymbolCodeToUnicode(SymbolEncoding encoding, int code);

// Characters with nearly the same look as `ch`, best first, for when no
// fallback font has `ch` itself; empty if there are none.
QList<char32_t> SimilarCharacters(char32_t ch);

// What to draw for one code.
struct SymbolGlyph {
    QFont font;          // the base font's size and style on the family chosen
    QString text;        // the character(s) to draw with `font`; empty when nothing is drawn
    char32_t unicode = 0; // the Unicode character the code stands for (0 if unknown)

    friend bool operator==(const SymbolGlyph&, const SymbolGlyph&) = default;
};

// What to draw for `code` (32–255) of a caption in `family`, with the size,
// weight, slant, underline and strike-out of `baseFont`. Symbol fonts: the
// clone's own glyph when it has one, otherwise the table's character in the
// first fallback font that has it. Text fonts: the Windows-1252 character of
// the code in that family. A code outside 32–255 gives empty text.
SymbolGlyph GlyphForCode(const QString& family, int code, const QFont& baseFont);

// The same with the family of `font`.
SymbolGlyph GlyphForCode(const QFont& font, int code);

// The Unicode symbol fonts tried, in order, for codes the clone lacks.
const QStringList& SymbolFallbackFamilies();

// The code a caption character stands for: Latin-1 characters are their own
// code, Windows-1252 characters (€, „ …) give their byte, and characters of
// the 0xF020–0xF0FF range give the low byte. -1 for anything else.
int SymbolCodeOfCharacter(char32_t ch);

// The Windows-1252 character of a byte code (0x80 → €); undefined bytes and
// codes outside 0–255 give the code itself.
char32_t Windows1252Character(int code);

// In-memory caption of a symbol label from its byte codes (each byte one
// character of the same value) and back; characters without a code are dropped.
QString SymbolCaptionFromCodes(const QByteArray& codes);
QByteArray SymbolCodesFromCaption(const QString& caption);

// A caption split into pieces that each draw with one font, in order. Text
// fonts give one piece holding the whole caption unchanged.
QList<SymbolGlyph> SymbolRuns(const QString& family, const QString& caption, const QFont& baseFont);

} // namespace cardora
