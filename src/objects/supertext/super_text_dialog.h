#pragma once
#include <QDialog>
#include <QImage>
#include <QString>

class QComboBox;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QWidget;

namespace cardora {

class TColorButton;
class TObjectPreview;
class TQSuperText;
class TSpinButtonPair;

// "SuperText Properties": text, font, fill, outline and shadow of a super
// text, tried on a live preview that refits as the user types; the object
// takes the preview's settings on Ok.
class TSuperTextProperties : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextProperties(QWidget* parent = nullptr);
    ~TSuperTextProperties() override;
    static constexpr int kHelpTopic = 40014;
    // Refits of the preview while typing are at most this often.
    static constexpr int kRefitMilliseconds = 200;

    // Opening: the preview copies the object; the controls show its values.
    void Setup(const TQSuperText& object);
    // Ok: the object takes the preview's settings (not its size or box).
    void ApplyTo(TQSuperText& object) const;

    TQSuperText* Preview() const { return preview_; }
    QLineEdit* CaptionText() const { return captionText_; }
    QComboBox* SurfaceTypeCombo() const { return surfaceType_; }
    QString LastBitmapFileNameandPath() const { return lastBitmapFile_; }
    const QImage& LastUsedImage() const { return lastUsedImage_; }
    // Which of the fill panels shows ("FillPanel", "ImagePanel", "FontcolorPanel"), empty for none.
    QString VisibleFillPanel() const;
    bool RefitPending() const { return refitPending_; }

    void applyAndClose();
    void chooseFont();
    void chooseSymbol();
    void loadTexture();
    void growFont();
    void shrinkFont();
    // The timer's tick: refits the preview when the text changed since the last one.
    void Timer1Timer();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadControls();
    void showFillPanel();
    void fit();
    void captionFont();

    TQSuperText* preview_ = nullptr;
    TObjectPreview* previewArea_ = nullptr;
    QScrollArea* panel1_ = nullptr;
    QLineEdit* captionText_ = nullptr;
    QComboBox* surfaceType_ = nullptr;
    QComboBox* fillDirection_ = nullptr;
    QComboBox* outlineStyle_ = nullptr;
    QComboBox* shadowOrientation_ = nullptr;
    QSpinBox* outlineWidth_ = nullptr;
    QSpinBox* shadowDepth_ = nullptr;
    TColorButton* gradientFrom_ = nullptr;
    TColorButton* gradientTo_ = nullptr;
    TColorButton* fontColor_ = nullptr;
    TColorButton* outlineColor_ = nullptr;
    TColorButton* shadowColor_ = nullptr;
    TSpinButtonPair* fontSize_ = nullptr;
    QWidget* fillPanel_ = nullptr;
    QWidget* imagePanel_ = nullptr;
    QWidget* fontColorPanel_ = nullptr;
    QStackedWidget* fillPanels_ = nullptr;
    QTimer* timer1_ = nullptr;
    QImage lastUsedImage_;
    QString lastBitmapFile_;
    bool refitPending_ = false;
    bool loading_ = false;
};

} // namespace cardora
