#pragma once
// Making the 3D device at start-up: proving that any graphics context can
// be made, choosing the normal (hardware) renderer or falling back to the
// software one with the same messages as a hardware-to-reference fallback.
#include <functional>
#include <optional>
#include <string>

namespace vorlu {

class MessageBoxes;
class ProgramEnd;

struct RendererInfo {
    std::string vendor;
    std::string renderer; // GL_RENDERER
    std::string version;
    bool software = false; // a software rasteriser such as llvmpipe, where hardware could have been had
};

// nullopt when no usable context (OpenGL 2.0 or later) can be made.
using RendererProbe = std::function<std::optional<RendererInfo>()>;

// The real probe: a short-lived offscreen context. Needs a QGuiApplication.
std::optional<RendererInfo> ProbeOpenGL();
bool IsSoftwareRenderer(const std::string& glRenderer);
// True when the machine has a direct rendering device, so that a software
// renderer means the hardware one could not be had.
bool HardwareRendererPresent();

enum SceneDeviceType { DeviceTypeHardware = 1, DeviceTypeReference = 2 };

inline constexpr const char* NoDeviceMessage = "Unable to initialize 3D device!";
inline constexpr const char* FallbackMessage = "No hardware support found. Switching to reference rasterizer.";
inline constexpr const char* NoSuitableDeviceMessage =
    "No suitable device was found to initialize D3D. Application will now exit.";

// True when a device of any kind can be made on the adapter (only adapter 0 exists).
bool ProbeDevice(int adapter, const RendererProbe& probe);
// The start-up check: on failure shows NoDeviceMessage in a plain box, ends
// the program and returns false.
bool StartupDeviceCheck(const RendererProbe& probe, MessageBoxes& messages, ProgramEnd& programEnd);

struct SceneDeviceChoice {
    bool created = false;
    int deviceType = 0; // DeviceTypeHardware or DeviceTypeReference
    bool reference = false;
    RendererInfo renderer;
};

// The decision of device creation: the requested type, or with fallback
// from hardware to the software renderer after an information message;
// with no device at all the critical message and the end of the program.
SceneDeviceChoice ChooseSceneDevice(int deviceType, bool allowFallback, const RendererProbe& probe,
                                    MessageBoxes& messages, ProgramEnd& programEnd);

} // namespace vorlu
