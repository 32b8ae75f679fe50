#include "objects/qrcode/qr_code.h"
#include "core/assign.h"
#include "core/contact_card.h"
#include "core/window_placement.h"
#include "objects/class_registry.h"
#include "objects/qrcode/qr_code_dialog.h"
#include "objects/text_box.h"
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QRegularExpression>
#include <algorithm>

namespace cardora {

namespace {
constexpr int kQuietModules = 4;
constexpr double kMmPerInch = 25.4;
} // namespace

const QStringList& ErrorLevelNames()
{
    static const QStringList n = { "ecL", "ecM", "ecQ", "ecH" };
    return n;
}

QStringList QrSizeCheck::Warnings() const
{
    QStringList w;
    if (!fits)
        w << QStringLiteral("The content does not fit in a QR code at this level: shorten it or choose a lower level.");
    if (ModuleTooSmall())
        w << QStringLiteral("Each dot prints %1 mm wide, under 0.25 mm: make the code larger, the content shorter "
                            "or the level lower, or it may not scan.")
                 .arg(moduleMm, 0, 'f', 2);
    if (CodeTooSmall())
        w << QStringLiteral("The code prints %1 mm wide, under 15 mm: phones may not read it. Make it larger.")
                 .arg(codeMm, 0, 'f', 1);
    return w;
}

QrSizeCheck CheckQrSize(double boxWidthInches, double boxHeightInches, int modules)
{
    QrSizeCheck c;
    if (modules <= 0) {
        c.fits = false;
        return c;
    }
    const double sideMm = std::max(0.0, std::min(boxWidthInches, boxHeightInches)) * kMmPerInch;
    c.moduleMm = sideMm / (modules + 2 * kQuietModules);
    c.codeMm = c.moduleMm * modules;
    return c;
}

TQRCode::TQRCode(QObject* owner) : TQGraphicControl(owner)
{
    SetLoading(true);
    SetBounds(0, 0, 96, 96);
    SetLoading(false);
}

TQRCode* TQRCode::CreateForTool(QObject* owner)
{
    auto* c = new TQRCode(owner);
    c->Loaded();
    return c;
}

void TQRCode::changed()
{
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQRCode::SetData(const QString& v)
{
    if (Assign(data_, v))
        changed();
}

void TQRCode::SetErrorLevel(ErrorCorrection v)
{
    if (v >= ErrorCorrection::Low && v <= ErrorCorrection::High && Assign(errorLevel_, v))
        changed();
}

void TQRCode::SetMeCard(bool v)
{
    if (Assign(meCard_, v))
        changed();
}

void TQRCode::SetForeColor(TColor v)
{
    if (Assign(foreColor_, v))
        changed();
}

void TQRCode::SetBackColor(TColor v)
{
    if (Assign(backColor_, v))
        changed();
}

void TQRCode::SetTransparent(bool v)
{
    if (Assign(transparent_, v))
        changed();
}

const PropertyTable& TQRCode::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQRCode;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(TextProp<T>("Data", &T::Data, &T::SetData));
        p.push_back(OrdinalProp<T, ErrorCorrection>(PropKind::Enum, "ErrorLevel", std::nullopt, &T::ErrorLevel,
            &T::SetErrorLevel, ErrorLevelNames()));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "MeCard", std::nullopt, &T::MeCard, &T::SetMeCard));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "ForeColor", std::nullopt, &T::ForeColor, &T::SetForeColor));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BackColor", std::nullopt, &T::BackColor, &T::SetBackColor));
        p.push_back(
            OrdinalProp<T, bool>(PropKind::Boolean, "Transparent", std::nullopt, &T::Transparent, &T::SetTransparent));
        return p;
    }();
    return t;
}

// ---- content

TFieldRecord TQRCode::Record() const
{
    if (previewRecord_)
        return *previewRecord_;
    if (CardObjectParent* p = ParentPanel()) {
        if (const TFieldRecord* r = p->FieldValues())
            return *r;
        return PersonalRecord(p->PersonalInfo());
    }
    return TFieldRecord();
}

namespace {
const QRegularExpression& contactPattern()
{
    static const QRegularExpression contact(QStringLiteral("\\$\\{vCard\\}"),
        QRegularExpression::CaseInsensitiveOption);
    return contact;
}
} // namespace

QStringList TQRCode::TypedTexts() const { return { QString(data_).remove(contactPattern()) }; }

QString TQRCode::Content() const
{
    const QRegularExpression& contact = contactPattern();
    const TFieldRecord record = Record();
    // Each piece between the contacts is filled on its own, so a value that
    // looks like a field is never filled again.
    QStringList pieces = data_.split(contact);
    for (QString& piece : pieces)
        piece = ExpandFields(piece, record);
    if (pieces.size() == 1)
        return pieces.front();
    return pieces.join(meCard_ ? MeCardText(record) : VCardText(record));
}

const QrMatrix& TQRCode::Matrix() const
{
    const QString content = Content();
    if (content != cachedContent_ || int(errorLevel_) != cachedLevel_) {
        cachedMatrix_ = EncodeQr(content.toUtf8(), static_cast<QrLevel>(errorLevel_));
        cachedContent_ = content;
        cachedLevel_ = int(errorLevel_);
    }
    return cachedMatrix_;
}

const QPainterPath& TQRCode::ModuleOutline() const
{
    const QrMatrix& m = Matrix();
    if (outlineFor_ == cachedContent_ && outlineLevel_ == cachedLevel_)
        return outline_;
    // The dark runs of each row, merged into outlines that neither overlap
    // nor touch: one fill without seams between modules, which stays the
    // same when an output clips it to the box.
    QPainterPath runs;
    runs.setFillRule(Qt::WindingFill);
    for (int y = 0; y < m.size; ++y) {
        for (int x = 0; x < m.size;) {
            if (!m.Dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < m.size && m.Dark(end, y))
                ++end;
            runs.addRect(QRectF(x, y, end - x, 1));
            x = end;
        }
    }
    outline_ = runs.simplified();
    outlineFor_ = cachedContent_;
    outlineLevel_ = cachedLevel_;
    return outline_;
}

QrSizeCheck TQRCode::SizeCheck() const
{
    const double ppi = ScreenPixelsPerInch();
    return CheckQrSize(Width() / ppi, Height() / ppi, Matrix().size);
}

// ---- drawing

void TQRCode::DrawTo(QPainter& canvas, bool smooth) const
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    if (!transparent_)
        canvas.fillRect(QRect(0, 0, w, h), ToQColor(backColor_));
    const QColor ink = ToQColor(foreColor_);
    const QrMatrix& m = Matrix();
    if (m.IsEmpty()) {
        // Nothing to encode, or too much: a crossed box says so wherever it shows.
        canvas.setPen(QPen(ink, 0));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRectF(0.5, 0.5, w - 1.0, h - 1.0));
        canvas.drawLine(QPointF(0, 0), QPointF(w, h));
        canvas.drawLine(QPointF(0, h), QPointF(w, 0));
        return;
    }
    const double side = std::min(w, h);
    const double unit = side / (m.size + 2 * kQuietModules);
    const double left = (w - side) / 2 + kQuietModules * unit, top = (h - side) / 2 + kQuietModules * unit;
    const QPainterPath path = QTransform(unit, 0, 0, unit, left, top).map(ModuleOutline());
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, smooth);
    canvas.fillPath(path, ink);
    canvas.restore();
}

void TQRCode::Paint()
{
    // On screen modules are a few pixels wide: blending their edges keeps
    // each part of the code as dark as it prints.
    if (QPainter* p = CurrentCanvas())
        DrawTo(*p, true);
    DrawSelectionMarkers();
}

void TQRCode::PrintAt(TReport& report, double x, double y)
{
    if (Width() <= 0 || Height() <= 0)
        return;
    QPicture picture;
    {
        QPainter p(&picture);
        DrawTo(p);
    }
    picture.setBoundingRect(QRect(0, 0, Width(), Height()));
    PrintBoxPicture(report, x, y, ScreenPixelsPerInch(), picture);
}

void TQRCode::CopySettingsFrom(const TQRCode& other)
{
    SetData(other.data_);
    SetErrorLevel(other.errorLevel_);
    SetMeCard(other.meCard_);
    SetForeColor(other.foreColor_);
    SetBackColor(other.backColor_);
    SetTransparent(other.transparent_);
}

// ---- menu and dialog

bool TQRCode::ShowProperties()
{
    TQRCodeProperties dialog(ProgramWindow());
    dialog.Preview()->SetPreviewRecord(Record());
    dialog.Preview()->CopySettingsFrom(*this);
    const double ppi = ScreenPixelsPerInch();
    dialog.SetBoxInches(Width() / ppi, Height() / ppi);
    dialog.LoadFromPreview();
    if (ExecModal(dialog) != mrOk)
        return false;
    CopySettingsFrom(*dialog.Preview());
    Invalidate();
    NotifyChanged();
    return true;
}

void TQRCode::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Foreground Color")), &QAction::triggered, this, [this] {
        if (const std::optional<QColor> c = ChooseColor(ToQColor(foreColor_)))
            SetForeColor(FromQColor(*c));
    });
    connect(menu.addAction(QStringLiteral("Background Color")), &QAction::triggered, this, [this] {
        if (const std::optional<QColor> c = ChooseColor(ToQColor(backColor_))) {
            SetBackColor(FromQColor(*c));
            SetTransparent(false);
        }
    });
    transparentItem_ = menu.addAction(QStringLiteral("Transparent"));
    transparentItem_->setCheckable(true);
    connect(transparentItem_, &QAction::triggered, this, [this] { SetTransparent(!transparent_); });
    connect(menu.addAction(QStringLiteral("Properties")), &QAction::triggered, this, [this] { ShowProperties(); });
}

void TQRCode::PopupOpening()
{
    if (transparentItem_)
        transparentItem_->setChecked(transparent_);
}

void RegisterQRCodeKind()
{
    ObjectKind kind;
    kind.className = TQRCode::StaticClassName();
    kind.factory = &TQRCode::Create;
    kind.selectionTip = QStringLiteral("QR code selected: right-click it and choose Properties for what it holds "
                                       "(your contact by default), its error correction and colours.");
    ObjectTool t;
    t.buttonName = QStringLiteral("DrawQRCodeButton");
    t.icon = QStringLiteral("qrcode");
    t.noun = QStringLiteral("QR Code");
    t.hint = QStringLiteral("A QR code of your contact details that phones can scan");
    t.whatsThis = QStringLiteral("QR Code tool: drag a box for a QR code that a phone turns into your contact, or "
                                 "any text such as a web address.");
    t.assistantTip = QStringLiteral("drag a square box; the code holds your contact details (each merged card its "
                                    "own person's). Keep it at least 15 mm wide.");
    t.helpTopic = TQRCodeProperties::kHelpTopic;
    t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQRCode::CreateForTool(at.owner); };
    t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
        auto* code = qobject_cast<TQRCode*>(object);
        return code && code->ShowProperties();
    };
    t.pointerBeforeDialog = true;
    kind.tools.push_back(t);
    ObjectKinds::Register(std::move(kind));
}

} // namespace cardora
