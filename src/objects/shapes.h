#pragma once
#include "objects/graphic_control.h"
#include <QStringList>
#include <array>
#include <functional>

class QAction;
class QColor;
class QMenu;
class QPainter;

namespace cardora {

enum class ShapeType { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };

const QStringList& ShapeTypeNames();

// Pieces shared by the plain shapes and the line.
namespace plain_drawing {
// Pen widths from a card file are not trusted: drawing uses 0..1000.
int SaneWidth(int width);
// The "Line Thickness" submenu: "1 Point" .. "10 Point".
QMenu* AddThicknessMenu(QMenu& menu, QObject* context, std::array<QAction*, 10>& items,
    const std::function<void(int width)>& choose);
void CheckThickness(const std::array<QAction*, 10>& items, int width);
} // namespace plain_drawing

// A rectangle, rounded rectangle or ellipse filling the object's box,
// outlined with Pen and filled with Brush unless Transparent.
class TQLabelShapes : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQLabelShapes(QObject* owner = nullptr);
    ~TQLabelShapes() override;

    static QString StaticClassName() { return QStringLiteral("TQLabelShapes"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQLabelShapes(owner); }
    QString ClassName() const override { return StaticClassName(); }

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TBrush* Brush() { return &brush_; }
    void SetBrush(const TBrush& b) { brush_.Assign(b); }
    TPen* Pen() { return &pen_; }
    void SetPen(const TPen& p) { pen_.Assign(p); }
    int RoundPerc() const { return roundPerc_; }
    void SetRoundPerc(int v);
    ShapeType Shape() const { return shape_; }
    void SetShape(ShapeType v);

    const PropertyTable& Properties() const override;

    void Loaded() override;
    void Paint() override;
    void PopupOpening() override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch.
    void PrintAtResolution(TReport& report, double x, double y, int ppi);

    // The pen width drawn: the stored width, bounded.
    int DrawnPenWidth() const;
    // Width and height of the rounded corners on screen.
    int CornerSize() const;
    bool IsRounded() const { return shape_ == ShapeType::RoundRect || shape_ == ShapeType::RoundSquare; }

    // Menu commands.
    void ChooseBackgroundColor();
    void ChooseLineColor();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void attributeChanged();

    bool transparent_ = false;
    TBrush brush_;
    TPen pen_;
    int roundPerc_ = 25;
    ShapeType shape_ = ShapeType::Rectangle;
    // Whether the menu gets the rounding submenu, fixed when Loaded runs.
    int roundingMenu_ = -1; // -1: not decided yet
    std::array<QAction*, 10> thicknessItems_ {};
    QAction* transparentItem_ = nullptr;
};

// The kind the drawing tools make; stored and drawn exactly like its parent class.
class TBCShapes : public TQLabelShapes {
    Q_OBJECT
public:
    explicit TBCShapes(QObject* owner = nullptr) : TQLabelShapes(owner) {}

    static QString StaticClassName() { return QStringLiteral("TBCShapes"); }
    static TQGraphicControl* Create(QObject* owner) { return new TBCShapes(owner); }
    QString ClassName() const override { return StaticClassName(); }

    // What the rectangle, ellipse and rounded-rectangle tools create, Loaded.
    static TBCShapes* CreateForTool(QObject* owner, ShapeType shape);
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterShapeKinds();

} // namespace cardora
