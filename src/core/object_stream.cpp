#include "core/object_stream.h"
#include "core/stored_enum.h"
#include "core/ident_tables.h"
#include <QBuffer>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace cardora {

// ---- Windows-1252

namespace {
// 0x80..0x9F; the five unassigned codes map to the C1 control of the same
// number so that every byte survives a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

char encodeChar(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

QString FromWindows1252(const QByteArray& bytes)
{
    QString s;
    s.resize(bytes.size());
    QChar* out = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return s;
}

QByteArray ToWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        // A surrogate pair is one character outside the code page.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            c = QChar::surrogateToUcs4(p[i], p[i + 1]);
            ++i;
        }
        out.append(encodeChar(c));
    }
    return out;
}

// ---- writer

void TObjectWriter::writeInt32(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    const char b[4] = { char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char((u >> 24) & 0xFF) };
    data_.append(b, 4);
}

void TObjectWriter::WriteShortName(const QString& name)
{
    const QByteArray bytes = ToWindows1252(name).left(255);
    WriteByte(static_cast<std::uint8_t>(bytes.size()));
    data_.append(bytes);
}

void TObjectWriter::WriteInteger(std::int32_t value)
{
    if (value >= -128 && value <= 127) {
        WriteTag(ValueTag::Int8);
        WriteByte(static_cast<std::uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        WriteTag(ValueTag::Int16);
        const auto u = static_cast<std::uint16_t>(value);
        WriteByte(u & 0xFF);
        WriteByte(u >> 8);
    } else {
        WriteTag(ValueTag::Int32);
        writeInt32(value);
    }
}

void TObjectWriter::WriteText(const QString& text)
{
    const QByteArray bytes = ToWindows1252(text);
    if (bytes.size() < 256) {
        WriteTag(ValueTag::ShortText);
        WriteByte(static_cast<std::uint8_t>(bytes.size()));
    } else {
        WriteTag(ValueTag::LongText);
        writeInt32(static_cast<std::int32_t>(bytes.size()));
    }
    data_.append(bytes);
}

void TObjectWriter::WriteIdent(const QString& ident)
{
    if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        WriteTag(ValueTag::FalseValue);
    } else if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        WriteTag(ValueTag::TrueValue);
    } else if (ident.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
        WriteTag(ValueTag::NilValue);
    } else {
        WriteTag(ValueTag::Ident);
        WriteShortName(ident);
    }
}

void TObjectWriter::WriteSet(const QStringList& members)
{
    WriteTag(ValueTag::SetValue);
    for (const QString& m : members)
        WriteShortName(m);
    WriteByte(0);
}

void TObjectWriter::WriteBinary(const QByteArray& bytes)
{
    WriteTag(ValueTag::Binary);
    writeInt32(static_cast<std::int32_t>(bytes.size()));
    data_.append(bytes);
}

void TObjectWriter::WriteFloat(double value)
{
    // 80-bit extended: 64-bit mantissa with explicit integer bit, 15-bit
    // exponent biased by 16383, sign in the top bit.
    std::uint64_t mantissa = 0;
    std::uint16_t signExp = std::signbit(value) ? 0x8000 : 0;
    const double a = std::fabs(value);
    if (std::isnan(a)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(a)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (a != 0) {
        int e = 0;
        const double m = std::frexp(a, &e); // a = m * 2^e, 0.5 <= m < 1
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
        signExp |= static_cast<std::uint16_t>(e - 1 + 16383);
    }
    WriteTag(ValueTag::Float80);
    for (int i = 0; i < 8; ++i)
        WriteByte(static_cast<std::uint8_t>(mantissa >> (8 * i)));
    WriteByte(signExp & 0xFF);
    WriteByte(signExp >> 8);
}

// ---- reader

namespace {
[[noreturn]] void fail(const char* message) { throw EObjectStreamError(QString::fromLatin1(message)); }

std::int32_t littleEndian32(const QByteArray& b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[0]))
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[1])) << 8
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[2])) << 16
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[3])) << 24);
}

// Values nest only through lists and collections; deeper than this is not a
// card file, and must not exhaust the stack.
constexpr int kMaxNesting = 32;
} // namespace

TObjectReader::TObjectReader(QIODevice& device) : device_(&device) {}

TObjectReader::TObjectReader(const QByteArray& data)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    device_ = buffer.get();
    owned_ = std::move(buffer);
}

TObjectReader::~TObjectReader() = default;

qint64 TObjectReader::Remaining() const
{
    if (device_->isSequential())
        return -1;
    return std::max<qint64>(0, device_->size() - device_->pos());
}

std::uint8_t TObjectReader::ReadByte()
{
    char c = 0;
    if (!device_->getChar(&c))
        fail(StreamMessage::ReadError);
    return static_cast<std::uint8_t>(c);
}

std::uint8_t TObjectReader::PeekByte()
{
    char c = 0;
    if (device_->peek(&c, 1) != 1)
        fail(StreamMessage::ReadError);
    return static_cast<std::uint8_t>(c);
}

QByteArray TObjectReader::ReadBytes(qint64 count)
{
    if (count < 0)
        fail(StreamMessage::ReadError);
    const qint64 remaining = Remaining();
    if (remaining >= 0 && count > remaining)
        fail(StreamMessage::ReadError);
    QByteArray out;
    // A device that cannot tell its size is read piece by piece, so memory
    // grows only with bytes that really arrive.
    constexpr qint64 kChunk = 1 << 20;
    while (out.size() < count) {
        const qint64 want = std::min(kChunk, count - out.size());
        const QByteArray piece = device_->read(want);
        if (piece.size() != want)
            fail(StreamMessage::ReadError);
        out.append(piece);
    }
    return out;
}

void TObjectReader::ExpectTag(ValueTag expected, const char* message)
{
    if (ReadTag() != expected)
        fail(message);
}

void TObjectReader::ReadSignature()
{
    if (ReadBytes(4) != QByteArrayLiteral("TPF0"))
        fail(StreamMessage::InvalidFormat);
}

QString TObjectReader::ReadShortName()
{
    const int length = ReadByte();
    return FromWindows1252(ReadBytes(length));
}

std::int32_t TObjectReader::ReadInteger()
{
    switch (ReadTag()) {
    case ValueTag::Int8:
        return static_cast<std::int8_t>(ReadByte());
    case ValueTag::Int16: {
        const QByteArray b = ReadBytes(2);
        return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[0]) | (static_cast<std::uint8_t>(b[1]) << 8));
    }
    case ValueTag::Int32:
        return littleEndian32(ReadBytes(4));
    default:
        fail(StreamMessage::InvalidValue);
    }
}

QString TObjectReader::ReadText()
{
    switch (ReadTag()) {
    case ValueTag::ShortText:
        return FromWindows1252(ReadBytes(ReadByte()));
    case ValueTag::LongText: {
        const auto length = static_cast<std::uint32_t>(littleEndian32(ReadBytes(4)));
        return FromWindows1252(ReadBytes(static_cast<qint64>(length)));
    }
    default:
        fail(StreamMessage::InvalidValue);
    }
}

QString TObjectReader::ReadIdent()
{
    switch (ReadTag()) {
    case ValueTag::Ident:
        return ReadShortName();
    case ValueTag::FalseValue:
        return QStringLiteral("False");
    case ValueTag::TrueValue:
        return QStringLiteral("True");
    case ValueTag::NilValue:
        return QStringLiteral("nil");
    default:
        fail(StreamMessage::InvalidValue);
    }
}

QStringList TObjectReader::ReadSetMembers()
{
    ExpectTag(ValueTag::SetValue, StreamMessage::InvalidValue);
    QStringList members;
    for (;;) {
        const QString name = ReadShortName();
        if (name.isEmpty())
            return members;
        members << name;
    }
}

QByteArray TObjectReader::ReadBinary()
{
    ExpectTag(ValueTag::Binary, StreamMessage::InvalidValue);
    const auto count = static_cast<std::uint32_t>(littleEndian32(ReadBytes(4)));
    return ReadBytes(static_cast<qint64>(count));
}

double TObjectReader::ReadFloat()
{
    if (PeekTag() != ValueTag::Float80)
        return ReadInteger();
    ReadByte();
    const QByteArray b = ReadBytes(10);
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | static_cast<std::uint8_t>(b[i]);
    const std::uint16_t signExp = static_cast<std::uint8_t>(b[8]) | (static_cast<std::uint8_t>(b[9]) << 8);
    const int exponent = signExp & 0x7FFF;
    const bool negative = signExp & 0x8000;
    double v;
    if (exponent == 0x7FFF)
        v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    else
        v = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -v : v;
}

void TObjectReader::SkipValue() { skipValue(0); }

void TObjectReader::skipValue(int depth)
{
    if (depth > kMaxNesting)
        fail(StreamMessage::InvalidValue);
    switch (PeekTag()) {
    case ValueTag::ListBegin:
        ReadByte();
        while (!EndOfList())
            skipValue(depth + 1);
        ReadByte();
        return;
    case ValueTag::ListEnd:
    case ValueTag::FalseValue:
    case ValueTag::TrueValue:
    case ValueTag::NilValue:
        ReadByte();
        return;
    case ValueTag::Int8:
    case ValueTag::Int16:
    case ValueTag::Int32:
        ReadInteger();
        return;
    case ValueTag::Float80:
        ReadFloat();
        return;
    case ValueTag::ShortText:
    case ValueTag::LongText:
        ReadText();
        return;
    case ValueTag::Ident:
        ReadIdent();
        return;
    case ValueTag::Binary:
        ReadBinary();
        return;
    case ValueTag::SetValue:
        ReadSetMembers();
        return;
    case ValueTag::Collection:
        ReadByte();
        while (!EndOfList()) {
            const ValueTag t = PeekTag();
            if (t == ValueTag::Int8 || t == ValueTag::Int16 || t == ValueTag::Int32)
                ReadInteger();
            ExpectTag(ValueTag::ListBegin, StreamMessage::InvalidValue);
            while (!EndOfList()) {
                ReadShortName();
                skipValue(depth + 1);
            }
            ReadByte();
        }
        ReadByte();
        return;
    }
    fail(StreamMessage::InvalidValue);
}

// ---- entries written for an object

QString SpecialEntryPath(const PropertyDecl& decl)
{
    if (decl.name.contains(QLatin1Char('.')))
        return decl.name;
    return decl.name + (decl.kind == PropKind::Binary ? QStringLiteral(".Data") : QStringLiteral(".Strings"));
}

namespace {
bool isOrdinal(PropKind k)
{
    return k == PropKind::Integer || k == PropKind::Color || k == PropKind::Cursor || k == PropKind::Enum
        || k == PropKind::Boolean || k == PropKind::Set;
}

bool isSpecial(PropKind k) { return k == PropKind::Binary || k == PropKind::Strings; }

// Set members beyond this ordinal do not travel.
constexpr int kMaxSetMembers = 32;

// Attribute objects nest a level or two; a deeper chain is a table fault.
constexpr int kMaxNestedObjects = 8;

void collectEntries(const Persistent& object, const QString& prefix, std::vector<StoredEntry>& out, int depth)
{
    for (const PropertyDecl& decl : object.Properties()) {
        if (decl.storedWhen && !decl.storedWhen(object))
            continue;
        StoredEntry e;
        e.path = prefix + decl.name;
        e.kind = decl.kind;
        if (isOrdinal(decl.kind)) {
            if (decl.readOnly || !decl.getOrdinal || !decl.setOrdinal)
                continue;
            const std::int64_t v = decl.getOrdinal(object);
            if (decl.defaultValue && *decl.defaultValue == v)
                continue;
            const auto v32 = static_cast<std::int32_t>(v);
            e.value = StoredEntry::Value::Integer;
            e.integer = v32;
            switch (decl.kind) {
            case PropKind::Color:
                if (const auto ident = ColorToIdent(v32)) {
                    e.value = StoredEntry::Value::Ident;
                    e.text = *ident;
                }
                break;
            case PropKind::Cursor:
                if (const auto ident = CursorToIdent(v32)) {
                    e.value = StoredEntry::Value::Ident;
                    e.text = *ident;
                }
                break;
            case PropKind::Enum:
                if (v >= 0 && v < decl.names.size()) {
                    e.value = StoredEntry::Value::Ident;
                    e.text = decl.names[static_cast<qsizetype>(v)];
                }
                break;
            case PropKind::Boolean:
                e.value = StoredEntry::Value::Boolean;
                e.integer = v != 0 ? 1 : 0;
                break;
            case PropKind::Set:
                e.value = StoredEntry::Value::Set;
                e.integer = 0;
                for (int i = 0; i < std::min<int>(decl.names.size(), kMaxSetMembers); ++i)
                    if (v & (std::int64_t(1) << i))
                        e.list << decl.names[i];
                break;
            default:
                break;
            }
        } else if (decl.kind == PropKind::Text || decl.kind == PropKind::Reference) {
            if (decl.readOnly || !decl.getText || !decl.setText)
                continue;
            e.text = decl.getText(object);
            if (e.text.isEmpty())
                continue;
            e.value = decl.kind == PropKind::Text ? StoredEntry::Value::Text : StoredEntry::Value::Ident;
        } else if (decl.kind == PropKind::Nested) {
            if (!decl.nested || depth >= kMaxNestedObjects)
                continue;
            // Reading the nested object's values does not change it.
            Persistent* nested = decl.nested(const_cast<Persistent&>(object));
            if (nested)
                collectEntries(*nested, e.path + QLatin1Char('.'), out, depth + 1);
            continue;
        } else if (decl.kind == PropKind::Binary) {
            if (!decl.getBinary)
                continue;
            e.binary = decl.getBinary(object);
            if (e.binary.isEmpty())
                continue;
            e.path = prefix + SpecialEntryPath(decl);
            e.value = StoredEntry::Value::Binary;
        } else if (decl.kind == PropKind::Strings) {
            if (!decl.getStrings)
                continue;
            e.list = decl.getStrings(object);
            if (e.list.isEmpty())
                continue;
            e.path = prefix + SpecialEntryPath(decl);
            e.value = StoredEntry::Value::Strings;
        } else {
            continue;
        }
        out.push_back(std::move(e));
    }
}
} // namespace

std::vector<StoredEntry> StoredEntries(const Persistent& object)
{
    std::vector<StoredEntry> out;
    collectEntries(object, QString(), out, 0);
    return out;
}

void WriteStoredEntry(TObjectWriter& w, const StoredEntry& e)
{
    w.WriteShortName(e.path);
    switch (e.value) {
    case StoredEntry::Value::Integer:
        w.WriteInteger(e.integer);
        break;
    case StoredEntry::Value::Ident:
        w.WriteIdent(e.text);
        break;
    case StoredEntry::Value::Boolean:
        w.WriteBoolean(e.integer != 0);
        break;
    case StoredEntry::Value::Set:
        w.WriteSet(e.list);
        break;
    case StoredEntry::Value::Text:
        w.WriteText(e.text);
        break;
    case StoredEntry::Value::Binary:
        w.WriteBinary(e.binary);
        break;
    case StoredEntry::Value::Strings:
        w.WriteListBegin();
        for (const QString& line : e.list)
            w.WriteText(line);
        w.WriteListEnd();
        break;
    }
}

void WriteProperties(TObjectWriter& writer, const Persistent& object)
{
    for (const StoredEntry& e : StoredEntries(object))
        WriteStoredEntry(writer, e);
}

// ---- reading one entry

namespace {
const PropertyDecl* findSpecial(const PropertyTable& table, const QString& path)
{
    for (const PropertyDecl& d : table)
        if (isSpecial(d.kind) && SpecialEntryPath(d).compare(path, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

const PropertyDecl* findDecl(const PropertyTable& table, const QString& name, bool includeSpecial)
{
    for (const PropertyDecl& d : table)
        if ((includeSpecial || !isSpecial(d.kind)) && d.name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

void readSpecial(TObjectReader& r, Persistent& object, const PropertyDecl& d)
{
    if (d.kind == PropKind::Binary) {
        if (!d.setBinary)
            fail(StreamMessage::ReadOnly);
        const QByteArray bytes = r.ReadBinary();
        d.setBinary(object, bytes);
        return;
    }
    if (!d.setStrings)
        fail(StreamMessage::ReadOnly);
    r.ExpectTag(ValueTag::ListBegin, StreamMessage::InvalidValue);
    QStringList lines;
    while (!r.EndOfList())
        lines << r.ReadText();
    r.ReadByte();
    d.setStrings(object, lines);
}

void readValue(TObjectReader& r, Persistent& object, const PropertyDecl& d, std::vector<PendingReference>* refs)
{
    if (d.kind == PropKind::Nested)
        fail(StreamMessage::InvalidValue);
    const bool ordinal = isOrdinal(d.kind);
    if (d.readOnly || (ordinal && !d.setOrdinal) || (!ordinal && !d.setText))
        fail(StreamMessage::ReadOnly);
    switch (d.kind) {
    case PropKind::Integer:
        d.setOrdinal(object, r.ReadInteger());
        return;
    case PropKind::Color:
    case PropKind::Cursor: {
        if (r.PeekTag() != ValueTag::Ident) {
            d.setOrdinal(object, r.ReadInteger());
            return;
        }
        const QString ident = r.ReadIdent();
        const auto v = d.kind == PropKind::Color ? IdentToColor(ident) : IdentToCursor(ident);
        if (!v)
            fail(StreamMessage::InvalidValue);
        d.setOrdinal(object, *v);
        return;
    }
    case PropKind::Enum:
    case PropKind::Boolean: {
        static const QStringList booleanNames = { QStringLiteral("False"), QStringLiteral("True") };
        const int i = StoredIndex(d.kind == PropKind::Boolean ? booleanNames : d.names, r.ReadIdent());
        if (i < 0)
            fail(StreamMessage::InvalidValue);
        d.setOrdinal(object, i);
        return;
    }
    case PropKind::Set: {
        std::int64_t mask = 0;
        for (const QString& m : r.ReadSetMembers()) {
            const int i = StoredIndex(d.names, m);
            if (i < 0)
                fail(StreamMessage::InvalidValue);
            if (i < kMaxSetMembers)
                mask |= std::int64_t(1) << i;
        }
        d.setOrdinal(object, mask);
        return;
    }
    case PropKind::Text:
        d.setText(object, r.ReadText());
        return;
    case PropKind::Reference: {
        if (r.PeekTag() == ValueTag::NilValue) {
            r.ReadByte();
            d.setText(object, QString());
            return;
        }
        if (r.PeekTag() != ValueTag::Ident)
            fail(StreamMessage::InvalidValue);
        const QString name = r.ReadIdent();
        if (refs)
            refs->push_back({ &object, &d, name });
        return;
    }
    default:
        fail(StreamMessage::InvalidValue);
    }
}
} // namespace

QString ReadPropertyEntry(TObjectReader& reader, Persistent& root, const QString& path,
    std::vector<PendingReference>* references)
{
    Persistent* object = &root;
    QString rest = path;
    QString declared;
    for (int depth = 0;; ++depth) {
        const PropertyTable& table = object->Properties();
        if (const PropertyDecl* special = findSpecial(table, rest)) {
            readSpecial(reader, *object, *special);
            declared += SpecialEntryPath(*special);
            break;
        }
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            const PropertyDecl* d = findDecl(table, rest, false);
            if (!d)
                fail(StreamMessage::NoProperty);
            readValue(reader, *object, *d, references);
            declared += d->name;
            break;
        }
        const QString head = rest.left(dot);
        rest = rest.mid(dot + 1);
        const PropertyDecl* d = findDecl(table, head, true);
        if (d && d->kind == PropKind::Nested && d->nested && depth < kMaxNestedObjects) {
            Persistent* nested = d->nested(*object);
            if (!nested)
                fail(StreamMessage::InvalidPath);
            declared += d->name + QLatin1Char('.');
            object = nested;
            continue;
        }
        // "Picture.Foo": the attribute object exists but has no such entry.
        if (d && isSpecial(d->kind) && !rest.contains(QLatin1Char('.')))
            fail(StreamMessage::NoProperty);
        fail(StreamMessage::InvalidPath);
    }
    root.PropertyRead(declared);
    return declared;
}

} // namespace cardora
