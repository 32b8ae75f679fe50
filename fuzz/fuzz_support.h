#pragma once
// What the reader fuzz targets share: an application on the offscreen
// platform (fonts and painting need one) and the input as bytes.
#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

namespace cardora::fuzz {

inline void StartOffscreenApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}

// The fuzzer's bytes, not copied.
inline QByteArray Input(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace cardora::fuzz
