#include "main/help_commands.h"
#include "main/about_dialogs.h"
#include "main/help_window.h"
#include "surface/card_panel.h"
#include <QDesktopServices>
#include <QUrl>

namespace cardora {

HelpCommands::HelpCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("Contents1", "&Contents", [this] { showContents(); });
    addAction("About1", "&About", [this] { showAbout(); });
    addAction("ConfigurationInformation1", "Configuration Information", [this] { showConfiguration(); });
    addAction("TechnicalSupport1", "Technical Support", [this] { context_.showHelp(1041); });
    addAction("FrequentlyAskedQuestions1", "Frequently Asked Questions", [this] { context_.showHelp(911); });
    addAction("VisitOurInternetWebsite1", "Visit Our Internet Website",
        [] { QDesktopServices::openUrl(QUrl("https://www.cardora.example/")); });
}

void HelpCommands::showContents() { ShowHelpContents(); }

void HelpCommands::showAbout() { ShowAboutBox(context_.dialogParent()); }

void HelpCommands::showConfiguration()
{
    ShowConfigurationInformation(context_.dialogParent(), context_.panel().Font(), context_.preferences().Nudges);
}

} // namespace cardora
