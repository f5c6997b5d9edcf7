// The parts of Scene that keep the model in view: the trackball's pivot and
// home, Reset of the camera and the wheel.
#include "scene/Scene.h"

#include "scene/CD3DMesh.h"

#include <algorithm>
#include <cmath>

namespace vorlu {

namespace {

struct Box {
    Vector lo{INFINITY};
    Vector hi{-INFINITY};
    bool empty() const { return lo.x > hi.x; }
    void add(const Vector& p)
    {
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
};

// Every mesh point of the subtree, disabled frames included, in the space
// that `toSpace` maps the frame's own space to.
void addFrame(const CD3DFrame& frame, const Matrix& toSpace, Box& box)
{
    for (int i = 0; i < frame.GetChildMeshCount(); ++i)
        if (const auto& mesh = frame.GetChildMesh(i); mesh && mesh->mesh)
            for (const MeshVertex& v : mesh->mesh->vertices())
                box.add(Vec3TransformCoord(v.position, toSpace));
    for (int i = 0; i < frame.GetChildFrameCount(); ++i)
        if (const auto& child = frame.GetChildFrame(i))
            addFrame(*child, MatrixMultiply(child->GetMatrix(), toSpace), box);
}

float eyeDistance(const Vector& eye) { return std::sqrt(eye.x * eye.x + eye.y * eye.y + eye.z * eye.z); }

} // namespace

void Scene::SetTrackballHome()
{
    if (!TrackballFrame || !SceneRoot)
        return;
    Box local;
    addFrame(*TrackballFrame, MatrixIdentity(), local);
    if (local.empty())
        return;
    trackballHome_ = TrackballFrame->GetMatrix();
    pivot_ = (local.lo + local.hi) * 0.5f;
    // The world matrix of the frame's parent: the frame's world with its own local taken off.
    SceneRoot->UpdateFrames(context_.SceneWorldMatrix);
    const Vector centre = TrackballFrame->InverseTransformCoord(Vector(0.0f)); // world origin in frame space
    const float radius = glm::length(local.hi - local.lo) * 0.5f;
    // Turned about its centre the model stays inside this ball around the target.
    reach_ = glm::length(pivot_ - centre) + radius;
    hasHome_ = true;
}

float Scene::NearestEyeDistance() const
{
    if (!hasHome_)
        return 0.0f;
    // The narrower of the two view angles decides.
    const Matrix& p = context_.SceneProjectionMatrix;
    const float xScale = std::abs(At(p, 1, 1));
    const float yScale = std::abs(At(p, 2, 2));
    const float halfTan = 1.0f / std::max({xScale, yScale, 1e-3f});
    const float half = std::atan(halfTan);
    return reach_ / std::sin(half) + SceneContext::NearPlane;
}

float Scene::FarthestEyeDistance() const { return NearestEyeDistance() * 6.0f; }

void Scene::ResetCamera(const Vector& eye)
{
    if (TrackballFrame && hasHome_)
        TrackballFrame->SetMatrix(trackballHome_);
    CameraEye = eye;
    zoom_in();
    RenderScene();
}

void Scene::WheelZoom(float notches)
{
    if (!hasHome_ || notches == 0.0f)
        return;
    float distance = eyeDistance(CameraEye);
    Vector direction = distance > 0.0f ? CameraEye / distance : Vector(0.0f, 0.0f, -1.0f);
    distance = std::clamp(distance * std::pow(0.9f, notches), NearestEyeDistance(), FarthestEyeDistance());
    CameraEye = direction * distance;
    zoom_in();
    RenderScene();
}

} // namespace vorlu
