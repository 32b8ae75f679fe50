#pragma once
#include "core/color.h"
#include "imaging/picture.h"
#include "printing/card_layout.h"
#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

namespace cardora {

class TQBusinessCardPanel32;
class TReport;

enum TBackgroundKind : std::uint8_t { bkNone = 0, bkMetafile = 1, bkBitmap = 2 };

// What one print or preview job works from.
struct TPrintJobRequest {
    int Sheets = 1;
    TPositionSelection Selection { 10, true };
    TCardLayout Layout;
    TPrinterNudges Nudges;
    QString BackgroundFile; // the card's background art, may be empty
    bool Printing = true;   // false: a preview
    bool OutlineOnly = false;
    bool CropMarks = false; // cutting marks outside each card's corners
};

// The status form of a print job and the job itself: it walks the positions
// of each sheet row by row, skipping unselected ones, and draws the
// background art and every card object at each card's place on the report.
class TLabelPrinter : public QDialog {
    Q_OBJECT
public:
    // The background art is always drawn this large, whatever the card size.
    static constexpr double kBackgroundWidth = 3.5;
    static constexpr double kBackgroundHeight = 2.0;
    static constexpr TColor kPreviewOutlineColor = 0xC0C0C0;

    explicit TLabelPrinter(TQBusinessCardPanel32& panel, QWidget* parent = nullptr);
    ~TLabelPrinter() override;

    // Takes the job's working copy (nudges applied) and hooks the report's events.
    void Setup(TReport& report, const TPrintJobRequest& request);

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    // Runs the whole job the first time; later calls do nothing.
    void FormActivate();
    void BeforePrintLabels(TReport& report);
    void PrintLabels(TReport& report);
    void LoadBackGround();
    void PrintBackGround(double x, double y);
    void CancelButtonClick();

    // The text the status shows when the job is over.
    // `pdfFile`: where a print to a PDF file went (empty for a printer).
    static QString FinalStatus(bool aborted, bool printing, bool filledObjects, const QString& pdfFile = QString());

    // --- state
    bool Ran() const { return ran_; }
    bool Finished() const { return finished_; }
    bool Cancelled() const { return cancelled_; }
    // Why the report could not run; empty when it did.
    QString Error() const { return error_; }
    int Sheets() const { return sheets_; }
    const TSheetGeometry& Geometry() const { return geometry_; }
    TBackgroundKind BackgroundKind() const { return backgroundKind_; }
    TReport* Report() const { return report_; }
    // Called after each card is drawn with its 1-based position number.
    std::function<void(int position)> OnCardPrinted;

    QLabel* RStatusLabel = nullptr;
    QLabel* Extralabel = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void drawCard(TReport& report, double x, double y);
    void drawCropMarks(TReport& report, int row, int col);

    TQBusinessCardPanel32& panel_;
    TReport* report_ = nullptr;
    TBackgroundKind backgroundKind_ = bkNone;
    TPicture background_;
    int sheets_ = 1;
    TPositionSelection selection_;
    bool cancelled_ = false;
    bool printing_ = true;
    TSheetGeometry geometry_;
    QString backgroundFile_;
    bool outlineOnly_ = false;
    bool cropMarks_ = false;

    bool ran_ = false;
    bool finished_ = false;
    QString error_;
};

} // namespace cardora
