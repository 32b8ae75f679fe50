#pragma once
#include "main/command_context.h"
#include "printing/card_layout.h"
#include <memory>

namespace cardora {

class TPrinterReport;
struct TBackSide;
struct TPrintOutcome;

// The card layout, printing and previewing sheets of cards, the printer's
// set-up and fine tuning, and the test pages. Keeps the printer settings and
// the print dialog's choices for the next print.
class PrintCommands : public CommandFamily {
    Q_OBJECT
public:
    PrintCommands(CommandContext& context, QObject* parent);
    ~PrintCommands() override;

    void changeLayout();
    void print();
    void preview();
    void setUpPrinter();
    void fineTunePrinter();
    void printOutlineTestPage();
    void fineTuneBack();
    void printTwoSidedTestPage();

    // Whether a printer is there to print on; the printer actions follow it.
    void setPrintingAvailable(bool available);
    bool printingAvailable() const { return printingAvailable_; }
    void updateActions() override;

    // The positions on the sheet the print dialog chose, its start position
    // and its sides (TBackChoice), kept for the next print.
    TPositionSelection& selectedPositions() { return selectedPositions_; }
    int& printStart() { return printStart_; }
    int& backChoice() { return backChoice_; }
    bool outlineOnly() const { return outlineOnly_; }

private:
    TPrinterReport& jobSettings();
    bool pageSetup();
    bool mergeReady();
    TPrintOutcome runPrint(const TBackSide& sides, int start);
    bool printWithBacks();
    bool startOutlinePage(bool cardPaper);

    std::unique_ptr<TPrinterReport> settings_;
    TPositionSelection selectedPositions_ { 10, true };
    int printStart_ = 1;
    int backChoice_ = 1; // a card given a back prints it, on a duplex printer, unless the user says otherwise
    bool printMode_ = true;
    bool outlineOnly_ = false;
    bool printingAvailable_ = false;
};

} // namespace cardora
