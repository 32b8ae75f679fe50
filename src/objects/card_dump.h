#pragma once
#include <QByteArray>
#include <vector>

namespace cardora {

class TQGraphicControl;

// The objects as readable JSON, entry for entry what saving writes:
//   {"objects": [{"class": "TQLineShape", "name": "Component0",
//     "properties": [["Left", 20], ["Top", 30], ...]}, ...]}
// on one line, without a final newline. Integers are numbers; identifiers
// (enumeration names, colour and cursor identifiers) strings; booleans true
// and false; texts strings; sets arrays of member names; Binary entries
// {"binary": N} with N the payload's byte count; string lists arrays.
QByteArray DumpCardJson(const std::vector<TQGraphicControl*>& objects);

} // namespace cardora
