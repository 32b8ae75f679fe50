#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace cardora {

// Card files write an enumeration as the identifier of its value, from a
// table listing the identifiers in the order of the values ("psSolid",
// "psDash", ...). The identifiers are the file format: they stay as they are
// whatever the C++ names become.

// The position of an identifier in its table, compared without regard to
// case as files have always been read; -1 when the table has no such name.
inline int StoredIndex(const QStringList& table, const QString& identifier)
{
    for (int i = 0; i < table.size(); ++i)
        if (table[i].compare(identifier, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// The identifier a value is stored as; empty for a value outside the table.
template <class E>
QString StoredIdentifier(const QStringList& table, E value)
{
    const auto i = static_cast<qsizetype>(value);
    return i >= 0 && i < table.size() ? table[i] : QString();
}

// The value an identifier stands for; none for an unknown identifier, which
// the reader refuses.
template <class E>
std::optional<E> StoredValue(const QStringList& table, const QString& identifier)
{
    const int i = StoredIndex(table, identifier);
    if (i < 0)
        return std::nullopt;
    return static_cast<E>(i);
}

} // namespace cardora
