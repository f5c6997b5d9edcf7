#include "scene/CD3DMesh.h"

#include "scene/MeshLoader.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

namespace vorlu {

void CD3DMesh::Destroy()
{
    materials_.clear();
    textures_.clear();
    textureNames_.clear();
    bUseMaterials = true;
    mesh.reset();
}

bool CD3DMesh::InitFromXOF(SceneContext& context, const XObject& meshdata, std::string* error)
{
    Destroy();
    ObjectName = meshdata.name();
    std::string why;
    auto loaded = LoadMeshFromXof(meshdata, why);
    if (!loaded) {
        if (error)
            *error = why;
        return false;
    }
    mesh = loaded->geometry;
    std::vector<Material> materials;
    std::vector<std::string> names;
    for (const auto& m : loaded->materials) {
        materials.push_back(m.material);
        names.push_back(m.textureFilename);
    }
    LoadMaterials(&context, std::move(materials), std::move(names));
    return true;
}

void CD3DMesh::InitFromGeometry(SceneContext* context, std::shared_ptr<MeshGeometry> geometry,
                                const std::vector<Material>& materials, const std::vector<std::string>& textureNames)
{
    Destroy();
    mesh = std::move(geometry);
    std::vector<std::string> names = textureNames;
    names.resize(materials.size());
    LoadMaterials(context, materials, std::move(names));
}

void CD3DMesh::LoadMaterials(SceneContext* context, std::vector<Material> materials, std::vector<std::string> names)
{
    if (materials.empty())
        return;
    materials_ = std::move(materials);
    textureNames_ = std::move(names);
    textures_.assign(materials_.size(), nullptr);
    for (std::size_t i = 0; i < materials_.size(); ++i) {
        materials_[i].Ambient = materials_[i].Diffuse;
        if (context)
            textures_[i] = context->LoadTexture(textureNames_[i]);
    }
}

void CD3DMesh::SetMaterialOverride(const Material& material)
{
    override_ = material;
    bUseMaterialOverride = true;
}

void CD3DMesh::RenderEx(Device& device, bool bDrawOpaqueSubsets, bool bDrawAlphaSubsets) const
{
    if (!mesh)
        return;
    const int count = GetMaterialCount();
    if (bDrawOpaqueSubsets) {
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (bUseMaterials) {
                if (materials_[at].Diffuse.a == 1.0f) {
                    device.SetMaterial(materials_[at]);
                    device.SetTexture(0, textures_[at]);
                    device.DrawSubset(*mesh, i);
                }
            } else if (bUseMaterialOverride) {
                if (override_.Diffuse.a == 1.0f) {
                    device.SetTexture(0, textures_[at]);
                    device.SetMaterial(override_);
                    device.DrawSubset(*mesh, i);
                }
            } else {
                device.DrawSubset(*mesh, i);
            }
        }
    }
    if (bDrawAlphaSubsets && (bUseMaterials || bUseMaterialOverride)) {
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (bUseMaterials) {
                if (materials_[at].Diffuse.a < 1.0f) {
                    device.SetMaterial(materials_[at]);
                    device.SetTexture(0, textures_[at]);
                    device.DrawSubset(*mesh, i);
                }
            } else if (override_.Diffuse.a < 1.0f) {
                device.SetMaterial(override_);
                device.SetTexture(0, textures_[at]);
                device.DrawSubset(*mesh, i);
            }
        }
    }
}

} // namespace vorlu
