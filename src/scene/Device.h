#pragma once
// The rendering device the scene engine draws through. Its shape follows the
// fixed-function devices the scene code was designed around: transforms,
// one directional light, a material, render states, texture stage 0, clear,
// begin/end scene, present, and a lost/reset notion.
#include "scene/SceneMath.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace vorlu {

class MeshGeometry;

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const ColorValue&, const ColorValue&) = default;
};

struct Material {
    ColorValue Diffuse;
    ColorValue Ambient;
    ColorValue Specular;
    ColorValue Emissive;
    float Power = 0;
    friend bool operator==(const Material&, const Material&) = default;
};

enum class LightType : std::uint32_t { Point = 1, Spot = 2, Directional = 3 };

struct Light {
    LightType Type = LightType::Directional;
    ColorValue Diffuse;
    ColorValue Specular;
    ColorValue Ambient;
    Vector Position{0.0f};
    Vector Direction{0.0f, 0.0f, 1.0f};
    float Range = 0;
    float Falloff = 0;
    float Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0;
    float Theta = 0, Phi = 0;
};

enum class TransformState { View = 2, Projection = 3, World = 256 };

// Numbered as the fixed-function render states so logs read familiar.
enum class RenderState : std::uint32_t {
    ZEnable = 7,
    ShadeMode = 9,
    ZWriteEnable = 14,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    AlphaBlendEnable = 27,
    SpecularEnable = 29,
    Clipping = 136,
    Lighting = 137,
    Ambient = 139,
    NormalizeNormals = 143,
};

namespace rs {
inline constexpr std::uint32_t False = 0, True = 1;
inline constexpr std::uint32_t ShadeFlat = 1, ShadeGouraud = 2;
inline constexpr std::uint32_t CullNone = 1, CullCW = 2, CullCCW = 3;
inline constexpr std::uint32_t BlendZero = 1, BlendOne = 2, BlendSrcColor = 3, BlendInvSrcColor = 4,
                                BlendSrcAlpha = 5, BlendInvSrcAlpha = 6, BlendDestAlpha = 7,
                                BlendInvDestAlpha = 8, BlendDestColor = 9, BlendInvDestColor = 10;
} // namespace rs

enum class TextureStageState : std::uint32_t {
    ColorOp = 1, ColorArg1 = 2, ColorArg2 = 3, AlphaOp = 4, AlphaArg1 = 5, AlphaArg2 = 6,
};

namespace tss {
inline constexpr std::uint32_t Disable = 1, SelectArg1 = 2, SelectArg2 = 3, Modulate = 4;
inline constexpr std::uint32_t ArgDiffuse = 0, ArgCurrent = 1, ArgTexture = 2;
} // namespace tss

// The render states a freshly made device starts with.
inline std::map<RenderState, std::uint32_t> DefaultRenderStates()
{
    return {{RenderState::ZEnable, rs::True},        {RenderState::ShadeMode, rs::ShadeGouraud},
            {RenderState::ZWriteEnable, rs::True},   {RenderState::SrcBlend, rs::BlendOne},
            {RenderState::DestBlend, rs::BlendZero}, {RenderState::CullMode, rs::CullCCW},
            {RenderState::AlphaBlendEnable, rs::False}, {RenderState::SpecularEnable, rs::False},
            {RenderState::Clipping, rs::True},       {RenderState::Lighting, rs::True},
            {RenderState::Ambient, 0},               {RenderState::NormalizeNormals, rs::False}};
}

// Clear flags.
inline constexpr std::uint32_t ClearTarget = 1, ClearZBuffer = 2;

// Cooperative levels reported by TestCooperativeLevel.
inline constexpr std::int32_t DeviceOk = 0;
inline constexpr std::int32_t DeviceLost = static_cast<std::int32_t>(0x88760868u);
inline constexpr std::int32_t DeviceNotReset = static_cast<std::int32_t>(0x88760869u);

// A device call that failed; reaches whoever asked for the drawing.
class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A texture made by a device; what is inside belongs to the device.
class Texture {
public:
    virtual ~Texture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class Device {
public:
    virtual ~Device() = default;

    virtual void SetTransform(TransformState state, const Matrix& m) = 0;
    virtual Matrix GetTransform(TransformState state) const = 0;
    virtual Viewport GetViewport() const = 0;

    virtual void SetLight(int index, const Light& light) = 0;
    virtual void LightEnable(int index, bool enable) = 0;
    virtual void SetMaterial(const Material& material) = 0;
    virtual void SetRenderState(RenderState state, std::uint32_t value) = 0;
    virtual std::uint32_t GetRenderState(RenderState state) const = 0;
    virtual void SetTexture(int stage, std::shared_ptr<Texture> texture) = 0;
    virtual void SetTextureStageState(int stage, TextureStageState state, std::uint32_t value) = 0;

    virtual void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void Present() = 0;

    // DeviceOk, DeviceLost (cannot be reset yet) or DeviceNotReset (reset now).
    virtual std::int32_t TestCooperativeLevel() = 0;
    // Throws DeviceError when the reset fails.
    virtual void Reset() = 0;

    // Draws the faces of one subset with the current state.
    virtual void DrawSubset(const MeshGeometry& mesh, int subset) = 0;
    // Nullptr when the file cannot be read as an image.
    virtual std::shared_ptr<Texture> CreateTextureFromFile(const std::filesystem::path& path) = 0;
};

} // namespace vorlu
