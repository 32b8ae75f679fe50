#pragma once
// Builds cards of any registered object kind through the kinds' stored
// properties, so tests and benchmarks need not know each class.
#include "core/persistent.h"
#include "objects/class_registry.h"
#include "objects/graphic_control.h"
#include "surface/card_panel.h"
#include <QRect>
#include <QString>

namespace cardora::test {

// Text as an RTF file holds it: group braces and backslashes escaped, other
// characters as Unicode escapes.
inline QByteArray RtfEscaped(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\' + QByteArray(1, char(c.unicode()));
        else if (c.unicode() < 128)
            out += char(c.unicode());
        else
            out += "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
    }
    return out;
}

// Gives an object something to show through its stored properties, so that
// any kind, present or future, can be filled in without knowing its class.
inline void FillIn(TQGraphicControl& o, const QString& text)
{
    for (const PropertyDecl& p : o.Properties()) {
        if (p.readOnly)
            continue;
        if (p.kind == PropKind::Text && p.setText && (p.name == "Caption" || p.name == "Text" || p.name == "Data"))
            p.setText(o, text);
        else if (p.kind == PropKind::Strings && p.setStrings && (p.name == "Items" || p.name == "Lines"))
            p.setStrings(o, { text, "Second line of text", "Third line" });
        else if (p.kind == PropKind::Binary && p.setBinary && p.name == "RTFText")
            p.setBinary(o, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + RtfEscaped(text) + " {\\b bold} \\i italic\\par}");
    }
}

// A new object of the kind (a card file class name) on the panel, in `box`
// at zoom 1; `configure` runs while it is still loading, before it is placed.
template <class Configure>
TQGraphicControl* AddKind(QObject& owner, CardPanel& panel, const QString& kind, QRect box,
    const QString& text, Configure&& configure)
{
    const CardObjectFactory* make = CardClassRegistry::Instance().Find(kind);
    if (!make)
        return nullptr;
    TQGraphicControl* o = (*make)(&owner);
    if (!o)
        return nullptr;
    o->SetName(panel.UniqueName(kind.mid(1)));
    o->SetLoading(true);
    FillIn(*o, text);
    configure(*o);
    o->SetBounds(box.x(), box.y(), box.width(), box.height());
    o->SetLoading(false);
    panel.AddObject(o);
    o->Loaded();
    return o;
}

inline TQGraphicControl* AddKind(QObject& owner, CardPanel& panel, const QString& kind, QRect box,
    const QString& text)
{
    return AddKind(owner, panel, kind, box, text, [](TQGraphicControl&) {});
}

} // namespace cardora::test
