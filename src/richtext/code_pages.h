#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace cardora {

// Windows code pages as RTF names them (\ansicpg, \fcharset).

// The code page a font character set implies; 0 for "the document's", 42
// for a symbol font (bytes stand for themselves).
int CodePageOfCharset(int charset);

// Bytes in a code page as text. Windows-1252 (and anything unknown) is
// decoded by our own table; other pages through Qt's converters.
QString DecodeCodePage(const QByteArray& bytes, int codePage);

// The Windows-1252 byte of a character, when it has one.
std::optional<unsigned char> EncodeWindows1252(char16_t ch);

} // namespace cardora
