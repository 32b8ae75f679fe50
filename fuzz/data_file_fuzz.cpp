#include "core/data_file.h"
#include "fuzz_support.h"
#include <QSet>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace cardora;

namespace {

void Fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "%s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

// What every caller relies on: a read file has records, each answering
// every name, names unique; a failure has a one-line message and nothing else.
void Check(const TDataFile& file)
{
    if (!file.Ok()) {
        if (!file.records.isEmpty())
            Fail("records beside an error");
        if (file.error.contains(u'\n') || file.error.contains(u'\r'))
            Fail("message of more than one line:", file.error);
        if (!file.error.startsWith("Cannot read data file fuzz."))
            Fail("message names no file:", file.error);
        return;
    }
    if (file.records.isEmpty() || file.names.isEmpty())
        Fail("read without records");
    if (qint64(file.records.size()) * file.names.size() > kMaxDataValues)
        Fail("more values than the limit");
    QSet<QString> seen;
    for (const QString& name : file.names) {
        if (name.isEmpty() || seen.contains(name.toCaseFolded()))
            Fail("empty or repeated name:", name);
        seen.insert(name.toCaseFolded());
    }
    for (const TFieldRecord& record : file.records) {
        if (record.Names().size() != file.names.size())
            Fail("record of another size");
        for (const QString& name : file.names)
            if (!record.Has(name))
                Fail("record lacks", name);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

// The same bytes as each kind and as a file of unknown kind.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::Input(data, size);
    Check(ReadCsv(input, "fuzz.csv"));
    Check(ReadCsv(input, "fuzz.tsv"));
    Check(ReadVCard(input, "fuzz.vcf"));
    Check(ReadDataBytes(input, "fuzz.dat"));
    return 0;
}
