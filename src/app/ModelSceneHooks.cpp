#include "app/ModelSceneHooks.h"

#include "model/ModelAssembly.h"
#include "scene/MediaFolder.h"
#include "scene/ui/ModelView.h"
#include "scene/ui/SceneDevice.h"

#include <QApplication>

namespace vorlu {

ModelSceneHooks::ModelSceneHooks(MessageBoxes& messages, ProgramEnd& programEnd, RendererProbe probe)
    : messages_(messages), programEnd_(programEnd), probe_(std::move(probe))
{
}

ModelSceneHooks::~ModelSceneHooks() = default;

QWidget* ModelSceneHooks::createModelView(QWidget* parent)
{
    view_ = new ModelView(parent);
    return view_;
}

bool ModelSceneHooks::probeDevice(QWidget*) { return ProbeDevice(0, probe_); }

std::string ModelSceneHooks::locateMediaFolder()
{
    mediaFolder_ = LocateMediaFolder("vid1.x", false);
    return mediaFolder_;
}

bool ModelSceneHooks::createSceneDevice(QWidget*)
{
    if (!view_ || !CreateSceneDevice(*view_, scene_, true, 0, 0, DeviceTypeHardware, probe_, messages_, programEnd_))
        return false;
    scene_.context().windowWidth = view_->width();
    scene_.context().windowHeight = view_->height();
    return true;
}

void ModelSceneHooks::applySceneDefaults() { scene_.context().ApplySceneDefaults(); }

void ModelSceneHooks::loadModel()
{
    AssemblyServices services;
    services.showBusyCursor = [] { QApplication::setOverrideCursor(Qt::WaitCursor); };
    services.showDefaultCursor = [] { QApplication::restoreOverrideCursor(); };
    services.focusView = [this] {
        if (view_)
            view_->setFocus();
    };
    assembly_ = std::make_unique<ModelAssembly>(scene_, mediaFolder_, pace_, services);
    assembly_->load_start();
    scene_.SetTrackballHome();
}

void ModelSceneHooks::hideAllUnits() { scene_.HideAllUnits(); }

void ModelSceneHooks::renderScene() { scene_.RenderScene(); }

CD3DFrame* ModelSceneHooks::modelContainer() { return assembly_ ? assembly_->ModelContainer().get() : nullptr; }

} // namespace vorlu
