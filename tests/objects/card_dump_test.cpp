#include "fake_parent.h"
#include "objects/card_dump.h"
#include "test_card_object.h"
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

TEST(CardDump, SmallCardMatchesExactly)
{
    FakeParent parent;
    TTestLineObject line(&parent.Owner);
    line.SetName("Component0");
    line.SetBounds(20, 30, 100, 10);
    line.Pen()->SetWidth(2);
    TTestCardObject o(&parent.Owner);
    o.SetName("Component1");
    o.SetBounds(1, 2, 300, 4);
    o.SetUnselectable(true);
    o.SetShape(tsEllipse);
    o.SetOptions(toShadow | toOutline);
    o.SetBackColor(0x808080);
    o.SetCaption("Say \"hi\"\n\\ \xC3\xA9");
    o.Font()->SetStyle(FontStyle::Bold);
    o.SetPictureData("BM1234");
    o.SetItems({ "one", "two" });

    const QByteArray expected
        = R"({"objects": [{"class": "TQLineShape", "name": "Component0", "properties": [["Left", 20], ["Top", 30], )"
          R"(["Width", 100], ["Height", 10], ["Locked", false], ["Unselectable", false], ["Pen.Width", 2]]}, )"
          R"({"class": "TTestCardObject", "name": "Component1", "properties": [["Left", 1], ["Top", 2], )"
          R"(["Width", 300], ["Height", 4], ["Locked", false], ["Unselectable", true], ["Shape", "tsEllipse"], )"
          R"(["Options", ["toShadow", "toOutline"]], ["BackColor", "clGray"], ["Transparent", false], )"
          R"(["Caption", "Say \"hi\"\n\\ é"], ["Font.Color", "clBlack"], ["Font.Height", -13], )"
          R"(["Font.Name", "Arial"], ["Font.Style", ["fsBold"]], ["Picture.Data", {"binary": 6}], )"
          R"(["Items.Strings", ["one", "two"]]]}]})";
    const QByteArray dump = DumpCardJson({ &line, &o });
    EXPECT_EQ(dump.toStdString(), expected.toStdString());
    QJsonParseError error {};
    QJsonDocument::fromJson(dump, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);

    EXPECT_EQ(DumpCardJson({}), QByteArray(R"({"objects": []})"));
}
