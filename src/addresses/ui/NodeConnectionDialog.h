#pragma once
#include "platform/NodeConnection.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vorlu {

// "Node Connection": the node's own scheme, port, sign-in and Kerberos name,
// or the program's Remote settings.
class NodeConnectionDialog : public QDialog {
    Q_OBJECT
public:
    NodeConnectionDialog(const QString& nodeName, const std::optional<NodeConnection>& current,
                         const RemoteTransport& program, QWidget* parent);
    // Nothing: the node uses the program's settings.
    std::optional<NodeConnection> connection() const;

    QCheckBox* ownCheck = nullptr;
    QComboBox* schemeCombo = nullptr; // HTTP, HTTPS
    QSpinBox* portSpin = nullptr;
    QComboBox* signInCombo = nullptr; // in the order of SignInMethod
    QLineEdit* kerberosEdit = nullptr;

private:
    void enableFields();
};

} // namespace vorlu
