#include "objects/multiline_editor.h"
#include "core/modal.h"
#include "objects/text_label_dialogs.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

namespace cardora {

// ---- TLimitedMemo

int TLimitedMemo::Room() const
{
    const int length = static_cast<int>(toPlainText().size());
    const int selected = static_cast<int>(textCursor().selectedText().size());
    return std::max(0, maxLength_ - (length - selected));
}

namespace {
// What a key press would insert, or an empty text for keys that edit otherwise.
QString typedText(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return QStringLiteral("\n");
    const QString t = event->text();
    if (t.isEmpty() || !t.at(0).isPrint())
        return QString();
    return t;
}

QString plainLines(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
} // namespace

void TLimitedMemo::keyPressEvent(QKeyEvent* event)
{
    const QString t = typedText(event);
    if (!t.isEmpty() && !event->matches(QKeySequence::Paste) && t.size() > Room()) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TLimitedMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty() && commit.size() > Room()) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(commit.left(Room()), event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool TLimitedMemo::canInsertFromMimeData(const QMimeData* source) const { return source && source->hasText(); }

void TLimitedMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString text = plainLines(source->text()).left(Room());
    if (text.isEmpty()) {
        QApplication::beep();
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}

// ---- TMultiLineTextEditor

TMultiLineTextEditor::TMultiLineTextEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MultiLineTextEditor"));
    setWindowTitle(QStringLiteral("Multi-line Text Editor"));
    auto* layout = new QVBoxLayout(this);
    memo_ = new TLimitedMemo(this);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->SetMaxLength(kMaxLength);
    memo_->setTabChangesFocus(true);
    layout->addWidget(memo_, 1);

    AddDialogButtons(*this, *layout, kHelpTopic);

    memo_->setWhatsThis(QStringLiteral("Type the lines of the label here, at most %1 characters.").arg(kMaxLength));
    resize(360, 220);
    memo_->setFocus();
}

void TMultiLineTextEditor::reject() { done(mrCancel); }

} // namespace cardora
