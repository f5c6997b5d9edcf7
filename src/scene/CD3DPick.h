#pragma once
// What lies under a pixel of the model view: one record per mesh the pick
// ray hits, in the order the frame walk found them.
#include "scene/SceneMath.h"

#include <cstdint>
#include <vector>

namespace vorlu {

class CD3DFrame;
class CD3DMesh;
class Device;
class SceneContext;

struct PickRecord {
    std::int32_t hit = 0;
    std::int32_t faceIndex = 0;
    float u = 0, v = 0;
    // Fraction of the near-to-far segment: 0 at the near plane, 1 at the far one.
    float distance = 0;
};

class CD3DPick {
public:
    int GetCount() const { return count_; }
    const PickRecord& GetRecord(int i) const { return records_.at(static_cast<std::size_t>(i)); }
    CD3DFrame* GetFrame(int i) const { return frames_.at(static_cast<std::size_t>(i)); }
    CD3DMesh* GetMesh(int i) const { return meshes_.at(static_cast<std::size_t>(i)); }
    // Room in the record lists: 0 when empty, then 10, growing by 10.
    int Capacity() const { return capacity_; }

    // Smallest distance; ties keep the earlier record; -1 when empty.
    int FindNearest() const;
    void Destroy();

    // Empties the results and picks with the device's viewport, view and
    // projection and the scene's world matrix. True when any enabled frame
    // of the subtree holds a mesh, hit or not.
    bool ViewportPick(const SceneContext& context, CD3DFrame& frame, float x, float y);
    // Appends without emptying.
    bool ViewportPickEx(CD3DFrame& frame, const Viewport& viewport, const Matrix& projection, const Matrix& view,
                        const Matrix& world, float x, float y);

private:
    void AddRecord(CD3DFrame* frame, CD3DMesh* mesh, const PickRecord& record);

    std::vector<PickRecord> records_;
    std::vector<CD3DFrame*> frames_;
    std::vector<CD3DMesh*> meshes_;
    int count_ = 0;
    int capacity_ = 0;
};

} // namespace vorlu
