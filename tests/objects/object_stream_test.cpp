#include "core/ident_tables.h"
#include "core/object_stream.h"
#include "stream_bytes.h"
#include <QIODevice>
#include <cstring>
#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::Bytes;

namespace {

QString readError(const QByteArray& data, const std::function<void(TObjectReader&)>& read)
{
    TObjectReader r(data);
    try {
        read(r);
    } catch (const EObjectStreamError& e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

// A memory device that records the largest read it was asked for; either
// seekable or a plain sequential source.
class WatchedDevice : public QIODevice {
public:
    WatchedDevice(const QByteArray& data, bool sequential) : data_(data), sequential_(sequential)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return sequential_; }
    qint64 size() const override { return sequential_ ? bytesAvailable() : data_.size(); }
    qint64 LargestRequest = 0;

protected:
    qint64 readData(char* out, qint64 maxSize) override
    {
        LargestRequest = std::max(LargestRequest, maxSize);
        const qint64 offset = sequential_ ? consumed_ : pos();
        const qint64 n = std::min<qint64>(maxSize, data_.size() - offset);
        if (n <= 0)
            return -1;
        std::memcpy(out, data_.constData() + offset, static_cast<size_t>(n));
        consumed_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    bool sequential_;
    qint64 consumed_ = 0;
};

} // namespace

TEST(ObjectStream, IntegersTakeTheNarrowestWidth)
{
    struct Case {
        std::int32_t value;
        QByteArray bytes;
    };
    const Case cases[] = {
        { 0, QByteArray("\x02\x00", 2) },
        { 127, QByteArray("\x02\x7F", 2) },
        { -128, QByteArray("\x02\x80", 2) },
        { 128, QByteArray("\x03\x80\x00", 3) },
        { 200, QByteArray("\x03\xC8\x00", 3) },
        { -129, QByteArray("\x03\x7F\xFF", 3) },
        { 32767, QByteArray("\x03\xFF\x7F", 3) },
        { -32768, QByteArray("\x03\x00\x80", 3) },
        { 32768, QByteArray("\x04\x00\x80\x00\x00", 5) },
        { -32769, QByteArray("\x04\xFF\x7F\xFF\xFF", 5) },
        { INT32_MIN, QByteArray("\x04\x00\x00\x00\x80", 5) },
    };
    for (const Case& c : cases) {
        TObjectWriter w;
        w.WriteInteger(c.value);
        EXPECT_EQ(w.Data().toHex(), c.bytes.toHex()) << c.value;
        TObjectReader r(w.Data());
        EXPECT_EQ(r.ReadInteger(), c.value);
    }
}

TEST(ObjectStream, TextsAndNames)
{
    TObjectWriter w;
    w.WriteText(QString(255, 'a'));
    ASSERT_EQ(w.Data().size(), 2 + 255);
    EXPECT_EQ(w.Data()[0], 0x06);
    EXPECT_EQ(static_cast<std::uint8_t>(w.Data()[1]), 255);

    TObjectWriter w2;
    w2.WriteText(QString(256, 'b'));
    ASSERT_EQ(w2.Data().size(), 5 + 256);
    EXPECT_EQ(w2.Data().left(5).toHex(), QByteArray("0c00010000"));
    TObjectReader r2(w2.Data());
    EXPECT_EQ(r2.ReadText(), QString(256, 'b'));

    // Names are cut to 255 bytes, texts are not.
    TObjectWriter w3;
    w3.WriteShortName(QString(300, 'n'));
    EXPECT_EQ(w3.Data().size(), 256);
    EXPECT_EQ(static_cast<std::uint8_t>(w3.Data()[0]), 255);
    TObjectReader r3(w3.Data());
    EXPECT_EQ(r3.ReadShortName(), QString(255, 'n'));

    // Identifiers spelled like the boolean and nil values use their tags.
    TObjectWriter w4;
    w4.WriteIdent("false");
    w4.WriteIdent("TRUE");
    w4.WriteIdent("Nil");
    w4.WriteIdent("clRed");
    EXPECT_EQ(w4.Data(), Bytes().Byte(0x08).Byte(0x09).Byte(0x0D).Byte(0x07).Name("clRed").Data());
    TObjectReader r4(w4.Data());
    EXPECT_EQ(r4.ReadIdent(), "False");
    EXPECT_EQ(r4.ReadIdent(), "True");
    EXPECT_EQ(r4.ReadIdent(), "nil");
    EXPECT_EQ(r4.ReadIdent(), "clRed");
}

TEST(ObjectStream, Windows1252OnDisk)
{
    // Every byte decodes as the code page does and encodes back unchanged.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString decoded = FromWindows1252(all);
    QStringDecoder qtDecoder("windows-1252");
    if (qtDecoder.isValid())
        EXPECT_EQ(decoded, qtDecoder.decode(all));
    EXPECT_EQ(decoded[0x80], QChar(0x20AC));
    EXPECT_EQ(decoded[0x9F], QChar(0x0178));
    EXPECT_EQ(ToWindows1252(decoded), all);
    // Characters outside the code page become '?', one per character.
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("a\xE4\xB8\x80z\xF0\x9F\x98\x80!")), QByteArray("a?z?!"));

    TObjectWriter w;
    w.WriteText(QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(w.Data(), QByteArray("\x06\x06" "Caf\xE9 \x80"));
}

TEST(ObjectStream, SetsBinaryFloatAndSkipping)
{
    TObjectWriter w;
    w.WriteSet({});
    w.WriteSet({ "fsBold", "fsUnderline" });
    w.WriteBinary(QByteArray("\x00\x01\x02", 3));
    w.WriteFloat(1.5);
    w.WriteFloat(-2.25e10);
    EXPECT_EQ(w.Data().left(2).toHex(), QByteArray("0b00"));
    EXPECT_EQ(w.Data().mid(2, 21), Bytes().Byte(0x0B).Name("fsBold").Name("fsUnderline").Byte(0).Data());
    TObjectReader r(w.Data());
    EXPECT_TRUE(r.ReadSetMembers().isEmpty());
    EXPECT_EQ(r.ReadSetMembers(), QStringList({ "fsBold", "fsUnderline" }));
    EXPECT_EQ(r.ReadBinary(), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(r.ReadFloat(), 1.5);
    EXPECT_EQ(r.ReadFloat(), -2.25e10);

    // 1.0 in 80-bit extended form, as other writers produce it.
    TObjectReader one(QByteArray("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F", 11));
    EXPECT_EQ(one.ReadFloat(), 1.0);

    // Every tag can be passed over, a collection and nested lists included.
    const QByteArray values = Bytes()
                                  .Byte(0x01).Byte(0x02).Byte(5).Byte(0x01).Byte(0x08).Byte(0x00).Byte(0x00)
                                  .Byte(0x0E).Byte(0x02).Byte(0).Byte(0x01).Name("Width").Byte(0x03).Byte(1).Byte(0)
                                  .Byte(0x00).Byte(0x01).Byte(0x00).Byte(0x00)
                                  .Byte(0x0D).Byte(0x09).Byte(0x0C).Int32(2).Raw("ab").Byte(0x07).Name("x")
                                  .Byte(0x7F);
    TObjectReader s(values);
    for (int i = 0; i < 6; ++i)
        s.SkipValue();
    EXPECT_EQ(s.ReadByte(), 0x7F);
}

TEST(ObjectStream, ReaderMessages)
{
    auto integer = [](TObjectReader& r) { r.ReadInteger(); };
    auto text = [](TObjectReader& r) { r.ReadText(); };
    EXPECT_EQ(readError(QByteArray("\x06\x01x", 3), integer), "Invalid property value");
    EXPECT_EQ(readError(QByteArray("\x07\x01x", 3), text), "Invalid property value");
    EXPECT_EQ(readError(QByteArray("\x03\x01", 2), integer), "Stream read error");
    EXPECT_EQ(readError(QByteArray(), integer), "Stream read error");
    EXPECT_EQ(readError(QByteArray("\x06\x05" "abc", 5), text), "Stream read error");
    EXPECT_EQ(readError("TPFX", [](TObjectReader& r) { r.ReadSignature(); }), "Invalid stream format");
    EXPECT_EQ(readError(QByteArray("\x0F", 1), [](TObjectReader& r) { r.SkipValue(); }),
        "Invalid property value");
    // Lists nested beyond any card file are refused, not recursed into.
    EXPECT_EQ(readError(QByteArray(100000, '\x01'), [](TObjectReader& r) { r.SkipValue(); }),
        "Invalid property value");
}

TEST(ObjectStream, LengthFieldsAreNeverTrusted)
{
    const QByteArray claims[] = {
        Bytes().Byte(0x0C).Int32(0x7FFFFFFF).Raw("short"),
        Bytes().Byte(0x0C).Int32(0xFFFFFFFF).Raw("short"),
        Bytes().Byte(0x0A).Int32(0xFFFFFFF0).Raw("short"),
        Bytes().Byte(0x0A).Int32(0x80000000).Raw("short"),
    };
    for (const QByteArray& data : claims) {
        for (bool sequential : { false, true }) {
            WatchedDevice device(data, sequential);
            TObjectReader r(device);
            try {
                r.SkipValue();
                ADD_FAILURE() << "no error for " << data.toHex().constData() << (sequential ? " (sequential)" : "");
            } catch (const EObjectStreamError& e) {
                EXPECT_EQ(e.Message(), "Stream read error");
            }
            // A seekable stream is checked before reading; a sequential one
            // is read in bounded pieces.
            EXPECT_LE(device.LargestRequest, sequential ? (1 << 20) : 4);
        }
    }
}

TEST(ObjectStream, IdentifierTables)
{
    EXPECT_EQ(ColorIdentTable.size(), 42u);
    EXPECT_EQ(CursorIdentTable.size(), 20u);
    EXPECT_EQ(ColorToIdent(0x808080).value_or(""), "clGray");
    EXPECT_EQ(ColorToIdent(static_cast<std::int32_t>(0x80000018)).value_or(""), "clInfoBk");
    EXPECT_EQ(ColorToIdent(0x1FFFFFFF).value_or(""), "clNone");
    EXPECT_FALSE(ColorToIdent(0x123456));
    EXPECT_EQ(IdentToColor("CLFUCHSIA").value_or(0), 0xFF00FF);
    EXPECT_EQ(CursorToIdent(-5).value_or(""), "crSize");
    EXPECT_FALSE(CursorToIdent(-1));
    EXPECT_EQ(IdentToCursor("crhelp").value_or(0), -20);
    // Each value names one identifier and back.
    for (const IdentEntry& e : ColorIdentTable)
        EXPECT_EQ(IdentToColor(ColorToIdent(e.value).value()).value(), e.value) << e.name;
    for (const IdentEntry& e : CursorIdentTable)
        EXPECT_EQ(CursorToIdent(e.value).value(), QLatin1String(e.name));
}
