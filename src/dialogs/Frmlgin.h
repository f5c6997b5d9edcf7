#pragma once
#include <QDialog>

class QTreeWidget;

namespace vorlu {

// The node logins dialog. It is loaded hidden at start-up because the node
// file fills its tree along with the main window's.
class Frmlgin : public QDialog {
    Q_OBJECT
public:
    explicit Frmlgin(QWidget* parent = nullptr);
    QTreeWidget* tree() const { return tree_; }

private:
    QTreeWidget* tree_;
};

} // namespace vorlu
