#include "scene/CD3DMesh.h"

#include "scene/MeshLoader.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

namespace vorlu {

namespace {

const std::shared_ptr<const SubsetMaterials>& noMaterials()
{
    static const std::shared_ptr<const SubsetMaterials> none = std::make_shared<SubsetMaterials>();
    return none;
}

std::shared_ptr<const SubsetMaterials> makeSubsets(SceneContext* context, std::vector<Material> materials,
                                                   std::vector<std::string> names)
{
    if (materials.empty())
        return noMaterials();
    auto out = std::make_shared<SubsetMaterials>();
    out->materials = std::move(materials);
    out->textureNames = std::move(names);
    out->textures.assign(out->materials.size(), nullptr);
    for (std::size_t i = 0; i < out->materials.size(); ++i) {
        out->materials[i].Ambient = out->materials[i].Diffuse;
        if (context)
            out->textures[i] = context->LoadTexture(out->textureNames[i]);
    }
    return out;
}

} // namespace

const MeshCache::Entry& MeshCache::load(SceneContext* context, const XObject& meshdata)
{
    auto [it, fresh] = entries_.try_emplace(&meshdata);
    if (!fresh)
        return it->second;
    Entry& e = it->second;
    auto loaded = LoadMeshFromXof(meshdata, e.error);
    if (!loaded)
        return e;
    std::vector<Material> materials;
    std::vector<std::string> names;
    for (const auto& m : loaded->materials) {
        materials.push_back(m.material);
        names.push_back(m.textureFilename);
    }
    e.geometry = loaded->geometry;
    e.materials = makeSubsets(context, std::move(materials), std::move(names));
    return e;
}

void CD3DMesh::Destroy()
{
    subsets_ = noMaterials();
    bUseMaterials = true;
    mesh.reset();
}

bool CD3DMesh::InitFromXOF(SceneContext& context, const XObject& meshdata, std::string* error, MeshCache* cache)
{
    Destroy();
    ObjectName = meshdata.name();
    MeshCache single;
    const MeshCache::Entry& e = (cache ? *cache : single).load(&context, meshdata);
    if (!e.geometry) {
        if (error)
            *error = e.error;
        return false;
    }
    mesh = e.geometry;
    subsets_ = e.materials;
    return true;
}

void CD3DMesh::InitFromGeometry(SceneContext* context, std::shared_ptr<MeshGeometry> geometry,
                                const std::vector<Material>& materials, const std::vector<std::string>& textureNames)
{
    Destroy();
    mesh = std::move(geometry);
    std::vector<std::string> names = textureNames;
    names.resize(materials.size());
    subsets_ = makeSubsets(context, materials, std::move(names));
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
                if (subsets_->materials[at].Diffuse.a == 1.0f) {
                    device.SetMaterial(subsets_->materials[at]);
                    device.SetTexture(0, subsets_->textures[at]);
                    device.DrawSubset(*mesh, i);
                }
            } else if (bUseMaterialOverride) {
                if (override_.Diffuse.a == 1.0f) {
                    device.SetTexture(0, subsets_->textures[at]);
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
                if (subsets_->materials[at].Diffuse.a < 1.0f) {
                    device.SetMaterial(subsets_->materials[at]);
                    device.SetTexture(0, subsets_->textures[at]);
                    device.DrawSubset(*mesh, i);
                }
            } else if (override_.Diffuse.a < 1.0f) {
                device.SetMaterial(override_);
                device.SetTexture(0, subsets_->textures[at]);
                device.DrawSubset(*mesh, i);
            }
        }
    }
}

} // namespace vorlu
