#pragma once
#include "dialogs/LoginBoxes.h"

#include <QDialog>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace vorlu {

// "Login": the login of one node, chosen in a node tree of its own with check
// boxes. It is loaded hidden at start-up because the node file fills its tree
// along with the main window's. OK is handed on; Cancel and the close box
// only hide it.
class Frmlgin : public QDialog {
    Q_OBJECT
public:
    explicit Frmlgin(QWidget* parent = nullptr);
    QTreeWidget* tree() const { return tree_; }
    const LoginBoxes& boxes() const { return *boxes_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Ticks and selects an entry of the dialog's tree.
    void tickAndSelect(QTreeWidgetItem* entry);

signals:
    void okPressed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidget* tree_;
    std::unique_ptr<LoginBoxes> boxes_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace vorlu
