#include "scene/DeviceInit.h"
#include "scene/MediaFolder.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace vorlu;

namespace {

RendererProbe Gives(std::optional<RendererInfo> info)
{
    return [info] { return info; };
}

RendererInfo Renderer(const std::string& name)
{
    RendererInfo r;
    r.renderer = name;
    r.software = IsSoftwareRenderer(name);
    return r;
}

} // namespace

TEST(DeviceInit, SoftwareRenderersAreRecognised)
{
    EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRenderer("Software Rasterizer"));
    EXPECT_TRUE(IsSoftwareRenderer("Google SwiftShader"));
    EXPECT_FALSE(IsSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(IsSoftwareRenderer("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
}

TEST(DeviceInit, StartupCheckEndsTheProgramWithoutAnyContext)
{
    ScriptedMessageBoxes boxes;
    RecordingProgramEnd ending;
    EXPECT_TRUE(StartupDeviceCheck(Gives(Renderer("llvmpipe")), boxes, ending));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(StartupDeviceCheck(Gives(std::nullopt), boxes, ending));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to initialize 3D device!");
    EXPECT_EQ(boxes.boxes()[0].icon, MessageIcon::None);
    EXPECT_EQ(ending.calls(), 1);
}

TEST(DeviceInit, FallbackAndMessages)
{
    struct Case {
        const char* name;
        int requested;
        std::optional<RendererInfo> probe;
        bool created;
        int type;
        std::vector<std::string> messages;
        int endings;
    };
    const Case cases[] = {
        {"hardware renderer", DeviceTypeHardware, Renderer("AMD Radeon"), true, DeviceTypeHardware, {}, 0},
        {"software only: one information message, then the reference device", DeviceTypeHardware,
         Renderer("llvmpipe (LLVM 15)"), true, DeviceTypeReference, {FallbackMessage}, 0},
        {"nothing at all", DeviceTypeHardware, std::nullopt, false, 0, {FallbackMessage, NoSuitableDeviceMessage}, 1},
        {"reference asked for and failing: only the critical message", DeviceTypeReference, std::nullopt, false, 0,
         {NoSuitableDeviceMessage}, 1},
        {"reference asked for", DeviceTypeReference, Renderer("llvmpipe"), true, DeviceTypeReference, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessageBoxes boxes;
        RecordingProgramEnd ending;
        const SceneDeviceChoice choice = ChooseSceneDevice(c.requested, true, Gives(c.probe), boxes, ending);
        EXPECT_EQ(choice.created, c.created);
        EXPECT_EQ(choice.deviceType, c.type);
        EXPECT_EQ(choice.reference, c.type == DeviceTypeReference);
        std::vector<std::string> texts;
        for (const auto& s : boxes.boxes())
            texts.push_back(s.text);
        EXPECT_EQ(texts, c.messages);
        if (!boxes.boxes().empty() && boxes.boxes()[0].text == FallbackMessage) {
            EXPECT_EQ(boxes.boxes()[0].icon, MessageIcon::Information);
        }
        if (!boxes.boxes().empty() && boxes.boxes().back().text == NoSuitableDeviceMessage) {
            EXPECT_EQ(boxes.boxes().back().icon, MessageIcon::Error);
        }
        EXPECT_EQ(ending.calls(), c.endings);
    }
    ScriptedMessageBoxes boxes;
    RecordingProgramEnd ending;
    EXPECT_FALSE(ChooseSceneDevice(DeviceTypeHardware, false, Gives(std::nullopt), boxes, ending).created);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(MediaFolder, CurrentFolderFirstThenSearchFoldersThenTheFirstOfThem)
{
    QTemporaryDir cwd, beside, data;
    const std::filesystem::path cwdPath = cwd.path().toStdString();
    const std::filesystem::path besidePath = beside.path().toStdString();
    const std::filesystem::path dataPath = data.path().toStdString();
    MediaSearch search{cwdPath, {besidePath, dataPath}};
    EXPECT_EQ(LocateMediaFolder("vid1.x", false, search), besidePath.string() + "/");
    std::ofstream(dataPath / "vid1.x") << "x";
    EXPECT_EQ(LocateMediaFolder("vid1.x", false, search), dataPath.string() + "/");
    std::ofstream(cwdPath / "vid1.x") << "x";
    EXPECT_EQ(LocateMediaFolder("vid1.x", false, search), cwdPath.string() + "/");
    EXPECT_EQ(EnsureTrailingSeparator("/"), "/");
    EXPECT_EQ(EnsureTrailingSeparator("/opt/media/"), "/opt/media/");
}
