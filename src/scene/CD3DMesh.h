#pragma once
// One mesh read from a ".x" file: the triangle mesh, the material and texture
// of each subset, and an override material that can replace them all.
#include "scene/Device.h"
#include "scene/MeshGeometry.h"

#include <memory>
#include <string>
#include <vector>

namespace vorlu {

class SceneContext;
class XObject;

class CD3DMesh {
public:
    std::shared_ptr<MeshGeometry> mesh; // none before loading or after a failed load
    bool bUseMaterials = true;
    bool bUseMaterialOverride = false;
    std::string ObjectName;

    // Loads a "Mesh" data object, its materials and their textures. On bad
    // data returns false with error set; the mesh object then stays empty.
    bool InitFromXOF(SceneContext& context, const XObject& meshdata, std::string* error = nullptr);
    // Builds the mesh from geometry already in memory (generated models, tests).
    void InitFromGeometry(SceneContext* context, std::shared_ptr<MeshGeometry> geometry,
                          const std::vector<Material>& materials, const std::vector<std::string>& textureNames = {});

    // Opaque pass draws subsets whose diffuse alpha is exactly 1, the
    // translucent pass those below 1.
    void RenderEx(Device& device, bool bDrawOpaqueSubsets, bool bDrawAlphaSubsets) const;

    void SetMaterialOverride(const Material& material);
    const Material& GetMaterialOverride() const { return override_; }
    int GetMaterialCount() const { return static_cast<int>(materials_.size()); }
    const Material& GetMaterial(int i) const { return materials_.at(static_cast<std::size_t>(i)); }
    const std::string& GetMaterialTextureName(int i) const { return textureNames_.at(static_cast<std::size_t>(i)); }
    const std::shared_ptr<Texture>& GetMaterialTexture(int i) const { return textures_.at(static_cast<std::size_t>(i)); }

    void Destroy();

private:
    void LoadMaterials(SceneContext* context, std::vector<Material> materials, std::vector<std::string> names);

    Material override_{};
    std::vector<Material> materials_;
    std::vector<std::shared_ptr<Texture>> textures_;
    std::vector<std::string> textureNames_;
};

} // namespace vorlu
