#include "model/ModelPainter.h"

#include "drives/DriveStatus.h"
#include "model/ModelLayout.h"
#include "model/PartColourTable.h"
#include "model/PartResetList.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/Scene.h"

namespace vorlu {

CD3DMesh* ModelPainter::findPartMesh(const std::string& partName)
{
    currentPartFrame_ = nullptr;
    if (!scene_.SceneRoot)
        return nullptr;
    const CD3DFrame::Found found = scene_.SceneRoot->FindChildObject(partName);
    if (found.mesh)
        return found.mesh;
    currentPartFrame_ = found.frame;
    if (!found.frame || found.frame->GetChildMeshCount() == 0)
        return nullptr;
    return found.frame->GetChildMesh(0).get();
}

void ModelPainter::decide_colour(const std::string& partName, int colourIndex)
{
    if (CD3DMesh* mesh = findPartMesh(partName)) {
        mesh->bUseMaterials = false;
        mesh->bUseMaterialOverride = false;
        // Codes that matched no row leave no colour: grey, never the black of index 0.
        mesh->SetMaterialOverride(PartMaterial(colourIndex == StatusColour::None ? UnknownPartColour : colourIndex));
    }
    scene_.RenderScene();
}

void ModelPainter::restore(const std::string& partName)
{
    if (CD3DMesh* mesh = findPartMesh(partName)) {
        // The file materials win; the override stays stored without effect.
        mesh->bUseMaterials = true;
        mesh->bUseMaterialOverride = true;
    }
}

void ModelPainter::restoreobject(const std::string& partName)
{
    restore(partName);
    scene_.RenderScene();
}

void ModelPainter::restoreAllParts()
{
    for (const std::string_view name : PartResetList)
        restore(std::string(name));
    // Every drive paints its own unit's part, so each of them is restored
    // too; the first unit's is already in the list.
    for (int unit = 2; unit <= UnitCount; ++unit)
        restore(DrivePartName(unit));
    scene_.RenderScene();
}

} // namespace vorlu
