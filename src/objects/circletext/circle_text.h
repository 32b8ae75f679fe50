#pragma once
#include "objects/box_menu.h"
#include "objects/graphic_control.h"
#include "objects/label_border.h"
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QAction;
class QFontMetrics;
class QPicture;

namespace cardora {

// Quarter turns: where the text starts and how far round it runs.
// How far the text runs round the circle, and where it starts.
enum class ArcDegrees { Deg90, Deg180, Deg270, Deg360 };
const QStringList& DegreesNames();

// Where one letter of a circle text goes.
struct CircleLetter {
    int position = 0;   // 1-based place of the character in the caption
    QPoint at;          // bottom centre of the character cell, box pixels
    int escapement = 0; // tenths of a degree, counter-clockwise, 0..3600
    bool inside = false; // false: the reference point is off the box, not drawn
};

// The circle the letters sit on and how far apart they are.
struct CircleGeometry {
    int cx = 0, cy = 0;  // centre
    int radius = 0;
    int start = 0;       // degrees: 90 top, 180 left, 270 bottom, 360 right
    int arc = 0;         // degrees the letters spread over
    float step = 0.0f;   // degrees between letters
};

// The caption written letter by letter round a circle inscribed in the box:
// a quarter, half, three-quarter or full circle from the top, left, bottom
// or right, letters turned to follow the curve or upright, optionally
// mirrored (reverse order, standing inwards).
class TQPCircleText : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQPCircleText(QObject* owner = nullptr);
    ~TQPCircleText() override;

    static QString StaticClassName() { return QStringLiteral("TQPCircleText"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQPCircleText(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the circle-text tool creates before placing, Loaded.
    static TQPCircleText* CreateForTool(QObject* owner);

    // --- stored properties
    ArcDegrees StartingVector() const { return startingVector_; }
    void SetStartingVector(ArcDegrees v);
    ArcDegrees Degrees() const { return degrees_; }
    void SetDegrees(ArcDegrees v);
    QString PopupMenuName() const { return popupMenu_; }
    void SetPopupMenuName(const QString& name) { popupMenu_ = name; }
    bool Mirror() const { return mirror_; }
    void SetMirror(bool v);
    bool DrawLettersAngled() const { return drawLettersAngled_; }
    void SetDrawLettersAngled(bool v);
    LabelBorder BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(LabelBorder v);
    bool ControlTransparent() const { return controlTransparent_; }
    void SetControlTransparent(bool v);
    TColor BGColor() const { return bgColor_; }
    void SetBGColor(TColor v);
    QString Caption() const { return caption_; }
    QStringList TypedTexts() const override { return {caption_}; }
    void SetCaption(const QString& v);
    TFont* FontObject() { return Font(); }

    const PropertyTable& Properties() const override;

    // --- geometry of the letters
    // The font letters are drawn with, bounded in size.
    QFont ShownFont() const;
    // The circle for character height `th` and average width `aw`.
    CircleGeometry Geometry(int th, int aw) const;
    // Every letter of the caption in drawing order, measured with `metrics`.
    std::vector<CircleLetter> LetterPlacement(const QFontMetrics& metrics) const;

    // --- drawing and printing
    void DrawTo(QPainter& canvas);
    // A vector picture of the box, (0, 0)-(Width, Height); the caller owns it.
    std::unique_ptr<QPicture> MakeMetafile();
    void CopySettingsFrom(const TQPCircleText& other);

    // --- overridden operations
    void Paint() override;
    void BoundsChanged() override;
    void PopupOpening() override;
    void ApplyFont(const FontChoice& choice) override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch.
    void PrintAtResolution(TReport& report, double x, double y, int ppi);

    // --- commands
    void ChooseFont();
    void ChooseBackgroundColor();
    // The "CircleText Properties" dialog; true when confirmed.
    bool ShowProperties();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void drawLetters(QPainter& canvas);
    void repaint();
    void changedVisibly();

    ArcDegrees startingVector_ = ArcDegrees::Deg180;
    ArcDegrees degrees_ = ArcDegrees::Deg360;
    QString popupMenu_;
    bool mirror_ = false;
    bool drawLettersAngled_ = true;
    LabelBorder borderStyle_ = LabelBorder::NoBorder;
    bool controlTransparent_ = true;
    TColor bgColor_ = clWhite;
    QString caption_ = QStringLiteral("ABC DEF GHI JKL");

    bool painting_ = false;
    BoxMenuItems boxItems_;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterCircleTextKind();

} // namespace cardora
