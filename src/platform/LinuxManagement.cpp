#include "platform/LinuxManagement.h"

#include "platform/CdromDriveRow.h"
#include "platform/SysfsOpticalDrives.h"
#include "platform/TextCase.h"
#include "platform/WmiQuery.h"

#include <algorithm>

namespace vorlu {

namespace {

using Sources = LinuxManagement::Sources;

bool servesNamespace(std::string nameSpace)
{
    std::replace(nameSpace.begin(), nameSpace.end(), '/', '\\');
    return equalsIgnoringCase(nameSpace, "root\\cimv2");
}

// Drive and Name come from sysfs alone; anything else needs the drive itself.
bool asksForDriveState(const WmiSelect& query)
{
    if (query.allProperties)
        return true;
    return std::any_of(query.properties.begin(), query.properties.end(), [](const std::string& p) {
        return !equalsIgnoringCase(p, "Drive") && !equalsIgnoringCase(p, "Name");
    });
}

std::vector<WmiRow> cdromDrives(const Sources& sources, bool withState)
{
    std::vector<WmiRow> rows;
    for (const SysfsOpticalDrive& drive : findOpticalDrives(sources.sysfsRoot)) {
        std::optional<CdromAnswer> answer;
        if (withState)
            answer = sources.devices->driveStatus(drive.devicePath);
        rows.push_back(cdromDriveRow(drive, answer));
    }
    return rows;
}

class LinuxServices : public WmiServices {
public:
    explicit LinuxServices(std::shared_ptr<const Sources> sources) : sources_(std::move(sources)) {}

    std::vector<WmiRow> execQuery(const std::string& query) override
    {
        return answerWmiQuery(query, [this](WmiClass wmiClass, const WmiSelect& select) {
            if (wmiClass == WmiClass::ComputerSystem)
                return std::vector<WmiRow>{WmiRow({{"Name", sources_->computer.hostName}})};
            return cdromDrives(*sources_, asksForDriveState(select));
        });
    }

private:
    std::shared_ptr<const Sources> sources_;
};

class LinuxLocator : public WmiLocator {
public:
    explicit LinuxLocator(std::shared_ptr<const Sources> sources) : sources_(std::move(sources)) {}

    std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                               const std::string&, const std::string&) override
    {
        if (!sources_->computer.isAddressedBy(server))
            throw WmiError(server + " is not this computer; only this computer's drives can be read here");
        if (!servesNamespace(nameSpace))
            throw WmiError("namespace " + nameSpace + " is not served on this computer (only root\\cimv2)");
        return std::make_unique<LinuxServices>(sources_);
    }

private:
    std::shared_ptr<const Sources> sources_;
};

} // namespace

LinuxManagement::LinuxManagement(ThisComputer computer, std::filesystem::path sysfsRoot,
                                 std::shared_ptr<CdromDevices> devices)
    : sources_(std::make_shared<const Sources>(Sources{std::move(computer), std::move(sysfsRoot), std::move(devices)}))
{
}

std::unique_ptr<WmiLocator> LinuxManagement::createLocator()
{
    return std::make_unique<LinuxLocator>(sources_);
}

} // namespace vorlu
