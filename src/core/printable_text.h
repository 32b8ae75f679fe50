#pragma once
#include <QString>

namespace cardora {

// Text from a file made fit for a message: control characters, line and
// paragraph separators and invisible format characters (which could break
// a one-line message, drive a terminal or reorder what is shown) appear as
// escapes such as \n, \x1B or \u202E. Everything else stays as it is.
QString PrintableText(const QString& text);

} // namespace cardora
