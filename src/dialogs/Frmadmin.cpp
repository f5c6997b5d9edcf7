#include "dialogs/Frmadmin.h"

#include "dialogs/DialogLook.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vorlu {

Frmadmin::Frmadmin(QWidget* parent) : QDialog(parent)
{
    setObjectName("Frmadmin");
    setWindowTitle("Administrator Password");
    setModal(false);
    applyDialogLook(this);
    auto* form = new QFormLayout;
    boxes_ = std::make_unique<LoginBoxes>(this, form);
    boxes_->user->setMinimumWidth(boxes_->user->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
    ok_ = dialogButton("Command1", "OK", this);
    ok_->setDefault(true);
    cancel_ = dialogButton("Command2", "Cancel", this);
    connect(ok_, &QPushButton::clicked, this, &Frmadmin::okPressed);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

} // namespace vorlu
