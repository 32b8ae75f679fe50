#pragma once
#include "objects/graphic_control.h"
#include <QPainter>

namespace cardora::test {

// A card object that only fills its box, for panel and window tests.
class PlainObject : public TQGraphicControl {
public:
    using TQGraphicControl::TQGraphicControl;
    QString ClassName() const override { return "TTestPlain"; }
    static QString StaticClassName() { return "TTestPlain"; }
    static TQGraphicControl* Create(QObject* owner) { return new PlainObject(owner); }
    TColor Fill = clRed;
    void Paint() override
    {
        CurrentCanvas()->fillRect(QRect(0, 0, Width(), Height()), ToQColor(Fill));
        DrawSelectionMarkers();
    }
};

} // namespace cardora::test
