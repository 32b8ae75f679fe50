#pragma once
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace cardora {

// The ini section that holds a window's placement: its class name and
// "_Placement", with the screen's pixels per inch appended above 96.
QString PlacementSection(const QString& className, int ppi);

// A stored rectangle pulled back onto a screen of the given size, keeping its size.
QRect ClampToScreen(QRect stored, QSize screen);

// Edges as stored, wide enough that any pair of ints subtracts exactly.
struct StoredEdges {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
};
// A stored placement on the available areas of the screens (the primary
// first): on the screen it overlaps most, or the primary when it is off
// every screen, shrunk to fit and moved fully inside. An empty or inverted
// size takes `fallback`.
QRect PlaceOnScreens(const StoredEdges& stored, QSize fallback, const QList<QRect>& screens);

void SaveWindowPlacement(QWidget& window, const QString& className);
void RestoreWindowPlacement(QWidget& window, const QString& className);

// The main window is centred on the screen; other windows over the main
// window, or on the screen while the main window is maximised.
void CentreDialog(QWidget& window);

int ScreenPixelsPerInch();
QSize ScreenSize();

} // namespace cardora
