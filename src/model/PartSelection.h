#pragma once
// A click on the model view: the trackball drag starts, the part under the
// cursor is picked, and a click on a unit's drive part shows that drive's
// state in the detail panel.
#include <string>

namespace vorlu {

class CD3DFrame;
class DetailPanelView;
class DriveStatusTable;
class Scene;

// "CD k" for the drive part of unit k; empty for any other name.
std::string DriveLabelOfPart(const std::string& partName);

class PartSelection {
public:
    PartSelection(Scene& scene, DriveStatusTable& drives, DetailPanelView& panel)
        : scene_(scene), drives_(drives), panel_(panel)
    {
    }

    // Mouse-down on the view, any button: the drag state first, then, once
    // the model is loaded, the pick within container (x, y in view pixels).
    void mouseDown(CD3DFrame* container, double x, double y);
    // The keyboard's way to a drive: unit k (1-based) is selected as a click
    // on its tray selects it.
    void selectUnit(int unit);
    // No drive selected: the next pick starts afresh.
    void forgetDrive()
    {
        pickedPartName_.clear();
        selectedDriveLabel_.clear();
    }
    // Shows the selected drive of the table. Empty texts become "N/A" in
    // the table too, as the panel shows them.
    void searchfault();

    const std::string& PickedPartName() const { return pickedPartName_; }
    // The unit of the drive shown, 1-based; 0 when none is.
    int SelectedUnit() const;
    // Survives picks of other parts; forgotten when another node is shown.
    const std::string& SelectedDriveLabel() const { return selectedDriveLabel_; }

private:
    Scene& scene_;
    DriveStatusTable& drives_;
    DetailPanelView& panel_;
    std::string pickedPartName_;
    std::string selectedDriveLabel_;
};

} // namespace vorlu
