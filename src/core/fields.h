#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QRegularExpression;

namespace cardora {

// One set of values for the ${Name} fields of a card: the personal
// information, or one record of a data file. Names match without regard to case.
class TFieldRecord {
public:
    void Set(const QString& name, const QString& value);
    std::optional<QString> Value(const QString& name) const;
    QString ValueOr(const QString& name, const QString& fallback = {}) const;
    bool Has(const QString& name) const { return index_.contains(name.toCaseFolded()); }
    // Names in the order they were first set, as they were spelled then.
    const QStringList& Names() const { return names_; }
    bool IsEmpty() const { return names_.isEmpty(); }

private:
    // The names and where each one's value is stay shared between copies
    // (every record of a data file starts as a copy of one), so that a
    // record costs little more than its values.
    QHash<QString, int> index_; // case-folded name -> position
    QStringList names_;
    QStringList values_;
};

// The records of a data file, in order.
using TFieldRecords = QList<TFieldRecord>;

// The names the ten personal values go by, in their stored order.
const QStringList& PersonalFieldNames();
TFieldRecord PersonalRecord(const QStringList& personal);

// A field as written: "${" name "}", the name captured.
const QRegularExpression& FieldPattern();

// Field names written in text, each once, in the order they first occur.
QStringList FieldNamesIn(const QString& text);
bool HasFields(const QString& text);
// Every field the record knows becomes its value; the others stay as typed.
QString ExpandFields(const QString& text, const TFieldRecord& record);
// Names used in the texts that the record lacks, each once.
QStringList MissingFields(const QStringList& texts, const TFieldRecord& record);

} // namespace cardora
