#include "scene/ui/SceneDevice.h"

#include "scene/Scene.h"
#include "scene/ui/ModelView.h"

namespace vorlu {

bool CreateSceneDevice(ModelView& view, Scene& scene, bool /*windowed*/, int adapter, int /*mode*/, int deviceType,
                       const RendererProbe& probe, MessageBoxes& messages, ProgramEnd& programEnd)
{
    if (adapter != 0)
        return false;
    const SceneDeviceChoice choice = ChooseSceneDevice(deviceType, true, probe, messages, programEnd);
    if (!choice.created)
        return false;
    view.attachScene(&scene);
    SceneContext& context = scene.context();
    context.setDevice(&view.device());
    context.windowWidth = view.width();
    context.windowHeight = view.height();
    context.SceneWorldMatrix = MatrixIdentity();
    return true;
}

} // namespace vorlu
