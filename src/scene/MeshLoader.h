#pragma once
#include "scene/Device.h"
#include "scene/MeshGeometry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

class XObject;

struct MeshMaterial {
    Material material;
    std::string textureFilename; // empty when the material names no texture
};

struct LoadedMesh {
    std::shared_ptr<MeshGeometry> geometry;
    std::vector<MeshMaterial> materials; // one per subset
};

// True when obj is an instance of the standard template of that name
// ("Frame", "Mesh", ...), recognised by its name or its GUID.
bool IsTemplate(const class XObject& obj, const std::string& standardName);

// Builds the triangle mesh and its subset materials from a "Mesh" data
// object: polygons are fan-triangulated, vertices are split where a corner
// carries its own normal, normals are computed when the file has none, and
// faces are grouped by the material list. nullopt and error on bad data.
std::optional<LoadedMesh> LoadMeshFromXof(const XObject& meshData, std::string& error);

} // namespace vorlu
