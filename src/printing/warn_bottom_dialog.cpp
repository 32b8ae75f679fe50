#include "printing/warn_bottom_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "printing/card_layout.h"
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cardora {

TWarnBottomMargin::TWarnBottomMargin(QWidget* parent) : QDialog(parent)
{
    setObjectName("WarnBottomMargin");
    setWindowTitle("ALERT");
    // No title-bar buttons: the user answers with one of the two buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* top = new QVBoxLayout(this);
    auto label = [&](const QString& text, const char* name) {
        auto* l = new QLabel(text, this);
        if (name)
            l->setObjectName(name);
        l->setWordWrap(true);
        top->addWidget(l);
        return l;
    };
    BotMarg = label("Business Cards need to print to within 0.5 inches of the bottom, but the current printer has a "
                    "bottom margin setting of :",
        "BotMarg");
    Difference = label(
        "This could result in the bottom of the last two business cards being cut off by approximately:", "Difference");
    label("If your printer driver supports it, you could change the bottom margin to 0.5 inches. Otherwise, you "
          "should design your cards so that the bottom portion of the cards is not used.",
        "Advice");
    label("(Note: some printers, including some of the HP Deskjet series, cannot print beyond a 0.66 inch bottom "
          "margin)",
        "Note");
    DontShowCheck = new QCheckBox("Don't show this warning again", this);
    DontShowCheck->setObjectName("DontShowCheck");
    top->addWidget(DontShowCheck);

    DialogButtonsLook look;
    look.ok = { "Continue", "OKButton" };
    look.cancel = { "Cancel Printing", "Cancelbutton" };
    look.whatsThis = false;
    look.openHelp = [this] { emit HelpRequested(kHelpContext); };
    look.onOk = [this] { applyAndClose(); };
    look.onCancel = [this] { cancelAndClose(); };
    TDialogButtons(*this, std::move(look)).AddRow(*top);
    setMinimumWidth(420);
}

void TWarnBottomMargin::ShowMargin(double b)
{
    BotMarg->setText(BotMarg->text() + " " + FormatFixed3(b) + " inches");
    Difference->setText(Difference->text() + " " + FormatFixed3(b - 0.5) + " inches");
}

void TWarnBottomMargin::applyAndClose() { done(mrOk); }
void TWarnBottomMargin::cancelAndClose() { done(mrCancel); }
void TWarnBottomMargin::reject() { cancelAndClose(); }

} // namespace cardora
