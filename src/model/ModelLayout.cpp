#include "model/ModelLayout.h"

#include "drives/DrivePainter.h"

#include <stdexcept>

namespace vorlu {

namespace {

void checkUnit(int unit)
{
    if (unit < 1 || unit > UnitCount)
        throw std::out_of_range("unit number " + std::to_string(unit) + " is outside 1.." +
                                std::to_string(UnitCount));
}

} // namespace

std::string UnitOwnFile(int unit)
{
    checkUnit(unit);
    if (unit == 1)
        return "vid26a.x";
    return std::string("vidcd26") + static_cast<char>('a' + unit - 1) + ".x";
}

std::vector<std::string> UnitMeshFiles(int unit)
{
    std::vector<std::string> files;
    // The common files are numbered 1..22 and 27..29; 23..26 do not exist.
    for (int i = 1; i <= 22; ++i)
        files.push_back("vid" + std::to_string(i) + ".x");
    files.push_back(UnitOwnFile(unit));
    for (int i = 27; i <= 29; ++i)
        files.push_back("vid" + std::to_string(i) + ".x");
    return files;
}

const std::vector<std::string>& RackMeshFiles()
{
    // 7 is loaded before 6.
    static const std::vector<std::string> files = {"rackcd1.x", "rackcd2.x", "rackcd3.x", "rackcd4.x",
                                                   "rackcd5.x", "rackcd7.x", "rackcd6.x"};
    return files;
}

std::array<double, 3> UnitOffset(int unit)
{
    checkUnit(unit);
    const double x = (unit % 2 == 1) ? -2.8 : 1.5;
    const double y = -2.0 * ((unit + 1) / 2);
    return {x, y, -2.3};
}

std::array<double, 3> RackOffset(int rack)
{
    if (rack < 1 || rack > RackCount)
        throw std::out_of_range("rack number " + std::to_string(rack) + " is outside 1.." +
                                std::to_string(RackCount));
    return {0.0, -2.0 * (rack - 1), 0.0};
}

std::string DrivePartName(int unit)
{
    checkUnit(unit);
    return DrivePartName(static_cast<std::size_t>(unit));
}

} // namespace vorlu
