#pragma once
#include "core/symbol_fonts.h"
#include "objects/graphic_control.h"
#include "objects/label_border.h"
#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QMenu;
class QPaintDevice;
class QPicture;

namespace cardora {

enum class TextAlignment { LeftJustify, RightJustify, Center };
enum class HighlightDirection { NoHighlight, Right, Left, UpRight, UpLeft, Up };
enum class ShadowDirection { NoShadow, Right, Left, DownRight, DownLeft, Down };

const QStringList& AlignmentNames();
const QStringList& HighlightDirectionNames();
const QStringList& ShadowDirectionNames();

// The offset of a shadow or highlight copy in text coordinates (x along the
// reading direction, y towards the foot of the characters).
QPoint ShadowOffsetFor(ShadowDirection direction, int depth);
QPoint HighlightOffsetFor(HighlightDirection direction, int depth);

// A rectangle as left, top, right, bottom; right and bottom are exclusive
// when it clips, as the layout rules count them.
struct LabelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    LabelRect Moved(int dx, int dy) const { return { left + dx, top + dy, right + dx, bottom + dy }; }
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    friend bool operator==(const LabelRect&, const LabelRect&) = default;
};

// What the last layout run found; all in pixels of the label's box.
struct LabelLayout {
    QPoint shadowOffset, highlightOffset;
    QPoint textMargin;
    LabelRect mainRect, shadowRect, highlightRect;
    QPoint mainOrigin, shadowOrigin, highlightOrigin;
    int b = 0;  // cell height plus both leadings
    int tw = 0; // width of the caption followed by one space
    int l = 0;  // height the text and its two copies need
};

// A caption split into pieces that each draw in one font (symbol fonts draw
// some codes from a fallback font), measured on one device.
class CaptionText {
public:
    // `family` is the label's font name as stored; `font` carries size and style.
    CaptionText(const QString& family, const QFont& font, const QString& text);

    const QList<SymbolGlyph>& Runs() const { return runs_; }
    // In pixels of `device` (nullptr: the screen).
    int Width(const QPaintDevice* device = nullptr) const;
    int CellHeight(const QPaintDevice* device = nullptr) const;
    int Ascent(const QPaintDevice* device = nullptr) const;
    int InternalLeading(const QPaintDevice* device = nullptr) const;
    int ExternalLeading(const QPaintDevice* device = nullptr) const;
    // Draws with the painter's pen colour; the top-left corner of the text
    // cell lies at (0, 0) of the painter's current coordinates.
    void Draw(QPainter& painter) const;
    // The outlines of the letters as Draw would place them, the text cell's
    // top-left corner at `topLeft`, measured on the screen.
    QPainterPath Path(QPointF topLeft) const;

private:
    QList<QFont> metricFonts() const;
    QList<SymbolGlyph> runs_;
    QFont base_;
};

// Single line of text: rotation by quarter turns, alignment, highlight and
// shadow copies, background and border. The box keeps itself fitted to the
// height of the text; the layout is cached behind LayoutDirty.
class TQBaseLabel : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQBaseLabel(QObject* owner = nullptr);
    ~TQBaseLabel() override;

    static QString StaticClassName() { return QStringLiteral("TQBaseLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQBaseLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }

    // --- stored properties
    TextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TextAlignment v);
    int DepthHighlight() const { return depthHighlight_; }
    void SetDepthHighlight(int v);
    int DepthShadow() const { return depthShadow_; }
    void SetDepthShadow(int v);
    HighlightDirection DirectionHighlight() const { return directionHighlight_; }
    void SetDirectionHighlight(HighlightDirection v);
    ShadowDirection DirectionShadow() const { return directionShadow_; }
    void SetDirectionShadow(ShadowDirection v);
    TColor ColorHighlight() const { return colorHighlight_; }
    void SetColorHighlight(TColor v);
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor v);
    int Angle() const { return angle_; }
    void SetAngle(int v);
    QString Caption() const { return caption_; }
    QStringList TypedTexts() const override { return {caption_}; }
    void SetCaption(const QString& v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor v);
    LabelBorder BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(LabelBorder v);
    TFont* FontObject() { return Font(); }

    const PropertyTable& Properties() const override;

    // --- layout
    bool LayoutDirty() const { return layoutDirty_; }
    void MarkLayoutDirty() { layoutDirty_ = true; }
    void FieldValuesChanged() override { layoutDirty_ = layoutDirty_ || HasFields(caption_); }
    const LabelLayout& Layout() const { return layout_; }
    // How often the layout was really computed (not counting clean calls).
    int LayoutRuns() const { return layoutRuns_; }
    void CalcLayout();
    // The font for measuring and drawing, bounded in size.
    QFont ShownFont() const;
    CaptionText MeasuredText(const QString& text) const;

    // --- overridden operations
    void Loaded() override;
    void BoundsChanged() override;
    void PopupOpening() override;
    void ApplyFont(const FontChoice& choice) override;
    void Paint() override;
    void PrepareToDraw() override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch.
    void PrintAtResolution(TReport& report, double x, double y, int ppi);

    void DrawLabel(QPainter& canvas);
    // A vector picture of the box, (0, 0)-(Width, Height); the caller owns it.
    std::unique_ptr<QPicture> MakeMetafile();
    void FitToText();

    // --- commands
    virtual void ChooseFont();
    void Choose3DEffects();
    void ChooseBackColor();

protected:
    void AddMenuItems(QMenu& menu) override;
    // Runs after each real layout run with the layout before it.
    virtual void LayoutChanged(const LabelLayout& /*previous*/) {}
    // Repaint; NotifyChanged unless loading.
    void changedVisibly();
    void repaint() { Invalidate(); }

private:
    void drawCopy(QPainter& canvas, const CaptionText& text, const QPoint& origin, const LabelRect& clip,
        TColor color) const;
    void recomputeShadowOffset();
    void recomputeHighlightOffset();

    TextAlignment alignment_ = TextAlignment::LeftJustify;
    int depthHighlight_ = 0;
    int depthShadow_ = 0;
    HighlightDirection directionHighlight_ = HighlightDirection::UpLeft;
    ShadowDirection directionShadow_ = ShadowDirection::DownRight;
    TColor colorHighlight_ = 0xFFFF00;
    TColor colorShadow_ = 0x808080;
    int angle_ = 0;
    QString caption_ = QStringLiteral("Text");
    bool transparent_ = true;
    TColor backColor_ = clWhite;
    LabelBorder borderStyle_ = LabelBorder::NoBorder;

    bool layoutDirty_ = true;
    int layoutRuns_ = 0;
    LabelLayout layout_;

    QAction* borderItem_ = nullptr;
    QAction* transparentItem_ = nullptr;
    std::array<QAction*, 3> alignmentItems_ {}; // Left, Center, Right

    friend class TQPLabel;
    friend class TQBusinessCardLabel;
};

// The text label with its own Text command and Rotation submenu; fits the
// box to the text after a font or text change.
class TQPLabel : public TQBaseLabel {
    Q_OBJECT
public:
    explicit TQPLabel(QObject* owner = nullptr) : TQBaseLabel(owner) {}

    static QString StaticClassName() { return QStringLiteral("TQPLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQPLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }

    void ChooseFont() override;
    // True when the dialog was confirmed.
    virtual bool EditText();
    void PopupOpening() override;

    // Menu items that run the Text command carry this number.
    static constexpr int kTextItemTag = 1000;

protected:
    void AddMenuItems(QMenu& menu) override;
    bool hasRotationMenu_ = false;
    std::array<QAction*, 4> rotationItems_ {};
};

// The label the text tool creates: its Text dialog and its menu offer the
// personal information.
class TQBusinessCardLabel : public TQPLabel {
    Q_OBJECT
public:
    explicit TQBusinessCardLabel(QObject* owner = nullptr) : TQPLabel(owner) {}

    static QString StaticClassName() { return QStringLiteral("TQBusinessCardLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQBusinessCardLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }

    // What the text tool creates before placing, Loaded.
    static TQBusinessCardLabel* CreateForTool(QObject* owner, CardObjectParent& panel, const TFont& panelFont);

    bool EditText() override;
    void PopupOpening() override;
    QMenu* PersonalInfoMenu() const { return personalInfoMenu_; }
    // The ten values of the panel, in order (missing ones empty).
    QStringList PanelPersonalInfo() const;
    // A click on a personal-information item with this caption.
    void setCaptionFromPersonalInfo(const QString& itemCaption);

    // The fixed labels of the ten values, each followed by a tab in the menu.
    static const QStringList& PersonalInfoLabels();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void rebuildPersonalInfoMenu();
    QMenu* personalInfoMenu_ = nullptr;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterTextLabelKinds();

} // namespace cardora
