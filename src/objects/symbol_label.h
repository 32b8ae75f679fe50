#pragma once
#include "objects/text_label.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace cardora {

// One character of a symbol font. Its box always hugs the glyph: every move
// or resize on the panel snaps back to the glyph's size.
class TQSymbolLabel : public TQBaseLabel {
    Q_OBJECT
public:
    explicit TQSymbolLabel(QObject* owner = nullptr);

    static QString StaticClassName() { return QStringLiteral("TQSymbolLabel"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQSymbolLabel(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the symbol tool creates before placing, Loaded.
    static TQSymbolLabel* CreateForTool(QObject* owner);

    // The caption holding the symbol of byte code `code` (32..255), as the
    // card file keeps it.
    static QString CaptionForCode(int code);
    // The byte code of the caption's character; -1 when there is none.
    int Code() const;

    void Loaded() override;
    void BoundsChanged() override;
    // The panel's Font command leaves symbols alone.
    void ApplyFont(const FontChoice& choice) override;

    // True when the dialog was confirmed.
    bool SelectSymbol();
    void FitToGlyph();

protected:
    void AddMenuItems(QMenu& menu) override;
    void LayoutChanged(const LabelLayout& previous) override;

private:
    bool fitting_ = false;
};

// "Symbol Selector": the 224 characters 32..255 of a font in a grid.
class TGetSymbol : public QDialog {
    Q_OBJECT
public:
    explicit TGetSymbol(QWidget* parent = nullptr);
    ~TGetSymbol() override;
    static constexpr int kHelpTopic = 40005;
    // Characters of the grid are this many pixels high.
    static constexpr int kGridPixels = 27;

    // Opening: the choice takes the label's font, the grid its name and
    // style, and the caption's character is selected.
    void Setup(const TFont& labelFont, const QString& caption);

    // Columns of the grid for a font size in points.
    static int ColumnsForPointSize(int points);
    int Columns() const { return columns_; }
    int GridPointSize() const;
    // "Name, 20pt Bold " and the like.
    QString FontButtonCaption() const;
    // The grid's font for drawing its characters.
    QFont GridFont() const;
    QString GridFontName() const { return gridName_; }
    FontStyles GridFontStyle() const { return gridStyle_; }
    TColor GridFontColor() const { return gridColor_; }

    // Code of the selected character, -1 when none is selected.
    int SelectedCode() const;
    const TFont& SelectedFont() const { return selected_; }

    QPushButton* Fontbutton() const { return fontButton_; }
    QListWidget* SymbolList() const { return symbolList_; }
    QLabel* SelectedChar() const { return selectedChar_; }

    // Offers a list of fonts (`SymbolSets`) instead of the font button: the
    // first whose name contains "WINGDING" is chosen, else the first, and
    // the grid starts at its first character.
    void OfferFonts(const QStringList& families);
    QComboBox* SymbolSets() const { return symbolSets_; }
    void showSymbolSet(int index);

    void chooseFont();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activate();
    void applyColumns();

    QPushButton* fontButton_ = nullptr;
    QListWidget* symbolList_ = nullptr;
    QLabel* selectedChar_ = nullptr;
    QComboBox* symbolSets_ = nullptr;
    TFont selected_;
    QString gridName_ = QStringLiteral("WingDings");
    FontStyles gridStyle_;
    TColor gridColor_ = clBlack;
    int columns_ = 10;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterSymbolKind();

} // namespace cardora
