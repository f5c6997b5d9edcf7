#pragma once
#include <QDialog>

class QLineEdit;

namespace vorlu {

// "Add Node": a name, an address or both.
class AddNodeDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddNodeDialog(QWidget* parent);

    QLineEdit* nameEdit = nullptr;
    QLineEdit* addressEdit = nullptr;
};

} // namespace vorlu
