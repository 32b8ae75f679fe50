#include "core/app_folder.h"
#include "core/modal.h"
#include "main/main_window.h"
#include "printing/batch_print.h"
#include "surface/bleed_band.h"
#include "surface/card_panel.h"
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <algorithm>
#include <cmath>

namespace cardora {

void MainWindow::setTool(int state) { panel_->SetPanelState(static_cast<PanelTool>(state)); }

void MainWindow::objectDropped(QRect&)
{
    panel_->SetPanelState(PanelTool::Pointing);
    toolGroup_->button(int(PanelTool::Pointing))->setChecked(true);
}

void MainWindow::updateZoomCaption()
{
    zoomCaption_->setText(QString::number(static_cast<int>(std::nearbyint(panel_->Zoom() * 100.0f))) + "%");
    fitBackdrop();
}

void MainWindow::fitBackdrop()
{
    // The backdrop fills the whole scroll box, so a click anywhere beside the
    // card reaches it; it is never smaller than the card and its margin.
    // A print shop's bleed shows as a band around the card, so the card
    // moves in by its width.
    const int bleed = panel_->BleedAtZoom();
    panel_->move(10 + bleed, 8 + bleed);
    if (bleedBand_)
        bleedBand_->Follow();
    if (QWidget* backdrop = scrollBox_->widget())
        backdrop->setMinimumSize(panel_->width() + 20 + 2 * bleed, panel_->height() + 16 + 2 * bleed);
}

void MainWindow::zoomIn() { view_->zoomBy(true); }
void MainWindow::zoomOut() { view_->zoomBy(false); }

void MainWindow::loadPreferences()
{
    prefs_ = LoadPreferencesFile(PreferencesFileName());
    // A hand-edited or damaged layout could ask for a card of gigabytes or
    // none at all; the layout dialog's own rules decide, and the user hears why.
    QString invalid = BatchLayoutMessage(prefs_.Layout, false); // the card itself first
    if (invalid.isEmpty())
        invalid = BatchLayoutMessage(prefs_.Layout, true);
    if (!invalid.isEmpty()) {
        MessageDlg("The card layout saved in " + QDir::toNativeSeparators(PreferencesFileName())
                + " cannot be used:\r" + invalid
                + "\rThe standard layout is used instead; choose Change Business Card Layout to set your own.",
            "Card Layout", MessageStyle::Warning);
        prefs_.Layout = TCardLayout();
    }
    ApplyDefaultFont(prefs_.DefaultFont, panel_->Font());
    printShop_->applyPreferences();
}

void MainWindow::savePreferences()
{
    prefs_.DefaultFont = DefaultFontOf(panel_->Font());
    SavePreferencesFile(PreferencesFileName(), prefs_);
}

void MainWindow::showDefaultFont()
{
    const TFont& f = panel_->Font();
    QString caption = "Default Font: " + f.Name() + ", " + QString::number(f.Size()) + " pt ";
    if (f.Style() & FontStyle::Bold)
        caption += ", bold";
    if (f.Style() & FontStyle::Italic)
        caption += ", italic";
    if (f.Style() & FontStyle::Underline)
        caption += ", underline";
    defaultFontItem_->setText(caption);
}

void MainWindow::chooseDefaultFont()
{
    if (const auto chosen = ChooseFontWithColor(panel_->Font().ToPointFont(), ToQColor(panel_->Font().Color()))) {
        panel_->Font().AssignQFont(chosen->font);
        panel_->Font().SetColor(FromQColor(chosen->color));
    }
    showDefaultFont();
    savePreferences();
    Inform("Note: the default font is used for NEW objects only.\rTo change the font of an existing object, "
           "click it\rwith the RIGHT MOUSE BUTTON and select FONT");
}

} // namespace cardora
