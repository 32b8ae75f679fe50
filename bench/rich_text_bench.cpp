// Times the rich-text engine on the RTF other programs wrote (tests/data/rtf):
// reading, writing, and painting a label through the master control, as
// every repaint of the card does.
//
//   cardora-rich-text-bench [--runs N] [FILE.rtf ...]
#include "bench_support.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace cardora;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 200;
    QStringList files;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else
            files << args[i];
    }
    if (files.isEmpty())
        for (const char* name : { "pandoc.rtf", "abiword.rtf", "libreoffice.rtf" })
            files << QStringLiteral(CARDORA_SOURCE_DIR "/tests/data/rtf/") + name;

    QObject owner;
    TRichTextControl master(&owner, QString::fromLatin1(kMasterRichTextName));
    std::printf("%-16s %8s %10s %10s %12s %12s\n", "file", "bytes", "read us", "write us", "paint 1.0 us",
        "paint 1.5 us");
    for (const QString& path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray rtf = f.readAll();
        std::vector<double> read, write, paint1, paint15;
        QTextDocument doc;
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer t;
            t.start();
            ReadRtf(rtf, doc);
            read.push_back(t.nsecsElapsed() / 1e3);
            t.restart();
            const QByteArray out = WriteRtf(doc);
            write.push_back(t.nsecsElapsed() / 1e3);
        }
        std::unique_ptr<TQPRichBaseLabel> label(TQPRichBaseLabel::CreateForTool(&owner));
        label->SetBounds(0, 0, 336, 192);
        label->SetRTFText(doc);
        for (const float zoom : { 1.0f, 1.5f }) {
            // A view at this zoom paints through its scale.
            QImage image(int(label->Width() * zoom), int(label->Height() * zoom), QImage::Format_RGB32);
            for (int r = 0; r < runs; ++r) {
                image.fill(Qt::white);
                QPainter p(&image);
                p.scale(zoom, zoom);
                QElapsedTimer t;
                t.start();
                label->PaintTo(p, 0, 0);
                (zoom == 1.0f ? paint1 : paint15).push_back(t.nsecsElapsed() / 1e3);
            }
        }
        std::printf("%-16s %8lld %10.0f %10.0f %12.0f %12.0f\n", qPrintable(QFileInfo(path).fileName()),
            static_cast<long long>(rtf.size()), bench::Median(read), bench::Median(write), bench::Median(paint1), bench::Median(paint15));
    }
    std::printf("medians of %d runs\n", runs);
    return 0;
}
