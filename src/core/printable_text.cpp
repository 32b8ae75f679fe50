#include "core/printable_text.h"

namespace cardora {

QString PrintableText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A surrogate pair is one character; only a lone half is shown as an escape.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        switch (c.unicode()) {
        case '\n': out += QLatin1String("\\n"); continue;
        case '\r': out += QLatin1String("\\r"); continue;
        case '\t': out += QLatin1String("\\t"); continue;
        default: break;
        }
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            out += c.unicode() < 0x100 ? QLatin1String("\\x") : QLatin1String("\\u");
            out += QString::number(c.unicode(), 16).toUpper().rightJustified(c.unicode() < 0x100 ? 2 : 4, '0');
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace cardora
