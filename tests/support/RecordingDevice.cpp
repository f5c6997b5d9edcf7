#include "support/RecordingDevice.h"

#include <QImageReader>
#include <QString>

#include <cstdio>

namespace vorlu {

namespace {

std::string hex(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

const char* transformName(TransformState s)
{
    switch (s) {
    case TransformState::World: return "World";
    case TransformState::View: return "View";
    case TransformState::Projection: return "Projection";
    }
    return "?";
}

} // namespace

RecordingDevice::RecordingDevice()
{
    states_ = DefaultRenderStates();
}

void RecordingDevice::SetTransform(TransformState state, const Matrix& m)
{
    transforms_[state] = m;
    log.push_back(std::string("SetTransform ") + transformName(state));
}

Matrix RecordingDevice::GetTransform(TransformState state) const
{
    auto it = transforms_.find(state);
    return it == transforms_.end() ? Matrix(1.0f) : it->second;
}

void RecordingDevice::SetLight(int index, const Light& l)
{
    if (index == 0)
        light = l;
    log.push_back("SetLight " + std::to_string(index));
}

void RecordingDevice::LightEnable(int index, bool enable)
{
    if (index == 0)
        lightEnabled = enable;
    log.push_back("LightEnable " + std::to_string(index) + (enable ? " on" : " off"));
}

void RecordingDevice::SetMaterial(const Material& m)
{
    material = m;
    log.push_back("SetMaterial");
}

void RecordingDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    states_[state] = value;
    log.push_back("SetRenderState " + std::to_string(static_cast<std::uint32_t>(state)) + " " + hex(value));
}

std::uint32_t RecordingDevice::GetRenderState(RenderState state) const
{
    auto it = states_.find(state);
    return it == states_.end() ? 0 : it->second;
}

void RecordingDevice::SetTexture(int stage, std::shared_ptr<Texture> t)
{
    if (stage == 0)
        texture = std::move(t);
    log.push_back("SetTexture " + std::to_string(stage));
}

void RecordingDevice::SetTextureStageState(int stage, TextureStageState state, std::uint32_t value)
{
    log.push_back("SetTextureStageState " + std::to_string(stage) + " " + std::to_string(static_cast<int>(state)) + " "
                  + std::to_string(value));
}

void RecordingDevice::Clear(std::uint32_t flags, std::uint32_t color, float, std::uint32_t)
{
    lastClearColor = color;
    log.push_back("Clear " + std::to_string(flags) + " " + hex(color));
}

void RecordingDevice::BeginScene()
{
    log.push_back("BeginScene");
}

void RecordingDevice::EndScene()
{
    log.push_back("EndScene");
}

void RecordingDevice::Present()
{
    log.push_back("Present");
    if (failPresent)
        throw DeviceError("present failed");
}

std::int32_t RecordingDevice::TestCooperativeLevel()
{
    log.push_back("TestCooperativeLevel");
    return cooperativeLevel;
}

void RecordingDevice::Reset()
{
    log.push_back("Reset");
    if (failReset)
        throw DeviceError("reset failed");
    cooperativeLevel = DeviceOk;
}

void RecordingDevice::DrawSubset(const MeshGeometry& mesh, int subset)
{
    draws.push_back(Draw{&mesh, subset, material, texture.get(), GetTransform(TransformState::World),
                         GetRenderState(RenderState::AlphaBlendEnable) == rs::True});
    log.push_back("DrawSubset " + std::to_string(subset));
}

std::shared_ptr<Texture> RecordingDevice::CreateTextureFromFile(const std::filesystem::path& path)
{
    ++textureLoads;
    QImageReader reader(QString::fromStdString(path.string()));
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return nullptr;
    return std::make_shared<RecordingTexture>(path.string(), size.width(), size.height());
}

void RecordingDevice::clearRecord()
{
    log.clear();
    draws.clear();
}

std::vector<std::string> RecordingDevice::calls(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& l : log)
        if (l.rfind(prefix, 0) == 0)
            out.push_back(l);
    return out;
}

} // namespace vorlu
