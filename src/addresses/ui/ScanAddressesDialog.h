#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlu {

// "Scan Addresses": the range to scan, checked as it is typed.
class ScanAddressesDialog : public QDialog {
    Q_OBJECT
public:
    ScanAddressesDialog(const QString& proposed, QWidget* parent);
    std::string range() const;

    QLineEdit* rangeEdit = nullptr;
    QLabel* hint = nullptr; // what the range holds, or why it is refused
    QPushButton* scanButton = nullptr;

private:
    // Enables the scan only for a valid range and says what it holds or why not.
    void validateRange();
};

} // namespace vorlu
