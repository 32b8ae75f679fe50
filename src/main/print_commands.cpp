#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include <QCheckBox>
#include "main/help_window.h"
#include "main/loaded_card.h"
#include "main/main_window.h"
#include "objects/stream_error.h"
#include "printing/fine_tune_dialog.h"
#include "printing/layout_dialog.h"
#include "printing/print_run.h"
#include "printing/printer_choice.h"
#include "printing/select_cards_dialog.h"
#include "report/printer_report.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace cardora {

namespace {

// The main window's printer settings: made by the first printer command and
// kept for the whole run, so the printer, paper and copies chosen stay chosen.
class PrintJobSettingsHolder : public QObject {
public:
    explicit PrintJobSettingsHolder(QObject* parent) : QObject(parent) { setObjectName("PrintJobSettings"); }
    TPrinterReport Report;
};

TPrinterReport& PrintJobSettings(MainWindow& window)
{
    auto* holder = window.findChild<PrintJobSettingsHolder*>("PrintJobSettings", Qt::FindDirectChildrenOnly);
    if (!holder)
        holder = new PrintJobSettingsHolder(&window);
    return holder->Report;
}

void showHelp(int context) { ShowHelpTopic(context); }

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

bool DoPageSetup(MainWindow& window)
{
    TPrinterReport& settings = PrintJobSettings(window);
    TSelectSpecificLabels dialog(&settings, &window);
    QObject::connect(&dialog, &TSelectSpecificLabels::HelpRequested, &dialog, &showHelp);
    const TCardLayout& layout = window.CardLayout();
    dialog.Setup(window.SelectedPositions(), layout, SheetSizeInches(layout.Papersize));
    const bool cropMarks = CropMarksChosen();
    dialog.CropMarks->setChecked(cropMarks);
    dialog.StartAt->setValue(window.PrintStart());
    dialog.SetBackSide(window.BackSidePath().isEmpty() ? QString() : QFileInfo(window.BackSidePath()).fileName());
    if (!window.BackSidePath().isEmpty())
        dialog.BackSides->setCurrentIndex(window.BackChoice());
    if (const TDataFile* data = window.MergeData())
        dialog.SetRecordCount(int(data->records.size()));
    if (ExecModal(dialog) != mrOk)
        return false;
    window.SelectedPositions() = dialog.Flags();
    window.PrintStart() = dialog.StartPosition();
    if (!window.BackSidePath().isEmpty())
        window.BackChoice() = dialog.BackSides->currentIndex();
    if (window.MergeData())
        window.PrintRecords() = dialog.ChosenRecords();
    if (dialog.CropMarks->isChecked() != cropMarks)
        IniFile(PreferencesFileName()).WriteBool("Printer", "CropMarks", dialog.CropMarks->isChecked());
    return true;
}

// A merged print needs every field of the card in the data; the card may
// have gained one since the data was read. False (the user told) when not.
bool MergeReady(MainWindow& window)
{
    const TDataFile* data = window.MergeData();
    if (!data)
        return true;
    QString problem = MissingFieldsProblem(*data, window.MergeDataFile(), *window.BusinessCardPanel());
    if (problem.isEmpty())
        problem = RecordRangeProblem(window.PrintRecords(), data->records.size());
    if (!problem.isEmpty())
        Inform(problem);
    return problem.isEmpty();
}

// The window's back card read for a job; null when the job prints no backs,
// or when it cannot be read and the user prints the fronts alone (*stop
// is set when the user stops instead).
std::unique_ptr<TLoadedCard> loadBackCard(MainWindow& window, bool wanted, bool* stop)
{
    *stop = false;
    if (!wanted || window.BackSidePath().isEmpty())
        return nullptr;
    auto back = std::make_unique<TLoadedCard>(window.CardLayout());
    try {
        back->Load(window.BackSidePath());
    } catch (const EStreamError& e) {
        *stop = !Ask("The back side " + QDir::toNativeSeparators(window.BackSidePath()) + " cannot be read: "
                + e.Message() + "\n\nPrint the fronts alone?",
            "Back Side");
        return nullptr;
    }
    back->panel.SetPreviewing(window.BusinessCardPanel()->Previewing());
    return back;
}

TPrintOutcome DoPrint(MainWindow& window, const TBackSide& sides = TBackSide(), int start = 1)
{
    TPrintRun run;
    if (const TDataFile* data = window.MergeData(); data && !window.OutlineOnly()) {
        const TRecordRange range = window.PrintRecords();
        run.Records = &data->records;
        run.FirstRecord = range.First - 1;
        run.RecordCount = range.Last - range.First + 1;
    }
    run.Panel = window.BusinessCardPanel();
    run.Settings = &PrintJobSettings(window);
    run.Selection = window.SelectedPositions();
    run.Layout = window.CardLayout();
    run.Nudges = window.Preferences().Nudges;
    run.BackgroundFile = window.BackgroundArtPath();
    run.PrintMode = window.PrintMode();
    run.OutlineOnly = window.OutlineOnly();
    run.CropMarks = !window.OutlineOnly() && CropMarksChosen();
    run.StartPosition = start;
    run.Back = sides;
    run.Back.Nudges = window.Preferences().BackNudges;
    run.Owner = &window;
    run.ShowHelp = &showHelp;
    return cardora::DoPrint(run);
}

// A print or preview of the card with its back as the print dialog chose:
// both sides page by page, or the fronts and then, once the user has turned
// the sheets over and put them back, the backs.
// True when a job ran to its end.
bool DoPrintWithBacks(MainWindow& window)
{
    const auto choice = static_cast<TBackChoice>(std::clamp(window.BackChoice(), 0, 4));
    bool later = false;
    TBackSide sides = BackSideFor(choice, &later);
    bool stop = false;
    const auto back = loadBackCard(window, choice != TBackChoice::Fronts && !window.OutlineOnly(), &stop);
    if (stop)
        return false;
    const int start = window.OutlineOnly() ? 1 : window.PrintStart();
    const auto finished = [](const TPrintOutcome& o) { return o.Ran && !o.Aborted && o.Error.isEmpty(); };
    if (!back)
        return finished(DoPrint(window, TBackSide(), start));
    sides.Panel = &back->panel;
    sides.BackgroundFile = back->backgroundArt;
    // A preview shows both sides, page by page, whichever way they print.
    if (!window.PrintMode() && later)
        sides.Sides = TSides::FrontsAndBacks;
    TPrinterReport& settings = PrintJobSettings(window);
    const int sheets = settings.Copies();
    const TPrintOutcome fronts = DoPrint(window, sides, start);
    if (!later || !window.PrintMode() || !finished(fronts))
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
    DoPrint(window, sides, start);
    return true;
}

// A test page of outlines: the print dialog, then the file of the PDF file
// printer; false when the user cancels either.
bool startOutlinePage(MainWindow& window, bool cardPaper)
{
    window.SetPrintMode(true);
    window.SetOutlineOnly(true);
    TPrinterReport& settings = PrintJobSettings(window);
    settings.TakePdfConfirmation();
    if (cardPaper)
        settings.SelectPaper(window.CardLayout().Papersize);
    return RunPrinterDialog(settings, &TPrinterReport::PrintDialog) && ChoosePdfTarget(settings);
}

} // namespace

void MainWindow::ChangeCardLayout1Click()
{
    LoadPreferences();
    TEditCardLayout dialog(this);
    connect(&dialog, &TEditCardLayout::HelpRequested, &dialog, &showHelp);
    dialog.SetUseMM(CardLayout().UseMM);
    dialog.Values = CardLayout();
    if (ExecModal(dialog) != mrOk)
        return;
    const bool useMM = dialog.UseMM();
    CardLayout() = dialog.Values;
    CardLayout().UseMM = useMM;
    SavePreferences();
    SetCardSizeFromInches();
    BusinessCardPanel()->update();
}

void MainWindow::mnuPrintClick()
{
    if (!PrintingAvailable())
        return;
    if (!MergeReady(*this))
        return;
    SetPrintMode(true);
    TPrinterReport& settings = PrintJobSettings(*this);
    settings.TakePdfConfirmation(); // a file named in an earlier command is asked for again
    settings.SelectPaper(CardLayout().Papersize);
    BusinessCardPanel()->SetPreviewing(false);
    SetOutlineOnly(false);
    if (!DoPageSetup(*this))
        return;
    settings.ReReadDeviceMetrics();
    QCoreApplication::processEvents();

    const double bottom = settings.BottomUnprintableMargin();
    if (BottomMarginWarningDue(bottom, CardLayout(), SelectedPositions(), Preferences().ShowBottomMarginWarning)) {
        const TBottomMarginAnswer answer = AskBottomMargin(bottom, this, &showHelp);
        if (answer.DontShowAgain) {
            Preferences().ShowBottomMarginWarning = false;
            SavePreferences();
        }
        if (!answer.Continue)
            return;
    }
    if (!ChoosePdfTarget(settings))
        return;
    // The partly used sheet is used up: the next print starts a fresh one.
    if (DoPrintWithBacks(*this))
        PrintStart() = 1;
}

void MainWindow::mnuPreviewClick()
{
    if (!PrintingAvailable())
        return;
    if (!MergeReady(*this))
        return;
    SetPrintMode(false);
    PrintJobSettings(*this).SelectPaper(CardLayout().Papersize);
    BusinessCardPanel()->SetPreviewing(true);
    SetOutlineOnly(false);
    DoPrintWithBacks(*this);
    BusinessCardPanel()->SetPreviewing(false);
}

void MainWindow::mnuPrinterSetupClick()
{
    if (!PrintingAvailable())
        return;
    RunPrinterDialog(PrintJobSettings(*this), &TPrinterReport::PrinterSetupDialog);
}

void MainWindow::mnuPrinterFineTuningClick()
{
    if (!PrintingAvailable())
        return;
    TPrintFineTune dialog(Preferences().Nudges, this);
    connect(&dialog, &TPrintFineTune::HelpRequested, &dialog, &showHelp);
    if (ExecModal(dialog) != mrOk)
        return;
    Preferences().Nudges = dialog.Nudges();
    SavePreferences();
}

void MainWindow::mnuPrintOutlineTestPageClick()
{
    if (!PrintingAvailable())
        return;
    if (startOutlinePage(*this, false))
        DoPrint(*this);
}

void MainWindow::mnuBackFineTuningClick()
{
    if (!PrintingAvailable())
        return;
    TPrintFineTune dialog(Preferences().BackNudges, this);
    dialog.setWindowTitle("Back Side Fine-Tuning");
    dialog.setWhatsThis("Printers often shift the second side of a sheet a little. Print the two-sided test page, "
                        "hold it against the light and move the backs until their crosses meet the fronts'.");
    connect(&dialog, &TPrintFineTune::HelpRequested, &dialog, &showHelp);
    if (ExecModal(dialog) != mrOk)
        return;
    Preferences().BackNudges = dialog.Nudges();
    SavePreferences();
}

void MainWindow::mnuPrintTwoSidedTestPageClick()
{
    if (!PrintingAvailable())
        return;
    if (!startOutlinePage(*this, true))
        return;
    // Outlines with a cross through each card, on the front and, mirrored
    // with the back's nudges, on the back; the same turn as the print dialog's.
    const auto choice = static_cast<TBackChoice>(std::clamp(BackChoice(), 0, 4));
    TBackSide sides = BackSideFor(choice == TBackChoice::Fronts ? TBackChoice::DuplexLong : choice);
    sides.Sides = TSides::FrontsAndBacks;
    sides.Panel = BusinessCardPanel();
    DoPrint(*this, sides, 1);
    SetOutlineOnly(false);
}

} // namespace cardora
