#pragma once
// Stub model files for the assembly tests: one small frame per file, named
// after the file, so that what went where can be read off the frame tree.
#include "model/ModelLayout.h"

#include <QTemporaryDir>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace vorlu::test {

// "vid1.x" -> "part_vid1".
inline std::string StubFrameName(const std::string& file)
{
    return "part_" + file.substr(0, file.size() - 2);
}

// A frame holding one triangle, translated by (tx, ty, tz) so that a test can
// tell whether the file's own placement leaks into the unit's position.
inline std::string StubFrame(const std::string& name, float tx = 5, float ty = 6, float tz = 7)
{
    return "Frame " + name + " {\n FrameTransformMatrix {\n  1,0,0,0, 0,1,0,0, 0,0,1,0, " + std::to_string(tx) +
           "," + std::to_string(ty) + "," + std::to_string(tz) +
           ",1;;\n }\n Mesh " + name + "_mesh {\n  3; 0;0;0;, 0;1;0;, 1;1;0;;\n  1; 3;0,1,2;;\n"
           "  MeshMaterialList { 1; 1; 0;\n   Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n  }\n }\n}\n";
}

// Every file the model reads, each name once.
inline std::vector<std::string> AllModelFiles()
{
    std::vector<std::string> files;
    std::set<std::string> seen;
    for (int unit = 1; unit <= UnitCount; ++unit)
        for (const auto& f : UnitMeshFiles(unit))
            if (seen.insert(f).second)
                files.push_back(f);
    for (const auto& f : RackMeshFiles())
        if (seen.insert(f).second)
            files.push_back(f);
    return files;
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Writes a stub for every model file into dir; "vid1.x" also holds a frame
// named "Common" and "vid2.x" a top-level mesh named "loose_mesh".
inline void WriteStubModel(const QTemporaryDir& dir)
{
    for (const auto& f : AllModelFiles()) {
        std::string text = "xof 0303txt 0032\n" + StubFrame(StubFrameName(f));
        if (f == "vid1.x")
            text += StubFrame("Common");
        if (f == "vid2.x")
            text += "Mesh loose_mesh {\n 3; 0;0;0;, 0;1;0;, 1;1;0;;\n 1; 3;0,1,2;;\n}\n";
        WriteText(dir.filePath(QString::fromStdString(f)).toStdString(), text);
    }
}

inline std::string FolderOf(const QTemporaryDir& dir)
{
    return dir.path().toStdString() + "/";
}

} // namespace vorlu::test
