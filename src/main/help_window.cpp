#include "main/help_window.h"
#include "core/app_folder.h"
#include "core/context_help.h"
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QMap>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace cardora {

namespace {
QString contentsHtml(const QString& folder);

// The contents page is made when it is shown, also when a page's own
// "Contents" link asks for it.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (type == QTextDocument::HtmlResource && url.isLocalFile()
            && QFileInfo(url.toLocalFile()).fileName() == QLatin1String("contents.html"))
            return contentsHtml(HelpFolder());
        return QTextBrowser::loadResource(type, url);
    }
};
} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("HelpWindow");
    setWindowTitle("Cardora Help");
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    browser_ = new HelpBrowser(this);
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
    if (!QFileInfo::exists(path))
        path = HelpFolder() + "contents.html";
    browser_->setSource(QUrl::fromLocalFile(path));
    if (!isVisible())
        placeOnScreen();
    show();
    raise();
    activateWindow();
}

QString HelpWindow::CurrentPage() const { return QFileInfo(browser_->source().toLocalFile()).fileName(); }

void HelpWindow::placeOnScreen()
{
    // Beside the window that asked, and wholly on its screen.
    QWidget* asking = QApplication::activeWindow();
    QScreen* screen = asking ? asking->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(size().boundedTo(area.size() - frame));
    QRect wanted(asking ? asking->frameGeometry().topRight() + QPoint(8, 0) : area.topLeft(), size() + frame);
    if (wanted.right() > area.right())
        wanted.moveRight(area.right());
    if (wanted.bottom() > area.bottom())
        wanted.moveBottom(area.bottom());
    wanted.moveLeft(std::max(wanted.left(), area.left()));
    wanted.moveTop(std::max(wanted.top(), area.top()));
    move(wanted.topLeft());
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
    SetHelpTopicHandler([](int topic) {
        if (topic > 0)
            ShowHelpTopic(topic);
        else
            ShowHelpContents();
    });
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
