// QR codes as the batch tool renders and prints them, read back with a real
// decoder; the PDF holds them as vector rectangles, not pictures.
#include "core/contact_card.h"
#include "core/data_file.h"
#include "core/fields.h"
#include "main/card_export.h"
#include "printing/sheet_printer.h"
#include "report/printer_report.h"
#include <QPrinter>
#include "objects/qrcode/qr_code.h"
#include "surface/card_panel.h"
#include "support/qr_decode.h"
#include "cli_run.h"
#include "wysiwyg/card_outputs.h"
#include <QImageReader>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

const QStringList kPerson = { QString::fromUtf8("Zoë Øster-Müller"), QString::fromUtf8("Bäckerei Groß & Söhne"),
    "Head Baker; Owner", "Hauptstraße 5", "50667 Köln", "Germany", "+49 221 555 0100", "+49 170 555 0199",
    "zoe@example.de", "+49 221 555 0101" };

struct Code {
    QRect box;
    QString data;
    ErrorCorrection level;
    bool meCard = false;
};

QString saveCard(const QString& folder, const std::vector<Code>& codes)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    for (const Code& c : codes) {
        auto* code = TQRCode::CreateForTool(&owner);
        panel.PlaceNewObject(code, c.box);
        code->SetData(c.data);
        code->SetErrorLevel(c.level);
        code->SetMeCard(c.meCard);
    }
    const QString path = folder + "/qr.CDW";
    panel.SaveCardFile(path);
    return path;
}

QString savePrefs(const QString& folder)
{
    QByteArray ini = "[Personal]\n";
    const QStringList keys = PersonalFieldNames();
    for (int i = 0; i < keys.size(); ++i)
        ini += keys[i].toUtf8() + "=" + kPerson[i].toUtf8() + "\n";
    const QString path = folder + "/CDW.INI";
    WriteFileBytes(path, ini);
    return path;
}

QImage pdfPage(const QString& pdf, int dpi, int page = 1)
{
    QImageReader::setAllocationLimit(512); // a Letter page at 600 dpi
    QProcess p;
    p.start("pdftoppm",
        { "-r", QString::number(dpi), "-png", "-f", QString::number(page), "-l", QString::number(page), "-singlefile", pdf,
            pdf + "-page" });
    p.waitForFinished(60000);
    return QImage(pdf + "-page.png");
}

} // namespace

// Plain text at every level, side by side on one card: the rendered picture
// and the printed sheet decode to the same texts.
TEST(QrCli, EveryLevelDecodesFromRenderAndPrint)
{
    QTemporaryDir dir;
    const QStringList texts = { "LEVEL L https://example.com/l", "Level M: 0123456789", "level q ÄÖÜ",
        "LEVEL H +1 555 0100" };
    std::vector<Code> codes;
    for (int level = 0; level < 4; ++level)
        codes.push_back({ QRect(4 + 83 * level, 50, 80, 80), texts[level], static_cast<ErrorCorrection>(level) });
    const QString card = saveCard(dir.path(), codes);

    const QString png = dir.filePath("card.png");
    const CliRun render = RunCli({ "render", card, png, "--dpi", "300" });
    ASSERT_EQ(render.exitCode, 0) << render.err.constData();
    const QString rendered = ScanQrCodes(QImage(png));
    EXPECT_TRUE(ScannedExactly(rendered, texts, 1)) << rendered.toStdString();

    const QString pdf = dir.filePath("sheet.pdf");
    const CliRun print = RunCli({ "print", card, pdf });
    ASSERT_EQ(print.exitCode, 0) << print.err.constData();
    // Every card of the sheet, scanned one by one.
    const std::vector<QImage> cards = CardsOfSheet(pdfPage(pdf, 300), 300, TSheetGeometry::From(TCardLayout(), TPrinterNudges()));
    ASSERT_EQ(cards.size(), 10u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const QString printed = ScanQrCodes(cards[i]);
        EXPECT_TRUE(ScannedExactly(printed, texts, 1)) << "card " << i + 1 << ": " << printed.toStdString();
    }
}

// The person's contact with names outside ASCII, as vCard and MeCard, from
// the preferences the batch tool is given; the PDF holds no picture.
TEST(QrCli, ContactFromThePersonalInformationScansFromPrint)
{
    QTemporaryDir dir;
    const QString card = saveCard(dir.path(),
        { { QRect(10, 10, 170, 170), "${vCard}", ErrorCorrection::Medium }, { QRect(200, 40, 120, 120), "${vCard}", ErrorCorrection::Low, true } });
    const QString prefs = savePrefs(dir.path());
    const TFieldRecord person = PersonalRecord(kPerson);
    const QStringList expected = { VCardText(person), MeCardText(person) };

    const QString png = dir.filePath("card.png");
    ASSERT_EQ(RunCli({ "render", card, png, "--prefs", prefs, "--dpi", "300" }).exitCode, 0);
    const QString rendered = ScanQrCodes(QImage(png));
    EXPECT_TRUE(ScannedExactly(rendered, expected, 1)) << rendered.toStdString();

    const QString pdf = dir.filePath("sheet.pdf");
    const CliRun print = RunCli({ "print", card, pdf, "--prefs", prefs, "--positions", "1" });
    ASSERT_EQ(print.exitCode, 0) << print.err.constData();
    const QString printed = ScanQrCodes(pdfPage(pdf, 600));
    EXPECT_TRUE(ScannedExactly(printed, expected, 1)) << printed.toStdString();

    // Vector rectangles only: pdfimages lists no image at all.
    QProcess images;
    images.start("pdfimages", { "-list", pdf });
    ASSERT_TRUE(images.waitForFinished(30000));
    const QStringList rows = QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 2) << rows.join('\n').toStdString(); // the two header lines
}

// Merged cards: each record's card carries its own person's code, in the PDF
// export (a page per record) and on the printed sheet (a card per record).
TEST(QrCli, MergedRecordsEachCarryTheirOwnContact)
{
    QTemporaryDir dir;
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* code = TQRCode::CreateForTool(&owner);
    panel.PlaceNewObject(code, QRect(180, 20, 150, 150));
    TFieldRecords records;
    const QStringList names = { QString::fromUtf8("Łukasz Żółć"), "Ann Lee", QString::fromUtf8("Søren Ægir") };
    for (const QString& name : names) {
        TFieldRecord r;
        r.Set("Name", name);
        r.Set("Email", name.section(' ', 0, 0).toLower() + "@example.com");
        r.Set("Company", "Acme, Inc.");
        records << r;
    }

    const QString pdf = dir.filePath("merged.pdf");
    TCardExport e;
    e.Format = TCardExportFormat::Pdf;
    e.Records = &records;
    ASSERT_EQ(WriteCardExport(panel, e, pdf), QString());
    for (int i = 0; i < records.size(); ++i)
        EXPECT_EQ(DecodeQrCode(pdfPage(pdf, 300, i + 1)).toStdString(), VCardText(records[i]).toStdString());

    const QString sheet = dir.filePath("sheet.pdf");
    {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(sheet);
        printer->setResolution(600);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setFullPage(true);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
        TPrintJobRequest request;
        request.Records = &records;
        TSheetPrinter job(panel, request);
        TPrinterReport report(printer);
        ASSERT_EQ(job.Run(report), QString());
    }
    QStringList contacts;
    for (const TFieldRecord& r : records)
        contacts << VCardText(r);
    const QString printed = ScanQrCodes(pdfPage(sheet, 300));
    EXPECT_TRUE(ScannedExactly(printed, contacts, 1)) << printed.toStdString();
}

// The batch tool's merged print from a vCard file: every card's code is its
// own person's contact, read back as the file gave it.
TEST(QrCli, PrintWithDataGivesEachCardItsPerson)
{
    QTemporaryDir dir;
    const QString card = saveCard(dir.path(), { { QRect(170, 10, 160, 160), "${vCard}", ErrorCorrection::Medium } });
    const QByteArray people = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Kowalska\r\nORG:Firma\\, S.A.\r\n"
                              "EMAIL:anna@example.pl\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xBCrgen Wei\xC3\x9F\r\nTEL;TYPE=CELL:+49 170 1\r\n"
                              "ADR:;;Ring 1;Bonn;;;DE\r\nEND:VCARD\r\n";
    const QString vcf = dir.filePath("people.vcf");
    ASSERT_TRUE(WriteFileBytes(vcf, people));
    const TDataFile data = ReadDataFile(vcf);
    ASSERT_TRUE(data.Ok());
    ASSERT_EQ(data.records.size(), 2);

    const QString pdf = dir.filePath("merged.pdf");
    const CliRun print = RunCli({ "print", card, pdf, "--data", vcf });
    ASSERT_EQ(print.exitCode, 0) << print.err.constData();
    const std::vector<QImage> cards = CardsOfSheet(pdfPage(pdf, 300), 300, TSheetGeometry::From(TCardLayout(), TPrinterNudges()));
    ASSERT_GE(cards.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const QString scanned = DecodeQrCode(cards[std::size_t(i)]);
        EXPECT_EQ(scanned.toStdString(), VCardText(data.records[i]).toStdString());
        const TDataFile back = ReadVCard(scanned.toUtf8(), "back.vcf");
        ASSERT_EQ(back.records.size(), 1);
        for (const QString& name : VCardFieldNames())
            EXPECT_EQ(back.records[0].ValueOr(name).toStdString(), data.records[i].ValueOr(name).toStdString())
                << name.toStdString();
    }
}
