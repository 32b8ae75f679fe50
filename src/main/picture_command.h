#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// cardora-cli picture IN OUT [--width W --height H]: reads a picture file as
// the image browser does and writes it as OUT's type. On success the JSON
// line for standard output is set; otherwise the error message.
bool RunPictureCommand(const QStringList& args, QString* json, QString* error);

} // namespace cardora
