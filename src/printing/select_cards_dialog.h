#pragma once
#include "printing/card_layout.h"
#include "printing/merge_data.h"
#include <QDialog>
#include <QRect>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;
class QLabel;
class QPainter;
class QSpinBox;

namespace cardora {

class TReport;

// The picture of a sheet at a fifth of its real size, 10 pixels from the
// corner of the picture; every product is truncated on its own.
struct TSelectionPicture {
    static QRect PageRect(QSizeF pageInches, int ppi);
    // Row-major, across x down rectangles (right and bottom exclusive).
    static std::vector<QRect> PositionRects(const TCardLayout& layout, int ppi);
    // The first position whose rectangle holds the point; -1 for none.
    static int PositionAt(const std::vector<QRect>& rects, QPoint p);
};

// The sheet picture the user clicks to choose positions.
class TSelectionPaintBox : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    std::function<void(QPainter&)> OnPaint;
    std::function<void(QPoint)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// "Print Cards": which positions of the sheet to fill, how many sheets, and
// which printer.
class TSelectSpecificLabels : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 2020;

    // `settings` is the printer-settings report: its printer is shown and set
    // up, and OK leaves the number of sheets in its copies.
    explicit TSelectSpecificLabels(TReport* settings, QWidget* parent = nullptr);

    // The caller's copy of the flags, the layout's size values and the page in inches.
    void Setup(const TPositionSelection& flags, const TCardLayout& layout, QSizeF pageInches);
    const TPositionSelection& Flags() const { return flags_; }
    // A merged print: which of `count` records, in place of a number of pages.
    void SetRecordCount(int count);
    // The records chosen, first and last from 1.
    TRecordRange ChosenRecords() const;
    int Positions() const { return layout_.Across * layout_.Down; }
    const std::vector<QRect>& PositionRects() const { return rects_; }
    QRect PageRect() const;
    int ScreenPpi() const { return ppi_; }

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    void prepareToShow();
    void paintSheet(QPainter& painter);
    void toggleCardAt(QPoint p);
    void selectAll();
    void selectNone();
    void setUpPrinter();
    void applyAndClose();
    void cancelAndClose();
    void showHelp();

    TSelectionPaintBox* PaintBox1 = nullptr;
    QLabel* PrinterLabel = nullptr;
    QSpinBox* pages = nullptr;
    QCheckBox* CropMarks = nullptr;
    // A partly used sheet: the first sheet starts at this card.
    QSpinBox* StartAt = nullptr;
    // Which sides print, in the order of TBackChoice; only "Fronts" without a back.
    QComboBox* BackSides = nullptr;

    // Offers the back-side choices when the card has a back (`backName` its file name).
    void SetBackSide(const QString& backName);
    int StartPosition() const;
    QGroupBox* RecordsBox = nullptr;
    QRadioButton* AllRecords = nullptr;
    QRadioButton* RecordRange = nullptr;
    QSpinBox* FirstRecord = nullptr;
    QSpinBox* LastRecord = nullptr;

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintPosition(QPainter& painter, int index);
    void refreshPrinterName();

    TReport* settings_;
    int ppi_;
    TCardLayout layout_;
    QSizeF pageInches_ { 8.5, 11.0 };
    TPositionSelection flags_;
    std::vector<QRect> rects_;
    QGroupBox* pagesBox_ = nullptr;
    int records_ = 0;
};

} // namespace cardora
