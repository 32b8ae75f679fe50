#include "objects/card_filer.h"
#include "objects/fake_parent.h"
#include "objects/stream_error.h"
#include "report/recording_report.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>

using namespace cardora;
using namespace cardora::test;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    RegisterCardObjectKinds();
    return 0;
}

// Whatever a card file holds, the objects it reads paint on screen and
// print on a page without crashing or hanging.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FakeParent parent;
    TQLabelObjectFiler filer;
    std::vector<TQGraphicControl*> read;
    try {
        read = filer.ReadObjects(input, &parent.Owner, &parent, parent.AdoptFunction());
    } catch (const EStreamError&) {
        return 0;
    }
    QImage screen(160, 100, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter p(&screen);
        for (TQGraphicControl* o : read)
            o->PaintTo(p, 0, 0);
    }
    TPageMetrics m;
    m.paperInches = QSizeF(2.0, 1.5);
    m.xDpi = m.yDpi = 100;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) {
        for (TQGraphicControl* o : read)
            o->PrintAt(r, 0.1, 0.1);
    };
    report.Execute();
    return 0;
}
