#pragma once
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace cardora {

// Beside the zoom: which record of the merged data the card shows, and
// whether fields show their values or themselves as typed.
class TRecordNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TRecordNavigator(QWidget* parent = nullptr);

    // `count` records of the data file `name`; 0 hides the record controls.
    void SetData(const QString& name, int count);
    int Count() const { return count_; }
    // 1-based; clamped to the records.
    void SetRecord(int record);
    int Record() const;
    bool FieldsShownAsTyped() const;

    std::function<void(int record)> OnRecordChosen;
    std::function<void(bool typed)> OnShowTyped;

private:
    void choose(int record);

    QToolButton* first_;
    QToolButton* previous_;
    QSpinBox* record_;
    QLabel* of_;
    QToolButton* next_;
    QToolButton* last_;
    QCheckBox* typed_;
    int count_ = 0;
};

} // namespace cardora
