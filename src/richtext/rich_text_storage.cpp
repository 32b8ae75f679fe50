#include "richtext/rich_text_storage.h"
#include "core/fields.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextOption>
#include <algorithm>
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

namespace {
constexpr double kPixelsPerPoint = 96.0 / 72.0;

double linePixels(const QTextCharFormat& f, const QFont& fallback)
{
    double points = f.fontPointSize();
    if (points <= 0)
        points = fallback.pointSizeF() > 0 ? fallback.pointSizeF() : 10.0;
    return points * kPixelsPerPoint * 1.3;
}

// One line's height in the block's spacing, for text of `text` pixels.
double spacedLine(const QTextBlockFormat& b, double text)
{
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight: return text * std::max(1.0, b.lineHeight() / 100.0);
    case QTextBlockFormat::FixedHeight:
    case QTextBlockFormat::MinimumHeight: return std::max(text, b.lineHeight());
    case QTextBlockFormat::LineDistanceHeight: return text + std::max(0.0, b.lineHeight());
    default: return text;
    }
}
} // namespace

int LayoutSafeEnd(const QTextDocument& document, double maxPixels)
{
    double height = 0;
    const QFont fallback = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat b = block.blockFormat();
        height += std::max(0.0, b.topMargin()) + std::max(0.0, b.bottomMargin())
            + spacedLine(b, linePixels(block.charFormat(), fallback));
        if (height > maxPixels)
            return block.position();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const double perCharacter = spacedLine(b, linePixels(fragment.charFormat(), fallback));
            if (height + perCharacter * fragment.length() > maxPixels)
                return fragment.position() + int(std::max(0.0, (maxPixels - height) / perCharacter));
            height += perCharacter * fragment.length();
        }
    }
    return document.characterCount();
}

namespace {
// The target emptied and given the source's defaults, with a cursor at its
// start in the first paragraph's formats (they do not travel with a fragment).
QTextCursor startCopy(const QTextDocument& source, QTextDocument& target)
{
    target.clear();
    target.setDefaultFont(source.defaultFont());
    target.setDefaultTextOption(source.defaultTextOption());
    target.setDocumentMargin(source.documentMargin());
    QTextCursor cursor(&target);
    const QTextBlock first = source.begin();
    cursor.setBlockFormat(first.blockFormat());
    cursor.setBlockCharFormat(first.charFormat());
    return cursor;
}
} // namespace

void CopyRichDocumentPart(const QTextDocument& source, QTextDocument& target, int end)
{
    if (&source == &target)
        return;
    if (end >= source.characterCount()) {
        CopyRichDocument(source, target);
        return;
    }
    QTextCursor cursor = startCopy(source, target);
    QTextCursor part(source.begin());
    part.setPosition(std::max(0, end), QTextCursor::KeepAnchor);
    cursor.insertFragment(part.selection());
}

void CopyRichDocument(const QTextDocument& source, QTextDocument& target)
{
    if (&source == &target)
        return;
    QTextCursor cursor = startCopy(source, target);
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

namespace cardora {

namespace {

void FillFields(QTextDocument& document, const TFieldRecord& values)
{
    QTextCursor at(&document);
    for (;;) {
        at = document.find(FieldPattern(), at);
        if (at.isNull())
            return;
        const QString typed = at.selectedText();
        const std::optional<QString> value = values.Value(typed.mid(2, typed.size() - 3));
        if (value) // in the field's own format; the cursor moves past the value
            at.insertText(*value, at.charFormat());
    }
}

} // namespace

const QTextDocument& TRichTextStorage::Filled(const TFieldRecord* values, quint64* generation) const
{
    *generation = generation_;
    if (!values)
        return *document_;
    if (namesOf_ != generation_) {
        fieldNames_ = FieldNamesIn(document_->toPlainText());
        namesOf_ = generation_;
        filled_.reset();
    }
    if (fieldNames_.isEmpty())
        return *document_;
    QStringList shown;
    for (const QString& name : fieldNames_) // a field the values lack stays as typed
        shown << values->Value(name).value_or(QStringLiteral("${") + name + QLatin1Char('}'));
    if (!filled_ || shown != filledValues_) {
        filled_ = NewRichDocument();
        CopyRichDocument(*document_, *filled_);
        FillFields(*filled_, *values);
        filledValues_ = shown;
        filledGeneration_ = nextGeneration();
    }
    *generation = filledGeneration_;
    return *filled_;
}

} // namespace cardora
