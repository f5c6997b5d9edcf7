#include "scene/MeshLoader.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

#include <string>

using namespace vorlu;

namespace {

std::unique_ptr<XFile> Parse(const std::string& text)
{
    std::string error;
    auto file = XFile::parse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), error);
    EXPECT_TRUE(file) << error;
    return file;
}

const XObject& FirstMesh(const XFile& file)
{
    return *file.topLevel().at(0);
}

// A unit cube's front face (a quad) and a triangle behind it.
const std::string Header = "xof 0302txt 0032\n";
const std::string Geometry = "  5; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;, 0.5;0.5;1.0;;\n"
                             "  2; 4;0,1,2,3;, 3;0,4,3;;\n";

} // namespace

TEST(MeshLoader, PolygonsAreFanTriangulatedAndGroupedByMaterial)
{
    auto file = Parse(Header + "Mesh Box {\n" + Geometry +
                      "  MeshMaterialList { 2; 2; 1, 0;;\n"
                      "   Material { 1.0;0.0;0.0;1.0;; 8.0; 0.5;0.5;0.5;; 0.0;0.1;0.0;; TextureFilename { \"wood.bmp\"; } }\n"
                      "   Material { 0.0;0.0;1.0;0.5;; 2.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
                      "  }\n"
                      "}\n");
    ASSERT_TRUE(file);
    std::string error;
    auto mesh = LoadMeshFromXof(FirstMesh(*file), error);
    ASSERT_TRUE(mesh) << error;
    const auto& g = *mesh->geometry;
    ASSERT_EQ(g.faceCount(), 3);
    EXPECT_EQ(g.indices(), (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 4, 3}));
    EXPECT_EQ(g.faceSubsets(), (std::vector<std::uint32_t>{1, 1, 0}));
    EXPECT_EQ(g.subsetRange(0).count, 3u);
    EXPECT_EQ(g.subsetRange(1).count, 6u);
    ASSERT_EQ(mesh->materials.size(), 2u);
    EXPECT_EQ(mesh->materials[0].material.Diffuse, (ColorValue{1, 0, 0, 1}));
    EXPECT_EQ(mesh->materials[0].material.Power, 8.0f);
    EXPECT_EQ(mesh->materials[0].material.Specular.r, 0.5f);
    EXPECT_EQ(mesh->materials[0].material.Emissive.g, 0.1f);
    EXPECT_EQ(mesh->materials[0].textureFilename, "wood.bmp");
    EXPECT_EQ(mesh->materials[1].material.Diffuse.a, 0.5f);
    EXPECT_EQ(mesh->materials[1].textureFilename, "");
    // Without normals in the file they are computed: the quad faces -z.
    EXPECT_NEAR(g.vertices()[1].normal.z, -1.0f, 1e-5f);
}

TEST(MeshLoader, CornerNormalsSplitVerticesAndShortMaterialListRepeatsLastIndex)
{
    auto file = Parse(Header + "Mesh Box {\n" + Geometry +
                      "  MeshNormals { 2; 0.0;0.0;-1.0;, 0.0;1.0;0.0;; 2; 4;0,0,0,0;, 3;1,1,1;; }\n"
                      "  MeshTextureCoords { 5; 0.0;0.0;, 0.0;1.0;, 1.0;1.0;, 1.0;0.0;, 0.5;0.5;; }\n"
                      "  MeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }\n"
                      "}\n");
    ASSERT_TRUE(file);
    std::string error;
    auto mesh = LoadMeshFromXof(FirstMesh(*file), error);
    ASSERT_TRUE(mesh) << error;
    const auto& g = *mesh->geometry;
    // Positions 0 and 3 appear with two different normals: 4 + 1 + 2 vertices.
    EXPECT_EQ(g.vertices().size(), 7u);
    EXPECT_EQ(g.faceSubsets(), (std::vector<std::uint32_t>{0, 0, 0}));
    EXPECT_EQ(g.vertices()[g.indices()[7]].normal, Vector(0, 1, 0));
    EXPECT_EQ(g.vertices()[g.indices()[2]].uv, glm::vec2(1, 1));
}

TEST(MeshLoader, MeshWithoutMaterialListHasNoSubsetMaterials)
{
    auto file = Parse(Header + "Mesh Bare {\n" + Geometry + "}\n");
    ASSERT_TRUE(file);
    std::string error;
    auto mesh = LoadMeshFromXof(FirstMesh(*file), error);
    ASSERT_TRUE(mesh);
    EXPECT_TRUE(mesh->materials.empty());
    EXPECT_EQ(mesh->geometry->faceCount(), 3);
}

TEST(MeshLoader, FaceIndexBeyondTheVerticesIsAnError)
{
    auto file = Parse(Header + "Mesh Bad { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,3;; }\n");
    ASSERT_TRUE(file);
    std::string error;
    EXPECT_FALSE(LoadMeshFromXof(FirstMesh(*file), error));
    EXPECT_NE(error.find("Bad"), std::string::npos);
}
