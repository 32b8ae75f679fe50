#include "labels_helpers.h"
#include "core/window_placement.h"
#include "objects/card_filer.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include "stream_bytes.h"

using namespace cardora;
using namespace cardora::test;

namespace {

QByteArray Written(TQGraphicControl* o) { return TQLabelObjectFiler::WriteObjects({ o }); }

// Reads a card back onto another panel and returns the one object read.
TQGraphicControl* ReadBack(FakeParent& into, const QByteArray& card)
{
    TQLabelObjectFiler filer;
    const std::vector<TQGraphicControl*> read = filer.ReadObjects(card, &into.Owner, &into, into.AdoptFunction());
    return read.size() == 1 ? read.front() : nullptr;
}

// Property entries of a name and a value, as the stream writes them.
QByteArray Ident(const QByteArray& path, const QByteArray& ident)
{
    return Bytes().Name(path).Byte(0x07).Name(ident);
}

bool IsRedPixel(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }

TPageMetrics Sheet(int dpi)
{
    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 3.0);
    m.xDpi = m.yDpi = dpi;
    return m;
}

QImage PrintOne(TQGraphicControl& o, double x, double y, int dpi)
{
    TRecordingReport report(Sheet(dpi));
    report.OnPrint = [&](TReport& r) { o.PrintAt(r, x, y); };
    EXPECT_TRUE(report.Execute());
    return report.RenderPage(0);
}

} // namespace

TEST_F(LabelsFixture, DefaultLabelRecordHasEveryAlwaysWrittenProperty)
{
    auto* label = make<TQPLabel>(20, 30, 100, 22);
    label->SetName("Component0");
    const QByteArray expected = Bytes()
                                    .Byte(0x01)
                                    .Header("TQPLabel", "Component0")
                                    .Name("Left").Byte(0x02).Byte(20)
                                    .Name("Top").Byte(0x02).Byte(30)
                                    .Name("Width").Byte(0x02).Byte(100)
                                    .Name("Height").Byte(0x02).Byte(22)
                                    .Name("Locked").Byte(0x08)
                                    .Name("Unselectable").Byte(0x08)
                                    .Name("Caption").Byte(0x06).Name("Text")
                                    .Raw(Ident("Font.Color", "clBlack"))
                                    .Name("Font.Height").Byte(0x02).Byte(0xF3)
                                    .Name("Font.Name").Byte(0x06).Name("Arial")
                                    .Name("Font.Style").Byte(0x0B).Byte(0x00)
                                    .Name("Transparent").Byte(0x09)
                                    .Raw(Ident("BackColor", "clWhite"))
                                    .Raw(Ident("BorderStyle", "bsNone"))
                                    .Byte(0).Byte(0)
                                    .Byte(0x00);
    EXPECT_EQ(Written(label).toHex(' '), expected.toHex(' '));
}

TEST_F(LabelsFixture, EachLabelClassSurvivesACardFileRoundTrip)
{
    auto* plain = make<TQPLabel>(12, 14, 60, 90);
    plain->SetAngle(90);
    plain->SetCaption("Turned");
    plain->SetDepthHighlight(3);
    plain->SetDirectionHighlight(HighlightDirection::Right);
    plain->SetColorShadow(0x123456);

    auto* business = make<TQBusinessCardLabel>(5, 6, 150, 24);
    business->SetCaption(QString::fromUtf8("Caf\u00e9 \u20ac 5"));
    business->SetAlignment(TextAlignment::Center);
    business->SetDepthShadow(2);
    business->SetDirectionShadow(ShadowDirection::Down);
    business->SetTransparent(false);
    business->SetBackColor(clYellow);
    business->SetBorderStyle(LabelBorder::Single);
    business->Font()->SetName("Times New Roman");
    business->Font()->SetStyle(FontStyle::Bold | FontStyle::Underline);
    business->Font()->SetColor(clNavy);

    // A short turned caption leaves a box wider than tall; centring was chosen after turning.
    auto* shortTurned = make<TQPLabel>(0, 0, 40, 40);
    shortTurned->SetCaption("A");
    shortTurned->SetAngle(90);
    shortTurned->SetAlignment(TextAlignment::Center);
    RenderObject(*shortTurned);
    EXPECT_GT(shortTurned->Width(), shortTurned->Height());

    auto* symbol = make<TQSymbolLabel>(40, 50, 10, 10);
    symbol->SetCaption(TQSymbolLabel::CaptionForCode(0x80)); // a code the code page maps to another character
    symbol->SetColorHighlight(clRed);

    for (TQBaseLabel* original : std::vector<TQBaseLabel*> { plain, business, shortTurned, symbol }) {
        SCOPED_TRACE(original->ClassName().toStdString());
        original->SetName("Component0");
        RenderObject(*original); // as the panel last showed it
        const QByteArray first = Written(original);
        FakeParent other;
        auto* copy = qobject_cast<TQBaseLabel*>(ReadBack(other, first));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ClassName(), original->ClassName());
        EXPECT_EQ(copy->Caption(), original->Caption());
        EXPECT_EQ(copy->Angle(), original->Angle());
        EXPECT_EQ(copy->Alignment(), original->Alignment());
        EXPECT_EQ(copy->DepthHighlight(), original->DepthHighlight());
        EXPECT_EQ(copy->DirectionHighlight(), original->DirectionHighlight());
        EXPECT_EQ(copy->ColorShadow(), original->ColorShadow());
        EXPECT_EQ(copy->Transparent(), original->Transparent());
        EXPECT_EQ(copy->BackColor(), original->BackColor());
        EXPECT_EQ(copy->BorderStyle(), original->BorderStyle());
        EXPECT_TRUE(*copy->Font() == *original->Font());
        EXPECT_EQ(copy->BoundsRect(), original->BoundsRect());
        EXPECT_EQ(Written(copy), first);
    }
    EXPECT_TRUE(Written(plain).contains(Ident("DirectionHighlight", "hdright")));
    EXPECT_TRUE(Written(business).contains(QByteArray(Bytes().Name("Font.Style").Byte(0x0B).Name("fsBold").Name("fsUnderline").Byte(0))));
    EXPECT_TRUE(Written(symbol).contains(QByteArray(Bytes().Name("Caption").Byte(0x06).Byte(1).Byte(0x80))));
    EXPECT_TRUE(Written(symbol).contains(QByteArray(Bytes().Name("Font.Name").Byte(0x06).Name("WingDings"))));
}

TEST_F(LabelsFixture, ReadingAppliesNoUserReactions)
{
    auto* business = make<TQBusinessCardLabel>(5, 6, 150, 24);
    business->SetName("Component0");
    const QByteArray card = Written(business);
    FakeParent other;
    ReadBack(other, card);
    // No dialog was asked for and nothing counted as a change of the card.
    EXPECT_EQ(other.ChangedCount, 0);
    EXPECT_TRUE(modal->messages.empty());
}

TEST_F(LabelsFixture, PrintedLabelFillsItsPlaceOnTheCard)
{
    const int dpi = 300, ppi = ScreenPixelsPerInch();
    ASSERT_EQ(ppi, 96);
    auto* label = make<TQPLabel>(48, 24, 96, 24);
    label->SetBackColor(clRed);
    label->SetTransparent(false);
    label->CalcLayout();
    const QImage page = PrintOne(*label, 1.0, 0.5, dpi);
    const QRect filled = MatchBounds(page, [](QRgb c) { return IsRedPixel(c) || IsInk(c); });
    // 1.5 inch, 0.75 inch: the card's corner plus the label's place.
    EXPECT_EQ(filled.topLeft(), QPoint(450, 225));
    EXPECT_NEAR(filled.width(), label->Width() * dpi / double(ppi), 2);
    EXPECT_NEAR(filled.height(), label->Height() * dpi / double(ppi), 2);
}

TEST_F(LabelsFixture, PrintedTextLandsWhereTheScreenShowsIt)
{
    const int dpi = 288, scale = 3; // three device pixels per screen pixel
    auto* label = make<TQBusinessCardLabel>(30, 20, 10, 10);
    label->SetCaption("Printed");
    label->Font()->SetSize(14);
    label->CalcLayout();
    label->FitToText();
    const QRect screen = MatchBounds(RenderObject(*label, 0), IsInk);
    ASSERT_FALSE(screen.isNull());

    const QImage page = PrintOne(*label, 0.5, 0.25, dpi);
    const QRect printed = MatchBounds(page, IsInk);
    const QPoint box(dpi / 2 + 30 * scale, dpi / 4 + 20 * scale);
    // Within a screen pixel of the screen's ink, scaled.
    EXPECT_NEAR(printed.left(), box.x() + screen.left() * scale, scale + 1);
    EXPECT_NEAR(printed.top(), box.y() + screen.top() * scale, scale + 1);
    EXPECT_NEAR(printed.right(), box.x() + (screen.right() + 1) * scale, 2 * scale + 1);
    EXPECT_NEAR(printed.bottom(), box.y() + (screen.bottom() + 1) * scale, 2 * scale + 1);
    // Inside the card rectangle of the label.
    EXPECT_TRUE(QRect(box, QSize(label->Width() * scale, label->Height() * scale)).contains(printed));

    // A turned label prints turned.
    label->SetAngle(270);
    label->CalcLayout();
    const QRect turned = MatchBounds(PrintOne(*label, 0.5, 0.25, dpi), IsInk);
    EXPECT_GT(turned.height(), 2 * turned.width());
    EXPECT_TRUE(QRect(box, QSize(label->Width() * scale, label->Height() * scale)).contains(turned));
}

TEST_F(LabelsFixture, PrintedPdfKeepsTheTextAsText)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("label.pdf");
    auto printer = TPrinterReport::CreateDefaultPrinter();
    TPrinterReport report(printer);
    report.SelectPdfFile(pdf);
    report.SetResolution(600);
    ASSERT_TRUE(report.SelectPaper(1));
    auto* label = make<TQPLabel>(48, 24, 10, 10);
    label->SetCaption("Cardholder");
    label->Font()->SetSize(12);
    label->CalcLayout();
    label->FitToText();
    label->CalcLayout();
    report.OnPrint = [&](TReport& r) { label->PrintAt(r, 1.0, 2.0); };
    ASSERT_TRUE(report.Execute()) << report.ErrorString().toStdString();

    // The word is in the PDF as text, with its box where the label stands.
    QProcess extract;
    extract.start("pdftotext", { "-bbox", pdf, "-" });
    ASSERT_TRUE(extract.waitForFinished(60000));
    const QString html = QString::fromUtf8(extract.readAllStandardOutput());
    const QRegularExpression word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">Cardholder</word>)re");
    const QRegularExpressionMatch m = word.match(html);
    ASSERT_TRUE(m.hasMatch()) << html.toStdString();
    const double points = 72.0 / 96.0; // points per screen pixel
    const double left = 72.0 * 1.0 + (48 + label->Layout().mainOrigin.x()) * points;
    const double top = 72.0 * 2.0 + (24 + label->Layout().mainOrigin.y()) * points;
    EXPECT_NEAR(m.captured(1).toDouble(), left, 2.0);
    EXPECT_NEAR(m.captured(2).toDouble(), top, 4.0);
    EXPECT_LT(m.captured(3).toDouble(), 72.0 + (48 + label->Width()) * points);
    EXPECT_LT(m.captured(4).toDouble(), 144.0 + (24 + label->Height()) * points + 1.0);
}
