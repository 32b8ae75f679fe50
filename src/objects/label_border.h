#pragma once
#include <QStringList>

namespace cardora {

// The frame of labels, pictures and circle text.
enum class LabelBorder { NoBorder, Single };
const QStringList& BorderStyleNames(); // "bsNone", "bsSingle"

} // namespace cardora
