#include "app/CommandMenus.h"
#include "app/DemoSeed.h"
#include "app/MainWindow.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <filesystem>
#include <QAction>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

// The bundled demo network, as `--demo` reads it.
std::shared_ptr<SimulatedNetwork> demoNetwork()
{
    std::string error;
    auto network = SimulatedNetwork::load(std::filesystem::path(VORLU_SOURCE_DIR) / "demo" / "network.json", error);
    EXPECT_TRUE(network) << error;
    return network;
}

} // namespace

// The first start of the demo lists its computers at once, as after a scan;
// Re-Scan is offered and Network Scan is not.
TEST(DemoSeed, FirstStartShowsThePopulatedTree)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    auto network = demoNetwork();
    ASSERT_TRUE(network);
    std::string error;
    ASSERT_TRUE(seedDemoFolder(folder, *network, error)) << error;

    Platform platform;
    installSimulatedNetwork(platform, network);
    platform.messages = std::make_unique<ScriptedMessageBoxes>();
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
    SceneHooks scene;
    Frmmain window(platform, folder, scene);
    window.loadStep(nullptr);

    std::size_t listed = 0;
    for (const auto& c : network->computers)
        listed += c.listed ? 1 : 0;
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_GE(tree->topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(window.state().nodes.count(), listed);
    EXPECT_EQ(window.state().nodes.at(1).IP, "192.168.1.10");
    EXPECT_EQ(window.state().LocalNode, 1u) << "this computer of the demo is known";
    EXPECT_TRUE(window.menus().item().mnuRescan->isEnabled());
    EXPECT_FALSE(window.menus().item().mnunwscan->isEnabled());
    for (const auto& c : network->computers) {
        if (c.listed) {
            EXPECT_TRUE(std::filesystem::is_directory(folder / c.name)) << c.name;
        }
    }
}

// A demo the user has scanned or changed keeps the user's node file.
TEST(DemoSeed, KeepsTheUsersNodeFile)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    ASSERT_TRUE(writeFileAtomically(folder / NodeFileName, "MINE\r\n"));
    auto network = demoNetwork();
    ASSERT_TRUE(network);
    std::string error;
    ASSERT_TRUE(seedDemoFolder(folder, *network, error));
    std::string text;
    ASSERT_TRUE(readWholeFile(folder / NodeFileName, text));
    EXPECT_EQ(text, "MINE\r\n");
}
