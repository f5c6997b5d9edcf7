#include "model/PartSelection.h"

#include "drives/DriveStatus.h"
#include "model/DetailPanelView.h"
#include "model/ModelLayout.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DPick.h"
#include "scene/Scene.h"

#include <array>

namespace vorlu {

std::string DriveLabelOfPart(const std::string& partName)
{
    for (int unit = 1; unit <= UnitCount; ++unit)
        if (partName == DrivePartName(unit))
            return "CD " + std::to_string(unit);
    return {};
}

void PartSelection::mouseDown(CD3DFrame* container, double x, double y)
{
    scene_.TrackballPress(x, y);
    if (!scene_.ModelLoaded || !container)
        return;
    CD3DPick pick;
    if (!pick.ViewportPick(scene_.context(), *container, static_cast<float>(x), static_cast<float>(y)))
        return;
    const int nearest = pick.FindNearest();
    if (nearest < 0)
        return;
    pickedPartName_ = pick.GetFrame(nearest)->ObjectName;
    if (!pickedPartName_.empty())
        searchfault();
}

void PartSelection::searchfault()
{
    for (DetailValue v : {DetailValue::Status, DetailValue::Availability, DetailValue::ErrorCleared,
                          DetailValue::LastErrorCode, DetailValue::StatusInfo, DetailValue::ErrorDescription,
                          DetailValue::ConfigManagerError})
        panel_.setValue(v, {});
    if (std::string label = DriveLabelOfPart(pickedPartName_); !label.empty())
        selectedDriveLabel_ = std::move(label);
    DriveStatus* drive = drives_.findLabel(selectedDriveLabel_);
    if (!drive)
        return;
    panel_.setHeading(selectedDriveLabel_ + " Sensor");
    panel_.clearDriveId();
    const std::array<std::pair<DetailValue, std::string*>, 7> fields = {{
        {DetailValue::Status, &drive->status},
        {DetailValue::Availability, &drive->availabilityText},
        {DetailValue::ErrorCleared, &drive->errorCleared},
        {DetailValue::LastErrorCode, &drive->lastErrorCode},
        {DetailValue::StatusInfo, &drive->statusInfoText},
        {DetailValue::ErrorDescription, &drive->errorDescription},
        {DetailValue::ConfigManagerError, &drive->configManagerErrorText},
    }};
    for (const auto& [which, text] : fields) {
        if (text->empty())
            *text = "N/A";
        panel_.setValue(which, *text);
    }
    if (const StatePresentation* state = StatePresentationFor(drive->colour))
        panel_.showState(*state);
}

} // namespace vorlu
