#pragma once
#include <QByteArray>
#include <QStringList>
#include <QTextDocument>
#include <memory>

namespace cardora {

class TFieldRecord;

// A new, empty document as the rich-text controls expect it: no margin,
// Arial 10 points, word processors' half-inch tabs.
std::unique_ptr<QTextDocument> NewRichDocument();

// Copies every block, run and format of `source` into `target`.
void CopyRichDocument(const QTextDocument& source, QTextDocument& target);

// The position up to which `document` is laid out without its height
// passing `maxPixels` even were every character on a line of its own (the
// characters' line heights, line spacing and paragraph spacing added up);
// the document's end when all of it fits. Text past that point lies far
// below any label, and laying it out would take unbounded time (positions
// past about 33 million pixels overflow the layout's fixed-point numbers).
int LayoutSafeEnd(const QTextDocument& document, double maxPixels);
// The height bound painters lay documents out within.
inline constexpr double kMaxLaidOutPixels = 8e6;

// Copies `source` up to position `end` (see LayoutSafeEnd) into `target`.
void CopyRichDocumentPart(const QTextDocument& source, QTextDocument& target, int end);

// True when the document holds no character and only one paragraph.
bool IsRichDocumentEmpty(const QTextDocument& document);

// Holds one formatted document and streams it as a card file keeps it: the
// RTF, then four zero bytes. The bytes read are written back unchanged for
// as long as the document is not replaced.
class TRichTextStorage {
public:
    TRichTextStorage();

    const QTextDocument& Document() const { return *document_; }
    // Replaces the document with a copy of `source`.
    void Assign(const QTextDocument& source);
    bool IsEmpty() const { return IsRichDocumentEmpty(*document_); }

    // The stored form; empty for an empty document (nothing is written).
    QByteArray Data() const;
    void SetData(const QByteArray& data);

    // Changes with every replacement and differs between storages, so that a
    // painter can tell whether it already holds this very document.
    quint64 Generation() const { return generation_; }

    // The document with its ${Name} fields filled from `values` (the stored
    // one when there are no values or no fields), and the generation a
    // painter knows that text by. A copy is made only when the values change.
    const QTextDocument& Filled(const TFieldRecord* values, quint64* generation) const;

private:
    mutable QStringList fieldNames_; // found in the document of generation namesOf_
    mutable quint64 namesOf_ = 0;
    mutable std::unique_ptr<QTextDocument> filled_;
    mutable QStringList filledValues_;
    mutable quint64 filledGeneration_ = 0;

    std::unique_ptr<QTextDocument> document_;
    QByteArray readBytes_; // as read, while the document is unchanged
    quint64 generation_;
};

} // namespace cardora
