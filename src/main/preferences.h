#pragma once
#include "printing/card_layout.h"
#include <QString>
#include <QStringList>

namespace cardora {

class TFont;

struct TDefaultFont {
    QString Name = "Arial";
    int Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

// Everything CDW.INI remembers apart from recent files and window placement.
struct TPreferences {
    TPrinterNudges Nudges;
    bool ShowBottomMarginWarning = true;
    QStringList Personal = QStringList(10); // Name .. Fax
    TCardLayout Layout;
    TDefaultFont DefaultFont;
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
