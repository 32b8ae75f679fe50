#pragma once
#include "core/color.h"
#include "printing/card_layout.h"
#include "printing/print_shop.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace cardora {

class TFont;

struct TDefaultFont {
    QString Name = "Arial";
    int Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    // Kept only by files written since the font dialog offered them: a file
    // without the keys leaves the font's strike-out as it is, and black text.
    std::optional<bool> StrikeOut;
    TColor Color = clBlack;
};

// Output for print shops: the bleed (0 when off), the safe area and whether
// the panel shows the guides.
struct TPrintShopPrefs {
    double BleedInches = 0.0;
    double SafeInches = kDefaultSafeInches;
    bool ShowGuides = false;
};

// Everything CDW.INI remembers apart from recent files and window placement.
struct TPreferences {
    TPrinterNudges Nudges;
    TPrinterNudges BackNudges; // the second side of two-sided printing
    bool ShowBottomMarginWarning = true;
    QStringList Personal = QStringList(10); // Name .. Fax
    TCardLayout Layout;
    TDefaultFont DefaultFont;
    TPrintShopPrefs PrintShop;
};

const QStringList& PersonalKeys();

// Reads every key, defaults for what is missing or malformed. *readable is
// false when the file exists but could not be read.
TPreferences LoadPreferencesFile(const QString& path, bool* readable = nullptr);
void SavePreferencesFile(const QString& path, const TPreferences& prefs);

// The default font applied to a font: name, size and three styles; other styles stay.
void ApplyDefaultFont(const TDefaultFont& d, TFont& font);
TDefaultFont DefaultFontOf(const TFont& font);

} // namespace cardora
