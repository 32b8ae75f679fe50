#include "objects/pictures/image_object.h"
#include "objects/class_registry.h"
#include "core/modal.h"
#include "core/object_stream.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "objects/pictures/image_browser.h"
#include "report/picture_printing.h"
#include "report/report.h"
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPainter>

namespace cardora {

namespace {
constexpr int kMaxClassNameLength = 63;
} // namespace

TQImage::TQImage(QObject* owner) : TQGraphicControl(owner)
{
    SetLoading(true);
    SetBounds(0, 0, 105, 105);
    SetLoading(false);
}

TQImage::~TQImage() = default;

TQImage* TQImage::CreateForTool(QObject* owner)
{
    auto* image = new TQImage(owner);
    image->Loaded();
    return image;
}

void TQImage::SetAutoSize(bool v)
{
    autoSize_ = v;
    stretch_ = !v;
    if (IsLoading())
        return;
    PictureChanged();
    NotifyChanged();
}

void TQImage::SetStretch(bool v)
{
    stretch_ = v;
    autoSize_ = !v;
    Invalidate();
}

void TQImage::SetBorderStyle(LabelBorder v)
{
    if (v == borderStyle_ || (v != LabelBorder::NoBorder && v != LabelBorder::Single))
        return;
    borderStyle_ = v;
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQImage::SetFlip(bool v)
{
    if (v == flip_)
        return;
    flip_ = v;
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQImage::SetReverse(bool v)
{
    if (v == reverse_)
        return;
    reverse_ = v;
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQImage::SetPicture(const TPicture& picture)
{
    picture_ = picture;
    PictureChanged();
}

void TQImage::PictureChanged()
{
    BoundsChanged();
    opaque_ = picture_.IsBitmap() && !picture_.IsTransparent() && picture_.Width() == Width() && picture_.Height() == Height();
    Invalidate();
}

void TQImage::BoundsChanged()
{
    TQGraphicControl::BoundsChanged();
    // The card keeps the picture's own size; a zoomed view scales it.
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
        SetBox(QRect(Left(), Top(), picture_.Width(), picture_.Height()));
}

QByteArray TQImage::PictureData() const
{
    if (!picture_.HasGraphic())
        return {};
    const QByteArray name = picture_.ClassName().toLatin1();
    QByteArray out;
    out.append(char(name.size()));
    out.append(name);
    out.append(picture_.GraphicData());
    return out;
}

void TQImage::SetPictureData(const QByteArray& data)
{
    if (data.isEmpty())
        throw EObjectStreamError(QString::fromLatin1(StreamMessage::ReadError));
    const int length = uchar(data[0]);
    if (length > kMaxClassNameLength || length + 1 > data.size())
        throw EObjectStreamError(QString::fromLatin1(StreamMessage::ReadError));
    const QString className = QString::fromLatin1(data.mid(1, length));
    TPicture picture = picture_;
    QString message;
    if (!picture.SetGraphicData(className, data.mid(1 + length), &message))
        throw EObjectStreamError(message);
    SetPicture(picture);
}

const PropertyTable& TQImage::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQImage;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "AutoSize", 0, &T::AutoSize, &T::SetAutoSize));
        p.push_back(OrdinalProp<T, LabelBorder>(PropKind::Enum, "BorderStyle", std::nullopt, &T::BorderStyle,
            &T::SetBorderStyle, BorderStyleNames()));
        PropertyDecl picture;
        picture.name = QStringLiteral("Picture");
        picture.kind = PropKind::Binary;
        picture.getBinary = [](const Persistent& o) { return static_cast<const T&>(o).PictureData(); };
        picture.setBinary = [](Persistent& o, const QByteArray& b) { static_cast<T&>(o).SetPictureData(b); };
        p.push_back(picture);
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Stretch", 1, &T::Stretch, &T::SetStretch));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Reverse", std::nullopt, &T::Reverse, &T::SetReverse));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Flip", std::nullopt, &T::Flip, &T::SetFlip));
        return p;
    }();
    return t;
}

void TQImage::Paint()
{
    if (QPainter* p = CurrentCanvas()) {
        const QRect box(0, 0, Width(), Height());
        p->save();
        p->setClipRect(box, Qt::IntersectClip);
        p->setRenderHint(QPainter::Antialiasing, false);
        // PNG alpha and SVG drawings show what is behind, as in print.
        if (!picture_.IsTransparent())
            p->fillRect(box, Qt::white);
        if (picture_.HasGraphic()) {
            picture_.DrawCached(*p, box, flip_, reverse_);
        } else {
            // The placeholder of an image without a picture.
            p->setPen(QPen(Qt::black, 0));
            p->setBrush(Qt::white);
            p->drawRect(QRectF(0.5, 0.5, Width() - 1, Height() - 1));
        }
        if (borderStyle_ == LabelBorder::Single) {
            p->setPen(QPen(Qt::black, 0));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRectF(0.5, 0.5, Width() - 1, Height() - 1));
        }
        p->restore();
    }
    if (onPanelCanvas())
        DrawSelectionMarkers();
}

void TQImage::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch());
}

void TQImage::PrintAtResolution(TReport& report, double x, double y, int ppi)
{
    if (ppi <= 0)
        return;
    const double x1 = x + Left() / static_cast<double>(ppi);
    const double y1 = y + Top() / static_cast<double>(ppi);
    const double x2 = x + (Left() + Width()) / static_cast<double>(ppi);
    const double y2 = y + (Top() + Height()) / static_cast<double>(ppi);
    // Bitmaps go to paper at their own resolution, metafiles as vectors.
    PrintPicture(report, x1, y1, x2, y2, picture_, flip_, reverse_);
    if (borderStyle_ == LabelBorder::Single) {
        report.SetCardPen(clBlack, PenStyle::Solid, 1, PenMode::Copy, ppi);
        report.SetBrush(clWhite, BrushStyle::Clear);
        // Inside the box, through its edge pixels' middles, as on the panel.
        const double half = 0.5 / ppi;
        report.Rectangle(x1 + half, y1 + half, x2 - half, y2 - half);
    }
}

void TQImage::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Load Image From Disk")), &QAction::triggered, this,
        [this] { LoadImageFromDisk(); });
    menu.addSeparator();
    auto checkable = [&menu, this](const QString& text, auto action) {
        QAction* a = menu.addAction(text);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, action);
        return a;
    };
    borderItem_ = checkable(QStringLiteral("Border"), [this] { SetBorderStyle(borderStyle_ == LabelBorder::Single ? LabelBorder::NoBorder : LabelBorder::Single); });
    borderItem_->setChecked(borderStyle_ == LabelBorder::Single);
    stretchItem_ = checkable(QStringLiteral("Stretch to Fit"), [this] {
        SetStretch(!stretch_);
        Invalidate();
    });
    autoSizeItem_ = checkable(QStringLiteral("AutoSize"), [this] {
        SetAutoSize(!autoSize_);
        Invalidate();
    });
    flipItem_ = checkable(QStringLiteral("Flip"), [this] { SetFlip(!flip_); });
    reverseItem_ = checkable(QStringLiteral("Reverse"), [this] { SetReverse(!reverse_); });
}

void TQImage::PopupOpening()
{
    if (!borderItem_)
        return;
    borderItem_->setChecked(borderStyle_ == LabelBorder::Single);
    stretchItem_->setChecked(stretch_);
    autoSizeItem_->setChecked(autoSize_);
    flipItem_->setChecked(flip_);
    reverseItem_->setChecked(reverse_);
    flipItem_->setEnabled(picture_.IsBitmap());
    reverseItem_->setEnabled(picture_.IsBitmap());
}

bool TQImage::LoadImageFromDisk()
{
    // The browser's folder list changes the current folder.
    const QString folder = QDir::currentPath();
    TQImageBrowser browser(ProgramWindow());
    browser.SetOptions(stretch_, autoSize_);
    browser.SetPlacedSize(QSize(Width(), Height()));
    const int result = ExecModal(browser);
    // A file that could not be read was reported in the preview; the object
    // then keeps the picture it had.
    const bool taken = result == mrOk && !browser.SelectedFile().isEmpty() && browser.PreviewPicture().HasGraphic();
    if (taken) {
        picture_ = browser.PreviewPicture();
        stretch_ = browser.StretchChecked();
        autoSize_ = browser.AutoSizeChecked();
        PictureChanged();
        NotifyChanged();
    }
    QDir::setCurrent(folder);
    return taken;
}

// A picture from a file.
void RegisterPictureKind()
{
    {
        ObjectKind kind;
        kind.className = TQImage::StaticClassName();
        kind.factory = &TQImage::Create;
        kind.selectionTip = QStringLiteral("Picture selected: right-click it to load another picture, mirror it or frame it.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawImageButton");
            t.icon = QStringLiteral("image");
            t.noun = QStringLiteral("Picture");
            t.hint = QStringLiteral("A picture from a file");
            t.whatsThis = QStringLiteral("Picture tool: drag a box, then choose a picture file to place in it.");
            t.assistantTip = QStringLiteral("drag a box, then choose a picture file. The picture is stretched to the box; its handles size it later.");
            t.helpTopic = 40003;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQImage::CreateForTool(at.owner); };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* image = qobject_cast<TQImage*>(object);
                return image && image->LoadImageFromDisk();
            };
            t.pointerBeforeDialog = true;
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
