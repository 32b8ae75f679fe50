#include "surface/card_panel.h"
#include "objects/graphic_control.h"
#include "surface/object_kinds.h"
#include <QPainter>
#include <QPointer>

namespace cardora {

CardPanel::CardPanel(QWidget* parent, QObject* owner) : CardView(parent, owner)
{
    RegisterCardObjectKinds();
    for (QString& s : personalInfo_)
        s.clear();
    personalRecord_ = PersonalRecord(personalInfo_);
    SetZoom(1.0f);
}

void CardPanel::SetPanelState(PanelTool s)
{
    if (s == panelState_)
        return;
    panelState_ = s;
    SetPointing(s == PanelTool::Pointing);
    setCursor(s == PanelTool::Pointing ? Qt::ArrowCursor : Qt::CrossCursor);
}

void CardPanel::SetPersonalInfo(const QStringList& values)
{
    for (int i = 0; i < 10; ++i)
        personalInfo_[i] = i < values.size() ? values[i] : QString();
    personalRecord_ = PersonalRecord(personalInfo_);
    FieldValuesChangedForAll();
}

void CardPanel::CreateObjectForRect(QRect& r)
{
    draggedRect_ = r;
    if (r.width() < 25)
        r.setWidth(50);
    if (r.height() < 15)
        r.setHeight(15);
    const ObjectTool* tool = ObjectKinds::Tool(int(panelState_));
    if (!tool || !tool->create)
        return;
    const PanelTool state = panelState_;
    BeginEdit();
    // The card changes only when the new object stays.
    HeldChanges held(*this);
    const ToolPlacement at { Owner(), *this, draggedRect_ };
    TQGraphicControl* o = tool->create(at);
    QPointer<TQGraphicControl> placed = o;
    if (o) {
        PlaceNewObject(o, r);
        if (tool->pointerBeforeDialog) {
            setCursor(Qt::ArrowCursor);
            SetPanelState(PanelTool::Pointing);
        }
        const bool kept = !tool->afterPlace || tool->afterPlace(at, o);
        if (!kept && placed) {
            // A cancelled dialog leaves the card as it was: no object, no step.
            FreeObject(placed.data());
            held.Drop();
        }
        // The new object is what the next command acts on (a dialog may have
        // dropped it).
        if (placed)
            SelectOnly({ placed.data() });
    }
    held.Release();
    EndEdit("New " + ToolNoun(state));
}

QString CardPanel::ToolNoun(PanelTool state)
{
    const ObjectTool* tool = ObjectKinds::Tool(int(state));
    if (tool)
        return tool->noun;
    return "Object";
}

QString CardPanel::ToolName(PanelTool state)
{
    return (state == PanelTool::Pointing ? QStringLiteral("Selection") : ToolNoun(state)) + QStringLiteral(" tool");
}

QImage CardPanel::RenderCardBitmap()
{
    // At the card's own size, whatever the view's zoom.
    const QSize card = CardSize().isEmpty() ? size() : CardSize();
    QImage image(card, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (ColorPicture().HasGraphic()) {
        try {
            ColorPicture().Draw(p, QRect(QPoint(0, 0), card));
        } catch (...) {
        }
    }
    for (TQGraphicControl* o : Objects())
        o->PaintTo(p, o->Left(), o->Top());
    return image;
}

bool CardPanel::HasFilledObjects() const
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
        const ObjectKind* kind = ObjectKinds::Find((*it)->ClassName());
        if (kind && kind->filledSurfaces)
            return true;
    }
    return false;
}

} // namespace cardora
