// File › Export for Print Shop, Edit › Print Shop Settings and the guides of
// the View menu.
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include "core/window_placement.h"
#include "main/main_window.h"
#include "main/print_shop_dialogs.h"
#include "printing/preflight.h"
#include "printing/print_shop.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFileInfo>

namespace cardora {

void MainWindow::ApplyPrintShopPrefs()
{
    const double ppi = ScreenPixelsPerInch();
    panel_->SetBleed(prefs_.PrintShop.BleedInches * ppi);
    panel_->SetGuides(prefs_.PrintShop.ShowGuides, prefs_.PrintShop.SafeInches * ppi);
    if (QAction* guides = Action("mnuShowGuides"))
        guides->setChecked(prefs_.PrintShop.ShowGuides);
    fitBackdrop();
}

void MainWindow::mnuPrintShopSettingsClick()
{
    TPrintShopSettingsDialog dialog(this);
    dialog.SetSettings(prefs_.PrintShop);
    if (ExecModal(dialog) != mrOk)
        return;
    prefs_.PrintShop = dialog.Settings();
    SavePreferences();
    ApplyPrintShopPrefs();
}

void MainWindow::mnuShowGuidesClick(bool show)
{
    prefs_.PrintShop.ShowGuides = show;
    SavePreferences();
    ApplyPrintShopPrefs();
}

std::vector<TPreflightWarning> MainWindow::PreflightWarnings() const
{
    TPreflightOptions check;
    check.CardInches = QSizeF(prefs_.Layout.Width, prefs_.Layout.Height);
    check.BleedInches = prefs_.PrintShop.BleedInches;
    check.SafeInches = prefs_.PrintShop.SafeInches;
    check.Art = &panel_->ColorPicture();
    return PreflightCard(panel_->Objects(), check);
}

void MainWindow::mnuExportForPrintShopClick()
{
    IniFile ini(PreferencesFileName());
    TShopExportDialog dialog(PreflightWarnings(), prefs_.PrintShop.BleedInches, this);
    dialog.SetCropMarks(ini.ReadBool("Export", "ShopCropMarks", false));
    if (ExecModal(dialog) != mrOk)
        return;
    ini.WriteBool("Export", "ShopCropMarks", dialog.CropMarks());
    ini.Flush();

    QString folder = ini.ReadString("Export", "Folder", QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = CardFolder();
    FileDialogRequest r;
    r.save = true;
    r.title = "Export for Print Shop";
    r.filter = "PDF File (*.pdf *.PDF)";
    r.defaultExt = "pdf";
    r.folder = folder;
    r.fileName = (cardFileName_.isEmpty() ? QString("BusinessCard") : QFileInfo(cardFileName_).completeBaseName())
        + "-print.pdf";
    r.overwritePrompt = true;
    QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".pdf";
    ini.WriteString("Export", "Folder", QFileInfo(path).absolutePath());
    ini.Flush();

    TShopPdfOptions options;
    options.CardInches = QSizeF(prefs_.Layout.Width, prefs_.Layout.Height);
    options.BleedInches = prefs_.PrintShop.BleedInches;
    options.CropMarks = dialog.CropMarks();
    options.Art = &panel_->ColorPicture();
    writeCardFile(path, [&](const QStringList& inputs) { return WriteShopPdf(*panel_, options, path, inputs); });
}

} // namespace cardora
