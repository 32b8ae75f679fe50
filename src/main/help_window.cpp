#include "main/help_window.h"
#include "core/app_folder.h"
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace cardora {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("HelpWindow");
    setWindowTitle("Cardora Help");
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    l->addWidget(browser_);
    resize(560, 480);
}

HelpWindow& HelpWindow::Instance()
{
    static HelpWindow* w = new HelpWindow;
    return *w;
}

void HelpWindow::open(const QString& page)
{
    QString path = HelpFolder() + page;
    if (!QFileInfo::exists(path))
        path = HelpFolder() + "contents.html";
    current_ = QFileInfo(path).fileName();
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowTopic(int topic) { open(QString::number(topic) + ".html"); }
void HelpWindow::ShowContents() { open("contents.html"); }

void ShowHelpTopic(int topic) { HelpWindow::Instance().ShowTopic(topic); }
void ShowHelpContents() { HelpWindow::Instance().ShowContents(); }

} // namespace cardora
