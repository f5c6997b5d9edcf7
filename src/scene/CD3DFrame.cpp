#include "scene/CD3DFrame.h"

#include "scene/CD3DMesh.h"
#include "scene/MeshLoader.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

#include <cstring>
#include <stdexcept>

namespace vorlu {

namespace {

void note(std::string* error, const std::string& text)
{
    if (error && error->empty())
        *error = text;
}

} // namespace

void CD3DFrame::AddChild(std::shared_ptr<CD3DFrame> child)
{
    children_.push_back(std::move(child));
}

void CD3DFrame::AddMesh(std::shared_ptr<CD3DMesh> childMesh)
{
    meshes_.push_back(std::move(childMesh));
}

const std::shared_ptr<CD3DFrame>& CD3DFrame::GetChildFrame(int i) const
{
    if (i < 0 || i >= GetChildFrameCount())
        throw std::out_of_range("Subscript out of range");
    return children_[static_cast<std::size_t>(i)];
}

const std::shared_ptr<CD3DMesh>& CD3DFrame::GetChildMesh(int i) const
{
    if (i < 0 || i >= GetChildMeshCount())
        throw std::out_of_range("Subscript out of range");
    return meshes_[static_cast<std::size_t>(i)];
}

CD3DFrame::Found CD3DFrame::FindChildObject(const std::string& Name, int /*flags*/)
{
    if (Name == ObjectName)
        return {this, nullptr};
    for (const auto& m : meshes_)
        if (m && m->ObjectName == Name)
            return {nullptr, m.get()};
    for (const auto& c : children_)
        if (c)
            if (Found f = c->FindChildObject(Name))
                return f;
    return {};
}

void CD3DFrame::SetPosition(const Vector& vec)
{
    position_ = vec;
    RebuildLocalMatrix();
}

Vector CD3DFrame::GetPosition() const
{
    return Vector(At(local_, 4, 1), At(local_, 4, 2), At(local_, 4, 3));
}

void CD3DFrame::RebuildLocalMatrix()
{
    local_ = MatrixAffineTransformation(scale_, orientationCenter_, orientation_, position_);
}

void CD3DFrame::Combine(int combinetype, const Matrix& m)
{
    switch (combinetype) {
    case CombinePremultiply: local_ = MatrixMultiply(m, local_); break;
    case CombinePostmultiply: local_ = MatrixMultiply(local_, m); break;
    case CombineReplace: local_ = m; break;
    default: break;
    }
}

void CD3DFrame::AddRotation(int combinetype, float X, float Y, float z, float rot)
{
    Combine(combinetype, MatrixRotationAxis(Vector(X, Y, z), rot));
}

void CD3DFrame::AddTranslation(int combinetype, float X, float Y, float z)
{
    Combine(combinetype, MatrixTranslation(X, Y, z));
}

void CD3DFrame::UpdateFrames(const Matrix& sceneWorld)
{
    world_ = MatrixMultiply(local_, sceneWorld);
    inverseWorld_ = MatrixInverse(world_);
    for (const auto& c : children_)
        if (c)
            c->UpdateFrames(world_);
}

Vector CD3DFrame::TransformCoord(const Vector& vIn) const
{
    return Vec3TransformCoord(vIn, world_);
}

Vector CD3DFrame::InverseTransformCoord(const Vector& vIn) const
{
    return Vec3TransformCoord(vIn, inverseWorld_);
}

void CD3DFrame::Render(Device& device, const Matrix& sceneWorld) const
{
    device.SetTransform(TransformState::World, sceneWorld);
    RenderTree(device, true, false);
    device.SetRenderState(RenderState::AlphaBlendEnable, rs::True);
    device.SetRenderState(RenderState::SrcBlend, rs::BlendSrcAlpha);
    device.SetRenderState(RenderState::DestBlend, rs::BlendInvSrcAlpha);
    device.SetTransform(TransformState::World, sceneWorld);
    RenderTree(device, false, true);
    device.SetRenderState(RenderState::AlphaBlendEnable, rs::False);
}

void CD3DFrame::RenderTree(Device& device, bool opaque, bool translucent) const
{
    if (!Enabled)
        return;
    const Matrix saved = device.GetTransform(TransformState::World);
    device.SetTransform(TransformState::World, MatrixMultiply(local_, saved));
    for (const auto& m : meshes_)
        if (m)
            m->RenderEx(device, opaque, translucent);
    for (const auto& c : children_)
        if (c)
            c->RenderTree(device, opaque, translucent);
    device.SetTransform(TransformState::World, saved);
}

bool CD3DFrame::InitFromFile(SceneContext& context, const std::string& strFile, std::string* error)
{
    std::string why;
    bool retried = false;
    auto file = XFile::open(strFile, why);
    if (!file) {
        std::string again;
        file = XFile::open(context.MediaPath + strFile, again);
        retried = true;
        if (!file) {
            note(error, why);
            return false;
        }
    }
    // A file found only through the media path stops at its first failed part.
    return InitFromXFile(context, *file, error, retried);
}

bool CD3DFrame::InitFromXFile(SceneContext& context, const XFile& file, std::string* error, bool stopAtFailedPart)
{
    MeshCache meshes;
    for (const XObject* obj : file.topLevel()) {
        bool ok = true;
        if (IsTemplate(*obj, "Frame")) {
            auto frame = std::make_shared<CD3DFrame>();
            AddChild(frame); // attached first; keeps whatever it read if it fails midway
            ok = frame->LoadFromFileData(context, *obj, error, meshes);
        } else if (IsTemplate(*obj, "Mesh")) {
            auto mesh = std::make_shared<CD3DMesh>();
            std::string meshError;
            ok = mesh->InitFromXOF(context, *obj, &meshError, &meshes);
            if (!ok)
                note(error, meshError);
            AddMesh(mesh);
        }
        if (!ok && stopAtFailedPart)
            return false;
    }
    return true;
}

bool CD3DFrame::LoadFromFileData(SceneContext& context, const XObject& data, std::string* error, MeshCache& meshes)
{
    ObjectName = data.name();
    for (const XObject* child : data.children()) {
        if (IsTemplate(*child, "Frame")) {
            auto frame = std::make_shared<CD3DFrame>();
            AddChild(frame);
            if (!frame->LoadFromFileData(context, *child, error, meshes))
                return false;
        } else if (IsTemplate(*child, "Mesh")) {
            auto mesh = std::make_shared<CD3DMesh>();
            std::string meshError;
            if (!mesh->InitFromXOF(context, *child, &meshError, &meshes)) {
                note(error, meshError);
                return false;
            }
            AddMesh(mesh);
        } else if (IsTemplate(*child, "FrameTransformMatrix")) {
            if (child->data().size() < 64) {
                note(error, "frame \"" + data.name() + "\": transform matrix is truncated");
                return false;
            }
            // Sixteen little-endian singles, row by row: the storage order of Matrix.
            float values[16];
            for (int i = 0; i < 16; ++i) {
                const auto* b = child->data().data() + i * 4;
                const std::uint32_t bits = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8
                    | static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
                std::memcpy(&values[i], &bits, 4);
            }
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    local_[r][c] = values[r * 4 + c];
        }
    }
    return true;
}

} // namespace vorlu
