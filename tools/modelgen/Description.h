#pragma once
// The model description: materials, and the files of the model with their
// frames and the solids each frame's mesh is made of. The text form is
// explained at the top of description.txt.

#include "Geometry.h"

#include <istream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace modelgen {

struct Material {
    std::string name;
    double diffuse[4] = {0, 0, 0, 1};
    double power = 0;
    double specular[3] = {0, 0, 0};
    double emissive[3] = {0, 0, 0};
};

struct Frame {
    std::string name;
    Vec3 position;                      // translation of the frame in its parent
    MeshData mesh;                      // empty when the frame only groups others
    std::vector<std::string> materials; // the mesh's materials, by name, in subset order
    std::vector<Frame> children;
};

struct ModelFile {
    std::string name;
    std::vector<Frame> frames; // top-level frames in file order
};

struct Model {
    std::map<std::string, Material> materials;
    std::vector<ModelFile> files;
};

// A description that cannot be read: the message names the line.
class DescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a description; `source` names it in error messages.
Model parseDescription(std::istream& in, const std::string& source);

} // namespace modelgen
