#pragma once
#include "core/fields.h"
#include "core/graphics_attributes.h"
#include "imaging/picture.h"
#include "objects/card_object_parent.h"
#include "surface/card_document.h"
#include "surface/handle.h"
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class QMenu;
class QAction;
class QUndoStack;

namespace cardora {

class TQGraphicControl;
class TReport;
struct TCardSnapshot;

enum class GridSpacing { FourPixels, EightPixels };

// The design surface: a view of its CardDocument at any zoom, painting the
// objects (back to front) through its transform, with the outline, grid,
// background art and selection markers; it runs the mouse and keys, the
// rubber-band selection and the card-wide menu.
class CardView : public QWidget, public CardObjectParent {
    Q_OBJECT
public:
    explicit CardView(QWidget* parent = nullptr, QObject* owner = nullptr);
    ~CardView() override;

    // --- properties
    bool Pointing() const { return pointing_; }
    void SetPointing(bool v) { pointing_ = v; }
    bool DrawOutline() const { return drawOutline_; }
    void SetDrawOutline(bool v);
    TPicture& Picture() { return document_.Art(); }
    TPicture& ColorPicture() { return document_.ColorArt(); }
    bool Printing() const { return printing_; }
    void SetPrinting(bool v) { printing_ = v; }
    bool Previewing() const { return previewing_; }
    void SetPreviewing(bool v) { previewing_ = v; }
    CardShape Shape() const { return document_.Shape(); }
    void SetShape(CardShape s);
    GridSpacing GridSize() const { return gridSize_; }
    void SetGridSize(GridSpacing g);
    bool ShowGrid() const { return showGrid_; }
    void SetShowGrid(bool v);
    bool SnapToGrid() const { return snapToGrid_; }
    void SetSnapToGrid(bool v);
    float Zoom() const { return zoom_; }
    bool Zooming() const { return zooming_; }
    TFont& Font() { return font_; }
    QObject* Owner() const { return owner_; }
    SelectionHandle& Handle() { return handle_; }
    QMenu* PanelMenu() { return panelMenu_; }
    QString ClipFileName() const { return clipFileName_; }
    QString TempFileName() const { return tempFileName_; }
    bool BandActive() const { return bandActive_; }

    // The card size in zoom-1.0 pixels; at zoom z the panel is z times that, rounded.
    void SetPanelSize(int width, int height);
    QSize CardSize() const { return document_.Size(); }
    // The card this panel shows.
    CardDocument& Document() { return document_; }
    const CardDocument& Document() const { return document_; }

    // For print shops: the bleed around the card in zoom-1.0 pixels, where
    // objects may reach (kept on save), and the guides the panel shows: the
    // trim line and a safe-area line `safePixels` inside it. Never printed.
    void SetBleed(double pixels);
    double Bleed() const { return document_.Bleed(); }
    // The bleed in whole widget pixels at the present zoom.
    int BleedAtZoom() const;
    // The bleed in whole card pixels.
    int BleedInCardPixels() const;
    void SetGuides(bool show, double safePixels);
    bool ShowGuides() const { return showGuides_; }

    std::function<void(QRect&)> DroppedObjectEvent;
    // After every repaint of the card (the bleed band follows it).
    std::function<void()> Repainted;
    std::function<void(QObject*)> LabelChangedEvent;
    std::function<void(QObject*)> OnDblClick;
    // Ctrl+wheel over the card: +1 to zoom in a step, -1 out (the window
    // decides, keeping its zoom controls in step).
    std::function<void(int)> ZoomStepRequested;

    // --- the view: objects, the handle and the mouse live in card pixels;
    // the panel shows card pixel (x, y) at widget point (x·zoom, y·zoom).
    QPoint CardPoint(const QPointF& widgetPoint) const;
    QPoint ShownPoint(const QPoint& cardPoint) const;
    // The widget pixels that cover a card rectangle.
    QRect ShownRect(const QRect& cardRect) const override;
    float ViewZoom() const override { return zoom_; }
    // The card pixels that cover a widget rectangle.
    QRect CardRect(const QRect& widgetRect) const;
    // Repaints what shows of a card rectangle, nothing else.
    void UpdateCardRect(const QRect& cardRect);

    // --- objects
    const std::vector<TQGraphicControl*>& Objects() const { return document_.Objects(); }
    void AddObject(TQGraphicControl* object);
    // Removes the object from the panel and frees it.
    void FreeObject(TQGraphicControl* object);
    void HookObject(TQGraphicControl* object);

    // --- operations
    void SetZoom(float z);
    void ClearObjects();
    void RemoveOffCardObjects();
    bool LoadColorPicture(const QString& path);
    void ClearColorPicture();
    virtual void CreateObjectForRect(QRect& r);
    void PlaceNewObject(TQGraphicControl* object, const QRect& r);
    QString UniqueName(const QString& stem) const;
    void SelectInRect(const QRect& r);
    void FireLabelChanged() override;
    void UpdatePanelMenu();
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void KeyUp(int key);
    // Presses and releases the handle passes on to what lies beneath.
    void ForwardMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global);
    void ForwardMouseUp(const QPoint& p);
    // The panel's handler on the handle's mouse-down: Shift-click deselects.
    void HandleMouseDown(const QPoint& p, Qt::KeyboardModifiers shift);
    void SelectAll();
    // What ${Name} fields show: a data record when one is set, else the
    // personal information; or, while shown as typed, the fields themselves.
    void SetFieldRecord(std::optional<TFieldRecord> record);
    const std::optional<TFieldRecord>& FieldRecord() const { return record_; }
    void SetFieldsShownAsTyped(bool typed);
    bool FieldsShownAsTyped() const { return fieldsAsTyped_; }
    // The background, outline and grid as Paint draws them, over `area`
    // (widget pixels; all of the panel when none is given).
    void PaintBackground(QPainter& p, QRect area = QRect());

    // --- CardObjectParent
    void PostSyncSelectionHandles() override;
    bool IsPrinting() const override { return printing_; }
    bool IsPreviewing() const override { return previewing_; }
    bool IsPointing() const override { return pointing_; }
    bool IsSelected(const TQGraphicControl* object) const override;
    int SelectionCount() const override { return handle_.SelectedCount(); }
    void AddToSelection(TQGraphicControl* object) override;
    void RemoveFromSelection(TQGraphicControl* object) override;
    void ClearSelection() override;
    TColor MarkerColor(bool single) const override;
    QSize PanelSize() const override { return CardSize(); }
    int BleedPixels() const override { return BleedInCardPixels(); }
    QStringList PersonalInfo() const override { return personalInfo_; }
    const TFieldRecord* FieldValues() const override;
    const TFont& DefaultFont() const override { return font_; }
    void BringToFront(TQGraphicControl* object) override;
    void SendToBack(TQGraphicControl* object) override;
    void ObjectCommand(TQGraphicControl* object, CardCommand command) override;
    TQGraphicControl* DuplicateObject(TQGraphicControl* object) override;
    void RehookObjects() override;
    void InvalidateRect(const QRect& rect) override { UpdateCardRect(rect); }
    void RepaintPanel() override { update(); }
    QPainter* PanelCanvas() override { return currentCanvas_; }
    void ProcessPendingEvents() override;

    // --- undo (card_edit_panel.cpp)
    // The stack edits are pushed on; none means edits are not recorded.
    void SetUndoStack(QUndoStack* stack) { undoStack_ = stack; }
    QUndoStack* UndoStack() const { return undoStack_; }
    void BeginEdit() override;
    void EndEdit(const QString& text) override;
    // An edit that only moves or resizes these objects; `mergeId` lets a
    // run of such steps merge into one.
    void BeginMove(const std::vector<TQGraphicControl*>& objects);
    void EndMove(const QString& text, int mergeId = -1);
    void WatchMenu(QMenu* menu) override;
    // Objects keep their edit key while they are freed and read back by undo.
    int EditKey(TQGraphicControl* object);
    TQGraphicControl* ObjectByEditKey(int key) const;
    // Reads one object's state back onto the panel under its key and name.
    TQGraphicControl* RestoreObject(const QByteArray& state, int key, const QString& name);
    void ArrangeByEditKeys(const std::vector<int>& order);
    // While undo or redo applies a step, nothing is recorded.
    class ApplyingEdit {
    public:
        explicit ApplyingEdit(CardView& panel) : panel_(panel) { ++panel_.applyingEdit_; }
        ~ApplyingEdit() { --panel_.applyingEdit_; }

    private:
        CardView& panel_;
    };
    // While one lives, change notices of the card wait; Release passes on
    // one if any came, Drop forgets them (what changed was undone).
    class HeldChanges {
    public:
        explicit HeldChanges(CardView& panel) : panel_(panel) { ++panel_.changesHeld_; }
        ~HeldChanges() { Release(); }
        void Drop() { panel_.changeWaiting_ = false; }
        void Release();

    private:
        CardView& panel_;
        bool released_ = false;
    };
    // The selection becomes exactly these objects.
    void SelectOnly(const std::vector<TQGraphicControl*>& objects);

    void SelectionCommand(CardCommand command);
    // SelectionCommand as one undoable step.
    void RunSelectionCommand(CardCommand command);
    // Card files and the scratch clip file.
    void SaveCardFile(const QString& path);
    // The card's objects become the file's. A file that cannot be read
    // whole throws EStreamError and leaves the card and its selection as
    // they were.
    void LoadCardFile(const QString& path);

    // The region of the card shape over (0, 0, w+1, h+1).
    QRegion ShapeRegion() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // Mouse handling of the empty panel, in panel coordinates.
    void PanelMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global);
    void PanelMouseMove(const QPoint& p);
    void PanelMouseUp(const QPoint& p);
    void ObjectMouseDown(TQGraphicControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
        const QPoint& p, const QPoint& global);
    void ObjectDblClick(TQGraphicControl* sender, bool fromHandle, const QPoint& global);
    void leaveEvent(QEvent* event) override;

    QStringList personalInfo_;
    TFieldRecord personalRecord_;
    // Objects lay out again with the new values; the panel repaints.
    void FieldValuesChangedForAll();

private:
    std::optional<TFieldRecord> record_;
    bool fieldsAsTyped_ = false;

private:
    void buildPanelMenu();
    void paintGuides(QPainter& p);
    void saveSelectionToClip();
    void saveObjectToClip(TQGraphicControl* object);
    void pasteFromClip();
    void deleteObject(TQGraphicControl* object);
    void syncHandles();
    void alignLeft();
    void alignRight();
    void alignTops();
    void alignBottoms();
    TQGraphicControl* objectAt(const QPoint& p) const;
    void removeObject(TQGraphicControl* object);

    QObject* owner_;
    float zoom_ = 1.0f;
    bool pointing_ = true;
    bool drawOutline_ = false;
    bool printing_ = false;
    bool previewing_ = false;
    GridSpacing gridSize_ = GridSpacing::FourPixels;
    bool showGrid_ = false;
    bool snapToGrid_ = false;
    bool showGuides_ = false;
    double safePixels_ = 0.0;
    bool bandActive_ = false;
    bool zooming_ = false;
    std::uint32_t lastPasteTime_ = 0;
    QRect bandRect_; // as left/top/right/bottom corners, possibly unnormalised
    QPoint bandStart_, bandEnd_;
    QString clipFileName_, tempFileName_;
    TFont font_;
    SelectionHandle handle_;
    CardDocument document_;
    QMenu* panelMenu_ = nullptr;
    std::vector<QAction*> selectionItems_;
    QAction* pasteItem_ = nullptr;
    QAction* lockAllItem_ = nullptr;
    QAction* unlockAllItem_ = nullptr;
    QPainter* currentCanvas_ = nullptr;
    // What the last paints drew; a paint redraws only the region it is given.
    QImage buffer_;
    bool syncPosted_ = false;
    TQGraphicControl* mouseTarget_ = nullptr;
    Qt::KeyboardModifiers eventModifiers_;

    void menuActionStarting(QAction* action);
    void menuActionDone(QAction* action);
    void watchMenuActions(QMenu* menu);
    QUndoStack* undoStack_ = nullptr;
    std::unique_ptr<TCardSnapshot> pendingEdit_;
    int editDepth_ = 0;
    int applyingEdit_ = 0;
    int changesHeld_ = 0;
    bool changeWaiting_ = false;
    int nextEditKey_ = 1;
    QAction* menuAction_ = nullptr;
    QString menuText_;
    QAction* lastMenuAction_ = nullptr;
    // Actions outlive the panel's own part while its children are deleted;
    // their destroyed signals must not reach it then.
    std::vector<QMetaObject::Connection> actionDestroyedConnections_;
};

// The panel's Printing flag, raised while the card is drawn on a page and
// lowered when the walk ends, also on error.
class TPrintingScope {
public:
    explicit TPrintingScope(CardView& panel) : panel_(panel) { panel_.SetPrinting(true); }
    ~TPrintingScope() { panel_.SetPrinting(false); }
    TPrintingScope(const TPrintingScope&) = delete;
    TPrintingScope& operator=(const TPrintingScope&) = delete;

private:
    CardView& panel_;
};

} // namespace cardora
