#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;

namespace cardora {

// "ALERT": the printer cannot print low enough on the sheet for the bottom row.
class TWarnBottomMargin : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 2021;

    explicit TWarnBottomMargin(QWidget* parent = nullptr);

    // Appends the printer's bottom margin and its excess over half an inch.
    void ShowMargin(double bottomMarginInches);

    // Escape and the close box: Cancel.
    void reject() override;
    void applyAndClose();
    void cancelAndClose();

    QLabel* BotMarg = nullptr;
    QLabel* Difference = nullptr;
    QCheckBox* DontShowCheck = nullptr;

signals:
    void HelpRequested(int context);

protected:
};

} // namespace cardora
