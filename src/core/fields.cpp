#include "core/fields.h"
#include <QRegularExpression>

namespace cardora {

const QRegularExpression& FieldPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\$\\{([A-Za-z0-9_]+)\\}"));
    return pattern;
}

void TFieldRecord::Set(const QString& name, const QString& value)
{
    const QString key = name.toCaseFolded();
    if (const auto it = index_.constFind(key); it != index_.constEnd()) {
        values_[*it] = value;
        return;
    }
    index_.insert(key, int(names_.size()));
    names_ << name;
    values_ << value;
}

std::optional<QString> TFieldRecord::Value(const QString& name) const
{
    const auto it = index_.constFind(name.toCaseFolded());
    if (it == index_.constEnd())
        return std::nullopt;
    return values_.at(*it);
}

QString TFieldRecord::ValueOr(const QString& name, const QString& fallback) const
{
    return Value(name).value_or(fallback);
}

const QStringList& PersonalFieldNames()
{
    static const QStringList names{"Name",     "Company",  "Title",  "Address1", "Address2",
                                   "Address3", "Phone1",   "Phone2", "Email",    "Fax"};
    return names;
}

TFieldRecord PersonalRecord(const QStringList& personal)
{
    TFieldRecord record;
    const QStringList& names = PersonalFieldNames();
    for (int i = 0; i < names.size(); ++i)
        record.Set(names[i], i < personal.size() ? personal[i] : QString());
    return record;
}

namespace {

bool isNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
}

// The next field at or after `from`, as FieldPattern finds it but without a
// regular expression: every text of every merged card passes through here.
bool nextField(QStringView text, qsizetype from, qsizetype* start, qsizetype* end)
{
    for (qsizetype i = text.indexOf(u"${", from); i >= 0; i = text.indexOf(u"${", i + 1)) {
        qsizetype j = i + 2;
        while (j < text.size() && isNameCharacter(text[j]))
            ++j;
        if (j > i + 2 && j < text.size() && text[j] == u'}') {
            *start = i;
            *end = j + 1;
            return true;
        }
    }
    return false;
}

} // namespace

QStringList FieldNamesIn(const QString& text)
{
    QStringList names;
    QStringList folded;
    qsizetype start = 0, end = 0;
    for (qsizetype from = 0; nextField(text, from, &start, &end); from = end) {
        const QString name = text.mid(start + 2, end - start - 3);
        if (!folded.contains(name.toCaseFolded())) {
            folded << name.toCaseFolded();
            names << name;
        }
    }
    return names;
}

bool HasFields(const QString& text)
{
    qsizetype start = 0, end = 0;
    return nextField(text, 0, &start, &end);
}

QString ExpandFields(const QString& text, const TFieldRecord& record)
{
    qsizetype start = 0, end = 0;
    if (!nextField(text, 0, &start, &end))
        return text;
    QString out;
    qsizetype copied = 0;
    for (qsizetype from = 0; nextField(text, from, &start, &end); from = end) {
        const std::optional<QString> value = record.Value(text.mid(start + 2, end - start - 3));
        if (!value)
            continue;
        out += QStringView(text).mid(copied, start - copied);
        out += *value;
        copied = end;
    }
    out += QStringView(text).mid(copied);
    return out;
}

QStringList MissingFields(const QStringList& texts, const TFieldRecord& record)
{
    QStringList missing;
    for (const QString& text : texts)
        for (const QString& name : FieldNamesIn(text))
            if (!record.Has(name) && !missing.contains(name, Qt::CaseInsensitive))
                missing << name;
    return missing;
}

} // namespace cardora
