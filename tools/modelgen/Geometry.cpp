#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

namespace modelgen {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec3 normalised(Vec3 a)
{
    const double len = std::sqrt(dot(a, a));
    return len > 0 ? a * (1.0 / len) : a;
}

namespace {

using VertexKey = std::array<long long, 6>;

long long quantise(double v) { return std::llround(v * 1e6); }

VertexKey keyOf(Vec3 p, Vec3 n)
{
    return {quantise(p.x), quantise(p.y), quantise(p.z), quantise(n.x), quantise(n.y), quantise(n.z)};
}

std::uint32_t vertexOf(MeshData& m, Vec3 p, Vec3 n)
{
    const auto [it, added] = m.vertexIndex.try_emplace(keyOf(p, n), static_cast<std::uint32_t>(m.positions.size()));
    if (added) {
        m.positions.push_back(p);
        m.normals.push_back(n);
    }
    return it->second;
}

// Round shapes are built along y and turned onto their axis by swapping coordinates.
Vec3 onAxis(Vec3 v, Axis axis)
{
    switch (axis) {
    case Axis::X: return {v.y, v.x, v.z};
    case Axis::Z: return {v.x, v.z, v.y};
    case Axis::Y: break;
    }
    return v;
}

struct Circle {
    std::vector<double> c, s;
    explicit Circle(int segments)
    {
        for (int i = 0; i <= segments; ++i) {
            const double a = 2.0 * std::numbers::pi * i / segments;
            c.push_back(std::cos(a));
            s.push_back(std::sin(a));
        }
    }
};

// Side wall of a cylinder between y0 and y1; normals point away from the axis,
// or towards it for the inside of a hole.
void addWall(MeshData& m, Vec3 at, double radius, double y0, double y1, Axis axis, int segments, bool inward,
             int material)
{
    const Circle k(segments);
    const double sign = inward ? -1.0 : 1.0;
    for (int i = 0; i < segments; ++i) {
        const Vec3 n0{sign * k.c[i], 0, sign * k.s[i]};
        const Vec3 n1{sign * k.c[i + 1], 0, sign * k.s[i + 1]};
        const Vec3 a{radius * k.c[i], y0, radius * k.s[i]};
        const Vec3 b{radius * k.c[i + 1], y0, radius * k.s[i + 1]};
        const Vec3 c{radius * k.c[i + 1], y1, radius * k.s[i + 1]};
        const Vec3 d{radius * k.c[i], y1, radius * k.s[i]};
        const Vec3 na = onAxis(n0, axis), nb = onAxis(n1, axis);
        m.triangle(at + onAxis(a, axis), at + onAxis(b, axis), at + onAxis(c, axis), na, nb, nb, material);
        m.triangle(at + onAxis(a, axis), at + onAxis(c, axis), at + onAxis(d, axis), na, nb, na, material);
    }
}

// Flat annulus (inner 0: a full disc) at height y, facing up or down.
void addCap(MeshData& m, Vec3 at, double outer, double inner, double y, bool up, Axis axis, int segments,
            int material)
{
    const Circle k(segments);
    const Vec3 n = onAxis({0, up ? 1.0 : -1.0, 0}, axis);
    for (int i = 0; i < segments; ++i) {
        const Vec3 a{outer * k.c[i], y, outer * k.s[i]};
        const Vec3 b{outer * k.c[i + 1], y, outer * k.s[i + 1]};
        if (inner <= 0) {
            m.triangle(at + onAxis({0, y, 0}, axis), at + onAxis(a, axis), at + onAxis(b, axis), n, n, n, material);
            continue;
        }
        const Vec3 c{inner * k.c[i + 1], y, inner * k.s[i + 1]};
        const Vec3 d{inner * k.c[i], y, inner * k.s[i]};
        m.quad(at + onAxis(a, axis), at + onAxis(b, axis), at + onAxis(c, axis), at + onAxis(d, axis), n, material);
    }
}

} // namespace

void MeshData::triangle(Vec3 a, Vec3 b, Vec3 c, Vec3 na, Vec3 nb, Vec3 nc, int material)
{
    if (dot(cross(b - a, c - a), na + nb + nc) < 0) {
        std::swap(b, c);
        std::swap(nb, nc);
    }
    faces.push_back({vertexOf(*this, a, na), vertexOf(*this, b, nb), vertexOf(*this, c, nc)});
    faceMaterial.push_back(material);
}

void MeshData::quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 normal, int material)
{
    triangle(a, b, c, normal, normal, normal, material);
    triangle(a, c, d, normal, normal, normal, material);
}

void addBox(MeshData& m, Vec3 at, double w, double h, double d, int material)
{
    addBevelBox(m, at, w, h, d, 0.0, material);
}

void addBevelBox(MeshData& m, Vec3 at, double w, double h, double d, double bevel, int material)
{
    const double hx = w / 2, hy = h / 2, hz = d / 2;
    const double b = std::clamp(bevel, 0.0, std::min({hx, hy, hz}) * 0.9);
    // For each corner, the corner's point on each of its three faces.
    auto onFace = [&](int face, double sx, double sy, double sz) -> Vec3 {
        switch (face) {
        case 0: return at + Vec3{sx * hx, sy * (hy - b), sz * (hz - b)};
        case 1: return at + Vec3{sx * (hx - b), sy * hy, sz * (hz - b)};
        default: return at + Vec3{sx * (hx - b), sy * (hy - b), sz * hz};
        }
    };
    for (double s : {-1.0, 1.0}) {
        // Faces x = ±hx, y = ±hy, z = ±hz.
        m.quad(onFace(0, s, -1, -1), onFace(0, s, 1, -1), onFace(0, s, 1, 1), onFace(0, s, -1, 1), {s, 0, 0},
               material);
        m.quad(onFace(1, -1, s, -1), onFace(1, 1, s, -1), onFace(1, 1, s, 1), onFace(1, -1, s, 1), {0, s, 0},
               material);
        m.quad(onFace(2, -1, -1, s), onFace(2, 1, -1, s), onFace(2, 1, 1, s), onFace(2, -1, 1, s), {0, 0, s},
               material);
    }
    if (b <= 0) {
        return;
    }
    for (double s : {-1.0, 1.0}) {
        for (double t : {-1.0, 1.0}) {
            // Edges along z (between x and y faces), along y (x and z) and along x (y and z).
            m.quad(onFace(0, s, t, -1), onFace(0, s, t, 1), onFace(1, s, t, 1), onFace(1, s, t, -1),
                   normalised({s, t, 0}), material);
            m.quad(onFace(0, s, -1, t), onFace(0, s, 1, t), onFace(2, s, 1, t), onFace(2, s, -1, t),
                   normalised({s, 0, t}), material);
            m.quad(onFace(1, -1, s, t), onFace(1, 1, s, t), onFace(2, 1, s, t), onFace(2, -1, s, t),
                   normalised({0, s, t}), material);
            for (double u : {-1.0, 1.0}) {
                const Vec3 n = normalised({s, t, u});
                m.triangle(onFace(0, s, t, u), onFace(1, s, t, u), onFace(2, s, t, u), n, n, n, material);
            }
        }
    }
}

void addCylinder(MeshData& m, Vec3 at, double radius, double length, Axis axis, int segments, int material)
{
    addWall(m, at, radius, -length / 2, length / 2, axis, segments, false, material);
    addCap(m, at, radius, 0, length / 2, true, axis, segments, material);
    addCap(m, at, radius, 0, -length / 2, false, axis, segments, material);
}

void addRing(MeshData& m, Vec3 at, double outer, double inner, double length, Axis axis, int segments,
             int material)
{
    addWall(m, at, outer, -length / 2, length / 2, axis, segments, false, material);
    addWall(m, at, inner, -length / 2, length / 2, axis, segments, true, material);
    addCap(m, at, outer, inner, length / 2, true, axis, segments, material);
    addCap(m, at, outer, inner, -length / 2, false, axis, segments, material);
}

void addRecessPlate(MeshData& m, Vec3 at, double w, double h, double d, double radius, double depth,
                    int segments, int material)
{
    const double hx = w / 2, hy = h / 2, hz = d / 2;
    // Bottom and the four sides.
    m.quad(at + Vec3{-hx, -hy, -hz}, at + Vec3{hx, -hy, -hz}, at + Vec3{hx, -hy, hz}, at + Vec3{-hx, -hy, hz},
           {0, -1, 0}, material);
    for (double s : {-1.0, 1.0}) {
        m.quad(at + Vec3{s * hx, -hy, -hz}, at + Vec3{s * hx, hy, -hz}, at + Vec3{s * hx, hy, hz},
               at + Vec3{s * hx, -hy, hz}, {s, 0, 0}, material);
        m.quad(at + Vec3{-hx, -hy, s * hz}, at + Vec3{hx, -hy, s * hz}, at + Vec3{hx, hy, s * hz},
               at + Vec3{-hx, hy, s * hz}, {0, 0, s}, material);
    }
    // Top: the strips left and right of the square that holds the recess ...
    const Vec3 up{0, 1, 0};
    if (hx - hz > 1e-9) {
        for (double s : {-1.0, 1.0}) {
            m.quad(at + Vec3{s * hx, hy, -hz}, at + Vec3{s * hz, hy, -hz}, at + Vec3{s * hz, hy, hz},
                   at + Vec3{s * hx, hy, hz}, up, material);
        }
    }
    // ... and the square itself, joined to the rim along rays from the centre.
    // Whole eighths of a turn land on the square's corners.
    const int n = std::max(8, (segments + 7) / 8 * 8);
    const Circle k(n);
    for (int i = 0; i < n; ++i) {
        auto rim = [&](int j) { return at + Vec3{radius * k.c[j], hy, radius * k.s[j]}; };
        auto edge = [&](int j) {
            const double t = hz / std::max(std::abs(k.c[j]), std::abs(k.s[j]));
            return at + Vec3{t * k.c[j], hy, t * k.s[j]};
        };
        m.quad(rim(i), rim(i + 1), edge(i + 1), edge(i), up, material);
    }
    addWall(m, at, radius, hy - depth, hy, Axis::Y, n, true, material);
    addCap(m, at, radius, 0, hy - depth, true, Axis::Y, n, material);
}

std::string checkMesh(const MeshData& m)
{
    std::ostringstream problems;
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        const auto& [a, b, c] = m.faces[f];
        const Vec3 n = cross(m.positions[b] - m.positions[a], m.positions[c] - m.positions[a]);
        if (dot(n, n) < 1e-18) {
            problems << "face " << f << " has no area; ";
        } else if (dot(n, m.normals[a] + m.normals[b] + m.normals[c]) <= 0) {
            problems << "face " << f << " faces inwards; ";
        }
    }
    for (std::size_t v = 0; v < m.normals.size(); ++v) {
        if (std::abs(dot(m.normals[v], m.normals[v]) - 1.0) > 1e-6) {
            problems << "normal " << v << " is not of unit length; ";
        }
    }
    if (m.faces.size() != m.faceMaterial.size()) {
        problems << "faces and materials differ in number; ";
    }
    return problems.str();
}

} // namespace modelgen
