#include "scene/GlDevice.h"
#include "platform/Log.h"

#include "scene/MeshGeometry.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QString>

#include <atomic>
#include <cstring>
#include <glm/gtc/type_ptr.hpp>

namespace vorlu {

namespace {

const char* const VertexShader = R"(#version 120
attribute vec3 aPos;
attribute vec3 aNormal;
attribute vec2 aUv;
uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform bool uLightOn;
uniform vec3 uToLight;
uniform vec4 uLightDiffuse;
uniform vec4 uLightSpecular;
uniform vec4 uLightAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatSpecular;
uniform vec4 uMatEmissive;
uniform float uPower;
uniform bool uSpecular;
uniform vec4 uGlobalAmbient;
varying vec4 vDiffuse;
varying vec3 vSpecular;
varying vec2 vUv;
void main()
{
    vec4 eye = uWorldView * vec4(aPos, 1.0);
    vec4 clip = uProjection * eye;
    // Depth runs from 0 to 1 in the incoming projection; GL clips -w..w.
    gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
    vUv = aUv;
    vSpecular = vec3(0.0);
    if (!uLighting) {
        vDiffuse = vec4(1.0);
        return;
    }
    vec3 n = uNormalMatrix * aNormal;
    float len = length(n);
    if (len > 0.0)
        n /= len;
    vec3 colour = uMatEmissive.rgb + uMatAmbient.rgb * uGlobalAmbient.rgb;
    if (uLightOn) {
        colour += uMatAmbient.rgb * uLightAmbient.rgb;
        float ndl = dot(n, uToLight);
        if (ndl > 0.0) {
            colour += uMatDiffuse.rgb * uLightDiffuse.rgb * ndl;
            if (uSpecular) {
                vec3 h = normalize(uToLight - normalize(eye.xyz));
                vSpecular = uMatSpecular.rgb * uLightSpecular.rgb * pow(max(dot(n, h), 0.0), uPower);
            }
        }
    }
    vDiffuse = vec4(clamp(colour, 0.0, 1.0), uMatDiffuse.a);
}
)";

const char* const FragmentShader = R"(#version 120
uniform sampler2D uTexture;
uniform int uColorOp;
uniform int uAlphaOp;
varying vec4 vDiffuse;
varying vec3 vSpecular;
varying vec2 vUv;
// 1 disable, 2 first argument (texture), 3 second argument (diffuse), 4 modulate
vec4 combine(int op, vec4 tex, vec4 dif)
{
    if (op == 2) return tex;
    if (op == 4) return tex * dif;
    return dif;
}
void main()
{
    vec4 colour = vDiffuse;
#ifdef TEXTURED
    vec4 tex = texture2D(uTexture, vUv);
    colour = vec4(combine(uColorOp, tex, vDiffuse).rgb, combine(uAlphaOp, tex, vDiffuse).a);
#endif
    gl_FragColor = vec4(clamp(colour.rgb + vSpecular, 0.0, 1.0), colour.a);
}
)";

// Uniform slots, in the order of UniformNames.
enum Uniform : std::size_t {
    UWorldView, UProjection, UNormalMatrix, ULighting, ULightOn, UToLight, ULightDiffuse, ULightSpecular,
    ULightAmbient, UMatDiffuse, UMatAmbient, UMatSpecular, UMatEmissive, UPower, USpecular, UGlobalAmbient,
    UColorOp, UAlphaOp, UTexture
};

constexpr std::array<const char*, 19> UniformNames = {
    "uWorldView",  "uProjection", "uNormalMatrix", "uLighting",    "uLightOn",  "uToLight",      "uLightDiffuse",
    "uLightSpecular", "uLightAmbient", "uMatDiffuse", "uMatAmbient", "uMatSpecular", "uMatEmissive", "uPower",
    "uSpecular",   "uGlobalAmbient", "uColorOp",   "uAlphaOp",     "uTexture"};

std::uint64_t nextTextureId()
{
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

class GlTexture : public Texture {
public:
    explicit GlTexture(QImage image)
        : image_(std::move(image)), id_(nextTextureId()), lifetime_(std::make_shared<const char>('\0'))
    {
    }
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    const QImage& image() const { return image_; }
    std::uint64_t id() const { return id_; }
    std::weak_ptr<const char> lifetime() const { return lifetime_; }

private:
    QImage image_;
    std::uint64_t id_;
    std::shared_ptr<const char> lifetime_;
};

GLenum blendFactor(std::uint32_t d3dBlend)
{
    switch (d3dBlend) {
    case rs::BlendZero: return GL_ZERO;
    case rs::BlendOne: return GL_ONE;
    case rs::BlendSrcColor: return GL_SRC_COLOR;
    case rs::BlendInvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case rs::BlendSrcAlpha: return GL_SRC_ALPHA;
    case rs::BlendInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case rs::BlendDestAlpha: return GL_DST_ALPHA;
    case rs::BlendInvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case rs::BlendDestColor: return GL_DST_COLOR;
    case rs::BlendInvDestColor: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

glm::vec4 colourOf(std::uint32_t argb)
{
    return glm::vec4(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
}

glm::vec4 vec(const ColorValue& c)
{
    return glm::vec4(c.r, c.g, c.b, c.a);
}

} // namespace

GlDevice::GlDevice()
{
    states_ = DefaultRenderStates();
    stage0_ = {{TextureStageState::ColorOp, tss::Modulate},   {TextureStageState::ColorArg1, tss::ArgTexture},
               {TextureStageState::ColorArg2, tss::ArgCurrent}, {TextureStageState::AlphaOp, tss::SelectArg1},
               {TextureStageState::AlphaArg1, tss::ArgTexture}, {TextureStageState::AlphaArg2, tss::ArgCurrent}};
}

GlDevice::~GlDevice()
{
    // The owner deletes GL objects through contextAboutToBeDestroyed while
    // the context is current; without a context they died with it.
    releaseResources(false);
}

void GlDevice::contextCreated()
{
    initializeOpenGLFunctions();
    if (const auto* s = reinterpret_cast<const char*>(glGetString(GL_RENDERER)))
        renderer_ = s;
    if (hadContext_)
        needsReset_ = true;
    hadContext_ = true;
    contextReady_ = true;
    for (std::size_t variant = 0; variant < programs_.size(); ++variant) {
        Program& p = programs_[variant];
        const QByteArray fragment = QByteArray(FragmentShader).replace(
            "#version 120\n", variant ? "#version 120\n#define TEXTURED\n" : "#version 120\n");
        p.program = std::make_unique<QOpenGLShaderProgram>();
        p.program->addShaderFromSourceCode(QOpenGLShader::Vertex, VertexShader);
        p.program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment);
        p.program->bindAttributeLocation("aPos", 0);
        p.program->bindAttributeLocation("aNormal", 1);
        p.program->bindAttributeLocation("aUv", 2);
        if (!p.program->link()) {
            // Once per device: a context that comes back fails the same way.
            if (!linkFailureReported_)
                qCCritical(lcScene, "3D view: shader program failed to link, nothing is drawn: %s",
                           qPrintable(p.program->log()));
            linkFailureReported_ = true;
            p.program.reset();
            continue;
        }
        for (std::size_t i = 0; i < UniformNames.size(); ++i)
            p.loc[i] = p.program->uniformLocation(UniformNames[i]);
    }
}

void GlDevice::contextAboutToBeDestroyed()
{
    releaseResources(contextReady_);
    contextReady_ = false;
    needsReset_ = true;
}

void GlDevice::releaseResources(bool deleteObjects)
{
    if (deleteObjects) {
        for (auto& [id, b] : meshes_) {
            glDeleteBuffers(1, &b.vertexBuffer);
            glDeleteBuffers(1, &b.indexBuffer);
        }
        for (auto& [id, t] : textures_)
            glDeleteTextures(1, &t.id);
    }
    // Without a context the programs' GL objects went with it; Qt's resource
    // guard then only frees the wrappers.
    for (auto& p : programs_)
        p.program.reset();
    meshes_.clear();
    textures_.clear();
}

void GlDevice::setViewportSize(int width, int height, double devicePixelRatio)
{
    viewport_ = Viewport{0, 0, static_cast<float>(width), static_cast<float>(height), 0, 1};
    pixelRatio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
}

void GlDevice::SetTransform(TransformState state, const Matrix& m)
{
    transforms_[state] = m;
}

Matrix GlDevice::GetTransform(TransformState state) const
{
    auto it = transforms_.find(state);
    return it == transforms_.end() ? Matrix(1.0f) : it->second;
}

void GlDevice::SetLight(int index, const Light& light)
{
    if (index == 0)
        light_ = light;
}

void GlDevice::LightEnable(int index, bool enable)
{
    if (index == 0)
        lightEnabled_ = enable;
}

std::uint32_t GlDevice::GetRenderState(RenderState state) const
{
    auto it = states_.find(state);
    return it == states_.end() ? 0 : it->second;
}

void GlDevice::SetTexture(int stage, std::shared_ptr<Texture> texture)
{
    if (stage == 0)
        texture_ = std::move(texture);
}

void GlDevice::SetTextureStageState(int stage, TextureStageState state, std::uint32_t value)
{
    if (stage == 0)
        stage0_[state] = value;
}

void GlDevice::requireContext() const
{
    if (!contextReady_ || !QOpenGLContext::currentContext())
        throw DeviceError("the 3D view has no drawing context");
}

void GlDevice::Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil)
{
    requireContext();
    GLbitfield mask = 0;
    if (flags & ClearTarget) {
        const glm::vec4 c = colourOf(color);
        // Opaque: the view shows the buffer as it is, never see-through.
        glClearColor(c.r, c.g, c.b, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearZBuffer) {
        glDepthMask(GL_TRUE);
        glClearDepthf(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClearStencil(static_cast<GLint>(stencil));
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(mask);
}

void GlDevice::BeginScene()
{
    requireContext();
    purgeExpired();
    glViewport(0, 0, static_cast<GLsizei>(viewport_.Width * pixelRatio_ + 0.5),
               static_cast<GLsizei>(viewport_.Height * pixelRatio_ + 0.5));
}

void GlDevice::EndScene()
{
    requireContext();
    if (QOpenGLContext::currentContext())
        glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glDisableVertexAttribArray(2);
}

void GlDevice::Present()
{
    // The view shows its framebuffer when painting ends; nothing to swap here.
}

std::int32_t GlDevice::TestCooperativeLevel()
{
    if (!contextReady_)
        return DeviceLost;
    return needsReset_ ? DeviceNotReset : DeviceOk;
}

void GlDevice::Reset()
{
    if (!contextReady_)
        throw DeviceError("the 3D view has no drawing context to reset");
    // Buffers and textures are made again from the meshes on their next use.
    needsReset_ = false;
}

void GlDevice::purgeExpired()
{
    for (auto it = meshes_.begin(); it != meshes_.end();) {
        if (it->second.owner.expired()) {
            glDeleteBuffers(1, &it->second.vertexBuffer);
            glDeleteBuffers(1, &it->second.indexBuffer);
            it = meshes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = textures_.begin(); it != textures_.end();) {
        if (it->second.owner.expired()) {
            glDeleteTextures(1, &it->second.id);
            it = textures_.erase(it);
        } else {
            ++it;
        }
    }
}

const GlDevice::MeshBuffers& GlDevice::buffersFor(const MeshGeometry& mesh)
{
    auto it = meshes_.find(mesh.id());
    if (it != meshes_.end())
        return it->second;
    MeshBuffers b;
    b.owner = mesh.lifetime();
    glGenBuffers(1, &b.vertexBuffer);
    glGenBuffers(1, &b.indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, b.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices().size() * sizeof(MeshVertex)),
                 mesh.vertices().data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.drawIndices().size() * sizeof(std::uint32_t)),
                 mesh.drawIndices().data(), GL_STATIC_DRAW);
    return meshes_.emplace(mesh.id(), b).first->second;
}

GLuint GlDevice::textureFor(Texture& texture)
{
    auto* t = dynamic_cast<GlTexture*>(&texture);
    if (!t)
        return 0;
    auto it = textures_.find(t->id());
    if (it != textures_.end())
        return it->second.id;
    TextureObject o;
    o.owner = t->lifetime();
    const QImage rgba = t->image().convertToFormat(QImage::Format_RGBA8888);
    glGenTextures(1, &o.id);
    glBindTexture(GL_TEXTURE_2D, o.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // The first image row goes to texture coordinate v = 0, the image's top.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba.width(), rgba.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.constBits());
    // Point sampling and wrapping, the defaults of the fixed-function sampler.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return textures_.emplace(t->id(), o).first->second.id;
}

void GlDevice::applyFixedState()
{
    if (GetRenderState(RenderState::ZEnable) != rs::False) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(GetRenderState(RenderState::ZWriteEnable) != rs::False ? GL_TRUE : GL_FALSE);
    // Front faces wind clockwise on screen; the cull mode names the winding culled.
    switch (GetRenderState(RenderState::CullMode)) {
    case rs::CullNone: glDisable(GL_CULL_FACE); break;
    case rs::CullCW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_BACK);
        break;
    default:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        break;
    }
    if (GetRenderState(RenderState::AlphaBlendEnable) != rs::False) {
        glEnable(GL_BLEND);
        glBlendFunc(blendFactor(GetRenderState(RenderState::SrcBlend)),
                    blendFactor(GetRenderState(RenderState::DestBlend)));
    } else {
        glDisable(GL_BLEND);
    }
}

void GlDevice::applyUniforms(Program& program, GLuint tex)
{
    // Uniforms keep their values per program, so only changes are sent.
    const auto changed = [&program](Uniform u, const void* data, std::size_t bytes) {
        if (program.known[u] && std::memcmp(program.last[u].data(), data, bytes) == 0)
            return false;
        std::memcpy(program.last[u].data(), data, bytes);
        program.known[u] = true;
        return true;
    };
    const auto& loc = program.loc;
    const auto mat4 = [&](Uniform u, const Matrix& m) {
        if (changed(u, glm::value_ptr(m), sizeof m))
            glUniformMatrix4fv(loc[u], 1, GL_FALSE, glm::value_ptr(m));
    };
    const auto vec4 = [&](Uniform u, const glm::vec4& v) {
        if (changed(u, glm::value_ptr(v), sizeof v))
            glUniform4fv(loc[u], 1, glm::value_ptr(v));
    };
    const auto int1 = [&](Uniform u, GLint v) {
        if (changed(u, &v, sizeof v))
            glUniform1i(loc[u], v);
    };

    const Matrix world = GetTransform(TransformState::World);
    const Matrix view = GetTransform(TransformState::View);
    // Row-vector world x view is view * world in glm's column convention.
    const Matrix worldView = view * world;
    mat4(UWorldView, worldView);
    mat4(UProjection, GetTransform(TransformState::Projection));
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(worldView)));
    if (changed(UNormalMatrix, glm::value_ptr(normalMatrix), sizeof normalMatrix))
        glUniformMatrix3fv(loc[UNormalMatrix], 1, GL_FALSE, glm::value_ptr(normalMatrix));
    int1(ULighting, GetRenderState(RenderState::Lighting) != rs::False);
    int1(ULightOn, lightEnabled_);
    // Light 0 is directional; its direction is given in world space.
    glm::vec3 toLight = -glm::vec3(view * glm::vec4(light_.Direction, 0.0f));
    const float len = glm::length(toLight);
    if (len > 0.0f)
        toLight /= len;
    if (changed(UToLight, glm::value_ptr(toLight), sizeof toLight))
        glUniform3fv(loc[UToLight], 1, glm::value_ptr(toLight));
    vec4(ULightDiffuse, vec(light_.Diffuse));
    vec4(ULightSpecular, vec(light_.Specular));
    vec4(ULightAmbient, vec(light_.Ambient));
    vec4(UMatDiffuse, vec(material_.Diffuse));
    vec4(UMatAmbient, vec(material_.Ambient));
    vec4(UMatSpecular, vec(material_.Specular));
    vec4(UMatEmissive, vec(material_.Emissive));
    if (changed(UPower, &material_.Power, sizeof material_.Power))
        glUniform1f(loc[UPower], material_.Power);
    int1(USpecular, GetRenderState(RenderState::SpecularEnable) != rs::False);
    vec4(UGlobalAmbient, colourOf(GetRenderState(RenderState::Ambient)));
    const auto op = [this](TextureStageState s) {
        auto it = stage0_.find(s);
        return static_cast<GLint>(it == stage0_.end() ? tss::Disable : it->second);
    };
    int1(UColorOp, op(TextureStageState::ColorOp));
    int1(UAlphaOp, op(TextureStageState::AlphaOp));
    if (tex) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, tex);
        int1(UTexture, 0);
    }
}

void GlDevice::DrawSubset(const MeshGeometry& mesh, int subset)
{
    requireContext();
    const MeshGeometry::Range range = mesh.subsetRange(subset);
    if (range.count == 0)
        return;
    const bool stageOn = stage0_[TextureStageState::ColorOp] != tss::Disable;
    const GLuint tex = texture_ && stageOn ? textureFor(*texture_) : 0;
    Program& program = programs_[tex ? 1 : 0];
    if (!program.program)
        return;
    program.program->bind();
    applyFixedState();
    applyUniforms(program, tex);
    const MeshBuffers& b = buffersFor(mesh);
    glBindBuffer(GL_ARRAY_BUFFER, b.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indexBuffer);
    const auto stride = static_cast<GLsizei>(sizeof(MeshVertex));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(MeshVertex, uv)));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.count), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(static_cast<std::uintptr_t>(range.first) * sizeof(std::uint32_t)));
}

std::shared_ptr<Texture> GlDevice::CreateTextureFromFile(const std::filesystem::path& path)
{
    QImage image(QString::fromStdString(path.string()));
    if (image.isNull())
        return nullptr;
    return std::make_shared<GlTexture>(std::move(image));
}

} // namespace vorlu
