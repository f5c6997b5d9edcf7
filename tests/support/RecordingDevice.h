#pragma once
// A device that draws nothing and remembers every call, for tests: a text
// log of the calls in order, and for every subset drawn the state it was
// drawn with.
#include "scene/Device.h"

#include <map>
#include <string>
#include <vector>

namespace vorlu {

class RecordingTexture : public Texture {
public:
    RecordingTexture(std::string path, int w, int h) : path_(std::move(path)), w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int w_, h_;
};

class RecordingDevice : public Device {
public:
    struct Draw {
        const MeshGeometry* mesh = nullptr;
        int subset = 0;
        Material material;
        Texture* texture = nullptr;
        Matrix world{1.0f};
        bool alphaBlend = false;
    };

    RecordingDevice();

    void SetTransform(TransformState state, const Matrix& m) override;
    Matrix GetTransform(TransformState state) const override;
    Viewport GetViewport() const override { return viewport; }
    void SetLight(int index, const Light& l) override;
    void LightEnable(int index, bool enable) override;
    void SetMaterial(const Material& m) override;
    void SetRenderState(RenderState state, std::uint32_t value) override;
    std::uint32_t GetRenderState(RenderState state) const override;
    void SetTexture(int stage, std::shared_ptr<Texture> t) override;
    void SetTextureStageState(int stage, TextureStageState state, std::uint32_t value) override;
    void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override;
    void BeginScene() override;
    void EndScene() override;
    void Present() override;
    std::int32_t TestCooperativeLevel() override;
    void Reset() override;
    void DrawSubset(const MeshGeometry& mesh, int subset) override;
    std::shared_ptr<Texture> CreateTextureFromFile(const std::filesystem::path& path) override;

    // Scripted behaviour.
    Viewport viewport{0, 0, 640, 480, 0, 1};
    std::int32_t cooperativeLevel = DeviceOk; // returned until a successful Reset
    bool failReset = false;
    bool failPresent = false;

    // What happened.
    std::vector<std::string> log;
    std::vector<Draw> draws;
    Material material;
    Light light;
    bool lightEnabled = false;
    std::shared_ptr<Texture> texture;
    int textureLoads = 0;
    std::uint32_t lastClearColor = 0;

    void clearRecord();
    // Log entries starting with prefix.
    std::vector<std::string> calls(const std::string& prefix) const;

private:
    std::map<TransformState, Matrix> transforms_;
    std::map<RenderState, std::uint32_t> states_;
};

} // namespace vorlu
