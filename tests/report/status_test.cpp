#include "report/recording_report.h"
#include "report/status_format.h"
#include <QLabel>
#include <gtest/gtest.h>

using namespace cardora;

TEST(StatusFormat, PlaceholdersExpand)
{
    const QStringList lines { "first", "second" };
    EXPECT_EQ(ExpandStatusFormat("Printing Page %p\r%0\r%1", 3, lines), "Printing Page 3\rfirst\rsecond");
    EXPECT_EQ(ExpandStatusFormat("100%% done", 1, lines), "100% done");
    EXPECT_EQ(ExpandStatusFormat("[%9][%2]", 1, lines), "[][]"); // lines that do not exist
    EXPECT_EQ(ExpandStatusFormat("%x and 50%", 1, lines), "%x and 50%");
    EXPECT_EQ(ExpandStatusFormat("%%p is %p", 12, {}), "%p is 12");
    EXPECT_EQ(ExpandStatusFormat("", 1, lines), "");
}

TEST(StatusFormat, RefreshedOnEveryNewPageAndOnRequest)
{
    TRecordingReport report;
    report.SetPageMetrics(TPageMetrics { QSizeF(1, 1), 72, 72, {} });
    QLabel label;
    QStringList seen;
    report.SetStatusLabel(&label);
    report.SetStatusSink([&](const QString& s) { seen << s; });
    report.OnBeforePrint = [](TReport& r) {
        r.SetStatusFormat("Printing Page %p\r%0\r%1");
        r.StatusText() << "" << "";
    };
    report.OnPrint = [&](TReport& r) {
        r.StatusText()[0] = "Card 1";
        r.NewPage();
        r.StatusText()[0] = "Card 2";
        r.UpdateStatus();
    };
    report.Execute();
    EXPECT_EQ(seen, (QStringList { "Printing Page 1\n\n", "Printing Page 2\nCard 1\n", "Printing Page 2\nCard 2\n" }));
    EXPECT_EQ(label.text(), "Printing Page 2\nCard 2\n");

    report.SetStatusFormat("\rBusiness Card Preview Canceled!");
    report.UpdateStatus();
    EXPECT_EQ(label.text(), "\nBusiness Card Preview Canceled!");
    EXPECT_EQ(report.StatusString(), "\rBusiness Card Preview Canceled!");
}
