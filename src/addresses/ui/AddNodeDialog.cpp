#include "addresses/ui/AddNodeDialog.h"

#include "addresses/AddressTexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vorlu {

AddNodeDialog::AddNodeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(AddNodeCaption);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("A computer the network scans do not find. Without an address its name is "
                                "resolved; without a name its address is the name."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName("txtNodeName");
    addressEdit = new QLineEdit(this);
    addressEdit->setObjectName("txtNodeAddress");
    addressEdit->setPlaceholderText(QStringLiteral("192.168.1.20"));
    form->addRow(tr("&Name:"), nameEdit);
    form->addRow(tr("&Address:"), addressEdit);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

} // namespace vorlu
