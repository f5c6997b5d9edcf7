#include "addresses/ui/QtAddressViews.h"

#include "addresses/ui/AddNodeDialog.h"
#include "addresses/ui/NodeConnectionDialog.h"
#include "addresses/ui/ScanAddressesDialog.h"

#include <QLineEdit>

namespace vorlu {

std::optional<std::string> QtAddressViews::askRange(const std::string& proposed)
{
    ScanAddressesDialog dialog(QString::fromStdString(proposed), parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.range();
}

std::optional<NewNodeInput> QtAddressViews::askNewNode()
{
    AddNodeDialog dialog(parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return NewNodeInput{dialog.nameEdit->text().toStdString(), dialog.addressEdit->text().toStdString()};
}

std::optional<ConnectionChoice> QtAddressViews::askConnection(const std::string& nodeName,
                                                              const std::optional<NodeConnection>& current,
                                                              const RemoteTransport& program)
{
    NodeConnectionDialog dialog(QString::fromStdString(nodeName), current, program, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ConnectionChoice{dialog.connection()};
}

} // namespace vorlu
