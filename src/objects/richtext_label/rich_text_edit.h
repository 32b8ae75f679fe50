#pragma once
#include "richtext/rich_text_control.h"
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QTextCharFormat>

class QMimeData;

namespace cardora {

// The editable text of the rich-text editor. It pastes RTF from the
// clipboard with its formatting and copies the selection as RTF too.
class TRichTextItem : public QGraphicsTextItem {
    Q_OBJECT
public:
    explicit TRichTextItem(QGraphicsItem* parent = nullptr);

    void Paste();
    void Copy();
    void Cut();
    // What a paste of this clipboard content inserts.
    void InsertMimeData(const QMimeData& data);
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    // The caret moved or the text changed: the toolbar shows the format.
    void CursorMoved();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
};

// The editing control: the document laid out on the label's page at 100
// percent and shown at a zoom, so it wraps where it wraps on the card.
class TRichTextEdit : public QGraphicsView {
    Q_OBJECT
public:
    explicit TRichTextEdit(QWidget* parent = nullptr);

    QTextDocument& Document() const { return *item_->document(); }
    void AssignDocument(const QTextDocument& source);
    TRichTextItem* TextItem() const { return item_; }

    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    const TRichPageLayout& PageLayout() const { return layout_; }
    void SetPageLayout(const TRichPageLayout& layout);
    void SetPageColor(const QColor& c);

    // Lays the document out again, takes the focus, caret at the start.
    void ReformatAndFocus();

    // --- formatting of the selection, or of what is typed next
    QTextCharFormat CurrentCharFormat() const;
    Qt::Alignment CurrentAlignment() const;
    void MergeCharFormat(const QTextCharFormat& format);
    void SetAlignment(Qt::Alignment alignment);

signals:
    void CurrentFormatChanged();

private:
    void updateScene();

    TRichTextItem* item_ = nullptr;
    int zoom_ = 100;
    TRichPageLayout layout_;
};

} // namespace cardora
