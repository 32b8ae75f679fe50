#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

namespace cardora {

// Stored properties are declared as data beside each class: name, type,
// default and left-out rule. The object stream writes and reads any
// Persistent through its table, so a new object kind only declares a table.

class Persistent;

enum class PropKind {
    Integer,   // Int8/Int16/Int32 by value
    Color,     // identifier from the colour table, else integer
    Cursor,    // identifier from the cursor table, else integer
    Enum,      // identifier from `names`
    Boolean,   // FalseValue / TrueValue
    Set,       // SetValue of member names from `names`
    Text,      // ShortText / LongText; left out when empty
    Nested,    // attribute object written with a dotted path
    Reference, // component reference by name; left out when empty
    Binary,    // special data entry holding a Binary block ("Data")
    Strings,   // special data entry holding a list of texts ("Strings")
};

struct PropertyDecl {
    QString name;
    PropKind kind = PropKind::Integer;
    QStringList names;                      // enumeration or set member names
    std::optional<std::int64_t> defaultValue; // ordinal default; none = always written
    // Ordinal kinds (Integer..Set; a Set is a bit mask by member ordinal)
    std::function<std::int64_t(const Persistent&)> getOrdinal;
    std::function<void(Persistent&, std::int64_t)> setOrdinal;
    // Text and Reference
    std::function<QString(const Persistent&)> getText;
    std::function<void(Persistent&, const QString&)> setText;
    // Nested
    std::function<Persistent*(Persistent&)> nested;
    // Binary
    std::function<QByteArray(const Persistent&)> getBinary;
    std::function<void(Persistent&, const QByteArray&)> setBinary;
    // Strings
    std::function<QStringList(const Persistent&)> getStrings;
    std::function<void(Persistent&, const QStringList&)> setStrings;
    // When present and false, the property is not written at all (e.g. a
    // font taken from the parent, an empty picture).
    std::function<bool(const Persistent&)> storedWhen;
    bool readOnly = false;
};

using PropertyTable = std::vector<PropertyDecl>;

class Persistent {
public:
    virtual ~Persistent() = default;
    // Every stored property in writing order, inherited ones first.
    virtual const PropertyTable& Properties() const = 0;
    // Called by the reader when an entry of this object was read; objects
    // track "changed from the parent's font" and similar through it.
    virtual void PropertyRead(const QString& /*path*/) {}
};

// A stored ordinal as a property's own type and back: integers and enums
// cast, a set of flags (QFlags) goes by its bits.
template <class V>
std::int64_t ToOrdinal(V v)
{
    if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>)
        return static_cast<std::int64_t>(v);
    else
        return static_cast<std::int64_t>(v.toInt());
}

template <class V>
V FromOrdinal(std::int64_t v)
{
    if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>)
        return static_cast<V>(v);
    else
        return V::fromInt(static_cast<typename V::Int>(v));
}

// Helpers that keep the tables short.
template <class T, class V>
PropertyDecl IntegerProp(const QString& name, std::optional<std::int64_t> def, V (T::*get)() const, void (T::*set)(V))
{
    PropertyDecl d;
    d.name = name;
    d.kind = PropKind::Integer;
    d.defaultValue = def;
    d.getOrdinal = [get](const Persistent& p) { return ToOrdinal<V>((static_cast<const T&>(p).*get)()); };
    d.setOrdinal = [set](Persistent& p, std::int64_t v) { (static_cast<T&>(p).*set)(FromOrdinal<V>(v)); };
    return d;
}

template <class T, class V>
PropertyDecl OrdinalProp(PropKind kind, const QString& name, std::optional<std::int64_t> def, V (T::*get)() const,
    void (T::*set)(V), QStringList names = {})
{
    PropertyDecl d = IntegerProp<T, V>(name, def, get, set);
    d.kind = kind;
    d.names = std::move(names);
    return d;
}

template <class T>
PropertyDecl TextProp(const QString& name, QString (T::*get)() const, void (T::*set)(const QString&))
{
    PropertyDecl d;
    d.name = name;
    d.kind = PropKind::Text;
    d.getText = [get](const Persistent& p) { return (static_cast<const T&>(p).*get)(); };
    d.setText = [set](Persistent& p, const QString& v) { (static_cast<T&>(p).*set)(v); };
    return d;
}

template <class T, class N>
PropertyDecl NestedProp(const QString& name, N* (T::*get)())
{
    PropertyDecl d;
    d.name = name;
    d.kind = PropKind::Nested;
    d.nested = [get](Persistent& p) -> Persistent* { return (static_cast<T&>(p).*get)(); };
    return d;
}

} // namespace cardora
