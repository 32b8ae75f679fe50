#include "main/help_window.h"
#include "core/app_folder.h"
#include "core/context_help.h"
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
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
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    l->addWidget(browser_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setContentsMargins(6, 0, 6, 6);
    buttons->button(QDialogButtonBox::Close)->setObjectName("CloseButton");
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    l->addWidget(buttons);
    // An open help window alone does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 520);
}

HelpWindow& HelpWindow::Instance()
{
    static HelpWindow* w = new HelpWindow;
    return *w;
}

namespace {
QString pageTitle(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QString html = QString::fromUtf8(f.read(4096));
    const QRegularExpressionMatch m = QRegularExpression("<title>([^<]*)</title>").match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : QFileInfo(path).baseName();
}

// The contents page lists every page shipped, so pages added with new
// dialogs appear without editing it.
QString contentsHtml(const QString& folder)
{
    QFile f(folder + "contents.html");
    QString html = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString("<!--topics-->");
    QStringList items;
    QMap<QString, QString> byTitle;
    for (const QString& name : QDir(folder).entryList({ "*.html" }, QDir::Files))
        if (name != "contents.html")
            byTitle.insert(pageTitle(folder + name), name);
    for (auto it = byTitle.cbegin(); it != byTitle.cend(); ++it)
        items << QString("<li><a href=\"%1\">%2</a></li>").arg(it.value(), it.key().toHtmlEscaped());
    return html.replace("<!--topics-->", "<ul>" + items.join("\n") + "</ul>");
}
} // namespace

void HelpWindow::open(const QString& page)
{
    QString path = HelpFolder() + page;
    if (!QFileInfo::exists(path) || page == "contents.html") {
        current_ = "contents.html";
        browser_->setSearchPaths({ HelpFolder() });
        browser_->setHtml(contentsHtml(HelpFolder()));
        show();
        raise();
        activateWindow();
        return;
    }
    current_ = QFileInfo(path).fileName();
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::ShowTopic(int topic) { open(QString::number(topic) + ".html"); }
void HelpWindow::ShowContents() { open("contents.html"); }

void ShowHelpTopic(int topic) { HelpWindow::Instance().ShowTopic(topic); }
void ShowHelpContents() { HelpWindow::Instance().ShowContents(); }

void InstallProgramHelp()
{
    QFile table(":/whatsthis.txt");
    if (table.open(QIODevice::ReadOnly))
        SetWhatsThisTexts(ParseWhatsThisTexts(table.readAll()));
    InstallContextHelp();
}

void CloseHelpWindow()
{
    // Never creates the window just to close it.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<HelpWindow*>(w))
            w->close();
}

} // namespace cardora
