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

QStringList FieldNamesIn(const QString& text)
{
    QStringList names;
    QStringList folded;
    if (!text.contains(QLatin1String("${")))
        return names;
    auto it = FieldPattern().globalMatch(text);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (!folded.contains(name.toCaseFolded())) {
            folded << name.toCaseFolded();
            names << name;
        }
    }
    return names;
}

bool HasFields(const QString& text)
{
    return text.contains(QLatin1String("${")) && FieldPattern().match(text).hasMatch();
}

QString ExpandFields(const QString& text, const TFieldRecord& record)
{
    if (!text.contains(QLatin1String("${")))
        return text;
    QString out;
    qsizetype from = 0;
    auto it = FieldPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const std::optional<QString> value = record.Value(m.captured(1));
        if (!value)
            continue;
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += *value;
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
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
