#pragma once
#include "core/fields.h"
#include "printing/card_layout.h"
#include "printing/sheet_printer.h"
#include <QString>
#include <functional>

class QWidget;

namespace cardora {

class TPrinterReport;
class CardPanel;

// Everything one run of the print job needs from the main window.
struct TPrintRun {
    CardPanel* Panel = nullptr;
    // The printer settings: its printer is the one printed on and its
    // geometry the one previewed; its copies are the number of sheets.
    TPrinterReport* Settings = nullptr;
    TPositionSelection Selection { 10, true };
    TCardLayout Layout;
    TPrinterNudges Nudges;
    QString BackgroundFile;
    bool PrintMode = true;
    bool OutlineOnly = false;
    bool CropMarks = false;
    // A merged run: records FirstRecord (0-based) on, RecordCount of them.
    const TFieldRecords* Records = nullptr;
    int FirstRecord = 0;
    int RecordCount = -1;
    int StartPosition = 1;  // the first sheet starts at this card
    TBackSide Back;         // the back card and which sides print
    QWidget* Owner = nullptr;
    std::function<void(int context)> ShowHelp;
};

struct TPrintOutcome {
    bool Ran = false;     // the job was started
    bool Aborted = false; // cancelled or stopped by the user
    QString Error;        // why the printer could not take the job
};

// One print or preview job: the status window runs it; a preview that was
// not stopped then opens the preview window. The view's zoom plays no part
// and stays as it was. The settings' copies are back at 1 afterwards.
TPrintOutcome DoPrint(const TPrintRun& run);

// Whether the bottom-margin warning is due: the printer cannot reach the
// last half inch of the sheet and every position of the bottom row is selected.
bool BottomMarginWarningDue(double bottomMargin, const TCardLayout& layout, const TPositionSelection& selection,
    bool showWarning);

struct TBottomMarginAnswer {
    bool Continue = true;
    bool DontShowAgain = false;
};
// Shows the warning with the margin; the answer and the check box.
TBottomMarginAnswer AskBottomMargin(double bottomMargin, QWidget* owner, const std::function<void(int)>& showHelp);

} // namespace cardora
