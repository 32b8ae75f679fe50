// Times opening large card files, as File > Open and the batch tool do.
//
//   cardora-load-bench [--runs N] [--write-cards FOLDER]
//
// Three cards of about a megabyte each: a word-wrapped multi-line label whose
// lines are many words followed by many spaces, 20,000 rectangles, and
// 10,000 text labels. --write-cards saves them (wrapped.CDW, shapes.CDW,
// labels.CDW) for timing `cardora-cli dump` or `render` on them.
#include "bench_support.h"
#include "core/app_folder.h"
#include "core/symbol_fonts.h"
#include "objects/multiline_label.h"
#include "objects/shapes.h"
#include "objects/text_label.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

using namespace cardora;

namespace {

struct BenchCard {
    const char* file;
    const char* what;
    std::function<void(QObject&, CardPanel&)> build;
};

void wrappedLabel(QObject& owner, CardPanel& panel)
{
    QStringList lines;
    // A narrow label: every word is a piece of its own, each followed by the
    // same long run of spaces at the end of its line.
    for (int l = 0; l < 4; ++l) {
        QString line;
        for (int w = 0; w < 12000; ++w)
            line += QStringLiteral("w%1 ").arg(w % 1000);
        line += QString(170000, QLatin1Char(' '));
        lines << line;
    }
    TQMultiLineLabel* label = TQMultiLineLabel::CreateForTool(&owner, panel.Font());
    label->SetName(panel.UniqueName("MultiLine"));
    label->SetItems(lines);
    label->SetBounds(10, 10, 40, 60);
    label->SetWordWrap(true);
    panel.AddObject(label);
}

void manyShapes(QObject& owner, CardPanel& panel)
{
    for (int i = 0; i < 20000; ++i) {
        TBCShapes* s = TBCShapes::CreateForTool(&owner, ShapeType::Rectangle);
        s->SetName(QStringLiteral("Shape%1").arg(i + 1));
        s->SetBounds(i % 300, (i / 300) % 180, 20, 10);
        panel.AddObject(s);
    }
}

void manyLabels(QObject& owner, CardPanel& panel)
{
    for (int i = 0; i < 10000; ++i) {
        TQBusinessCardLabel* l = TQBusinessCardLabel::CreateForTool(&owner, panel, panel.Font());
        l->SetName(QStringLiteral("Label%1").arg(i + 1));
        l->SetCaption(QStringLiteral("Label number %1 on a crowded card").arg(i));
        l->SetBounds(i % 250, (i / 250) % 170, 80, 16);
        panel.AddObject(l);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::CardProgram program;

    int runs = 3;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--write-cards" && i + 1 < args.size())
            folder = args[++i];
        else {
            std::fprintf(stderr, "usage: cardora-load-bench [--runs N] [--write-cards FOLDER]\n");
            return 1;
        }
    }

    const std::vector<BenchCard> cards = {
        { "wrapped.CDW", "word-wrapped label, words then spaces", wrappedLabel },
        { "shapes.CDW", "20,000 rectangles", manyShapes },
        { "labels.CDW", "10,000 text labels", manyLabels },
    };
    const QString into = folder.isEmpty() ? program.Folder() : folder;
    QDir().mkpath(into);
    for (const BenchCard& c : cards) {
        const QString path = QDir(into).filePath(c.file);
        {
            QObject owner;
            CardPanel panel(nullptr, &owner);
            panel.SetShape(CardShape::Rectangle);
            panel.SetPanelSize(336, 192);
            c.build(owner, panel);
            panel.SaveCardFile(path);
        }
        if (!folder.isEmpty()) {
            std::printf("wrote %s (%s, %lld bytes)\n", qPrintable(path), c.what, QFileInfo(path).size());
            continue;
        }
        // Wall time on a shared machine says little; the processor time too.
        std::vector<double> load, cpu;
        std::size_t objects = 0;
        for (int r = 0; r < runs; ++r) {
            QObject owner;
            CardPanel panel(nullptr, &owner);
            panel.SetShape(CardShape::Rectangle);
            panel.SetPanelSize(336, 192);
            QElapsedTimer t;
            t.start();
            const std::clock_t c0 = std::clock();
            panel.LoadCardFile(path);
            cpu.push_back(double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
            load.push_back(t.nsecsElapsed() / 1e6);
            objects = panel.Objects().size();
        }
        std::printf("%-40s %8lld bytes %6zu objects  open: %8.1f ms, processor %8.1f ms (medians of %d)\n",
            c.what, QFileInfo(path).size(), objects, bench::Median(load), bench::Median(cpu), runs);
    }
    return 0;
}
