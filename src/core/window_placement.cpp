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

QRect PlaceOnScreens(const StoredEdges& stored, QSize fallback, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return QRect(QPoint(0, 0), fallback);
    qint64 left = stored.left, top = stored.top;
    qint64 width = stored.right - stored.left, height = stored.bottom - stored.top;
    if (width <= 0 || height <= 0) {
        width = fallback.width();
        height = fallback.height();
    }
    // The screen it overlaps most; off every screen, the first (primary).
    auto overlap = [&](const QRect& a) {
        const qint64 w = std::min<qint64>(left + width, qint64(a.left()) + a.width()) - std::max<qint64>(left, a.left());
        const qint64 h = std::min<qint64>(top + height, qint64(a.top()) + a.height()) - std::max<qint64>(top, a.top());
        return w > 0 && h > 0 ? w * h : 0;
    };
    QRect area = screens.first();
    qint64 best = 0;
    for (const QRect& a : screens)
        if (const qint64 o = overlap(a); o > best) {
            best = o;
            area = a;
        }
    width = std::clamp<qint64>(width, 1, std::max(1, area.width()));
    height = std::clamp<qint64>(height, 1, std::max(1, area.height()));
    left = std::clamp<qint64>(left, area.left(), qint64(area.left()) + area.width() - width);
    top = std::clamp<qint64>(top, area.top(), qint64(area.top()) + area.height() - height);
    return QRect(int(left), int(top), int(width), int(height));
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
            // A placement from another screen set-up (or a damaged file)
            // still opens where the user can reach the window.
            QList<QRect> screens;
            if (QScreen* primary = QGuiApplication::primaryScreen())
                screens << primary->availableGeometry();
            for (QScreen* s : QGuiApplication::screens())
                if (s != QGuiApplication::primaryScreen())
                    screens << s->availableGeometry();
            window.setGeometry(PlaceOnScreens({ left, top, right, bottom }, window.size(), screens));
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
    QWidget* main = ProgramWindow();
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
