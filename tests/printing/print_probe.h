#pragma once
#include "core/window_placement.h"
#include "objects/graphic_control.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include <QPointF>
#include <vector>

namespace cardora::test {

// A card object that records where the job asks it to print and fills its
// box there in blue, so that both the call and the ink can be checked.
class PrintProbe : public TQGraphicControl {
public:
    using TQGraphicControl::TQGraphicControl;
    QString ClassName() const override { return kind; }
    QString kind = "TTestProbe";

    struct Call {
        QPointF at;
        bool printing;
        bool previewing;
    };
    std::vector<Call> calls;

    void PrintAt(TReport& report, double x, double y) override
    {
        auto* panel = dynamic_cast<CardView*>(ParentPanel());
        calls.push_back({ QPointF(x, y), panel && panel->Printing(), panel && panel->Previewing() });
        const double ppi = ScreenPixelsPerInch();
        report.SetPen(clBlue, PenStyle::Clear, 1, PenMode::Copy);
        report.SetBrush(clBlue, BrushStyle::Solid);
        report.Rectangle(x + Left() / ppi, y + Top() / ppi, x + (Left() + Width()) / ppi, y + (Top() + Height()) / ppi);
    }
};

// A card panel of the default card size holding one probe.
struct ProbeCard {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    PrintProbe* probe = nullptr;

    explicit ProbeCard(QRect box = QRect(48, 48, 96, 48))
    {
        panel.SetShape(CardShape::Rectangle);
        panel.SetPanelSize(336, 192);
        probe = new PrintProbe(&owner);
        panel.AddObject(probe);
        probe->SetBounds(box.x(), box.y(), box.width(), box.height());
    }
    std::vector<QPointF> Places() const
    {
        std::vector<QPointF> out;
        for (const auto& c : probe->calls)
            out.push_back(c.at);
        return out;
    }
};

// A recording report whose driver makes copies itself.
class CopyingReport : public TRecordingReport {
public:
    using TRecordingReport::TRecordingReport;
    int DriverMaxCopies() const override { return 99; }
};

// Letter paper at 100 dots per inch without unprintable margins.
inline TPageMetrics LetterAt(int dpi, QMarginsF unprintable = QMarginsF())
{
    TPageMetrics m;
    m.paperInches = QSizeF(8.5, 11.0);
    m.xDpi = m.yDpi = dpi;
    m.unprintableInches = unprintable;
    return m;
}

} // namespace cardora::test
