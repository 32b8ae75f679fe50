#pragma once
#include <QPaintDevice>
#include <QPainter>
#include <memory>

namespace cardora {

// A paint device that hands everything drawn on it to an engine of ours,
// which passes it on to another device or painter; it answers questions
// about itself as that device does.
class TForwardingDevice : public QPaintDevice {
public:
    ~TForwardingDevice() override;
    TForwardingDevice(const TForwardingDevice&) = delete;
    TForwardingDevice& operator=(const TForwardingDevice&) = delete;

    QPaintEngine* paintEngine() const override { return engine_.get(); }

protected:
    TForwardingDevice(QPaintDevice& target, std::unique_ptr<QPaintEngine> engine);
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintDevice& target_;
    std::unique_ptr<QPaintEngine> engine_;
};

// Passes everything on to another device, doing the clipping itself: shapes
// and text are cut to the clip as vector paths, pictures are masked. For
// devices that ignore clips (Qt's SVG generator), so that a clipped fill or
// a card's edge comes out as it does on paper.
class TClipEmulatingDevice : public TForwardingDevice {
public:
    explicit TClipEmulatingDevice(QPaintDevice& target);
};

// Draws through a painter already at work (a page's), so that a recorded
// picture replayed on it stays inside that painter's clip: the card's edge
// and the object's box hold whatever clips the picture itself sets.
class TClipConfiningDevice : public TForwardingDevice {
public:
    explicit TClipConfiningDevice(QPainter& outer);
};

} // namespace cardora
