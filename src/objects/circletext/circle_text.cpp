#include "objects/circletext/circle_text.h"
#include "objects/class_registry.h"
#include "core/assign.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/symbol_fonts.h"
#include "core/window_placement.h"
#include "objects/circletext/circle_text_dialog.h"
#include "objects/text_box.h"
#include "objects/text_label.h"
#include "report/report.h"
#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace cardora {

namespace {
// Sizes from a damaged file must not make letters the size of a house.
constexpr int kMaxFontPixels = 2000;
} // namespace

const QStringList& DegreesNames()
{
    static const QStringList n = { "dg90", "dg180", "dg270", "dg360" };
    return n;
}

TQPCircleText::TQPCircleText(QObject* owner) : TQGraphicControl(owner)
{
    // The panel's placing is the first bounds check, not this initial size.
    SetLoading(true);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(10);
    Font()->SetStyle(Font()->Style() | FontStyle::Bold);
    Font()->SetColor(clBlack);
    SetParentFont(false);
    SetBounds(0, 0, 142, 33);
    SetLoading(false);
}

TQPCircleText::~TQPCircleText() = default;

TQPCircleText* TQPCircleText::CreateForTool(QObject* owner)
{
    auto* c = new TQPCircleText(owner);
    c->Loaded();
    return c;
}

// ---- properties

void TQPCircleText::repaint()
{
    if (!painting_)
        Invalidate();
}

void TQPCircleText::changedVisibly()
{
    repaint();
    if (!IsLoading() && !painting_)
        NotifyChanged();
}

void TQPCircleText::SetStartingVector(ArcDegrees v)
{
    if (v >= ArcDegrees::Deg90 && v <= ArcDegrees::Deg360 && Assign(startingVector_, v))
        repaint();
}

void TQPCircleText::SetDegrees(ArcDegrees v)
{
    if (v >= ArcDegrees::Deg90 && v <= ArcDegrees::Deg360 && Assign(degrees_, v))
        repaint();
}

void TQPCircleText::SetMirror(bool v)
{
    if (Assign(mirror_, v))
        repaint();
}

void TQPCircleText::SetDrawLettersAngled(bool v)
{
    if (Assign(drawLettersAngled_, v))
        changedVisibly();
}

void TQPCircleText::SetBorderStyle(LabelBorder v)
{
    if (v >= LabelBorder::NoBorder && v <= LabelBorder::Single && Assign(borderStyle_, v))
        changedVisibly();
}

void TQPCircleText::SetControlTransparent(bool v)
{
    if (Assign(controlTransparent_, v))
        repaint();
}

void TQPCircleText::SetBGColor(TColor v)
{
    if (Assign(bgColor_, v))
        changedVisibly();
}

void TQPCircleText::SetCaption(const QString& v)
{
    if (Assign(caption_, v))
        changedVisibly();
}

const PropertyTable& TQPCircleText::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQPCircleText;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(OrdinalProp<T, ArcDegrees>(PropKind::Enum, "StartingVector", std::nullopt, &T::StartingVector,
            &T::SetStartingVector, DegreesNames()));
        p.push_back(OrdinalProp<T, ArcDegrees>(PropKind::Enum, "Degrees", std::nullopt, &T::Degrees, &T::SetDegrees,
            DegreesNames()));
        PropertyDecl menu = TextProp<T>("PopupMenu", &T::PopupMenuName, &T::SetPopupMenuName);
        menu.kind = PropKind::Reference;
        p.push_back(menu);
        PropertyDecl font = NestedProp<T, TFont>("Font", &T::FontObject);
        font.storedWhen = [](const Persistent& o) { return !static_cast<const T&>(o).ParentFont(); };
        p.push_back(font);
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Mirror", std::nullopt, &T::Mirror, &T::SetMirror));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "DrawLettersAngled", std::nullopt,
            &T::DrawLettersAngled, &T::SetDrawLettersAngled));
        p.push_back(OrdinalProp<T, LabelBorder>(PropKind::Enum, "BorderStyle", std::nullopt, &T::BorderStyle,
            &T::SetBorderStyle, BorderStyleNames()));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "ControlTransparent", std::nullopt,
            &T::ControlTransparent, &T::SetControlTransparent));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BGColor", std::nullopt, &T::BGColor, &T::SetBGColor));
        p.push_back(TextProp<T>("Caption", &T::Caption, &T::SetCaption));
        return p;
    }();
    return t;
}

// ---- geometry

QFont TQPCircleText::ShownFont() const
{
    QFont q = Font().ToQFont();
    if (q.pixelSize() > kMaxFontPixels)
        q.setPixelSize(kMaxFontPixels);
    return q;
}

CircleGeometry TQPCircleText::Geometry(int th, int aw) const
{
    const int W = Width(), H = Height();
    const int n = static_cast<int>(WithFields(caption_).toUcs4().size());
    CircleGeometry g;
    g.start = (int(startingVector_) + 1) * 90;
    g.arc = (int(degrees_) + 1) * 90;
    if (degrees_ == ArcDegrees::Deg360 && n > 5)
        g.arc = 355; // keeps the last letter off the first
    int cx = W / 2, cy = H / 2, rx = cx, ry = cy;
    if (degrees_ == ArcDegrees::Deg90) {
        rx = W - aw;
        ry = H - th;
        cx = (startingVector_ == ArcDegrees::Deg90 || startingVector_ == ArcDegrees::Deg360) ? aw : W - aw;
        cy = (startingVector_ == ArcDegrees::Deg90 || startingVector_ == ArcDegrees::Deg180) ? H - th : th;
    } else if (degrees_ == ArcDegrees::Deg180) {
        switch (startingVector_) {
        case ArcDegrees::Deg90:
            cx = aw;
            rx = W - aw;
            break;
        case ArcDegrees::Deg180:
            cy = H - th;
            ry = H - th;
            break;
        case ArcDegrees::Deg270:
            cx = W - aw;
            rx = W - aw;
            break;
        default:
            cy = th;
            ry = H - th;
            break;
        }
    }
    g.cx = cx;
    g.cy = cy;
    const bool m = mirror_ && drawLettersAngled_;
    g.radius = std::min(rx, ry) - 4;
    if (!m)
        g.radius -= std::abs(th); // letters standing outwards need their height inside the box
    if (n < 2)
        g.step = static_cast<float>(g.arc);
    else if (degrees_ == ArcDegrees::Deg360)
        g.step = static_cast<float>(g.arc) / static_cast<float>(n);
    else
        g.step = static_cast<float>(g.arc) / static_cast<float>(n - 1);
    return g;
}

std::vector<CircleLetter> TQPCircleText::LetterPlacement(const QFontMetrics& metrics) const
{
    std::vector<CircleLetter> letters;
    const int n = static_cast<int>(WithFields(caption_).toUcs4().size());
    if (n == 0)
        return letters;
    const CircleGeometry g = Geometry(metrics.height(), metrics.averageCharWidth());
    const bool m = mirror_ && drawLettersAngled_;
    const bool partial = degrees_ != ArcDegrees::Deg360;
    const float b = static_cast<float>((g.start - 90) * 10);
    const double toRadians = std::numbers::pi / 180.0;
    letters.reserve(n);
    for (int i = 0; i < n; ++i) {
        const bool last = i == n - 1;
        CircleLetter L;
        L.position = m ? n - i : i + 1;
        int e = (last && partial) ? Round(b - g.arc * 10.0f) : Round(b - static_cast<float>(i) * g.step * 10.0f);
        if (e < 0)
            e += 3600;
        if (m)
            e = (e + 1800 > 3600) ? e - 1800 : e + 1800;
        L.escapement = e;
        const double a = (last && partial) ? (g.arc - g.start) * toRadians
                                           : (static_cast<float>(i) * g.step - g.start) * toRadians;
        L.at = QPoint(Round(std::cos(a) * g.radius) + g.cx, Round(std::sin(a) * g.radius) + g.cy);
        L.inside = L.at.x() >= 0 && L.at.y() >= 0 && L.at.x() < Width() && L.at.y() < Height();
        letters.push_back(L);
    }
    return letters;
}

// ---- drawing

void TQPCircleText::drawLetters(QPainter& canvas)
{
    const QList<uint> chars = WithFields(caption_).toUcs4();
    if (chars.isEmpty())
        return;
    const QFont font = ShownFont();
    const std::vector<CircleLetter> letters = LetterPlacement(QFontMetrics(font));
    canvas.save();
    canvas.setPen(ToQColor(Font()->Color()));
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
    for (const CircleLetter& L : letters) {
        if (!L.inside)
            continue;
        const char32_t ch = chars[L.position - 1];
        // Symbol fonts draw codes their clone lacks from a fallback font.
        QFont glyphFont = font;
        QString text = QString::fromUcs4(&ch, 1);
        if (SymbolEncodingOf(Font()->Name()) != SymbolEncoding::None) {
            const SymbolGlyph glyph = GlyphForCode(Font()->Name(), SymbolCodeOfCharacter(ch), font);
            glyphFont = glyph.font;
            text = glyph.text;
        }
        if (text.isEmpty())
            continue;
        const QFontMetricsF fm(glyphFont);
        canvas.save();
        canvas.setFont(glyphFont);
        canvas.translate(L.at);
        if (drawLettersAngled_ && L.escapement != 0)
            canvas.rotate(-L.escapement / 10.0); // escapement turns counter-clockwise
        // Centred on the point, the foot of the character cell on it.
        canvas.drawText(QPointF(-fm.horizontalAdvance(text) / 2.0, -fm.descent()), text);
        canvas.restore();
    }
    canvas.restore();
}

void TQPCircleText::DrawTo(QPainter& canvas)
{
    DrawBoxBackground(canvas, Width(), Height(), controlTransparent_, bgColor_, borderStyle_ == LabelBorder::Single);
    drawLetters(canvas);
}

std::unique_ptr<QPicture> TQPCircleText::MakeMetafile()
{
    auto picture = std::make_unique<QPicture>();
    {
        QPainter p(picture.get());
        DrawTo(p);
    }
    picture->setBoundingRect(QRect(0, 0, std::max(1, Width()), std::max(1, Height())));
    return picture;
}

void TQPCircleText::Paint()
{
    if (painting_)
        return;
    painting_ = true;
    try {
        if (QPainter* p = CurrentCanvas())
            DrawTo(*p);
    } catch (...) {
    }
    DrawSelectionMarkers();
    painting_ = false;
}

void TQPCircleText::BoundsChanged()
{
    TQGraphicControl::BoundsChanged();
    if (Width() <= 0 || Height() <= 0)
        SetBounds(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
}

void TQPCircleText::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch());
}

void TQPCircleText::PrintAtResolution(TReport& report, double x, double y, int ppi)
{
    if (ppi <= 0 || Width() <= 0 || Height() <= 0)
        return;
    PrintBoxPicture(report, x, y, ppi, WithFields(caption_), [this] { return MakeMetafile(); });
}

void TQPCircleText::CopySettingsFrom(const TQPCircleText& other)
{
    painting_ = true;
    SetCaption(other.caption_);
    Font()->Assign(other.Font());
    SetControlTransparent(other.controlTransparent_);
    SetBGColor(other.bgColor_);
    SetBorderStyle(other.borderStyle_);
    SetBounds(Left(), Top(), other.Width(), other.Height());
    SetStartingVector(other.startingVector_);
    SetDegrees(other.degrees_);
    SetDrawLettersAngled(other.drawLettersAngled_);
    SetMirror(other.mirror_);
    painting_ = false;
    Invalidate();
}

// ---- menu and commands

void TQPCircleText::ApplyFont(const FontChoice& choice) { TakeFont(choice); }

void TQPCircleText::ChooseFont() { ChooseOwnFont(); }

void TQPCircleText::ChooseBackgroundColor()
{
    ChooseBoxBackground(*this, bgColor_, [this](TColor c) { SetBGColor(c); },
        [this] { SetControlTransparent(false); });
}

bool TQPCircleText::ShowProperties()
{
    TCircleTextProperties dialog(ProgramWindow());
    dialog.Preview()->CopySettingsFrom(*this);
    dialog.LoadFromPreview();
    if (ExecModal(dialog) != mrOk)
        return false;
    CopySettingsFrom(*dialog.Preview());
    Invalidate();
    NotifyChanged();
    return true;
}

void TQPCircleText::AddMenuItems(QMenu& menu)
{
    boxItems_.Add(menu, *this,
        { [this] { ChooseFont(); }, [this] { SetControlTransparent(!controlTransparent_); },
            [this] { ChooseBackgroundColor(); },
            [this] { SetBorderStyle(borderStyle_ == LabelBorder::Single ? LabelBorder::NoBorder : LabelBorder::Single); } });
    connect(menu.addAction(QStringLiteral("Properties")), &QAction::triggered, this, [this] { ShowProperties(); });
}

void TQPCircleText::PopupOpening() { boxItems_.Check(controlTransparent_, borderStyle_ == LabelBorder::Single); }

// Text around a circle.
void RegisterCircleTextKind()
{
    {
        ObjectKind kind;
        kind.className = TQPCircleText::StaticClassName();
        kind.factory = &TQPCircleText::Create;
        kind.selectionTip = QStringLiteral("Circle text selected: right-click it for its text, font and how far around the circle it runs.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawCircleTextbutton");
            t.icon = QStringLiteral("circletext");
            t.noun = QStringLiteral("Circle Text");
            t.hint = QStringLiteral("Circular or semi-circular text in any font");
            t.whatsThis = QStringLiteral("Circle Text tool: drag a box for text that runs around a circle.");
            t.assistantTip = QStringLiteral("drag a box; the text runs around a circle or a half circle inside it.");
            t.helpTopic = 40017;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQPCircleText::CreateForTool(at.owner); };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* text = qobject_cast<TQPCircleText*>(object);
                return text && text->ShowProperties();
            };
            t.pointerBeforeDialog = true;
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
