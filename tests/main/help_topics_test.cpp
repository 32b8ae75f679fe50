#include "core/app_folder.h"
#include "main/help_window.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <set>

using namespace cardora;

namespace {
QString read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Every help topic number the program opens: the topic constants of its
// dialogs and the numbers passed to the help functions.
std::set<int> topicsUsedInCode()
{
    static const QRegularExpression patterns[] = {
        QRegularExpression(R"(k?Help(?:Topic|Context)\w*\s*=\s*(\d{3,5})\b)"),
        QRegularExpression(R"([Ss]how(?:Dialog)?Help(?:Topic)?\s*\(\s*(\d{3,5})\s*\))"),
        QRegularExpression(R"(HelpRequested\s*\(\s*(\d{3,5})\s*\))"),
        QRegularExpression(R"(AddDialogButtons\s*\([^;]*,\s*(\d{3,5})\s*\))"),
        // The topics F1 opens on a control, and the tool bar's table of them.
        QRegularExpression(R"(SetHelpTopic\s*\(\s*\w+\s*,\s*(\d{3,5})\s*\))"),
        QRegularExpression(R"(\bps\w+,\s*(\d{3,5})\s*\})"),
    };
    std::set<int> topics;
    QDirIterator it(QString(CARDORA_SOURCE_DIR) + "/src", { "*.cpp", "*.h" }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString text = read(it.next());
        for (const QRegularExpression& re : patterns)
            for (auto m = re.globalMatch(text); m.hasNext();)
                topics.insert(m.next().captured(1).toInt());
    }
    return topics;
}
} // namespace

// One table: each topic the code opens against its page in help/.
TEST(HelpTopics, EveryTopicTheProgramOpensHasAPageThatExplainsTheWindow)
{
    const std::set<int> used = topicsUsedInCode();
    // The topics the main window, the print dialogs and the card objects'
    // dialogs are known to open; new ones are found in the code as well.
    for (int known : { 911, 1041, 2016, 2020, 2021, 2039, 2101, 2102, 2103, 2104, 3101, 40001, 40004, 40005, 40008 })
        EXPECT_TRUE(used.count(known)) << "topic " << known << " no longer found in the code";
    const QString folder = QString(CARDORA_SOURCE_DIR) + "/help/";
    for (int topic : used) {
        const QString html = read(folder + QString::number(topic) + ".html");
        ASSERT_FALSE(html.isEmpty()) << "no page help/" << topic << ".html";
        const auto title = QRegularExpression("<title>([^<]+)</title>").match(html);
        EXPECT_TRUE(title.hasMatch()) << topic;
        QString body = html;
        body.remove(QRegularExpression("<[^>]*>"));
        EXPECT_GT(body.simplified().size(), 300) << "page " << topic << " says too little";
        EXPECT_TRUE(html.contains("href=\"contents.html\"")) << "page " << topic << " has no way back";
    }
}

TEST(HelpTopics, ContentsListsEveryPageAndEachTopicOpensItsOwn)
{
    QTemporaryDir folder;
    const QString before = ApplicationFolder();
    SetApplicationFolder(folder.path());
    // The pages as they are shipped.
    QDir(folder.path()).mkdir("help");
    const QDir source(QString(CARDORA_SOURCE_DIR) + "/help");
    for (const QString& name : source.entryList({ "*.html" }, QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(name), folder.filePath("help/" + name)));
    HelpWindow w;
    for (int topic : topicsUsedInCode()) {
        w.ShowTopic(topic);
        EXPECT_EQ(w.CurrentPage(), QString::number(topic) + ".html");
    }
    w.ShowContents();
    const QString contents = w.findChild<QTextBrowser*>()->toHtml();
    for (const QString& name : source.entryList({ "*.html" }, QDir::Files))
        if (name != "contents.html")
            EXPECT_TRUE(contents.contains(name)) << name.toStdString() << " is missing from the contents";
    SetApplicationFolder(before);
}
