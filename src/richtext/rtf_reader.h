#pragma once
#include <QByteArray>

class QTextDocument;

namespace cardora {

// Twips (1/1440 inch) and the pixels of a document laid out at 96 pixels per
// inch, the unit QTextDocument margins and indents are kept in.
constexpr double kTwipsPerDocumentPixel = 15.0;

// The tab distance word processors assume when a file names none.
constexpr int kDefaultTabTwips = 720;

// Reads RTF into the document, replacing what it held: the font and colour
// tables, character and paragraph formatting, code pages, \u escapes, fields'
// results and list texts. Whatever it does not know is skipped. Data that
// does not start with "{\rtf" is taken as plain Windows-1252 text, so nothing
// given to it is lost. Work and memory grow with the input's length only.
void ReadRtf(const QByteArray& data, QTextDocument& document);

// True when the data starts (after white space) like an RTF document.
bool LooksLikeRtf(const QByteArray& data);

} // namespace cardora
