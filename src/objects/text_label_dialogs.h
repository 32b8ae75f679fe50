#pragma once
#include "core/color.h"
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QStringList>
#include <functional>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace cardora {

class TQBaseLabel;
class TQPLabel;

// Help of the card objects' dialogs, by topic number. The program installs
// its help window here; until then a plain viewer opens the page.
void SetDialogHelpHandler(std::function<void(int topic)> handler);
void ShowDialogHelp(int topic);

// The Ok, Cancel and Help row every dialog of the card objects ends with.
// Ok closes with mrOk, Cancel (and Escape) with mrCancel.
QBoxLayout* AddDialogButtons(QDialog& dialog, QVBoxLayout& layout, int helpTopic);

// "Text": one line of text for a label.
class TGetLabelText : public QDialog {
    Q_OBJECT
public:
    explicit TGetLabelText(QWidget* parent = nullptr);
    static constexpr int kHelpTopic = 40004;

    QLineEdit* LabelText() const { return labelText_; }

    void reject() override;

protected:
    QVBoxLayout* fields_ = nullptr;

private:
    QLineEdit* labelText_ = nullptr;
};

// "Text" with the personal information offered as well.
class TGetBCLabelText : public TGetLabelText {
    Q_OBJECT
public:
    // Lists the values that are not empty, in order.
    explicit TGetBCLabelText(const QStringList& personalInfo, QWidget* parent = nullptr);

    QComboBox* PersonalInfoCombo() const { return combo_; }

private:
    QComboBox* combo_ = nullptr;
};

// A drop-down of colours: the sixteen basic ones, the current colour when
// it is another, and "Custom..." that asks the colour dialog.
class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

signals:
    void ColorChanged(TColor color);

private:
    void picked(int index);
    int customIndex() const { return count() - 1; }
    TColor color_ = clBlack;
    bool updating_ = false;
};

// The framed preview area of the 3D effects dialog; paints the sample label.
class TLabelPreview : public QFrame {
    Q_OBJECT
public:
    TLabelPreview(TQPLabel& sample, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TQPLabel& sample_;
};

// "Text 3D Effects": shadow, highlight and font colour of a label, tried on
// a sample first.
class TQFont3DEffects : public QDialog {
    Q_OBJECT
public:
    explicit TQFont3DEffects(QWidget* parent = nullptr);
    ~TQFont3DEffects() override;
    static constexpr int kHelpTopic = 40008;

    // The activation step: the sample and the controls take the label's values.
    void Setup(const TQBaseLabel& label);
    // OK: the label takes the sample's font and effects.
    void ApplyTo(TQBaseLabel& label) const;

    TQPLabel* Sample() const { return sample_; }
    QComboBox* ShadowDirection() const { return shadowDirection_; }
    QComboBox* ShadowDepth() const { return shadowDepth_; }
    QComboBox* HighlightDirection() const { return highlightDirection_; }
    QComboBox* HighLightDepth() const { return highlightDepth_; }
    TColorCombo* ShadowColorCombo() const { return shadowColor_; }
    TColorCombo* HighLightColorCombo() const { return highlightColor_; }
    TColorCombo* FontColorCombo() const { return fontColor_; }

    void reject() override;

private:
    void fitSample();
    void sampleChanged();

    TQPLabel* sample_ = nullptr;
    TLabelPreview* preview_ = nullptr;
    QComboBox* shadowDirection_ = nullptr;
    QComboBox* shadowDepth_ = nullptr;
    QComboBox* highlightDirection_ = nullptr;
    QComboBox* highlightDepth_ = nullptr;
    TColorCombo* shadowColor_ = nullptr;
    TColorCombo* highlightColor_ = nullptr;
    TColorCombo* fontColor_ = nullptr;
};

} // namespace cardora
