#include "core/app_folder.h"
#include "core/modal.h"
#include "main/card_picture.h"
#include "main/main_screen.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>

namespace cardora {

namespace {
QString exportName(const QString& cardFileName, const QString& fallback, const QString& extension)
{
    if (cardFileName.isEmpty())
        return ApplicationFolder() + fallback;
    return QFileInfo(cardFileName).completeBaseName() + extension;
}
} // namespace

void TMainScreen::SaveCardToBitmap(const QString& path, bool jpeg)
{
    const bool border = Ask("Would you like to draw a border around the card?", "Save");
    BusyOn();
    try {
        panel_->update();
        QCoreApplication::processEvents();
        const QImage image = RenderCardPicture(*panel_, border);
        QImageWriter writer(path, jpeg ? "jpeg" : "bmp");
        if (jpeg)
            writer.setQuality(80);
        writer.write(image.convertToFormat(QImage::Format_RGB32));
        changesMade_ = false;
    } catch (...) {
        // An export that fails is not reported; "Saved as" still follows.
    }
    panel_->update();
    BusyOff();
    QCoreApplication::processEvents();
    Setbuttons();
}

void TMainScreen::exportCard(bool jpeg)
{
    panel_->SetZoom(1.0f);
    QCoreApplication::processEvents();
    ShowZoomCaption();
    FileDialogRequest r;
    r.save = true;
    r.title = jpeg ? "Save Card As JPG" : "Save Card As Bitmap";
    r.filter = jpeg ? "JPG File (*.JPG *.jpg)" : "Bitmap File (*.BMP *.bmp)";
    r.defaultExt = jpeg ? "JPG" : "BMP";
    r.folder = ApplicationFolder();
    r.fileName = jpeg ? exportName(cardFileName_, "BusinessCard.JPG", ".JPG")
                      : exportName(cardFileName_, "BusinessCard.Bmp", ".BMP");
    r.overwritePrompt = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    SaveCardToBitmap(path, jpeg);
    Inform("Saved as " + path);
}

void TMainScreen::mnuSaveAsBitmapClick() { exportCard(false); }
void TMainScreen::mnuSaveAsJPGClick() { exportCard(true); }

} // namespace cardora
