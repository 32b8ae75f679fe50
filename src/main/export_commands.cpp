#include "core/app_folder.h"
#include "core/modal.h"
#include "imaging/picture_file.h"
#include "main/card_picture.h"
#include "main/main_screen.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QFileInfo>

namespace cardora {

namespace {
QString exportName(const QString& cardFileName, const QString& fallback, const QString& extension)
{
    if (cardFileName.isEmpty())
        return ApplicationFolder() + fallback;
    return QFileInfo(cardFileName).completeBaseName() + extension;
}
} // namespace

bool TMainScreen::SaveCardToBitmap(const QString& path, bool jpeg, QString* error)
{
    const bool border = Ask("Would you like to draw a border around the card?", "Save");
    BusyOn();
    bool saved = false;
    try {
        panel_->update();
        QCoreApplication::processEvents();
        const QImage image = RenderCardPicture(*panel_, border);
        // Written whole or not at all: a failed export leaves the old file.
        saved = WritePictureFile(image, path, 80, error, jpeg ? "jpeg" : "bmp");
        if (saved)
            changesMade_ = false;
    } catch (...) {
        if (error)
            *error = "Cannot write file " + path;
    }
    panel_->update();
    BusyOff();
    QCoreApplication::processEvents();
    Setbuttons();
    return saved;
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
    QString error;
    if (SaveCardToBitmap(path, jpeg, &error))
        Inform("Saved as " + path);
    else
        MessageDlg(error, "Error", MessageStyle::Error);
}

void TMainScreen::mnuSaveAsBitmapClick() { exportCard(false); }
void TMainScreen::mnuSaveAsJPGClick() { exportCard(true); }

} // namespace cardora
