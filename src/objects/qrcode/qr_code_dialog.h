#pragma once
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace cardora {

class TColorCombo;
class TObjectPreview;
class TQRCode;

// "QR Code Properties": what the code holds, its error correction and
// colours, tried on a live preview with warnings when it may not scan; the
// object takes the preview's settings on Ok.
class TQRCodeProperties : public QDialog {
    Q_OBJECT
public:
    explicit TQRCodeProperties(QWidget* parent = nullptr);
    static constexpr int kHelpTopic = 40020;

    TQRCode* Preview() const { return preview_; }
    // The size the code will print at, for the warnings.
    void SetBoxInches(double width, double height);
    // The controls show the preview's settings.
    void LoadFromPreview();

    QPlainTextEdit* DataText() const { return data_; }
    QComboBox* ErrorLevelCombo() const { return level_; }
    QCheckBox* MeCardCheck() const { return meCard_; }
    QLabel* WarningsLabel() const { return warnings_; }

    void applyAndClose();

private:
    void refresh();

    TQRCode* preview_ = nullptr;
    TObjectPreview* previewArea_ = nullptr;
    QPlainTextEdit* data_ = nullptr;
    QComboBox* fields_ = nullptr;
    QComboBox* level_ = nullptr;
    QCheckBox* meCard_ = nullptr;
    TColorCombo* foreColor_ = nullptr;
    TColorCombo* backColor_ = nullptr;
    QCheckBox* transparent_ = nullptr;
    QLabel* warnings_ = nullptr;
    double boxWidth_ = 1.0, boxHeight_ = 1.0;
    bool loading_ = false;
};

} // namespace cardora
