#include "objects/card_dump.h"
#include "core/object_stream.h"
#include "objects/graphic_control.h"

namespace cardora {

namespace {

void appendString(QByteArray& out, const QString& s)
{
    out.append('"');
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\b': out.append("\\b"); break;
        case '\f': out.append("\\f"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (u < 0x20)
                out.append(QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1());
            else
                out.append(QString(c).toUtf8());
        }
    }
    out.append('"');
}

void appendStringArray(QByteArray& out, const QStringList& list)
{
    out.append('[');
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i)
            out.append(", ");
        appendString(out, list[i]);
    }
    out.append(']');
}

void appendValue(QByteArray& out, const StoredEntry& e)
{
    switch (e.value) {
    case StoredEntry::Value::Integer:
        out.append(QByteArray::number(e.integer));
        break;
    case StoredEntry::Value::Ident:
    case StoredEntry::Value::Text:
        appendString(out, e.text);
        break;
    case StoredEntry::Value::Boolean:
        out.append(e.integer ? "true" : "false");
        break;
    case StoredEntry::Value::Set:
    case StoredEntry::Value::Strings:
        appendStringArray(out, e.list);
        break;
    case StoredEntry::Value::Binary:
        out.append("{\"binary\": ").append(QByteArray::number(e.binary.size())).append('}');
        break;
    }
}

} // namespace

QByteArray DumpCardJson(const std::vector<TQGraphicControl*>& objects)
{
    QByteArray out("{\"objects\": [");
    bool firstObject = true;
    for (const TQGraphicControl* o : objects) {
        if (!o)
            continue;
        if (!firstObject)
            out.append(", ");
        firstObject = false;
        out.append("{\"class\": ");
        appendString(out, o->ClassName());
        out.append(", \"name\": ");
        appendString(out, o->Name());
        out.append(", \"properties\": [");
        bool firstEntry = true;
        for (const StoredEntry& e : StoredEntries(*o)) {
            if (!firstEntry)
                out.append(", ");
            firstEntry = false;
            out.append('[');
            appendString(out, e.path);
            out.append(", ");
            appendValue(out, e);
            out.append(']');
        }
        out.append("]}");
    }
    out.append("]}");
    return out;
}

} // namespace cardora
