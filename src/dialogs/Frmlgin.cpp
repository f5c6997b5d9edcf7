#include "dialogs/Frmlgin.h"

#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorlu {

Frmlgin::Frmlgin(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmlgin");
    setWindowTitle("Logins");
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
}

} // namespace vorlu
