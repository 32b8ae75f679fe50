#pragma once
#include <QDialog>
#include <QPlainTextEdit>

class QMimeData;

namespace cardora {

// A plain multi-line edit field that refuses typing and pasting beyond
// MaxLength characters (a line break counts as one). Text set by the
// program is taken whole.
class TLimitedMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TLimitedMemo(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n) { maxLength_ = n; }
    // Characters that may still be inserted in place of the selection.
    int Room() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int maxLength_ = 32767;
};

// The "Multi-line Text Editor": the lines of a multi-line label in one
// edit field above the Ok, Cancel and Help row of the objects' dialogs.
class TMultiLineTextEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 254;
    static constexpr int kHelpTopic = 40001;

    explicit TMultiLineTextEditor(QWidget* parent = nullptr);

    TLimitedMemo* Memo() const { return memo_; }
    QString Text() const { return memo_->toPlainText(); }
    void SetText(const QString& text) { memo_->setPlainText(text); }
    void SetEditorFont(const QFont& font) { memo_->setFont(font); }

    // Closes with the Cancel result (also for Escape and the close box).
    void reject() override;

private:
    TLimitedMemo* memo_ = nullptr;
};

} // namespace cardora
