#pragma once
#include "scene/SceneMath.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vorlu {

struct MeshVertex {
    Vector position{0.0f};
    Vector normal{0.0f};
    glm::vec2 uv{0.0f};
};

// An indexed triangle mesh divided into subsets by face attribute. Immutable
// once built, so devices may cache their copy of it by id().
class MeshGeometry {
public:
    // indices: three per face; faceSubsets: the subset of each face.
    MeshGeometry(std::vector<MeshVertex> vertices, std::vector<std::uint32_t> indices,
                 std::vector<std::uint32_t> faceSubsets);
    MeshGeometry(const MeshGeometry&) = delete;
    MeshGeometry& operator=(const MeshGeometry&) = delete;

    struct Range {
        std::uint32_t first = 0; // into drawIndices()
        std::uint32_t count = 0; // indices, three per face
    };

    struct Hit {
        int face = -1;
        float u = 0, v = 0; // barycentric: hit = v0 + u (v1 - v0) + v (v2 - v0)
        float distance = 0; // ray parameter: hit = origin + distance x direction
    };

    const std::vector<MeshVertex>& vertices() const { return vertices_; }
    const std::vector<std::uint32_t>& indices() const { return indices_; }
    const std::vector<std::uint32_t>& faceSubsets() const { return faceSubsets_; }
    int faceCount() const { return static_cast<int>(faceSubsets_.size()); }

    // The faces regrouped by subset (stable within a subset) for drawing.
    const std::vector<std::uint32_t>& drawIndices() const { return drawIndices_; }
    Range subsetRange(int subset) const;

    const Vector& boxMin() const { return boxMin_; }
    const Vector& boxMax() const { return boxMax_; }

    // Nearest face hit by the ray (double-sided, distance >= 0); on equal
    // distances the lower face index wins. direction need not be unit length.
    std::optional<Hit> Intersect(const Vector& origin, const Vector& direction) const;

    std::uint64_t id() const { return id_; }
    // Expires when the geometry is destroyed; lets device caches drop their copy.
    std::weak_ptr<const char> lifetime() const { return lifetime_; }

private:
    struct Chunk {
        Vector lo, hi;
        int firstFace = 0, faceCount = 0;
    };

    std::vector<MeshVertex> vertices_;
    std::vector<std::uint32_t> indices_;
    std::vector<std::uint32_t> faceSubsets_;
    std::vector<std::uint32_t> drawIndices_;
    std::vector<Range> ranges_;
    std::vector<Chunk> chunks_;
    Vector boxMin_{0.0f}, boxMax_{0.0f};
    std::uint64_t id_ = 0;
    std::shared_ptr<const char> lifetime_;
};

// Ray against an axis-aligned box: true when some t >= 0 lies inside it.
bool RayHitsBox(const Vector& origin, const Vector& direction, const Vector& lo, const Vector& hi);

} // namespace vorlu
