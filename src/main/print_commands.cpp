#include "main/print_commands.h"
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include "main/loaded_card.h"
#include "objects/stream_error.h"
#include "printing/fine_tune_dialog.h"
#include "printing/layout_dialog.h"
#include "printing/print_run.h"
#include "printing/printer_choice.h"
#include "printing/select_cards_dialog.h"
#include "report/printer_report.h"
#include "surface/card_panel.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSpinBox>
#include <algorithm>
#include <memory>

namespace cardora {

namespace {

// Printing to the PDF file printer asks where the file goes; false when the user cancels.
bool ChoosePdfTarget(TPrinterReport& settings)
{
    // A printer dialog of this command already asked for the file.
    if (settings.TakePdfConfirmation() || !settings.IsPdfFile())
        return true;
    const QFileInfo current(settings.OutputFileName());
    FileDialogRequest request;
    request.save = true;
    request.title = "Print to PDF File";
    request.filter = "PDF file (*.pdf)";
    request.defaultExt = "pdf";
    request.folder = current.absolutePath();
    request.fileName = current.fileName();
    request.overwritePrompt = true;
    const QString fileName = ChooseFileName(request);
    if (fileName.isEmpty())
        return false;
    settings.SelectPdfFile(fileName);
    return true;
}

// Whether the sheets get crop marks; the choice stays for the next print.
bool CropMarksChosen() { return IniFile(PreferencesFileName()).ReadBool("Printer", "CropMarks", false); }

} // namespace

PrintCommands::PrintCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("ChangeCardLayout1", "Change Business Card Layout", [this] { changeLayout(); });
    addAction("mnuPrint", "&Print", [this] { print(); })->setShortcut(QKeySequence::Print);
    addAction("mnuPreview", "Pre&view", [this] { preview(); });
    addAction("mnuPrinterSetup", "Printer S&etup", [this] { setUpPrinter(); });
    addAction("mnuPrinterFineTuning", "Printer Fine &Tuning", [this] { fineTunePrinter(); });
    addAction("mnuPrintOutlineTestPage", "Print O&utline Test Page", [this] { printOutlineTestPage(); });
    addAction("mnuBackFineTuning", "Back Side Fine Tu&ning", [this] { fineTuneBack(); });
    addAction("mnuPrintTwoSidedTestPage", "Print T&wo-Sided Test Page", [this] { printTwoSidedTestPage(); });
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::setPrintingAvailable(bool available)
{
    printingAvailable_ = available;
    updateActions();
}

void PrintCommands::updateActions()
{
    for (const char* name : { "mnuPrint", "mnuPreview", "mnuPrinterSetup", "mnuPrinterFineTuning",
             "mnuPrintOutlineTestPage", "mnuBackFineTuning", "mnuPrintTwoSidedTestPage" })
        action(name)->setEnabled(printingAvailable_);
}

// The printer settings: made by the first printer command and kept for the
// whole run, so the printer, paper and copies chosen stay chosen.
TPrinterReport& PrintCommands::jobSettings()
{
    if (!settings_)
        settings_ = std::make_unique<TPrinterReport>();
    return *settings_;
}

bool PrintCommands::pageSetup()
{
    TPrinterReport& settings = jobSettings();
    const QString& backSide = context_.card().backSide;
    TSelectSpecificLabels dialog(&settings, context_.dialogParent());
    QObject::connect(&dialog, &TSelectSpecificLabels::HelpRequested, &dialog, [this](int c) { context_.showHelp(c); });
    const TCardLayout& layout = context_.preferences().Layout;
    dialog.Setup(selectedPositions_, layout, SheetSizeInches(layout.Papersize));
    const bool cropMarks = CropMarksChosen();
    dialog.CropMarks->setChecked(cropMarks);
    dialog.StartAt->setValue(printStart_);
    dialog.SetBackSide(backSide.isEmpty() ? QString() : QFileInfo(backSide).fileName());
    if (!backSide.isEmpty())
        dialog.BackSides->setCurrentIndex(backChoice_);
    const TDataFile* data = context_.merge().data.get();
    if (data)
        dialog.SetRecordCount(int(data->records.size()));
    if (ExecModal(dialog) != mrOk)
        return false;
    selectedPositions_ = dialog.Flags();
    printStart_ = dialog.StartPosition();
    if (!backSide.isEmpty())
        backChoice_ = dialog.BackSides->currentIndex();
    if (data)
        context_.merge().printRecords = dialog.ChosenRecords();
    if (dialog.CropMarks->isChecked() != cropMarks)
        IniFile(PreferencesFileName()).WriteBool("Printer", "CropMarks", dialog.CropMarks->isChecked());
    return true;
}

// A merged print needs every field of the card in the data; the card may
// have gained one since the data was read. False (the user told) when not.
bool PrintCommands::mergeReady()
{
    const MergeSource& merge = context_.merge();
    if (!merge.data)
        return true;
    QString problem = MissingFieldsProblem(*merge.data, merge.file, context_.panel());
    if (problem.isEmpty())
        problem = RecordRangeProblem(merge.printRecords, merge.data->records.size());
    if (!problem.isEmpty())
        Inform(problem);
    return problem.isEmpty();
}

namespace {
// The card's back read for a job; null when the job prints no backs, or when
// it cannot be read and the user prints the fronts alone (*stop is set when
// the user stops instead).
std::unique_ptr<TLoadedCard> loadBackCard(const QString& backSide, const TCardLayout& layout, bool previewing,
    bool wanted, bool* stop)
{
    *stop = false;
    if (!wanted || backSide.isEmpty())
        return nullptr;
    auto back = std::make_unique<TLoadedCard>(layout);
    try {
        back->Load(backSide);
    } catch (const EStreamError& e) {
        *stop = !Ask("The back side " + QDir::toNativeSeparators(backSide) + " cannot be read: " + e.Message()
                + "\n\nPrint the fronts alone?",
            "Back Side");
        return nullptr;
    }
    back->panel.SetPreviewing(previewing);
    return back;
}
} // namespace

TPrintOutcome PrintCommands::runPrint(const TBackSide& sides, int start)
{
    TPrintRun run;
    const MergeSource& merge = context_.merge();
    if (merge.data && !outlineOnly_) {
        const TRecordRange range = merge.printRecords;
        run.Records = &merge.data->records;
        run.FirstRecord = range.First - 1;
        run.RecordCount = range.Last - range.First + 1;
    }
    const TPreferences& prefs = context_.preferences();
    run.Panel = &context_.panel();
    run.Settings = &jobSettings();
    run.Selection = selectedPositions_;
    run.Layout = prefs.Layout;
    run.Nudges = prefs.Nudges;
    run.BackgroundFile = context_.card().backgroundArt;
    run.PrintMode = printMode_;
    run.OutlineOnly = outlineOnly_;
    run.CropMarks = !outlineOnly_ && CropMarksChosen();
    run.StartPosition = start;
    run.Back = sides;
    run.Back.Nudges = prefs.BackNudges;
    run.Owner = context_.dialogParent();
    run.ShowHelp = [this](int c) { context_.showHelp(c); };
    return DoPrint(run);
}

// A print or preview of the card with its back as the print dialog chose:
// both sides page by page, or the fronts and then, once the user has turned
// the sheets over and put them back, the backs.
// True when a job ran to its end.
bool PrintCommands::printWithBacks()
{
    const auto choice = static_cast<TBackChoice>(std::clamp(backChoice_, 0, 4));
    bool later = false;
    TBackSide sides = BackSideFor(choice, &later);
    bool stop = false;
    const auto back = loadBackCard(context_.card().backSide, context_.preferences().Layout,
        context_.panel().Previewing(), choice != TBackChoice::Fronts && !outlineOnly_, &stop);
    if (stop)
        return false;
    const int start = outlineOnly_ ? 1 : printStart_;
    const auto finished = [](const TPrintOutcome& o) { return o.Ran && !o.Aborted && o.Error.isEmpty(); };
    if (!back)
        return finished(runPrint(TBackSide(), start));
    sides.Panel = &back->panel;
    sides.BackgroundFile = back->backgroundArt;
    // A preview shows both sides, page by page, whichever way they print.
    if (!printMode_ && later)
        sides.Sides = TSides::FrontsAndBacks;
    TPrinterReport& settings = jobSettings();
    const int sheets = settings.Copies();
    const TPrintOutcome fronts = runPrint(sides, start);
    if (!later || !printMode_ || !finished(fronts))
        return finished(fronts);
    const QString edge = sides.Edge == TDuplexEdge::Long ? "long" : "short";
    if (!Ask("The fronts are printed. Turn the printed sheets over their " + edge
                + " edge, put them back into the printer in the same order, and choose Yes to print the backs.",
            "Print the Backs"))
        return true;
    if (settings.IsPdfFile()) {
        // The fronts' file is kept: the backs go to a file of their own.
        const QFileInfo done(settings.OutputFileName());
        settings.SelectPdfFile(done.absolutePath() + "/" + done.completeBaseName() + "-backs.pdf");
        if (!ChoosePdfTarget(settings))
            return true;
    }
    settings.SetCopies(sheets);
    sides.Sides = TSides::Backs;
    runPrint(sides, start);
    return true;
}

// A test page of outlines: the print dialog, then the file of the PDF file
// printer; false when the user cancels either.
bool PrintCommands::startOutlinePage(bool cardPaper)
{
    printMode_ = true;
    outlineOnly_ = true;
    TPrinterReport& settings = jobSettings();
    settings.TakePdfConfirmation();
    if (cardPaper)
        settings.SelectPaper(context_.preferences().Layout.Papersize);
    return RunPrinterDialog(settings, &TPrinterReport::PrintDialog) && ChoosePdfTarget(settings);
}

void PrintCommands::changeLayout()
{
    context_.readPreferences();
    TCardLayout& layout = context_.preferences().Layout;
    TEditCardLayout dialog(context_.dialogParent());
    connect(&dialog, &TEditCardLayout::HelpRequested, &dialog, [this](int c) { context_.showHelp(c); });
    dialog.SetUseMM(layout.UseMM);
    dialog.Values = layout;
    if (ExecModal(dialog) != mrOk)
        return;
    const bool useMM = dialog.UseMM();
    layout = dialog.Values;
    layout.UseMM = useMM;
    context_.writePreferences();
    context_.cardSizeChanged();
    context_.panel().update();
}

void PrintCommands::print()
{
    if (!printingAvailable_)
        return;
    if (!mergeReady())
        return;
    printMode_ = true;
    TPrinterReport& settings = jobSettings();
    settings.TakePdfConfirmation(); // a file named in an earlier command is asked for again
    TPreferences& prefs = context_.preferences();
    settings.SelectPaper(prefs.Layout.Papersize);
    context_.panel().SetPreviewing(false);
    outlineOnly_ = false;
    if (!pageSetup())
        return;
    settings.ReReadDeviceMetrics();
    QCoreApplication::processEvents();

    const double bottom = settings.BottomUnprintableMargin();
    if (BottomMarginWarningDue(bottom, prefs.Layout, selectedPositions_, prefs.ShowBottomMarginWarning)) {
        const TBottomMarginAnswer answer
            = AskBottomMargin(bottom, context_.dialogParent(), [this](int c) { context_.showHelp(c); });
        if (answer.DontShowAgain) {
            prefs.ShowBottomMarginWarning = false;
            context_.writePreferences();
        }
        if (!answer.Continue)
            return;
    }
    if (!ChoosePdfTarget(settings))
        return;
    // The partly used sheet is used up: the next print starts a fresh one.
    if (printWithBacks())
        printStart_ = 1;
}

void PrintCommands::preview()
{
    if (!printingAvailable_)
        return;
    if (!mergeReady())
        return;
    printMode_ = false;
    jobSettings().SelectPaper(context_.preferences().Layout.Papersize);
    context_.panel().SetPreviewing(true);
    outlineOnly_ = false;
    printWithBacks();
    context_.panel().SetPreviewing(false);
}

void PrintCommands::setUpPrinter()
{
    if (!printingAvailable_)
        return;
    RunPrinterDialog(jobSettings(), &TPrinterReport::PrinterSetupDialog);
}

void PrintCommands::fineTunePrinter()
{
    if (!printingAvailable_)
        return;
    TPrintFineTune dialog(context_.preferences().Nudges, context_.dialogParent());
    connect(&dialog, &TPrintFineTune::HelpRequested, &dialog, [this](int c) { context_.showHelp(c); });
    if (ExecModal(dialog) != mrOk)
        return;
    context_.preferences().Nudges = dialog.Nudges();
    context_.writePreferences();
}

void PrintCommands::printOutlineTestPage()
{
    if (!printingAvailable_)
        return;
    if (startOutlinePage(false))
        runPrint(TBackSide(), 1);
}

void PrintCommands::fineTuneBack()
{
    if (!printingAvailable_)
        return;
    TPrintFineTune dialog(context_.preferences().BackNudges, context_.dialogParent());
    dialog.setWindowTitle("Back Side Fine-Tuning");
    dialog.setWhatsThis("Printers often shift the second side of a sheet a little. Print the two-sided test page, "
                        "hold it against the light and move the backs until their crosses meet the fronts'.");
    connect(&dialog, &TPrintFineTune::HelpRequested, &dialog, [this](int c) { context_.showHelp(c); });
    if (ExecModal(dialog) != mrOk)
        return;
    context_.preferences().BackNudges = dialog.Nudges();
    context_.writePreferences();
}

void PrintCommands::printTwoSidedTestPage()
{
    if (!printingAvailable_)
        return;
    if (!startOutlinePage(true))
        return;
    // Outlines with a cross through each card, on the front and, mirrored
    // with the back's nudges, on the back; the same turn as the print dialog's.
    const auto choice = static_cast<TBackChoice>(std::clamp(backChoice_, 0, 4));
    TBackSide sides = BackSideFor(choice == TBackChoice::Fronts ? TBackChoice::DuplexLong : choice);
    sides.Sides = TSides::FrontsAndBacks;
    sides.Panel = &context_.panel();
    runPrint(sides, 1);
    outlineOnly_ = false;
}

} // namespace cardora
