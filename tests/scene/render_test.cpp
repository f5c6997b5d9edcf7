#include "SceneTestSupport.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

using namespace vorlu;
using namespace vorlu::test;

namespace {

struct Counts {
    int opaque = 0, blended = 0;
};

Counts PassesOf(const RecordingDevice& d)
{
    Counts c;
    for (const auto& draw : d.draws)
        (draw.alphaBlend ? c.blended : c.opaque)++;
    return c;
}

} // namespace

TEST(RenderHelpers, SceneDefaults)
{
    RecordingDevice device;
    SceneContext context(&device);
    context.windowWidth = 600;
    context.windowHeight = 750;
    EXPECT_FLOAT_EQ(context.aspectRatio(), 1.25f);
    context.ApplySceneDefaults();
    EXPECT_EQ(context.SceneProjectionMatrix, MatrixPerspectiveFovLH(0.785375f, 1.25f, 1, 3000));
    EXPECT_EQ(device.GetTransform(TransformState::Projection), context.SceneProjectionMatrix);
    EXPECT_EQ(device.GetTransform(TransformState::View), MatrixLookAtLH(Vector(0, 0, -20), Vector(0), Vector(0, 1, 0)));
    EXPECT_EQ(device.GetTransform(TransformState::World), Matrix(1.0f));
    EXPECT_EQ(device.light.Type, LightType::Directional);
    EXPECT_NEAR(device.light.Direction.x, -0.57735f, 1e-5f);
    EXPECT_EQ(device.light.Ambient, (ColorValue{0.1f, 0.1f, 0.1f, 1}));
    EXPECT_TRUE(device.lightEnabled);
    EXPECT_EQ(device.material.Diffuse, (ColorValue{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(device.material.Ambient, (ColorValue{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(device.material.Power, 10.0f);
    EXPECT_EQ(device.GetRenderState(RenderState::Ambient), 0x10101010u);
    EXPECT_EQ(device.GetRenderState(RenderState::ZEnable), rs::True);
    EXPECT_EQ(device.GetRenderState(RenderState::ShadeMode), rs::ShadeGouraud);

    context.windowWidth = 0;
    EXPECT_FLOAT_EQ(context.aspectRatio(), 1.0f);
}

TEST(RenderHelpers, MakeColorValueTakesAlphaFirst)
{
    EXPECT_EQ(MakeColorValue(1, 0.5f, 1, 0.2f), (ColorValue{0.5f, 1, 0.2f, 1}));
    auto orphan = NewChildFrame(nullptr);
    auto parent = std::make_shared<CD3DFrame>();
    auto child = NewChildFrame(parent.get());
    EXPECT_EQ(parent->GetChildFrame(0), child);
    EXPECT_EQ(orphan->GetChildFrameCount(), 0);
}

TEST(RenderHelpers, TexturesAreSharedByNameAndFailuresRetried)
{
    QTemporaryDir dir;
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    const std::string good = dir.filePath("wood.png").toStdString();
    ASSERT_TRUE(img.save(QString::fromStdString(good)));
    RecordingDevice device;
    SceneContext context(&device);
    auto a = context.LoadTexture(good);
    auto b = context.LoadTexture(good);
    ASSERT_TRUE(a);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->width(), 4);
    EXPECT_EQ(device.textureLoads, 1);

    const std::string missing = dir.filePath("none.png").toStdString();
    EXPECT_FALSE(context.LoadTexture(missing));
    EXPECT_FALSE(context.LoadTexture(missing));
    EXPECT_EQ(device.textureLoads, 3);
    EXPECT_FALSE(context.LoadTexture(""));
    EXPECT_EQ(context.textureCacheSize(), 1u);

    // A name not found as given is tried under the media prefix.
    context.MediaPath = dir.path().toStdString() + "/";
    EXPECT_TRUE(context.LoadTexture("wood.png"));
}

TEST(MeshDrawing, OwnMaterialsAndOverrideRules)
{
    const Material red = Mat(1, 0, 0, 1), glass = Mat(0, 0, 1, 0.5f), over = Mat(0, 1, 0, 1),
                   overGlass = Mat(0, 1, 0, 0.5f), tooMuch = Mat(1, 1, 1, 1.0000001f);
    struct Case {
        const char* name;
        bool useMaterials, useOverride;
        Material overrideMaterial;
        int opaque, blended;
        std::vector<Material> seen; // materials drawn with, in order
    };
    const Material previous = Mat(0.3f, 0.3f, 0.3f);
    const Case cases[] = {
        {"own materials", true, false, over, 1, 1, {red, glass}},
        {"own materials win over the override", true, true, over, 1, 1, {red, glass}},
        {"opaque override", false, true, over, 2, 0, {over, over}},
        {"translucent override", false, true, overGlass, 0, 2, {overGlass, overGlass}},
        {"neither: previous device material", false, false, over, 2, 0, {previous, previous}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = std::make_shared<CD3DFrame>();
        auto mesh = MeshOf(Square(0, 1, 0, 0, {0, 1}), {red, glass});
        root->AddMesh(mesh);
        mesh->bUseMaterials = c.useMaterials;
        mesh->bUseMaterialOverride = false;
        if (c.useOverride)
            mesh->SetMaterialOverride(c.overrideMaterial);
        EXPECT_EQ(mesh->bUseMaterials, c.useMaterials);
        RecordingDevice device;
        device.SetMaterial(previous);
        root->Render(device, MatrixIdentity());
        const Counts n = PassesOf(device);
        EXPECT_EQ(n.opaque, c.opaque);
        EXPECT_EQ(n.blended, c.blended);
        ASSERT_EQ(device.draws.size(), c.seen.size());
        for (std::size_t i = 0; i < c.seen.size(); ++i)
            EXPECT_EQ(device.draws[i].material.Diffuse, c.seen[i].Diffuse);
    }

    auto root = std::make_shared<CD3DFrame>();
    root->AddMesh(MeshOf(Square(0), {tooMuch}));
    RecordingDevice device;
    root->Render(device, MatrixIdentity());
    EXPECT_TRUE(device.draws.empty()); // alpha above 1 belongs to neither pass
}

TEST(MeshDrawing, MeshWithoutMaterialsOrGeometryDrawsNothing)
{
    auto root = std::make_shared<CD3DFrame>();
    root->AddMesh(MeshOf(Square(0), {}));
    root->AddMesh(std::make_shared<CD3DMesh>());
    RecordingDevice device;
    root->Render(device, MatrixIdentity());
    EXPECT_TRUE(device.draws.empty());
}

TEST(FrameDrawing, OpaqueTreeFirstThenTranslucentTreeBlendedInPreOrder)
{
    auto root = std::make_shared<CD3DFrame>();
    auto left = std::make_shared<CD3DFrame>();
    auto hidden = std::make_shared<CD3DFrame>();
    auto under = std::make_shared<CD3DFrame>();
    root->AddChild(left);
    root->AddChild(hidden);
    hidden->AddChild(under);
    left->AddTranslation(CombineReplace, 5, 0, 0);
    auto rootMesh = MeshOf(Square(0, 1, 0, 0, {0, 1}), {Mat(1, 0, 0), Mat(1, 0, 0, 0.5f)});
    auto leftMesh = MeshOf(Square(0, 1, 0, 0, {0, 1}), {Mat(0, 1, 0, 0.25f), Mat(0, 1, 0)});
    root->AddMesh(rootMesh);
    left->AddMesh(leftMesh);
    hidden->AddMesh(MeshOf(Square(0), {Mat(1, 1, 1)}));
    under->AddMesh(MeshOf(Square(0), {Mat(1, 1, 1)}));
    hidden->Enabled = false;

    RecordingDevice device;
    root->Render(device, MatrixIdentity());
    ASSERT_EQ(device.draws.size(), 4u);
    const auto& d = device.draws;
    EXPECT_EQ(d[0].mesh, rootMesh->mesh.get());
    EXPECT_EQ(d[0].subset, 0);
    EXPECT_EQ(d[1].mesh, leftMesh->mesh.get());
    EXPECT_EQ(d[1].subset, 1);
    EXPECT_FALSE(d[0].alphaBlend || d[1].alphaBlend);
    EXPECT_EQ(d[2].mesh, rootMesh->mesh.get());
    EXPECT_EQ(d[3].mesh, leftMesh->mesh.get());
    EXPECT_TRUE(d[2].alphaBlend && d[3].alphaBlend);
    // Each frame draws in local x parent world; the world is restored afterwards.
    EXPECT_EQ(d[1].world, MatrixTranslation(5, 0, 0));
    EXPECT_EQ(d[2].world, Matrix(1.0f));
    EXPECT_EQ(device.GetRenderState(RenderState::AlphaBlendEnable), rs::False);
    EXPECT_EQ(device.GetRenderState(RenderState::SrcBlend), rs::BlendSrcAlpha);
    EXPECT_EQ(device.GetRenderState(RenderState::DestBlend), rs::BlendInvSrcAlpha);
}

TEST(RenderScene, DrawsOneFrameInOrder)
{
    RecordingDevice device;
    Scene scene(&device);
    scene.RenderScene(); // no root: nothing at all
    EXPECT_TRUE(device.log.empty());

    scene.SceneRoot = std::make_shared<CD3DFrame>();
    scene.SceneRoot->AddMesh(MeshOf(Square(0), {Mat(1, 0, 0)}));
    scene.BackgroundColour = 0x00FF8000;
    scene.RenderScene();
    const std::vector<std::string> expected = {"TestCooperativeLevel", "Clear 3 0x00FF8000", "BeginScene"};
    ASSERT_GE(device.log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(device.log.begin(), device.log.begin() + 3), expected);
    EXPECT_EQ(device.log.back(), "Present");
    EXPECT_EQ(device.log[device.log.size() - 2], "EndScene");
    EXPECT_EQ(device.draws.size(), 1u);
}

TEST(RenderScene, LostDeviceSkipsAndResettableDeviceResetsToDefaults)
{
    RecordingDevice device;
    Scene scene(&device);
    scene.SceneRoot = std::make_shared<CD3DFrame>();

    device.cooperativeLevel = DeviceLost;
    EXPECT_FALSE(scene.DrawFrame());
    EXPECT_TRUE(device.calls("Clear").empty());
    EXPECT_TRUE(device.calls("Present").empty());

    scene.CameraEye = Vector(1, 0, -10);
    scene.zoom_in();
    device.cooperativeLevel = DeviceNotReset;
    device.clearRecord();
    EXPECT_TRUE(scene.DrawFrame());
    EXPECT_EQ(device.log[1], "Reset");
    // After a reset the view is the default eye with the default ambient light.
    EXPECT_EQ(device.GetTransform(TransformState::View), MatrixLookAtLH(Vector(0, 0, -20), Vector(0), Vector(0, 1, 0)));
    EXPECT_EQ(device.GetRenderState(RenderState::Ambient), 0x10101010u);
    EXPECT_EQ(device.calls("Present").size(), 1u);

    device.cooperativeLevel = DeviceNotReset;
    device.failReset = true;
    EXPECT_THROW(scene.DrawFrame(), DeviceError);
}

TEST(RenderScene, PresentErrorsAreIgnored)
{
    RecordingDevice device;
    device.failPresent = true;
    Scene scene(&device);
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    EXPECT_NO_THROW(scene.RenderScene());
}

TEST(RenderScene, RequestsWithinOneTurnBecomeOneFrame)
{
    RecordingDevice device;
    Scene scene(&device);
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    int requests = 0;
    scene.setFrameRequester([&] { ++requests; });
    scene.BackgroundColour = 1;
    scene.RenderScene();
    scene.BackgroundColour = 2;
    scene.RenderScene();
    EXPECT_EQ(requests, 2); // the view's update() merges these
    EXPECT_TRUE(device.log.empty());
    EXPECT_TRUE(scene.Paint());
    EXPECT_EQ(device.calls("Clear"), std::vector<std::string>{"Clear 3 0x00000002"}); // the latest state
    // A later paint with nothing requested draws only once the model is loaded.
    EXPECT_FALSE(scene.Paint());
    scene.ModelLoaded = true;
    EXPECT_TRUE(scene.Paint());
}
