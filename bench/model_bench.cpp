// Showing a node's drive states on the generated model: the reset of the
// painted parts, and ten drives painted and drawn as one frame, each with
// the frame drawn at 1024 x 768 on whatever OpenGL the display offers
// (Mesa's llvmpipe under Xvfb).
#include "drives/DrivePainter.h"
#include "drives/DriveStatus.h"
#include "model/ModelAssembly.h"
#include "model/ModelPainter.h"
#include "model/Racks.h"
#include "scene/GlDevice.h"
#include "scene/MediaFolder.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include "OffscreenGl.h"

using namespace vorlu;

namespace {

// The whole model assembled on an offscreen GL target, every unit shown.
template <typename Body>
void WithModel(benchmark::State& state, Body body)
{
    WithOffscreenGl(state, 1024, 768, [&](const std::function<void()>& finish) {
        GlDevice device;
        device.contextCreated();
        device.setViewportSize(1024, 768, 1.0);
        Scene scene(&device);
        scene.context().windowWidth = 1024;
        scene.context().windowHeight = 768;
        scene.context().ApplySceneDefaults();
        RepaintPace pace;
        ModelAssembly assembly(scene, LocateMediaFolder("vid1.x", false), pace);
        assembly.load_start();
        if (!assembly.UnreadFiles().empty()) {
            state.SkipWithError("model files missing beside the benchmark");
        } else {
            scene.zoom_in();
            ShowUnitsForDrives(scene, 10, true);
            ModelPainter painter(scene);
            scene.DrawFrame(); // shaders and buffers
            finish();
            body(scene, painter, finish);
            state.SetLabel(device.rendererName());
        }
        device.contextAboutToBeDestroyed();
    });
}

// The reset list restored and the model drawn once; with argument 1 the
// frame is only requested, which splits the cost.
void BM_ClrMeshes(benchmark::State& state)
{
    WithModel(state, [&](Scene& scene, ModelPainter& painter, const std::function<void()>& finish) {
        if (state.range(0) == 1)
            scene.setFrameRequester([] {});
        for (auto _ : state) {
            state.PauseTiming();
            for (std::size_t k = 1; k <= 10; ++k)
                painter.decide_colour(DrivePartName(k), StatusColour::Red);
            finish();
            state.ResumeTiming();
            painter.restoreAllParts();
            finish();
        }
        benchmark::DoNotOptimize(scene.ModelLoaded);
    });
}
BENCHMARK(BM_ClrMeshes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the evaluated drives to the painted model on screen: reset, ten
// drives painted, their units shown and one frame drawn, as the view draws
// the frames requested within one event-loop turn.
void BM_PaintTenDrivesToScreen(benchmark::State& state)
{
    WithModel(state, [&](Scene& scene, ModelPainter& painter, const std::function<void()>& finish) {
        int requests = 0;
        scene.setFrameRequester([&] { ++requests; });
        const int colours[3] = {StatusColour::Green, StatusColour::Amber, StatusColour::Red};
        for (auto _ : state) {
            painter.restoreAllParts();
            scene.HideAllUnits();
            ShowUnitsForDrives(scene, 10, true);
            for (std::size_t k = 1; k <= 10; ++k)
                painter.decide_colour(DrivePartName(k), colours[k % 3]);
            scene.Paint();
            finish();
        }
        state.counters["frame_requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
    });
}
BENCHMARK(BM_PaintTenDrivesToScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#include "QtBenchmarkMain.h"
