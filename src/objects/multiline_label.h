#pragma once
#include "objects/graphic_control.h"
#include "objects/text_label.h"
#include <QFont>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QFontMetrics;
class QMenu;
class QPainter;
class QPicture;

namespace cardora {

// Line layout of the multi-line label, apart from the label so that it can
// be measured on its own.
namespace multiline_layout {

// Pixels of the box width the edit control loses to its frame and inner
// margins; lines are wrapped to the rest.
constexpr int kWrapInsets = 6;

// Keeps the given line breaks and breaks each longer line after the last
// space that fits `width` pixels (spaces at a break stay at the end of the
// line and do not count); a word wider than that breaks between characters.
QStringList WrapLines(const QStringList& lines, const QFontMetrics& metrics, int width);

// An editor's text as lines: one per line break; a final line break adds no
// empty line and an empty text has no lines.
QStringList SplitText(const QString& text);

} // namespace multiline_layout

// A block of lines in one font, aligned left, centred or right, optionally
// wrapped at the box width. No background, frame or effects.
class TQMultiLineBaseLabel : public TQGraphicControl {
    Q_OBJECT
public:
    // What an empty label shows (and prints) in place of its lines.
    static QString BlankText() { return QStringLiteral("<blank>"); }

    explicit TQMultiLineBaseLabel(QObject* owner = nullptr);
    ~TQMultiLineBaseLabel() override;

    QString ClassName() const override { return QStringLiteral("TQMultiLineBaseLabel"); }

    // --- stored properties
    const QStringList& Items() const { return items_; }
    // The lines with their fields filled, as the card shows them.
    QStringList ShownItems() const;
    QStringList TypedTexts() const override { return items_; }
    void FieldValuesChanged() override;
    void SetItems(const QStringList& items);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v) { autoSize_ = v; }
    TextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TextAlignment v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

    const PropertyTable& Properties() const override;

    // The lines after the last Rewrap; drawn while WordWrap is on.
    const QStringList& WrappedLines() const { return wrappedLines_; }
    virtual void Rewrap();

    // The font the lines are drawn in, bounded in size.
    QFont ShownFont() const;
    // Height of one line: the cell height of "XXX" in the shown font.
    int LineHeight() const;
    // Where a line of width `lineWidth` starts in a box `boxWidth` wide (TextAlignment).
    static int LineOffset(TextAlignment alignment, int boxWidth, int lineWidth);

    // Draws the lines (or "<blank>") in object coordinates, transparent.
    void DrawLines(QPainter& canvas) const;
    // A vector picture of the label's size holding its lines.
    std::unique_ptr<QPicture> MakeMetafile();
    // Height to the line count, width grown to the widest line.
    void FitToLines();

    // --- overridable operations
    void Loaded() override;
    void BoundsChanged() override;
    void PopupOpening() override;
    void ApplyFont(const FontChoice& choice) override;
    void PrintAt(TReport& report, double x, double y) override;
    void Paint() override;

    // Menu commands.
    void ChooseFontCommand();

protected:
    void AddMenuItems(QMenu& menu) override;
    // Lays the lines out again when the box, the font or the
    // items changed since the last layout (a card just read, for instance).
    void EnsureWrapped();

private:
    void layOut();

    QStringList items_;
    QStringList wrappedLines_;
    bool autoSize_ = false;
    TextAlignment alignment_ = TextAlignment::LeftJustify;
    bool wordWrap_ = false;
    // What the last layout was made for.
    int itemsRevision_ = 0;
    int wrappedRevision_ = -1;
    int wrappedWidth_ = -1;
    QFont wrappedFont_;
    std::array<QAction*, 3> alignmentItems_ {}; // Left, Center, Right
};

// The multi-line label the drawing tool makes: adds the text editor and the
// Word Wrap command.
class TQMultiLineLabel : public TQMultiLineBaseLabel {
    Q_OBJECT
public:
    explicit TQMultiLineLabel(QObject* owner = nullptr) : TQMultiLineBaseLabel(owner) {}

    static QString StaticClassName() { return QStringLiteral("TQMultiLineLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQMultiLineLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the multi-line tool creates: Loaded, with the given font.
    static TQMultiLineLabel* CreateForTool(QObject* owner, const TFont& font);

    void PopupOpening() override;
    // The "Multi-line Text Editor"; true when confirmed.
    bool EditText();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    QAction* wordWrapItem_ = nullptr;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterMultiLineKind();

} // namespace cardora
