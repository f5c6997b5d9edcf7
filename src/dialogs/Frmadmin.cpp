#include "dialogs/Frmadmin.h"

#include "dialogs/DialogLook.h"

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
    const OkCancel buttons = okCancelButtons(this);
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    connect(ok_, &QPushButton::clicked, this, &Frmadmin::okPressed);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({ok_, cancel_}));
}

} // namespace vorlu
