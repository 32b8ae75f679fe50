#include "core/modal.h"
#include "core/window_placement.h"
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QPointer>

namespace cardora {
namespace {

class InteractiveHandler : public ModalHandler {
public:
    int Message(const QString& text, const QString& caption, MessageStyle style) override
    {
        QMessageBox box(ProgramWindow());
        box.setWindowTitle(caption);
        // Names and texts come from files and folders: markup in them is text.
        box.setTextFormat(Qt::PlainText);
        box.setText(QString(text).replace("\r\n", "\n").replace('\r', '\n'));
        switch (style) {
        case MessageStyle::Information:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageStyle::Question:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageStyle::QuestionCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageStyle::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageStyle::Error:
            box.setIcon(QMessageBox::Critical);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        const int r = box.exec();
        if (r == QMessageBox::Yes)
            return mrYes;
        if (r == QMessageBox::No)
            return mrNo;
        if (r == QMessageBox::Ok)
            return mrOk;
        return mrCancel;
    }

    int Dialog(QDialog& dialog) override { return dialog.exec(); }

    std::optional<QFont> Font(const QFont& initial) override
    {
        QFontDialog dialog(initial, ProgramWindow());
        const QFont shown = dialog.currentFont();
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return KeepUnchosenFont(dialog.selectedFont(), initial, shown);
    }

    std::optional<FontChoice> FontWithColor(const QFont& initial, const QColor& color) override
    {
        QFontDialog dialog(initial, ProgramWindow());
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        const QFont shown = dialog.currentFont();
        QColor chosen = color.isValid() ? color : QColor(Qt::black);
        // The colour sits below the effects, with a swatch showing it; the
        // sample text takes it too.
        auto* row = new QWidget(&dialog);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel("Co&lor:", row);
        auto* button = new QPushButton(row);
        button->setObjectName("FontColorButton");
        button->setFixedWidth(90);
        label->setBuddy(button);
        rowLayout->addWidget(label);
        rowLayout->addWidget(button);
        rowLayout->addStretch(1);
        auto show = [&] {
            QPixmap swatch(40, 14);
            swatch.fill(chosen);
            button->setIcon(QIcon(swatch));
            button->setIconSize(swatch.size());
            // Qt's own name for the sample; the other read-only fields (the
            // font style) keep their colour.
            if (auto* sample = dialog.findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"))) {
                QPalette p = sample->palette();
                p.setColor(QPalette::Text, chosen);
                sample->setPalette(p);
            }
        };
        QObject::connect(button, &QPushButton::clicked, &dialog, [&] {
            const QColor c = QColorDialog::getColor(chosen, &dialog);
            if (c.isValid())
                chosen = c;
            show();
        });
        // In the Effects box under Strikeout and Underline where Qt has one,
        // else along the bottom.
        QBoxLayout* effects = nullptr;
        for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
            if (!box->findChildren<QCheckBox*>().isEmpty())
                effects = qobject_cast<QBoxLayout*>(box->layout());
        if (effects) {
            int after = 0;
            for (int i = 0; i < effects->count(); ++i)
                if (qobject_cast<QCheckBox*>(effects->itemAt(i)->widget()))
                    after = i + 1;
            effects->insertWidget(after, row);
        } else if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(row, grid->rowCount(), 0, 1, grid->columnCount());
        else if (dialog.layout())
            dialog.layout()->addWidget(row);
        show();
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return FontChoice { KeepUnchosenFont(dialog.selectedFont(), initial, shown), chosen };
    }

    std::optional<QColor> Color(const QColor& initial) override
    {
        QColor c = QColorDialog::getColor(initial, ProgramWindow());
        if (!c.isValid())
            return std::nullopt;
        return c;
    }

    QString FileName(const FileDialogRequest& r) override
    {
        QFileDialog dlg(ProgramWindow(), r.title, r.folder, r.filter);
        dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dlg.setDefaultSuffix(r.defaultExt);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
        if (!r.fileName.isEmpty())
            dlg.selectFile(r.fileName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().first();
    }
};

std::shared_ptr<ModalHandler>& handlerSlot()
{
    static std::shared_ptr<ModalHandler> h;
    return h;
}

QPointer<QWidget>& mainWindowSlot()
{
    static QPointer<QWidget> w;
    return w;
}

} // namespace

void SetModalHandler(std::shared_ptr<ModalHandler> handler) { handlerSlot() = std::move(handler); }

ModalHandler& CurrentModalHandler()
{
    static InteractiveHandler interactive;
    if (handlerSlot())
        return *handlerSlot();
    return interactive;
}

void SetProgramWindow(QWidget* window) { mainWindowSlot() = window; }
QWidget* ProgramWindow() { return mainWindowSlot().data(); }

int MessageDlg(const QString& text, const QString& caption, MessageStyle style)
{
    // Message boxes hold at most 255 characters of text and caption.
    return CurrentModalHandler().Message(text.left(255), caption.left(255), style);
}

void Inform(const QString& text) { MessageDlg(text, "Information", MessageStyle::Information); }

bool Ask(const QString& text, const QString& caption)
{
    return MessageDlg(text, caption, MessageStyle::Question) == mrYes;
}

int AskYesNoCancel(const QString& text, const QString& caption)
{
    const int r = MessageDlg(text, caption, MessageStyle::QuestionCancel);
    return r == mrYes || r == mrNo ? r : mrCancel;
}

int ExecModal(QDialog& dialog)
{
    // Centre with the size the dialog will really have.
    if (!dialog.isVisible() && !dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    CentreDialog(dialog);
    return CurrentModalHandler().Dialog(dialog);
}

std::optional<QFont> ChooseFont(const QFont& initial) { return CurrentModalHandler().Font(initial); }
QFont KeepUnchosenFont(const QFont& chosen, const QFont& initial, const QFont& shown)
{
    QFont f = chosen;
    if (chosen.family() == shown.family())
        f.setFamily(initial.family());
    if (chosen.weight() == shown.weight() && chosen.style() == shown.style()) {
        f.setWeight(initial.weight());
        f.setStyle(initial.style());
    }
    return f;
}

std::optional<FontChoice> ChooseFontWithColor(const QFont& initial, const QColor& color)
{
    return CurrentModalHandler().FontWithColor(initial, color);
}
std::optional<QColor> ChooseColor(const QColor& initial) { return CurrentModalHandler().Color(initial); }
QString ChooseFileName(const FileDialogRequest& request) { return CurrentModalHandler().FileName(request); }

void BusyOn()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void BusyOff()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

} // namespace cardora
