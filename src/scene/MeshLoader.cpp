#include "scene/MeshLoader.h"

#include "scene/XFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

namespace vorlu {

namespace {

std::string normalizedGuid(const std::string& g)
{
    std::string out;
    for (char c : g)
        if (std::isxdigit(static_cast<unsigned char>(c)) || c == '-')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

const char* standardGuid(const std::string& name)
{
    static const std::pair<const char*, const char*> table[] = {
        {"Frame", "3D82AB46-62DA-11CF-AB39-0020AF71E433"},
        {"Mesh", "3D82AB44-62DA-11CF-AB39-0020AF71E433"},
        {"FrameTransformMatrix", "F6F23F41-7686-11CF-8F52-0040333594A3"},
        {"MeshNormals", "F6F23F43-7686-11CF-8F52-0040333594A3"},
        {"MeshTextureCoords", "F6F23F40-7686-11CF-8F52-0040333594A3"},
        {"MeshMaterialList", "F6F23F42-7686-11CF-8F52-0040333594A3"},
        {"Material", "3D82AB4D-62DA-11CF-AB39-0020AF71E433"},
        {"TextureFilename", "A42790E1-7810-11CF-8F52-0040333594A3"},
        {"AnimationSet", "3D82AB50-62DA-11CF-AB39-0020AF71E433"},
    };
    for (const auto& [n, g] : table)
        if (name == n)
            return g;
    return nullptr;
}

// Bounds-checked little-endian reader over an object's data bytes.
class DataReader {
public:
    explicit DataReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool u32(std::uint32_t& out)
    {
        if (pos_ > bytes_.size() || bytes_.size() - pos_ < 4)
            return false;
        out = static_cast<std::uint32_t>(bytes_[pos_]) | static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8
            | static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16 | static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }
    bool f32(float& out)
    {
        std::uint32_t bits = 0;
        if (!u32(bits))
            return false;
        std::memcpy(&out, &bits, 4);
        return true;
    }
    bool vec3(Vector& v) { return f32(v.x) && f32(v.y) && f32(v.z); }
    // A count that claims more 4-byte items than remain is rejected before
    // anything is allocated for it.
    bool count(std::uint32_t& n, std::size_t wordsEach)
    {
        return u32(n) && static_cast<std::uint64_t>(n) * wordsEach * 4 <= bytes_.size() - pos_;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

using Polygon = std::vector<std::uint32_t>;

bool readPolygons(DataReader& r, std::vector<Polygon>& out)
{
    std::uint32_t n = 0;
    if (!r.count(n, 1))
        return false;
    out.resize(n);
    for (auto& poly : out) {
        std::uint32_t k = 0;
        if (!r.count(k, 1))
            return false;
        poly.resize(k);
        for (auto& i : poly)
            if (!r.u32(i))
                return false;
    }
    return true;
}

Material readMaterial(const XObject& obj, std::string& texture)
{
    Material m;
    DataReader r(obj.data());
    float power = 0;
    bool ok = r.f32(m.Diffuse.r) && r.f32(m.Diffuse.g) && r.f32(m.Diffuse.b) && r.f32(m.Diffuse.a) && r.f32(power)
        && r.f32(m.Specular.r) && r.f32(m.Specular.g) && r.f32(m.Specular.b) && r.f32(m.Emissive.r)
        && r.f32(m.Emissive.g) && r.f32(m.Emissive.b);
    (void)ok; // a short material keeps zeros for what is missing
    m.Power = power;
    m.Specular.a = 1.0f;
    m.Emissive.a = 1.0f;
    for (const XObject* c : obj.children())
        if (IsTemplate(*c, "TextureFilename") && !c->strings().empty())
            texture = c->strings().front();
    return m;
}

MeshMaterial defaultMaterial()
{
    MeshMaterial mm;
    mm.material.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    mm.material.Specular.a = mm.material.Emissive.a = 1.0f;
    return mm;
}

} // namespace

bool IsTemplate(const XObject& obj, const std::string& standardName)
{
    if (obj.templateName() == standardName)
        return true;
    const char* guid = standardGuid(standardName);
    return guid && !obj.templateGuid().empty() && normalizedGuid(obj.templateGuid()) == guid;
}

std::optional<LoadedMesh> LoadMeshFromXof(const XObject& meshData, std::string& error)
{
    DataReader r(meshData.data());
    std::uint32_t nVertices = 0;
    if (!r.count(nVertices, 3)) {
        error = "mesh \"" + meshData.name() + "\": vertex list is truncated";
        return std::nullopt;
    }
    std::vector<Vector> positions(nVertices);
    for (auto& p : positions)
        r.vec3(p);
    std::vector<Polygon> faces;
    if (!readPolygons(r, faces)) {
        error = "mesh \"" + meshData.name() + "\": face list is truncated";
        return std::nullopt;
    }
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (auto i : faces[f])
            if (i >= nVertices) {
                error = "mesh \"" + meshData.name() + "\": face " + std::to_string(f) + " refers to vertex "
                    + std::to_string(i) + " of " + std::to_string(nVertices);
                return std::nullopt;
            }

    std::vector<Vector> normals;
    std::vector<Polygon> faceNormals;
    std::vector<glm::vec2> uvs;
    std::vector<std::uint32_t> faceMaterials;
    LoadedMesh out;
    for (const XObject* child : meshData.children()) {
        if (IsTemplate(*child, "MeshNormals")) {
            DataReader nr(child->data());
            std::uint32_t n = 0;
            std::vector<Vector> ns;
            std::vector<Polygon> fn;
            if (!nr.count(n, 3))
                continue;
            ns.resize(n);
            for (auto& v : ns)
                nr.vec3(v);
            if (!readPolygons(nr, fn) || fn.size() != faces.size())
                continue;
            bool fits = true;
            for (std::size_t f = 0; f < fn.size() && fits; ++f) {
                fits = fn[f].size() == faces[f].size();
                for (auto i : fn[f])
                    fits = fits && i < n;
            }
            if (fits) {
                normals = std::move(ns);
                faceNormals = std::move(fn);
            }
        } else if (IsTemplate(*child, "MeshTextureCoords")) {
            DataReader tr(child->data());
            std::uint32_t n = 0;
            if (!tr.count(n, 2) || n != nVertices)
                continue;
            uvs.resize(n);
            for (auto& t : uvs)
                tr.f32(t.x), tr.f32(t.y);
        } else if (IsTemplate(*child, "MeshMaterialList")) {
            DataReader mr(child->data());
            std::uint32_t nMaterials = 0, nIndexes = 0;
            if (!mr.u32(nMaterials) || !mr.count(nIndexes, 1))
                continue;
            std::size_t given = 0;
            for (const XObject* m : child->children())
                given += IsTemplate(*m, "Material") ? 1 : 0;
            // Missing materials are filled with a default, but only as many as there are faces to
            // use them: the count is a bare number the file need not back with any bytes.
            if (nMaterials > std::max(given, faces.size())) {
                error = "mesh \"" + meshData.name() + "\": material list claims " + std::to_string(nMaterials)
                    + " materials for " + std::to_string(faces.size()) + " faces";
                return std::nullopt;
            }
            faceMaterials.resize(nIndexes);
            for (auto& m : faceMaterials)
                mr.u32(m);
            for (std::size_t f = 0; f < faceMaterials.size() && nMaterials > 0; ++f)
                if (faceMaterials[f] >= nMaterials) {
                    error = "mesh \"" + meshData.name() + "\": face " + std::to_string(f) + " uses material "
                        + std::to_string(faceMaterials[f]) + " of " + std::to_string(nMaterials);
                    return std::nullopt;
                }
            // With no materials listed every face draws as the one plain subset.
            if (nMaterials == 0)
                std::fill(faceMaterials.begin(), faceMaterials.end(), 0);
            out.materials.clear();
            for (const XObject* m : child->children()) {
                if (!IsTemplate(*m, "Material") || out.materials.size() >= nMaterials)
                    continue;
                MeshMaterial mm;
                mm.material = readMaterial(*m, mm.textureFilename);
                out.materials.push_back(mm);
            }
            while (out.materials.size() < nMaterials)
                out.materials.push_back(defaultMaterial());
        }
    }
    // A short list means the last entry applies to the remaining faces.
    if (!faceMaterials.empty())
        faceMaterials.resize(faces.size(), faceMaterials.back());
    faceMaterials.resize(faces.size(), 0);

    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<std::uint32_t> subsets;
    std::unordered_map<std::uint64_t, std::uint32_t> corners;
    const bool haveNormals = !faceNormals.empty();
    auto corner = [&](std::size_t face, std::size_t k) {
        const std::uint32_t p = faces[face][k];
        const std::uint32_t n = haveNormals ? faceNormals[face][k] : 0;
        const std::uint64_t key = static_cast<std::uint64_t>(p) << 32 | n;
        auto [it, fresh] = corners.try_emplace(key, static_cast<std::uint32_t>(vertices.size()));
        if (fresh) {
            MeshVertex v;
            v.position = positions[p];
            if (haveNormals)
                v.normal = normals[n];
            if (!uvs.empty())
                v.uv = uvs[p];
            vertices.push_back(v);
        }
        return it->second;
    };
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (faces[f].size() < 3)
            continue;
        for (std::size_t k = 1; k + 1 < faces[f].size(); ++k) {
            indices.push_back(corner(f, 0));
            indices.push_back(corner(f, k));
            indices.push_back(corner(f, k + 1));
            subsets.push_back(faceMaterials[f]);
        }
    }
    if (!haveNormals) {
        // Area-weighted average of the faces around each vertex; with no
        // normals in the file each position is one vertex, so edges stay smooth.
        for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
            auto& a = vertices[indices[i]];
            auto& b = vertices[indices[i + 1]];
            auto& c = vertices[indices[i + 2]];
            const Vector n = glm::cross(b.position - a.position, c.position - a.position);
            a.normal += n;
            b.normal += n;
            c.normal += n;
        }
        for (auto& v : vertices)
            v.normal = Vec3Normalize(v.normal);
    }
    out.geometry = std::make_shared<MeshGeometry>(std::move(vertices), std::move(indices), std::move(subsets));
    return out;
}

} // namespace vorlu
