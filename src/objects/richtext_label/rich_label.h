#pragma once
#include "objects/box_menu.h"
#include "objects/graphic_control.h"
#include "objects/label_border.h"
#include "objects/stream_error.h"
#include "richtext/rich_text_control.h"
#include "richtext/rich_text_storage.h"
#include <QPointer>
#include <memory>

class QAction;
class QPicture;

namespace cardora {

// Raised when a rich-text label finds no master control to paint through.
class ENoMasterWPRich : public EStreamError {
public:
    ENoMasterWPRich() : EStreamError(QStringLiteral("No master rich text object found")) {}
};

// The name the rich-text labels look for their shared painter under.
inline constexpr char kMasterRichTextName[] = "MASTERWPRICHTEXT";

// A box of formatted text. The label keeps the document (stored as RTF) and
// paints it through the one master control of its window.
class TQPRichBaseLabel : public TQGraphicControl {
    Q_OBJECT
public:
    static constexpr int kEditorHelpTopic = 40013;

    explicit TQPRichBaseLabel(QObject* owner = nullptr);
    ~TQPRichBaseLabel() override;

    static QString StaticClassName() { return QStringLiteral("TQPRichBaseLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQPRichBaseLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the rich-text tool creates: Loaded (throws ENoMasterWPRich).
    static TQPRichBaseLabel* CreateForTool(QObject* owner);

    // --- stored properties
    const QTextDocument& RTFText() const { return rtfStorage_.Document(); }
    void SetRTFText(const QTextDocument& document);
    LabelBorder BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(LabelBorder v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TColor BGColor() const { return bgColor_; }
    void SetBGColor(TColor c);
    const TRichTextStorage& RtfStorage() const { return rtfStorage_; }
    QStringList TypedTexts() const override { return {RTFText().toPlainText()}; }

    const PropertyTable& Properties() const override;

    // The first master control among the window's components, or null.
    TRichTextControl* FindMasterRichText() const;
    TRichTextControl* MasterRichText() const { return master_; }

    // Paints background, document and frame in object coordinates.
    void DrawRich(QPainter& canvas);
    // A vector picture of the label's size holding DrawRich.
    std::unique_ptr<QPicture> MakeMetafile();

    // The "Rich Text Editor"; true when confirmed.
    bool EditRichText();
    void ChooseBackgroundColor();

    // --- overridable operations
    void Loaded() override;
    void PopupOpening() override;
    void PrintAt(TReport& report, double x, double y) override;
    void Paint() override;

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    TRichTextStorage rtfStorage_;
    QPointer<TRichTextControl> master_;
    LabelBorder borderStyle_ = LabelBorder::Single;
    bool transparent_ = true;
    TColor bgColor_ = 0x00FFFFFF;
    BoxMenuItems boxItems_;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterRichTextKind();

} // namespace cardora
