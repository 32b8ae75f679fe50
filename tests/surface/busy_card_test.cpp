#include "support/busy_card.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/object_kinds.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace cardora;

namespace {

std::map<QString, int> kindsOn(const CardPanel& panel)
{
    std::map<QString, int> kinds;
    for (const TQGraphicControl* o : panel.Objects())
        ++kinds[o->ClassName()];
    return kinds;
}

} // namespace

// The interactive benchmark's card, as the benchmark reads it from its file:
// 200 objects with every registered kind among them, the rich-text label to
// type into and, on top, the label to drag where the benchmark presses.
TEST(BusyCard, HoldsEveryKindAndKeepsItThroughItsFile)
{
    RegisterCardObjectKinds();
    QObject owner;
    TRichTextControl master(&owner, QString::fromLatin1(kMasterRichTextName));
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    test::BuildBusyCard(owner, panel);
    QTemporaryDir folder;
    const QString path = folder.filePath("busy.CDW");
    panel.SaveCardFile(path);

    QObject readOwner;
    TRichTextControl readMaster(&readOwner, QString::fromLatin1(kMasterRichTextName));
    CardPanel read(nullptr, &readOwner);
    read.SetPanelSize(336, 192);
    read.LoadCardFile(path);
    for (const CardPanel* p : { &panel, &read }) {
        SCOPED_TRACE(p == &panel ? "built" : "read back");
        ASSERT_EQ(p->Objects().size(), std::size_t(test::kBusyCardObjects));
        const std::map<QString, int> kinds = kindsOn(*p);
        for (const QString& kind : CardClassRegistry::Instance().Names())
            EXPECT_GE(kinds.count(kind) ? kinds.at(kind) : 0, 10) << kind.toStdString();
        EXPECT_GE(kinds.size(), 13u);
        EXPECT_TRUE(kinds.count("TQRCode"));
        const TQGraphicControl* top = p->Objects().back();
        EXPECT_EQ(top->ClassName(), "TQBusinessCardLabel");
        EXPECT_EQ(QRect(top->Left(), top->Top(), top->Width(), top->Height()), test::BusyCardDragLabelBox());
        EXPECT_TRUE(qobject_cast<const TQPRichBaseLabel*>(p->Objects()[p->Objects().size() - 2]));
    }
}
