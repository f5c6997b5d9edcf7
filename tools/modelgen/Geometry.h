#pragma once
// Triangle meshes of simple solids for the model generator.
//
// Coordinates follow the model's left-handed axes (x right, y up, z away from
// the viewer). A triangle's front is the side from which its corners run
// clockwise, as the renderer expects; with these axes that is the side its
// normal (b - a) x (c - a) points to. Every shape is built so that this normal
// points out of the solid.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace modelgen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, double s);
double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalised(Vec3 a);

// Axis along which a round shape runs.
enum class Axis { X, Y, Z };

struct MeshData {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals; // one per position
    std::vector<std::array<std::uint32_t, 3>> faces;
    std::vector<int> faceMaterial; // one per face, index into the mesh's material list
    // Corners that agree to a micrometre and share a normal are one vertex.
    std::map<std::array<long long, 6>, std::uint32_t> vertexIndex;

    // Adds a triangle; its corners are reordered when needed so that its
    // front faces the side the normals point to.
    void triangle(Vec3 a, Vec3 b, Vec3 c, Vec3 na, Vec3 nb, Vec3 nc, int material);
    // A flat quad a-b-c-d (corners in ring order) with one normal.
    void quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 normal, int material);
};

// All shapes are centred on `at`; w, h, d are the full sizes along x, y, z.
void addBox(MeshData& m, Vec3 at, double w, double h, double d, int material);
// A box whose edges and corners are cut off by `bevel`.
void addBevelBox(MeshData& m, Vec3 at, double w, double h, double d, double bevel, int material);
// A closed cylinder of the given radius and length along `axis`.
void addCylinder(MeshData& m, Vec3 at, double radius, double length, Axis axis, int segments, int material);
// A tube: a cylinder with a round hole along its axis (a disc, a washer).
void addRing(MeshData& m, Vec3 at, double outer, double inner, double length, Axis axis, int segments,
             int material);
// A flat plate (w along x, h thick along y, d along z, d <= w) with a round
// recess of `radius` and `depth` sunk into its top face at the plate's centre.
void addRecessPlate(MeshData& m, Vec3 at, double w, double h, double d, double radius, double depth,
                    int segments, int material);

// Checks that every face's front matches its vertex normals and that every
// normal has unit length; returns an empty string or what is wrong.
std::string checkMesh(const MeshData& m);

} // namespace modelgen
