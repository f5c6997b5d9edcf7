// Clicks on the model view and what the detail panel then shows, as a table
// of clicks on a small scene: two units' drive parts and one other part.
#include "drives/DriveStatus.h"
#include "model/DetailPanelView.h"
#include "model/PartSelection.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"
#include "scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace vorlu;
using namespace vorlu::test;

namespace {

struct RecordedPanel : DetailPanelView {
    void setValue(DetailValue which, const std::string& text) override { values[which] = text; }
    void setHeading(const std::string& text) override { heading = text; }
    void clearDriveId() override { driveIdCleared = true; }
    void showState(const StatePresentation& s) override { state = s; }

    std::map<DetailValue, std::string> values;
    std::string heading = "(none)";
    bool driveIdCleared = false;
    StatePresentation state{0, 0, "(none)"};
};

DriveStatus Drive(const std::string& label, const std::string& status, int colour)
{
    DriveStatus d;
    d.label = label;
    d.status = status;
    d.availabilityText = "Running or Full Power";
    d.configManagerErrorText = "Device is working properly.";
    d.errorCleared = "false";
    d.errorDescription = "none";
    d.lastErrorCode = "0";
    d.statusInfoText = "Enabled";
    d.colour = colour;
    return d;
}

// Unit 1 (drive part left of the centre), unit 2 (drive part right) and a
// bezel part at the top, all facing the default eye; the eye at -10 sees the
// origin at pixel (320, 240).
struct ClickScene : ::testing::Test {
    ClickScene()
    {
        scene.context().windowWidth = 640;
        scene.context().windowHeight = 480;
        scene.context().ApplySceneDefaults();
        scene.context().SetViewLookAt(Vector(0, 0, -10), Vector(0), Vector(0, 1, 0));
        scene.SceneRoot = FrameNamed("root");
        container = FrameNamed("container");
        scene.SceneRoot->AddChild(container);
        for (int unit = 1; unit <= 2; ++unit) {
            auto u = FrameNamed("unit");
            auto tray = FrameNamed("Frame0Cylinder_a" + std::to_string(unit));
            tray->AddMesh(MeshOf(Square(0, 1, unit == 1 ? -2.0f : 2.0f, 0), {Mat(1, 1, 1)}));
            u->AddChild(tray);
            container->AddChild(u);
            units.push_back(u);
        }
        auto bezel = FrameNamed("Frame0Cube");
        bezel->AddMesh(MeshOf(Square(0, 1, 0, 3), {Mat(1, 1, 1)}));
        container->AddChild(bezel);
        scene.ModelLoaded = true;
        drives.add() = Drive("CD 1", "Error", StatusColour::Red);
        drives.add() = Drive("CD 2", "Unknown", StatusColour::Amber);
    }
    Vector pixelOf(float x, float y)
    {
        scene.SceneRoot->UpdateFrames(scene.context().SceneWorldMatrix);
        return Vec3Project(Vector(x, y, 0), device.GetViewport(), scene.context().SceneProjectionMatrix,
                           scene.context().SceneViewMatrix, Matrix(1.0f));
    }
    void click(float x, float y)
    {
        const Vector p = pixelOf(x, y);
        selection.mouseDown(container.get(), p.x, p.y);
    }

    RecordingDevice device;
    Scene scene{&device};
    std::shared_ptr<CD3DFrame> container;
    std::vector<std::shared_ptr<CD3DFrame>> units;
    DriveStatusTable drives;
    RecordedPanel panel;
    PartSelection selection{scene, drives, panel};
};

constexpr float Unit1X = -2, Unit2X = 2, BezelY = 3;

} // namespace

TEST_F(ClickScene, ClicksSelectDrivesAndFillThePanel)
{
    struct Click {
        const char* what;
        float x, y;
        const char* picked;
        const char* selected;
        const char* heading;
        const char* status;
        const char* word;
        std::uint32_t headingRgb;
        int dial;
    };
    // Each row follows the one before: the selection survives other parts.
    const Click clicks[] = {
        {"drive 1", Unit1X, 0, "Frame0Cylinder_a1", "CD 1", "CD 1 Sensor", "Error", "Error", 0xFF0000, 3},
        {"drive 2", Unit2X, 0, "Frame0Cylinder_a2", "CD 2", "CD 2 Sensor", "Unknown", "Warning", 0x808000, 2},
        {"another part", 0, BezelY, "Frame0Cube", "CD 2", "CD 2 Sensor", "Unknown", "Warning", 0x808000, 2},
        {"empty space", 0, -4, "Frame0Cube", "CD 2", "CD 2 Sensor", "Unknown", "Warning", 0x808000, 2},
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.what);
        panel.values.clear();
        drives[2].status = "Unknown";
        click(c.x, c.y);
        EXPECT_TRUE(scene.TrackballDragging);
        EXPECT_EQ(selection.PickedPartName(), c.picked);
        EXPECT_EQ(selection.SelectedDriveLabel(), c.selected);
        EXPECT_EQ(panel.heading, c.heading);
        EXPECT_STREQ(panel.state.word, c.word);
        EXPECT_EQ(panel.state.headingRgb, c.headingRgb);
        EXPECT_EQ(panel.state.dial, c.dial);
        if (std::string(c.what) == "empty space")
            EXPECT_TRUE(panel.values.empty()) << "a click on nothing leaves the panel alone";
        else
            EXPECT_EQ(panel.values[DetailValue::Status], c.status);
    }
}

TEST_F(ClickScene, AHiddenUnitAndAModelNotYetLoadedOnlyStartTheDrag)
{
    click(Unit1X, 0);
    panel = RecordedPanel{};
    units[1]->Enabled = false;
    click(Unit2X, 0);
    EXPECT_EQ(selection.PickedPartName(), "Frame0Cylinder_a1") << "hidden units are not picked";
    EXPECT_TRUE(panel.values.empty());

    scene.ModelLoaded = false;
    scene.TrackballDragging = false;
    click(Unit1X, 0);
    EXPECT_TRUE(scene.TrackballDragging);
    EXPECT_EQ(panel.heading, "(none)");
}

TEST_F(ClickScene, EmptyTextsShowAndStayNotAvailableAndAnUnknownColourKeepsTheState)
{
    click(Unit2X, 0); // amber first
    drives[1] = DriveStatus{};
    drives[1].label = "CD 1";
    drives[1].colour = StatusColour::None;
    click(Unit1X, 0);
    ASSERT_EQ(panel.values.size(), 7u);
    for (const auto& [which, text] : panel.values)
        EXPECT_EQ(text, "N/A") << static_cast<int>(which);
    for (const std::string* f : {&drives[1].status, &drives[1].availabilityText, &drives[1].configManagerErrorText,
                                 &drives[1].errorCleared, &drives[1].errorDescription, &drives[1].lastErrorCode,
                                 &drives[1].statusInfoText})
        EXPECT_EQ(*f, "N/A");
    EXPECT_EQ(panel.heading, "CD 1 Sensor");
    EXPECT_TRUE(panel.driveIdCleared);
    EXPECT_STREQ(panel.state.word, "Warning") << "colour 0 keeps the state shown before";
}

TEST_F(ClickScene, ASelectedDriveTheNodeLacksEmptiesTheValuesAndKeepsTheRest)
{
    click(Unit2X, 0);
    drives.clear();
    drives.add() = Drive("CD 1", "OK", StatusColour::Green);
    click(0, BezelY);
    ASSERT_EQ(panel.values.size(), 7u);
    for (const auto& [which, text] : panel.values)
        EXPECT_EQ(text, "") << static_cast<int>(which);
    EXPECT_EQ(panel.heading, "CD 2 Sensor");
    EXPECT_STREQ(panel.state.word, "Warning");
}
