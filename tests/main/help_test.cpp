#include "core/app_folder.h"
#include "main/help_window.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace cardora;

TEST(Help, TopicsOpenTheirPageAndContentsListsEveryPage)
{
    QTemporaryDir folder;
    SetApplicationFolder(folder.path());
    QDir(folder.path()).mkdir("help");
    auto write = [&](const QString& name, const QString& html) {
        QFile f(folder.filePath("help/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html.toUtf8());
    };
    write("contents.html", "<html><body><h1>Help</h1><!--topics--></body></html>");
    write("2016.html", "<html><head><title>The main window</title></head><body>main</body></html>");
    write("2102.html", "<html><head><title>Personal Information</title></head><body>info</body></html>");
    HelpWindow w;
    w.ShowTopic(2016);
    EXPECT_EQ(w.CurrentPage(), "2016.html");
    w.ShowTopic(4242); // no such page: the contents
    EXPECT_EQ(w.CurrentPage(), "contents.html");
    const QString html = w.findChild<QTextBrowser*>()->toHtml();
    EXPECT_TRUE(html.contains("The main window"));
    EXPECT_TRUE(html.contains("Personal Information"));
    EXPECT_TRUE(html.contains("2102.html"));
}
