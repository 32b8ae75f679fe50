#include "main/view_commands.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace cardora {

namespace {
// The zooms the steps go through; tenths around 100 %, so stepping back
// always lands exactly on 1.
constexpr int kZoomSteps[] = { 25, 33, 50, 67, 75, 100, 110, 120, 130, 140, 150, 200, 300, 400 };
constexpr float kSmallestZoom = 0.25f, kLargestZoom = 4.0f;
} // namespace

ViewCommands::ViewCommands(CommandContext& context, std::function<QSize()> room, QObject* parent)
    : CommandFamily(context, parent), room_(std::move(room))
{
    addAction("mnuZoomIn", "Zoom &In", [this] { zoomBy(true); })->setShortcut(QKeySequence::ZoomIn);
    addAction("mnuZoomOut", "Zoom &Out", [this] { zoomBy(false); })->setShortcut(QKeySequence::ZoomOut);
    addAction("mnuActualSize", "&Actual Size", [this] { setZoom(1.0f); })->setShortcut(QKeySequence("Ctrl+0"));
    addAction("mnuFitToWindow", "&Fit to Window", [this] { zoomToFit(); })->setShortcut(QKeySequence("Ctrl+9"));
}

void ViewCommands::zoomBy(bool up)
{
    const int percent = static_cast<int>(std::lround(context_.panel().Zoom() * 100.0f));
    int next = percent;
    if (up) {
        for (int step : kZoomSteps)
            if (step > percent) {
                next = step;
                break;
            }
    } else {
        for (int step : kZoomSteps)
            if (step < percent)
                next = step;
    }
    setZoom(static_cast<float>(next) / 100.0f);
}

void ViewCommands::setZoom(float z)
{
    z = std::clamp(z, kSmallestZoom, kLargestZoom);
    CardFileState& card = context_.card();
    const bool suppressed = card.suppressChanges;
    card.suppressChanges = true;
    if (z != context_.panel().Zoom())
        context_.panel().SetZoom(z);
    context_.zoomChanged();
    QCoreApplication::processEvents();
    card.suppressChanges = suppressed;
}

void ViewCommands::zoomToFit()
{
    const QSize card = context_.panel().CardSize();
    const QSize room = room_();
    if (card.isEmpty() || room.isEmpty())
        return;
    // The margins the window keeps around the card, and the bleed band.
    const double bleed = 2 * std::ceil(context_.panel().Bleed());
    const double z = std::min((room.width() - 22 - bleed) / (card.width() + bleed),
        (room.height() - 18 - bleed) / (card.height() + bleed));
    setZoom(static_cast<float>(std::floor(z * 100.0) / 100.0));
}

} // namespace cardora
