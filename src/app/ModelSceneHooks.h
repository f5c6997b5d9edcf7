#pragma once
#include "app/SceneHooks.h"
#include "commands/RepaintPace.h"
#include "model/ModelPainter.h"
#include "scene/DeviceInit.h"
#include "scene/Scene.h"

#include <memory>
#include <string>

namespace vorlu {

class MessageBoxes;
class ModelAssembly;
class ModelView;
class ProgramEnd;

// The start-up and tree steps done with the OpenGL model view: device check
// and creation, scene defaults, model assembly and drawing.
class ModelSceneHooks : public SceneHooks {
public:
    ModelSceneHooks(MessageBoxes& messages, ProgramEnd& programEnd, RendererProbe probe = ProbeOpenGL);
    ~ModelSceneHooks() override;

    QWidget* createModelView(QWidget* parent) override;
    Scene* scene() override { return &scene_; }
    bool probeDevice(QWidget* view) override;
    std::string locateMediaFolder() override;
    bool createSceneDevice(QWidget* view) override;
    void applySceneDefaults() override;
    void loadModel() override;
    void hideAllUnits() override;
    void renderScene() override;
    DrivePainter& drivePainter() override { return painter_; }
    CD3DFrame* modelContainer() override;

    ModelAssembly* assembly() const { return assembly_.get(); }

private:
    MessageBoxes& messages_;
    ProgramEnd& programEnd_;
    RendererProbe probe_;
    Scene scene_;
    ModelPainter painter_{scene_};
    ModelView* view_ = nullptr;
    std::string mediaFolder_;
    RepaintPace pace_; // the assembly's, so the window paints while the files load
    std::unique_ptr<ModelAssembly> assembly_;
};

} // namespace vorlu
