#pragma once
#include "core/fields.h"
#include "core/rounding.h"
#include "core/graphics_attributes.h"
#include "core/modal.h"
#include "core/persistent.h"
#include "objects/card_object_parent.h"
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPainter;
class QPicture;

namespace cardora {

class TReport;

// Common base of every object placed on a card. It is not a widget: the view
// paints it and routes the mouse to it. Left, Top, Width and Height are card
// pixels, as card files hold them; a view's zoom only scales its painter, so
// zooming never moves or resizes an object.
class TQGraphicControl : public QObject, public Persistent {
    Q_OBJECT
public:
    explicit TQGraphicControl(QObject* owner = nullptr);
    ~TQGraphicControl() override;

    // The card file's class name ("TQLineShape", ...).
    virtual QString ClassName() const = 0;

    // --- parent
    void SetParentPanel(CardObjectParent* parent);
    CardObjectParent* ParentPanel() const { return parent_; }
    // A text as it shows on the card: its ${Name} fields filled from the
    // parent's values, as typed when there are none.
    QString WithFields(const QString& typed) const;

    // --- stored properties
    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }
    int Left() const { return bounds_.left(); }
    int Top() const { return bounds_.top(); }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    int Cursor() const { return cursor_; }
    void SetCursor(int c) { cursor_ = c; }
    QString Hint() const { return hint_; }
    void SetHint(const QString& h) { hint_ = h; }
    bool Locked() const { return locked_; }
    void SetLocked(bool v);
    bool Unselectable() const { return unselectable_; }
    void SetUnselectable(bool v);

    // Sets the box as a file, undo or the kind itself does, without the
    // kind's own reaction to a box the user gave (SetBounds).
    void SetBox(const QRect& r);
    // Values from a file are bounded before a rectangle adds them up.
    void SetBoxLeft(int v) { SetBox(BoundedRect(v, Top(), Width(), Height())); }
    void SetBoxTop(int v) { SetBox(BoundedRect(Left(), v, Width(), Height())); }
    void SetBoxWidth(int v) { SetBox(BoundedRect(Left(), Top(), v, Height())); }
    void SetBoxHeight(int v) { SetBox(BoundedRect(Left(), Top(), Width(), v)); }

    const PropertyTable& Properties() const override;
    void PropertyRead(const QString& path) override;

    // --- geometry
    QRect BoundsRect() const { return bounds_; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetBoundsRect(const QRect& r) { SetBounds(r.left(), r.top(), r.width(), r.height()); }
    // True when a panel point lies on the object (for routing the mouse).
    virtual bool HitTest(const QPoint& panelPoint) const;
    bool Visible() const { return visible_; }
    void SetVisible(bool v);

    // --- font; objects take the panel's font until theirs is changed
    TFont* Font() { return &font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }

    // --- loading state: setters store values without notifications
    bool IsLoading() const { return loading_; }
    void SetLoading(bool v) { loading_ = v; }

    // --- overridable operations
    virtual void Loaded();
    virtual void BoundsChanged();
    virtual void PopupOpening() {}
    // The font chosen with the panel's Font command; objects without text
    // ignore it. An invalid colour leaves the font's colour as it is.
    virtual void ApplyFont(const FontChoice& /*choice*/) {}
    virtual void BeforeSave() {}
    virtual void PrintAt(TReport& /*report*/, double /*x*/, double /*y*/) {}
    // Draws the object with CurrentCanvas in object coordinates.
    virtual void Paint();
    // Brings what the object shows up to date (its layout, a box that fits
    // its text) before it is drawn anywhere, so that the box it is drawn and
    // clipped in is final.
    virtual void PrepareToDraw() {}
    // The parent's field values changed: texts that hold fields lay out again.
    virtual void FieldValuesChanged() {}
    // The texts as typed that may hold ${Name} fields.
    virtual QStringList TypedTexts() const { return {}; }

    // --- non-virtual operations
    void NotifyChanged();
    void SyncSelectionHandles();
    void PaintTo(QPainter& canvas, int x, int y);
    // The panel paints objects through this; markers go on the panel.
    void PaintOnPanel(QPainter& panelCanvas);
    void DrawSelectionMarkers();
    // The markers of a selected object, on the panel's canvas (panel coordinates).
    void PaintSelectionMarkers(QPainter& panelCanvas);
    void Invalidate();
    QMenu* ObjectMenu();
    void ShowMenuAt(const QPoint& globalPos);
    static QString TrimSpaces(const QString& text);

    void Clone();
    void CenterVertically();
    void CenterHorizontally();

    std::function<void(QObject* sender)> DoubleClickAction;

    QPainter* CurrentCanvas() const { return canvas_; }

protected:
    // Fits the box to the object's content: `fit` gives the size the content
    // needs from the box's size.
    void FitBox(const std::function<QSize(QSize box)>& fit);
    // A picture of the object drawn in its box's pixels, stretched over where
    // the box lands on the page (the card's corner at x, y inches) at `ppi`
    // box pixels an inch.
    void PrintBoxPicture(TReport& report, double x, double y, double ppi, const QPicture& picture) const;
    // The box picture `make` records, made once per print job for each `shown`
    // text: every card of a sheet, and every record that leaves the text as it
    // was, replays the same picture. Outside a job it is made each time.
    void PrintBoxPicture(TReport& report, double x, double y, double ppi, const QString& shown,
        const std::function<std::unique_ptr<QPicture>()>& make);

public:
    // While a print job lives, objects do not change: their print pictures may
    // be kept. Returns the job that was running, for EndPrintJob.
    static quint64 BeginPrintJob();
    static void EndPrintJob(quint64 previous);

protected:
    // The font takes every attribute of the choice, and its colour when one
    // was chosen.
    void TakeFont(const FontChoice& choice);
    // The font dialog with effects, preset with the object's font; on OK the
    // font takes the choice. True when confirmed.
    bool ChooseOwnFont();
    // Object kinds append their own menu items here, after the common ones.
    virtual void AddMenuItems(QMenu& /*menu*/) {}
    QAction* LockedItem() const { return lockedItem_; }
    bool onPanelCanvas() const { return onPanel_; }
    // Markers are drawn with this brush colour, in panel coordinates.
    static void DrawMarkers(QPainter& p, const QRect& bounds, bool single, TColor color);

private:
    void buildMenu();

    std::unique_ptr<QPicture> printPicture_; // kept for printJob_ and printShown_
    quint64 printJob_ = 0;
    QString printShown_;
    CardObjectParent* parent_ = nullptr;
    void showBounds(const QRect& r);

    int tag_ = 0;
    QRect bounds_;
    int cursor_ = 0;
    QString hint_;
    bool locked_ = false;
    bool unselectable_ = false;
    bool visible_ = true;
    QRect lastBounds_;
    bool lastBoundsSet_ = false;
    bool inBoundsCheck_ = false;
    bool loading_ = false;
    TFont font_;
    bool parentFont_ = true;
    QPainter* canvas_ = nullptr;
    bool onPanel_ = false;
    std::unique_ptr<QMenu> menu_;
    QAction* lockedItem_ = nullptr;
};

} // namespace cardora
