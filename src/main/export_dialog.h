#pragma once
#include "main/card_export.h"
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace cardora {

// "Export Card": the format, the resolution of pictures and the border,
// chosen before the file name.
class TExportDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 2104;
    static constexpr int kMinDpi = 96;
    static constexpr int kMaxDpi = 1200;

    explicit TExportDialog(QSizeF cardInches, QWidget* parent = nullptr);

    TCardExportFormat Format() const;
    void SetFormat(TCardExportFormat format);
    int Dpi() const;
    void SetDpi(int dpi);
    bool Border() const;
    void SetBorder(bool border);

    QComboBox* FormatCombo = nullptr;
    QSpinBox* Resolution = nullptr;
    QCheckBox* BorderCheck = nullptr;
    QLabel* SizeLabel = nullptr;

private:
    void refresh();
    QSizeF card_;
};

} // namespace cardora
