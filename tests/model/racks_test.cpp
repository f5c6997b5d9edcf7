#include "model/Racks.h"
#include "scene/CD3DFrame.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

using namespace vorlu;

namespace {

// A scene with ten unit and five rack frames, all hidden.
struct HiddenModel {
    Scene scene;
    HiddenModel()
    {
        for (int i = 0; i < 10; ++i) {
            scene.UnitFrames.push_back(std::make_shared<CD3DFrame>());
            scene.UnitFrames.back()->Enabled = false;
        }
        for (int i = 0; i < 5; ++i) {
            scene.RackFrames.push_back(std::make_shared<CD3DFrame>());
            scene.RackFrames.back()->Enabled = false;
        }
    }
    VisibleModel shown() const
    {
        VisibleModel v;
        for (const auto& f : scene.UnitFrames)
            v.units += f->Enabled ? 1 : 0;
        for (const auto& f : scene.RackFrames)
            v.racks += f->Enabled ? 1 : 0;
        return v;
    }
    // Enabled frames must be a leading run: units 1..k, racks 1..k.
    bool leading() const
    {
        const VisibleModel v = shown();
        for (int i = 0; i < 10; ++i)
            if (scene.UnitFrames[static_cast<std::size_t>(i)]->Enabled != (i < v.units))
                return false;
        for (int i = 0; i < 5; ++i)
            if (scene.RackFrames[static_cast<std::size_t>(i)]->Enabled != (i < v.racks))
                return false;
        return true;
    }
};

} // namespace

TEST(Racks, UnitsAndRacksShownForEachDriveCount)
{
    struct Case {
        int drives, units, racks; // racks with the option on
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 1}, {3, 3, 2},   {4, 4, 2},   {5, 5, 3},  {6, 6, 3},
                          {7, 7, 4}, {8, 8, 4}, {9, 9, 5}, {10, 10, 5}, {12, 10, 5}, {-1, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(VisibleFor(c.drives, true), (VisibleModel{c.units, c.racks})) << c.drives << " drives";
        EXPECT_EQ(VisibleFor(c.drives, false), (VisibleModel{c.units, 0})) << c.drives << " drives";
        for (bool showRacks : {true, false}) {
            HiddenModel m;
            ShowUnitsForDrives(m.scene, c.drives, showRacks);
            EXPECT_EQ(m.shown(), VisibleFor(c.drives, showRacks)) << c.drives << " drives, racks " << showRacks;
            EXPECT_TRUE(m.leading()) << c.drives << " drives";
        }
    }
}

TEST(Racks, ShowingDrivesNeverHidesWhatIsAlreadyShown)
{
    HiddenModel m;
    m.scene.UnitFrames[6]->Enabled = true;
    m.scene.RackFrames[4]->Enabled = true;
    // Racks switched off after they were shown stay until the units are hidden.
    ShowUnitsForDrives(m.scene, 3, false);
    EXPECT_EQ(m.shown(), (VisibleModel{4, 1}));
    EXPECT_TRUE(m.scene.UnitFrames[6]->Enabled);
    EXPECT_TRUE(m.scene.RackFrames[4]->Enabled);
}

TEST(Racks, AClickFlipsTheOptionFromTheCheckMark)
{
    EXPECT_FALSE(ShowRacksAfterClick(true));
    EXPECT_TRUE(ShowRacksAfterClick(false));
}
