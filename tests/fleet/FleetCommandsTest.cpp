#include "support/FleetTestNetwork.h"

#include "fleet/FleetCommands.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

using namespace test;

class RecordingFleetProgress : public FleetProgressView {
public:
    void showProgress() override { ++shown; }
    void setProgress(const FleetProgress& p) override { last = p; }
    bool cancelRequested() override { return false; }
    void hideProgress() override { ++hidden; }
    int shown = 0;
    int hidden = 0;
    FleetProgress last;
};

struct Rig {
    std::shared_ptr<SimulatedNetwork> net = simNetwork(simComputer(1, simDrive("D:", "OK")) + "," +
                                                       simComputer(2, simDrive("D:", "Error")));
    SimulatedManagement management{net};
    QTemporaryDir dir;
    NodeTable table;
    Settings settings;
    CommandGate gate;
    RecordingFleetProgress progress;
    std::vector<std::string> status;
    int shownAgain = 0;
    FleetCommands commands{table, settings, dir.path().toStdString(),
                           FleetServices{management, gate, progress,
                                         [this](const std::string& t) { status.push_back(t); },
                                         [this] { EXPECT_FALSE(gate.busy()); ++shownAgain; }, {}}};
    Rig()
    {
        table.append(simNode(1));
        table.append(simNode(2));
    }
};

TEST(FleetCommands, DiagnosesEveryNodeThenShowsTheNodeAgainWithTheGateFree)
{
    Rig rig;
    EXPECT_TRUE(rig.commands.DiagnoseAll());
    EXPECT_EQ(rig.progress.shown, 1);
    EXPECT_EQ(rig.progress.hidden, 1);
    EXPECT_EQ(rig.progress.last.done, 2u);
    EXPECT_EQ(rig.shownAgain, 1);
    ASSERT_EQ(rig.commands.rows().size(), 2u);
    EXPECT_EQ(rig.commands.rows()[1].state, FleetState::Red);
    ASSERT_EQ(rig.status.size(), 1u);
    EXPECT_EQ(rig.status[0], "Diagnose All Nodes: 2 of 2 nodes diagnosed, 1 red, 0 amber, 1 green, 0 not reached");
}

TEST(FleetCommands, ASecondCommandWhileOneRunsIsRefusedWithTheStatusText)
{
    Rig rig;
    const CommandGate::Pass other = rig.gate.enter();
    EXPECT_FALSE(rig.commands.DiagnoseAll());
    EXPECT_EQ(rig.progress.shown, 0);
    EXPECT_EQ(rig.table.at(1).Scanned, "False");
    ASSERT_EQ(rig.status.size(), 1u);
    EXPECT_EQ(rig.status[0], CommandGate::busyText);
}

} // namespace
} // namespace vorlu
