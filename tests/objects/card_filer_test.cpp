#include "core/object_stream.h"
#include "fake_parent.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/stream_error.h"
#include "stream_bytes.h"
#include "test_card_object.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace cardora;
using namespace cardora::test;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFileBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

std::vector<TQGraphicControl*> cardObjectsOf(QObject& owner)
{
    const auto list = owner.findChildren<TQGraphicControl*>(QString(), Qt::FindDirectChildrenOnly);
    return { list.begin(), list.end() };
}

// The message of the failure reading `data` into `parent`, or "" when none.
QString readFailure(FakeParent& parent, const QByteArray& data)
{
    TQLabelObjectFiler filer;
    try {
        filer.ReadObjects(data, &parent.Owner, &parent, parent.AdoptFunction());
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

// One record of the test class with the given entries (already encoded).
QByteArray testRecord(const QByteArray& entries, const QByteArray& name = "Obj")
{
    return Bytes().Header("TTestCardObject", name).Raw(entries).Byte(0).Byte(0);
}

QByteArray card(const QByteArray& records) { return Bytes().Byte(1).Raw(records).Byte(0); }

// Gives an object every kind of value, none of them the default.
void fillAllKinds(TTestCardObject& o)
{
    o.SetBounds(-5, 300, 40000, 7);
    o.SetTag(-70000);
    o.SetCursor(-4);
    o.SetHint(QString::fromUtf8("hint \xE2\x82\xAC"));
    o.SetLocked(true);
    o.SetShape(tsDiamond);
    o.SetOptions(toShadow | toMirror);
    o.SetCount(129);
    o.SetBackColor(static_cast<TColor>(0x8000000F));
    o.SetTransparent(true);
    o.SetCaption(QString(300, 'c'));
    o.Font()->SetName("Times New Roman");
    o.Font()->SetHeight(-21);
    o.Font()->SetStyle(FontStyle::Italic | FontStyle::StrikeOut);
    o.Font()->SetPitch(FontPitch::Fixed);
    o.Font()->SetColor(0x123456);
    o.Pen()->SetColor(clNone);
    o.Pen()->SetWidth(3);
    o.Pen()->SetMode(PenMode::NotXor);
    o.Pen()->SetStyle(PenStyle::InsideFrame);
    o.Brush()->SetColor(clRed);
    o.Brush()->SetStyle(BrushStyle::DiagCross);
    o.SetPictureData(QByteArray("BM") + QByteArray(1000, '\xAB'));
    o.SetItems({ "first", "", QString(256, 'L') });
}

} // namespace

TEST(CardFiler, LineRecordAndEmptyCardBytes)
{
    FakeParent parent;
    TTestLineObject line(&parent.Owner);
    line.SetName("Component0");
    line.SetBounds(20, 30, 100, 10);

    const QByteArray expected = Bytes()
                                    .Byte(0x01)
                                    .Header("TQLineShape", "Component0")
                                    .Name("Left").Byte(0x02).Byte(0x14)
                                    .Name("Top").Byte(0x02).Byte(0x1E)
                                    .Name("Width").Byte(0x02).Byte(0x64)
                                    .Name("Height").Byte(0x02).Byte(0x0A)
                                    .Name("Locked").Byte(0x08)
                                    .Name("Unselectable").Byte(0x08)
                                    .Byte(0x00).Byte(0x00)
                                    .Byte(0x00);
    EXPECT_EQ(TQLabelObjectFiler::WriteObjects({ &line }).toHex(' '), expected.toHex(' '));

    // A pen width of 2 adds Pen.Width and nothing else of the pen.
    line.Pen()->SetWidth(2);
    const QByteArray withPen = TQLabelObjectFiler::WriteObjects({ &line });
    EXPECT_EQ(withPen.toHex(' '),
        expected.left(expected.size() - 3).append(Bytes().Name("Pen.Width").Byte(0x02).Byte(0x02)).append(
            QByteArray(3, 0)).toHex(' '));
    EXPECT_EQ(withPen.count("Pen."), 1);

    // An empty card is 01 00, on disk too, and reading it adds nothing.
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.cdw");
    TQLabelObjectFiler filer;
    filer.SaveCard({}, path);
    EXPECT_EQ(fileBytes(path), QByteArray("\x01\x00", 2));
    EXPECT_TRUE(filer.LoadCard(&parent.Owner, &parent, path, parent.AdoptFunction()).empty());
    EXPECT_TRUE(parent.Children.empty());
}

TEST(CardFiler, ValueEncodingsOfProperties)
{
    FakeParent parent;
    TTestCardObject o(&parent.Owner);
    auto entries = [&o] {
        TObjectWriter w;
        WriteProperties(w, o);
        return w.Data();
    };
    // Base properties only; the font is the parent's and is left out.
    const QByteArray base = Bytes()
                                .Name("Left").Byte(2).Byte(0).Name("Top").Byte(2).Byte(0)
                                .Name("Width").Byte(2).Byte(0).Name("Height").Byte(2).Byte(0)
                                .Name("Locked").Byte(8).Name("Unselectable").Byte(8)
                                .Name("Transparent").Byte(8);
    EXPECT_EQ(entries().toHex(' '), base.toHex(' '));

    o.SetBackColor(0x808080);
    EXPECT_TRUE(entries().endsWith(Bytes().Name("BackColor").Byte(0x07).Name("clGray").Name("Transparent").Byte(8)
                                       .Data()));
    o.SetBackColor(200);
    EXPECT_TRUE(entries().contains(Bytes().Name("BackColor").Byte(0x03).Byte(0xC8).Byte(0x00).Data()));
    o.SetBackColor(0x123456);
    EXPECT_TRUE(entries().contains(Bytes().Name("BackColor").Byte(0x04).Int32(0x123456).Data()));
    o.SetBackColor(clWhite);

    // The cursor travels as its identifier; -1 has none.
    o.SetCursor(-11);
    EXPECT_TRUE(entries().contains(Bytes().Name("Cursor").Byte(0x07).Name("crHourGlass").Data()));
    o.SetCursor(-1);
    EXPECT_TRUE(entries().contains(Bytes().Name("Cursor").Byte(0x02).Byte(0xFF).Data()));
    o.SetCursor(0);

    // A font of its own is written whole; an empty style is 0B 00.
    o.Font()->SetColor(clMaroon);
    const QByteArray fontEntries = Bytes()
                                       .Name("Font.Color").Byte(0x07).Name("clMaroon")
                                       .Name("Font.Height").Byte(0x02).Byte(0xF3)
                                       .Name("Font.Name").Byte(0x06).Name("Arial")
                                       .Name("Font.Style").Byte(0x0B).Byte(0x00);
    EXPECT_FALSE(o.ParentFont());
    EXPECT_EQ(entries().toHex(' '), QByteArray(base).append(fontEntries).toHex(' '));
    o.Font()->SetStyle(FontStyle::Bold | FontStyle::Underline);
    EXPECT_TRUE(entries().contains(Bytes().Name("Font.Style").Byte(0x0B).Name("fsBold").Name("fsUnderline")
                                       .Byte(0).Data()));

    // Texts: empty is left out, 255 bytes short, 256 long.
    o.SetCaption(QString(255, 'x'));
    EXPECT_TRUE(entries().contains(Bytes().Name("Caption").Byte(0x06).Byte(0xFF).Raw(QByteArray(255, 'x')).Data()));
    o.SetCaption(QString(256, 'x'));
    EXPECT_TRUE(entries().contains(Bytes().Name("Caption").Byte(0x0C).Int32(256).Raw(QByteArray(256, 'x')).Data()));

    // Special data entries follow the declared names.
    o.SetPictureData("BMxy");
    o.SetItems({ "a", "b" });
    EXPECT_TRUE(entries().contains(Bytes().Name("Picture.Data").Byte(0x0A).Int32(4).Raw("BMxy").Data()));
    EXPECT_TRUE(entries().contains(
        Bytes().Name("Items.Strings").Byte(0x01).Byte(0x06).Name("a").Byte(0x06).Name("b").Byte(0x00).Data()));

    // An object name longer than a short name is cut to 255 bytes.
    o.SetName(QString(300, 'N'));
    const QByteArray record = TQLabelObjectFiler::WriteObjects({ &o });
    EXPECT_EQ(record.mid(1, 4 + 1 + 15), Bytes().Header("TTestCardObject", "").Data().left(20));
    EXPECT_EQ(static_cast<std::uint8_t>(record[21]), 255);
    EXPECT_EQ(record.mid(22, 255), QByteArray(255, 'N'));
    EXPECT_EQ(record[22 + 255], 4); // "Left" follows
}

TEST(CardFiler, EveryKindSurvivesARoundTrip)
{
    TTestCardObject::Register();
    FakeParent from;
    auto* a = new TTestCardObject(&from.Owner);
    a->SetName("Component0");
    fillAllKinds(*a);
    auto* b = new TTestCardObject(&from.Owner);
    b->SetName("Component1");
    a->SetPartner("Component1");
    const QByteArray bytes = TQLabelObjectFiler::WriteObjects({ a, b });

    FakeParent to;
    TQLabelObjectFiler filer;
    const auto read = filer.ReadObjects(bytes, &to.Owner, &to, to.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(to.Children, read);
    auto* c = dynamic_cast<TTestCardObject*>(read[0]);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->parent(), &to.Owner);
    EXPECT_EQ(c->ParentPanel(), &to);
    EXPECT_EQ(c->BoundsRect(), QRect(-5, 300, 40000, 7));
    EXPECT_EQ(c->Tag(), -70000);
    EXPECT_EQ(c->Cursor(), -4);
    EXPECT_EQ(c->Hint(), QString::fromUtf8("hint \xE2\x82\xAC"));
    EXPECT_TRUE(c->Locked());
    EXPECT_FALSE(c->Unselectable());
    EXPECT_EQ(c->Shape(), tsDiamond);
    EXPECT_EQ(c->Options(), toShadow | toMirror);
    EXPECT_EQ(c->Count(), 129);
    EXPECT_EQ(c->BackColor(), static_cast<TColor>(0x8000000F));
    EXPECT_TRUE(c->Transparent());
    EXPECT_EQ(c->Caption(), QString(300, 'c'));
    EXPECT_FALSE(c->ParentFont());
    EXPECT_EQ(c->Font()->Name(), a->Font()->Name());
    EXPECT_EQ(c->Font()->Height(), a->Font()->Height());
    EXPECT_EQ(c->Font()->Color(), a->Font()->Color());
    EXPECT_EQ(c->Font()->Pitch(), a->Font()->Pitch());
    EXPECT_EQ(c->Font()->Style(), a->Font()->Style());
    EXPECT_TRUE(*c->Pen() == *a->Pen());
    EXPECT_TRUE(*c->Brush() == *a->Brush());
    EXPECT_EQ(c->PictureData(), a->PictureData());
    EXPECT_EQ(c->Items(), a->Items());
    EXPECT_EQ(c->Partner(), "Component1");
    // Loading ends once the whole stream is read, with Loaded() once each.
    for (TQGraphicControl* o : read) {
        EXPECT_FALSE(o->IsLoading());
        EXPECT_EQ(static_cast<TTestCardObject*>(o)->LoadedCalls, 1);
        EXPECT_FALSE(static_cast<TTestCardObject*>(o)->LoadingWhenLoaded);
    }
    // Writing the copies gives the same bytes.
    EXPECT_EQ(TQLabelObjectFiler::WriteObjects(read).toHex(), bytes.toHex());
    // An object that was not given a font of its own keeps the parent's.
    EXPECT_TRUE(read[1]->ParentFont());

    // The writer writes exactly the entries the dump lists, in order.
    TObjectReader reader(TQLabelObjectFiler::WriteObjects({ a }));
    reader.ReadByte();
    reader.ReadSignature();
    reader.ReadShortName();
    reader.ReadShortName();
    QStringList written;
    while (!reader.EndOfList()) {
        written << reader.ReadShortName();
        reader.SkipValue();
    }
    QStringList listed;
    for (const StoredEntry& e : StoredEntries(*a))
        listed << e.path;
    EXPECT_EQ(written, listed);
    EXPECT_EQ(listed.size(), 29);
}

TEST(CardFiler, ReaderMessagesOnCraftedInput)
{
    TTestCardObject::Register();
    const QByteArray left = Bytes().Name("Left").Byte(2).Byte(1);
    struct Case {
        QByteArray data;
        QString message;
    };
    const Case cases[] = {
        { QByteArray("\x02\x00", 2), "Invalid stream format" },
        { card(Bytes().Raw("TPF1").Name("TTestCardObject").Name("X").Byte(0).Byte(0)), "Invalid stream format" },
        { card(Bytes().Header("TNoSuchThing", "X").Byte(0).Byte(0)), "Class TNoSuchThing not found" },
        { card(testRecord(Bytes().Name("Left").Byte(0x06).Name("1"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Shape").Byte(0x07).Name("tsCircle"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("BackColor").Byte(0x07).Name("clNoSuch"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Caption").Byte(0x07).Name("x"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Options").Byte(0x0B).Name("toBogus").Byte(0))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Locked").Byte(0x02).Byte(1))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Picture.Data").Byte(0x06).Name("BM"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Items.Strings").Byte(0x01).Byte(0x02).Byte(1).Byte(0))),
            "Invalid property value" },
        { card(testRecord(Bytes().Name("Font").Byte(0x07).Name("Arial"))), "Invalid property value" },
        { card(testRecord(Bytes().Name("Nothing.Left").Byte(2).Byte(1))), "Invalid property path" },
        { card(testRecord(Bytes().Name("Left.Width").Byte(2).Byte(1))), "Invalid property path" },
        { card(testRecord(Bytes().Name("Pen.Color.X").Byte(2).Byte(1))), "Invalid property path" },
        { card(testRecord(Bytes().Name("Nothing").Byte(2).Byte(1))), "Property does not exist" },
        { card(testRecord(Bytes().Name("Pen.Nothing").Byte(2).Byte(1))), "Property does not exist" },
        { card(testRecord(Bytes().Name("Picture.Nothing").Byte(2).Byte(1))), "Property does not exist" },
        { card(testRecord(Bytes().Name("Version").Byte(2).Byte(1))), "Property is read-only" },
        { card(testRecord(Bytes().Name("Picture.Data").Byte(0x0A).Int32(2).Raw("XX"))), "Bitmap image is not valid" },
        { card(Bytes().Raw("TPF0").Byte(0xF1).Name("TTestCardObject").Name("Ghost").Byte(0).Byte(0)),
            "Ancestor for 'Ghost' not found" },
        { QByteArray(), "Stream read error" },
        { QByteArray("\x01", 1), "Stream read error" },
        { QByteArray("\x01TPF0\x0FTTestCard", 15), "Stream read error" },
        { Bytes().Byte(1).Header("TTestCardObject", "X").Raw(left), "Stream read error" },
        { card(testRecord(Bytes().Name("Caption").Byte(0x0C).Int32(0x7FFFFFFF).Raw("abc"))), "Stream read error" },
        { card(testRecord(Bytes().Name("Picture.Data").Byte(0x0A).Int32(0xFFFFFFFF))), "Stream read error" },
    };
    for (const Case& c : cases) {
        FakeParent parent;
        EXPECT_EQ(readFailure(parent, c.data), c.message) << c.data.toHex(' ').constData();
        EXPECT_TRUE(cardObjectsOf(parent.Owner).empty()) << c.data.toHex(' ').constData();
    }

    // A complete object before the stream breaks off stays.
    {
        FakeParent parent;
        EXPECT_EQ(readFailure(parent, Bytes().Byte(1).Raw(testRecord(left))), "Stream read error");
        ASSERT_EQ(parent.Children.size(), 1u);
        EXPECT_EQ(parent.Children[0]->Left(), 1);
    }

    // Names of classes, properties and values compare without regard to case.
    FakeParent parent;
    EXPECT_EQ(readFailure(parent,
                  card(Bytes().Header("ttestcardOBJECT", "X").Name("pen.COLOR").Byte(0x07).Name("CLRED")
                           .Name("shape").Byte(0x07).Name("TSELLIPSE").Name("locked").Byte(0x07).Name("true")
                           .Name("Options").Byte(0x0B).Name("TOMIRROR").Byte(0).Byte(0).Byte(0))),
        "");
    ASSERT_EQ(parent.Children.size(), 1u);
    auto* o = static_cast<TTestCardObject*>(parent.Children[0]);
    EXPECT_EQ(o->Pen()->Color(), clRed);
    EXPECT_EQ(o->Shape(), tsEllipse);
    EXPECT_TRUE(o->Locked());
    EXPECT_EQ(o->Options(), toMirror);

    // Opening a folder fails; a missing file reads nothing.
    QTemporaryDir dir;
    TQLabelObjectFiler filer;
    try {
        filer.LoadCard(&parent.Owner, &parent, dir.path(), parent.AdoptFunction());
        ADD_FAILURE() << "a folder was read";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + dir.path());
    }
    EXPECT_TRUE(filer.LoadCard(&parent.Owner, &parent, dir.filePath("none.cdw"), parent.AdoptFunction()).empty());
    EXPECT_EQ(parent.Children.size(), 1u);
}

TEST(CardFiler, PrefixesAndChildRecords)
{
    TTestCardObject::Register();
    FakeParent parent;
    auto* existing = new TTestCardObject(&parent.Owner);
    existing->SetName("Component0");
    parent.Adopt(existing);

    // Bit 1: a child position follows. Bit 0: the object exists already and
    // is read into. Child records inside an object are passed over.
    const QByteArray data = card(Bytes()
                                     .Raw("TPF0").Byte(0xF2).Byte(0x02).Byte(5).Name("TTestCardObject").Name("A")
                                     .Name("Left").Byte(2).Byte(7).Byte(0)
                                     .Name("TChild").Name("C").Name("Any").Byte(0x01).Byte(0x02).Byte(1).Byte(0)
                                     .Byte(0).Byte(0).Byte(0)
                                     .Raw("TPF0").Byte(0xF3).Byte(0x02).Byte(0).Name("TTestCardObject")
                                     .Name("component0").Name("Top").Byte(2).Byte(9).Byte(0).Byte(0));
    TQLabelObjectFiler filer;
    const auto read = filer.ReadObjects(data, &parent.Owner, &parent, parent.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->Name(), "Component1");
    EXPECT_EQ(read[0]->Left(), 7);
    EXPECT_EQ(read[1], existing);
    EXPECT_EQ(existing->Top(), 9);
    EXPECT_FALSE(existing->IsLoading());
    // The existing object is not adopted a second time.
    EXPECT_EQ(parent.Children, (std::vector<TQGraphicControl*> { existing, read[0] }));
}

TEST(CardFiler, NamesAvoidThoseTheOwnerHolds)
{
    TTestCardObject::Register();
    FakeParent from;
    auto* a = new TTestCardObject(&from.Owner);
    auto* b = new TTestCardObject(&from.Owner);
    a->SetName("Special1");
    b->SetName("Special1");
    const QByteArray bytes = TQLabelObjectFiler::WriteObjects({ a, b });

    FakeParent to;
    TQLabelObjectFiler filer;
    auto read = filer.ReadObjects(bytes, &to.Owner, &to, to.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->Name(), "Component0");
    EXPECT_EQ(read[1]->Name(), "Component1");

    // A name the owner's card objects already hold, in any case, is skipped;
    // other children of the owner do not count.
    FakeParent busy;
    auto* held = new TTestCardObject(&busy.Owner);
    held->SetName("COMPONENT0");
    QObject other(&busy.Owner);
    other.setObjectName("Component1");
    auto* held2 = new TTestCardObject(&busy.Owner);
    held2->SetName("component2");
    read = filer.ReadObjects(bytes, &busy.Owner, &busy, busy.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->Name(), "Component1");
    EXPECT_EQ(read[1]->Name(), "Component3");
    other.setParent(nullptr);

    // NameOwner decides whose names are avoided.
    TQLabelObjectFiler named;
    named.NameOwner = &busy.Owner;
    FakeParent elsewhere;
    read = named.ReadObjects(bytes, &elsewhere.Owner, &elsewhere, elsewhere.AdoptFunction());
    EXPECT_EQ(read[0]->Name(), "Component4");
    EXPECT_EQ(read[1]->Name(), "Component5");

    // When Component0...Component1000 are all taken the stored name is kept.
    FakeParent full;
    for (int i = 0; i <= 1000; ++i)
        (new TTestCardObject(&full.Owner))->SetName(QStringLiteral("Component%1").arg(i));
    read = filer.ReadObjects(bytes, &full.Owner, &full, full.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->Name(), "Special1");
}

TEST(CardFiler, PasteOffsetsFromTheStoredPlaceEachTime)
{
    TTestCardObject::Register();
    QTemporaryDir dir;
    const QString clip = dir.filePath("Clipbrd.tmp");
    FakeParent parent;
    auto* o = new TTestCardObject(&parent.Owner);
    o->SetName("Component0");
    o->SetBounds(20, 30, 50, 40);
    parent.Adopt(o);
    TQLabelObjectFiler saver;
    saver.SaveSelection({ o }, clip);

    TQLabelObjectFiler filer;
    const auto first = filer.PasteObjects(&parent.Owner, &parent, clip, parent.AdoptFunction());
    EXPECT_FALSE(filer.PasteOffset);
    const auto second = filer.PasteObjects(&parent.Owner, &parent, clip, parent.AdoptFunction());
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0]->BoundsRect(), QRect(35, 45, 50, 40));
    EXPECT_EQ(second[0]->BoundsRect(), QRect(35, 45, 50, 40));
    EXPECT_EQ(first[0]->Name(), "Component1");
    EXPECT_EQ(second[0]->Name(), "Component2");
    EXPECT_EQ(parent.Children.size(), 3u);
    // Loading a card does not offset.
    const auto loaded = filer.LoadCard(&parent.Owner, &parent, clip, parent.AdoptFunction());
    EXPECT_EQ(loaded[0]->BoundsRect(), QRect(20, 30, 50, 40));
    // The offset is cleared even when the paste fails.
    writeFileBytes(clip, "\x05");
    EXPECT_THROW(filer.PasteObjects(&parent.Owner, &parent, clip, parent.AdoptFunction()), EStreamError);
    EXPECT_FALSE(filer.PasteOffset);

    // Selection and object saving: nothing selected leaves the file alone.
    writeFileBytes(clip, "old");
    saver.SaveSelection({}, clip);
    EXPECT_EQ(fileBytes(clip), QByteArray("old"));
    saver.SaveObject(o, clip);
    EXPECT_EQ(fileBytes(clip), TQLabelObjectFiler::WriteObjects({ o }));
}

TEST(CardFiler, FailedReadKeepsEarlierObjectsAndDestroysTheBrokenOne)
{
    TTestCardObject::Register();
    const int liveBefore = TTestCardObject::LiveCount;
    FakeParent parent;
    const QByteArray data
        = card(testRecord(Bytes().Name("Left").Byte(2).Byte(5), "A") + testRecord(Bytes().Name("Top").Byte(2).Byte(6), "B")
            + testRecord(Bytes().Name("Left").Byte(2).Byte(7).Name("Bogus").Byte(2).Byte(1), "C"));
    EXPECT_EQ(readFailure(parent, data), "Property does not exist");
    ASSERT_EQ(parent.Children.size(), 2u);
    EXPECT_EQ(cardObjectsOf(parent.Owner).size(), 2u);
    EXPECT_EQ(TTestCardObject::LiveCount, liveBefore + 2);
    EXPECT_EQ(parent.Children[0]->Left(), 5);
    EXPECT_EQ(parent.Children[1]->Top(), 6);
    // The objects that stay are finished as after a complete read.
    for (TQGraphicControl* o : parent.Children) {
        EXPECT_FALSE(o->IsLoading());
        EXPECT_EQ(static_cast<TTestCardObject*>(o)->LoadedCalls, 1);
    }
    // A reference from the destroyed object is dropped, not resolved into it.
    FakeParent other;
    const QByteArray refData = card(testRecord(Bytes().Name("Partner").Byte(0x07).Name("Component0"), "A")
        + testRecord(Bytes().Name("Partner").Byte(0x07).Name("Component0").Name("Bogus").Byte(8), "B"));
    EXPECT_EQ(readFailure(other, refData), "Property does not exist");
    ASSERT_EQ(other.Children.size(), 1u);
    EXPECT_EQ(static_cast<TTestCardObject*>(other.Children[0])->Partner(), "Component0");
    EXPECT_EQ(TTestCardObject::LiveCount, liveBefore + 3);
}

TEST(CardFiler, ReferencesResolveAfterTheLastObject)
{
    TTestCardObject::Register();
    FakeParent parent;
    // A forward reference, an unknown one and a cleared one.
    const QByteArray data = card(testRecord(Bytes().Name("Partner").Byte(0x07).Name("component1"), "A")
        + testRecord(Bytes().Name("Partner").Byte(0x07).Name("Nobody"), "B")
        + testRecord(Bytes().Name("Partner").Byte(0x0D), "C"));
    TQLabelObjectFiler filer;
    const auto read = filer.ReadObjects(data, &parent.Owner, &parent, parent.AdoptFunction());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(static_cast<TTestCardObject*>(read[0])->Partner(), "Component1");
    EXPECT_EQ(static_cast<TTestCardObject*>(read[1])->Partner(), "");
    EXPECT_EQ(static_cast<TTestCardObject*>(read[2])->Partner(), "");
}

TEST(CardFiler, DuplicateCopiesUnderAFreshName)
{
    TTestCardObject::Register();
    FakeParent parent;
    auto* o = new TTestCardObject(&parent.Owner);
    o->SetName("Component0");
    parent.Adopt(o);
    fillAllKinds(*o);
    o->SetParentFont(true);
    auto* copy = dynamic_cast<TTestCardObject*>(parent.DuplicateObject(o));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, o);
    EXPECT_EQ(copy->Name(), "Component1");
    EXPECT_EQ(parent.Children.back(), copy);
    EXPECT_EQ(copy->BoundsRect(), o->BoundsRect());
    EXPECT_EQ(copy->Caption(), o->Caption());
    EXPECT_EQ(copy->PictureData(), o->PictureData());
    EXPECT_TRUE(copy->ParentFont());

    // Clone goes through the same copy and places it 25 pixels lower.
    const int before = parent.ChangedCount;
    o->Clone();
    ASSERT_EQ(parent.Children.size(), 3u);
    EXPECT_EQ(parent.Children.back()->Name(), "Component2");
    EXPECT_EQ(parent.Children.back()->Top(), o->Top() + 25);
    EXPECT_GT(parent.ChangedCount, before);
}

TEST(CardFiler, FailedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("card.cdw");
    writeFileBytes(path, "old card");
    FakeParent parent;
    TTestCardObject o(&parent.Owner);
    o.SetPictureData("BM" + QByteArray(5000, 'p'));

    // An object that cannot be written.
    TQLabelObjectFiler filer;
    o.FailOnSave = true;
    EXPECT_THROW(filer.SaveCard({ &o }, path), std::runtime_error);
    EXPECT_EQ(fileBytes(path), QByteArray("old card"));
    o.FailOnSave = false;

    // The disk refusing the new content part way through.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        filer.SaveCard({ &o }, path);
    } catch (const EStreamError& e) {
        message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Cannot create file " + path + ": File too large") << message.toStdString();
    EXPECT_EQ(fileBytes(path), QByteArray("old card"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { "card.cdw" });

    // A folder that does not exist.
    const QString nowhere = dir.filePath("no/such/folder/card.cdw");
    try {
        filer.SaveCard({ &o }, nowhere);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + nowhere + ": No such file or directory");
    }

    // And a save that completes replaces the file.
    filer.SaveCard({ &o }, path);
    EXPECT_EQ(fileBytes(path), TQLabelObjectFiler::WriteObjects({ &o }));
}
