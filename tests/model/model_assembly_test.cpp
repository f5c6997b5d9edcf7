#include "ModelTestSupport.h"

#include "model/ModelAssembly.h"
#include "model/ModelLayout.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "support/CountingPace.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace vorlu;
using namespace vorlu::test;

namespace {

class Assembly : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        WriteStubModel(dir);
    }

    // Runs the assembly on the stub folder with the given services.
    ModelAssembly& Assemble(AssemblyServices services = {})
    {
        assembly = std::make_unique<ModelAssembly>(scene, FolderOf(dir), pace, std::move(services));
        assembly->load_start();
        return *assembly;
    }

    std::vector<std::string> ChildNames(const CD3DFrame& f)
    {
        std::vector<std::string> names;
        for (int i = 0; i < f.GetChildFrameCount(); ++i)
            names.push_back(f.GetChildFrame(i)->ObjectName);
        return names;
    }

    QTemporaryDir dir;
    RecordingDevice device;
    Scene scene{&device};
    test::CountingPace pace;
    std::unique_ptr<ModelAssembly> assembly;
};

Matrix Translation(float x, float y, float z)
{
    Matrix m{1.0f};
    At(m, 4, 1) = x;
    At(m, 4, 2) = y;
    At(m, 4, 3) = z;
    return m;
}

} // namespace

TEST_F(Assembly, BuildsTheFrameTreeWithEverythingHidden)
{
    ModelAssembly& a = Assemble();

    ASSERT_TRUE(scene.SceneRoot);
    ASSERT_EQ(scene.SceneRoot->GetChildFrameCount(), 1);
    const auto& firstTrackball = scene.SceneRoot->GetChildFrame(0);
    EXPECT_EQ(firstTrackball->GetMatrix(), Matrix(1.0f));
    ASSERT_EQ(firstTrackball->GetChildFrameCount(), 1);
    const auto& container = firstTrackball->GetChildFrame(0);
    EXPECT_EQ(container, a.ModelContainer());
    EXPECT_EQ(scene.TrackballFrame, container);
    EXPECT_EQ(container->GetMatrix(), Translation(1, 5, 0));

    ASSERT_EQ(scene.UnitFrames.size(), 10u);
    ASSERT_EQ(scene.RackFrames.size(), 5u);
    ASSERT_EQ(container->GetChildFrameCount(), 15);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(container->GetChildFrame(i), scene.UnitFrames[static_cast<std::size_t>(i)]) << "unit " << i + 1;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(container->GetChildFrame(10 + i), scene.RackFrames[static_cast<std::size_t>(i)]) << "rack " << i + 1;
    for (const auto& f : scene.UnitFrames)
        EXPECT_FALSE(f->Enabled);
    for (const auto& f : scene.RackFrames)
        EXPECT_FALSE(f->Enabled);

    EXPECT_TRUE(scene.ModelLoaded);
    EXPECT_FALSE(a.AssemblyInProgress());
    EXPECT_TRUE(a.UnreadFiles().empty());
    EXPECT_EQ(device.GetRenderState(RenderState::Ambient), 0x90909090u);
    // Drawn, but with every unit hidden nothing reaches the device.
    EXPECT_FALSE(device.calls("Present").empty());
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(Assembly, PlacesUnitsAndRacksOnTheGridWhateverTheFilesHold)
{
    Assemble(); // every stub frame carries its own translation (5, 6, 7)
    const float unitPos[10][2] = {{-2.8f, -2}, {1.5f, -2}, {-2.8f, -4}, {1.5f, -4}, {-2.8f, -6},
                                  {1.5f, -6},  {-2.8f, -8}, {1.5f, -8}, {-2.8f, -10}, {1.5f, -10}};
    for (int i = 0; i < 10; ++i) {
        const Vector p = scene.UnitFrames[static_cast<std::size_t>(i)]->GetPosition();
        EXPECT_EQ(p, Vector(unitPos[i][0], unitPos[i][1], -2.3f)) << "unit " << i + 1;
    }
    EXPECT_EQ(scene.RackFrames[0]->GetMatrix(), Matrix(1.0f));
    for (int r = 2; r <= 5; ++r)
        EXPECT_EQ(scene.RackFrames[static_cast<std::size_t>(r - 1)]->GetPosition(),
                  Vector(0, -2.0f * static_cast<float>(r - 1), 0))
            << "rack " << r;

    // In the container's parent space the rows stand at heights 3, 1, -1, -3, -5
    // and the columns at x -1.8 and 2.5.
    scene.SceneRoot->UpdateFrames(Matrix(1.0f));
    const Vector unit9 = scene.UnitFrames[8]->TransformCoord(Vector(0, 0, 0));
    EXPECT_NEAR(unit9.x, -1.8f, 1e-5);
    EXPECT_NEAR(unit9.y, -5.0f, 1e-5);
    const Vector unit2 = scene.UnitFrames[1]->TransformCoord(Vector(0, 0, 0));
    EXPECT_NEAR(unit2.x, 2.5f, 1e-5);
    EXPECT_NEAR(unit2.y, 3.0f, 1e-5);
}

TEST_F(Assembly, LoadsEachUnitsFilesAndEachRacksFilesInOrder)
{
    Assemble();
    for (int unit = 1; unit <= 10; ++unit) {
        std::vector<std::string> expected;
        for (const auto& f : UnitMeshFiles(unit)) {
            expected.push_back(StubFrameName(f));
            if (f == "vid1.x")
                expected.push_back("Common");
        }
        EXPECT_EQ(ChildNames(*scene.UnitFrames[static_cast<std::size_t>(unit - 1)]), expected) << "unit " << unit;
        // A top-level mesh of a file becomes a mesh of the unit frame.
        ASSERT_EQ(scene.UnitFrames[static_cast<std::size_t>(unit - 1)]->GetChildMeshCount(), 1);
        EXPECT_EQ(scene.UnitFrames[static_cast<std::size_t>(unit - 1)]->GetChildMesh(0)->ObjectName, "loose_mesh");
    }
    EXPECT_EQ(ChildNames(*scene.UnitFrames[1])[23], "part_vidcd26b");
    EXPECT_EQ(ChildNames(*scene.UnitFrames[9])[23], "part_vidcd26j");
    const std::vector<std::string> rackOrder = {"part_rackcd1", "part_rackcd2", "part_rackcd3", "part_rackcd4",
                                                "part_rackcd5", "part_rackcd7", "part_rackcd6"};
    for (const auto& rack : scene.RackFrames)
        EXPECT_EQ(ChildNames(*rack), rackOrder);
}

TEST_F(Assembly, ANameInEveryUnitIsFoundInUnitOneAndUnitsBeforeRacks)
{
    Assemble();
    EXPECT_EQ(scene.SceneRoot->FindChildObject("Common").frame, scene.UnitFrames[0]->GetChildFrame(1).get());
    EXPECT_EQ(scene.SceneRoot->FindChildObject("part_vid29").frame,
              scene.UnitFrames[0]->GetChildFrame(26).get());
    // A unit's own file is found in that unit.
    EXPECT_EQ(scene.SceneRoot->FindChildObject("part_vidcd26e").frame,
              scene.UnitFrames[4]->GetChildFrame(23).get());
    EXPECT_EQ(scene.SceneRoot->FindChildObject("part_rackcd6").frame,
              scene.RackFrames[0]->GetChildFrame(6).get());
    EXPECT_FALSE(scene.SceneRoot->FindChildObject("common"));
}

TEST_F(Assembly, ParsesEachFileOnceButGivesEveryUnitItsOwnMeshes)
{
    ModelAssembly& a = Assemble();
    EXPECT_EQ(a.FilesParsed(), AllModelFiles().size());

    const auto& mesh1 = scene.UnitFrames[0]->GetChildFrame(0)->GetChildMesh(0);
    const auto& mesh2 = scene.UnitFrames[1]->GetChildFrame(0)->GetChildMesh(0);
    ASSERT_TRUE(mesh1->mesh && mesh2->mesh);
    EXPECT_NE(mesh1, mesh2);
    EXPECT_NE(mesh1->mesh, mesh2->mesh);
    EXPECT_NE(scene.UnitFrames[0]->GetChildFrame(0), scene.UnitFrames[1]->GetChildFrame(0));

    // Painting a part of unit 1 leaves the same part of unit 2 alone.
    mesh1->bUseMaterials = false;
    mesh1->SetMaterialOverride(Material{});
    EXPECT_TRUE(mesh2->bUseMaterials);
    EXPECT_FALSE(mesh2->bUseMaterialOverride);
}

TEST_F(Assembly, MissingFilesLeaveTheirPartsOutAndAssemblyCompletes)
{
    QFile::remove(dir.filePath("vidcd26e.x"));
    QFile::remove(dir.filePath("rackcd7.x"));
    std::vector<std::string> problems;
    AssemblyServices services;
    services.problem = [&](const std::string& p) { problems.push_back(p); };
    ModelAssembly& a = Assemble(services);

    EXPECT_TRUE(scene.ModelLoaded);
    EXPECT_EQ(a.UnreadFiles(), (std::vector<std::string>{"vidcd26e.x", "rackcd7.x"}));
    ASSERT_EQ(problems.size(), 2u) << "each file once";
    EXPECT_EQ(problems[0].rfind("cannot read the model file " + FolderOf(dir) + "vidcd26e.x", 0), 0u) << problems[0];
    for (int unit = 1; unit <= 10; ++unit)
        EXPECT_EQ(scene.UnitFrames[static_cast<std::size_t>(unit - 1)]->GetChildFrameCount(), unit == 5 ? 26 : 27)
            << "unit " << unit;
    for (const auto& rack : scene.RackFrames)
        EXPECT_EQ(rack->GetChildFrameCount(), 6);
    EXPECT_EQ(scene.UnitFrames[4]->GetPosition(), Vector(-2.8f, -6.0f, -2.3f));
}

TEST(AssemblyWithoutFiles, AnEmptyMediaFolderGivesAnEmptyButLoadedModel)
{
    QTemporaryDir empty;
    CountingPace pace;
    RecordingDevice device;
    Scene scene(&device);
    ModelAssembly a(scene, FolderOf(empty), pace);
    a.load_start();

    EXPECT_TRUE(scene.ModelLoaded);
    std::vector<std::string> problems;
    ModelAssembly missing(scene, FolderOf(empty) + "gone/", pace,
                          {{}, {}, {}, [&](const std::string& p) { problems.push_back(p); }});
    missing.load_start();
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0], "the media folder " + FolderOf(empty) + "gone/ is missing: the model has no parts");
    ASSERT_EQ(scene.TrackballFrame->GetChildFrameCount(), 15);
    for (const auto& unit : scene.UnitFrames)
        EXPECT_EQ(unit->GetChildFrameCount() + unit->GetChildMeshCount(), 0);
    EXPECT_EQ(a.UnreadFiles().size(), AllModelFiles().size());
    EXPECT_EQ(scene.UnitFrames[9]->GetPosition(), Vector(1.5f, -10.0f, -2.3f));
}

TEST_F(Assembly, ACallDuringItsOwnYieldsReturnsAtOnce)
{
    std::vector<std::string> events;
    bool nestedDone = false;
    AssemblyServices services;
    services.showBusyCursor = [&] { events.push_back("busy"); };
    services.showDefaultCursor = [&] { events.push_back("default"); };
    services.focusView = [&] { events.push_back("focus"); };
    pace.onYield = [&] {
        if (!nestedDone) {
            nestedDone = true;
            EXPECT_TRUE(assembly->AssemblyInProgress());
            assembly->load_start();
            events.push_back("nested returned");
        }
    };
    Assemble(services);

    // The nested call leaves the cursor alone: one busy, one default.
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "nested returned", "default", "focus"}));
    EXPECT_EQ(scene.UnitFrames.size(), 10u);
    EXPECT_EQ(scene.UnitFrames[0]->GetChildFrameCount(), 27); // loaded once, not twice
    EXPECT_EQ(scene.TrackballFrame->GetChildFrameCount(), 15);
    EXPECT_FALSE(assembly->AssemblyInProgress());
}

TEST_F(Assembly, ADeviceErrorEndsTheAssemblyWithoutLeavingItBusy)
{
    Scene noDevice; // every device call fails
    int defaults = 0;
    AssemblyServices services;
    int busy = 0;
    services.showBusyCursor = [&] { ++busy; };
    services.showDefaultCursor = [&] { ++defaults; };
    ModelAssembly a(noDevice, FolderOf(dir), pace, services);
    EXPECT_THROW(a.load_start(), DeviceError);
    EXPECT_FALSE(a.AssemblyInProgress());
    EXPECT_FALSE(noDevice.ModelLoaded);
    EXPECT_EQ(busy, 1);
    EXPECT_EQ(defaults, 1);
}
