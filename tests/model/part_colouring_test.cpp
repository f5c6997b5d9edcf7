// Painting parts in a state colour and the reset of the state display, on the
// recording device: what each subset is drawn with, and how many frames.
#include "drives/DriveStatus.h"
#include "model/ModelAssembly.h"
#include "model/ModelLayout.h"
#include "model/ModelPainter.h"
#include "model/PartColourTable.h"
#include "model/PartResetList.h"
#include "scene/CD3DMesh.h"
#include "support/CountingPace.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"
#include "scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vorlu;
using namespace vorlu::test;

namespace {

// One textured-looking two-subset part in a root, drawn on the recording device.
struct SmallScene : ::testing::Test {
    SmallScene()
    {
        scene.SceneRoot = FrameNamed("root");
        part = FrameNamed("Frame0Cylinder_a1");
        part->AddMesh(MeshOf(Square(1.0f, 1.0f, 0, 0, {0, 1}), {Mat(0.2f, 0.3f, 0.4f), Mat(0.6f, 0.6f, 0.6f)}));
        scene.SceneRoot->AddChild(part);
    }
    CD3DMesh& mesh() { return *part->GetChildMesh(0); }
    // Materials of the subsets drawn in the last frame, with their pass.
    std::vector<RecordingDevice::Draw> frame()
    {
        device.clearRecord();
        scene.DrawFrame();
        return device.draws;
    }

    RecordingDevice device;
    Scene scene{&device};
    std::shared_ptr<CD3DFrame> part;
    ModelPainter painter{scene};
};

} // namespace

TEST_F(SmallScene, APaintedPartDrawsEverySubsetWithTheTableEntryInTheRightPass)
{
    struct Case {
        int index;
        ColorValue colour;
        bool blended;
    };
    const Case cases[] = {
        // 0 is a drive whose codes matched no row: grey, never black.
        {0, {0.8f, 0.8f, 0.8f, 1}, false}, {2, {0.5f, 1, 0.2f, 1}, false},  {6, {1, 1, 0.2f, 1}, false},
        {12, {1, 0, 0, 1}, false},         {13, {2.5f, 0.5f, 2.5f, 1}, false}, {16, {2, 2, 2, 1}, false},
        {17, {0, 0, 0, 0}, true},          {-1, {0, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        painter.decide_colour("Frame0Cylinder_a1", c.index);
        EXPECT_EQ(painter.CurrentPartFrame(), part.get());
        const auto draws = frame();
        ASSERT_EQ(draws.size(), 2u);
        for (const auto& d : draws) {
            EXPECT_EQ(d.material.Diffuse, c.colour);
            EXPECT_EQ(d.material.Ambient, c.colour);
            EXPECT_EQ(d.material.Specular, ColorValue{});
            EXPECT_EQ(d.material.Emissive, ColorValue{});
            EXPECT_EQ(d.material.Power, 0.0f);
            EXPECT_EQ(d.alphaBlend, c.blended);
        }
    }
}

TEST_F(SmallScene, RestoringDrawsTheFileMaterialsAgainAndUnknownNamesChangeNothing)
{
    painter.decide_colour("Frame0Cylinder_a1", StatusColour::Red);
    painter.restoreobject("Frame0Cylinder_a1");
    auto draws = frame();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].material.Diffuse, (ColorValue{0.2f, 0.3f, 0.4f, 1}));
    EXPECT_EQ(draws[1].material.Diffuse, (ColorValue{0.6f, 0.6f, 0.6f, 1}));

    painter.decide_colour("no such part", StatusColour::Red);
    EXPECT_EQ(painter.CurrentPartFrame(), nullptr);
    draws = frame();
    EXPECT_EQ(draws[0].material.Diffuse, (ColorValue{0.2f, 0.3f, 0.4f, 1}));
}

TEST_F(SmallScene, TenPaintsAndAWholeResetAskForOneFrameEach)
{
    int requests = 0;
    scene.setFrameRequester([&] { ++requests; });
    for (int k = 1; k <= 10; ++k)
        painter.decide_colour(DrivePartName(k), StatusColour::Green);
    device.clearRecord();
    EXPECT_TRUE(scene.Paint());
    EXPECT_FALSE(scene.Paint()) << "the ten requests were one frame";
    EXPECT_EQ(device.calls("BeginScene").size(), 1u);

    requests = 0;
    painter.restoreAllParts();
    EXPECT_EQ(requests, 1) << "the reset list is restored before a single frame is asked for";
    device.clearRecord();
    EXPECT_TRUE(scene.Paint());
    EXPECT_EQ(device.calls("BeginScene").size(), 1u);
}

TEST(PartResetList, HoldsTheFirstUnitsDrivePartsAndRepeatsSomeNames)
{
    EXPECT_EQ(PartResetList.front(), "Frame5Cube_eth1");
    EXPECT_EQ(PartResetList.back(), "Frame15Cube_1");
    for (const char* name : {"Frame0Cylinder_a1", "Frame0Cylinder_b1", "Frame0Cylinder_c1"})
        EXPECT_NE(std::find(PartResetList.begin(), PartResetList.end(), name), PartResetList.end()) << name;
    const std::set<std::string_view> distinct(PartResetList.begin(), PartResetList.end());
    EXPECT_EQ(PartResetList.size() - distinct.size(), 7u) << "names listed twice";
}

namespace {

// The generated model on the recording device, assembled once.
class PaintedModel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        device = new RecordingDevice;
        scene = new Scene(device);
        CountingPace pace;
        ModelAssembly assembly(*scene, std::string(VORLU_BINARY_DIR) + "/media/", pace);
        assembly.load_start();
    }
    static void TearDownTestSuite()
    {
        delete scene;
        delete device;
    }
    static CD3DMesh& firstMesh(CD3DFrame& within, const std::string& name)
    {
        return *within.FindChildObject(name).frame->GetChildMesh(0);
    }
    static bool painted(const CD3DMesh& m) { return !m.bUseMaterials && m.bUseMaterialOverride; }

    static RecordingDevice* device;
    static Scene* scene;
};

RecordingDevice* PaintedModel::device = nullptr;
Scene* PaintedModel::scene = nullptr;

} // namespace

TEST_F(PaintedModel, ANameEveryUnitHasIsPaintedInTheFirstUnitOnly)
{
    ModelPainter painter(*scene);
    painter.decide_colour("Frame0Cube", StatusColour::Amber);
    for (int unit = 1; unit <= UnitCount; ++unit)
        EXPECT_EQ(painted(firstMesh(*scene->UnitFrames[static_cast<std::size_t>(unit - 1)], "Frame0Cube")), unit == 1)
            << "unit " << unit;
    painter.restoreAllParts();
    EXPECT_FALSE(painted(firstMesh(*scene->UnitFrames[0], "Frame0Cube")));
}

TEST_F(PaintedModel, TheResetRestoresEveryDrivePartAndEveryPaintedNameOfTheList)
{
    ModelPainter painter(*scene);
    std::vector<std::string> names;
    for (int unit = 1; unit <= UnitCount; ++unit)
        names.push_back(DrivePartName(unit));
    for (const char* n : {"Frame0Cylinder_b1", "Frame0Cylinder_c1", "Frame29Cylinder_3a", "Cube-2k7", "Frame15Cube_1"})
        names.push_back(n);
    std::vector<CD3DMesh*> meshes;
    for (const std::string& n : names) {
        painter.decide_colour(n, StatusColour::Red);
        if (painter.CurrentPartFrame())
            meshes.push_back(painter.CurrentPartFrame()->GetChildMesh(0).get());
    }
    ASSERT_GE(meshes.size(), 14u) << "the model has these parts";
    for (CD3DMesh* m : meshes)
        ASSERT_TRUE(painted(*m));
    painter.restoreAllParts();
    for (CD3DMesh* m : meshes) {
        EXPECT_TRUE(m->bUseMaterials);
        EXPECT_EQ(m->GetMaterialOverride(), PartMaterial(StatusColour::Red)) << "kept, without effect";
    }
}
