#include "main/export_commands.h"
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "imaging/picture_file.h"
#include "main/card_export.h"
#include "main/card_picture.h"
#include "main/card_sidecar.h"
#include "main/export_dialog.h"
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

ExportCommands::ExportCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("mnuSaveAsBitmap", "Save As Bitmap", [this] { saveAsBitmap(); });
    addAction("mnuSaveAsJPG", "Save As JPG", [this] { saveAsJpeg(); });
    addAction("mnuExport", "Expo&rt...", [this] { exportCard(); });
}

bool ExportCommands::saveCardPicture(const QString& path, bool jpeg, QString* error)
{
    const bool border = Ask("Would you like to draw a border around the card?", "Save");
    CardFileState& card = context_.card();
    // The card file and its background art are never replaced by a picture.
    QStringList inputs;
    if (!card.fileName.isEmpty())
        inputs << card.fileName << SidecarFileName(card.fileName);
    if (!card.backgroundArt.isEmpty())
        inputs << card.backgroundArt;
    const QString refusal = CheckOutputFile(path, inputs);
    if (!refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    BusyOn();
    bool saved = false;
    try {
        context_.panel().update();
        QCoreApplication::processEvents();
        const QImage image = RenderCardPicture(context_.panel(), border);
        // Written whole or not at all: a failed export leaves the old file.
        saved = WritePictureFile(image, path, 80, error, jpeg ? "jpeg" : "bmp");
        if (saved)
            card.changesMade = false;
    } catch (...) {
        if (error)
            *error = "Cannot write file " + path;
    }
    context_.panel().update();
    BusyOff();
    QCoreApplication::processEvents();
    context_.cardStateChanged();
    return saved;
}

void ExportCommands::savePicture(bool jpeg)
{
    // The picture is the card at its own size, whatever the view's zoom.
    FileDialogRequest r;
    r.save = true;
    r.title = jpeg ? "Save Card As JPG" : "Save Card As Bitmap";
    r.filter = jpeg ? "JPG File (*.JPG *.jpg)" : "Bitmap File (*.BMP *.bmp)";
    r.defaultExt = jpeg ? "JPG" : "BMP";
    r.folder = CardFolder(context_);
    const QString& fileName = context_.card().fileName;
    r.fileName = jpeg ? exportName(fileName, "BusinessCard.JPG", ".JPG") : exportName(fileName, "BusinessCard.Bmp", ".BMP");
    r.overwritePrompt = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    QString error;
    if (saveCardPicture(path, jpeg, &error))
        Inform("Saved as " + path);
    else
        MessageDlg(error, "Error", MessageStyle::Error);
}

void ExportCommands::exportCard()
{
    IniFile ini(PreferencesFileName());
    const QSizeF cardInches(context_.preferences().Layout.Width, context_.preferences().Layout.Height);
    const QString& fileName = context_.card().fileName;
    TExportDialog dialog(cardInches, context_.dialogParent());
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
        folder = CardFolder(context_);
    FileDialogRequest r;
    r.save = true;
    r.title = "Export Card";
    r.filter = QString("%1 File (*.%2 *.%3)").arg(extension.toUpper(), extension, extension.toUpper());
    r.defaultExt = extension;
    r.folder = folder;
    r.fileName = (fileName.isEmpty() ? QString("BusinessCard") : QFileInfo(fileName).completeBaseName()) + "." + extension;
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
    options.CardInches = cardInches;
    options.JpegQuality = 80;
    WriteCardOutput(context_, path,
        [&](const QStringList& inputs) { return WriteCardExport(context_.panel(), options, path, inputs); });
}

void ExportCommands::saveAsBitmap() { savePicture(false); }
void ExportCommands::saveAsJpeg() { savePicture(true); }

} // namespace cardora
