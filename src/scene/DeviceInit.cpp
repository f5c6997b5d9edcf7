#include "scene/DeviceInit.h"
#include "platform/TextCase.h"

#include <filesystem>

#include "platform/UserInterfaceServices.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <algorithm>
#include <cctype>

namespace vorlu {

namespace {

std::string glString(QOpenGLFunctions* f, GLenum name)
{
    const auto* s = reinterpret_cast<const char*>(f->glGetString(name));
    return s ? std::string(s) : std::string();
}

} // namespace

bool IsSoftwareRenderer(const std::string& glRenderer)
{
    const std::string lower = lowerAscii(glRenderer);
    for (const char* marker :
         {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader", "lavapipe", "gdi generic"})
        if (lower.find(marker) != std::string::npos)
            return true;
    return false;
}

bool HardwareRendererPresent()
{
    // Direct rendering devices are where a hardware renderer would come from.
    std::error_code ec;
    return std::filesystem::is_directory("/dev/dri", ec) &&
           std::filesystem::directory_iterator("/dev/dri", ec) != std::filesystem::directory_iterator();
}

std::optional<RendererInfo> ProbeOpenGL()
{
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    if (!context.create())
        return std::nullopt;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return std::nullopt;
    RendererInfo info;
    QOpenGLFunctions* f = context.functions();
    info.vendor = glString(f, GL_VENDOR);
    info.renderer = glString(f, GL_RENDERER);
    info.version = glString(f, GL_VERSION);
    // A machine without a graphics device offers only the software renderer:
    // that is then its normal renderer, not a fallback worth a message.
    info.software = IsSoftwareRenderer(info.renderer) && HardwareRendererPresent();
    const auto version = context.format().version();
    const bool shaders = version >= qMakePair(2, 0); // the pipeline runs as GLSL 1.20 shaders
    context.doneCurrent();
    if (!shaders)
        return std::nullopt;
    return info;
}

bool ProbeDevice(int adapter, const RendererProbe& probe)
{
    if (adapter != 0 || !probe)
        return false;
    return probe().has_value();
}

bool StartupDeviceCheck(const RendererProbe& probe, MessageBoxes& messages, ProgramEnd& programEnd)
{
    if (ProbeDevice(0, probe))
        return true;
    messages.show(NoDeviceMessage, "", MessageIcon::None);
    programEnd.endProgram(1);
    return false;
}

SceneDeviceChoice ChooseSceneDevice(int deviceType, bool allowFallback, const RendererProbe& probe,
                                    MessageBoxes& messages, ProgramEnd& programEnd)
{
    SceneDeviceChoice choice;
    const std::optional<RendererInfo> info = probe ? probe() : std::nullopt;
    // The hardware type is only had from a context that is not a software rasteriser.
    const bool typeAvailable = info && (deviceType != DeviceTypeHardware || !info->software);
    if (typeAvailable) {
        choice = {true, deviceType, deviceType == DeviceTypeReference, *info};
        return choice;
    }
    if (!allowFallback)
        return choice;
    if (deviceType == DeviceTypeHardware) {
        messages.show(FallbackMessage, "", MessageIcon::Information);
        if (info) // the software context is the reference device
            return {true, DeviceTypeReference, true, *info};
    }
    messages.show(NoSuitableDeviceMessage, "", MessageIcon::Error);
    programEnd.endProgram(1);
    return choice;
}

} // namespace vorlu
