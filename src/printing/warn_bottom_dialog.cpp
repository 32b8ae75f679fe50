#include "printing/warn_bottom_dialog.h"
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

    auto* buttons = new QHBoxLayout;
    auto* cont = new QPushButton("Continue", this);
    cont->setObjectName("OKButton");
    cont->setDefault(true);
    auto* cancel = new QPushButton("Cancel Printing", this);
    cancel->setObjectName("Cancelbutton");
    auto* help = new QPushButton("&Help", this);
    help->setObjectName("HelpButton");
    buttons->addStretch(1);
    buttons->addWidget(cont);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    top->addLayout(buttons);
    connect(cont, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { CancelbuttonClick(); });
    connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpContext); });
    setMinimumWidth(420);
}

void TWarnBottomMargin::ShowMargin(double b)
{
    BotMarg->setText(BotMarg->text() + " " + FormatFixed3(b) + " inches");
    Difference->setText(Difference->text() + " " + FormatFixed3(b - 0.5) + " inches");
}

void TWarnBottomMargin::OKButtonClick() { done(mrOk); }
void TWarnBottomMargin::CancelbuttonClick() { done(mrCancel); }
void TWarnBottomMargin::reject() { CancelbuttonClick(); }

} // namespace cardora
