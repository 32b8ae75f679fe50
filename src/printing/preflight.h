#pragma once
#include "printing/print_shop.h"
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <vector>

namespace cardora {

class TPicture;
class TQGraphicControl;

// One thing a print shop would call about.
struct TPreflightWarning {
    // text-outside-safe-area, art-short-of-bleed, low-resolution-picture,
    // tiny-text, qr-too-small
    QString Code;
    QString Object;  // the object's name, or "background art"
    QString Message; // one sentence for the user
};

struct TPreflightOptions {
    QSizeF CardInches { 3.5, 2.0 };
    double BleedInches = 0.0;
    double SafeInches = kDefaultSafeInches;
    const TPicture* Art = nullptr; // the card's background art, or null
};

// Text must lie this far inside the trim, and be at least this big.
inline constexpr double kSmallestTextPoints = 6.0;

// The checks of a card before it goes to a shop, objects in stacking order.
// Hidden objects do not print and are not checked.
std::vector<TPreflightWarning> PreflightCard(const std::vector<TQGraphicControl*>& objects,
    const TPreflightOptions& options);

// {"ok": bool, "warnings": [{"code", "object", "message"}]} on one line.
QByteArray PreflightJson(const std::vector<TPreflightWarning>& warnings);

} // namespace cardora
