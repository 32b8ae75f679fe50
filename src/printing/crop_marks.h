#pragma once
#include "printing/card_layout.h"
#include <QLineF>
#include <vector>

namespace cardora {

// Cutting marks for cards printed on plain sheets: at each corner of a card,
// two short lines continue its edges outward, a little away from the corner.
struct TCropMarks {
    static constexpr double kGap = 1.0 / 16.0;   // inches from the corner to the mark
    static constexpr double kLength = 0.25;      // inches
    static constexpr double kClearance = 1.0 / 32.0; // kept free around every card
    static constexpr double kShortest = 1.0 / 16.0;  // shorter pieces are left out

    // The marks of the card at (row, col), in inches on the sheet. Parts that
    // would fall on any card of the sheet are cut away, so a mark never lies
    // over a neighbouring card; where cards touch, the marks between them go.
    static std::vector<QLineF> ForCard(const TSheetGeometry& sheet, int row, int col);
};

} // namespace cardora
