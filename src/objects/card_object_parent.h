#pragma once
#include "core/color.h"
#include <QRect>
#include <QSize>
#include <QStringList>

class QMenu;
class QPainter;

namespace cardora {

class TQGraphicControl;
class TFont;
class TFieldRecord;

enum class CardCommand { Cut, Copy, Paste, Delete };

// What a card object may ask of the surface it sits on. The card panel
// implements it; object tests use a small fake.
class CardObjectParent {
public:
    virtual ~CardObjectParent() = default;

    // Card-changed notification (suppressed by the panel while zooming).
    virtual void FireLabelChanged() = 0;
    // Ask for the selection handles to be re-fitted once pending events ran.
    virtual void PostSyncSelectionHandles() = 0;
    virtual bool IsPrinting() const = 0;
    virtual bool IsPreviewing() const = 0;
    virtual bool IsPointing() const = 0;

    virtual bool IsSelected(const TQGraphicControl* object) const = 0;
    virtual int SelectionCount() const = 0;
    virtual void AddToSelection(TQGraphicControl* object) = 0;
    virtual void RemoveFromSelection(TQGraphicControl* object) = 0;
    virtual void ClearSelection() = 0;
    // Marker colour for one selected object, or for several.
    virtual TColor MarkerColor(bool single) const = 0;

    // The card's size in card pixels (the coordinates objects live in).
    virtual QSize PanelSize() const = 0;
    // Where a card rectangle shows on the view's widget (markers are drawn
    // there, the same size at every zoom).
    virtual QRect ShownRect(const QRect& cardRect) const { return cardRect; }
    // The zoom the card is looked at (editors open at it).
    virtual float ViewZoom() const { return 1.0f; }
    // Card pixels around the card that a print shop prints and trims away
    // (its bleed); surfaces made for what shows include them.
    virtual int BleedPixels() const { return 0; }
    virtual QStringList PersonalInfo() const = 0;
    // What ${Name} fields in object texts show: the personal information or
    // the current data record; none while the panel shows fields as typed.
    virtual const TFieldRecord* FieldValues() const { return nullptr; }
    virtual const TFont& DefaultFont() const = 0;

    virtual void BringToFront(TQGraphicControl* object) = 0;
    virtual void SendToBack(TQGraphicControl* object) = 0;
    virtual void ObjectCommand(TQGraphicControl* object, CardCommand command) = 0;
    // Copies the object onto the panel under a fresh name, last in z-order.
    virtual TQGraphicControl* DuplicateObject(TQGraphicControl* object) = 0;
    virtual void RehookObjects() = 0;

    // Repaint a part of the card (card coordinates), or all of it.
    virtual void InvalidateRect(const QRect& rect) = 0;
    virtual void RepaintPanel() = 0;
    // The painter of the panel's current paint, in panel coordinates.
    virtual QPainter* PanelCanvas() = 0;
    virtual void ProcessPendingEvents() = 0;

    // Edits that can be undone: everything between BeginEdit and EndEdit is
    // one step named `text`. Pairs nest; only the outermost counts.
    virtual void BeginEdit() {}
    virtual void EndEdit(const QString& /*text*/) {}
    // Every command of an object's menu (and its submenus) becomes one
    // undoable step named after it.
    virtual void WatchMenu(QMenu* /*menu*/) {}
};

} // namespace cardora
