#pragma once
#include <QByteArray>

class QTextDocument;

namespace cardora {

// The document as RTF that ReadRtf and common word processors read back with
// the same look: font and colour tables, every paragraph with its alignment,
// indents and spacing, every run with its font, size, styles and colours.
// Characters outside Windows-1252 travel as \u escapes.
QByteArray WriteRtf(const QTextDocument& document);

} // namespace cardora
