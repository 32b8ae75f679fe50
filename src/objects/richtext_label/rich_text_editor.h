#pragma once
#include "objects/richtext_label/rich_text_edit.h"
#include <QDialog>

class QComboBox;
class QFontComboBox;
class QFrame;
class QToolButton;

namespace cardora {

// The formatting bar above the editing control: font name, size and colour
// lists, bold, italic, underline, strike-out and the four alignments.
class TRichTextToolBar : public QWidget {
    Q_OBJECT
public:
    explicit TRichTextToolBar(TRichTextEdit& editor, QWidget* parent = nullptr);

    // Shows the format at the caret.
    void ShowCurrentFormat();
    // Buttons placed after the formatting ones.
    void AddTool(QWidget* tool);

    // The colours of the colour list, in order.
    static const QList<QPair<QString, QColor>>& ColorChoices();

private:
    QToolButton* addButton(const QString& name, const QString& text, const QString& hint, bool checkable);

    TRichTextEdit& editor_;
    QFontComboBox* fontName_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    QComboBox* fontColor_ = nullptr;
    QToolButton* bold_ = nullptr;
    QToolButton* italic_ = nullptr;
    QToolButton* underline_ = nullptr;
    QToolButton* strikeOut_ = nullptr;
    QToolButton* alignButtons_[4] {};
    bool updating_ = false;
};

// "Rich Text Editor": the label's document in an editing control the size of
// the label, at the card's zoom, with the formatting bar and zoom buttons.
class TRichTextLabelEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 40013;
    static constexpr int kZoomStep = 10;
    static constexpr int kZoomInLimit = 100;
    static constexpr int kZoomOutLimit = 50;

    explicit TRichTextLabelEditor(QWidget* parent = nullptr);

    TRichTextEdit* WPRichText1() const { return edit_; }
    QFrame* WPPanel() const { return panel_; }
    TRichTextToolBar* WPToolBar1() const { return toolBar_; }

    // The frame's colour (the label's background when it is not transparent).
    void SetPanelColor(const QColor& c);
    // The frame's size; the proportions kept when zooming start from it.
    void SetPanelSize(int width, int height);

    void zoomIn();
    void zoomOut();
    // Shows the control ready for typing and remembers the frame at this zoom.
    void prepareToShow();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rememberFrame();
    void fitPanel();

    TRichTextEdit* edit_ = nullptr;
    QFrame* panel_ = nullptr;
    TRichTextToolBar* toolBar_ = nullptr;
    QFrame* zoomCaption_ = nullptr;
    int rememberedWidth_ = 0, rememberedHeight_ = 0, rememberedZoom_ = 100;
    bool activated_ = false;
};

} // namespace cardora
