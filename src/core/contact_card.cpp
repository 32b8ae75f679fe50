#include "core/contact_card.h"
#include "core/fields.h"
#include <QStringList>

namespace cardora {

namespace {
QString escaped(QString text, const QString& special)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QString out;
    for (QChar c : text) {
        if (c == QChar('\n'))
            out += QStringLiteral("\\n");
        else {
            if (special.contains(c))
                out += QChar('\\');
            out += c;
        }
    }
    return out;
}

QString value(const TFieldRecord& r, const char* name) { return r.ValueOr(QString::fromLatin1(name)).trimmed(); }

// "Jane Q. Example": family name "Example", given names "Jane Q.".
std::pair<QString, QString> splitName(const QString& name)
{
    const int space = name.lastIndexOf(QChar(' '));
    if (space < 0)
        return { name, QString() };
    return { name.mid(space + 1), name.left(space).trimmed() };
}

QStringList addressLines(const TFieldRecord& r)
{
    QStringList lines;
    for (const char* n : { "Address1", "Address2", "Address3" })
        if (!value(r, n).isEmpty())
            lines << value(r, n);
    return lines;
}
} // namespace

QString VCardText(const TFieldRecord& r)
{
    const QString special = QStringLiteral("\\,;");
    auto esc = [&](const QString& t) { return escaped(t, special); };
    QStringList lines { QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0") };
    const QString name = value(r, "Name");
    const auto [family, given] = splitName(name);
    lines << "N:" + esc(family) + ";" + esc(given) + ";;;";
    lines << "FN:" + esc(name);
    auto add = [&](const char* field, const QString& prefix) {
        const QString v = value(r, field);
        if (!v.isEmpty())
            lines << prefix + esc(v);
    };
    add("Company", "ORG:");
    add("Title", "TITLE:");
    add("Phone1", "TEL;TYPE=WORK,VOICE:");
    add("Phone2", "TEL;TYPE=CELL:");
    add("Fax", "TEL;TYPE=FAX:");
    add("Email", "EMAIL;TYPE=INTERNET:");
    // The three address lines as street, town and country: how a person
    // wrote them is kept, and reading the vCard back gives the same lines.
    const QString a1 = value(r, "Address1"), a2 = value(r, "Address2"), a3 = value(r, "Address3");
    if (!a1.isEmpty() || !a2.isEmpty() || !a3.isEmpty())
        lines << "ADR;TYPE=WORK:;;" + esc(a1) + ";" + esc(a2) + ";;;" + esc(a3);
    // A web address is a URI, not text: its commas and semicolons stay as
    // they are, or phones would open a different address.
    const QString url = value(r, "URL").remove(QChar('\r')).remove(QChar('\n'));
    if (!url.isEmpty())
        lines << "URL:" + url;
    lines << QStringLiteral("END:VCARD");
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString MeCardText(const TFieldRecord& r)
{
    // As phones' readers unescape: a comma is plain text except in the name,
    // where it parts family from given names.
    const QString special = QStringLiteral("\\;:");
    auto esc = [&](const QString& t) { return escaped(t, special); };
    QString out = QStringLiteral("MECARD:");
    const QString name = value(r, "Name");
    if (!name.isEmpty()) {
        const auto [family, given] = splitName(name);
        out += "N:" + esc(family) + (given.isEmpty() ? QString() : "," + esc(given)) + ";";
    }
    auto add = [&](const char* field, const char* tag) {
        const QString v = value(r, field);
        if (!v.isEmpty())
            out += QString::fromLatin1(tag) + ":" + esc(v) + ";";
    };
    add("Company", "ORG");
    add("Phone1", "TEL");
    add("Phone2", "TEL");
    add("Email", "EMAIL");
    const QStringList address = addressLines(r);
    if (!address.isEmpty())
        out += "ADR:" + esc(address.join(QStringLiteral(", "))) + ";";
    add("URL", "URL");
    add("Title", "NOTE");
    return out + ";";
}

} // namespace cardora
