#pragma once
#include "core/persistent.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class QIODevice;

namespace cardora {

// Card file texts are single-byte Windows-1252 on disk and QString in memory.
// Every byte maps to one character and back; characters outside the code page
// are written as '?'.
QString FromWindows1252(const QByteArray& bytes);
QByteArray ToWindows1252(const QString& text);

// The tag byte in front of every value of the object stream.
enum class ValueTag : std::uint8_t {
    ListEnd = 0x00,
    ListBegin = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Float80 = 0x05,
    ShortText = 0x06,
    Ident = 0x07,
    FalseValue = 0x08,
    TrueValue = 0x09,
    Binary = 0x0A,
    SetValue = 0x0B,
    LongText = 0x0C,
    NilValue = 0x0D,
    Collection = 0x0E,
};

// The reader's messages, shown to the user as they are.
namespace StreamMessage {
inline constexpr const char* InvalidFormat = "Invalid stream format";
inline constexpr const char* ClassNotFound = "Class %1 not found";
inline constexpr const char* InvalidValue = "Invalid property value";
inline constexpr const char* InvalidPath = "Invalid property path";
inline constexpr const char* NoProperty = "Property does not exist";
inline constexpr const char* ReadOnly = "Property is read-only";
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* InvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* AncestorNotFound = "Ancestor for '%1' not found";
inline constexpr const char* CannotOpen = "Cannot open file %1";
inline constexpr const char* CannotCreate = "Cannot create file %1";
} // namespace StreamMessage

// A failure of the object stream itself; the card filer passes its message on.
class EObjectStreamError : public std::runtime_error {
public:
    explicit EObjectStreamError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString Message() const { return message_; }

private:
    QString message_;
};

// Appends tagged values to a byte array.
class TObjectWriter {
public:
    TObjectWriter() = default;
    const QByteArray& Data() const { return data_; }

    void WriteByte(std::uint8_t b) { data_.append(static_cast<char>(b)); }
    void WriteTag(ValueTag t) { WriteByte(static_cast<std::uint8_t>(t)); }
    void WriteListBegin() { WriteTag(ValueTag::ListBegin); }
    void WriteListEnd() { WriteTag(ValueTag::ListEnd); }
    void WriteSignature() { data_.append("TPF0", 4); }
    // One length byte and at most 255 bytes of text.
    void WriteShortName(const QString& name);
    // Int8, Int16 or Int32, the narrowest that holds the value.
    void WriteInteger(std::int32_t value);
    // ShortText below 256 bytes, LongText from 256 on.
    void WriteText(const QString& text);
    // "False", "True" and "nil" travel as their own tags.
    void WriteIdent(const QString& ident);
    void WriteBoolean(bool value) { WriteTag(value ? ValueTag::TrueValue : ValueTag::FalseValue); }
    // SetValue, the member names, the empty name.
    void WriteSet(const QStringList& members);
    void WriteBinary(const QByteArray& bytes);
    void WriteFloat(double value);

private:
    void writeInt32(std::int32_t v);
    QByteArray data_;
};

// Reads tagged values from a device, or from bytes in memory. No length read
// from the stream is trusted: a count beyond what remains fails with
// "Stream read error" before anything is allocated for it.
class TObjectReader {
public:
    explicit TObjectReader(QIODevice& device);
    explicit TObjectReader(const QByteArray& data);
    ~TObjectReader();
    TObjectReader(const TObjectReader&) = delete;
    TObjectReader& operator=(const TObjectReader&) = delete;

    std::uint8_t ReadByte();
    std::uint8_t PeekByte();
    // Bytes still to come, or -1 when the device cannot tell.
    qint64 Remaining() const;
    QByteArray ReadBytes(qint64 count);

    ValueTag ReadTag() { return static_cast<ValueTag>(ReadByte()); }
    ValueTag PeekTag() { return static_cast<ValueTag>(PeekByte()); }
    // True when the next byte ends a list; the byte is not consumed.
    bool EndOfList() { return PeekByte() == 0; }
    // Consumes the tag when it is the expected one, else fails with `message`.
    void ExpectTag(ValueTag expected, const char* message);
    void ReadSignature();

    QString ReadShortName();
    // Int8, Int16 or Int32; other tags fail with "Invalid property value".
    std::int32_t ReadInteger();
    // ShortText or LongText only.
    QString ReadText();
    // Ident, or FalseValue/TrueValue/NilValue read as "False"/"True"/"nil".
    QString ReadIdent();
    // SetValue and its member names.
    QStringList ReadSetMembers();
    QByteArray ReadBinary();
    // Float80, or any integer value converted.
    double ReadFloat();
    // Passes over one value of any tag.
    void SkipValue();

private:
    void skipValue(int depth);
    std::unique_ptr<QIODevice> owned_;
    QIODevice* device_ = nullptr;
};

// One entry that saving writes for an object, in writing order. The binary
// writer and the readable dump both consume these, so they always agree.
struct StoredEntry {
    enum class Value { Integer, Ident, Boolean, Set, Text, Binary, Strings };
    QString path;                 // "Left", "Pen.Width", "Picture.Data"
    PropKind kind = PropKind::Integer;
    Value value = Value::Integer;
    std::int32_t integer = 0;     // Integer; Boolean as 0/1
    QString text;                 // Ident, Text
    QStringList list;             // Set member names, Strings lines
    QByteArray binary;            // Binary payload
};

// The entries saving writes for `object` (the object header excluded):
// defaults, empty texts, unstored and read-only properties left out, nested
// attribute objects with their dotted paths. A Binary or Strings declaration
// named "Picture" gives the entry "Picture.Data" / "Items.Strings"; a name
// that already holds a "." is used as it is.
std::vector<StoredEntry> StoredEntries(const Persistent& object);
void WriteStoredEntry(TObjectWriter& writer, const StoredEntry& entry);
// Every entry of StoredEntries, without the closing ListEnd.
void WriteProperties(TObjectWriter& writer, const Persistent& object);
// The entry path of a Binary or Strings declaration.
QString SpecialEntryPath(const PropertyDecl& decl);

// A component reference read from the stream, resolved after the last object.
struct PendingReference {
    Persistent* target = nullptr;
    const PropertyDecl* decl = nullptr;
    QString name;
};

// Reads the value of the entry `path` into `object` (after its path was
// read), then tells the object through PropertyRead. Returns the path spelt as
// declared. References go to `references`; without a list they are ignored.
QString ReadPropertyEntry(TObjectReader& reader, Persistent& object, const QString& path,
    std::vector<PendingReference>* references = nullptr);

} // namespace cardora
