#pragma once
#include <QByteArray>
#include <vector>

namespace cardora {

enum class QrLevel { L, M, Q, H };

// The modules of a QR code, row by row, without the quiet zone.
struct QrMatrix {
    int size = 0; // modules on a side; 0 when the content did not fit
    std::vector<bool> dark;
    bool Dark(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
    bool IsEmpty() const { return size == 0; }
};

// The smallest QR code that holds `text` (UTF-8) at `level`: plain ASCII with
// runs of digits and capitals in their shorter modes, other text as bytes
// marked UTF-8. Empty when it does not fit in the largest code at that level.
QrMatrix EncodeQr(const QByteArray& text, QrLevel level);

} // namespace cardora
