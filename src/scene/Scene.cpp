#include "scene/Scene.h"

#include <algorithm>
#include <cmath>

namespace vorlu {

void Scene::RenderScene()
{
    if (frameRequester_) {
        frameRequested_ = true;
        frameRequester_();
        return;
    }
    DrawFrame();
}

bool Scene::DrawFrame()
{
    if (!SceneRoot)
        return false;
    Device& device = context_.device();
    const std::int32_t level = device.TestCooperativeLevel();
    if (level == DeviceNotReset) {
        device.Reset();
        context_.ApplySceneDefaults();
        if (!SceneRoot)
            return false;
    } else if (level != DeviceOk) {
        return false;
    }
    context_.ClearView(BackgroundColour);
    device.BeginScene();
    SceneRoot->Render(device, context_.SceneWorldMatrix);
    device.EndScene();
    context_.PresentView();
    return true;
}

bool Scene::Paint()
{
    const bool requested = frameRequested_;
    frameRequested_ = false;
    if (requested || ModelLoaded)
        return DrawFrame();
    return false;
}

void Scene::zoom_in()
{
    context_.ApplySceneDefaults();
    context_.device().SetRenderState(RenderState::Ambient, CameraAmbient);
    context_.SetViewLookAt(CameraEye, Vector(0, 0, 0), Vector(0, 1, 0));
}

bool Scene::MoveCamera(CameraMove move)
{
    Vector eye = CameraEye;
    switch (move) {
    case CameraMove::Left: eye.x += 1.0f; break;
    case CameraMove::Right: eye.x -= 1.0f; break;
    case CameraMove::Up: eye.y -= 1.0f; break;
    case CameraMove::Down: eye.y += 1.0f; break;
    case CameraMove::In: eye.z += 1.0f; break;
    case CameraMove::Out: eye.z -= 1.0f; break;
    }
    // Looking at the origin with up (0, 1, 0) needs an eye off the vertical
    // line through the origin; on it the view is undefined.
    if (eye.x == 0.0f && eye.z == 0.0f)
        return false;
    CameraEye = eye;
    zoom_in();
    RenderScene();
    return true;
}

std::int16_t Scene::RoundToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(std::clamp(v, -32768.0, 32767.0));
    return static_cast<std::int16_t>(r);
}

void Scene::TrackballPress(double x, double y)
{
    TrackballDragging = true;
    TrackballLastX = RoundToPixel(x);
    TrackballLastY = RoundToPixel(y);
}

void Scene::TrackballMouseMove(bool leftButtonOnly, double x, double y)
{
    if (!TrackballDragging)
        return;
    if (leftButtonOnly)
        RotateTrackBall(RoundToPixel(x), RoundToPixel(y));
    RenderScene();
}

void Scene::RotateTrackBall(std::int16_t x, std::int16_t y)
{
    if (!TrackballFrame || !SceneRoot)
        return; // nothing to turn before the model is assembled
    const int dx = x - TrackballLastX;
    const int dy = y - TrackballLastY;
    TrackballLastX = x;
    TrackballLastY = y;
    const float r = std::sqrt(static_cast<float>(dx * dx + dy * dy));
    const float d = std::sqrt(r * r + 2500.0f); // a virtual ball of radius 50 pixels
    if (r == 0.0f || d == 0.0f)
        return;
    // The described ball turns a full drag across the view several times
    // round; a half turn per view width keeps the model in sight.
    const float angle = TrackballHalfTurnPixels > 0 ? 3.14159265f * r / static_cast<float>(TrackballHalfTurnPixels)
                                                    : r / d;
    const Vector axis(-static_cast<float>(dy) / r, -static_cast<float>(dx) / r, 0.0f);
    context_.SceneViewMatrix = context_.device().GetTransform(TransformState::View);
    const Vector p1 = Vec3TransformCoord(axis, context_.SceneViewMatrix);
    const Vector p0 = Vec3TransformCoord(Vector(0.0f), context_.SceneViewMatrix);
    SceneRoot->UpdateFrames(context_.SceneWorldMatrix);
    const Vector q = TrackballFrame->InverseTransformCoord(p1) - TrackballFrame->InverseTransformCoord(p0);
    if (!hasHome_) {
        TrackballFrame->AddRotation(CombinePremultiply, q.x, q.y, q.z, angle);
        return;
    }
    // About the model's centre rather than the frame's origin, which lies off it.
    TrackballFrame->AddTranslation(CombinePremultiply, pivot_.x, pivot_.y, pivot_.z);
    TrackballFrame->AddRotation(CombinePremultiply, q.x, q.y, q.z, angle);
    TrackballFrame->AddTranslation(CombinePremultiply, -pivot_.x, -pivot_.y, -pivot_.z);
}

void Scene::ShowAllUnits()
{
    for (const auto& f : RackFrames)
        if (f)
            f->Enabled = true;
    for (const auto& f : UnitFrames)
        if (f)
            f->Enabled = true;
    RenderScene();
}

void Scene::HideAllUnits()
{
    for (const auto& f : UnitFrames)
        if (f)
            f->Enabled = false;
    for (const auto& f : RackFrames)
        if (f)
            f->Enabled = false;
    RenderScene();
}

} // namespace vorlu
