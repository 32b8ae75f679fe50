#include "surface/card_panel.h"
#include "objects/graphic_control.h"
#include "surface/object_kinds.h"
#include <QPainter>
#include <map>

namespace cardora {

namespace {
std::map<TLPanelState, ObjectTool>& tools()
{
    static std::map<TLPanelState, ObjectTool> t;
    return t;
}
} // namespace

void RegisterObjectTool(TLPanelState state, ObjectTool tool) { tools()[state] = std::move(tool); }

const ObjectTool* FindObjectTool(TLPanelState state)
{
    auto it = tools().find(state);
    return it == tools().end() ? nullptr : &it->second;
}

TQBusinessCardPanel32::TQBusinessCardPanel32(QWidget* parent, QObject* owner) : TQBasePanel(parent, owner)
{
    RegisterCardObjectKinds();
    for (QString& s : personalInfo_)
        s.clear();
    SetZoom(1.0f);
}

void TQBusinessCardPanel32::SetPanelState(TLPanelState s)
{
    if (s == panelState_)
        return;
    panelState_ = s;
    SetPointing(s == psPointing);
    setCursor(s == psPointing ? Qt::ArrowCursor : Qt::CrossCursor);
}

void TQBusinessCardPanel32::SetPersonalInfo(const QStringList& values)
{
    for (int i = 0; i < 10; ++i)
        personalInfo_[i] = i < values.size() ? values[i] : QString();
}

void TQBusinessCardPanel32::CreateObjectForRect(QRect& r)
{
    if (r.width() < 25)
        r.setWidth(50);
    if (r.height() < 15)
        r.setHeight(15);
    const ObjectTool* tool = FindObjectTool(panelState_);
    if (!tool || !tool->create)
        return;
    TQGraphicControl* o = tool->create(Owner(), *this);
    if (!o)
        return;
    PlaceNewObject(o, r);
    if (tool->pointerBeforeDialog) {
        setCursor(Qt::ArrowCursor);
        SetPanelState(psPointing);
    }
    if (tool->afterPlace)
        tool->afterPlace(*this, o);
}

QImage TQBusinessCardPanel32::RenderCardBitmap()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (ColorPicture().HasGraphic()) {
        try {
            ColorPicture().Draw(p, QRect(0, 0, width(), height()));
        } catch (...) {
        }
    }
    for (TQGraphicControl* o : Objects())
        o->PaintTo(p, o->Left(), o->Top());
    return image;
}

bool TQBusinessCardPanel32::HasFilledObjects() const
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
        const QString c = (*it)->ClassName();
        if (c == "TSuperShape" || c == "TQSuperText")
            return true;
    }
    return false;
}

} // namespace cardora
