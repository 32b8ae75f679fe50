#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "imaging/picture_file.h"
#include "main/card_export.h"
#include "main/export_dialog.h"
#include "main/card_picture.h"
#include "main/card_sidecar.h"
#include "main/main_window.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace cardora {

namespace {
QString exportName(const QString& cardFileName, const QString& fallback, const QString& extension)
{
    if (cardFileName.isEmpty())
        return ApplicationFolder() + fallback;
    return QFileInfo(cardFileName).completeBaseName() + extension;
}
} // namespace

bool MainWindow::SaveCardToBitmap(const QString& path, bool jpeg, QString* error)
{
    const bool border = Ask("Would you like to draw a border around the card?", "Save");
    // The card file and its background art are never replaced by a picture.
    QStringList inputs;
    if (!cardFileName_.isEmpty())
        inputs << cardFileName_ << SidecarFileName(cardFileName_);
    if (!backgroundArtPath_.isEmpty())
        inputs << backgroundArtPath_;
    const QString refusal = CheckOutputFile(path, inputs);
    if (!refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
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

void MainWindow::exportCard(bool jpeg)
{
    panel_->SetZoom(1.0f);
    QCoreApplication::processEvents();
    ShowZoomCaption();
    FileDialogRequest r;
    r.save = true;
    r.title = jpeg ? "Save Card As JPG" : "Save Card As Bitmap";
    r.filter = jpeg ? "JPG File (*.JPG *.jpg)" : "Bitmap File (*.BMP *.bmp)";
    r.defaultExt = jpeg ? "JPG" : "BMP";
    r.folder = CardFolder();
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

void MainWindow::mnuExportClick()
{
    IniFile ini(PreferencesFileName());
    TExportDialog dialog(QSizeF(CardLayout().Width, CardLayout().Height), this);
    const auto remembered = CardExportFormatFor("card." + ini.ReadString("Export", "Format", "png"));
    dialog.SetFormat(remembered.value_or(TCardExportFormat::Png));
    dialog.SetDpi(std::clamp(ini.ReadInteger("Export", "Dpi", 300), TExportDialog::kMinDpi, TExportDialog::kMaxDpi));
    dialog.SetBorder(ini.ReadBool("Export", "Border", false));
    if (ExecModal(dialog) != mrOk)
        return;
    const TCardExportFormat format = dialog.Format();
    const QString extension = CardExportExtension(format);
    ini.WriteString("Export", "Format", extension);
    ini.WriteInteger("Export", "Dpi", dialog.Dpi());
    ini.WriteBool("Export", "Border", dialog.Border());
    ini.Flush();

    QString folder = ini.ReadString("Export", "Folder", QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = CardFolder();
    FileDialogRequest r;
    r.save = true;
    r.title = "Export Card";
    r.filter = QString("%1 File (*.%2 *.%3)").arg(extension.toUpper(), extension, extension.toUpper());
    r.defaultExt = extension;
    r.folder = folder;
    r.fileName = (cardFileName_.isEmpty() ? QString("BusinessCard") : QFileInfo(cardFileName_).completeBaseName())
        + "." + extension;
    r.overwritePrompt = true;
    QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += "." + extension;
    ini.WriteString("Export", "Folder", QFileInfo(path).absolutePath());
    ini.Flush();

    TCardExport options;
    options.Format = format;
    options.Dpi = dialog.Dpi();
    options.Border = dialog.Border();
    options.CardInches = QSizeF(CardLayout().Width, CardLayout().Height);
    options.JpegQuality = 80;
    writeCardFile(path, [&](const QStringList& inputs) { return WriteCardExport(*panel_, options, path, inputs); });
}

void MainWindow::writeCardFile(const QString& path, const std::function<QString(const QStringList&)>& write)
{
    // The card is drawn at its true size whatever the zoom; the zoom is the
    // window's, and drawing changes nothing of the card.
    const bool suppressed = suppressChanges_;
    suppressChanges_ = true;
    BusyOn();
    QStringList inputs { cardFileName_, backgroundArtPath_ };
    inputs.removeAll(QString());
    const QString error = write(inputs);
    BusyOff();
    suppressChanges_ = suppressed;
    ShowZoomCaption();
    panel_->update();
    if (error.isEmpty())
        Inform("Saved as " + path);
    else
        MessageDlg(error, "Error", MessageStyle::Error);
}

void MainWindow::mnuSaveAsBitmapClick() { exportCard(false); }
void MainWindow::mnuSaveAsJPGClick() { exportCard(true); }

} // namespace cardora
