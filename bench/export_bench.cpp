// Times writing one card as the batch tool's render and File › Export do:
// pictures at 96, 300, 600 and 1200 dpi and true-size PDF and SVG pages.
//
//   cardora-export-bench CARD.CDW [--runs N]
//
// A card with every object kind is written by `cardora-print-bench
// --write-every-kind-card`, a crowded one by `cardora-interactive-bench --write-card`.
#include "bench_support.h"
#include "core/app_folder.h"
#include "core/symbol_fonts.h"
#include "main/card_export.h"
#include "objects/stream_error.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace cardora;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 5;
    if (const int i = args.indexOf("--runs"); i >= 0 && i + 1 < args.size()) {
        runs = std::max(1, args[i + 1].toInt());
        args.remove(i, 2);
    }
    if (args.size() != 1 || !QFileInfo(args[0]).isFile()) {
        std::fprintf(stderr, "Usage: cardora-export-bench CARD.CDW [--runs N]\n");
        return 1;
    }
    const bench::CardProgram program;
    QObject owner;
    // Rich-text labels paint through it, as in the program.
    TRichTextControl masterRichText(&owner, QString::fromLatin1(kMasterRichTextName));
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    try {
        panel.LoadCardFile(args[0]);
    } catch (const EStreamError& e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[0]), qPrintable(e.Message()));
        return 1;
    }

    const struct {
        const char* name;
        TCardExportFormat format;
        int dpi;
    } cases[] = {
        { "png 96 dpi", TCardExportFormat::Png, 96 }, { "png 300 dpi", TCardExportFormat::Png, 300 },
        { "png 600 dpi", TCardExportFormat::Png, 600 }, { "png 1200 dpi", TCardExportFormat::Png, 1200 },
        { "jpeg 300 dpi", TCardExportFormat::Jpeg, 300 }, { "pdf", TCardExportFormat::Pdf, 96 },
        { "svg", TCardExportFormat::Svg, 96 },
    };
    std::printf("%-14s %10s %10s %12s\n", "output", "best ms", "median ms", "bytes");
    for (const auto& c : cases) {
        TCardExport e;
        e.Format = c.format;
        e.Dpi = c.dpi;
        const QString out = program.FilePath("card." + CardExportExtension(c.format));
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            const QString error = WriteCardExport(panel, e, out);
            ms.push_back(t.nsecsElapsed() / 1e6);
            if (!error.isEmpty()) {
                std::fprintf(stderr, "%s: %s\n", c.name, qPrintable(error));
                return 1;
            }
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-14s %10.1f %10.1f %12lld\n", c.name, ms.front(), ms[ms.size() / 2],
            static_cast<long long>(QFileInfo(out).size()));
    }
    return 0;
}
