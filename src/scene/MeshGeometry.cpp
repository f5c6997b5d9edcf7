#include "scene/MeshGeometry.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace vorlu {

namespace {

// Faces per bounding box of the picking pre-test; neighbouring faces of a
// mesh file tend to lie close together, so runs make tight boxes.
constexpr int ChunkFaces = 32;

std::uint64_t nextId()
{
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

} // namespace

MeshGeometry::MeshGeometry(std::vector<MeshVertex> vertices, std::vector<std::uint32_t> indices,
                           std::vector<std::uint32_t> faceSubsets)
    : vertices_(std::move(vertices)), indices_(std::move(indices)), faceSubsets_(std::move(faceSubsets)),
      id_(nextId()), lifetime_(std::make_shared<const char>('\0'))
{
    faceSubsets_.resize(indices_.size() / 3, 0);
    indices_.resize(faceSubsets_.size() * 3);
    for (auto& i : indices_)
        if (i >= vertices_.size())
            i = 0; // defensive: the loader already checks
    if (vertices_.empty()) {
        indices_.clear();
        faceSubsets_.clear();
    }

    // Subset numbers index per-subset tables, so callers keep them below their material count
    // (the loader checks them); summed wide so that the largest number cannot wrap to zero.
    std::uint64_t widest = 0;
    for (auto s : faceSubsets_)
        widest = std::max<std::uint64_t>(widest, std::uint64_t{s} + 1);
    const auto subsets = static_cast<std::size_t>(widest);
    std::vector<std::uint32_t> counts(subsets, 0);
    for (auto s : faceSubsets_)
        ++counts[s];
    ranges_.resize(subsets);
    std::uint32_t at = 0;
    for (std::size_t s = 0; s < subsets; ++s) {
        ranges_[s] = {at * 3, counts[s] * 3};
        at += counts[s];
    }
    drawIndices_.resize(indices_.size());
    std::vector<std::uint32_t> fill(subsets, 0);
    for (std::size_t f = 0; f < faceSubsets_.size(); ++f) {
        const auto s = faceSubsets_[f];
        const auto dst = ranges_[s].first + fill[s]++ * 3;
        std::copy_n(indices_.begin() + static_cast<std::ptrdiff_t>(f * 3), 3,
                    drawIndices_.begin() + static_cast<std::ptrdiff_t>(dst));
    }

    if (!vertices_.empty()) {
        boxMin_ = boxMax_ = vertices_.front().position;
        for (const auto& v : vertices_) {
            boxMin_ = glm::min(boxMin_, v.position);
            boxMax_ = glm::max(boxMax_, v.position);
        }
    }
    const int faces = faceCount();
    for (int first = 0; first < faces; first += ChunkFaces) {
        Chunk c;
        c.firstFace = first;
        c.faceCount = std::min(ChunkFaces, faces - first);
        c.lo = c.hi = vertices_[indices_[static_cast<std::size_t>(first) * 3]].position;
        for (int f = first; f < first + c.faceCount; ++f)
            for (int k = 0; k < 3; ++k) {
                const auto& p = vertices_[indices_[static_cast<std::size_t>(f) * 3 + static_cast<std::size_t>(k)]].position;
                c.lo = glm::min(c.lo, p);
                c.hi = glm::max(c.hi, p);
            }
        chunks_.push_back(c);
    }
}

MeshGeometry::Range MeshGeometry::subsetRange(int subset) const
{
    if (subset < 0 || static_cast<std::size_t>(subset) >= ranges_.size())
        return {};
    return ranges_[static_cast<std::size_t>(subset)];
}

bool RayHitsBox(const Vector& origin, const Vector& direction, const Vector& lo, const Vector& hi)
{
    float tmin = 0.0f;
    float tmax = std::numeric_limits<float>::infinity();
    for (int a = 0; a < 3; ++a) {
        if (direction[a] == 0.0f) {
            if (origin[a] < lo[a] || origin[a] > hi[a])
                return false;
            continue;
        }
        const float inv = 1.0f / direction[a];
        float t0 = (lo[a] - origin[a]) * inv;
        float t1 = (hi[a] - origin[a]) * inv;
        if (t0 > t1)
            std::swap(t0, t1);
        // Widen slightly so a face lying in the box's plane is not lost to rounding.
        const float slack = 1e-5f * std::max(1.0f, std::abs(t1));
        tmin = std::max(tmin, t0 - slack);
        tmax = std::min(tmax, t1 + slack);
        if (tmin > tmax)
            return false;
    }
    return true;
}

std::optional<MeshGeometry::Hit> MeshGeometry::Intersect(const Vector& origin, const Vector& direction) const
{
    if (chunks_.empty() || !RayHitsBox(origin, direction, boxMin_, boxMax_))
        return std::nullopt;
    std::optional<Hit> best;
    for (const auto& c : chunks_) {
        if (!RayHitsBox(origin, direction, c.lo, c.hi))
            continue;
        for (int f = c.firstFace; f < c.firstFace + c.faceCount; ++f) {
            const std::size_t i = static_cast<std::size_t>(f) * 3;
            const Vector& p0 = vertices_[indices_[i]].position;
            const Vector e1 = vertices_[indices_[i + 1]].position - p0;
            const Vector e2 = vertices_[indices_[i + 2]].position - p0;
            const Vector pv = glm::cross(direction, e2);
            const float det = glm::dot(e1, pv);
            if (det == 0.0f)
                continue;
            const float inv = 1.0f / det;
            const Vector tv = origin - p0;
            const float u = glm::dot(tv, pv) * inv;
            if (u < 0.0f || u > 1.0f)
                continue;
            const Vector qv = glm::cross(tv, e1);
            const float v = glm::dot(direction, qv) * inv;
            if (v < 0.0f || u + v > 1.0f)
                continue;
            const float t = glm::dot(e2, qv) * inv;
            if (t < 0.0f)
                continue;
            if (!best || t < best->distance)
                best = Hit{f, u, v, t};
        }
    }
    return best;
}

} // namespace vorlu
