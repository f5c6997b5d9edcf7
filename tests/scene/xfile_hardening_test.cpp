// Inputs found by fuzzing the ".x" reader and the mesh loader: each one once crashed, aborted,
// asked for memory the input does not justify, or took time out of proportion to its size.
#include "SceneTestSupport.h"
#include "xfile_support.h"

#include "scene/MeshLoader.h"
#include "support/RecordingDevice.h"
#include "scene/SceneContext.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace vorlu;

namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::filesystem::path(VORLU_SOURCE_DIR) / "tests" / "scene" / "fixtures" / name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string Triangle = "xof 0303txt 0032\nMesh M{3;0;0;0;,1;0;0;,0;1;0;;1;3;0,1,2;;";

} // namespace

TEST(XFileHardening, BadMaterialListsAreErrorsOfTheMesh)
{
    struct Case {
        const char* what;
        std::string text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"index far beyond the materials", fixture("material-index-huge.x"), "uses material 4026531840 of 1"},
        {"index -1", fixture("material-index-minus-one.x"), "uses material 4294967295 of 1"},
        {"count far beyond the faces", fixture("material-count-huge.x"), "claims 4000000000 materials"},
        {"second index past the count", Triangle + "MeshMaterialList{1;2;0,1;;}}", "face 1 uses material 1 of 1"},
    };
    for (const Case& c : cases) {
        std::string error;
        auto file = xtest::parse(c.text, error);
        ASSERT_TRUE(file) << c.what << ": " << error;
        EXPECT_FALSE(LoadMeshFromXof(*file->topLevel().at(0), error)) << c.what;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.what << ": " << error;
    }
}

TEST(XFileHardening, MissingMaterialsUpToTheFaceCountAreDefaults)
{
    std::string error;
    auto file = xtest::parse(Triangle + "MeshMaterialList{1;1;0;;}}", error);
    ASSERT_TRUE(file) << error;
    auto mesh = LoadMeshFromXof(*file->topLevel().at(0), error);
    ASSERT_TRUE(mesh) << error;
    ASSERT_EQ(mesh->materials.size(), 1u);
    EXPECT_EQ(mesh->materials[0].material.Diffuse, (ColorValue{0.5f, 0.5f, 0.5f, 1.0f}));
    // No materials at all: the indexes are not material numbers, every face is subset 0.
    file = xtest::parse(Triangle + "MeshMaterialList{0;1;7;;}}", error);
    ASSERT_TRUE(file) << error;
    mesh = LoadMeshFromXof(*file->topLevel().at(0), error);
    ASSERT_TRUE(mesh) << error;
    EXPECT_EQ(mesh->geometry->faceSubsets(), std::vector<std::uint32_t>{0});
}

TEST(XFileHardening, GeometryTakesTheLargestSubsetNumberWithoutWrapping)
{
    std::vector<MeshVertex> v(3);
    MeshGeometry g(v, {0, 1, 2}, {std::uint32_t{2}});
    EXPECT_EQ(g.subsetRange(2).count, 3u);
    EXPECT_EQ(g.subsetRange(0).count, 0u);
}

TEST(XFileHardening, ReferencedMeshIsLoadedOnceAndShared)
{
    std::string text = "xof 0303txt 0032\nMesh M{3;0;0;0;,1;0;0;,0;1;0;;1;3;0,1,2;;"
                       "MeshMaterialList{1;1;0;;Material{1;0;0;1;;1;0;0;0;;0;0;0;;}}}\nFrame F{";
    for (int i = 0; i < 2000; ++i)
        text += "{M}";
    text += "}\n";
    std::string error;
    auto file = xtest::parse(text, error);
    ASSERT_TRUE(file) << error;
    RecordingDevice device;
    SceneContext context(&device);
    CD3DFrame root;
    ASSERT_TRUE(root.InitFromXFile(context, *file, &error)) << error;
    ASSERT_EQ(root.GetChildMeshCount(), 1);
    ASSERT_EQ(root.GetChildFrameCount(), 1);
    const auto& frame = root.GetChildFrame(0);
    ASSERT_EQ(frame->GetChildMeshCount(), 2000);
    const auto& first = root.GetChildMesh(0);
    for (int i = 0; i < frame->GetChildMeshCount(); ++i) {
        const auto& m = frame->GetChildMesh(i);
        ASSERT_EQ(m->mesh, first->mesh);
        ASSERT_EQ(&m->GetMaterial(0), &first->GetMaterial(0));
    }
    // Each use keeps its own drawing state.
    frame->GetChildMesh(0)->SetMaterialOverride(test::Mat(0, 1, 0));
    EXPECT_FALSE(first->bUseMaterialOverride);
}

TEST(XFileHardening, TemplateArraySizesFindTheFirstMemberOfTheirName)
{
    std::string error;
    auto file = xtest::parse("xof 0303txt 0032\ntemplate T { <11111111-2222-3333-4444-555555555555> DWORD n; DWORD n;"
                             " array DWORD a[n]; }\nT t { 2; 5; 7, 8; }\n",
                             error);
    ASSERT_TRUE(file) << error;
    xtest::DataReader r(file->topLevel().at(0)->data());
    EXPECT_EQ(r.u32(), 2u);
    EXPECT_EQ(r.u32(), 5u);
    EXPECT_EQ(r.u32(), 7u);
    EXPECT_EQ(r.u32(), 8u);
    EXPECT_EQ(r.left(), 0u);
}

TEST(XFileHardening, EmptyCompressedBlocksCostNothingAndTinyBlocksAreRefused)
{
    const std::string text = xtest::gridMeshText(70);
    const std::vector<std::uint8_t> body(text.begin() + 16, text.end());
    auto zipped = xtest::mszip("xof 0303tzip0032", body);
    // Empty blocks ("CK" and an empty final stored block) after the first real one, where each
    // used to cost a copy of 32 KB of history.
    std::vector<std::uint8_t> empties;
    for (int i = 0; i < 100000; ++i)
        empties.insert(empties.end(), {0, 0, 7, 0, 'C', 'K', 1, 0, 0, 0xff, 0xff});
    const std::size_t firstEnd = 20 + 4 + (zipped[22] | zipped[23] << 8);
    zipped.insert(zipped.begin() + static_cast<std::ptrdiff_t>(firstEnd), empties.begin(), empties.end());
    std::string error;
    EXPECT_TRUE(xtest::parse(zipped, error)) << error;

    // Small blocks each restarting from 32 KB of history.
    error.clear();
    EXPECT_FALSE(xtest::parse(xtest::mszip("xof 0303tzip0032", body, 1024), error));
    EXPECT_NE(error.find("blocks too small"), std::string::npos) << error;
}
