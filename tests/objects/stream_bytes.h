#pragma once
#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace cardora::test {

// Builds object stream bytes by hand for expected and crafted inputs.
class Bytes {
public:
    Bytes& Byte(int b)
    {
        data_.append(static_cast<char>(b));
        return *this;
    }
    Bytes& Raw(const QByteArray& raw)
    {
        data_.append(raw);
        return *this;
    }
    // A short name: length byte and text.
    Bytes& Name(const QByteArray& text)
    {
        data_.append(static_cast<char>(text.size()));
        data_.append(text);
        return *this;
    }
    Bytes& Int32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data_.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    // An object header: "TPF0", class, name.
    Bytes& Header(const QByteArray& className, const QByteArray& name)
    {
        return Raw("TPF0").Name(className).Name(name);
    }
    const QByteArray& Data() const { return data_; }
    operator QByteArray() const { return data_; }

private:
    QByteArray data_;
};

} // namespace cardora::test
