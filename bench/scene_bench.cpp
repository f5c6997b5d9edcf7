// Picking and drawing a scene of about 100,000 triangles: 10 units of 26
// parts and 5 racks of 7 parts, each part a tessellated ball, as the model
// view holds them. Drawing uses an offscreen 1024 x 768 framebuffer on
// whatever OpenGL the display offers (Mesa's llvmpipe under Xvfb).
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/CD3DPick.h"
#include "scene/GlDevice.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include "OffscreenGl.h"

#include <QGuiApplication>

#include <cmath>

using namespace vorlu;

namespace {

constexpr int Slices = 17;
constexpr int Stacks = 10;

std::shared_ptr<MeshGeometry> Ball(float radius)
{
    std::vector<MeshVertex> v;
    for (int i = 0; i <= Stacks; ++i) {
        const float phi = 3.14159265f * static_cast<float>(i) / Stacks;
        for (int j = 0; j <= Slices; ++j) {
            const float theta = 2.0f * 3.14159265f * static_cast<float>(j) / Slices;
            MeshVertex m;
            m.normal = Vector(std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta));
            m.position = m.normal * radius;
            v.push_back(m);
        }
    }
    std::vector<std::uint32_t> idx;
    for (int i = 0; i < Stacks; ++i)
        for (int j = 0; j < Slices; ++j) {
            const auto a = static_cast<std::uint32_t>(i * (Slices + 1) + j);
            const auto b = a + Slices + 1;
            idx.insert(idx.end(), {a, a + 1, b, b, a + 1, b + 1});
        }
    std::vector<std::uint32_t> subsets(idx.size() / 3, 0);
    return std::make_shared<MeshGeometry>(v, idx, subsets);
}

struct BenchScene {
    std::shared_ptr<CD3DFrame> root = std::make_shared<CD3DFrame>();
    std::shared_ptr<CD3DFrame> container = std::make_shared<CD3DFrame>();
    int triangles = 0;

    BenchScene()
    {
        auto trackball = NewChildFrame(root.get());
        trackball->AddChild(container);
        container->AddTranslation(CombineReplace, 1, 5, 0);
        auto addGroup = [&](Vector at, int parts) {
            auto group = NewChildFrame(container.get());
            group->SetPosition(at);
            for (int p = 0; p < parts; ++p) {
                auto part = NewChildFrame(group.get());
                part->SetPosition(Vector(0.5f * static_cast<float>(p % 7) - 1.5f, 0.4f * static_cast<float>(p / 7), 0));
                Material m;
                m.Diffuse = {0.2f + 0.03f * static_cast<float>(p), 0.5f, 0.7f, p == 25 ? 0.5f : 1.0f};
                auto mesh = std::make_shared<CD3DMesh>();
                mesh->InitFromGeometry(nullptr, Ball(0.3f), {m});
                mesh->ObjectName = "part" + std::to_string(p);
                part->AddMesh(mesh);
                triangles += mesh->mesh->faceCount();
            }
        };
        for (int u = 0; u < 10; ++u)
            addGroup(Vector(u % 2 ? 1.5f : -2.8f, -2.0f * static_cast<float>(u / 2 + 1), -2.3f), 26);
        for (int r = 0; r < 5; ++r)
            addGroup(Vector(0, -2.0f * static_cast<float>(r), 0), 7);
    }
};

void PrepareCamera(Scene& scene, int w, int h)
{
    scene.context().windowWidth = w;
    scene.context().windowHeight = h;
    // Far enough back that the whole model is in the picture.
    scene.CameraEye = Vector(0, 0, -17);
    scene.zoom_in();
}

void BM_PickOnePixel(benchmark::State& state)
{
    BenchScene s;
    RecordingDevice device;
    device.viewport = Viewport{0, 0, 1024, 768, 0, 1};
    Scene scene(&device);
    scene.SceneRoot = s.root;
    PrepareCamera(scene, 1024, 768);
    // The pixel of a part of rack 3 (behind a column of units), or a corner.
    const Vector onPart = Vec3Project(Vector(0.5f, 1.0f, 0.0f), device.viewport,
                                      device.GetTransform(TransformState::Projection),
                                      device.GetTransform(TransformState::View), MatrixIdentity());
    const float x = state.range(0) ? onPart.x : 3.0f;
    const float y = state.range(0) ? onPart.y : 3.0f;
    int hits = 0;
    for (auto _ : state) {
        CD3DPick pick;
        pick.ViewportPick(scene.context(), *s.container, x, y);
        hits = pick.GetCount();
        benchmark::DoNotOptimize(pick.FindNearest());
    }
    state.counters["triangles"] = s.triangles;
    state.counters["meshes_hit"] = hits;
}
BENCHMARK(BM_PickOnePixel)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_DrawFrame1024x768(benchmark::State& state)
{
    WithOffscreenGl(state, 1024, 768, [&](const std::function<void()>& finish) {
        BenchScene s;
        GlDevice device;
        device.contextCreated();
        device.setViewportSize(1024, 768, 1.0);
        Scene scene(&device);
        scene.SceneRoot = s.root;
        PrepareCamera(scene, 1024, 768);
        // Variants that split the cost: 1 clears and presents an empty scene,
        // 2 draws everything into a 16 x 12 viewport (vertex work only).
        if (state.range(0) == 1)
            scene.SceneRoot = std::make_shared<CD3DFrame>();
        if (state.range(0) == 2)
            device.setViewportSize(16, 12, 1.0);
        // The first frame compiles shaders and uploads buffers.
        scene.DrawFrame();
        finish();
        for (auto _ : state) {
            scene.DrawFrame();
            finish();
        }
        state.counters["triangles"] = s.triangles;
        state.SetLabel(device.rendererName());
        device.contextAboutToBeDestroyed();
    });
}
BENCHMARK(BM_DrawFrame1024x768)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#include "QtBenchmarkMain.h"
