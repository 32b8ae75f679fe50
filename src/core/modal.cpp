#include "core/modal.h"
#include "core/window_placement.h"
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPointer>

namespace cardora {
namespace {

class InteractiveHandler : public ModalHandler {
public:
    int Message(const QString& text, const QString& caption, MessageStyle style) override
    {
        QMessageBox box(MainWindow());
        box.setWindowTitle(caption);
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
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, initial, MainWindow());
        if (!ok)
            return std::nullopt;
        return f;
    }

    std::optional<QColor> Color(const QColor& initial) override
    {
        QColor c = QColorDialog::getColor(initial, MainWindow());
        if (!c.isValid())
            return std::nullopt;
        return c;
    }

    QString FileName(const FileDialogRequest& r) override
    {
        QFileDialog dlg(MainWindow(), r.title, r.folder, r.filter);
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

void SetMainWindow(QWidget* window) { mainWindowSlot() = window; }
QWidget* MainWindow() { return mainWindowSlot().data(); }

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

int ExecModal(QDialog& dialog)
{
    // Centre with the size the dialog will really have.
    if (!dialog.isVisible() && !dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    CentreDialog(dialog);
    return CurrentModalHandler().Dialog(dialog);
}

std::optional<QFont> ChooseFont(const QFont& initial) { return CurrentModalHandler().Font(initial); }
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
