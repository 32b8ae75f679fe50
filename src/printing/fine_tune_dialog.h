#pragma once
#include "core/spin_buttons.h"
#include "printing/card_layout.h"
#include <QDialog>
#include <array>

class QLabel;
class QToolButton;

namespace cardora {

// "Decrease by 3/32\"", "None", "Increase by 8/32\"".
QString NudgeText(int nudge);

// "Printer Fine-Tuning": four offsets in 1/32 inch that correct where the
// printer puts the cards. Works on a copy; OK stores it in Nudges.
class TPrintFineTune : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 2103;
    static constexpr int kLowest = -8;
    static constexpr int kHighest = 8;

    enum Which { TopMargin, LeftMargin, VerticalSpacing, HorizontalSpacing };

    explicit TPrintFineTune(const TPrinterNudges& nudges, QWidget* parent = nullptr);

    // The working copy, and after OK the accepted values.
    TPrinterNudges Nudges() const;
    int Value(Which which) const { return values_[which]; }

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    void prepareToShow();
    void ShowValues();
    // The down arrow moves the cards down or right: the nudge grows.
    void stepDown(Which which);
    void stepUp(Which which);
    void restoreDefaults();
    void applyAndClose();
    void cancelAndClose();
    void showHelp();

    TSpinButtonPair* Spinner(Which which) const { return spinners_[which]; }
    QLabel* ValueLabel(Which which) const { return labels_[which]; }

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<int, 4> values_ {};
    std::array<TSpinButtonPair*, 4> spinners_ {};
    std::array<QLabel*, 4> labels_ {};
};

} // namespace cardora
