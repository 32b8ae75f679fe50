#include "printing/merge_data.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include <QDir>

namespace cardora {

QStringList CardFieldNames(const CardView& panel)
{
    QStringList names;
    for (const TQGraphicControl* o : panel.Objects())
        for (const QString& text : o->TypedTexts())
            for (const QString& name : FieldNamesIn(text))
                if (!names.contains(name, Qt::CaseInsensitive))
                    names << name;
    return names;
}

QString LoadMergeData(const QString& path, const CardView& panel, TDataFile* data)
{
    *data = ReadDataFile(path);
    if (!data->Ok())
        return data->error;
    const QString error = MissingFieldsProblem(*data, path, panel);
    if (!error.isEmpty()) {
        *data = TDataFile();
        data->error = error;
    }
    return error;
}

QString MissingFieldsProblem(const TDataFile& data, const QString& path, const CardView& panel)
{
    TFieldRecord known;
    for (const QString& name : data.names)
        known.Set(name, QString());
    QStringList missing;
    for (const QString& name : CardFieldNames(panel))
        if (!known.Has(name))
            missing << name;
    if (missing.isEmpty())
        return QString();
    const QString file = QDir::toNativeSeparators(path);
    return missing.size() == 1
        ? QString("The card uses the field %1, which the data file %2 does not have").arg(missing.first(), file)
        : QString("The card uses the fields %1, which the data file %2 does not have")
              .arg(missing.join(QStringLiteral(", ")), file);
}

std::optional<TRecordRange> ParseRecordRange(const QString& text, QString* error)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('-'));
    bool ok1 = false, ok2 = false;
    TRecordRange range;
    if (parts.size() == 1) {
        range.First = range.Last = parts[0].trimmed().toInt(&ok1);
        ok2 = ok1;
    } else if (parts.size() == 2) {
        range.First = parts[0].trimmed().toInt(&ok1);
        range.Last = parts[1].trimmed().toInt(&ok2);
    }
    if (!ok1 || !ok2 || range.First < 1 || range.Last < range.First) {
        if (error)
            *error = QString("\"%1\" is not a range of records such as 1-100 (first and last, from 1)").arg(text);
        return std::nullopt;
    }
    return range;
}

QString RecordRangeProblem(const TRecordRange& range, qsizetype records)
{
    if (range.Last <= records)
        return QString();
    return QString("Records %1-%2 are not all in the data, which has %3 record%4")
        .arg(range.First)
        .arg(range.Last)
        .arg(records)
        .arg(records == 1 ? "" : "s");
}

} // namespace cardora
