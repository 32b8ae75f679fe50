#pragma once
#include <QString>
#include <functional>

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace cardora {

// A button's caption and the object name that tests, the modal seam and the
// what's-this table know it by.
struct ButtonLook {
    QString text;
    QString name;
};

// What a dialog's OK / Cancel / Help / what's-this buttons are called and do.
// Captions and names differ between dialogs (each keeps its own, as files of
// help texts and tests know them); an empty name leaves that button out.
struct DialogButtonsLook {
    ButtonLook ok { QStringLiteral("OK"), QStringLiteral("OKButton") };
    ButtonLook cancel { QStringLiteral("Cancel"), QStringLiteral("CancelButton") };
    ButtonLook help { QStringLiteral("&Help"), QStringLiteral("HelpButton") };
    bool whatsThis = true;
    // The dialog's own help page.
    std::function<void()> openHelp;
    // What OK and Cancel do; by default they close with mrOk and mrCancel.
    std::function<void()> onOk;
    std::function<void()> onCancel;
};

// The row of buttons every dialog of the program ends with, made and wired in
// one place: OK is the default button, Help never takes the default, and the
// what's-this button starts what's-this mode (click it, then a control).
class TDialogButtons {
public:
    TDialogButtons(QDialog& dialog, DialogButtonsLook look);

    QPushButton* Ok() const { return ok_; }
    QPushButton* Cancel() const { return cancel_; }
    QPushButton* Help() const { return help_; }
    QToolButton* WhatsThis() const { return whatsThis_; }

    // The buttons at the right of a new row, returned so a dialog can put
    // its own buttons beside them; AddRow adds the row to `layout` as well.
    QHBoxLayout* MakeRow() const;
    QHBoxLayout* AddRow(QBoxLayout& layout) const;
    // OK and Cancel one under the other, Help with the what's-this button
    // beside it below them, for dialogs with their buttons down the side.
    void AddColumn(QBoxLayout& column) const;

private:
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    QToolButton* whatsThis_ = nullptr;
};

} // namespace cardora
