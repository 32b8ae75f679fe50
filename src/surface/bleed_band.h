#pragma once
#include <QWidget>

namespace cardora {

class CardView;

// The band around the card where art runs on past the trim for a print
// shop: drawn dimmed behind the panel, with what of each object reaches
// into it and, with the guides on, the bleed line at its outer edge. Clicks
// on it go to what lies beneath.
class TBleedBand : public QWidget {
public:
    TBleedBand(CardView& panel, QWidget* parent);
    // Takes the panel's place, size, zoom and bleed; hidden without a bleed.
    void Follow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardView& panel_;
};

} // namespace cardora
