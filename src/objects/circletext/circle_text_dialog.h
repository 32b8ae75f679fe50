#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSlider;

namespace cardora {

class TColorCombo;
class TObjectPreview;
class TQPCircleText;
class TSpinButtonPair;

// "CircleText Properties": every setting of a circle text tried on a live
// preview; the object takes the preview's settings on Ok.
class TCircleTextProperties : public QDialog {
    Q_OBJECT
public:
    explicit TCircleTextProperties(QWidget* parent = nullptr);
    ~TCircleTextProperties() override;
    static constexpr int kHelpTopic = 40017;

    TQPCircleText* Preview() const { return preview_; }
    // The activation step: the controls show the preview's settings.
    void LoadFromPreview();

    QLineEdit* CaptionText() const { return captionText_; }
    QSlider* DegreesBar() const { return degreesBar_; }
    QSlider* StartingAngleBar() const { return startingAngleBar_; }
    QLabel* DegreesLabel() const { return degreesLabel_; }
    QLabel* StartingAngleLabel() const { return startingAngleLabel_; }
    QLabel* ZoomLabel() const { return zoomLabel_; }

    void applyAndClose();
    void chooseFont();
    void growFont();
    void shrinkFont();
    void zoomIn();
    void zoomOut();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showZoom();

    TQPCircleText* preview_ = nullptr;
    TObjectPreview* previewArea_ = nullptr;
    QScrollArea* panel1_ = nullptr;
    QLineEdit* captionText_ = nullptr;
    QSlider* degreesBar_ = nullptr;
    QSlider* startingAngleBar_ = nullptr;
    QLabel* degreesLabel_ = nullptr;
    QLabel* startingAngleLabel_ = nullptr;
    QCheckBox* angled_ = nullptr;
    QCheckBox* mirrored_ = nullptr;
    TColorCombo* fontColor_ = nullptr;
    TSpinButtonPair* fontSize_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    bool loading_ = false;
};

} // namespace cardora
