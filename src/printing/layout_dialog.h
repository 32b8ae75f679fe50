#pragma once
#include "printing/card_layout.h"
#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cardora {

class TNumberEdit;

// "Business Card Layout": card size, cards across and down, margins,
// pitches, paper and the predefined card stocks, in inches or millimetres.
// Values is the working copy; OK leaves the accepted layout there.
class TEditCardLayout : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3101;

    explicit TEditCardLayout(QWidget* parent = nullptr);

    // Working copy: predefined index, paper code and the eight size values.
    TCardLayout Values;

    bool UseMM() const;
    // Sets the unit radio pair without converting the edits.
    void SetUseMM(bool mm);

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    void FormActivate();
    void FillEditsFromValues();
    void MMButtonClick();
    void InchesbuttonClick();
    void eCardwidthExit();
    void eCardHeightExit();
    void PredefinedLayoutsChange();
    void OkButtonClick();
    bool ValidCard();
    void CancelbuttonClick();
    void HelpButtonClick();

    TNumberEdit* eCardwidth = nullptr;
    TNumberEdit* eCardHeight = nullptr;
    TNumberEdit* eHorizPitch = nullptr;
    TNumberEdit* eVertPitch = nullptr;
    TNumberEdit* eleftmarg = nullptr;
    TNumberEdit* etopmarg = nullptr;
    QSpinBox* enbracross = nullptr;
    QSpinBox* enbrdown = nullptr;
    QComboBox* PredefinedLayouts = nullptr;
    QComboBox* epapersize = nullptr;
    QRadioButton* Inchesbutton = nullptr;
    QRadioButton* MMButton = nullptr;

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The six number edits in the order width, height, hpitch, vpitch, left, top.
    std::array<TNumberEdit*, 6> edits() const;
    void setEditsFromInches(const std::array<double, 6>& inches);
    std::array<double, 6> editValues() const;
    std::array<double, 6> workingInches() const;
    void setWorkingInches(const std::array<double, 6>& inches);

    bool firstActivation_ = true;
};

} // namespace cardora
