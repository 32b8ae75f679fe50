#include "imaging/qr_encode.h"
#include <qrencode.h>
#include <algorithm>

namespace cardora {

QrMatrix EncodeQr(const QByteArray& text, QrLevel level)
{
    static const QRecLevel levels[] = { QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H };
    QrMatrix m;
    // The string form splits digits and capitals into their own modes; it
    // stops at a NUL, which a card text never needs.
    QByteArray bytes = text;
    bytes.replace('\0', QByteArray());
    if (bytes.isEmpty())
        return m;
    QRcode* code = nullptr;
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) == 0; });
    if (ascii) {
        code = QRcode_encodeString(bytes.constData(), 0, levels[int(level)], QR_MODE_8, 1);
    } else if (QRinput* input = QRinput_new2(0, levels[int(level)])) {
        // Other characters are declared UTF-8 (ECI 26): without it readers
        // guess, and some guess Latin-1 or Shift JIS.
        if (QRinput_appendECIheader(input, 26) == 0
            && QRinput_append(input, QR_MODE_8, int(bytes.size()),
                   reinterpret_cast<const unsigned char*>(bytes.constData())) == 0)
            code = QRcode_encodeInput(input);
        QRinput_free(input);
    }
    if (!code)
        return m;
    m.size = code->width;
    m.dark.resize(std::size_t(code->width) * std::size_t(code->width));
    for (std::size_t i = 0; i < m.dark.size(); ++i)
        m.dark[i] = code->data[i] & 1;
    QRcode_free(code);
    return m;
}

} // namespace cardora
