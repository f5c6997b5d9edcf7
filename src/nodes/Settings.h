#pragma once
#include "platform/RemoteTransport.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace vorlu {

inline constexpr const char* SettingsFileName = "vrsopt.ini";
inline constexpr const char* DefaultNamespace = "root\\cimv2";

struct CameraEyeValue {
    float x = 0.0f, y = 0.0f, z = -10.0f;
};

// The user's settings as the program holds them while it runs, together with
// the state of the dialog boxes the settings file fills.
struct Settings {
    std::string AdminUser;
    std::string AdminPassword;
    CameraEyeValue CameraEye;
    std::int32_t BackgroundColour = 0; // 0x00RRGGBB
    std::string NodeLabelMode;
    std::string WmiNamespace = DefaultNamespace;
    bool ShowRacks = true;
    // After the ten lines: how remote nodes are reached.
    RemoteTransport transport;

    // Boxes of the settings dialog: ticked by the file, never cleared by it.
    bool labelBoxIp = false;
    bool labelBoxName = false;
    bool labelBoxIpName = false;
    bool ShowPasswords = true; // the "Show Passwords" box; written back as line 8
};

// Applies the lines of the settings text in order; a line that is missing or
// cannot be read ends the reading and the rest keep their values. The
// transport lines after the ten follow the rules of TransportSettings.h.
void parseSettings(const std::string& text, Settings& settings);
std::string formatSettings(const Settings& settings);

// False when the file is missing or cannot be read; what was read still
// applies. error stays empty for a missing file and otherwise names the file
// and the reason.
bool readSettingsFile(const std::filesystem::path& file, Settings& settings, std::string* error = nullptr);
bool writeSettingsFile(const std::filesystem::path& file, const Settings& settings, std::string* error = nullptr);

} // namespace vorlu
