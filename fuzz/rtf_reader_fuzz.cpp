#include "fuzz_support.h"
#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include <QAbstractTextDocumentLayout>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace cardora;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

// Any input reads into a document that lays out; what the writer makes of
// it reads back to a document the writer writes the same way again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::Input(data, size);
    const std::unique_ptr<QTextDocument> doc = NewRichDocument();
    ReadRtf(input, *doc);
    doc->setTextWidth(190);
    doc->documentLayout()->documentSize();

    const QByteArray written = WriteRtf(*doc);
    const std::unique_ptr<QTextDocument> back = NewRichDocument();
    ReadRtf(written, *back);
    if (back->toPlainText() != doc->toPlainText()) {
        std::fprintf(stderr, "text changed on the way back:\n%s\n", written.constData());
        std::abort();
    }
    const QByteArray again = WriteRtf(*back);
    if (again != written) {
        std::fprintf(stderr, "written differently the second time:\n%s\n---\n%s\n", written.constData(),
            again.constData());
        std::abort();
    }
    return 0;
}
