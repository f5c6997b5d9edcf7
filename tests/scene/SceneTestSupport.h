#pragma once
// Small scenes for the scene engine tests: squares facing the default eye,
// materials, and ".x" text written to a temporary folder.
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/MeshGeometry.h"

#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vorlu::test {

inline Material Mat(float r, float g, float b, float a = 1.0f)
{
    Material m;
    m.Diffuse = {r, g, b, a};
    m.Ambient = m.Diffuse;
    m.Power = 1;
    return m;
}

// A square of side 2 * half centred on (cx, cy, z), facing -z (the default
// eye), wound clockwise as seen from there; one subset per entry of subsets
// (each face i goes to subsets[i % n]).
inline std::shared_ptr<MeshGeometry> Square(float z, float half = 1.0f, float cx = 0.0f, float cy = 0.0f,
                                            std::vector<std::uint32_t> subsets = {0})
{
    std::vector<MeshVertex> v(4);
    v[0].position = {cx - half, cy - half, z};
    v[1].position = {cx - half, cy + half, z};
    v[2].position = {cx + half, cy + half, z};
    v[3].position = {cx + half, cy - half, z};
    for (auto& x : v)
        x.normal = {0, 0, -1};
    std::vector<std::uint32_t> faces = {subsets[0], subsets[1 % subsets.size()]};
    return std::make_shared<MeshGeometry>(v, std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}, faces);
}

inline std::shared_ptr<CD3DMesh> MeshOf(std::shared_ptr<MeshGeometry> g, std::vector<Material> materials,
                                        const std::string& name = "")
{
    auto m = std::make_shared<CD3DMesh>();
    m->InitFromGeometry(nullptr, std::move(g), materials);
    m->ObjectName = name;
    return m;
}

inline std::shared_ptr<CD3DFrame> FrameNamed(const std::string& name)
{
    auto f = std::make_shared<CD3DFrame>();
    f->ObjectName = name;
    return f;
}

inline std::string WriteFile(const QTemporaryDir& dir, const std::string& name, const std::string& text)
{
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A one-frame ".x" file: frame `frame` translated by (tx, ty, tz) holding a
// red unit square mesh `mesh` at z = 0 facing -z.
inline std::string SquareFile(const std::string& frame, const std::string& mesh, float tx = 0, float ty = 0,
                              float tz = 0)
{
    return "xof 0302txt 0032\n"
           "Frame " + frame + " {\n"
           " FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, "
        + std::to_string(tx) + "," + std::to_string(ty) + "," + std::to_string(tz) + ",1.0;; }\n"
           " Mesh " + mesh + " {\n"
           "  4; -1.0;-1.0;0.0;, -1.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;-1.0;0.0;;\n"
           "  1; 4;0,1,2,3;;\n"
           "  MeshMaterialList { 1; 1; 0;;\n"
           "   Material { 1.0;0.0;0.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
           "  }\n"
           " }\n"
           "}\n";
}

} // namespace vorlu::test
