#pragma once
#include <cstddef>
#include <string>

class QWidget;

namespace vorlu {

class CD3DFrame;
class DrivePainter;
class Scene;

// The steps of start-up and of the node tree that belong to the 3D view and
// the drive inventory. The main window calls them in its own order; until a
// step has a real implementation it does nothing and the model view shows the
// background colour.
class SceneHooks {
public:
    virtual ~SceneHooks() = default;
    // The model view PicGR; without a 3D device it only shows the background colour.
    virtual QWidget* createModelView(QWidget* parent);
    // The scene the view draws, for the camera, colour and racks commands; null without one.
    virtual Scene* scene() { return nullptr; }
    virtual bool probeDevice(QWidget* /*view*/) { return true; }
    virtual std::string locateMediaFolder() { return {}; }
    // False when no device could be made and the program is ending.
    virtual bool createSceneDevice(QWidget* /*view*/) { return true; }
    virtual void applySceneDefaults() {}
    virtual void loadModel() {}
    virtual void hideAllUnits() {}
    virtual void renderScene() {}
    // Paints the drives' parts; without a model it paints nothing.
    virtual DrivePainter& drivePainter();
    // The frame a click on the view picks in; null before the model is assembled.
    virtual CD3DFrame* modelContainer() { return nullptr; }
};

} // namespace vorlu
