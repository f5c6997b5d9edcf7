#include "nodes/Settings.h"

#include "nodes/AtomicFile.h"
#include "nodes/TextLines.h"
#include "nodes/TransportSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace vorlu {

namespace {

bool readFloat(const std::string& line, float& out)
{
    // Everything that rounds to a finite single is one: the writer's shortest form of the
    // largest single ("3.4028235e+38") lies just above it.
    constexpr double kRoundsToInfinity = 0x1.ffffffp+127;
    double v = 0;
    if (!leadingNumber(line, v) || !(std::fabs(v) < kRoundsToInfinity))
        return false;
    constexpr double kMax = std::numeric_limits<float>::max();
    out = static_cast<float>(std::clamp(v, -kMax, kMax));
    return true;
}

bool readColour(const std::string& line, std::int32_t& out)
{
    double v = 0;
    if (!leadingNumber(line, v))
        return false;
    const double rounded = std::nearbyint(v); // default rounding mode: half to even
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(rounded);
    return true;
}

std::string numberText(float v)
{
    // Only finite numbers read back; the camera is never meant to be anywhere else.
    if (std::isnan(v))
        v = 0.0f;
    else if (std::isinf(v))
        v = std::copysign(std::numeric_limits<float>::max(), v);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

} // namespace

void parseSettings(const std::string& text, Settings& s)
{
    LineReader reader(text);
    std::string line;
    auto nextLine = [&] { return reader.next(line); };

    if (!nextLine()) return;
    s.AdminUser = line;
    if (!nextLine()) return;
    s.AdminPassword = line;
    if (!nextLine() || !readFloat(line, s.CameraEye.z)) return;
    if (!nextLine() || !readFloat(line, s.CameraEye.y)) return;
    if (!nextLine() || !readFloat(line, s.CameraEye.x)) return;
    if (!nextLine() || !readColour(line, s.BackgroundColour)) return;
    if (!nextLine()) return;
    s.NodeLabelMode = line;
    if (line == "IP")
        s.labelBoxIp = true;
    else if (line == "NAME")
        s.labelBoxName = true;
    else if (line == "IPNAME")
        s.labelBoxIpName = true;
    if (!nextLine()) return;
    if (line == "1")
        s.ShowPasswords = true;
    else if (line == "0")
        s.ShowPasswords = false;
    if (!nextLine()) return;
    // An empty line is the default namespace, for every path that connects.
    s.WmiNamespace = line.empty() ? DefaultNamespace : line;
    if (!nextLine()) return;
    if (line == "True")
        s.ShowRacks = true;
    else if (line == "False")
        s.ShowRacks = false;
    readTransportLines(reader, s.transport);
}

std::string formatSettings(const Settings& s)
{
    std::string out;
    appendLine(out, s.AdminUser);
    appendLine(out, s.AdminPassword);
    appendLine(out, numberText(s.CameraEye.z));
    appendLine(out, numberText(s.CameraEye.y));
    appendLine(out, numberText(s.CameraEye.x));
    appendLine(out, std::to_string(s.BackgroundColour));
    appendLine(out, s.NodeLabelMode);
    appendLine(out, s.ShowPasswords ? "1" : "0");
    appendLine(out, s.WmiNamespace);
    appendLine(out, s.ShowRacks ? "True" : "False");
    appendTransportLines(out, s.transport);
    return out;
}

bool readSettingsFile(const std::filesystem::path& file, Settings& settings, std::string* error)
{
    if (error)
        error->clear();
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found)
        return false;
    std::string text;
    if (!readWholeFile(file, text, error))
        return false;
    parseSettings(text, settings);
    return true;
}

bool writeSettingsFile(const std::filesystem::path& file, const Settings& settings, std::string* error)
{
    return writeFileAtomically(file, formatSettings(settings), FileAccess::OwnerOnly, error);
}

} // namespace vorlu
