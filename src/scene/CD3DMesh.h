#pragma once
// One mesh read from a ".x" file: the triangle mesh, the material and texture
// of each subset, and an override material that can replace them all.
#include "scene/Device.h"
#include "scene/MeshGeometry.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorlu {

class SceneContext;
class XObject;

// The material, texture name and texture of each subset; shared by every mesh
// drawn from the same data.
struct SubsetMaterials {
    std::vector<Material> materials;
    std::vector<std::string> textureNames;
    std::vector<std::shared_ptr<Texture>> textures;
};

// Loads each "Mesh" data object of a file once, however often the file refers
// to it: a file of references would otherwise cost a whole mesh per reference.
class MeshCache {
public:
    struct Entry {
        std::shared_ptr<MeshGeometry> geometry; // none when the data is bad
        std::shared_ptr<const SubsetMaterials> materials;
        std::string error;
    };
    const Entry& load(SceneContext* context, const XObject& meshdata);

private:
    std::unordered_map<const XObject*, Entry> entries_;
};

class CD3DMesh {
public:
    CD3DMesh() { Destroy(); }
    std::shared_ptr<MeshGeometry> mesh; // none before loading or after a failed load
    bool bUseMaterials = true;
    bool bUseMaterialOverride = false;
    std::string ObjectName;

    // Loads a "Mesh" data object, its materials and their textures. On bad
    // data returns false with error set; the mesh object then stays empty.
    // With a cache, data already loaded through it is shared instead of read again.
    bool InitFromXOF(SceneContext& context, const XObject& meshdata, std::string* error = nullptr,
                     MeshCache* cache = nullptr);
    // Builds the mesh from geometry already in memory (generated models, tests).
    void InitFromGeometry(SceneContext* context, std::shared_ptr<MeshGeometry> geometry,
                          const std::vector<Material>& materials, const std::vector<std::string>& textureNames = {});

    // Opaque pass draws subsets whose diffuse alpha is exactly 1, the
    // translucent pass those below 1.
    void RenderEx(Device& device, bool bDrawOpaqueSubsets, bool bDrawAlphaSubsets) const;

    void SetMaterialOverride(const Material& material);
    const Material& GetMaterialOverride() const { return override_; }
    int GetMaterialCount() const { return static_cast<int>(subsets_->materials.size()); }
    const Material& GetMaterial(int i) const { return subsets_->materials.at(static_cast<std::size_t>(i)); }

    void Destroy();

private:
    Material override_{};
    std::shared_ptr<const SubsetMaterials> subsets_;
};

} // namespace vorlu
