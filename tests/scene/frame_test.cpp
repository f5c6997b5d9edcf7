#include "SceneTestSupport.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "support/RecordingDevice.h"
#include "scene/SceneContext.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vorlu;
using namespace vorlu::test;

namespace {

void ExpectVec(const Vector& v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

} // namespace

TEST(Frame, TranslationReplaceShowsInGetPositionUntilSetPositionRebuilds)
{
    CD3DFrame f;
    f.AddTranslation(CombineReplace, 1, 5, 0);
    ExpectVec(f.GetPosition(), 1, 5, 0);
    ExpectVec(f.StoredPosition(), 0, 0, 0);
    f.SetPosition(Vector(0, 0, 0));
    ExpectVec(f.GetPosition(), 0, 0, 0);
}

TEST(Frame, CombineModes)
{
    struct Case {
        int combine;
        Vector expected; // where the frame's origin point (1, 0, 0) ends up
    };
    // Local: translation (10, 0, 0); added: a quarter turn about +z.
    const Case cases[] = {
        {CombinePremultiply, {10, 1, 0}},  // turn in the frame's own space, then move
        {CombinePostmultiply, {0, 11, 0}}, // move, then turn about the parent's axis
        {CombineReplace, {0, 1, 0}},
        {3, {11, 0, 0}}, // unknown mode: unchanged
    };
    for (const auto& c : cases) {
        CD3DFrame f;
        f.AddTranslation(CombineReplace, 10, 0, 0);
        f.AddRotation(c.combine, 0, 0, 2, 3.14159265f / 2);
        SCOPED_TRACE(c.combine);
        ExpectVec(Vec3TransformCoord(Vector(1, 0, 0), f.GetMatrix()), c.expected.x, c.expected.y, c.expected.z, 1e-4f);
    }
}

TEST(Frame, FindChildObjectSearchesFrameThenMeshesThenChildrenInOrder)
{
    auto root = FrameNamed("");
    auto a = FrameNamed("A");
    auto b = FrameNamed("Twin");
    auto deep = FrameNamed("Deep");
    auto twinLater = FrameNamed("Twin");
    a->AddChild(deep);
    deep->AddChild(FrameNamed("Twin")); // deeper in the first branch: still found first
    root->AddChild(a);
    root->AddChild(twinLater);
    root->AddMesh(MeshOf(Square(0), {Mat(1, 0, 0)}, "Frame0Cylinder_a1"));
    a->Enabled = false;

    EXPECT_EQ(root->FindChildObject("").frame, root.get()); // own empty name, not a descendant
    EXPECT_EQ(root->FindChildObject("Deep").frame, deep.get()); // disabled subtrees are searched
    EXPECT_EQ(root->FindChildObject("Twin").frame, deep->GetChildFrame(0).get());
    auto mesh = root->FindChildObject("Frame0Cylinder_a1");
    EXPECT_EQ(mesh.frame, nullptr);
    EXPECT_EQ(mesh.mesh, root->GetChildMesh(0).get());
    EXPECT_FALSE(root->FindChildObject("frame0cylinder_a1"));
    EXPECT_FALSE(root->FindChildObject("Nowhere"));
    (void)b;
}

TEST(Frame, MeshOfAFrameIsFoundBeforeAChildFrameOfTheSameName)
{
    auto root = FrameNamed("root");
    root->AddChild(FrameNamed("part"));
    root->AddMesh(MeshOf(Square(0), {Mat(1, 0, 0)}, "part"));
    EXPECT_NE(root->FindChildObject("part").mesh, nullptr);
}

TEST(Frame, ChildIndexOutsideTheListThrows)
{
    CD3DFrame f;
    EXPECT_THROW(f.GetChildFrame(0), std::out_of_range);
    EXPECT_THROW(f.GetChildMesh(0), std::out_of_range);
    f.AddChild(std::make_shared<CD3DFrame>());
    EXPECT_NO_THROW(f.GetChildFrame(0));
    EXPECT_THROW(f.GetChildFrame(1), std::out_of_range);
    EXPECT_THROW(f.GetChildFrame(-1), std::out_of_range);
}

TEST(Frame, UpdateFramesComposesLocalWithParentAndInverts)
{
    auto root = std::make_shared<CD3DFrame>();
    auto child = std::make_shared<CD3DFrame>();
    root->AddTranslation(CombineReplace, 1, 5, 0);
    child->AddRotation(CombineReplace, 0, 1, 0, 3.14159265f / 2); // +z turns to +x... about y
    child->Enabled = false; // updated all the same
    root->AddChild(child);
    root->UpdateFrames(MatrixIdentity());
    const Vector world = child->TransformCoord(Vector(0, 0, 1));
    ExpectVec(world, 1 + 1, 5, 0, 1e-5f);
    ExpectVec(child->InverseTransformCoord(world), 0, 0, 1, 1e-5f);
    // Conversions use the last update, not the current matrix.
    root->AddTranslation(CombineReplace, 0, 0, 0);
    ExpectVec(child->TransformCoord(Vector(0, 0, 1)), 2, 5, 0, 1e-5f);
}

TEST(Frame, InitFromFileReadsFramesMatricesAndMeshesAndMergesRepeatedLoads)
{
    QTemporaryDir dir;
    const std::string path = WriteFile(dir, "part.x", SquareFile("Frame0Cylinder_a1", "DiscMesh", 2, 3, 4));
    RecordingDevice device;
    SceneContext context(&device);
    CD3DFrame unit;
    ASSERT_TRUE(unit.InitFromFile(context, path));
    ASSERT_EQ(unit.GetChildFrameCount(), 1);
    const auto& part = unit.GetChildFrame(0);
    EXPECT_EQ(part->ObjectName, "Frame0Cylinder_a1");
    ExpectVec(part->GetPosition(), 2, 3, 4);
    ASSERT_EQ(part->GetChildMeshCount(), 1);
    const auto& mesh = part->GetChildMesh(0);
    EXPECT_EQ(mesh->ObjectName, "DiscMesh");
    ASSERT_TRUE(mesh->mesh);
    EXPECT_EQ(mesh->mesh->faceCount(), 2); // one quad, fan-triangulated
    ASSERT_EQ(mesh->GetMaterialCount(), 1);
    EXPECT_EQ(mesh->GetMaterial(0).Diffuse, (ColorValue{1, 0, 0, 1}));
    EXPECT_EQ(mesh->GetMaterial(0).Ambient, mesh->GetMaterial(0).Diffuse);

    ASSERT_TRUE(unit.InitFromFile(context, path));
    EXPECT_EQ(unit.GetChildFrameCount(), 2);
    EXPECT_NE(unit.GetChildFrame(0), unit.GetChildFrame(1));
}

TEST(Frame, InitFromFileFailsOnMissingOrUnreadableFile)
{
    QTemporaryDir dir;
    RecordingDevice device;
    SceneContext context(&device);
    CD3DFrame f;
    std::string error;
    EXPECT_FALSE(f.InitFromFile(context, dir.filePath("absent.x").toStdString(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(f.InitFromFile(context, WriteFile(dir, "junk.x", "not a model file at all")));
    EXPECT_EQ(f.GetChildFrameCount(), 0);
    EXPECT_EQ(f.GetChildMeshCount(), 0);
}

TEST(Frame, BadMeshAtTopLevelIsKeptEmptyAndTheLoadGoesOn)
{
    QTemporaryDir dir;
    const std::string text = "xof 0302txt 0032\n"
                             "Mesh Broken { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,7;; }\n"
                             "Frame After { }\n";
    RecordingDevice device;
    SceneContext context(&device);
    CD3DFrame f;
    std::string error;
    EXPECT_TRUE(f.InitFromFile(context, WriteFile(dir, "bad.x", text), &error));
    ASSERT_EQ(f.GetChildMeshCount(), 1);
    EXPECT_FALSE(f.GetChildMesh(0)->mesh);
    EXPECT_NE(error.find("vertex 7"), std::string::npos) << error;
    ASSERT_EQ(f.GetChildFrameCount(), 1);
    EXPECT_EQ(f.GetChildFrame(0)->ObjectName, "After");
}
