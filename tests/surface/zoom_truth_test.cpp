#include "core/modal.h"
#include "core/rounding.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/circletext/circle_text.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include "richtext/rich_text_control.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

const float kZooms[] = { 0.5f, 0.75f, 1.3f, 1.5f, 2.0f };

// One object of a kind on a card panel; `make` puts it there and `edit`
// makes a change after which the object fits its box to its content.
struct Kind {
    const char* name;
    std::function<TQGraphicControl*(TQBusinessCardPanel32&, QObject*)> make;
    std::function<void(TQGraphicControl*)> edit;
};

struct Card {
    QObject owner;
    TQBusinessCardPanel32 panel { nullptr, &owner };
    TQGraphicControl* object = nullptr;

    explicit Card(const Kind& k)
    {
        panel.SetPanelSize(336, 192);
        panel.show();
        object = k.make(panel, &owner);
        settle();
    }
    // Painting is where text objects lay out and fit their boxes.
    void settle() { panel.grab(); }
    void zoom(float z)
    {
        panel.SetZoom(z);
        settle();
    }
    // What a save writes, with its readable dump beside it for failures.
    struct Saved {
        QByteArray bytes;
        std::string dump;
        bool operator==(const Saved& o) const { return bytes == o.bytes; }
    };
    Saved bytes() const
    {
        return { TQLabelObjectFiler::WriteObjects(panel.Objects()), DumpCardJson(panel.Objects()).toStdString() };
    }
};

void PrintTo(const Card::Saved& s, std::ostream* os) { *os << s.dump; }

template <class T>
T* placed(TQBusinessCardPanel32& panel, T* o, const QRect& r)
{
    panel.PlaceNewObject(o, r);
    return o;
}

QImage checkerPicture()
{
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xff2040c0u : 0xffffffffu);
    return image;
}

std::vector<Kind> kinds()
{
    return {
        { "text label",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* l = TQBusinessCardLabel::CreateForTool(o, p, p.Font());
                placed(p, l, QRect(30, 40, 60, 20));
                l->SetCaption(QStringLiteral("Jane Q. Public"));
                l->FitToText();
                return l;
            },
            [](TQGraphicControl* o) {
                auto* l = static_cast<TQBusinessCardLabel*>(o);
                l->SetCaption(QStringLiteral("Director of Sales and Marketing"));
                l->Font()->SetSize(13);
            } },
        { "turned text label",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* l = TQBusinessCardLabel::CreateForTool(o, p, p.Font());
                placed(p, l, QRect(30, 40, 60, 20));
                l->SetCaption(QStringLiteral("Sideways"));
                l->SetAngle(90);
                return l;
            },
            [](TQGraphicControl* o) { static_cast<TQBusinessCardLabel*>(o)->Font()->SetSize(17); } },
        { "symbol",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* s = placed(p, TQSymbolLabel::CreateForTool(o), QRect(200, 20, 30, 30));
                s->FitToText();
                return s;
            },
            [](TQGraphicControl* o) {
                auto* s = static_cast<TQSymbolLabel*>(o);
                s->SetCaption(TQSymbolLabel::CaptionForCode(40));
                s->Font()->SetSize(29);
            } },
        { "multi-line label",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* m = placed(p, TQMultiLineLabel::CreateForTool(o, p.Font()), QRect(20, 80, 120, 40));
                m->SetItems({ "123 Main Street", "Springfield, Anywhere 12345" });
                m->FitToLines();
                return m;
            },
            [](TQGraphicControl* o) {
                auto* m = static_cast<TQMultiLineLabel*>(o);
                m->SetItems({ "Suite 400", "1234 Commerce Boulevard West", "Metropolis" });
                m->Font()->SetSize(11);
                m->FitToLines();
            } },
        { "wrapped multi-line label",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* m = placed(p, TQMultiLineLabel::CreateForTool(o, p.Font()), QRect(20, 80, 97, 40));
                m->SetItems({ "Quality printing for every business since nineteen hundred and ten" });
                m->SetWordWrap(true);
                return m;
            },
            [](TQGraphicControl* o) {
                auto* m = static_cast<TQMultiLineLabel*>(o);
                m->SetItems({ "Wrapped words fit the width the card keeps, not the width shown" });
                m->FitToLines();
            } },
        { "circle text",
            [](TQBusinessCardPanel32& p, QObject* o) {
                return placed(p, TQPCircleText::CreateForTool(o), QRect(150, 60, 90, 90));
            },
            [](TQGraphicControl* o) {
                auto* c = static_cast<TQPCircleText*>(o);
                c->SetCaption(QStringLiteral("Round and round"));
                // Its properties dialog, confirmed as it opened.
                static_cast<ScriptedModal&>(CurrentModalHandler()).dialogs.push_back([](QDialog&) { return mrOk; });
                c->ShowProperties();
            } },
        { "super text",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* s = placed(p, TQSuperText::CreateForTool(o), QRect(40, 120, 100, 30));
                s->SetCaption(QStringLiteral("Super"));
                return s;
            },
            [](TQGraphicControl* o) {
                auto* s = static_cast<TQSuperText*>(o);
                s->SetCaption(QStringLiteral("Superlative"));
                s->FitSample();
            } },
        { "rich text",
            [](TQBusinessCardPanel32& p, QObject* o) {
                new TRichTextControl(o, QString::fromLatin1(kMasterRichTextName));
                auto* r = placed(p, TQPRichBaseLabel::CreateForTool(o), QRect(100, 100, 150, 50));
                QTextDocument d;
                d.setPlainText(QStringLiteral("Rich text that wraps inside its box at any zoom"));
                r->SetRTFText(d);
                return r;
            },
            nullptr },
        { "picture",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* i = placed(p, TQImage::CreateForTool(o), QRect(250, 100, 50, 50));
                TPicture pic;
                pic.SetBitmap(checkerPicture());
                i->SetPicture(pic);
                i->SetAutoSize(true);
                return i;
            },
            [](TQGraphicControl* o) {
                TPicture pic;
                pic.SetBitmap(checkerPicture().scaled(61, 43));
                static_cast<TQImage*>(o)->SetPicture(pic);
            } },
        { "horizontal line",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* l = placed(p, TQLineShape::CreateForTool(o), QRect(100, 30, 81, 15));
                l->SetLineStyle(stHorizontal);
                return l;
            },
            nullptr },
        { "sloping line",
            [](TQBusinessCardPanel32& p, QObject* o) {
                auto* l = placed(p, TQLineShape::CreateForTool(o), QRect(101, 33, 67, 43));
                l->SetLineStyle(stAngleSlopingUp);
                return l;
            },
            nullptr },
        { "ellipse",
            [](TQBusinessCardPanel32& p, QObject* o) {
                return placed(p, TBCShapes::CreateForTool(o, stEllipse), QRect(21, 19, 63, 41));
            },
            nullptr },
        { "super shape",
            [](TQBusinessCardPanel32& p, QObject* o) {
                return placed(p, TSuperShape::CreateForTool(o), QRect(211, 121, 47, 33));
            },
            nullptr },
    };
}

struct ZoomTruthFixture : ::testing::Test {
    std::shared_ptr<ScriptedModal> modal;
    void SetUp() override
    {
        RegisterCardObjectKinds();
        modal = ScriptedModal::Install();
    }
    void TearDown() override { SetModalHandler(nullptr); }
};

} // namespace

// Zooming in or out and back, and saving while zoomed, leave the card's
// bytes as they were at zoom 1.
TEST_F(ZoomTruthFixture, ZoomingAndSavingAtAnyZoomKeepTheCard)
{
    for (const Kind& k : kinds()) {
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Card c(k);
            const Card::Saved atOne = c.bytes();
            const QRect shownAtOne = c.object->BoundsRect();
            c.zoom(z);
            EXPECT_EQ(c.bytes(), atOne) << "saved while zoomed";
            c.zoom(1.0f);
            EXPECT_EQ(c.bytes(), atOne) << "back at zoom 1";
            EXPECT_EQ(c.object->BoundsRect(), shownAtOne);
            // A second trip through another zoom changes nothing either.
            c.zoom(z == 2.0f ? 0.5f : 2.0f);
            c.zoom(1.0f);
            EXPECT_EQ(c.bytes(), atOne) << "after a second trip";

            // The card opened on a zoomed panel saves as it does opened at 100 %
            // (opening names the objects afresh).
            QTemporaryDir folder;
            const QString path = folder.filePath("card.CDW");
            TQLabelObjectFiler().SaveCard(c.panel.Objects(), path);
            auto opened = [&](float zoom) {
                QObject owner;
                TQBusinessCardPanel32 p(nullptr, &owner);
                p.SetPanelSize(336, 192);
                p.show();
                if (k.name == std::string("rich text"))
                    new TRichTextControl(&owner, QString::fromLatin1(kMasterRichTextName));
                p.SetZoom(zoom);
                p.LoadCardFile(path);
                p.grab();
                return TQLabelObjectFiler::WriteObjects(p.Objects());
            };
            EXPECT_EQ(opened(z), opened(1.0f)) << "opened while zoomed";
        }
    }
}

// An object that fits its box to its content after a change fits the box the
// card keeps at zoom 1, whatever the zoom the change was made at.
TEST_F(ZoomTruthFixture, FitsMadeWhileZoomedStoreTheZoomOneFit)
{
    for (const Kind& k : kinds()) {
        if (!k.edit)
            continue;
        Card reference(k);
        k.edit(reference.object);
        reference.settle();
        const Card::Saved expected = reference.bytes();
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Card c(k);
            c.zoom(z);
            k.edit(c.object);
            c.settle();
            EXPECT_EQ(c.bytes(), expected) << "saved while zoomed";
            c.zoom(1.0f);
            EXPECT_EQ(c.bytes(), expected) << "back at zoom 1";
        }
    }
}

// The zoomed font does not grow exactly with the box: a multi-line label
// whose lines fit it at 100 % shows every line whole at any zoom, and a label
// made smaller than its lines stays as small as the user made it.
TEST_F(ZoomTruthFixture, MultiLineLabelsThatFitShowAllTheirLinesAtEveryZoom)
{
    struct Case {
        const char* name;
        QStringList items;
        bool wrap;
        bool fitted;
    };
    const Case cases[] = {
        { "address", { "Acme Printing Co.", "1234 Commerce Boulevard West", "Springfield" }, false, true },
        { "wrapped", { "Quality printing for every business since nineteen hundred and ten" }, true, true },
        { "cut short", { "A line far wider than the box the user left it in" }, false, false },
    };
    for (const Case& k : cases) {
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Kind kind { k.name,
                [&k](TQBusinessCardPanel32& p, QObject* o) {
                    auto* m = placed(p, TQMultiLineLabel::CreateForTool(o, p.Font()), QRect(20, 80, 110, 30));
                    m->SetWordWrap(k.wrap);
                    m->SetItems(k.items);
                    if (k.fitted)
                        m->FitToLines();
                    return m;
                },
                nullptr };
            Card c(kind);
            auto* m = static_cast<TQMultiLineLabel*>(c.object);
            const QRect atOne = m->BoundsRect();
            c.zoom(z);
            const QFontMetrics fm(m->ZoomedFont());
            const QStringList lines = m->WordWrap() ? m->WrappedLines() : m->Items();
            int widest = 0;
            for (const QString& line : lines)
                widest = std::max(widest, fm.horizontalAdvance(line));
            const int tall = fm.height() * static_cast<int>(lines.size());
            if (k.fitted) {
                EXPECT_LE(widest, m->Width());
                EXPECT_LE(tall, m->Height());
            } else {
                EXPECT_EQ(m->Width(), Round(atOne.width() * static_cast<double>(z)));
            }
        }
    }
}
