#pragma once
#include "core/fields.h"
#include <QPointF>
#include <QSizeF>
#include <optional>

class QPainter;

namespace cardora {

class TPicture;
class CardView;
class TReport;

// A merged run: while it lives the panel shows each record given to Show;
// afterwards the values it showed before (a record, the personal
// information, or the fields as typed) come back.
class TMergedRecordScope {
public:
    explicit TMergedRecordScope(CardView& panel);
    ~TMergedRecordScope();
    TMergedRecordScope(const TMergedRecordScope&) = delete;
    TMergedRecordScope& operator=(const TMergedRecordScope&) = delete;

    void Show(const TFieldRecord& record);

private:
    CardView& panel_;
    std::optional<TFieldRecord> shown_;
    bool typed_;
};

// The one way a card reaches paper, a PDF, an SVG or a picture: the panel's
// background art and every object, drawn from the card's own geometry at
// the report's resolution, each object from a clean state and clipped to its
// box, the whole card clipped to its own rectangle. While a drawer lives the
// panel is printing; its zoom is the view's only and plays no part.
class TCardDrawer {
public:
    TCardDrawer(CardView& panel, QSizeF cardInches);
    ~TCardDrawer();
    TCardDrawer(const TCardDrawer&) = delete;
    TCardDrawer& operator=(const TCardDrawer&) = delete;

    // Art drawn from the card's corner at `inches` (the sheet printer's art
    // has a fixed size; an export stretches it over the card). Null for none.
    void SetArt(const TPicture* art, QSizeF inches);
    QSizeF CardInches() const { return card_; }
    // For a print shop only: objects crossing the card's edge run on this
    // far past it (inches) instead of being cut at the edge, their surfaces
    // made for it while the drawer lives. Sheets keep 0.
    void SetBleed(double inches);

    // The card with its corner at (x, y) inches on the report's page.
    void Draw(TReport& report, double x, double y) const;

private:
    CardView& panel_;
    QSizeF card_;
    const TPicture* art_ = nullptr;
    QSizeF artInches_;
    bool wasPrinting_;
    double bleed_ = 0.0;
    double panelBleed_; // the panel's own, given back at the end
    quint64 outerJob_;
};

} // namespace cardora
