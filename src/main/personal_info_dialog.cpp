#include "main/personal_info_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "main/help_window.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

const QStringList& TPersonalInformation::FieldNames()
{
    static const QStringList n = { "pPersonalName", "pPersonalCompany", "pPersonalTitle", "pPersonalAddress1",
        "pPersonalAddress2", "pPersonalAddress3", "pPersonalPhone1", "pPersonalPhone2", "pPersonalEmail",
        "pPersonalFax" };
    return n;
}

const QStringList& TPersonalInformation::FieldLabels()
{
    static const QStringList n = { "Name", "Company", "Title", "Address 1", "Address 2", "Address 3", "Phone 1",
        "Phone 2", "E-mail", "Fax" };
    return n;
}

TPersonalInformation::TPersonalInformation(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PersonalInformation"));
    setWindowTitle(QStringLiteral("Personal Information"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (int i = 0; i < kCount; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(FieldNames()[i]);
        edit->setMinimumWidth(280);
        edit->setWhatsThis(QStringLiteral("Text labels offer this value in their text dialog and menu."));
        auto* label = new QLabel(FieldLabels()[i], this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        fields_[static_cast<size_t>(i)] = edit;
        if (i > 0)
            setTabOrder(fields_[static_cast<size_t>(i - 1)], edit);
    }
    layout->addLayout(form);

    DialogButtonsLook look;
    look.ok = { QStringLiteral("Ok"), QStringLiteral("OKButton") };
    look.cancel = { QStringLiteral("Cancel"), QStringLiteral("Cancelbutton") };
    look.help = { QStringLiteral("Help"), QStringLiteral("Helpbutton") };
    look.openHelp = [] { ShowHelpTopic(kHelpTopic); };
    TDialogButtons(*this, std::move(look)).AddRow(*layout);
    fields_[0]->setFocus();
}

QStringList TPersonalInformation::Values() const
{
    QStringList out;
    for (const QLineEdit* edit : fields_)
        out << edit->text();
    return out;
}

void TPersonalInformation::SetValues(const QStringList& values)
{
    for (int i = 0; i < kCount; ++i)
        fields_[static_cast<size_t>(i)]->setText(values.value(i));
}

void TPersonalInformation::reject() { done(mrCancel); }

} // namespace cardora
