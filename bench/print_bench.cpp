// Times printing a sheet of ten cards to PDF at 600 dpi and recording the
// preview page, for a card holding one object of every kind the program knows.
//
//   cardora-print-bench [--runs N] [--write-card FILE] [--write-filled-card FILE]
//                       [--write-merge-card FILE] [--write-merge-data FILE]
//
// --write-card saves the seven-object card used to time `cardora-cli print`
// (three shapes, a line, three text labels and a picture when that kind exists).
// The second sheet holds a texture-filled and a gradient-filled super shape on
// each card, the slowest surfaces to print; --write-filled-card saves that card.
// The merged run prints the seven-object card with its name and title from
// 1,000 records (100 sheets); --write-merge-card and --write-merge-data save
// that card and a CSV file of 1,000 people for timing `cardora-cli print --data`.
#include "bench_support.h"
#include "support/card_builder.h"
#include "wysiwyg/card_maker.h"
#include "core/app_folder.h"
#include "core/persistent.h"
#include "core/symbol_fonts.h"
#include "objects/circletext/circle_text.h"
#include "objects/class_registry.h"
#include "objects/supertext/super_text.h"
#include "objects/graphic_control.h"
#include "objects/line_shape.h"
#include "objects/pictures/image_object.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "printing/batch_print.h"
#include "printing/merge_data.h"
#include "printing/sheet_printer.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace cardora;

namespace {

using test::AddKind;

void addShape(QObject& owner, CardPanel& panel, ShapeType shape, QRect box, TColor fill)
{
    TBCShapes* s = TBCShapes::CreateForTool(&owner, shape);
    s->SetName(panel.UniqueName("Shape"));
    panel.AddObject(s);
    s->SetBounds(box.x(), box.y(), box.width(), box.height());
    s->Brush()->SetColor(fill);
}

constexpr int kMergeRecords = 1000;

// The card of the command-line measurement; merged, its name and title are fields.
QStringList buildSevenObjectCard(QObject& owner, CardPanel& panel, bool merged = false)
{
    QStringList kinds;
    addShape(owner, panel, ShapeType::Rectangle, QRect(4, 4, 328, 40), 0xF0E0D0);
    addShape(owner, panel, ShapeType::Ellipse, QRect(260, 110, 60, 60), 0x80C0FF);
    addShape(owner, panel, ShapeType::RoundRect, QRect(10, 140, 120, 40), 0xC0FFC0);
    kinds << "TBCShapes" << "TBCShapes" << "TBCShapes";
    TQLineShape* line = TQLineShape::CreateForTool(&owner);
    line->SetName(panel.UniqueName("Line"));
    panel.AddObject(line);
    line->SetLineStyle(LineStyle::Horizontal);
    line->SetBounds(10, 50, 316, 4);
    kinds << "TQLineShape";
    const char* texts[] = { merged ? "${Name}" : "Jane Example", merged ? "${Title}" : "Managing Director",
        "+1 555 0100 - jane@example.com" };
    for (int i = 0; i < 3; ++i)
        if (AddKind(owner, panel, "TQBusinessCardLabel", QRect(12, 10 + i * 30 + (i ? 40 : 0), 220, 24), texts[i]))
            kinds << "TQBusinessCardLabel";
    // The peer's logo.png: 70 x 45 pixels of one blue.
    QImage logo(70, 45, QImage::Format_RGB32);
    logo.fill(QColor(0x40, 0x80, 0xC0));
    TPicture picture;
    picture.SetBitmap(logo);
    if (auto* image = qobject_cast<TQImage*>(AddKind(owner, panel, "TQImage", QRect(250, 60, 70, 45), QString()))) {
        image->SetPicture(picture);
        kinds << "TQImage";
    }
    return kinds;
}

// One object of every registered kind, laid out in a grid on the card.
QStringList buildEveryKindCard(QObject& owner, CardPanel& panel)
{
    QStringList kinds = CardClassRegistry::Instance().Names();
    kinds.sort();
    QStringList placed;
    int i = 0;
    for (const QString& kind : kinds) {
        const QRect box(8 + (i % 3) * 108, 8 + (i / 3) * 44, 100, 38);
        if (TQGraphicControl* o = AddKind(owner, panel, kind, box, kind)) {
            if (auto* shape = dynamic_cast<TQLabelShapes*>(o))
                shape->Brush()->SetColor(0x40A0FF);
            placed << kind;
            ++i;
        }
    }
    return placed;
}

// A texture-filled rounded rectangle with a shadow behind a gradient star.
QStringList buildFilledShapesCard(QObject& owner, CardPanel& panel, const QImage& texture)
{
    TSuperShape* textured = TSuperShape::CreateForTool(&owner);
    textured->SetName(panel.UniqueName("Special"));
    panel.AddObject(textured);
    textured->SetBounds(8, 8, 220, 150);
    textured->SetShape(SuperShapeKind::RoundRect);
    textured->SetSurfaceType(ShapeSurface::Image);
    textured->SetImage(&texture);
    textured->SetShadowOrient(ShadowCorner::LowerRight);
    textured->SetOutlineWidth(2);
    TSuperShape* gradient = TSuperShape::CreateForTool(&owner);
    gradient->SetName(panel.UniqueName("Special"));
    panel.AddObject(gradient);
    gradient->SetBounds(190, 40, 140, 140);
    gradient->SetFillDirection(FillDirection::Right);
    gradient->SetShadowOrient(ShadowCorner::LowerLeft);
    return { "TSuperShape (texture)", "TSuperShape (gradient)" };
}


// Median time to print `panel` on a sheet of ten cards to PDF at 600 dpi and
// to record its preview page.
struct Timing {
    double sheet = 0;
    double preview = 0;
    qint64 pdfBytes = 0;
    QString error;
};
Timing timeSheet(CardPanel& panel, const QString& pdf, int runs);

// The people of the merged run: a name and a title each, as a CSV file.
QByteArray mergeData(int records)
{
    QByteArray csv = "Name,Title\n";
    for (int i = 1; i <= records; ++i)
        csv += "Person " + QByteArray::number(i) + " Example,\"Engineer, grade " + QByteArray::number(i % 7) + "\"\n";
    return csv;
}

// Prints the merged run `runs` times; false (with the error said) when it failed.
bool reportMergedRun(CardPanel& panel, const QString& folder, int runs)
{
    const QString csv = folder + "/people.csv";
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) || file.write(mergeData(kMergeRecords)) < 0)
        return false;
    file.close();
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        TDataFile data;
        QString error = LoadMergeData(csv, panel, &data);
        TBatchPrintOptions options;
        options.Output = folder + "/merged.pdf";
        options.Data = csv;
        if (error.isEmpty())
            error = RunBatchPrint(panel, QString(), TCardLayout(), TPrinterNudges(), options, &data);
        times.push_back(t.nsecsElapsed() / 1e6);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
    }
    const double ms = bench::Median(times);
    std::printf("merged run, %d records on %d sheets, %d runs (median): %.0f ms, %.2f ms per sheet; PDF %lld bytes\n",
        kMergeRecords, kMergeRecords / 10, runs, ms, ms / (kMergeRecords / 10),
        static_cast<long long>(QFileInfo(folder + "/merged.pdf").size()));
    return true;
}

QImage benchTexture()
{
    QImage texture(QStringLiteral(":/bmbrush/wood.bmp"));
    if (texture.isNull()) {
        texture = QImage(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                texture.setPixel(x, y, qRgb(120 + (x * 7 + y * 3) % 60, 80 + y % 40, 40));
    }
    return texture;
}

// A card of headlines: circle text round a seal and along arcs, and super
// text with each of its fills.
QStringList buildHeadlineCard(QObject& owner, CardPanel& panel)
{
    QStringList placed;
    auto place = [&](TQGraphicControl* o, QRect box) {
        o->SetName(panel.UniqueName("Special"));
        panel.AddObject(o);
        o->SetBounds(box.x(), box.y(), box.width(), box.height());
        placed << o->ClassName();
    };
    struct Circle {
        const char* text;
        ArcDegrees degrees, start;
        bool mirror;
        QRect box;
    };
    const Circle circles[] = {
        { "CARDORA PRINT SHOP EST 1999", ArcDegrees::Deg360, ArcDegrees::Deg180, false, QRect(4, 4, 110, 110) },
        { "QUALITY CARDS", ArcDegrees::Deg180, ArcDegrees::Deg180, false, QRect(120, 4, 110, 60) },
        { "FAST AND FRIENDLY", ArcDegrees::Deg180, ArcDegrees::Deg360, true, QRect(120, 70, 110, 60) },
    };
    for (const Circle& c : circles) {
        TQPCircleText* t = TQPCircleText::CreateForTool(&owner);
        t->SetCaption(QString::fromLatin1(c.text));
        t->SetDegrees(c.degrees);
        t->SetStartingVector(c.start);
        t->SetMirror(c.mirror);
        t->Font()->SetSize(9);
        place(t, c.box);
    }
    // Super text filled with a gradient, a texture and the font colour,
    // outlined and shadowed.
    const QImage tile = benchTexture();
    const TQSuperText::Surface surfaces[] = { TQSuperText::Surface::Gradient, TQSuperText::Surface::Image,
        TQSuperText::Surface::Normal };
    for (int i = 0; i < 3; ++i) {
        TQSuperText* t = TQSuperText::CreateForTool(&owner);
        t->SetCaption(QStringLiteral("Headline %1").arg(i + 1));
        t->Font()->SetSize(22);
        t->SetShadowDepth(3);
        t->SetSurfaceType(surfaces[i]);
        if (surfaces[i] == TQSuperText::Surface::Image)
            t->SetImage(&tile);
        place(t, i < 2 ? QRect(232, 4 + i * 60, 100, 50) : QRect(10, 135, 320, 50));
    }
    return placed;
}

Timing timeSheet(CardPanel& panel, const QString& pdf, int runs)
{
    Timing result;
    TBatchPrintOptions options;
    options.Output = pdf;
    options.Dpi = 600;
    std::vector<double> sheet, preview;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        result.error = RunBatchPrint(panel, QString(), TCardLayout(), TPrinterNudges(), options);
        sheet.push_back(t.nsecsElapsed() / 1e6);
        if (!result.error.isEmpty())
            return result;

        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf + ".unused");
        printer->setResolution(600);
        TRecordingReport pages(printer);
        TPrintJobRequest request;
        request.Printing = false;
        panel.SetPreviewing(true);
        TSheetPrinter job(panel, request);
        t.restart();
        job.Run(pages);
        preview.push_back(t.nsecsElapsed() / 1e6);
        panel.SetPreviewing(false);
    }
    result.sheet = bench::Median(sheet);
    result.preview = bench::Median(preview);
    result.pdfBytes = QFileInfo(pdf).size();
    return result;
}

// Times the sheet and prints the figures; false (with the error said) when it failed.
bool reportSheet(CardPanel& panel, const QString& pdf, int runs)
{
    const Timing t = timeSheet(panel, pdf, runs);
    if (!t.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(t.error));
        return false;
    }
    std::printf("PDF at 600 dpi, %d runs (median): %.1f ms per sheet of 10 cards, %.2f ms per card\n", runs, t.sheet,
        t.sheet / 10.0);
    std::printf("preview recording (whole sheet): %.2f ms\n", t.preview);
    std::printf("PDF size: %lld bytes\n", static_cast<long long>(t.pdfBytes));
    return true;
}

} // namespace

static void initBundledResources() { Q_INIT_RESOURCE(resources); }

int main(int argc, char** argv)
{
    initBundledResources();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::CardProgram program;

    int runs = 10;
    QString cardFile;
    QString filledCardFile;
    QString compositeCardFile;
    QString mergeCardFile;
    QString mergeDataFile;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--write-card" && i + 1 < args.size())
            cardFile = args[++i];
        else if (args[i] == "--write-filled-card" && i + 1 < args.size())
            filledCardFile = args[++i];
        else if (args[i] == "--write-every-kind-card" && i + 1 < args.size())
            compositeCardFile = args[++i];
        else if (args[i] == "--write-merge-card" && i + 1 < args.size())
            mergeCardFile = args[++i];
        else if (args[i] == "--write-merge-data" && i + 1 < args.size())
            mergeDataFile = args[++i];
        else {
            std::fprintf(stderr, "usage: cardora-print-bench [--runs N] [--write-card FILE] [--write-filled-card FILE] "
                                 "[--write-every-kind-card FILE] [--write-merge-card FILE] [--write-merge-data FILE]\n");
            return 1;
        }
    }

    if (!mergeDataFile.isEmpty()) {
        QFile file(mergeDataFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(mergeData(kMergeRecords)) < 0)
            return 1;
        std::printf("wrote %s with %d records\n", qPrintable(mergeDataFile), kMergeRecords);
        return 0;
    }

    if (!cardFile.isEmpty() || !mergeCardFile.isEmpty()) {
        QObject owner;
        CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        const bool merged = cardFile.isEmpty();
        const QString path = merged ? mergeCardFile : cardFile;
        const QStringList kinds = buildSevenObjectCard(owner, panel, merged);
        panel.SaveCardFile(path);
        std::printf("wrote %s with %d objects: %s\n", qPrintable(path), int(kinds.size()),
            qPrintable(kinds.join(", ")));
        return 0;
    }

    // A business card mixing every kind as a user makes one (gradient band,
    // logo, headline, labels with effects, symbol, circle and rich text).
    if (!compositeCardFile.isEmpty()) {
        QObject owner;
        CardPanel panel(nullptr, &owner);
        TRichTextControl masterRichText(&owner, QString::fromLatin1(kMasterRichTextName));
        panel.SetShape(CardShape::Rectangle);
        panel.SetPanelSize(336, 192);
        QStringList kinds;
        for (const test::CompositePart& part : test::CompositeParts()) {
            test::AddPart(owner, panel, part);
            kinds << part.kind;
        }
        panel.SaveCardFile(compositeCardFile);
        std::printf("wrote %s with %d objects: %s\n", qPrintable(compositeCardFile), int(kinds.size()),
            qPrintable(kinds.join(", ")));
        return 0;
    }

    if (!filledCardFile.isEmpty()) {
        QObject owner;
        CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        const QStringList kinds = buildFilledShapesCard(owner, panel, benchTexture());
        panel.SaveCardFile(filledCardFile);
        std::printf("wrote %s with %d objects: %s\n", qPrintable(filledCardFile), int(kinds.size()),
            qPrintable(kinds.join(", ")));
        return 0;
    }

    // The card goes through a card file, as the batch tool reads it.
    QObject owner;
    CardPanel panel(nullptr, &owner);
    TRichTextControl masterRichText(&owner, QString::fromLatin1(kMasterRichTextName));
    panel.SetShape(CardShape::Rectangle);
    panel.SetPanelSize(336, 192);
    const QStringList kinds = buildEveryKindCard(owner, panel);
    const QString card = program.FilePath("every-kind.CDW");
    panel.SaveCardFile(card);
    panel.ClearObjects();
    panel.LoadCardFile(card);
    std::printf("card: %d objects (%s)\n", int(panel.Objects().size()), qPrintable(kinds.join(", ")));

    if (!reportSheet(panel, program.FilePath("sheet.pdf"), runs))
        return 1;

    // The every-kind business card: gradient band, logo, headline, labels
    // with effects, symbol, circle and rich text, shapes and rules.
    QObject compositeOwner;
    CardPanel composite(nullptr, &compositeOwner);
    TRichTextControl compositeRichText(&compositeOwner, QString::fromLatin1(kMasterRichTextName));
    composite.SetShape(CardShape::Rectangle);
    composite.SetPanelSize(336, 192);
    for (const test::CompositePart& part : test::CompositeParts())
        test::AddPart(compositeOwner, composite, part);
    const QString compositeCard = program.FilePath("business-card.CDW");
    composite.SaveCardFile(compositeCard);
    composite.ClearObjects();
    composite.LoadCardFile(compositeCard);
    std::printf("\nevery-kind business card: %d objects\n", int(composite.Objects().size()));
    if (!reportSheet(composite, program.FilePath("business-card.pdf"), runs))
        return 1;

    QObject filledOwner;
    CardPanel filled(nullptr, &filledOwner);
    filled.SetShape(CardShape::Rectangle);
    filled.SetPanelSize(336, 192);
    const QStringList filledKinds = buildFilledShapesCard(filledOwner, filled, benchTexture());
    const QString filledCard = program.FilePath("filled.CDW");
    filled.SaveCardFile(filledCard);
    filled.ClearObjects();
    filled.LoadCardFile(filledCard);
    std::printf("\nfilled card: %s\n", qPrintable(filledKinds.join(", ")));
    if (!reportSheet(filled, program.FilePath("filled.pdf"), runs))
        return 1;

    QObject headlineOwner;
    CardPanel headline(nullptr, &headlineOwner);
    headline.SetShape(CardShape::Rectangle);
    headline.SetPanelSize(336, 192);
    const QStringList headlineKinds = buildHeadlineCard(headlineOwner, headline);
    const QString headlineCard = program.FilePath("headlines.CDW");
    headline.SaveCardFile(headlineCard);
    headline.ClearObjects();
    headline.LoadCardFile(headlineCard);
    std::printf("\nheadline card: %s\n", qPrintable(headlineKinds.join(", ")));
    if (!reportSheet(headline, program.FilePath("headlines.pdf"), runs))
        return 1;

    QObject mergeOwner;
    CardPanel merge(nullptr, &mergeOwner);
    merge.SetShape(CardShape::Rectangle);
    merge.SetPanelSize(336, 192);
    buildSevenObjectCard(mergeOwner, merge, true);
    std::printf("\n");
    if (!reportMergedRun(merge, program.Folder(), std::max(1, runs / 3)))
        return 1;
    return 0;
}
