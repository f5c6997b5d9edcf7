#pragma once
// The device on OpenGL: fixed-function transform, lighting, material and
// texture stage 0 emulated by a small GLSL 1.20 program with per-vertex
// lighting. Matrices arrive as left-handed, zero-to-one depth row-vector
// matrices and are converted to GL clip space in the vertex shader.
//
// State calls only store the state, so they may come at any time; Clear,
// BeginScene, DrawSubset and the rest need the device's context current
// (the view's paint, or an offscreen surface).
#include "scene/Device.h"

#include <QOpenGLFunctions>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

class QOpenGLContext;
class QOpenGLShaderProgram;

namespace vorlu {

class GlDevice : public Device, protected QOpenGLFunctions {
public:
    GlDevice();
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    // Context lifecycle; both with the context current. A context made after
    // an earlier one was lost leaves the device waiting for Reset.
    void contextCreated();
    void contextAboutToBeDestroyed();
    bool hasContext() const { return contextReady_; }
    // Logical size (mouse coordinates) and the factor to framebuffer pixels.
    void setViewportSize(int width, int height, double devicePixelRatio);

    const std::string& rendererName() const { return renderer_; }

    void SetTransform(TransformState state, const Matrix& m) override;
    Matrix GetTransform(TransformState state) const override;
    Viewport GetViewport() const override { return viewport_; }
    void SetLight(int index, const Light& light) override;
    void LightEnable(int index, bool enable) override;
    void SetMaterial(const Material& material) override { material_ = material; }
    void SetRenderState(RenderState state, std::uint32_t value) override { states_[state] = value; }
    std::uint32_t GetRenderState(RenderState state) const override;
    void SetTexture(int stage, std::shared_ptr<Texture> texture) override;
    void SetTextureStageState(int stage, TextureStageState state, std::uint32_t value) override;
    void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override;
    void BeginScene() override;
    void EndScene() override;
    void Present() override;
    std::int32_t TestCooperativeLevel() override;
    void Reset() override;
    void DrawSubset(const MeshGeometry& mesh, int subset) override;
    std::shared_ptr<Texture> CreateTextureFromFile(const std::filesystem::path& path) override;

private:
    struct MeshBuffers {
        std::weak_ptr<const char> owner;
        GLuint vertexBuffer = 0;
        GLuint indexBuffer = 0;
    };
    struct TextureObject {
        std::weak_ptr<const char> owner;
        GLuint id = 0;
    };

    void requireContext() const;
    void releaseResources(bool deleteObjects);
    void purgeExpired();
    const MeshBuffers& buffersFor(const MeshGeometry& mesh);
    GLuint textureFor(Texture& texture);
    void applyFixedState();

    // Two variants of the pipeline: without and with a texture on stage 0,
    // so untextured faces pay nothing for sampling.
    struct Program {
        std::unique_ptr<QOpenGLShaderProgram> program;
        std::array<GLint, 19> loc{};
        std::array<std::array<float, 16>, 19> last{}; // values the program holds
        std::array<bool, 19> known{};
    };
    std::array<Program, 2> programs_;
    bool linkFailureReported_ = false;
    void applyUniforms(Program& program, GLuint texture);
    std::unordered_map<std::uint64_t, MeshBuffers> meshes_;
    std::unordered_map<std::uint64_t, TextureObject> textures_;
    bool contextReady_ = false;
    bool hadContext_ = false;
    bool needsReset_ = false;
    std::string renderer_;

    std::map<TransformState, Matrix> transforms_;
    std::map<RenderState, std::uint32_t> states_;
    std::map<TextureStageState, std::uint32_t> stage0_;
    Light light_;
    bool lightEnabled_ = false;
    Material material_;
    std::shared_ptr<Texture> texture_;
    Viewport viewport_{0, 0, 1, 1, 0, 1};
    double pixelRatio_ = 1.0;
};

} // namespace vorlu
