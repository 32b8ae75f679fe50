#include "printing/print_run.h"
#include "core/modal.h"
#include "printing/label_printer.h"
#include "printing/preview_form.h"
#include "printing/warn_bottom_dialog.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "surface/card_panel.h"
#include <QCheckBox>
#include <QCoreApplication>
#include <algorithm>
#include <memory>

namespace cardora {

TPrintOutcome DoPrint(const TPrintRun& run)
{
    TPrintOutcome outcome;
    if (!run.Panel || !run.Settings)
        return outcome;
    TLabelPrinter form(*run.Panel, run.Owner);
    TPrintJobRequest request;
    request.Sheets = run.Settings->Copies();
    run.Settings->SetCopies(1); // each print starts again from one sheet
    request.Selection = run.Selection;
    request.Layout = run.Layout;
    request.Nudges = run.Nudges;
    request.BackgroundFile = run.BackgroundFile;
    request.Printing = run.PrintMode;
    request.OutlineOnly = run.OutlineOnly;
    request.CropMarks = run.CropMarks;
    request.Records = run.Records;
    request.FirstRecord = run.FirstRecord;
    request.RecordCount = run.RecordCount;
    request.StartPosition = run.StartPosition;
    request.Back = run.Back;

    std::unique_ptr<TReport> report;
    TRecordingReport* recording = nullptr;
    if (run.PrintMode) {
        auto printer = std::make_unique<TPrinterReport>(run.Settings->SharedPrinter());
        printer->SetTitle("Cardora");
        report = std::move(printer);
    } else {
        auto filer = std::make_unique<TRecordingReport>(run.Settings->SharedPrinter());
        recording = filer.get();
        report = std::move(filer);
    }
    form.Setup(*report, request);
    ExecModal(form);
    outcome.Ran = form.Ran();
    outcome.Aborted = report->Aborted();
    outcome.Error = form.Error();

    if (recording && outcome.Ran && !outcome.Aborted && outcome.Error.isEmpty()) {
        TPreviewForm preview(run.Owner);
        preview.setWindowTitle("Preview Business Cards");
        preview.FilePreview1->SetStream(recording);
        if (run.ShowHelp)
            QObject::connect(&preview, &TPreviewForm::HelpRequested, &preview, run.ShowHelp);
        ExecModal(preview);
    }
    return outcome;
}

bool BottomMarginWarningDue(double bottomMargin, const TCardLayout& layout, const TPositionSelection& selection,
    bool showWarning)
{
    if (!(bottomMargin > 0.5) || !showWarning)
        return false;
    const int across = std::clamp(layout.Across, 1, kMaxAcross);
    const int down = std::clamp(layout.Down, 1, kMaxDown);
    return selection.AllOf((down - 1) * across, across);
}

TBottomMarginAnswer AskBottomMargin(double bottomMargin, QWidget* owner, const std::function<void(int)>& showHelp)
{
    TWarnBottomMargin dialog(owner);
    dialog.ShowMargin(bottomMargin);
    if (showHelp)
        QObject::connect(&dialog, &TWarnBottomMargin::HelpRequested, &dialog, showHelp);
    TBottomMarginAnswer answer;
    answer.Continue = ExecModal(dialog) != mrCancel;
    answer.DontShowAgain = dialog.DontShowCheck->isChecked();
    return answer;
}

} // namespace cardora
