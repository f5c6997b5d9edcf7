#pragma once
// Writes a model file as a DirectX ".x" text file that uses only the standard
// templates (Frame, FrameTransformMatrix, Mesh, MeshNormals, MeshMaterialList,
// Material), so that any ".x" reader loads it.

#include "Description.h"

#include <ostream>

namespace modelgen {

void writeXFile(std::ostream& out, const ModelFile& file, const std::map<std::string, Material>& materials);

} // namespace modelgen
