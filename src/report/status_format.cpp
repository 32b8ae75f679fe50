#include "report/status_format.h"

namespace cardora {

QString ExpandStatusFormat(const QString& format, int currentPage, const QStringList& lines)
{
    QString out;
    out.reserve(format.size() + 16);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        const QChar next = format.at(i + 1);
        if (next == u'%') {
            out += u'%';
        } else if (next == u'p' || next == u'P') {
            out += QString::number(currentPage);
        } else if (next >= u'0' && next <= u'9') {
            const int line = next.unicode() - u'0';
            if (line < lines.size())
                out += lines.at(line);
        } else {
            out += c;
            continue; // the next character is copied on its own
        }
        ++i;
    }
    return out;
}

} // namespace cardora
