#include "objects/supertext/super_text.h"
#include "objects/class_registry.h"
#include "core/assign.h"
#include "core/gradient.h"
#include "core/modal.h"
#include "core/object_stream.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "imaging/bitmap_data.h"
#include "imaging/fill.h"
#include "objects/stream_error.h"
#include "objects/supertext/super_text_dialog.h"
#include "objects/text_box.h"
#include "report/report.h"
#include "report/report_fill.h"
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace cardora {

namespace {
// Sizes from a damaged file must not make letters the size of a house.
constexpr int kMaxFontPixels = 2000;
constexpr int kMaxOutlineWidth = 100;
// The gradient is cached at the box's size up to this; a larger box (only a
// damaged file has one) has it stretched, so it never takes gigabytes.
constexpr int kMaxGradientSide = 2048;
} // namespace

const QStringList& TQSuperText::SurfaceTypeNames()
{
    static const QStringList n = { "stNormal", "stBrushTransparent", "stBrushImage", "stGradientFill" };
    return n;
}

TQSuperText::TQSuperText(QObject* owner) : TQGraphicControl(owner)
{
    SetLoading(true);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(48);
    Font()->SetStyle(FontStyle::Bold);
    Font()->SetColor(clBlack);
    SetParentFont(false);
    SetBounds(0, 0, 142, 33);
    SetLoading(false);
    BuildGradient();
}

TQSuperText::~TQSuperText() = default;

TQSuperText* TQSuperText::CreateForTool(QObject* owner)
{
    auto* t = new TQSuperText(owner);
    t->Loaded();
    return t;
}

// ---- properties

void TQSuperText::changedVisibly()
{
    repaint();
    if (!IsLoading())
        NotifyChanged();
}

void TQSuperText::SetShadowDepth(int v)
{
    if (!Assign(shadowDepth_, v))
        return;
    shadowOffset_ = ShadowOffsetFor(shadowOrientation_, shadowDepth_);
    layoutDirty_ = true;
    repaint();
}

void TQSuperText::SetShadowOrientation(ShadowDirection v)
{
    if (v < ShadowDirection::NoShadow || v > ShadowDirection::Down || !Assign(shadowOrientation_, v))
        return;
    shadowOffset_ = ShadowOffsetFor(shadowOrientation_, shadowDepth_);
    layoutDirty_ = true;
    repaint();
}

void TQSuperText::SetShadowcolor(TColor v)
{
    if (Assign(shadowColor_, v))
        repaint();
}

void TQSuperText::SetBorderStyle(LabelBorder v)
{
    if (v < LabelBorder::NoBorder || v > LabelBorder::Single || !Assign(borderStyle_, v))
        return;
    PopupOpening();
    changedVisibly();
}

void TQSuperText::SetControlTransparent(bool v)
{
    if (!Assign(controlTransparent_, v))
        return;
    PopupOpening();
    repaint();
}

void TQSuperText::SetBGColor(TColor v)
{
    if (Assign(bgColor_, v))
        changedVisibly();
}

void TQSuperText::SetCaption(const QString& v)
{
    if (!Assign(caption_, v))
        return;
    layoutDirty_ = true;
    changedVisibly();
}

void TQSuperText::SetFillDirection(cardora::FillDirection v)
{
    if (v < FillDirection::Up || v > FillDirection::Right || !Assign(fillDirection_, v))
        return;
    if (surfaceType_ == TQSuperText::Surface::Gradient)
        BuildGradient();
    repaint();
}

void TQSuperText::SetGradientToColor(TColor v)
{
    if (!Assign(gradientTo_, v))
        return;
    if (surfaceType_ == TQSuperText::Surface::Gradient)
        BuildGradient();
    repaint();
}

void TQSuperText::SetGradientFromColor(TColor v)
{
    if (!Assign(gradientFrom_, v))
        return;
    if (!IsLoading())
        NotifyChanged();
    if (surfaceType_ == TQSuperText::Surface::Gradient)
        BuildGradient();
    repaint();
}

void TQSuperText::SetImage(const QImage* image)
{
    if (image && !image->isNull()) {
        if (image->cacheKey() == image_.cacheKey())
            return;
        image_ = *image;
    } else {
        image_ = QImage();
    }
    imageFile_.clear();
    repaint();
}

void TQSuperText::SetOutlineColor(TColor v)
{
    if (Assign(outlineColor_, v))
        repaint();
}

void TQSuperText::SetOutlineStyle(PenStyle v)
{
    if (v >= PenStyle::Solid && v <= PenStyle::InsideFrame && Assign(outlineStyle_, v))
        repaint();
}

void TQSuperText::SetOutlineWidth(int v)
{
    if (Assign(outlineWidth_, v))
        repaint();
}

void TQSuperText::SetSurfaceType(Surface v)
{
    if (v < TQSuperText::Surface::Normal || v > TQSuperText::Surface::Gradient || !Assign(surfaceType_, v))
        return;
    repaint();
    // A texture lives only while it is the surface.
    if (v != TQSuperText::Surface::Image)
        SetImage(nullptr);
    if (v == TQSuperText::Surface::Gradient)
        BuildGradient();
    // Letters neither filled nor outlined would vanish.
    if (v == TQSuperText::Surface::Transparent && outlineStyle_ == PenStyle::Clear)
        SetOutlineStyle(PenStyle::Solid);
}

QByteArray TQSuperText::ImageData() const
{
    return imageFile_.isEmpty() ? BitmapDataBlock(image_) : BitmapDataBlock(imageFile_);
}

void TQSuperText::SetImageData(const QByteArray& data)
{
    QImage image;
    QByteArray file;
    if (!ReadBitmapDataBlock(data, &image, &file))
        throw EStreamError(QString::fromLatin1(StreamMessage::InvalidBitmap));
    image_ = image;
    // Kept even when it cannot be shown here, so that saving gives it back.
    imageFile_ = file;
    repaint();
}

const PropertyTable& TQSuperText::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQSuperText;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(IntegerProp<T, int>("ShadowDepth", 0, &T::ShadowDepth, &T::SetShadowDepth));
        p.push_back(OrdinalProp<T, ShadowDirection>(PropKind::Enum, "ShadowOrientation", int(ShadowDirection::DownRight),
            &T::ShadowOrientation, &T::SetShadowOrientation, ShadowDirectionNames()));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "Shadowcolor", 0x808080, &T::Shadowcolor,
            &T::SetShadowcolor));
        p.push_back(OrdinalProp<T, LabelBorder>(PropKind::Enum, "BorderStyle", std::nullopt, &T::BorderStyle,
            &T::SetBorderStyle, BorderStyleNames()));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "ControlTransparent", std::nullopt,
            &T::ControlTransparent, &T::SetControlTransparent));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BGColor", std::nullopt, &T::BGColor, &T::SetBGColor));
        p.push_back(TextProp<T>("Caption", &T::Caption, &T::SetCaption));
        PropertyDecl font = NestedProp<T, TFont>("Font", &T::FontObject);
        font.storedWhen = [](const Persistent& o) { return !static_cast<const T&>(o).ParentFont(); };
        p.push_back(font);
        p.push_back(OrdinalProp<T, cardora::FillDirection>(PropKind::Enum, "FillDirection", std::nullopt, &T::FillDirection,
            &T::SetFillDirection, FillDirectionNames()));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "GradientToColor", std::nullopt, &T::GradientToColor,
            &T::SetGradientToColor));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "GradientFromColor", std::nullopt,
            &T::GradientFromColor, &T::SetGradientFromColor));
        PropertyDecl image;
        image.name = QStringLiteral("Image");
        image.kind = PropKind::Binary;
        image.getBinary = [](const Persistent& o) { return static_cast<const T&>(o).ImageData(); };
        image.setBinary = [](Persistent& o, const QByteArray& b) { static_cast<T&>(o).SetImageData(b); };
        image.storedWhen = [](const Persistent& o) {
            const auto& t = static_cast<const T&>(o);
            return !t.image_.isNull() || !t.imageFile_.isEmpty();
        };
        p.push_back(image);
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "OutlineColor", std::nullopt, &T::OutlineColor,
            &T::SetOutlineColor));
        p.push_back(OrdinalProp<T, PenStyle>(PropKind::Enum, "OutlineStyle", std::nullopt, &T::OutlineStyle,
            &T::SetOutlineStyle, PenStyleNames()));
        p.push_back(IntegerProp<T, int>("OutlineWidth", std::nullopt, &T::OutlineWidth, &T::SetOutlineWidth));
        p.push_back(OrdinalProp<T, Surface>(PropKind::Enum, "SurfaceType", std::nullopt, &T::SurfaceType,
            &T::SetSurfaceType, SurfaceTypeNames()));
        p.push_back(TextProp<T>("LastBitmapFileNameandPath", &T::LastBitmapFileNameandPath,
            &T::SetLastBitmapFileNameandPath));
        return p;
    }();
    return t;
}

// ---- layout

QFont TQSuperText::ShownFont() const
{
    QFont q = Font().ToQFont();
    if (q.pixelSize() > kMaxFontPixels)
        q.setPixelSize(kMaxFontPixels);
    return q;
}

void TQSuperText::CalcLayout()
{
    if (!layoutDirty_)
        return;
    const QPoint d = shadowOffset_;
    if (inLayout_)
        return;
    inLayout_ = true;
    try {
        const CaptionText text(LetterFont().Name(), ShownFont(), caption_);
        const int th = text.CellHeight();
        SuperTextLayout& L = layout_;
        L.shadowOffset = d;
        L.textMargin = QPoint(d.x() < 0 ? -d.x() : 0, d.y() < 0 ? -d.y() : 0);
        const bool shrinks = controlTransparent_ && borderStyle_ == LabelBorder::NoBorder;
        FitBox([&](QSize box) {
            const QFont font = ShownFont();
            const int tw = CaptionText(LetterFont().Name(), font, caption_ + QStringLiteral(" ")).Width();
            const int f = std::abs(d.y()) + CaptionText(LetterFont().Name(), font, caption_).CellHeight();
            int w = box.width(), h = box.height();
            if (w <= 5)
                w = std::max(1, tw);
            if (1.2 * f < h && shrinks)
                h = std::max(1, Trunc(1.2 * f));
            if (h < f)
                h = f;
            return QSize(w, h);
        });
        const int mx = L.textMargin.x(), my = L.textMargin.y();
        L.mainRect = { mx + 5, my, Width(), th + my };
        L.shadowRect = L.mainRect.Moved(d.x(), d.y());
        L.mainOrigin = QPoint(L.mainRect.left, L.mainRect.top);
        L.shadowOrigin = QPoint(L.mainRect.left + d.x(), L.shadowRect.top);
    } catch (...) {
    }
    layoutDirty_ = false;
    inLayout_ = false;
}

QString TQSuperText::ShownText() const
{
    const int e = std::max(layout_.mainRect.left, layout_.shadowRect.left);
    const QFont font = ShownFont();
    const QString caption = WithFields(caption_);
    auto fits = [&](qsizetype n) {
        return CaptionText(LetterFont().Name(), font, caption.left(n)).Width() <= Width() - e;
    };
    // The longest leading part that fits, found by halving so that a very
    // long caption does not take one measurement per character.
    if (fits(caption.size()))
        return caption;
    qsizetype good = 0, bad = caption.size();
    while (bad - good > 1) {
        const qsizetype mid = good + (bad - good) / 2;
        (fits(mid) ? good : bad) = mid;
    }
    return good > 0 ? caption.left(good) : QString();
}

QPainterPath TQSuperText::TextPath(const QString& text, QPointF origin) const
{
    return CaptionText(LetterFont().Name(), ShownFont(), text).Path(origin);
}

void TQSuperText::BuildGradient()
{
    gradientBitmap_ = cardora::BuildGradient(fillDirection_, gradientFrom_,
        gradientTo_, GradientBitmapSize());
    repaint();
}

QSize TQSuperText::GradientBitmapSize() const
{
    return QSize(std::clamp(Width(), 1, kMaxGradientSide), std::clamp(Height(), 1, kMaxGradientSide));
}

void TQSuperText::FitSample()
{
    // Measured in the font and offsets the card keeps, and stored as such.
    const CaptionText stored(LetterFont().Name(), LetterFont().ToQFont(1.0f), WithFields(caption_));
    const int a = stored.Width();
    const int b = stored.CellHeight();
    const QPoint d = shadowOffset_;
    const int mx = d.x() < 0 ? -d.x() : 0, my = d.y() < 0 ? -d.y() : 0;
    const int left = std::max(mx + 5, mx + 5 + d.x());
    const int top = std::max(my, my + d.y());
    int width = Trunc(left + 1.2 * a);
    int height = Trunc(1.2 * (b + top));
    if (height < b)
        height = Trunc(1.5 * b);
    if (width < a)
        width = Trunc(1.5 * a);
    SetBox(QRect(Left(), Top(), std::max(1, width), std::max(1, height)));
    layoutDirty_ = true;
}

// ---- painting

void TQSuperText::drawLetters(QPainter& canvas, const QString& text)
{
    const int W = Width(), H = Height();
    const QRect box(0, 0, W, H);
    canvas.setRenderHint(QPainter::Antialiasing, true);
    if (shadowDepth_ > 0 && shadowOrientation_ != ShadowDirection::NoShadow) {
        canvas.save();
        canvas.setClipPath(TextPath(text, layout_.shadowOrigin), Qt::IntersectClip);
        canvas.fillRect(box, ToQColor(shadowColor_));
        canvas.restore();
    }
    const QPainterPath letters = TextPath(text, layout_.mainOrigin);
    if (surfaceType_ != TQSuperText::Surface::Transparent) {
        canvas.save();
        canvas.setClipPath(letters, Qt::IntersectClip);
        switch (surfaceType_) {
        case TQSuperText::Surface::Normal: canvas.fillRect(box, ToQColor(LetterFont().Color())); break;
        case TQSuperText::Surface::Image:
            TileFill(canvas, image_, image_.size(), box.size());
            break;
        default:
            if (gradientBitmap_.size() == box.size())
                TileFill(canvas, gradientBitmap_, gradientBitmap_.size(), box.size());
            else if (!gradientBitmap_.isNull())
                canvas.drawImage(box, gradientBitmap_);
            break;
        }
        canvas.restore();
    }
    if (outlineStyle_ != PenStyle::Clear && outlineWidth_ >= 1) {
        QPen pen(ToQColor(outlineColor_), std::min(outlineWidth_, kMaxOutlineWidth), ToQtPenStyle(outlineStyle_));
        pen.setJoinStyle(Qt::MiterJoin);
        canvas.strokePath(letters, pen);
    }
}

void TQSuperText::drawObject(QPainter& canvas, bool onPaper)
{
    if (Width() < 5 || Height() < 5)
        layoutDirty_ = true;
    CalcLayout();
    const int W = Width(), H = Height();
    canvas.save();
    DrawBoxBackground(canvas, W, H, controlTransparent_, bgColor_, borderStyle_ == LabelBorder::Single);
    const QString text = ShownText();
    if (text.isEmpty()) {
        // Too narrow for even one letter: a crossed box shows where it is,
        // on screen only.
        if (onPaper) {
            canvas.restore();
            return;
        }
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(QPen(Qt::black, 1));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(0, 0, W - 1, H - 1));
        canvas.drawLine(0, 0, W - 1, H - 1);
        canvas.drawLine(W - 1, 0, 0, H - 1);
    } else {
        drawLetters(canvas, text);
    }
    canvas.restore();
}

void TQSuperText::PrepareToDraw()
{
    if (inPaint_)
        return;
    if (Width() < 5 || Height() < 5)
        layoutDirty_ = true;
    CalcLayout();
}

void TQSuperText::Paint()
{
    if (inPaint_)
        return;
    inPaint_ = true;
    try {
        if (QPainter* p = CurrentCanvas())
            drawObject(*p);
    } catch (...) {
    }
    DrawSelectionMarkers();
    inPaint_ = false;
}

// ---- printing

void TQSuperText::PrintAt(TReport& report, double x, double y)
{
    qint64 colours = 256;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        if (screen->depth() > 0 && screen->depth() < 63)
            colours = qint64(1) << screen->depth();
    PrintAtResolution(report, x, y, ScreenPixelsPerInch(), colours);
}

void TQSuperText::PrintAtResolution(TReport& report, double x, double y, int ppi, qint64 /*colourCount*/)
{
    if (ppi <= 0 || Width() <= 0 || Height() <= 0)
        return;
    // Drawn on paper as on the panel: the letters as outlines, filled,
    // outlined and shadowed the same way, only finer.
    const double d = ppi;
    const QRect target = report.InchRectToDevice(x + Left() / d, y + Top() / d, x + (Left() + Width()) / d,
        y + (Top() + Height()) / d);
    report.StretchDrawGraphic(target, [this](QPainter& p, const QRectF& t) {
        p.translate(t.topLeft());
        p.scale(t.width() / Width(), t.height() / Height());
        drawObject(p, true);
    });
}

// ---- copying

void TQSuperText::CopyFrom(const TQSuperText& other)
{
    SetCaption(other.caption_);
    Font()->Assign(other.Font());
    SetControlTransparent(other.controlTransparent_);
    SetBGColor(other.bgColor_);
    SetBorderStyle(other.borderStyle_);
    SetCaption(other.caption_);
    SetGradientFromColor(other.gradientFrom_);
    SetFillDirection(other.fillDirection_);
    SetGradientToColor(other.gradientTo_);
    SetImage(&other.image_);
    imageFile_ = other.imageFile_;
    SetOutlineColor(other.outlineColor_);
    SetOutlineStyle(other.outlineStyle_);
    SetOutlineWidth(other.outlineWidth_);
    SetShadowcolor(other.shadowColor_);
    SetShadowDepth(other.shadowDepth_);
    SetShadowOrientation(other.shadowOrientation_);
    SetSurfaceType(other.surfaceType_);
    SetBounds(Left(), Top(), other.Width(), other.Height());
    layoutDirty_ = true;
}

// ---- the object's own operations

void TQSuperText::Loaded()
{
    TQGraphicControl::Loaded();
    // Laid out anew from what was read, before it is first drawn anywhere.
    layoutDirty_ = true;
    if (surfaceType_ == TQSuperText::Surface::Gradient) {
        try {
            BuildGradient();
        } catch (...) {
        }
    }
}

void TQSuperText::BoundsChanged()
{
    TQGraphicControl::BoundsChanged();
    layoutDirty_ = true;
    if (Width() < 1 || Height() < 1)
        SetBounds(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
    if (surfaceType_ == TQSuperText::Surface::Gradient && gradientBitmap_.size() != GradientBitmapSize())
        BuildGradient();
}

void TQSuperText::ApplyFont(const FontChoice& choice)
{
    TakeFont(choice);
    layoutDirty_ = true;
}

void TQSuperText::ChooseFont()
{
    if (ChooseOwnFont())
        layoutDirty_ = true;
}

void TQSuperText::ChooseBackgroundColor()
{
    ChooseBoxBackground(*this, bgColor_, [this](TColor c) { SetBGColor(c); },
        [this] { SetControlTransparent(false); });
}

bool TQSuperText::EditProperties()
{
    TSuperTextProperties dialog(ProgramWindow());
    dialog.Setup(*this);
    if (ExecModal(dialog) != mrOk)
        return false;
    dialog.ApplyTo(*this);
    return true;
}

void TQSuperText::AddMenuItems(QMenu& menu)
{
    boxItems_.Add(menu, *this,
        { [this] { ChooseFont(); }, [this] { SetControlTransparent(!controlTransparent_); },
            [this] { ChooseBackgroundColor(); },
            [this] { SetBorderStyle(borderStyle_ == LabelBorder::Single ? LabelBorder::NoBorder : LabelBorder::Single); } });
    connect(menu.addAction(QStringLiteral("Properties")), &QAction::triggered, this, [this] { EditProperties(); });
}

void TQSuperText::PopupOpening() { boxItems_.Check(controlTransparent_, borderStyle_ == LabelBorder::Single); }

// Display text filled with gradients or textures.
void RegisterSuperTextKind()
{
    {
        ObjectKind kind;
        kind.className = TQSuperText::StaticClassName();
        kind.factory = &TQSuperText::Create;
        kind.selectionTip = QStringLiteral("SuperText selected: right-click it and choose Properties for its fill, outline and shadow.");
        kind.filledSurfaces = true;
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawSuperTextButton");
            t.icon = QStringLiteral("supertext");
            t.noun = QStringLiteral("Super Text");
            t.hint = QStringLiteral("Special effects text, filled with gradients or bitmaps");
            t.whatsThis = QStringLiteral("Super Text tool: drag a box for display text filled with a gradient or a texture.");
            t.assistantTip = QStringLiteral("drag a box for text filled with a gradient or a texture, outlined and shadowed.");
            t.helpTopic = 40014;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQSuperText::CreateForTool(at.owner); };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* text = qobject_cast<TQSuperText*>(object);
                return text && text->EditProperties();
            };
            t.pointerBeforeDialog = true;
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
