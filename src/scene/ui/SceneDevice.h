#pragma once
// Binding the chosen device to the model view widget and its scene.
#include "scene/DeviceInit.h"

namespace vorlu {

class ModelView;
class Scene;

// Creates the scene's device on the model view (windowed, adapter 0 and
// mode 0 are the only ones there are) and binds it to the scene: world
// matrix identity, window size the view's size. False when none was made.
bool CreateSceneDevice(ModelView& view, Scene& scene, bool windowed, int adapter, int mode, int deviceType,
                       const RendererProbe& probe, MessageBoxes& messages, ProgramEnd& programEnd);

} // namespace vorlu
