#pragma once
// Scene-wide state that every frame and mesh shares: the device, the world,
// view and projection matrices, the window size the projection is made for,
// and the texture cache; plus the small operations around one drawn frame.
#include "scene/Device.h"
#include "scene/SceneMath.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorlu {

class CD3DFrame;

class SceneContext {
public:
    explicit SceneContext(Device* device = nullptr) : device_(device) {}

    // The device every operation draws through; throws DeviceError when none.
    Device& device() const;
    Device* devicePointer() const { return device_; }
    void setDevice(Device* device) { device_ = device; }

    Matrix SceneWorldMatrix{1.0f};
    Matrix SceneViewMatrix{1.0f};
    Matrix SceneProjectionMatrix{1.0f};
    // Size of the model view the projection is made for (the view size of the load step).
    int windowWidth = 0;
    int windowHeight = 0;
    // Prefix tried for a texture that is not found under its own name.
    std::string MediaPath;

    static constexpr float FieldOfView = 3.1415f / 4.0f;
    static constexpr float NearPlane = 1.0f;
    static constexpr float FarPlane = 3000.0f;
    static constexpr std::uint32_t DefaultAmbient = 0x10101010;
    // Height over width; 1 while either is unknown.
    float aspectRatio() const;
    static Light DefaultLight();
    static Material DefaultMaterial();

    // Projection, default eye (0, 0, -20), world, light 0, material and render states.
    void ApplySceneDefaults();
    void SetViewLookAt(const Vector& eye, const Vector& target, const Vector& up);
    // Clears target and depth buffer to a 0x00RRGGBB colour.
    void ClearView(std::uint32_t colour);
    // Errors of the present are ignored.
    void PresentView();

    // Cached by exact name; a name that fails to load is not cached and is
    // tried again on the next request.
    std::shared_ptr<Texture> LoadTexture(const std::string& name);
    std::size_t textureCacheSize() const { return textures_.size(); }

private:
    Device* device_;
    std::vector<std::pair<std::string, std::shared_ptr<Texture>>> textures_;
};

// Alpha first; the result holds red, green, blue, alpha.
ColorValue MakeColorValue(float alpha, float red, float green, float blue);
// A new frame, appended to parent's children when a parent is given.
std::shared_ptr<CD3DFrame> NewChildFrame(CD3DFrame* parent);

} // namespace vorlu
