#include "core/app_folder.h"
#include "core/clock.h"
#include "core/ini_file.h"
#include "main/main_window.h"
#include "main/mru_list.h"
#include "objects/class_registry.h"
#include "support/plain_object.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "main/window_fixture.h"

using namespace cardora;
using cardora::test::PlainObject;
using cardora::test::ScriptedModal;

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

struct FileFixture : cardora::test::MainWindowFixture {
    void SetUp() override
    {
        RegisterCardClass<PlainObject>();
        MainWindowFixture::SetUp();
        start();
    }
    CardPanel& panel() { return *window->cardPanel(); }
    PlainObject* draw(int l, int t, int w, int h)
    {
        auto* o = new PlainObject(window.get());
        panel().AddObject(o);
        o->SetBounds(l, t, w, h);
        o->SetLeft(l + 1); // a real change
        return o;
    }
    QString saved(const QString& name) { return SavedFolder() + name; }
    QString saveAsNext()
    {
        modal->fileNames = { saved(DefaultCardName(SavedFolder())) };
        window->fileCommands().saveAs();
        return window->context().card().fileName;
    }
};
} // namespace

TEST_F(FileFixture, SaveAsProposesNumberedNamesAndOpenRestoresTheCard)
{
    EXPECT_EQ(DefaultCardName(SavedFolder()), "BC0001.CDW");
    draw(10, 20, 50, 30);
    const QString first = saveAsNext();
    EXPECT_EQ(modal->fileRequests.back().fileName, "BC0001.CDW");
    EXPECT_EQ(window->windowTitle(), "Cardora - BC0001.CDW");
    EXPECT_FALSE(window->context().card().changesMade);
    QFile::copy(first, saved("BC0002.CDW"));
    EXPECT_EQ(DefaultCardName(SavedFolder()), "BC0003.CDW");

    window->fileCommands().newCard();
    EXPECT_TRUE(panel().Objects().empty());
    EXPECT_EQ(window->windowTitle(), "Cardora");
    window->fileCommands().openCard(first);
    ASSERT_EQ(panel().Objects().size(), 1u);
    EXPECT_EQ(panel().Objects()[0]->BoundsRect(), QRect(11, 20, 50, 30));
    EXPECT_EQ(panel().Objects()[0]->Name(), "Component0");
    EXPECT_FALSE(window->context().card().changesMade);
}

TEST_F(FileFixture, SavingAtZoomWritesZoomOneGeometryAndKeepsZoom)
{
    draw(10, 20, 50, 30);
    window->zoomIn();
    window->zoomIn();
    window->zoomIn(); // 1.3
    const QString path = saveAsNext();
    EXPECT_FLOAT_EQ(panel().Zoom(), 1.3f);
    window->fileCommands().newCard();
    window->fileCommands().openCard(path);
    ASSERT_EQ(panel().Objects().size(), 1u);
    // Opened at 1.3: the stored 11,20 50x30 stays; the view shows it scaled.
    EXPECT_EQ(panel().Objects()[0]->BoundsRect(), QRect(11, 20, 50, 30));
    EXPECT_EQ(panel().ShownRect(panel().Objects()[0]->BoundsRect()), QRect(14, 26, 66, 39));
}

// Only a card read whole replaces the one shown: a damaged file, one cut
// short and one that vanished leave the card, its name and its history.
TEST_F(FileFixture, FailedOpenKeepsTheCardItsNameAndItsHistory)
{
    PlainObject* kept = draw(10, 20, 50, 30);
    const QString good = saveAsNext();
    panel().BeginEdit();
    PlainObject* unsaved = draw(60, 70, 20, 10); // a change made after saving
    panel().EndEdit("New Object");
    panel().AddToSelection(unsaved);
    const int steps = window->context().undoStack().count();
    ASSERT_GT(steps, 0);
    const QByteArray whole = readAll(good);
    const struct {
        const char* name;
        QByteArray bytes; // empty: the file is not there
    } cases[] = {
        { "unknown-class.CDW", QByteArray("\x01TPF0\x09TNotThere\x00\x00\x00\x00", 18) },
        { "cut-short.CDW", whole.left(whole.size() - 3) },
        { "vanished.CDW", QByteArray() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bad = saved(c.name);
        if (!c.bytes.isEmpty()) {
            QFile f(bad);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        window->fileCommands().openCard(bad);
        EXPECT_EQ(modal->messages.back().text,
            "Unable to open " + bad + ". Possibly corrupted, possibly not a CDW file");
        ASSERT_EQ(panel().Objects().size(), 2u);
        EXPECT_EQ(panel().Objects()[0], kept);
        EXPECT_EQ(panel().Objects()[1], unsaved);
        EXPECT_TRUE(panel().IsSelected(unsaved));
        EXPECT_FALSE(panel().IsSelected(kept));
        EXPECT_EQ(window->context().card().fileName, good);
        EXPECT_TRUE(window->context().card().changesMade);
        EXPECT_EQ(window->context().undoStack().count(), steps);
        EXPECT_EQ(window->context().recentFiles().Items().first(), good);
    }
    // What was shown saves as it was.
    window->fileCommands().save();
    window->fileCommands().newCard();
    window->fileCommands().openCard(good);
    EXPECT_EQ(panel().Objects().size(), 2u);
}

// A file replaced by a save keeps its own permissions, also those the
// umask would not give a new file (a card shared with a group, 0664).
TEST_F(FileFixture, ReplacedFilesKeepTheirPermissions)
{
    const mode_t umaskBefore = ::umask(022);
    draw(10, 20, 50, 30);
    const QString card = saveAsNext();
    const QString picture = saved("card.bmp");
    ASSERT_TRUE(window->exportCommands().saveCardPicture(picture, false));
    const struct {
        const char* what;
        QString path;
        std::function<void()> replace;
    } files[] = {
        { "card", card, [&] { window->fileCommands().save(); } },
        { "CDW.INI", PreferencesFileName(), [&] { window->savePreferences(); } },
        { "exported picture", picture, [&] { window->exportCommands().saveCardPicture(picture, false); } },
    };
    for (const auto& f : files) {
        for (mode_t mode : { 0664, 0666, 0600, 0640 }) {
            SCOPED_TRACE(std::string(f.what) + " " + std::to_string(mode));
            ASSERT_TRUE(QFileInfo::exists(f.path));
            ASSERT_EQ(::chmod(QFile::encodeName(f.path).constData(), mode), 0);
            draw(10, 20, 50, 30); // something to save
            f.replace();
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(f.path).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, mode);
        }
    }
    ::umask(umaskBefore);
}

// Saving leaves the selection as it was, but for objects the save removed.
TEST_F(FileFixture, SaveKeepsTheSelection)
{
    PlainObject* a = draw(10, 20, 50, 30);
    PlainObject* b = draw(100, 40, 30, 30);
    draw(400, 40, 30, 30); // off the card: removed by the save
    saveAsNext();
    panel().SelectAll();
    window->fileCommands().save();
    EXPECT_EQ(panel().SelectionCount(), 2);
    const QRect handle = panel().Handle().Bounds();
    panel().KeyDown(Qt::Key_Right, {});
    panel().KeyUp(Qt::Key_Right);
    EXPECT_EQ(a->Left(), 12);
    EXPECT_EQ(b->Left(), 102);
    EXPECT_EQ(panel().Handle().Bounds(), handle.translated(1, 0));
}

// Saving removes only objects with no part on the card or no size.
TEST_F(FileFixture, SaveKeepsObjectsThatShowOnTheCard)
{
    struct Case {
        QRect bounds;
        bool kept;
    };
    const std::vector<Case> cases = {
        { QRect(330, 50, 40, 20), true },   // near the right edge, mostly off
        { QRect(100, 186, 30, 30), true },  // near the bottom edge
        { QRect(-50, 10, 60, 20), true },   // sticking out on the left
        { QRect(10, -15, 30, 20), true },   // sticking out at the top
        { QRect(336, 50, 40, 20), false },  // just past the right edge
        { QRect(10, 192, 30, 20), false },  // just past the bottom edge
        { QRect(-100, 10, 60, 20), false }, // wholly left of the card
        { QRect(10, 10, 0, 20), false },    // no width
        { QRect(10, 10, 20, 0), false },    // no height
    };
    std::vector<PlainObject*> objects;
    for (const Case& c : cases) {
        objects.push_back(draw(c.bounds.left() - 1, c.bounds.top(), c.bounds.width(), c.bounds.height()));
        ASSERT_EQ(objects.back()->BoundsRect(), c.bounds);
    }
    const QString card = saveAsNext();
    window->fileCommands().openCard(card);
    std::vector<QRect> expected, read;
    for (const Case& c : cases)
        if (c.kept)
            expected.push_back(c.bounds);
    for (TQGraphicControl* o : panel().Objects())
        read.push_back(o->BoundsRect());
    EXPECT_EQ(read, expected);
}

// A card name whose background art file would be the card itself, or a
// file the card uses, is refused before anything is written.
TEST_F(FileFixture, SaveAsRefusesNamesThatWouldDestroyAFile)
{
    draw(10, 20, 50, 30);
    const QString good = saveAsNext();
    const QString art = saved("art.CDB");
    QFile f(art);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("art");
    f.close();
    struct Case {
        QString name;
        const char* message;
    };
    const std::vector<Case> cases = {
        { saved("card.CDB"), "the ending .CDB is kept" },
        { saved("art.CDB"), "the ending .CDB is kept" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QByteArray before = readAll(c.name);
        modal->fileNames = { c.name };
        window->fileCommands().saveAs();
        EXPECT_TRUE(modal->messages.back().text.contains(c.message)) << modal->messages.back().text.toStdString();
        EXPECT_EQ(readAll(c.name), before);
        EXPECT_EQ(window->context().card().fileName, good);
    }
}

// Save never replaces a file the user protected: the card or its sidecar
// marked read-only stays as it was, the message says why, and the card
// keeps its unsaved changes.
TEST_F(FileFixture, SaveRefusesReadOnlyFilesWithTheReason)
{
    const struct {
        const char* protect; // "card" or "sidecar"
        mode_t mode;
    } cases[] = { { "card", 0444 }, { "card", 0400 }, { "sidecar", 0444 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.protect) + " " + std::to_string(c.mode));
        draw(10, 20, 50, 30);
        const QString path = saveAsNext();
        const QString sidecar = SidecarFileName(path);
        QFile f(sidecar);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("art.bmp\r\n");
        f.close();
        const QString target = QByteArray(c.protect) == "card" ? path : sidecar;
        const QByteArray card = readAll(path), side = readAll(sidecar);
        ::chmod(QFile::encodeName(target).constData(), c.mode);
        draw(60, 20, 50, 30);
        ASSERT_TRUE(window->context().card().changesMade);
        window->fileCommands().save();
        // As the administrator the mode says read-only; as a user the system refuses.
        const QString message = modal->messages.back().text;
        EXPECT_TRUE(message == "Cannot create file " + target + ": the file is read-only"
            || message == "Cannot create file " + target + ": Permission denied")
            << message.toStdString();
        EXPECT_EQ(readAll(path), card);
        EXPECT_EQ(readAll(sidecar), side);
        EXPECT_TRUE(window->context().card().changesMade);
        ::chmod(QFile::encodeName(target).constData(), 0644);
        window->fileCommands().newCard();
    }
}

TEST_F(FileFixture, OpenRefusesOtherExtensionsAndDeleteLeavesShownCard)
{
    modal->fileNames = { folder.filePath("picture.bmp") };
    window->fileCommands().open();
    EXPECT_EQ(modal->messages.back().text, "Must be a CDW (Cardora) file");
    EXPECT_EQ(modal->fileRequests.back().title, "Open Business Card");

    draw(10, 20, 50, 30);
    const QString path = saveAsNext();
    modal->fileNames = { path };
    modal->answers = { mrYes };
    window->fileCommands().deleteCard();
    EXPECT_EQ(modal->messages.back().text, "Delete " + path + "?");
    EXPECT_EQ(modal->messages.back().caption, "CONFIRM");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(panel().Objects().size(), 1u);
    EXPECT_EQ(window->context().card().fileName, path);
    window->fileCommands().save();
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(FileFixture, RecentFilesKeepFiveMostRecentWithoutDuplicates)
{
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        const QString p = saved(QString("card%1.CDW").arg(i));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray("\x01\x00", 2));
        f.close();
        paths << p;
        window->fileCommands().openCard(p);
    }
    QStringList expected = { paths[5], paths[4], paths[3], paths[2], paths[1] };
    EXPECT_EQ(window->context().recentFiles().Items(), expected);
    window->fileCommands().openCard(paths[2]);
    expected = QStringList { paths[2], paths[5], paths[4], paths[3], paths[1] };
    EXPECT_EQ(window->context().recentFiles().Items(), expected);
    IniFile ini(PreferencesFileName());
    EXPECT_EQ(ini.ReadString("MRU", "F0", ""), paths[2]);
    EXPECT_EQ(window->Action("Recent1")->text(), "&1 " + paths[2]);
    EXPECT_EQ(window->Action("Recent5")->text(), "&5 " + paths[1]);
}

TEST_F(FileFixture, CancellingSaveAsAfterSaveChangesKeepsTheCardWithoutAnotherQuestion)
{
    draw(10, 20, 50, 30);
    modal->answers = { mrYes };
    modal->fileNames = { QString() }; // Save As cancelled
    window->fileCommands().newCard();
    EXPECT_TRUE(window->context().card().changesMade);
    int asked = 0;
    for (const auto& m : modal->messages)
        asked += m.text == "Save changes?";
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(panel().Objects().size(), 1u);
}

TEST_F(FileFixture, SidecarHoldsBackgroundArtPath)
{
    draw(10, 20, 50, 30);
    const QString card = saveAsNext();
    EXPECT_FALSE(QFile::exists(SidecarFileName(card)));
}

TEST_F(FileFixture, CutCopyPasteThroughTheClipFile)
{
    PlainObject* a = draw(10, 20, 50, 30);
    panel().AddToSelection(a);
    std::uint32_t now = 5000;
    SetTickSourceForTesting([&] { return now; });
    panel().KeyDown(Qt::Key_C, Qt::ControlModifier);
    panel().KeyDown(Qt::Key_V, Qt::ControlModifier);
    panel().KeyDown(Qt::Key_V, Qt::ControlModifier); // within a second: ignored
    ASSERT_EQ(panel().Objects().size(), 2u);
    now += 1500;
    panel().KeyDown(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(panel().Objects().size(), 3u);
    // Each paste offsets from the stored place, so both copies coincide.
    EXPECT_EQ(panel().Objects()[1]->BoundsRect(), QRect(26, 35, 50, 30));
    EXPECT_EQ(panel().Objects()[2]->BoundsRect(), QRect(26, 35, 50, 30));
    EXPECT_NE(panel().Objects()[1]->Name(), panel().Objects()[2]->Name());
    panel().ClearSelection();
    panel().AddToSelection(a);
    panel().KeyDown(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(panel().Objects().size(), 2u);
    SetTickSourceForTesting(nullptr);
}

TEST_F(FileFixture, CloneSitsTwentyFiveBelowInFrontAndTakesTheSelection)
{
    PlainObject* a = draw(10, 50, 50, 30);
    PlainObject* b = draw(30, 60, 50, 30);
    panel().AddToSelection(a);
    a->Clone();
    ASSERT_EQ(panel().Objects().size(), 3u);
    TQGraphicControl* copy = panel().Objects().back();
    EXPECT_NE(copy, b);
    EXPECT_EQ(copy->Top(), 75);
    EXPECT_EQ(copy->Left(), a->Left());
    EXPECT_TRUE(panel().IsSelected(copy));
    EXPECT_FALSE(panel().IsSelected(a));
}
