#pragma once
#include "main/command_context.h"

namespace cardora {

// File › Save As Bitmap, Save As JPG and Export...: the card as a picture,
// PDF or SVG file.
class ExportCommands : public CommandFamily {
    Q_OBJECT
public:
    ExportCommands(CommandContext& context, QObject* parent);

    void saveAsBitmap();
    void saveAsJpeg();
    // PNG, JPEG, BMP at a chosen resolution, PDF or SVG.
    void exportCard();
    // False with the reason when the picture could not be written.
    bool saveCardPicture(const QString& path, bool jpeg, QString* error = nullptr);

private:
    void savePicture(bool jpeg);
};

} // namespace cardora
