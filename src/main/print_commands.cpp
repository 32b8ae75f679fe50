#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/modal.h"
#include <QCheckBox>
#include "main/help_window.h"
#include "main/main_screen.h"
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

TPrinterReport& PrintJobSettings(TMainScreen& window)
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

bool DoPageSetup(TMainScreen& window)
{
    TPrinterReport& settings = PrintJobSettings(window);
    TSelectSpecificLabels dialog(&settings, &window);
    QObject::connect(&dialog, &TSelectSpecificLabels::HelpRequested, &dialog, &showHelp);
    const TCardLayout& layout = window.CardLayout();
    dialog.Setup(window.SelectedPositions(), layout, SheetSizeInches(layout.Papersize));
    const bool cropMarks = CropMarksChosen();
    dialog.CropMarks->setChecked(cropMarks);
    if (const TDataFile* data = window.MergeData())
        dialog.SetRecordCount(int(data->records.size()));
    if (ExecModal(dialog) != mrOk)
        return false;
    window.SelectedPositions() = dialog.Flags();
    if (window.MergeData())
        window.PrintRecords() = dialog.ChosenRecords();
    if (dialog.CropMarks->isChecked() != cropMarks)
        IniFile(PreferencesFileName()).WriteBool("Printer", "CropMarks", dialog.CropMarks->isChecked());
    return true;
}

// A merged print needs every field of the card in the data; the card may
// have gained one since the data was read. False (the user told) when not.
bool MergeReady(TMainScreen& window)
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

void DoPrint(TMainScreen& window)
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
    run.Owner = &window;
    run.ShowHelp = &showHelp;
    cardora::DoPrint(run);
}

} // namespace

void TMainScreen::ChangeCardLayout1Click()
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

void TMainScreen::mnuPrintClick()
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
    DoPrint(*this);
}

void TMainScreen::mnuPreviewClick()
{
    if (!PrintingAvailable())
        return;
    if (!MergeReady(*this))
        return;
    SetPrintMode(false);
    PrintJobSettings(*this).SelectPaper(CardLayout().Papersize);
    BusinessCardPanel()->SetPreviewing(true);
    SetOutlineOnly(false);
    DoPrint(*this);
    BusinessCardPanel()->SetPreviewing(false);
}

void TMainScreen::mnuPrinterSetupClick()
{
    if (!PrintingAvailable())
        return;
    RunPrinterDialog(PrintJobSettings(*this), &TPrinterReport::PrinterSetupDialog);
}

void TMainScreen::mnuPrinterFineTuningClick()
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

void TMainScreen::mnuPrintOutlineTestPageClick()
{
    if (!PrintingAvailable())
        return;
    SetPrintMode(true);
    SetOutlineOnly(true);
    TPrinterReport& settings = PrintJobSettings(*this);
    settings.TakePdfConfirmation();
    if (!RunPrinterDialog(settings, &TPrinterReport::PrintDialog))
        return;
    if (!ChoosePdfTarget(settings))
        return;
    DoPrint(*this);
}

} // namespace cardora
