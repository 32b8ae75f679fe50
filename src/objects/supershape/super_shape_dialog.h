#pragma once
#include "core/color.h"
#include <QDialog>
#include <QImage>
#include <QWidget>

class QComboBox;
class QSpinBox;
class QStackedWidget;
class QPushButton;
class QScrollArea;

namespace cardora {

class TColorButton;
class TQGraphicControl;
class TSuperShape;

// Shows one card object at (10, 10) of a scrollable white area.
class TObjectSampleView : public QWidget {
    Q_OBJECT
public:
    TObjectSampleView(TQGraphicControl& object, QWidget* parent = nullptr);
    // Follows the object's size and repaints.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TQGraphicControl& object_;
};

// "Super Shape Properties": every property of a super shape, tried on a
// sample that follows each control at once.
class TSuperShapeProperties : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 40011;
    explicit TSuperShapeProperties(QWidget* parent = nullptr);
    ~TSuperShapeProperties() override;

    // The sample takes the object's size and properties, the controls show them.
    void Setup(const TSuperShape& shape);
    // OK: the object takes the sample's properties and the texture file name.
    void ApplyTo(TSuperShape& shape) const;

    // "Load Texture".
    void LoadTexture();

    TSuperShape* Sample() const { return sample_; }
    QString LastBitmapFileNameandPath() const { return lastFile_; }
    const QImage& LastTexture() const { return lastTexture_; }

private:
    void build();
    void showControls();
    void shapeChosen(int index);
    void surfaceChosen(int index);
    void backColorChosen(TColor c);
    void sampleChanged();

    TSuperShape* sample_ = nullptr;
    TObjectSampleView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QImage lastTexture_;
    QString lastFile_;
    bool updating_ = false;

    QComboBox* shapeList_ = nullptr;
    QStackedWidget* shapePanels_ = nullptr;
    QSpinBox* points_ = nullptr;
    QSpinBox* inward_ = nullptr;
    QSpinBox* roundPerc_ = nullptr;
    QComboBox* surfaceList_ = nullptr;
    QStackedWidget* surfacePanels_ = nullptr;
    TColorButton* backColor_ = nullptr;
    QComboBox* fillDirection_ = nullptr;
    TColorButton* fromColor_ = nullptr;
    TColorButton* toColor_ = nullptr;
    QPushButton* loadTexture_ = nullptr;
    TColorButton* shadowColor_ = nullptr;
    QComboBox* shadowOrient_ = nullptr;
    QSpinBox* shadowDepth_ = nullptr;
    TColorButton* outlineColor_ = nullptr;
    QComboBox* outlineStyle_ = nullptr;
    QSpinBox* outlineWidth_ = nullptr;
};

} // namespace cardora
