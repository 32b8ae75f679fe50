#pragma once
#include "core/fields.h"
#include "core/graphics_attributes.h"
#include "objects/card_filer.h"
#include "objects/card_object_parent.h"
#include "objects/graphic_control.h"
#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <utility>
#include <vector>

namespace cardora::test {

// A card panel stand-in for object tests: it owns the objects through
// Owner, keeps them in Children (back to front) and records what objects
// ask of it.
class FakeParent : public CardObjectParent {
public:
    FakeParent() = default;
    // Objects die first, while the parent they point to is still whole.
    ~FakeParent() override
    {
        for (TQGraphicControl* c : Owner.findChildren<TQGraphicControl*>(QString(), Qt::FindDirectChildrenOnly))
            delete c;
    }

    QObject Owner;
    std::vector<TQGraphicControl*> Children;
    std::vector<TQGraphicControl*> Selection;
    std::vector<std::pair<TQGraphicControl*, CardCommand>> Commands;
    int ChangedCount = 0;
    int SyncCount = 0;
    int RehookCount = 0;
    int RepaintCount = 0;
    int InvalidateCount = 0;
    bool Printing = false;
    bool Previewing = false;
    bool Pointing = true;
    QSize Size { 336, 192 };
    float Zoom = 1.0f; // the zoom the card is looked at
    QStringList Info;
    TFont Font;
    TColor SingleColor = clBlack;
    TColor MultiColor = clGray;
    QPainter* Canvas = nullptr;

    // Puts an object on the panel as its last child (the filer's `adopt`).
    void Adopt(TQGraphicControl* o)
    {
        o->SetParentPanel(this);
        Children.push_back(o);
    }
    TQLabelObjectFiler::AdoptFunction AdoptFunction()
    {
        return [this](TQGraphicControl* o) { Adopt(o); };
    }
    // Takes an object off the panel and destroys it.
    void Remove(TQGraphicControl* o)
    {
        Children.erase(std::remove(Children.begin(), Children.end(), o), Children.end());
        RemoveFromSelection(o);
        delete o;
    }

    void FireLabelChanged() override { ++ChangedCount; }
    void PostSyncSelectionHandles() override { ++SyncCount; }
    bool IsPrinting() const override { return Printing; }
    bool IsPreviewing() const override { return Previewing; }
    bool IsPointing() const override { return Pointing; }

    bool IsSelected(const TQGraphicControl* o) const override
    {
        return std::find(Selection.begin(), Selection.end(), o) != Selection.end();
    }
    int SelectionCount() const override { return static_cast<int>(Selection.size()); }
    void AddToSelection(TQGraphicControl* o) override
    {
        if (!IsSelected(o))
            Selection.push_back(o);
    }
    void RemoveFromSelection(TQGraphicControl* o) override
    {
        Selection.erase(std::remove(Selection.begin(), Selection.end(), o), Selection.end());
    }
    void ClearSelection() override { Selection.clear(); }
    TColor MarkerColor(bool single) const override { return single ? SingleColor : MultiColor; }

    QSize PanelSize() const override { return Size; }
    float ViewZoom() const override { return Zoom; }
    QStringList PersonalInfo() const override { return Info; }
    // The record fields show; none: fields as typed.
    const TFieldRecord* Record = nullptr;
    const TFieldRecord* FieldValues() const override { return Record; }
    const TFont& DefaultFont() const override { return Font; }

    void BringToFront(TQGraphicControl* o) override
    {
        Children.erase(std::remove(Children.begin(), Children.end(), o), Children.end());
        Children.push_back(o);
    }
    void SendToBack(TQGraphicControl* o) override
    {
        Children.erase(std::remove(Children.begin(), Children.end(), o), Children.end());
        Children.insert(Children.begin(), o);
    }
    void ObjectCommand(TQGraphicControl* o, CardCommand c) override { Commands.emplace_back(o, c); }
    TQGraphicControl* DuplicateObject(TQGraphicControl* o) override
    {
        TQLabelObjectFiler filer;
        return filer.DuplicateObject(o, &Owner, this, AdoptFunction());
    }
    void RehookObjects() override { ++RehookCount; }

    void InvalidateRect(const QRect&) override { ++InvalidateCount; }
    void RepaintPanel() override { ++RepaintCount; }
    QPainter* PanelCanvas() override { return Canvas; }
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
};

} // namespace cardora::test
