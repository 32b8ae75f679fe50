#include "core/rounding.h"
#include "fake_parent.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/richtext_label/rich_text_editor.h"
#include "objects/text_label.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "richtext/rich_text_control.h"
#include "richtext/rich_text_storage.h"
#include "richtext/rtf_reader.h"
#include "support/scripted_modal.h"
#include "pdf_text.h"
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

const QByteArray kWords = "{\\rtf1{\\fonttbl{\\f0 Liberation Sans;}}{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 "
                          "Rich text on a card wraps at the same words whatever the zoom\\par}";

bool IsDark(QRgb c) { return qGray(c) < 128; }

// A panel stand-in whose owner holds the master control, as the main window does.
struct Card {
    Card() { RegisterCardClass<TQPRichBaseLabel>(); }
    FakeParent parent;
    TRichTextControl* master = new TRichTextControl(&parent.Owner, QString::fromLatin1(kMasterRichTextName));

    TQPRichBaseLabel* Label(const QByteArray& rtf = QByteArray(), QRect bounds = QRect(0, 0, 190, 60))
    {
        auto* l = TQPRichBaseLabel::CreateForTool(&parent.Owner);
        parent.Adopt(l);
        l->SetBoundsRect(bounds);
        if (!rtf.isEmpty()) {
            QTextDocument doc;
            ReadRtf(rtf, doc);
            l->SetRTFText(doc);
        }
        return l;
    }
};

QImage Render(TQGraphicControl& o)
{
    QImage image(o.Width(), o.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    o.PaintTo(p, 0, 0);
    return image;
}

int DarkCount(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += IsDark(image.pixel(x, y));
    return n;
}

QAction* Item(QMenu& menu, const QString& caption)
{
    for (QAction* a : menu.actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// Where a label finds its master, and what happens without one.
TEST(RichLabel, FindsTheMasterOrRefusesToExist)
{
    struct Case {
        const char* what;
        QString name;       // the control's name; empty: no control
        bool inChildWidget; // held further down the owner's children
        bool found;
    };
    const Case cases[] = {
        { "master beside the label", "MASTERWPRICHTEXT", false, true },
        { "name in another case", "MasterWPRichText", false, true },
        { "held deeper among the owner's objects", "MASTERWPRICHTEXT", true, true },
        { "another name", "WPRichText1", false, false },
        { "no control at all", QString(), false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QObject window;
        QObject* holder = c.inChildWidget ? new QObject(&window) : &window;
        if (!c.name.isEmpty())
            new TRichTextControl(holder, c.name);
        QObject* owner = new QObject(&window);
        if (c.found) {
            std::unique_ptr<TQPRichBaseLabel> label(TQPRichBaseLabel::CreateForTool(owner));
            EXPECT_NE(label->MasterRichText(), nullptr);
            EXPECT_TRUE(bool(label->DoubleClickAction));
        } else {
            try {
                delete TQPRichBaseLabel::CreateForTool(owner);
                ADD_FAILURE() << "no exception";
            } catch (const ENoMasterWPRich& e) {
                EXPECT_EQ(e.Message(), "No master rich text object found");
            }
        }
    }
}

TEST(RichLabel, ReadingACardWithoutMasterFails)
{
    RegisterCardClass<TQPRichBaseLabel>();
    Card card;
    TQPRichBaseLabel* label = card.Label(kWords);
    const QByteArray stream = TQLabelObjectFiler::WriteObjects({ label });

    FakeParent bare;
    try {
        TQLabelObjectFiler().ReadObjects(stream, &bare.Owner, &bare, bare.AdoptFunction());
        ADD_FAILURE() << "no exception";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "No master rich text object found");
    }
}

// Painting: an empty transparent label shows only its frame; a coloured one
// is filled; without a border nothing frames it.
TEST(RichLabel, PaintsBackgroundFrameAndText)
{
    struct Case {
        const char* what;
        QByteArray rtf;
        bool transparent;
        LabelBorder border;
        QRgb corner, inside; // pixel (0,0) and (95, 5)
        bool inkInside;
    };
    const Case cases[] = {
        { "empty and transparent: frame only", {}, true, LabelBorder::Single, qRgb(0, 0, 0), qRgb(255, 255, 255), false },
        { "empty without border: nothing", {}, true, LabelBorder::NoBorder, qRgb(255, 255, 255), qRgb(255, 255, 255), false },
        { "filled", {}, false, LabelBorder::NoBorder, qRgb(255, 255, 128), qRgb(255, 255, 128), false },
        { "text", kWords, true, LabelBorder::Single, qRgb(0, 0, 0), qRgb(255, 255, 255), true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Card card;
        TQPRichBaseLabel* l = card.Label(c.rtf);
        l->SetBGColor(0x80FFFF);
        l->SetTransparent(c.transparent);
        l->SetBorderStyle(c.border);
        const QImage image = Render(*l);
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, c.corner & 0xFFFFFF);
        EXPECT_EQ(image.pixel(189, 59) & 0xFFFFFF, c.corner & 0xFFFFFF);
        EXPECT_EQ(image.pixel(95, 50) & 0xFFFFFF, c.inside & 0xFFFFFF);
        EXPECT_EQ(DarkCount(image, QRect(2, 2, 186, 56)) > 20, c.inkInside);
    }
}

// A view at 150 percent paints the text through its scale and breaks its
// lines after the same words as at 100 percent; text below the box is cut.
TEST(RichLabel, WrapsAtTheSameWordAtZoomOneAndOneAndAHalf)
{
    auto lines = [](float zoom) {
        Card card;
        TQPRichBaseLabel* l = card.Label(kWords, QRect(0, 0, 120, 400));
        l->SetBorderStyle(LabelBorder::NoBorder);
        QImage image(int(l->Width() * zoom), int(l->Height() * zoom), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.scale(zoom, zoom);
            l->PaintTo(p, 0, 0);
        }
        // The master holds this label's layout after the paint.
        const QTextLayout* layout = card.master->Document().begin().layout();
        QList<int> rightEdges;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            int right = -1;
            for (int y = int(line.y() * zoom); y < int((line.y() + line.height()) * zoom); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (IsDark(image.pixel(x, y)))
                        right = std::max(right, x);
            rightEdges << right;
        }
        return rightEdges;
    };
    const QList<int> one = lines(1.0f), oneAndHalf = lines(1.5f);
    ASSERT_GE(one.size(), 4);
    ASSERT_EQ(one.size(), oneAndHalf.size());
    for (int i = 0; i < one.size(); ++i)
        EXPECT_NEAR(oneAndHalf[i], one[i] * 1.5, 4) << "line " << i;

    // A box too low for the text shows what fits and nothing below it.
    Card card;
    TQPRichBaseLabel* low = card.Label(kWords, QRect(0, 0, 120, 20));
    low->SetBorderStyle(LabelBorder::NoBorder);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    low->PaintTo(p, 0, 0);
    p.end();
    EXPECT_GT(DarkCount(image, QRect(0, 0, 120, 20)), 20);
    EXPECT_EQ(DarkCount(image, QRect(0, 20, 120, 40)), 0);
}

// On paper the label is a vector picture: its words reach a PDF as text, and
// the picture lands in the label's rectangle at printer scale.
TEST(RichLabel, PrintsTextAsText)
{
    Card card;
    TQPRichBaseLabel* l = card.Label(kWords, QRect(48, 24, 190, 80));

    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 3.0);
    m.xDpi = m.yDpi = 300;
    TRecordingReport recording(m);
    recording.OnPrint = [&](TReport& r) { l->PrintAt(r, 0.5, 0.25); };
    ASSERT_TRUE(recording.Execute());
    const QImage page = recording.RenderPage(0);
    const QRect box(300, 150, int(190 * 300 / 96.0), int(80 * 300 / 96.0));
    EXPECT_GT(DarkCount(page, box.adjusted(4, 4, -4, -4)), 200);
    EXPECT_EQ(DarkCount(page, QRect(0, 0, 1200, 148)), 0);

    const QString text = cardora::test::PrintedPdfText([&](TReport& r) { l->PrintAt(r, 1.0, 1.0); }).simplified();
    EXPECT_TRUE(text.contains("Rich text on a card")) << text.toStdString();
}

// The card file: RTFText.Data is the RTF and four zero bytes, written back
// byte for byte while the document is not edited, left out when it is empty.
TEST(RichLabel, StoresItsDocument)
{
    const QByteArray foreign = "{\\rtf1\\ansi  {\\b  spaced   as   written}\\par }" + QByteArray(4, '\0');
    struct Case {
        const char* what;
        std::function<void(TQPRichBaseLabel&)> prepare;
        std::function<void(const QByteArray& data, const QString& text)> check;
    };
    const Case cases[] = {
        { "empty document: no entry", [](TQPRichBaseLabel&) {},
            [](const QByteArray& d, const QString&) { EXPECT_TRUE(d.isNull()); } },
        { "edited document: fresh RTF and four zero bytes",
            [](TQPRichBaseLabel& l) {
                QTextDocument doc;
                ReadRtf(kWords, doc);
                l.SetRTFText(doc);
            },
            [](const QByteArray& d, const QString& text) {
                EXPECT_TRUE(d.startsWith("{\\rtf1"));
                EXPECT_TRUE(d.endsWith(QByteArray("}\r\n") + QByteArray(4, '\0')));
                EXPECT_TRUE(text.startsWith("Rich text on a card"));
            } },
        { "document read from a file: the same bytes",
            [&](TQPRichBaseLabel& l) {
                const PropertyTable& t = l.Properties();
                for (const PropertyDecl& d : t)
                    if (d.kind == PropKind::Binary)
                        d.setBinary(l, foreign);
            },
            [&](const QByteArray& d, const QString& text) {
                EXPECT_EQ(d, foreign);
                EXPECT_EQ(text, "  spaced   as   written"); // spaces outside the group are text too
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Card card;
        TQPRichBaseLabel* l = card.Label();
        c.prepare(*l);
        const QByteArray stream = TQLabelObjectFiler::WriteObjects({ l });
        FakeParent other;
        new TRichTextControl(&other.Owner, QString::fromLatin1(kMasterRichTextName));
        const auto read = TQLabelObjectFiler().ReadObjects(stream, &other.Owner, &other, other.AdoptFunction());
        ASSERT_EQ(read.size(), 1u);
        auto* back = qobject_cast<TQPRichBaseLabel*>(read[0]);
        ASSERT_NE(back, nullptr);
        const qsizetype at = stream.indexOf("RTFText.Data");
        QByteArray data;
        if (at >= 0) {
            EXPECT_EQ(stream[at + 12], char(0x0A)) << "Binary";
            data = back->RtfStorage().Data();
            const QByteArray again = TQLabelObjectFiler::WriteObjects({ back });
            EXPECT_EQ(again.mid(again.indexOf("RTFText.Data")), stream.mid(at)) << "resaved byte for byte";
        }
        c.check(data, back->RTFText().toPlainText());
        EXPECT_EQ(back->BorderStyle(), LabelBorder::Single);
        EXPECT_TRUE(back->Transparent());
        EXPECT_EQ(back->BGColor(), TColor(0xFFFFFF));
    }
}

// The object menu's own items and what they do.
TEST(RichLabel, MenuCommands)
{
    auto modal = ScriptedModal::Install();
    Card card;
    TQPRichBaseLabel* l = card.Label(kWords);
    QMenu& menu = *l->ObjectMenu();
    for (const char* caption : { "Transparent", "Background Color", "Border", "Edit" })
        ASSERT_NE(Item(menu, caption), nullptr) << caption;

    struct Step {
        const char* item;
        std::optional<QColor> color; // answer of the colour dialog
        bool transparent;
        LabelBorder border;
        TColor bg;
        bool changed;
    };
    const Step steps[] = {
        { "Border", {}, true, LabelBorder::NoBorder, 0xFFFFFF, true },
        { "Border", {}, true, LabelBorder::Single, 0xFFFFFF, true },
        { "Background Color", std::nullopt, true, LabelBorder::Single, 0xFFFFFF, false },
        { "Background Color", QColor(0, 0, 255), false, LabelBorder::Single, 0xFF0000, true },
        { "Transparent", {}, true, LabelBorder::Single, 0xFF0000, true },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item);
        if (QString(s.item) == "Background Color")
            modal->colors.push_back(s.color);
        const int before = card.parent.ChangedCount;
        Item(menu, s.item)->trigger();
        EXPECT_EQ(l->Transparent(), s.transparent);
        EXPECT_EQ(l->BorderStyle(), s.border);
        EXPECT_EQ(l->BGColor(), s.bg);
        EXPECT_EQ(card.parent.ChangedCount > before, s.changed);
        l->PopupOpening();
        EXPECT_EQ(Item(menu, "Transparent")->isChecked(), s.transparent);
        EXPECT_EQ(Item(menu, "Border")->isChecked(), s.border == LabelBorder::Single);
    }
    SetModalHandler(nullptr);
}

// The editor: opened at the label's size and zoom, in its colour; Ok takes
// the edited document, Cancel leaves the label alone.
TEST(RichLabel, EditorTakesOrLeavesTheDocument)
{
    auto modal = ScriptedModal::Install();
    struct Case {
        const char* what;
        bool transparent;
        float zoom;
        int result;
    };
    const Case cases[] = {
        { "transparent, confirmed", true, 1.0f, mrOk },
        { "coloured at zoom 1.5, confirmed", false, 1.5f, mrOk },
        { "cancelled", true, 1.0f, mrCancel },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Card card;
        TQPRichBaseLabel* l = card.Label(kWords, QRect(0, 0, 200, 50));
        l->SetBGColor(0x00FFFF);
        l->SetTransparent(c.transparent);
        card.parent.Zoom = c.zoom;
        modal->dialogs.push_back([&](QDialog& d) {
            auto& editor = static_cast<TRichTextLabelEditor&>(d);
            EXPECT_EQ(editor.windowTitle(), "Rich Text Editor");
            // The editor shows the box at the zoom the card is looked at.
            EXPECT_EQ(editor.WPPanel()->size(), QSize(int(std::lround(200 * c.zoom)) + 1, int(std::lround(50 * c.zoom)) + 1));
            EXPECT_EQ(editor.WPRichText1()->Zoom(), int(c.zoom * 100));
            EXPECT_EQ(editor.WPRichText1()->PageLayout().pageWidth, 3000);
            const QColor panel = editor.WPPanel()->palette().color(QPalette::Window);
            EXPECT_EQ(panel, c.transparent ? QColor(Qt::white) : QColor(255, 255, 0));
            EXPECT_EQ(editor.WPRichText1()->Document().toPlainText(), l->RTFText().toPlainText());
            QTextCursor cursor(&editor.WPRichText1()->Document());
            cursor.insertText("New ");
            return c.result;
        });
        const int before = card.parent.ChangedCount;
        EXPECT_EQ(l->EditRichText(), c.result == mrOk);
        EXPECT_EQ(l->RTFText().toPlainText().startsWith("New Rich"), c.result == mrOk);
        EXPECT_EQ(card.parent.ChangedCount > before, c.result == mrOk);
    }
    SetModalHandler(nullptr);
}

// "Zoom In" stops at 100 percent, "Zoom Out" at 50; the frame keeps the
// label's proportions at each zoom.
TEST(RichLabel, EditorZoomLimits)
{
    struct Case {
        int start;
        const char* button;
        int zoom;
    };
    const Case cases[] = {
        { 100, "in", 100 }, { 150, "in", 150 }, { 90, "in", 100 }, { 95, "in", 105 },
        { 50, "out", 50 }, { 60, "out", 50 }, { 55, "out", 45 }, { 150, "out", 140 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " " + c.button);
        TRichTextLabelEditor editor;
        editor.WPRichText1()->SetZoom(c.start);
        editor.SetPanelSize(201, 51);
        if (QString(c.button) == "in")
            editor.zoomIn();
        else
            editor.zoomOut();
        EXPECT_EQ(editor.WPRichText1()->Zoom(), c.zoom);
        // Rounded halves to even: 50 * 51 / 60 = 42.5 gives 42.
        EXPECT_EQ(editor.WPPanel()->width(), Round(c.zoom * 201.0 / c.start));
        EXPECT_EQ(editor.WPPanel()->height(), Round(c.zoom * 51.0 / c.start));
    }
}

} // namespace

// Rich text from a hostile file: text at the largest size, runs of
// alternating formats, paragraphs spaced as far apart as a file may ask.
// A label lays out only what can ever show (a box is never taller than a
// million pixels), the first lines paint as they would anyway, and a card
// printed many times is copied into the painter once.
TEST(RichLabel, HostileTextIsLaidOutOnlyAsFarAsItCanShow)
{
    auto words = [](int n) {
        QByteArray w;
        for (int i = 0; i < n; ++i)
            w += "word" + QByteArray::number(i) + ' ';
        return w;
    };
    QByteArray alternating;
    for (int i = 0; i < 4000; ++i)
        alternating += i % 2 ? "{\\b w" + QByteArray::number(i) + "}" : " w" + QByteArray::number(i) + " ";
    QByteArray spaced;
    for (int i = 0; i < 3000; ++i)
        spaced += "\\sb31680\\sa31680 p\\par ";
    const QByteArray head = "{\\rtf1{\\fonttbl{\\f0 Liberation Sans;}}\\f0";
    const struct {
        const char* name;
        QByteArray rtf;
        bool cut; // the painter holds only the start of the text
    } cases[] = {
        { "an ordinary label", kWords, false },
        { "4,000 words at 1638 points", head + "\\fs32767 " + words(4000) + "\\par}", true },
        { "40 words at 1638 points", head + "\\fs32767 " + words(40) + "\\par}", false },
        { "4,000 words at 12 points", head + "\\fs24 " + words(4000) + "\\par}", false },
        { "alternating bold runs", head + "\\fs24 " + alternating + "\\par}", false },
        { "paragraphs 44 inches apart", head + "\\fs24 " + spaced + "}", true },
        { "a line spacing of 22 inches", head + "\\fs24\\sl31680\\slmult0 " + words(2000) + "\\par}", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Card card;
        TQPRichBaseLabel* label = card.Label(c.rtf, QRect(0, 0, 190, 60));
        const int whole = label->RTFText().characterCount();
        const int safe = LayoutSafeEnd(label->RTFText(), kMaxLaidOutPixels);
        EXPECT_EQ(safe < whole, c.cut) << safe << " of " << whole;
        const QImage shown = Render(*label);
        EXPECT_EQ(card.master->Document().characterCount() < whole, c.cut);
        // The painter's document, however cut, lays out within the bound.
        EXPECT_LE(card.master->Document().documentLayout()->documentSize().height(), 2 * kMaxLaidOutPixels);
        // The first line shows.
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                dark += IsDark(shown.pixel(x, y));
        EXPECT_GT(dark, 0);
        // Printing the card again and again copies nothing new into the painter.
        int changes = 0;
        QObject::connect(&card.master->Document(), &QTextDocument::contentsChange, [&] { ++changes; });
        TRecordingReport report;
        report.OnPrint = [&](TReport& r) {
            for (int i = 0; i < 10; ++i)
                label->PrintAt(r, 0.1, 0.2 * i);
        };
        EXPECT_TRUE(report.Execute());
        EXPECT_EQ(changes, 0);
    }
}

// Reading announces the new text once, not once for every formatted run.
TEST(RichLabel, ReadingIsOneEdit)
{
    QByteArray alternating = "{\\rtf1\\f0 ";
    for (int i = 0; i < 2000; ++i)
        alternating += i % 2 ? "{\\b w}" : " w ";
    alternating += "\\par}";
    QTextDocument doc;
    doc.documentLayout(); // a laid-out document, as the painter's is
    int changes = 0;
    QObject::connect(&doc, &QTextDocument::contentsChange, [&] { ++changes; });
    ReadRtf(alternating, doc);
    EXPECT_LT(changes, 10); // clearing and settings, then the text: not one per run
    EXPECT_GT(doc.characterCount(), 2000);
}
