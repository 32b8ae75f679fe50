#pragma once
#include "printing/card_layout.h"
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace cardora {

class TQBusinessCardPanel32;

// The batch tool's print command:
//   print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview]
//         [--positions 1,2,5] [--sheets N] [--dpi 600] [--crop-marks]
struct TBatchPrintOptions {
    QString Input;
    QString Output;
    QString Prefs;              // empty: the defaults of a fresh installation
    bool Outline = false;       // the outline test page
    bool Preview = false;       // the preview page
    std::vector<int> Positions; // 1-based; empty: every position
    int Sheets = 1;
    int Dpi = 600;
    bool CropMarks = false;     // cutting marks outside each card's corners
};

inline constexpr int kBatchMaxSheets = 999;
inline constexpr int kBatchMinDpi = 72;
inline constexpr int kBatchMaxDpi = 2400;

// The arguments after "print"; nullopt with *error set when they are wrong.
std::optional<TBatchPrintOptions> ParseBatchPrintArguments(const QStringList& args, QString* error);

// Runs the print job of File > Print (or the outline test page, or the
// preview page) for the card on `panel` into a PDF file with no unprintable
// margins. Returns the error text, empty on success.
QString RunBatchPrint(TQBusinessCardPanel32& panel, const QString& backgroundFile, const TCardLayout& layout,
    const TPrinterNudges& nudges, const TBatchPrintOptions& options);

} // namespace cardora
