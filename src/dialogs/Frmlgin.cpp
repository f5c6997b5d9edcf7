#include "dialogs/Frmlgin.h"

#include "dialogs/DialogLook.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace vorlu {

Frmlgin::Frmlgin(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmlgin");
    setWindowTitle("Login");
    setModal(false);
    applyDialogLook(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    tree_->setMinimumSize(260, 200);

    auto* form = new QFormLayout;
    boxes_ = std::make_unique<LoginBoxes>(this, form);
    const OkCancel buttons = okCancelButtons(this);
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    connect(ok_, &QPushButton::clicked, this, &Frmlgin::okPressed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(form);
    layout->addLayout(buttonRow({ok_, cancel_}));
}

void Frmlgin::tickAndSelect(QTreeWidgetItem* entry)
{
    if (!entry)
        return;
    entry->setCheckState(0, Qt::Checked);
    tree_->setCurrentItem(entry);
}

void Frmlgin::showEvent(QShowEvent* event)
{
    // Every entry carries a check box, those added since the last showing too.
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if (!(*it)->data(0, Qt::CheckStateRole).isValid())
            (*it)->setCheckState(0, Qt::Unchecked);
    QDialog::showEvent(event);
}

} // namespace vorlu
