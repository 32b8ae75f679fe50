#pragma once
#include "printing/card_layout.h"
#include "printing/card_stocks.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cardora {

class TNumberEdit;

// "Business Card Layout": card size, cards across and down, margins,
// pitches, paper and the predefined card stocks, in inches or millimetres.
// Values is the working copy; OK leaves the accepted layout there.
class TEditCardLayout : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3101;

    explicit TEditCardLayout(QWidget* parent = nullptr);

    // Working copy: predefined index, paper code and the eight size values.
    TCardLayout Values;

    bool UseMM() const;
    // Sets the unit radio pair without converting the edits.
    void SetUseMM(bool mm);

    // Escape and the close box: Cancel.
    void reject() override;
    // --- handlers
    void prepareToShow();
    void FillEditsFromValues();
    void useMillimetres();
    void useInches();
    void applyCardWidth();
    void applyCardHeight();
    void applyPredefinedLayout();
    void applyAndClose();
    bool ValidCard();
    void cancelAndClose();
    void showHelp();
    // Selects the first stock with the typed code, else the first whose
    // name, brand or code holds the text; false when none does.
    bool findStock(const QString& text);
    void saveStock();
    void deleteStock();
    void exportStocks();
    void importStocks();
    // The shipped stocks and the user's, as the list shows them.
    const std::vector<TCardStock>& Stocks() const { return stocks_; }

    TNumberEdit* eCardwidth = nullptr;
    TNumberEdit* eCardHeight = nullptr;
    TNumberEdit* eHorizPitch = nullptr;
    TNumberEdit* eVertPitch = nullptr;
    TNumberEdit* eleftmarg = nullptr;
    TNumberEdit* etopmarg = nullptr;
    QSpinBox* enbracross = nullptr;
    QSpinBox* enbrdown = nullptr;
    QComboBox* PredefinedLayouts = nullptr;
    QComboBox* epapersize = nullptr;
    QRadioButton* Inchesbutton = nullptr;
    QRadioButton* MMButton = nullptr;
    QLineEdit* StockSearch = nullptr;
    QLabel* StockInfo = nullptr;
    QPushButton* SaveStockButton = nullptr;
    QPushButton* DeleteStockButton = nullptr;

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The six number edits in the order width, height, hpitch, vpitch, left, top.
    std::array<TNumberEdit*, 6> edits() const;
    void setEditsFromInches(const std::array<double, 6>& inches);
    std::array<double, 6> editValues() const;
    std::array<double, 6> workingInches() const;
    void setWorkingInches(const std::array<double, 6>& inches);

    // The edits read into Values (inches, counts, paper).
    void readEdits();
    void fillStockList(int select);
    void showStockInfo();
    // The user's stocks changed: saved, then listed with `select` chosen.
    bool storeUserStocks(const std::vector<TCardStock>& own, const QString& select);
    std::vector<TCardStock> userStocks() const;

    bool firstActivation_ = true;
    std::vector<TCardStock> stocks_;
    QString userStocksProblem_; // the user's file could not be read: it is left alone
};

} // namespace cardora
