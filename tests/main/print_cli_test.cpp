#include "core/ini_file.h"
#include "objects/shapes.h"
#include "report/report_pixels.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// The batch tool beside this test program.
QString cliPath() { return QCoreApplication::applicationDirPath() + "/cardora-cli"; }

CliResult runCli(const QStringList& args, const QString& workingDir = QString())
{
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(cliPath(), args);
    CliResult r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

struct CliFixture : ::testing::Test {
    QTemporaryDir dir;
    QString card;

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(cliPath())) << "build the cardora-cli target first";
        // A card with a red box 0.5 to 1.5 by 0.5 to 1 inch in.
        QObject owner;
        CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        TBCShapes* s = TBCShapes::CreateForTool(&owner, ShapeType::Rectangle);
        panel.AddObject(s);
        s->SetBounds(48, 48, 96, 48);
        s->Brush()->SetColor(clRed);
        s->Pen()->SetColor(clRed);
        card = dir.filePath("card.CDW");
        panel.SaveCardFile(card);
        ASSERT_TRUE(QFileInfo::exists(card));
    }
    QString path(const char* name) const { return dir.filePath(name); }
    // Red ink inside the box of a position (1-based) at 50 dpi.
    static int redAt(const QImage& page, int position, int across = 2, double left = 0.75, double top = 0.5,
        double hpitch = 3.5, double vpitch = 2.0)
    {
        const int col = (position - 1) % across, row = (position - 1) / across;
        const QRect box(qRound((left + col * hpitch + 0.5) * 50) + 3, qRound((top + row * vpitch + 0.5) * 50) + 3, 40, 18);
        return cardora::test::CountMatching(page, isRed, box);
    }
};

} // namespace

TEST_F(CliFixture, PrintsEverySheetOfTheDefaultLayout)
{
    CliResult r = runCli({ "print", card, path("sheet.pdf") });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(cardora::test::PdfInfo(path("sheet.pdf"), "Pages"), "1");
    EXPECT_TRUE(cardora::test::PdfInfo(path("sheet.pdf"), "Page size").startsWith("612 x 792"));
    const QImage page = cardora::test::RenderPdf(path("sheet.pdf"), 50);
    ASSERT_FALSE(page.isNull());
    for (int p = 1; p <= 10; ++p)
        EXPECT_GT(redAt(page, p), 600) << p;
    // Exactly ten boxes and nothing else red.
    EXPECT_LT(cardora::test::CountMatching(page, isRed), 10 * 51 * 26 + 1);

    r = runCli({ "print", card, path("three.pdf"), "--sheets", "3", "--positions", "2,7", "--dpi", "300" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cardora::test::PdfInfo(path("three.pdf"), "Pages"), "3");
    for (int sheet = 1; sheet <= 3; ++sheet) {
        const QImage s = cardora::test::RenderPdf(path("three.pdf"), 50, sheet);
        for (int p = 1; p <= 10; ++p) {
            if (p == 2 || p == 7)
                EXPECT_GT(redAt(s, p), 600) << sheet << " " << p;
            else
                EXPECT_EQ(redAt(s, p), 0) << sheet << " " << p;
        }
    }
}

TEST_F(CliFixture, OutlineAndPreviewPages)
{
    CliResult r = runCli({ "print", card, path("outline.pdf"), "--outline", "--positions", "1" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QImage page = cardora::test::RenderPdf(path("outline.pdf"), 50);
    EXPECT_EQ(cardora::test::CountMatching(page, isRed), 0);
    // The outline of card 1, (0.75, 0.5) to (4.25, 2.5) inches, and nothing else.
    const QRect ink = cardora::test::InkBounds(page);
    EXPECT_NEAR(ink.left(), 37, 1);
    EXPECT_NEAR(ink.top(), 25, 1);
    EXPECT_NEAR(ink.right(), 212, 1);
    EXPECT_NEAR(ink.bottom(), 125, 1);

    r = runCli({ "print", card, path("preview.pdf"), "--preview" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cardora::test::PdfInfo(path("preview.pdf"), "Pages"), "1");
    page = cardora::test::RenderPdf(path("preview.pdf"), 50);
    // The whole sheet, as it will print.
    for (int p = 1; p <= 10; ++p)
        EXPECT_GT(redAt(page, p), 600) << p;
    // The silver outline of the previewed cards.
    auto silver = [](QRgb c) { return qRed(c) > 150 && qRed(c) < 230 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); };
    EXPECT_GT(cardora::test::CountMatching(page, silver, QRect(40, 20, 150, 10)), 100);
}

TEST_F(CliFixture, PreferencesGivePaperLayoutAndNudges)
{
    const QString prefs = path("CDW.INI");
    {
        IniFile ini(prefs);
        // The A4 stock L7417, every card 1/16 inch lower.
        ini.WriteInteger("Layout", "Height", 2126);
        ini.WriteInteger("Layout", "Width", 3543);
        ini.WriteInteger("Layout", "TopMargin", 531);
        ini.WriteInteger("Layout", "LeftMargin", 591);
        ini.WriteInteger("Layout", "HPitch", 3543);
        ini.WriteInteger("Layout", "VPitch", 2126);
        ini.WriteInteger("Layout", "Papersize", 9);
        ini.WriteInteger("Printer", "TopMarginNudge", 2);
    }
    CliResult r = runCli({ "print", card, path("a4.pdf"), "--prefs", prefs });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(cardora::test::PdfInfo(path("a4.pdf"), "Page size").contains("(A4)")) << cardora::test::PdfInfo(path("a4.pdf"), "Page size").toStdString();
    const QImage page = cardora::test::RenderPdf(path("a4.pdf"), 50);
    const QRect first = cardora::test::InkBounds(page, isRed, QRect(0, 0, 150, 100));
    EXPECT_NEAR(first.left(), (0.591 + 0.5) * 50, 1.5);
    EXPECT_NEAR(first.top(), (0.531 + 0.0625 + 0.5) * 50, 1.5);
    for (int p = 1; p <= 10; ++p)
        EXPECT_GT(redAt(page, p, 2, 0.591, 0.5935, 3.543, 2.126), 500) << p;

    // Without --prefs, a CDW.INI beside the card or in the working folder is never read.
    r = runCli({ "print", card, path("plain.pdf") }, dir.path());
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(cardora::test::PdfInfo(path("plain.pdf"), "Page size").startsWith("612 x 792"));
}

TEST_F(CliFixture, BadArgumentsFailWithAMessageAndNoFile)
{
    struct Case {
        QStringList args;
        const char* message;
    };
    const QString out = path("out.pdf");
    const QList<Case> cases = {
        { { "print" }, "Usage: cardora-cli print" },
        { { "print", card }, "Usage: cardora-cli print" },
        { { "print", path("missing.CDW"), out }, "missing.CDW" },
        { { "print", card, out, "--sheets", "0" }, "--sheets needs a number from 1 to 999" },
        { { "print", card, out, "--sheets" }, "--sheets needs a number" },
        { { "print", card, out, "--sheets", "x" }, "--sheets needs a number" },
        { { "print", card, out, "--positions", "0" }, "is not a position" },
        { { "print", card, out, "--positions", "1,,2" }, "is not a position" },
        { { "print", card, out, "--positions", "11" }, "Position 11 is not on the sheet (positions 1 to 10)" },
        { { "print", card, out, "--dpi", "10" }, "--dpi needs a number from 72 to 2400" },
        { { "print", card, out, "--outline", "--preview" }, "cannot be used together" },
        { { "print", card, out, "--bogus" }, "Unknown option: --bogus" },
        { { "print", card, out, "--prefs", path("none.ini") }, "Cannot open file" },
        { { "print", card, path("no/such/folder/out.pdf") }, "Cannot create file" },
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.args.join(' ').toStdString() << " -> " << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << c.args.join(' ').toStdString();
    }
    // A damaged card file is an error too.
    QFile damaged(path("damaged.CDW"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("TPF0\xff\xff\xff\xff garbage");
    damaged.close();
    const CliResult r = runCli({ "print", path("damaged.CDW"), out });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());

    const CliResult help = runCli({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview]"));
    EXPECT_TRUE(help.out.contains("[--positions 1,2,5] [--sheets N] [--dpi 600]"));
}
