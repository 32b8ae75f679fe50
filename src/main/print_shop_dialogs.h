#pragma once
#include "main/preferences.h"
#include "printing/preflight.h"
#include <QDialog>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QListWidget;

namespace cardora {

// Edit › Print Shop Settings: the bleed (0 to 6 mm, with the presets shops
// ask for), the safe area inside the trim, and the panel's guides.
class TPrintShopSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPrintShopSettingsDialog(QWidget* parent = nullptr);
    // The print-shop page, for the export window as well.
    static constexpr int kHelpTopic = 2105;
    void SetSettings(const TPrintShopPrefs& prefs);
    TPrintShopPrefs Settings() const;

private:
    QDoubleSpinBox* bleed_;
    QDoubleSpinBox* safe_;
    QCheckBox* guides_;
};

// Before a shop export: what the pre-flight check found, and crop marks.
class TShopExportDialog : public QDialog {
    Q_OBJECT
public:
    TShopExportDialog(const std::vector<TPreflightWarning>& warnings, double bleedInches, QWidget* parent = nullptr);
    bool CropMarks() const;
    void SetCropMarks(bool on);

private:
    QListWidget* list_;
    QCheckBox* cropMarks_;
};

} // namespace cardora
