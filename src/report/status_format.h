#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// The status line of a running report: %p is the current page, %0 to %9 the
// lines of the status text (empty when there is no such line), %% a percent
// sign. Any other % sequence is kept as it is.
QString ExpandStatusFormat(const QString& format, int currentPage, const QStringList& lines);

} // namespace cardora
