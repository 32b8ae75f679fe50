#pragma once
#include "printing/sheet_printer.h"
#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace cardora {

class CardPanel;
class TReport;

// The status form of a print job: it drives the sheet printer, shows which
// card is printing and lets the user cancel.
class TLabelPrinter : public QDialog {
    Q_OBJECT
public:
    // The background art is always drawn this large, whatever the card size.
    static constexpr double kBackgroundWidth = TSheetPrinter::kBackgroundWidth;
    static constexpr double kBackgroundHeight = TSheetPrinter::kBackgroundHeight;
    static constexpr TColor kPreviewOutlineColor = TSheetPrinter::kPreviewOutlineColor;

    explicit TLabelPrinter(CardPanel& panel, QWidget* parent = nullptr);
    ~TLabelPrinter() override;

    // Takes the job's working copy (nudges applied) and hooks the report's events.
    void Setup(TReport& report, const TPrintJobRequest& request);

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    // Runs the whole job the first time; later calls do nothing.
    void runJobOnce();
    void BeforePrintLabels(TReport& report);
    void PrintLabels(TReport& report);
    void loadBackgroundArt();
    void cancelPrinting();

    // The text the status shows when the job is over.
    // `pdfFile`: where a print to a PDF file went (empty for a printer).
    static QString FinalStatus(bool aborted, bool printing, bool filledObjects, const QString& pdfFile = QString());

    // --- state
    bool Ran() const { return ran_; }
    bool Finished() const { return finished_; }
    bool Cancelled() const { return cancelled_; }
    // Why the report could not run; empty when it did.
    QString Error() const { return error_; }
    int Sheets() const { return job_ ? job_->Sheets() : 1; }
    const TSheetGeometry& Geometry() const;
    ArtKind BackgroundKind() const { return job_ ? job_->BackgroundKind() : ArtKind::None; }
    TReport* Report() const { return report_; }
    // Called after each card is drawn with its 1-based position number.
    std::function<void(int position)> OnCardPrinted;

    QLabel* RStatusLabel = nullptr;
    QLabel* Extralabel = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CardPanel& panel_;
    TReport* report_ = nullptr;
    std::unique_ptr<TSheetPrinter> job_;
    bool cancelled_ = false;
    bool printing_ = true;

    bool ran_ = false;
    bool finished_ = false;
    QString error_;
};

} // namespace cardora
