#pragma once
#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace cardora {

// Little-endian reads over bytes from a file. Every read is checked against
// what remains; a read past the end sets the failed flag and yields zero, so
// decoders can read a whole header and test once.
class ByteReader {
public:
    ByteReader(const char* data, qsizetype size) : data_(data), size_(size) {}
    explicit ByteReader(const QByteArray& bytes) : ByteReader(bytes.constData(), bytes.size()) {}

    qsizetype Pos() const { return pos_; }
    qsizetype Size() const { return size_; }
    qsizetype Remaining() const { return size_ - pos_; }
    bool Failed() const { return failed_; }
    bool AtEnd() const { return pos_ >= size_; }
    const char* Here() const { return data_ + pos_; }

    void Seek(qsizetype pos)
    {
        if (pos < 0 || pos > size_) {
            failed_ = true;
            pos_ = size_;
        } else {
            pos_ = pos;
        }
    }
    bool Skip(qsizetype n)
    {
        if (n < 0 || n > Remaining()) {
            failed_ = true;
            pos_ = size_;
            return false;
        }
        pos_ += n;
        return true;
    }
    uint8_t U8() { return static_cast<uint8_t>(read(1)); }
    uint16_t U16() { return static_cast<uint16_t>(read(2)); }
    int16_t S16() { return static_cast<int16_t>(read(2)); }
    uint32_t U32() { return static_cast<uint32_t>(read(4)); }
    int32_t S32() { return static_cast<int32_t>(read(4)); }
    float F32()
    {
        const uint32_t v = U32();
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
    }
    // A view of the next n bytes, or an empty array when fewer remain.
    QByteArray Bytes(qsizetype n)
    {
        if (n < 0 || n > Remaining()) {
            failed_ = true;
            pos_ = size_;
            return {};
        }
        QByteArray out(data_ + pos_, n);
        pos_ += n;
        return out;
    }

private:
    uint64_t read(int n)
    {
        if (Remaining() < n) {
            failed_ = true;
            pos_ = size_;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= uint64_t(static_cast<uint8_t>(data_[pos_ + i])) << (8 * i);
        pos_ += n;
        return v;
    }

    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    bool failed_ = false;
};

// Decoded pictures larger than this are refused before any memory is taken.
constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr int kMaxPictureSide = 32767;

inline bool PictureSizeAcceptable(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

} // namespace cardora
