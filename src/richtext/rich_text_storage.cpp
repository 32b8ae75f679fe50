#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextOption>
#include <atomic>

namespace cardora {

std::unique_ptr<QTextDocument> NewRichDocument()
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    doc->setDefaultFont(font);
    QTextOption option = doc->defaultTextOption();
    option.setTabStopDistance(kDefaultTabTwips / kTwipsPerDocumentPixel);
    doc->setDefaultTextOption(option);
    return doc;
}

void CopyRichDocument(const QTextDocument& source, QTextDocument& target)
{
    if (&source == &target)
        return;
    target.clear();
    target.setDefaultFont(source.defaultFont());
    target.setDefaultTextOption(source.defaultTextOption());
    target.setDocumentMargin(source.documentMargin());
    QTextCursor cursor(&target);
    // The first paragraph's formats do not travel with a fragment.
    const QTextBlock first = source.begin();
    cursor.setBlockFormat(first.blockFormat());
    cursor.setBlockCharFormat(first.charFormat());
    cursor.insertFragment(QTextDocumentFragment(&source));
    // Nor does the last paragraph's mark.
    QTextCursor end(&target);
    end.movePosition(QTextCursor::End);
    end.setBlockCharFormat(source.lastBlock().charFormat());
}

bool IsRichDocumentEmpty(const QTextDocument& document)
{
    return document.blockCount() <= 1 && document.characterCount() <= 1;
}

namespace {
// Generations are unique across every storage, so that a painter that last
// took generation g of some label knows it still holds that very text.
quint64 nextGeneration()
{
    static std::atomic<quint64> counter { 0 };
    return ++counter;
}
} // namespace

TRichTextStorage::TRichTextStorage() : document_(NewRichDocument()), generation_(nextGeneration()) {}

void TRichTextStorage::Assign(const QTextDocument& source)
{
    CopyRichDocument(source, *document_);
    readBytes_.clear();
    generation_ = nextGeneration();
}

QByteArray TRichTextStorage::Data() const
{
    if (IsEmpty())
        return QByteArray();
    if (!readBytes_.isEmpty())
        return readBytes_;
    return WriteRtf(*document_) + QByteArray(4, '\0');
}

void TRichTextStorage::SetData(const QByteArray& data)
{
    ReadRtf(data, *document_);
    readBytes_ = data;
    generation_ = nextGeneration();
}

} // namespace cardora
