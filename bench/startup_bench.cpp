// Start-up of the main window: settings, node file, trees, 3D device and the
// whole model assembled from the model files, as the program does it.
#include "app/FrmStart.h"
#include "app/MainWindow.h"
#include "app/ModelSceneHooks.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vorlu;

namespace {

void BM_StartUpWithModel(benchmark::State& state)
{
    QTemporaryDir dir;
    std::string error;
    auto network = SimulatedNetwork::load(QDir(QCoreApplication::applicationDirPath()).filePath("demo/network.json").toStdString(),
                                          error);
    if (!network) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        Platform platform;
        installSimulatedNetwork(platform, network);
        platform.messages = std::make_unique<ScriptedMessageBoxes>();
        platform.programEnd = std::make_unique<RecordingProgramEnd>();
        ModelSceneHooks scene(*platform.messages, *platform.programEnd);
        FrmStart start;
        start.show();
        Frmmain window(platform, dir.path().toStdString(), scene);
        window.loadStep(&start);
        if (!scene.scene()->ModelLoaded)
            state.SkipWithError("the model was not assembled");
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_StartUpWithModel)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

#include "QtBenchmarkMain.h"
