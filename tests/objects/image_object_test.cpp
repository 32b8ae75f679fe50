// The image object: painting, auto-sizing, the card file form of its
// picture, printing and its menu; the image browser through the modal seam.
#include "fake_parent.h"
#include "imaging/picture.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/pictures/image_browser.h"
#include "objects/pictures/image_object.h"
#include "core/object_stream.h"
#include "objects/stream_error.h"
#include "report/recording_report.h"
#include "shapes_helpers.h"
#include "stream_bytes.h"
#include "support/scripted_modal.h"
#include <QBuffer>
#include <QCheckBox>
#include <QImageWriter>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

// Left half red, right half blue; or top half red, bottom half blue.
TPicture TwoColours(bool sideBySide, QSize size = { 20, 20 })
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlue);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (sideBySide ? x < size.width() / 2 : y < size.height() / 2)
                image.setPixel(x, y, kRed);
    TPicture p;
    p.SetBitmap(image);
    return p;
}

// A placeable metafile, 100 x 100 units at 96 per inch, its left half red.
QByteArray HalfRedWmf()
{
    QByteArray b;
    auto u16 = [&b](int v) { b.append(char(v & 0xFF)); b.append(char((v >> 8) & 0xFF)); };
    auto u32 = [&](uint32_t v) { u16(int(v & 0xFFFF)); u16(int(v >> 16)); };
    u32(0x9AC6CDD7); u16(0); u16(0); u16(0); u16(100); u16(100); u16(96); u32(0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= uint16_t(uchar(b[i]) | (uchar(b[i + 1]) << 8));
    u16(sum);
    u16(1); u16(9); u16(0x0300); u32(0); u16(2); u32(0); u16(0);
    u32(7); u16(0x02FC); u16(0); u32(0x0000FF); u16(0);  // red brush
    u32(8); u16(0x02FA); u16(5); u16(0); u16(0); u32(0); // null pen
    u32(4); u16(0x012D); u16(0);
    u32(4); u16(0x012D); u16(1);
    u32(7); u16(0x041B); u16(100); u16(50); u16(0); u16(0); // rectangle (0,0)-(50,100)
    u32(3); u16(0);
    return b;
}

TPicture Metafile()
{
    TPicture p;
    EXPECT_TRUE(p.SetMetafile(HalfRedWmf()));
    return p;
}

QImage Render(TQImage& o)
{
    QImage image(o.Width(), o.Height(), QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter p(&image);
    o.PaintTo(p, 0, 0);
    return image;
}

QByteArray CardBytes(const std::vector<TQGraphicControl*>& objects) { return TQLabelObjectFiler::WriteObjects(objects); }

} // namespace

TEST(ImageObject, PaintsPictureMirroredFramedOrPlaceholder)
{
    enum class Pic { None, SideBySide, TopBottom, Metafile };
    const struct {
        const char* what;
        Pic picture;
        bool flip, reverse, border;
        QList<std::pair<QPoint, QRgb>> pixels;
    } cases[] = {
        { "no picture: white box, black outline", Pic::None, false, false, false,
            { { { 0, 0 }, kBlack }, { { 39, 19 }, kBlack }, { { 20, 10 }, kWhite }, { { 1, 1 }, kWhite } } },
        { "no picture, framed", Pic::None, false, false, true, { { { 0, 10 }, kBlack }, { { 2, 10 }, kWhite } } },
        { "bitmap stretched", Pic::SideBySide, false, false, false,
            { { { 5, 10 }, kRed }, { { 34, 10 }, kBlue }, { { 0, 0 }, kRed } } },
        { "bitmap reversed", Pic::SideBySide, false, true, false, { { { 5, 10 }, kBlue }, { { 34, 10 }, kRed } } },
        { "bitmap flipped", Pic::TopBottom, true, false, false, { { { 20, 2 }, kBlue }, { { 20, 17 }, kRed } } },
        { "bitmap framed", Pic::SideBySide, false, false, true,
            { { { 0, 10 }, kBlack }, { { 39, 10 }, kBlack }, { { 20, 0 }, kBlack }, { { 5, 10 }, kRed } } },
        { "metafile ignores mirroring", Pic::Metafile, true, true, false,
            { { { 5, 10 }, kRed }, { { 34, 10 }, kWhite } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TQImage o;
        o.SetBounds(0, 0, 40, 20);
        if (c.picture == Pic::SideBySide || c.picture == Pic::TopBottom)
            o.SetPicture(TwoColours(c.picture == Pic::SideBySide));
        else if (c.picture == Pic::Metafile)
            o.SetPicture(Metafile());
        o.SetFlip(c.flip);
        o.SetReverse(c.reverse);
        o.SetBorderStyle(c.border ? LabelBorder::Single : LabelBorder::NoBorder);
        const QImage image = Render(o);
        for (const auto& [point, colour] : c.pixels)
            EXPECT_EQ(image.pixel(point) & 0xFFFFFF, colour & 0xFFFFFF) << point.x() << "," << point.y();
    }
}

TEST(ImageObject, AutoSizeTakesThePictureSize)
{
    const struct {
        QSize picture;
        bool autoSize;
        QSize expected;
    } cases[] = { { { 300, 200 }, true, { 300, 200 } }, { { 90, 140 }, true, { 90, 140 } },
        { { 300, 200 }, false, { 105, 105 } } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture.width());
        TQImage o;
        o.SetPicture(TwoColours(true, c.picture));
        o.SetAutoSize(c.autoSize);
        EXPECT_EQ(o.BoundsRect().size(), c.expected);
        EXPECT_EQ(o.Stretch(), !c.autoSize);
    }
}

TEST(ImageObject, CardFileKeepsEachPictureClassAndAutoSizeAppliesOnReading)
{
    RegisterCardClass<TQImage>();
    QByteArray ico;
    {
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QBuffer buffer(&ico);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "ico").write(icon);
    }
    TPicture icon;
    icon.SetIcon(QImage(16, 16, QImage::Format_ARGB32), ico);
    ASSERT_TRUE(icon.SetGraphicData("TIcon", ico, nullptr));
    const struct {
        const char* className;
        TPicture picture;
        bool autoSize;
        QSize readSize;
    } cases[] = {
        { "TBitmap", TwoColours(true, { 30, 20 }), true, { 30, 20 } },
        { "TIcon", icon, false, { 60, 50 } },
        { "TMetafile", Metafile(), true, { 100, 100 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        FakeParent parent;
        auto* o = new TQImage(&parent.Owner);
        o->SetName("Image1");
        o->SetPicture(c.picture);
        o->SetBounds(5, 6, 60, 50);
        o->SetAutoSize(c.autoSize);
        o->SetBounds(5, 6, 60, 50); // a stored size that differs from the picture's
        const QByteArray first = CardBytes({ o });

        FakeParent readBack;
        TQLabelObjectFiler filer;
        const std::vector<TQGraphicControl*> read = filer.ReadObjects(first, &readBack.Owner, &readBack, readBack.AdoptFunction());
        ASSERT_EQ(read.size(), 1);
        auto* image = qobject_cast<TQImage*>(read[0]);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Picture().ClassName(), c.className);
        EXPECT_EQ(image->BoundsRect().size(), c.readSize);
        // Unchanged, the picture is written back byte for byte.
        EXPECT_EQ(image->PictureData(), o->PictureData());
    }
}

// A picture block of a class this reader does not know (a later format's)
// is passed over: that picture stays empty and the rest of the card reads.
TEST(ImageObject, UnknownPictureClassIsSkippedAndTheCardReads)
{
    RegisterCardClass<TQImage>();
    FakeParent parent;
    auto* first = new TQImage(&parent.Owner);
    first->SetName("Image1");
    first->SetPicture(TwoColours(true));
    first->SetBounds(5, 6, 40, 30);
    auto* second = new TQImage(&parent.Owner);
    second->SetName("Image2");
    second->SetPicture(Metafile());
    second->SetBounds(50, 6, 40, 30);
    const QByteArray card = CardBytes({ first, second });
    const QByteArray block = first->PictureData();
    const qsizetype at = card.indexOf(block);
    ASSERT_GT(at, 4);
    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        { "no size before the data", Bytes().Name("TJPEGImage").Raw("\xff\xd8") },
        { "a size past the block", Bytes().Name("TJPEGImage").Int32(1000).Raw("\xff\xd8") },
        { "nothing after the name", Bytes().Name("TGIFImage") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray changed = card;
        changed.replace(at - 4, 4 + block.size(), QByteArray(Bytes().Int32(uint32_t(c.data.size())).Raw(c.data)));
        FakeParent readBack;
        TQLabelObjectFiler filer;
        std::vector<TQGraphicControl*> read;
        ASSERT_NO_THROW(read = filer.ReadObjects(changed, &readBack.Owner, &readBack, readBack.AdoptFunction()));
        ASSERT_EQ(read.size(), 2u);
        EXPECT_FALSE(qobject_cast<TQImage*>(read[0])->Picture().HasGraphic());
        EXPECT_EQ(read[0]->BoundsRect(), QRect(5, 6, 40, 30));
        EXPECT_TRUE(qobject_cast<TQImage*>(read[1])->Picture().IsMetafile());
        EXPECT_EQ(read[1]->BoundsRect(), QRect(50, 6, 40, 30));
    }
}

TEST(ImageObject, BadPictureDataFailsTheRead)
{
    TQImage o;
    o.SetPicture(TwoColours(true));
    QByteArray data = o.PictureData();
    const int at = 1 + 7 + 4; // class name, size, then the BMP file
    data[at] = 'X';
    EXPECT_THROW(
        {
            try {
                o.SetPictureData(data);
            } catch (const EObjectStreamError& e) {
                EXPECT_EQ(e.Message(), "Bitmap image is not valid");
                throw;
            }
        },
        EObjectStreamError);
    EXPECT_TRUE(o.Picture().IsBitmap());
}

TEST(ImageObject, PrintsBitmapsAtTheirOwnResolutionAndMetafilesAsDrawings)
{
    // 200 one-pixel stripes in a box 50 screen pixels wide: on a 400 dpi page
    // the box is 208 device pixels, so the stripes survive only when the
    // bitmap is not first shrunk to the screen box.
    QImage stripes(200, 20, QImage::Format_RGB32);
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 20; ++y)
            stripes.setPixel(x, y, x % 2 ? kWhite : kBlack);
    TPicture striped;
    striped.SetBitmap(stripes);

    TPageMetrics m;
    m.paperInches = QSizeF(2.0, 1.0);
    m.xDpi = m.yDpi = 400;
    auto print = [&m](TQImage& o) {
        TRecordingReport report(m);
        report.OnPrint = [&o](TReport& r) { o.PrintAtResolution(r, 0, 0, 96); };
        EXPECT_TRUE(report.Execute());
        return report.RenderPage(0);
    };
    {
        TQImage o;
        o.SetBounds(0, 0, 50, 10);
        o.SetPicture(striped);
        const QImage page = print(o);
        int changes = 0;
        for (int x = 1; x < 208; ++x)
            changes += (qGray(page.pixel(x, 20)) < 128) != (qGray(page.pixel(x - 1, 20)) < 128);
        EXPECT_GT(changes, 150);
    }
    {
        // The metafile's red half ends at 48 screen pixels: 200 device pixels.
        TQImage o;
        o.SetBounds(0, 0, 96, 96);
        o.SetPicture(Metafile());
        o.SetBorderStyle(LabelBorder::Single);
        const QImage page = print(o);
        EXPECT_EQ(page.pixel(197, 200) & 0xFFFFFF, kRed & 0xFFFFFF);
        EXPECT_EQ(page.pixel(203, 200) & 0xFFFFFF, kWhite & 0xFFFFFF);
        // The frame: one screen pixel inside the box, as the panel draws it.
        EXPECT_EQ(page.pixel(300, 2) & 0xFFFFFF, kBlack & 0xFFFFFF);
        EXPECT_EQ(page.pixel(100, 6) & 0xFFFFFF, kRed & 0xFFFFFF);
    }
}

TEST(ImageObject, MenuChecksItsOptionsAndMirrorsOnlyBitmaps)
{
    const struct {
        const char* what;
        bool bitmap;
    } cases[] = { { "bitmap", true }, { "metafile", false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeParent parent;
        auto* o = new TQImage(&parent.Owner);
        parent.Adopt(o);
        o->Loaded();
        o->SetPicture(c.bitmap ? TwoColours(true) : Metafile());
        o->SetBorderStyle(LabelBorder::Single);
        QMenu* menu = o->ObjectMenu();
        ASSERT_NE(menu, nullptr);
        o->PopupOpening();
        const QStringList captions = Captions(*menu);
        const qsizetype at = captions.indexOf("Load Image From Disk");
        ASSERT_GE(at, 1);
        EXPECT_EQ(captions.mid(at - 1), QStringList({ "-", "Load Image From Disk", "-", "Border", "Stretch to Fit",
                                            "AutoSize", "Flip", "Reverse" }));
        EXPECT_TRUE(FindItem(*menu, "Border")->isChecked());
        EXPECT_TRUE(FindItem(*menu, "Stretch to Fit")->isChecked());
        EXPECT_EQ(FindItem(*menu, "Flip")->isEnabled(), c.bitmap);
        EXPECT_EQ(FindItem(*menu, "Reverse")->isEnabled(), c.bitmap);
        FindItem(*menu, "AutoSize")->trigger();
        EXPECT_TRUE(o->AutoSize());
        EXPECT_EQ(o->BoundsRect().size(), o->Picture().Size());
    }
}

TEST(ImageBrowser, ListsPicturesWithoutRegardToCaseAndHandsIconsOverAsBitmaps)
{
    QTemporaryDir folder;
    auto write = [&folder](const QString& name, const char* format) {
        QImage image(12, 8, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QImageWriter(folder.filePath(name), format).write(image);
    };
    write("a.ico", "ico");
    write("B.Bmp", "bmp");
    write("photo.final.jpg", "jpeg");
    write("logo.png", "png");
    write("skip.xpm", "xpm");
    QFile broken(folder.filePath("broken.BMP"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really");
    broken.close();

    auto modal = ScriptedModal::Install();
    const struct {
        const char* file;
        bool ok;
        const char* className;
        bool errorShown;
    } cases[] = {
        { "a.ico", true, "TBitmap", false },
        { "photo.final.jpg", true, "TBitmap", false },
        { "logo.png", true, "TPngImage", false },
        { "broken.BMP", false, "", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        modal->messages.clear();
        modal->dialogs.push_back([&](QDialog& d) {
            auto& browser = static_cast<TQImageBrowser&>(d);
            EXPECT_TRUE(browser.SetFolder(folder.path()));
            EXPECT_EQ(browser.FileNames(), QStringList({ "a.ico", "B.Bmp", "broken.BMP", "logo.png", "photo.final.jpg" }));
            EXPECT_TRUE(browser.SelectFile(c.file));
            browser.findChild<QCheckBox*>("CBAutoSize")->setChecked(true);
            EXPECT_FALSE(browser.findChild<QCheckBox*>("CBStretch")->isChecked());
            return int(mrOk);
        });
        const QString before = QDir::currentPath();
        TQImage o;
        o.LoadImageFromDisk();
        EXPECT_EQ(QDir::currentPath(), before);
        EXPECT_EQ(o.Picture().HasGraphic(), c.ok);
        EXPECT_EQ(!modal->messages.empty(), c.errorShown);
        if (c.errorShown)
            EXPECT_EQ(modal->messages.front().text, "Error loading file!");
        if (c.ok) {
            EXPECT_EQ(o.Picture().ClassName(), c.className);
            EXPECT_TRUE(o.AutoSize());
            EXPECT_EQ(o.BoundsRect().size(), QSize(12, 8));
        }
    }
    SetModalHandler(nullptr);
}

TEST(CardFont, SizeFromElsewhereIsReadAndWrittenAsHeight)
{
    RegisterCardClass<TQBusinessCardLabel>();
    FakeParent parent;
    auto* o = new TQBusinessCardLabel(&parent.Owner);
    o->SetName("Label1");
    o->Font()->SetColor(clMaroon); // a font of its own is written
    o->Font()->SetHeight(-13);
    const QByteArray height = QByteArray("\x0b" "Font.Height\x02\xf3", 14);
    const QByteArray size = QByteArray("\x09" "Font.Size\x02\x0a", 12); // 10 points
    QByteArray bytes = CardBytes({ o });
    ASSERT_TRUE(bytes.contains(height));
    bytes.replace(height, size);

    const struct {
        const char* what;
        QByteArray file;
    } cases[] = { { "Font.Size", bytes }, { "Font.Height", CardBytes({ o }) } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeParent readBack;
        TQLabelObjectFiler filer;
        const auto read = filer.ReadObjects(c.file, &readBack.Owner, &readBack, readBack.AdoptFunction());
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0]->Font()->Height(), -13);
        const QByteArray written = CardBytes(read);
        EXPECT_TRUE(written.contains(height));
        EXPECT_FALSE(written.contains("Font.Size"));
    }
}
