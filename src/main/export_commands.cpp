#include "core/app_folder.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/card_picture.h"
#include "main/main_screen.h"
#include "surface/card_panel.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
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

bool TMainScreen::SaveCardToBitmap(const QString& path, bool jpeg)
{
    const bool border = Ask("Would you like to draw a border around the card?", "Save");
    // The card file and its background art are never replaced by a picture.
    QStringList inputs;
    if (!cardFileName_.isEmpty())
        inputs << cardFileName_ << SidecarFileName(cardFileName_);
    if (!backgroundArtPath_.isEmpty())
        inputs << backgroundArtPath_;
    QString error = CheckOutputFile(path, inputs);
    BusyOn();
    if (error.isEmpty()) {
        panel_->update();
        QCoreApplication::processEvents();
        const QImage image = RenderCardPicture(*panel_, border);
        QBuffer encoded;
        encoded.open(QIODevice::WriteOnly);
        QImageWriter writer(&encoded, jpeg ? "jpeg" : "bmp");
        if (jpeg)
            writer.setQuality(80);
        if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
            error = "Cannot create file " + QDir::toNativeSeparators(path) + ": " + writer.errorString();
        else
            error = WriteFileSafely(path, encoded.data());
    }
    if (error.isEmpty())
        changesMade_ = false;
    panel_->update();
    BusyOff();
    QCoreApplication::processEvents();
    Setbuttons();
    if (!error.isEmpty())
        Inform(error);
    return error.isEmpty();
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
    if (SaveCardToBitmap(path, jpeg))
        Inform("Saved as " + path);
}

void TMainScreen::mnuSaveAsBitmapClick() { exportCard(false); }
void TMainScreen::mnuSaveAsJPGClick() { exportCard(true); }

} // namespace cardora
