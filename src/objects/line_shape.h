#pragma once
#include "objects/graphic_control.h"
#include <QLineF>
#include <QStringList>
#include <array>

class QAction;
class QMenu;

namespace cardora {

enum class LineStyle { Horizontal, Vertical, AngleSlopingUp, AngleSlopingDown };

const QStringList& LineStyleNames();

// A straight line across the object's box: horizontal, vertical or along
// either diagonal.
class TQLineShape : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQLineShape(QObject* owner = nullptr);
    ~TQLineShape() override;

    static QString StaticClassName() { return QStringLiteral("TQLineShape"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQLineShape(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the line tool creates, Loaded.
    static TQLineShape* CreateForTool(QObject* owner);

    cardora::LineStyle LineStyle() const { return lineStyle_; }
    void SetLineStyle(cardora::LineStyle v);
    TPen* Pen() { return &pen_; }
    void SetPen(const TPen& p) { pen_.Assign(p); }

    const PropertyTable& Properties() const override;

    void Paint() override;
    void PopupOpening() override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch.
    void PrintAtResolution(TReport& report, double x, double y, int ppi);

    // The pen width drawn: the stored width, bounded (0 is the thinnest line).
    int DrawnPenWidth() const;
    // The line on screen in object pixels, from its first to its last point.
    QLine ScreenLine() const;

    // Menu commands.
    void ChooseLineColor();
    void StretchToEdges();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void penChanged();

    cardora::LineStyle lineStyle_ = cardora::LineStyle::Horizontal;
    TPen pen_;
    std::array<QAction*, 10> thicknessItems_ {};
    std::array<QAction*, 4> styleItems_ {};
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterLineKind();

} // namespace cardora
