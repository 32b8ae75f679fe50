// Merging from the batch tool: fields filled from CSV and vCard records, one
// card per record in position order, and refusals that leave no output.
#include "cli_run.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/card_panel.h"
#include "../support/card_builder.h"
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::CliRun;
using cardora::test::RunCli;

namespace {

// A card of one kind holding `text` (fields or values), saved where asked.
QString saveCard(const QString& path, const QString& kind, const QString& text, QRect box = QRect(12, 12, 300, 40))
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    TRichTextControl master(&owner, QString::fromLatin1(kMasterRichTextName));
    panel.SetPanelSize(336, 192);
    EXPECT_TRUE(cardora::test::AddKind(owner, panel, kind, box, text)) << kind.toStdString();
    panel.SaveCardFile(path);
    return path;
}

QString writeData(const QString& path, const QByteArray& bytes)
{
    EXPECT_TRUE(cardora::test::WriteFileBytes(path, bytes));
    return path;
}

// Twelve people, a comma in a quoted title, names that sort by number.
QByteArray twelvePeople()
{
    QByteArray csv = "Name,Title\r\n";
    for (int i = 1; i <= 12; ++i)
        csv += QString("Person%1,\"Engineer, grade %2\"\r\n").arg(i, 2, 10, QChar('0')).arg(i).toUtf8();
    return csv;
}

struct Word {
    int page;
    double x, y;
};

// Where pdftotext finds each word "PersonNN", by page (1-based).
QMap<QString, Word> personWords(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QMap<QString, Word> words;
    int page = 0;
    static const QRegularExpression token(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>(Person[0-9]+)</word>)re");
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page"))
            ++page;
        else
            words.insert(m.captured(3), Word{page, m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

int pdfPages(const QString& pdf)
{
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(60000);
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

// Each record lands at the next chosen position, row by row, sheet after
// sheet; a range starts at the first chosen position of the first sheet.
TEST(MergeCli, PrintsOneCardPerRecordInPositionOrder)
{
    QTemporaryDir dir;
    const QString card = saveCard(dir.filePath("card.CDW"), "TQBusinessCardLabel", "${name}");
    const QString data = writeData(dir.filePath("people.csv"), twelvePeople());
    const struct {
        QStringList extra;
        int pages;
        QList<int> positions; // 1-based position of each record printed
        int firstRecord;
    } cases[] = {
        {{}, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2}, 1},
        {{"--positions", "2,3,10"}, 4, {2, 3, 10, 2, 3, 10, 2, 3, 10, 2, 3, 10}, 1},
        {{"--records", "3-5"}, 1, {1, 2, 3}, 3},
        {{"--records", "11-12", "--positions", "10"}, 2, {10, 10}, 11},
        {{"--records", "7"}, 1, {1}, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra.join(' ').toStdString());
        const QString pdf = dir.filePath("sheets.pdf");
        const CliRun r = RunCli(QStringList{"print", card, pdf, "--data", data} + c.extra);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_TRUE(r.err.isEmpty());
        EXPECT_EQ(pdfPages(pdf), c.pages);
        const QMap<QString, Word> words = personWords(pdf);
        EXPECT_EQ(words.size(), c.positions.size());
        for (int i = 0; i < c.positions.size(); ++i) {
            const QString name = QString("Person%1").arg(c.firstRecord + i, 2, 10, QChar('0'));
            ASSERT_TRUE(words.contains(name)) << name.toStdString();
            const Word w = words[name];
            const int index = c.positions[i] - 1;
            // Letter 2 x 5 of 3.5 x 2 in cards from 0.75 / 0.5 in.
            const double left = 72 * (0.75 + 3.5 * (index % 2)), top = 72 * (0.5 + 2.0 * (index / 2));
            EXPECT_GE(w.x, left) << name.toStdString();
            EXPECT_LT(w.x, left + 72 * 3.5) << name.toStdString();
            EXPECT_GE(w.y, top) << name.toStdString();
            EXPECT_LT(w.y, top + 72 * 2.0) << name.toStdString();
            if (i > 0) {
                const QString before = QString("Person%1").arg(c.firstRecord + i - 1, 2, 10, QChar('0'));
                EXPECT_GE(w.page, words[before].page) << name.toStdString();
            }
        }
        QFile::remove(pdf);
    }
}

// Record N drawn by the batch tool is the card with N's values typed in, for
// every kind of text; a PDF without --record has a page per record.
TEST(MergeCli, RenderedRecordEqualsTheCardWithItsValuesTyped)
{
    QTemporaryDir dir;
    const QString data = writeData(dir.filePath("people.csv"), "\xEF\xBB\xBFName;Company\nAna N\xC3\xBA\xC3\xB1\x65z;Zeta\nBo;\"Y;y\"\n");
    const struct {
        const char* kind;
        QRect box;
    } kinds[] = {
        {"TQBusinessCardLabel", QRect(12, 12, 300, 40)}, {"TQMultiLineLabel", QRect(0, 100, 330, 80)},
        {"TQSuperText", QRect(40, 20, 280, 60)},         {"TQPCircleText", QRect(60, 10, 180, 180)},
        {"TQPRichBaseLabel", QRect(5, 60, 320, 100)},    {"TQSymbolLabel", QRect(300, 150, 30, 30)},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const QString fields = saveCard(dir.filePath("fields.CDW"), k.kind, "${Name} of ${COMPANY}", k.box);
        const QString typed = saveCard(dir.filePath("typed.CDW"), k.kind, "Bo of Y;y", k.box);
        ASSERT_EQ(RunCli({"render", fields, dir.filePath("merged.png"), "--data", data, "--record", "2"}).exitCode, 0);
        ASSERT_EQ(RunCli({"render", typed, dir.filePath("typed.png")}).exitCode, 0);
        const QImage merged(dir.filePath("merged.png")), expected(dir.filePath("typed.png"));
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(merged == expected);

        const CliRun r = RunCli({"render", fields, dir.filePath("all.pdf"), "--data", data});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(pdfPages(dir.filePath("all.pdf")), 2);
    }
}

// Without a data file the fields show the personal information of --prefs,
// or nothing of a fresh installation's empty one; unknown names stay typed.
TEST(MergeCli, WithoutDataFieldsShowThePersonalInformation)
{
    QTemporaryDir dir;
    const QString prefs = writeData(dir.filePath("CDW.INI"),
        "[Personal]\nName=Ann Example\nTitle=Chief Tester\nEmail=ann@example.org\n");
    const struct {
        const char* fields;
        const char* withPrefs;
        const char* withoutPrefs;
    } cases[] = {
        {"${Name}", "Ann Example", ""},
        {"${title} / ${EMAIL}", "Chief Tester / ann@example.org", " / "},
        {"${Nickname} ${Name}", "${Nickname} Ann Example", "${Nickname} "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fields);
        const QString card = saveCard(dir.filePath("fields.CDW"), "TQMultiLineLabel", c.fields);
        for (bool withPrefs : {true, false}) {
            const QString typed =
                saveCard(dir.filePath("typed.CDW"), "TQMultiLineLabel", withPrefs ? c.withPrefs : c.withoutPrefs);
            QStringList args{"render", card, dir.filePath("a.png")};
            if (withPrefs)
                args << "--prefs" << prefs;
            ASSERT_EQ(RunCli(args).exitCode, 0);
            ASSERT_EQ(RunCli({"render", typed, dir.filePath("b.png")}).exitCode, 0);
            EXPECT_TRUE(QImage(dir.filePath("a.png")) == QImage(dir.filePath("b.png"))) << withPrefs;
        }
    }
}

// A vCard's people fill the same fields as a CSV's.
TEST(MergeCli, VCardRecordsFillNameAndPhone)
{
    QTemporaryDir dir;
    const QString data = writeData(dir.filePath("team.vcf"),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person01\r\nTEL;TYPE=CELL:555 0100\r\nTEL;TYPE=WORK,VOICE:555 0101\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Person02;Ignored\r\nFN:Person02\r\nTEL;WORK;VOICE:555 0202\r\nEND:VCARD\r\n");
    const QString card = saveCard(dir.filePath("card.CDW"), "TQBusinessCardLabel", "${Name} ${Phone1}");
    const QString pdf = dir.filePath("team.pdf");
    const CliRun r = RunCli({"render", card, pdf, "--data", data});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QMap<QString, Word> words = personWords(pdf);
    ASSERT_EQ(words.size(), 2);
    EXPECT_EQ(words["Person01"].page, 1);
    EXPECT_EQ(words["Person02"].page, 2);
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    text.waitForFinished(60000);
    const QString all = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(all.contains("555 0101")) << all.toStdString();
    EXPECT_TRUE(all.contains("555 0202")) << all.toStdString();
    EXPECT_FALSE(all.contains("555 0100")) << all.toStdString();
}

// Every refusal: exit 1, one line on standard error that says why, and no
// output file (an old one stays as it was).
TEST(MergeCli, RefusalsWriteNothing)
{
    QTemporaryDir dir;
    const QString card = saveCard(dir.filePath("card.CDW"), "TQBusinessCardLabel", "${Name} ${Title}");
    const QString data = writeData(dir.filePath("people.csv"), twelvePeople());
    const QString noTitle = writeData(dir.filePath("names.csv"), "Name\nAna\n");
    const QString broken = writeData(dir.filePath("broken.csv"), "Name,Title\nAna,\"Boss\nBo,Clerk\n");
    QDir().mkpath(dir.filePath("folder.csv"));
    const QString out = dir.filePath("out.pdf");
    const QString png = dir.filePath("out.png");
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"print", card, out, "--data", noTitle}, "Title"},
        {{"print", card, out, "--data", data, "--records", "5-3"}, "5-3"},
        {{"print", card, out, "--data", data, "--records", "0-2"}, "0-2"},
        {{"print", card, out, "--data", data, "--records", "11-13"}, "12 records"},
        {{"print", card, out, "--data", data, "--sheets", "2"}, "--sheets"},
        {{"print", card, out, "--records", "1-2"}, "--data"},
        {{"print", card, out, "--data", data, "--outline"}, "--outline"},
        {{"print", card, out, "--data", broken}, "line 2"},
        {{"print", card, out, "--data", dir.filePath("folder.csv")}, "folder.csv"},
        {{"print", card, out, "--data", dir.filePath("none.csv")}, "none.csv"},
        {{"print", card, data, "--data", data}, "people.csv"},
        {{"render", card, png, "--data", data}, "--record"},
        {{"render", card, png, "--record", "2"}, "--data"},
        {{"render", card, png, "--data", data, "--record", "13"}, "12 records"},
        {{"render", card, png, "--data", data, "--record", "x"}, "--record"},
        {{"render", card, out, "--data", noTitle}, "Title"},
    };
    const QByteArray before = cardora::test::ReadFileBytes(data);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.says)) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(out));
        EXPECT_FALSE(QFile::exists(png));
    }
    EXPECT_EQ(cardora::test::ReadFileBytes(data), before);
}
