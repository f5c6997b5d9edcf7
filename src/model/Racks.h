#pragma once
// The racks option and the rule by which units and racks become visible when
// a node's drives are shown: units 1..min(n, 10) and, with the racks option
// on, racks 1..min(ceil(n / 2), 5), so that rack r appears with unit 2r - 1.
namespace vorlu {

class Scene;

// How many units and racks a node with driveCount drives shows.
struct VisibleModel {
    int units = 0;
    int racks = 0;
    friend bool operator==(const VisibleModel&, const VisibleModel&) = default;
};
VisibleModel VisibleFor(int driveCount, bool showRacks);

// Enables the units and racks for driveCount drives in the scene. It never
// disables anything: callers that want a clean view hide all units first.
// Nothing is drawn here.
void ShowUnitsForDrives(Scene& scene, int driveCount, bool showRacks);

// The "Show Racks" menu item: a click flips the option from the menu's check
// mark. Returns the new value of the option, which is also the new check mark.
// Nothing on screen changes until a node's drives are shown again.
inline bool ShowRacksAfterClick(bool menuChecked)
{
    return !menuChecked;
}

} // namespace vorlu
