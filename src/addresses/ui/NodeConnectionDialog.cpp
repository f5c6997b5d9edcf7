#include "addresses/ui/NodeConnectionDialog.h"

#include "nodes/TransportSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorlu {

NodeConnectionDialog::NodeConnectionDialog(const QString& nodeName, const std::optional<NodeConnection>& current,
                                           const RemoteTransport& program, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Node Connection"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("How %1 is reached. Without a connection of its own the node uses the "
                                "\"Remote\" page of the settings (%2, port %3).")
                                 .arg(nodeName, program.https ? "HTTPS" : "HTTP")
                                 .arg(program.port),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    ownCheck = new QCheckBox(tr("&Own connection for this node"), this);
    ownCheck->setObjectName("chkOwnConnection");
    layout->addWidget(ownCheck);
    auto* form = new QFormLayout;
    schemeCombo = new QComboBox(this);
    schemeCombo->setObjectName("cboScheme");
    schemeCombo->addItems({QStringLiteral("HTTP"), QStringLiteral("HTTPS")});
    portSpin = new QSpinBox(this);
    portSpin->setObjectName("txtPort");
    portSpin->setRange(MinPort, MaxPort);
    signInCombo = new QComboBox(this);
    signInCombo->setObjectName("cboSignIn");
    signInCombo->addItems({tr("Automatic (Negotiate, else Basic where allowed)"), tr("Negotiate (NTLM)"),
                           tr("Basic"), tr("Kerberos")});
    kerberosEdit = new QLineEdit(this);
    kerberosEdit->setObjectName("txtKerberosName");
    kerberosEdit->setPlaceholderText(tr("HTTP/name.domain (empty: from the node's name)"));
    form->addRow(tr("&Scheme:"), schemeCombo);
    form->addRow(tr("&Port:"), portSpin);
    form->addRow(tr("S&ign-in:"), signInCombo);
    form->addRow(tr("&Kerberos name:"), kerberosEdit);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const NodeConnection shown =
        current.value_or(NodeConnection{program.https, program.port, SignInMethod::Automatic, {}});
    ownCheck->setChecked(current.has_value());
    schemeCombo->setCurrentIndex(shown.https ? 1 : 0);
    portSpin->setValue(shown.port);
    signInCombo->setCurrentIndex(static_cast<int>(shown.signIn));
    kerberosEdit->setText(QString::fromStdString(shown.kerberosName));
    // The port follows the scheme while it holds the other scheme's default, as on the Remote page.
    connect(schemeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        RemoteTransport t;
        t.port = portSpin->value();
        t.https = index != 1;
        setScheme(t, index == 1);
        portSpin->setValue(t.port);
    });
    connect(ownCheck, &QCheckBox::toggled, this, [this] { enableFields(); });
    enableFields();
}

void NodeConnectionDialog::enableFields()
{
    for (QWidget* w : std::initializer_list<QWidget*>{schemeCombo, portSpin, signInCombo, kerberosEdit})
        w->setEnabled(ownCheck->isChecked());
}

std::optional<NodeConnection> NodeConnectionDialog::connection() const
{
    if (!ownCheck->isChecked())
        return std::nullopt;
    return NodeConnection{schemeCombo->currentIndex() == 1, portSpin->value(),
                          static_cast<SignInMethod>(signInCombo->currentIndex()),
                          kerberosEdit->text().trimmed().toStdString()};
}

} // namespace vorlu
