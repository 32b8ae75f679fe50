#pragma once
#include "core/fields.h"
#include "imaging/qr_encode.h"
#include "objects/graphic_control.h"
#include <QPainterPath>
#include <QStringList>
#include <optional>

class QAction;

namespace cardora {

enum class ErrorCorrection { Low, Medium, Quartile, High };
const QStringList& ErrorLevelNames();

// How a QR code will print at its size: a module under 0.25 mm or a code
// (without its quiet zone) under 15 mm may not scan.
struct QrSizeCheck {
    bool fits = true;     // false: the content does not fit at the level
    double moduleMm = 0.0;
    double codeMm = 0.0;
    bool ModuleTooSmall() const { return fits && moduleMm < 0.25; }
    bool CodeTooSmall() const { return fits && codeMm < 15.0; }
    // What the properties dialog warns of, one sentence each; none when fine.
    QStringList Warnings() const;
};
// A code of `modules` modules a side (0: the content did not fit) in a box of
// that many inches; the code is square, with a quiet zone of four modules.
QrSizeCheck CheckQrSize(double boxWidthInches, double boxHeightInches, int modules);

// A QR code of the card's own fields: "${vCard}" (the default) becomes the
// contact of the card's person as a vCard or MeCard, other ${Name} fields
// their values; any other text is encoded as it is. Square, centred in its
// box with a quiet zone of four modules, drawn as vector rectangles.
class TQRCode : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQRCode(QObject* owner = nullptr);

    static QString StaticClassName() { return QStringLiteral("TQRCode"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQRCode(owner); }
    QString ClassName() const override { return StaticClassName(); }
    static TQRCode* CreateForTool(QObject* owner);
    static QString DefaultData() { return QStringLiteral("${vCard}"); }

    // --- stored properties, in their stored order
    QString Data() const { return data_; }
    void SetData(const QString& v);
    ErrorCorrection ErrorLevel() const { return errorLevel_; }
    void SetErrorLevel(ErrorCorrection v);
    bool MeCard() const { return meCard_; }
    void SetMeCard(bool v);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor v);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    const PropertyTable& Properties() const override;

    // The values the fields take: the parent's record, else its personal
    // information (a panel showing fields as typed still prints a code that
    // scans), else the record a dialog's preview was given.
    TFieldRecord Record() const;
    void SetPreviewRecord(const TFieldRecord& record) { previewRecord_ = record; }
    // The text encoded for the current record.
    QString Content() const;
    // The modules for the current record; empty when the content does not fit.
    const QrMatrix& Matrix() const;
    // The dark modules as outlines, one unit a module, (0, 0) the symbol's
    // corner.
    const QPainterPath& ModuleOutline() const;
    // The code at its stored size.
    QrSizeCheck SizeCheck() const;

    // The content's fields; ${vCard} is not one: it takes what the record has.
    QStringList TypedTexts() const override;
    void FieldValuesChanged() override { Invalidate(); }

    // Drawn at the box's size in object coordinates; `smooth` blends module
    // edges that fall between pixels (the screen), else each device pixel is
    // ink or not (sharp edges on a printer).
    void DrawTo(QPainter& canvas, bool smooth = false) const;
    void Paint() override;
    void PrintAt(TReport& report, double x, double y) override;
    void CopySettingsFrom(const TQRCode& other);

    // The "QR Code Properties" dialog; true when confirmed.
    bool ShowProperties();

protected:
    void AddMenuItems(QMenu& menu) override;
    void PopupOpening() override;

private:
    void changed();

    QString data_ = DefaultData();
    ErrorCorrection errorLevel_ = ErrorCorrection::Medium;
    bool meCard_ = false;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
    bool transparent_ = false;
    std::optional<TFieldRecord> previewRecord_;

    mutable QString cachedContent_;
    mutable int cachedLevel_ = -1;
    mutable QrMatrix cachedMatrix_;
    mutable QPainterPath outline_;
    mutable QString outlineFor_;
    mutable int outlineLevel_ = -2;
    QAction* transparentItem_ = nullptr;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterQRCodeKind();

} // namespace cardora
