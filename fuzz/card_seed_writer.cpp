#include "core/object_stream.h"
#include "objects/card_filer.h"
#include "objects/fake_parent.h"
#include "objects/stream_bytes.h"
#include "objects/circletext/circle_text.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/test_card_object.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

using namespace cardora;
using namespace cardora::test;

// Writes a few valid card files (and hand-made streams using the rarer
// tags) into the folder given, to seed the card reader's fuzzing.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: card_seed_writer <folder>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(dir.path());
    auto save = [&dir](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };

    FakeParent parent;
    save("empty.cdw", TQLabelObjectFiler::WriteObjects({}));

    auto plain = new TTestCardObject(&parent.Owner);
    plain->SetName("Component0");
    plain->SetBounds(20, 30, 100, 10);
    plain->Pen()->SetWidth(2);
    save("plain.cdw", TQLabelObjectFiler::WriteObjects({ plain }));

    auto full = new TTestCardObject(&parent.Owner);
    full->SetName("Component1");
    full->SetBounds(-5, 300, 40000, 7);
    full->SetTag(-70000);
    full->SetCursor(-4);
    full->SetHint("hint");
    full->SetLocked(true);
    full->SetUnselectable(true);
    full->SetShape(tsDiamond);
    full->SetOptions(toShadow | toMirror);
    full->SetCount(129);
    full->SetBackColor(static_cast<TColor>(0x8000000F));
    full->SetTransparent(true);
    full->SetCaption(QString(260, 'c'));
    full->Font()->SetName("Times New Roman");
    full->Font()->SetStyle(FontStyle::Bold | FontStyle::Underline);
    full->Font()->SetPitch(FontPitch::Fixed);
    full->Pen()->SetColor(clNone);
    full->Pen()->SetMode(PenMode::NotXor);
    full->Brush()->SetStyle(BrushStyle::DiagCross);
    full->SetPictureData(QByteArray("BM") + QByteArray(40, '\x11'));
    full->SetItems({ "first", "", "third" });
    full->SetPartner("Component0");
    save("full.cdw", TQLabelObjectFiler::WriteObjects({ plain, full }));

    // Prefix flags, a child record and values of the tags card objects
    // never write (float, nil, collection) inside it.
    const QByteArray rare = Bytes()
                                .Byte(1)
                                .Raw("TPF0").Byte(0xF2).Byte(0x02).Byte(1).Name("TTestCardObject").Name("A")
                                .Name("Partner").Byte(0x0D).Name("Left").Byte(0x04).Int32(70000).Byte(0)
                                .Name("TChild").Name("C")
                                .Name("F").Byte(0x05).Raw(QByteArray("\0\0\0\0\0\0\0\x80\xFF\x3F", 10))
                                .Name("L").Byte(0x0E).Byte(0x02).Byte(0).Byte(0x01).Name("W").Byte(0x02).Byte(1)
                                .Byte(0).Byte(0).Byte(0).Byte(0)
                                .Byte(0)
                                .Raw("TPF0").Byte(0xF1).Name("TTestCardObject").Name("Component0")
                                .Name("Top").Byte(2).Byte(9).Byte(0).Byte(0)
                                .Byte(0);
    save("rare.cdw", rare);

    // Super shapes: a texture in Image.Data, and a polygon with a shadow.
    auto textured = new TSuperShape(&parent.Owner);
    textured->SetName("Special1");
    textured->SetBounds(4, 4, 90, 60);
    textured->SetSurfaceType(ShapeSurface::Image);
    QImage tile(5, 3, QImage::Format_RGB32);
    tile.fill(Qt::darkGreen);
    textured->SetImage(&tile);
    auto polygon = new TSuperShape(&parent.Owner);
    polygon->SetName("Special2");
    polygon->SetBounds(100, 4, 80, 80);
    polygon->SetShape(SuperShapeKind::Polygon);
    polygon->SetVectors(7);
    polygon->SetShadowOrient(ShadowCorner::UpperLeft);
    save("supershape.cdw", TQLabelObjectFiler::WriteObjects({ textured, polygon }));

    // Headlines: a textured, shadowed super text and a mirrored circle text.
    auto headline = new TQSuperText(&parent.Owner);
    headline->SetName("Special3");
    headline->SetBounds(4, 100, 200, 50);
    headline->SetSurfaceType(TQSuperText::Surface::Image);
    headline->SetImage(&tile);
    headline->SetShadowDepth(4);
    headline->SetShadowOrientation(ShadowDirection::Left);
    headline->SetLastBitmapFileNameandPath("bmbrush/wood.bmp");
    auto circle = new TQPCircleText(&parent.Owner);
    circle->SetName("Special4");
    circle->SetBounds(210, 100, 90, 90);
    circle->SetDegrees(ArcDegrees::Deg270);
    circle->SetMirror(true);
    save("headlines.cdw", TQLabelObjectFiler::WriteObjects({ headline, circle }));

    // What a hostile file holds: a textured shape far larger than any card,
    // and patterned shapes whose stored geometry is at the int limits.
    auto giant = new TSuperShape(&parent.Owner);
    giant->SetName("Special5");
    giant->SetBounds(-500000, -500000, 1 << 20, 1 << 20);
    giant->SetSurfaceType(ShapeSurface::Image);
    giant->SetImage(&tile);
    auto patterned = new TSuperShape(&parent.Owner);
    patterned->SetName("Special6");
    patterned->SetBounds(0, 0, 1 << 20, 1 << 20);
    patterned->SetSurfaceType(ShapeSurface::Pattern);
    patterned->SetShadowOrient(ShadowCorner::LowerRight);
    patterned->SetShadowDepth(-2147483647);
    patterned->SetOutlineWidth(2147483647);
    patterned->SetRoundPerc(2147483647);
    save("hostile-shapes.cdw", TQLabelObjectFiler::WriteObjects({ giant, patterned }));
    return 0;
}
