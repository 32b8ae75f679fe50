#include "core/dialog_buttons.h"
#include "core/modal.h"
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>
#include <QWhatsThis>

namespace cardora {

namespace {
QPushButton* makeButton(QDialog& dialog, const ButtonLook& look)
{
    if (look.name.isEmpty())
        return nullptr;
    auto* b = new QPushButton(look.text, &dialog);
    b->setObjectName(look.name);
    return b;
}
} // namespace

TDialogButtons::TDialogButtons(QDialog& dialog, DialogButtonsLook look)
{
    ok_ = makeButton(dialog, look.ok);
    cancel_ = makeButton(dialog, look.cancel);
    help_ = makeButton(dialog, look.help);
    QDialog* d = &dialog;
    if (ok_) {
        ok_->setDefault(true);
        auto onOk = look.onOk ? look.onOk : [d] { d->done(mrOk); };
        QObject::connect(ok_, &QPushButton::clicked, d, onOk);
    }
    if (cancel_) {
        auto onCancel = look.onCancel ? look.onCancel : [d] { d->done(mrCancel); };
        QObject::connect(cancel_, &QPushButton::clicked, d, onCancel);
    }
    if (help_) {
        // Enter in a field of the dialog means OK, never Help.
        help_->setAutoDefault(false);
        if (look.openHelp)
            QObject::connect(help_, &QPushButton::clicked, d, look.openHelp);
    }
    if (look.whatsThis) {
        whatsThis_ = new QToolButton(&dialog);
        whatsThis_->setObjectName(QStringLiteral("MouseHelpButton"));
        whatsThis_->setText(QStringLiteral("?"));
        // The program's icon where its resources are linked in; "?" otherwise.
        static const QString icon = QStringLiteral(":/icons/whatsthis.svg");
        if (QFile::exists(icon))
            whatsThis_->setIcon(QIcon(icon));
        whatsThis_->setToolTip(QStringLiteral("What's this?"));
        whatsThis_->setAutoRaise(false);
        QObject::connect(whatsThis_, &QToolButton::clicked, d, [] { QWhatsThis::enterWhatsThisMode(); });
    }
}

QHBoxLayout* TDialogButtons::MakeRow() const
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* w : { static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_), static_cast<QWidget*>(help_),
             static_cast<QWidget*>(whatsThis_) })
        if (w)
            row->addWidget(w);
    return row;
}

QHBoxLayout* TDialogButtons::AddRow(QBoxLayout& layout) const
{
    QHBoxLayout* row = MakeRow();
    layout.addLayout(row);
    return row;
}

void TDialogButtons::AddColumn(QBoxLayout& column) const
{
    if (ok_)
        column.addWidget(ok_);
    if (cancel_)
        column.addWidget(cancel_);
    auto* helpRow = new QHBoxLayout;
    if (help_)
        helpRow->addWidget(help_, 1);
    if (whatsThis_)
        helpRow->addWidget(whatsThis_);
    column.addLayout(helpRow);
}

} // namespace cardora
