#include "core/context_help.h"
#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QWhatsThis>
#include <QWidget>

namespace cardora {

namespace {
QHash<QString, QString>& table()
{
    static QHash<QString, QString> t;
    return t;
}

std::function<void(int)>& topicHandler()
{
    static std::function<void(int)> h;
    return h;
}

const char* const kHelpTopicProperty = "cardoraHelpTopic";

QAbstractButton* helpButtonOf(QWidget* window)
{
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->objectName().compare(QLatin1String("HelpButton"), Qt::CaseInsensitive) == 0 && b->isEnabled()
            && b->window() == window)
            return b;
    return nullptr;
}

// The widget whose text answers a right click: the control itself or the
// nearest container of it in the same window that has one.
QWidget* helpTarget(QWidget* w)
{
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (!p->whatsThis().isEmpty())
            return p;
        if (p->isWindow())
            break;
    }
    return nullptr;
}

QMenu* menuFor(QWidget* w)
{
    QMenu* menu = nullptr;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        menu = e->createStandardContextMenu();
    else if (auto* t = qobject_cast<QTextEdit*>(w->parentWidget()); t && w == t->viewport())
        menu = t->createStandardContextMenu();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w->parentWidget()); p && w == p->viewport())
        menu = p->createStandardContextMenu();
    if (menu)
        menu->addSeparator();
    else
        menu = new QMenu;
    return menu;
}

class ContextHelpFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->isWindow() && !qobject_cast<QMenu*>(w))
                ApplyWhatsThis(w);
            return false;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1
            && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (!w)
                return false;
            QWidget* focus = QApplication::focusWidget();
            return HelpForFocus(focus && focus->window() == w->window() ? focus : w);
        }
        if (event->type() != QEvent::ContextMenu)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || QWhatsThis::inWhatsThisMode())
            return false;
        // Such a widget answers the right button itself; the event is not
        // passed on to its container either.
        if (w->property("ownContextMenu").toBool())
            return true;
        QWidget* target = helpTarget(w);
        if (!target)
            return false;
        const QPoint global = static_cast<QContextMenuEvent*>(event)->globalPos();
        QMenu* menu = menuFor(w);
        menu->setObjectName("WhatsThisMenu");
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction* item = menu->addAction("What's this?");
        item->setObjectName("WhatsthisMenuItem");
        QPointer<QWidget> guard(target);
        // Shown once the menu has closed and given the focus back, which
        // would otherwise close the text at once.
        QObject::connect(item, &QAction::triggered, qApp, [guard, global] {
            QTimer::singleShot(0, qApp, [guard, global] {
                if (guard)
                    QWhatsThis::showText(global, guard->whatsThis(), guard);
            });
        });
        menu->popup(global);
        return true;
    }
};
} // namespace

void SetWhatsThisTexts(const QHash<QString, QString>& texts) { table() = texts; }

QHash<QString, QString> ParseWhatsThisTexts(const QByteArray& text)
{
    QHash<QString, QString> texts;
    QString section = "*";
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        value.replace("\\n", "\n");
        texts.insert(section + "/" + line.left(eq).trimmed(), value);
    }
    return texts;
}

QString WhatsThisTextFor(const QString& windowName, const QString& controlName)
{
    if (controlName.isEmpty())
        return QString();
    const QString own = table().value(windowName + "/" + controlName);
    return own.isEmpty() ? table().value("*/" + controlName) : own;
}

void ApplyWhatsThis(QWidget* window)
{
    if (!window || table().isEmpty())
        return;
    const QString name = window->objectName();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->whatsThis().isEmpty() || w->window() != window || w->objectName().isEmpty())
            continue;
        // A panel inside a window may have a section of its own.
        QString text;
        for (QWidget* p = w->parentWidget(); p && p != window && text.isEmpty(); p = p->parentWidget())
            if (!p->objectName().isEmpty())
                text = table().value(p->objectName() + "/" + w->objectName());
        if (text.isEmpty())
            text = WhatsThisTextFor(name, w->objectName());
        if (!text.isEmpty())
            w->setWhatsThis(text);
    }
    for (QAction* a : window->findChildren<QAction*>()) {
        if (!a->whatsThis().isEmpty())
            continue;
        const QString text = WhatsThisTextFor(name, a->objectName());
        if (!text.isEmpty())
            a->setWhatsThis(text);
    }
}

void SetHelpTopic(QWidget* widget, int topic)
{
    if (widget)
        widget->setProperty(kHelpTopicProperty, topic);
}

int HelpTopicFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int topic = w->property(kHelpTopicProperty).toInt();
        if (topic > 0)
            return topic;
        if (w->isWindow())
            break;
    }
    return 0;
}

void SetHelpTopicHandler(std::function<void(int)> handler) { topicHandler() = std::move(handler); }

bool HelpForFocus(QWidget* widget)
{
    if (!widget)
        return false;
    const int topic = HelpTopicFor(widget);
    if (topic == 0) {
        if (QAbstractButton* button = helpButtonOf(widget->window())) {
            button->click();
            return true;
        }
    }
    if (!topicHandler())
        return false;
    topicHandler()(topic);
    return true;
}

void InstallContextHelp()
{
    static QPointer<ContextHelpFilter> filter;
    if (filter || !qApp)
        return;
    filter = new ContextHelpFilter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace cardora
