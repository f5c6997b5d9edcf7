// The first Network Scan of the main window over WS-Discovery: wsdd hosts in
// network namespaces, found while the window keeps running its events.
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "commands/CommandGate.h"
#include "network/ui/FrmCon.h"
#include "remote/WsDiscoveryEnumerator.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/WsddNetwork.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vorlu;

TEST(WsDiscoveryWindow, NetworkScanListsTheHostsWhileTheWindowRuns)
{
    const std::string unavailable = test::WsddNetwork::unavailableReason();
    if (!unavailable.empty())
        GTEST_SKIP() << "skipped: " << unavailable;
    test::WsddNetwork net({"ALPHA", "BRAVO"});

    // The names are resolved as always, here by a simulated resolver.
    QTemporaryDir dir;
    Platform platform;
    std::string error;
    installSimulatedNetwork(platform, SimulatedNetwork::parse(R"({"localAddress": "10.77.0.1", "computers": [
        {"name": "ALPHA", "address": "10.77.0.10", "listed": false},
        {"name": "BRAVO", "address": "10.77.0.11", "listed": false}]})",
                                                              "net.json", error));
    platform.enumerator = std::make_unique<WsDiscoveryEnumerator>();
    platform.messages = std::make_unique<ScriptedMessageBoxes>();
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
    SceneHooks scene;
    Frmmain window(platform, dir.path().toStdString(), scene);
    window.loadStep(nullptr);

    bool ranDuringScan = false;
    std::string refusal;
    QTimer::singleShot(300, &window, [&] {
        ranDuringScan = window.frmCon().isVisible();
        emit window.menus().item().mnuRescan->triggered(false);
        refusal = window.frmCon().status();
    });
    {
        const auto inside = net.enterClient(&error);
        ASSERT_TRUE(inside) << error;
        emit window.menus().item().mnunwscan->triggered(false);
    }

    EXPECT_TRUE(ranDuringScan);
    EXPECT_EQ(refusal, CommandGate::busyText);
    std::vector<std::pair<std::string, std::string>> nodes;
    for (std::size_t k = 1; k <= window.state().nodes.count(); ++k)
        nodes.emplace_back(window.state().nodes.at(k).Name, window.state().nodes.at(k).IP);
    std::sort(nodes.begin(), nodes.end());
    EXPECT_EQ(nodes, (std::vector<std::pair<std::string, std::string>>{{"ALPHA", "10.77.0.10"}, {"BRAVO", "10.77.0.11"}}));
    EXPECT_EQ(window.frmCon().status(), "Network node list completed");
}
