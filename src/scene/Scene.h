#pragma once
// The model view's drawing and viewing logic: the scene root it draws, the
// camera eye that the Move and Zoom commands step, the trackball that turns
// the model, and showing or hiding all units. Holds no widget; the view
// forwards its paint and mouse events here.
#include "scene/CD3DFrame.h"
#include "scene/SceneContext.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vorlu {

enum class CameraMove { Left, Right, Up, Down, In, Out };

class Scene {
public:
    explicit Scene(Device* device = nullptr) : context_(device) {}
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    SceneContext& context() { return context_; }
    const SceneContext& context() const { return context_; }

    Vector CameraEye{0.0f, 0.0f, -10.0f}; // looks at the origin, up (0, 1, 0)
    std::uint32_t BackgroundColour = 0;    // 0x00RRGGBB
    std::shared_ptr<CD3DFrame> SceneRoot;
    std::shared_ptr<CD3DFrame> TrackballFrame;
    // UnitFrame 1..10 and RackFrame 1..5 at indexes 0.. (filled by the model assembly).
    std::vector<std::shared_ptr<CD3DFrame>> UnitFrames;
    std::vector<std::shared_ptr<CD3DFrame>> RackFrames;
    bool TrackballDragging = false;
    std::int16_t TrackballLastX = 0;
    std::int16_t TrackballLastY = 0;
    bool ModelLoaded = false;

    // Asks for one frame. With a frame requester set (the view's update()),
    // requests made in one turn of the event loop become one drawn frame,
    // drawn from the state at that time; without one the frame is drawn now.
    void RenderScene();
    void setFrameRequester(std::function<void()> requester) { frameRequester_ = std::move(requester); }
    // Draws one frame now: skipped without a root or while the device is
    // lost; a device that can be reset is reset first. True when drawn.
    // Device errors are thrown (DeviceError).
    bool DrawFrame();
    // The view's paint: draws when a frame was requested or the model is loaded.
    bool Paint();

    // Applies the camera: scene defaults, ambient 0x90909090, view from CameraEye.
    void zoom_in();
    static constexpr std::uint32_t CameraAmbient = 0x90909090;
    // One-unit step of CameraEye, then zoom_in and RenderScene. A step that
    // leaves no valid view (eye straight above, below or on the target) is
    // refused: false, nothing changes.
    bool MoveCamera(CameraMove move);
    bool MoveLeft() { return MoveCamera(CameraMove::Left); }   // eye x + 1
    bool MoveRight() { return MoveCamera(CameraMove::Right); } // eye x - 1
    bool MoveUp() { return MoveCamera(CameraMove::Up); }       // eye y - 1
    bool MoveDown() { return MoveCamera(CameraMove::Down); }   // eye y + 1
    bool MoveIn() { return MoveCamera(CameraMove::In); }       // eye z + 1
    bool MoveOut() { return MoveCamera(CameraMove::Out); }     // eye z - 1

    // Mouse in the model view (positions in view pixels).
    void TrackballPress(double x, double y);
    // leftButtonOnly: the button state is exactly the left button.
    void TrackballMouseMove(bool leftButtonOnly, double x, double y);
    void TrackballRelease() { TrackballDragging = false; }
    void RotateTrackBall(std::int16_t x, std::int16_t y);
    // Nearest pixel, halves to even, kept inside the 16-bit range.
    static std::int16_t RoundToPixel(double v);

    // "Test View": racks then units enabled. "Reset": units then racks disabled.
    void ShowAllUnits();
    void HideAllUnits();

    // Navigation that keeps the model in view (SceneNavigation.cpp).
    // Pixels a drag covers for a half turn (the view's width); 0 keeps the
    // ball of radius 50 pixels, which turns a full drag many times round.
    int TrackballHalfTurnPixels = 0;
    // Once the model is assembled: its matrix now is what ResetCamera
    // restores, and its centre becomes the point the trackball turns about.
    void SetTrackballHome();
    // Trackball frame back home, the eye set, the camera applied.
    void ResetCamera(const Vector& eye);
    // The wheel: notches > 0 bring the eye nearer the target, never so near
    // that the model leaves the view nor so far that it becomes a speck.
    void WheelZoom(float notches);
    // Eye distances the wheel keeps to; both 0 before SetTrackballHome.
    float NearestEyeDistance() const;
    float FarthestEyeDistance() const;

private:
    SceneContext context_;
    std::function<void()> frameRequester_;
    bool frameRequested_ = false;
    bool hasHome_ = false;
    Matrix trackballHome_{1.0f};
    Vector pivot_{0.0f};    // model centre in the trackball frame's own space
    float reach_ = 0.0f;    // distance from the target to the farthest model point
};

} // namespace vorlu
