// What you see is what you print: every output of a card (picture export,
// PDF and SVG exports, the preview page and the printed sheet) compared in
// blocks of a tenth of an inch with the card as the panel paints it.
#include "card_maker.h"
#include "card_outputs.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include <iostream>
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// Block means may differ a little where text is hinted for the screen and
// drawn as outlines on paper; a missing, moved or cut object differs by far
// more than this.
constexpr int kTolerance = 56;
// Cards of one sheet come from the same drawing at whole-pixel offsets.
constexpr int kSheetTolerance = 40;
constexpr int kSheetDpi = 96;

struct Card {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    TRichTextControl masterRichText { &owner, QString::fromLatin1(kMasterRichTextName) };
    QStringList kinds;
    Card()
    {
        panel.SetShape(CardShape::Rectangle);
        panel.SetPanelSize(336, 192);
    }
    QImage Painted() { return panel.RenderCardBitmap(); }
    QByteArray Stored() const { return TQLabelObjectFiler::WriteObjects(panel.Objects()); }
};

QString describe(const std::vector<QPoint>& blocks)
{
    QStringList out;
    for (std::size_t i = 0; i < blocks.size() && i < 8; ++i)
        out << QString("(%1,%2)").arg(blocks[i].x()).arg(blocks[i].y());
    if (blocks.size() > 8)
        out << QString("... %1 in all").arg(blocks.size());
    return out.join(' ');
}

// CARDORA_WYSIWYG_DUMP=folder keeps every picture compared, to look at.
void dump(const QImage& image, const QString& card, const QString& what)
{
    const QString folder = qEnvironmentVariable("CARDORA_WYSIWYG_DUMP");
    if (!folder.isEmpty() && !image.isNull())
        image.save(QDir(folder).filePath(QString(card).section(' ', 0, 0) + "-" + QString(what).replace(' ', '-') + ".png"));
}

// Every output of the card, as pictures of the card alone, plus the PDF
// export's path for later checks.
struct CardOutputs {
    QImage picture, svg, preview;
    QImage shop; // the print shop's PDF, trimmed
    QString pdf;
    std::vector<QImage> sheet; // the ten cards of the printed sheet, when printed
    std::vector<QImage> previewCards;
};

CardOutputs outputsOf(Card& card, const QDir& dir, const QString& name, bool printSheet, bool wholePreview = true)
{
    CardOutputs o;
    const QString bmp = dir.filePath(name + ".bmp");
    EXPECT_EQ(ExportCard(card.panel, TCardExportFormat::Bmp, 144, bmp), QString());
    o.picture = QImage(bmp);
    const QString svg = dir.filePath(name + ".svg");
    EXPECT_EQ(ExportCard(card.panel, TCardExportFormat::Svg, 96, svg), QString());
    o.svg = RasteriseSvg(svg, QSize(336, 192));
    if (const QString folder = qEnvironmentVariable("CARDORA_WYSIWYG_DUMP"); !folder.isEmpty())
        QFile::copy(svg, QDir(folder).filePath(name + ".svg"));
    o.pdf = dir.filePath(name + ".pdf");
    EXPECT_EQ(ExportCard(card.panel, TCardExportFormat::Pdf, 96, o.pdf), QString());
    // The shop's PDF with a 3 mm bleed, at twice the panel's resolution,
    // with the sheet (to keep the test quick).
    if (printSheet)
        o.shop = ShopPdfTrimmed(card.panel, 3 / 25.4, dir.filePath(name + "-shop.pdf"), 2 * kPanelPpi);
    TSheetGeometry g;
    // A preview of the first and last cards still shows whether the drawing
    // leaks from one card into the next.
    const QImage preview = PreviewSheet(card.panel, 96, &g, wholePreview ? std::vector<int>() : std::vector<int> { 0, 9 });
    o.previewCards = CardsOfSheet(preview, 96, g);
    if (!wholePreview && o.previewCards.size() == 10)
        o.previewCards = { o.previewCards.front(), o.previewCards.back() };
    dump(preview, name, "preview-sheet");
    if (!o.previewCards.empty())
        o.preview = o.previewCards.front();
    if (printSheet) {
        const QString sheetPdf = dir.filePath(name + "-sheet.pdf");
        EXPECT_EQ(PrintSheet(card.panel, sheetPdf), QString());
        const auto pages = RasterisePdf(sheetPdf, kSheetDpi);
        if (!pages.empty())
            o.sheet = CardsOfSheet(pages.front(), kSheetDpi, TSheetGeometry::From(TCardLayout(), TPrinterNudges()));
        EXPECT_FALSE(HoldsJpeg(sheetPdf)) << name.toStdString() << ": the sheet holds a JPEG picture";
    }
    return o;
}

// Compares one output with the panel's picture; the failure names the card,
// the output and the blocks that differ.
void expectSame(const BlockMap& panel, const QImage& output, const QString& what, const QString& card)
{
    dump(output, card, what);
    ASSERT_FALSE(output.isNull()) << card.toStdString() << ": no " << what.toStdString();
    const auto differ = DifferentBlocks(panel, Blocks(output), kTolerance);
    EXPECT_TRUE(differ.empty()) << card.toStdString() << ": the " << what.toStdString()
                                << " differs from the panel in blocks " << describe(differ).toStdString();
}

void expectSheetAgrees(const std::vector<QImage>& cards, const QString& what, const QString& card, std::size_t count = 10)
{
    ASSERT_EQ(cards.size(), count) << card.toStdString() << ": " << what.toStdString();
    const BlockMap first = Blocks(cards.front());
    for (std::size_t i = 1; i < cards.size(); ++i) {
        const auto differ = DifferentBlocks(first, Blocks(cards[i]), kSheetTolerance);
        EXPECT_TRUE(differ.empty()) << card.toStdString() << ": card " << i + 1 << " of the " << what.toStdString()
                                    << " differs from card 1 in blocks " << describe(differ).toStdString();
    }
}

std::vector<int> stackingOrder(int n, int which)
{
    std::vector<int> order(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        order[std::size_t(i)] = i;
    if (which == 1)
        std::reverse(order.begin(), order.end());
    else if (which > 1)
        std::shuffle(order.begin(), order.end(), std::mt19937(unsigned(which)));
    return order;
}

} // namespace

// A card mixing every kind, in several stacking orders and once drawn while
// the panel is zoomed: every output shows what the panel shows, every card of
// a sheet shows what card 1 shows, and each object's part that nothing else
// covers shows as it does when the object is alone on the card.
TEST(WhatYouSeeIsWhatYouPrint, CompositeCardsInEveryOutput)
{
    QTemporaryDir dir;
    const auto parts = CompositeParts();
    const int n = int(parts.size());
    // The parts alone, as the panel paints each.
    std::vector<BlockMap> alone;
    for (const CompositePart& part : parts) {
        Card single;
        AddPart(single.owner, single.panel, part);
        alone.push_back(Blocks(single.Painted()));
    }
    struct Variant {
        int order;
        float zoom;
    };
    // Written order, reversed, one shuffle, and zoomed (the test must stay
    // under ten seconds as kinds and outputs join it).
    for (const Variant v : { Variant { 0, 1.0f }, Variant { 1, 1.0f }, Variant { 2, 1.0f },
             Variant { 0, 1.5f } }) {
        const QString name = QString("composite-order%1-zoom%2").arg(v.order).arg(int(v.zoom * 100));
        Card card;
        const std::vector<int> order = stackingOrder(n, v.order);
        for (int i : order)
            AddPart(card.owner, card.panel, parts[std::size_t(i)]);
        ASSERT_EQ(int(card.panel.Objects().size()), n) << name.toStdString();
        const QImage painted = card.Painted();
        dump(painted, name, "panel");
        // The card itself too, to open in the program and look at.
        if (const QString folder = qEnvironmentVariable("CARDORA_WYSIWYG_DUMP"); !folder.isEmpty())
            TQLabelObjectFiler().SaveCard(card.panel.Objects(), QDir(folder).filePath(name + ".CDW"));
        const BlockMap panel = Blocks(painted);
        const QByteArray stored = card.Stored();
        // Outputs never depend on the zoom the user is looking at.
        card.panel.SetZoom(v.zoom);
        const CardOutputs out = outputsOf(card, QDir(dir.path()), name, true);
        card.panel.SetZoom(1.0f);
        EXPECT_EQ(card.Stored(), stored) << name.toStdString() << ": drawing the card changed it";
        // The view at any zoom shows the card its outputs show, scaled.
        if (v.zoom != 1.0f)
            for (const float z : { 0.5f, 2.0f, v.zoom }) {
                card.panel.SetZoom(z);
                expectSame(panel, card.panel.grab().toImage(), QString("view at %1 %").arg(int(z * 100)), name);
            }
        card.panel.SetZoom(v.zoom);
        expectSame(panel, out.picture, "picture export", name);
        expectSame(panel, out.svg, "SVG export", name);
        const auto pdfPages = RasterisePdf(out.pdf, 96);
        ASSERT_EQ(pdfPages.size(), 1u) << name.toStdString();
        expectSame(panel, pdfPages.front(), "PDF export", name);
        expectSame(panel, out.preview, "preview page", name);
        expectSame(panel, out.shop, "print shop PDF's trimmed card", name);
        expectSheetAgrees(out.previewCards, "preview page", name);
        ASSERT_FALSE(out.sheet.empty()) << name.toStdString();
        expectSame(panel, out.sheet.front(), "printed sheet", name);
        expectSheetAgrees(out.sheet, "printed sheet", name);
        EXPECT_FALSE(HoldsJpeg(out.pdf)) << name.toStdString() << ": the PDF export holds a JPEG picture";
        EXPECT_EQ(card.panel.Zoom(), v.zoom) << name.toStdString();

        // Each object's part that no other object's box touches.
        const std::vector<QImage> outputs = { painted, out.picture, out.svg, pdfPages.front(), out.preview,
            out.sheet.front(), out.shop };
        const char* names[] = { "panel", "picture export", "SVG export", "PDF export", "preview page", "printed sheet",
            "print shop PDF" };
        for (int k = 0; k < n; ++k) {
            const QRect box = parts[std::size_t(k)].box;
            auto own = [&](int c, int r) {
                const QRect block(c * 96 / 10, r * 96 / 10, 10, 10);
                if (!box.intersects(block))
                    return false;
                for (int j = 0; j < n; ++j)
                    if (j != k && parts[std::size_t(j)].box.adjusted(-3, -3, 3, 3).intersects(block))
                        return false;
                return true;
            };
            for (std::size_t m = 0; m < outputs.size(); ++m) {
                const auto differ = DifferentBlocks(alone[std::size_t(k)], Blocks(outputs[m]), kTolerance, own);
                EXPECT_TRUE(differ.empty()) << name.toStdString() << ": " << parts[std::size_t(k)].kind.toStdString()
                                            << " in the " << names[m] << " differs from it alone in blocks "
                                            << describe(differ).toStdString();
            }
        }
    }
}

// A two-sided sheet: every back on the back page shows the back card as its
// panel and its PDF export do, for both turns of the sheet; the fronts stay
// the front card.
TEST(WhatYouSeeIsWhatYouPrint, BacksOfTwoSidedSheets)
{
    QTemporaryDir dir;
    const auto parts = CompositeParts();
    Card front, back;
    for (int i : stackingOrder(int(parts.size()), 0))
        AddPart(front.owner, front.panel, parts[std::size_t(i)]);
    // The back: the parts the other way round, moved, so it differs from the front.
    for (int i : stackingOrder(int(parts.size()), 1)) {
        CompositePart part = parts[std::size_t(i)];
        part.box.translate(24, 12);
        AddPart(back.owner, back.panel, part);
    }
    const BlockMap frontPanel = Blocks(front.Painted());
    const BlockMap backPanel = Blocks(back.Painted());
    ASSERT_FALSE(DifferentBlocks(frontPanel, backPanel, kTolerance).empty()) << "the two sides look alike";
    const QString backPdf = dir.filePath("back.pdf");
    ASSERT_EQ(ExportCard(back.panel, TCardExportFormat::Pdf, 96, backPdf), QString());
    const auto backExport = RasterisePdf(backPdf, 96);
    ASSERT_EQ(backExport.size(), 1u);
    for (const TDuplexEdge edge : { TDuplexEdge::Long, TDuplexEdge::Short }) {
        const QString name = edge == TDuplexEdge::Long ? "two-sided-long" : "two-sided-short";
        const QString pdf = dir.filePath(name + ".pdf");
        ASSERT_EQ(PrintTwoSidedSheet(front.panel, back.panel, pdf, edge), QString());
        const auto pages = RasterisePdf(pdf, kSheetDpi);
        ASSERT_EQ(pages.size(), 2u) << name.toStdString();
        dump(pages[1], name, "back-page");
        const auto fronts = CardsOfSheet(pages[0], kSheetDpi, TSheetGeometry::From(TCardLayout(), TPrinterNudges()));
        const auto backs = BacksOfSheet(pages[1], kSheetDpi, edge);
        expectSame(frontPanel, fronts.front(), "front of the two-sided sheet", name);
        expectSheetAgrees(backs, "back page", name);
        expectSame(backPanel, backs.front(), "back page", name);
        expectSame(Blocks(backExport.front()), backs.back(), "back page against the back's PDF export", name);
    }
}

// Random cards from a fixed seed: random kinds, boxes (some over the card's
// edges), colours, fonts, fills and effects; every output as the panel.
TEST(WhatYouSeeIsWhatYouPrint, RandomCardsInEveryOutput)
{
    QTemporaryDir dir;
    QRandomGenerator rng(20261207);
    constexpr int kCards = 140;
    QStringList pdfs;
    std::vector<BlockMap> panels;
    QStringList names;
    for (int i = 0; i < kCards; ++i) {
        Card card;
        const int objects = 1 + int(rng.bounded(6));
        QStringList kinds;
        for (int k = 0; k < objects; ++k)
            kinds << AddRandomObject(card.owner, card.panel, rng);
        kinds << AddNewerKinds(card.owner, card.panel, i);
        const QString name = QString("random%1 [%2]").arg(i).arg(kinds.join(' '));
        const QImage painted = card.Painted();
        dump(painted, name, "panel");
        // The card itself too, to open in the program and look at.
        if (const QString folder = qEnvironmentVariable("CARDORA_WYSIWYG_DUMP"); !folder.isEmpty())
            TQLabelObjectFiler().SaveCard(card.panel.Objects(), QDir(folder).filePath(name + ".CDW"));
        const BlockMap panel = Blocks(painted);
        const QByteArray stored = card.Stored();
        const QByteArray dumped = DumpCardJson(card.panel.Objects());
        // Every twentieth card is also printed and previewed on a whole sheet;
        // the others are previewed as the sheet's first and last cards.
        const bool whole = i % 20 == 0;
        const CardOutputs out = outputsOf(card, QDir(dir.path()), QString("random%1").arg(i), whole, whole);
        EXPECT_EQ(card.Stored(), stored) << name.toStdString() << ": drawing the card changed it";
        if (card.Stored() != stored && qEnvironmentVariableIsSet("CARDORA_WYSIWYG_DUMP"))
            std::cerr << dumped.toStdString() << "\n" << DumpCardJson(card.panel.Objects()).toStdString() << "\n";
        expectSame(panel, out.picture, "picture export", name);
        expectSame(panel, out.svg, "SVG export", name);
        expectSame(panel, out.preview, "preview page", name);
        expectSheetAgrees(out.previewCards, "preview page", name, whole ? 10 : 2);
        if (!out.sheet.empty()) {
            expectSame(panel, out.shop, "print shop PDF's trimmed card", name);
            expectSame(panel, out.sheet.front(), "printed sheet", name);
            expectSheetAgrees(out.sheet, "printed sheet", name);
        }
        EXPECT_FALSE(HoldsJpeg(out.pdf)) << name.toStdString() << ": the PDF export holds a JPEG picture";
        pdfs << out.pdf;
        panels.push_back(panel);
        names << name;
    }
    // The PDF exports are rasterised together, one page a card.
    const QString all = QDir(dir.path()).filePath("all.pdf");
    ASSERT_TRUE(UnitePdfs(pdfs, all));
    const auto pages = RasterisePdf(all, 96);
    ASSERT_EQ(int(pages.size()), kCards);
    for (int i = 0; i < kCards; ++i)
        expectSame(panels[std::size_t(i)], pages[std::size_t(i)], "PDF export", names[i]);
}

// The SVG export reads the same in another program (librsvg): fills cut to
// their letters and shapes, text at its size, the card's edge kept.
TEST(WhatYouSeeIsWhatYouPrint, SvgExportReadsTheSameInAnotherProgram)
{
    QTemporaryDir dir;
    Card card;
    for (const CompositePart& part : CompositeParts())
        AddPart(card.owner, card.panel, part);
    const BlockMap panel = Blocks(card.Painted());
    const QString svg = dir.filePath("card.svg");
    ASSERT_EQ(ExportCard(card.panel, TCardExportFormat::Svg, 96, svg), QString());
    QProcess rsvg;
    rsvg.start("rsvg-convert", { "-w", "336", "-h", "192", "-b", "white", "-o", dir.filePath("card.png"), svg });
    ASSERT_TRUE(rsvg.waitForFinished(60000));
    ASSERT_EQ(rsvg.exitCode(), 0) << rsvg.readAllStandardError().toStdString();
    expectSame(panel, QImage(dir.filePath("card.png")), "SVG export as librsvg draws it", "composite");
}

// Pictures reach a PDF losslessly: a 2 x 2 picture of four colours keeps
// them, where JPEG would turn it grey.
TEST(WhatYouSeeIsWhatYouPrint, PicturesGoIntoPdfsLosslessly)
{
    QTemporaryDir dir;
    QImage four(2, 2, QImage::Format_RGB32);
    four.setPixel(0, 0, qRgb(255, 0, 0));
    four.setPixel(1, 0, qRgb(0, 255, 0));
    four.setPixel(0, 1, qRgb(0, 0, 255));
    four.setPixel(1, 1, qRgb(255, 255, 0));
    four.save(dir.filePath("four.bmp"));
    for (const char* output : { "export", "sheet" }) {
        Card card;
        AddKind(card.owner, card.panel, "TQImage", QRect(40, 40, 96, 96), QString(), [&](TQGraphicControl& o) {
            TPicture picture;
            ASSERT_TRUE(picture.LoadFromFile(dir.filePath("four.bmp")));
            static_cast<TQImage&>(o).SetPicture(picture);
            SetProperty(o, "Stretch", 1);
        });
        const QString pdf = dir.filePath(QString("four-%1.pdf").arg(output));
        QImage page;
        if (QByteArray(output) == "export") {
            ASSERT_EQ(ExportCard(card.panel, TCardExportFormat::Pdf, 96, pdf), QString());
            page = RasterisePdf(pdf, 96).at(0);
        } else {
            ASSERT_EQ(PrintSheet(card.panel, pdf), QString());
            page = RasterisePdf(pdf, 96).at(0).copy(72, 48, 336, 192);
        }
        EXPECT_FALSE(HoldsJpeg(pdf)) << output;
        const QPoint centres[] = { { 64, 64 }, { 112, 64 }, { 64, 112 }, { 112, 112 } };
        const QRgb want[] = { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0) };
        for (int i = 0; i < 4; ++i) {
            const QRgb got = page.pixel(centres[i]);
            EXPECT_LE(std::abs(qRed(got) - qRed(want[i])) + std::abs(qGreen(got) - qGreen(want[i]))
                    + std::abs(qBlue(got) - qBlue(want[i])),
                12)
                << output << " quadrant " << i << " is " << QColor(got).name().toStdString();
        }
    }
}

// Merged fields: the composite card with every text a field comes out, in
// every output, as the card with the record's values typed in; a merged
// sheet and a merged PDF put record after record.
TEST(WhatYouSeeIsWhatYouPrint, MergedFieldsInEveryOutput)
{
    QTemporaryDir dir;
    const auto parts = CompositeParts();
    // Record r's value for part k: the composite's own text, then others of
    // other lengths and scripts.
    const QStringList extra = { QString(), QString::fromUtf8(" Zoë Ångström-Łukasz"), " & Co" };
    TDataFile data;
    for (std::size_t r = 0; r < 3; ++r) {
        TFieldRecord record;
        // The person, for the contact QR code.
        const QStringList person = { QString::fromUtf8("Zoë Person %1").arg(r + 1), "Acme", "Director" };
        for (int i = 0; i < person.size(); ++i)
            record.Set(PersonalFieldNames()[i], person[i]);
        for (std::size_t k = 0; k < parts.size(); ++k)
            if (!parts[k].text.isEmpty() && !HasFields(parts[k].text))
                record.Set(QString("F%1").arg(k), parts[k].kind == "TQSymbolLabel" ? QString("()J"[r]) : parts[k].text + extra[int(r)]);
        data.records << record;
    }
    data.names = data.records.front().Names();
    auto cardWith = [&](Card& card, std::optional<std::size_t> typedRecord) {
        if (typedRecord) {
            QStringList personal;
            for (const QString& field : PersonalFieldNames())
                personal << data.records[int(*typedRecord)].ValueOr(field);
            card.panel.SetPersonalInfo(personal);
        }
        for (std::size_t k = 0; k < parts.size(); ++k) {
            CompositePart part = parts[k];
            if (!part.text.isEmpty() && !HasFields(part.text))
                part.text = typedRecord ? data.records[int(*typedRecord)].ValueOr(QString("F%1").arg(k))
                                        : QString("${f%1}").arg(k);
            AddPart(card.owner, card.panel, part);
        }
    };
    Card merged;
    cardWith(merged, std::nullopt);
    std::vector<QImage> typedPictures;
    for (std::size_t r = 0; r < 3; ++r) {
        Card typed;
        cardWith(typed, r);
        typedPictures.push_back(typed.Painted());
    }

    // A turned label holding a field keeps the box the user gave it, where
    // the typed one fits its text: its blocks are left out of that comparison.
    QRect turned;
    for (const CompositePart& part : parts)
        if (part.kind == "TQBusinessCardLabel" && part.box.height() > part.box.width())
            turned = part.box;
    auto outsideTurned = [&](int c, int r) { return !turned.intersects(QRect(c * 96 / 10, r * 96 / 10, 10, 10)); };
    auto expectTyped = [&](std::size_t r, const QImage& output, const QString& what) {
        dump(output, "merged", what);
        const auto differ = DifferentBlocks(Blocks(typedPictures[r]), Blocks(output), kTolerance, outsideTurned);
        EXPECT_TRUE(differ.empty()) << what.toStdString() << " differs from the card with record " << r + 1
                                    << " typed in, in blocks " << describe(differ).toStdString();
    };

    const QString name = "merged-record2";
    merged.panel.SetFieldRecord(data.records[1]);
    const QImage painted = merged.Painted();
    expectTyped(1, painted, "panel");
    const BlockMap expected = Blocks(painted);
    const CardOutputs out = outputsOf(merged, QDir(dir.path()), name, false, false);
    expectSame(expected, out.picture, "picture export", name);
    expectSame(expected, out.svg, "SVG export", name);
    expectSame(expected, out.preview, "preview page", name);
    const auto pdfPages = RasterisePdf(out.pdf, 96);
    ASSERT_EQ(pdfPages.size(), 1u);
    expectSame(expected, pdfPages.front(), "PDF export", name);

    // Every record in turn, the panel showing the third record meanwhile.
    std::vector<QImage> mergedPictures;
    for (std::size_t r = 0; r < 3; ++r) {
        merged.panel.SetFieldRecord(data.records[int(r)]);
        mergedPictures.push_back(merged.Painted());
    }
    const QString sheetPdf = QDir(dir.path()).filePath("merged-sheet.pdf");
    TBatchPrintOptions o;
    o.Output = sheetPdf;
    o.Dpi = 600;
    ASSERT_EQ(RunBatchPrint(merged.panel, QString(), TCardLayout(), TPrinterNudges(), o, &data), QString());
    const auto sheetPages = RasterisePdf(sheetPdf, kSheetDpi);
    ASSERT_EQ(sheetPages.size(), 1u);
    const auto cards = CardsOfSheet(sheetPages.front(), kSheetDpi, TSheetGeometry::From(TCardLayout(), TPrinterNudges()));
    ASSERT_EQ(cards.size(), 10u);
    for (std::size_t r = 0; r < 3; ++r) {
        expectSame(Blocks(mergedPictures[r]), cards[r], QString("merged sheet card %1").arg(r + 1), name);
        expectTyped(r, cards[r], QString("merged sheet card %1").arg(r + 1));
    }
    const QImage blank = [] { QImage white(336, 192, QImage::Format_RGB32); white.fill(Qt::white); return white; }();
    expectSame(Blocks(blank), cards[3], "merged sheet's fourth position", name);

    TCardExport e;
    e.Format = TCardExportFormat::Pdf;
    e.CardInches = QSizeF(kCardWidth, kCardHeight);
    e.Records = &data.records;
    const QString perRecord = QDir(dir.path()).filePath("merged-pages.pdf");
    ASSERT_EQ(WriteCardExport(merged.panel, e, perRecord), QString());
    const auto pages = RasterisePdf(perRecord, 96);
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t r = 0; r < 3; ++r)
        expectSame(Blocks(mergedPictures[r]), pages[r], QString("PDF page of record %1").arg(r + 1), name);
    // The panel shows its own record again.
    expectSame(Blocks(mergedPictures[2]), merged.Painted(), "panel after printing", name);
}
