#pragma once
// Paints the model's parts in a drive's state colour and returns them to the
// materials of their model files.
#include "drives/DrivePainter.h"

#include <string>

namespace vorlu {

class CD3DFrame;
class CD3DMesh;
class Scene;

class ModelPainter : public DrivePainter {
public:
    explicit ModelPainter(Scene& scene) : scene_(scene) {}

    // The first mesh of the first part of that name (units in order, so a
    // name every unit has is the lowest-numbered unit's) takes the palette
    // entry's material; its textures stay. Requests a frame either way.
    void decide_colour(const std::string& partName, int colourIndex) override;
    // The part's first mesh draws with its file materials again; requests a frame.
    void restoreobject(const std::string& partName);
    // Restores the reset list and every unit's drive part, then requests one frame.
    void restoreAllParts() override;

    // The frame the last search found; null when it found none.
    CD3DFrame* CurrentPartFrame() const { return currentPartFrame_; }

private:
    // The mesh a part name paints: a frame's first mesh, or a mesh of that name.
    CD3DMesh* findPartMesh(const std::string& partName);
    void restore(const std::string& partName);

    Scene& scene_;
    CD3DFrame* currentPartFrame_ = nullptr;
};

} // namespace vorlu
