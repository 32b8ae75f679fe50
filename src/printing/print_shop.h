#pragma once
#include "core/fields.h"
#include <QLineF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace cardora {

class TPicture;
class CardView;

// What a print shop needs besides the card: how far art runs past the
// trimmed edge (the bleed), and how far inside it text keeps (the safe area).
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kMaxBleedInches = 6.0 / kMillimetresPerInch;
inline constexpr double kEighthInch = 0.125;
inline constexpr double kThreeMillimetres = 3.0 / kMillimetresPerInch;
inline constexpr double kDefaultSafeInches = kEighthInch;

// A length typed as "3mm", "3 mm", "0.125in" or "1/8in"; nullopt without a
// unit, for anything else, and for a negative length.
std::optional<double> ParseLengthInches(const QString& text);
// "3 mm", "1/8 in" or "3.5 mm", for messages and dialogs.
QString LengthText(double inches);

// A print-shop PDF of one card: the page is the card and its bleed, with
// room outside the bleed for crop marks when asked; the trim box is the card,
// the bleed box the card and its bleed.
struct TShopPdfOptions {
    QSizeF CardInches { 3.5, 2.0 };
    double BleedInches = 0.0;
    bool CropMarks = false;
    // Background art over the card (not into the bleed), or null.
    const TPicture* Art = nullptr;
    // A merged run: one page per record, each card's fields filled from it.
    // The records must outlive the export.
    const TFieldRecords* Records = nullptr;
};

// Crop marks: from just outside the bleed, continuing the card's edges.
struct TShopCropMarks {
    static constexpr double kGap = 1.0 / 16.0;  // inches beyond the bleed
    static constexpr double kLength = 0.25;     // inches
    // The page's margin around the card.
    static double Margin(double bleedInches, bool cropMarks);
    // The marks of a card whose corner is at `corner`, in inches on the page.
    static std::vector<QLineF> ForCard(QPointF corner, QSizeF card, double bleedInches);
};

// Writes the shop PDF of the card on `panel` to `path`, safely (the file
// appears only when complete and never replaces one of `inputs`). Returns
// the error text, empty on success.
QString WriteShopPdf(CardView& panel, const TShopPdfOptions& options, const QString& path,
    const QStringList& inputs = {});

} // namespace cardora
