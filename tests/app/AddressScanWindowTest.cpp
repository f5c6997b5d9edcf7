// Scan Addresses and Node Connection through the main window's menus and
// dialogs, on a simulated network: the new computer joins the tree, its own
// connection is kept, and OK saves and asks for the restart.
#include "addresses/SimulatedAddressScan.h"
#include "addresses/ui/NodeConnectionDialog.h"
#include "addresses/ui/ScanAddressesDialog.h"
#include "app/AddressWiring.h"
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "network/ui/FrmCon.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeConnections.h"
#include "nodes/NodeFile.h"
#include "platform/SimulatedPlatform.h"
#include "support/RecordingProgramEnd.h"
#include "support/RecordingProgramRestart.h"
#include "support/ScriptedMessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

const char* const Network = R"({"localAddress": "10.0.0.9", "computers": [
    {"name": "ME", "address": "10.0.0.9"},
    {"name": "PC-2", "address": "10.0.0.2"},
    {"name": "SRV-NEW", "address": "10.0.0.30"},
    {"name": "FAR-AWAY", "address": "10.1.0.5"}]})";

// Answers the next modal dialog of type D with answer, once it shows.
template <class D>
void answerDialog(QObject* context, std::function<void(D&)> answer, bool* seen)
{
    QTimer::singleShot(50, context, [context, answer, seen] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            *seen = true;
            answer(*d);
            return;
        }
        answerDialog<D>(context, answer, seen);
    });
}

} // namespace

TEST(AddressScanWindow, ScanAddressesJoinsTheNewComputerAndItsConnectionIsKept)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::string error;
    const auto network = SimulatedNetwork::parse(Network, "net.json", error);
    ASSERT_TRUE(network) << error;
    Platform platform;
    installSimulatedNetwork(platform, network);
    platform.messages = std::make_unique<ScriptedMessageBoxes>();
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
    auto restart = std::make_unique<RecordingProgramRestart>();
    RecordingProgramRestart& restarts = *restart;
    platform.restart = std::move(restart);
    NodeTable known;
    for (const auto& [name, address] : {std::pair{"ME", "10.0.0.9"}, std::pair{"PC-2", "10.0.0.2"}}) {
        NodeRecord r = discoveredNode(name);
        r.IP = address;
        known.append(r);
    }
    ASSERT_TRUE(saveNodeFile(folder / NodeFileName, known, NodeFileForm::Plain));
    SceneHooks scene;
    Frmmain window(platform, folder, scene);
    window.addresses().useScan([network](const AddressRange& range, ScanControl*) {
        return scanSimulatedAddresses(*network, range);
    });
    window.loadStep(nullptr);

    bool asked = false;
    std::string proposed;
    answerDialog<ScanAddressesDialog>(&window, [&](ScanAddressesDialog& d) {
        proposed = d.range();
        d.accept();
    }, &asked);
    emit window.menus().item().mnuscanaddr->triggered(false);
    ASSERT_TRUE(asked);
    EXPECT_EQ(proposed, "10.0.0.0/24");
    ASSERT_EQ(window.state().nodes.count(), 3u);
    EXPECT_EQ(window.state().nodes.at(3).Name, "SRV-NEW");
    EXPECT_EQ(window.state().nodes.at(3).IP, "10.0.0.30");
    EXPECT_EQ(window.frmCon().windowTitle(), "Scan Addresses");
    EXPECT_EQ(window.findChild<QTreeWidget*>("TreeView1")->topLevelItem(0)->childCount(), 3);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "SRV-NEW"));

    window.state().SelectedNode = 3;
    asked = false;
    answerDialog<NodeConnectionDialog>(&window, [](NodeConnectionDialog& d) {
        d.ownCheck->setChecked(true);
        d.schemeCombo->setCurrentIndex(1);
        d.accept();
    }, &asked);
    emit window.menus().item().mnunodeconn->triggered(false);
    ASSERT_TRUE(asked);
    NodeConnections saved;
    ASSERT_TRUE(readNodeConnections(folder, saved));
    EXPECT_EQ(saved, (NodeConnections{{"SRV-NEW", {true, 5986, SignInMethod::Automatic, ""}}}));

    window.frmCon().close(); // the close box acts as OK: the restart of a Re-Scan that found computers
    EXPECT_EQ(restarts.calls(), 1);
    std::string lg;
    ASSERT_TRUE(readWholeFile(folder / NodeFileName, lg));
    NodeTable written;
    parseNodeFile(lg, written);
    ASSERT_EQ(written.count(), 3u);
    EXPECT_EQ(written.at(3).Name, "SRV-NEW");
}
