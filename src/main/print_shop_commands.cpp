// File › Export for Print Shop, Edit › Print Shop Settings and the guides of
// the View menu.
#include "main/print_shop_commands.h"
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include "core/window_placement.h"
#include "main/print_shop_dialogs.h"
#include "printing/preflight.h"
#include "printing/print_shop.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFileInfo>

namespace cardora {

PrintShopCommands::PrintShopCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("mnuExportForPrintShop", "Export for Print S&hop...", [this] { exportForPrintShop(); });
    addAction("mnuPrintShopSettings", "Print Shop Settings...", [this] { editSettings(); });
    QAction* guides = new QAction("Print Shop &Guides (Trim, Bleed, Safe Area)", this);
    guides->setObjectName("mnuShowGuides");
    guides->setCheckable(true);
    connect(guides, &QAction::triggered, this, [this](bool on) { showGuides(on); });
}

void PrintShopCommands::applyPreferences()
{
    const double ppi = ScreenPixelsPerInch();
    const TPrintShopPrefs& shop = context_.preferences().PrintShop;
    context_.panel().SetBleed(shop.BleedInches * ppi);
    context_.panel().SetGuides(shop.ShowGuides, shop.SafeInches * ppi);
    action("mnuShowGuides")->setChecked(shop.ShowGuides);
    context_.cardAreaChanged();
}

void PrintShopCommands::editSettings()
{
    TPrintShopSettingsDialog dialog(context_.dialogParent());
    dialog.SetSettings(context_.preferences().PrintShop);
    if (ExecModal(dialog) != mrOk)
        return;
    context_.preferences().PrintShop = dialog.Settings();
    context_.writePreferences();
    applyPreferences();
}

void PrintShopCommands::showGuides(bool show)
{
    context_.preferences().PrintShop.ShowGuides = show;
    context_.writePreferences();
    applyPreferences();
}

std::vector<TPreflightWarning> PrintShopCommands::preflightWarnings()
{
    const TPreferences& prefs = context_.preferences();
    TPreflightOptions check;
    check.CardInches = QSizeF(prefs.Layout.Width, prefs.Layout.Height);
    check.BleedInches = prefs.PrintShop.BleedInches;
    check.SafeInches = prefs.PrintShop.SafeInches;
    check.Art = &context_.panel().ColorPicture();
    return PreflightCard(context_.panel().Objects(), check);
}

void PrintShopCommands::exportForPrintShop()
{
    IniFile ini(PreferencesFileName());
    const TPreferences& prefs = context_.preferences();
    const QString& fileName = context_.card().fileName;
    TShopExportDialog dialog(preflightWarnings(), prefs.PrintShop.BleedInches, context_.dialogParent());
    dialog.SetCropMarks(ini.ReadBool("Export", "ShopCropMarks", false));
    if (ExecModal(dialog) != mrOk)
        return;
    ini.WriteBool("Export", "ShopCropMarks", dialog.CropMarks());
    ini.Flush();

    QString folder = ini.ReadString("Export", "Folder", QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = CardFolder(context_);
    FileDialogRequest r;
    r.save = true;
    r.title = "Export for Print Shop";
    r.filter = "PDF File (*.pdf *.PDF)";
    r.defaultExt = "pdf";
    r.folder = folder;
    r.fileName = (fileName.isEmpty() ? QString("BusinessCard") : QFileInfo(fileName).completeBaseName()) + "-print.pdf";
    r.overwritePrompt = true;
    QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".pdf";
    ini.WriteString("Export", "Folder", QFileInfo(path).absolutePath());
    ini.Flush();

    TShopPdfOptions options;
    options.CardInches = QSizeF(prefs.Layout.Width, prefs.Layout.Height);
    options.BleedInches = prefs.PrintShop.BleedInches;
    options.CropMarks = dialog.CropMarks();
    options.Art = &context_.panel().ColorPicture();
    WriteCardOutput(context_, path,
        [&](const QStringList& inputs) { return WriteShopPdf(context_.panel(), options, path, inputs); });
}

} // namespace cardora
