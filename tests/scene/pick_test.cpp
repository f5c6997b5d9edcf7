#include "SceneTestSupport.h"
#include "scene/CD3DPick.h"
#include "support/RecordingDevice.h"
#include "scene/SceneContext.h"

#include <gtest/gtest.h>

using namespace vorlu;
using namespace vorlu::test;

namespace {

// Default camera on a 640 x 480 view; the centre pixel looks down +z.
struct PickFixture : ::testing::Test {
    PickFixture()
    {
        context.windowWidth = 640;
        context.windowHeight = 480;
        context.ApplySceneDefaults();
    }
    RecordingDevice device;
    SceneContext context{&device};
    std::shared_ptr<CD3DFrame> root = FrameNamed("root");

    std::shared_ptr<CD3DFrame> AddSquareFrame(const std::string& name, float z, std::shared_ptr<CD3DFrame> parent = {})
    {
        auto f = FrameNamed(name);
        f->AddMesh(MeshOf(Square(z), {Mat(1, 0, 0)}, name + "Mesh"));
        (parent ? parent : root)->AddChild(f);
        return f;
    }
};

} // namespace

TEST_F(PickFixture, NearestRecordWinsAcrossFramesWithTheirOwnMatrices)
{
    auto far = AddSquareFrame("far", 5);
    auto nearer = AddSquareFrame("near", 0);
    nearer->AddTranslation(CombineReplace, 0, 0, 2); // moved behind "far" by its own matrix
    auto front = AddSquareFrame("front", 1);
    CD3DPick pick;
    EXPECT_TRUE(pick.ViewportPick(context, *root, 320, 240));
    EXPECT_EQ(pick.GetCount(), 3);
    const int n = pick.FindNearest();
    ASSERT_GE(n, 0);
    EXPECT_EQ(pick.GetFrame(n)->ObjectName, "front");
    // Distances are fractions of the near-to-far segment: z = 1 is 20 units past the near plane at -19.
    EXPECT_NEAR(pick.GetRecord(n).distance, 20.0f / 2999.0f, 1e-5f);
    EXPECT_EQ(pick.GetMesh(n)->ObjectName, "frontMesh");
}

TEST_F(PickFixture, EmptyBackgroundStillReportsMeshesTested)
{
    AddSquareFrame("part", 0);
    CD3DPick pick;
    EXPECT_TRUE(pick.ViewportPick(context, *root, 5, 5)); // far corner: misses
    EXPECT_EQ(pick.FindNearest(), -1);
    CD3DFrame empty;
    EXPECT_FALSE(pick.ViewportPick(context, empty, 320, 240));
}

TEST_F(PickFixture, TiesKeepTheFirstRecordInWalkOrder)
{
    auto a = AddSquareFrame("first", 0);
    auto b = AddSquareFrame("second", 0);
    CD3DPick pick;
    pick.ViewportPick(context, *root, 320, 240);
    ASSERT_EQ(pick.GetCount(), 2);
    EXPECT_EQ(pick.GetFrame(pick.FindNearest())->ObjectName, "first");
}

TEST_F(PickFixture, HiddenFramesAndTheirSubtreesAreSkipped)
{
    auto hidden = AddSquareFrame("hiddenUnit", -5);
    AddSquareFrame("hiddenChild", -6, hidden);
    AddSquareFrame("visibleUnit", 3);
    hidden->Enabled = false;
    CD3DPick pick;
    EXPECT_TRUE(pick.ViewportPick(context, *root, 320, 240));
    ASSERT_EQ(pick.GetCount(), 1);
    EXPECT_EQ(pick.GetFrame(pick.FindNearest())->ObjectName, "visibleUnit");
    root->Enabled = false;
    EXPECT_FALSE(pick.ViewportPick(context, *root, 320, 240));
    EXPECT_EQ(pick.GetCount(), 0);
}

TEST_F(PickFixture, OneRecordPerMeshAndGrowthBeyondTenRecords)
{
    // Two squares in one mesh: one record for it, the nearer triangle.
    std::vector<MeshVertex> v(8);
    const float zs[2] = {4, 2};
    for (int s = 0; s < 2; ++s) {
        v[static_cast<std::size_t>(s * 4 + 0)].position = {-1, -1, zs[s]};
        v[static_cast<std::size_t>(s * 4 + 1)].position = {-1, 1, zs[s]};
        v[static_cast<std::size_t>(s * 4 + 2)].position = {1, 1, zs[s]};
        v[static_cast<std::size_t>(s * 4 + 3)].position = {1, -1, zs[s]};
    }
    auto twoLayer = std::make_shared<MeshGeometry>(
        v, std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}, std::vector<std::uint32_t>{0, 0, 0, 0});
    auto layered = FrameNamed("layered");
    layered->AddMesh(MeshOf(twoLayer, {Mat(1, 1, 1)}));
    root->AddChild(layered);
    for (int i = 0; i < 10; ++i)
        AddSquareFrame("sq" + std::to_string(i), 10.0f + static_cast<float>(i));
    CD3DPick pick;
    pick.ViewportPick(context, *root, 320, 240);
    EXPECT_EQ(pick.GetCount(), 11);
    EXPECT_EQ(pick.Capacity(), 20);
    EXPECT_EQ(pick.GetFrame(0)->ObjectName, "layered");
    EXPECT_GE(pick.GetRecord(0).faceIndex, 2); // a face of the nearer square
    EXPECT_EQ(pick.GetFrame(10)->ObjectName, "sq9");
    EXPECT_EQ(pick.FindNearest(), 0);
    // A new pick starts from nothing.
    pick.ViewportPick(context, *root, 1, 1);
    EXPECT_EQ(pick.GetCount(), 0);
    EXPECT_EQ(pick.Capacity(), 0);
}

TEST(MeshIntersect, BarycentricAndDistanceOfTheHit)
{
    auto g = Square(2.0f);
    // From (0.5, -0.5, 0) along +z with a segment of length 4.
    auto hit = g->Intersect(Vector(0.5f, -0.5f, 0), Vector(0, 0, 4));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->face, 1);
    EXPECT_NEAR(hit->distance, 0.5f, 1e-6f);
    // hit = v0 + u (v1 - v0) + v (v2 - v0) for face (0, 2, 3)
    EXPECT_NEAR(hit->u, 0.25f, 1e-6f);
    EXPECT_NEAR(hit->v, 0.5f, 1e-6f);
    EXPECT_FALSE(g->Intersect(Vector(0, 0, 3), Vector(0, 0, 4))); // behind the origin
    EXPECT_TRUE(g->Intersect(Vector(0, 0, 3), Vector(0, 0, -4))); // back faces count too
}
