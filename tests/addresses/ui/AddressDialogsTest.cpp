// The address dialogs: the range checked as it is typed, and the node's
// connection read back as the user left it.
#include "addresses/ui/NodeConnectionDialog.h"
#include "addresses/ui/ScanAddressesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

TEST(ScanAddressesDialog, OffersTheScanOnlyForARangeItCanScan)
{
    ScanAddressesDialog dialog("192.168.7.0/24", nullptr);
    EXPECT_TRUE(dialog.scanButton->isEnabled());
    EXPECT_EQ(dialog.hint->text(), "254 addresses, 192.168.7.1 to 192.168.7.254");
    dialog.rangeEdit->setText("192.168.0.0/8");
    EXPECT_FALSE(dialog.scanButton->isEnabled());
    EXPECT_TRUE(dialog.hint->text().contains("65536"));
    dialog.rangeEdit->setText("192.168.7.10-192.168.7.19");
    EXPECT_TRUE(dialog.scanButton->isEnabled());
    EXPECT_EQ(dialog.range(), "192.168.7.10-192.168.7.19");
}

TEST(NodeConnectionDialog, ShowsTheProgramsSettingUntilTheNodeHasItsOwn)
{
    RemoteTransport program;
    NodeConnectionDialog dialog("SRV-B", std::nullopt, program, nullptr);
    EXPECT_FALSE(dialog.ownCheck->isChecked());
    EXPECT_FALSE(dialog.portSpin->isEnabled());
    EXPECT_EQ(dialog.portSpin->value(), 5985);
    EXPECT_FALSE(dialog.connection());

    dialog.ownCheck->setChecked(true);
    EXPECT_TRUE(dialog.portSpin->isEnabled());
    dialog.schemeCombo->setCurrentIndex(1); // HTTPS takes its own default port
    EXPECT_EQ(dialog.portSpin->value(), 5986);
    dialog.signInCombo->setCurrentIndex(3);
    dialog.kerberosEdit->setText(" HTTP/srv-b.lab.example ");
    EXPECT_EQ(dialog.connection(), (NodeConnection{true, 5986, SignInMethod::Kerberos, "HTTP/srv-b.lab.example"}));

    dialog.portSpin->setValue(8443); // a port of the user's own stays when the scheme changes
    dialog.schemeCombo->setCurrentIndex(0);
    EXPECT_EQ(dialog.portSpin->value(), 8443);
}

TEST(NodeConnectionDialog, OpensOnTheNodesOwnConnection)
{
    const NodeConnection own{true, 5990, SignInMethod::Basic, ""};
    NodeConnectionDialog dialog("SRV-B", own, RemoteTransport{}, nullptr);
    EXPECT_TRUE(dialog.ownCheck->isChecked());
    EXPECT_EQ(dialog.connection(), own);
}

} // namespace
} // namespace vorlu
