#include "core/modal.h"
#include "core/rounding.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/circletext/circle_text.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

const float kZooms[] = { 0.5f, 0.75f, 1.3f, 1.5f, 2.0f };

// One object on a card panel: `make` places it, `edit` changes it so that it
// fits its box to its content again.
struct Kind {
    const char* name;
    std::function<TQGraphicControl*(CardPanel&, QObject*)> make;
    std::function<void(TQGraphicControl*)> edit;
};

// The card's objects as saving writes them; the dump makes failures readable.
std::string saved(const CardPanel& p)
{
    return TQLabelObjectFiler::WriteObjects(p.Objects()).toHex().toStdString() + "\n"
        + DumpCardJson(p.Objects()).toStdString();
}

struct Card {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    TQGraphicControl* object = nullptr;

    explicit Card(const Kind& k, float zoom = 1.0f)
    {
        panel.SetPanelSize(336, 192);
        panel.show();
        panel.SetZoom(zoom);
        if (k.make)
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
    std::string bytes() const { return saved(panel); }
};

template <class T>
T* placed(CardPanel& panel, T* o, const QRect& r)
{
    panel.PlaceNewObject(o, r);
    return o;
}

TPicture picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xff2040c0u);
    TPicture p;
    p.SetBitmap(image);
    return p;
}

TQMultiLineLabel* lines(CardPanel& p, QObject* o, const QStringList& items, bool wrap, int width)
{
    auto* m = placed(p, TQMultiLineLabel::CreateForTool(o, p.Font()), QRect(20, 80, width, 30));
    m->SetWordWrap(wrap);
    m->SetItems(items);
    return m;
}

const QStringList kAddress { "Acme Printing Co.", "1234 Commerce Boulevard West", "Springfield" };
const QStringList kSlogan { "Quality printing for every business since nineteen hundred and ten" };

std::vector<Kind> kinds()
{
    return {
        { "text label",
            [](CardPanel& p, QObject* o) {
                auto* l = placed(p, TQBusinessCardLabel::CreateForTool(o, p, p.Font()), QRect(30, 40, 60, 20));
                l->SetCaption("Jane Q. Public");
                l->FitToText();
                return l;
            },
            [](TQGraphicControl* o) {
                static_cast<TQBusinessCardLabel*>(o)->SetCaption("Director of Sales and Marketing");
                o->Font()->SetSize(13);
            } },
        { "symbol",
            [](CardPanel& p, QObject* o) {
                auto* s = placed(p, TQSymbolLabel::CreateForTool(o), QRect(200, 20, 30, 30));
                s->FitToText();
                return s;
            },
            [](TQGraphicControl* o) {
                static_cast<TQSymbolLabel*>(o)->SetCaption(TQSymbolLabel::CaptionForCode(40));
                o->Font()->SetSize(29);
            } },
        { "multi-line label",
            [](CardPanel& p, QObject* o) {
                auto* m = lines(p, o, kAddress, false, 120);
                m->FitToLines();
                return m;
            },
            [](TQGraphicControl* o) {
                auto* m = static_cast<TQMultiLineLabel*>(o);
                m->SetItems({ "Suite 400", "1234 Commerce Boulevard West" });
                m->FitToLines();
            } },
        { "wrapped multi-line label", [](CardPanel& p, QObject* o) { return lines(p, o, kSlogan, true, 97); },
            [](TQGraphicControl* o) { static_cast<TQMultiLineLabel*>(o)->FitToLines(); } },
        { "circle text",
            [](CardPanel& p, QObject* o) {
                return placed(p, TQPCircleText::CreateForTool(o), QRect(150, 60, 90, 90));
            },
            [](TQGraphicControl* o) {
                // Its properties dialog, confirmed as it opened.
                static_cast<ScriptedModal&>(CurrentModalHandler()).dialogs.push_back([](QDialog&) { return mrOk; });
                static_cast<TQPCircleText*>(o)->ShowProperties();
            } },
        { "super text",
            [](CardPanel& p, QObject* o) {
                auto* s = placed(p, TQSuperText::CreateForTool(o), QRect(40, 120, 100, 30));
                s->SetCaption("Super");
                return s;
            },
            [](TQGraphicControl* o) {
                static_cast<TQSuperText*>(o)->SetCaption("Superlative");
                static_cast<TQSuperText*>(o)->FitSample();
            } },
        { "picture",
            [](CardPanel& p, QObject* o) {
                auto* i = placed(p, TQImage::CreateForTool(o), QRect(250, 100, 50, 50));
                i->SetPicture(picture(37, 23));
                i->SetAutoSize(true);
                return i;
            },
            [](TQGraphicControl* o) { static_cast<TQImage*>(o)->SetPicture(picture(61, 43)); } },
        { "line",
            [](CardPanel& p, QObject* o) {
                auto* l = placed(p, TQLineShape::CreateForTool(o), QRect(100, 30, 81, 15));
                l->SetLineStyle(LineStyle::Horizontal);
                return l;
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

// Zooming in or out and back, saving while zoomed and opening the card on a
// zoomed panel leave the card's bytes as they are at zoom 1.
TEST_F(ZoomTruthFixture, ZoomingAndSavingAtAnyZoomKeepTheCard)
{
    for (const Kind& k : kinds()) {
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Card c(k);
            const std::string atOne = c.bytes();
            const QRect shownAtOne = c.object->BoundsRect();
            c.zoom(z);
            EXPECT_EQ(c.bytes(), atOne) << "saved while zoomed";
            c.zoom(1.0f);
            EXPECT_EQ(c.bytes(), atOne) << "back at zoom 1";
            EXPECT_EQ(c.object->BoundsRect(), shownAtOne);

            QTemporaryDir folder;
            const QString path = folder.filePath("card.CDW");
            TQLabelObjectFiler().SaveCard(c.panel.Objects(), path);
            auto opened = [&](float zoom) {
                Card o({ k.name, nullptr, nullptr }, zoom);
                o.panel.LoadCardFile(path);
                o.settle();
                return o.bytes(); // opening names the objects afresh
            };
            EXPECT_EQ(opened(z), opened(1.0f)) << "opened while zoomed";
        }
    }
}

// An object that fits its box to its content after a change stores the fit
// it makes at zoom 1, whatever the zoom the change was made at.
TEST_F(ZoomTruthFixture, FitsMadeWhileZoomedStoreTheZoomOneFit)
{
    for (const Kind& k : kinds()) {
        if (!k.edit)
            continue;
        Card reference(k);
        k.edit(reference.object);
        reference.settle();
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Card c(k);
            c.zoom(z);
            k.edit(c.object);
            c.settle();
            EXPECT_EQ(c.bytes(), reference.bytes()) << "saved while zoomed";
            c.zoom(1.0f);
            EXPECT_EQ(c.bytes(), reference.bytes()) << "back at zoom 1";
        }
    }
}

// A multi-line label whose lines fit it shows them whole at any zoom, and
// one made smaller than its lines stays as small as the user made it: the
// view scales the label, never refits it.
TEST_F(ZoomTruthFixture, MultiLineLabelsThatFitShowAllTheirLinesAtEveryZoom)
{
    struct Case {
        const char* name;
        QStringList items;
        bool wrap, fitted;
    };
    const Case cases[] = {
        { "address", kAddress, false, true },
        { "wrapped", kSlogan, true, true },
        { "cut short", kSlogan, false, false },
    };
    for (const Case& k : cases) {
        for (const float z : kZooms) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(z));
            Card c({ k.name, [&k](CardPanel& p, QObject* o) {
                         auto* m = lines(p, o, k.items, k.wrap, 110);
                         if (k.fitted)
                             m->FitToLines();
                         return m;
                     },
                nullptr });
            auto* m = static_cast<TQMultiLineLabel*>(c.object);
            const int widthAtOne = m->Width();
            c.zoom(z);
            const QFontMetrics fm(m->ShownFont());
            const QStringList shown = m->WordWrap() ? m->WrappedLines() : m->Items();
            int widest = 0;
            for (const QString& line : shown)
                widest = std::max(widest, fm.horizontalAdvance(line));
            EXPECT_EQ(widest <= m->Width() && fm.height() * shown.size() <= m->Height(), k.fitted);
            // The view scales the label as it is; its box is the card's.
            EXPECT_EQ(m->Width(), widthAtOne);
        }
    }
}
