// The model files generated at build time: they load with the project's own
// reader, hold the parts other code looks for by name, face outwards, and
// form units whose drive parts can be clicked.
#include "ModelTestSupport.h"

#include "model/ModelAssembly.h"
#include "model/ModelLayout.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/CD3DPick.h"
#include "support/CountingPace.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace vorlu;
using namespace vorlu::test;

namespace {

const std::string MediaFolder = std::string(VORLU_BINARY_DIR) + "/media/";

void ForEachFrame(const CD3DFrame& f, const std::function<void(const CD3DFrame&)>& visit)
{
    visit(f);
    for (int i = 0; i < f.GetChildFrameCount(); ++i)
        ForEachFrame(*f.GetChildFrame(i), visit);
}

class GeneratedModel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        device = new RecordingDevice;
        scene = new Scene(device);
        assembly = new ModelAssembly(*scene, MediaFolder, pace);
        assembly->load_start();
    }
    static void TearDownTestSuite()
    {
        delete assembly;
        delete scene;
        delete device;
    }

    static RecordingDevice* device;
    static Scene* scene;
    static inline CountingPace pace;
    static ModelAssembly* assembly;
};

RecordingDevice* GeneratedModel::device = nullptr;
Scene* GeneratedModel::scene = nullptr;
ModelAssembly* GeneratedModel::assembly = nullptr;

} // namespace

TEST(GeneratedFiles, EveryFileLoadsWithOurReaderAsPlainTextWithOpaqueMaterials)
{
    SceneContext context;
    for (const std::string& name : AllModelFiles()) {
        SCOPED_TRACE(name);
        std::ifstream in(MediaFolder + name, std::ios::binary);
        std::string header(16, '\0');
        in.read(header.data(), 16);
        EXPECT_EQ(header, "xof 0303txt 0032");

        std::string error;
        ASSERT_TRUE(XFile::open(MediaFolder + name, error)) << error;
        CD3DFrame holder;
        ASSERT_TRUE(holder.InitFromFile(context, MediaFolder + name, &error));
        EXPECT_EQ(error, "");
        EXPECT_GT(holder.GetChildFrameCount(), 0);
        ForEachFrame(holder, [&](const CD3DFrame& f) {
            for (int i = 0; i < f.GetChildMeshCount(); ++i) {
                const CD3DMesh& m = *f.GetChildMesh(i);
                ASSERT_TRUE(m.mesh) << f.ObjectName;
                ASSERT_GE(m.GetMaterialCount(), 1) << f.ObjectName;
                for (int s = 0; s < m.GetMaterialCount(); ++s)
                    EXPECT_EQ(m.GetMaterial(s).Diffuse.a, 1.0f) << f.ObjectName; // drawn in the opaque pass
            }
        });
    }
}

TEST(GeneratedFiles, EveryTriangleFacesOutwardsClockwise)
{
    // The front of a triangle is where its corners run clockwise; with our
    // left-handed axes that is the side (b - a) x (c - a) points to, which
    // must agree with the normals the file gives its corners.
    SceneContext context;
    for (const std::string& name : AllModelFiles()) {
        CD3DFrame holder;
        ASSERT_TRUE(holder.InitFromFile(context, MediaFolder + name));
        ForEachFrame(holder, [&](const CD3DFrame& f) {
            for (int i = 0; i < f.GetChildMeshCount(); ++i) {
                const MeshGeometry& g = *f.GetChildMesh(i)->mesh;
                int wrong = 0;
                for (int face = 0; face < g.faceCount(); ++face) {
                    const auto& v = g.vertices();
                    const auto& a = v[g.indices()[3 * face]];
                    const auto& b = v[g.indices()[3 * face + 1]];
                    const auto& c = v[g.indices()[3 * face + 2]];
                    const Vector n = glm::cross(b.position - a.position, c.position - a.position);
                    if (glm::dot(n, a.normal + b.normal + c.normal) <= 0)
                        ++wrong;
                }
                EXPECT_EQ(wrong, 0) << name << ", " << f.ObjectName;
            }
        });
    }
}

TEST_F(GeneratedModel, EveryFileIsReadAndEachUnitOwnsItsDrivePart)
{
    EXPECT_TRUE(assembly->UnreadFiles().empty());
    for (int unit = 1; unit <= UnitCount; ++unit) {
        const std::string name = DrivePartName(unit);
        const CD3DFrame::Found found = scene->SceneRoot->FindChildObject(name);
        ASSERT_TRUE(found.frame) << name;
        EXPECT_GE(found.frame->GetChildMeshCount(), 1) << name;
        for (int other = 1; other <= UnitCount; ++other) {
            const auto f = scene->UnitFrames[static_cast<std::size_t>(other - 1)]->FindChildObject(name);
            EXPECT_EQ(f.frame, other == unit ? found.frame : nullptr) << name << " in unit " << other;
        }
    }
}

TEST_F(GeneratedModel, HoldsTheNamedPartsOtherCodeLooksFor)
{
    // The parts painted for the second and third drive, and the names of the
    // reset list that this model has parts for.
    const char* names[] = {"Frame0Cylinder_b1", "Frame0Cylinder_c1", "Frame0Cube", "Frame35Cube_1",
                           "Frame11Cube_20", "Frame11Cube_11", "Cylinder-1", "Cylinder-1d", "Cylinder-1j",
                           "Cylinder_3-1", "Frame25Cube_11", "Cube_11-8", "Cube_17-8", "Frame0Cylinder_1",
                           "Frame29Cylinder_3a", "Frame29Cylinder_3b", "Frame29Cylinder_3c", "Frame1Cylinder_18",
                           "Frame3Cylinder_19", "Frame6Cylinder_20", "Cube-2k0", "Cube-2k7", "Frame5Cube_1",
                           "Frame0Cube_1291", "Frame0Cube_1292", "Frame0Cube_1293", "Frame0Cube_1294",
                           "Frame1Cube45", "Frame0Cube_2v6", "Frame0Cube_2v7", "Frame5Cube_12", "Frame5Cube_16",
                           "Cube_60-4", "Cube-56", "Cube_61-9", "Cube_62-9", "Cube_63-9", "Cube_64-9",
                           "Cube_65-9", "Cube_66-9", "Cube_407-9"};
    for (const char* name : names) {
        const CD3DFrame::Found found = scene->SceneRoot->FindChildObject(name);
        ASSERT_TRUE(found.frame) << name;
        // A painted part must be a frame that holds a mesh; grouping frames hold meshes below.
        int meshes = 0;
        ForEachFrame(*found.frame, [&](const CD3DFrame& f) { meshes += f.GetChildMeshCount(); });
        EXPECT_GE(meshes, 1) << name;
    }
    for (const char* name : {"Frame0Cylinder_b1", "Frame0Cylinder_c1"})
        EXPECT_EQ(scene->SceneRoot->FindChildObject(name).frame, scene->UnitFrames[0]->FindChildObject(name).frame);
}

TEST_F(GeneratedModel, StaysWithinTheTriangleBudgetAndUnitsDoNotOverlap)
{
    std::size_t triangles = 0;
    ForEachFrame(*scene->SceneRoot, [&](const CD3DFrame& f) {
        for (int i = 0; i < f.GetChildMeshCount(); ++i)
            triangles += static_cast<std::size_t>(f.GetChildMesh(i)->mesh->faceCount());
    });
    EXPECT_LT(triangles, 60000u);
    EXPECT_GT(triangles, 5000u);

    // World boxes of the units, from the boxes of their meshes.
    scene->SceneRoot->UpdateFrames(Matrix(1.0f));
    std::vector<std::pair<Vector, Vector>> boxes;
    for (const auto& unit : scene->UnitFrames) {
        Vector lo(1e9f), hi(-1e9f);
        ForEachFrame(*unit, [&](const CD3DFrame& f) {
            for (int i = 0; i < f.GetChildMeshCount(); ++i) {
                const MeshGeometry& g = *f.GetChildMesh(i)->mesh;
                for (int corner = 0; corner < 8; ++corner) {
                    const Vector p((corner & 1) ? g.boxMax().x : g.boxMin().x,
                                   (corner & 2) ? g.boxMax().y : g.boxMin().y,
                                   (corner & 4) ? g.boxMax().z : g.boxMin().z);
                    const Vector w = f.TransformCoord(p);
                    lo = glm::min(lo, w);
                    hi = glm::max(hi, w);
                }
            }
        });
        boxes.emplace_back(lo, hi);
    }
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            const bool apart = boxes[a].second.x < boxes[b].first.x || boxes[b].second.x < boxes[a].first.x ||
                               boxes[a].second.y < boxes[b].first.y || boxes[b].second.y < boxes[a].first.y;
            EXPECT_TRUE(apart) << "units " << a + 1 << " and " << b + 1 << " overlap";
        }
}

TEST_F(GeneratedModel, AClickOnAUnitsTrayFromTheStartViewPicksItsDrivePart)
{
    scene->context().windowWidth = 640;
    scene->context().windowHeight = 480;
    scene->context().ApplySceneDefaults();
    scene->ShowAllUnits(); // racks too: they must not hide the trays
    scene->SceneRoot->UpdateFrames(scene->context().SceneWorldMatrix);
    for (int unit = 1; unit <= UnitCount; ++unit) {
        // The middle of the tray's front lip, off the centre line.
        const Vector lip = scene->UnitFrames[static_cast<std::size_t>(unit - 1)]->TransformCoord(Vector(0.8f, 0.16f, -1.78f));
        const Vector pixel = Vec3Project(lip, device->GetViewport(), scene->context().SceneProjectionMatrix,
                                         scene->context().SceneViewMatrix, Matrix(1.0f));
        CD3DPick pick;
        ASSERT_TRUE(pick.ViewportPick(scene->context(), *assembly->ModelContainer(), pixel.x, pixel.y));
        const int nearest = pick.FindNearest();
        ASSERT_GE(nearest, 0) << "unit " << unit;
        EXPECT_EQ(pick.GetFrame(nearest)->ObjectName, DrivePartName(unit));
    }
    scene->HideAllUnits();
}
