#pragma once
#include <QDialog>
#include <QStringList>
#include <array>

class QLineEdit;

namespace cardora {

// "Personal Information": the user's ten values (name, company, title,
// three address lines, two phones, e-mail, fax), one edit field each.
class TPersonalInformation : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 2102;
    static constexpr int kCount = 10;

    explicit TPersonalInformation(QWidget* parent = nullptr);

    // Edit field names and their labels, in tab order.
    static const QStringList& FieldNames();
    static const QStringList& FieldLabels();

    // The ten texts in order; missing values are taken as empty.
    QStringList Values() const;
    void SetValues(const QStringList& values);
    QLineEdit* Field(int index) const { return fields_.at(static_cast<size_t>(index)); }

    // Closes with the Cancel result (also for Escape and the close box).
    void reject() override;

private:
    std::array<QLineEdit*, kCount> fields_ {};
};

} // namespace cardora
