#include "core/window_placement.h"
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace cardora {

int ScreenPixelsPerInch()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return static_cast<int>(std::lround(s->logicalDotsPerInch()));
    return 96;
}

QSize ScreenSize()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry().size();
    return QSize(1024, 768);
}

QString PlacementSection(const QString& className, int ppi)
{
    QString s = className + "_Placement";
    if (ppi > 96)
        s += QString::number(ppi);
    return s;
}

QRect ClampToScreen(QRect r, QSize screen)
{
    // Rectangles here are Left/Top/Right/Bottom with exclusive right and bottom.
    int left = r.left(), top = r.top();
    const int w = r.width(), h = r.height();
    if (left + w > screen.width())
        left -= left + w - screen.width();
    if (top + h > screen.height())
        top -= top + h - screen.height();
    return QRect(left, top, w, h);
}

void SaveWindowPlacement(QWidget& window, const QString& className)
{
    IniFile ini(PreferencesFileName());
    const QString section = PlacementSection(className, ScreenPixelsPerInch());
    const QRect n = window.isMaximized() ? window.normalGeometry() : window.geometry();
    ini.WriteInteger(section, "Left", n.left());
    ini.WriteInteger(section, "Top", n.top());
    ini.WriteInteger(section, "Right", n.left() + n.width());
    ini.WriteInteger(section, "Bottom", n.top() + n.height());
    ini.WriteBool(section, "Maximized", window.isMaximized());
}

void RestoreWindowPlacement(QWidget& window, const QString& className)
{
    const QString section = PlacementSection(className, ScreenPixelsPerInch());
    {
        IniFile ini(PreferencesFileName());
        const int left = ini.ReadInteger(section, "Left", 0);
        const int top = ini.ReadInteger(section, "Top", 0);
        const int right = ini.ReadInteger(section, "Right", 0);
        const int bottom = ini.ReadInteger(section, "Bottom", 0);
        const bool maximized = ini.ReadBool(section, "Maximized", window.isMaximized());
        if (bottom == 0) {
            CentreDialog(window);
        } else {
            const QRect r = ClampToScreen(QRect(left, top, right - left, bottom - top), ScreenSize());
            window.setGeometry(r);
        }
        if (maximized)
            window.showMaximized();
    }
    SaveWindowPlacement(window, className);
}

void CentreDialog(QWidget& window)
{
    const QSize size = window.frameGeometry().size().isValid() && window.isVisible()
        ? window.frameGeometry().size()
        : window.size();
    QWidget* main = MainWindow();
    if (main == &window || !main || main->isMaximized()) {
        const QSize screen = ScreenSize();
        window.move((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
        return;
    }
    const QRect m = main->geometry();
    // Over the main window, but never off the screen's top or left edge.
    const QRect r = ClampToScreen(QRect(m.left() + (m.width() - size.width()) / 2,
                                      m.top() + (m.height() - size.height()) / 2, size.width(), size.height()),
        ScreenSize());
    window.move(std::max(0, r.left()), std::max(0, r.top()));
}

} // namespace cardora
