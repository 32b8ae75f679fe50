#include "printing/fine_tune_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>

namespace cardora {

QString NudgeText(int nudge)
{
    if (nudge == 0)
        return QStringLiteral("None");
    const QString amount = QString::number(std::abs(static_cast<long long>(nudge))) + "/32\"";
    return (nudge < 0 ? QStringLiteral("Decrease by ") : QStringLiteral("Increase by ")) + amount;
}

TPrintFineTune::TPrintFineTune(const TPrinterNudges& nudges, QWidget* parent) : QDialog(parent)
{
    setObjectName("PrintFineTune");
    setWindowTitle("Printer Fine-Tuning");
    // FormCreate: the working copy.
    values_ = { nudges.TopMarginNudge, nudges.LeftMarginNudge, nudges.VerticalSpacing, nudges.HorizontalSpacing };

    struct PanelText {
        const char* title;
        const char* spinner;
        const char* label;
        const char* explanation;
    };
    const PanelText panels[4] = {
        { "Top Margin nudge", "TopMarginSpinner", "lTopMarginNudge",
            "Moves every card up (up arrow) or down (down arrow)." },
        { "Left Margin nudge", "LeftMarginSpinner", "LLeftMarginNudge",
            "Moves every card left (up arrow) or right (down arrow)." },
        { "Vertical Spacing", "VerticalSpacingSpinner", "LVerticalSpacing",
            "Moves the rows closer together (up arrow) or further apart (down arrow)." },
        { "Horizontal Spacing", "HorizontalSpacingSpinner", "LHorizontalSpacing",
            "Moves the columns closer together (up arrow) or further apart (down arrow)." },
    };

    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* box = new QGroupBox(panels[i].title, this);
        auto* column = new QVBoxLayout(box);
        auto* l = new QHBoxLayout;
        spinners_[i] = new TSpinButtonPair(box);
        spinners_[i]->setObjectName(panels[i].spinner);
        labels_[i] = new QLabel(box);
        labels_[i]->setObjectName(panels[i].label);
        labels_[i]->setMinimumWidth(130);
        auto* explanation = new QLabel(panels[i].explanation, box);
        explanation->setWordWrap(true);
        explanation->setMinimumWidth(230);
        l->addWidget(spinners_[i]);
        l->addWidget(labels_[i], 1);
        column->addLayout(l);
        column->addWidget(explanation);
        grid->addWidget(box, i / 2, i % 2);
        const auto which = static_cast<Which>(i);
        connect(spinners_[i]->UpButton(), &QToolButton::clicked, this, [this, which] { stepUp(which); });
        connect(spinners_[i]->DownButton(), &QToolButton::clicked, this,
            [this, which] { stepDown(which); });
    }
    top->addLayout(grid);

    DialogButtonsLook look;
    look.openHelp = [this] { showHelp(); };
    look.onOk = [this] { applyAndClose(); };
    look.onCancel = [this] { cancelAndClose(); };
    QHBoxLayout* buttons = TDialogButtons(*this, std::move(look)).AddRow(*top);
    // The way back to no nudges stands apart, at the left.
    auto* defaults = new QPushButton("Default", this);
    defaults->setObjectName("DefaultButton");
    buttons->insertWidget(0, defaults);
    connect(defaults, &QPushButton::clicked, this, [this] { restoreDefaults(); });
}

TPrinterNudges TPrintFineTune::Nudges() const
{
    TPrinterNudges n;
    n.TopMarginNudge = values_[TopMargin];
    n.LeftMarginNudge = values_[LeftMargin];
    n.VerticalSpacing = values_[VerticalSpacing];
    n.HorizontalSpacing = values_[HorizontalSpacing];
    return n;
}

void TPrintFineTune::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    prepareToShow();
}

void TPrintFineTune::reject() { cancelAndClose(); }

void TPrintFineTune::prepareToShow() { ShowValues(); }

void TPrintFineTune::ShowValues()
{
    for (int i = 0; i < 4; ++i)
        labels_[i]->setText(NudgeText(values_[i]));
}

void TPrintFineTune::stepDown(Which which)
{
    if (values_[which] < kHighest)
        ++values_[which];
    ShowValues();
}

void TPrintFineTune::stepUp(Which which)
{
    if (values_[which] > kLowest)
        --values_[which];
    ShowValues();
}

void TPrintFineTune::restoreDefaults()
{
    values_.fill(0);
    ShowValues();
}

void TPrintFineTune::applyAndClose() { done(mrOk); }
void TPrintFineTune::cancelAndClose() { done(mrCancel); }
void TPrintFineTune::showHelp() { emit HelpRequested(kHelpContext); }

} // namespace cardora
