#include "objects/circletext/circle_text.h"
#include "objects/circletext/circle_text_dialog.h"
#include "objects/supertext/super_text.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

struct ToolFixture : ::testing::Test {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    std::shared_ptr<ScriptedModal> modal;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        panel.SetPanelSize(336, 192);
        panel.show();
    }
    void TearDown() override { SetModalHandler(nullptr); }

    TQGraphicControl* drag(PanelTool tool, QPoint from, QPoint to)
    {
        panel.SetPanelState(tool);
        QTest::mousePress(&panel, Qt::LeftButton, {}, from);
        QTest::mouseMove(&panel, to);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
        return panel.Objects().empty() ? nullptr : panel.Objects().back();
    }
};

} // namespace

TEST_F(ToolFixture, ToolsPlaceTheObjectAndOpenItsPropertiesAtOnce)
{
    struct Case {
        PanelTool tool;
        const char* dialog;
        bool confirm;
        const char* caption;
    };
    const Case cases[] = {
        { PanelTool::CircleText, "TCircleTextProperties", false, "ABC DEF GHI JKL" },
        { PanelTool::CircleText, "TCircleTextProperties", true, "Round" },
        { PanelTool::SuperText, "TSuperTextProperties", false, "Text" },
        { PanelTool::SuperText, "TSuperTextProperties", true, "Headline" },
    };
    int n = 0;
    for (const Case& k : cases) {
        QString shown;
        modal->dialogs.push_back([&](QDialog& d) {
            shown = d.objectName();
            // The tool has gone back to the pointer before the dialog opens.
            EXPECT_EQ(panel.PanelState(), PanelTool::Pointing);
            if (!k.confirm)
                return int(mrCancel);
            d.findChild<QLineEdit*>("CaptionText")->setText(QString::fromLatin1(k.caption));
            d.findChild<QPushButton*>("OkButton")->click();
            return d.result();
        });
        const QRect box(20 + 75 * n, 20, 70, 80);
        const size_t before = panel.Objects().size();
        TQGraphicControl* o = drag(k.tool, box.topLeft(), box.bottomRight() + QPoint(1, 1));
        EXPECT_EQ(shown, QString::fromLatin1(k.dialog));
        if (!k.confirm) {
            // Cancelled: the object the tool began is taken away again.
            EXPECT_EQ(panel.Objects().size(), before);
            continue;
        }
        ++n;
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->BoundsRect().topLeft(), box.topLeft());
        if (auto* c = qobject_cast<TQPCircleText*>(o)) {
            EXPECT_EQ(o->BoundsRect(), box);
            EXPECT_EQ(c->Caption(), QString::fromLatin1(k.caption));
        } else if (auto* s = qobject_cast<TQSuperText*>(o)) {
            EXPECT_EQ(o->Width(), box.width());
            EXPECT_EQ(s->Caption(), QString::fromLatin1(k.caption));
        }
        else
            ADD_FAILURE() << "wrong kind " << o->ClassName().toStdString();
    }
}
