#include "core/object_stream.h"
#include "core/rounding.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/graphic_control.h"
#include "objects/richtext_label/rich_label.h"
#include "report/device_report.h"
#include "richtext/rich_text_control.h"
#include "surface/card_drawing.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

// The dotted paths of every stored integer of an object ("Left", "Pen.Width").
void integerPaths(Persistent& object, const QString& prefix, QStringList* out)
{
    for (const PropertyDecl& d : object.Properties()) {
        if (d.readOnly)
            continue;
        if (d.kind == PropKind::Integer)
            *out << prefix + d.name;
        else if (d.kind == PropKind::Nested && d.nested)
            if (Persistent* inner = d.nested(object))
                integerPaths(*inner, prefix + d.name + ".", out);
    }
}

// A card file of one object of `kind` whose named integers hold `value`, as a
// damaged or hostile file has them.
QByteArray cardWith(const QString& kind, const QStringList& paths, int value)
{
    TObjectWriter w;
    w.WriteListBegin();
    w.WriteSignature();
    w.WriteShortName(kind);
    w.WriteShortName("Extreme1");
    for (const QString& path : paths) {
        w.WriteShortName(path);
        w.WriteInteger(value);
    }
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Data();
}

struct Card {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    TRichTextControl master { &owner, QString::fromLatin1(kMasterRichTextName) };
    Card()
    {
        panel.SetPanelSize(336, 192);
        panel.show();
    }
};

} // namespace

// Every stored integer of every kind at the ends of its range: the card
// opens with its geometry bounded, paints at two zooms, prints, dumps and
// saves back to what it read. Under the sanitizers no step may overflow.
TEST(ExtremeValues, EveryKindTakesEveryIntegerAtItsLimits)
{
    RegisterCardObjectKinds();
    QTemporaryDir dir;
    const int values[] = { INT_MIN, INT_MAX, INT_MIN + 1, -1, 1 << 30, -(1 << 30) };
    int cases = 0;
    for (const QString& kind : CardClassRegistry::Instance().Names()) {
        QStringList paths;
        {
            Card probe;
            const CardObjectFactory* make = CardClassRegistry::Instance().Find(kind);
            ASSERT_NE(make, nullptr);
            std::unique_ptr<TQGraphicControl> o((*make)(&probe.owner));
            integerPaths(*o, QString(), &paths);
        }
        ASSERT_FALSE(paths.isEmpty()) << kind.toStdString();
        // Each integer alone, and all of them at once.
        QList<QStringList> sets;
        for (const QString& p : paths)
            sets << QStringList { p };
        sets << paths;
        for (const QStringList& set : sets)
            for (int value : values) {
                SCOPED_TRACE((kind + " " + set.join(',') + " = " + QString::number(value)).toStdString());
                ++cases;
                const QString file = dir.filePath("extreme.CDW");
                QFile f(file);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(cardWith(kind, set, value));
                f.close();
                Card card;
                try {
                    card.panel.LoadCardFile(file);
                } catch (const std::exception&) {
                    continue; // refused whole: nothing to draw
                }
                for (const TQGraphicControl* o : card.panel.Objects()) {
                    const QRect stored = o->BoundsRect();
                    for (int v : { o->Left(), o->Top(), o->Width(), o->Height(), stored.left(), stored.top(),
                             stored.width(), stored.height() })
                        EXPECT_LE(std::abs(qint64(v)), qint64(kMaxCoordinate));
                }
                card.panel.grab();
                card.panel.SetZoom(2.5f);
                card.panel.grab();
                card.panel.SetZoom(0.5f);
                card.panel.grab();
                card.panel.SetZoom(1.0f);
                QImage page(525, 300, QImage::Format_RGB32);
                page.setDotsPerMeterX(Round(150 / 0.0254));
                page.setDotsPerMeterY(Round(150 / 0.0254));
                page.fill(Qt::white);
                TDeviceReport report(page, QSizeF(3.5, 2.0));
                report.OnPrint = [&](TReport& r) { TCardDrawer(card.panel, QSizeF(3.5, 2.0)).Draw(r, 0, 0); };
                EXPECT_TRUE(report.Execute()) << report.ErrorString().toStdString();
                // What was read is saved back and reads the same again.
                const QByteArray dump = DumpCardJson(card.panel.Objects());
                card.panel.SaveCardFile(file);
                Card again;
                again.panel.LoadCardFile(file);
                EXPECT_EQ(DumpCardJson(again.panel.Objects()), dump);
            }
    }
    RecordProperty("cases", cases);
    EXPECT_GT(cases, 400);
}
