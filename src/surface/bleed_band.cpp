#include "surface/bleed_band.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include <QPainter>

namespace cardora {

TBleedBand::TBleedBand(CardView& panel, QWidget* parent) : QWidget(parent), panel_(panel)
{
    setObjectName("BleedBand");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TBleedBand::Follow()
{
    const int b = panel_.BleedAtZoom();
    if (b <= 0) {
        hide();
        return;
    }
    setGeometry(panel_.geometry().adjusted(-b, -b, b, b));
    stackUnder(&panel_);
    show();
    update();
}

void TBleedBand::paintEvent(QPaintEvent*)
{
    const int b = panel_.BleedAtZoom();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    {
        p.save();
        p.translate(b, b);
        p.scale(panel_.Zoom(), panel_.Zoom());
        for (TQGraphicControl* o : panel_.Objects())
            if (o->Visible())
                o->PaintTo(p, o->Left(), o->Top());
        p.restore();
    }
    // Dimmed: what is here prints, but the shop trims it away.
    QRegion band(rect());
    band -= QRect(b, b, panel_.width(), panel_.height());
    p.setClipRegion(band);
    p.fillRect(rect(), QColor(150, 150, 160, 120));
    if (panel_.ShowGuides()) {
        p.setPen(QPen(QColor(220, 0, 0), 0, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace cardora
