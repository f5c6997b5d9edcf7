#include "scene/SceneContext.h"
#include "platform/Log.h"

#include "scene/CD3DFrame.h"

#include <filesystem>
#include <system_error>

namespace vorlu {

Device& SceneContext::device() const
{
    if (!device_)
        throw DeviceError("no 3D device");
    return *device_;
}

float SceneContext::aspectRatio() const
{
    if (windowWidth != 0 && windowHeight != 0)
        return static_cast<float>(windowHeight) / static_cast<float>(windowWidth);
    return 1.0f;
}

Light SceneContext::DefaultLight()
{
    Light l;
    l.Type = LightType::Directional;
    l.Ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    l.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    l.Specular = {};
    l.Direction = Vec3Normalize(Vector(-1.0f, -1.0f, -1.0f));
    l.Range = 10000.0f;
    return l;
}

Material SceneContext::DefaultMaterial()
{
    Material m;
    m.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    m.Ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    m.Power = 10.0f;
    return m;
}

void SceneContext::ApplySceneDefaults()
{
    Device& dev = device();
    SceneWorldMatrix = MatrixIdentity();
    SceneProjectionMatrix = MatrixPerspectiveFovLH(FieldOfView, aspectRatio(), NearPlane, FarPlane);
    dev.SetTransform(TransformState::Projection, SceneProjectionMatrix);
    SceneViewMatrix = MatrixLookAtLH(Vector(0, 0, -20), Vector(0, 0, 0), Vector(0, 1, 0));
    dev.SetTransform(TransformState::View, SceneViewMatrix);
    dev.SetTransform(TransformState::World, SceneWorldMatrix);
    dev.SetLight(0, DefaultLight());
    dev.LightEnable(0, true);
    dev.SetMaterial(DefaultMaterial());
    dev.SetRenderState(RenderState::Ambient, DefaultAmbient);
    dev.SetRenderState(RenderState::Clipping, rs::True);
    dev.SetRenderState(RenderState::Lighting, rs::True);
    dev.SetRenderState(RenderState::ZEnable, rs::True);
    dev.SetRenderState(RenderState::ShadeMode, rs::ShadeGouraud);
}

void SceneContext::SetViewLookAt(const Vector& eye, const Vector& target, const Vector& up)
{
    SceneViewMatrix = MatrixLookAtLH(eye, target, up);
    device().SetTransform(TransformState::View, SceneViewMatrix);
}

void SceneContext::ClearView(std::uint32_t colour)
{
    device().Clear(ClearTarget | ClearZBuffer, colour, 1.0f, 0);
}

void SceneContext::PresentView()
{
    try {
        if (device_)
            device_->Present();
    } catch (const DeviceError&) {
        // A failed present only loses this frame; the next one tries again.
    }
}

std::shared_ptr<Texture> SceneContext::LoadTexture(const std::string& name)
{
    if (name.empty() || !device_)
        return nullptr;
    for (const auto& [cached, texture] : textures_)
        if (cached == name)
            return texture;
    std::error_code ec;
    std::filesystem::path path(name);
    if (!std::filesystem::exists(path, ec))
        path = MediaPath + name;
    std::shared_ptr<Texture> texture;
    try {
        texture = device_->CreateTextureFromFile(path);
    } catch (const std::exception& e) {
        qCWarning(lcScene, "cannot load the texture %s: %s", path.string().c_str(), e.what());
        texture = nullptr;
    }
    if (texture)
        textures_.emplace_back(name, texture);
    return texture;
}

ColorValue MakeColorValue(float alpha, float red, float green, float blue)
{
    return ColorValue{red, green, blue, alpha};
}

std::shared_ptr<CD3DFrame> NewChildFrame(CD3DFrame* parent)
{
    auto frame = std::make_shared<CD3DFrame>();
    if (parent)
        parent->AddChild(frame);
    return frame;
}

} // namespace vorlu
