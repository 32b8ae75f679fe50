#pragma once
#include "printing/card_layout.h"
#include "printing/merge_data.h"
#include "printing/sheet_printer.h"
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace cardora {

class CardPanel;

// The batch tool's print command:
//   print IN.CDW OUT.pdf [--prefs CDW.INI] [--outline] [--preview]
//         [--positions 1,2,5] [--sheets N] [--dpi 600] [--crop-marks]
//         [--data FILE [--records A-B]]
//         [--stock CODE] [--start N] [--back BACK.CDW [--duplex long|short]]
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
    QString Data;               // a data file: one card per record
    std::optional<TRecordRange> Records; // of the data; none: all of them
    QString Stock;              // a product code of the card stock catalogue; empty: the preferences' layout
    int Start = 1;              // the first position of the first sheet (a partly used sheet)
    QString Back;               // the card printed on the backs; empty: none
    TDuplexEdge Duplex = TDuplexEdge::Long;
};

inline constexpr int kBatchMaxSheets = 999;
inline constexpr int kBatchMinDpi = 72;
inline constexpr int kBatchMaxDpi = 2400;

// The layout dialog's rules for a layout the batch tool is given, and a card
// no larger than the larger sheet (a hand-edited file could ask for a
// picture of gigabytes). The pitch rules apply only when `sheets` are
// printed. Empty when the layout is acceptable.
QString BatchLayoutMessage(const TCardLayout& layout, bool sheets);

// The arguments after "print"; nullopt with *error set when they are wrong.
std::optional<TBatchPrintOptions> ParseBatchPrintArguments(const QStringList& args, QString* error);

// Runs the print job of File > Print (or the outline test page, or the
// preview page) for the card on `panel` into a PDF file with no unprintable
// margins. Returns the error text, empty on success.
// With `data` (read by LoadMergeData) one card per record of the options'
// range, on as many sheets as they take; `back`, when given, prints each
// sheet's backs on the page after its fronts.
QString RunBatchPrint(CardPanel& panel, const QString& backgroundFile, const TCardLayout& layout,
    const TPrinterNudges& nudges, const TBatchPrintOptions& options, const TDataFile* data = nullptr,
    const TBackSide* back = nullptr);

} // namespace cardora
