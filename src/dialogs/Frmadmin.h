#pragma once
#include "dialogs/LoginBoxes.h"

#include <QDialog>
#include <memory>

namespace vorlu {

// "Administrator Password": the login used for every node without its own.
// OK is handed on; Cancel hides it and leaves the typed text in the boxes.
class Frmadmin : public QDialog {
    Q_OBJECT
public:
    explicit Frmadmin(QWidget* parent = nullptr);
    const LoginBoxes& boxes() const { return *boxes_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void okPressed();

private:
    std::unique_ptr<LoginBoxes> boxes_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace vorlu
