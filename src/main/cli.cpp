#include "main/cli.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "core/symbol_fonts.h"
#include "core/printable_text.h"
#include "core/private_folders.h"
#include "core/safe_file.h"
#include "core/rounding.h"
#include "main/card_export.h"
#include "main/loaded_card.h"
#include "main/card_sidecar.h"
#include "main/picture_command.h"
#include "main/preferences.h"
#include "main/version.h"
#include "objects/card_dump.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "objects/stream_error.h"
#include "printing/batch_print.h"
#include "printing/card_stocks.h"
#include "printing/preflight.h"
#include "printing/print_shop.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <memory>

namespace cardora {

namespace {

const char* kScratchPrefix = "cardora-cli";

const char* kUsage =
    "Usage: cardora-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  dump CARD.CDW                 print the card's objects and stored properties as JSON\n"
    "  resave IN.CDW OUT.CDW         open a card and save it under another name\n"
    "  render IN.CDW OUT.png [--border] [--prefs CDW.INI] [--dpi N]\n"
    "                                write the card picture at 96 pixels per inch;\n"
    "                                OUT may be .png, .jpg, .bmp, or .pdf and .svg for\n"
    "                                one card at its true size with text kept as text;\n"
    "                                --dpi draws pictures at N pixels per inch (72 to 2400)\n"
    "        [--data FILE [--record N]]\n"
    "                                fills the card's ${Field} fields from record N\n"
    "                                (from 1) of a CSV or vCard file; a PDF without\n"
    "                                --record gets one page per record\n"
    "  render IN.CDW OUT.pdf --bleed 3mm [--crop-marks] [--prefs CDW.INI]\n"
    "                                a PDF for a print shop: the card and its bleed\n"
    "                                (0 to 6 mm, as 3mm or 0.125in) on a page of its own,\n"
    "                                with trim and bleed boxes; --crop-marks adds room\n"
    "                                and cutting marks outside the bleed\n"
    "  preflight CARD.CDW [--bleed 3mm] [--prefs CDW.INI]\n"
    "                                check the card for a print shop; prints one JSON\n"
    "                                line {\"ok\", \"warnings\": [{\"code\", \"object\",\n"
    "                                \"message\"}]}; the bleed and safe area default to\n"
    "                                the preferences'\n"
    "  print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview]\n"
    "        [--positions 1,2,5] [--sheets N] [--dpi 600] [--crop-marks]\n"
    "                                print the card many-up on sheets into a PDF file\n"
    "                                with no unprintable margins, as File > Print does,\n"
    "                                with the layout, paper and nudges of the preferences;\n"
    "                                --outline prints the outline test page, --preview\n"
    "                                the preview page; --positions lists the positions\n"
    "                                to fill (1-based, row by row; default all);\n"
    "                                --sheets the number of sheets (1 to 999, default 1);\n"
    "                                --dpi the resolution (72 to 2400, default 600);\n"
    "                                --crop-marks adds cutting marks outside each card\n"
    "        [--stock CODE] [--start N] [--back BACK.CDW [--duplex long|short]]\n"
    "                                --stock prints on the card stock with that product\n"
    "                                code instead of the preferences' layout; --start\n"
    "                                leaves positions before N of the first sheet empty\n"
    "                                (a partly used sheet); --back prints BACK.CDW on\n"
    "                                the backs: each sheet's fronts, then its backs\n"
    "                                mirrored for a duplex printer turning the sheet over\n"
    "                                its long edge (default) or its short edge\n"
    "        [--data FILE [--records A-B]]\n"
    "                                one card per record of a CSV or vCard file (records\n"
    "                                A to B, from 1), on as many sheets as they take\n"
    "  stocks                        print the card stock catalogue as one JSON line\n"
    "  picture IN OUT [--width W --height H]\n"
    "                                read a picture file (BMP, DIB, RLE, JPG, JIF, GIF,\n"
    "                                PCX, TGA, ICO, WMF, EMF, PNG, SVG, TIFF, WebP) and\n"
    "                                write it as OUT's type (.bmp, .png or .jpg), at its\n"
    "                                natural size (an SVG's declared size at 96 per inch)\n"
    "                                or stretched to W x H; prints its kind (bitmap, icon,\n"
    "                                metafile, png or svg) and natural size\n"
    "  --help                        show this help\n"
    "  --version                     show the version\n"
    "\n"
    "Without --prefs the built-in defaults of a fresh installation are used.\n"
    "Without --data a card's fields show the personal information of --prefs.\n"
    "Errors go to standard error and end with exit status 1.\n";

// Answers that nobody is there: the batch tool never opens a window.
class HeadlessModal : public ModalHandler {
public:
    QStringList messages;
    int Message(const QString& text, const QString&, MessageStyle) override
    {
        messages << text;
        return mrNo;
    }
    int Dialog(QDialog&) override { return mrCancel; }
    std::optional<QFont> Font(const QFont&) override { return std::nullopt; }
    std::optional<QColor> Color(const QColor&) override { return std::nullopt; }
    QString FileName(const FileDialogRequest&) override { return QString(); }
};

// The tool's own standard error. Libraries it reads pictures through
// (libpng, libjpeg) write their complaints to the process's standard error
// themselves; those go nowhere, and only the tool's line reaches the caller.
FILE*& toolErrors()
{
    static FILE* errors = stderr;
    return errors;
}

void keepStandardErrorForTheTool()
{
#if !defined(__SANITIZE_ADDRESS__)
    // (A sanitizer build keeps it: its reports are the point of that build.)
    const int own = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (own < 0 || null < 0)
        return;
    if (FILE* errors = ::fdopen(own, "w")) {
        std::fflush(stderr);
        ::dup2(null, STDERR_FILENO);
        toolErrors() = errors;
    }
    ::close(null);
#endif
}

// Exactly one line, whatever bytes a file put into the message.
int fail(const QString& message)
{
    std::fprintf(toolErrors(), "%s\n", PrintableText(message).toLocal8Bit().constData());
    std::fflush(toolErrors());
    return 1;
}

// A card opened as File › Open does, on a panel the size of the layout,
// showing the personal information of the preferences.
struct OpenCard : TLoadedCard {
    explicit OpenCard(const TPreferences& prefs) : TLoadedCard(prefs.Layout) { panel.SetPersonalInfo(prefs.Personal); }
};

// The files a command reads, which its output must never replace.
QStringList inputsOf(const QString& card, const QString& prefs)
{
    QStringList inputs { card, SidecarFileName(card) };
    if (!prefs.isEmpty())
        inputs << prefs;
    return inputs;
}

// Refuses an output that would replace an input, before anything is read
// or written; again once the card has named its background art.
QString outputProblem(const QString& output, const QStringList& inputs, const OpenCard* card = nullptr)
{
    QStringList all = inputs;
    if (card && !card->backgroundArt.isEmpty())
        all << card->backgroundArt;
    return CheckOutputFile(output, all);
}

struct Options {
    QStringList positional;
    QString prefs;
    bool border = false;
    int dpi = 96;
    std::optional<double> bleed; // inches
    bool cropMarks = false;
    QString data;
    int record = 0; // 1-based; 0: every record
    QString error;
};

Options parse(const QStringList& args)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--border") {
            o.border = true;
        } else if (a == "--prefs") {
            if (i + 1 >= args.size()) {
                o.error = "--prefs needs a file name";
                return o;
            }
            o.prefs = args[++i];
        } else if (a == "--data") {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                o.error = "--data needs a file name";
                return o;
            }
            o.data = args[++i];
        } else if (a == "--record") {
            bool ok = false;
            o.record = i + 1 < args.size() ? args[++i].trimmed().toInt(&ok) : 0;
            if (!ok || o.record < 1) {
                o.error = "--record needs a record number from 1";
                return o;
            }
        } else if (a == "--dpi") {
            bool ok = false;
            o.dpi = i + 1 < args.size() ? args[++i].trimmed().toInt(&ok) : 0;
            if (!ok || o.dpi < kExportMinDpi || o.dpi > kExportMaxDpi) {
                o.error = QString("--dpi needs a number from %1 to %2").arg(kExportMinDpi).arg(kExportMaxDpi);
                return o;
            }
        } else if (a == "--bleed") {
            o.bleed = i + 1 < args.size() ? ParseLengthInches(args[++i]) : std::nullopt;
            if (!o.bleed || *o.bleed > kMaxBleedInches + 1e-9) {
                o.error = "--bleed needs a length from 0 to 6 mm with its unit, as 3mm or 0.125in";
                return o;
            }
        } else if (a == "--crop-marks") {
            o.cropMarks = true;
        } else if (a.startsWith("--")) {
            o.error = "Unknown option: " + a;
            return o;
        } else {
            o.positional << a;
        }
    }
    return o;
}

// Never a CDW.INI lying around: only the file named on the command line,
// which must be readable and hold a card size the layout dialog would take.
QString preferencesFrom(const QString& path, TPreferences* prefs, bool sheets)
{
    *prefs = TPreferences();
    if (path.isEmpty())
        return QString();
    const QString refusal = CheckInputFile(path);
    if (!refusal.isEmpty())
        return refusal;
    bool readable = false;
    *prefs = LoadPreferencesFile(path, &readable);
    if (!readable)
        return "Cannot read file " + path;
    const QString invalid = BatchLayoutMessage(prefs->Layout, sheets);
    if (!invalid.isEmpty())
        return path + ": " + invalid;
    return QString();
}

// The card of `path` on a panel of the layout of --prefs; null with the
// message in `error` when either cannot be read.
std::unique_ptr<OpenCard> openCard(const Options& o, const QString& path, QString* error)
{
    TPreferences prefs;
    *error = preferencesFrom(o.prefs, &prefs, false);
    if (!error->isEmpty())
        return nullptr;
    auto card = std::make_unique<OpenCard>(prefs);
    // Objects in the bleed of the preferences are part of the card.
    card->panel.SetBleed(prefs.PrintShop.BleedInches * 96);
    try {
        card->Load(path);
    } catch (const EStreamError& e) {
        *error = e.Message();
        return nullptr;
    }
    return card;
}

// The card a render draws, after its output is found not to replace any
// of *inputs (the card, the preferences, the data); null with *error set.
std::unique_ptr<OpenCard> openForRender(const Options& o, const QString& out, QStringList* inputs,
    TPreferences* prefs, QString* error)
{
    *inputs = inputsOf(o.positional[0], o.prefs);
    if (!o.data.isEmpty())
        *inputs << o.data;
    *error = outputProblem(out, *inputs);
    if (!error->isEmpty())
        return nullptr;
    auto card = openCard(o, o.positional[0], error);
    preferencesFrom(o.prefs, prefs, false); // read and checked by openCard
    return card;
}

// --data for render: the card shows record --record, or *pages gets one
// page per record. Empty, or why the data cannot be used.
QString loadRecords(const Options& o, OpenCard& card, TDataFile* data, const TFieldRecords** pages)
{
    if (o.data.isEmpty())
        return QString();
    QString error = LoadMergeData(o.data, card.panel, data);
    if (error.isEmpty() && o.record > 0)
        error = RecordRangeProblem(TRecordRange{o.record, o.record}, data->records.size());
    if (!error.isEmpty())
        return error;
    if (o.record > 0)
        card.panel.SetFieldRecord(data->records[o.record - 1]);
    else
        *pages = &data->records;
    return QString();
}

int dump(const Options& o)
{
    if (o.positional.size() != 1)
        return fail("Usage: cardora-cli dump CARD.CDW");
    QString error;
    const auto card = openCard(o, o.positional[0], &error);
    if (!card)
        return fail(error);
    const QByteArray json = DumpCardJson(card->panel.Objects());
    std::fwrite(json.constData(), 1, json.size(), stdout);
    if (!json.endsWith('\n'))
        std::fputc('\n', stdout);
    return 0;
}

int resave(const Options& o)
{
    if (o.positional.size() != 2)
        return fail("Usage: cardora-cli resave IN.CDW OUT.CDW");
    const QString& out = o.positional[1];
    const QStringList inputs = inputsOf(o.positional[0], o.prefs);
    QString error = outputProblem(out, inputs);
    if (error.isEmpty())
        error = SidecarProblem(out, inputs);
    if (!error.isEmpty())
        return fail(error);
    const auto card = openCard(o, o.positional[0], &error);
    if (!card)
        return fail(error);
    error = outputProblem(out, inputs, card.get());
    if (error.isEmpty())
        error = SidecarProblem(out, inputs + QStringList { card->backgroundArt });
    if (!error.isEmpty())
        return fail(error);
    try {
        card->panel.RemoveOffCardObjects();
        card->panel.SaveCardFile(out);
    } catch (const EStreamError& e) {
        return fail(e.Message());
    }
    if (!WriteSidecar(out, card->backgroundArt, card->backSide))
        return fail("Cannot create file " + SidecarFileName(out));
    return 0;
}

int render(const Options& o)
{
    if (o.positional.size() != 2)
        return fail("Usage: cardora-cli render IN.CDW OUT.png [--border] [--prefs CDW.INI] [--dpi N]");
    const QString out = o.positional[1];
    TCardExport e;
    e.Dpi = o.dpi;
    e.Border = o.border;
    // The picture type comes from the name; one that cannot be written is
    // refused before anything is read or written.
    if (const auto format = CardExportFormatFor(out)) {
        e.Format = *format;
    } else {
        // Any other picture format Qt writes, named by the extension as before.
        const QByteArray suffix = QFileInfo(out).suffix().toLower().toLatin1();
        e.WriterFormat = suffix.isEmpty() ? QByteArray("png") : suffix;
        if (!QImageWriter::supportedImageFormats().contains(e.WriterFormat))
            return fail("Cannot create file " + out + ": Unsupported image format");
    }
    if (o.record > 0 && o.data.isEmpty())
        return fail("--record needs --data");
    if (!o.data.isEmpty() && o.record == 0 && e.Format != TCardExportFormat::Pdf)
        return fail("--data needs --record N for a picture; only a PDF takes one page per record");
    QStringList inputs;
    TPreferences prefs;
    QString error;
    const auto card = openForRender(o, out, &inputs, &prefs, &error);
    if (!card)
        return fail(error);
    TDataFile data;
    error = loadRecords(o, *card, &data, &e.Records);
    if (!error.isEmpty())
        return fail(error);
    e.CardInches = QSizeF(prefs.Layout.Width, prefs.Layout.Height);
    if (!card->backgroundArt.isEmpty())
        inputs << card->backgroundArt;
    error = WriteCardExport(card->panel, e, out, inputs);
    if (!error.isEmpty())
        return fail(error);
    return 0;
}

// A print shop's PDF: the card with its bleed, trim and bleed boxes.
int renderForShop(const Options& o)
{
    const QString out = o.positional[1];
    if (CardExportFormatFor(out) != TCardExportFormat::Pdf)
        return fail("Cannot create file " + out + ": --bleed and --crop-marks write a PDF file, named *.pdf");
    if (o.border)
        return fail("--border does not go with --bleed or --crop-marks");
    if (o.record > 0 && o.data.isEmpty())
        return fail("--record needs --data");
    QStringList inputs;
    TPreferences prefs;
    QString error;
    const auto card = openForRender(o, out, &inputs, &prefs, &error);
    if (!card)
        return fail(error);
    if (!card->backgroundArt.isEmpty())
        inputs << card->backgroundArt;
    TShopPdfOptions shop;
    // A merged run: the record asked for, or one page per record.
    TDataFile data;
    error = loadRecords(o, *card, &data, &shop.Records);
    if (!error.isEmpty())
        return fail(error);
    shop.CardInches = QSizeF(prefs.Layout.Width, prefs.Layout.Height);
    shop.BleedInches = o.bleed.value_or(prefs.PrintShop.BleedInches);
    shop.CropMarks = o.cropMarks;
    shop.Art = &card->panel.ColorPicture();
    error = WriteShopPdf(card->panel, shop, out, inputs);
    if (!error.isEmpty())
        return fail(error);
    return 0;
}

int preflight(const Options& o)
{
    if (o.positional.size() != 1 || o.cropMarks)
        return fail("Usage: cardora-cli preflight CARD.CDW [--bleed 3mm] [--prefs CDW.INI]");
    QString error;
    const auto card = openCard(o, o.positional[0], &error);
    if (!card)
        return fail(error);
    TPreferences prefs;
    preferencesFrom(o.prefs, &prefs, false); // read and checked by openCard
    TPreflightOptions check;
    check.CardInches = QSizeF(prefs.Layout.Width, prefs.Layout.Height);
    check.BleedInches = o.bleed.value_or(prefs.PrintShop.BleedInches);
    check.SafeInches = prefs.PrintShop.SafeInches;
    check.Art = &card->panel.ColorPicture();
    const QByteArray json = PreflightJson(PreflightCard(card->panel.Objects(), check));
    std::printf("%s\n", json.constData());
    return 0;
}

int print(const QStringList& args)
{
    QString error;
    const std::optional<TBatchPrintOptions> o = ParseBatchPrintArguments(args, &error);
    if (!o)
        return fail(error);
    if (QFileInfo(o->Output).suffix().compare("pdf", Qt::CaseInsensitive) != 0)
        return fail("Cannot create file " + o->Output + ": the sheets are written as a PDF file, named *.pdf");
    QStringList inputs = inputsOf(o->Input, o->Prefs);
    if (!o->Data.isEmpty())
        inputs << o->Data;
    error = outputProblem(o->Output, inputs);
    if (!error.isEmpty())
        return fail(error);
    TPreferences prefs;
    error = preferencesFrom(o->Prefs, &prefs, true);
    if (!error.isEmpty())
        return fail(error);
    if (!o->Stock.isEmpty()) {
        const std::vector<TCardStock> stocks = AllCardStocks();
        const TCardStock* stock = FindStockByCode(stocks, o->Stock);
        if (!stock)
            return fail("Unknown card stock: " + o->Stock + " (cardora-cli stocks lists the product codes)");
        prefs.Layout = ApplyStock(prefs.Layout, *stock);
    }
    OpenCard card(prefs);
    try {
        card.Load(o->Input);
    } catch (const EStreamError& e) {
        return fail(e.Message());
    }
    error = outputProblem(o->Output, inputs, &card);
    if (!error.isEmpty())
        return fail(error);
    TDataFile data;
    if (!o->Data.isEmpty()) {
        error = LoadMergeData(o->Data, card.panel, &data);
        if (!error.isEmpty())
            return fail(error);
    }
    // The back card: read like the front, never replaced by the output.
    std::unique_ptr<OpenCard> back;
    TBackSide backSide;
    if (!o->Back.isEmpty()) {
        error = outputProblem(o->Output, inputsOf(o->Back, QString()));
        if (!error.isEmpty())
            return fail(error);
        back = std::make_unique<OpenCard>(prefs);
        try {
            back->Load(o->Back);
        } catch (const EStreamError& e) {
            return fail(o->Back + ": " + e.Message());
        }
        error = outputProblem(o->Output, inputsOf(o->Back, QString()), back.get());
        if (!error.isEmpty())
            return fail(error);
        backSide.Panel = &back->panel;
        backSide.BackgroundFile = back->backgroundArt;
        backSide.Sides = TSides::FrontsAndBacks;
        backSide.Edge = o->Duplex;
        backSide.Nudges = prefs.BackNudges;
    }
    error = RunBatchPrint(card.panel, card.backgroundArt, prefs.Layout, prefs.Nudges, *o,
        o->Data.isEmpty() ? nullptr : &data, back ? &backSide : nullptr);
    if (!error.isEmpty())
        return fail(error);
    return 0;
}

// The catalogue, the shipped stocks then the user's own, as one JSON line.
int stocks(const QStringList& args)
{
    if (!args.isEmpty())
        return fail("Usage: cardora-cli stocks");
    QString shippedProblem, userProblem;
    ShippedCardStocks(&shippedProblem);
    QJsonArray list;
    for (const TCardStock& s : AllCardStocks(&userProblem)) {
        QJsonObject o = CardStockToJson(s);
        if (s.User)
            o["user"] = true;
        const TCardLayout l = ApplyStock(TCardLayout(), s);
        o["inches"] = QJsonObject { { "card", QJsonArray { l.Width, l.Height } },
            { "margins", QJsonArray { l.LeftMargin, l.TopMargin } }, { "pitch", QJsonArray { l.HPitch, l.VPitch } } };
        list.append(o);
    }
    QJsonObject top { { "stocks", list } };
    QJsonArray problems;
    for (const QString& p : { shippedProblem, userProblem })
        if (!p.isEmpty())
            problems.append(p);
    if (!problems.isEmpty())
        top["problems"] = problems;
    std::printf("%s\n", QJsonDocument(top).toJson(QJsonDocument::Compact).constData());
    return 0;
}

int runCommand(QStringList args)
{
    const QString command = args.takeFirst();
    if (command == "stocks")
        return stocks(args);
    if (command == "print")
        return print(args);
    if (command == "picture") {
        QString json, error;
        if (!RunPictureCommand(args, &json, &error))
            return fail(error);
        std::printf("%s\n", json.toUtf8().constData());
        return 0;
    }
    const Options o = parse(args);
    if (!o.error.isEmpty())
        return fail(o.error);
    if ((o.bleed || o.cropMarks) && command != "render" && command != "preflight")
        return fail(QString("Unknown option: ") + (o.bleed ? "--bleed" : "--crop-marks"));
    if (command == "dump")
        return dump(o);
    if (command == "resave")
        return resave(o);
    if (command == "render" && (o.bleed || o.cropMarks) && o.positional.size() == 2)
        return renderForShop(o);
    if (command == "render")
        return render(o);
    if (command == "preflight")
        return preflight(o);
    return fail("Unknown command: " + command + " (see cardora-cli --help)");
}

// Qt's own complaints (image readers, the allocation limit, buffers) are not
// the tool's output: a run prints one line of its own on failure, none on
// success.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        fail(message);
}

} // namespace

int RunCli(int argc, char** argv)
{
    qInstallMessageHandler(quietQtMessages);
    keepStandardErrorForTheTool();
    // The batch tool needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scratch files go to a private folder of this run, never beside a
    // shared installation; what runs killed earlier left is removed first.
    RemoveStaleScratch(QDir::tempPath(), kScratchPrefix);
    const QString scratch = MakeScratchFolder(kScratchPrefix);
    if (scratch.isEmpty())
        return fail("Cannot create a private folder in " + QDir::tempPath());
    // An interrupted run leaves neither half-written outputs nor the scratch
    // folder; a file-size limit makes a write fail instead of ending the run.
    RemoveTemporariesOnTermination(scratch);
    struct RemoveAtEnd {
        QString folder;
        ~RemoveAtEnd() { QDir(folder).removeRecursively(); }
    } removeAtEnd { scratch };
    // Qt wants a runtime folder; without the user's own, one inside the
    // scratch folder, which nobody else can reach.
    if (!IsPrivateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"))) {
        const QString runtime = scratch + "/runtime";
        QDir().mkdir(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(kUsage, args.isEmpty() ? toolErrors() : stdout);
        return args.isEmpty() ? 1 : 0;
    }
    if (args[0] == "--version") {
        std::printf("cardora-cli %s\n", kVersionText);
        return 0;
    }
    auto modal = std::make_shared<HeadlessModal>();
    SetModalHandler(modal);
    SetApplicationFolder(scratch + "/app");
    QDir().mkdir(scratch + "/app");
    RegisterBundledFonts();
    RegisterCardObjectKinds();

    // Whatever goes wrong below ends here, so the scratch folder goes too.
    try {
        return runCommand(args);
    } catch (const std::exception& e) {
        return fail(QString("Unexpected error: ") + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return fail("Unexpected error");
    }
}

} // namespace cardora
