#include "addresses/ui/ScanAddressesDialog.h"

#include "addresses/AddressRange.h"
#include "addresses/AddressTexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlu {

ScanAddressesDialog::ScanAddressesDialog(const QString& proposed, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(ScanAddressesCaption);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Computers answering on TCP 5985 or 5986 (remote management) join the node list. "
                                "A block such as 192.168.1.0/24 or a range such as 192.168.1.10-192.168.1.99, "
                                "at most 65,536 addresses."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    rangeEdit = new QLineEdit(proposed, this);
    rangeEdit->setObjectName("txtRange");
    form->addRow(tr("&Range:"), rangeEdit);
    layout->addLayout(form);
    hint = new QLabel(this);
    hint->setObjectName("lblRangeHint");
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    scanButton = buttons->addButton(tr("&Scan"), QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(rangeEdit, &QLineEdit::textChanged, this, [this] { validateRange(); });
    validateRange();
}

std::string ScanAddressesDialog::range() const { return rangeEdit->text().toStdString(); }

void ScanAddressesDialog::validateRange()
{
    std::string reason;
    const auto parsed = parseAddressRange(range(), reason);
    scanButton->setEnabled(parsed.has_value());
    if (!parsed) {
        hint->setText(QString::fromStdString(reason));
        return;
    }
    hint->setText(tr("%1 addresses, %2 to %3")
                      .arg(parsed->count)
                      .arg(QString::fromStdString(formatIPv4(parsed->first)),
                           QString::fromStdString(formatIPv4(parsed->at(parsed->count - 1)))));
}

} // namespace vorlu
