#pragma once
#include <QPaintDevice>
#include <QPainter>
#include <memory>

namespace cardora {

class ClipConfiningEngine;
class ClipEmulatingEngine;

// A paint device that passes everything on to another one, doing the
// clipping itself: shapes and text are cut to the clip as vector paths,
// pictures are masked. For devices that ignore clips (Qt's SVG generator),
// so that a clipped fill or a card's edge comes out as it does on paper.
class TClipEmulatingDevice : public QPaintDevice {
public:
    explicit TClipEmulatingDevice(QPaintDevice& target);
    ~TClipEmulatingDevice() override;
    TClipEmulatingDevice(const TClipEmulatingDevice&) = delete;
    TClipEmulatingDevice& operator=(const TClipEmulatingDevice&) = delete;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintDevice& target_;
    std::unique_ptr<ClipEmulatingEngine> engine_;
};

// A paint device that draws through a painter already at work (a page's),
// so that a recorded picture replayed on it stays inside that painter's
// clip: the card's edge and the object's box hold whatever clips the
// picture itself sets.
class TClipConfiningDevice : public QPaintDevice {
public:
    explicit TClipConfiningDevice(QPainter& outer);
    ~TClipConfiningDevice() override;
    TClipConfiningDevice(const TClipConfiningDevice&) = delete;
    TClipConfiningDevice& operator=(const TClipConfiningDevice&) = delete;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintDevice& target_;
    std::unique_ptr<ClipConfiningEngine> engine_;
};

} // namespace cardora
