#pragma once
#include "objects/box_menu.h"
#include "core/gradient.h"
#include "objects/graphic_control.h"
#include "objects/text_label.h"
#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QStringList>

class QAction;

namespace cardora {

// What the last layout run found, in pixels of the object's box.
struct SuperTextLayout {
    QPoint shadowOffset;
    QPoint textMargin;
    LabelRect mainRect, shadowRect;
    QPoint mainOrigin, shadowOrigin; // top-left of the text cell
};

// A short headline in large type whose letters are filled with the font
// colour, a gradient or a tiled texture (or left empty), outlined with any
// pen and given a solid drop shadow. The letters are a text path used as a
// clip for the fill and stroked for the outline.
class TQSuperText : public TQGraphicControl {
    Q_OBJECT
public:
    enum class Surface { Normal, Transparent, Image, Gradient };
    static const QStringList& SurfaceTypeNames();

    explicit TQSuperText(QObject* owner = nullptr);
    ~TQSuperText() override;

    static QString StaticClassName() { return QStringLiteral("TQSuperText"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQSuperText(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the super-text tool creates before placing, Loaded.
    static TQSuperText* CreateForTool(QObject* owner);

    // --- stored properties
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int v);
    ShadowDirection ShadowOrientation() const { return shadowOrientation_; }
    void SetShadowOrientation(ShadowDirection v);
    TColor Shadowcolor() const { return shadowColor_; }
    void SetShadowcolor(TColor v);
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
    // The font as it is, also from non-const code.
    const TFont& LetterFont() const { return Font(); }
    cardora::FillDirection FillDirection() const { return fillDirection_; }
    void SetFillDirection(cardora::FillDirection v);
    TColor GradientToColor() const { return gradientTo_; }
    void SetGradientToColor(TColor v);
    TColor GradientFromColor() const { return gradientFrom_; }
    void SetGradientFromColor(TColor v);
    const QImage& Image() const { return image_; }
    // Copies the picture; nullptr or a null image empties the texture.
    void SetImage(const QImage* image);
    TColor OutlineColor() const { return outlineColor_; }
    void SetOutlineColor(TColor v);
    PenStyle OutlineStyle() const { return outlineStyle_; }
    void SetOutlineStyle(PenStyle v);
    int OutlineWidth() const { return outlineWidth_; }
    void SetOutlineWidth(int v);
    Surface SurfaceType() const { return surfaceType_; }
    void SetSurfaceType(Surface v);
    QString LastBitmapFileNameandPath() const { return lastBitmapFile_; }
    void SetLastBitmapFileNameandPath(const QString& path) { lastBitmapFile_ = path; }

    const PropertyTable& Properties() const override;
    // The "Image.Data" entry: a 4-byte size and a BMP file. A texture read
    // from a card keeps its bytes, so it is written back as it came.
    QByteArray ImageData() const;
    void SetImageData(const QByteArray& data);

    // --- layout
    bool LayoutDirty() const { return layoutDirty_; }
    void MarkLayoutDirty() { layoutDirty_ = true; }
    void FieldValuesChanged() override { layoutDirty_ = layoutDirty_ || HasFields(caption_); }
    const SuperTextLayout& Layout() const { return layout_; }
    void CalcLayout();
    // The letters' font, bounded in size.
    QFont ShownFont() const;
    // The caption cut to what fits the box, as painting and printing show it.
    QString ShownText() const;
    // The letters of `text` as a path, the text cell's top-left at `origin`.
    QPainterPath TextPath(const QString& text, QPointF origin) const;
    const QImage& GradientBitmap() const { return gradientBitmap_; }
    // The box's size, up to a limit no card reaches.
    QSize GradientBitmapSize() const;
    // Sizes the box to the text (the dialog's preview).
    void FitSample();

    // --- overridden operations
    void Loaded() override;
    void BoundsChanged() override;
    void PopupOpening() override;
    void ApplyFont(const FontChoice& choice) override;
    void Paint() override;
    void PrepareToDraw() override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch and `colourCount` colours.
    void PrintAtResolution(TReport& report, double x, double y, int ppi, qint64 colourCount);

    // Takes every setting of `other` through the setters, and its size.
    void CopyFrom(const TQSuperText& other);

    // --- commands
    void ChooseFont();
    void ChooseBackgroundColor();
    // The "SuperText Properties" dialog; true when confirmed.
    bool EditProperties();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void BuildGradient();
    void repaint() { Invalidate(); }
    void changedVisibly();
    void drawLetters(QPainter& canvas, const QString& text);
    // The box and letters in the object's pixels, on the panel and on paper.
    void drawObject(QPainter& canvas, bool onPaper = false);

    int shadowDepth_ = 0;
    ShadowDirection shadowOrientation_ = ShadowDirection::DownRight;
    TColor shadowColor_ = 0x808080;
    LabelBorder borderStyle_ = LabelBorder::NoBorder;
    bool controlTransparent_ = true;
    TColor bgColor_ = clWhite;
    QString caption_ = QStringLiteral("Text");
    cardora::FillDirection fillDirection_ = cardora::FillDirection::Right;
    TColor gradientTo_ = clYellow;
    TColor gradientFrom_ = clBlue;
    QImage image_;
    QByteArray imageFile_; // the BMP file the texture was read from, if any
    TColor outlineColor_ = clBlack;
    PenStyle outlineStyle_ = PenStyle::Solid;
    int outlineWidth_ = 1;
    Surface surfaceType_ = Surface::Gradient;
    QString lastBitmapFile_;

    QPoint shadowOffset_;
    SuperTextLayout layout_;
    bool layoutDirty_ = true;
    bool inLayout_ = false;
    bool inPaint_ = false;
    QImage gradientBitmap_;

    BoxMenuItems boxItems_;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterSuperTextKind();

} // namespace cardora
