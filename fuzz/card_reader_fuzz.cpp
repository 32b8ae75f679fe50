#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/stream_error.h"
#include "objects/fake_parent.h"
#include "objects/test_card_object.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace cardora;
using namespace cardora::test;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    RegisterCardObjectKinds();
    TTestCardObject::Register();
    return 0;
}

namespace {
// What the reader accepted is also laid out and painted, as File > Open and
// the batch tool's render do, on a small card panel, and printed.
void paintOnCard(const QByteArray& input)
{
    static QObject owner;
    static CardPanel panel(nullptr, &owner);
    static bool sized = false;
    if (!sized) {
        panel.SetShape(CardShape::Rectangle);
        panel.SetPanelSize(336, 192);
        sized = true;
    }
    panel.ClearObjects();
    TQLabelObjectFiler filer;
    try {
        filer.ReadObjects(input, &owner, &panel, [](TQGraphicControl* o) { panel.AddObject(o); });
    } catch (const EStreamError&) {
        // The objects read before the failure stay, as on the panel.
    }
    panel.RehookObjects();
    const QImage image = panel.RenderCardBitmap();
    if (image.isNull())
        std::abort();
    // ... and printed on a page, as a sheet of cards is.
    TPageMetrics m;
    m.paperInches = QSizeF(2.0, 1.5);
    m.xDpi = m.yDpi = 100;
    TRecordingReport report(m);
    report.OnPrint = [](TReport& r) {
        for (TQGraphicControl* o : panel.Objects())
            o->PrintAt(r, 0.1, 0.1);
    };
    report.Execute();
    panel.RemoveOffCardObjects();
    panel.ClearObjects();
}

QByteArray readAndWrite(const QByteArray& bytes)
{
    FakeParent parent;
    TQLabelObjectFiler filer;
    return TQLabelObjectFiler::WriteObjects(
        filer.ReadObjects(bytes, &parent.Owner, &parent, parent.AdoptFunction()));
}
} // namespace

// Any input either fails with a reader message or reads objects whose file
// reads back. Empty texts are left out when written, so an object that read
// an empty font name takes the panel's on the next read: the bytes settle
// after one more round and must not change after that.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    paintOnCard(input);
    FakeParent parent;
    TQLabelObjectFiler filer;
    std::vector<TQGraphicControl*> read;
    try {
        read = filer.ReadObjects(input, &parent.Owner, &parent, parent.AdoptFunction());
    } catch (const EStreamError&) {
        return 0;
    }
    DumpCardJson(read);
    try {
        const QByteArray settled = readAndWrite(TQLabelObjectFiler::WriteObjects(read));
        const QByteArray again = readAndWrite(settled);
        if (again != settled) {
            std::fprintf(stderr, "settled: %s\nagain:   %s\n", settled.toHex(' ').constData(),
                again.toHex(' ').constData());
            std::abort();
        }
    } catch (const EStreamError& e) {
        std::fprintf(stderr, "written objects do not read back: %s\n", qPrintable(e.Message()));
        std::abort();
    }
    return 0;
}
