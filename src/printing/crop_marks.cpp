#include "printing/crop_marks.h"
#include <algorithm>
#include <utility>

namespace cardora {

namespace {
using Interval = std::pair<double, double>;

// What is left of [a, b] once `cut` is taken out.
std::vector<Interval> subtract(const std::vector<Interval>& pieces, Interval cut)
{
    std::vector<Interval> out;
    for (const Interval& p : pieces) {
        if (cut.second <= p.first || cut.first >= p.second) {
            out.push_back(p);
            continue;
        }
        if (cut.first > p.first)
            out.push_back({ p.first, cut.first });
        if (cut.second < p.second)
            out.push_back({ cut.second, p.second });
    }
    return out;
}

// An axis-aligned mark without the parts that lie inside a card of the sheet.
void addClipped(std::vector<QLineF>& marks, const TSheetGeometry& g, QLineF line)
{
    const bool horizontal = line.y1() == line.y2();
    std::vector<Interval> pieces { horizontal ? Interval(std::min(line.x1(), line.x2()), std::max(line.x1(), line.x2()))
                                              : Interval(std::min(line.y1(), line.y2()), std::max(line.y1(), line.y2())) };
    const double across = horizontal ? line.y1() : line.x1();
    for (int row = 0; row < g.Down; ++row) {
        for (int col = 0; col < g.Across; ++col) {
            // Edges count as the card, and a thin border around it too.
            const QRectF card = g.CardRect(row, col).adjusted(-TCropMarks::kClearance, -TCropMarks::kClearance,
                TCropMarks::kClearance, TCropMarks::kClearance);
            const bool crosses = horizontal ? (across >= card.top() && across <= card.bottom())
                                            : (across >= card.left() && across <= card.right());
            if (crosses)
                pieces = subtract(pieces, horizontal ? Interval(card.left(), card.right())
                                                     : Interval(card.top(), card.bottom()));
        }
    }
    for (const Interval& p : pieces) {
        if (p.second - p.first < TCropMarks::kShortest)
            continue;
        marks.push_back(horizontal ? QLineF(p.first, across, p.second, across) : QLineF(across, p.first, across, p.second));
    }
}
} // namespace

std::vector<QLineF> TCropMarks::ForCard(const TSheetGeometry& g, int row, int col)
{
    std::vector<QLineF> marks;
    if (g.CardWidth <= 0 || g.CardHeight <= 0)
        return marks;
    const QRectF c = g.CardRect(row, col);
    const double near = kGap;
    const double far = kGap + kLength;
    for (const double x : { c.left(), c.right() }) {
        const double outward = x == c.left() ? -1.0 : 1.0;
        for (const double y : { c.top(), c.bottom() }) {
            const double down = y == c.top() ? -1.0 : 1.0;
            addClipped(marks, g, QLineF(x + outward * near, y, x + outward * far, y));
            addClipped(marks, g, QLineF(x, y + down * near, x, y + down * far));
        }
    }
    return marks;
}

} // namespace cardora
