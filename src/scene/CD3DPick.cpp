#include "scene/CD3DPick.h"

#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/SceneContext.h"

namespace vorlu {

int CD3DPick::FindNearest() const
{
    float best = 1e38f;
    int index = -1;
    for (int i = 0; i < count_; ++i)
        if (records_[static_cast<std::size_t>(i)].distance < best) {
            best = records_[static_cast<std::size_t>(i)].distance;
            index = i;
        }
    return index;
}

void CD3DPick::Destroy()
{
    records_.clear();
    frames_.clear();
    meshes_.clear();
    count_ = 0;
    capacity_ = 0;
}

void CD3DPick::AddRecord(CD3DFrame* frame, CD3DMesh* mesh, const PickRecord& record)
{
    if (capacity_ == 0)
        capacity_ = 10;
    else if (count_ >= capacity_)
        capacity_ += 10;
    records_.reserve(static_cast<std::size_t>(capacity_));
    frames_.reserve(static_cast<std::size_t>(capacity_));
    meshes_.reserve(static_cast<std::size_t>(capacity_));
    records_.push_back(record);
    frames_.push_back(frame);
    meshes_.push_back(mesh);
    ++count_;
}

bool CD3DPick::ViewportPick(const SceneContext& context, CD3DFrame& frame, float x, float y)
{
    Destroy();
    const Device& device = context.device();
    return ViewportPickEx(frame, device.GetViewport(), device.GetTransform(TransformState::Projection),
                          device.GetTransform(TransformState::View), context.SceneWorldMatrix, x, y);
}

bool CD3DPick::ViewportPickEx(CD3DFrame& frame, const Viewport& viewport, const Matrix& projection,
                              const Matrix& view, const Matrix& world, float x, float y)
{
    bool result = false;
    if (!frame.Enabled)
        return false;
    const Matrix w = MatrixMultiply(frame.GetMatrix(), world);
    const Vector nearPoint = Vec3Unproject(Vector(x, y, 0.0f), viewport, projection, view, w);
    const Vector farPoint = Vec3Unproject(Vector(x, y, 1.0f), viewport, projection, view, w);
    const Vector direction = farPoint - nearPoint;
    for (int i = 0; i < frame.GetChildMeshCount(); ++i) {
        CD3DMesh* mesh = frame.GetChildMesh(i).get();
        if (mesh && mesh->mesh) {
            if (auto hit = mesh->mesh->Intersect(nearPoint, direction))
                AddRecord(&frame, mesh, PickRecord{1, hit->face, hit->u, hit->v, hit->distance});
        }
        result = true;
    }
    for (int j = 0; j < frame.GetChildFrameCount(); ++j)
        if (const auto& child = frame.GetChildFrame(j))
            result = ViewportPickEx(*child, viewport, projection, view, w, x, y) || result;
    return result;
}

} // namespace vorlu
