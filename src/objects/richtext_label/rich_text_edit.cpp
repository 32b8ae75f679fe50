#include "objects/richtext_label/rich_text_edit.h"
#include "core/window_placement.h"
#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QGraphicsSceneContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace cardora {

namespace {
// The clipboard types word processors offer RTF under.
const char* const kRtfTypes[] = { "text/rtf", "application/rtf", "text/richtext" };
} // namespace

// ---- TRichTextItem

TRichTextItem::TRichTextItem(QGraphicsItem* parent) : QGraphicsTextItem(parent)
{
    setTextInteractionFlags(Qt::TextEditorInteraction);
    connect(document(), &QTextDocument::contentsChanged, this, &TRichTextItem::CursorMoved);
}

void TRichTextItem::InsertMimeData(const QMimeData& data)
{
    QTextCursor cursor = textCursor();
    for (const char* type : kRtfTypes) {
        if (!data.hasFormat(QString::fromLatin1(type)))
            continue;
        const std::unique_ptr<QTextDocument> pasted = NewRichDocument();
        ReadRtf(data.data(QString::fromLatin1(type)), *pasted);
        cursor.insertFragment(QTextDocumentFragment(pasted.get()));
        setTextCursor(cursor);
        emit CursorMoved();
        return;
    }
    if (data.hasHtml())
        cursor.insertFragment(QTextDocumentFragment::fromHtml(data.html()));
    else if (data.hasText())
        cursor.insertText(data.text());
    setTextCursor(cursor);
    emit CursorMoved();
}

void TRichTextItem::Paste()
{
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        InsertMimeData(*data);
}

void TRichTextItem::Copy()
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    const QTextDocumentFragment fragment(cursor);
    auto* data = new QMimeData;
    data->setText(fragment.toPlainText());
    data->setHtml(fragment.toHtml());
    const std::unique_ptr<QTextDocument> copied = NewRichDocument();
    copied->setDefaultFont(document()->defaultFont());
    QTextCursor(copied.get()).insertFragment(fragment);
    data->setData(QStringLiteral("text/rtf"), WriteRtf(*copied));
    QGuiApplication::clipboard()->setMimeData(data);
}

void TRichTextItem::Cut()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    Copy();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void TRichTextItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    // The text is the whole editor: no focus frame around it.
    QStyleOptionGraphicsItem plain(*option);
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    QGraphicsTextItem::paint(painter, &plain, widget);
}

void TRichTextItem::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut();
        event->accept();
        return;
    }
    QGraphicsTextItem::keyPressEvent(event);
    emit CursorMoved();
}

void TRichTextItem::inputMethodEvent(QInputMethodEvent* event)
{
    QGraphicsTextItem::inputMethodEvent(event);
    emit CursorMoved();
}

void TRichTextItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsTextItem::mousePressEvent(event);
    emit CursorMoved();
}

void TRichTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsTextItem::mouseReleaseEvent(event);
    emit CursorMoved();
}

void TRichTextItem::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    QMenu menu;
    QTextDocument* doc = document();
    const bool selection = textCursor().hasSelection();
    QAction* undo = menu.addAction(QStringLiteral("Undo"), [doc] { doc->undo(); });
    undo->setEnabled(doc->isUndoAvailable());
    QAction* redo = menu.addAction(QStringLiteral("Redo"), [doc] { doc->redo(); });
    redo->setEnabled(doc->isRedoAvailable());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Cut"), [this] { Cut(); })->setEnabled(selection);
    menu.addAction(QStringLiteral("Copy"), [this] { Copy(); })->setEnabled(selection);
    menu.addAction(QStringLiteral("Paste"), [this] { Paste(); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("Select All"), [this] {
        QTextCursor c = textCursor();
        c.select(QTextCursor::Document);
        setTextCursor(c);
        emit CursorMoved();
    });
    menu.exec(event->screenPos());
    event->accept();
}

// ---- TRichTextEdit

TRichTextEdit::TRichTextEdit(QWidget* parent) : QGraphicsView(parent)
{
    setScene(new QGraphicsScene(this));
    item_ = new TRichTextItem;
    scene()->addItem(item_);
    // The label's own document model: no margin, its default font.
    const std::unique_ptr<QTextDocument> empty = NewRichDocument();
    AssignDocument(*empty);
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    SetPageColor(Qt::white);
    // The text never scrolls sideways: it wraps at the box's width, and the
    // caret's own scrolling would otherwise hide the first letters.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (v != horizontalScrollBar()->minimum())
            horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    });
    connect(item_, &TRichTextItem::CursorMoved, this, [this] {
        updateScene();
        // Keep the caret in sight when the text grows below the box.
        const QTextCursor c = item_->textCursor();
        const QTextBlock block = c.block();
        QRectF r = Document().documentLayout()->blockBoundingRect(block);
        if (const QTextLayout* layout = block.layout()) {
            const QTextLine line = layout->lineForTextPosition(c.positionInBlock());
            if (line.isValid())
                r = QRectF(r.left(), r.top() + line.y(), r.width(), line.height());
        }
        const QRectF caret = item_->mapRectToScene(r);
        ensureVisible(QRectF(0, caret.top(), 1, caret.height()), 0, 0);
        emit CurrentFormatChanged();
    });
}

void TRichTextEdit::AssignDocument(const QTextDocument& source)
{
    QTextDocument* doc = item_->document();
    doc->setUndoRedoEnabled(false);
    CopyRichDocument(source, *doc);
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(true);
    updateScene();
}

void TRichTextEdit::SetZoom(int percent)
{
    zoom_ = std::clamp(percent, 1, 1000);
    setTransform(QTransform::fromScale(zoom_ / 100.0, zoom_ / 100.0));
    updateScene();
}

void TRichTextEdit::SetPageLayout(const TRichPageLayout& layout)
{
    layout_ = layout;
    const double ppi = ScreenPixelsPerInch();
    item_->setPos(TwipsToPixels(layout.leftMargin, ppi), TwipsToPixels(layout.topMargin, ppi));
    item_->setTextWidth(std::max(1.0, TwipsToPixels(layout.pageWidth - layout.leftMargin - layout.rightMargin, ppi)));
    updateScene();
}

void TRichTextEdit::SetPageColor(const QColor& c)
{
    setBackgroundBrush(c);
    QPalette p = palette();
    p.setColor(QPalette::Base, c);
    setPalette(p);
}

void TRichTextEdit::updateScene()
{
    // Only the text's height scrolls: the page's width is the box's, and
    // empty page below the text needs no scrolling to.
    const double ppi = ScreenPixelsPerInch();
    const QRectF text = item_->mapRectToScene(item_->boundingRect());
    setSceneRect(QRectF(0, 0, TwipsToPixels(layout_.pageWidth, ppi), std::max(1.0, text.bottom())));
}

void TRichTextEdit::ReformatAndFocus()
{
    Document().markContentsDirty(0, Document().characterCount());
    updateScene();
    setFocus();
    scene()->setFocusItem(item_);
    QTextCursor c = item_->textCursor();
    c.movePosition(QTextCursor::Start);
    item_->setTextCursor(c);
    verticalScrollBar()->setValue(0);
    emit CurrentFormatChanged();
}

QTextCharFormat TRichTextEdit::CurrentCharFormat() const
{
    QTextCharFormat f = item_->textCursor().charFormat();
    // Unset properties show as the document's defaults.
    QTextCharFormat resolved;
    resolved.setFont(Document().defaultFont());
    resolved.merge(f);
    return resolved;
}

Qt::Alignment TRichTextEdit::CurrentAlignment() const
{
    return item_->textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

void TRichTextEdit::MergeCharFormat(const QTextCharFormat& format)
{
    QTextCursor c = item_->textCursor();
    c.mergeCharFormat(format);
    item_->setTextCursor(c);
    updateScene();
    emit CurrentFormatChanged();
}

void TRichTextEdit::SetAlignment(Qt::Alignment alignment)
{
    QTextCursor c = item_->textCursor();
    QTextBlockFormat f;
    f.setAlignment(alignment);
    c.mergeBlockFormat(f);
    item_->setTextCursor(c);
    emit CurrentFormatChanged();
}

} // namespace cardora
